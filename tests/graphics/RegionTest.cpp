#include "toolkit/graphics/Region.h"

#include "tests/support/Artifacts.h"
#include "toolkit/graphics/Gdi.h"

#include <gtest/gtest.h>

namespace {

const TPixelLegend kLegend = {{'.', 0xFFFFFF}, {'#', 0x000000}};

// The region painted black on white, width × height from (0, 0).
TPixelBuffer Paint(const TRegion& region, int width, int height) {
    TPixelBuffer pixels(width, height, 0xFFFFFF);
    region.ForEachRect(pixels.Bounds(), [&](const TRect& r) {
        for (int y = r.Top; y < r.Bottom; ++y) {
            for (int x = r.Left; x < r.Right; ++x) {
                pixels.Set(x, y, 0);
            }
        }
    });
    return pixels;
}

} // namespace

TEST(Region, RectangleHasExclusiveRightAndBottomEdges) {
    TRegion r(TRect{2, 3, 6, 8});
    EXPECT_TRUE(r.Contains(2, 3));
    EXPECT_TRUE(r.Contains(5, 7));
    EXPECT_FALSE(r.Contains(6, 7));
    EXPECT_FALSE(r.Contains(5, 8));
    EXPECT_FALSE(r.Contains(1, 3));
    EXPECT_EQ(r.Bounds(), (TRect{2, 3, 6, 8}));
    EXPECT_EQ(r.Complexity(), SIMPLEREGION);
    EXPECT_TRUE(TRegion(TRect{5, 5, 5, 9}).IsEmpty());
    EXPECT_TRUE(TRegion(TRect{6, 5, 2, 9}).IsEmpty());
    EXPECT_EQ(TRegion().Complexity(), NULLREGION);
    EXPECT_EQ(TRegion().Bounds(), TRect{});
}

TEST(Region, BooleanOperationsGiveTheRightPixels) {
    TRegion a(TRect{0, 0, 6, 4});
    TRegion b(TRect{3, 2, 8, 6});
    EXPECT_TRUE(PixelsMatch(Paint(a.Union(b), 8, 6),
                            {"######..", "######..", "########", "########", "...#####", "...#####"}, kLegend,
                            "union"));
    EXPECT_TRUE(PixelsMatch(Paint(a.Intersect(b), 8, 6),
                            {"........", "........", "...###..", "...###..", "........", "........"}, kLegend,
                            "intersect"));
    EXPECT_TRUE(PixelsMatch(Paint(a.Subtract(b), 8, 6),
                            {"######..", "######..", "###.....", "###.....", "........", "........"}, kLegend,
                            "subtract"));
    EXPECT_TRUE(PixelsMatch(Paint(a.Xor(b), 8, 6),
                            {"######..", "######..", "###...##", "###...##", "...#####", "...#####"}, kLegend,
                            "xor"));
    EXPECT_EQ(a.Union(b).Bounds(), (TRect{0, 0, 8, 6}));
}

TEST(Region, EqualPixelsMakeEqualRegionsWhateverTheConstruction) {
    TRegion halves = TRegion(TRect{0, 0, 5, 10}).Union(TRegion(TRect{5, 0, 10, 10}));
    TRegion stacked = TRegion(TRect{0, 0, 10, 4}).Union(TRegion(TRect{0, 4, 10, 10}));
    EXPECT_EQ(halves, TRegion(TRect{0, 0, 10, 10}));
    EXPECT_EQ(stacked, TRegion(TRect{0, 0, 10, 10}));
    EXPECT_EQ(halves.Complexity(), SIMPLEREGION);
    EXPECT_EQ(halves.Rects().size(), 1u);
    // A hole makes four rectangles: one band above, two spans beside it, one band below.
    TRegion frame = TRegion(TRect{0, 0, 10, 10}).Subtract(TRegion(TRect{3, 3, 7, 7}));
    std::vector<TRect> expected = {{0, 0, 10, 3}, {0, 3, 3, 7}, {7, 3, 10, 7}, {0, 7, 10, 10}};
    EXPECT_EQ(frame.Rects(), expected);
    EXPECT_EQ(frame.Complexity(), COMPLEXREGION);
    EXPECT_TRUE(frame.Subtract(frame).IsEmpty());
    EXPECT_EQ(frame.Union(TRegion(TRect{3, 3, 7, 7})), TRegion(TRect{0, 0, 10, 10}));
}

