#pragma once

#include "toolkit/windowing/WindowSubclass.h"

#include <functional>

class TWinControl;

// Keeps an object in front of a windowed control's window procedure (see TWindowSubclass): put
// there as soon as the control has a window, and again whenever the control makes a new one (a
// style change, RecreateWnd), since the new window starts with the control's own procedure. On
// destruction the control's procedure is put back if ours is still the window's. A control that
// goes first leaves the object with no window.
class TControlSubclass {
public:
    // installed, when given, runs each time the object has gone in front of a new window.
    TControlSubclass(TWinControl* control, TWindowSubclass::TAfterProc after,
                     std::function<void()> installed = nullptr);
    ~TControlSubclass();
    TControlSubclass(const TControlSubclass&) = delete;
    TControlSubclass& operator=(const TControlSubclass&) = delete;

    TWinControl* Control() const { return m_control; }
    bool Installed() const { return m_subclass.Installed(); }
    // The procedure the control's window had before, or none.
    WNDPROC SavedProc() const { return m_subclass.SavedProc(); }

private:
    friend class TWinControl;
    void WindowCreated();
    void ControlGone();

    TWinControl* m_control;
    TWindowSubclass m_subclass;
    std::function<void()> m_installed;
};
