#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

// Native scroll bars in the non-client area: their numbers (Set/GetScrollInfo), their state as
// the classic accessibility record reports it, their look, and operating them with the mouse.
// The default procedure only reports what the user does (WM_VSCROLL / WM_HSCROLL with SB_ codes);
// moving the position is the window's own business, as classic windows do it.

namespace {

// The loop's own timer on the window; the loop consumes its WM_TIMERs, so no procedure sees them.
constexpr UINT_PTR kScrollRepeatTimer = 0xFFFA;
constexpr int kFirstRepeatMs = 200;
constexpr int kRepeatMs = 50;

TScrollBarState& StateOf(TWindow& w, int bar) {
    return bar == SB_VERT ? w.VScroll : w.HScroll;
}
const TScrollBarState& StateOf(const TWindow& w, int bar) {
    return bar == SB_VERT ? w.VScroll : w.HScroll;
}

void Fill(TDeviceContext& dc, const TRect& r, TColor color) {
    if (r.IsEmpty()) {
        return;
    }
    TBrushData brush;
    brush.Style = BS_SOLID;
    brush.Pixel = ColorToPixel(color);
    dc.FillRect(r, brush);
}

void Edge(TDeviceContext& dc, const TRect& r, TColor topLeft, TColor bottomRight) {
    if (r.Width() < 2 || r.Height() < 2) {
        return;
    }
    Fill(dc, {r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft);
    Fill(dc, {r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topLeft);
    Fill(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
    Fill(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
}

void ButtonFace(TDeviceContext& dc, const TRect& r, bool pressed) {
    Fill(dc, r, clBtnFace);
    if (pressed) {
        Edge(dc, r, clBtnShadow, clBtnShadow);
    } else {
        Edge(dc, r, cl3DLight, cl3DDkShadow);
        Edge(dc, r.Inflate(-1, -1), clBtnHighlight, clBtnShadow);
    }
}

enum class TArrow { Up, Down, Left, Right };

void ArrowGlyph(TDeviceContext& dc, const TRect& r, TArrow direction, bool disabled, bool pressed) {
    const int size = std::min(r.Width(), r.Height());
    const int rows = std::max(1, (size - 5) / 3);
    const int shift = pressed ? 1 : 0;
    const int cx = r.Left + r.Width() / 2 + shift;
    const int cy = r.Top + r.Height() / 2 + shift;
    const TColor color = disabled ? clGrayText : clBtnText;
    for (int i = 0; i < rows; ++i) {
        // Row i of the triangle counted from its point is 2i + 1 pixels long.
        const int offset = i - rows / 2;
        switch (direction) {
        case TArrow::Up:
            Fill(dc, {cx - i, cy + offset, cx + i + 1, cy + offset + 1}, color);
            break;
        case TArrow::Down:
            Fill(dc, {cx - i, cy - offset, cx + i + 1, cy - offset + 1}, color);
            break;
        case TArrow::Left:
            Fill(dc, {cx + offset, cy - i, cx + offset + 1, cy + i + 1}, color);
            break;
        case TArrow::Right:
            Fill(dc, {cx - offset, cy - i, cx - offset + 1, cy + i + 1}, color);
            break;
        }
    }
}

} // namespace

// ---- State --------------------------------------------------------------------------------------------

TScrollBarGeometry TWindowSystem::ScrollBarGeometryOf(const TWindow& w, int bar, bool useTrackPos) const {
    std::optional<int> trackPos;
    if (useTrackPos && m_scrollTracking.Window == w.Handle && m_scrollTracking.Bar == bar &&
        m_scrollTracking.Dragging) {
        trackPos = StateOf(w, bar).TrackPos;
    }
    return ComputeScrollBarGeometry(w, bar, GetSystemMetrics(SM_CXVSCROLL), IsEnabledTree(w.Handle),
                                    trackPos);
}

int TWindowSystem::SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw) {
    TWindow* w = Find(hwnd);
    if (!w || (bar != SB_VERT && bar != SB_HORZ) || info.cbSize < sizeof(SCROLLINFO)) {
        return 0;
    }
    TScrollBarState& s = StateOf(*w, bar);
    if (info.fMask & SIF_RANGE) {
        s.Min = info.nMin;
        s.Max = std::max(info.nMax, info.nMin);
    }
    if (info.fMask & SIF_PAGE) {
        s.Page = info.nPage;
    }
    if (info.fMask & SIF_POS) {
        s.Pos = info.nPos;
    }
    const std::int64_t range = static_cast<std::int64_t>(s.Max) - s.Min + 1;
    if (static_cast<std::int64_t>(s.Page) > range) {
        s.Page = static_cast<UINT>(range);
    }
    s.Pos = std::clamp(s.Pos, s.Min, MaxScrollPos(s));
    const int pos = s.Pos;
    if (info.fMask & (SIF_RANGE | SIF_PAGE)) {
        // A bar with nothing to scroll goes away, unless it was asked to stay, disabled.
        s.DisableNoScroll = (info.fMask & SIF_DISABLENOSCROLL) != 0;
        const bool show = IsScrollable(s) || s.DisableNoScroll;
        const DWORD bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
        if (show != ((w->Style & bit) != 0)) {
            ShowScrollBar(hwnd, bar, show);
            return pos;
        }
    }
    if (redraw) {
        RedrawNonClient(hwnd);
    }
    return pos;
}

bool TWindowSystem::GetScrollInfo(HWND hwnd, int bar, SCROLLINFO& info) const {
    const TWindow* w = Find(hwnd);
    if (!w || (bar != SB_VERT && bar != SB_HORZ) || info.cbSize < sizeof(SCROLLINFO)) {
        return false;
    }
    const TScrollBarState& s = StateOf(*w, bar);
    const bool dragging =
        m_scrollTracking.Window == hwnd && m_scrollTracking.Bar == bar && m_scrollTracking.Dragging;
    if (info.fMask & SIF_RANGE) {
        info.nMin = s.Min;
        info.nMax = s.Max;
    }
    if (info.fMask & SIF_PAGE) {
        info.nPage = s.Page;
    }
    if (info.fMask & SIF_POS) {
        info.nPos = s.Pos;
    }
    if (info.fMask & SIF_TRACKPOS) {
        info.nTrackPos = dragging ? s.TrackPos : s.Pos;
    }
    return true;
}

bool TWindowSystem::GetScrollBarInfo(HWND hwnd, LONG object, SCROLLBARINFO& info) const {
    const TWindow* w = Find(hwnd);
    if (!w || info.cbSize != sizeof(SCROLLBARINFO) || (object != OBJID_VSCROLL && object != OBJID_HSCROLL)) {
        return false;
    }
    const int bar = object == OBJID_VSCROLL ? SB_VERT : SB_HORZ;
    const TScrollBarGeometry g = ScrollBarGeometryOf(*w, bar, true);
    const TScrollBarState& s = StateOf(*w, bar);
    const POINT origin = WindowOrigin(hwnd);
    info.rcScrollBar = g.Present ? g.Bar.Offset(origin.X, origin.Y) : RECT{};
    info.dxyLineButton = g.Arrow;
    info.xyThumbTop = g.HasThumb ? g.ThumbStart : 0;
    info.xyThumbBottom = g.HasThumb ? g.ThumbEnd : 0;
    info.reserved = 0;
    const bool tracking = m_scrollTracking.Window == hwnd && m_scrollTracking.Bar == bar;
    DWORD barState = 0;
    if (!g.Present) {
        barState = STATE_SYSTEM_INVISIBLE;
    } else if (g.Unavailable) {
        barState = STATE_SYSTEM_UNAVAILABLE;
    }
    info.rgstate[0] = barState;
    for (int part = kScrollArrow1; part <= kScrollArrow2; ++part) {
        DWORD state = barState;
        if (!state) {
            if (part == kScrollArrow1 && (s.DisabledArrows & ESB_DISABLE_LTUP)) {
                state = STATE_SYSTEM_UNAVAILABLE;
            } else if (part == kScrollArrow2 && (s.DisabledArrows & ESB_DISABLE_RTDN)) {
                state = STATE_SYSTEM_UNAVAILABLE;
            } else if (g.PartRect(part).IsEmpty()) {
                state = STATE_SYSTEM_INVISIBLE;
            }
            if (tracking && m_scrollTracking.Part == part) {
                state |= STATE_SYSTEM_PRESSED;
            }
        }
        info.rgstate[part] = state;
    }
    return true;
}

bool TWindowSystem::ShowScrollBar(HWND hwnd, int bar, bool show) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    DWORD bits = 0;
    if (bar == SB_VERT || bar == SB_BOTH) {
        bits |= WS_VSCROLL;
    }
    if (bar == SB_HORZ || bar == SB_BOTH) {
        bits |= WS_HSCROLL;
    }
    const DWORD style = show ? (w->Style | bits) : (w->Style & ~bits);
    if (style == w->Style) {
        return true;
    }
    w->Style = style;
    SetWindowPos(hwnd, 0, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

bool TWindowSystem::EnableScrollBar(HWND hwnd, int bar, UINT arrows) {
    TWindow* w = Find(hwnd);
    if (!w) {
        return false;
    }
    bool changed = false;
    for (int b : {SB_HORZ, SB_VERT}) {
        if (bar == b || bar == SB_BOTH) {
            TScrollBarState& s = StateOf(*w, b);
            changed = changed || s.DisabledArrows != (arrows & ESB_DISABLE_BOTH);
            s.DisabledArrows = arrows & ESB_DISABLE_BOTH;
        }
    }
    if (changed) {
        RedrawNonClient(hwnd);
    }
    return changed;
}

// ---- Look ------------------------------------------------------------------------------------------------

void TWindowSystem::DrawScrollBar(TDeviceContext& dc, const TWindow& w, int bar) {
    const TScrollBarGeometry g = ScrollBarGeometryOf(w, bar, true);
    if (!g.Present) {
        return;
    }
    const TScrollBarState& s = StateOf(w, bar);
    const bool tracking = m_scrollTracking.Window == w.Handle && m_scrollTracking.Bar == bar;
    const int pressed = tracking ? m_scrollTracking.Part : kScrollNone;

    Fill(dc, g.Bar, clScrollBar);
    const TRect first = g.PartRect(kScrollArrow1);
    const TRect second = g.PartRect(kScrollArrow2);
    ButtonFace(dc, first, pressed == kScrollArrow1);
    ButtonFace(dc, second, pressed == kScrollArrow2);
    ArrowGlyph(dc, first, g.Vertical ? TArrow::Up : TArrow::Left,
               g.Unavailable || (s.DisabledArrows & ESB_DISABLE_LTUP), pressed == kScrollArrow1);
    ArrowGlyph(dc, second, g.Vertical ? TArrow::Down : TArrow::Right,
               g.Unavailable || (s.DisabledArrows & ESB_DISABLE_RTDN), pressed == kScrollArrow2);
    if (pressed == kScrollPage1 || pressed == kScrollPage2) {
        Fill(dc, g.PartRect(pressed), cl3DDkShadow);
    }
    if (g.HasThumb) {
        ButtonFace(dc, g.PartRect(kScrollThumb), false);
    }
}

// ---- Operating with the mouse
// ------------------------------------------------------------------------------

void TWindowSystem::TrackScrollBar(HWND hwnd, int bar, POINT screen) {
    const TWindow* w = Find(hwnd);
    if (!w || m_scrollTracking.Window) {
        return;
    }
    const POINT origin = WindowOrigin(hwnd);
    auto local = [&](POINT p) { return POINT{p.X - origin.X, p.Y - origin.Y}; };
    TScrollBarGeometry g = ScrollBarGeometryOf(*w, bar, false);
    const int part = g.PartAt(local(screen));
    const TScrollBarState& start = StateOf(*w, bar);
    if (part == kScrollNone || g.Unavailable ||
        (part == kScrollArrow1 && (start.DisabledArrows & ESB_DISABLE_LTUP)) ||
        (part == kScrollArrow2 && (start.DisabledArrows & ESB_DISABLE_RTDN))) {
        return;
    }
    const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    auto notify = [&](WORD code, int pos) {
        Send(hwnd, message, MAKEWPARAM(code, static_cast<WORD>(pos)), 0);
    };
    WORD code = SB_LINEUP;
    switch (part) {
    case kScrollArrow2:
        code = SB_LINEDOWN;
        break;
    case kScrollPage1:
        code = SB_PAGEUP;
        break;
    case kScrollPage2:
        code = SB_PAGEDOWN;
        break;
    default:
        break;
    }

    const bool dragging = part == kScrollThumb;
    const int grab = g.Along(local(screen)) - g.ThumbStart;
    m_scrollTracking = {hwnd, bar, part, dragging};
    StateOf(*Find(hwnd), bar).TrackPos = start.Pos;
    SetCapture(hwnd);
    RedrawNonClient(hwnd);
    if (!dragging) {
        notify(code, 0);
        SetTimer(hwnd, kScrollRepeatTimer, kFirstRepeatMs, nullptr);
    }

    POINT pointer = screen;
    MSG msg;
    bool finished = false;
    while (!finished) {
        if (!IsWindow(hwnd) || m_capture != hwnd) {
            break;
        }
        if (!Peek(msg, 0, 0, 0, PM_REMOVE)) {
            Wait();
            continue;
        }
        switch (msg.message) {
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
            pointer = msg.pt;
            if (dragging) {
                TWindow* now = Find(hwnd);
                g = ScrollBarGeometryOf(*now, bar, true);
                TScrollBarState& s = StateOf(*now, bar);
                const int pos = ScrollPosFromThumb(s, g, g.Along(local(pointer)) - grab);
                if (pos != s.TrackPos) {
                    s.TrackPos = pos;
                    RedrawNonClient(hwnd);
                    notify(SB_THUMBTRACK, pos);
                }
            }
            break;
        case WM_LBUTTONUP:
        case WM_NCLBUTTONUP:
            finished = true;
            break;
        case WM_TIMER:
            if (msg.hwnd == hwnd && msg.wParam == kScrollRepeatTimer) {
                // Repeats only while the pointer stays on the pressed part; a page press stops
                // once the thumb has come to the pointer.
                g = ScrollBarGeometryOf(*Find(hwnd), bar, false);
                if (g.PartAt(local(pointer)) == part) {
                    notify(code, 0);
                }
                SetTimer(hwnd, kScrollRepeatTimer, kRepeatMs, nullptr);
            } else {
                Dispatch(msg);
            }
            break;
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEWHEEL:
            break; // the pointer belongs to the scroll bar until the button comes up
        case WM_QUIT:
            PostQuit(static_cast<int>(msg.wParam));
            finished = true;
            break;
        default:
            Translate(msg);
            Dispatch(msg);
            break;
        }
    }

    KillTimer(hwnd, kScrollRepeatTimer);
    const int finalPos = IsWindow(hwnd) ? StateOf(*Find(hwnd), bar).TrackPos : 0;
    if (dragging) {
        // Still tracking: SIF_TRACKPOS answers the final position while this is handled.
        notify(SB_THUMBPOSITION, finalPos);
    }
    m_scrollTracking = {};
    notify(SB_ENDSCROLL, 0);
    if (m_capture == hwnd) {
        ReleaseCapture();
    }
    RedrawNonClient(hwnd);
}
