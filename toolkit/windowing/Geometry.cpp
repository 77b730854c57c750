#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

// ---- Coordinates ------------------------------------------------------------------------------

POINT TWindowSystem::WindowOrigin(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return {};
    }
    POINT origin = w->Rect.TopLeft();
    if (w->Parent) {
        POINT parent = ClientOrigin(w->Parent);
        origin.X += parent.X;
        origin.Y += parent.Y;
    }
    return origin;
}

POINT TWindowSystem::ClientOrigin(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return {};
    }
    POINT origin = WindowOrigin(hwnd);
    return {origin.X + w->Client.Left, origin.Y + w->Client.Top};
}

bool TWindowSystem::GetWindowRect(HWND hwnd, RECT& rect) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    POINT origin = WindowOrigin(hwnd);
    rect = Bounds(origin.X, origin.Y, w->Rect.Width(), w->Rect.Height());
    return true;
}

bool TWindowSystem::GetClientRect(HWND hwnd, RECT& rect) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    rect = {0, 0, w->Client.Width(), w->Client.Height()};
    return true;
}

// ---- Size and position ---------------------------------------------------------------------------

MINMAXINFO TWindowSystem::GetMinMaxInfo(HWND hwnd) {
    MINMAXINFO mmi;
    const TWindow* w = Find(hwnd);
    if (!w) {
        return mmi;
    }
    const TRect area = MaximizedArea(hwnd);
    mmi.ptMaxSize = {area.Width(), area.Height()};
    mmi.ptMaxPosition = area.TopLeft();
    if (w->Parent) {
        mmi.ptMinTrackSize = {0, 0};
    } else {
        mmi.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    }
    mmi.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
    Send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    // A minimum above the maximum would make every size invalid; the minimum wins.
    mmi.ptMinTrackSize.X = std::max(mmi.ptMinTrackSize.X, 0);
    mmi.ptMinTrackSize.Y = std::max(mmi.ptMinTrackSize.Y, 0);
    mmi.ptMaxTrackSize.X = std::max(mmi.ptMaxTrackSize.X, mmi.ptMinTrackSize.X);
    mmi.ptMaxTrackSize.Y = std::max(mmi.ptMaxTrackSize.Y, mmi.ptMinTrackSize.Y);
    return mmi;
}

// Where a maximised window goes before WM_GETMINMAXINFO has its say: a window with a caption
// fills the work area, a frameless one the whole screen (the program keeps it off the panels
// itself if it wants to), a child its parent's client area.
TRect TWindowSystem::MaximizedArea(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return {};
    }
    if (w->Parent) {
        const TWindow* p = Find(w->Parent);
        return p ? TRect{0, 0, p->Client.Width(), p->Client.Height()} : TRect{};
    }
    return (w->Style & WS_CAPTION) == WS_CAPTION ? m_backend->WorkArea() : m_backend->ScreenRect();
}

void TWindowSystem::FrameChanged(HWND hwnd) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return;
    }
    NCCALCSIZE_PARAMS params;
    params.rgrc[0] = w->Rect;
    Send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params));
    w = Find(hwnd);
    if (!w) {
        return;
    }
    w->Client = ClientFromCalc(*w, params.rgrc[0]);
}

// The client rectangle (window coordinates) from what WM_NCCALCSIZE answered (parent
// coordinates), kept inside the window and never inverted, whatever the procedure returned.
RECT TWindowSystem::ClientFromCalc(const TWindow& w, const RECT& answer) const {
    const int width = w.Rect.Width();
    const int height = w.Rect.Height();
    RECT c = answer.Offset(-w.Rect.Left, -w.Rect.Top);
    c.Left = std::clamp(c.Left, 0, width);
    c.Top = std::clamp(c.Top, 0, height);
    c.Right = std::clamp(c.Right, c.Left, width);
    c.Bottom = std::clamp(c.Bottom, c.Top, height);
    return c;
}

