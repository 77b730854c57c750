#pragma once

// A fixture for tests of controls and forms, on top of the toolkit fixture: the application and
// screen start clean for every test, forms are made owned by the application (and freed with
// it), and input goes to points of controls. Header-only, so that only the test programs that
// use controls link the control layer.

#include "tests/support/ToolkitFixture.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/Screen.h"

#include <cstdint>

class TControlFixture : public TToolkitFixture {
protected:
    explicit TControlFixture(int scale = 1) : TToolkitFixture(scale) {
        Application->Reset();
        Application->Initialize();
    }

    void TearDown() override {
        TToolkitFixture::TearDown();
        // Forms go while the window system still exists.
        Application->Reset();
        Screen->SetCursor(crDefault);
        SetMouseControl(nullptr);
        FreeDeviceContexts();
    }

    // A form owned by the application, without a frame unless asked, at bounds, not yet shown.
    template <typename F = TForm>
    F* NewForm(TRect bounds = {100, 100, 500, 400}, TFormBorderStyle border = bsNone) {
        auto* form = new F(Application);
        form->SetBorderStyle(border);
        form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        return form;
    }

    // Shows the form and lets everything that follows (painting, activation) happen.
    void ShowForm(TCustomForm* form) {
        form->Show();
        Pump();
    }

    // The screen point of a point in a control's client area.
    static TPoint At(const TControl* control, int x, int y) { return control->ClientToScreen({x, y}); }

    void ClickOn(const TControl* control, int x, int y) { Click(At(control, x, y)); }
    void MoveOver(const TControl* control, int x, int y) { MoveTo(At(control, x, y)); }
    void PressOn(const TControl* control, int x, int y) { Press(At(control, x, y)); }
    void ReleaseOn(const TControl* control, int x, int y) { Release(At(control, x, y)); }

    // A click on a control, made the next time a loop waits (inside a modal loop).
    void ClickWhenIdle(const TControl* control, int x, int y) {
        WhenIdle([this, control, x, y] {
            const TPoint p = At(control, x, y);
            InjectMove(p);
            InjectPress(p);
            InjectRelease(p);
        });
    }
    // Any step at that time, without processing its effects itself.
    void DoWhenIdle(std::function<void()> step) { WhenIdle(std::move(step)); }

    // What the screen shows of a form's window at a point in window coordinates.
    std::uint32_t PixelOf(TCustomForm* form, int x, int y) {
        const TPixelBuffer& pixels = Presented(form->Handle());
        return pixels.At(x, y);
    }
    // The same at a point in a control's client area.
    std::uint32_t PixelAt(const TControl* control, int x, int y) {
        TCustomForm* form = GetParentForm(control);
        RECT window;
        ::GetWindowRect(form->Handle(), &window);
        const TPoint p = At(control, x, y);
        return PixelOf(form, p.X - window.Left, p.Y - window.Top);
    }
};
