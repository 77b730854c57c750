#include "toolkit/components/Persistent.h"

#include <memory>

#include <gtest/gtest.h>

namespace {

class TShape : public TPersistent {
    VARNEL_CLASS(TShape, TPersistent)

public:
    virtual int Corners() const = 0;
};

class TSquare : public TShape {
    VARNEL_CLASS(TSquare, TShape)

public:
    int Corners() const override { return 4; }
};

} // namespace

VARNEL_CLASS_INFO(TShape)
VARNEL_CLASS_INFO(TSquare)

TEST(ClassInformation, DerivedClassesKnowTheirNameParentAndAncestors) {
    TSquare square;
    const TObject& asObject = square;
    EXPECT_EQ(asObject.ClassName(), "TSquare");
    EXPECT_EQ(&asObject.ClassInfo(), &TSquare::StaticClassInfo());
    EXPECT_EQ(TSquare::StaticClassInfo().Parent(), &TShape::StaticClassInfo());
    EXPECT_EQ(TShape::StaticClassInfo().Parent(), &TPersistent::StaticClassInfo());
    EXPECT_EQ(TPersistent::StaticClassInfo().Parent(), &TObject::StaticClassInfo());
    EXPECT_EQ(TObject::StaticClassInfo().Parent(), nullptr);
    EXPECT_TRUE(asObject.InheritsFrom<TShape>());
    EXPECT_TRUE(asObject.InheritsFrom("TPersistent"));
    EXPECT_FALSE(asObject.InheritsFrom("tsquare")); // class names are case-sensitive
    EXPECT_FALSE(TShape::StaticClassInfo().InheritsFrom(TSquare::StaticClassInfo()));
}

TEST(ClassInformation, RegistryFindsDefinedClassesAndCreatesOnlyConcreteOnes) {
    RegisterClasses<TSquare>();
    ASSERT_EQ(FindClass("TSquare"), &TSquare::StaticClassInfo());
    EXPECT_EQ(FindClass("TNoSuchClass"), nullptr);

    const TClassInfo& square = TSquare::StaticClassInfo();
    ASSERT_TRUE(square.CanCreate());
    std::unique_ptr<TPersistent> made(square.Create());
    EXPECT_EQ(made->ClassName(), "TSquare");
    EXPECT_FALSE(square.CanCreateComponent());
    EXPECT_EQ(square.CreateComponent(nullptr), nullptr);

    EXPECT_FALSE(TShape::StaticClassInfo().CanCreate()); // abstract
    EXPECT_EQ(TShape::StaticClassInfo().Create(), nullptr);
}
