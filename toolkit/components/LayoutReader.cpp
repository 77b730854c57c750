#include "toolkit/components/LayoutReader.h"

#include "toolkit/components/Collection.h"
#include "toolkit/components/Properties.h"
#include "toolkit/components/Resources.h"
#include "toolkit/components/Streams.h"

#include <algorithm>
#include <map>
#include <strings.h>
#include <vector>

// Sections: helpers; the check pass; the build pass; entry points.

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

struct TNoCaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        int c = strncasecmp(a.data(), b.data(), std::min(a.size(), b.size()));
        return c != 0 ? c < 0 : a.size() < b.size();
    }
};

std::vector<std::string_view> SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    while (true) {
        std::size_t dot = path.find('.');
        parts.push_back(path.substr(0, dot));
        if (dot == std::string_view::npos) {
            return parts;
        }
        path.remove_prefix(dot + 1);
    }
}

std::string Quoted(std::string_view word) {
    return "\"" + std::string(word) + "\"";
}

std::string ValueWord(const TLayoutValue& v) {
    using T = TLayoutValue::TType;
    switch (v.type) {
    case T::Integer:
        return std::to_string(v.integer);
    case T::Identifier:
    case T::String:
        return v.text.substr(0, 40);
    default:
        return PrintLayoutValue(v).substr(0, 40);
    }
}

bool IsNil(const TLayoutValue& v) {
    return v.type == TLayoutValue::TType::Identifier && SameText(v.text, "nil");
}

// How to reach, from a component, the object a deferred property belongs to: through sub-object
// properties and collection items. Items are found again by index when references are bound,
// since later values may have rebuilt a collection.
struct TStep {
    const TPropInfo* prop;
    int item; // index in the collection the property holds, -1 for the sub-object itself
};

struct TFixup {
    TComponent* component;
    std::vector<TStep> steps;
    const TPropInfo* prop;
    const TLayoutValue* value;
    int line;
};

class TReader {
public:
    TReader(TComponent* root, std::string_view file, TLayoutError& error) : m_root(root), m_error(error) {
        m_error = TLayoutError();
        m_error.file = std::string(file);
    }

    bool Check(const TLayoutObject& layout);
    bool Build(const TLayoutObject& layout);

private:
    bool Fail(int line, std::string_view word, std::string message) {
        m_error.line = line;
        m_error.word = std::string(word.substr(0, 40));
        m_error.message = std::move(message);
        return false;
    }
    bool Fail(int line, std::string_view word, const TStatus& status) {
        return Fail(line, word, status.Message());
    }

    bool CollectNames(const TLayoutObject& obj);
    bool CheckObject(const TLayoutObject& obj, const TClassInfo& cls);
    bool CheckProperty(const TLayoutProperty& p, const TClassInfo& cls);
    bool CheckValue(const TLayoutProperty& p, std::string_view word, const TPropInfo& prop);

    bool ApplyProperties(TObject* obj, TComponent* component, const std::vector<TStep>& steps,
                         const std::vector<TLayoutProperty>& props);
    bool ApplyProperty(TObject* obj, TComponent* component, std::vector<TStep> steps,
                       const TLayoutProperty& p);
    bool ApplyCollection(TCollection* collection, TComponent* component, std::vector<TStep> steps,
                         const TPropInfo& prop, const TLayoutValue& value);
    bool CreateChildren(const TLayoutObject& obj, TComponent* parent);
    bool BindReferences();
    bool StillOwned(TComponent* c) const;
    void TearDown();

    TComponent* m_root;
    TLayoutError& m_error;
    std::map<std::string, const TClassInfo*, TNoCaseLess> m_names; // every named object, the root's included
    std::vector<TComponent*> m_created;                            // in creation order
    std::vector<TFixup> m_fixups;                                  // in file order
    int m_objectCount = 0;
};

// --- Check pass ---

bool TReader::Check(const TLayoutObject& layout) {
    const TClassInfo& rootClass = m_root->ClassInfo();
    if (!rootClass.InheritsFrom(layout.className)) {
        return Fail(layout.line, layout.className,
                    "The layout describes a " + layout.className + ", not a " + rootClass.Name());
    }
    if (!IsValidComponentName(layout.name)) {
        return Fail(layout.line, layout.name, Quoted(layout.name) + " is not a valid component name");
    }
    if (!layout.name.empty()) {
        m_names.emplace(layout.name, &rootClass);
    }
    for (const TLayoutObject& child : layout.children) {
        if (!CollectNames(child)) {
            return false;
        }
    }
    return CheckObject(layout, rootClass);
}

