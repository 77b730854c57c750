#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

// The toolkit moves and sizes windows itself, so it works without a window manager and without
// a native frame. The loop captures the pointer, follows it until the button is released (or, when
// started from the keyboard, until a click or Enter), and puts the window back on Escape. Where
// the backend can read the real pointer (SDL on X11), the loop trusts that over queued events,
// whose coordinates are relative to a window that is itself moving; headless, the queued events
// are the truth, so tests drive the loop with injected input.

namespace {

constexpr int kKeyboardStep = 8;     // pixels per arrow key press
constexpr int kPollIntervalMs = 8;   // between reads of the real pointer while nothing is queued
constexpr int kReleaseGraceMs = 100; // how long to wait for the release event after the poll saw it

bool HasEdge(UINT edge, UINT side) {
    switch (side) {
    case WMSZ_LEFT:
        return edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
    case WMSZ_RIGHT:
        return edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
    case WMSZ_TOP:
        return edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
    case WMSZ_BOTTOM:
        return edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
    default:
        return false;
    }
}

// Keeps the size within the tracking limits by moving the dragged edge, never the opposite one.
void ClampSize(RECT& r, UINT edge, const MINMAXINFO& mmi) {
    const int width = std::clamp(r.Width(), mmi.ptMinTrackSize.X, mmi.ptMaxTrackSize.X);
    const int height = std::clamp(r.Height(), mmi.ptMinTrackSize.Y, mmi.ptMaxTrackSize.Y);
    if (HasEdge(edge, WMSZ_LEFT)) {
        r.Left = r.Right - width;
    } else {
        r.Right = r.Left + width;
    }
    if (HasEdge(edge, WMSZ_TOP)) {
        r.Top = r.Bottom - height;
    } else {
        r.Bottom = r.Top + height;
    }
}

} // namespace

void TWindowSystem::RunMoveSizeLoop(HWND hwnd, UINT edge, POINT start, bool pointerDriven) {
    const TWindow* w = Find(hwnd);
    if (!w || m_moveSizeWindow || w->MessageOnly) {
        return;
    }
    // Started by a press whose button is already up: there is nothing left to follow.
    if (pointerDriven && !(m_keyState[VK_LBUTTON] & 0x80)) {
        if (std::optional<TPointerState> real = m_backend->QueryPointer(); !real || !real->LeftDown) {
            return;
        }
    }
    const RECT startRect = w->Rect;
    // WM_MOVING and WM_SIZING carry screen coordinates; Rect is in the parent's client ones.
    const POINT parentOrigin = w->Parent ? ClientOrigin(w->Parent) : POINT{};
    const MINMAXINFO mmi = edge ? GetMinMaxInfo(hwnd) : MINMAXINFO{};

    m_moveSizeWindow = hwnd;
    SetCapture(hwnd);
    Send(hwnd, WM_ENTERSIZEMOVE, 0, 0);

    POINT last = start;
    POINT keyboardOffset;
    auto track = [&](POINT p) {
        if (p == last || !IsWindow(hwnd)) {
            return;
        }
        last = p;
        const int dx = p.X - start.X;
        const int dy = p.Y - start.Y;
        RECT r = startRect.Offset(parentOrigin.X, parentOrigin.Y);
        if (edge == 0) {
            r = r.Offset(dx, dy);
            Send(hwnd, WM_MOVING, 0, reinterpret_cast<LPARAM>(&r));
        } else {
            if (HasEdge(edge, WMSZ_LEFT)) {
                r.Left += dx;
            }
            if (HasEdge(edge, WMSZ_RIGHT)) {
                r.Right += dx;
            }
            if (HasEdge(edge, WMSZ_TOP)) {
                r.Top += dy;
            }
            if (HasEdge(edge, WMSZ_BOTTOM)) {
                r.Bottom += dy;
            }
            ClampSize(r, edge, mmi);
            Send(hwnd, WM_SIZING, edge, reinterpret_cast<LPARAM>(&r));
            // The procedure may adjust the rectangle, but not below the minimum it declared.
            ClampSize(r, edge, mmi);
        }
        r = r.Offset(-parentOrigin.X, -parentOrigin.Y);
        SetWindowPos(hwnd, 0, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    };

    const bool canPoll = m_backend->QueryPointer().has_value();
    bool cancelled = false;
    bool finished = false;
    bool pollSawRelease = false;
    std::int64_t releaseDeadline = 0;
    MSG msg;
    while (!finished) {
        if (!IsWindow(hwnd) || m_capture != hwnd) {
            break; // someone took the capture away: the window stays where it is
        }
        if (Peek(msg, 0, 0, 0, PM_REMOVE)) {
            switch (msg.message) {
            case WM_MOUSEMOVE:
            case WM_NCMOUSEMOVE:
                if (!canPoll) {
                    track(msg.pt);
                }
                break;
            case WM_LBUTTONUP:
            case WM_NCLBUTTONUP:
                if (!canPoll) {
                    track(msg.pt);
                }
                if (pointerDriven) {
                    finished = true;
                }
                break;
            case WM_LBUTTONDOWN:
            case WM_NCLBUTTONDOWN:
                if (!pointerDriven) {
                    finished = true;
                }
                break;
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                switch (static_cast<int>(msg.wParam)) {
                case VK_ESCAPE:
                    cancelled = true;
                    finished = true;
                    break;
                case VK_RETURN:
                    finished = true;
                    break;
                case VK_LEFT:
                    keyboardOffset.X -= kKeyboardStep;
                    track({start.X + keyboardOffset.X, start.Y + keyboardOffset.Y});
                    break;
                case VK_RIGHT:
                    keyboardOffset.X += kKeyboardStep;
                    track({start.X + keyboardOffset.X, start.Y + keyboardOffset.Y});
                    break;
                case VK_UP:
                    keyboardOffset.Y -= kKeyboardStep;
                    track({start.X + keyboardOffset.X, start.Y + keyboardOffset.Y});
                    break;
                case VK_DOWN:
                    keyboardOffset.Y += kKeyboardStep;
                    track({start.X + keyboardOffset.X, start.Y + keyboardOffset.Y});
                    break;
                default:
                    break;
                }
                break;
            case WM_KEYUP:
            case WM_SYSKEYUP:
            case WM_CHAR:
            case WM_SYSCHAR:
            case WM_RBUTTONDOWN:
            case WM_RBUTTONUP:
            case WM_MOUSEWHEEL:
                break; // the loop owns the keyboard and the pointer while it runs
            case WM_QUIT:
                PostQuit(static_cast<int>(msg.wParam));
                finished = true;
                break;
            default:
                Dispatch(msg);
                break;
            }
            continue;
        }
        if (std::optional<TPointerState> real = m_backend->QueryPointer()) {
            if (pollSawRelease) {
                if (Now() >= releaseDeadline) {
                    finished = true;
                    break;
                }
            } else {
                track(real->Screen);
                if (pointerDriven && !real->LeftDown) {
                    // Wait a moment for the release event, so that it is eaten here rather than
                    // delivered to whatever lies under the pointer afterwards.
                    pollSawRelease = true;
                    releaseDeadline = Now() + kReleaseGraceMs;
                }
            }
            PresentChanged(false);
            m_backend->WaitForEvents(Now() + kPollIntervalMs);
        } else {
            Wait();
        }
    }

    if (cancelled && IsWindow(hwnd)) {
        SetWindowPos(hwnd, 0, startRect.Left, startRect.Top, startRect.Width(), startRect.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_moveSizeWindow = 0;
    if (m_capture == hwnd) {
        ReleaseCapture();
    }
    Send(hwnd, WM_EXITSIZEMOVE, 0, 0);
}
