#include "toolkit/controls/Form.h"
#include "toolkit/controls/Screen.h"
#include "toolkit/controls/WinControl.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

// Painting and the messages of TWinControl: the parent paints its windowless children, mouse
// messages over them are handed to them, the control under the pointer is announced, and each
// message goes to its named handler.

namespace {

// Finds the control under the pointer and announces it (CM_MOUSEENTER, CM_MOUSELEAVE). When the
// window system says the pointer left the window `left`, that window no longer counts even where
// the last known pointer position still lies in it (the pointer left the screen).
void UpdateMouseControl(HWND left = 0) {
    POINT p;
    if (!::GetCursorPos(&p)) {
        SetMouseControl(nullptr);
        return;
    }
    const HWND under = ::WindowFromPoint(p);
    if (left && under == left) {
        SetMouseControl(nullptr);
        return;
    }
    TWinControl* window = nullptr;
    for (HWND h = under; h && !window; h = ::GetParent(h)) {
        window = FindControl(h);
    }
    TControl* target = nullptr;
    if (window && TWindowSystem::Current()->IsEnabledTree(window->Handle())) {
        target = window->ControlAtPos(window->ScreenToClient(p), false);
        if (!target) {
            target = window;
        }
    }
    // While a control holds the mouse capture, the pointer is over that control or over none:
    // nothing else lights up under a press that started elsewhere.
    if (TControl* capture = GetCaptureControl(); capture && target != capture) {
        target = nullptr;
    }
    SetMouseControl(target);
}

bool IsButtonUp(UINT message) {
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

} // namespace

// ---- Painting ----------------------------------------------------------------------------------------

void TWinControl::Invalidate() {
    if (HandleAllocated()) {
        ::InvalidateRect(m_handle, nullptr, ControlStyle().Contains(csOpaque) ? FALSE : TRUE);
    }
}

void TWinControl::Update() {
    if (HandleAllocated()) {
        ::UpdateWindow(m_handle);
    }
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::PaintWindow(HDC /*dc*/) {}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    auto start = m_controls.begin();
    if (first) {
        start = std::find(m_controls.begin(), m_controls.end(), first);
        if (start == m_controls.end()) {
            start = m_controls.begin();
        }
    }
    const std::vector<TControl*> controls(start, m_controls.end());
    for (TControl* control : controls) {
        if (!control->Visible() || control->Parent() != this) {
            continue;
        }
        const TRect bounds = control->BoundsRect();
        if (!::RectVisible(dc, &bounds)) {
            continue;
        }
        const int saved = ::SaveDC(dc);
        ::OffsetViewportOrgEx(dc, bounds.Left, bounds.Top, nullptr);
        ::IntersectClipRect(dc, 0, 0, bounds.Width(), bounds.Height());
        control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        ::RestoreDC(dc, saved);
        if (control->ControlStyle().Contains(csFramed)) {
            // A sunken frame just outside the control, drawn by its parent.
            const TRect frame = bounds.Inflate(1, 1);
            ::FrameRect(dc, &frame, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
            const TRect shadow{frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1};
            ::FrameRect(dc, &shadow, ::GetSysColorBrush(COLOR_BTNSHADOW));
        }
    }
    // Windowed children ask for the same frame; what falls on the child itself is covered when
    // it paints, so the shadow shows above and left of it and the highlight below and right.
    if (first) {
        return;
    }
    for (TWinControl* control : m_winControls) {
        if (!control->Visible() || !control->ControlStyle().Contains(csFramed)) {
            continue;
        }
        const TRect bounds = control->BoundsRect();
        const TRect shadow{bounds.Left - 1, bounds.Top - 1, bounds.Right, bounds.Bottom};
        ::FrameRect(dc, &shadow, ::GetSysColorBrush(COLOR_BTNSHADOW));
        const TRect highlight{bounds.Left, bounds.Top, bounds.Right + 1, bounds.Bottom + 1};
        ::FrameRect(dc, &highlight, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    }
}

void TWinControl::PaintHandler(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    PAINTSTRUCT ps;
    if (!dc) {
        dc = ::BeginPaint(m_handle, &ps);
        if (!dc) {
            return;
        }
    }
    auto alive = AliveToken();
    {
        // Opaque windowless children cover their area, so the control does not paint under them.
        const int saved = ::SaveDC(dc);
        for (TControl* control : m_controls) {
            if (control->Visible() && control->ControlStyle().Contains(csOpaque)) {
                const TRect r = control->BoundsRect();
                ::ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
            }
        }
        PaintWindow(dc);
        if (alive.expired()) {
            return;
        }
        ::RestoreDC(dc, saved);
    }
    PaintControls(dc, nullptr);
    if (!message.WParam && !alive.expired()) {
        ::EndPaint(m_handle, &ps);
    }
}

// ---- Messages ----------------------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this); form && !form->SetFocusedControl(this)) {
            return;
        }
        break;
    case WM_KILLFOCUS:
        if (ControlState().Contains(csFocusing)) {
            return;
        }
        break;
    case WM_NCHITTEST:
        TControl::WndProc(message);
        // A transparent spot over a windowless child still belongs to that child.
        if (message.Result == HTTRANSPARENT &&
            ControlAtPos(ScreenToClient(LParamToPoint(message.LParam)), false) != nullptr) {
            message.Result = HTCLIENT;
        }
        return;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE: {
        // The leave may reach this very control, whose handler may free it.
        auto alive = AliveToken();
        UpdateMouseControl(m_handle);
        if (alive.expired()) {
            return;
        }
        break;
    }
    case WM_NCMOUSEMOVE: {
        TRACKMOUSEEVENT tme;
        tme.dwFlags = TME_LEAVE | TME_NONCLIENT;
        tme.hwndTrack = m_handle;
        ::TrackMouseEvent(&tme);
        auto alive = AliveToken();
        UpdateMouseControl();
        if (alive.expired()) {
            return;
        }
        break;
    }
    default:
        break;
    }
    if (message.Msg == WM_LBUTTONDOWN || message.Msg == WM_RBUTTONDOWN || message.Msg == WM_MBUTTONDOWN ||
        message.Msg == WM_NCLBUTTONDOWN) {
        // A press inside an MDI child makes it the active child.
        TCustomForm* form = GetParentForm(this);
        if (form && form->FormStyle() == fsMDIChild && form->HandleAllocated()) {
            if (const HWND client = ::GetParent(form->Handle()); client && FindControl(client) == nullptr) {
                ::SendMessage(client, WM_MDIACTIVATE, form->Handle(), 0);
            }
        }
    }
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST) {
        auto alive = AliveToken();
        if (message.Msg == WM_MOUSEMOVE && HandleAllocated()) {
            TRACKMOUSEEVENT tme;
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = m_handle;
            ::TrackMouseEvent(&tme);
        }
        if (message.Msg != WM_MOUSEWHEEL) {
            UpdateMouseControl();
            if (alive.expired()) {
                return;
            }
        }
        if (IsControlMouseMsg(message)) {
            if (!alive.expired() && message.Result == 0 && HandleAllocated()) {
                ::DefWindowProc(m_handle, message.Msg, message.WParam, message.LParam);
            }
        } else {
            TControl::WndProc(message);
        }
        // A release that ended a capture: the control under the pointer is announced now rather
        // than at the next move.
        if (IsButtonUp(message.Msg) && !alive.expired() && !GetCaptureControl()) {
            UpdateMouseControl();
        }
        return;
    }
    TControl::WndProc(message);
}

