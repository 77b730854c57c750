#include "toolkit/controls/Timer.h"

#include "toolkit/components/Properties.h"
#include "toolkit/windowing/WinUser.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>

VARNEL_CLASS_INFO(TTimer, [](auto& c) {
    c.Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
    c.Int("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(1000);
    c.Event("OnTimer", &TTimer::OnTimer);
})

namespace {

constexpr const char* kTimerClass = "VarnelTimerWindow";
constexpr const char* kTimerProp = "VarnelTimer";
constexpr UINT_PTR kTimerId = 1;

std::uint64_t CurrentSerial() {
    const TWindowSystem* system = TWindowSystem::Current();
    return system ? system->Serial() : 0;
}

} // namespace

// Ticks arrive as WM_TIMER on a message-only window that belongs to the timer; destroying the
// window with the timer stops every tick, even one already queued.
LRESULT TimerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kTimerId) {
        if (auto* timer = static_cast<TTimer*>(::GetProp(hwnd, kTimerProp))) {
            timer->Timer();
        }
        return 0;
    }
    return ::DefWindowProc(hwnd, message, wParam, lParam);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    UpdateTimer();
}

TTimer::~TTimer() {
    DestroyTimerWindow();
}

void TTimer::SetEnabled(bool value) {
    if (value == m_enabled) {
        return;
    }
    m_enabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(int value) {
    value = std::max(0, value);
    if (value == m_interval) {
        return;
    }
    m_interval = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
    OnTimer = std::move(handler);
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::Timer() {
    if (OnTimer && !IsLoading()) {
        OnTimer(this);
    }
}

void TTimer::DestroyTimerWindow() {
    if (m_window && m_windowSystem == CurrentSerial() && ::IsWindow(m_window)) {
        ::KillTimer(m_window, kTimerId);
        ::RemoveProp(m_window, kTimerProp);
        ::DestroyWindow(m_window);
    }
    m_window = 0;
}

void TTimer::UpdateTimer() {
    if (m_window && m_windowSystem != CurrentSerial()) {
        m_window = 0;
    }
    if (m_window) {
        ::KillTimer(m_window, kTimerId);
    }
    // The handler can be assigned in code after the timer is enabled, so the timer runs without
    // one and looks for it at each tick; a layout's timer starts once its handler is bound.
    if (!m_enabled || m_interval <= 0 || IsLoading() || IsDesigning() || !TWindowSystem::Current()) {
        return;
    }
    if (!m_window) {
        WNDCLASS existing;
        if (!::GetClassInfo(kTimerClass, &existing)) {
            WNDCLASS wc;
            wc.lpfnWndProc = &TimerWindowProc;
            wc.lpszClassName = kTimerClass;
            ::RegisterClass(&wc);
        }
        m_window = ::CreateWindowEx(0, kTimerClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, 0, nullptr);
        if (!m_window) {
            return;
        }
        m_windowSystem = CurrentSerial();
        ::SetProp(m_window, kTimerProp, this);
    }
    ::SetTimer(m_window, kTimerId, m_interval, nullptr);
}
