#include "skin/controls/SUIImageButton.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Picture.h"

VARNEL_CLASS_INFO(TsuiImageButton, [](auto& c) {
    c.Publish("UIStyle");
    c.Bool("DrawFocused", &TsuiImageButton::DrawFocused, &TsuiImageButton::SetDrawFocused);
    c.Publish("FocusedRectMargin");
    c.Object("PicNormal", &TsuiImageButton::PicNormal, &TsuiImageButton::SetPicNormal);
    c.Object("PicMouseOn", &TsuiImageButton::PicMouseOn, &TsuiImageButton::SetPicMouseOn);
    c.Object("PicMouseDown", &TsuiImageButton::PicMouseDown, &TsuiImageButton::SetPicMouseDown);
    c.Object("PicDisabled", &TsuiImageButton::PicDisabled, &TsuiImageButton::SetPicDisabled);
    c.Bool("Stretch", &TsuiImageButton::Stretch, &TsuiImageButton::SetStretch);
    for (const char* name : {"Cancel",       "Default",     "MouseContinuouslyDownInterval",
                             "Action",       "Caption",     "Font",
                             "Enabled",      "TabOrder",    "Transparent",
                             "ModalResult",  "AutoSize",    "OnClick",
                             "OnMouseMove",  "OnMouseDown", "OnMouseUp",
                             "OnKeyDown",    "OnKeyUp",     "OnKeyPress",
                             "OnMouseEnter", "OnMouseExit", "OnMouseContinuouslyDown"}) {
        c.Publish(name);
    }
})

TsuiImageButton::TsuiImageButton(TComponent* owner)
    : TsuiCustomButton(owner), m_picNormal(MakePicture()), m_picMouseOn(MakePicture()),
      m_picMouseDown(MakePicture()), m_picDisabled(MakePicture()) {}

TsuiImageButton::~TsuiImageButton() = default;

std::unique_ptr<TPicture> TsuiImageButton::MakePicture() {
    auto picture = std::make_unique<TPicture>();
    // Also a picture a layout fills in place fits the size and shows.
    picture->OnChange = [this](TObject*) {
        ApplyAutoSize();
        Repaint();
    };
    return picture;
}

void TsuiImageButton::SetPicNormal(const TPicture* value) {
    m_picNormal->Assign(value);
}

void TsuiImageButton::SetPicMouseOn(const TPicture* value) {
    m_picMouseOn->Assign(value);
}

void TsuiImageButton::SetPicMouseDown(const TPicture* value) {
    m_picMouseDown->Assign(value);
}

void TsuiImageButton::SetPicDisabled(const TPicture* value) {
    m_picDisabled->Assign(value);
}

void TsuiImageButton::SetStretch(bool value) {
    m_stretch = value;
    Repaint();
}

void TsuiImageButton::SetDrawFocused(bool value) {
    m_drawFocused = value;
    Repaint();
}

void TsuiImageButton::ApplyAutoSize() {
    if (!Parent() || !AutoSize() || m_picNormal->Empty()) {
        return;
    }
    SetHeight(m_picNormal->Height());
    SetWidth(m_picNormal->Width());
}

const TPicture* TsuiImageButton::StatePicture(const TPicture* picture) const {
    return picture->Empty() ? m_picNormal.get() : picture;
}

namespace {

// Copies a bitmap picture into bitmap; false for a picture of another kind.
bool CopyPicture(const TPicture* picture, TBitmap* bitmap) {
    if (picture->Empty()) {
        return true;
    }
    const auto* source = dynamic_cast<const TBitmap*>(picture->Graphic());
    if (!source) {
        return false;
    }
    bitmap->Assign(source);
    return true;
}

} // namespace

bool TsuiImageButton::GetNormalBitmap(TBitmap* bitmap) {
    return CopyPicture(m_picNormal.get(), bitmap);
}

bool TsuiImageButton::GetMouseOnBitmap(TBitmap* bitmap) {
    return CopyPicture(StatePicture(m_picMouseOn.get()), bitmap);
}

bool TsuiImageButton::GetMouseDownBitmap(TBitmap* bitmap) {
    return CopyPicture(StatePicture(m_picMouseDown.get()), bitmap);
}

bool TsuiImageButton::GetDisabledBitmap(TBitmap* bitmap) {
    return CopyPicture(StatePicture(m_picDisabled.get()), bitmap);
}

void TsuiImageButton::PaintButtonBitmap(TCanvas* canvas, TBitmap* bitmap) {
    if (bitmap->Empty()) {
        return;
    }
    bitmap->SetTransparentColor(bitmap->Canvas()->Pixels(0, 0));
    if (m_stretch) {
        canvas->StretchDraw({0, 0, Width(), Height()}, bitmap);
    } else {
        canvas->Draw(0, 0, bitmap);
    }
}

void TsuiImageButton::PaintFocus(TCanvas* canvas) {
    if (m_drawFocused) {
        TsuiCustomButton::PaintFocus(canvas);
    }
}
