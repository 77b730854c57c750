#pragma once

#include "toolkit/controls/Control.h"
#include "toolkit/controls/ControlCanvas.h"

#include <memory>

// A control without a window: its parent paints it, in z-order, with the origin moved to the
// control and the drawing clipped to it, and hands it the mouse messages over its area.
class TGraphicControl : public TControl {
    VARNEL_CLASS(TGraphicControl, TControl)

public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    TCanvas* Canvas() const { return m_canvas.get(); }

protected:
    // Draws the control on Canvas, whose (0, 0) is the control's top-left corner.
    virtual void Paint() {}

    void Dispatch(TMessage& message) override;
    virtual void WMPaint(TMessage& message);

private:
    std::unique_ptr<TControlCanvas> m_canvas;
};
