#include "toolkit/controls/WinControl.h"

#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/Screen.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

// The window side of TWinControl: the window procedure every control window shares, making and
// destroying windows, the list of children, painting and the routing of messages. Alignment lives
// in WinControlAlign.cpp, focus and keys in WinControlFocus.cpp.

VARNEL_CLASS_INFO(TWinControl, [](auto& c) {
    c.Int("BorderWidth", &TWinControl::BorderWidth, &TWinControl::SetBorderWidth).Default(0).Unpublished();
    c.Int("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1).Unpublished();
    c.Bool("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false).Unpublished();
    c.Event("OnEnter", &TWinControl::OnEnter).Unpublished();
    c.Event("OnExit", &TWinControl::OnExit).Unpublished();
    c.Event("OnKeyDown", &TWinControl::OnKeyDown).Unpublished();
    c.Event("OnKeyPress", &TWinControl::OnKeyPress).Unpublished();
    c.Event("OnKeyUp", &TWinControl::OnKeyUp).Unpublished();
})

namespace {

constexpr const char* kControlProp = "VarnelControl";
// How deep the window procedure is nested; canvases give back their contexts at depth 0.
int g_dispatchDepth = 0;

std::uint64_t CurrentSystemSerial() {
    const TWindowSystem* system = TWindowSystem::Current();
    return system ? system->Serial() : 0;
}

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
    SetMouseControl(target);
}

} // namespace

// The procedure of every control window: it finds the control through the window property set
// when the window was made and hands it the message.
LRESULT ControlWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = static_cast<TWinControl*>(::GetProp(hwnd, kControlProp));
    if (!control && message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCT*>(lParam);
        control = cs ? static_cast<TWinControl*>(cs->lpCreateParams) : nullptr;
        if (control) {
            control->AttachHandle(hwnd);
        }
    }
    if (!control) {
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    }
    TMessage m{message, wParam, lParam, 0};
    ++g_dispatchDepth;
    control->WndProc(m); // may free the control: nothing of it is touched afterwards
    if (--g_dispatchDepth == 0) {
        FreeDeviceContexts();
    }
    return m.Result;
}

TWinControl* FindControl(HWND hwnd) {
    if (!hwnd || !::IsWindow(hwnd)) {
        return nullptr;
    }
    return static_cast<TWinControl*>(::GetProp(hwnd, kControlProp));
}

// ---- Life --------------------------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner), m_defWndProc(&::DefWindowProc) {
    m_brush.SetColor(Color());
}

TWinControl::~TWinControl() {
    Destroying();
    // Leaving the parent here, while this is still a TWinControl, lets the parent drop the window
    // and the focus the right way.
    if (Parent()) {
        Parent()->RemoveControl(this);
    }
    DestroyHandle();
    // Children go with their parent, the topmost first; each leaves the list as it goes.
    while (!m_winControls.empty() || !m_controls.empty()) {
        TControl* child =
            !m_winControls.empty() ? static_cast<TControl*>(m_winControls.back()) : m_controls.back();
        RemoveControl(child);
        delete child;
    }
}

// ---- The window --------------------------------------------------------------------------------------

bool TWinControl::HandleAllocated() const {
    return m_handle != 0 && m_handleSystem == CurrentSystemSerial() && ::IsWindow(m_handle);
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return HandleAllocated() ? m_handle : 0;
}

void TWinControl::HandleNeeded() {
    if (HandleAllocated()) {
        return;
    }
    if (Parent()) {
        Parent()->HandleNeeded();
    }
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND value) {
    if (value == m_parentWindow || Parent()) {
        return;
    }
    m_parentWindow = value;
    if (HandleAllocated()) {
        DestroyHandle();
    }
    UpdateControlState();
}

void TWinControl::AttachHandle(HWND hwnd) {
    m_handle = hwnd;
    m_handleSystem = CurrentSystemSerial();
    ::SetProp(hwnd, kControlProp, this);
}

void TWinControl::DetachHandle() {
    if (m_handle && m_handleSystem == CurrentSystemSerial()) {
        ::RemoveProp(m_handle, kControlProp);
    }
    m_handle = 0;
    m_showing = false;
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = Text();
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle().Contains(csAcceptsControls)) {
        params.Style |= WS_CLIPCHILDREN;
        params.ExStyle |= WS_EX_CONTROLPARENT;
    }
    if (!Enabled()) {
        params.Style |= WS_DISABLED;
    }
    if (m_tabStop) {
        params.Style |= WS_TABSTOP;
    }
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    if (!m_measuringParams) {
        params.WndParent = Parent() ? Parent()->Handle() : m_parentWindow;
    }
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    // Controls erase their own background (WM_ERASEBKGND).
    params.WindowClass.hbrBackground = clNone;
    params.WinClassName = ClassName();
}

