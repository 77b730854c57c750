// varnel-theme preview --png: for every built-in look, a PNG of the window size the look gives,
// in which every control shows the look's own pictures and colours where the layout puts it. The
// expected pixels are read from the look's elements, never from stored pictures.

#include "skin/core/SUIPublic.h"
#include "skin/core/SUIThemes.h"
#include "tests/support/Artifacts.h"
#include "tests/tools/theme/ThemeToolFixture.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/PngCodec.h"
#include "tools/theme/ThemePreview.h"
#include "tools/theme/ThemeTool.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace L = ThemePreviewLayout;

namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;
constexpr int kMenuBarHeight = 22; // the skinned form's menu bar, whatever the look

TPixelBuffer ReadPng(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TPixelBuffer pixels;
    std::vector<std::uint8_t> alpha;
    EXPECT_TRUE(DecodePng(std::as_bytes(std::span(bytes.data(), bytes.size())), pixels, alpha).IsOk())
        << path;
    return pixels;
}

TPixelBuffer Element(TsuiUIStyle style, TsuiThemeElement element, int index = 0, int count = 0) {
    TBitmap bitmap;
    GetBuiltInThemeBitmap(style, element, &bitmap, index, count);
    return bitmap.Pixels();
}

TPixelBuffer Crop(const TPixelBuffer& source, const TRect& area) {
    TPixelBuffer out(area.Width(), area.Height());
    for (int y = 0; y < area.Height(); ++y) {
        for (int x = 0; x < area.Width(); ++x) {
            out.Set(x, y, source.At(area.Left + x, area.Top + y));
        }
    }
    return out;
}

// Whether pattern appears with its top-left corner somewhere in area (inclusive of where it
// would stick out of area by nothing), its pixels of a key colour counting as anything.
bool Contains(const TPixelBuffer& image, const TRect& area, const TPixelBuffer& pattern,
              std::initializer_list<std::uint32_t> keys = {kMagenta}) {
    auto isKey = [&](std::uint32_t p) { return std::find(keys.begin(), keys.end(), p) != keys.end(); };
    for (int top = area.Top; top + pattern.Height() <= area.Bottom; ++top) {
        for (int left = area.Left; left + pattern.Width() <= area.Right; ++left) {
            bool match = true;
            for (int y = 0; match && y < pattern.Height(); ++y) {
                for (int x = 0; match && x < pattern.Width(); ++x) {
                    const std::uint32_t p = pattern.At(x, y);
                    match = isKey(p) || image.At(left + x, top + y) == p;
                }
            }
            if (match) {
                return true;
            }
        }
    }
    return false;
}

int CountPixels(const TPixelBuffer& image, const TRect& area,
                const std::function<bool(std::uint32_t)>& wanted) {
    int count = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            count += wanted(image.At(x, y)) ? 1 : 0;
        }
    }
    return count;
}

// The smallest top-left corner of the look's normal button face that holds at least three
// pixels the look does not leave see-through.
TPixelBuffer FaceCorner(TsuiUIStyle style) {
    const TPixelBuffer face = Element(style, TsuiThemeElement::ButtonImage, 1, 3);
    for (int k = 2;; ++k) {
        const TPixelBuffer corner = Crop(face, Bounds(0, 0, k, k));
        if (CountPixels(corner, Bounds(0, 0, k, k), [](std::uint32_t p) { return p != kMagenta; }) >= 3 ||
            k >= face.Height() / 2) {
            return corner;
        }
    }
}

std::uint32_t Pixel(TsuiUIStyle style, TsuiThemeElement element) {
    return ColorToPixel(GetBuiltInThemeColor(style, element));
}

class ThemePreviewPngTest : public TThemeToolFixture {};

} // namespace

