// The anti-aliased painter behind the built-in bitmaps: coverage, edges against the key colour,
// the arithmetic it uses instead of the library's trigonometry, and arcs.

#include "tools/paint_resources/Painter.h"

#include "tools/paint_resources/Glyphs.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

TEST(Painter, CoverageFollowsTheShapeEdgesExactly) {
    TImage img(4, 1, Hex(0x000000));
    img.Fill(RectShape(0, 0, 1.5, 1), Hex(0xFFFFFF));
    EXPECT_DOUBLE_EQ(img.Coverage(0, 0), 1.0);
    EXPECT_DOUBLE_EQ(img.Coverage(1, 0), 0.5);
    EXPECT_DOUBLE_EQ(img.Coverage(2, 0), 0.0);
    // Half covered white over black flattens to the middle grey.
    EXPECT_EQ(img.Pixel(1, 0), 0x808080u);

    // A disc covers close to pi r squared.
    TImage disc(40, 40, Hex(0x000000));
    disc.Fill(CircleShape(20, 20, 15), Hex(0xFFFFFF));
    double total = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            total += disc.Coverage(x, y);
        }
    }
    EXPECT_NEAR(total, 3.14159265 * 15 * 15, 3.14159265 * 15 * 15 * 0.005);
}

TEST(Painter, KeyedEdgesBlendTowardsTheBackdropNeverTheKey) {
    TImage img(20, 20, Hex(0xE7E7E7));
    img.Fill(CircleShape(10, 10, 7.3), Hex(0x2060C0));
    img.KeyOut();
    EXPECT_EQ(img.Pixel(0, 0), kKeyPixel);
    EXPECT_EQ(img.Pixel(10, 10), 0x2060C0u);
    int edges = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            const std::uint32_t p = img.Pixel(x, y);
            if (p == kKeyPixel || p == 0x2060C0u) {
                continue;
            }
            ++edges;
            // Every edge pixel lies between the art and the backdrop, channel by channel.
            const int r = p >> 16 & 0xFF;
            const int g = p >> 8 & 0xFF;
            const int b = p & 0xFF;
            EXPECT_TRUE(r >= 0x20 && r <= 0xE7 && g >= 0x60 && g <= 0xE7 && b >= 0xC0 && b <= 0xE7)
                << std::hex << p;
        }
    }
    EXPECT_GT(edges, 20);
}

TEST(Painter, ArtNeverComesOutAsTheKey) {
    TImage img(2, 1, Hex(0xFFFFFF));
    img.Fill(RectShape(0, 0, 1, 1), Hex(0xFF00FF));
    EXPECT_NE(img.Pixel(0, 0), kKeyPixel);
    img.KeyOut();
    EXPECT_EQ(img.Pixel(1, 0), kKeyPixel);
}

TEST(Painter, OwnSineMatchesTheLibraryEverywhere) {
    for (double deg = -720; deg <= 720; deg += 7.5) {
        EXPECT_NEAR(DetSin(deg), std::sin(deg * 3.14159265358979323846 / 180.0), 1e-10) << deg;
        EXPECT_NEAR(DetCos(deg), std::cos(deg * 3.14159265358979323846 / 180.0), 1e-10) << deg;
    }
}

TEST(Painter, ArcsCoverTheirSweepOnlyBothBelowAndAboveHalfATurn) {
    // Angles turn clockwise on screen: 90 degrees points down.
    const TShape lower = ArcShape(0, 0, 10, 2, 0, 180);
    EXPECT_TRUE(lower.Contains(0, 10));
    EXPECT_FALSE(lower.Contains(0, -10));
    const TShape hook = ArcShape(0, 0, 10, 2, 180, 405);
    EXPECT_TRUE(hook.Contains(0, -10)); // 270: over the top
    EXPECT_TRUE(hook.Contains(10, 0));  // 360
    EXPECT_FALSE(hook.Contains(0, 10)); // 90: the open part
    EXPECT_FALSE(hook.Contains(0, 0));  // inside the ring
}

TEST(Painter, DrawingOneImageOnAnotherKeepsCoverage) {
    TImage strip(4, 1, Hex(0x000000));
    TImage frame(2, 1, Hex(0x000000));
    frame.Fill(RectShape(0, 0, 1, 1), Hex(0xFF0000));
    strip.Draw(frame, 2, 0);
    EXPECT_DOUBLE_EQ(strip.Coverage(2, 0), 1.0);
    EXPECT_DOUBLE_EQ(strip.Coverage(3, 0), 0.0);
    EXPECT_EQ(strip.Pixel(2, 0), 0xFF0000u);
    strip.KeyOut();
    EXPECT_EQ(strip.Pixel(3, 0), kKeyPixel);
    EXPECT_EQ(strip.PixelWithAlpha(2, 0), 0xFFFF0000u);
    EXPECT_EQ(strip.PixelWithAlpha(3, 0), 0u);
}

TEST(Painter, WindowSymbolsSitOnWholePixels) {
    // Boxes and bars of the title buttons must not smear into half-lit rows and columns.
    for (double c : {9.3, 9.5, 10.0, 10.7}) {
        TImage img(21, 21, Hex(0x000000));
        img.Fill(Union({MaximiseGlyph(c, c, 9, 2), MinimiseGlyph(c, c, 9, 2), RestoreGlyph(c, c, 9, 1)}),
                 Hex(0xFFFFFF));
        for (int y = 0; y < 21; ++y) {
            for (int x = 0; x < 21; ++x) {
                const double a = img.Coverage(x, y);
                EXPECT_TRUE(a == 0.0 || a == 1.0) << x << "," << y << " at centre " << c;
            }
        }
    }
}

} // namespace
