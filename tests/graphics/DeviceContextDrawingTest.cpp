#include "tests/support/Artifacts.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Gdi.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kRed = 0x0000FF; // as COLORREF, 0x00BBGGRR
constexpr COLORREF kBlue = 0xFF0000;
constexpr std::uint32_t kRedPixel = 0xFF0000; // as pixel, 0x00RRGGBB
constexpr std::uint32_t kBluePixel = 0x0000FF;

const TPixelLegend kLegend = {{'.', 0xFFFFFF}, {'#', 0x000000}, {'r', kRedPixel}, {'b', kBluePixel}};

// A white surface with a context over it; the context's objects are released on destruction.
struct TSurface {
    TPixelBuffer Pixels;
    TDeviceContext Dc;
    std::vector<HGDIOBJ> Objects;

    TSurface(int width, int height) : Pixels(width, height, 0xFFFFFF), Dc(&Pixels) {}
    ~TSurface() {
        SelectObject(&Dc, GetStockObject(BLACK_PEN));
        SelectObject(&Dc, GetStockObject(WHITE_BRUSH));
        for (HGDIOBJ object : Objects) {
            DeleteObject(object);
        }
    }
    template <typename H>
    H Keep(H handle) {
        Objects.push_back(handle);
        return handle;
    }
    void UsePen(int style, int width, COLORREF color) {
        SelectObject(&Dc, Keep(CreatePen(style, width, color)));
    }
    void UseBrush(COLORREF color) { SelectObject(&Dc, Keep(CreateSolidBrush(color))); }
};

} // namespace

TEST(DeviceContextDrawing, FillAndFrameRectangleLeaveRightAndBottomEdgesOut) {
    TSurface s(8, 6);
    HBRUSH red = s.Keep(CreateSolidBrush(kRed));
    HBRUSH black = s.Keep(CreateSolidBrush(0));
    TRect fill{1, 1, 4, 3};
    TRect frame{3, 2, 8, 6};
    FillRect(&s.Dc, &fill, red);
    FrameRect(&s.Dc, &frame, black);
    EXPECT_TRUE(PixelsMatch(s.Pixels,
                            {"........", ".rrr....", ".rr#####", "...#...#", "...#...#", "...#####"}, kLegend,
                            "fill-frame"));
    // A system colour index plus one stands for its brush, as classic code passes it.
    TRect all{0, 0, 8, 6};
    FillRect(&s.Dc, &all, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_WINDOWTEXT + 1)));
    EXPECT_TRUE(AreaIs(s.Pixels, all, 0x000000, "system-brush"));
}

TEST(DeviceContextDrawing, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    TSurface s(7, 6);
    s.UseBrush(kRed);
    Rectangle(&s.Dc, 0, 0, 5, 4);
    // Without a pen the brush fills the whole rectangle; without a brush only the outline shows.
    SelectObject(&s.Dc, GetStockObject(NULL_PEN));
    s.UseBrush(kBlue);
    Rectangle(&s.Dc, 5, 0, 7, 2);
    SelectObject(&s.Dc, GetStockObject(BLACK_PEN));
    SelectObject(&s.Dc, GetStockObject(NULL_BRUSH));
    Rectangle(&s.Dc, 3, 3, 7, 6);
    EXPECT_TRUE(PixelsMatch(s.Pixels, {"#####bb", "#rrr#bb", "#rrr#..", "#######", "...#..#", "...####"},
                            kLegend, "rectangles"));
}

TEST(DeviceContextDrawing, WidePenFramesInsideTheRectangle) {
    TSurface s(8, 8);
    s.UsePen(PS_SOLID, 2, 0);
    s.UseBrush(kRed);
    Rectangle(&s.Dc, 1, 1, 8, 7);
    EXPECT_TRUE(PixelsMatch(
        s.Pixels,
        {"........", ".#######", ".#######", ".##rrr##", ".##rrr##", ".#######", ".#######", "........"},
        kLegend, "wide"));
}