TEST_F(ThemePreviewPngTest, EveryBuiltInLookShowsEveryControlInItsPicturesAndColours) {
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        const std::string look(kUIStyleNames[style]);
        SCOPED_TRACE(look);
        const fs::path png = m_dir / (look + ".png");
        ASSERT_EQ(Run({"preview", look, "--png", png.string()}), kThemeToolOk) << m_err.str();
        EXPECT_EQ(m_err.str(), "");
        const TPixelBuffer shot = ReadPng(png);
        SaveArtifactPng(look, shot);

        // The window: the content under the look's title bar and the menu bar, in the look's
        // border.
        const int border = GetBuiltInThemeInt(style, TsuiThemeElement::FormBorderWidthInt);
        const TPixelBuffer titleLeft = Element(style, TsuiThemeElement::TitleBarLeftImage);
        const int titleHeight = Element(style, TsuiThemeElement::TitleBarClientImage).Height();
        ASSERT_EQ(shot.Width(), L::kContentWidth + 2 * border);
        ASSERT_EQ(shot.Height(), titleHeight + kMenuBarHeight + L::kContentHeight + border);
        EXPECT_EQ(m_out.str(), "wrote " + png.string() + " (" + std::to_string(shot.Width()) + " x " +
                                   std::to_string(shot.Height()) + ", " + look + ")\n");
        const TPoint origin{border, titleHeight + kMenuBarHeight};
        auto at = [&](const TRect& r) { return r.Offset(origin.X, origin.Y); };
        auto expectContains = [&](const char* what, const TRect& area, const TPixelBuffer& pattern,
                                  std::initializer_list<std::uint32_t> keys = {kMagenta}) {
            EXPECT_TRUE(Contains(shot, area, pattern, keys)) << what;
        };

        // Title bar: its left picture at the left, the close button's picture at the right.
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(shot.At(border + x, titleHeight - 1), titleLeft.At(x, titleHeight - 1))
                << "title bar " << x;
        }
        expectContains("close button", Bounds(shot.Width() - 90, 0, 90, titleHeight),
                       Element(style, TsuiThemeElement::TitleBarButtonImage, 16, 18));
        // Menu bar: the captions of its buttons.
        EXPECT_GT(CountPixels(shot, Bounds(border, titleHeight, 40, kMenuBarHeight),
                              [](std::uint32_t p) { return p == 0; }),
                  10)
            << "menu bar";

        // Group boxes: framed in the look's control border colour.
        const std::uint32_t controlBorder = Pixel(style, TsuiThemeElement::ControlBorderColor);
        for (const TRect& group : {L::kButtonGroup, L::kCheckBoxGroup, L::kMessageGroup}) {
            const TRect g = at(group);
            EXPECT_EQ(shot.At(g.Left + g.Width() / 2, g.Bottom - 1), controlBorder) << "group box";
            EXPECT_EQ(shot.At(g.Left, g.Top + g.Height() / 2), controlBorder) << "group box";
        }

        // Push buttons, arrow buttons: the look's button face from their top-left corner.
        const TPixelBuffer corner = FaceCorner(style);
        std::vector<TRect> buttons = {L::kNormalButton, L::kDisabledButton, L::kDefaultButton,
                                      L::kGlyphButton,  L::kArrowUpButton,  L::kArrowDownButton};
        for (int i = 0; i < L::kMessageButtonCount; ++i) {
            buttons.push_back(L::MessageButton(i));
        }
        for (const TRect& button : buttons) {
            const TRect b = at(button);
            expectContains("button face", Bounds(b.Left, b.Top, corner.Width(), corner.Height()), corner);
        }
        TBitmap glyph;
        glyph.LoadFromResourceName("MENU_CHECKED");
        expectContains("glyph", at(L::kGlyphButton), glyph.Pixels(),
                       {glyph.Pixels().At(0, glyph.Height() - 1)});
        // Arrows: small black triangles on the arrow buttons.
        for (const TRect& arrow : {L::kArrowUpButton, L::kArrowDownButton}) {
            const TRect a = at(arrow);
            EXPECT_GE(CountPixels(shot, Bounds(a.Left + 6, a.Top + 5, a.Width() - 12, a.Height() - 10),
                                  [](std::uint32_t p) { return p == 0; }),
                      3)
                << "arrow";
        }
        // The image button shows the look's help button (title-bar frame 4).
        expectContains("image button", at(L::kImageButton).Inflate(2, 2),
                       Element(style, TsuiThemeElement::TitleBarButtonImage, 4, 18));

        // Check boxes: the checked, unchecked and disabled pictures of the look.
        expectContains("checked box", at(L::kCheckedBox),
                       Element(style, TsuiThemeElement::CheckBoxImage, 1, 4));
        expectContains("unchecked box", at(L::kUncheckedBox),
                       Element(style, TsuiThemeElement::CheckBoxImage, 2, 4));
        EXPECT_TRUE(
            Contains(shot, at(L::kDisabledBox), Element(style, TsuiThemeElement::CheckBoxImage, 3, 4)) ||
            Contains(shot, at(L::kDisabledBox), Element(style, TsuiThemeElement::CheckBoxImage, 4, 4)))
            << "disabled box";

        // Edit, spin edit and memo: framed in the look's border colour; the spin edit's buttons
        // have the look's face.
        for (const TRect& framed : {L::kEdit, L::kSpinEdit, L::kMemo}) {
            const TRect f = at(framed);
            EXPECT_EQ(shot.At(f.Left, f.Top + f.Height() / 2), controlBorder) << "frame";
            EXPECT_EQ(shot.At(f.Left + f.Width() / 2, f.Top), controlBorder) << "frame";
        }
        const TRect spin = at(L::kSpinEdit);
        expectContains("spin buttons", Bounds(spin.Right - 22, spin.Top, 22, spin.Height()),
                       Crop(corner, Bounds(0, 0, 2, 2)));

        // Progress bar at 50%: the look's picture from the left, its background colour to the
        // right, its border around.
        const TRect bar = at(L::kProgressBar);
        const TPixelBuffer progress = Element(style, TsuiThemeElement::ProgressBarImage);
        EXPECT_EQ(shot.At(bar.Left, bar.Top), controlBorder);
        for (int y = 0; y < progress.Height(); ++y) {
            EXPECT_EQ(shot.At(bar.Left + 1, bar.Top + 1 + y), progress.At(0, y)) << "progress row " << y;
        }
        EXPECT_EQ(shot.At(bar.Right - 3, bar.Top + 6),
                  Pixel(style, TsuiThemeElement::ControlBackgroundColor));

        // Track bar: the look's slider somewhere along it.
        expectContains("track slider", at(L::kTrackBar),
                       Element(style, TsuiThemeElement::TrackBarSliderImage));

        // Scroll bars, stand-alone and on the memo: a line button of the look at their start
        // (turned for the horizontal ones).
        auto lineButtonAt = [&](const char* what, const TRect& area, bool horizontal) {
            bool found = false;
            for (int slice = 1; slice <= 6 && !found; ++slice) {
                TBitmap button;
                GetBuiltInThemeBitmap(style, TsuiThemeElement::ScrollBarButtonImage, &button, slice, 6);
                if (horizontal) {
                    RotateBitmapAnticlockwise(&button);
                }
                found = Contains(shot, area, button.Pixels());
            }
            EXPECT_TRUE(found) << what;
        };
        const TRect hbar = at(L::kHScrollBar);
        const TRect vbar = at(L::kVScrollBar);
        const TRect memo = at(L::kMemo);
        lineButtonAt("horizontal bar", Bounds(hbar.Left, hbar.Top - 4, 24, 24), true);
        lineButtonAt("vertical bar", Bounds(vbar.Left - 4, vbar.Top, 24, 24), false);
        lineButtonAt("memo's vertical bar", Bounds(memo.Right - 24, memo.Top, 24, 28), false);
        lineButtonAt("memo's horizontal bar", Bounds(memo.Left, memo.Bottom - 24, 28, 24), true);

        // Image panel and URL label: the program's icon, and link-coloured text.
        const TRect panel = at(L::kImagePanel);
        EXPECT_GT(CountPixels(shot, panel,
                              [&](std::uint32_t p) { return p != shot.At(panel.Right + 2, panel.Top); }),
                  50)
            << "image panel";
        EXPECT_GT(
            CountPixels(shot, at(L::kURLLabel), [](std::uint32_t p) { return p == ColorToPixel(0xFF0000); }),
            30)
            << "URL label";
    }
}

