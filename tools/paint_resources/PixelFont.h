#pragma once

// A 5 × 7 pixel font for the labels of the contact sheet: upper-case letters, digits and the few
// signs that resource names and sizes use. Lower-case letters are drawn as upper-case.

#include <array>
#include <cstdint>
#include <string_view>

inline constexpr int kPixelGlyphWidth = 5;
inline constexpr int kPixelGlyphHeight = 7;
inline constexpr int kPixelGlyphAdvance = 6;

// Seven rows, the top first; bit 4 of a row is the left column. Unknown characters are blank.
std::array<std::uint8_t, kPixelGlyphHeight> PixelGlyph(char c);

inline int PixelTextWidth(std::string_view text) {
    return text.empty() ? 0 : static_cast<int>(text.size()) * kPixelGlyphAdvance - 1;
}
