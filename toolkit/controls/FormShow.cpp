#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/Screen.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

// Showing and placing forms, closing them with OnClose, the modal loop, the messages of forms and
// the procedure of the MDI client window.

// ---- Showing -----------------------------------------------------------------------------------------

void TCustomForm::Show() {
    SetVisible(true);
    BringToFront();
}

void TCustomForm::DoShow() {
    if (OnShow) {
        OnShow(this);
    }
}

void TCustomForm::DoHide() {
    if (OnHide) {
        OnHide(this);
    }
}

void TCustomForm::ApplyPosition() {
    TRect area{0, 0, Screen->Width(), Screen->Height()};
    const TCustomForm* center = nullptr;
    TCustomForm* mainForm = Application->MainForm();
    const bool mdiChild = m_formStyle == fsMDIChild && HandleAllocated() &&
                          (::GetWindowLongPtr(Handle(), GWL_STYLE) & WS_CHILD);
    switch (m_position) {
    case poScreenCenter:
    case poDesktopCenter:
        if (mdiChild && mainForm) {
            area = {0, 0, mainForm->ClientWidth(), mainForm->ClientHeight()};
        }
        break;
    case poMainFormCenter:
    case poOwnerFormCenter:
        if (mdiChild && mainForm) {
            area = {0, 0, mainForm->ClientWidth(), mainForm->ClientHeight()};
            break;
        }
        center = mainForm;
        if (m_position == poOwnerFormCenter) {
            if (auto* ownerForm = dynamic_cast<TCustomForm*>(Owner())) {
                center = ownerForm;
            }
        }
        if (center == this) {
            center = nullptr;
        }
        if (center) {
            area = center->BoundsRect();
        }
        break;
    default:
        return;
    }
    int x = area.Left + (area.Width() - Width()) / 2;
    int y = area.Top + (area.Height() - Height()) / 2;
    if (!mdiChild) {
        // Never start with the top-left corner (the caption) out of reach.
        const TRect work = Screen->WorkAreaRect();
        x = std::max(x, work.Left);
        y = std::max(y, work.Top);
    } else {
        x = std::max(x, 0);
        y = std::max(y, 0);
    }
    SetBounds(x, y, Width(), Height());
}

void TCustomForm::CMShowingChanged(TMessage& /*message*/) {
    if (IsDesigning() || m_formState.Contains(fsShowing) || !HandleAllocated()) {
        return;
    }
    m_formState.Include(fsShowing);
    auto alive = AliveToken();
    const HWND handle = Handle();
    if (m_showing) {
        DoShow();
        if (alive.expired()) {
            return;
        }
        ApplyPosition();
        if (m_formStyle == fsMDIChild && (::GetWindowLongPtr(handle, GWL_STYLE) & WS_CHILD)) {
            static constexpr int kChildCommands[] = {SW_SHOW, SW_MINIMIZE, SW_MAXIMIZE};
            ::ShowWindow(handle, kChildCommands[m_windowState]);
            if (const HWND client = ::GetParent(handle)) {
                ::SendMessage(client, WM_MDIACTIVATE, handle, 0);
            }
        } else {
            static constexpr int kCommands[] = {SW_SHOWNORMAL, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
            ::ShowWindow(handle, kCommands[m_windowState]);
        }
    } else {
        DoHide();
        if (alive.expired()) {
            return;
        }
        ::ShowWindow(handle, SW_HIDE);
    }
    if (!alive.expired()) {
        m_formState.Exclude(fsShowing);
    }
}

void TCustomForm::CMVisibleChanged(TMessage& message) {
    if (IsLoading()) {
        // A form made visible by its layout is shown once it is whole (AfterConstruction).
        return;
    }
    // A modal form that is hidden cannot be answered any more: its loop ends as cancelled.
    if (!Visible() && m_formState.Contains(fsModal) && m_modalResult == mrNone) {
        m_modalResult = mrCancel;
    }
    TWinControl::CMVisibleChanged(message);
}

// ---- Closing and the modal loop ----------------------------------------------------------------------

bool TCustomForm::CloseQuery() {
    if (m_formStyle == fsMDIForm) {
        for (int i = 0; TCustomForm* child = MDIChildren(i); ++i) {
            if (!child->CloseQuery()) {
                return false;
            }
        }
    }
    bool canClose = true;
    if (OnCloseQuery) {
        OnCloseQuery(this, canClose);
    }
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) {
        OnClose(this, action);
    }
}

void TCustomForm::Close() {
    if (m_formState.Contains(fsModal)) {
        m_modalResult = mrCancel;
        return;
    }
    auto alive = AliveToken();
    if (!CloseQuery() || alive.expired()) {
        return;
    }
    TCloseAction action = caHide;
    if (m_formStyle == fsMDIChild) {
        action = m_borderIcons.Contains(biMinimize) ? caMinimize : caNone;
    }
    DoClose(action);
    if (alive.expired() || action == caNone) {
        return;
    }
    if (Application->MainForm() == this) {
        Application->Terminate();
    } else if (action == caHide) {
        Hide();
    } else if (action == caMinimize) {
        SetWindowState(wsMinimized);
    } else {
        Release();
    }
}

