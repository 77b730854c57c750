#pragma once

#include "toolkit/controls/CustomControl.h"

enum TBevelCut : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
using TPanelBevel = TBevelCut;
inline constexpr std::string_view kBevelCutNames[] = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};
inline constexpr TEnumInfo BevelCutInfo{"TBevelCut", kBevelCutNames};

// Draws width nested one-pixel frames inside rect, top and left edges in topColor, bottom and
// right in bottomColor, and leaves rect inside the last one.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);

// A container with bevels, an optional sunken border and a one-line caption.
class TCustomPanel : public TCustomControl {
    VARNEL_CLASS(TCustomPanel, TCustomControl)

public:
    explicit TCustomPanel(TComponent* owner);

    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment value);
    TPanelBevel BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TPanelBevel value);
    TPanelBevel BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int value);
    // bsNone or bsSingle (a sunken edge around the panel).
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    bool FullRepaint() const { return m_fullRepaint; }
    void SetFullRepaint(bool value) { m_fullRepaint = value; }

    void AdjustClientRect(TRect& rect) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void CMTextChanged(TMessage& message) override;

private:
    TAlignment m_alignment = taCenter;
    TPanelBevel m_bevelInner = bvNone;
    TPanelBevel m_bevelOuter = bvRaised;
    int m_bevelWidth = 1;
    TBorderStyle m_borderStyle = bsNone;
    bool m_fullRepaint = true;
};

class TPanel : public TCustomPanel {
    VARNEL_CLASS(TPanel, TCustomPanel)

public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};