bool TWinControl::IsControlMouseMsg(TMessage& message) {
    if (message.Msg == WM_MOUSEWHEEL) {
        return false;
    }
    TControl* control = nullptr;
    if (HandleAllocated() && ::GetCapture() == m_handle) {
        TControl* capture = GetCaptureControl();
        if (capture && capture != this && capture->Parent() == this) {
            control = capture;
        }
    } else {
        control = ControlAtPos(LParamToPoint(message.LParam), false);
    }
    if (!control) {
        return false;
    }
    const TPoint p = LParamToPoint(message.LParam);
    message.Result = control->Perform(message.Msg, message.WParam,
                                      MAKELPARAM(p.X - control->Left(), p.Y - control->Top()));
    return true;
}

void TWinControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT:
        WMPaint(message);
        break;
    case WM_ERASEBKGND:
        WMEraseBkgnd(message);
        break;
    case WM_SETFOCUS:
        WMSetFocus(message);
        break;
    case WM_KILLFOCUS:
        WMKillFocus(message);
        break;
    case WM_KEYDOWN:
        WMKeyDown(message);
        break;
    case WM_KEYUP:
        WMKeyUp(message);
        break;
    case WM_SYSKEYDOWN:
        WMSysKeyDown(message);
        break;
    case WM_SYSKEYUP:
        WMSysKeyUp(message);
        break;
    case WM_CHAR:
        WMChar(message);
        break;
    case WM_GETDLGCODE:
        WMGetDlgCode(message);
        break;
    case WM_SIZE:
        WMSize(message);
        break;
    case WM_MOVE:
        WMMove(message);
        break;
    case WM_WINDOWPOSCHANGED:
        WMWindowPosChanged(message);
        break;
    case WM_SETCURSOR:
        WMSetCursor(message);
        break;
    case WM_NCCALCSIZE:
        WMNCCalcSize(message);
        break;
    case WM_NCPAINT:
        WMNCPaint(message);
        break;
    case WM_NCDESTROY:
        WMNCDestroy(message);
        break;
    case WM_SETTEXT:
        WMSetText(message);
        break;
    case WM_CUT:
        WMCut(message);
        break;
    case WM_PASTE:
        WMPaste(message);
        break;
    case WM_CLEAR:
        WMClear(message);
        break;
    case WM_UNDO:
        WMUndo(message);
        break;
    case WM_MOUSEWHEEL:
        WMMouseWheel(message);
        break;
    case WM_HSCROLL:
        WMHScroll(message);
        break;
    case WM_VSCROLL:
        WMVScroll(message);
        break;
    case CN_KEYDOWN:
        CNKeyDown(message);
        break;
    case CN_KEYUP:
        CNKeyUp(message);
        break;
    case CN_CHAR:
        CNChar(message);
        break;
    case CN_SYSKEYDOWN:
        CNSysKeyDown(message);
        break;
    case CN_SYSCHAR:
        CNSysChar(message);
        break;
    case CM_DIALOGKEY:
        CMDialogKey(message);
        break;
    case CM_DIALOGCHAR:
        CMDialogChar(message);
        break;
    case CM_FOCUSCHANGED:
        CMFocusChanged(message);
        break;
    case CM_ENTER:
        CMEnter(message);
        break;
    case CM_EXIT:
        CMExit(message);
        break;
    case CM_CHILDKEY:
        CMChildKey(message);
        break;
    case CM_WANTSPECIALKEY:
        CMWantSpecialKey(message);
        break;
    case CM_SHOWINGCHANGED:
        CMShowingChanged(message);
        break;
    case CM_BORDERCHANGED:
        CMBorderChanged(message);
        break;
    case CM_TABSTOPCHANGED:
        CMTabStopChanged(message);
        break;
    case CM_SHOWHINTCHANGED:
        // Children that take ShowHint from their parent follow it.
        NotifyControls(CM_PARENTSHOWHINTCHANGED);
        break;
    default:
        TControl::Dispatch(message);
        break;
    }
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (HandleAllocated()) {
        message.Result =
            ::CallWindowProc(m_defWndProc, m_handle, message.Msg, message.WParam, message.LParam);
        return;
    }
    TControl::DefaultHandler(message);
}

