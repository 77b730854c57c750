#pragma once

// TsuiProgressBar: how far Position lies between Min and Max, as a bar 12 pixels thick whose
// filled part is the look's progress picture stretched to length, the rest a flat colour, a
// one-pixel border around both, and the percentage ("50%") centred on top.

#include "skin/controls/SUIControlLook.h"
#include "skin/controls/SUIOrientation.h"
#include "toolkit/controls/Panel.h"

#include <cstdint>
#include <memory>

class TPicture;

class TsuiProgressBar : public TCustomPanel {
    VARNEL_CLASS(TsuiProgressBar, TCustomPanel)

public:
    // The bar's thickness across its direction of growth, in pixels.
    static constexpr int kThickness = 12;

    explicit TsuiProgressBar(TComponent* owner);
    ~TsuiProgressBar() override;

    // Min, Max and Position are never validated or clamped; setting the value they hold
    // changes nothing (no caption update, no repaint).
    std::int32_t Max() const { return m_max; }
    void SetMax(std::int32_t value);
    std::int32_t Min() const { return m_min; }
    void SetMin(std::int32_t value);
    std::int32_t Position() const { return m_position; }
    void SetPosition(std::int32_t value);
    TsuiUIStyle UIStyle() const { return m_look.UIStyle(); }
    void SetUIStyle(TsuiUIStyle value);
    TsuiFileTheme* FileTheme() const { return m_look.FileTheme(); }
    void SetFileTheme(TsuiFileTheme* value);
    TsuiProgressBarOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TsuiProgressBarOrientation value);
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor value);
    // The unfilled part: the bar's own colour, not the control colour it inherits.
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    // The filled part, stretched (turned a quarter anticlockwise on a vertical bar).
    TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(const TPicture* value);
    // A vertical bar never shows its caption: its first paint clears ShowCaption for good.
    bool ShowCaption() const { return m_showCaption; }
    void SetShowCaption(bool value);
    TColor CaptionColor() const { return m_captionColor; }
    void SetCaptionColor(TColor value);
    // Hide the caption while Position equals Min.
    bool SmartShowCaption() const { return m_smartShowCaption; }
    void SetSmartShowCaption(bool value);

    // (Position - Min) × 100 div (Max - Min), truncated toward zero and not limited to 0..100;
    // 0 when Min = Max. Worked out in 64 bits, so the whole 32-bit range gives the right answer.
    std::int64_t GetPercent() const;
    // The filled part of a full length n: 0 when Min >= Max or Position <= Min, n when Position
    // > Max, else n × (Position - Min) div (Max - Min), in 64 bits.
    int GetFillLength(int n) const;

    bool CanResize(int& newWidth, int& newHeight) override;

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void WMEraseBkgnd(TMessage& message) override;

private:
    void UpdateCaption();
    // Horizontal: Height 12, then Width length; vertical: Width 12, then Height length.
    void ApplyOrientationSize(int length);
    // Picture, Color and BorderColor from the look (the picture turned for a vertical bar).
    void ApplyUIStyle();
    void PaintHorizontal(TBitmap& buffer);
    void PaintVertical(TBitmap& buffer);
    void PaintCaption(TBitmap& buffer);

    TsuiControlLook m_look;
    std::int32_t m_max = 100;
    std::int32_t m_min = 0;
    std::int32_t m_position = 50;
    TsuiProgressBarOrientation m_orientation = suiHorizontal;
    TColor m_borderColor = clBlack;
    TColor m_color = clBtnFace;
    std::unique_ptr<TPicture> m_picture;
    bool m_showCaption = true;
    TColor m_captionColor = clBlack;
    bool m_smartShowCaption = false;
};
