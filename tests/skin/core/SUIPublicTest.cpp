#include "skin/core/SUIPublic.h"

#include "tests/support/Artifacts.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Picture.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kMagentaPixel = 0xFF00FF;
constexpr std::uint32_t kBackground = 0x102030;

std::uint32_t Coord(int x, int y) {
    return static_cast<std::uint32_t>(x) << 16 | static_cast<std::uint32_t>(y) << 8 | 0x80;
}

// A bitmap whose every pixel tells where it came from: red = x, green = y, blue = 0x80 (never
// magenta, never the background).
std::unique_ptr<TBitmap> CoordinateBitmap(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap->Pixels().Set(x, y, Coord(x, y));
        }
    }
    return bitmap;
}

std::unique_ptr<TBitmap> Canvas(int width, int height) {
    auto bitmap = std::make_unique<TBitmap>(width, height);
    bitmap->Pixels().Fill(kBackground);
    return bitmap;
}

// Every pixel of area of dest against the source pixel that source(x, y) names.
template <typename F>
::testing::AssertionResult AreaFrom(const TBitmap& dest, const TRect& area, F source) {
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            TPoint from = source(x, y);
            if (dest.Pixels().At(x, y) != Coord(from.X, from.Y)) {
                SaveFailurePng("keep-corners", dest.Pixels());
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex << dest.Pixels().At(x, y)
                       << ", expected source (" << std::dec << from.X << ", " << from.Y << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(PointInRect, AllFourEdgesAreInside) {
    const TRect r{0, 0, 10, 10};
    EXPECT_TRUE(PointInRect({10, 10}, r));
    EXPECT_TRUE(PointInRect({0, 0}, r));
    EXPECT_TRUE(PointInRect({0, 10}, r));
    EXPECT_FALSE(PointInRect({11, 5}, r));
    EXPECT_FALSE(PointInRect({5, -1}, r));
    EXPECT_FALSE(r.Contains({10, 10})); // unlike the windowing system's own test
}

TEST(SliceBitmap, CutsEqualFramesCountedFromOne) {
    auto strip = CoordinateBitmap(306, 17);
    TBitmap frame;
    SliceBitmap(strip.get(), &frame, 18, 1);
    ASSERT_EQ(frame.Width(), 17);
    ASSERT_EQ(frame.Height(), 17);
    EXPECT_TRUE(AreaFrom(frame, {0, 0, 17, 17}, [](int x, int y) { return TPoint{x, y}; }));
    SliceBitmap(strip.get(), &frame, 18, 18);
    EXPECT_TRUE(AreaFrom(frame, {0, 0, 17, 17}, [](int x, int y) { return TPoint{289 + x, y}; }));
    SliceBitmap(strip.get(), &frame, 18, 11);
    EXPECT_TRUE(AreaFrom(frame, {0, 0, 17, 17}, [](int x, int y) { return TPoint{170 + x, y}; }));
}

TEST(SliceBitmap, LeftoverColumnsBelongToNoFrameAndABitmapCanBeSlicedIntoItself) {
    auto strip = CoordinateBitmap(11, 2); // 11 div 3 = 3: column 9 and 10 are in no frame
    SliceBitmap(strip.get(), strip.get(), 3, 3);
    ASSERT_EQ(strip->Width(), 3);
    EXPECT_TRUE(AreaFrom(*strip, {0, 0, 3, 2}, [](int x, int y) { return TPoint{6 + x, y}; }));
}

TEST(SliceBitmap, AFrameThatDoesNotExistLeavesTheDestinationAlone) {
    auto strip = CoordinateBitmap(12, 2);
    auto dest = CoordinateBitmap(5, 5);
    for (auto [count, index] : {std::pair{0, 1}, {3, 0}, {3, 4}, {-1, -1}}) {
        SliceBitmap(strip.get(), dest.get(), count, index);
        EXPECT_EQ(dest->Width(), 5);
        EXPECT_TRUE(AreaFrom(*dest, {0, 0, 5, 5}, [](int x, int y) { return TPoint{x, y}; }));
    }
    SliceBitmap(nullptr, dest.get(), 1, 1);
    SliceBitmap(strip.get(), nullptr, 1, 1);
    // An empty strip gives an empty frame.
    TBitmap empty;
    SliceBitmap(&empty, dest.get(), 3, 2);
    EXPECT_TRUE(dest->Empty());
}

// Theme files may hold a strip narrower than the frames it is cut into.
TEST(SliceBitmap, AStripNarrowerThanItsFramesGivesEmptyFrames) {
    auto strip = CoordinateBitmap(2, 3);
    for (int index = 1; index <= 3; ++index) {
        auto dest = CoordinateBitmap(5, 5);
        SliceBitmap(strip.get(), dest.get(), 3, index);
        EXPECT_EQ(dest->Width(), 0);
        EXPECT_TRUE(dest->Empty());
    }
    SliceBitmap(strip.get(), strip.get(), 4, 4);
    EXPECT_TRUE(strip->Empty());
}

TEST(DrawBitmapKeepCorners, ThePiecesOfAPushButtonFaceGrownTo129By27) {
    const TKeepCornersPieces p = KeepCornersPieces(84, 23, {0, 0, 129, 27});
    const TRect sources[9] = {{0, 0, 42, 11},  {0, 13, 42, 23},  {0, 11, 42, 12},
                              {43, 0, 84, 11}, {43, 13, 84, 23}, {43, 12, 84, 13},
                              {42, 0, 43, 11}, {42, 11, 43, 12}, {42, 12, 43, 23}};
    const TRect dests[9] = {{0, 0, 42, 11},   {0, 17, 42, 27},   {0, 11, 42, 17},
                            {88, 0, 129, 11}, {88, 17, 129, 27}, {88, 11, 129, 17},
                            {42, 0, 88, 11},  {42, 11, 88, 16},  {41, 16, 88, 27}};
    for (int i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(p[i].Source, sources[i]);
        EXPECT_EQ(p[i].Dest, dests[i]);
        EXPECT_FALSE(p[i].Skipped);
    }
}

TEST(DrawBitmapKeepCorners, EveryPixelOfTheGrownFaceComesFromItsPiece) {
    auto source = CoordinateBitmap(84, 23);
    auto dest = Canvas(129, 27);
    DrawBitmapKeepCorners(source.get(), dest->Canvas(), {0, 0, 129, 27}, false);
    auto same = [](int dx, int dy) { return [=](int x, int y) { return TPoint{x + dx, y + dy}; }; };
    EXPECT_TRUE(AreaFrom(*dest, {0, 0, 42, 11}, same(0, 0)));
    EXPECT_TRUE(AreaFrom(*dest, {0, 17, 41, 27}, same(0, -4)));
    EXPECT_TRUE(AreaFrom(*dest, {88, 0, 129, 11}, same(-45, 0)));
    EXPECT_TRUE(AreaFrom(*dest, {88, 17, 129, 27}, same(-45, -4)));
    EXPECT_TRUE(AreaFrom(*dest, {0, 11, 41, 17}, [](int x, int) { return TPoint{x, 11}; }));
    EXPECT_TRUE(AreaFrom(*dest, {88, 11, 129, 17}, [](int x, int) { return TPoint{x - 45, 12}; }));
    EXPECT_TRUE(AreaFrom(*dest, {42, 0, 88, 11}, [](int, int y) { return TPoint{42, y}; }));
    EXPECT_TRUE(AreaFrom(*dest, {42, 11, 88, 16}, [](int, int) { return TPoint{42, 11}; }));
    // The bottom edge comes last, one pixel left of and above its neighbours.
    EXPECT_TRUE(AreaFrom(*dest, {41, 16, 88, 27}, [](int, int y) { return TPoint{42, y - 4}; }));
}

TEST(DrawBitmapKeepCorners, MagentaOfEdgesNeverShowsAndOfCornersOnlyWithoutTransparency) {
    for (bool transparent : {false, true}) {
        SCOPED_TRACE(transparent);
        auto source = CoordinateBitmap(84, 23);
        source->Pixels().Set(0, 0, kMagentaPixel);   // a corner pixel
        source->Pixels().Set(42, 11, kMagentaPixel); // the centre
        source->Pixels().Set(42, 5, kMagentaPixel);  // a row of the top edge
        auto dest = Canvas(129, 27);
        DrawBitmapKeepCorners(source.get(), dest->Canvas(), {0, 0, 129, 27}, transparent);
        EXPECT_EQ(dest->Pixels().At(0, 0), transparent ? kBackground : kMagentaPixel);
        EXPECT_TRUE(AreaIs(dest->Pixels(), {42, 11, 88, 16}, kBackground, "centre"));
        EXPECT_TRUE(AreaIs(dest->Pixels(), {42, 5, 88, 6}, kBackground, "top edge row"));
    }
}

TEST(DrawBitmapKeepCorners, ASmallerRectangleKeepsTheOuterCornerPixels) {
    auto source = CoordinateBitmap(84, 23);
    auto dest = Canvas(20, 10);
    DrawBitmapKeepCorners(source.get(), dest->Canvas(), {0, 0, 20, 10}, false);
    const TKeepCornersPieces p = KeepCornersPieces(84, 23, {0, 0, 20, 10});
    EXPECT_EQ(p[0].Dest, (TRect{0, 0, 10, 5}));
    EXPECT_EQ(p[1].Source, (TRect{0, 19, 10, 23}));
    EXPECT_EQ(p[1].Dest, (TRect{0, 6, 10, 10}));
    EXPECT_EQ(p[3].Source, (TRect{75, 0, 84, 5}));
    EXPECT_EQ(p[3].Dest, (TRect{11, 0, 20, 5}));
    EXPECT_EQ(p[4].Source, (TRect{75, 19, 84, 23}));
    EXPECT_TRUE(AreaFrom(*dest, {0, 0, 10, 5}, [](int x, int y) { return TPoint{x, y}; }));
    EXPECT_TRUE(AreaFrom(*dest, {11, 6, 20, 10}, [](int x, int y) { return TPoint{x + 64, y + 13}; }));
    EXPECT_EQ(dest->Pixels().At(19, 9), Coord(83, 22));
    EXPECT_EQ(dest->Pixels().At(0, 9), Coord(0, 22));
    EXPECT_EQ(dest->Pixels().At(19, 0), Coord(83, 0));
    // The left edge (one row high here) takes the left part of its band.
    EXPECT_EQ(p[2].Source, (TRect{0, 11, 10, 12}));
    EXPECT_TRUE(AreaFrom(*dest, {0, 5, 9, 6}, [](int x, int) { return TPoint{x, 11}; }));
}

TEST(DrawBitmapKeepCorners, AnEvenSourceHeightStretchesTheMiddleRow) {
    auto source = CoordinateBitmap(84, 22);
    auto dest = Canvas(129, 27);
    DrawBitmapKeepCorners(source.get(), dest->Canvas(), {0, 0, 129, 27}, false);
    const TKeepCornersPieces p = KeepCornersPieces(84, 22, {0, 0, 129, 27});
    EXPECT_EQ(p[2].Source, (TRect{0, 11, 42, 12}));
    EXPECT_EQ(p[7].Source, (TRect{42, 11, 43, 12}));
    EXPECT_TRUE(AreaFrom(*dest, {0, 11, 41, 17}, [](int x, int) { return TPoint{x, 11}; }));
    EXPECT_TRUE(AreaFrom(*dest, {42, 11, 88, 16}, [](int, int) { return TPoint{42, 11}; }));
}

TEST(DrawBitmapKeepCorners, SkippedCornersLeaveTheirPlaceToTheEdges) {
    // One pixel high: no corner has a row, the edges and the centre fill the height.
    const TKeepCornersPieces p = KeepCornersPieces(84, 23, {0, 0, 30, 1});
    EXPECT_TRUE(p[0].Skipped && p[1].Skipped && p[3].Skipped && p[4].Skipped);
    EXPECT_EQ(p[0].Dest, (TRect{0, 0, 15, 0}));
    EXPECT_EQ(p[1].Dest, (TRect{0, 1, 15, 1}));
    EXPECT_EQ(p[2].Dest, (TRect{0, 0, 15, 1}));  // left edge between them
    EXPECT_EQ(p[8].Dest, (TRect{14, 0, 16, 1})); // bottom edge across the middle
    auto source = CoordinateBitmap(84, 23);
    auto dest = Canvas(30, 1);
    DrawBitmapKeepCorners(source.get(), dest->Canvas(), {0, 0, 30, 1}, false);
    EXPECT_EQ(dest->Pixels().At(0, 0), Coord(0, 11));
    EXPECT_EQ(dest->Pixels().At(15, 0), Coord(42, 22)); // the bottom part of the bottom edge

    // A one-pixel source spreads over the whole centre rather than reading beyond itself.
    auto dot = CoordinateBitmap(1, 1);
    auto big = Canvas(10, 10);
    DrawBitmapKeepCorners(dot.get(), big->Canvas(), {0, 0, 10, 10}, true);
    EXPECT_TRUE(AreaFrom(*big, {0, 0, 10, 9}, [](int, int) { return TPoint{0, 0}; }));

    // Nothing to draw from or into.
    TBitmap empty;
    DrawBitmapKeepCorners(&empty, big->Canvas(), {0, 0, 10, 10}, true);
    DrawBitmapKeepCorners(source.get(), big->Canvas(), {0, 0, 0, 0}, true);
    DrawBitmapKeepCorners(source.get(), big->Canvas(), {0, 0, -5, -5}, true);
    DrawBitmapKeepCorners(source.get(), nullptr, {0, 0, 10, 10}, true);
}

TEST(DrawThreePartBitmap, CapsAtTheEndsAndTheMiddleStretched) {
    // Three 3 × 2 frames: A A key | B B B | C key C.
    constexpr std::uint32_t A = 0x0000AA, B = 0x00BB00, C = 0xCC0000, K = kMagentaPixel;
    TBitmap bar(9, 2);
    const std::uint32_t rows[2][9] = {{A, A, K, B, B, B, C, K, C}, {A, A, A, B, B, B, C, C, C}};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 9; ++x) {
            bar.Pixels().Set(x, y, rows[y][x]);
        }
    }
    auto dest = Canvas(20, 3);
    DrawThreePartBitmap(&bar, dest->Canvas(), {0, 0, 20, 3}, false);
    const TPixelLegend legend{{'a', A}, {'b', B}, {'c', C}, {'.', kBackground}};
    EXPECT_TRUE(PixelsMatch(dest->Pixels(),
                            {
                                "aa.bbbbbbbbbbbbbbc.c",
                                "aaabbbbbbbbbbbbbbccc",
                                "...bbbbbbbbbbbbbb...",
                            },
                            legend, "three-part"));

    // With the corner colour as key, A is left out of the caps instead of magenta.
    auto keyed = Canvas(12, 2);
    DrawThreePartBitmap(&bar, keyed->Canvas(), {0, 0, 12, 2}, true);
    const TPixelLegend legend2{{'b', B}, {'c', C}, {'m', K}, {'.', kBackground}};
    EXPECT_TRUE(PixelsMatch(keyed->Pixels(), {"..mbbbbbbcmc", "...bbbbbbccc"}, legend2, "corner key"));
}

