#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>
#include <cstdlib>

// Raw backend events become messages when the queue hands them out, not when they arrive, so
// that routing sees the capture, focus and window layout of that moment. Pointer events go to the
// capture window (as client messages), or else to the window under the pointer as client or
// non-client messages depending on its WM_NCHITTEST answer; keys go to the focus window.

namespace {

bool IsButtonDown(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN || message == WM_NCMBUTTONDOWN;
}

int ButtonKey(TMouseButton button) {
    switch (button) {
    case TMouseButton::Right:
        return VK_RBUTTON;
    case TMouseButton::Middle:
        return VK_MBUTTON;
    case TMouseButton::Left:
    default:
        return VK_LBUTTON;
    }
}

// The client message of a button event; the non-client one is 0x160 lower (WM_NCLBUTTONDOWN is
// WM_LBUTTONDOWN - 0x160), and a double click is 2 above the press.
UINT ButtonMessage(TMouseButton button, bool down) {
    switch (button) {
    case TMouseButton::Right:
        return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case TMouseButton::Middle:
        return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    case TMouseButton::Left:
    default:
        return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    }
}
constexpr UINT kNonClientOffset = WM_LBUTTONDOWN - WM_NCLBUTTONDOWN;

TCursorShape ShapeOf(HCURSOR cursor) {
    switch (cursor) {
    case IDC_IBEAM:
        return TCursorShape::IBeam;
    case IDC_WAIT:
        return TCursorShape::Wait;
    case IDC_CROSS:
        return TCursorShape::Cross;
    case IDC_UPARROW:
        return TCursorShape::UpArrow;
    case IDC_SIZENWSE:
        return TCursorShape::SizeNWSE;
    case IDC_SIZENESW:
        return TCursorShape::SizeNESW;
    case IDC_SIZEWE:
        return TCursorShape::SizeWE;
    case IDC_SIZENS:
        return TCursorShape::SizeNS;
    case IDC_SIZEALL:
        return TCursorShape::SizeAll;
    case IDC_NO:
        return TCursorShape::No;
    case IDC_HAND:
        return TCursorShape::Hand;
    case IDC_APPSTARTING:
        return TCursorShape::AppStarting;
    case IDC_HELP:
        return TCursorShape::Help;
    default:
        return TCursorShape::Arrow;
    }
}

} // namespace

// ---- Finding the window under a point -----------------------------------------------------------

bool TWindowSystem::ContainsScreenPoint(const TWindow& w, POINT screen) const {
    RECT r;
    if (!GetWindowRect(w.Handle, r) || !r.Contains(screen)) {
        return false;
    }
    return PointInWindowShape(w.Handle, {screen.X - r.Left, screen.Y - r.Top});
}

HWND TWindowSystem::DescendAt(HWND hwnd, POINT screen, const std::vector<HWND>& skip) const {
    const TWindow* w = Find(hwnd);
    POINT origin = ClientOrigin(hwnd);
    if (!Bounds(origin.X, origin.Y, w->Client.Width(), w->Client.Height()).Contains(screen)) {
        return hwnd;
    }
    for (HWND c : w->Children) {
        const TWindow* child = Find(c);
        if (!child || !(child->Style & WS_VISIBLE) || (child->Style & WS_DISABLED) ||
            std::find(skip.begin(), skip.end(), c) != skip.end()) {
            continue;
        }
        if (ContainsScreenPoint(*child, screen)) {
            return DescendAt(c, screen, skip);
        }
    }
    return hwnd;
}

HWND TWindowSystem::FindAt(POINT screen, const std::vector<HWND>& skip) const {
    for (HWND t : m_topLevels) {
        const TWindow* w = Find(t);
        if (!w || !(w->Style & WS_VISIBLE) || w->State == TShowState::Minimized ||
            std::find(skip.begin(), skip.end(), t) != skip.end()) {
            continue;
        }
        if (ContainsScreenPoint(*w, screen)) {
            return DescendAt(t, screen, skip);
        }
    }
    return 0;
}

HWND TWindowSystem::WindowAt(POINT screen) const {
    return FindAt(screen, {});
}

