// Plain toolkit windows on the headless screen at a scale: the toolkit keeps its logical pixels,
// the screen shows blocks, and device input comes back as the logical pixel it fell in.

#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"
#include "toolkit/graphics/Gdi.h"

#include <cstdlib>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

constexpr std::uint32_t kRed = 0xC00000;
constexpr std::uint32_t kDesktop = THeadlessBackend::kDesktopPixel;

class ScaledToolkit : public TToolkitFixture, public ::testing::WithParamInterface<int> {
protected:
    ScaledToolkit() : TToolkitFixture(GetParam()) {}

    int N() const { return GetParam(); }
    // The first and the last device pixel of a logical pixel's block.
    TPoint First(TPoint logical) const { return {logical.X * N(), logical.Y * N()}; }
    TPoint Last(TPoint logical) const { return {logical.X * N() + N() - 1, logical.Y * N() + N() - 1}; }

    // A popup painted all red, answering the hit test through code.
    HWND RedWindow(const TRect& bounds, std::function<LRESULT(POINT client)> hitTest = nullptr) {
        HWND hwnd = windows.Create(0, bounds, WS_POPUP | WS_VISIBLE);
        windows.On(hwnd, [hitTest](HWND h, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_PAINT) {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(h, &ps);
                TBrushData brush;
                brush.Pixel = kRed;
                RECT r;
                GetClientRect(h, &r);
                dc->FillRect(r, brush);
                EndPaint(h, &ps);
                return 0;
            }
            if (message == WM_NCHITTEST && hitTest) {
                POINT p = LParamToPoint(lParam);
                ScreenToClient(h, &p);
                return hitTest(p);
            }
            return std::nullopt;
        });
        InvalidateRect(hwnd, nullptr, TRUE);
        Pump();
        return hwnd;
    }

    TRect WindowRect(HWND hwnd) {
        RECT r;
        GetWindowRect(hwnd, &r);
        return r;
    }

    TTestWindows windows;
};

TEST_P(ScaledToolkit, TheToolkitSeesTheSameScreenWhileTheDeviceScreenGrows) {
    EXPECT_EQ(Backend().Scale(), N());
    EXPECT_EQ(Backend().ScreenRect(), Rect(0, 0, 1280, 1024));
    EXPECT_EQ(Backend().WorkArea(), Rect(0, 0, 1280, 984));
    RECT work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(TRect(work), Rect(0, 0, 1280, 984));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    const TPixelBuffer screen = Backend().ScreenPixels();
    EXPECT_EQ(screen.Width(), 1280 * N());
    EXPECT_EQ(screen.Height(), 1024 * N());

    HWND hwnd = RedWindow(Bounds(100, 50, 40, 30));
    EXPECT_EQ(WindowRect(hwnd), Bounds(100, 50, 40, 30));
    const THeadlessBackend::TNativeWindow* native = Backend().Native(hwnd);
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(native->Bounds, Bounds(100, 50, 40, 30));
    EXPECT_EQ(native->DeviceBounds, Bounds(100 * N(), 50 * N(), 40 * N(), 30 * N()));
    const TPixelBuffer& shown = Presented(hwnd);
    EXPECT_EQ(shown.Width(), 40 * N());
    EXPECT_EQ(shown.Height(), 30 * N());
    EXPECT_EQ(shown.At(40 * N() - 1, 30 * N() - 1), kRed);

    SetWindowPos(hwnd, 0, 300, 200, 60, 20, SWP_NOZORDER);
    Pump();
    Presented(hwnd);
    EXPECT_EQ(native->DeviceBounds, Bounds(300 * N(), 200 * N(), 60 * N(), 20 * N()));
    EXPECT_EQ(native->Presented.Width(), 60 * N());
    const TPixelBuffer after = Backend().ScreenPixels();
    EXPECT_EQ(after.At(300 * N(), 200 * N()), kRed);
    EXPECT_EQ(after.At(360 * N() - 1, 220 * N() - 1), kRed);
    EXPECT_EQ(after.At(360 * N(), 220 * N() - 1), kDesktop);
    EXPECT_EQ(after.At(100 * N(), 50 * N()), kDesktop) << "nothing stays behind where it was";
}

