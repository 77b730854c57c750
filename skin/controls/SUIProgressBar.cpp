#include "skin/controls/SUIProgressBar.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "toolkit/components/SysUtils.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/graphics/Picture.h"

#include <algorithm>

VARNEL_CLASS_INFO(TsuiProgressBar, [](auto& c) {
    c.Publish("Anchors");
    c.Publish("BiDiMode");
    c.Component("FileTheme", &TsuiProgressBar::FileTheme, &TsuiProgressBar::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &TsuiProgressBar::UIStyle, &TsuiProgressBar::SetUIStyle);
    c.Color("CaptionColor", &TsuiProgressBar::CaptionColor, &TsuiProgressBar::SetCaptionColor);
    c.Bool("ShowCaption", &TsuiProgressBar::ShowCaption, &TsuiProgressBar::SetShowCaption);
    c.Bool("SmartShowCaption", &TsuiProgressBar::SmartShowCaption, &TsuiProgressBar::SetSmartShowCaption);
    c.Int("Max", &TsuiProgressBar::Max, &TsuiProgressBar::SetMax);
    c.Int("Min", &TsuiProgressBar::Min, &TsuiProgressBar::SetMin);
    c.Int("Position", &TsuiProgressBar::Position, &TsuiProgressBar::SetPosition);
    c.Enum("Orientation", ProgressBarOrientationInfo, &TsuiProgressBar::Orientation,
           &TsuiProgressBar::SetOrientation);
    c.Color("BorderColor", &TsuiProgressBar::BorderColor, &TsuiProgressBar::SetBorderColor);
    c.Color("Color", &TsuiProgressBar::Color, &TsuiProgressBar::SetColor);
    c.Object("Picture", &TsuiProgressBar::Picture, &TsuiProgressBar::SetPicture);
    for (const char* name : {"Visible", "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnClick"}) {
        c.Publish(name);
    }
})

TsuiProgressBar::TsuiProgressBar(TComponent* owner)
    : TCustomPanel(owner), m_look(this, GetOwnerUIStyle(owner)), m_picture(std::make_unique<TPicture>()) {
    // It paints itself completely, holds no controls, and its text is always the percentage.
    SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls, csSetCaption});
    m_picture->OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(Left(), Top(), 150, kThickness);
    ApplyUIStyle();
    UpdateCaption();
}

TsuiProgressBar::~TsuiProgressBar() = default;

// ---- Values
// ------------------------------------------------------------------------------------------------

void TsuiProgressBar::SetMax(std::int32_t value) {
    // A long loop that sets the same position again and again costs nothing.
    if (value == m_max) {
        return;
    }
    m_max = value;
    UpdateCaption();
}

void TsuiProgressBar::SetMin(std::int32_t value) {
    if (value == m_min) {
        return;
    }
    m_min = value;
    UpdateCaption();
}

void TsuiProgressBar::SetPosition(std::int32_t value) {
    if (value == m_position) {
        return;
    }
    m_position = value;
    UpdateCaption();
}

std::int64_t TsuiProgressBar::GetPercent() const {
    if (m_min == m_max) {
        return 0;
    }
    // In 64 bits: in 32 the product overflows beyond about 21 million, and the full range
    // (Min -2^31, Max 2^31 - 1) would divide by -1.
    const std::int64_t span = std::int64_t{m_max} - m_min;
    return (std::int64_t{m_position} - m_min) * 100 / span;
}

int TsuiProgressBar::GetFillLength(int n) const {
    if (m_min >= m_max || m_position <= m_min) {
        return 0;
    }
    if (m_position > m_max) {
        return n;
    }
    const std::int64_t span = std::int64_t{m_max} - m_min;
    return static_cast<int>(std::int64_t{n} * (std::int64_t{m_position} - m_min) / span);
}

void TsuiProgressBar::UpdateCaption() {
    SetText(IntToStr(GetPercent()) + "%");
    Repaint();
}

// ---- Look
// ----------------------------------------------------------------------------------------------------

void TsuiProgressBar::SetUIStyle(TsuiUIStyle value) {
    m_look.SetUIStyle(value);
    ApplyUIStyle();
}

void TsuiProgressBar::SetFileTheme(TsuiFileTheme* value) {
    m_look.SetFileTheme(value);
    SetUIStyle(m_look.UIStyle());
}

void TsuiProgressBar::ApplyUIStyle() {
    // Replaces whatever picture and colours were assigned before.
    TBitmap picture;
    m_look.GetBitmap(TsuiThemeElement::ProgressBarImage, &picture);
    if (m_orientation == suiVertical) {
        RotateBitmapAnticlockwise(&picture);
    }
    m_picture->Bitmap()->Assign(&picture);
    m_color = m_look.GetColor(TsuiThemeElement::ControlBackgroundColor);
    m_borderColor = m_look.GetColor(TsuiThemeElement::ControlBorderColor);
    Repaint();
}