void TWinControl::WMPaint(TMessage& message) {
    PaintHandler(message);
}

void TWinControl::WMEraseBkgnd(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    const TRect client{0, 0, ClientWidth(), ClientHeight()};
    ::FillRect(dc, &client, m_brush.Handle());
    message.Result = 1;
}

void TWinControl::WMSize(TMessage& message) {
    UpdateBounds();
    DefaultHandler(message);
    Realign();
    if (!IsLoading()) {
        Resize();
    }
}

void TWinControl::WMMove(TMessage& message) {
    DefaultHandler(message);
    UpdateBounds();
}

void TWinControl::WMWindowPosChanged(TMessage& message) {
    if (!ControlState().Contains(csDestroyingHandle)) {
        UpdateBounds();
    }
    DefaultHandler(message);
}

void TWinControl::WMSetCursor(TMessage& message) {
    const HWND cursorWindow = static_cast<HWND>(message.WParam);
    const int hit = static_cast<SHORT>(LOWORD(static_cast<std::uintptr_t>(message.LParam)));
    if (cursorWindow == m_handle && hit == HTCLIENT) {
        TCursor cursor = Screen->Cursor();
        if (cursor == crDefault) {
            POINT p;
            ::GetCursorPos(&p);
            if (TControl* control = ControlAtPos(ScreenToClient(p), false)) {
                cursor = control->Cursor();
            }
            if (cursor == crDefault) {
                cursor = Cursor();
            }
        }
        if (cursor != crDefault) {
            ::SetCursor(CursorHandle(cursor));
            message.Result = 1;
            return;
        }
    }
    DefaultHandler(message);
}

