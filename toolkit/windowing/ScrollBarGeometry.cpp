#include "toolkit/windowing/ScrollBarGeometry.h"

#include "toolkit/windowing/Messages.h"

#include <algorithm>
#include <cstdint>

bool IsScrollable(const TScrollBarState& s) {
    if (s.Max <= s.Min) {
        return false;
    }
    const std::int64_t range = static_cast<std::int64_t>(s.Max) - s.Min + 1;
    return static_cast<std::int64_t>(s.Page) < range;
}

int MaxScrollPos(const TScrollBarState& s) {
    const std::int64_t maxPos =
        static_cast<std::int64_t>(s.Max) - std::max<std::int64_t>(static_cast<std::int64_t>(s.Page) - 1, 0);
    return static_cast<int>(std::max<std::int64_t>(maxPos, s.Min));
}

TScrollBarGeometry ComputeScrollBarGeometry(const TWindow& w, int bar, int thickness, bool windowEnabled,
                                            std::optional<int> trackPos) {
    TScrollBarGeometry g;
    g.Vertical = bar == SB_VERT;
    const DWORD style = g.Vertical ? WS_VSCROLL : WS_HSCROLL;
    const int width = w.Rect.Width();
    const int height = w.Rect.Height();
    if (!(w.Style & style)) {
        return g;
    }
    // The bars sit against the client area, where the default WM_NCCALCSIZE left room for them.
    if (g.Vertical) {
        g.Bar = {w.Client.Right, w.Client.Top, w.Client.Right + thickness, w.Client.Bottom};
        g.Present = g.Bar.Right <= width && !g.Bar.IsEmpty();
    } else {
        g.Bar = {w.Client.Left, w.Client.Bottom, w.Client.Right, w.Client.Bottom + thickness};
        g.Present = g.Bar.Bottom <= height && !g.Bar.IsEmpty();
    }
    if (!g.Present) {
        g.Bar = {};
        return g;
    }
    const TScrollBarState& s = g.Vertical ? w.VScroll : w.HScroll;
    g.Length = g.Vertical ? g.Bar.Height() : g.Bar.Width();
    g.Arrow = std::min(thickness, g.Length / 2);
    g.TrackLength = std::max(g.Length - 2 * g.Arrow, 0);
    g.Unavailable =
        !windowEnabled || s.DisabledArrows == ESB_DISABLE_BOTH || (s.DisableNoScroll && !IsScrollable(s));
    if (g.Unavailable || !IsScrollable(s)) {
        return g;
    }
    const std::int64_t range = static_cast<std::int64_t>(s.Max) - s.Min + 1;
    int thumb = thickness;
    if (s.Page > 0) {
        thumb = static_cast<int>(std::max<std::int64_t>(
            g.TrackLength * static_cast<std::int64_t>(s.Page) / range, kMinScrollThumb));
    }
    if (thumb > g.TrackLength) {
        return g;
    }
    const int maxPos = MaxScrollPos(s);
    const int pos = std::clamp(trackPos.value_or(s.Pos), s.Min, maxPos);
    const std::int64_t travel = g.TrackLength - thumb;
    const std::int64_t span = static_cast<std::int64_t>(maxPos) - s.Min;
    g.HasThumb = true;
    g.ThumbStart =
        g.Arrow + static_cast<int>(span > 0 ? travel * (static_cast<std::int64_t>(pos) - s.Min) / span : 0);
    g.ThumbEnd = g.ThumbStart + thumb;
    return g;
}

int ScrollPosFromThumb(const TScrollBarState& s, const TScrollBarGeometry& g, int thumbStart) {
    const int thumb = g.ThumbEnd - g.ThumbStart;
    const std::int64_t travel = g.TrackLength - thumb;
    const int maxPos = MaxScrollPos(s);
    if (travel <= 0 || !g.HasThumb) {
        return s.Min;
    }
    const std::int64_t pixel = std::clamp<std::int64_t>(thumbStart - g.Arrow, 0, travel);
    const std::int64_t span = static_cast<std::int64_t>(maxPos) - s.Min;
    // Rounded to the nearest position, so that dragging back to a pixel gives back its position.
    return static_cast<int>(s.Min + (pixel * span + travel / 2) / travel);
}

int TScrollBarGeometry::PartAt(POINT p) const {
    if (!Present || !Bar.Contains(p)) {
        return kScrollNone;
    }
    const int a = Along(p);
    if (a < Arrow) {
        return kScrollArrow1;
    }
    if (a >= Length - Arrow) {
        return kScrollArrow2;
    }
    if (!HasThumb) {
        return kScrollNone;
    }
    if (a < ThumbStart) {
        return kScrollPage1;
    }
    if (a < ThumbEnd) {
        return kScrollThumb;
    }
    return kScrollPage2;
}

RECT TScrollBarGeometry::PartRect(int part) const {
    if (!Present) {
        return {};
    }
    int from = 0;
    int to = 0;
    switch (part) {
    case kScrollArrow1:
        from = 0;
        to = Arrow;
        break;
    case kScrollArrow2:
        from = Length - Arrow;
        to = Length;
        break;
    case kScrollPage1:
        from = Arrow;
        to = HasThumb ? ThumbStart : Arrow;
        break;
    case kScrollThumb:
        from = HasThumb ? ThumbStart : 0;
        to = HasThumb ? ThumbEnd : 0;
        break;
    case kScrollPage2:
        from = HasThumb ? ThumbEnd : Length - Arrow;
        to = Length - Arrow;
        break;
    default:
        return {};
    }
    if (to <= from) {
        return {};
    }
    return Vertical ? RECT{Bar.Left, Bar.Top + from, Bar.Right, Bar.Top + to}
                    : RECT{Bar.Left + from, Bar.Top, Bar.Left + to, Bar.Bottom};
}
