#pragma once

#include <functional>

// The root of the object model. Every object that can be a Sender of an event is a TObject.
class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// An object whose state can be copied from another object (Assign) and stored in layouts.
class TPersistent : public TObject {
public:
    // Copies source into this object. A class that does not know the source lets the source try
    // (AssignTo); when neither knows the other the call is a programming error.
    virtual void Assign(const TPersistent* source);
    // The object that owns this one, for naming in layouts and collections; none by default.
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* dest) const;
};
