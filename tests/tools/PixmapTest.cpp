// The skin's bitmap drawing as the contact sheet and the tests perform it: nine-part drawing of a
// button face piece by piece, trimmed corners, quarter turns and three-part bars.

#include "tools/paint_resources/Pixmap.h"

#include <gtest/gtest.h>

namespace {

// A source whose every pixel names its own position, so each drawn pixel tells where it came from.
TPixmap Numbered(int w, int h) {
    TPixmap p(w, h, 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            p.Set(x, y, static_cast<std::uint32_t>(x << 8 | y));
        }
    }
    return p;
}

TEST(Pixmap, KeepCornersPlacesEveryPieceOfAPushButtonFace) {
    // An 84 x 23 MacOS button state drawn at the program's 129 x 27.
    const TPixmap src = Numbered(84, 23);
    TPixmap dst(129, 27, 0xFFFFFF);
    DrawKeepCorners(dst, src, 0, 0, 129, 27, true);
    for (int y = 0; y < 27; ++y) {
        for (int x = 0; x < 129; ++x) {
            int sx = 0;
            int sy = 0;
            if (x == 41 && y >= 16) { // the bottom edge starts one pixel left of its neighbours
                sx = 42, sy = 12 + (y - 16);
            } else if (x < 42 && y < 11) { // top-left corner, 42 x 11
                sx = x, sy = y;
            } else if (x < 42 && y >= 17) { // bottom-left corner, 42 x 10
                sx = x, sy = 13 + (y - 17);
            } else if (x < 42) { // left edge: source row 11
                sx = x, sy = 11;
            } else if (x >= 88 && y < 11) { // top-right corner, 41 x 11
                sx = 43 + (x - 88), sy = y;
            } else if (x >= 88 && y >= 17) { // bottom-right corner, 41 x 10
                sx = 43 + (x - 88), sy = 13 + (y - 17);
            } else if (x >= 88) { // right edge: source row 12
                sx = 43 + (x - 88), sy = 12;
            } else if (y < 11) { // top edge: source column 42
                sx = 42, sy = y;
            } else if (y < 16) { // centre: source pixel (42, 11)
                sx = 42, sy = 11;
            } else { // bottom edge: source column 42 from row 12, one row above its neighbours
                sx = 42, sy = 12 + (y - 16);
            }
            ASSERT_EQ(dst.At(x, y), src.At(sx, sy)) << "at " << x << "," << y;
        }
    }
}

TEST(Pixmap, KeepCornersTrimsCornersToSmallRectanglesKeepingTheOuterPixels) {
    const TPixmap src = Numbered(84, 23);
    TPixmap dst(20, 10, 0xFFFFFF);
    DrawKeepCorners(dst, src, 0, 0, 20, 10, true);
    EXPECT_EQ(dst.At(0, 0), src.At(0, 0));
    EXPECT_EQ(dst.At(19, 0), src.At(83, 0));
    EXPECT_EQ(dst.At(0, 9), src.At(0, 22));
    EXPECT_EQ(dst.At(19, 9), src.At(83, 22));
    // The top-left quarter is 10 x 5 and shows the source's own top-left 10 x 5.
    EXPECT_EQ(dst.At(9, 4), src.At(9, 4));
}

TEST(Pixmap, KeepCornersLeavesTheKeyOutOfEdgesAlwaysAndOfCornersWhenAsked) {
    TPixmap src(5, 5, 0x123456);
    src.Set(0, 0, kKeyPixel); // in the top-left corner
    src.Set(2, 0, kKeyPixel); // in the top edge's source column
    for (bool transparent : {false, true}) {
        TPixmap dst(9, 9, 0xABCDEF);
        DrawKeepCorners(dst, src, 0, 0, 9, 9, transparent);
        EXPECT_EQ(dst.At(0, 0), transparent ? 0xABCDEFu : kKeyPixel);
        EXPECT_EQ(dst.At(4, 0), 0xABCDEFu);
    }
}

TEST(Pixmap, QuarterTurnsGoBothWaysAndBack) {
    const TPixmap src = Numbered(7, 3);
    const TPixmap cw = RotateClockwise(src);
    ASSERT_EQ(cw.w, 3);
    ASSERT_EQ(cw.h, 7);
    EXPECT_EQ(cw.At(0, 0), src.At(0, 2)); // the old bottom-left corner
    const TPixmap acw = RotateAnticlockwise(src);
    EXPECT_EQ(acw.At(0, 0), src.At(6, 0)); // the old top-right corner
    const TPixmap back = RotateAnticlockwise(cw);
    EXPECT_EQ(back.px, src.px);
    EXPECT_EQ(RotateClockwise(acw).px, src.px);
}

TEST(Pixmap, ThreePartBarKeysTheCapsAndStretchesTheMiddleOpaque) {
    TPixmap bar(9, 1, 0);
    const std::uint32_t cols[9] = {kKeyPixel, 0x10, 0x11, 0x20, 0x21, kKeyPixel, 0x30, 0x31, kKeyPixel};
    for (int x = 0; x < 9; ++x) {
        bar.Set(x, 0, cols[x]);
    }
    TPixmap dst(15, 1, 0xEEEEEE);
    DrawThreePart(dst, bar, 0, 0, 15);
    EXPECT_EQ(dst.At(0, 0), 0xEEEEEEu);
    EXPECT_EQ(dst.At(1, 0), 0x10u);
    EXPECT_EQ(dst.At(14, 0), 0xEEEEEEu);
    EXPECT_EQ(dst.At(12, 0), 0x30u);
    // The middle frame is stretched over 3..11 and its key pixel shows.
    EXPECT_EQ(dst.At(3, 0), 0x20u);
    EXPECT_EQ(dst.At(11, 0), kKeyPixel);
}

TEST(Pixmap, SliceCutsEqualFramesFromTheLeft) {
    const TPixmap strip = Numbered(306, 17);
    const TPixmap first = Slice(strip, 18, 1);
    const TPixmap eleventh = Slice(strip, 18, 11);
    const TPixmap last = Slice(strip, 18, 18);
    EXPECT_EQ(first.w, 17);
    EXPECT_EQ(first.At(0, 0), strip.At(0, 0));
    EXPECT_EQ(eleventh.At(0, 0), strip.At(170, 0));
    EXPECT_EQ(last.At(16, 16), strip.At(305, 16));
}

} // namespace
