#include "toolkit/controls/WinControl.h"

#include "toolkit/controls/Application.h"
#include "toolkit/controls/ControlSubclass.h"
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
    for (TControlSubclass* subclass : m_subclasses) {
        subclass->ControlGone();
    }
    m_subclasses.clear();
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
    // A new window starts with the control's own procedure: whoever sat in front of the old one
    // goes in front of this one too.
    auto alive = AliveToken();
    for (TControlSubclass* subclass : std::vector(m_subclasses)) {
        subclass->WindowCreated();
        if (alive.expired()) {
            return;
        }
    }
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
    BroadcastIf(message, nullptr);
}

void TWinControl::BroadcastIf(TMessage& message, bool (*accept)(const TControl*)) {
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
        if (child->Parent() != this || (accept && !accept(child))) {
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
