#include "StandIns.h"
#include "toolkit/components/LayoutReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

// At most one per owner, like a skinned form panel on its window: a second one refuses to be
// made, before it touches anything of its owner.
class TSingleton : public TWidget {
    VARNEL_CLASS(TSingleton, TWidget)

public:
    explicit TSingleton(TComponent* owner) : TWidget(owner) {
        for (int i = 0; owner && i < owner->ComponentCount(); ++i) {
            if (owner->Components(i) != this && owner->Components(i)->InheritsFrom<TSingleton>()) {
                RefuseCreation("Sorry, only one TSingleton on one window!");
                return;
            }
        }
        // What a made one does to its owner, which a refused one must not have done.
        if (owner) {
            owner->SetTag(owner->Tag() + 1);
        }
    }
};

} // namespace

VARNEL_CLASS_INFO(TSingleton)

TEST(CreationRefusal, CodeThatCreatesAComponentIsToldWhyItWasRefused) {
    TTestWindow window(nullptr);
    TStatus status = TStatus::Fail("unset");
    auto* first = NewComponent<TSingleton>(&window, &status);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(status);
    EXPECT_TRUE(first->CreationStatus());
    EXPECT_EQ(window.Tag(), 1);

    EXPECT_EQ(NewComponent<TSingleton>(&window, &status), nullptr);
    EXPECT_EQ(status.Message(), "Sorry, only one TSingleton on one window!");
    // The refused one is gone and left its owner as it was.
    ASSERT_EQ(window.ComponentCount(), 1);
    EXPECT_EQ(window.Components(0), first);
    EXPECT_EQ(window.Tag(), 1);
}

TEST(CreationRefusal, FieldsALayoutLeftUnboundAreNamed) {
    RegisterClasses<TWidget, TGadget, TTestWindow>();
    TTestWindow window(nullptr);
    const char* text = "object Window1: TTestWindow\n"
                       "  object Panel1: TWidget\n"
                       "  end\n"
                       "end\n";
    ASSERT_TRUE(ReadLayoutText(&window, text, "Unit8.lfm"));
    EXPECT_NE(window.panel1, nullptr);
    EXPECT_THAT(UnboundFields(&window), ::testing::ElementsAre("Button1", "Gadget1"));
    const TStatus required = RequireBoundFields(&window, "Unit8");
    EXPECT_FALSE(required);
    EXPECT_EQ(required.Message(), "Unit8 makes no component for Button1, Gadget1");
}

TEST(CreationRefusal, ALayoutWithARefusedComponentFailsNamingFileAndLineAndLeavesNothing) {
    RegisterClasses<TSingleton, TWidget, TGadget, TTestWindow>();
    TTestWindow window(nullptr);
    TLayoutError error;
    const char* text = "object Window1: TTestWindow\n"
                       "  object Single1: TSingleton\n"
                       "  end\n"
                       "  object Panel1: TWidget\n"
                       "    object Single2: TSingleton\n"
                       "    end\n"
                       "  end\n"
                       "end\n";
    TStatus status = ReadLayoutText(&window, text, "Unit7.lfm", &error);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.Message(), "Unit7.lfm, line 5: Sorry, only one TSingleton on one window!");
    EXPECT_EQ(error.word, "TSingleton");
    EXPECT_EQ(window.ComponentCount(), 0);
    EXPECT_EQ(window.panel1, nullptr);
    EXPECT_FALSE(window.IsLoading());

    // The same as the root of a layout: nothing is made at all.
    TComponent application(nullptr);
    auto* existing = new TSingleton(&application);
    EXPECT_EQ(CreateFromLayoutText("object S: TSingleton\nend", "s.lfm", &application, &error), nullptr);
    EXPECT_EQ(error.Text(), "s.lfm, line 1: Sorry, only one TSingleton on one window!");
    ASSERT_EQ(application.ComponentCount(), 1);
    EXPECT_EQ(application.Components(0), existing);
}
