#pragma once

#include "toolkit/controls/ControlCanvas.h"
#include "toolkit/controls/WinControl.h"

#include <memory>

// A windowed control that paints itself: Paint draws on Canvas, which covers the client area.
class TCustomControl : public TWinControl {
    VARNEL_CLASS(TCustomControl, TWinControl)

public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;

    TCanvas* Canvas() const { return m_canvas.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
    void DestroyWnd() override;

private:
    std::unique_ptr<TControlCanvas> m_canvas;
};
