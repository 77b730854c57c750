#include "tests/support/Artifacts.h"
#include "toolkit/graphics/Gdi.h"

#include <gtest/gtest.h>

namespace {

const TPixelLegend kLegend = {{'.', 0xFFFFFF}, {'#', 0x000000}, {'r', 0xFF0000}};

void Fill(HDC dc, int left, int top, int right, int bottom, int stock = BLACK_BRUSH) {
    TRect r{left, top, right, bottom};
    FillRect(dc, &r, gdi::Typed<HBRUSH>(GetStockObject(stock)));
}

} // namespace

TEST(DeviceContextState, ViewportAndWindowOriginsShiftDrawing) {
    TPixelBuffer pixels(6, 4, 0xFFFFFF);
    TDeviceContext dc(&pixels);
    TPoint previous{-1, -1};
    SetViewportOrgEx(&dc, 2, 1, &previous);
    EXPECT_EQ(previous, (TPoint{0, 0}));
    Fill(&dc, 0, 0, 1, 1);
    OffsetViewportOrgEx(&dc, 1, 0, &previous);
    EXPECT_EQ(previous, (TPoint{2, 1}));
    Fill(&dc, 0, 1, 1, 2);
    // The window origin moves logical coordinates the other way.
    SetWindowOrgEx(&dc, 3, 0, nullptr);
    Fill(&dc, 3, 0, 4, 1);
    TPoint origin;
    GetViewportOrgEx(&dc, &origin);
    EXPECT_EQ(origin, (TPoint{3, 1}));
    EXPECT_TRUE(PixelsMatch(pixels, {"......", "..##..", "...#..", "......"}, kLegend, "origins"));
}

TEST(DeviceContextState, DeviceOriginAndSystemClipBelongToTheCreator) {
    // A child window at (2, 1) of a top-level surface, visible only in (2, 1)-(5, 3).
    TPixelBuffer surface(7, 4, 0xFFFFFF);
    TDeviceContext dc(&surface);
    dc.SetDeviceOrigin({2, 1});
    dc.SetSystemClip(TRegion(TRect{2, 1, 5, 3}));
    SaveDC(&dc);
    SelectClipRgn(&dc, nullptr);
    SetViewportOrgEx(&dc, 0, 0, nullptr);
    RestoreDC(&dc, -1);
    Fill(&dc, -10, -10, 10, 10);
    EXPECT_TRUE(PixelsMatch(surface, {".......", "..###..", "..###..", "......."}, kLegend, "system-clip"));
    TRect box;
    EXPECT_EQ(GetClipBox(&dc, &box), SIMPLEREGION);
    EXPECT_EQ(box, (TRect{0, 0, 3, 2})) << "the clip box answers in logical coordinates";
}

TEST(DeviceContextState, ClipRectanglesAreTakenInLogicalCoordinatesWhenSet) {
    TPixelBuffer pixels(8, 3, 0xFFFFFF);
    TDeviceContext dc(&pixels);
    SetViewportOrgEx(&dc, 2, 0, nullptr);
    EXPECT_EQ(IntersectClipRect(&dc, 0, 0, 4, 3), SIMPLEREGION); // buffer columns 2..5
    SetViewportOrgEx(&dc, 0, 0, nullptr);                        // the clip stays where it was
    EXPECT_EQ(ExcludeClipRect(&dc, 3, 1, 4, 2), COMPLEXREGION);
    Fill(&dc, 0, 0, 8, 3);
    EXPECT_TRUE(PixelsMatch(pixels, {"..####..", "..#.##..", "..####.."}, kLegend, "clip"));
    TRect box;
    GetClipBox(&dc, &box);
    EXPECT_EQ(box, (TRect{2, 0, 6, 3}));
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(&dc, clip), 1);
    EXPECT_TRUE(PtInRegion(clip, 2, 0));
    EXPECT_FALSE(PtInRegion(clip, 3, 1));
    // Selecting no region removes the program's clip.
    SelectClipRgn(&dc, nullptr);
    EXPECT_EQ(GetClipRgn(&dc, clip), 0);
    Fill(&dc, 0, 0, 8, 3, WHITE_BRUSH);
    EXPECT_TRUE(AreaIs(pixels, pixels.Bounds(), 0xFFFFFF, "unclipped"));
    DeleteObject(clip);
}