HWND TWindowSystem::WindowFromPoint(POINT screen, int* hit) {
    std::vector<HWND> skip;
    // Each round skips one more window, so the search ends; the bound only guards against a
    // procedure that keeps creating windows under the pointer while it is asked.
    for (int round = 0; round < 256; ++round) {
        HWND found = FindAt(screen, skip);
        if (!found) {
            break;
        }
        const int answer = static_cast<int>(Send(found, WM_NCHITTEST, 0, PointToLParam(screen)));
        if (!IsWindow(found) || answer == HTTRANSPARENT) {
            skip.push_back(found);
            continue;
        }
        if (hit) {
            *hit = answer;
        }
        return found;
    }
    if (hit) {
        *hit = HTNOWHERE;
    }
    return 0;
}

// ---- Cooking raw input ------------------------------------------------------------------------------

std::optional<MSG> TWindowSystem::Cook(const TRawInput& raw) {
    switch (raw.Kind) {
    case TRawInputKind::PointerMove:
    case TRawInputKind::ButtonDown:
    case TRawInputKind::ButtonUp:
    case TRawInputKind::Wheel:
        return CookPointer(raw);
    case TRawInputKind::KeyDown:
    case TRawInputKind::KeyUp:
        return CookKey(raw);
    case TRawInputKind::Text:
        return CookText(raw);
    case TRawInputKind::PointerLeft:
        UpdateMouseTracking(0, HTNOWHERE);
        return std::nullopt;
    case TRawInputKind::Activate: {
        const HWND top = GetAncestor(raw.Window, GA_ROOT);
        if (!top) {
            break;
        }
        if (IsEnabledTree(top)) {
            SetActiveWindow(top);
        } else if (m_active) {
            // A window disabled by a modal one cannot be activated: the modal one stays in front.
            m_backend->RaiseNativeWindow(m_active);
        }
        break;
    }
    case TRawInputKind::Deactivate:
        if (!m_moveSizeWindow) {
            SetActiveWindow(0);
        }
        break;
    case TRawInputKind::CloseRequest:
        if (IsWindow(raw.Window) && IsEnabledTree(raw.Window)) {
            Post(raw.Window, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    case TRawInputKind::Restore:
        if (IsIconic(raw.Window)) {
            ShowWindow(raw.Window, SW_RESTORE);
        }
        break;
    case TRawInputKind::Expose:
        MarkSurfaceChanged(raw.Window);
        break;
    }
    return std::nullopt;
}

WPARAM TWindowSystem::MouseKeyFlags() const {
    WPARAM flags = 0;
    if (m_keyState[VK_LBUTTON] & 0x80) {
        flags |= MK_LBUTTON;
    }
    if (m_keyState[VK_RBUTTON] & 0x80) {
        flags |= MK_RBUTTON;
    }
    if (m_keyState[VK_MBUTTON] & 0x80) {
        flags |= MK_MBUTTON;
    }
    if (m_keyState[VK_SHIFT] & 0x80) {
        flags |= MK_SHIFT;
    }
    if (m_keyState[VK_CONTROL] & 0x80) {
        flags |= MK_CONTROL;
    }
    return flags;
}

std::optional<MSG> TWindowSystem::CookPointer(const TRawInput& raw) {
    const POINT p = raw.Screen;
    m_cursorPos = p;
    const std::int64_t now = Now();
    if (raw.Kind == TRawInputKind::ButtonDown) {
        m_keyState[ButtonKey(raw.Button)] |= 0x80;
    } else if (raw.Kind == TRawInputKind::ButtonUp) {
        m_keyState[ButtonKey(raw.Button)] &= ~0x80;
    }

    MSG msg;
    msg.time = static_cast<DWORD>(now);
    msg.pt = p;

    if (raw.Kind == TRawInputKind::Wheel) {
        // The wheel scrolls what has the keyboard; unhandled, it climbs to the parents.
        HWND target = m_focus ? m_focus : m_active;
        if (!target || !IsEnabledTree(target)) {
            return std::nullopt;
        }
        msg.hwnd = target;
        msg.message = WM_MOUSEWHEEL;
        msg.wParam = MAKEWPARAM(static_cast<WORD>(MouseKeyFlags()), static_cast<WORD>(raw.WheelDelta));
        msg.lParam = PointToLParam(p);
        return msg;
    }

    const bool captured = m_capture && IsWindow(m_capture);
    int hitUnder = HTNOWHERE;
    HWND under = 0;
    if (captured) {
        // Nobody is asked while the pointer is captured; mouse-leave tracking still needs to know
        // where the pointer is, which the geometry tells well enough.
        if (m_tracking.Window) {
            under = WindowAt(p);
            const POINT origin = ClientOrigin(under);
            RECT client;
            hitUnder =
                under && GetClientRect(under, client) && client.Contains({p.X - origin.X, p.Y - origin.Y})
                    ? HTCLIENT
                    : HTNOWHERE;
        }
    } else {
        under = WindowFromPoint(p, &hitUnder);
    }
    UpdateMouseTracking(under, hitUnder);

    HWND target = captured ? m_capture : under;
    int hit = captured ? HTCLIENT : hitUnder;
    if (!target) {
        return std::nullopt;
    }

    UINT clientMessage = WM_MOUSEMOVE;
    if (raw.Kind != TRawInputKind::PointerMove) {
        clientMessage = ButtonMessage(raw.Button, raw.Kind == TRawInputKind::ButtonDown);
    }

    if (!captured && !IsEnabledTree(target)) {
        // A window disabled by a modal one: the press is refused (the default handling of
        // HTERROR beeps) and nothing reaches the window.
        Send(target, WM_SETCURSOR, target, MAKELPARAM(HTERROR, static_cast<int>(clientMessage)));
        return std::nullopt;
    }

    const bool client = hit == HTCLIENT;
    UINT message = client ? clientMessage : clientMessage - kNonClientOffset;

    if (!captured && raw.Kind == TRawInputKind::ButtonDown) {
        const HWND top = GetAncestor(target, GA_ROOT);
        const TWindow* topWindow = Find(top);
        if (top != m_active && topWindow && !(topWindow->ExStyle & WS_EX_NOACTIVATE)) {
            const LRESULT answer =
                Send(target, WM_MOUSEACTIVATE, top, MAKELPARAM(hit, static_cast<int>(message)));
            if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) {
                SetActiveWindow(top, true);
            }
            if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT || !IsWindow(target)) {
                return std::nullopt;
            }
        }
    }
    if (!captured && (raw.Kind == TRawInputKind::PointerMove || raw.Kind == TRawInputKind::ButtonDown)) {
        Send(target, WM_SETCURSOR, target, MAKELPARAM(hit, static_cast<int>(message)));
        if (!IsWindow(target)) {
            return std::nullopt;
        }
    }

    if (IsButtonDown(message)) {
        if (IsDoubleClick(m_lastClick, target, message, now, p)) {
            message += 2;
            // A third press starts a new pair.
            m_lastClick = {};
        } else {
            m_lastClick = {target, message, now, p, true};
        }
    }

    msg.hwnd = target;
    msg.message = message;
    if (client) {
        const POINT origin = ClientOrigin(target);
        msg.wParam = MouseKeyFlags();
        msg.lParam = MAKELPARAM(p.X - origin.X, p.Y - origin.Y);
    } else {
        msg.wParam = static_cast<WPARAM>(static_cast<std::intptr_t>(hit));
        msg.lParam = PointToLParam(p);
    }
    return msg;
}

