#include "toolkit/graphics/Color.h"

#include "toolkit/components/Properties.h"

#include <array>

namespace {

// The classic desktop scheme, as 0x00BBGGRR. Index 25 has no classic meaning; it gets a grey.
constexpr std::array<TColor, COLOR_ENDCOLORS> kPalette = {
    RGB(212, 208, 200), // COLOR_SCROLLBAR
    RGB(58, 110, 165),  // COLOR_BACKGROUND
    RGB(10, 36, 106),   // COLOR_ACTIVECAPTION
    RGB(128, 128, 128), // COLOR_INACTIVECAPTION
    RGB(212, 208, 200), // COLOR_MENU
    RGB(255, 255, 255), // COLOR_WINDOW
    RGB(0, 0, 0),       // COLOR_WINDOWFRAME
    RGB(0, 0, 0),       // COLOR_MENUTEXT
    RGB(0, 0, 0),       // COLOR_WINDOWTEXT
    RGB(255, 255, 255), // COLOR_CAPTIONTEXT
    RGB(212, 208, 200), // COLOR_ACTIVEBORDER
    RGB(212, 208, 200), // COLOR_INACTIVEBORDER
    RGB(128, 128, 128), // COLOR_APPWORKSPACE
    RGB(10, 36, 106),   // COLOR_HIGHLIGHT
    RGB(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200), // COLOR_BTNFACE
    RGB(128, 128, 128), // COLOR_BTNSHADOW
    RGB(128, 128, 128), // COLOR_GRAYTEXT
    RGB(0, 0, 0),       // COLOR_BTNTEXT
    RGB(212, 208, 200), // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255), // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),    // COLOR_3DDKSHADOW
    RGB(212, 208, 200), // COLOR_3DLIGHT
    RGB(0, 0, 0),       // COLOR_INFOTEXT
    RGB(255, 255, 225), // COLOR_INFOBK
    RGB(181, 181, 181), // 25
    RGB(0, 0, 128),     // COLOR_HOTLIGHT
    RGB(166, 202, 240), // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192), // COLOR_GRADIENTINACTIVECAPTION
    RGB(10, 36, 106),   // COLOR_MENUHILIGHT
    RGB(212, 208, 200), // COLOR_MENUBAR
};

} // namespace

TColor GetSysColor(int index) {
    if (index < 0 || index >= COLOR_ENDCOLORS) {
        return clBlack;
    }
    return kPalette[static_cast<std::size_t>(index)];
}

TColor ColorToRGB(TColor color) {
    if (color == clNone) {
        return clBlack;
    }
    if (color == clDefault) {
        return clWhite;
    }
    if (color < 0) {
        return GetSysColor(color & 0xFF);
    }
    return color & 0xFFFFFF;
}

std::uint32_t ColorToPixel(TColor color) {
    TColor rgb = ColorToRGB(color);
    return (static_cast<std::uint32_t>(GetRValue(rgb)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(rgb)) << 8) | GetBValue(rgb);
}

void RegisterColorIdents() {
    static const bool registered = [] {
        // System colours are negative TColor values; the table holds them as properties read them.
        static constexpr TIdentMapEntry kNames[] = {
            {clBlack, "clBlack"},
            {clMaroon, "clMaroon"},
            {clGreen, "clGreen"},
            {clOlive, "clOlive"},
            {clNavy, "clNavy"},
            {clPurple, "clPurple"},
            {clTeal, "clTeal"},
            {clGray, "clGray"},
            {clSilver, "clSilver"},
            {clRed, "clRed"},
            {clLime, "clLime"},
            {clYellow, "clYellow"},
            {clBlue, "clBlue"},
            {clFuchsia, "clFuchsia"},
            {clAqua, "clAqua"},
            {clWhite, "clWhite"},
            {clNone, "clNone"},
            {clDefault, "clDefault"},
            {clScrollBar, "clScrollBar"},
            {clBackground, "clBackground"},
            {clActiveCaption, "clActiveCaption"},
            {clInactiveCaption, "clInactiveCaption"},
            {clMenu, "clMenu"},
            {clWindow, "clWindow"},
            {clWindowFrame, "clWindowFrame"},
            {clMenuText, "clMenuText"},
            {clWindowText, "clWindowText"},
            {clCaptionText, "clCaptionText"},
            {clActiveBorder, "clActiveBorder"},
            {clInactiveBorder, "clInactiveBorder"},
            {clAppWorkSpace, "clAppWorkSpace"},
            {clHighlight, "clHighlight"},
            {clHighlightText, "clHighlightText"},
            {clBtnFace, "clBtnFace"},
            {clBtnShadow, "clBtnShadow"},
            {clGrayText, "clGrayText"},
            {clBtnText, "clBtnText"},
            {clInactiveCaptionText, "clInactiveCaptionText"},
            {clBtnHighlight, "clBtnHighlight"},
            {cl3DDkShadow, "cl3DDkShadow"},
            {cl3DLight, "cl3DLight"},
            {clInfoText, "clInfoText"},
            {clInfoBk, "clInfoBk"},
            {clHotLight, "clHotLight"},
            {clGradientActiveCaption, "clGradientActiveCaption"},
            {clGradientInactiveCaption, "clGradientInactiveCaption"},
            {clMenuHighlight, "clMenuHighlight"},
            {clMenuBar, "clMenuBar"},
        };
        RegisterIdents("TColor", kNames);
        return true;
    }();
    (void)registered;
}

namespace {

// Any program that draws links this file, so its colour names are there before any layout is
// read.
const bool kColorIdentsAtStart = (RegisterColorIdents(), true);

} // namespace
