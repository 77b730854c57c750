#include "toolkit/controls/Application.h"

#include "toolkit/controls/Form.h"
#include "toolkit/controls/HintWindow.h"
#include "toolkit/controls/Screen.h"
#include "toolkit/controls/Timer.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>
#include <utility>

VARNEL_CLASS_INFO(TApplication)

namespace {

TApplication& TheApplication() {
    static TApplication application;
    return application;
}

void InitiateActions(TControl* control) {
    control->InitiateAction();
    if (auto* window = dynamic_cast<TWinControl*>(control)) {
        for (int i = 0; i < window->ControlCount(); ++i) {
            InitiateActions(window->Controls(i));
        }
    }
}

} // namespace

TApplication* const Application = &TheApplication();

TApplication::TApplication(TComponent* owner) : TComponent(owner), m_icon(std::make_unique<TIcon>()) {
    // The screen is made first so that it outlives the application, whose forms tell it when
    // they go.
    GlobalScreen();
}

TApplication::~TApplication() {
    // The forms go while the application is whole: they tell it they are going.
    DestroyComponents();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) {
        return;
    }
    if (component == m_hintTimer) {
        m_hintTimer = nullptr;
    }
    if (component == m_hintWindow) {
        m_hintWindow = nullptr;
        m_hintShowing = false;
    }
}

void TApplication::Initialize() {
    TWindowSystem* system = TWindowSystem::Current();
    if (!system || system->Serial() == m_installedSystem) {
        return;
    }
    m_installedSystem = system->Serial();
    system->SetMessageFilter([](MSG& message) { return Application->PreprocessMessage(message); });
    system->SetIdleHandler([] { Application->Idle(); });
}

void TApplication::FormCreated(TCustomForm* form) {
    form->AfterConstruction();
    if (!m_mainForm) {
        form->HandleNeeded();
        m_mainForm = form;
    }
}

void TApplication::FormDestroying(TCustomForm* form) {
    if (form == m_mainForm) {
        m_mainForm = nullptr;
    }
    m_hiddenByMinimize.erase(std::remove(m_hiddenByMinimize.begin(), m_hiddenByMinimize.end(), form),
                             m_hiddenByMinimize.end());
}

void TApplication::SetIcon(const TIcon* value) {
    m_icon->Assign(value);
}

void TApplication::Run() {
    Initialize();
    if (m_mainForm && m_showMainForm) {
        m_mainForm->Show();
    }
    while (!m_terminated) {
        HandleMessage();
    }
}

void TApplication::Terminate() {
    m_terminated = true;
    ::PostQuitMessage(0);
}

bool TApplication::ProcessMessage(MSG& message) {
    TWindowSystem* system = TWindowSystem::Current();
    if (!system || !::PeekMessage(&message, 0, 0, 0, PM_REMOVE)) {
        return false;
    }
    if (message.message == WM_QUIT) {
        m_terminated = true;
        return true;
    }
    // Pump runs the message through PreprocessMessage, then translates and dispatches it.
    system->Pump(message);
    return true;
}

void TApplication::ProcessMessages() {
    Initialize();
    MSG message;
    while (ProcessMessage(message)) {
    }
}

void TApplication::HandleMessage() {
    Initialize();
    MSG message;
    if (!ProcessMessage(message)) {
        // An idle handler that has more to do is called again before anything waits.
        if (Idle() && TWindowSystem::Current() && !m_terminated) {
            ::WaitMessage();
        }
    }
}

bool TApplication::Idle() {
    UpdateActions();
    bool done = true;
    if (TIdleEvent onIdle = OnIdle) {
        onIdle(this, done);
    }
    return done;
}

void TApplication::UpdateActions() {
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form->Visible()) {
            InitiateActions(form);
        }
    }
}

int TApplication::HookMessages(TMessageHook hook) {
    const int id = m_nextHookId++;
    m_hooks.push_back({id, std::move(hook)});
    return id;
}

void TApplication::UnhookMessages(int id) {
    m_hooks.erase(std::remove_if(m_hooks.begin(), m_hooks.end(), [id](const THook& h) { return h.Id == id; }),
                  m_hooks.end());
}

// ---- Hints ---------------------------------------------------------------------------------------

// Whether the control has a hint to show: its own ShowHint (inherited from its parent unless set).
static bool WantsHint(const TControl* control) {
    return control && control->ShowHint() && !control->Hint().empty();
}

void TApplication::SetShowHint(bool value) {
    m_showHint = value;
    if (!value) {
        CancelHint();
    }
}

THintWindow* TApplication::HintWindow() const {
    return m_hintShowing ? m_hintWindow : nullptr;
}

void TApplication::HintMouseMoved(TControl* control) {
    if (control == m_hintControl) {
        return;
    }
    CancelHint();
    if (!m_showHint || !WantsHint(control) || !TWindowSystem::Current()) {
        return;
    }
    m_hintControl = control;
    if (!m_hintTimer) {
        m_hintTimer = new TTimer(this);
        m_hintTimer->OnTimer = [](TObject*) { Application->HintTimerFired(); };
    }
    m_hintTimer->SetEnabled(false);
    m_hintTimer->SetInterval(m_hintPause);
    m_hintTimer->SetEnabled(true);
}

