#include "toolkit/controls/Form.h"

#include "toolkit/components/LayoutReader.h"
#include "toolkit/components/Properties.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Screen.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

// Forms, in sections: life and layouts; properties; the window (styles, owner, MDI client,
// alignment, painting); focus and activation. Showing, closing, the modal loop and the messages
// are in FormShow.cpp, the frame in FormFrame.cpp, auto-scrolling in FormScroll.cpp.

VARNEL_CLASS_INFO(TCustomForm, [](auto& c) {
    c.Component("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl).Unpublished();
    c.Bool("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll).Default(true).Unpublished();
    c.SetOf("BorderIcons", BorderIconInfo, &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize})
        .Unpublished();
    c.Enum("BorderStyle", FormBorderStyleInfo, &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
        .Default(bsSizeable)
        .Unpublished();
    c.Int("ClientHeight", &TControl::ClientHeight, &TControl::SetClientHeight).Unpublished();
    c.Int("ClientWidth", &TControl::ClientWidth, &TControl::SetClientWidth).Unpublished();
    c.Enum("FormStyle", FormStyleInfo, &TCustomForm::FormStyle, &TCustomForm::SetFormStyle)
        .Default(fsNormal)
        .Unpublished();
    c.Object("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon).Unpublished();
    c.Bool("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false).Unpublished();
    c.Component("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu).Unpublished();
    c.Int("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch).Unpublished();
    c.Enum("Position", PositionInfo, &TCustomForm::Position, &TCustomForm::SetPosition)
        .Default(poDesigned)
        .Unpublished();
    c.Bool("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled).Default(true).Unpublished();
    c.Enum("WindowState", WindowStateInfo, &TCustomForm::WindowState, &TCustomForm::SetWindowState)
        .Default(wsNormal)
        .Unpublished();
    c.Event("OnActivate", &TCustomForm::OnActivate).Unpublished();
    c.Event("OnClose", &TCustomForm::OnClose).Unpublished();
    c.Event("OnCloseQuery", &TCustomForm::OnCloseQuery).Unpublished();
    c.Event("OnCreate", &TCustomForm::OnCreate).Unpublished();
    c.Event("OnDeactivate", &TCustomForm::OnDeactivate).Unpublished();
    c.Event("OnHide", &TCustomForm::OnHide).Unpublished();
    c.Event("OnPaint", &TCustomForm::OnPaint).Unpublished();
    c.Event("OnShortCut", &TCustomForm::OnShortCut).Unpublished();
    c.Event("OnShow", &TCustomForm::OnShow).Unpublished();
})

VARNEL_CLASS_INFO(TForm, [](auto& c) {
    for (const char* name :
         {"Action",      "ActiveControl", "Align",       "Anchors",      "AutoScroll",     "AutoSize",
          "BiDiMode",    "BorderIcons",   "BorderStyle", "BorderWidth",  "Caption",        "ClientHeight",
          "ClientWidth", "Color",         "Constraints", "Enabled",      "ParentFont",     "Font",
          "FormStyle",   "Icon",          "KeyPreview",  "Menu",         "ParentBiDiMode", "PixelsPerInch",
          "PopupMenu",   "Position",      "Scaled",      "ShowHint",     "WindowState",    "OnActivate",
          "OnCanResize", "OnClick",       "OnClose",     "OnCloseQuery", "OnContextPopup", "OnCreate",
          "OnDblClick",  "OnDeactivate",  "OnHide",      "OnKeyDown",    "OnKeyPress",     "OnKeyUp",
          "OnMouseDown", "OnMouseMove",   "OnMouseUp",   "OnPaint",      "OnResize",       "OnShortCut",
          "OnShow"}) {
        c.Publish(name);
    }
    c.Publish("Visible").Default(false);
})

namespace {

constexpr const char* kMDIClientClass = "MDIClient";
// The form that last had CM_ACTIVATE; cleared when it goes.
TCustomForm* g_focusedForm = nullptr;

TCustomForm* FormOfWindow(HWND hwnd) {
    return dynamic_cast<TCustomForm*>(FindControl(hwnd));
}

} // namespace

// ---- Life --------------------------------------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* owner)
    : TWinControl(owner), m_icon(std::make_unique<TIcon>()),
      m_canvas(std::make_unique<TControlCanvas>(this)) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetVisible(false);
    SetBounds(0, 0, 320, 240);
    SetColor(clBtnFace);
    SetParentFont(false);
    GlobalScreen()->AddForm(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    if (g_focusedForm == this) {
        g_focusedForm = nullptr;
    }
    Application->FormDestroying(this);
    GlobalScreen()->RemoveForm(this);
    m_canvas->FreeHandle();
    // The window goes first, so that freeing the controls below moves no focus around.
    DestroyHandle();
    DestroyComponents();
}

TStatus TCustomForm::LoadLayout(std::string_view resourceName) {
    TStatus status = ReadLayoutResource(this, resourceName);
    if (status) {
        AfterConstruction();
    }
    return status;
}

bool TCustomForm::LoadOwnLayout(std::string_view resourceName) {
    TStatus loaded = LoadLayout(resourceName);
    if (loaded) {
        loaded = RequireBoundFields(this, resourceName);
    }
    if (!loaded) {
        RefuseCreation(loaded.Message());
    }
    return static_cast<bool>(loaded);
}

TStatus TCustomForm::LoadLayoutText(std::string_view text, std::string_view fileName) {
    TStatus status = ReadLayoutText(this, text, fileName);
    if (status) {
        AfterConstruction();
    }
    return status;
}

TStatus TCustomForm::LoadLayoutStream(TStream& stream, std::string_view fileName) {
    TStatus status = ReadLayoutStream(this, stream, fileName);
    if (status) {
        AfterConstruction();
    }
    return status;
}

void TCustomForm::AfterConstruction() {
    if (m_createDone) {
        return;
    }
    m_createDone = true;
    m_formState.Exclude(fsCreating);
    auto alive = AliveToken();
    DoCreate();
    // A layout that made the form visible shows it now that it is whole.
    if (!alive.expired() && Visible() && !Showing()) {
        UpdateControlState();
    }
}

void TCustomForm::DoCreate() {
    if (OnCreate) {
        OnCreate(this);
    }
}

void TCustomForm::Loaded() {
    TWinControl::Loaded();
    if (m_activeControl && !m_activeControl->CanFocus()) {
        m_activeControl = nullptr;
    }
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove || !component) {
        return;
    }
    if (component == m_menu) {
        m_menu = nullptr;
    }
    if (component == m_activeControl) {
        m_activeControl = nullptr;
    }
    if (component == m_focusedControl) {
        m_focusedControl = nullptr;
    }
}

void TCustomForm::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
    TWinControl::GetChildren(proc, root);
    if (root != this) {
        return;
    }
    for (int i = 0; i < ComponentCount(); ++i) {
        if (TComponent* component = Components(i); !component->HasParent()) {
            proc(component);
        }
    }
}

// ---- Properties --------------------------------------------------------------------------------------

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == m_borderStyle) {
        return;
    }
    m_borderStyle = value;
    UpdateWindowStyle();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    if (value == m_borderIcons) {
        return;
    }
    m_borderIcons = value;
    UpdateWindowStyle();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (value == m_formStyle) {
        return;
    }
    const TFormStyle old = m_formStyle;
    m_formStyle = value;
    if (!HandleAllocated()) {
        return;
    }
    const bool mdiChange = old == fsMDIChild || old == fsMDIForm || value == fsMDIChild || value == fsMDIForm;
    if (mdiChange) {
        // Children of the MDI client and MDI parents are different windows.
        RecreateWnd();
    } else {
        ::SetWindowPos(Handle(), value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void TCustomForm::SetWindowState(TWindowState value) {
    if (value == m_windowState) {
        return;
    }
    if (HandleAllocated() && Showing()) {
        static constexpr int kCommands[] = {SW_RESTORE, SW_MINIMIZE, SW_MAXIMIZE};
        ::ShowWindow(Handle(), kCommands[value]);
        // WM_SIZE stores the state the window system reached.
        return;
    }
    m_windowState = value;
}

void TCustomForm::SetIcon(const TIcon* value) {
    m_icon->Assign(value);
}

void TCustomForm::SetAutoScroll(bool value) {
    if (value == m_autoScroll) {
        return;
    }
    m_autoScroll = value;
    UpdateScrollRange();
}

void TCustomForm::SetMenu(TMainMenu* value) {
    if (value == m_menu) {
        return;
    }
    if (m_menu) {
        RemoveFreeNotification(m_menu);
        if (HandleAllocated() && m_menu->WindowHandle() == Handle()) {
            m_menu->SetWindowHandle(0);
        }
    }
    m_menu = value;
    if (value) {
        value->FreeNotification(this);
        // The menu's windows belong to this form's window.
        if (HandleAllocated()) {
            value->SetWindowHandle(Handle());
        }
    }
}

// ---- Window ------------------------------------------------------------------------------------------

void TCustomForm::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style &= ~(WS_CHILD | WS_GROUP | WS_TABSTOP);
    params.WndParent = 0;
    TCustomForm* mainForm = Application->MainForm();
    const bool mdiChild =
        m_formStyle == fsMDIChild && mainForm && mainForm != this && mainForm->FormStyle() == fsMDIForm;
    if (mdiChild) {
        params.Style |= WS_CHILD | WS_CLIPSIBLINGS;
        params.ExStyle |= WS_EX_MDICHILD;
        if (!MeasuringParams()) {
            mainForm->HandleNeeded();
            params.WndParent = mainForm->ClientHandle();
        }
    } else if (!MeasuringParams() && mainForm && mainForm != this) {
        // Other forms belong to the main form: they stay above it and the activation returns to
        // it when they go.
        params.WndParent = mainForm->Handle();
    }
    switch (m_borderStyle) {
    case bsNone:
        if (!mdiChild) {
            params.Style |= WS_POPUP;
        }
        break;
    case bsSingle:
    case bsToolWindow:
        params.Style |= WS_CAPTION | WS_BORDER;
        break;
    case bsSizeable:
    case bsSizeToolWin:
        params.Style |= WS_CAPTION | WS_THICKFRAME;
        break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (m_borderStyle == bsToolWindow || m_borderStyle == bsSizeToolWin) {
        params.ExStyle |= WS_EX_TOOLWINDOW;
    }
    if (m_borderStyle != bsNone && m_borderIcons.Contains(biSystemMenu)) {
        params.Style |= WS_SYSMENU;
        if (m_borderStyle == bsSingle || m_borderStyle == bsSizeable) {
            if (m_borderIcons.Contains(biMinimize)) {
                params.Style |= WS_MINIMIZEBOX;
            }
            if (m_borderIcons.Contains(biMaximize)) {
                params.Style |= WS_MAXIMIZEBOX;
            }
        }
    }
    if (m_formStyle == fsStayOnTop) {
        params.ExStyle |= WS_EX_TOPMOST;
    }
    if (m_autoScroll && HandleAllocated()) {
        params.Style |=
            static_cast<DWORD>(::GetWindowLongPtr(Handle(), GWL_STYLE)) & (WS_HSCROLL | WS_VSCROLL);
    }
    if (m_position == poDefault || m_position == poDefaultPosOnly) {
        params.X = CW_USEDEFAULT;
        params.Y = CW_USEDEFAULT;
    }
    if (m_position == poDefault || m_position == poDefaultSizeOnly) {
        params.Width = CW_USEDEFAULT;
        params.Height = CW_USEDEFAULT;
    }
}

void TCustomForm::CreateWnd() {
    TWinControl::CreateWnd();
    if (HandleAllocated() && m_menu) {
        m_menu->SetWindowHandle(Handle());
    }
    if (!HandleAllocated() || m_formStyle != fsMDIForm) {
        return;
    }
    WNDCLASS existing;
    if (!::GetClassInfo(kMDIClientClass, &existing)) {
        WNDCLASS wc;
        wc.lpfnWndProc = &MDIClientWindowProc;
        wc.lpszClassName = kMDIClientClass;
        wc.hbrBackground = clAppWorkSpace;
        ::RegisterClass(&wc);
    }
    const TRect client = ClientRect();
    m_clientHandle =
        ::CreateWindowEx(0, kMDIClientClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
                         0, client.Width(), client.Height(), Handle(), 0, nullptr);
    ::SetWindowPos(m_clientHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Realign();
}

void TCustomForm::DestroyWnd() {
    m_canvas->FreeHandle();
    if (m_menu && HandleAllocated() && m_menu->WindowHandle() == Handle()) {
        m_menu->SetWindowHandle(0);
    }
    if (m_formStyle == fsMDIChild && HandleAllocated()) {
        if (const HWND client = ::GetParent(Handle())) {
            ::SendMessage(client, WM_MDIDESTROY, Handle(), 0);
        }
    }
    m_clientHandle = 0;
    TWinControl::DestroyWnd();
}

HWND TCustomForm::ClientHandle() const {
    return m_clientHandle && ::IsWindow(m_clientHandle) ? m_clientHandle : 0;
}

int TCustomForm::MDIChildCount() const {
    int count = 0;
    for (int i = 0; MDIChildren(i); ++i) {
        ++count;
    }
    return count;
}

TCustomForm* TCustomForm::MDIChildren(int index) const {
    const HWND client = ClientHandle();
    if (!client || index < 0) {
        return nullptr;
    }
    for (HWND child = ::GetWindow(client, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (TCustomForm* form = FormOfWindow(child); form && index-- == 0) {
            return form;
        }
    }
    return nullptr;
}

TCustomForm* TCustomForm::ActiveMDIChild() const {
    const HWND client = ClientHandle();
    return client ? FormOfWindow(static_cast<HWND>(::SendMessage(client, WM_MDIGETACTIVE, 0, 0))) : nullptr;
}

void TCustomForm::AlignControls(TControl* control, TRect& rect) {
    TWinControl::AlignControls(control, rect);
    if (const HWND client = ClientHandle()) {
        // The MDI client takes what the aligned controls leave.
        TRect area = ClientRect();
        TWinControl::AdjustClientRect(area);
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (!c->Visible()) {
                continue;
            }
            switch (c->Align()) {
            case alTop:
                area.Top = std::max(area.Top, c->Top() + c->Height());
                break;
            case alBottom:
                area.Bottom = std::min(area.Bottom, c->Top());
                break;
            case alLeft:
                area.Left = std::max(area.Left, c->Left() + c->Width());
                break;
            case alRight:
                area.Right = std::min(area.Right, c->Left());
                break;
            default:
                break;
            }
        }
        ::SetWindowPos(client, HWND_BOTTOM, area.Left, area.Top, std::max(0, area.Width()),
                       std::max(0, area.Height()), SWP_NOACTIVATE);
    }
    UpdateScrollRange();
}

void TCustomForm::PaintWindow(HDC dc) {
    m_canvas->BeginPaintWith(dc);
    auto alive = AliveToken();
    Paint();
    if (!alive.expired()) {
        m_canvas->EndPaintWith();
    }
}

void TCustomForm::Paint() {
    if (OnPaint) {
        OnPaint(this);
    }
}

// ---- Focus and activation ----------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == m_activeControl) {
        return;
    }
    if (control &&
        (control == this || GetParentForm(control) != this || !(IsLoading() || control->CanFocus()))) {
        // Only a control of this form that can take the focus can be its active control.
        return;
    }
    m_activeControl = control;
    if (!IsLoading() && !IsDestroying() && m_active) {
        SetWindowFocus();
    }
}

void TCustomForm::SetWindowFocus() {
    HWND focus = 0;
    if (m_activeControl && m_activeControl->CanFocus()) {
        focus = m_activeControl->Handle();
    }
    if (!focus) {
        focus = Handle();
    }
    if (!focus) {
        return;
    }
    ::SetFocus(focus);
    if (::GetFocus() == focus && m_activeControl) {
        m_activeControl->Perform(CM_UIACTIVATE);
    }
}

void TCustomForm::SetFocus() {
    if (!m_active) {
        if (!Visible() || !Enabled()) {
            return;
        }
        SetWindowFocus();
    }
}

void TCustomForm::FocusControl(TWinControl* control) {
    const bool wasActive = m_active;
    SetActiveControl(control);
    if (!wasActive) {
        SetFocus();
    }
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (removing && m_focusedControl && control->ContainsControl(m_focusedControl)) {
        m_focusedControl = control->Parent();
    }
    if (m_activeControl && control->ContainsControl(m_activeControl)) {
        SetActiveControl(nullptr);
    }
    if (removing) {
        Screen->ControlGone(control);
    }
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    static int focusCount = 0;
    // A focus message that moved the focus elsewhere stops the walk.
    auto send = [](TWinControl* target, UINT message) {
        const int count = focusCount;
        if (target && target->HandleAllocated()) {
            ::SendMessage(target->Handle(), message, 0, 0);
        } else if (target) {
            target->Perform(message);
        }
        return focusCount == count;
    };
    ++focusCount;
    m_activeControl = control != this ? control : nullptr;
    Screen->FocusMoved(this, control);
    if (m_formStyle == fsMDIChild && HandleAllocated()) {
        if (const HWND client = ::GetParent(Handle())) {
            ::SendMessage(client, WM_MDIACTIVATE, Handle(), 0);
        }
    }
    if (control->ControlState().Contains(csFocusing)) {
        return false;
    }
    control->SetControlState(control->ControlState() + TControlState{csFocusing});
    auto controlAlive = control->AliveToken();
    auto done = [&](bool result) {
        if (!controlAlive.expired()) {
            control->SetControlState(control->ControlState() - TControlState{csFocusing});
        }
        return result;
    };
    if (g_focusedForm != this) {
        if (g_focusedForm && g_focusedForm->HandleAllocated()) {
            TCustomForm* old = g_focusedForm;
            g_focusedForm = nullptr;
            if (!send(old, CM_DEACTIVATE)) {
                return done(false);
            }
        }
        g_focusedForm = this;
        if (!send(this, CM_ACTIVATE)) {
            return done(false);
        }
    }
    if (!m_focusedControl) {
        m_focusedControl = this;
    }
    if (m_focusedControl != control) {
        while (m_focusedControl && !m_focusedControl->ContainsControl(control)) {
            TWinControl* leaving = m_focusedControl;
            m_focusedControl = m_focusedControl->Parent();
            if (!send(leaving, CM_EXIT)) {
                return done(false);
            }
        }
        while (m_focusedControl != control) {
            TWinControl* entering = control;
            while (entering->Parent() != m_focusedControl) {
                entering = entering->Parent();
            }
            m_focusedControl = entering;
            if (!send(entering, CM_ENTER)) {
                return done(false);
            }
        }
        Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    }
    return done(true);
}

void TCustomForm::SetActive(bool value) {
    m_active = value;
    if (!value) {
        return;
    }
    if (!m_activeControl && !IsDesigning()) {
        SetActiveControl(FindNextControl(nullptr, true, true, false));
    }
    SetWindowFocus();
}

bool TCustomForm::IsShortCut(TMessage& message) {
    bool handled = false;
    if (OnShortCut && !IsLoading()) {
        auto alive = AliveToken();
        OnShortCut(message, handled);
        if (alive.expired()) {
            return true;
        }
    }
    if (handled) {
        return true;
    }
    if (!m_menu || IsLoading()) {
        return false;
    }
    TWMKey key{message.Msg, static_cast<WORD>(message.WParam), message.LParam, 0};
    return m_menu->IsShortCut(key);
}

void TCustomForm::Activate() {
    if (OnActivate) {
        OnActivate(this);
    }
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) {
        OnDeactivate(this);
    }
}
