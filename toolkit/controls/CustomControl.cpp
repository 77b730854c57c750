#include "toolkit/controls/CustomControl.h"

VARNEL_CLASS_INFO(TCustomControl)

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), m_canvas(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() {
    m_canvas->FreeHandle();
}

void TCustomControl::PaintWindow(HDC dc) {
    m_canvas->BeginPaintWith(dc);
    auto alive = AliveToken();
    Paint();
    if (!alive.expired()) {
        m_canvas->EndPaintWith();
    }
}

void TCustomControl::DestroyWnd() {
    m_canvas->FreeHandle();
    TWinControl::DestroyWnd();
}
