#include "toolkit/windowing/WindowSystem.h"

// Activation is per top-level window, focus per window; the focus always lies inside the active
// window (or nowhere). Message order follows the classic one:
//   old active: WM_NCACTIVATE(FALSE), WM_ACTIVATE(WA_INACTIVE)
//   every top-level window: WM_ACTIVATEAPP when the program as a whole gains or loses activation
//   new active: WM_NCACTIVATE(TRUE), WM_ACTIVATE(WA_ACTIVE or WA_CLICKACTIVE)
//   then, unless WM_ACTIVATE put the focus inside the new window: the focus moves to it.
// A focus change sends WM_KILLFOCUS to the old window, then WM_SETFOCUS to the new one.

HWND TWindowSystem::SetActiveWindow(HWND hwnd, bool byMouse) {
    if (hwnd) {
        hwnd = GetAncestor(hwnd, GA_ROOT);
        const TWindow* w = Find(hwnd);
        if (!w || w->MessageOnly || w->Destroying || (w->Style & WS_DISABLED) || !(w->Style & WS_VISIBLE) ||
            (w->ExStyle & WS_EX_NOACTIVATE)) {
            return 0;
        }
    }
    const HWND previous = m_active;
    if (previous == hwnd) {
        if (hwnd) {
            BringToTop(hwnd);
        }
        return previous;
    }
    if (previous && IsWindow(previous)) {
        Send(previous, WM_NCACTIVATE, FALSE, static_cast<LPARAM>(hwnd));
        Send(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(previous) ? 1 : 0),
             static_cast<LPARAM>(hwnd));
    }
    if (hwnd && !IsWindow(hwnd)) {
        hwnd = 0;
    }
    m_active = hwnd;
    if ((previous == 0) != (hwnd == 0)) {
        const std::vector<HWND> topLevels = m_topLevels;
        for (HWND t : topLevels) {
            Send(t, WM_ACTIVATEAPP, hwnd ? TRUE : FALSE, 0);
        }
    }
    if (hwnd && IsWindow(hwnd) && m_active == hwnd) {
        BringToTop(hwnd);
        m_backend->RaiseNativeWindow(hwnd);
        Send(hwnd, WM_NCACTIVATE, TRUE, static_cast<LPARAM>(previous));
        Send(hwnd, WM_ACTIVATE, MAKEWPARAM(byMouse ? WA_CLICKACTIVE : WA_ACTIVE, IsIconic(hwnd) ? 1 : 0),
             static_cast<LPARAM>(previous));
    }
    if (m_active == hwnd) {
        if (!hwnd) {
            SetFocus(0);
        } else if (IsWindow(hwnd) && (!m_focus || GetAncestor(m_focus, GA_ROOT) != hwnd)) {
            SetFocus(hwnd);
        }
    }
    return previous;
}

HWND TWindowSystem::SetFocus(HWND hwnd) {
    const HWND old = m_focus;
    if (!hwnd) {
        if (old) {
            m_focus = 0;
            Send(old, WM_KILLFOCUS, 0, 0);
        }
        return old;
    }
    const TWindow* w = Find(hwnd);
    if (!w || w->Destroying || w->MessageOnly || !IsEnabledTree(hwnd)) {
        return 0;
    }
    if (hwnd == old) {
        return old;
    }
    const HWND top = GetAncestor(hwnd, GA_ROOT);
    if (top != m_active) {
        SetActiveWindow(top);
        if (m_active != top || !IsWindow(hwnd)) {
            return 0;
        }
    }
    const HWND previous = m_focus;
    if (previous == hwnd) {
        return old;
    }
    m_focus = hwnd;
    if (previous) {
        Send(previous, WM_KILLFOCUS, static_cast<WPARAM>(hwnd), 0);
        // The old window's handler may have moved the focus elsewhere; that choice stands.
        if (m_focus != hwnd) {
            return previous;
        }
    }
    Send(hwnd, WM_SETFOCUS, static_cast<WPARAM>(previous), 0);
    return previous;
}

bool TWindowSystem::EnableWindow(HWND hwnd, bool enable) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    const bool wasDisabled = (w->Style & WS_DISABLED) != 0;
    if (enable) {
        if (wasDisabled) {
            w->Style &= ~WS_DISABLED;
            Send(hwnd, WM_ENABLE, TRUE, 0);
            RedrawNonClient(hwnd);
        }
        return wasDisabled;
    }
    if (wasDisabled) {
        return true;
    }
    Send(hwnd, WM_CANCELMODE, 0, 0);
    w = Find(hwnd);
    if (!w) {
        return false;
    }
    w->Style |= WS_DISABLED;
    // Keys must not reach a window the user cannot use.
    if (m_focus && (m_focus == hwnd || IsChild(hwnd, m_focus))) {
        SetFocus(0);
    }
    LoseCaptureWithin(hwnd);
    Send(hwnd, WM_ENABLE, FALSE, 0);
    RedrawNonClient(hwnd);
    return false;
}

void TWindowSystem::ActivateNextAfter(HWND leaving) {
    auto usable = [&](HWND t) {
        const TWindow* w = Find(t);
        return w && t != leaving && !w->Destroying && (w->Style & WS_VISIBLE) && !(w->Style & WS_DISABLED) &&
               !(w->ExStyle & WS_EX_NOACTIVATE) && w->State != TShowState::Minimized &&
               !IsOwnedBy(t, leaving);
    };
    HWND next = 0;
    if (const TWindow* w = Find(leaving); w && w->Owner && usable(w->Owner)) {
        next = w->Owner;
    } else {
        for (HWND t : m_topLevels) {
            if (usable(t)) {
                next = t;
                break;
            }
        }
    }
    if (next) {
        SetActiveWindow(next);
    }
    if (m_active && (m_active == leaving || IsOwnedBy(m_active, leaving))) {
        SetActiveWindow(0);
    }
}

void TWindowSystem::LoseFocusWithin(HWND hwnd) {
    if (m_focus && (m_focus == hwnd || IsChild(hwnd, m_focus))) {
        SetFocus(0);
    }
}

void TWindowSystem::LoseCaptureWithin(HWND hwnd) {
    if (m_capture && (m_capture == hwnd || IsChild(hwnd, m_capture))) {
        ReleaseCapture();
    }
}
