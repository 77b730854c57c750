#pragma once

#include "toolkit/components/ClassInfo.h"

#include <string>
#include <string_view>

// The kinds of published property, which decide how a value is written as text and stored.
enum class TPropKind {
    Integer,
    Boolean,
    Enumeration,
    Set,
    String,
    Float,
    Color,
    Cursor,
    ShortCut,
    Class,
    Component,
    Event,
};

// One property a class declares: its name and kind, how to read and write it on an instance,
// and whether and when a layout stores it.
class TPropInfo {
public:
    TPropInfo(std::string name, TPropKind kind) : m_name(std::move(name)), m_kind(kind) {}
    virtual ~TPropInfo() = default;

    const std::string& Name() const { return m_name; }
    TPropKind Kind() const { return m_kind; }
    // A property declared but not published is invisible to layouts and HasProperty until a
    // subclass publishes it.
    bool IsPublished() const { return m_published; }
    void SetPublished(bool value) { m_published = value; }

private:
    std::string m_name;
    TPropKind m_kind;
    bool m_published = true;
};

// Declares the properties of class T, in order, inside VARNEL_CLASS_INFO.
template <typename T>
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : m_info(info) {}

private:
    TClassInfo& m_info;
};
