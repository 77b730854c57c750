#include "toolkit/controls/Control.h"
#include "toolkit/controls/ActionList.h"
#include "toolkit/controls/WinControl.h"

#include <algorithm>

// The messages of TControl: routing (WndProc, Dispatch, DefaultHandler), the mouse with its
// events in the classic order, and the component messages that tell a control of changes.

namespace {

TPoint MessagePoint(const TMessage& message) {
    return LParamToPoint(message.LParam);
}

} // namespace

// ---- Messages ----------------------------------------------------------------------------------------

LRESULT TControl::Perform(UINT message, WPARAM wParam, LPARAM lParam) {
    TMessage m{message, wParam, lParam, 0};
    WndProc(m);
    return m.Result;
}

void TControl::WndProc(TMessage& message) {
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) {
        // Without csDoubleClicks, a quick second press is just another press.
        if (!m_controlStyle.Contains(csDoubleClicks)) {
            switch (message.Msg) {
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDBLCLK:
            case WM_MBUTTONDBLCLK:
                message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
                break;
            default:
                break;
            }
        }
        if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) {
            m_controlState.Include(csLButtonDown);
        } else if (message.Msg == WM_LBUTTONUP) {
            m_controlState.Exclude(csLButtonDown);
        }
    }
    Dispatch(message);
}

void TControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
        WMLButtonDown(message);
        break;
    case WM_LBUTTONUP:
        WMLButtonUp(message);
        break;
    case WM_LBUTTONDBLCLK:
        WMLButtonDblClk(message);
        break;
    case WM_RBUTTONDOWN:
        WMRButtonDown(message);
        break;
    case WM_RBUTTONUP:
        WMRButtonUp(message);
        break;
    case WM_RBUTTONDBLCLK:
        WMRButtonDblClk(message);
        break;
    case WM_MBUTTONDOWN:
        WMMButtonDown(message);
        break;
    case WM_MBUTTONUP:
        WMMButtonUp(message);
        break;
    case WM_MBUTTONDBLCLK:
        WMMButtonDblClk(message);
        break;
    case WM_MOUSEMOVE:
        WMMouseMove(message);
        break;
    case WM_CONTEXTMENU:
        WMContextMenu(message);
        break;
    case WM_CANCELMODE:
        WMCancelMode(message);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(message);
        break;
    case CM_VISIBLECHANGED:
        CMVisibleChanged(message);
        break;
    case CM_FONTCHANGED:
        CMFontChanged(message);
        break;
    case CM_COLORCHANGED:
        CMColorChanged(message);
        break;
    case CM_PARENTFONTCHANGED:
        CMParentFontChanged(message);
        break;
    case CM_PARENTCOLORCHANGED:
        CMParentColorChanged(message);
        break;
    case CM_PARENTSHOWHINTCHANGED:
        CMParentShowHintChanged(message);
        break;
    case CM_TEXTCHANGED:
        CMTextChanged(message);
        break;
    case CM_MOUSEENTER:
        CMMouseEnter(message);
        break;
    case CM_MOUSELEAVE:
        CMMouseLeave(message);
        break;
    case CM_HITTEST:
        CMHitTest(message);
        break;
    case CM_CURSORCHANGED:
        CMCursorChanged(message);
        break;
    default:
        DefaultHandler(message);
        break;
    }
}

void TControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case WM_GETTEXTLENGTH:
        message.Result = static_cast<LRESULT>(m_text.size());
        break;
    case WM_GETTEXT: {
        char* buffer = reinterpret_cast<char*>(message.LParam);
        if (!buffer || message.WParam == 0) {
            message.Result = 0;
            break;
        }
        const std::size_t n = std::min<std::size_t>(m_text.size(), message.WParam - 1);
        std::copy_n(m_text.data(), n, buffer);
        buffer[n] = '\0';
        message.Result = static_cast<LRESULT>(n);
        break;
    }
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(message.LParam);
        m_text = text ? text : "";
        message.Result = TRUE;
        break;
    }
    default:
        break;
    }
}

// ---- Mouse -------------------------------------------------------------------------------------------

void TControl::DoMouseDown(TMessage& message, TMouseButton button, TShiftState extra) {
    if (m_controlStyle.Contains(csNoStdEvents)) {
        return;
    }
    const TPoint p = MessagePoint(message);
    MouseDown(button, KeysToShiftState(message.WParam) + extra, p.X, p.Y);
}

void TControl::DoMouseUp(TMessage& message, TMouseButton button) {
    if (m_controlStyle.Contains(csNoStdEvents)) {
        return;
    }
    const TPoint p = MessagePoint(message);
    MouseUp(button, KeysToShiftState(message.WParam), p.X, p.Y);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) {
        OnMouseDown(this, button, shift, x, y);
    }
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) {
        OnMouseMove(this, shift, x, y);
    }
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) {
        OnMouseUp(this, button, shift, x, y);
    }
}

void TControl::Click() {
    if (OnClick) {
        OnClick(this);
    } else if (m_actionLink && !IsDesigning()) {
        m_actionLink->Execute(this);
    }
}

void TControl::DblClick() {
    if (OnDblClick) {
        OnDblClick(this);
    }
}

