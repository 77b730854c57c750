#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class TObject;
class TPersistent;
class TComponent;
class TCollection;
class TPropInfo;
class TDataInfo;
class THandlerInfo;
class TFieldInfo;
template <typename T>
class TClassBuilder;

// What the program knows about one class at run time: its name, its parent, how to make an
// instance, and the properties it publishes. There is one per class, created the first time the
// class's StaticClassInfo() is asked for, and it lives as long as the program.
class TClassInfo {
public:
    using TFactory = TPersistent* (*)();
    using TComponentFactory = TPersistent* (*)(TComponent* owner);
    using TItemFactory = TPersistent* (*)(TCollection* collection);

    TClassInfo(std::string name, const TClassInfo* parent);
    ~TClassInfo();
    TClassInfo(const TClassInfo&) = delete;
    TClassInfo& operator=(const TClassInfo&) = delete;

    const std::string& Name() const { return m_name; }
    const TClassInfo* Parent() const { return m_parent; }

    // True for this class and every class derived from it.
    bool InheritsFrom(const TClassInfo& ancestor) const;
    // The same by class name, compared exactly (class names are case-sensitive).
    bool InheritsFrom(std::string_view ancestorName) const;

    // Creation, when the class can be instantiated the way the kind of object needs: components
    // by owner, collection items by collection, other persistent objects without arguments. Each
    // returns null when the class cannot be created that way (abstract, or no such constructor).
    bool CanCreateComponent() const { return m_componentFactory != nullptr; }
    TPersistent* CreateComponent(TComponent* owner) const;
    bool CanCreateItem() const { return m_itemFactory != nullptr; }
    TPersistent* CreateItem(TCollection* collection) const;
    bool CanCreate() const { return m_factory != nullptr; }
    TPersistent* Create() const;

    // Published properties: every ancestor's first (less the ones this class declares again),
    // then this class's own in the order it declares them.
    std::span<const TPropInfo* const> Properties() const { return m_published; }
    // A published property by name, compared without regard to letter case as layouts do.
    const TPropInfo* FindProperty(std::string_view name) const;
    // A property this class or an ancestor declared, published or not (so a subclass can
    // publish what its ancestor kept protected).
    const TPropInfo* FindDeclaredProperty(std::string_view name) const;

    // Custom data (see TDataInfo) of this class or an ancestor, by name, letter case ignored.
    const TDataInfo* FindData(std::string_view name) const;
    // Every custom data of the class, ancestors' first.
    std::vector<const TDataInfo*> AllData() const;
    // Handler methods and component fields a root class declares, its ancestors' included.
    const THandlerInfo* FindHandler(std::string_view name) const;
    const TFieldInfo* FindField(std::string_view name) const;
    // Every handler and component field, ancestors' first, each in declaration order.
    std::vector<const THandlerInfo*> AllHandlers() const;
    std::vector<const TFieldInfo*> AllFields() const;

    // Builds and registers the information of class T (see VARNEL_CLASS_INFO). The optional
    // describe(TClassBuilder<T>&) declares the published properties in order.
    template <typename T>
    static const TClassInfo& Define(const char* name);
    template <typename T, typename Describe>
    static const TClassInfo& Define(const char* name, Describe&& describe);

    // Used by TClassBuilder.
    void AddProperty(std::unique_ptr<TPropInfo> prop);
    void AddData(TDataInfo data);
    void AddHandler(THandlerInfo handler);
    void AddField(TFieldInfo field);

private:
    template <typename T>
    static TClassInfo& Prepare(const char* name);
    static TClassInfo& Register(std::unique_ptr<TClassInfo> info);
    void Finish();

    std::string m_name;
    const TClassInfo* m_parent; // null only for TObject
    TFactory m_factory = nullptr;
    TComponentFactory m_componentFactory = nullptr;
    TItemFactory m_itemFactory = nullptr;
    std::vector<std::unique_ptr<TPropInfo>> m_declared; // this class's own, in declaration order
    std::vector<const TPropInfo*> m_published;
    std::vector<std::unique_ptr<TDataInfo>> m_data;
    std::vector<std::unique_ptr<THandlerInfo>> m_handlers;
    std::vector<std::unique_ptr<TFieldInfo>> m_fields;
};

// The class registry: every class whose information has been built, by name. A layout names
// classes that the program may never have touched yet, so a module registers the classes it
// wants layouts to create (RegisterClasses<TsuiButton, TsuiForm>()), which builds their
// information.
const TClassInfo* FindClass(std::string_view name);
std::vector<const TClassInfo*> RegisteredClasses();

template <typename... T>
void RegisterClasses() {
    (static_cast<void>(T::StaticClassInfo()), ...);
}

// In the class body: declares the class's information. Parent is the direct base class.
#define VARNEL_CLASS(Class, Parent)                                                                          \
public:                                                                                                      \
    using inherited = Parent;                                                                                \
    static const TClassInfo& StaticClassInfo();                                                              \
    const TClassInfo& ClassInfo() const override {                                                           \
        return Class::StaticClassInfo();                                                                     \
    }                                                                                                        \
                                                                                                             \
private:

// In the class's .cpp: defines the class's information, optionally with a function that
// declares the published properties: VARNEL_CLASS_INFO(TFont, [](auto& c) { c.String(...); })
#define VARNEL_CLASS_INFO(Class, ...)                                                                        \
    const TClassInfo& Class::StaticClassInfo() {                                                             \
        static const TClassInfo& info = TClassInfo::Define<Class>(#Class __VA_OPT__(, ) __VA_ARGS__);        \
        return info;                                                                                         \
    }

template <typename T>
TClassInfo& TClassInfo::Prepare(const char* name) {
    using Parent = typename T::inherited;
    auto info = std::make_unique<TClassInfo>(name, &Parent::StaticClassInfo());
    if constexpr (!std::is_abstract_v<T> && std::is_base_of_v<TPersistent, T>) {
        if constexpr (std::is_constructible_v<T, TComponent*>) {
            info->m_componentFactory = [](TComponent* owner) -> TPersistent* { return new T(owner); };
        }
        if constexpr (std::is_constructible_v<T, TCollection*>) {
            info->m_itemFactory = [](TCollection* collection) -> TPersistent* { return new T(collection); };
        }
        if constexpr (std::is_default_constructible_v<T>) {
            info->m_factory = []() -> TPersistent* { return new T(); };
        }
    }
    return Register(std::move(info));
}

template <typename T>
const TClassInfo& TClassInfo::Define(const char* name) {
    TClassInfo& info = Prepare<T>(name);
    info.Finish();
    return info;
}

template <typename T, typename Describe>
const TClassInfo& TClassInfo::Define(const char* name, Describe&& describe) {
    TClassInfo& info = Prepare<T>(name);
    TClassBuilder<T> builder(info);
    describe(builder);
    info.Finish();
    return info;
}