bool TWindowSystem::IsDoubleClick(const TClickRecord& last, HWND target, UINT message, std::int64_t time,
                                  POINT p) const {
    const TWindow* w = Find(target);
    if (!w || !IsButtonDown(message)) {
        return false;
    }
    const bool client = message >= WM_MOUSEFIRST;
    const bool wantsDouble = !client || (w->Class && (w->Class->Style & CS_DBLCLKS));
    const int dx = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
    const int dy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    return wantsDouble && last.Valid && last.Window == target && last.Message == message &&
           time >= last.Time && time - last.Time <= static_cast<std::int64_t>(m_doubleClickTime) &&
           std::abs(p.X - last.Screen.X) <= dx && std::abs(p.Y - last.Screen.Y) <= dy;
}

std::optional<MSG> TWindowSystem::CookKey(const TRawInput& raw) {
    const int vk = raw.VirtualKey & 0xFF;
    if (vk == 0) {
        return std::nullopt;
    }
    const bool down = raw.Kind == TRawInputKind::KeyDown;
    const bool wasDown = (m_keyState[vk] & 0x80) != 0;
    if (down) {
        if (!wasDown) {
            m_keyState[vk] ^= 0x01;
        }
        m_keyState[vk] |= 0x80;
    } else {
        m_keyState[vk] &= ~0x80;
    }
    const bool alt = (m_keyState[VK_MENU] & 0x80) != 0;
    const bool ctrl = (m_keyState[VK_CONTROL] & 0x80) != 0;

    HWND target = m_focus;
    bool system = false;
    if (!target || !IsWindow(target)) {
        // Without a focus window, keys reach the active window as system keys.
        target = m_active;
        system = true;
    }
    if (!target || !IsWindow(target)) {
        return std::nullopt;
    }
    system = system || (alt && !ctrl) || vk == VK_F10 || (!down && vk == VK_MENU);

    MSG msg;
    msg.hwnd = target;
    msg.message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    msg.wParam = static_cast<WPARAM>(vk);
    DWORD lParam = 1 | ((static_cast<DWORD>(raw.ScanCode) & 0xFF) << 16);
    if (alt) {
        lParam |= 1u << 29;
    }
    if (down ? wasDown : true) {
        lParam |= 1u << 30;
    }
    if (!down) {
        lParam |= 1u << 31;
    }
    msg.lParam = static_cast<LPARAM>(static_cast<std::int32_t>(lParam));
    msg.time = static_cast<DWORD>(Now());
    msg.pt = m_cursorPos;
    return msg;
}