// A file made from a look previews as the look does, apart from the caption. Only looks whose
// frame takes nothing from the look's name qualify: the MacOS and Protein frames add a
// background pattern (and MacOS its own menu bar) that a theme file cannot carry.
TEST_F(ThemePreviewPngTest, AThemeFileMadeFromALookLooksLikeThatLookBelowTheTitleBar) {
    for (TsuiUIStyle style : {WinXP, DeepBlue, BlueGlass}) {
        const std::string look(kUIStyleNames[style]);
        SCOPED_TRACE(look);
        const std::string file = (m_dir / (look + ".theme")).string();
        ASSERT_EQ(Run({"export", look, (m_dir / look).string()}), kThemeToolOk);
        ASSERT_EQ(Run({"pack", (m_dir / look).string(), file}), kThemeToolOk);
        ASSERT_EQ(Run({"preview", look, "--png", (m_dir / "look.png").string()}), kThemeToolOk)
            << m_err.str();
        ASSERT_EQ(Run({"preview", file, "--png", (m_dir / "file.png").string()}), kThemeToolOk)
            << m_err.str();
        EXPECT_NE(m_out.str().find(look + ".theme)"), std::string::npos) << m_out.str();
        const TPixelBuffer fromLook = ReadPng(m_dir / "look.png");
        const TPixelBuffer fromFile = ReadPng(m_dir / "file.png");
        ASSERT_EQ(fromFile.Width(), fromLook.Width());
        ASSERT_EQ(fromFile.Height(), fromLook.Height());
        const int titleHeight = Element(style, TsuiThemeElement::TitleBarClientImage).Height();
        const TRect below = Bounds(0, titleHeight, fromLook.Width(), fromLook.Height() - titleHeight);
        EXPECT_TRUE(SamePixels(Crop(fromFile, below), Crop(fromLook, below), look));
    }
}