bool TWindowSystem::SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    TWindow* w = Find(hwnd);
    if (!w || w->MessageOnly) {
        return w != nullptr;
    }
    WINDOWPOS wp;
    wp.hwnd = hwnd;
    wp.hwndInsertAfter = insertAfter;
    wp.x = x;
    wp.y = y;
    wp.cx = cx;
    wp.cy = cy;
    wp.flags = flags & ~(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE);
    const bool wasVisible = (w->Style & WS_VISIBLE) != 0;
    if ((wp.flags & SWP_SHOWWINDOW) && wasVisible) {
        wp.flags &= ~SWP_SHOWWINDOW;
    }
    if ((wp.flags & SWP_HIDEWINDOW) && !wasVisible) {
        wp.flags &= ~SWP_HIDEWINDOW;
    }
    auto normalize = [&](const TWindow& win) {
        if (wp.flags & SWP_NOMOVE) {
            wp.x = win.Rect.Left;
            wp.y = win.Rect.Top;
        }
        if (wp.flags & SWP_NOSIZE) {
            wp.cx = win.Rect.Width();
            wp.cy = win.Rect.Height();
        }
        wp.cx = std::max(wp.cx, 0);
        wp.cy = std::max(wp.cy, 0);
    };
    normalize(*w);
    if (!(wp.flags & SWP_NOSENDCHANGING)) {
        Send(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
        w = Find(hwnd);
        if (!w) {
            return false;
        }
        normalize(*w);
    }

    const bool topLevel = !w->Parent;
    const RECT oldRect = w->Rect;
    const RECT oldClient = w->Client;
    const RECT newRect = Bounds(wp.x, wp.y, wp.cx, wp.cy);
    const bool moved = newRect.TopLeft() != oldRect.TopLeft();
    const bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
    const bool visibleBefore = IsVisible(hwnd);
    const bool redraw = !(wp.flags & SWP_NOREDRAW);

    // What the window covered in its parent must be repainted by whoever is there now.
    if (visibleBefore && !topLevel && redraw && (moved || sized || (wp.flags & SWP_HIDEWINDOW))) {
        InvalidateWindowArea(hwnd);
    }

    w->Rect = newRect;
    if (w->State == TShowState::Normal) {
        w->NormalRect = newRect;
    }
    if (sized || (wp.flags & SWP_FRAMECHANGED)) {
        NCCALCSIZE_PARAMS params;
        params.rgrc[0] = newRect;
        params.rgrc[1] = oldRect;
        params.rgrc[2] = oldClient.Offset(oldRect.Left, oldRect.Top);
        params.lppos = &wp;
        Send(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
        w = Find(hwnd);
        if (!w) {
            return false;
        }
        w->Client = ClientFromCalc(*w, params.rgrc[0]);
    }
    if (!(wp.flags & SWP_NOZORDER)) {
        ApplyZOrder(hwnd, wp.hwndInsertAfter);
    }
    if (wp.flags & SWP_SHOWWINDOW) {
        w->Style |= WS_VISIBLE;
    } else if (wp.flags & SWP_HIDEWINDOW) {
        w->Style &= ~WS_VISIBLE;
    }

    if (topLevel) {
        if (sized) {
            ResizeSurface(hwnd);
        }
        if (moved || sized) {
            m_backend->SetNativeWindowBounds(hwnd, w->Rect);
        }
        if (sized) {
            ApplyWindowShape(hwnd);
        }
        if (wp.flags & SWP_SHOWWINDOW) {
            m_backend->ShowNativeWindow(hwnd, w->State != TShowState::Minimized);
        } else if (wp.flags & SWP_HIDEWINDOW) {
            m_backend->ShowNativeWindow(hwnd, false);
        }
    }

    const bool visibleAfter = IsVisible(hwnd);
    if (visibleAfter && redraw &&
        (sized || (!topLevel && moved) || (wp.flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED)))) {
        InvalidateWindowArea(hwnd);
    }

    if (wp.flags & SWP_HIDEWINDOW) {
        LoseCaptureWithin(hwnd);
        if (topLevel && (m_active == hwnd || IsOwnedBy(m_active, hwnd))) {
            ActivateNextAfter(hwnd);
        }
    } else if (topLevel && visibleAfter && !(wp.flags & SWP_NOACTIVATE) &&
               ((wp.flags & SWP_SHOWWINDOW) || !(wp.flags & SWP_NOZORDER)) &&
               !(w->ExStyle & WS_EX_NOACTIVATE) && w->State != TShowState::Minimized) {
        SetActiveWindow(hwnd);
    }

    w = Find(hwnd);
    if (!w) {
        return true;
    }
    if (w->Client.Width() == oldClient.Width() && w->Client.Height() == oldClient.Height() &&
        !(wp.flags & SWP_FRAMECHANGED) && !sized) {
        wp.flags |= SWP_NOCLIENTSIZE;
    }
    if (!moved && w->Client.TopLeft() == oldClient.TopLeft()) {
        wp.flags |= SWP_NOCLIENTMOVE;
    }
    wp.x = w->Rect.Left;
    wp.y = w->Rect.Top;
    wp.cx = w->Rect.Width();
    wp.cy = w->Rect.Height();
    Send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    return true;
}