void TControl::WMLButtonDown(TMessage& message) {
    DefaultHandler(message);
    if (m_controlStyle.Contains(csCaptureMouse)) {
        SetMouseCapture(true);
    }
    if (m_controlStyle.Contains(csClickEvents)) {
        m_controlState.Include(csClicked);
    }
    DoMouseDown(message, mbLeft, {});
}

void TControl::WMLButtonDblClk(TMessage& message) {
    DefaultHandler(message);
    if (m_controlStyle.Contains(csCaptureMouse)) {
        SetMouseCapture(true);
    }
    auto alive = AliveToken();
    if (m_controlStyle.Contains(csClickEvents)) {
        DblClick();
        if (alive.expired()) {
            return;
        }
    }
    DoMouseDown(message, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& message) {
    DefaultHandler(message);
    auto alive = AliveToken();
    if (m_controlStyle.Contains(csCaptureMouse)) {
        SetMouseCapture(false);
    }
    if (m_controlState.Contains(csClicked)) {
        m_controlState.Exclude(csClicked);
        if (ClientRect().Contains(MessagePoint(message))) {
            Click();
            if (alive.expired()) {
                return;
            }
        }
    }
    DoMouseUp(message, mbLeft);
}

void TControl::WMRButtonDown(TMessage& message) {
    DefaultHandler(message);
    DoMouseDown(message, mbRight, {});
}

void TControl::WMRButtonUp(TMessage& message) {
    DefaultHandler(message);
    DoMouseUp(message, mbRight);
}

void TControl::WMRButtonDblClk(TMessage& message) {
    DefaultHandler(message);
    DoMouseDown(message, mbRight, {ssDouble});
}

void TControl::WMMButtonDown(TMessage& message) {
    DefaultHandler(message);
    DoMouseDown(message, mbMiddle, {});
}

void TControl::WMMButtonUp(TMessage& message) {
    DefaultHandler(message);
    DoMouseUp(message, mbMiddle);
}

void TControl::WMMButtonDblClk(TMessage& message) {
    DefaultHandler(message);
    DoMouseDown(message, mbMiddle, {ssDouble});
}

void TControl::WMMouseMove(TMessage& message) {
    DefaultHandler(message);
    if (m_controlStyle.Contains(csNoStdEvents)) {
        return;
    }
    const TPoint p = MessagePoint(message);
    MouseMove(KeysToShiftState(message.WParam), p.X, p.Y);
}

void TControl::WMContextMenu(TMessage& message) {
    TPoint screen = MessagePoint(message);
    TPoint local;
    if (screen.X == -1 && screen.Y == -1) {
        // From the keyboard: the middle of the control.
        local = {m_width / 2, m_height / 2};
    } else {
        local = ScreenToClient(screen);
    }
    bool handled = false;
    if (OnContextPopup && !IsLoading()) {
        OnContextPopup(this, local, handled);
    }
    if (handled) {
        message.Result = 1;
        return;
    }
    DefaultHandler(message);
}

void TControl::WMCancelMode(TMessage& message) {
    DefaultHandler(message);
    if (MouseCapture()) {
        SetMouseCapture(false);
        if (m_controlState.Contains(csLButtonDown)) {
            // A release far outside: the press ends without a click.
            Perform(WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
        }
    }
}

// ---- Component messages ------------------------------------------------------------------------------

void TControl::CMEnabledChanged(TMessage& /*message*/) {
    Invalidate();
}

void TControl::CMVisibleChanged(TMessage& /*message*/) {
    InvalidateControl(true, m_visible && m_controlStyle.Contains(csOpaque));
}

void TControl::CMFontChanged(TMessage& /*message*/) {
    Invalidate();
}

void TControl::CMColorChanged(TMessage& /*message*/) {
    Invalidate();
}

void TControl::CMParentFontChanged(TMessage& /*message*/) {
    if (!m_parentFont || !m_parent) {
        return;
    }
    m_fontFromParent = true;
    m_font->Assign(m_parent->Font());
    m_fontFromParent = false;
}

void TControl::CMParentColorChanged(TMessage& /*message*/) {
    if (!m_parentColor || !m_parent) {
        return;
    }
    SetColor(m_parent->Color());
    m_parentColor = true;
}

void TControl::CMParentShowHintChanged(TMessage& /*message*/) {
    if (!m_parentShowHint || !m_parent) {
        return;
    }
    SetShowHint(m_parent->ShowHint());
    m_parentShowHint = true;
}

void TControl::CMTextChanged(TMessage& /*message*/) {}

void TControl::CMMouseEnter(TMessage& /*message*/) {}

void TControl::CMMouseLeave(TMessage& /*message*/) {}

void TControl::CMHitTest(TMessage& message) {
    message.Result = HTCLIENT;
}

void TControl::CMCursorChanged(TMessage& /*message*/) {
    if (MouseControl() != this) {
        return;
    }
    // The pointer rests on this control: show the new shape now, not at the next move.
    POINT p;
    ::GetCursorPos(&p);
    const HWND under = ::WindowFromPoint(p);
    if (under) {
        ::SendMessage(under, WM_SETCURSOR, under, MAKELPARAM(HTCLIENT, static_cast<int>(WM_MOUSEMOVE)));
    }
}