TEST(DeviceContextState, SelectClipRgnCopiesTheRegionAndCombinesByMode) {
    TPixelBuffer pixels(6, 2, 0xFFFFFF);
    TDeviceContext dc(&pixels);
    HRGN left = CreateRectRgn(0, 0, 3, 2);
    HRGN middle = CreateRectRgn(2, 0, 4, 1);
    SelectClipRgn(&dc, left);
    OffsetRgn(left, 10, 0); // the context took a copy
    EXPECT_EQ(ExtSelectClipRgn(&dc, middle, RGN_XOR), COMPLEXREGION);
    Fill(&dc, 0, 0, 6, 2);
    EXPECT_TRUE(PixelsMatch(pixels, {"##.#..", "###..."}, kLegend, "modes"));
    EXPECT_EQ(ExtSelectClipRgn(&dc, nullptr, RGN_AND), ERROR);
    // Without a clip of its own, RGN_DIFF takes the region out of the whole surface.
    SelectClipRgn(&dc, nullptr);
    EXPECT_EQ(ExtSelectClipRgn(&dc, middle, RGN_DIFF), COMPLEXREGION);
    EXPECT_FALSE(PtVisible(&dc, 2, 0));
    EXPECT_TRUE(PtVisible(&dc, 5, 1));
    DeleteObject(left);
    DeleteObject(middle);
}