TEST(DeviceContextDrawing, LinesLeaveTheirLastPixelOut) {
    TSurface s(6, 6);
    MoveToEx(&s.Dc, 0, 0, nullptr);
    LineTo(&s.Dc, 5, 0);
    LineTo(&s.Dc, 5, 5);
    MoveToEx(&s.Dc, 0, 1, nullptr);
    LineTo(&s.Dc, 4, 5);
    TPoint position;
    MoveToEx(&s.Dc, 0, 0, &position);
    EXPECT_EQ(position, (TPoint{4, 5}));
    // A shallow line steps down half way.
    MoveToEx(&s.Dc, 0, 5, nullptr);
    LineTo(&s.Dc, 4, 3);
    EXPECT_TRUE(PixelsMatch(s.Pixels, {"######", "#....#", ".#...#", "..##.#", ".###.#", "#....."}, kLegend,
                            "lines"));
}

TEST(DeviceContextDrawing, DottedAndDashedPensRepeatTheirRuns) {
    TSurface s(40, 3);
    s.UsePen(PS_DOT, 1, 0);
    MoveToEx(&s.Dc, 0, 0, nullptr);
    LineTo(&s.Dc, 40, 0);
    s.UsePen(PS_DASH, 1, 0);
    MoveToEx(&s.Dc, 0, 2, nullptr);
    LineTo(&s.Dc, 40, 2);
    EXPECT_TRUE(
        PixelsMatch(s.Pixels,
                    {"###...###...###...###...###...###...###.", "........................................",
                     "##################......################"},
                    kLegend, "styles"));
}

TEST(DeviceContextDrawing, WideLinesCoverSquaresAlongThePath) {
    TSurface s(8, 5);
    s.UsePen(PS_SOLID, 3, 0);
    MoveToEx(&s.Dc, 1, 2, nullptr);
    LineTo(&s.Dc, 6, 2);
    EXPECT_TRUE(PixelsMatch(s.Pixels, {"........", "#######.", "#######.", "#######.", "........"}, kLegend,
                            "wide-line"));
}

TEST(DeviceContextDrawing, PolygonArrowIsSymmetric) {
    // The scroll arrow of the push buttons: (x, y + 3), (x + 3, y), (x + 6, y + 3), black.
    TSurface s(9, 6);
    SelectObject(&s.Dc, GetStockObject(BLACK_BRUSH));
    const TPoint up[] = {{1, 4}, {4, 1}, {7, 4}};
    Polygon(&s.Dc, up, 3);
    EXPECT_TRUE(PixelsMatch(s.Pixels,
                            {".........", "....#....", "...###...", "..#####..", ".#######.", "........."},
                            kLegend, "arrow"));
}

TEST(DeviceContextDrawing, EllipseAndRoundRectOutlineTheirFill) {
    TSurface s(10, 10);
    s.UseBrush(kRed);
    Ellipse(&s.Dc, 0, 0, 10, 10);
    EXPECT_TRUE(PixelsMatch(s.Pixels,
                            {"...####...", ".##rrrr##.", ".#rrrrrr#.", "#rrrrrrrr#", "#rrrrrrrr#",
                             "#rrrrrrrr#", "#rrrrrrrr#", ".#rrrrrr#.", ".##rrrr##.", "...####..."},
                            kLegend, "ellipse"));
    TSurface t(10, 6);
    SelectObject(&t.Dc, GetStockObject(NULL_BRUSH));
    RoundRect(&t.Dc, 0, 0, 10, 6, 4, 4);
    EXPECT_TRUE(PixelsMatch(
        t.Pixels, {".########.", "#........#", "#........#", "#........#", "#........#", ".########."},
        kLegend, "roundrect"));
}