bool TReader::CollectNames(const TLayoutObject& obj) {
    if (++m_objectCount > TLayoutLimits().maxComponents) {
        return Fail(obj.line, obj.className,
                    "Too many components in one layout (more than " +
                        std::to_string(TLayoutLimits().maxComponents) + ")");
    }
    const TClassInfo* cls = FindClass(obj.className);
    if (!cls) {
        return Fail(obj.line, obj.className, "Unknown class " + Quoted(obj.className));
    }
    if (!cls->InheritsFrom(TComponent::StaticClassInfo()) || !cls->CanCreateComponent()) {
        return Fail(obj.line, obj.className,
                    "Class " + Quoted(obj.className) + " cannot be created in a layout");
    }
    if (!IsValidComponentName(obj.name)) {
        return Fail(obj.line, obj.name, Quoted(obj.name) + " is not a valid component name");
    }
    if (!obj.name.empty()) {
        if (!m_names.emplace(obj.name, cls).second) {
            return Fail(obj.line, obj.name, "A component named " + obj.name + " already exists");
        }
        const TFieldInfo* field = m_root->ClassInfo().FindField(obj.name);
        if (field && !cls->InheritsFrom(field->ComponentClass())) {
            return Fail(obj.line, obj.className,
                        "Component " + obj.name + " is a " + cls->Name() + ", but the window expects a " +
                            field->ComponentClass().Name());
        }
    }
    for (const TLayoutObject& child : obj.children) {
        if (!CollectNames(child)) {
            return false;
        }
    }
    return true;
}

bool TReader::CheckObject(const TLayoutObject& obj, const TClassInfo& cls) {
    for (const TLayoutProperty& p : obj.properties) {
        if (!CheckProperty(p, cls)) {
            return false;
        }
    }
    for (const TLayoutObject& child : obj.children) {
        if (!CheckObject(child, *FindClass(child.className))) {
            return false;
        }
    }
    return true;
}

bool TReader::CheckProperty(const TLayoutProperty& p, const TClassInfo& cls) {
    std::vector<std::string_view> parts = SplitPath(p.name);
    const TClassInfo* current = &cls;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        bool last = i + 1 == parts.size();
        const TPropInfo* prop = current->FindProperty(parts[i]);
        if (!prop) {
            if (last && current->FindData(parts[i])) {
                return true; // custom data checks its own value when it is read
            }
            if (i > 0) {
                // The sub-object may be of a class derived from the declared one, which publishes
                // more; the build pass checks the part against the real object.
                return true;
            }
            return Fail(p.line, parts[i], "Unknown property " + Quoted(parts[i]) + " of " + current->Name());
        }
        if (last) {
            return CheckValue(p, parts[i], *prop);
        }
        if (prop->Kind() != TPropKind::Class) {
            return Fail(p.line, parts[i],
                        "Property " + prop->Name() + " of " + current->Name() + " has no parts");
        }
        current = prop->ObjectClass();
    }
    return true;
}