void TWinControl::WMNCCalcSize(TMessage& message) {
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam);
    if (params && m_borderWidth > 0) {
        // The band goes outside everything the default frame places, scroll bars included.
        RECT& r = params->rgrc[0];
        r.Left += m_borderWidth;
        r.Top += m_borderWidth;
        r.Right = std::max(r.Left, r.Right - m_borderWidth);
        r.Bottom = std::max(r.Top, r.Bottom - m_borderWidth);
    }
    DefaultHandler(message);
}

void TWinControl::WMNCPaint(TMessage& message) {
    if (m_borderWidth > 0 && HandleAllocated()) {
        RECT window;
        RECT client;
        ::GetWindowRect(m_handle, &window);
        ::GetClientRect(m_handle, &client);
        POINT origin{0, 0};
        ::ClientToScreen(m_handle, &origin);
        const TRect clientInWindow = client.Offset(origin.X - window.Left, origin.Y - window.Top);
        if (HDC dc = ::GetWindowDC(m_handle)) {
            ::ExcludeClipRect(dc, clientInWindow.Left, clientInWindow.Top, clientInWindow.Right,
                              clientInWindow.Bottom);
            const TRect all{0, 0, window.Width(), window.Height()};
            ::FillRect(dc, &all, m_brush.Handle());
            ::ReleaseDC(m_handle, dc);
        }
    }
    // The default draws the edges and scroll bars over the band.
    DefaultHandler(message);
}

void TWinControl::WMNCDestroy(TMessage& message) {
    DefaultHandler(message);
    DetachHandle();
}

void TWinControl::WMSetText(TMessage& message) {
    const char* text = reinterpret_cast<const char*>(message.LParam);
    StoreText(text ? text : "");
    DefaultHandler(message);
}

void TWinControl::WMCut(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::WMPaste(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::WMClear(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::WMUndo(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::WMMouseWheel(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::WMHScroll(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::WMVScroll(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::WMContextMenu(TMessage& message) {
    const TPoint screen = LParamToPoint(message.LParam);
    if (!(screen.X == -1 && screen.Y == -1)) {
        // A right click on a windowless child is that child's.
        if (TControl* control = ControlAtPos(ScreenToClient(screen), false)) {
            message.Result = control->Perform(WM_CONTEXTMENU, message.WParam, message.LParam);
            if (message.Result != 0) {
                return;
            }
        }
    }
    TControl::WMContextMenu(message);
}

void TWinControl::CMShowingChanged(TMessage& /*message*/) {
    if (!HandleAllocated()) {
        return;
    }
    ::SetWindowPos(m_handle, 0, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                       (m_showing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMBorderChanged(TMessage& /*message*/) {
    if (HandleAllocated()) {
        ::SetWindowPos(m_handle, 0, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        ::RedrawWindow(m_handle, nullptr, 0, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    }
    Realign();
}

void TWinControl::CMTabStopChanged(TMessage& /*message*/) {
    if (HandleAllocated()) {
        const LONG_PTR style = ::GetWindowLongPtr(m_handle, GWL_STYLE);
        ::SetWindowLongPtr(m_handle, GWL_STYLE, m_tabStop ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
}

void TWinControl::CMEnabledChanged(TMessage& message) {
    if (!Enabled() && Parent()) {
        RemoveFocus(false);
    }
    if (HandleAllocated()) {
        ::EnableWindow(m_handle, Enabled() ? TRUE : FALSE);
    }
    TControl::CMEnabledChanged(message);
}

void TWinControl::CMVisibleChanged(TMessage& /*message*/) {
    if (!Visible() && Parent()) {
        RemoveFocus(false);
    }
    UpdateControlState();
}

void TWinControl::CMFontChanged(TMessage& message) {
    TControl::CMFontChanged(message);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& message) {
    m_brush.SetColor(Color());
    TControl::CMColorChanged(message);
    NotifyControls(CM_PARENTCOLORCHANGED);
}