TEST(DeviceContextDrawing, PatternBrushTilesFromTheDeviceOriginNotTheViewport) {
    auto pattern = std::make_shared<TPixelBuffer>(2, 2, 0xFFFFFF);
    pattern->Set(0, 0, 0);
    pattern->Set(1, 1, 0);
    HBITMAP bitmap = CreateBitmapOver(pattern);
    HBRUSH brush = CreatePatternBrush(bitmap);
    ASSERT_NE(brush, nullptr);
    TSurface s(6, 3);
    SetViewportOrgEx(&s.Dc, 1, 0, nullptr); // moves the fill, not the pattern
    TRect r{0, 0, 4, 3};
    FillRect(&s.Dc, &r, brush);
    EXPECT_TRUE(PixelsMatch(s.Pixels, {"..#.#.", ".#.#..", "..#.#."}, kLegend, "pattern"));
    // A device origin (a child window inside its top-level surface) moves the pattern with it.
    TSurface t(6, 3);
    t.Dc.SetDeviceOrigin({1, 0});
    FillRect(&t.Dc, &r, brush);
    EXPECT_TRUE(PixelsMatch(t.Pixels, {".#.#..", "..#.#.", ".#.#.."}, kLegend, "pattern-origin"));
    EXPECT_EQ(t.Pixels.At(1, 0), 0u) << "the pattern's first pixel lies at the device origin";
    // The brush keeps its own copy of the pattern.
    DeleteObject(bitmap);
    TSurface u(2, 2);
    TRect small{0, 0, 2, 2};
    FillRect(&u.Dc, &small, brush);
    EXPECT_TRUE(PixelsMatch(u.Pixels, {"#.", ".#"}, kLegend, "pattern-copy"));
    DeleteObject(brush);
}