void TWinControl::CreateWnd() {
    // Key messages must reach the controls' dialog-key handling from the first window on.
    Application->Initialize();
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent) {
        // A child window needs a parent window; without one the control stays windowless until
        // it is given a parent.
        return;
    }
    WNDCLASS existing;
    if (!::GetClassInfo(params.WinClassName.c_str(), &existing)) {
        WNDCLASS wc = params.WindowClass;
        wc.lpfnWndProc = &ControlWindowProc;
        wc.lpszClassName = params.WinClassName.c_str();
        ::RegisterClass(&wc);
    }
    SetControlState(ControlState() + TControlState{csCreating});
    auto alive = AliveToken();
    ::CreateWindowEx(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                     params.X, params.Y, params.Width, params.Height, params.WndParent, 0, this);
    if (alive.expired()) {
        return;
    }
    SetControlState(ControlState() - TControlState{csCreating});
}

void TWinControl::CreateHandle() {
    if (HandleAllocated()) {
        return;
    }
    m_handle = 0;
    if (!TWindowSystem::Current()) {
        return;
    }
    CreateWnd();
    if (!HandleAllocated()) {
        return;
    }
    if (Parent()) {
        ::SetWindowPos(m_handle, Parent()->PrecedingWindow(this), 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    UpdateBounds();
}

void TWinControl::DestroyWnd() {
    const HWND handle = m_handle;
    ::DestroyWindow(handle);
    DetachHandle();
}

void TWinControl::DestroyHandle() {
    if (!HandleAllocated()) {
        m_handle = 0;
        m_showing = false;
        return;
    }
    for (TWinControl* child : std::vector(m_winControls)) {
        child->DestroyHandle();
    }
    SetControlState(ControlState() + TControlState{csDestroyingHandle});
    DestroyWnd();
    SetControlState(ControlState() - TControlState{csDestroyingHandle});
}

void TWinControl::RecreateWnd() {
    if (!HandleAllocated()) {
        return;
    }
    const bool hadFocus = Focused();
    DestroyHandle();
    UpdateControlState();
    if (hadFocus && HandleAllocated() && CanFocus()) {
        SetFocus();
    }
}

void TWinControl::UpdateShowing() {
    const bool show = Visible() && !ControlState().Contains(csReadingState);
    if (show) {
        if (!HandleAllocated()) {
            CreateHandle();
        }
        for (TWinControl* child : std::vector(m_winControls)) {
            child->UpdateShowing();
        }
    }
    if (HandleAllocated() && m_showing != show) {
        m_showing = show;
        Perform(CM_SHOWINGCHANGED);
    }
}

void TWinControl::UpdateControlState() {
    TWinControl* top = this;
    while (top->Parent()) {
        top = top->Parent();
        if (!top->m_showing) {
            return;
        }
    }
    if (dynamic_cast<TCustomForm*>(top) || top->m_parentWindow) {
        UpdateShowing();
    }
}

HWND TWinControl::PrecedingWindow(const TWinControl* control) const {
    auto it = std::find(m_winControls.begin(), m_winControls.end(), control);
    if (it == m_winControls.end()) {
        return HWND_TOP;
    }
    for (++it; it != m_winControls.end(); ++it) {
        if ((*it)->HandleAllocated()) {
            return (*it)->m_handle;
        }
    }
    return HWND_TOP;
}

TRect TWinControl::NonClientMargins(DWORD style, DWORD exStyle) const {
    // The window system's rule for a child's frame, so that sizes agree before the window exists.
    int border = 0;
    if (style & WS_THICKFRAME) {
        border += ::GetSystemMetrics(SM_CXFRAME);
    } else if ((style & WS_CAPTION) == WS_DLGFRAME) {
        border += ::GetSystemMetrics(SM_CXDLGFRAME);
    } else if (style & WS_BORDER) {
        border += ::GetSystemMetrics(SM_CXBORDER);
    }
    if (exStyle & WS_EX_CLIENTEDGE) {
        border += ::GetSystemMetrics(SM_CXEDGE);
    }
    if (exStyle & WS_EX_STATICEDGE) {
        border += ::GetSystemMetrics(SM_CXBORDER);
    }
    border += m_borderWidth;
    TRect margins{border, border, border, border};
    if (style & WS_VSCROLL) {
        margins.Right += ::GetSystemMetrics(SM_CXVSCROLL);
    }
    if (style & WS_HSCROLL) {
        margins.Bottom += ::GetSystemMetrics(SM_CYHSCROLL);
    }
    return margins;
}

// ---- Children ----------------------------------------------------------------------------------------

TControl* TWinControl::Controls(int index) const {
    if (index < 0) {
        return nullptr;
    }
    const auto i = static_cast<std::size_t>(index);
    if (i < m_controls.size()) {
        return m_controls[i];
    }
    if (i - m_controls.size() < m_winControls.size()) {
        return m_winControls[i - m_controls.size()];
    }
    return nullptr;
}

void TWinControl::InsertControl(TControl* control) {
    if (!control || control->m_parent == this) {
        return;
    }
    if (auto* window = dynamic_cast<TWinControl*>(control)) {
        m_winControls.push_back(window);
        m_tabList.push_back(window);
    } else {
        m_controls.push_back(control);
    }
    control->m_parent = this;
    control->Perform(CM_PARENTCOLORCHANGED);
    control->Perform(CM_PARENTFONTCHANGED);
    control->Perform(CM_PARENTSHOWHINTCHANGED);
    if (auto* window = dynamic_cast<TWinControl*>(control)) {
        window->UpdateControlState();
    } else if (HandleAllocated()) {
        control->Invalidate();
    }
    AlignControl(control);
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control) {
    if (!control || control->m_parent != this) {
        return;
    }
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
    // Found by address, not by class: the child may be part way through its destruction.
    auto windowed = std::find_if(m_winControls.begin(), m_winControls.end(),
                                 [control](const TWinControl* w) { return w == control; });
    if (windowed != m_winControls.end()) {
        TWinControl* window = *windowed;
        window->RemoveFocus(true);
        window->DestroyHandle();
        m_winControls.erase(std::remove(m_winControls.begin(), m_winControls.end(), window),
                            m_winControls.end());
        m_tabList.erase(std::remove(m_tabList.begin(), m_tabList.end(), window), m_tabList.end());
    } else {
        if (HandleAllocated()) {
            control->InvalidateControl(control->Visible(), false);
        }
        m_controls.erase(std::remove(m_controls.begin(), m_controls.end(), control), m_controls.end());
    }
    if (GetCaptureControl() == control) {
        SetCaptureControl(nullptr);
    }
    control->m_parent = nullptr;
    if (!IsDestroying()) {
        Realign();
    }
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent()) {
        if (c == this) {
            return true;
        }
    }
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) const {
    auto hit = [&](TControl* c) {
        if (!c->Visible() || !(c->Enabled() || allowDisabled) || !c->BoundsRect().Contains(p)) {
            return false;
        }
        return c->Perform(CM_HITTEST, 0, MAKELPARAM(p.X - c->Left(), p.Y - c->Top())) != 0;
    };
    if (allowWinControls) {
        for (auto it = m_winControls.rbegin(); it != m_winControls.rend(); ++it) {
            if (hit(*it)) {
                return *it;
            }
        }
    }
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        if (hit(*it)) {
            return *it;
        }
    }
    return nullptr;
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    for (int i = 0; i < ControlCount(); ++i) {
        if (TControl* control = Controls(i); control->Owner() == root) {
            proc(control);
        }
    }
}

