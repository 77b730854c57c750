#include "toolkit/components/Component.h"

#include "toolkit/components/Properties.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <strings.h>

VARNEL_CLASS_INFO(TComponent, [](auto& c) {
    c.String("Name", &TComponent::Name, nullptr).Stored(false);
    c.Int("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
})

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

TMessageBoxService& MessageBoxService() {
    static TMessageBoxService service;
    return service;
}

} // namespace

bool IsValidComponentName(std::string_view name) {
    if (name.empty()) {
        return true;
    }
    auto ok = [](char c, bool first) {
        auto u = static_cast<unsigned char>(c);
        return u < 128 && (std::isalpha(u) || c == '_' || (!first && std::isdigit(u)));
    };
    if (!ok(name[0], true)) {
        return false;
    }
    return std::all_of(name.begin() + 1, name.end(), [&](char c) { return ok(c, false); });
}

TComponent::TComponent(TComponent* owner) {
    if (owner) {
        owner->InsertComponent(this);
    }
}

TComponent::~TComponent() {
    Destroying();
    // Subscribers drop their references now; the list entries go first so that a subscriber's
    // Notification override cannot leave a dangling entry behind.
    while (!m_freeNotifies.empty()) {
        TComponent* other = m_freeNotifies.back();
        m_freeNotifies.pop_back();
        auto& theirs = other->m_freeNotifies;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (m_owner) {
        m_owner->RemoveComponent(this);
    }
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) {
        return nullptr;
    }
    return m_components[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
    if (!m_owner) {
        return -1;
    }
    auto& list = m_owner->m_components;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) {
        return nullptr;
    }
    for (TComponent* c : m_components) {
        if (SameText(c->m_name, name)) {
            return c;
        }
    }
    return nullptr;
}

TStatus TComponent::SetName(const std::string& name) {
    if (name == m_name) {
        return TStatus::Ok();
    }
    if (!IsValidComponentName(name)) {
        return TStatus::Fail("\"" + name + "\" is not a valid component name");
    }
    if (m_owner) {
        TComponent* other = m_owner->FindComponent(name);
        if (other && other != this) {
            return TStatus::Fail("A component named " + name + " already exists");
        }
    }
    BindOwnerField(false);
    m_name = name;
    BindOwnerField(true);
    return TStatus::Ok();
}

void TComponent::BindOwnerField(bool bind) {
    if (!m_owner || m_name.empty()) {
        return;
    }
    const TFieldInfo* field = m_owner->ClassInfo().FindField(m_name);
    if (!field) {
        return;
    }
    if (bind) {
        field->Set(m_owner, this);
    } else if (field->Get(m_owner) == this) {
        field->Set(m_owner, nullptr);
    }
}

void TComponent::Insert(TComponent* component) {
    m_components.push_back(component);
    component->m_owner = this;
}

void TComponent::Remove(TComponent* component) {
    auto it = std::find(m_components.begin(), m_components.end(), component);
    if (it != m_components.end()) {
        m_components.erase(it);
    }
    component->m_owner = nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->m_owner == this || component == this) {
        return;
    }
    if (component->m_owner) {
        component->m_owner->RemoveComponent(component);
    }
    // Names are unique per owner; a newcomer whose name is taken here joins without it.
    if (FindComponent(component->m_name)) {
        component->m_name.clear();
    }
    Insert(component);
    component->BindOwnerField(true);
    if (IsDesigning()) {
        component->SetDesigning(true);
    }
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->m_owner != this) {
        return;
    }
    Notification(component, opRemove);
    component->BindOwnerField(false);
    Remove(component);
}

void TComponent::DestroyComponents() {
    while (!m_components.empty()) {
        TComponent* last = m_components.back();
        // The others hear of it while it is still whole, then it goes.
        last->Destroying();
        RemoveComponent(last);
        delete last;
    }
}

void TComponent::Destroying() {
    if (m_state.Contains(csDestroying)) {
        return;
    }
    m_state.Include(csDestroying);
    for (TComponent* c : m_components) {
        c->Destroying();
    }
}

void TComponent::SetDesigning(bool designing, bool owned) {
    if (designing) {
        m_state.Include(csDesigning);
    } else {
        m_state.Exclude(csDesigning);
    }
    if (owned) {
        for (TComponent* c : m_components) {
            c->SetDesigning(designing, true);
        }
    }
}

void TComponent::SetLoadingState(bool loading) {
    if (loading) {
        m_state.Include(csLoading).Include(csReading);
    } else {
        m_state.Exclude(csLoading).Exclude(csReading);
    }
}

void TComponent::SetWritingState(bool writing) {
    if (writing) {
        m_state.Include(csWriting);
    } else {
        m_state.Exclude(csWriting);
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) {
        return;
    }
    if (!m_owner || component->m_owner != m_owner) {
        if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), component) == m_freeNotifies.end()) {
            m_freeNotifies.push_back(component);
            component->FreeNotification(this);
        }
    }
    m_state.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    auto drop = [](std::vector<TComponent*>& list, TComponent* c) {
        list.erase(std::remove(list.begin(), list.end(), c), list.end());
    };
    if (!component) {
        return;
    }
    drop(m_freeNotifies, component);
    drop(component->m_freeNotifies, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component) {
        RemoveFreeNotification(component);
    }
    // By index, re-checked each time: a handler may free components of this owner.
    for (std::size_t i = 0; i < m_components.size(); ++i) {
        TComponent* c = m_components[i];
        if (c != component) {
            c->Notification(component, operation);
        }
    }
}

void TComponent::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    if (root != this) {
        return;
    }
    for (std::size_t i = 0; i < m_components.size(); ++i) {
        if (!m_components[i]->HasParent()) {
            proc(m_components[i]);
        }
    }
}

TMessageBoxService SetMessageBoxService(TMessageBoxService service) {
    TMessageBoxService previous = std::move(MessageBoxService());
    MessageBoxService() = std::move(service);
    return previous;
}

static void ShowBox(TMessageBoxKind kind, const std::string& text) {
    if (const TMessageBoxService& service = MessageBoxService()) {
        service(kind, text);
    } else {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
}

void ShowErrorBox(const std::string& text) {
    ShowBox(TMessageBoxKind::Error, text);
}

void ShowInfoBox(const std::string& text) {
    ShowBox(TMessageBoxKind::Information, text);
}
