#pragma once

#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/GdiObjects.h"
#include "toolkit/graphics/Types.h"

#include <cstdint>

// The scalar types and packing helpers of the classic window-message API. Rectangles and points
// are the toolkit's own TRect and TPoint (right and bottom exclusive), under their classic names
// too, so code written against the classic API reads as it always has.

using BOOL = int;
constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using SHORT = std::int16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ATOM = WORD;
using RECT = TRect;
using POINT = TPoint;
using SIZE = TSize;

// A window handle is an id looked up in the window table, never a pointer: a handle of a window
// that has been destroyed finds nothing, so a message to it is dropped instead of reaching freed
// memory. 0 is "no window". Ids are never reused while the program runs.
using HWND = std::uint32_t;

// A cursor handle is the number of one of the system's cursor shapes (IDC_ARROW, IDC_HAND ...),
// 0 for none.
using HCURSOR = std::intptr_t;

using WNDPROC = LRESULT (*)(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
using TIMERPROC = void (*)(HWND hwnd, UINT message, UINT_PTR idEvent, DWORD time);

struct MSG {
    HWND hwnd = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0; // milliseconds on the toolkit's clock
    POINT pt;       // pointer position on the screen when the message was made
};

constexpr WORD LOWORD(std::uintptr_t v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr DWORD MAKELONG(WORD low, WORD high) {
    return static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
}
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
    return MAKELONG(low, high);
}
// Packs two signed 16-bit values (coordinates) as the classic API does: the result is a
// sign-extended 32-bit value, so it round-trips through GET_X_LPARAM/GET_Y_LPARAM.
constexpr LPARAM MAKELPARAM(int low, int high) {
    return static_cast<LPARAM>(
        static_cast<std::int32_t>(MAKELONG(static_cast<WORD>(low), static_cast<WORD>(high))));
}
constexpr int GET_X_LPARAM(LPARAM v) {
    return static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(v)));
}
constexpr int GET_Y_LPARAM(LPARAM v) {
    return static_cast<SHORT>(HIWORD(static_cast<std::uintptr_t>(v)));
}
constexpr LPARAM PointToLParam(POINT p) {
    return MAKELPARAM(p.X, p.Y);
}
constexpr POINT LParamToPoint(LPARAM v) {
    return {GET_X_LPARAM(v), GET_Y_LPARAM(v)};
}
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM v) {
    return static_cast<SHORT>(HIWORD(v));
}
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM v) {
    return LOWORD(v);
}

// Structures carried by messages, with their classic field names.

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HWND hwndParent = 0;
    LONG_PTR hMenu = 0; // a child's id
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    DWORD style = 0;
    const char* lpszName = nullptr;
    const char* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

struct WINDOWPOS {
    HWND hwnd = 0;
    HWND hwndInsertAfter = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
};

// rgrc[0]: on entry the proposed window rectangle (in the parent's client coordinates), on exit
// the client rectangle in the same coordinates. rgrc[1] and rgrc[2] carry the old window and
// client rectangles when wParam is TRUE.
struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos = nullptr;
};

struct STYLESTRUCT {
    DWORD styleOld = 0;
    DWORD styleNew = 0;
};

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    HWND hwndTrack = 0;
    DWORD dwHoverTime = 0;
};

// 28 bytes, as the classic record.
struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
static_assert(sizeof(SCROLLINFO) == 28);

// The scroll bar's rectangle in screen coordinates; thumb positions in pixels from the bar's top
// (or left) edge, arrow buttons included. rgstate: the bar, the first arrow, the first page
// area, the thumb, the second page area, the second arrow. Classically rcScrollBar is a plain
// four-LONG RECT; TRect has the same layout, so the record stays 60 bytes.
struct SCROLLBARINFO {
    DWORD cbSize = sizeof(SCROLLBARINFO);
    RECT rcScrollBar;
    int dxyLineButton = 0;
    int xyThumbTop = 0;
    int xyThumbBottom = 0;
    int reserved = 0;
    DWORD rgstate[6] = {};
};
static_assert(sizeof(SCROLLBARINFO) == 60);

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE; // TRUE when WM_ERASEBKGND did not erase and the painter should
    RECT rcPaint;        // bounds of what needs painting, client coordinates
};

struct WINDOWPLACEMENT {
    UINT length = sizeof(WINDOWPLACEMENT);
    UINT flags = 0;
    UINT showCmd = 0;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};

// SPI_GETNONCLIENTMETRICS: 340 bytes, as the classic record with 32-byte face names.
struct NONCLIENTMETRICS {
    UINT cbSize = sizeof(NONCLIENTMETRICS);
    int iBorderWidth = 0;
    int iScrollWidth = 0;
    int iScrollHeight = 0;
    int iCaptionWidth = 0;
    int iCaptionHeight = 0;
    LOGFONT lfCaptionFont;
    int iSmCaptionWidth = 0;
    int iSmCaptionHeight = 0;
    LOGFONT lfSmCaptionFont;
    int iMenuWidth = 0;
    int iMenuHeight = 0;
    LOGFONT lfMenuFont;
    LOGFONT lfStatusFont;
    LOGFONT lfMessageFont;
};
static_assert(sizeof(LOGFONT) == 60);
static_assert(sizeof(NONCLIENTMETRICS) == 340);