// ---- Z-order -------------------------------------------------------------------------------------

void TWindowSystem::ApplyZOrder(HWND hwnd, HWND insertAfter) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return;
    }
    std::vector<HWND>* list = SiblingList(*w);
    if (!list) {
        return;
    }
    const bool topLevel = !w->Parent;
    if (topLevel && insertAfter == HWND_TOPMOST) {
        w->ExStyle |= WS_EX_TOPMOST;
        insertAfter = HWND_TOP;
    } else if (topLevel && insertAfter == HWND_NOTOPMOST) {
        w->ExStyle &= ~WS_EX_TOPMOST;
        insertAfter = HWND_TOP;
    }
    if (insertAfter == hwnd) {
        return;
    }
    list->erase(std::remove(list->begin(), list->end(), hwnd), list->end());
    auto pos = list->begin();
    if (insertAfter == HWND_BOTTOM) {
        pos = list->end();
    } else if (insertAfter == HWND_TOP || !Find(insertAfter)) {
        // Ordinary top-level windows stay below the topmost ones.
        if (topLevel && !(w->ExStyle & WS_EX_TOPMOST)) {
            while (pos != list->end() && (Find(*pos)->ExStyle & WS_EX_TOPMOST)) {
                ++pos;
            }
        }
    } else {
        pos = std::find(list->begin(), list->end(), insertAfter);
        pos = pos == list->end() ? list->begin() : pos + 1;
    }
    list->insert(pos, hwnd);
    if (!topLevel && IsVisible(hwnd)) {
        InvalidateWindowArea(hwnd);
    }
}

// A top-level window comes to the front with the windows it owns still in front of it.
void TWindowSystem::BringToTop(HWND hwnd) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return;
    }
    if (w->Parent) {
        ApplyZOrder(hwnd, HWND_TOP);
        return;
    }
    ApplyZOrder(hwnd, HWND_TOP);
    std::vector<HWND> owned;
    for (HWND t : m_topLevels) {
        if (t != hwnd && IsOwnedBy(t, hwnd)) {
            owned.push_back(t);
        }
    }
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        ApplyZOrder(*it, HWND_TOP);
    }
}

// ---- Show states -------------------------------------------------------------------------------------