TEST(Region, OffsetMovesEveryPixelAndTheBounds) {
    TRegion r = TRegion(TRect{0, 0, 2, 2}).Union(TRegion(TRect{4, 4, 6, 6}));
    r.Offset(-3, 10);
    EXPECT_TRUE(r.Contains(-3, 10));
    EXPECT_TRUE(r.Contains(2, 15));
    EXPECT_FALSE(r.Contains(0, 12));
    EXPECT_EQ(r.Bounds(), (TRect{-3, 10, 3, 16}));
    EXPECT_FALSE(r.Intersects(TRect{-1, 12, 1, 14}));
    EXPECT_TRUE(r.Intersects(TRect{-1, 12, 2, 15}));
}

TEST(Region, RoundRectCornersFollowThePixelCentresInsideTheEllipse) {
    // The classic call leaves out the last row and column: 11 × 11 asked, 10 × 10 shaped.
    HRGN handle = CreateRoundRectRgn(0, 0, 11, 11, 8, 8);
    TRect box;
    EXPECT_EQ(GetRgnBox(handle, &box), COMPLEXREGION);
    EXPECT_EQ(box, (TRect{0, 0, 10, 10}));
    EXPECT_TRUE(PixelsMatch(Paint(*RegionFromHandle(handle), 10, 10),
                            {"..######..", ".########.", "##########", "##########", "##########",
                             "##########", "##########", "##########", ".########.", "..######.."},
                            kLegend, "round"));
    DeleteObject(handle);
}

TEST(Region, RoundRectIsSymmetricAndSquareBelowTwoPixels) {
    for (int size : {3, 5, 14, 15, 31}) {
        TRegion r = TRegion::RoundRect(TRect{0, 0, 40, 30}, size, size);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                ASSERT_EQ(r.Contains(x, y), r.Contains(39 - x, y)) << size << " at " << x << "," << y;
                ASSERT_EQ(r.Contains(x, y), r.Contains(x, 29 - y)) << size << " at " << x << "," << y;
            }
        }
        // A 3 × 3 ellipse still holds its corner pixels' centres; larger ones do not.
        EXPECT_EQ(r.Contains(0, 0), size == 3) << size;
        EXPECT_TRUE(r.Contains(20, 0));
        EXPECT_TRUE(r.Contains(0, 15));
    }
    EXPECT_EQ(TRegion::RoundRect(TRect{0, 0, 10, 10}, 1, 9), TRegion(TRect{0, 0, 10, 10}));
    // An ellipse larger than the rectangle is clamped to it: a full ellipse.
    EXPECT_EQ(TRegion::RoundRect(TRect{0, 0, 10, 6}, 100, 100), TRegion::Ellipse(TRect{0, 0, 10, 6}));
}

