#include "tests/support/TestWindows.h"

#include <algorithm>
#include <map>

TTestWindows* TTestWindows::s_current = nullptr;

TTestWindows::TTestWindows() {
    s_current = this;
    WNDCLASS wc;
    wc.lpfnWndProc = &TTestWindows::Proc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = clWhite;
    wc.lpszClassName = kClass;
    RegisterClass(&wc);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = kDoubleClickClass;
    RegisterClass(&wc);
}

TTestWindows::~TTestWindows() {
    if (s_current == this) {
        s_current = nullptr;
    }
}

HWND TTestWindows::Create(HWND parent, const RECT& bounds, DWORD style, DWORD exStyle, const char* className,
                          const char* text) {
    return CreateWindowEx(exStyle, className, text, style, bounds.Left, bounds.Top, bounds.Width(),
                          bounds.Height(), parent, 0, nullptr);
}

LRESULT TTestWindows::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TTestWindows* self = s_current;
    if (!self) {
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    self->m_log.push_back({hwnd, message, wParam, lParam});
    auto it = self->m_handlers.find(hwnd);
    if (it != self->m_handlers.end()) {
        // Copied: the handler may replace itself.
        THandler handler = it->second;
        if (std::optional<LRESULT> answer = handler(hwnd, message, wParam, lParam)) {
            return *answer;
        }
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

std::vector<UINT> TTestWindows::Messages(HWND hwnd, const std::vector<UINT>& wanted) const {
    std::vector<UINT> out;
    for (const TLoggedMessage& m : m_log) {
        if ((hwnd == 0 || m.Window == hwnd) &&
            (wanted.empty() || std::find(wanted.begin(), wanted.end(), m.Message) != wanted.end())) {
            out.push_back(m.Message);
        }
    }
    return out;
}

std::vector<TLoggedMessage> TTestWindows::Find(UINT message, HWND hwnd) const {
    std::vector<TLoggedMessage> out;
    for (const TLoggedMessage& m : m_log) {
        if (m.Message == message && (hwnd == 0 || m.Window == hwnd)) {
            out.push_back(m);
        }
    }
    return out;
}

std::string MessageName(UINT message) {
    static const std::map<UINT, const char*> names = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_QUIT, "WM_QUIT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_CONTEXTMENU, "WM_CONTEXTMENU"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCHITTEST, "WM_NCHITTEST"},
        {WM_NCPAINT, "WM_NCPAINT"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE"},
        {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
        {WM_NCLBUTTONUP, "WM_NCLBUTTONUP"},
        {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_SYSCHAR, "WM_SYSCHAR"},
        {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
        {WM_TIMER, "WM_TIMER"},
        {WM_HSCROLL, "WM_HSCROLL"},
        {WM_VSCROLL, "WM_VSCROLL"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
        {WM_RBUTTONUP, "WM_RBUTTONUP"},
        {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
        {WM_SIZING, "WM_SIZING"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_MOVING, "WM_MOVING"},
        {WM_ENTERSIZEMOVE, "WM_ENTERSIZEMOVE"},
        {WM_EXITSIZEMOVE, "WM_EXITSIZEMOVE"},
        {WM_MOUSEHOVER, "WM_MOUSEHOVER"},
        {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
        {WM_NCMOUSELEAVE, "WM_NCMOUSELEAVE"},
        {WM_STYLECHANGING, "WM_STYLECHANGING"},
        {WM_STYLECHANGED, "WM_STYLECHANGED"},
    };
    auto it = names.find(message);
    if (it != names.end()) {
        return it->second;
    }
    if (message >= WM_USER && message < WM_APP) {
        return "WM_USER+" + std::to_string(message - WM_USER);
    }
    return "message " + std::to_string(message);
}

std::vector<std::string> MessageNames(const std::vector<UINT>& messages) {
    std::vector<std::string> names;
    for (UINT m : messages) {
        names.push_back(MessageName(m));
    }
    return names;
}