TEST_P(ScaledToolkit, APressAnywhereInALogicalPixelsBlockReachesThatPixel) {
    HWND hwnd = RedWindow(Bounds(100, 50, 40, 30));
    const TPoint target{107, 55}; // client (7, 5)
    for (TPoint device : {First(target), Last(target)}) {
        windows.ClearLog();
        Click(device);
        const std::vector<TLoggedMessage> downs = windows.Find(WM_LBUTTONDOWN, hwnd);
        ASSERT_EQ(downs.size(), 1u);
        EXPECT_EQ(LParamToPoint(downs[0].lParam), (POINT{7, 5})) << device.X << "," << device.Y;
        EXPECT_EQ(System().LastMessagePos(), (POINT{107, 55})) << "message points are logical too";
    }
    // One device pixel before the block is the pixel before it; the window's first device pixel
    // is its first logical one, and the one before that is outside.
    windows.ClearLog();
    Click({First(target).X - 1, First(target).Y});
    ASSERT_EQ(windows.Count(WM_LBUTTONDOWN, hwnd), 1);
    EXPECT_EQ(LParamToPoint(windows.Find(WM_LBUTTONDOWN, hwnd)[0].lParam), (POINT{6, 5}));
    windows.ClearLog();
    Click(First({100, 50}));
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, hwnd), 1);
    windows.ClearLog();
    Click({100 * N() - 1, 50 * N()});
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, hwnd), 0);
    Backend().Wheel(Last(target), -WHEEL_DELTA);
    Pump();
    ASSERT_EQ(windows.Count(WM_MOUSEWHEEL, hwnd), 1);
    EXPECT_EQ(LParamToPoint(windows.Find(WM_MOUSEWHEEL, hwnd)[0].lParam), (POINT{107, 55}))
        << "the wheel's point is on the screen";
}

TEST_P(ScaledToolkit, AWindowRegionsCornersAreTransparent) {
    // Something beneath, to see through the corners.
    HWND below = RedWindow(Bounds(90, 90, 100, 100));
    HWND top = windows.Create(0, Bounds(100, 100, 61, 41), WS_POPUP | WS_VISIBLE);
    windows.On(top, [](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_PAINT) {
            return std::nullopt;
        }
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        TBrushData brush;
        brush.Pixel = 0x0000C0;
        dc->FillRect(Rect(0, 0, 61, 41), brush);
        EndPaint(h, &ps);
        return 0;
    });
    HRGN region = CreateRoundRectRgn(0, 0, 62, 42, 20, 20);
    const TRegion logical = *RegionFromHandle(region);
    ASSERT_NE(SetWindowRgn(top, region, TRUE), 0);
    Pump();

    const THeadlessBackend::TNativeWindow* native = Backend().Native(top);
    ASSERT_NE(native, nullptr);
    std::vector<TRect> scaled;
    for (const TRect& r : logical.Rects()) {
        scaled.push_back(Rect(r.Left * N(), r.Top * N(), r.Right * N(), r.Bottom * N()));
    }
    EXPECT_EQ(native->DeviceShape, scaled) << "the platform gets the region in device pixels";

    const TPixelBuffer& shown = Presented(top);
    const TPixelBuffer screen = Backend().ScreenPixels();
    const int w = 61 * N();
    const int h = 41 * N();
    for (TPoint corner : {TPoint{0, 0}, TPoint{w - 1, 0}, TPoint{0, h - 1}, TPoint{w - 1, h - 1}}) {
        EXPECT_EQ(shown.At(corner.X, corner.Y), kDesktop) << corner.X << "," << corner.Y;
        EXPECT_EQ(screen.At(100 * N() + corner.X, 100 * N() + corner.Y), kRed)
            << "the window beneath shows through the corner";
    }
    // Along the top edge the shape starts at whole blocks: the last logical pixel outside and the
    // first inside, each in every device pixel of its block.
    int firstInside = 0;
    while (!logical.Contains(firstInside, 0)) {
        ++firstInside;
    }
    ASSERT_GT(firstInside, 0);
    for (int k = 0; k < N(); ++k) {
        EXPECT_EQ(shown.At((firstInside - 1) * N() + k, k), kDesktop);
        EXPECT_EQ(screen.At(100 * N() + (firstInside - 1) * N() + k, 100 * N() + k), kRed);
        EXPECT_EQ(shown.At(firstInside * N() + k, k), 0x0000C0u);
        EXPECT_EQ(screen.At(100 * N() + firstInside * N() + k, 100 * N() + k), 0x0000C0u);
    }
    // The cut-away corner is not the window's for the pointer either.
    windows.ClearLog();
    Click(Last({100 + firstInside, 100}));
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, top), 1);
    Click(Last({100 + firstInside - 1, 100}));
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, top), 1);
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, below), 1);
}