void TCustomForm::CloseModal() {
    auto alive = AliveToken();
    TCloseAction action = caNone;
    if (CloseQuery()) {
        if (alive.expired()) {
            return;
        }
        action = caHide;
        DoClose(action);
    }
    if (alive.expired()) {
        return;
    }
    switch (action) {
    case caNone:
        m_modalResult = mrNone;
        break;
    case caFree:
        Release();
        break;
    default:
        break;
    }
}

int TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || m_formState.Contains(fsModal) || m_formStyle == fsMDIChild) {
        ShowErrorBox("Cannot make a visible window modal");
        return mrNone;
    }
    if (::GetCapture()) {
        ::SendMessage(::GetCapture(), WM_CANCELMODE, 0, 0);
    }
    ::ReleaseCapture();
    m_formState.Include(fsModal);
    m_modalResult = mrNone;
    auto alive = AliveToken();
    Show();
    if (alive.expired()) {
        return mrCancel;
    }
    const HWND handle = Handle();
    const int ended = ::RunModalLoop(handle, [this, &alive] {
        if (alive.expired()) {
            return true;
        }
        if (Application->Terminated() && m_modalResult == mrNone) {
            m_modalResult = mrCancel;
        }
        if (m_modalResult != mrNone) {
            CloseModal();
        }
        return alive.expired() || m_modalResult != mrNone;
    });
    if (alive.expired()) {
        // Freed while it was shown: there is nobody to answer for.
        return mrCancel;
    }
    if (ended != 0 && m_modalResult == mrNone) {
        m_modalResult = mrCancel;
    }
    const TModalResult result = m_modalResult;
    m_formState.Exclude(fsModal);
    if (Visible()) {
        Hide();
    }
    return result;
}

void TCustomForm::Release() {
    if (HandleAllocated()) {
        ::PostMessage(Handle(), CM_RELEASE, 0, 0);
    } else {
        // No window to post to: nobody can be inside one of its handlers either.
        delete this;
    }
}

void TCustomForm::CMRelease(TMessage& /*message*/) {
    delete this;
}

// ---- Messages ----------------------------------------------------------------------------------------

void TCustomForm::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_ACTIVATE:
        WMActivate(message);
        break;
    case WM_ACTIVATEAPP:
        WMActivateApp(message);
        break;
    case WM_CLOSE:
        WMClose(message);
        break;
    case WM_GETMINMAXINFO:
        WMGetMinMaxInfo(message);
        break;
    case WM_MDIACTIVATE:
        WMMDIActivate(message);
        break;
    case WM_NCHITTEST:
        WMNCHitTest(message);
        break;
    case WM_NCACTIVATE:
        WMNCActivate(message);
        break;
    case WM_NCLBUTTONDOWN:
        WMNCLButtonDown(message);
        break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (!FrameButtonReleased(message)) {
            TWinControl::Dispatch(message);
        }
        break;
    case CM_ACTIVATE:
        CMActivate(message);
        break;
    case CM_DEACTIVATE:
        CMDeactivate(message);
        break;
    case CM_RELEASE:
        CMRelease(message);
        break;
    case WM_STYLECHANGED:
        WMStyleChanged(message);
        break;
    case WM_SYSCOMMAND:
        WMSysCommand(message);
        break;
    default:
        TWinControl::Dispatch(message);
        break;
    }
}

void TCustomForm::WMActivate(TMessage& message) {
    // Not the default handling: that would give the focus to the form's own window, not to its
    // active control.
    if (m_formStyle != fsMDIForm) {
        SetActive(LOWORD(message.WParam) != WA_INACTIVE);
    } else {
        m_active = LOWORD(message.WParam) != WA_INACTIVE;
        if (m_active) {
            SetWindowFocus();
        }
    }
}

void TCustomForm::WMActivateApp(TMessage& message) {
    DefaultHandler(message);
    Application->SetActiveState(message.WParam != 0);
}

void TCustomForm::WMClose(TMessage& /*message*/) {
    Close();
}

void TCustomForm::WMSysCommand(TMessage& message) {
    // Minimising the main window minimises the program: its other windows hide with it.
    if ((static_cast<UINT>(message.WParam) & 0xFFF0) == SC_MINIMIZE && Application->MainForm() == this) {
        Application->Minimize();
        message.Result = 0;
        return;
    }
    DefaultHandler(message);
}

