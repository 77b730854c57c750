#include "skin/controls/SUIButton.h"

#include "toolkit/controls/ActionList.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/graphics/ImageList.h"

VARNEL_CLASS_INFO(TsuiButton, [](auto& c) {
    for (const char* name :
         {"FileTheme", "UIStyle", "Cancel", "Default", "Action", "Caption", "Font", "Enabled", "TabOrder",
          "Transparent", "ModalResult", "AutoSize", "FocusedRectMargin"}) {
        c.Publish(name);
    }
    c.Object("Glyph", &TsuiButton::Glyph, &TsuiButton::SetGlyph);
    c.Enum("Layout", ButtonLayoutInfo, &TsuiButton::Layout, &TsuiButton::SetLayout);
    c.Int("Spacing", &TsuiButton::Spacing, &TsuiButton::SetSpacing);
    for (const char* name :
         {"MouseContinuouslyDownInterval", "OnClick", "OnMouseMove", "OnMouseDown", "OnMouseUp", "OnKeyDown",
          "OnKeyUp", "OnKeyPress", "OnMouseEnter", "OnMouseExit", "OnMouseContinuouslyDown"}) {
        c.Publish(name);
    }
    c.Int("ResHandle", &TsuiButton::ResHandle, &TsuiButton::SetResHandle);
})

TsuiButton::TsuiButton(TComponent* owner) : TsuiCustomButton(owner), m_glyph(std::make_unique<TBitmap>()) {
    m_glyph->OnChange = [this](TObject*) { Invalidate(); };
    SetBounds(Left(), Top(), 80, 27);
    // The look decides whether the face is see-through.
    UIStyleChanged();
}

TsuiButton::~TsuiButton() = default;

void TsuiButton::SetGlyph(const TBitmap* value) {
    m_glyph->Assign(value);
    Repaint();
}

void TsuiButton::SetLayout(TButtonLayout value) {
    m_layout = value;
    Repaint();
}

void TsuiButton::SetSpacing(int value) {
    m_spacing = value;
    Repaint();
}

void TsuiButton::UIStyleChanged() {
    TakeTransparentFromLook();
}

void TsuiButton::ActionChange(TBasicAction* sender, bool checkDefaults) {
    TsuiCustomButton::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action || !m_glyph->Empty() || !action->ActionList()) {
        return;
    }
    const TImageList* images = action->ActionList()->Images();
    const int index = action->ImageIndex();
    if (images && index >= 0 && index < images->Count() && images->GetBitmap(index, m_glyph.get())) {
        Repaint();
    }
}

TsuiButton::TGlyphPlacement TsuiButton::PlaceGlyph(int gw, int gh) {
    TBitmap measure;
    measure.Canvas()->SetFont(Font());
    const int tw = measure.Canvas()->TextWidth(Caption());
    const int th = measure.Canvas()->TextHeight(Caption());
    const int W = Width();
    const int H = Height();
    const int S = m_spacing;
    // A glyph twice as wide as high is two images side by side.
    if (gw == 2 * gh) {
        gw = gh;
    }
    // Integer division truncates toward zero, as the layout wants for negative room too.
    TGlyphPlacement p;
    switch (m_layout) {
    case blGlyphLeft:
        p.Glyph = {(W - gw - tw - S) / 2, (H - gh) / 2};
        p.Caption = {p.Glyph.X + gw + S, (H - th) / 2};
        break;
    case blGlyphRight:
        p.Glyph = {(W + tw + S - gw) / 2, (H - gh) / 2};
        p.Caption = {p.Glyph.X - tw - S, (H - th) / 2};
        break;
    case blGlyphTop:
        p.Glyph = {(W - gw) / 2, (H - th - gh - S) / 2};
        p.Caption = {(W - tw) / 2, p.Glyph.Y + gh + S};
        break;
    case blGlyphBottom:
        p.Glyph = {(W - gw) / 2, (H + th + S - gh) / 2};
        p.Caption = {(W - tw) / 2, p.Glyph.Y - th - S};
        break;
    }
    if (Pressed()) {
        p.Glyph = {p.Glyph.X + 1, p.Glyph.Y + 1};
    }
    return p;
}

void TsuiButton::PaintButtonBitmap(TCanvas* canvas, TBitmap* bitmap) {
    DrawFace(canvas, bitmap);
    if (!m_glyph->Empty()) {
        DrawGlyph(canvas);
    }
}

void TsuiButton::DrawGlyph(TCanvas* canvas) {
    const int gw = m_glyph->Width();
    const int gh = m_glyph->Height();
    const bool twoImages = gw == 2 * gh;
    const TGlyphPlacement place = PlaceGlyph(gw, gh);
    m_captionPos = place.Caption;
    const int imageWidth = twoImages ? gh : gw;
    TImageList images(imageWidth, gh);
    images.AddMasked(m_glyph.get(), m_glyph->Canvas()->Pixels(0, 0));
    if (twoImages) {
        // The second image is the disabled look already: it is drawn as it is.
        images.Draw(canvas, place.Glyph.X, place.Glyph.Y, Enabled() ? 0 : 1, true);
    } else {
        images.Draw(canvas, place.Glyph.X, place.Glyph.Y, 0, Enabled());
    }
}

void TsuiButton::PaintCaption(TCanvas* canvas, const std::string& text) {
    if (m_glyph->Empty()) {
        TsuiCustomButton::PaintCaption(canvas, text);
        return;
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    TPoint at = m_captionPos;
    if (!Enabled()) {
        TRect shadow{at.X + 1, at.Y + 1, Width(), Height()};
        canvas->Font()->SetColor(static_cast<TColor>(0xFFFFFF));
        ::DrawText(canvas->Handle(), text, &shadow, DT_SINGLELINE);
        canvas->Font()->SetColor(static_cast<TColor>(0x808080));
    } else if (Pressed()) {
        at = {at.X + 1, at.Y + 1};
    }
    TRect rect{at.X, at.Y, Width(), Height()};
    ::DrawText(canvas->Handle(), text, &rect, DT_SINGLELINE);
    SetBoldCaption(false);
}

void TsuiButton::PaintFocus(TCanvas* canvas) {
    // These looks mark the focus with a bold caption instead of a dotted rectangle; the stored
    // look decides, not the one a theme file falls back to.
    if (StoredUIStyle() == MacOS || StoredUIStyle() == BlueGlass) {
        SetBoldCaption(true);
        return;
    }
    TsuiCustomButton::PaintFocus(canvas);
}
