#pragma once

#include "toolkit/controls/CustomControl.h"

// The small window that shows a control's hint next to the pointer: a thin frame around the
// text on the info colours. It never takes the activation or the focus.
class THintWindow : public TCustomControl {
    VARNEL_CLASS(THintWindow, TCustomControl)

public:
    explicit THintWindow(TComponent* owner);

    // The size the text needs (single lines as given), frame and margins included.
    TRect CalcHintRect(const std::string& text);
    // Shows text in a window of rect's size at rect's place (screen coordinates).
    void ActivateHint(const TRect& rect, const std::string& text);
    void ReleaseHint();

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void Dispatch(TMessage& message) override;
};
