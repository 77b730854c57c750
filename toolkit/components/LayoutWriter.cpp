#include "toolkit/components/LayoutWriter.h"

#include "toolkit/components/Collection.h"
#include "toolkit/components/LayoutText.h"
#include "toolkit/components/Properties.h"
#include "toolkit/components/Streams.h"

namespace {

// Layout nesting is bounded when read; a sub-object graph deeper than this (which only a cycle
// of sub-objects could make) is cut rather than followed for ever.
constexpr int kMaxNesting = 32;

void WriteObject(const TObject* obj, const std::string& prefix, const TComponent* root,
                 std::vector<TLayoutProperty>& out, int depth);

std::optional<TLayoutValue> OrdinalValue(const TPropInfo& prop, std::int64_t v) {
    switch (prop.Kind()) {
    case TPropKind::Boolean:
    case TPropKind::Enumeration: {
        std::string_view name = prop.EnumType()->NameOf(v);
        // A value without a name cannot be read back; leave the property at its default.
        if (name.empty()) {
            return std::nullopt;
        }
        return TLayoutValue::Ident(std::string(name));
    }
    case TPropKind::Set: {
        TLayoutValue value;
        value.type = TLayoutValue::TType::Set;
        auto bits = static_cast<std::uint64_t>(v);
        for (int i = 0; i < 64; ++i) {
            if (bits & (std::uint64_t{1} << i)) {
                std::string_view name = prop.EnumType()->NameOf(i);
                if (name.empty()) {
                    return std::nullopt;
                }
                value.members.emplace_back(name);
            }
        }
        return value;
    }
    case TPropKind::Integer:
    case TPropKind::Color:
    case TPropKind::Cursor:
        if (!prop.IdentType().empty()) {
            if (auto ident = IntToIdent(prop.IdentType(), v)) {
                return TLayoutValue::Ident(*ident);
            }
        }
        return TLayoutValue::Int(v);
    default:
        return TLayoutValue::Int(v);
    }
}

// The name a reference is stored by: the root's own name or that of a component it owns.
std::optional<std::string> ReferenceName(const TComponent* target, const TComponent* root) {
    if (!target || !root || target->Name().empty()) {
        return std::nullopt;
    }
    if (target == root || target->Owner() == root) {
        return target->Name();
    }
    return std::nullopt;
}

void WriteProperty(const TObject* obj, const TPropInfo& prop, const std::string& prefix,
                   const TComponent* root, std::vector<TLayoutProperty>& out, int depth) {
    std::string name = prefix + prop.Name();
    std::optional<TLayoutValue> value;
    switch (prop.Kind()) {
    case TPropKind::Class: {
        const TObject* sub = prop.GetObject(obj);
        if (!sub) {
            return;
        }
        if (sub->InheritsFrom<TCollection>()) {
            // Always written, even empty: a collection may start with items of its own.
            const auto* collection = static_cast<const TCollection*>(sub);
            TLayoutValue v;
            v.type = TLayoutValue::TType::Collection;
            for (int i = 0; i < collection->Count(); ++i) {
                TLayoutItem item;
                WriteObject(collection->Items(i), "", root, item.properties, depth + 1);
                v.items.push_back(std::move(item));
            }
            value = std::move(v);
        } else {
            WriteObject(sub, name + ".", root, out, depth + 1);
            return;
        }
        break;
    }
    case TPropKind::Component:
        if (auto ref = ReferenceName(static_cast<const TComponent*>(prop.GetObject(obj)), root)) {
            value = TLayoutValue::Ident(*ref);
        }
        break;
    case TPropKind::Event: {
        std::string handler = prop.GetHandlerName(obj);
        if (!handler.empty()) {
            value = TLayoutValue::Ident(handler);
        }
        break;
    }
    case TPropKind::String:
        if (!prop.IsDefaultValue(obj)) {
            value = TLayoutValue::Str(prop.GetString(obj));
        }
        break;
    case TPropKind::Float:
        if (!prop.IsDefaultValue(obj)) {
            value = TLayoutValue::Real(prop.GetFloat(obj));
        }
        break;
    default:
        if (!prop.IsDefaultValue(obj)) {
            value = OrdinalValue(prop, prop.GetOrd(obj));
        }
        break;
    }
    if (value) {
        out.push_back({0, std::move(name), std::move(*value)});
    }
}

void WriteObject(const TObject* obj, const std::string& prefix, const TComponent* root,
                 std::vector<TLayoutProperty>& out, int depth) {
    if (!obj || depth > kMaxNesting) {
        return;
    }
    for (const TDataInfo* data : obj->ClassInfo().AllData()) {
        if (auto value = data->Write(obj)) {
            out.push_back({0, prefix + data->Name(), std::move(*value)});
        }
    }
    for (const TPropInfo* prop : obj->ClassInfo().Properties()) {
        if (prop->IsStored(obj) && (prop->CanWrite() || prop->Kind() == TPropKind::Class)) {
            WriteProperty(obj, *prop, prefix, root, out, depth);
        }
    }
}

TLayoutObject WriteComponent(TComponent* component, TComponent* root, int depth) {
    component->SetWritingState(true);
    TLayoutObject obj;
    obj.name = component->Name();
    obj.className = component->ClassName();
    WriteObject(component, "", root, obj.properties, 0);
    if (depth < kMaxNesting) {
        component->GetChildren(
            [&](TComponent* child) { obj.children.push_back(WriteComponent(child, root, depth + 1)); }, root);
    }
    component->SetWritingState(false);
    return obj;
}

} // namespace

void WriteStoredProperties(const TObject* obj, const std::string& prefix, const TComponent* root,
                           std::vector<TLayoutProperty>& out) {
    WriteObject(obj, prefix, root, out, 0);
}

TLayoutObject WriteLayoutTree(TComponent* root) {
    return WriteComponent(root, root, 0);
}

std::string WriteLayoutText(TComponent* root) {
    return PrintLayout(WriteLayoutTree(root));
}

TStatus WriteLayoutStream(TComponent* root, TStream& stream) {
    std::string text = WriteLayoutText(root);
    if (!stream.WriteBuffer(text.data(), text.size())) {
        return TStatus::Fail("Stream write error");
    }
    return TStatus::Ok();
}