std::optional<MSG> TWindowSystem::CookText(const TRawInput& raw) {
    if (raw.Char == 0) {
        return std::nullopt;
    }
    HWND target = m_focus;
    bool system = false;
    if (!target || !IsWindow(target)) {
        target = m_active;
        system = true;
    }
    if (!target || !IsWindow(target)) {
        return std::nullopt;
    }
    const bool alt = (m_keyState[VK_MENU] & 0x80) != 0;
    const bool ctrl = (m_keyState[VK_CONTROL] & 0x80) != 0;
    MSG msg;
    msg.hwnd = target;
    msg.message = (system || (alt && !ctrl)) ? WM_SYSCHAR : WM_CHAR;
    msg.wParam = static_cast<WPARAM>(raw.Char);
    msg.lParam = 1;
    msg.time = static_cast<DWORD>(Now());
    msg.pt = m_cursorPos;
    return msg;
}

// ---- Mouse leave and hover ------------------------------------------------------------------------

void TWindowSystem::UpdateMouseTracking(HWND under, int hit) {
    if (!m_tracking.Window) {
        return;
    }
    const bool nonClient = (m_tracking.Flags & TME_NONCLIENT) != 0;
    const bool inArea = under == m_tracking.Window && (nonClient ? hit != HTCLIENT : hit == HTCLIENT);
    if (!inArea) {
        const HWND left = m_tracking.Window;
        const DWORD flags = m_tracking.Flags;
        m_tracking = {};
        if (flags & TME_LEAVE) {
            Post(left, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        }
        return;
    }
    if (m_tracking.Flags & TME_HOVER) {
        // Hovering means resting: moving further than the double-click box starts the wait again.
        const int dx = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
        const int dy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        if (std::abs(m_cursorPos.X - m_tracking.HoverAnchor.X) > dx ||
            std::abs(m_cursorPos.Y - m_tracking.HoverAnchor.Y) > dy) {
            m_tracking.HoverAnchor = m_cursorPos;
            m_tracking.HoverDue = Now() + m_tracking.HoverTime;
        }
    }
}

bool TWindowSystem::CheckHover() {
    if (!(m_tracking.Flags & TME_HOVER) || !m_tracking.Window || Now() < m_tracking.HoverDue) {
        return false;
    }
    const HWND hwnd = m_tracking.Window;
    m_tracking.Flags &= ~TME_HOVER;
    if (!(m_tracking.Flags & TME_NONCLIENT)) {
        const POINT origin = ClientOrigin(hwnd);
        Post(hwnd, WM_MOUSEHOVER, MouseKeyFlags(),
             MAKELPARAM(m_cursorPos.X - origin.X, m_cursorPos.Y - origin.Y));
    } else {
        Post(hwnd, WM_NCMOUSEHOVER, HTNOWHERE, PointToLParam(m_cursorPos));
    }
    if (!(m_tracking.Flags & TME_LEAVE)) {
        m_tracking = {};
    }
    return true;
}

bool TWindowSystem::TrackMouseEvent(TRACKMOUSEEVENT& tme) {
    if (tme.cbSize < sizeof(TRACKMOUSEEVENT)) {
        return false;
    }
    if (tme.dwFlags & TME_QUERY) {
        tme.hwndTrack = m_tracking.Window;
        tme.dwFlags = m_tracking.Window ? m_tracking.Flags : 0;
        tme.dwHoverTime = m_tracking.HoverTime;
        return true;
    }
    if (!IsWindow(tme.hwndTrack)) {
        return false;
    }
    const DWORD wanted = tme.dwFlags & (TME_LEAVE | TME_HOVER);
    if (tme.dwFlags & TME_CANCEL) {
        if (m_tracking.Window == tme.hwndTrack) {
            m_tracking.Flags &= ~wanted;
            if (!(m_tracking.Flags & (TME_LEAVE | TME_HOVER))) {
                m_tracking = {};
            }
        }
        return true;
    }
    const bool nonClient = (tme.dwFlags & TME_NONCLIENT) != 0;
    int hit = HTNOWHERE;
    const HWND under = WindowFromPoint(m_cursorPos, &hit);
    if (under != tme.hwndTrack || (nonClient ? hit == HTCLIENT : hit != HTCLIENT)) {
        // Already outside: the leave is due at once.
        if (wanted & TME_LEAVE) {
            Post(tme.hwndTrack, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
        }
        return true;
    }
    if (m_tracking.Window != tme.hwndTrack || ((m_tracking.Flags & TME_NONCLIENT) != 0) != nonClient) {
        m_tracking = {};
    }
    m_tracking.Window = tme.hwndTrack;
    m_tracking.Flags |= wanted | (nonClient ? TME_NONCLIENT : 0);
    if (wanted & TME_HOVER) {
        m_tracking.HoverTime = tme.dwHoverTime == HOVER_DEFAULT ? 400 : tme.dwHoverTime;
        m_tracking.HoverDue = Now() + m_tracking.HoverTime;
        m_tracking.HoverAnchor = m_cursorPos;
    }
    return true;
}

// ---- Capture, cursor, keys ------------------------------------------------------------------------------

HWND TWindowSystem::SetCapture(HWND hwnd) {
    const HWND old = m_capture;
    if (hwnd) {
        const TWindow* w = Find(hwnd);
        if (!w || w->Destroying || w->MessageOnly) {
            return old;
        }
    }
    if (old == hwnd) {
        return old;
    }
    m_capture = hwnd;
    m_backend->SetMouseCapture(hwnd != 0);
    if (old && IsWindow(old)) {
        Send(old, WM_CAPTURECHANGED, 0, static_cast<LPARAM>(hwnd));
    }
    return old;
}

bool TWindowSystem::ReleaseCapture() {
    const HWND old = m_capture;
    if (!old) {
        return true;
    }
    m_capture = 0;
    m_backend->SetMouseCapture(false);
    if (IsWindow(old)) {
        Send(old, WM_CAPTURECHANGED, 0, 0);
    }
    // The window under the pointer has not been told about the pointer while the capture lasted:
    // a synthetic move lets it set its cursor and hover state.
    TRawInput move;
    move.Kind = TRawInputKind::PointerMove;
    move.Screen = m_cursorPos;
    m_rawInput.push_back(move);
    return true;
}

HCURSOR TWindowSystem::SetCursor(HCURSOR cursor) {
    const HCURSOR old = m_cursor;
    if (cursor != old) {
        m_cursor = cursor;
        m_backend->SetCursorShape(ShapeOf(cursor));
    }
    return old;
}

SHORT TWindowSystem::GetKeyState(int vk) const {
    if (vk < 0 || vk > 0xFF) {
        return 0;
    }
    const BYTE state = m_keyState[static_cast<std::size_t>(vk)];
    return static_cast<SHORT>(((state & 0x80) ? 0xFF80 : 0) | (state & 0x01));
}
