#pragma once

#include "toolkit/graphics/Canvas.h"
#include "toolkit/windowing/WinTypes.h"

#include <vector>

class TControl;

// The canvas of a control. While the control paints, it draws on the paint context it was given;
// at other times it takes a context of the control's window when first used (for a windowless
// control, of its parent's window, moved and clipped to the control) and gives it back after the
// message being handled is done (FreeDeviceContexts), so what it drew reaches the screen.
class TControlCanvas : public TCanvas {
    VARNEL_CLASS(TControlCanvas, TCanvas)

public:
    explicit TControlCanvas(TControl* control = nullptr) : m_control(control) {}
    ~TControlCanvas() override;

    TControl* Control() const { return m_control; }
    void SetControl(TControl* control);

    // Draws on dc until the matching EndPaintWith; pairs may nest.
    void BeginPaintWith(HDC dc);
    void EndPaintWith();
    bool Painting() const { return !m_paintContexts.empty(); }
    // Gives back the context the canvas took itself, if any.
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    friend void FreeDeviceContexts();

    TControl* m_control;
    HDC m_ownContext = nullptr;
    HWND m_ownWindow = 0;
    std::vector<HDC> m_paintContexts;
};