TEST(DeviceContextState, SaveAndRestoreBringBackOriginClipObjectsAndColours) {
    TPixelBuffer pixels(6, 2, 0xFFFFFF);
    TDeviceContext dc(&pixels);
    HPEN red = CreatePen(PS_SOLID, 1, 0x0000FF);
    EXPECT_EQ(SaveDC(&dc), 1);
    SetViewportOrgEx(&dc, 3, 0, nullptr);
    IntersectClipRect(&dc, 0, 0, 1, 1);
    HGDIOBJ oldPen = SelectObject(&dc, red);
    EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
    SetTextColor(&dc, 0x00FF00);
    SetBkMode(&dc, TRANSPARENT);
    EXPECT_EQ(SaveDC(&dc), 2);
    SetViewportOrgEx(&dc, 5, 1, nullptr);
    EXPECT_TRUE(RestoreDC(&dc, -1));
    TPoint origin;
    GetViewportOrgEx(&dc, &origin);
    EXPECT_EQ(origin, (TPoint{3, 0}));
    EXPECT_TRUE(RestoreDC(&dc, 1));
    GetViewportOrgEx(&dc, &origin);
    EXPECT_EQ(origin, (TPoint{0, 0}));
    EXPECT_EQ(GetCurrentObject(&dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetTextColor(&dc), 0u);
    EXPECT_EQ(GetBkMode(&dc), OPAQUE);
    EXPECT_FALSE(RestoreDC(&dc, 1)) << "that save was used up";
    EXPECT_FALSE(RestoreDC(&dc, -1));
    Fill(&dc, 0, 0, 6, 2);
    EXPECT_TRUE(AreaIs(pixels, pixels.Bounds(), 0x000000, "restored-clip"));
    EXPECT_TRUE(DeleteObject(red));
}

TEST(DeviceContextState, ParentBackgroundThroughShiftedAndClippedContext) {
    // A control at (3, 2) of size 4 × 3 asks its parent (client 6 × 4) to paint under it: the
    // parent fills its client area red and draws a black cross at (4, 3).
    TPixelBuffer control(4, 3, 0xFFFFFF);
    TDeviceContext dc(&control);
    int saved = SaveDC(&dc);
    OffsetViewportOrgEx(&dc, -3, -2, nullptr);
    IntersectClipRect(&dc, 0, 0, 6, 4);
    auto parentPaints = [](HDC parentDc) {
        TRect client{0, 0, 6, 4};
        HBRUSH red = CreateSolidBrush(0x0000FF);
        FillRect(parentDc, &client, red);
        DeleteObject(red);
        MoveToEx(parentDc, 4, 0, nullptr);
        LineTo(parentDc, 4, 10);
        MoveToEx(parentDc, 0, 3, nullptr);
        LineTo(parentDc, 10, 3);
    };
    parentPaints(&dc);
    RestoreDC(&dc, saved);
    EXPECT_TRUE(PixelsMatch(control, {"r#r.", "###.", "...."}, kLegend, "parent-background"));
}

TEST(DeviceContextState, MemoryContextDrawsIntoTheSelectedBitmapAndLeaksNothing) {
    TPixelBuffer screen(4, 2, 0xFFFFFF);
    TDeviceContext screenDc(&screen);
    for (int stock = 0; stock <= kStockDefaultBitmap; ++stock) {
        GetStockObject(stock); // stock objects are made once, on first use
    }
    std::size_t objectsBefore = gdi::ObjectCount();
    HDC memory = CreateCompatibleDC(&screenDc);
    HBITMAP bitmap = CreateCompatibleBitmap(&screenDc, 2, 2);
    HGDIOBJ old = SelectObject(memory, bitmap);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(GetDeviceCaps(memory, HORZRES), 2);
    Fill(memory, 0, 0, 2, 1, BLACK_BRUSH);
    Fill(memory, 0, 1, 2, 2, WHITE_BRUSH);
    BitBlt(&screenDc, 1, 0, 2, 2, memory, 0, 0, SRCCOPY);
    EXPECT_TRUE(PixelsMatch(screen, {".##.", "...."}, kLegend, "memory"));
    EXPECT_FALSE(DeleteObject(bitmap)) << "a bitmap selected into a context stays";
    BITMAP info;
    EXPECT_EQ(GetObject(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 2);
    EXPECT_EQ(info.bmHeight, 2);
    SelectObject(memory, old);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_FALSE(DeleteDC(&screenDc)) << "only memory contexts are deleted with DeleteDC";
    EXPECT_EQ(gdi::ObjectCount(), objectsBefore);
}

TEST(DeviceContextState, DeletedAndStockHandlesAreHandledSafely) {
    TPixelBuffer pixels(2, 2, 0xFFFFFF);
    TDeviceContext dc(&pixels);
    HBRUSH brush = CreateSolidBrush(0);
    SelectObject(&dc, brush);
    SelectObject(&dc, GetStockObject(NULL_PEN));
    EXPECT_TRUE(DeleteObject(brush));
    // The context keeps the brush's values; the dead handle selects nothing.
    Rectangle(&dc, 0, 0, 2, 2);
    EXPECT_EQ(pixels.At(0, 0), 0u);
    EXPECT_EQ(SelectObject(&dc, static_cast<HGDIOBJ>(brush)), nullptr);
    TRect r{0, 0, 2, 2};
    EXPECT_EQ(FillRect(&dc, &r, brush), 0);
    EXPECT_EQ(GetObjectType(brush), 0);
    HGDIOBJ stock = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(stock));
    EXPECT_EQ(GetObjectType(stock), OBJ_BRUSH) << "stock objects outlive DeleteObject";
    EXPECT_EQ(GetStockObject(12345), nullptr);
    EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
    LOGFONT font;
    EXPECT_EQ(GetObject(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font), static_cast<int>(sizeof font));
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -11);
    // Calls on no context fail quietly.
    EXPECT_FALSE(Rectangle(nullptr, 0, 0, 1, 1));
    EXPECT_EQ(SaveDC(nullptr), 0);
    EXPECT_EQ(GetPixel(nullptr, 0, 0), CLR_INVALID);
}
