#pragma once

#include "toolkit/controls/GraphicControl.h"

#include <memory>

class TPicture;

// A windowless picture: drawn at its own size in the top-left corner (or centred), or stretched
// over the control; with AutoSize the control takes the picture's size.
class TImage : public TGraphicControl {
    VARNEL_CLASS(TImage, TGraphicControl)

public:
    explicit TImage(TComponent* owner);
    ~TImage() override;

    TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(const TPicture* value);
    bool Center() const { return m_center; }
    void SetCenter(bool value);
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);
    // Scaled down, keeping its proportions, when the picture is larger than the control.
    bool Proportional() const { return m_proportional; }
    void SetProportional(bool value);
    // The picture's transparent parts show what lies behind.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);

    // The canvas of the picture, to draw into it; an empty picture becomes a bitmap of the
    // control's size first.
    TCanvas* PictureCanvas();

    bool CanAutoSize(int& newWidth, int& newHeight) override;

protected:
    void Paint() override;
    // Where the picture is drawn, in the control's coordinates.
    TRect DestRect() const;

private:
    void PictureChanged();

    std::unique_ptr<TPicture> m_picture;
    bool m_center = false;
    bool m_stretch = false;
    bool m_proportional = false;
    bool m_transparent = false;
    bool m_drawing = false;
};
