#include "toolkit/graphics/Gdi.h"
#include "toolkit/windowing/ScrollBarGeometry.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

// The non-client area of the default procedure: a child's border (WS_BORDER, client and static
// edges) and the native scroll bars, which sit right against the client area. Top-level windows
// have no native frame at all: every pixel of their frame is the program's own. A procedure that
// wants a band of its own around the client area (a control's border width) shrinks the proposed
// rectangle before passing WM_NCCALCSIZE on, so the band lies outside the scroll bars.

namespace {

void Fill(TDeviceContext& dc, const TRect& r, TColor color) {
    TBrushData brush;
    brush.Style = BS_SOLID;
    brush.Pixel = ColorToPixel(color);
    dc.FillRect(r, brush);
}

// Two-colour frame one pixel wide: top and left in one colour, bottom and right in the other.
void Edge(TDeviceContext& dc, const TRect& r, TColor topLeft, TColor bottomRight) {
    if (r.IsEmpty()) {
        return;
    }
    Fill(dc, {r.Left, r.Top, r.Right - 1, r.Top + 1}, topLeft);
    Fill(dc, {r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topLeft);
    Fill(dc, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
    Fill(dc, {r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
}

} // namespace

int TWindowSystem::BorderWidth(const TWindow& w) const {
    if (!w.Parent) {
        return 0;
    }
    int border = 0;
    if (w.Style & WS_THICKFRAME) {
        border += GetSystemMetrics(SM_CXFRAME);
    } else if ((w.Style & WS_CAPTION) == WS_DLGFRAME) {
        border += GetSystemMetrics(SM_CXDLGFRAME);
    } else if (w.Style & WS_BORDER) {
        border += GetSystemMetrics(SM_CXBORDER);
    }
    if (w.ExStyle & WS_EX_CLIENTEDGE) {
        border += GetSystemMetrics(SM_CXEDGE);
    }
    if (w.ExStyle & WS_EX_STATICEDGE) {
        border += GetSystemMetrics(SM_CXBORDER);
    }
    return border;
}

RECT TWindowSystem::DefaultClientRect(HWND hwnd, const RECT& windowRect) const {
    const TWindow* w = Find(hwnd);
    if (!w) {
        return windowRect;
    }
    const int border = BorderWidth(*w);
    RECT r = windowRect;
    r.Left += border;
    r.Top += border;
    r.Right = std::max(r.Left, r.Right - border);
    r.Bottom = std::max(r.Top, r.Bottom - border);
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    // A bar that does not fit is not shown, as classic windows do.
    if ((w->Style & WS_VSCROLL) && r.Width() >= bar) {
        r.Right -= bar;
    }
    if ((w->Style & WS_HSCROLL) && r.Height() >= bar) {
        r.Bottom -= bar;
    }
    return r;
}

LRESULT TWindowSystem::DefaultHitTest(HWND hwnd, POINT screen) const {
    const TWindow* w = Find(hwnd);
    RECT window;
    if (!w || !GetWindowRect(hwnd, window) || !window.Contains(screen)) {
        return HTNOWHERE;
    }
    const POINT local{screen.X - window.Left, screen.Y - window.Top};
    if (w->Client.Contains(local)) {
        return HTCLIENT;
    }
    const TScrollBarGeometry vertical = ScrollBarGeometryOf(*w, SB_VERT, false);
    if (vertical.Present && vertical.Bar.Contains(local)) {
        return HTVSCROLL;
    }
    const TScrollBarGeometry horizontal = ScrollBarGeometryOf(*w, SB_HORZ, false);
    if (horizontal.Present && horizontal.Bar.Contains(local)) {
        return HTHSCROLL;
    }
    return HTBORDER;
}

void TWindowSystem::PaintNonClient(HWND hwnd) {
    const TWindow* w = Find(hwnd);
    if (!w || (w->Client == TRect{0, 0, w->Rect.Width(), w->Rect.Height()})) {
        return;
    }
    HDC dc = GetWindowDC(hwnd);
    if (!dc) {
        return;
    }
    dc->ExcludeClip(w->Client);
    TRect r{0, 0, w->Rect.Width(), w->Rect.Height()};
    if (w->Parent) {
        if (w->Style & WS_THICKFRAME) {
            for (int i = 0; i < GetSystemMetrics(SM_CXFRAME); ++i) {
                Edge(*dc, r, i == 1 ? clBtnHighlight : clBtnFace, i == 0 ? cl3DDkShadow : clBtnShadow);
                r = r.Inflate(-1, -1);
            }
        } else if ((w->Style & WS_CAPTION) == WS_DLGFRAME) {
            for (int i = 0; i < GetSystemMetrics(SM_CXDLGFRAME); ++i) {
                Edge(*dc, r, i == 1 ? clBtnHighlight : clBtnFace, i == 0 ? cl3DDkShadow : clBtnShadow);
                r = r.Inflate(-1, -1);
            }
        } else if (w->Style & WS_BORDER) {
            Edge(*dc, r, clWindowFrame, clWindowFrame);
            r = r.Inflate(-1, -1);
        }
        if (w->ExStyle & WS_EX_CLIENTEDGE) {
            Edge(*dc, r, clBtnShadow, clBtnHighlight);
            r = r.Inflate(-1, -1);
            Edge(*dc, r, cl3DDkShadow, cl3DLight);
            r = r.Inflate(-1, -1);
        }
        if (w->ExStyle & WS_EX_STATICEDGE) {
            Edge(*dc, r, clBtnShadow, clBtnHighlight);
            r = r.Inflate(-1, -1);
        }
    }
    DrawScrollBar(*dc, *w, SB_VERT);
    DrawScrollBar(*dc, *w, SB_HORZ);
    const TScrollBarGeometry vertical = ScrollBarGeometryOf(*w, SB_VERT, false);
    const TScrollBarGeometry horizontal = ScrollBarGeometryOf(*w, SB_HORZ, false);
    if (vertical.Present && horizontal.Present) {
        Fill(*dc, {vertical.Bar.Left, horizontal.Bar.Top, vertical.Bar.Right, horizontal.Bar.Bottom},
             clBtnFace);
    }
    ReleaseDC(hwnd, dc);
}
