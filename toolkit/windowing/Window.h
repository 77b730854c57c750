#pragma once

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Region.h"
#include "toolkit/windowing/WinTypes.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The window system's own records. Code outside toolkit/windowing holds HWNDs, never these.

struct TWindowClass {
    std::string Name;
    UINT Style = 0; // CS_...
    WNDPROC Proc = nullptr;
    HCURSOR Cursor = 0;
    // What WM_ERASEBKGND fills the client area with by default; clNone leaves it untouched.
    TColor Background = clNone;
};

// The state of one native scroll bar of a window.
struct TScrollBarState {
    int Min = 0;
    int Max = 100;
    UINT Page = 0;
    int Pos = 0;
    int TrackPos = 0;
    UINT DisabledArrows = 0; // ESB_DISABLE_... bits
    // Kept visible but disabled when the range leaves nothing to scroll (SIF_DISABLENOSCROLL).
    bool DisableNoScroll = false;
};

enum class TShowState : std::uint8_t { Normal, Minimized, Maximized };

struct TWindow {
    HWND Handle = 0;
    std::shared_ptr<const TWindowClass> Class;
    WNDPROC Proc = nullptr;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    LONG_PTR UserData = 0;
    LONG_PTR Id = 0;
    HWND Parent = 0; // 0 for top-level and message-only windows
    HWND Owner = 0;  // top-level windows only
    bool MessageOnly = false;
    std::vector<HWND> Children; // z-order, topmost first

    RECT Rect;   // the window rectangle in the parent's client coordinates (screen for top-levels)
    RECT Client; // the client rectangle in window coordinates (relative to Rect's top-left)
    std::string Text;
    std::vector<std::pair<std::string, void*>> Props;

    TShowState State = TShowState::Normal;
    RECT NormalRect;                 // where SW_RESTORE puts a minimised or maximised window
    bool RestoreToMaximized = false; // a minimised window that was maximised before

    TScrollBarState HScroll;
    TScrollBarState VScroll;

    // Painting. Update is in window coordinates (non-client area included).
    TRegion Update;
    bool EraseNeeded = false;   // WM_ERASEBKGND is due at the next BeginPaint
    bool FrameNeeded = false;   // WM_NCPAINT is due
    bool InternalPaint = false; // WM_PAINT is due even with an empty update region
    unsigned BeginPaintCount = 0;
    std::optional<TRegion> Shape; // the window region (SetWindowRgn), window coordinates

    bool Created = false;    // WM_NCCREATE has been answered
    bool Destroying = false; // DestroyWindow has started; no new timers, focus or capture
};
