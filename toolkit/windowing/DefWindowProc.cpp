#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>
#include <cstring>

// The classic default handling. Children pass what they do not handle (cursor, activation by
// mouse, wheel, context menu) to their parent; non-client presses start the move and size loops
// and operate the native scroll bars.

LRESULT TWindowSystem::DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return 0;
    }
    switch (message) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        if (cs && cs->lpszName) {
            w->Text = cs->lpszName;
        }
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
        if (params) {
            params->rgrc[0] = DefaultClientRect(hwnd, params->rgrc[0]);
        }
        return 0;
    }
    case WM_NCHITTEST:
        return DefaultHitTest(hwnd, LParamToPoint(lParam));
    case WM_NCPAINT:
        PaintNonClient(hwnd);
        return 0;
    case WM_NCACTIVATE:
        return TRUE;
    case WM_PAINT:
        DefaultPaint(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return EraseWithClassBackground(hwnd, wParam);
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        SetWindowText(hwnd, text ? text : "");
        return TRUE;
    }
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(lParam);
        if (!buffer || wParam == 0) {
            return 0;
        }
        const std::size_t n = std::min<std::size_t>(w->Text.size(), wParam - 1);
        std::memcpy(buffer, w->Text.data(), n);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->Text.size());
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SYSCOMMAND:
        return DefSysCommand(hwnd, wParam, lParam);
    case WM_NCLBUTTONDOWN: {
        const int hit = static_cast<int>(static_cast<std::intptr_t>(wParam));
        if (hit == HTCAPTION) {
            Send(hwnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, lParam);
        } else if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) {
            Send(hwnd, WM_SYSCOMMAND, SC_SIZE | static_cast<WPARAM>(hit - HTLEFT + WMSZ_LEFT), lParam);
        } else if (hit == HTVSCROLL || hit == HTHSCROLL) {
            TrackScrollBar(hwnd, hit == HTVSCROLL ? SB_VERT : SB_HORZ, LParamToPoint(lParam));
        }
        return 0;
    }
    case WM_NCLBUTTONDBLCLK: {
        const int hit = static_cast<int>(static_cast<std::intptr_t>(wParam));
        if (hit == HTCAPTION && (w->Style & WS_MAXIMIZEBOX)) {
            Send(hwnd, WM_SYSCOMMAND, IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, lParam);
        } else if (hit == HTVSCROLL || hit == HTHSCROLL) {
            // A quick second press on a scroll bar is just another press.
            TrackScrollBar(hwnd, hit == HTVSCROLL ? SB_VERT : SB_HORZ, LParamToPoint(lParam));
        }
        return 0;
    }
    case WM_RBUTTONUP: {
        const POINT origin = ClientOrigin(hwnd);
        const POINT p = LParamToPoint(lParam);
        Send(hwnd, WM_CONTEXTMENU, hwnd, MAKELPARAM(p.X + origin.X, p.Y + origin.Y));
        return 0;
    }
    case WM_NCRBUTTONUP:
        Send(hwnd, WM_CONTEXTMENU, hwnd, lParam);
        return 0;
    case WM_CONTEXTMENU:
    case WM_MOUSEWHEEL:
        if (w->Parent) {
            return Send(w->Parent, message, wParam, lParam);
        }
        return 0;
    case WM_SETCURSOR:
        return DefSetCursor(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE:
        if (w->Parent) {
            if (LRESULT answer = Send(w->Parent, WM_MOUSEACTIVATE, wParam, lParam)) {
                return answer;
            }
        }
        return (w->ExStyle & WS_EX_NOACTIVATE) ? MA_NOACTIVATE : MA_ACTIVATE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0) {
            SetFocus(hwnd);
        }
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
        if (!wp) {
            return 0;
        }
        if (!(wp->flags & SWP_NOCLIENTMOVE)) {
            Send(hwnd, WM_MOVE, 0, MAKELPARAM(w->Rect.Left + w->Client.Left, w->Rect.Top + w->Client.Top));
            w = Find(hwnd);
            if (!w) {
                return 0;
            }
        }
        if (!(wp->flags & SWP_NOCLIENTSIZE)) {
            WPARAM kind = SIZE_RESTORED;
            if (w->State == TShowState::Maximized) {
                kind = SIZE_MAXIMIZED;
            } else if (w->State == TShowState::Minimized) {
                kind = SIZE_MINIMIZED;
            }
            Send(hwnd, WM_SIZE, kind, MAKELPARAM(w->Client.Width(), w->Client.Height()));
        }
        return 0;
    }
    case WM_SYSKEYDOWN:
        if (static_cast<int>(wParam) == VK_F4 && (m_keyState[VK_MENU] & 0x80)) {
            Send(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return 0;
    case WM_SYSCHAR:
        if (wParam == ' ') {
            Send(GetAncestor(hwnd, GA_ROOT), WM_SYSCOMMAND, SC_KEYMENU, ' ');
        }
        return 0;
    case WM_CANCELMODE:
        if (m_capture == hwnd) {
            ReleaseCapture();
        }
        return 0;
    default:
        return 0;
    }
}

