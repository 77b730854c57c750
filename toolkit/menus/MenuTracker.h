#pragma once

#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/Types.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/windowing/WinTypes.h"

#include <functional>
#include <vector>

class TMenuItem;

// The menu loop: shows the items of a menu item as a popup menu window at a screen point and
// follows the user's pointer and keys through it and its submenus until the menu closes.
//
// The owner window hears of it as classic windows do: WM_ENTERMENULOOP (wParam TRUE) when the
// menu opens, WM_MENUSELECT whenever the highlighted item changes (wParam: the item's Command()
// and MF_ flags; 0xFFFF in the high word and 0 in the low word when the menu closes) and
// WM_EXITMENULOOP once every menu window has gone.
//
// One menu is open at a time. The loop dispatches every message it does not use itself (paint,
// timers, posted messages), so the rest of the program goes on while a menu is open; pointer and
// key input belongs to the menu. The chosen item's OnClick runs after every menu window has gone
// and the loop has ended.

// WM_MENUSELECT flags (high word of wParam; the low word is the item's Command()).
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_HILITE = 0x0080;
constexpr UINT MF_MOUSESELECT = 0x8000;

enum class TMenuBarDirection { Previous, Next };

enum class TMenuCloseReason {
    Chosen,          // an item was chosen
    Cancelled,       // EndMenu, Alt, lost capture or activation, WM_QUIT, the owner went away
    Escaped,         // Escape with only the first menu open
    ClickedOutside,  // a press outside every menu window; it goes on to the window it fell on
    ClickedExcluded, // a press inside the exclusion rectangle; consumed unless PassExcludedPress
    MovedPrevious,   // Left asked the bar to drop its previous item's menu
    MovedNext,       // Right asked the bar to drop its next item's menu
    PointerSwitched, // the pointer moved onto another bar item, which the bar drops instead
};

struct TTrackMenuParams {
    // Where the menu goes: the corner Alignment names lies at Position (screen coordinates).
    TPoint Position;
    TPopupAlignment Alignment = paLeft;
    // A screen rectangle the menu keeps clear of (the bar button that dropped it): when the menu
    // does not fit below it, it goes above. A press inside it closes the menu and is consumed,
    // so the button does not drop the menu again at once. Empty for none.
    TRect Exclude;
    // A press inside Exclude closes the menu and then goes on to the window under it, as a press
    // outside does; when it follows the press that came before the menu opened closely enough,
    // it arrives as a double click (a second click on a title bar's control box).
    bool PassExcludedPress = false;
    // The window the menu windows belong to; 0 for the active window.
    HWND Owner = 0;
    // Opened from the keyboard: the first item starts highlighted.
    bool SelectFirst = false;
    // Only report the chosen item (Chosen in the result) instead of clicking it.
    bool ReturnCommand = false;
    // Only the left button chooses items (otherwise the right one does too).
    bool LeftButtonOnly = false;
    // For a menu dropped from a bar. Left with only the first menu open, or Right on an item
    // without a submenu, asks the bar to move; answering true ends this menu (the bar then
    // drops its neighbour's).
    std::function<bool(TMenuBarDirection direction)> OnBarKey;
    // Pointer moves outside every menu window, at the screen point; answering true ends this
    // menu (the pointer is on another bar item, which the bar drops instead).
    std::function<bool(TPoint screen)> OnBarPointer;
};

struct TTrackMenuResult {
    TMenuCloseReason Reason = TMenuCloseReason::Cancelled;
    // With ReturnCommand: the chosen item, alive when TrackMenu returns. Otherwise none (the
    // item's click may already have freed it).
    TMenuItem* Chosen = nullptr;
};

// Shows root's visible items and runs the menu loop until the menu closes. Fires root's Click
// first and each submenu's item's Click before that submenu opens, as classic menus let
// handlers fill submenus late. Returns at once (Cancelled) when root has nothing to show, when
// another menu is open, or without a window system.
TTrackMenuResult TrackMenu(TMenuItem* root, const TTrackMenuParams& params);

// Whether a menu loop runs.
bool IsMenuActive();
// Closes the open menu (the loop ends with Cancelled); nothing when none is open.
void EndMenu();
// The open menu windows, the first menu first; empty when no menu is open.
std::vector<HWND> OpenMenuWindows();
// The screen rectangle of an item of the open menu; false when no open menu window shows it.
bool GetOpenMenuItemRect(const TMenuItem* item, TRect& screen);
// The menu window whose items are being painted on dc (the context handed to owner-draw
// handlers); 0 for any other context.
HWND MenuWindowFromDC(HDC dc);

// Where a popup menu of the given size goes (a pure rule, used by TrackMenu): the aligned
// corner at position, flipped to the other side of the point (or of the exclusion rectangle)
// when it does not fit on the screen, and kept on the screen.
TRect PlaceMenu(TSize size, TPoint position, TPopupAlignment alignment, const TRect& exclude,
                const TRect& screen);
// Where a submenu goes: to the right of its parent menu window, its first item level with the
// parent item; to the left when it does not fit, and kept on the screen.
TRect PlaceSubmenu(TSize size, const TRect& parentWindow, const TRect& parentItem, const TRect& screen);

// For TMenuItem: an item changed or is going away, so an open menu showing it must follow.
void MenuItemChanged(TMenuItem* item);
void MenuItemGone(TMenuItem* item);
