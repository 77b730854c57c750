// The built-in values of the five looks, one row per element. Kept apart from the reads so the
// table can be compared with its source at a glance.

#include "skin/core/SUIThemeTable.h"

namespace {

using K = TsuiThemeValueKind;

constexpr TsuiThemeTableRow kRows[kThemeElementCount] = {
    // clang-format off
    {"ButtonImage", K::Bitmap, {{0, "MACOS_BUTTON"}, {0, "WINXP_BUTTON"}, {0, "DEEPBLUE_BUTTON"}, {0, "PROTEIN_BUTTON"}, {0, "BLUEGLASS_BUTTON"}}},
    {"ButtonTransparentBool", K::Boolean, {{1}, {0}, {0}, {0}, {1}}},
    {"CheckBoxImage", K::Bitmap, {{0, "MACOS_CHECKBOX"}, {0, "WINXP_CHECKBOX"}, {0, "DEEPBLUE_CHECKBOX"}, {0, "PROTEIN_CHECKBOX"}, {0, "BLUEGLASS_CHECKBOX"}}},
    {"RadioButtonImage", K::Bitmap, {{0, "MACOS_RADIOBUTTON"}, {0, "WINXP_RADIOBUTTON"}, {0, "DEEPBLUE_RADIOBUTTON"}, {0, "PROTEIN_RADIOBUTTON"}, {0, "BLUEGLASS_RADIOBUTTON"}}},
    {"TitleBarButtonImage", K::Bitmap, {{0, "MACOS_TITLEBTN"}, {0, "WINXP_TITLEBTN"}, {0, "DEEPBLUE_TITLEBTN"}, {0, "PROTEIN_TITLEBTN"}, {0, "BLUEGLASS_TITLEBTN"}}},
    {"TitleBarButtonTransparentBool", K::Boolean, {{0}, {0}, {0}, {1}, {1}}},
    {"TitleBarButtonLeftOffsetInt", K::Integer, {{3}, {2}, {0}, {0}, {4}}},
    {"TitleBarButtonRightOffsetInt", K::Integer, {{-2}, {-2}, {0}, {0}, {-3}}},
    {"TitleBarButtonTopInt", K::Integer, {{4}, {5}, {2}, {2}, {6}}},
    {"TitleBarLeftImage", K::Bitmap, {{0, "MACOS_TITLE_LEFT"}, {0, "WINXP_TITLE_LEFT"}, {0, "DEEPBLUE_TITLE_LEFT"}, {0, "PROTEIN_TITLE_LEFT"}, {0, "BLUEGLASS_TITLE_LEFT"}}},
    {"TitleBarClientImage", K::Bitmap, {{0, "MACOS_TITLE_CLIENT"}, {0, "WINXP_TITLE_CLIENT"}, {0, "DEEPBLUE_TITLE_CLIENT"}, {0, "PROTEIN_TITLE_CLIENT"}, {0, "BLUEGLASS_TITLE_CLIENT"}}},
    {"TitleBarRightImage", K::Bitmap, {{0, "MACOS_TITLE_RIGHT"}, {0, "WINXP_TITLE_RIGHT"}, {0, "DEEPBLUE_TITLE_RIGHT"}, {0, "PROTEIN_TITLE_RIGHT"}, {0, "BLUEGLASS_TITLE_RIGHT"}}},
    {"FormMinWidthInt", K::Integer, {{130}, {150}, {130}, {130}, {270}}},
    {"FormRoundCornerInt", K::Integer, {{0}, {13}, {0}, {0}, {11}}},
    {"FormBackgroundColor", K::Color, {{0xE7E7E7}, {0xDEEBEF}, {0xE8E8E8}, {0xFBFBFB}, {0xE7E7E7}}},
    {"FormBorderColor", K::Color, {{0x7F7F7F}, {0xC82C00}, {0x000000}, {0x000000}, {0x000000}}},
    {"FormBorderWidthInt", K::Integer, {{1}, {3}, {1}, {1}, {1}}},
    {"MenuSelectedBorderColor", K::Color, {{0xC47339}, {0xC66931}, {0xA04A44}, {0xC4302D}, {0xEC5E5E}}},
    {"MenuSelectedBackgroundColor", K::Color, {{0xC47339}, {0xEFD3C6}, {0xA04A44}, {0xC4302D}, {0xEC5E5E}}},
    {"MenuSelectedFontColor", K::Color, {{0xFFFFFF}, {0x000000}, {0xFFFFFF}, {0xFFFFFF}, {0xFFFFFF}}},
    {"MenuBackgroundColor", K::Color, {{0x000000}, {0xFFFFFF}, {0xFFFFFF}, {0xFFFFFF}, {0xE7E7E7}}},
    {"MenuFontColor", K::Color, {{0x000000}, {0x000000}, {0x000000}, {0x000000}, {0x000000}}},
    {"MenuBarColor", K::Color, {{0x000000}, {0xCED3D6}, {0xCED3D6}, {0xCED3D6}, {0xCED3D6}}},
    {"ProgressBarImage", K::Bitmap, {{0, "MACOS_PROGRESSBAR"}, {0, "WINXP_PROGRESSBAR"}, {0, "DEEPBLUE_PROGRESSBAR"}, {0, "PROTEIN_PROGRESSBAR"}, {0, "BLUEGLASS_PROGRESSBAR"}}},
    {"ControlBorderColor", K::Color, {{0x7F7F7F}, {0x686868}, {0x000000}, {0x000000}, {0x000000}}},
    {"ControlBackgroundColor", K::Color, {{0xE7E7E7}, {0xDEEBEF}, {0xE8E8E8}, {0xFBFBFB}, {0xE7E7E7}}},
    {"ControlFontColor", K::Color, {{0x000000}, {0xCF4602}, {0x000000}, {0x000000}, {0x000000}}},
    {"TrackBarBarImage", K::Bitmap, {{0, "MACOS_TRACKBAR_BAR"}, {0, "WINXP_TRACKBAR_BAR"}, {0, "DEEPBLUE_TRACKBAR_BAR"}, {0, "PROTEIN_TRACKBAR_BAR"}, {0, "BLUEGLASS_TRACKBAR_BAR"}}},
    {"TrackBarSliderImage", K::Bitmap, {{0, "MACOS_TRACKBAR_SLIDER"}, {0, "WINXP_TRACKBAR_SLIDER"}, {0, "DEEPBLUE_TRACKBAR_SLIDER"}, {0, "PROTEIN_TRACKBAR_SLIDER"}, {0, "BLUEGLASS_TRACKBAR_SLIDER"}}},
    {"TrackBarSliderVImage", K::Bitmap, {{0, "MACOS_TRACKBAR_SLIDER_V"}, {0, "WINXP_TRACKBAR_SLIDER_V"}, {0, "DEEPBLUE_TRACKBAR_SLIDER_V"}, {0, "PROTEIN_TRACKBAR_SLIDER_V"}, {0, "BLUEGLASS_TRACKBAR_SLIDER_V"}}},
    {"ScrollBarBackgroundColor", K::Color, {{0xC9C9C9}, {0xF9F9F9}, {0xF5F5F5}, {0xF5F5F5}, {0xF4F4F4}}},
    {"ScrollBarButtonImage", K::Bitmap, {{0, "MACOS_SCROLLBAR_BUTTON"}, {0, "WINXP_SCROLLBAR_BUTTON"}, {0, "DEEPBLUE_SCROLLBAR_BUTTON"}, {0, "PROTEIN_SCROLLBAR_BUTTON"}, {0, "BLUEGLASS_SCROLLBAR_BUTTON"}}},
    {"ScrollBarSliderImage", K::Bitmap, {{0, "MACOS_SCROLLBAR_TRACK"}, {0, "WINXP_SCROLLBAR_TRACK"}, {0, "DEEPBLUE_SCROLLBAR_TRACK"}, {0, "PROTEIN_SCROLLBAR_TRACK"}, {0, "BLUEGLASS_SCROLLBAR_TRACK"}}},
    {"CheckListBoxImage", K::Bitmap, {{0, "MACOS_CHECKLIST"}, {0, "WINXP_CHECKLIST"}, {0, "DEEPBLUE_CHECKLIST"}, {0, "PROTEIN_CHECKLIST"}, {0, "BLUEGLASS_CHECKLIST"}}},
    {"ToolBarButtonBorderColor", K::Color, {{0x474747}, {0xC66931}, {0x474747}, {0x474747}, {0x474747}}},
    {"ToolBarButtonBackgroundColor", K::Color, {{0xEFEFEF}, {0xEFD3C6}, {0xEFEFEF}, {0xEFEFEF}, {0xEFEFEF}}},
    {"ToolBarButtonDownBackgroundColor", K::Color, {{0xD8D8D8}, {0xE1AC93}, {0xD8D8D8}, {0xD8D8D8}, {0xD8D8D8}}},
    {"ScrollButtonImage", K::Bitmap, {{0, "MACOS_SCROLLBUTTON"}, {0, "WINXP_SCROLLBUTTON"}, {0, "MORE_SCROLLBUTTON"}, {0, "MORE_SCROLLBUTTON"}, {0, "MORE_SCROLLBUTTON"}}},
    {"TabControlTabImage", K::Bitmap, {{0, "MACOS_TAB"}, {0, "WINXP_TAB"}, {0, "DEEPBLUE_TAB"}, {0, "PROTEIN_TAB"}, {0, "BLUEGLASS_TAB"}}},
    {"TabControlBarImage", K::Bitmap, {{0, "MACOS_TAB_LINE"}, {0, "WINXP_TAB_LINE"}, {0, "DEEPBLUE_TAB_LINE"}, {0, "PROTEIN_TAB_LINE"}, {0, "BLUEGLASS_TAB_LINE"}}},
    {"SideChannelHandleImage", K::Bitmap, {{0, "MACOS_SIDECHENNEL_HANDLE"}, {0, "WINXP_SIDECHENNEL_HANDLE"}, {0, "DEEPBLUE_SIDECHENNEL_HANDLE"}, {0, "PROTEIN_SIDECHENNEL_HANDLE"}, {0, "BLUEGLASS_SIDECHENNEL_HANDLE"}}},
    {"SideChannelBarImage", K::Bitmap, {{0, "MACOS_SIDECHENNEL_BAR"}, {0, "WINXP_SIDECHENNEL_BAR"}, {0, "DEEPBLUE_SIDECHENNEL_BAR"}, {0, "PROTEIN_SIDECHENNEL_BAR"}, {0, "BLUEGLASS_SIDECHENNEL_BAR"}}},
    // clang-format on
};

} // namespace

const TsuiThemeTableRow* ThemeTableRow(TsuiThemeElement element) {
    return IsThemeElement(element) ? &kRows[static_cast<int>(element) - 1] : nullptr;
}
