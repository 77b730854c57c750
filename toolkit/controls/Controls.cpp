#include "toolkit/controls/Controls.h"

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/windowing/WinUser.h"

#include <cwctype>

namespace {

constexpr bool Held(SHORT state) {
    return (state & 0x8000) != 0;
}

char32_t FoldCase(char32_t c) {
    // The access keys of captions are letters and digits; towlower knows the letters of every
    // script the C library does, and leaves the rest alone.
    return static_cast<char32_t>(std::towlower(static_cast<wint_t>(c)));
}

} // namespace

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState shift;
    if (Held(GetKeyState(VK_SHIFT))) {
        shift.Include(ssShift);
    }
    if (Held(GetKeyState(VK_CONTROL))) {
        shift.Include(ssCtrl);
    }
    // Bit 29 of the key data: Alt was held when the key message was made.
    if ((static_cast<std::uintptr_t>(keyData) & (1u << 29)) != 0) {
        shift.Include(ssAlt);
    }
    return shift;
}

TShiftState KeysToShiftState(WPARAM keys) {
    TShiftState shift;
    if (keys & MK_SHIFT) {
        shift.Include(ssShift);
    }
    if (keys & MK_CONTROL) {
        shift.Include(ssCtrl);
    }
    if (keys & MK_LBUTTON) {
        shift.Include(ssLeft);
    }
    if (keys & MK_RBUTTON) {
        shift.Include(ssRight);
    }
    if (keys & MK_MBUTTON) {
        shift.Include(ssMiddle);
    }
    if (Held(GetKeyState(VK_MENU))) {
        shift.Include(ssAlt);
    }
    return shift;
}

TShiftState KeyboardStateToShiftState() {
    TShiftState shift;
    if (Held(GetKeyState(VK_SHIFT))) {
        shift.Include(ssShift);
    }
    if (Held(GetKeyState(VK_CONTROL))) {
        shift.Include(ssCtrl);
    }
    if (Held(GetKeyState(VK_MENU))) {
        shift.Include(ssAlt);
    }
    if (Held(GetKeyState(VK_LBUTTON))) {
        shift.Include(ssLeft);
    }
    if (Held(GetKeyState(VK_RBUTTON))) {
        shift.Include(ssRight);
    }
    if (Held(GetKeyState(VK_MBUTTON))) {
        shift.Include(ssMiddle);
    }
    return shift;
}

bool IsAccel(char32_t ch, std::string_view caption) {
    if (ch == 0) {
        return false;
    }
    std::size_t i = 0;
    while (i < caption.size()) {
        char32_t c = 0;
        i = DecodeUtf8(caption, i, c);
        if (c != U'&' || i >= caption.size()) {
            continue;
        }
        char32_t next = 0;
        const std::size_t after = DecodeUtf8(caption, i, next);
        if (next == U'&') {
            // "&&" is a literal ampersand, not a mark.
            i = after;
            continue;
        }
        return FoldCase(next) == FoldCase(ch);
    }
    return false;
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

HCURSOR CursorHandle(TCursor cursor) {
    int id = IDC_ARROW;
    switch (cursor) {
    case crNone:
        return 0;
    case crCross:
        id = IDC_CROSS;
        break;
    case crIBeam:
        id = IDC_IBEAM;
        break;
    case crSizeNESW:
        id = IDC_SIZENESW;
        break;
    case crSizeNS:
    case crVSplit:
        id = IDC_SIZENS;
        break;
    case crSizeNWSE:
        id = IDC_SIZENWSE;
        break;
    case crSizeWE:
    case crHSplit:
        id = IDC_SIZEWE;
        break;
    case crUpArrow:
        id = IDC_UPARROW;
        break;
    case crHourGlass:
    case crSQLWait:
        id = IDC_WAIT;
        break;
    case crNo:
    case crNoDrop:
        id = IDC_NO;
        break;
    case crAppStart:
        id = IDC_APPSTARTING;
        break;
    case crHelp:
        id = IDC_HELP;
        break;
    case crHandPoint:
        id = IDC_HAND;
        break;
    case crSizeAll:
        id = IDC_SIZEALL;
        break;
    default:
        id = IDC_ARROW;
        break;
    }
    return LoadCursor(nullptr, id);
}

void RegisterControlIdents() {
    static const bool registered = [] {
        static constexpr TIdentMapEntry cursors[] = {
            {crDefault, "crDefault"},     {crNone, "crNone"},           {crArrow, "crArrow"},
            {crCross, "crCross"},         {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},
            {crSizeNS, "crSizeNS"},       {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},
            {crUpArrow, "crUpArrow"},     {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},
            {crNoDrop, "crNoDrop"},       {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},
            {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},     {crNo, "crNo"},
            {crAppStart, "crAppStart"},   {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"},
            {crSizeAll, "crSizeAll"},     {crSize, "crSize"},
        };
        RegisterIdents("TCursor", cursors);
        RegisterColorIdents();
        return true;
    }();
    static_cast<void>(registered);
}