void TsuiProgressBar::Notification(TComponent* component, TOperation operation) {
    TCustomPanel::Notification(component, operation);
    if (m_look.FileThemeRemoved(component, operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TsuiProgressBar::SetPicture(const TPicture* value) {
    m_picture->Assign(value);
    Repaint();
}

void TsuiProgressBar::SetBorderColor(TColor value) {
    m_borderColor = value;
    Repaint();
}

void TsuiProgressBar::SetColor(TColor value) {
    m_color = value;
    Repaint();
}

void TsuiProgressBar::SetShowCaption(bool value) {
    m_showCaption = value;
    Repaint();
}

void TsuiProgressBar::SetCaptionColor(TColor value) {
    m_captionColor = value;
    Repaint();
}

void TsuiProgressBar::SetSmartShowCaption(bool value) {
    m_smartShowCaption = value;
    Repaint();
}

// ---- Orientation and size
// -------------------------------------------------------------------------------------

void TsuiProgressBar::SetOrientation(TsuiProgressBarOrientation value) {
    m_orientation = value;
    ApplyUIStyle();
    // While loading, the stored size may not have met its orientation yet: Loaded applies the
    // thickness once both are known.
    if (!IsLoading()) {
        ApplyOrientationSize(std::max(Height(), Width()));
    }
}

void TsuiProgressBar::ApplyOrientationSize(int length) {
    if (m_orientation == suiHorizontal) {
        SetHeight(kThickness);
        SetWidth(length);
    } else {
        SetWidth(kThickness);
        SetHeight(length);
    }
}

bool TsuiProgressBar::CanResize(int& newWidth, int& newHeight) {
    // A layout stores the size before the orientation: a vertical bar's length would be refused
    // as a horizontal bar's height.
    if (!IsLoading()) {
        if (m_orientation == suiHorizontal ? newHeight != kThickness : newWidth != kThickness) {
            return false;
        }
    }
    return TCustomPanel::CanResize(newWidth, newHeight);
}

void TsuiProgressBar::Loaded() {
    TCustomPanel::Loaded();
    ApplyOrientationSize(m_orientation == suiHorizontal ? Width() : Height());
}

// ---- Painting
// -----------------------------------------------------------------------------------------------

void TsuiProgressBar::WMEraseBkgnd(TMessage& message) {
    message.Result = 1;
}

void TsuiProgressBar::Paint() {
    TBitmap buffer;
    // What no picture covers shows the unfilled colour, also where the picture's size makes the
    // buffer grow.
    buffer.Canvas()->Brush()->SetColor(m_color);
    buffer.SetSize(ClientWidth(), ClientHeight());
    if (m_orientation == suiHorizontal) {
        PaintHorizontal(buffer);
    } else {
        PaintVertical(buffer);
    }
    TCanvas* canvas = buffer.Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(m_borderColor);
    canvas->FrameRect(ClientRect());
    Canvas()->Draw(0, 0, &buffer);
}

void TsuiProgressBar::PaintHorizontal(TBitmap& buffer) {
    TCanvas* canvas = buffer.Canvas();
    int a = GetFillLength(buffer.Width() - 1);
    if (a == 0) {
        a = 1;
    }
    if (!m_picture->Empty()) {
        buffer.SetSize(buffer.Width(), m_picture->Height() + 2);
        canvas->StretchDraw({1, 1, a, buffer.Height() - 1}, m_picture->Graphic());
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(m_color);
    canvas->FillRect({a, 1, buffer.Width() - 1, buffer.Height() - 1});
    PaintCaption(buffer);
}

void TsuiProgressBar::PaintVertical(TBitmap& buffer) {
    TCanvas* canvas = buffer.Canvas();
    // Rows e and below (to the border) are the filled part.
    int e = (buffer.Height() - 1) - GetFillLength(buffer.Height() - 1);
    if (e == 0) {
        e = 1;
    }
    if (!m_picture->Empty()) {
        buffer.SetSize(m_picture->Width() + 2, buffer.Height());
        TBitmap picture;
        picture.Assign(m_picture->Graphic());
        // Upside down: the picture's top row lands on the bottom row of the band.
        const int bottom = buffer.Height() - 1;
        ::StretchBlt(canvas->Handle(), 1, bottom, buffer.Width() - 2, e - bottom, picture.Canvas()->Handle(),
                     0, 0, picture.Width(), picture.Height(), SRCCOPY);
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(m_color);
    canvas->FillRect({1, 1, buffer.Width() - 1, e});
    m_showCaption = false;
}

void TsuiProgressBar::PaintCaption(TBitmap& buffer) {
    if (!m_showCaption || (m_smartShowCaption && m_position == m_min)) {
        return;
    }
    // The buffer's own default font: the bar publishes none.
    TCanvas* canvas = buffer.Canvas();
    canvas->Font()->SetColor(m_captionColor);
    canvas->Brush()->SetStyle(bsClear);
    const TSize extent = canvas->TextExtent(Text());
    canvas->TextOut((buffer.Width() - extent.cx) / 2, (buffer.Height() - extent.cy) / 2, Text());
}