TEST_P(ScaledToolkit, TheCursorChangesAtTheDevicePixelsOfTheEdge) {
    // The hot spot of the pointer is a device pixel: the cursor is the one of the logical pixel
    // holding it.
    RedWindow(Bounds(100, 100, 200, 100), [](POINT p) -> LRESULT { return p.X >= 195 ? HTRIGHT : HTCLIENT; });
    MoveTo(Last({294, 150}));
    EXPECT_EQ(Backend().Cursor(), TCursorShape::Arrow);
    MoveTo(First({295, 150}));
    EXPECT_EQ(Backend().Cursor(), TCursorShape::SizeWE);
    MoveTo(Last({299, 150}));
    EXPECT_EQ(Backend().Cursor(), TCursorShape::SizeWE);
    MoveTo(First({200, 150}));
    EXPECT_EQ(Backend().Cursor(), TCursorShape::Arrow);
}

TEST_P(ScaledToolkit, DraggingTheCaptionMovesTheWindowWithThePointer) {
    HWND hwnd = RedWindow(Bounds(100, 100, 300, 200), [](POINT p) -> LRESULT {
        if (p.X > 295 && p.Y > 195) {
            return HTBOTTOMRIGHT;
        }
        return p.Y < 20 ? HTCAPTION : HTCLIENT;
    });
    // The pointer goes 60 × 40 device pixels: the window follows by the same on the screen.
    const TPoint start = Last({150, 110});
    Backend().Press(start);
    Backend().MovePointer({start.X + 30, start.Y + 20});
    Backend().MovePointer({start.X + 60, start.Y + 40});
    Backend().Release({start.X + 60, start.Y + 40});
    Pump();
    // The window moves in whole logical pixels: by the pointer's delta when it is a whole number
    // of blocks, otherwise by the blocks the pointer crossed.
    const int dx = (start.X + 60) / N() - start.X / N();
    const int dy = (start.Y + 40) / N() - start.Y / N();
    const TRect moved = Bounds(100 + dx, 100 + dy, 300, 200);
    EXPECT_EQ(WindowRect(hwnd), moved);
    const TPoint deviceMoved = Backend().Native(hwnd)->DeviceBounds.TopLeft();
    EXPECT_EQ(deviceMoved, (TPoint{moved.Left * N(), moved.Top * N()}));
    EXPECT_LT(std::abs(deviceMoved.X - (100 * N() + 60)), N());
    EXPECT_LT(std::abs(deviceMoved.Y - (100 * N() + 40)), N());
    if (N() == 2) {
        EXPECT_EQ(deviceMoved, (TPoint{260, 240})) << "an even way is followed exactly";
    }

    // Sizing from the corner follows the pointer the same way.
    const TPoint corner = First({moved.Right - 2, moved.Bottom - 2});
    Backend().Press(corner);
    Backend().MovePointer({corner.X + 20 * N(), corner.Y + 10 * N()});
    Backend().Release({corner.X + 20 * N(), corner.Y + 10 * N()});
    Pump();
    EXPECT_EQ(WindowRect(hwnd), Bounds(moved.Left, moved.Top, 320, 210));
    EXPECT_EQ(Backend().Native(hwnd)->DeviceBounds.Width(), 320 * N());
    EXPECT_EQ(Presented(hwnd).Width(), 320 * N());
    EXPECT_THAT(MessageNames(windows.Messages(hwnd, {WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE})),
                ElementsAre("WM_ENTERSIZEMOVE", "WM_EXITSIZEMOVE", "WM_ENTERSIZEMOVE", "WM_EXITSIZEMOVE"));
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledToolkit, ::testing::Values(1, 2, 3),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "x" + std::to_string(info.param);
                         });

} // namespace
