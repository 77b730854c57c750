#pragma once

#include "toolkit/components/Persistent.h"
#include "toolkit/components/Set.h"
#include "toolkit/components/Status.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

enum TComponentStateItem {
    csLoading,    // being read from a layout; events do not fire
    csReading,    // its properties are being read from a layout
    csWriting,    // being written to a layout
    csDestroying, // its destruction has begun
    csDesigning,  // placed in a window that is being designed
    csFreeNotification,
};
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

// A named, owned part of a window. An owner frees the components it owns, the last created
// first. Whenever a component joins or leaves an owner, the owner and every component it owns
// hear of it (Notification); components in other owners that hold a reference subscribe with
// FreeNotification to hear when it is freed.
//
// A C++ destructor runs the derived parts first, so by the time ~TComponent frees the owned
// components this object is only a TComponent. A class whose owned components need the derived
// part alive while they go calls DestroyComponents() at the start of its own destructor.
class TComponent : public TPersistent {
    VARNEL_CLASS(TComponent, TPersistent)

public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return m_name; }
    // A name is empty or an identifier (a letter or "_", then letters, digits and "_") that no
    // other component of the same owner has, letter case ignored. A refused name leaves the
    // old one and says why. Renaming rebinds the owner's component field of that name.
    TStatus SetName(const std::string& name);

    int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    TComponent* Owner() const { return m_owner; }
    TPersistent* GetOwner() const override { return m_owner; }
    int ComponentCount() const { return static_cast<int>(m_components.size()); }
    // The owned components in the order they joined; null outside 0 .. ComponentCount() - 1.
    TComponent* Components(int index) const;
    // This component's position among its owner's components, -1 without owner.
    int ComponentIndex() const;
    // An owned component by name, letter case ignored; null when there is none.
    TComponent* FindComponent(std::string_view name) const;

    // Moves a component into this owner (leaving its previous owner) or out of it. A newcomer
    // whose name another component here already has joins without a name.
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, the last created first.
    void DestroyComponents();

    TComponentState ComponentState() const { return m_state; }
    bool IsLoading() const { return m_state.Contains(csLoading); }
    bool IsDesigning() const { return m_state.Contains(csDesigning); }
    bool IsDestroying() const { return m_state.Contains(csDestroying); }
    // Marks the start of destruction (csDestroying) here and in every owned component.
    void Destroying();
    // Design time for this component and, with owned, every component it owns, recursively.
    void SetDesigning(bool designing, bool owned = true);
    // Used by the layout reader, which keeps csLoading on every component for the whole load.
    void SetLoadingState(bool loading);
    // Used by the layout writer while it writes this component (csWriting).
    void SetWritingState(bool writing);

    // Asks component to notify this one when it is freed, and the other way round (a component
    // of the same owner is told through the owner anyway).
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Told of a component joining (opInsert) or leaving (opRemove) the owner, or of a
    // subscribed component being freed. The base passes the news on to every owned component.
    // A component joins its owner from TComponent's constructor, so on opInsert it is still
    // being built: only its address is meaningful, not yet its class or name.
    virtual void Notification(TComponent* component, TOperation operation);
    // Called once after a layout has set every property and resolved every reference, while
    // csLoading is still set.
    virtual void Loaded() {}

    // Ok unless the constructor refused to make the component (see RefuseCreation). A refused
    // component is of no use: whoever created it frees it. The layout reader does, and fails the
    // load naming the file and line; code creates components through NewComponent to be told.
    const TStatus& CreationStatus() const { return m_creationStatus; }

    // Parent and children as layouts nest them: a control placed on a panel has the panel as
    // parent. Plain components have none; the controls layer overrides these.
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* /*parent*/) {}
    // Reports the components a layout writes nested inside this one. The base reports, when this
    // component is root, the owned components that have no parent; the controls layer adds the
    // child controls owned by root.
    virtual void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root);

protected:
    // For a constructor that must not make the component (one of its rules would be broken): it
    // records why and returns; it leaves everything outside the component as it found it.
    void RefuseCreation(std::string reason) { m_creationStatus = TStatus::Fail(std::move(reason)); }

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void BindOwnerField(bool bind);

    std::string m_name;
    int m_tag = 0;
    TComponent* m_owner = nullptr;
    std::vector<TComponent*> m_components; // owned, in the order they joined
    std::vector<TComponent*> m_freeNotifies;
    TComponentState m_state;
    TStatus m_creationStatus = TStatus::Ok();
};

// Creates a T owned by owner. When its constructor refuses, the half-made component is freed, the
// answer is none and status (when given) says why.
template <typename T>
T* NewComponent(TComponent* owner, TStatus* status = nullptr) {
    auto* component = new T(owner);
    TStatus result = component->CreationStatus();
    if (status) {
        *status = result;
    }
    if (!result) {
        delete component;
        return nullptr;
    }
    return component;
}

// True for an empty name or an identifier.
bool IsValidComponentName(std::string_view name);

// The one place through which components show a refusal ("Sorry, ...") or an advice box with
// an OK button. The program installs a real box; tests install a recorder. Without one, the text
// goes to the standard error stream so it is not lost.
enum class TMessageBoxKind { Error, Information };
using TMessageBoxService = std::function<void(TMessageBoxKind kind, const std::string& text)>;
// Returns the service it replaces.
TMessageBoxService SetMessageBoxService(TMessageBoxService service);
void ShowErrorBox(const std::string& text);
void ShowInfoBox(const std::string& text);
