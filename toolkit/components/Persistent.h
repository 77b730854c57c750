#pragma once

#include "toolkit/components/ClassInfo.h"

#include <functional>
#include <string_view>

// The root of the object model. Every object that can be a Sender of an event is a TObject, and
// every TObject knows its class at run time (ClassName, InheritsFrom). A derived class declares
// VARNEL_CLASS(TMine, TBase) in its body and VARNEL_CLASS_INFO(TMine) in its .cpp; one that
// forgets answers with its parent's class.
class TObject {
public:
    virtual ~TObject() = default;

    static const TClassInfo& StaticClassInfo();
    virtual const TClassInfo& ClassInfo() const { return StaticClassInfo(); }

    const std::string& ClassName() const { return ClassInfo().Name(); }
    bool InheritsFrom(const TClassInfo& ancestor) const { return ClassInfo().InheritsFrom(ancestor); }
    bool InheritsFrom(std::string_view ancestorName) const { return ClassInfo().InheritsFrom(ancestorName); }
    template <typename T>
    bool InheritsFrom() const {
        return InheritsFrom(T::StaticClassInfo());
    }
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// An object whose state can be copied from another object (Assign) and stored in layouts.
class TPersistent : public TObject {
    VARNEL_CLASS(TPersistent, TObject)

public:
    // Copies source into this object. A class that does not know the source lets the source try
    // (AssignTo); when neither knows the other the call is a programming error.
    virtual void Assign(const TPersistent* source);
    // The object that owns this one, for naming in layouts and collections; none by default.
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* dest) const;
};