bool TWindowSystem::ShowWindow(HWND hwnd, int cmd) {
    TWindow* w = Find(hwnd);
    if (!w || w->MessageOnly) {
        return false;
    }
    const bool wasVisible = (w->Style & WS_VISIBLE) != 0;
    auto show = [&](bool activate) {
        if (!(Find(hwnd)->Style & WS_VISIBLE)) {
            Send(hwnd, WM_SHOWWINDOW, TRUE, 0);
            if (!IsWindow(hwnd)) {
                return;
            }
            SetWindowPos(hwnd, 0, 0, 0, 0, 0,
                         SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        const TWindow* shown = Find(hwnd);
        if (activate && shown && !shown->Parent && shown->State != TShowState::Minimized) {
            SetActiveWindow(hwnd);
        }
    };
    switch (cmd) {
    case SW_HIDE:
        if (!wasVisible) {
            return false;
        }
        Send(hwnd, WM_SHOWWINDOW, FALSE, 0);
        if (IsWindow(hwnd)) {
            SetWindowPos(hwnd, 0, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        if (w->State != TShowState::Minimized) {
            SetShowState(hwnd, TShowState::Minimized);
        }
        if (IsWindow(hwnd)) {
            show(false);
        }
        break;
    case SW_MAXIMIZE:
        if (w->State != TShowState::Maximized) {
            SetShowState(hwnd, TShowState::Maximized);
        }
        if (IsWindow(hwnd)) {
            show(true);
        }
        break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
        if (w->State != TShowState::Normal) {
            SetShowState(hwnd, (w->State == TShowState::Minimized && w->RestoreToMaximized)
                                   ? TShowState::Maximized
                                   : TShowState::Normal);
        }
        if (IsWindow(hwnd)) {
            show(true);
        }
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
        show(false);
        break;
    case SW_SHOW:
    default:
        show(true);
        break;
    }
    return wasVisible;
}

void TWindowSystem::SetShowState(HWND hwnd, TShowState state) {
    TWindow* w = Find(hwnd);
    if (!w || w->State == state) {
        return;
    }
    const TShowState old = w->State;
    if (old == TShowState::Normal) {
        w->NormalRect = w->Rect;
    }
    w->Style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
    const bool topLevel = !w->Parent;
    switch (state) {
    case TShowState::Minimized: {
        w->RestoreToMaximized = old == TShowState::Maximized;
        w->State = TShowState::Minimized;
        w->Style |= WS_MINIMIZE;
        if (topLevel) {
            m_backend->SetNativeWindowMinimized(hwnd, true);
        }
        if (m_active == hwnd || IsOwnedBy(m_active, hwnd)) {
            ActivateNextAfter(hwnd);
        }
        LoseCaptureWithin(hwnd);
        Send(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
        break;
    }
    case TShowState::Maximized: {
        w->State = TShowState::Maximized;
        w->Style |= WS_MAXIMIZE;
        if (old == TShowState::Minimized && topLevel) {
            m_backend->SetNativeWindowMinimized(hwnd, false);
        }
        const MINMAXINFO mmi = GetMinMaxInfo(hwnd);
        SetWindowPos(hwnd, 0, mmi.ptMaxPosition.X, mmi.ptMaxPosition.Y, mmi.ptMaxSize.X, mmi.ptMaxSize.Y,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        break;
    }
    case TShowState::Normal: {
        w->State = TShowState::Normal;
        w->RestoreToMaximized = false;
        if (old == TShowState::Minimized && topLevel) {
            m_backend->SetNativeWindowMinimized(hwnd, false);
        }
        const RECT r = w->NormalRect;
        SetWindowPos(hwnd, 0, r.Left, r.Top, r.Width(), r.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        break;
    }
    }
}

bool TWindowSystem::IsIconic(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    return w && w->State == TShowState::Minimized;
}

bool TWindowSystem::IsZoomed(HWND hwnd) const {
    const TWindow* w = Find(hwnd);
    return w && w->State == TShowState::Maximized;
}

bool TWindowSystem::GetWindowPlacement(HWND hwnd, WINDOWPLACEMENT& placement) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    placement.flags = w->RestoreToMaximized ? 2 : 0; // WPF_RESTORETOMAXIMIZED
    switch (w->State) {
    case TShowState::Minimized:
        placement.showCmd = SW_SHOWMINIMIZED;
        break;
    case TShowState::Maximized:
        placement.showCmd = SW_SHOWMAXIMIZED;
        break;
    case TShowState::Normal:
        placement.showCmd = SW_SHOWNORMAL;
        break;
    }
    placement.ptMinPosition = {};
    placement.ptMaxPosition = w->State == TShowState::Maximized ? w->Rect.TopLeft() : POINT{};
    placement.rcNormalPosition = w->State == TShowState::Normal ? w->Rect : w->NormalRect;
    return true;
}

bool TWindowSystem::SetWindowPlacement(HWND hwnd, const WINDOWPLACEMENT& placement) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    w->NormalRect = placement.rcNormalPosition;
    if (w->State == TShowState::Normal) {
        const RECT& r = placement.rcNormalPosition;
        SetWindowPos(hwnd, 0, r.Left, r.Top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (IsWindow(hwnd)) {
        ShowWindow(hwnd, static_cast<int>(placement.showCmd));
    }
    return true;
}
