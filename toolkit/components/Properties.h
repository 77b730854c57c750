#pragma once

// Published properties: what a class declares (TClassBuilder, inside VARNEL_CLASS_INFO), how a
// property is read and written on an instance (TPropInfo), the names of enumeration values and
// of integer constants, and access by name with values as text (GetPropText, SetPropText).
//
// A class declares its published properties in its .cpp, in the order layouts store them:
//
//   VARNEL_CLASS_INFO(TsuiCheckBox, [](auto& c) {
//       c.Enum("UIStyle", UIStyleInfo, &TsuiCheckBox::UIStyle, &TsuiCheckBox::SetUIStyle);
//       c.Component("FileTheme", &TsuiCheckBox::FileTheme, &TsuiCheckBox::SetFileTheme);
//       c.Publish("Anchors");                        // declared, unpublished, by an ancestor
//       c.Bool("Checked", &TsuiCheckBox::Checked, &TsuiCheckBox::SetChecked);
//       c.Object("Font", &TsuiCheckBox::Font, &TsuiCheckBox::SetFont);
//       c.Color("Color", &TsuiCheckBox::Color, &TsuiCheckBox::SetColor).Default(clWindow);
//       c.Bool("TabStop", &TsuiCheckBox::TabStop, &TsuiCheckBox::SetTabStop).Default(false);
//       c.Event("OnClick", &TsuiCheckBox::OnClick);
//       c.Event("OnChange", &TsuiScrollBar::OnChange, &TsuiScrollBar::SetOnChange); // kept in a part
//   })
//
// and a window class names its components and handlers for the layout reader:
//
//   VARNEL_CLASS_INFO(TForm1, [](auto& c) {
//       c.Field("suiButton4", &TForm1::suiButton4);
//       c.Handler("suiButton4Click", &TForm1::suiButton4Click);
//   })

#include "toolkit/components/ClassInfo.h"
#include "toolkit/components/LayoutTree.h"
#include "toolkit/components/Set.h"
#include "toolkit/components/Status.h"

#include <any>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <utility>

class TStream;

// The kinds of published property, which decide how a value is written as text and stored.
enum class TPropKind {
    Integer,
    Boolean,
    Enumeration, // by value name
    Set,         // [name, name]
    String,
    Float,
    Color,     // an integer or a named colour constant ("TColor" identifiers)
    Cursor,    // an integer or a named cursor ("TCursor" identifiers)
    ShortCut,  // an integer key code with modifier bits
    Class,     // an owned sub-object (Font, Picture, Lines, a collection), stored part by part
    Component, // a reference to another component, stored by name
    Event,     // a handler of the layout's root, stored by name
};

// The value names of an enumeration whose values are 0, 1, 2, ... Declare them as constants so
// that they exist before any code runs:
//   inline constexpr std::string_view kFontStyleNames[] = {"fsBold", "fsItalic", ...};
//   inline constexpr TEnumInfo FontStyleInfo{"TFontStyle", kFontStyleNames};
struct TEnumInfo {
    std::string_view typeName;
    std::span<const std::string_view> names;

    // Value names compare without regard to letter case, as in layouts.
    std::optional<std::int64_t> ValueOf(std::string_view name) const;
    // Empty when the value has no name.
    std::string_view NameOf(std::int64_t value) const;
};

inline constexpr std::string_view kBooleanNames[] = {"False", "True"};
inline constexpr TEnumInfo BooleanInfo{"Boolean", kBooleanNames};

// Named integer constants of a type, such as the colour names of "TColor" (clBtnFace) or the
// cursor names of "TCursor" (crHandPoint). The layer that owns the type registers them once at
// start-up; the entries are copied. Several names may share a value; the first one registered is
// the one written.
struct TIdentMapEntry {
    std::int64_t value;
    std::string_view name;
};
void RegisterIdents(std::string_view typeName, std::span<const TIdentMapEntry> entries);
std::optional<std::int64_t> IdentToInt(std::string_view typeName, std::string_view name);
std::optional<std::string> IntToIdent(std::string_view typeName, std::int64_t value);

