#include "toolkit/controls/ControlCanvas.h"

#include "toolkit/controls/WinControl.h"
#include "toolkit/graphics/Gdi.h"

#include <algorithm>

VARNEL_CLASS_INFO(TControlCanvas)

namespace {

// Canvases that hold a context of their own.
std::vector<TControlCanvas*>& HoldingCanvases() {
    static std::vector<TControlCanvas*> canvases;
    return canvases;
}

} // namespace

void FreeDeviceContexts() {
    for (TControlCanvas* canvas : std::vector(HoldingCanvases())) {
        if (!canvas->Painting()) {
            canvas->FreeHandle();
        }
    }
}

TControlCanvas::~TControlCanvas() {
    FreeHandle();
}

void TControlCanvas::SetControl(TControl* control) {
    if (control == m_control) {
        return;
    }
    FreeHandle();
    m_control = control;
}

void TControlCanvas::BeginPaintWith(HDC dc) {
    if (m_paintContexts.empty()) {
        FreeHandle();
    }
    m_paintContexts.push_back(dc);
    SetHandle(dc);
}

void TControlCanvas::EndPaintWith() {
    if (m_paintContexts.empty()) {
        return;
    }
    m_paintContexts.pop_back();
    SetHandle(m_paintContexts.empty() ? nullptr : m_paintContexts.back());
}

void TControlCanvas::FreeHandle() {
    if (!m_ownContext) {
        return;
    }
    if (m_paintContexts.empty()) {
        SetHandle(nullptr);
    }
    ::ReleaseDC(m_ownWindow, m_ownContext);
    m_ownContext = nullptr;
    m_ownWindow = 0;
    auto& list = HoldingCanvases();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

namespace {

// Whether the control, or anything it lies on, is being destroyed or is losing its window: asking
// for a window then would make a new one that nobody destroys (a border drawn during destruction).
bool WindowsGoing(const TControl* control) {
    for (const TControl* c = control; c; c = c->Parent()) {
        if (c->IsDestroying() || c->ControlState().Contains(csDestroyingHandle)) {
            return true;
        }
    }
    return false;
}

} // namespace

void TControlCanvas::CreateHandle() {
    if (!m_control || !m_paintContexts.empty() || m_ownContext) {
        return;
    }
    // The window drawn on is the control's, or its parent's for a windowless one. One that has
    // none yet gets it now, except while a destruction is under way: that window would outlive it.
    auto windowOf = [this](TWinControl* control) -> HWND {
        if (control->HandleAllocated()) {
            return control->Handle();
        }
        return WindowsGoing(m_control) ? 0 : control->Handle();
    };
    HDC dc = nullptr;
    HWND window = 0;
    if (auto* windowed = dynamic_cast<TWinControl*>(m_control)) {
        window = windowOf(windowed);
        dc = window ? ::GetDC(window) : nullptr;
    } else if (TWinControl* parent = m_control->Parent()) {
        window = windowOf(parent);
        dc = window ? ::GetDC(window) : nullptr;
        if (dc) {
            ::SetViewportOrgEx(dc, m_control->Left(), m_control->Top(), nullptr);
            ::IntersectClipRect(dc, 0, 0, m_control->Width(), m_control->Height());
        }
    }
    if (!dc) {
        return;
    }
    m_ownContext = dc;
    m_ownWindow = window;
    HoldingCanvases().push_back(this);
    SetHandle(dc);
}
