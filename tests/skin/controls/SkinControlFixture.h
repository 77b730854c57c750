#pragma once

// A fixture for the skinned controls: a borderless form to place them on, an event log, and the
// pixels a control shows on the screen.

#include "tests/support/ControlFixture.h"
#include "toolkit/graphics/PixelBuffer.h"

#include <string>
#include <vector>

class TSkinControlFixture : public TControlFixture {
protected:
    TSkinControlFixture() {
        form = NewForm({100, 100, 560, 420});
        form->SetName("Form1");
        form->SetColor(static_cast<TColor>(0x00C0A080));
    }

    // A control of class T on the form (or on parent), named, at bounds.
    template <typename T>
    T* Place(const char* name, TRect bounds, TWinControl* parent = nullptr) {
        auto* control = new T(form);
        control->SetName(name);
        control->SetParent(parent ? parent : form);
        control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        return control;
    }

    void Show() { ShowForm(form); }

    void Log(std::string entry) { log.push_back(std::move(entry)); }
    std::vector<std::string> TakeLog() { return std::exchange(log, {}); }

    // What the screen shows of the control's whole area: a windowed control's whole window,
    // its non-client band included.
    TPixelBuffer Shot(const TControl* control) {
        const TPixelBuffer& screen = Presented(form->Handle());
        RECT window;
        ::GetWindowRect(form->Handle(), &window);
        TRect area = Bounds(0, 0, control->Width(), control->Height())
                         .Offset(control->ClientToScreen({0, 0}).X, control->ClientToScreen({0, 0}).Y);
        if (auto* windowed = dynamic_cast<const TWinControl*>(control);
            windowed && windowed->HandleAllocated()) {
            RECT own;
            ::GetWindowRect(const_cast<TWinControl*>(windowed)->Handle(), &own);
            area = own;
        }
        TPixelBuffer out(area.Width(), area.Height());
        for (int y = 0; y < area.Height(); ++y) {
            for (int x = 0; x < area.Width(); ++x) {
                out.Set(x, y, screen.At(area.Left - window.Left + x, area.Top - window.Top + y));
            }
        }
        return out;
    }

    TForm* form = nullptr;
    std::vector<std::string> log;
};

// Whether two buffers differ in size or in any pixel.
inline bool Differ(const TPixelBuffer& a, const TPixelBuffer& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        return true;
    }
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.At(x, y) != b.At(x, y)) {
                return true;
            }
        }
    }
    return false;
}

// Pixels of a buffer that are not equal to the colour, in area.
inline int CountNot(const TPixelBuffer& pixels, const TRect& area, std::uint32_t colour) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            n += pixels.At(x, y) != colour ? 1 : 0;
        }
    }
    return n;
}

// Pixels of a buffer equal to the colour, in area.
inline int CountOf(const TPixelBuffer& pixels, const TRect& area, std::uint32_t colour) {
    return area.Width() * area.Height() - CountNot(pixels, area, colour);
}
