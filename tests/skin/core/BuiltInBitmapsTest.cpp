// The built-in bitmaps as the skin loads them: every resource the element table names exists
// with the size the components are laid out for, strips cut into frames that differ where their
// states differ, GetBuiltInThemeBitmap cuts the frame asked for, and with VARNEL_TEST_ARTIFACTS
// set a contact sheet of them all is written for a person to judge.

#include "skin/core/SUIThemes.h"
#include "tests/support/Artifacts.h"
#include "toolkit/components/Resources.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/BmpCodec.h"
#include "toolkit/graphics/Canvas.h"

#include <cstdlib>
#include <map>

#include <gtest/gtest.h>

namespace {

using E = TsuiThemeElement;

// The width and height of each look's bitmap, in look order MacOS, WinXP, DeepBlue, Protein,
// BlueGlass.
const std::map<E, std::array<TSize, 5>> kSizes = {
    {E::ButtonImage, {{{252, 23}, {54, 21}, {222, 21}, {222, 21}, {231, 27}}}},
    {E::CheckBoxImage, {{{60, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}}},
    {E::RadioButtonImage, {{{64, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}}},
    {E::TitleBarButtonImage, {{{306, 17}, {378, 21}, {342, 19}, {342, 19}, {342, 19}}}},
    {E::TitleBarLeftImage, {{{48, 23}, {35, 29}, {97, 32}, {441, 23}, {162, 33}}}},
    {E::TitleBarClientImage, {{{49, 23}, {37, 29}, {98, 32}, {1, 23}, {179, 33}}}},
    {E::TitleBarRightImage, {{{48, 23}, {35, 29}, {97, 32}, {1, 23}, {101, 33}}}},
    {E::ProgressBarImage, {{{13, 10}, {6, 10}, {1, 10}, {1, 10}, {1, 10}}}},
    {E::TrackBarBarImage, {{{45, 5}, {45, 8}, {45, 4}, {45, 4}, {45, 4}}}},
    {E::TrackBarSliderImage, {{{11, 20}, {11, 21}, {11, 20}, {11, 20}, {11, 20}}}},
    {E::TrackBarSliderVImage, {{{19, 11}, {22, 11}, {18, 11}, {18, 11}, {18, 11}}}},
    {E::ScrollBarButtonImage, {{{96, 22}, {96, 17}, {96, 16}, {96, 16}, {102, 16}}}},
    {E::ScrollBarSliderImage, {{{33, 16}, {21, 16}, {21, 16}, {21, 16}, {21, 16}}}},
    {E::CheckListBoxImage, {{{40, 11}, {44, 11}, {44, 11}, {44, 11}, {44, 11}}}},
    {E::ScrollButtonImage, {{{72, 18}, {72, 18}, {72, 17}, {72, 17}, {72, 17}}}},
    {E::TabControlTabImage, {{{36, 27}, {18, 18}, {12, 17}, {18, 17}, {18, 17}}}},
    {E::TabControlBarImage, {{{17, 7}, {8, 1}, {5, 5}, {10, 5}, {10, 5}}}},
    {E::SideChannelHandleImage, {{{7, 84}, {8, 86}, {8, 83}, {8, 83}, {8, 86}}}},
    {E::SideChannelBarImage, {{{1, 21}, {1, 21}, {1, 20}, {1, 21}, {1, 21}}}},
};

// The strips, and how many frames each holds.
const std::map<E, int> kFrames = {{E::ButtonImage, 3},          {E::CheckBoxImage, 4},
                                  {E::RadioButtonImage, 4},     {E::TitleBarButtonImage, 18},
                                  {E::ScrollBarButtonImage, 6}, {E::ScrollBarSliderImage, 3}};

// The bitmaps the components load by name whatever the look.
const std::map<std::string, TSize> kShared = {
    {"MACOS_FORM_BACKGROUND", {8, 8}}, {"PROTEIN_FORM_BACKGROUND", {8, 8}}, {"MACOS_MENU_BAR", {1, 22}},
    {"MACOS_MENU_SELECT", {1, 21}},    {"MENU_CHECKED", {16, 16}},          {"MSGDLG", {168, 42}},
};

TPixelBuffer Decode(std::string_view resource) {
    TPixelBuffer pixels;
    auto bytes = FindEmbeddedResource(resource);
    if (bytes) {
        EXPECT_TRUE(DecodeBmp(*bytes, pixels).IsOk()) << resource;
    }
    return pixels;
}

bool SameArea(const TPixelBuffer& p, int leftA, int leftB, int width) {
    for (int y = 0; y < p.Height(); ++y) {
        for (int x = 0; x < width; ++x) {
            if (p.At(leftA + x, y) != p.At(leftB + x, y)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

TEST(BuiltInBitmaps, EveryElementOfEveryLookHasItsResourceAtItsSize) {
    int bitmapElements = 0;
    for (int n = 1; n <= kThemeElementCount; ++n) {
        const auto element = static_cast<E>(n);
        if (ThemeElementKind(element) != TsuiThemeValueKind::Bitmap) {
            continue;
        }
        ++bitmapElements;
        ASSERT_TRUE(kSizes.contains(element)) << ThemeElementKey(element);
        for (int look = 0; look < 5; ++look) {
            const TsuiUIStyle style = kBuiltInUIStyles[look];
            const std::string_view resource = GetBuiltInThemeEntry(style, element).Resource;
            SCOPED_TRACE(std::string(resource));
            ASSERT_TRUE(FindEmbeddedResource(resource).has_value());
            TBitmap bitmap;
            GetBuiltInThemeBitmap(style, element, &bitmap);
            EXPECT_EQ(bitmap.Width(), kSizes.at(element)[look].cx);
            EXPECT_EQ(bitmap.Height(), kSizes.at(element)[look].cy);
            EXPECT_TRUE(SamePixels(bitmap.Pixels(), Decode(resource), resource));
        }
    }
    EXPECT_EQ(bitmapElements, 19);
    for (const auto& [name, size] : kShared) {
        SCOPED_TRACE(name);
        const TPixelBuffer pixels = Decode(name);
        EXPECT_EQ(pixels.Width(), size.cx);
        EXPECT_EQ(pixels.Height(), size.cy);
    }
}

TEST(BuiltInBitmaps, NeighbouringFramesOfAStripDiffer) {
    for (const auto& [element, frames] : kFrames) {
        for (TsuiUIStyle style : kBuiltInUIStyles) {
            const std::string_view resource = GetBuiltInThemeEntry(style, element).Resource;
            SCOPED_TRACE(std::string(resource));
            const TPixelBuffer strip = Decode(resource);
            ASSERT_EQ(strip.Width() % frames, 0);
            const int fw = strip.Width() / frames;
            for (int i = 0; i + 1 < frames; ++i) {
                EXPECT_FALSE(SameArea(strip, i * fw, (i + 1) * fw, fw))
                    << "frames " << i + 1 << " and " << i + 2;
            }
        }
    }
    // The message-box icons: warning, stop, information, help.
    const TPixelBuffer icons = Decode("MSGDLG");
    for (int i = 0; i + 1 < 4; ++i) {
        EXPECT_FALSE(SameArea(icons, i * 42, (i + 1) * 42, 42)) << i;
    }
}

TEST(BuiltInBitmaps, AFrameIsCutOutOfTheStripAskedFor) {
    TBitmap frame;
    GetBuiltInThemeBitmap(MacOS, static_cast<E>(5), &frame, 11, 18);
    ASSERT_EQ(frame.Width(), 17);
    ASSERT_EQ(frame.Height(), 17);
    const TPixelBuffer strip = Decode("MACOS_TITLEBTN");
    TPixelBuffer expected(17, 17);
    for (int y = 0; y < 17; ++y) {
        for (int x = 0; x < 17; ++x) {
            expected.Set(x, y, strip.At(170 + x, y));
        }
    }
    EXPECT_TRUE(SamePixels(frame.Pixels(), expected, "frame 11"));
}

TEST(BuiltInBitmaps, ACellThatHoldsNoBitmapLeavesTheBitmapAlone) {
    TBitmap bitmap(3, 2);
    bitmap.Pixels().Fill(0x123456);
    const TPixelBuffer before = bitmap.Pixels();
    GetBuiltInThemeBitmap(MacOS, E::FormMinWidthInt, &bitmap);
    GetBuiltInThemeBitmap(FromThemeFile, E::ButtonImage, &bitmap);
    GetBuiltInThemeBitmap(FromThemeFile, E::ButtonImage, &bitmap, 1, 3);
    GetBuiltInThemeBitmap(MacOS, static_cast<E>(77), &bitmap);
    EXPECT_TRUE(SamePixels(bitmap.Pixels(), before, "untouched"));
    GetBuiltInThemeBitmap(MacOS, E::ButtonImage, nullptr);
}

TEST(BuiltInBitmaps, ContactSheet) {
    if (!std::getenv("VARNEL_TEST_ARTIFACTS")) {
        GTEST_SKIP() << "VARNEL_TEST_ARTIFACTS is not set";
    }
    // Each bitmap three times its size under its name, see-through magenta as a grey checker,
    // one band per look and one for the shared bitmaps.
    constexpr int kScale = 3, kSheetWidth = 1500, kGap = 10, kLabel = 16;
    struct TItem {
        std::string Label;
        TPixelBuffer Pixels;
    };
    std::vector<std::pair<std::string, std::vector<TItem>>> bands;
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        std::vector<TItem> items;
        for (int n = 1; n <= kThemeElementCount; ++n) {
            const TsuiThemeEntry entry = GetBuiltInThemeEntry(style, static_cast<E>(n));
            if (entry.Kind == TsuiThemeValueKind::Bitmap) {
                TBitmap bitmap;
                GetBuiltInThemeBitmap(style, static_cast<E>(n), &bitmap);
                items.push_back({std::string(ThemeElementKey(static_cast<E>(n))), bitmap.Pixels()});
            }
        }
        bands.emplace_back(std::string(kUIStyleNames[style]), std::move(items));
    }
    std::vector<TItem> shared;
    for (const auto& [name, size] : kShared) {
        shared.push_back({name, Decode(name)});
    }
    bands.emplace_back("Shared", std::move(shared));

    // Lay out first to know the height.
    struct TPlaced {
        const TItem* Item;
        int X, Y;
    };
    std::vector<TPlaced> placed;
    std::vector<std::pair<std::string, int>> headings;
    int y = kGap;
    for (const auto& [title, items] : bands) {
        headings.emplace_back(title, y);
        y += kLabel + 4;
        int x = kGap, rowHeight = 0;
        for (const TItem& item : items) {
            const int w = std::max(item.Pixels.Width() * kScale, 150);
            const int h = item.Pixels.Height() * kScale + kLabel;
            if (x + w > kSheetWidth - kGap) {
                x = kGap;
                y += rowHeight + kGap;
                rowHeight = 0;
            }
            placed.push_back({&item, x, y});
            x += w + kGap;
            rowHeight = std::max(rowHeight, h);
        }
        y += rowHeight + 2 * kGap;
    }
    TBitmap sheet(kSheetWidth, y);
    TCanvas* canvas = sheet.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect({0, 0, kSheetWidth, y});
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetName("Tahoma");
    canvas->Font()->SetSize(8);
    for (const auto& [title, top] : headings) {
        canvas->Font()->SetStyle(TFontStyles{fsBold});
        canvas->TextOut(kGap, top, title);
    }
    canvas->Font()->SetStyle(TFontStyles{});
    for (const TPlaced& p : placed) {
        const TPixelBuffer& pixels = p.Item->Pixels;
        canvas->TextOut(p.X, p.Y,
                        p.Item->Label + " " + std::to_string(pixels.Width()) + "x" +
                            std::to_string(pixels.Height()));
        for (int sy = 0; sy < pixels.Height() * kScale; ++sy) {
            for (int sx = 0; sx < pixels.Width() * kScale; ++sx) {
                std::uint32_t pixel = pixels.At(sx / kScale, sy / kScale);
                if (pixel == 0xFF00FF) {
                    pixel = ((sx / 4 + sy / 4) % 2) ? 0xC8C8C8 : 0xF0F0F0;
                }
                sheet.Pixels().Set(p.X + sx, p.Y + kLabel + sy, pixel);
            }
        }
    }
    EXPECT_FALSE(SaveArtifactPng("built-in-bitmaps", sheet.Pixels()).empty());
}