// Short-cut text ("Ctrl+C"), supplied by the menus layer. Layouts store short-cuts as integers;
// the text form serves access by name. Without converters short-cuts read and write as integers.
using TShortCutToText = std::function<std::string(std::int64_t)>;
using TTextToShortCut = std::function<std::optional<std::int64_t>(std::string_view)>;
void RegisterShortCutText(TShortCutToText toText, TTextToShortCut fromText);

// One property a class declares: its name and kind, how to read and write it on an instance,
// and whether and when a layout stores it.
class TPropInfo {
public:
    TPropInfo(std::string name, TPropKind kind) : m_name(std::move(name)), m_kind(kind) {}

    const std::string& Name() const { return m_name; }
    TPropKind Kind() const { return m_kind; }
    // A property declared but not published is invisible to layouts and HasProperty until a
    // subclass publishes it.
    bool IsPublished() const { return m_published; }
    // False for a property that can be read but not set.
    bool CanWrite() const;

    // The value names of Enumeration and Boolean, and the element names of Set.
    const TEnumInfo* EnumType() const { return m_enum; }
    bool InRange(std::int64_t value) const { return value >= m_min && value <= m_max; }
    // The identifier type of Color ("TColor"), Cursor ("TCursor") and an Integer given one with
    // Idents ("TFontCharset"); empty otherwise.
    std::string_view IdentType() const;
    // The declared class of a Class or Component property.
    const TClassInfo* ObjectClass() const { return m_objectClass ? &m_objectClass() : nullptr; }

    // Ordinal kinds (Integer, Boolean, Enumeration, Set as bits, Color, Cursor, ShortCut).
    std::int64_t GetOrd(const TObject* obj) const;
    void SetOrd(TObject* obj, std::int64_t value) const;
    std::string GetString(const TObject* obj) const;
    void SetString(TObject* obj, const std::string& value) const;
    double GetFloat(const TObject* obj) const;
    void SetFloat(TObject* obj, double value) const;
    // Class: the sub-object. Component: the referenced component or null.
    TObject* GetObject(const TObject* obj) const;
    // Class: hands value to the class's setter (which copies it). Component: stores the
    // reference. Fails when value is not of the declared class or the property cannot be set.
    TStatus SetObject(TObject* obj, TObject* value) const;

    // Event: whether a handler is assigned, and the name of the root's handler it was bound to
    // by name ("" for a handler assigned in code).
    bool IsEventAssigned(const TObject* obj) const;
    std::string GetHandlerName(const TObject* obj) const;
    // The std::function type of the event, which a handler must produce.
    std::type_index EventType() const { return m_eventType; }
    // Stores a std::function of EventType() held in callable, or clears the event when callable
    // is empty. False when callable holds another type.
    bool SetEvent(TObject* obj, const std::any& callable) const;

    // Whether a layout stores the property of this object at all ("stored false", or a stored
    // predicate of the class).
    bool IsStored(const TObject* obj) const;
    bool HasDefault() const { return m_hasDefault; }
    // True when the value equals the declared default, so the writer leaves it out. Properties
    // without a default are never at their default, except a null reference and an event
    // without a handler.
    bool IsDefaultValue(const TObject* obj) const;

private:
    template <typename T>
    friend class TClassBuilder;
    friend class TPropRef;

    std::string m_name;
    TPropKind m_kind;
    bool m_published = true;
    const TEnumInfo* m_enum = nullptr;
    const TClassInfo& (*m_objectClass)() = nullptr;
    std::string m_identType; // Integer only
    std::type_index m_eventType = typeid(void);

    std::function<std::int64_t(const TObject*)> m_getOrd;
    std::function<void(TObject*, std::int64_t)> m_setOrd;
    std::function<std::string(const TObject*)> m_getString;
    std::function<void(TObject*, const std::string&)> m_setString;
    std::function<double(const TObject*)> m_getFloat;
    std::function<void(TObject*, double)> m_setFloat;
    std::function<TObject*(const TObject*)> m_getObject;
    std::function<void(TObject*, TObject*)> m_setObject;
    std::function<bool(const TObject*)> m_eventAssigned;
    std::function<std::string(const TObject*)> m_handlerName;
    std::function<bool(TObject*, const std::any&)> m_setEvent;