TEST(Region, WindowShapeWithOnlyTheTopCornersRounded) {
    // The title bar's shape for a 200 × 100 client area and corners of 14.
    const int w = 200, h = 100, r = 14;
    HRGN shape = CreateRoundRectRgn(0, 0, w + 1, h + 1, r, r);
    HRGN left = CreateRectRgn(0, h - 2 * r, 2 * r, h);
    HRGN right = CreateRectRgn(w - 2 * r, h - 2 * r, w, h);
    EXPECT_EQ(CombineRgn(shape, shape, left, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(CombineRgn(shape, shape, right, RGN_OR), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(shape, 0, 0));
    EXPECT_FALSE(PtInRegion(shape, w - 1, 0));
    EXPECT_TRUE(PtInRegion(shape, 0, h - 1));
    EXPECT_TRUE(PtInRegion(shape, w - 1, h - 1));
    EXPECT_FALSE(PtInRegion(shape, w, h - 1));
    TRect box;
    GetRgnBox(shape, &box);
    EXPECT_EQ(box, (TRect{0, 0, w, h}));
    for (HRGN handle : {shape, left, right}) {
        EXPECT_TRUE(DeleteObject(handle));
    }
}

TEST(Region, PolygonFillFollowsTheFillMode) {
    // A pentagram: the even-odd rule leaves the centre out, the winding rule fills it.
    const TPoint star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    TRect all{-100, -100, 100, 100};
    TRegion evenOdd = TRegion::Polygon(star, false, all);
    TRegion winding = TRegion::Polygon(star, true, all);
    EXPECT_FALSE(evenOdd.Contains(10, 10));
    EXPECT_TRUE(winding.Contains(10, 10));
    EXPECT_TRUE(evenOdd.Contains(10, 3));
    EXPECT_TRUE(winding.Subtract(evenOdd).Contains(10, 10));
    EXPECT_TRUE(evenOdd.Subtract(winding).IsEmpty());
    // A square of side n covers n × n pixels.
    const TPoint square[] = {{2, 2}, {6, 2}, {6, 6}, {2, 6}};
    EXPECT_EQ(TRegion::Polygon(square, false, all), TRegion(TRect{2, 2, 6, 6}));
    // Only the rows asked for are rasterised.
    EXPECT_EQ(TRegion::Polygon(square, false, TRect{0, 3, 10, 4}), TRegion(TRect{2, 3, 6, 4}));
}

TEST(Region, HandleApiReportsClassicResultCodes) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(20, 0, 30, 10);
    HRGN dest = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(dest, a, b, RGN_AND), NULLREGION);
    EXPECT_EQ(CombineRgn(dest, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(CombineRgn(dest, a, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(dest, a));
    EXPECT_EQ(CombineRgn(dest, a, b, 99), ERROR);
    EXPECT_EQ(CombineRgn(dest, a, nullptr, RGN_OR), ERROR);
    EXPECT_TRUE(EqualRgn(dest, a)) << "a failed combine leaves the destination as it was";
    EXPECT_EQ(OffsetRgn(dest, 20, 0), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(dest, b));
    TRect probe{25, 5, 40, 6};
    EXPECT_TRUE(RectInRegion(dest, &probe));
    EXPECT_TRUE(SetRectRgn(dest, 5, 5, 1, 1)) << "inverted corners are put in order, as classic";
    TRect box;
    EXPECT_EQ(GetRgnBox(dest, &box), SIMPLEREGION);
    EXPECT_EQ(box, (TRect{1, 1, 5, 5}));
    for (HRGN handle : {a, b, dest}) {
        EXPECT_TRUE(DeleteObject(handle));
    }
    // A deleted handle is recognised and ignored.
    EXPECT_FALSE(PtInRegion(a, 1, 1));
    EXPECT_EQ(GetRgnBox(a, &box), ERROR);
    EXPECT_EQ(OffsetRgn(a, 1, 1), ERROR);
    EXPECT_FALSE(DeleteObject(a));
}

TEST(Region, ExtremeCoordinatesStayInRange) {
    TRegion r(TRect{-2000000000, -5, 2000000000, 5});
    EXPECT_FALSE(r.IsEmpty());
    r.Offset(2000000000, 0);
    EXPECT_TRUE(r.Contains(1000, 0));
    EXPECT_LT(r.Bounds().Left, r.Bounds().Right);
    HRGN huge = CreateRoundRectRgn(-2000000000, -2000000000, 2000000000, 2000000000, -2147483647 - 1, 3);
    EXPECT_TRUE(PtInRegion(huge, 0, 0));
    DeleteObject(huge);
}