TEST_F(ThemePreviewPngTest, AThemeThatDoesNotLoadOrAPngThatCannotBeWrittenShowsNothingAndFails) {
    const fs::path png = m_dir / "out.png";
    const std::string damaged = (m_dir / "damaged.theme").string();
    std::ofstream(damaged, std::ios::binary) << std::string(30, '\0');
    for (const std::string& file : {(m_dir / "none.theme").string(), damaged, m_dir.string()}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(Run({"preview", file, "--png", png.string()}), kThemeToolFailed);
        EXPECT_EQ(m_out.str(), "");
        EXPECT_TRUE(m_err.str().starts_with("varnel-theme: Cannot load theme file \"" + file + "\": "))
            << m_err.str();
        EXPECT_FALSE(fs::exists(png));
    }
    EXPECT_EQ(Run({"preview", "WinXP", "--png", (m_dir / "no" / "such" / "folder.png").string()}),
              kThemeToolFailed);
    EXPECT_NE(m_err.str().find("folder.png"), std::string::npos) << m_err.str();

    EXPECT_EQ(Run({"preview"}), kThemeToolUsage);
    EXPECT_EQ(Run({"preview", "WinXP", "--png"}), kThemeToolUsage);
    EXPECT_EQ(Run({"preview", "WinXP", "--pdf", png.string()}), kThemeToolUsage);
    EXPECT_FALSE(fs::exists(png));
}