    // The values an integer-like property accepts: its type's range, or for signed types of up
    // to 32 bits also the unsigned bit patterns ($FFFFFFFF for a colour).
    std::int64_t m_min = INT64_MIN;
    std::int64_t m_max = INT64_MAX;

    std::function<bool(const TObject*)> m_storedWhen; // null: stored
    bool m_stored = true;
    bool m_hasDefault = false;
    std::int64_t m_defaultOrd = 0;
    std::string m_defaultString;
    double m_defaultFloat = 0;
};

// Custom data a class stores besides its published properties, such as a picture's image bytes
// (`Picture.Data = { ... }`), the resource a picture names (`Picture.Resource = 'MACOS_BUTTON'`)
// or the lines of a string list (`Lines.Strings = ( 'a' 'b' )`). Binary data reads and writes
// through a stream; other data takes and gives a layout value.
class TDataInfo {
public:
    using TReadValue = std::function<TStatus(TObject*, const TLayoutValue&)>;
    using TWriteValue = std::function<std::optional<TLayoutValue>(const TObject*)>;

    TDataInfo(std::string name, TReadValue read, TWriteValue write)
        : m_name(std::move(name)), m_read(std::move(read)), m_write(std::move(write)) {}

    const std::string& Name() const { return m_name; }
    TStatus Read(TObject* obj, const TLayoutValue& value) const { return m_read(obj, value); }
    // Nothing when the object has no such data to store.
    std::optional<TLayoutValue> Write(const TObject* obj) const { return m_write(obj); }

private:
    std::string m_name;
    TReadValue m_read;
    TWriteValue m_write;
};

// A method of a layout's root class that events can be bound to by name (`OnClick =
// suiButton4Click`). Bind makes a std::function of the handler's signature, held in a std::any,
// calling the method on the given root.
class THandlerInfo {
public:
    THandlerInfo(std::string name, std::type_index signature, std::function<std::any(TObject* root)> bind)
        : m_name(std::move(name)), m_signature(signature), m_bind(std::move(bind)) {}

    const std::string& Name() const { return m_name; }
    // The std::function type the handler binds to.
    std::type_index Signature() const { return m_signature; }
    std::any Bind(TObject* root) const { return m_bind(root); }

private:
    std::string m_name;
    std::type_index m_signature;
    std::function<std::any(TObject* root)> m_bind;
};

// A pointer member of a root class that names one of its components (`TsuiButton*
// suiButton4`): it points to the component of that name while that component exists.
class TFieldInfo {
public:
    TFieldInfo(std::string name, const TClassInfo& (*componentClass)(),
               std::function<void(TObject* root, TComponent* component)> set,
               std::function<TComponent*(const TObject* root)> get)
        : m_name(std::move(name)), m_componentClass(componentClass), m_set(std::move(set)),
          m_get(std::move(get)) {}

    const std::string& Name() const { return m_name; }
    const TClassInfo& ComponentClass() const { return m_componentClass(); }
    // Fails (and leaves the field as it was) when the component is not of the field's class.
    bool Set(TObject* root, TComponent* component) const;
    TComponent* Get(const TObject* root) const { return m_get(root); }

private:
    std::string m_name;
    const TClassInfo& (*m_componentClass)();
    std::function<void(TObject*, TComponent*)> m_set;
    std::function<TComponent*(const TObject*)> m_get;
};

// The handler type a bound event holds, so that the name it was bound by can be read back.
template <typename Sig>
struct TBoundHandler;
template <typename R, typename... A>
struct TBoundHandler<R(A...)> {
    std::string name;
    std::function<R(A...)> call;
    R operator()(A... args) const { return call(std::forward<A>(args)...); }
};

// The call signature of a std::function type.
template <typename F>
struct TFunctionSignature;
template <typename Sig>
struct TFunctionSignature<std::function<Sig>> {
    using Type = Sig;
};

// Adjusts the property just declared: c.Int("Tag", ...).Default(0);
class TPropRef {
public:
    explicit TPropRef(TPropInfo& prop) : m_prop(prop) {}

