#pragma once

#include "toolkit/components/Component.h"
#include "toolkit/windowing/WinTypes.h"

#include <cstdint>

// Fires OnTimer every Interval milliseconds while Enabled, through the message loop. An interval
// of 0 (or no OnTimer) keeps it quiet.
class TTimer : public TComponent {
    VARNEL_CLASS(TTimer, TComponent)

public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);
    int Interval() const { return m_interval; }
    void SetInterval(int value);
    void SetOnTimer(TNotifyEvent handler);

    TNotifyEvent OnTimer;

protected:
    virtual void Timer();
    void Loaded() override;

private:
    friend LRESULT TimerWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Starts or stops the window system's timer to match the settings.
    void UpdateTimer();
    void DestroyTimerWindow();

    bool m_enabled = true;
    int m_interval = 1000;
    HWND m_window = 0;
    std::uint64_t m_windowSystem = 0; // the window system m_window belongs to
};
