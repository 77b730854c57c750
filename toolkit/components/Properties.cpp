#include "toolkit/components/Properties.h"

#include "toolkit/components/Component.h"
#include "toolkit/components/LayoutText.h"
#include "toolkit/components/Streams.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <strings.h>
#include <vector>

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

struct TIdentTable {
    std::vector<std::pair<std::int64_t, std::string>> entries; // in registration order
};

std::map<std::string, TIdentTable, std::less<>>& IdentTables() {
    static auto* tables = new std::map<std::string, TIdentTable, std::less<>>();
    return *tables;
}

struct TShortCutText {
    TShortCutToText toText;
    TTextToShortCut fromText;
};

TShortCutText& ShortCutText() {
    static TShortCutText converters;
    return converters;
}

TStatus BadValue(const TPropInfo& prop, std::string_view word) {
    return TStatus::Fail("Invalid value \"" + std::string(word) + "\" for property " + prop.Name());
}

std::string ValueWord(const TLayoutValue& v) {
    using T = TLayoutValue::TType;
    switch (v.type) {
    case T::Integer:
        return std::to_string(v.integer);
    case T::Identifier:
    case T::String:
        return v.text;
    default:
        return PrintLayoutValue(v).substr(0, 40);
    }
}

} // namespace

// --- Enumerations and identifiers ---

std::optional<std::int64_t> TEnumInfo::ValueOf(std::string_view name) const {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (SameText(names[i], name)) {
            return static_cast<std::int64_t>(i);
        }
    }
    return std::nullopt;
}

std::string_view TEnumInfo::NameOf(std::int64_t value) const {
    if (value < 0 || static_cast<std::uint64_t>(value) >= names.size()) {
        return {};
    }
    return names[static_cast<std::size_t>(value)];
}

void RegisterIdents(std::string_view typeName, std::span<const TIdentMapEntry> entries) {
    auto& table = IdentTables()[std::string(typeName)];
    for (const TIdentMapEntry& e : entries) {
        table.entries.emplace_back(e.value, std::string(e.name));
    }
}

