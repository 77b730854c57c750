#pragma once

#include "toolkit/components/Component.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/windowing/WinTypes.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCustomForm;
class TControl;
class THintWindow;
class TIcon;
class TTimer;

// Sees a queued message before it is dispatched; setting handled keeps it from its window.
using TMessageEvent = std::function<void(MSG& message, bool& handled)>;
// The same as one of several hooks; answering true keeps the message from its window.
using TMessageHook = std::function<bool(MSG& message)>;
// Called when the queue is empty; leaving done false asks to be called again before waiting.
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;

// The program: its forms (the first created is the main form, whose closing ends the program),
// the message loop, and the hooks that see every queued message before it is dispatched. Before a
// key message is dispatched it is reflected to the focused control (CN_KEYDOWN ...), which uses
// it for dialog keys and accelerators.
class TApplication : public TComponent {
    VARNEL_CLASS(TApplication, TComponent)

public:
    explicit TApplication(TComponent* owner = nullptr);
    ~TApplication() override;

    // Hooks the application into the current window system (done by every entry point too).
    void Initialize();
    // Makes a form owned by the application; the first one becomes the main form.
    template <typename T>
    void CreateForm(T*& reference) {
        Initialize();
        reference = new T(this);
        FormCreated(reference);
    }
    // Shows the main form and handles messages until the application is told to end.
    void Run();
    // Asks the loops to end (the running message loop, and any modal loop, which then cancels).
    void Terminate();
    bool Terminated() const { return m_terminated; }
    // Handles every message that is ready now, without waiting.
    void ProcessMessages();
    // Handles one message, or waits for one when none is ready.
    void HandleMessage();

    TCustomForm* MainForm() const { return m_mainForm; }
    bool ShowMainForm() const { return m_showMainForm; }
    void SetShowMainForm(bool value) { m_showMainForm = value; }
    // The program's name, for the program's own use (each window shows its own caption).
    const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& value) { m_title = value; }
    TIcon* Icon() const { return m_icon.get(); }
    void SetIcon(const TIcon* value);
    // Whether one of the program's windows is the active window of the desktop.
    bool Active() const { return m_active; }
    // Minimises the main form and hides the other forms; Restore, or the main form coming back
    // from its minimised state by any other way, brings them all back.
    void Minimize();
    void Restore();

    // Hints: shown after the pointer rests HintPause ms on a control with ShowHint and a Hint,
    // hidden after HintHidePause ms, when the pointer leaves it, or on a key or a click.
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value);
    int HintPause() const { return m_hintPause; }
    void SetHintPause(int value) { m_hintPause = value; }
    int HintHidePause() const { return m_hintHidePause; }
    void SetHintHidePause(int value) { m_hintHidePause = value; }
    void CancelHint();
    // The hint window while a hint shows, else none.
    THintWindow* HintWindow() const;

    // Several hooks may see the queued messages, in the order they were added, before OnMessage.
    int HookMessages(TMessageHook hook);
    void UnhookMessages(int id);

    // Starts over with no forms, no main form, no hooks and no pending end: frees the forms the
    // application owns. For programs that run several sessions, and for tests.
    void Reset();

    TMessageEvent OnMessage;
    TIdleEvent OnIdle;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;

private:
    friend class TCustomForm;
    friend class TWinControl;

    friend class TControl;
    friend void SetMouseControl(TControl* control);

    void Notification(TComponent* component, TOperation operation) override;
    void FormCreated(TCustomForm* form);
    // The pointer came onto another control (or none).
    void HintMouseMoved(TControl* control);
    void HintTimerFired();
    void ShowHintNow();
    void FormDestroying(TCustomForm* form);
    // The main form left its minimised state: the forms Minimize hid come back.
    void MainFormRestored();
    void SetActiveState(bool active);
    // Retrieves and handles one message; false when none was ready.
    bool ProcessMessage(MSG& message);
    // What every retrieved message goes through first; true when it was handled here.
    bool PreprocessMessage(MSG& message);
    bool IsKeyMsg(MSG& message);
    // Runs the idle work; false when OnIdle wants to be called again at once.
    bool Idle();
    // Brings the state of linked actions up to date on every shown form.
    void UpdateActions();

    TCustomForm* m_mainForm = nullptr;
    bool m_terminated = false;
    bool m_showMainForm = true;
    bool m_active = false;
    std::string m_title;
    std::unique_ptr<TIcon> m_icon;
    struct THook {
        int Id;
        TMessageHook Hook;
    };
    std::vector<THook> m_hooks;
    int m_nextHookId = 1;
    std::uint64_t m_installedSystem = 0; // the window system the hooks are installed in
    std::vector<TCustomForm*> m_hiddenByMinimize;
    bool m_minimized = false; // Minimize ran and the main form has not come back yet
    bool m_showHint = true;
    int m_hintPause = 500;      // ms the pointer rests before a hint shows
    int m_hintHidePause = 2500; // ms a hint stays
    TControl* m_hintControl = nullptr;
    TTimer* m_hintTimer = nullptr;       // owned by the application, made on first use
    THintWindow* m_hintWindow = nullptr; // owned by the application, made on first use
    bool m_hintShowing = false;
};

extern TApplication* const Application;