    // The stored default: the writer leaves the property out while it holds this value.
    template <typename V>
    TPropRef& Default(V value) {
        m_prop.m_hasDefault = true;
        if constexpr (std::is_convertible_v<V, std::string_view>) {
            m_prop.m_defaultString = std::string(std::string_view(value));
        } else if constexpr (std::is_floating_point_v<V>) {
            m_prop.m_defaultFloat = value;
        } else if constexpr (std::is_integral_v<V>) {
            m_prop.m_defaultOrd = value;
            m_prop.m_defaultFloat = static_cast<double>(value);
        } else {
            m_prop.m_defaultOrd = ToOrdinal(value);
        }
        return *this;
    }
    // Always stored (the state of a property declared without a default).
    TPropRef& NoDefault() {
        m_prop.m_hasDefault = false;
        return *this;
    }
    // "stored false": never written to a layout.
    TPropRef& Stored(bool stored) {
        m_prop.m_stored = stored;
        return *this;
    }
    template <typename C>
    TPropRef& StoredWhen(bool (C::*predicate)() const) {
        m_prop.m_storedWhen = [predicate](const TObject* o) {
            return (static_cast<const C*>(o)->*predicate)();
        };
        return *this;
    }
    // An integer written by the names registered for typeName (RegisterIdents) where it has one,
    // as a character set is written DEFAULT_CHARSET.
    TPropRef& Idents(std::string typeName) {
        m_prop.m_identType = std::move(typeName);
        return *this;
    }
    // The values an integer property accepts, for a type that is a subrange (1..3): a layout
    // giving another value is a load error naming the property.
    TPropRef& Range(std::int64_t min, std::int64_t max) {
        m_prop.m_min = min;
        m_prop.m_max = max;
        return *this;
    }
    // Declared for subclasses to publish, invisible until then.
    TPropRef& Unpublished() {
        m_prop.m_published = false;
        return *this;
    }

    template <typename V>
    static std::int64_t ToOrdinal(V value) {
        if constexpr (requires { value.Bits(); }) {
            return static_cast<std::int64_t>(value.Bits());
        } else {
            return static_cast<std::int64_t>(value);
        }
    }

private:
    TPropInfo& m_prop;
};

// Non-template helpers of TClassBuilder, in Properties.cpp.
TStatus ReadBinaryData(const TLayoutValue& value, const std::function<TStatus(TStream&)>& read);
TLayoutValue WriteBinaryData(const std::function<void(TStream&)>& write);