void TCustomForm::WMGetMinMaxInfo(TMessage& message) {
    DefaultHandler(message);
    auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
    if (!info) {
        return;
    }
    const TSizeConstraints* c = Constraints();
    if (c->MinWidth() > 0) {
        info->ptMinTrackSize.X = c->MinWidth();
    }
    if (c->MinHeight() > 0) {
        info->ptMinTrackSize.Y = c->MinHeight();
    }
    if (c->MaxWidth() > 0) {
        info->ptMaxTrackSize.X = c->MaxWidth();
    }
    if (c->MaxHeight() > 0) {
        info->ptMaxTrackSize.Y = c->MaxHeight();
    }
}

void TCustomForm::WMMDIActivate(TMessage& message) {
    DefaultHandler(message);
    if (m_formStyle != fsMDIChild || !HandleAllocated()) {
        return;
    }
    const bool activating = static_cast<HWND>(message.LParam) == Handle();
    m_active = activating;
    if (activating) {
        Activate();
    } else {
        Deactivate();
    }
}

void TCustomForm::WMSize(TMessage& message) {
    const TWindowState old = m_windowState;
    switch (message.WParam) {
    case SIZE_MAXIMIZED:
        m_windowState = wsMaximized;
        break;
    case SIZE_MINIMIZED:
        m_windowState = wsMinimized;
        break;
    default:
        // Windows are made (and sized) before they are shown: that is no restoring.
        if (HandleAllocated() && ::IsWindowVisible(Handle())) {
            m_windowState = wsNormal;
        }
        break;
    }
    const bool mainFormRestored =
        old == wsMinimized && m_windowState != wsMinimized && Application->MainForm() == this;
    TWinControl::WMSize(message);
    // Last: the forms coming back, and OnRestore, may do anything to this one.
    if (mainFormRestored) {
        Application->MainFormRestored();
    }
}

void TCustomForm::CMActivate(TMessage& /*message*/) {
    Activate();
}

void TCustomForm::CMDeactivate(TMessage& /*message*/) {
    Deactivate();
}

void TCustomForm::CMDialogKey(TMessage& message) {
    if (::GetKeyState(VK_MENU) >= 0) {
        switch (static_cast<int>(message.WParam)) {
        case VK_TAB:
            if (::GetKeyState(VK_CONTROL) >= 0) {
                SelectNext(m_activeControl, ::GetKeyState(VK_SHIFT) >= 0, true);
                message.Result = 1;
                return;
            }
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            if (m_activeControl && m_activeControl->Parent()) {
                const bool forward = message.WParam == VK_RIGHT || message.WParam == VK_DOWN;
                m_activeControl->Parent()->SelectNext(m_activeControl, forward, false);
                message.Result = 1;
                return;
            }
            break;
        default:
            break;
        }
    }
    TWinControl::CMDialogKey(message);
}

// ---- The MDI client window ---------------------------------------------------------------------------

LRESULT MDIClientWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // The active child is kept as a window property (no object stands behind this window).
    static constexpr const char* kActiveProp = "VarnelMDIActive";
    auto active = [hwnd] {
        return static_cast<HWND>(reinterpret_cast<std::uintptr_t>(::GetProp(hwnd, kActiveProp)));
    };
    auto setActive = [hwnd](HWND child) {
        ::SetProp(hwnd, kActiveProp, reinterpret_cast<void*>(static_cast<std::uintptr_t>(child)));
    };
    switch (message) {
    case WM_MDIACTIVATE: {
        const HWND child = static_cast<HWND>(wParam);
        const HWND old = active();
        if (!::IsWindow(child) || ::GetParent(child) != hwnd || child == old) {
            return 0;
        }
        setActive(child);
        ::SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (old && ::IsWindow(old)) {
            ::SendMessage(old, WM_MDIACTIVATE, old, static_cast<LPARAM>(child));
        }
        if (::IsWindow(child)) {
            ::SendMessage(child, WM_MDIACTIVATE, old, static_cast<LPARAM>(child));
        }
        return 0;
    }
    case WM_MDIGETACTIVE: {
        const HWND current = active();
        return ::IsWindow(current) ? static_cast<LRESULT>(current) : 0;
    }
    case WM_MDIDESTROY: {
        // A child is going: the next visible child becomes the active one.
        const HWND leaving = static_cast<HWND>(wParam);
        if (active() == leaving) {
            setActive(0);
            for (HWND next = ::GetWindow(hwnd, GW_CHILD); next; next = ::GetWindow(next, GW_HWNDNEXT)) {
                if (next != leaving && ::IsWindowVisible(next)) {
                    return ::SendMessage(hwnd, WM_MDIACTIVATE, next, 0);
                }
            }
        }
        return 0;
    }
    case WM_NCDESTROY:
        ::RemoveProp(hwnd, kActiveProp);
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    default:
        return ::DefWindowProc(hwnd, message, wParam, lParam);
    }
}