bool TReader::CheckValue(const TLayoutProperty& p, std::string_view word, const TPropInfo& prop) {
    using T = TLayoutValue::TType;
    const TLayoutValue& v = p.value;
    if (prop.Kind() == TPropKind::Class) {
        if (prop.ObjectClass()->InheritsFrom(TCollection::StaticClassInfo()) && v.type == T::Collection) {
            return true;
        }
        return Fail(p.line, word,
                    "Property " + prop.Name() + " is stored part by part (" + prop.Name() +
                        ".Name = ...), not as " + Quoted(ValueWord(v)));
    }
    if (!prop.CanWrite()) {
        return Fail(p.line, word, "Property " + prop.Name() + " is read-only");
    }
    switch (prop.Kind()) {
    case TPropKind::Event: {
        if (v.type != T::Identifier) {
            return Fail(p.line, ValueWord(v), "A handler name expected for event " + prop.Name());
        }
        if (IsNil(v)) {
            return true;
        }
        const THandlerInfo* handler = m_root->ClassInfo().FindHandler(v.text);
        if (!handler) {
            return Fail(p.line, v.text, "Unknown handler " + Quoted(v.text) + " for event " + prop.Name());
        }
        if (handler->Signature() != prop.EventType()) {
            return Fail(p.line, v.text, "Handler " + Quoted(v.text) + " does not fit event " + prop.Name());
        }
        return true;
    }
    case TPropKind::Component: {
        if (v.type != T::Identifier) {
            return Fail(p.line, ValueWord(v), "A component name expected for property " + prop.Name());
        }
        if (IsNil(v)) {
            return true;
        }
        auto it = m_names.find(v.text);
        if (it == m_names.end()) {
            return Fail(p.line, v.text,
                        "Unknown component " + Quoted(v.text) + " for property " + prop.Name());
        }
        if (!it->second->InheritsFrom(*prop.ObjectClass())) {
            return Fail(p.line, v.text,
                        "Component " + v.text + " is a " + it->second->Name() + "; property " + prop.Name() +
                            " takes a " + prop.ObjectClass()->Name());
        }
        return true;
    }
    case TPropKind::String:
        if (v.type == T::String) {
            return true;
        }
        return Fail(p.line, ValueWord(v),
                    "Invalid value " + Quoted(ValueWord(v)) + " for property " + prop.Name());
    case TPropKind::Float:
        if (v.type == T::Float || v.type == T::Integer) {
            return true;
        }
        return Fail(p.line, ValueWord(v),
                    "Invalid value " + Quoted(ValueWord(v)) + " for property " + prop.Name());
    default: {
        std::int64_t ordinal = 0;
        TStatus s = LayoutValueToOrdinal(prop, v, ordinal);
        return s ? true : Fail(p.line, ValueWord(v), s);
    }
    }
}

// --- Build pass ---

bool TReader::Build(const TLayoutObject& layout) {
    m_root->SetLoadingState(true);
    bool ok = true;
    if (!layout.name.empty()) {
        if (TStatus s = m_root->SetName(layout.name); !s) {
            ok = Fail(layout.line, layout.name, s);
        }
    }
    ok = ok && ApplyProperties(m_root, m_root, {}, layout.properties) && CreateChildren(layout, m_root) &&
         BindReferences();
    if (!ok) {
        TearDown();
        m_root->SetLoadingState(false);
        return false;
    }
    // Loaded may free components (a window dropping a part it does not need); skip those.
    m_root->Loaded();
    for (TComponent* c : m_created) {
        if (StillOwned(c)) {
            c->Loaded();
        }
    }
    m_root->SetLoadingState(false);
    for (TComponent* c : m_created) {
        if (StillOwned(c)) {
            c->SetLoadingState(false);
        }
    }
    return true;
}

bool TReader::StillOwned(TComponent* c) const {
    for (int i = 0; i < m_root->ComponentCount(); ++i) {
        if (m_root->Components(i) == c) {
            return true;
        }
    }
    return false;
}

void TReader::TearDown() {
    for (auto it = m_created.rbegin(); it != m_created.rend(); ++it) {
        if (StillOwned(*it)) {
            delete *it;
        }
    }
    m_created.clear();
}

bool TReader::CreateChildren(const TLayoutObject& obj, TComponent* parent) {
    for (const TLayoutObject& child : obj.children) {
        const TClassInfo* cls = FindClass(child.className);
        auto* component = static_cast<TComponent*>(cls->CreateComponent(m_root));
        if (!component) {
            return Fail(child.line, child.className,
                        "Class " + Quoted(child.className) + " could not be created");
        }
        if (const TStatus refused = component->CreationStatus(); !refused) {
            // Never handed out: it goes before the rest of the load is taken down.
            delete component;
            return Fail(child.line, child.className, refused);
        }
        m_created.push_back(component);
        component->SetLoadingState(true);
        if (TStatus s = component->SetName(child.name); !s) {
            return Fail(child.line, child.name, s);
        }
        component->SetParentComponent(parent);
        if (!ApplyProperties(component, component, {}, child.properties) ||
            !CreateChildren(child, component)) {
            return false;
        }
    }
    return true;
}

bool TReader::ApplyProperties(TObject* obj, TComponent* component, const std::vector<TStep>& steps,
                              const std::vector<TLayoutProperty>& props) {
    // Values go in the order the class publishes its properties, whatever their order in the
    // file; parts of one sub-object and repeated values keep their file order, so the later of
    // two values wins. Custom data of the object itself goes first.
    std::span<const TPropInfo* const> published = obj->ClassInfo().Properties();
    auto rank = [&](const TLayoutProperty& p) -> std::ptrdiff_t {
        std::string_view head = std::string_view(p.name).substr(0, p.name.find('.'));
        for (std::size_t i = 0; i < published.size(); ++i) {
            if (SameText(published[i]->Name(), head)) {
                return static_cast<std::ptrdiff_t>(i);
            }
        }
        return -1;
    };
    std::vector<std::pair<std::ptrdiff_t, const TLayoutProperty*>> order;
    order.reserve(props.size());
    for (const TLayoutProperty& p : props) {
        order.emplace_back(rank(p), &p);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [rankValue, p] : order) {
        if (!ApplyProperty(obj, component, steps, *p)) {
            return false;
        }
    }
    return true;
}