// Declares the properties, custom data, handlers and component fields of class T, in order,
// inside VARNEL_CLASS_INFO. Getters may be const member functions or data members; setters
// member functions (their result is ignored), data members, or nullptr for read-only.
template <typename T>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : m_info(info) {}

    template <typename Get, typename Set = std::nullptr_t>
    TPropRef Int(std::string name, Get get, Set set = nullptr) {
        return Ordinal(std::move(name), TPropKind::Integer, get, set);
    }
    template <typename Get, typename Set = std::nullptr_t>
    TPropRef Bool(std::string name, Get get, Set set = nullptr) {
        TPropRef ref = Ordinal(std::move(name), TPropKind::Boolean, get, set);
        m_last->m_enum = &BooleanInfo;
        return ref;
    }
    template <typename Get, typename Set = std::nullptr_t>
    TPropRef Enum(std::string name, const TEnumInfo& names, Get get, Set set = nullptr) {
        TPropRef ref = Ordinal(std::move(name), TPropKind::Enumeration, get, set);
        m_last->m_enum = &names;
        return ref;
    }
    // The getter returns a TSet of the enumeration whose names are given.
    template <typename Get, typename Set = std::nullptr_t>
    TPropRef SetOf(std::string name, const TEnumInfo& names, Get get, Set set = nullptr) {
        TPropRef ref = Ordinal(std::move(name), TPropKind::Set, get, set);
        m_last->m_enum = &names;
        return ref;
    }
    template <typename Get, typename Set = std::nullptr_t>
    TPropRef Color(std::string name, Get get, Set set = nullptr) {
        return Ordinal(std::move(name), TPropKind::Color, get, set);
    }
    template <typename Get, typename Set = std::nullptr_t>
    TPropRef Cursor(std::string name, Get get, Set set = nullptr) {
        return Ordinal(std::move(name), TPropKind::Cursor, get, set);
    }
    template <typename Get, typename Set = std::nullptr_t>
    TPropRef ShortCut(std::string name, Get get, Set set = nullptr) {
        return Ordinal(std::move(name), TPropKind::ShortCut, get, set);
    }
    template <typename Get, typename Set = std::nullptr_t>
    TPropRef String(std::string name, Get get, Set set = nullptr) {
        TPropInfo& p = Add(std::move(name), TPropKind::String);
        p.m_getString = [get](const TObject* o) { return std::string(std::invoke(get, *Self(o))); };
        if constexpr (!std::is_null_pointer_v<Set>) {
            p.m_setString = [set](TObject* o, const std::string& v) { Assign(set, *static_cast<T*>(o), v); };
        }
        return TPropRef(p);
    }
    template <typename Get, typename Set = std::nullptr_t>
    TPropRef Float(std::string name, Get get, Set set = nullptr) {
        TPropInfo& p = Add(std::move(name), TPropKind::Float);
        p.m_getFloat = [get](const TObject* o) { return static_cast<double>(std::invoke(get, *Self(o))); };
        if constexpr (!std::is_null_pointer_v<Set>) {
            using V = Value<Get>;
            p.m_setFloat = [set](TObject* o, double v) {
                Assign(set, *static_cast<T*>(o), static_cast<V>(v));
            };
        }
        return TPropRef(p);
    }
    // An owned sub-object: the getter returns a pointer to it; the setter, if any, copies from
    // another object of its class (usually through Assign).
    template <typename Get, typename Set = std::nullptr_t>
    TPropRef Object(std::string name, Get get, Set set = nullptr) {
        return Pointer(std::move(name), TPropKind::Class, get, set);
    }
    // A reference to another component: the getter returns a pointer to it or null.
    template <typename Get, typename Set = std::nullptr_t>
    TPropRef Component(std::string name, Get get, Set set = nullptr) {
        return Pointer(std::move(name), TPropKind::Component, get, set);
    }
    // An event held in a std::function data member.
    template <typename Sig, typename C>
    TPropRef Event(std::string name, std::function<Sig> C::*member) {
        static_assert(std::is_base_of_v<C, T>);
        TPropInfo& p = Add(std::move(name), TPropKind::Event);
        using F = std::function<Sig>;
        p.m_eventType = typeid(F);
        p.m_eventAssigned = [member](const TObject* o) { return static_cast<bool>(Self(o)->*member); };
        p.m_handlerName = [member](const TObject* o) -> std::string {
            const auto* bound = (Self(o)->*member).template target<TBoundHandler<Sig>>();
            return bound ? bound->name : std::string();
        };
        p.m_setEvent = [member](TObject* o, const std::any& callable) {
            if (!callable.has_value()) {
                static_cast<T*>(o)->*member = nullptr;
                return true;
            }
            const F* f = std::any_cast<F>(&callable);
            if (!f) {
                return false;
            }
            static_cast<T*>(o)->*member = *f;
            return true;
        };
        return TPropRef(p);
    }
    // An event kept elsewhere (a part's own event that the class publishes as its own), read
    // through a getter returning the std::function and written through a setter taking one.
    template <typename Get, typename Set>
    requires(!std::is_member_object_pointer_v<Get>) TPropRef Event(std::string name, Get get, Set set) {
        using F = Value<Get>;
        using Sig = typename TFunctionSignature<F>::Type;
        TPropInfo& p = Add(std::move(name), TPropKind::Event);
        p.m_eventType = typeid(F);
        p.m_eventAssigned = [get](const TObject* o) { return static_cast<bool>(std::invoke(get, *Self(o))); };
        p.m_handlerName = [get](const TObject* o) -> std::string {
            const F f = std::invoke(get, *Self(o));
            const auto* bound = f.template target<TBoundHandler<Sig>>();
            return bound ? bound->name : std::string();
        };
        p.m_setEvent = [set](TObject* o, const std::any& callable) {
            if (!callable.has_value()) {
                std::invoke(set, *static_cast<T*>(o), F());
                return true;
            }
            const F* f = std::any_cast<F>(&callable);
            if (!f) {
                return false;
            }
            std::invoke(set, *static_cast<T*>(o), *f);
            return true;
        };
        return TPropRef(p);
    }
    // Publishes, at this point of the order, a property an ancestor declared (published or
    // not); the returned reference can give it another default.
    // A name no ancestor declares (the drag, dock and input-method properties of classic
    // component sets, which this toolkit does not have) is left out of the list: the program
    // goes on, and the reference returned changes nothing.
    TPropRef Publish(std::string_view name) {
        const TPropInfo* inherited = m_info.Parent() ? m_info.Parent()->FindDeclaredProperty(name) : nullptr;
        if (!inherited) {
            m_discarded = std::make_unique<TPropInfo>(std::string(name), TPropKind::Integer);
            return TPropRef(*m_discarded);
        }
        auto copy = std::make_unique<TPropInfo>(*inherited);
        copy->m_published = true;
        m_last = copy.get();
        m_info.AddProperty(std::move(copy));
        return TPropRef(*m_last);
    }

    // Custom binary data: read from a stream holding the bytes of `{ ... }`; write into a stream
    // when hasData says there is something to store.
    template <typename C>
    void BinaryData(std::string name, TStatus (C::*read)(TStream&), void (C::*write)(TStream&) const,
                    bool (C::*hasData)() const) {
        m_info.AddData(TDataInfo(
            std::move(name),
            [read](TObject* o, const TLayoutValue& v) {
                return ReadBinaryData(v, [&](TStream& s) { return (static_cast<T*>(o)->*read)(s); });
            },
            [write, hasData](const TObject* o) -> std::optional<TLayoutValue> {
                if (!(Self(o)->*hasData)()) {
                    return std::nullopt;
                }
                return WriteBinaryData([&](TStream& s) { (Self(o)->*write)(s); });
            }));
    }
    // Custom data of any value form (a string, an identifier, a list...).
    template <typename C>
    void ValueData(std::string name, TStatus (C::*read)(const TLayoutValue&),
                   std::optional<TLayoutValue> (C::*write)() const) {
        m_info.AddData(TDataInfo(
            std::move(name),
            [read](TObject* o, const TLayoutValue& v) { return (static_cast<T*>(o)->*read)(v); },
            [write](const TObject* o) { return (Self(o)->*write)(); }));
    }

    // A handler method of this (root) class that layouts bind events to by name.
    template <typename C, typename R, typename... A>
    void Handler(std::string name, R (C::*method)(A...)) {
        static_assert(std::is_base_of_v<C, T>);
        using Sig = R(A...);
        m_info.AddHandler(THandlerInfo(name, typeid(std::function<Sig>), [name, method](TObject* root) {
            T* self = static_cast<T*>(root);
            return std::any(std::function<Sig>(TBoundHandler<Sig>{
                name, [self, method](A... args) -> R { return (self->*method)(std::forward<A>(args)...); }}));
        }));
    }
    // A component field of this (root) class, set whenever a component of that name is owned by
    // an instance. Declaring it also registers the component's class for layouts.
    template <typename C, typename P>
    void Field(std::string name, P* C::*member) {
        static_assert(std::is_base_of_v<C, T>);
        RegisterClasses<P>();
        m_info.AddField(TFieldInfo(
            std::move(name), &P::StaticClassInfo,
            [member](TObject* root, TComponent* c) { static_cast<T*>(root)->*member = static_cast<P*>(c); },
            [member](const TObject* root) -> TComponent* { return Self(root)->*member; }));
    }

