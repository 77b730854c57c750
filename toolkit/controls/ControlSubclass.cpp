#include "toolkit/controls/ControlSubclass.h"

#include "toolkit/controls/WinControl.h"

#include <algorithm>

TControlSubclass::TControlSubclass(TWinControl* control, TWindowSubclass::TAfterProc after,
                                   std::function<void()> installed)
    : m_control(control), m_subclass(std::move(after)), m_installed(std::move(installed)) {
    if (!m_control) {
        return;
    }
    m_control->m_subclasses.push_back(this);
    if (m_control->HandleAllocated()) {
        WindowCreated();
    }
}

TControlSubclass::~TControlSubclass() {
    m_subclass.Remove();
    if (m_control) {
        auto& list = m_control->m_subclasses;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

void TControlSubclass::WindowCreated() {
    if (m_control && m_control->HandleAllocated() && m_subclass.Window() != m_control->Handle() &&
        m_subclass.Install(m_control->Handle()) && m_installed) {
        m_installed();
    }
}

void TControlSubclass::ControlGone() {
    m_control = nullptr;
}
