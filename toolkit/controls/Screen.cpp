#include "toolkit/controls/Screen.h"

#include "toolkit/controls/Form.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>

VARNEL_CLASS_INFO(TScreen)

TScreen* GlobalScreen() {
    static TScreen screen;
    return &screen;
}

TScreen* const Screen = GlobalScreen();

void TScreen::SetCursor(TCursor value) {
    if (value == m_cursor) {
        return;
    }
    m_cursor = value;
    if (value != crDefault) {
        ::SetCursor(CursorHandle(value));
        return;
    }
    // Back to the controls' own cursors: ask the window under the pointer again.
    POINT p;
    if (::GetCursorPos(&p)) {
        if (const HWND under = ::WindowFromPoint(p)) {
            ::SendMessage(under, WM_SETCURSOR, under, MAKELPARAM(HTCLIENT, static_cast<int>(WM_MOUSEMOVE)));
        }
    }
}

TCustomForm* TScreen::Forms(int index) const {
    if (index < 0 || index >= FormCount()) {
        return nullptr;
    }
    return m_forms[static_cast<std::size_t>(index)];
}

int TScreen::Width() const {
    return ::GetSystemMetrics(SM_CXSCREEN);
}

int TScreen::Height() const {
    return ::GetSystemMetrics(SM_CYSCREEN);
}

TRect TScreen::WorkAreaRect() const {
    RECT r;
    if (!::SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0)) {
        return {0, 0, Width(), Height()};
    }
    return r;
}

void TScreen::AddForm(TCustomForm* form) {
    m_forms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
    m_forms.erase(std::remove(m_forms.begin(), m_forms.end(), form), m_forms.end());
    if (m_activeForm == form) {
        m_activeForm = nullptr;
        m_activeControl = nullptr;
        if (OnActiveFormChange) {
            OnActiveFormChange(this);
        }
    }
}

void TScreen::FocusMoved(TCustomForm* form, TWinControl* control) {
    auto it = std::find(m_forms.begin(), m_forms.end(), form);
    if (it != m_forms.end()) {
        m_forms.erase(it);
        m_forms.insert(m_forms.begin(), form);
    }
    const bool formChanged = form != m_activeForm;
    const bool controlChanged = control != m_activeControl;
    m_activeForm = form;
    m_activeControl = control;
    if (formChanged && OnActiveFormChange) {
        OnActiveFormChange(this);
    }
    if (controlChanged && OnActiveControlChange) {
        OnActiveControlChange(this);
    }
}

void TScreen::ControlGone(TWinControl* control) {
    if (m_activeControl == control) {
        m_activeControl = nullptr;
    }
}
