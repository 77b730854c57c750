// A small program for the end-to-end test: one real window through the SDL backend that reports
// on standard output what reaches it, so that a script driving it with xdotool can check each step.
//
//   ready L T W H        the window is shown at (L, T), W × H
//   click X Y            a left press at client point (X, Y)
//   typed TEXT           Enter after typing TEXT
//   moved L T            a drag by the caption strip (the top 30 rows answer HTCAPTION) ended
//   copied 1             Ctrl+C put "Varnel", "second line" and the typed text on the clipboard,
//                        each line ending in CR LF
//   popup L T            P opened a menu-like popup window (it never takes the activation and
//                        captures the pointer) at (L, T)
//   popup-key C          a character typed while the popup is open, received by the main window
//   popup-outside X Y    the popup saw a press outside itself at screen (X, Y) and closed
//   shaped               R gave the window rounded corners (a region of its own)

#include "tests/e2e/ProbeSystem.h"
#include "toolkit/graphics/DeviceContext.h"
#include "toolkit/graphics/Region.h"
#include "toolkit/shell/Shell.h"
#include "toolkit/windowing/Utf8.h"
#include "toolkit/windowing/WinUser.h"
#include "toolkit/windowing/WindowSystem.h"

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr int kCaptionHeight = 30;
std::string g_typed;
POINT g_lastClick{-1, -1};
HWND g_popup = 0;

void Fill(HDC dc, const RECT& r, std::uint32_t pixel) {
    TBrushData brush;
    brush.Pixel = pixel;
    dc->FillRect(r, brush);
}

LRESULT PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        Fill(dc, client, 0xFFD700);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN: {
        POINT p = LParamToPoint(lParam);
        RECT client;
        GetClientRect(hwnd, &client);
        if (!client.Contains(p)) {
            ClientToScreen(hwnd, &p);
            std::printf("popup-outside %d %d\n", p.X, p.Y);
            DestroyWindow(hwnd);
        }
        return 0;
    }
    case WM_DESTROY:
        g_popup = 0;
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

LRESULT ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: {
        const LRESULT hit = DefWindowProc(hwnd, message, wParam, lParam);
        POINT p = LParamToPoint(lParam);
        ScreenToClient(hwnd, &p);
        return hit == HTCLIENT && p.Y < kCaptionHeight ? HTCAPTION : hit;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        Fill(dc, {0, 0, client.Right, kCaptionHeight}, 0x1F3A6E);
        Fill(dc, {0, kCaptionHeight, client.Right, client.Bottom}, 0xFFFFFF);
        if (g_lastClick.X >= 0) {
            Fill(dc, Bounds(g_lastClick.X - 5, g_lastClick.Y - 5, 10, 10), 0x00A000);
        }
        // One bar per typed character, so that a screenshot shows the typing too.
        for (std::size_t i = 0; i < g_typed.size() && i < 40; ++i) {
            Fill(dc, Bounds(10 + static_cast<int>(i) * 8, client.Bottom - 30, 6, 20), 0x303030);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        g_lastClick = LParamToPoint(lParam);
        std::printf("click %d %d\n", g_lastClick.X, g_lastClick.Y);
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_CHAR:
        if (g_popup) {
            std::printf("popup-key %s\n", EncodeUtf8(static_cast<char32_t>(wParam)).c_str());
            return 0;
        }
        if (wParam == 'p') {
            // As a menu opens: a popup that never takes the activation and captures the pointer.
            RECT r;
            GetWindowRect(hwnd, &r);
            g_popup =
                CreateWindowEx(WS_EX_NOACTIVATE | WS_EX_TOPMOST, "VarnelProbePopup", "",
                               WS_POPUP | WS_VISIBLE, r.Left + 50, r.Top + 60, 120, 80, hwnd, 0, nullptr);
            SetCapture(g_popup);
            std::printf("popup %d %d\n", r.Left + 50, r.Top + 60);
            return 0;
        }
        if (wParam == 'r') {
            SetWindowRgn(hwnd, CreateRoundRectRgn(0, 0, 401, 301, 40, 40), TRUE);
            std::printf("shaped\n");
            return 0;
        }
        if (wParam == '\r') {
            std::printf("typed %s\n", g_typed.c_str());
        } else if (wParam >= 32) {
            g_typed += EncodeUtf8(static_cast<char32_t>(wParam));
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == 'C' && GetKeyState(VK_CONTROL) < 0) {
            const bool ok = SetClipboardText("Varnel\r\nsecond line\r\n" + g_typed + "\r\n");
            std::printf("copied %d\n", ok ? 1 : 0);
        }
        return 0;
    case WM_EXITSIZEMOVE: {
        RECT r;
        GetWindowRect(hwnd, &r);
        std::printf("moved %d %d\n", r.Left, r.Top);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

} // namespace

int main() {
    std::unique_ptr<TWindowSystem> system = StartProbeSystem();
    if (!system) {
        return 2;
    }
    WNDCLASS wc;
    wc.lpfnWndProc = &ProbeProc;
    wc.lpszClassName = "VarnelWindowProbe";
    RegisterClass(&wc);
    wc.lpfnWndProc = &PopupProc;
    wc.lpszClassName = "VarnelProbePopup";
    RegisterClass(&wc);
    HWND window = CreateWindowEx(0, "VarnelWindowProbe", "Varnel window probe", WS_POPUP | WS_VISIBLE, 100,
                                 100, 400, 300, 0, 0, nullptr);
    if (!window) {
        std::printf("error no window\n");
        return 2;
    }
    ProcessPendingMessages();
    system->PresentChanged(true);
    RECT r;
    GetWindowRect(window, &r);
    std::printf("ready %d %d %d %d\n", r.Left, r.Top, r.Width(), r.Height());
    return RunMessageLoop();
}