TEST(TileDrawPicture, TilesStartAtTheCanvasOriginAndReachOneTileBeyond) {
    TPicture picture;
    TBitmap* tile = picture.Bitmap();
    tile->SetSize(30, 30);
    tile->Pixels().Fill(0x0000FF);
    tile->Pixels().Set(0, 0, 0xFFFFFF); // marks where each tile starts
    auto dest = Canvas(200, 200);
    TileDrawPicture(dest->Canvas(), &picture, {0, 0, 100, 100});
    for (int x = 0; x < 200; x += 30) {
        for (int y = 0; y < 200; y += 30) {
            const bool drawn = x <= 120 && y <= 120;
            EXPECT_EQ(dest->Pixels().At(x, y), drawn ? 0xFFFFFFu : kBackground) << x << ", " << y;
        }
    }
    EXPECT_EQ(dest->Pixels().At(149, 149), 0x0000FFu);
    EXPECT_EQ(dest->Pixels().At(150, 150), kBackground);

    TPicture empty;
    auto untouched = Canvas(10, 10);
    TileDrawPicture(untouched->Canvas(), &empty, {0, 0, 10, 10});
    EXPECT_TRUE(AreaIs(untouched->Pixels(), {0, 0, 10, 10}, kBackground, "empty picture"));
}