private:
    template <typename Get>
    using Value = std::decay_t<std::invoke_result_t<Get, const T&>>;

    static const T* Self(const TObject* o) { return static_cast<const T*>(o); }

    template <typename Set, typename V>
    static void Assign(Set set, T& obj, V&& value) {
        if constexpr (std::is_member_object_pointer_v<Set>) {
            obj.*set = std::forward<V>(value);
        } else {
            std::invoke(set, obj, std::forward<V>(value));
        }
    }

    TPropInfo& Add(std::string name, TPropKind kind) {
        auto prop = std::make_unique<TPropInfo>(std::move(name), kind);
        m_last = prop.get();
        m_info.AddProperty(std::move(prop));
        return *m_last;
    }

    template <typename Get, typename Set>
    TPropRef Ordinal(std::string name, TPropKind kind, Get get, Set set) {
        TPropInfo& p = Add(std::move(name), kind);
        using V = Value<Get>;
        p.m_getOrd = [get](const TObject* o) { return TPropRef::ToOrdinal(std::invoke(get, *Self(o))); };
        if constexpr (!std::is_null_pointer_v<Set>) {
            p.m_setOrd = [set](TObject* o, std::int64_t v) {
                Assign(set, *static_cast<T*>(o), FromOrdinal<V>(v));
            };
        }
        if constexpr (std::is_integral_v<V> && !std::is_same_v<V, bool> && sizeof(V) < 8) {
            p.m_min = std::numeric_limits<V>::min();
            p.m_max = std::numeric_limits<std::make_unsigned_t<V>>::max();
        }
        return TPropRef(p);
    }

    template <typename V>
    static V FromOrdinal(std::int64_t v) {
        if constexpr (requires { V::FromBits(std::uint64_t{}); }) {
            return V::FromBits(static_cast<std::uint64_t>(v));
        } else if constexpr (std::is_same_v<V, bool>) {
            return v != 0;
        } else {
            return static_cast<V>(v);
        }
    }

    template <typename Get, typename Set>
    TPropRef Pointer(std::string name, TPropKind kind, Get get, Set set) {
        TPropInfo& p = Add(std::move(name), kind);
        using P = std::remove_cv_t<std::remove_pointer_t<Value<Get>>>;
        static_assert(std::is_pointer_v<Value<Get>>, "the getter must return a pointer");
        p.m_objectClass = &P::StaticClassInfo;
        p.m_getObject = [get](const TObject* o) -> TObject* {
            return const_cast<std::remove_cv_t<P>*>(std::invoke(get, *Self(o)));
        };
        if constexpr (!std::is_null_pointer_v<Set>) {
            p.m_setObject = [set](TObject* o, TObject* v) {
                Assign(set, *static_cast<T*>(o), static_cast<P*>(v));
            };
        }
        return TPropRef(p);
    }

    TClassInfo& m_info;
    TPropInfo* m_last = nullptr;
    std::unique_ptr<TPropInfo> m_discarded; // what Publish of an unknown name hands out
};

