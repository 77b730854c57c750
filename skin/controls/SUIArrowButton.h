#pragma once

#include "skin/controls/SUICustomButton.h"

#include <cstdint>
#include <string_view>

enum TsuiArrowButtonType : std::uint8_t { suiUp, suiDown };
inline constexpr std::string_view kArrowButtonTypeNames[] = {"suiUp", "suiDown"};
inline constexpr TEnumInfo ArrowButtonTypeInfo{"TsuiArrowButtonType", kArrowButtonTypeNames};

// The look's button face with a small black triangle pointing up or down and no caption: the
// spin edit's buttons.
class TSuiArrowButton : public TsuiCustomButton {
    VARNEL_CLASS(TSuiArrowButton, TsuiCustomButton)

public:
    explicit TSuiArrowButton(TComponent* owner);

    TsuiArrowButtonType Arrow() const { return m_arrow; }
    void SetArrow(TsuiArrowButtonType value);

protected:
    void UIStyleChanged() override;
    void PaintButtonBitmap(TCanvas* canvas, TBitmap* bitmap) override;
    void PaintCaption(TCanvas*, const std::string&) override {}

private:
    TsuiArrowButtonType m_arrow = suiUp;
};
