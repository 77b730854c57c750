#pragma once

// The vocabulary of the control layer: alignment, anchors, control style and state flags, shift
// states of mouse messages, cursors, modal results, the component messages (CM_...) and the key
// messages the application reflects to controls (CN_...), the message record handlers receive and
// event types. Shift states, short-cuts and access keys come from the menus layer below, which
// needs them too.

#include "toolkit/components/Properties.h"
#include "toolkit/components/Set.h"
#include "toolkit/menus/Hotkeys.h"
#include "toolkit/menus/ShortCuts.h"
#include "toolkit/windowing/Backend.h"
#include "toolkit/windowing/Messages.h"
#include "toolkit/windowing/WinTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TObject;

// ---- Alignment and anchors -----------------------------------------------------------------------

enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
inline constexpr std::string_view kAlignNames[] = {"alNone",  "alTop",    "alBottom", "alLeft",
                                                   "alRight", "alClient", "alCustom"};
inline constexpr TEnumInfo AlignInfo{"TAlign", kAlignNames};

enum TAnchorKind : std::uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
inline constexpr std::string_view kAnchorNames[] = {"akLeft", "akTop", "akRight", "akBottom"};
inline constexpr TEnumInfo AnchorKindInfo{"TAnchorKind", kAnchorNames};
inline constexpr TAnchors kDefaultAnchors{akLeft, akTop};

// The edges an alignment binds a control to.
constexpr TAnchors AnchorAlign(TAlign align) {
    switch (align) {
    case alTop:
        return {akLeft, akTop, akRight};
    case alBottom:
        return {akLeft, akRight, akBottom};
    case alLeft:
        return {akLeft, akTop, akBottom};
    case alRight:
        return {akRight, akTop, akBottom};
    case alClient:
        return {akLeft, akTop, akRight, akBottom};
    default:
        return kDefaultAnchors;
    }
}

enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
inline constexpr std::string_view kAlignmentNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};
inline constexpr TEnumInfo AlignmentInfo{"TAlignment", kAlignmentNames};

enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };
inline constexpr std::string_view kTextLayoutNames[] = {"tlTop", "tlCenter", "tlBottom"};
inline constexpr TEnumInfo TextLayoutInfo{"TTextLayout", kTextLayoutNames};

// The state of a check box; cbGrayed stands for "neither", which a two-state box shows unchecked.
enum TCheckBoxState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };
inline constexpr std::string_view kCheckBoxStateNames[] = {"cbUnchecked", "cbChecked", "cbGrayed"};
inline constexpr TEnumInfo CheckBoxStateInfo{"TCheckBoxState", kCheckBoxStateNames};

// Where a button's glyph stands relative to its caption.
enum TButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
inline constexpr std::string_view kButtonLayoutNames[] = {"blGlyphLeft", "blGlyphRight", "blGlyphTop",
                                                          "blGlyphBottom"};
inline constexpr TEnumInfo ButtonLayoutInfo{"TButtonLayout", kButtonLayoutNames};

// Kept for layouts that store it; the program draws left to right only.
enum TBiDiMode : std::uint8_t {
    bdLeftToRight,
    bdRightToLeft,
    bdRightToLeftNoAlign,
    bdRightToLeftReadingOnly
};
inline constexpr std::string_view kBiDiModeNames[] = {"bdLeftToRight", "bdRightToLeft",
                                                      "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"};
inline constexpr TEnumInfo BiDiModeInfo{"TBiDiMode", kBiDiModeNames};

// A form's border; panels use only the first two values (their BorderStyle).
enum TFormBorderStyle : std::uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;
inline constexpr std::string_view kFormBorderStyleNames[] = {"bsNone",   "bsSingle",     "bsSizeable",
                                                             "bsDialog", "bsToolWindow", "bsSizeToolWin"};
inline constexpr TEnumInfo FormBorderStyleInfo{"TFormBorderStyle", kFormBorderStyleNames};
inline constexpr TEnumInfo BorderStyleInfo{"TBorderStyle", std::span(kFormBorderStyleNames, 2)};

// ---- Control style and state ------------------------------------------------------------------------

