#pragma once

#include "toolkit/windowing/WinTypes.h"

#include <cstdint>
#include <string>
#include <string_view>

// Keyboard short-cuts of menu items: a virtual key in the low byte and modifier bits above it,
// the classic encoding that layouts store as a plain integer ("ShortCut = 16472" is Ctrl+X).

using TShortCut = std::uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut kShortCutModifiers = scShift | scCtrl | scAlt;

// A key message as menus read it: the virtual key and the key data of WM_KEYDOWN or
// WM_SYSKEYDOWN (bit 29 says Alt was down).
struct TWMKey {
    UINT Msg = 0;
    WORD CharCode = 0;
    LPARAM KeyData = 0;
    LRESULT Result = 0;
};

// key: a virtual key (only its low byte counts); modifiers: any of scShift, scCtrl, scAlt.
constexpr TShortCut ShortCut(WORD key, TShortCut modifiers) {
    return static_cast<TShortCut>((key & 0xFF) | (modifiers & kShortCutModifiers));
}
constexpr WORD ShortCutKey(TShortCut shortCut) {
    return static_cast<WORD>(shortCut & 0xFF);
}
constexpr TShortCut ShortCutModifiers(TShortCut shortCut) {
    return static_cast<TShortCut>(shortCut & kShortCutModifiers);
}

// The short-cut a key message stands for: its key, Shift and Ctrl as they are held now, Alt
// from the key data.
TShortCut ShortCutFromKeyMessage(const TWMKey& message);

// "Ctrl+X", "Shift+Ctrl+F1", "Alt+BkSp": the modifiers in the order Shift, Ctrl, Alt, then the
// key's name. Empty for no short-cut and for a key without a name.
std::string ShortCutToText(TShortCut shortCut);
// The reverse, modifiers in any order and letter case ignored; 0 when the text names no key.
TShortCut TextToShortCut(std::string_view text);

// Lets layouts and property access by name read and write short-cuts as text. Idempotent.
void RegisterShortCutNames();
