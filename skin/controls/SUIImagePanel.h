#pragma once

// TsuiCustomPanel and TsuiImagePanel: a panel without bevels that shows a picture (plain,
// stretched or tiled), can let its parent show through, and paints its caption itself, all
// off-screen so that it never flickers. The skinned group box builds on it, and the track bar's
// slider is one.

#include "toolkit/controls/Panel.h"
#include "toolkit/graphics/Picture.h"

#include <cstdint>
#include <memory>

class TBitmap;

enum TsuiDrawStyle : std::uint8_t { suiNormal, suiStretch, suiTile };
inline constexpr std::string_view kDrawStyleNames[] = {"suiNormal", "suiStretch", "suiTile"};
inline constexpr TEnumInfo DrawStyleInfo{"TsuiDrawStyle", kDrawStyleNames};

class TsuiCustomPanel : public TCustomPanel {
    VARNEL_CLASS(TsuiCustomPanel, TCustomPanel)

public:
    explicit TsuiCustomPanel(TComponent* owner);
    ~TsuiCustomPanel() override;

    // The panel's own copy; assigning copies the given picture into it.
    TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(const TPicture* value);
    bool Transparent() const { return m_transparent; }
    // Also pushed into the picture's own transparency, so a see-through panel shows its parent
    // through the picture's transparent colour too.
    virtual void SetTransparent(bool value);
    // Sizes the panel to the picture, on the sides its alignment leaves to it.
    void SetAutoSize(bool value) override;
    TsuiDrawStyle DrawStyle() const { return m_drawStyle; }
    void SetDrawStyle(TsuiDrawStyle value);

protected:
    // Fills the client area with Color, only for a panel placed in a window of another program
    // part (ParentWindow, no parent control), which has no background to show through.
    virtual void FillBackground(TCanvas* canvas);
    // Told, when the text changes, where the caption was last drawn.
    virtual void CaptionAreaChanged(const TRect& lastCaptionRect);
    // The picture's change notification.
    virtual void PictureChanged();

    void Paint() override;
    // Paints the background of the off-screen picture: the parent when see-through.
    void PaintParentBackground(TCanvas* canvas);
    void Resize() override;
    void WMEraseBkgnd(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void ApplyAutoSize();

private:
    std::unique_ptr<TPicture> m_picture;
    bool m_transparent = false;
    TsuiDrawStyle m_drawStyle = suiNormal;
    TRect m_captionRect; // where the caption was last drawn, empty when none
};

class TsuiImagePanel : public TsuiCustomPanel {
    VARNEL_CLASS(TsuiImagePanel, TsuiCustomPanel)

public:
    explicit TsuiImagePanel(TComponent* owner) : TsuiCustomPanel(owner) {}
};

// The off-screen picture of a control's client area: painted into, then copied onto the control's
// canvas in one block transfer, so the control never shows half a paint.
class TsuiPaintBuffer {
public:
    TsuiPaintBuffer(int width, int height);
    ~TsuiPaintBuffer();
    TsuiPaintBuffer(const TsuiPaintBuffer&) = delete;
    TsuiPaintBuffer& operator=(const TsuiPaintBuffer&) = delete;

    TCanvas* Canvas();
    TBitmap* Bitmap() { return m_bitmap.get(); }
    void CopyTo(TCanvas* target);

private:
    std::unique_ptr<TBitmap> m_bitmap;
};