std::optional<std::int64_t> IdentToInt(std::string_view typeName, std::string_view name) {
    auto& tables = IdentTables();
    auto it = tables.find(typeName);
    if (it == tables.end()) {
        return std::nullopt;
    }
    for (const auto& [value, ident] : it->second.entries) {
        if (SameText(ident, name)) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IntToIdent(std::string_view typeName, std::int64_t value) {
    auto& tables = IdentTables();
    auto it = tables.find(typeName);
    if (it == tables.end()) {
        return std::nullopt;
    }
    for (const auto& [v, ident] : it->second.entries) {
        if (v == value) {
            return ident;
        }
    }
    return std::nullopt;
}

void RegisterShortCutText(TShortCutToText toText, TTextToShortCut fromText) {
    ShortCutText() = TShortCutText{std::move(toText), std::move(fromText)};
}

// --- TPropInfo ---

namespace {

// Reading a property through an accessor of another kind is a mistake in the caller's code.
[[noreturn]] void WrongKind(const TPropInfo& prop, const char* accessor) {
    std::fprintf(stderr, "Property %s read or written through %s, which does not fit its kind\n",
                 prop.Name().c_str(), accessor);
    std::abort();
}

} // namespace

bool TPropInfo::CanWrite() const {
    switch (m_kind) {
    case TPropKind::String:
        return static_cast<bool>(m_setString);
    case TPropKind::Float:
        return static_cast<bool>(m_setFloat);
    case TPropKind::Class:
    case TPropKind::Component:
        return static_cast<bool>(m_setObject);
    case TPropKind::Event:
        return static_cast<bool>(m_setEvent);
    default:
        return static_cast<bool>(m_setOrd);
    }
}

std::string_view TPropInfo::IdentType() const {
    switch (m_kind) {
    case TPropKind::Color:
        return "TColor";
    case TPropKind::Cursor:
        return "TCursor";
    case TPropKind::Integer:
        return m_identType;
    default:
        return {};
    }
}

std::int64_t TPropInfo::GetOrd(const TObject* obj) const {
    if (!m_getOrd) {
        WrongKind(*this, "GetOrd");
    }
    return m_getOrd(obj);
}

void TPropInfo::SetOrd(TObject* obj, std::int64_t value) const {
    if (!m_getOrd) {
        WrongKind(*this, "SetOrd");
    }
    if (m_setOrd) {
        m_setOrd(obj, value);
    }
}

std::string TPropInfo::GetString(const TObject* obj) const {
    if (!m_getString) {
        WrongKind(*this, "GetString");
    }
    return m_getString(obj);
}

void TPropInfo::SetString(TObject* obj, const std::string& value) const {
    if (!m_getString) {
        WrongKind(*this, "SetString");
    }
    if (m_setString) {
        m_setString(obj, value);
    }
}

double TPropInfo::GetFloat(const TObject* obj) const {
    if (!m_getFloat) {
        WrongKind(*this, "GetFloat");
    }
    return m_getFloat(obj);
}

void TPropInfo::SetFloat(TObject* obj, double value) const {
    if (!m_getFloat) {
        WrongKind(*this, "SetFloat");
    }
    if (m_setFloat) {
        m_setFloat(obj, value);
    }
}

TObject* TPropInfo::GetObject(const TObject* obj) const {
    if (!m_getObject) {
        WrongKind(*this, "GetObject");
    }
    return m_getObject(obj);
}

TStatus TPropInfo::SetObject(TObject* obj, TObject* value) const {
    if (!m_getObject) {
        WrongKind(*this, "SetObject");
    }
    if (!m_setObject) {
        return TStatus::Fail("Property " + m_name + " is read-only");
    }
    if (value && !value->InheritsFrom(*ObjectClass())) {
        return TStatus::Fail("Property " + m_name + " takes a " + ObjectClass()->Name() + ", not a " +
                             value->ClassName());
    }
    m_setObject(obj, value);
    return TStatus::Ok();
}

bool TPropInfo::IsEventAssigned(const TObject* obj) const {
    if (!m_eventAssigned) {
        WrongKind(*this, "IsEventAssigned");
    }
    return m_eventAssigned(obj);
}

std::string TPropInfo::GetHandlerName(const TObject* obj) const {
    if (!m_handlerName) {
        WrongKind(*this, "GetHandlerName");
    }
    return m_handlerName(obj);
}

bool TPropInfo::SetEvent(TObject* obj, const std::any& callable) const {
    if (!m_setEvent) {
        WrongKind(*this, "SetEvent");
    }
    return m_setEvent(obj, callable);
}

bool TPropInfo::IsStored(const TObject* obj) const {
    if (!m_stored) {
        return false;
    }
    return !m_storedWhen || m_storedWhen(obj);
}

bool TPropInfo::IsDefaultValue(const TObject* obj) const {
    switch (m_kind) {
    case TPropKind::String:
        return m_hasDefault && GetString(obj) == m_defaultString;
    case TPropKind::Float:
        return m_hasDefault && GetFloat(obj) == m_defaultFloat;
    case TPropKind::Class:
        return false;
    case TPropKind::Component:
        return GetObject(obj) == nullptr;
    case TPropKind::Event:
        return !IsEventAssigned(obj);
    default:
        return m_hasDefault && GetOrd(obj) == m_defaultOrd;
    }
}

bool TFieldInfo::Set(TObject* root, TComponent* component) const {
    if (component && !component->InheritsFrom(ComponentClass())) {
        return false;
    }
    m_set(root, component);
    return true;
}

// --- Builder helpers ---

TStatus ReadBinaryData(const TLayoutValue& value, const std::function<TStatus(TStream&)>& read) {
    if (value.type != TLayoutValue::TType::Binary) {
        return TStatus::Fail("Binary data { ... } expected, not \"" + ValueWord(value) + "\"");
    }
    TCustomMemoryStream stream(value.bytes);
    return read(stream);
}

TLayoutValue WriteBinaryData(const std::function<void(TStream&)>& write) {
    TMemoryStream stream;
    write(stream);
    TLayoutValue v;
    v.type = TLayoutValue::TType::Binary;
    v.bytes.assign(stream.Bytes().begin(), stream.Bytes().end());
    return v;
}

// --- Values ---

TStatus LayoutValueToOrdinal(const TPropInfo& prop, const TLayoutValue& value, std::int64_t& out) {
    using T = TLayoutValue::TType;
    if (value.type == T::Integer && !prop.InRange(value.integer)) {
        return TStatus::Fail("Value " + std::to_string(value.integer) + " out of range for property " +
                             prop.Name());
    }
    switch (prop.Kind()) {
    case TPropKind::Boolean:
    case TPropKind::Enumeration:
        if (value.type == T::Identifier) {
            if (auto v = prop.EnumType()->ValueOf(value.text)) {
                out = *v;
                return TStatus::Ok();
            }
        }
        break;
    case TPropKind::Set:
        if (value.type == T::Set) {
            std::uint64_t bits = 0;
            for (const std::string& member : value.members) {
                auto v = prop.EnumType()->ValueOf(member);
                if (!v || *v >= 64) {
                    return BadValue(prop, member);
                }
                bits |= std::uint64_t{1} << *v;
            }
            out = static_cast<std::int64_t>(bits);
            return TStatus::Ok();
        }
        break;
    case TPropKind::Integer:
    case TPropKind::Color:
    case TPropKind::Cursor:
        if (value.type == T::Integer) {
            out = value.integer;
            return TStatus::Ok();
        }
        if (value.type == T::Identifier && !prop.IdentType().empty()) {
            if (auto v = IdentToInt(prop.IdentType(), value.text)) {
                out = *v;
                return TStatus::Ok();
            }
        }
        break;
    case TPropKind::ShortCut:
        if (value.type == T::Integer) {
            out = value.integer;
            return TStatus::Ok();
        }
        if ((value.type == T::String || value.type == T::Identifier) && ShortCutText().fromText) {
            if (auto v = ShortCutText().fromText(value.text)) {
                out = *v;
                return TStatus::Ok();
            }
        }
        break;
    default:
        return TStatus::Fail("Property " + prop.Name() + " does not hold a number or name");
    }
    return BadValue(prop, ValueWord(value));
}

std::string OrdinalToText(const TPropInfo& prop, std::int64_t value) {
    switch (prop.Kind()) {
    case TPropKind::Boolean:
    case TPropKind::Enumeration: {
        std::string_view name = prop.EnumType()->NameOf(value);
        return name.empty() ? std::to_string(value) : std::string(name);
    }
    case TPropKind::Set: {
        std::string out = "[";
        auto bits = static_cast<std::uint64_t>(value);
        for (int i = 0; i < 64; ++i) {
            if (bits & (std::uint64_t{1} << i)) {
                std::string_view name = prop.EnumType()->NameOf(i);
                if (out.size() > 1) {
                    out += ", ";
                }
                out += name.empty() ? std::to_string(i) : std::string(name);
            }
        }
        return out + "]";
    }
    case TPropKind::Integer:
    case TPropKind::Color:
    case TPropKind::Cursor:
        if (!prop.IdentType().empty()) {
            if (auto ident = IntToIdent(prop.IdentType(), value)) {
                return *ident;
            }
        }
        return std::to_string(value);
    case TPropKind::ShortCut:
        if (ShortCutText().toText) {
            return ShortCutText().toText(value);
        }
        return std::to_string(value);
    default:
        return std::to_string(value);
    }
}

// --- Access by name ---

bool HasProperty(const TObject* obj, std::string_view name) {
    return obj && obj->ClassInfo().FindProperty(name) != nullptr;
}

TStatus ResolvePropPath(TObject* obj, std::string_view path, TPropTarget& target) {
    target = TPropTarget();
    if (!obj) {
        return TStatus::Fail("No object");
    }
    while (true) {
        std::size_t dot = path.find('.');
        std::string_view part = path.substr(0, dot);
        const TPropInfo* prop = obj->ClassInfo().FindProperty(part);
        if (!prop) {
            return TStatus::Fail("Unknown property \"" + std::string(part) + "\" of " + obj->ClassName());
        }
        if (dot == std::string_view::npos) {
            target.object = obj;
            target.prop = prop;
            return TStatus::Ok();
        }
        if (prop->Kind() != TPropKind::Class) {
            return TStatus::Fail("Property " + prop->Name() + " of " + obj->ClassName() + " has no parts");
        }
        TObject* sub = prop->GetObject(obj);
        if (!sub) {
            return TStatus::Fail("Property " + prop->Name() + " of " + obj->ClassName() + " is empty");
        }
        obj = sub;
        path.remove_prefix(dot + 1);
    }
}

std::optional<std::string> GetPropText(const TObject* obj, std::string_view path) {
    TPropTarget target;
    if (!ResolvePropPath(const_cast<TObject*>(obj), path, target)) {
        return std::nullopt;
    }
    const TPropInfo& prop = *target.prop;
    switch (prop.Kind()) {
    case TPropKind::String:
        return prop.GetString(target.object);
    case TPropKind::Float:
        return PrintLayoutValue(TLayoutValue::Real(prop.GetFloat(target.object)));
    case TPropKind::Class: {
        TObject* sub = prop.GetObject(target.object);
        return sub ? sub->ClassName() : std::string();
    }
    case TPropKind::Component: {
        auto* c = static_cast<TComponent*>(prop.GetObject(target.object));
        return c ? c->Name() : std::string();
    }
    case TPropKind::Event:
        return prop.GetHandlerName(target.object);
    default:
        return OrdinalToText(prop, prop.GetOrd(target.object));
    }
}

namespace {

// Component references and handlers of a component are looked up in its owner (the window),
// and those of an owner-less component in itself.
TComponent* LookupRoot(TObject* obj) {
    if (!obj->InheritsFrom<TComponent>()) {
        return nullptr;
    }
    auto* c = static_cast<TComponent*>(obj);
    return c->Owner() ? c->Owner() : c;
}

} // namespace

std::vector<std::string> UnboundFields(const TObject* root) {
    std::vector<std::string> unbound;
    for (const TFieldInfo* field : root->ClassInfo().AllFields()) {
        if (!field->Get(root)) {
            unbound.push_back(field->Name());
        }
    }
    return unbound;
}

TStatus RequireBoundFields(const TObject* root, std::string_view layoutName) {
    const std::vector<std::string> unbound = UnboundFields(root);
    if (unbound.empty()) {
        return TStatus::Ok();
    }
    std::string names;
    for (const std::string& name : unbound) {
        names += (names.empty() ? "" : ", ") + name;
    }
    return TStatus::Fail(std::string(layoutName) + " makes no component for " + names);
}

TStatus SetPropText(TObject* obj, std::string_view path, std::string_view text) {
    TPropTarget target;
    if (TStatus s = ResolvePropPath(obj, path, target); !s) {
        return s;
    }
    const TPropInfo& prop = *target.prop;
    if (!prop.CanWrite()) {
        return TStatus::Fail("Property " + prop.Name() + " is read-only");
    }
    switch (prop.Kind()) {
    case TPropKind::String:
        prop.SetString(target.object, std::string(text));
        return TStatus::Ok();
    case TPropKind::Class:
        return TStatus::Fail("Property " + prop.Name() + " is set part by part, not from text");
    case TPropKind::Component: {
        if (text.empty() || SameText(text, "nil")) {
            return prop.SetObject(target.object, nullptr);
        }
        TComponent* root = LookupRoot(obj);
        TComponent* found =
            root ? (SameText(root->Name(), text) ? root : root->FindComponent(text)) : nullptr;
        if (!found) {
            return TStatus::Fail("Unknown component \"" + std::string(text) + "\" for property " +
                                 prop.Name());
        }
        return prop.SetObject(target.object, found);
    }
    case TPropKind::Event: {
        if (text.empty() || SameText(text, "nil")) {
            prop.SetEvent(target.object, std::any());
            return TStatus::Ok();
        }
        TComponent* root = LookupRoot(obj);
        const THandlerInfo* handler = root ? root->ClassInfo().FindHandler(text) : nullptr;
        if (!handler) {
            return TStatus::Fail("Unknown handler \"" + std::string(text) + "\" for event " + prop.Name());
        }
        if (handler->Signature() != prop.EventType() || !prop.SetEvent(target.object, handler->Bind(root))) {
            return TStatus::Fail("Handler \"" + std::string(text) + "\" does not fit event " + prop.Name());
        }
        return TStatus::Ok();
    }
    default:
        break;
    }
    if (prop.Kind() == TPropKind::ShortCut && ShortCutText().fromText) {
        if (auto v = ShortCutText().fromText(text)) {
            prop.SetOrd(target.object, *v);
            return TStatus::Ok();
        }
    }
    TLayoutValue value;
    TLayoutError error;
    if (!ParseLayoutValue(text, value, error)) {
        return BadValue(prop, text);
    }
    if (prop.Kind() == TPropKind::Float) {
        if (value.type == TLayoutValue::TType::Float || value.type == TLayoutValue::TType::Integer) {
            prop.SetFloat(target.object, value.type == TLayoutValue::TType::Float
                                             ? value.number
                                             : static_cast<double>(value.integer));
            return TStatus::Ok();
        }
        return BadValue(prop, text);
    }
    std::int64_t ordinal = 0;
    if (TStatus s = LayoutValueToOrdinal(prop, value, ordinal); !s) {
        return s;
    }
    prop.SetOrd(target.object, ordinal);
    return TStatus::Ok();
}
