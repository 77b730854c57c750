#pragma once

#include "skin/controls/SUICustomButton.h"

#include <cstdint>
#include <memory>

class TBitmap;

// The ordinary push button: slices of the look's button image drawn with kept corners, and an
// optional glyph laid out beside the caption.
class TsuiButton : public TsuiCustomButton {
    VARNEL_CLASS(TsuiButton, TsuiCustomButton)

public:
    explicit TsuiButton(TComponent* owner);
    ~TsuiButton() override;

    // A glyph exactly twice as wide as high holds two images: enabled left, disabled right.
    TBitmap* Glyph() const { return m_glyph.get(); }
    void SetGlyph(const TBitmap* value);
    TButtonLayout Layout() const { return m_layout; }
    void SetLayout(TButtonLayout value);
    // Gap between glyph and caption, in pixels.
    int Spacing() const { return m_spacing; }
    void SetSpacing(int value);
    // Where the glyph layout last put the caption's top-left corner.
    TPoint CaptionPos() const { return m_captionPos; }
    // Kept so that stored layouts carrying it load: reads 0, ignores writes.
    std::uint32_t ResHandle() const { return 0; }
    void SetResHandle(std::uint32_t) {}

    // Where the glyph goes and where the caption starts, for a glyph of the given size, with the
    // button's size, font, Caption, Layout, Spacing and pressed state.
    struct TGlyphPlacement {
        TPoint Glyph;
        TPoint Caption;
    };
    TGlyphPlacement PlaceGlyph(int glyphWidth, int glyphHeight);

protected:
    void UIStyleChanged() override;
    void PaintButtonBitmap(TCanvas* canvas, TBitmap* bitmap) override;
    void PaintCaption(TCanvas* canvas, const std::string& text) override;
    void PaintFocus(TCanvas* canvas) override;
    void ActionChange(TBasicAction* sender, bool checkDefaults) override;

private:
    void DrawGlyph(TCanvas* canvas);

    std::unique_ptr<TBitmap> m_glyph;
    TButtonLayout m_layout = blGlyphLeft;
    int m_spacing = 4;
    TPoint m_captionPos;
};
