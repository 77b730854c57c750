#include "toolkit/controls/Form.h"

#include <algorithm>

// Auto-scroll: when the freely placed controls of a form reach past its client area, native
// scroll bars appear and scrolling moves the controls; when everything fits again they go.

namespace {

constexpr int kLineStep = 8; // pixels per arrow click

} // namespace

void TCustomForm::UpdateScrollRange() {
    if (!HandleAllocated() || m_updatingScroll || IsDestroying()) {
        return;
    }
    m_updatingScroll = true;
    const HWND handle = Handle();
    const auto style = static_cast<DWORD>(::GetWindowLongPtr(handle, GWL_STYLE));
    const bool hadH = (style & WS_HSCROLL) != 0;
    const bool hadV = (style & WS_VSCROLL) != 0;
    const int bar = ::GetSystemMetrics(SM_CXVSCROLL);
    // The extent of the freely placed controls as they would lie unscrolled.
    int right = 0;
    int bottom = 0;
    if (m_autoScroll && m_formStyle != fsMDIForm) {
        for (int i = 0; i < ControlCount(); ++i) {
            const TControl* c = Controls(i);
            if (c->Visible() && c->Align() == alNone) {
                right = std::max(right, c->Left() + c->Width() + m_scrollPos.X);
                bottom = std::max(bottom, c->Top() + c->Height() + m_scrollPos.Y);
            }
        }
    }
    RECT client;
    ::GetClientRect(handle, &client);
    const int fullWidth = client.Width() + (hadV ? bar : 0);
    const int fullHeight = client.Height() + (hadH ? bar : 0);
    bool needH = right > fullWidth;
    bool needV = bottom > fullHeight;
    if (needH && !needV) {
        needV = bottom > fullHeight - bar;
    }
    if (needV && !needH) {
        needH = right > fullWidth - bar;
    }
    const int viewWidth = fullWidth - (needV ? bar : 0);
    const int viewHeight = fullHeight - (needH ? bar : 0);
    const int x = needH ? std::clamp(m_scrollPos.X, 0, right - viewWidth) : 0;
    const int y = needV ? std::clamp(m_scrollPos.Y, 0, bottom - viewHeight) : 0;
    if (x != m_scrollPos.X || y != m_scrollPos.Y) {
        ScrollBy(m_scrollPos.X - x, m_scrollPos.Y - y);
        m_scrollPos = {x, y};
    }
    auto apply = [&](int which, bool need, int range, int page, int pos) {
        if (need) {
            SCROLLINFO si;
            si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            si.nMin = 0;
            si.nMax = range - 1;
            si.nPage = static_cast<UINT>(std::max(page, 0));
            si.nPos = pos;
            ::SetScrollInfo(handle, which, &si, TRUE);
        }
        ::ShowScrollBar(handle, which, need ? TRUE : FALSE);
    };
    if (needH != hadH || needH) {
        apply(SB_HORZ, needH, right, viewWidth, x);
    }
    if (needV != hadV || needV) {
        apply(SB_VERT, needV, bottom, viewHeight, y);
    }
    m_updatingScroll = false;
}

void TCustomForm::ScrollBy(int dx, int dy) {
    if (dx == 0 && dy == 0) {
        return;
    }
    // Moving the controls asks for alignment, which must not measure the range half way.
    const bool updating = m_updatingScroll;
    m_updatingScroll = true;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Align() == alNone) {
            ShiftControl(c, dx, dy);
        }
    }
    m_updatingScroll = updating;
    Invalidate();
}

void TCustomForm::ScrollMessage(int bar, WORD code) {
    if (!HandleAllocated()) {
        return;
    }
    const HWND handle = Handle();
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    if (!::GetScrollInfo(handle, bar, &si)) {
        return;
    }
    const int page = static_cast<int>(si.nPage);
    const int last = std::max(si.nMin, si.nMax - std::max(page, 1) + 1);
    int pos = si.nPos;
    switch (code) {
    case SB_LINEUP:
        pos -= kLineStep;
        break;
    case SB_LINEDOWN:
        pos += kLineStep;
        break;
    case SB_PAGEUP:
        pos -= page;
        break;
    case SB_PAGEDOWN:
        pos += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        pos = si.nTrackPos;
        break;
    case SB_TOP:
        pos = si.nMin;
        break;
    case SB_BOTTOM:
        pos = last;
        break;
    default:
        return;
    }
    pos = std::clamp(pos, si.nMin, last);
    int& current = bar == SB_HORZ ? m_scrollPos.X : m_scrollPos.Y;
    if (pos == current) {
        return;
    }
    const int delta = current - pos;
    current = pos;
    ScrollBy(bar == SB_HORZ ? delta : 0, bar == SB_VERT ? delta : 0);
    ::SetScrollPos(handle, bar, pos, TRUE);
}

void TCustomForm::WMHScroll(TMessage& message) {
    if (message.LParam == 0) {
        ScrollMessage(SB_HORZ, LOWORD(message.WParam));
        return;
    }
    DefaultHandler(message);
}

void TCustomForm::WMVScroll(TMessage& message) {
    if (message.LParam == 0) {
        ScrollMessage(SB_VERT, LOWORD(message.WParam));
        return;
    }
    DefaultHandler(message);
}
