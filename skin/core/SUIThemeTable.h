#pragma once

// The built-in table behind SUIThemes: for each element its key, its kind and one value per
// built-in look. Private to skin/core.

#include "skin/core/SUIThemes.h"

#include <cstdint>
#include <string_view>

struct TsuiThemeTableCell {
    constexpr TsuiThemeTableCell(std::int32_t value, std::string_view resource = {})
        : Value(value), Resource(resource) {}
    std::int32_t Value;
    std::string_view Resource; // bitmap cells only
};

struct TsuiThemeTableRow {
    std::string_view Key;
    TsuiThemeValueKind Kind;
    TsuiThemeTableCell Looks[5]; // MacOS, WinXP, DeepBlue, Protein, BlueGlass
};

// The row of an element; null outside 1 to 42.
const TsuiThemeTableRow* ThemeTableRow(TsuiThemeElement element);