// True when the object's class publishes a property of that name (letter case ignored).
bool HasProperty(const TObject* obj, std::string_view name);

// Finds the object and property a dotted path names ("Font.Style" on a control: the control's
// font and its Style). Fails when a part is unknown or a middle part is not a sub-object.
struct TPropTarget {
    TObject* object = nullptr;
    const TPropInfo* prop = nullptr;
};
TStatus ResolvePropPath(TObject* obj, std::string_view path, TPropTarget& target);

// A property's value as text, in the form layouts use, without quotes around strings: "12",
// "True", "MacOS", "[fsBold, fsItalic]", "clBtnFace", "suiMainMenu1" (a component's name, ""
// for none), "suiButton4Click" (a handler's name). A sub-object reads as its class name.
std::optional<std::string> GetPropText(const TObject* obj, std::string_view path);
// Sets a property from text in the same form, through the class's setter. Component references
// and handlers are looked up by name among the components and handlers of the object's owner.
// The component fields of root's class (a window class) that point to no component, by name: a
// layout that was meant to make them did not.
std::vector<std::string> UnboundFields(const TObject* root);
// Ok when every field is bound; otherwise a failure naming the layout and the fields.
TStatus RequireBoundFields(const TObject* root, std::string_view layoutName);

TStatus SetPropText(TObject* obj, std::string_view path, std::string_view text);

// Converting a layout value to what a property holds; shared by the layout reader and
// SetPropText. The message of a failure names the property and the offending word.
TStatus LayoutValueToOrdinal(const TPropInfo& prop, const TLayoutValue& value, std::int64_t& out);
std::string OrdinalToText(const TPropInfo& prop, std::int64_t value);
