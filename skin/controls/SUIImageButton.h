#pragma once

#include "skin/controls/SUICustomButton.h"

#include <memory>

class TPicture;

// A push button that paints four pictures of its own, one per state (the scroll bar's line
// buttons). A state without a picture shows PicNormal; the look plays no part in its painting,
// so its UIStyle always reads FromThemeFile.
class TsuiImageButton : public TsuiCustomButton {
    VARNEL_CLASS(TsuiImageButton, TsuiCustomButton)

public:
    explicit TsuiImageButton(TComponent* owner);
    ~TsuiImageButton() override;

    TsuiUIStyle UIStyle() const override { return FromThemeFile; }

    // Each setter copies the picture given, fits the size (AutoSize) and repaints.
    TPicture* PicNormal() const { return m_picNormal.get(); }
    void SetPicNormal(const TPicture* value);
    TPicture* PicMouseOn() const { return m_picMouseOn.get(); }
    void SetPicMouseOn(const TPicture* value);
    TPicture* PicMouseDown() const { return m_picMouseDown.get(); }
    void SetPicMouseDown(const TPicture* value);
    TPicture* PicDisabled() const { return m_picDisabled.get(); }
    void SetPicDisabled(const TPicture* value);
    // Stretch the picture over the whole button rather than drawing it at its own size.
    bool Stretch() const { return m_stretch; }
    void SetStretch(bool value);
    // Draw the dotted focus rectangle while focused.
    bool DrawFocused() const { return m_drawFocused; }
    void SetDrawFocused(bool value);

protected:
    void ApplyAutoSize() override;
    void PaintButtonBitmap(TCanvas* canvas, TBitmap* bitmap) override;
    void PaintFocus(TCanvas* canvas) override;
    bool GetNormalBitmap(TBitmap* bitmap) override;
    bool GetMouseOnBitmap(TBitmap* bitmap) override;
    bool GetMouseDownBitmap(TBitmap* bitmap) override;
    bool GetDisabledBitmap(TBitmap* bitmap) override;

private:
    std::unique_ptr<TPicture> MakePicture();
    // The state's picture, or PicNormal when the state has none.
    const TPicture* StatePicture(const TPicture* picture) const;

    std::unique_ptr<TPicture> m_picNormal;
    std::unique_ptr<TPicture> m_picMouseOn;
    std::unique_ptr<TPicture> m_picMouseDown;
    std::unique_ptr<TPicture> m_picDisabled;
    bool m_stretch = false;
    bool m_drawFocused = false;
};