void TApplication::HintTimerFired() {
    m_hintTimer->SetEnabled(false);
    if (m_hintShowing) {
        CancelHint();
        return;
    }
    ShowHintNow();
}

void TApplication::ShowHintNow() {
    if (!m_hintControl || !WantsHint(m_hintControl) || m_hintControl != MouseControl()) {
        return;
    }
    if (!m_hintWindow) {
        m_hintWindow = new THintWindow(this);
    }
    POINT p;
    ::GetCursorPos(&p);
    TRect rect = m_hintWindow->CalcHintRect(m_hintControl->Hint());
    // Below the pointer, clear of the arrow.
    rect = rect.Offset(p.X, p.Y + 20);
    m_hintWindow->ActivateHint(rect, m_hintControl->Hint());
    m_hintShowing = true;
    if (m_hintHidePause > 0) {
        m_hintTimer->SetInterval(m_hintHidePause);
        m_hintTimer->SetEnabled(true);
    }
}

void TApplication::CancelHint() {
    m_hintControl = nullptr;
    if (m_hintTimer) {
        m_hintTimer->SetEnabled(false);
    }
    if (m_hintShowing && m_hintWindow) {
        m_hintWindow->ReleaseHint();
    }
    m_hintShowing = false;
}

bool TApplication::PreprocessMessage(MSG& message) {
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        CancelHint();
        break;
    default:
        break;
    }
    // Copies: a hook may remove itself or others while it runs.
    const std::vector<THook> hooks = m_hooks;
    for (const THook& hook : hooks) {
        if (hook.Hook && hook.Hook(message)) {
            return true;
        }
    }
    if (TMessageEvent onMessage = OnMessage) {
        bool handled = false;
        onMessage(message, handled);
        if (handled) {
            return true;
        }
    }
    return IsKeyMsg(message);
}

bool TApplication::IsKeyMsg(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    HWND target = ::GetCapture();
    if (!target) {
        target = message.hwnd;
        if (m_mainForm && m_mainForm->ClientHandle() && target == m_mainForm->ClientHandle()) {
            target = m_mainForm->Handle();
        } else {
            // The nearest window that belongs to a control; others know nothing of CN_ messages.
            HWND h = target;
            while (h && !FindControl(h)) {
                h = ::GetParent(h);
            }
            if (h) {
                target = h;
            }
        }
    }
    if (!FindControl(target)) {
        return false;
    }
    return ::SendMessage(target, CN_BASE + message.message, message.wParam, message.lParam) != 0;
}

void TApplication::SetActiveState(bool active) {
    if (active == m_active) {
        return;
    }
    m_active = active;
    TNotifyEvent event = active ? OnActivate : OnDeactivate;
    if (event) {
        event(this);
    }
}

void TApplication::Minimize() {
    if (!m_mainForm) {
        return;
    }
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form != m_mainForm && form->Visible() && form->FormStyle() != fsMDIChild) {
            m_hiddenByMinimize.push_back(form);
        }
    }
    for (TCustomForm* form : std::vector(m_hiddenByMinimize)) {
        if (form->HandleAllocated()) {
            ::ShowWindow(form->Handle(), SW_HIDE);
        }
    }
    m_minimized = true;
    m_mainForm->SetWindowState(wsMinimized);
    if (OnMinimize) {
        OnMinimize(this);
    }
}

void TApplication::Restore() {
    if (!m_mainForm) {
        return;
    }
    if (m_mainForm->WindowState() == wsMinimized) {
        // The main form's WM_SIZE brings the other forms back (MainFormRestored).
        m_mainForm->SetWindowState(wsNormal);
    }
    MainFormRestored();
}

void TApplication::MainFormRestored() {
    if (!m_minimized) {
        return;
    }
    m_minimized = false;
    for (TCustomForm* form : std::exchange(m_hiddenByMinimize, {})) {
        if (form->HandleAllocated() && form->Visible()) {
            ::ShowWindow(form->Handle(), SW_SHOWNA);
        }
    }
    if (OnRestore) {
        OnRestore(this);
    }
}

void TApplication::Reset() {
    CancelHint();
    m_hintTimer = nullptr;
    m_hintWindow = nullptr;
    DestroyComponents();
    m_mainForm = nullptr;
    m_terminated = false;
    m_showMainForm = true;
    m_active = false;
    m_title.clear();
    m_hooks.clear();
    m_hiddenByMinimize.clear();
    m_minimized = false;
    OnMessage = nullptr;
    OnIdle = nullptr;
    OnActivate = nullptr;
    OnDeactivate = nullptr;
    OnMinimize = nullptr;
    OnRestore = nullptr;
    m_installedSystem = 0;
    m_showHint = true;
    m_hintPause = 500;
    m_hintHidePause = 2500;
}