TEST(Rotation, QuarterTurnsBothWaysAndBack) {
    auto bitmap = CoordinateBitmap(3, 2);
    const auto original = bitmap->Pixels();
    RotateBitmapAnticlockwise(bitmap.get());
    ASSERT_EQ(bitmap->Width(), 2);
    ASSERT_EQ(bitmap->Height(), 3);
    // The old top-right corner is now at the top-left; the old top row is the left column.
    EXPECT_TRUE(AreaFrom(*bitmap, {0, 0, 2, 3}, [](int x, int y) { return TPoint{2 - y, x}; }));
    RotateBitmapClockwise(bitmap.get());
    EXPECT_TRUE(SamePixels(bitmap->Pixels(), original, "back"));

    RotateBitmapClockwise(bitmap.get());
    // The old bottom-left corner is now at the top-left.
    EXPECT_TRUE(AreaFrom(*bitmap, {0, 0, 2, 3}, [](int x, int y) { return TPoint{y, 1 - x}; }));
    RotateBitmapClockwise(bitmap.get());
    RotateBitmapClockwise(bitmap.get());
    RotateBitmapClockwise(bitmap.get());
    EXPECT_TRUE(SamePixels(bitmap->Pixels(), original, "four turns"));

    TBitmap empty;
    RotateBitmapClockwise(&empty);
    RotateBitmapAnticlockwise(nullptr);
    EXPECT_TRUE(empty.Empty());
}
