#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A layout file as a tree of values, between its text and the components it describes. The
// parser builds it from text, the writer builds it from components, the printer turns it into
// text, and the reader creates components from it.

struct TLayoutProperty;

// One collection item: `item` ... `end` inside `< >`.
struct TLayoutItem {
    int line = 0;
    std::vector<TLayoutProperty> properties;
};

struct TLayoutValue {
    enum class TType {
        Integer,    // 12, -3, $1F
        Float,      // 1.5, -2.5E3
        String,     // 'text', 'it''s', #13#10, 'a' + 'b'
        Identifier, // True, clBtnFace, suiButton4Click, nil
        Set,        // [fsBold, fsItalic]
        List,       // ( 'a' 'b' ), any values
        Binary,     // { 0A1B }
        Collection, // < item ... end >
    };

    TType type = TType::Integer;
    int line = 0;
    std::int64_t integer = 0;
    double number = 0;
    std::string text;                 // String and Identifier
    std::vector<std::string> members; // Set
    std::vector<TLayoutValue> list;   // List
    std::vector<std::byte> bytes;     // Binary
    std::vector<TLayoutItem> items;   // Collection

    static TLayoutValue Int(std::int64_t v);
    static TLayoutValue Real(double v);
    static TLayoutValue Str(std::string v);
    static TLayoutValue Ident(std::string v);
};

// `Name = value`; the name may be a dotted path into sub-objects (`Font.Style`).
struct TLayoutProperty {
    int line = 0;
    std::string name;
    TLayoutValue value;
};

// `object Name: TClass` ... `end`.
struct TLayoutObject {
    int line = 0;
    std::string name; // may be empty
    std::string className;
    std::vector<TLayoutProperty> properties;
    std::vector<TLayoutObject> children;
};

// Defined here, where every type a value holds is complete.
inline TLayoutValue TLayoutValue::Int(std::int64_t v) {
    TLayoutValue r;
    r.type = TType::Integer;
    r.integer = v;
    return r;
}
inline TLayoutValue TLayoutValue::Real(double v) {
    TLayoutValue r;
    r.type = TType::Float;
    r.number = v;
    return r;
}
inline TLayoutValue TLayoutValue::Str(std::string v) {
    TLayoutValue r;
    r.type = TType::String;
    r.text = std::move(v);
    return r;
}
inline TLayoutValue TLayoutValue::Ident(std::string v) {
    TLayoutValue r;
    r.type = TType::Identifier;
    r.text = std::move(v);
    return r;
}
