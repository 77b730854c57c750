#include "toolkit/controls/GraphicControl.h"

VARNEL_CLASS_INFO(TGraphicControl)

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), m_canvas(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() {
    m_canvas->FreeHandle();
}

void TGraphicControl::Dispatch(TMessage& message) {
    if (message.Msg == WM_PAINT) {
        WMPaint(message);
        return;
    }
    TControl::Dispatch(message);
}

void TGraphicControl::WMPaint(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (!dc) {
        return;
    }
    m_canvas->BeginPaintWith(dc);
    auto alive = AliveToken();
    Paint();
    if (!alive.expired()) {
        m_canvas->EndPaintWith();
    }
}