bool TReader::ApplyProperty(TObject* obj, TComponent* component, std::vector<TStep> steps,
                            const TLayoutProperty& p) {
    std::vector<std::string_view> parts = SplitPath(p.name);
    TObject* current = obj;
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        const TPropInfo* prop = current->ClassInfo().FindProperty(parts[i]);
        if (!prop) {
            return Fail(p.line, parts[i],
                        "Unknown property " + Quoted(parts[i]) + " of " + current->ClassName());
        }
        if (prop->Kind() != TPropKind::Class) {
            return Fail(p.line, parts[i],
                        "Property " + prop->Name() + " of " + current->ClassName() + " has no parts");
        }
        TObject* sub = prop->GetObject(current);
        if (!sub) {
            return Fail(p.line, parts[i],
                        "Property " + prop->Name() + " of " + current->ClassName() + " is empty");
        }
        steps.push_back({prop, -1});
        current = sub;
    }
    std::string_view name = parts.back();
    const TPropInfo* prop = current->ClassInfo().FindProperty(name);
    if (!prop) {
        if (const TDataInfo* data = current->ClassInfo().FindData(name)) {
            TStatus s = data->Read(current, p.value);
            return s ? true : Fail(p.line, name, s);
        }
        return Fail(p.line, name, "Unknown property " + Quoted(name) + " of " + current->ClassName());
    }
    // The value was checked against the declared class; check again here for what the check
    // pass could only see through a sub-object's declared class.
    if (current != obj || !steps.empty()) {
        if (!CheckValue(p, name, *prop)) {
            return false;
        }
    }
    switch (prop->Kind()) {
    case TPropKind::Event:
    case TPropKind::Component:
        m_fixups.push_back({component, std::move(steps), prop, &p.value, p.line});
        return true;
    case TPropKind::Class: {
        TObject* sub = prop->GetObject(current);
        if (!sub || !sub->InheritsFrom<TCollection>()) {
            return Fail(p.line, name,
                        "Property " + prop->Name() + " of " + current->ClassName() + " holds no collection");
        }
        return ApplyCollection(static_cast<TCollection*>(sub), component, std::move(steps), *prop, p.value);
    }
    case TPropKind::String:
        prop->SetString(current, p.value.text);
        return true;
    case TPropKind::Float:
        prop->SetFloat(current, p.value.type == TLayoutValue::TType::Float
                                    ? p.value.number
                                    : static_cast<double>(p.value.integer));
        return true;
    default: {
        std::int64_t ordinal = 0;
        if (TStatus s = LayoutValueToOrdinal(*prop, p.value, ordinal); !s) {
            return Fail(p.line, ValueWord(p.value), s);
        }
        prop->SetOrd(current, ordinal);
        return true;
    }
    }
}

bool TReader::ApplyCollection(TCollection* collection, TComponent* component, std::vector<TStep> steps,
                              const TPropInfo& prop, const TLayoutValue& value) {
    collection->BeginUpdate();
    collection->Clear();
    bool ok = true;
    for (std::size_t i = 0; ok && i < value.items.size(); ++i) {
        TCollectionItem* item = collection->Add();
        if (!item) {
            ok = Fail(value.items[i].line, prop.Name(), "Items of " + prop.Name() + " cannot be created");
            break;
        }
        std::vector<TStep> itemSteps = steps;
        itemSteps.push_back({&prop, static_cast<int>(i)});
        ok = ApplyProperties(item, component, itemSteps, value.items[i].properties);
    }
    collection->EndUpdate();
    return ok;
}