LRESULT TWindowSystem::DefSysCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return 0;
    }
    const UINT command = static_cast<UINT>(wParam) & 0xFFF0;
    switch (command) {
    case SC_MOVE:
    case SC_SIZE: {
        // A maximised or minimised window has no place of its own to drag.
        if (w->State != TShowState::Normal) {
            return 0;
        }
        const UINT low = static_cast<UINT>(wParam) & 0x0F;
        const bool pointerDriven = low != 0;
        const UINT edge = command == SC_SIZE ? (low ? low : WMSZ_BOTTOMRIGHT) : 0;
        RunMoveSizeLoop(hwnd, edge, pointerDriven ? LParamToPoint(lParam) : m_cursorPos, pointerDriven);
        return 0;
    }
    case SC_MINIMIZE:
        ShowWindow(hwnd, SW_MINIMIZE);
        return 0;
    case SC_MAXIMIZE:
        ShowWindow(hwnd, SW_MAXIMIZE);
        return 0;
    case SC_RESTORE:
        ShowWindow(hwnd, SW_RESTORE);
        return 0;
    case SC_CLOSE:
        if (!(w->Class && (w->Class->Style & CS_NOCLOSE))) {
            Send(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    default:
        return 0;
    }
}

LRESULT TWindowSystem::DefSetCursor(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return FALSE;
    }
    const int hit = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(lParam)));
    // The parent decides first (a container can give its whole area one cursor), except on the
    // sizing edges, which always show the sizing shapes.
    if (w->Parent && (hit < HTLEFT || hit > HTBOTTOMRIGHT) && Send(w->Parent, WM_SETCURSOR, wParam, lParam)) {
        return TRUE;
    }
    const UINT mouseMessage = HIWORD(static_cast<std::uintptr_t>(lParam));
    switch (hit) {
    case HTERROR:
        if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN ||
            mouseMessage == WM_MBUTTONDOWN) {
            MessageBeep(MB_OK);
        }
        SetCursor(IDC_ARROW);
        return TRUE;
    case HTCLIENT: {
        // The cursor of the window under the pointer (wParam), whichever ancestor answers.
        const TWindow* under = Find(static_cast<HWND>(wParam));
        const HCURSOR cursor = under && under->Class ? under->Class->Cursor : 0;
        SetCursor(cursor ? cursor : IDC_ARROW);
        return TRUE;
    }
    case HTLEFT:
    case HTRIGHT:
        SetCursor(IDC_SIZEWE);
        return TRUE;
    case HTTOP:
    case HTBOTTOM:
        SetCursor(IDC_SIZENS);
        return TRUE;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT:
        SetCursor(IDC_SIZENWSE);
        return TRUE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT:
        SetCursor(IDC_SIZENESW);
        return TRUE;
    default:
        SetCursor(IDC_ARROW);
        return TRUE;
    }
}
