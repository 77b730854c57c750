#include "toolkit/menus/Hotkeys.h"

#include "toolkit/graphics/FontEngine.h"

#include <cwctype>

namespace {

char32_t FoldCase(char32_t c) {
    // Access keys are letters and digits; towlower knows the letters of every script the C
    // library does and leaves everything else alone.
    return static_cast<char32_t>(std::towlower(static_cast<wint_t>(c)));
}

} // namespace

char32_t GetHotkey(std::string_view caption) {
    // Byte by byte is safe: "&" never occurs inside a UTF-8 sequence of another character.
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') {
            continue;
        }
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        char32_t c = 0;
        DecodeUtf8(caption, i + 1, c);
        return c;
    }
    return 0;
}

bool SameHotkey(char32_t a, char32_t b) {
    return FoldCase(a) == FoldCase(b);
}

bool IsAccel(char32_t ch, std::string_view caption) {
    return ch != 0 && SameHotkey(GetHotkey(caption), ch);
}

std::string StripHotkey(std::string_view caption) {
    std::string out;
    out.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}