TEST(DeviceContextDrawing, BitBltCopiesAndCombinesThroughRasterOperations) {
    TSurface src(3, 1);
    src.Pixels.Set(0, 0, 0xF0F0F0);
    src.Pixels.Set(1, 0, 0x0F0F0F);
    src.Pixels.Set(2, 0, 0x123456);
    auto run = [&](std::uint32_t rop, std::uint32_t dest) {
        TSurface d(3, 1);
        d.Pixels.Fill(dest);
        d.UseBrush(0x00FF00); // green: pixel 0x00FF00
        BitBlt(&d.Dc, 0, 0, 3, 1, &src.Dc, 0, 0, rop);
        return std::vector<std::uint32_t>{d.Pixels.At(0, 0), d.Pixels.At(1, 0), d.Pixels.At(2, 0)};
    };
    using V = std::vector<std::uint32_t>;
    EXPECT_EQ(run(SRCCOPY, 0xAAAAAA), (V{0xF0F0F0, 0x0F0F0F, 0x123456}));
    EXPECT_EQ(run(SRCAND, 0xAAAAAA), (V{0xA0A0A0, 0x0A0A0A, 0x022002}));
    EXPECT_EQ(run(SRCPAINT, 0xAAAAAA), (V{0xFAFAFA, 0xAFAFAF, 0xBABEFE}));
    EXPECT_EQ(run(SRCINVERT, 0xAAAAAA), (V{0x5A5A5A, 0xA5A5A5, 0xB89EFC}));
    EXPECT_EQ(run(NOTSRCCOPY, 0xAAAAAA), (V{0x0F0F0F, 0xF0F0F0, 0xEDCBA9}));
    EXPECT_EQ(run(MERGECOPY, 0xAAAAAA), (V{0x00F000, 0x000F00, 0x003400}));
    EXPECT_EQ(run(MERGEPAINT, 0xAAAAAA), (V{0xAFAFAF, 0xFAFAFA, 0xEFEBAB}));
    EXPECT_EQ(run(BLACKNESS, 0xAAAAAA), (V{0, 0, 0}));
    EXPECT_EQ(run(WHITENESS, 0xAAAAAA), (V{0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
    EXPECT_EQ(run(DSTINVERT, 0xAAAAAA), (V{0x555555, 0x555555, 0x555555}));
    EXPECT_EQ(run(PATINVERT, 0xAAAAAA), (V{0xAA55AA, 0xAA55AA, 0xAA55AA}));
}

TEST(DeviceContextDrawing, BitBltTakesOnlyPixelsThatExistInTheSource) {
    TSurface src(2, 2);
    src.Pixels.Fill(0);
    TSurface d(4, 4);
    BitBlt(&d.Dc, 0, 0, 4, 4, &src.Dc, -1, -1, SRCCOPY);
    EXPECT_TRUE(PixelsMatch(d.Pixels, {"....", ".##.", ".##.", "...."}, kLegend, "source-bounds"));
}

TEST(DeviceContextDrawing, BitBltWithinOneSurfaceReadsTheOriginalPixels) {
    TSurface s(5, 1);
    for (int x = 0; x < 5; ++x) {
        s.Pixels.Set(x, 0, static_cast<std::uint32_t>(x));
    }
    BitBlt(&s.Dc, 1, 0, 4, 1, &s.Dc, 0, 0, SRCCOPY);
    EXPECT_EQ(s.Pixels.Row(0)[1], 0u);
    EXPECT_EQ(s.Pixels.Row(0)[2], 1u);
    EXPECT_EQ(s.Pixels.Row(0)[4], 3u);
}

TEST(DeviceContextDrawing, StretchBltPicksNearestPixelsDeterministically) {
    TSurface src(3, 2);
    src.Pixels.Fill(0);
    src.Pixels.Set(1, 0, kRedPixel);
    src.Pixels.Set(2, 1, kBluePixel);
    TSurface up(6, 4);
    StretchBlt(&up.Dc, 0, 0, 6, 4, &src.Dc, 0, 0, 3, 2, SRCCOPY);
    EXPECT_TRUE(PixelsMatch(up.Pixels, {"##rr##", "##rr##", "####bb", "####bb"}, kLegend, "up"));
    // Five columns to two: destination i takes source (2i + 1) * 5 / 4, so columns 1 and 3.
    TSurface row(5, 1);
    for (int x = 0; x < 5; ++x) {
        row.Pixels.Set(x, 0, static_cast<std::uint32_t>(x));
    }
    TSurface down(2, 1);
    StretchBlt(&down.Dc, 0, 0, 2, 1, &row.Dc, 0, 0, 5, 1, SRCCOPY);
    EXPECT_EQ(down.Pixels.At(0, 0), 1u);
    EXPECT_EQ(down.Pixels.At(1, 0), 3u);
    // Opposite signs mirror.
    TSurface mirror(3, 1);
    StretchBlt(&mirror.Dc, 3, 0, -3, 1, &row.Dc, 0, 0, 3, 1, SRCCOPY);
    EXPECT_EQ(mirror.Pixels.At(0, 0), 2u);
    EXPECT_EQ(mirror.Pixels.At(2, 0), 0u);
}

TEST(DeviceContextDrawing, TransparentBltLeavesTheKeyColourOut) {
    TSurface src(3, 1);
    src.Pixels.Set(0, 0, 0xFF00FF);
    src.Pixels.Set(1, 0, 0);
    src.Pixels.Set(2, 0, 0xFF00FF);
    TSurface d(6, 1);
    d.Pixels.Fill(kRedPixel);
    TransparentBlt(&d.Dc, 0, 0, 6, 1, &src.Dc, 0, 0, 3, 1, 0xFF00FF);
    EXPECT_TRUE(PixelsMatch(d.Pixels, {"rr##rr"}, kLegend, "key"));
}

TEST(DeviceContextDrawing, FocusRectangleIsDottedAndGoesAwayWhenDrawnTwice) {
    TSurface s(6, 5);
    s.UseBrush(kRed);
    TRect all{0, 0, 6, 5};
    FillRect(&s.Dc, &all, s.Keep(CreateSolidBrush(0xFFFFFF)));
    TPixelBuffer before = s.Pixels;
    TRect focus{0, 0, 6, 5};
    DrawFocusRect(&s.Dc, &focus);
    EXPECT_TRUE(PixelsMatch(s.Pixels, {"#.#.#.", ".....#", "#.....", ".....#", "#.#.#."}, kLegend, "focus"));
    DrawFocusRect(&s.Dc, &focus);
    EXPECT_TRUE(SamePixels(s.Pixels, before, "focus-twice"));
}

TEST(DeviceContextDrawing, PixelsOutsideTheVisiblePartAreInvalid) {
    TSurface s(4, 4);
    EXPECT_EQ(SetPixel(&s.Dc, 1, 2, kRed), kRed);
    EXPECT_EQ(GetPixel(&s.Dc, 1, 2), kRed);
    EXPECT_EQ(s.Pixels.At(1, 2), kRedPixel);
    EXPECT_EQ(GetPixel(&s.Dc, 4, 0), CLR_INVALID);
    EXPECT_EQ(SetPixel(&s.Dc, -1, 0, kRed), CLR_INVALID);
    IntersectClipRect(&s.Dc, 0, 0, 1, 1);
    EXPECT_EQ(GetPixel(&s.Dc, 1, 2), CLR_INVALID);
    // A system colour is resolved before it becomes a pixel.
    EXPECT_EQ(SetPixel(&s.Dc, 0, 0, static_cast<COLORREF>(clBtnFace)),
              static_cast<COLORREF>(ColorToRGB(clBtnFace)));
}

TEST(DeviceContextDrawing, HugeCoordinatesDrawOnlyTheVisiblePart) {
    TSurface s(4, 4);
    MoveToEx(&s.Dc, -2000000000, 1, nullptr);
    LineTo(&s.Dc, 2000000000, 1);
    s.UsePen(PS_SOLID, 3, 0);
    MoveToEx(&s.Dc, -2000000000, -2000000000, nullptr);
    LineTo(&s.Dc, 2000000000, 2000000000);
    SelectObject(&s.Dc, GetStockObject(NULL_PEN));
    SelectObject(&s.Dc, GetStockObject(BLACK_BRUSH));
    Rectangle(&s.Dc, -2000000000, 3, 2000000000, 2000000000);
    const TPoint polygon[] = {{-2000000000, -2000000000}, {2000000000, 0}, {0, 2000000000}};
    Polygon(&s.Dc, polygon, 3);
    EXPECT_EQ(s.Pixels.At(0, 1), 0u);
    EXPECT_EQ(s.Pixels.At(3, 3), 0u);
}

TEST(DeviceContextDrawing, RegionsFillFrameAndInvert) {
    TSurface s(7, 5);
    HRGN ring = CreateRectRgn(0, 0, 7, 5);
    HRGN hole = CreateRectRgn(2, 2, 5, 3);
    CombineRgn(ring, ring, hole, RGN_DIFF);
    HBRUSH red = s.Keep(CreateSolidBrush(kRed));
    HBRUSH black = s.Keep(CreateSolidBrush(0));
    FillRgn(&s.Dc, ring, red);
    FrameRgn(&s.Dc, ring, black, 1, 1);
    // The frame follows every edge of the region, the hole's too; the hole stays unpainted.
    EXPECT_TRUE(
        PixelsMatch(s.Pixels, {"#######", "#r###r#", "##...##", "#r###r#", "#######"}, kLegend, "frame"));
    TRect middle{1, 1, 6, 4};
    InvertRect(&s.Dc, &middle);
    const std::uint32_t cyan = 0x00FFFF; // inverted red
    EXPECT_EQ(s.Pixels.At(1, 1), cyan);
    EXPECT_EQ(s.Pixels.At(3, 2), 0u) << "inverted white";
    InvertRect(&s.Dc, &middle);
    // PatBlt combines the selected brush: PATINVERT twice restores.
    TPixelBuffer before = s.Pixels;
    SelectObject(&s.Dc, red);
    PatBlt(&s.Dc, 0, 0, 7, 5, PATINVERT);
    EXPECT_EQ(s.Pixels.At(1, 1), 0u) << "red xor red";
    PatBlt(&s.Dc, 0, 0, 7, 5, PATINVERT);
    EXPECT_TRUE(SamePixels(s.Pixels, before, "patinvert-twice"));
    // PaintRgn uses the selected brush; a negative PatBlt width counts from the other side.
    PaintRgn(&s.Dc, hole);
    EXPECT_EQ(s.Pixels.At(3, 2), kRedPixel);
    PatBlt(&s.Dc, 7, 0, -2, 1, BLACKNESS);
    EXPECT_EQ(s.Pixels.At(5, 0), 0u);
    EXPECT_EQ(s.Pixels.At(4, 0), 0u);
    DeleteObject(ring);
    DeleteObject(hole);
}

TEST(DeviceContextDrawing, BrushOriginShiftsThePattern) {
    auto pattern = std::make_shared<TPixelBuffer>(2, 1, 0xFFFFFF);
    pattern->Set(0, 0, 0);
    HBITMAP bitmap = CreateBitmapOver(pattern);
    TSurface s(4, 1);
    HBRUSH brush = s.Keep(CreatePatternBrush(bitmap));
    TPoint previous{9, 9};
    SetBrushOrgEx(&s.Dc, 1, 0, &previous);
    EXPECT_EQ(previous, (TPoint{0, 0}));
    TRect r{0, 0, 4, 1};
    FillRect(&s.Dc, &r, brush);
    EXPECT_TRUE(PixelsMatch(s.Pixels, {".#.#"}, kLegend, "brush-origin"));
    DeleteObject(bitmap);
}
