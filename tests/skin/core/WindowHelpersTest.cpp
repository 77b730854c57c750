#include "skin/core/SUIPublic.h"
#include "tests/support/Artifacts.h"
#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kErase = 0x00FF00;
constexpr std::uint32_t kPaint = 0xFF0000;
constexpr std::uint32_t kUnder = 0x123456;
constexpr const char* kBare = "SkinBareWindow"; // no class background

class WindowHelpers : public TToolkitFixture {
protected:
    TTestWindows windows;

    WindowHelpers() {
        WNDCLASS wc;
        wc.lpfnWndProc = &TTestWindows::Proc;
        wc.lpszClassName = kBare;
        RegisterClass(&wc);
    }

    // A parent that erases its client area green and paints a red square at (50, 20) into the
    // context it is given, as a control paints into the context of WM_PAINT's first parameter.
    HWND PaintingParent() {
        HWND parent = windows.Create(0, Bounds(0, 0, 200, 100), WS_POPUP | WS_VISIBLE, 0, kBare);
        windows.On(parent, [](HWND h, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (message == WM_ERASEBKGND && dc) {
                TBrushData brush;
                brush.Pixel = kErase;
                RECT all;
                GetClientRect(h, &all);
                dc->FillRect(all, brush);
                return 1;
            }
            if (message == WM_PAINT && dc) {
                TBrushData brush;
                brush.Pixel = kPaint;
                dc->FillRect({50, 20, 60, 30}, brush);
                return 0;
            }
            return std::nullopt;
        });
        return parent;
    }
};

} // namespace

TEST_F(WindowHelpers, TheWorkAreaIsTheScreenLessItsPanels) {
    TRect area{1, 2, 3, 4};
    GetWorkAreaRect(area);
    EXPECT_EQ(area, (TRect{0, 0, 1280, 984}));
}

TEST_F(WindowHelpers, TheParentIsPaintedShiftedUnderTheChild) {
    HWND parent = PaintingParent();
    TBitmap under(40, 30);
    under.Pixels().Fill(kUnder);
    windows.ClearLog();
    DrawParentBackground(under.Canvas(), parent, {40, 10});
    EXPECT_EQ(windows.Messages(parent, {WM_ERASEBKGND, WM_PAINT}),
              (std::vector<UINT>{WM_ERASEBKGND, WM_PAINT}));
    const TPixelLegend legend{{'g', kErase}, {'r', kPaint}};
    std::vector<std::string> expected(30, std::string(40, 'g'));
    for (int y = 10; y < 20; ++y) {
        expected[y].replace(10, 10, 10, 'r');
    }
    EXPECT_TRUE(PixelsMatch(under.Pixels(), expected, legend, "under"));

    // The context is as it was: drawing at (0, 0) lands at (0, 0), unclipped.
    under.Canvas()->Brush()->SetColor(clBlue);
    under.Canvas()->FillRect({0, 0, 40, 30});
    EXPECT_TRUE(AreaIs(under.Pixels(), {0, 0, 40, 30}, 0x0000FF, "restored"));
}

TEST_F(WindowHelpers, NothingBeyondTheParentsClientAreaIsPainted) {
    HWND parent = PaintingParent();
    TBitmap under(40, 30);
    under.Pixels().Fill(kUnder);
    DrawParentBackground(under.Canvas(), parent, {180, 90});
    EXPECT_TRUE(AreaIs(under.Pixels(), {0, 0, 20, 10}, kErase, "inside"));
    EXPECT_TRUE(AreaIs(under.Pixels(), {20, 0, 40, 30}, kUnder, "right of the parent"));
    EXPECT_TRUE(AreaIs(under.Pixels(), {0, 10, 20, 30}, kUnder, "below the parent"));

    // No parent, nothing painted.
    TBitmap alone(5, 5);
    alone.Pixels().Fill(kUnder);
    DrawParentBackground(alone.Canvas(), 0, {0, 0});
    EXPECT_TRUE(AreaIs(alone.Pixels(), {0, 0, 5, 5}, kUnder, "no parent"));
}

TEST_F(WindowHelpers, TheBorderFramesTheWholeWindow) {
    HWND top = windows.Create(0, Bounds(0, 0, 100, 60), WS_POPUP | WS_VISIBLE, 0, kBare);
    HWND edit = windows.Create(top, Bounds(10, 10, 30, 20), WS_CHILD | WS_VISIBLE | WS_BORDER, 0, kBare);
    Pump();
    const TPixelBuffer before = Presented(top);
    DrawControlBorder(edit, clBtnShadow, RGB(0, 0, 255), true);
    const TPixelBuffer& after = Presented(top);
    const std::uint32_t outer = ColorToPixel(ColorToRGB(clBtnShadow));
    EXPECT_TRUE(AreaIs(after, {10, 10, 40, 11}, outer, "outer top"));
    EXPECT_TRUE(AreaIs(after, {10, 29, 40, 30}, outer, "outer bottom"));
    EXPECT_TRUE(AreaIs(after, {10, 10, 11, 30}, outer, "outer left"));
    EXPECT_TRUE(AreaIs(after, {39, 10, 40, 30}, outer, "outer right"));
    EXPECT_TRUE(AreaIs(after, {11, 11, 39, 12}, 0x0000FF, "inner top"));
    EXPECT_TRUE(AreaIs(after, {38, 11, 39, 29}, 0x0000FF, "inner right"));
    EXPECT_EQ(after.At(12, 12), before.At(12, 12)); // the inside is left alone
    EXPECT_EQ(after.At(9, 9), before.At(9, 9));

    DrawControlBorder(edit, clRed, clBlue, false);
    const TPixelBuffer& single = Presented(top);
    EXPECT_TRUE(AreaIs(single, {10, 10, 40, 11}, 0xFF0000, "red outer"));
    EXPECT_EQ(single.At(11, 11), 0x0000FFu);         // the earlier inner line stays: no inner drawn
    DrawControlBorder(HWND{0}, clRed, clBlue, true); // no window: nothing happens
}