bool TReader::BindReferences() {
    for (const TFixup& f : m_fixups) {
        TObject* obj = f.component;
        for (const TStep& step : f.steps) {
            TObject* sub = step.prop->GetObject(obj);
            if (sub && step.item >= 0) {
                sub = sub->InheritsFrom<TCollection>() ? static_cast<TCollection*>(sub)->Items(step.item)
                                                       : nullptr;
            }
            if (!sub) {
                return Fail(f.line, f.prop->Name(),
                            "The object of property " + f.prop->Name() +
                                " no longer exists when references are bound");
            }
            obj = sub;
        }
        const TLayoutValue& v = *f.value;
        if (f.prop->Kind() == TPropKind::Event) {
            if (IsNil(v)) {
                f.prop->SetEvent(obj, std::any());
                continue;
            }
            const THandlerInfo* handler = m_root->ClassInfo().FindHandler(v.text);
            if (!handler || !f.prop->SetEvent(obj, handler->Bind(m_root))) {
                return Fail(f.line, v.text,
                            "Handler " + Quoted(v.text) + " does not fit event " + f.prop->Name());
            }
            continue;
        }
        TComponent* target = nullptr;
        if (!IsNil(v)) {
            target = SameText(m_root->Name(), v.text) ? m_root : m_root->FindComponent(v.text);
            if (!target) {
                return Fail(f.line, v.text,
                            "Unknown component " + Quoted(v.text) + " for property " + f.prop->Name());
            }
        }
        if (TStatus s = f.prop->SetObject(obj, target); !s) {
            return Fail(f.line, v.text, s);
        }
    }
    return true;
}

} // namespace

// --- Entry points ---

TStatus ReadLayout(TComponent* root, const TLayoutObject& layout, std::string_view fileName,
                   TLayoutError* error) {
    TLayoutError local;
    TLayoutError& err = error ? *error : local;
    TReader reader(root, fileName, err);
    if (!reader.Check(layout) || !reader.Build(layout)) {
        return err.ToStatus();
    }
    return TStatus::Ok();
}

TStatus ReadLayoutText(TComponent* root, std::string_view text, std::string_view fileName,
                       TLayoutError* error) {
    TLayoutError local;
    TLayoutError& err = error ? *error : local;
    TLayoutObject layout;
    if (!ParseLayout(text, fileName, layout, err)) {
        return err.ToStatus();
    }
    return ReadLayout(root, layout, fileName, &err);
}

TStatus ReadLayoutStream(TComponent* root, TStream& stream, std::string_view fileName, TLayoutError* error) {
    const std::size_t limit = TLayoutLimits().maxBytes;
    std::vector<std::byte> bytes = stream.ReadAll(limit + 1);
    if (bytes.size() > limit) {
        TLayoutError local;
        TLayoutError& err = error ? *error : local;
        err = TLayoutError();
        err.file = std::string(fileName);
        err.message = "Layout too large";
        return err.ToStatus();
    }
    return ReadLayoutText(root, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                          fileName, error);
}

TStatus ReadLayoutResource(TComponent* root, std::string_view resourceName, TLayoutError* error) {
    std::string fileName = std::string(resourceName) + ".lfm";
    auto bytes = FindEmbeddedResource(resourceName);
    if (!bytes) {
        TLayoutError local;
        TLayoutError& err = error ? *error : local;
        err = TLayoutError();
        err.file = fileName;
        err.word = std::string(resourceName);
        err.message = "Layout resource " + std::string(resourceName) + " not found";
        return err.ToStatus();
    }
    return ReadLayoutText(root, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()),
                          fileName, error);
}

TComponent* CreateFromLayoutText(std::string_view text, std::string_view fileName, TComponent* owner,
                                 TLayoutError* error) {
    TLayoutError local;
    TLayoutError& err = error ? *error : local;
    TLayoutObject layout;
    if (!ParseLayout(text, fileName, layout, err)) {
        return nullptr;
    }
    const TClassInfo* cls = FindClass(layout.className);
    if (!cls || !cls->InheritsFrom(TComponent::StaticClassInfo()) || !cls->CanCreateComponent()) {
        err.line = layout.line;
        err.word = layout.className;
        err.message = cls ? "Class " + Quoted(layout.className) + " cannot be created in a layout"
                          : "Unknown class " + Quoted(layout.className);
        return nullptr;
    }
    auto* root = static_cast<TComponent*>(cls->CreateComponent(owner));
    if (const TStatus refused = root->CreationStatus(); !refused) {
        err.line = layout.line;
        err.word = layout.className;
        err.message = refused.Message();
        delete root;
        return nullptr;
    }
    if (!ReadLayout(root, layout, fileName, &err)) {
        delete root;
        return nullptr;
    }
    return root;
}