enum TControlStyleItem : std::uint8_t {
    csAcceptsControls, // other controls may be placed on it
    csCaptureMouse,    // captures the mouse while a button is held on it
    csDesignInteractive,
    csClickEvents,  // a press and release on it is a click
    csFramed,       // its parent draws a sunken frame around it
    csSetCaption,   // renaming it renames its caption while they are equal
    csOpaque,       // it covers its whole area, so nothing behind it is painted
    csDoubleClicks, // two quick presses are a double click (else two presses)
    csFixedWidth,
    csFixedHeight,
    csNoDesignVisible,
    csReplicatable,
    csNoStdEvents, // mouse and key events are not raised
    csDisplayDragImage,
    csReflector,
    csActionClient, // linked to an action
    csMenuEvents,
    csNeedsBorderPaint,
    csParentBackground,
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem : std::uint8_t {
    csLButtonDown,
    csClicked, // pressed with the left button; a release inside clicks
    csPalette,
    csReadingState,
    csAlignmentNeeded, // an alignment was asked for while alignment was held off
    csFocusing,        // focus messages are being sent to it
    csCreating,        // its window is being created
    csPaintCopy,
    csCustomPaint,
    csDestroyingHandle,
    csDocking,
};
using TControlState = TSet<TControlStateItem>;

// ---- Keys and mouse -----------------------------------------------------------------------------------

// The window system's pointer buttons under their classic names.
inline constexpr TMouseButton mbLeft = TMouseButton::Left;
inline constexpr TMouseButton mbRight = TMouseButton::Right;
inline constexpr TMouseButton mbMiddle = TMouseButton::Middle;

// TShiftState and KeyDataToShiftState come with the short-cuts of the menus layer.
// The state of the modifier keys and mouse buttons in a mouse message's key flags.
TShiftState KeysToShiftState(WPARAM keys);
// The modifier keys held now.
TShiftState KeyboardStateToShiftState();

// IsAccel and StripHotkey come with the access keys of the menus layer (toolkit/menus/Hotkeys.h).

// ---- Cursors --------------------------------------------------------------------------------------------

using TCursor = std::int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = crSizeAll;

// The window system's cursor for a cursor value; 0 (no cursor) for crNone, the arrow for values
// it does not know.
HCURSOR CursorHandle(TCursor cursor);

// ---- Modal results ---------------------------------------------------------------------------------------

using TModalResult = std::int32_t;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

// ---- Dialog codes (WM_GETDLGCODE) -------------------------------------------------------------------------

constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// ---- Component messages
// ------------------------------------------------------------------------------------ Sent by the control
// layer to controls (Perform) to tell them of changes. Unless noted, wParam and lParam are 0 and the result
// is ignored.

constexpr UINT CM_ACTIVATE = CM_BASE + 0;     // a form became the focused form
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;   // a form stopped being the focused form
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;    // wParam: virtual key, lParam: key data; result 1 when used
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;   // wParam: character, lParam: key data; result 1 when used
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7; // lParam: the TWinControl* that has the focus now
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10; // lParam: client point; result nonzero when the point is on it
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11; // wParam: the new visibility
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30; // wParam: virtual key; result nonzero to keep it
constexpr UINT CM_RELEASE = CM_BASE + 33;        // posted to a form that frees itself
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr UINT CM_CHILDKEY =
    CM_BASE + 46; // wParam: virtual key, lParam: TWinControl* focused; result 1 eats it
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
// wParam: TControl* inserted or removed, lParam: 1 inserted, 0 removed.
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;

// Key messages the application reflects to the focused control before they are dispatched, so that
// dialog keys and accelerators are handled first: CN_KEYDOWN is WM_KEYDOWN moved up by CN_BASE. A
// nonzero result means the key was used and is not dispatched.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSKEYUP = CN_BASE + WM_SYSKEYUP;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// One message as a control's handlers receive it. Handlers decode WParam and LParam and set Result.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// ---- Events
// ----------------------------------------------------------------------------------------------------

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
// The character is a code point; setting it to 0 swallows it.
using TKeyPressEvent = std::function<void(TObject* sender, char32_t& key)>;
using TContextPopupEvent = std::function<void(TObject* sender, TPoint mousePos, bool& handled)>;
using TCanResizeEvent = std::function<void(TObject* sender, int& newWidth, int& newHeight, bool& resize)>;

// Registers the cursor names (crDefault ... crSizeAll) as the identifiers of "TCursor" and the colour
// names of the graphics layer. Every control class does it before its first use; calling it again
// changes nothing.
void RegisterControlIdents();
