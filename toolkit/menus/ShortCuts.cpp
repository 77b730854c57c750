#include "toolkit/menus/ShortCuts.h"

#include "toolkit/components/Properties.h"
#include "toolkit/windowing/WinUser.h"

#include <array>
#include <strings.h>

namespace {

constexpr LPARAM kAltDownBit = LPARAM{1} << 29;

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

// The names menus show for keys; a key that is not here has no text form.
std::string KeyName(WORD key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= VK_F1 && key <= VK_F24) {
        return "F" + std::to_string(key - VK_F1 + 1);
    }
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        return "Num " + std::to_string(key - VK_NUMPAD0);
    }
    switch (key) {
    case VK_BACK:
        return "BkSp";
    case VK_TAB:
        return "Tab";
    case VK_RETURN:
        return "Enter";
    case VK_ESCAPE:
        return "Esc";
    case VK_SPACE:
        return "Space";
    case VK_PRIOR:
        return "PgUp";
    case VK_NEXT:
        return "PgDn";
    case VK_END:
        return "End";
    case VK_HOME:
        return "Home";
    case VK_LEFT:
        return "Left";
    case VK_UP:
        return "Up";
    case VK_RIGHT:
        return "Right";
    case VK_DOWN:
        return "Down";
    case VK_INSERT:
        return "Ins";
    case VK_DELETE:
        return "Del";
    case VK_PAUSE:
        return "Pause";
    case VK_MULTIPLY:
        return "Num *";
    case VK_ADD:
        return "Num +";
    case VK_SUBTRACT:
        return "Num -";
    case VK_DECIMAL:
        return "Num .";
    case VK_DIVIDE:
        return "Num /";
    case VK_OEM_1:
        return ";";
    case VK_OEM_PLUS:
        return "=";
    case VK_OEM_COMMA:
        return ",";
    case VK_OEM_MINUS:
        return "-";
    case VK_OEM_PERIOD:
        return ".";
    case VK_OEM_2:
        return "/";
    case VK_OEM_3:
        return "`";
    case VK_OEM_4:
        return "[";
    case VK_OEM_5:
        return "\\";
    case VK_OEM_6:
        return "]";
    case VK_OEM_7:
        return "'";
    default:
        return {};
    }
}

struct TModifierName {
    TShortCut bit;
    std::string_view text;
};
constexpr std::array<TModifierName, 3> kModifierNames = {{
    {scShift, "Shift+"},
    {scCtrl, "Ctrl+"},
    {scAlt, "Alt+"},
}};

} // namespace

TShortCut ShortCutFromKeyMessage(const TWMKey& message) {
    TShortCut modifiers = 0;
    if (GetKeyState(VK_SHIFT) < 0) {
        modifiers |= scShift;
    }
    if (GetKeyState(VK_CONTROL) < 0) {
        modifiers |= scCtrl;
    }
    if (message.KeyData & kAltDownBit) {
        modifiers |= scAlt;
    }
    return ShortCut(message.CharCode, modifiers);
}

std::string ShortCutToText(TShortCut shortCut) {
    std::string name = KeyName(ShortCutKey(shortCut));
    if (name.empty()) {
        return {};
    }
    std::string text;
    for (const TModifierName& m : kModifierNames) {
        if (shortCut & m.bit) {
            text += m.text;
        }
    }
    return text + name;
}

TShortCut TextToShortCut(std::string_view text) {
    TShortCut modifiers = 0;
    // A prefix counts only when a key name follows it, so "Ctrl+" alone names nothing.
    for (bool found = true; found;) {
        found = false;
        for (const TModifierName& m : kModifierNames) {
            if (text.size() > m.text.size() && StartsWithText(text, m.text)) {
                modifiers |= m.bit;
                text.remove_prefix(m.text.size());
                found = true;
            }
        }
    }
    if (text.empty()) {
        return 0;
    }
    for (WORD key = 1; key <= 0xFF; ++key) {
        const std::string name = KeyName(key);
        if (!name.empty() && SameText(name, text)) {
            return ShortCut(key, modifiers);
        }
    }
    return 0;
}

void RegisterShortCutNames() {
    static const bool registered = [] {
        RegisterShortCutText(
            [](std::int64_t value) {
                if (value <= 0 || value > 0xFFFF) {
                    return value == 0 ? std::string() : std::to_string(value);
                }
                std::string text = ShortCutToText(static_cast<TShortCut>(value));
                // A key without a name keeps its number, so nothing is lost when written back.
                return text.empty() ? std::to_string(value) : text;
            },
            [](std::string_view text) -> std::optional<std::int64_t> {
                if (text.empty()) {
                    return 0;
                }
                const TShortCut value = TextToShortCut(text);
                if (value == 0) {
                    return std::nullopt;
                }
                return value;
            });
        return true;
    }();
    static_cast<void>(registered);
}
