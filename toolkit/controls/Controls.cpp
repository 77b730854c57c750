#include "toolkit/controls/Controls.h"

#include "toolkit/graphics/Color.h"
#include "toolkit/windowing/WinUser.h"

namespace {

constexpr bool Held(SHORT state) {
    return (state & 0x8000) != 0;
}

} // namespace

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
