#include "toolkit/components/ClassInfo.h"

#include "toolkit/components/Persistent.h"
#include "toolkit/components/Properties.h"

#include <algorithm>
#include <cassert>
#include <map>
#include <strings.h>

namespace {

// Classes are never unregistered and their information is never freed, so references handed out
// stay valid even while static objects are destroyed at exit.
std::map<std::string, TClassInfo*, std::less<>>& Registry() {
    static auto* registry = new std::map<std::string, TClassInfo*, std::less<>>();
    return *registry;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent)
    : m_name(std::move(name)), m_parent(parent) {}

TClassInfo::~TClassInfo() = default;

bool TClassInfo::InheritsFrom(const TClassInfo& ancestor) const {
    for (const TClassInfo* c = this; c; c = c->m_parent) {
        if (c == &ancestor) {
            return true;
        }
    }
    return false;
}

bool TClassInfo::InheritsFrom(std::string_view ancestorName) const {
    for (const TClassInfo* c = this; c; c = c->m_parent) {
        if (c->m_name == ancestorName) {
            return true;
        }
    }
    return false;
}

TPersistent* TClassInfo::CreateComponent(TComponent* owner) const {
    return m_componentFactory ? m_componentFactory(owner) : nullptr;
}

TPersistent* TClassInfo::CreateItem(TCollection* collection) const {
    return m_itemFactory ? m_itemFactory(collection) : nullptr;
}

TPersistent* TClassInfo::Create() const {
    return m_factory ? m_factory() : nullptr;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
    for (const TPropInfo* p : m_published) {
        if (SameText(p->Name(), name)) {
            return p;
        }
    }
    return nullptr;
}

const TPropInfo* TClassInfo::FindDeclaredProperty(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->m_parent) {
        for (const auto& p : c->m_declared) {
            if (SameText(p->Name(), name)) {
                return p.get();
            }
        }
    }
    return nullptr;
}

const TDataInfo* TClassInfo::FindData(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->m_parent) {
        for (const auto& d : c->m_data) {
            if (SameText(d->Name(), name)) {
                return d.get();
            }
        }
    }
    return nullptr;
}

std::vector<const TDataInfo*> TClassInfo::AllData() const {
    std::vector<const TDataInfo*> result = m_parent ? m_parent->AllData() : std::vector<const TDataInfo*>();
    for (const auto& d : m_data) {
        result.push_back(d.get());
    }
    return result;
}

std::vector<const THandlerInfo*> TClassInfo::AllHandlers() const {
    std::vector<const THandlerInfo*> result =
        m_parent ? m_parent->AllHandlers() : std::vector<const THandlerInfo*>();
    for (const auto& h : m_handlers) {
        result.push_back(h.get());
    }
    return result;
}

std::vector<const TFieldInfo*> TClassInfo::AllFields() const {
    std::vector<const TFieldInfo*> result =
        m_parent ? m_parent->AllFields() : std::vector<const TFieldInfo*>();
    for (const auto& f : m_fields) {
        result.push_back(f.get());
    }
    return result;
}

const THandlerInfo* TClassInfo::FindHandler(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->m_parent) {
        for (const auto& h : c->m_handlers) {
            if (SameText(h->Name(), name)) {
                return h.get();
            }
        }
    }
    return nullptr;
}

const TFieldInfo* TClassInfo::FindField(std::string_view name) const {
    for (const TClassInfo* c = this; c; c = c->m_parent) {
        for (const auto& f : c->m_fields) {
            if (SameText(f->Name(), name)) {
                return f.get();
            }
        }
    }
    return nullptr;
}

void TClassInfo::AddData(TDataInfo data) {
    m_data.push_back(std::make_unique<TDataInfo>(std::move(data)));
}

void TClassInfo::AddHandler(THandlerInfo handler) {
    m_handlers.push_back(std::make_unique<THandlerInfo>(std::move(handler)));
}

void TClassInfo::AddField(TFieldInfo field) {
    m_fields.push_back(std::make_unique<TFieldInfo>(std::move(field)));
}

void TClassInfo::AddProperty(std::unique_ptr<TPropInfo> prop) {
    // A second declaration of the same name in one class replaces the first in place.
    for (auto& p : m_declared) {
        if (SameText(p->Name(), prop->Name())) {
            p = std::move(prop);
            return;
        }
    }
    m_declared.push_back(std::move(prop));
}

void TClassInfo::Finish() {
    m_published.clear();
    if (m_parent) {
        for (const TPropInfo* p : m_parent->m_published) {
            bool redeclared = std::any_of(m_declared.begin(), m_declared.end(),
                                          [&](const auto& own) { return SameText(own->Name(), p->Name()); });
            if (!redeclared) {
                m_published.push_back(p);
            }
        }
    }
    for (const auto& p : m_declared) {
        if (p->IsPublished()) {
            m_published.push_back(p.get());
        }
    }
}

TClassInfo& TClassInfo::Register(std::unique_ptr<TClassInfo> info) {
    auto& registry = Registry();
    auto [it, inserted] = registry.emplace(info->m_name, info.get());
    // Two classes of one name would make layouts ambiguous.
    assert(inserted && "two classes registered under one name");
    (void)it;
    (void)inserted;
    return *info.release();
}

const TClassInfo* FindClass(std::string_view name) {
    auto& registry = Registry();
    auto it = registry.find(name);
    return it == registry.end() ? nullptr : it->second;
}

std::vector<const TClassInfo*> RegisteredClasses() {
    std::vector<const TClassInfo*> result;
    for (const auto& [name, info] : Registry()) {
        result.push_back(info);
    }
    return result;
}