void TWinControl::Broadcast(TMessage& message) {
    // By copy: a handler may add or free controls.
    const int count = ControlCount();
    std::vector<TControl*> children;
    children.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        children.push_back(Controls(i));
    }
    auto alive = AliveToken();
    for (TControl* child : children) {
        if (alive.expired()) {
            return;
        }
        if (child->Parent() != this) {
            continue;
        }
        child->WndProc(message);
        if (message.Result != 0) {
            return;
        }
    }
}

void TWinControl::NotifyControls(UINT message) {
    TMessage m{message, 0, 0, 0};
    Broadcast(m);
}

void TWinControl::SetZOrder(bool topMost) {
    if (!Parent()) {
        if (HandleAllocated()) {
            ::SetWindowPos(m_handle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
        return;
    }
    auto& list = Parent()->m_winControls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) {
        return;
    }
    list.erase(it);
    if (topMost) {
        list.push_back(this);
    } else {
        list.insert(list.begin(), this);
    }
    if (HandleAllocated()) {
        ::SetWindowPos(m_handle, topMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TWinControl::TextStored() {
    if (HandleAllocated()) {
        ::SetWindowText(m_handle, Text().c_str());
    }
}

void TWinControl::SetBorderWidth(int value) {
    value = std::max(0, value);
    if (value == m_borderWidth) {
        return;
    }
    m_borderWidth = value;
    Perform(CM_BORDERCHANGED);
}

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
    case WM_NCMOUSELEAVE:
        UpdateMouseControl(m_handle);
        break;
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
            return;
        }
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
