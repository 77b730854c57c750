#include "tests/support/Artifacts.h"
#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"
#include "toolkit/graphics/Gdi.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr const char* kBare = "BareWindow"; // no class background: erasing leaves pixels alone

class Painting : public TToolkitFixture {
protected:
    TTestWindows windows;

    Painting() {
        WNDCLASS wc;
        wc.lpfnWndProc = &TTestWindows::Proc;
        wc.lpszClassName = kBare;
        RegisterClass(&wc);
    }

    // The window fills whatever it is asked to paint with one colour.
    void PaintsWith(HWND hwnd, std::uint32_t pixel) {
        windows.On(hwnd, [pixel](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message != WM_PAINT) {
                return std::nullopt;
            }
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            TBrushData brush;
            brush.Pixel = pixel;
            RECT all;
            GetClientRect(h, &all);
            dc->FillRect(all, brush);
            EndPaint(h, &ps);
            return 0;
        });
    }
};

TEST_F(Painting, ParentsPaintBeforeTheirChildrenAndEraseArrivesInsideBeginPaint) {
    HWND top = windows.Create(0, Bounds(100, 100, 200, 200), WS_POPUP | WS_VISIBLE);
    HWND a = windows.Create(top, Bounds(10, 10, 50, 50), WS_CHILD | WS_VISIBLE);
    HWND b = windows.Create(top, Bounds(100, 10, 50, 50), WS_CHILD | WS_VISIBLE);
    HWND inner = windows.Create(a, Bounds(5, 5, 10, 10), WS_CHILD | WS_VISIBLE);
    windows.ClearLog();
    Pump();
    std::vector<HWND> painted;
    for (const TLoggedMessage& m : windows.Log()) {
        if (m.Message == WM_PAINT) {
            painted.push_back(m.Window);
        }
    }
    ASSERT_EQ(painted.size(), 4u);
    EXPECT_EQ(painted[0], top);
    auto at = [&](HWND h) { return std::find(painted.begin(), painted.end(), h) - painted.begin(); };
    EXPECT_LT(at(a), at(inner));
    EXPECT_LT(at(top), at(b));
    // Each WM_ERASEBKGND comes from its window's BeginPaint, with the paint DC in wParam.
    EXPECT_THAT(MessageNames(windows.Messages(top, {WM_PAINT, WM_ERASEBKGND})),
                ElementsAre("WM_PAINT", "WM_ERASEBKGND"));
    EXPECT_NE(windows.Find(WM_ERASEBKGND, inner).at(0).wParam, 0u);
    EXPECT_TRUE(AreaIs(Presented(top), Bounds(0, 0, 200, 200), kWhite, "erased white"));
}

TEST_F(Painting, ChildrenPaintOverTheirParentUnlessItClipsThem) {
    for (bool clip : {false, true}) {
        HWND top = windows.Create(0, Bounds(0, 0, 100, 100),
                                  WS_POPUP | WS_VISIBLE | (clip ? WS_CLIPCHILDREN : 0), 0, kBare);
        HWND child = windows.Create(top, Bounds(20, 20, 30, 30), WS_CHILD | WS_VISIBLE, 0, kBare);
        PaintsWith(top, kRed);
        Pump();
        const TPixelBuffer& pixels = Presented(top);
        EXPECT_EQ(pixels.At(5, 5), kRed);
        // The child paints nothing itself, so its pixels show whether the parent reached them.
        EXPECT_EQ(pixels.At(30, 30) == kRed, !clip) << (clip ? "clipped" : "not clipped");
        (void)child;
        DestroyWindow(top);
    }
}

TEST_F(Painting, AnInvalidatedPartIsAllThatIsPainted) {
    HWND top = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    Pump();
    PaintsWith(top, kGreen);
    RECT part = Bounds(10, 20, 30, 5);
    InvalidateRect(top, &part, FALSE);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(top, &update, FALSE));
    EXPECT_EQ(update, part);
    windows.ClearLog();
    Pump();
    EXPECT_EQ(windows.Count(WM_ERASEBKGND, top), 0) << "invalidated without erasing";
    const TPixelBuffer& pixels = Presented(top);
    EXPECT_TRUE(AreaIs(pixels, part, kGreen, "invalid part"));
    EXPECT_EQ(pixels.At(5, 5), kWhite);
    EXPECT_EQ(pixels.At(40, 20), kWhite);
    EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));
    // Only what changed reaches the screen.
    for (const TRect& r : Backend().Native(top)->LastChanged) {
        EXPECT_EQ(IntersectRects(r, part), r);
    }
}

TEST_F(Painting, ValidatingRemovesWhatNoLongerNeedsPaintingAndHiddenWindowsCollectNothing) {
    HWND top = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    Pump();
    RECT a = Bounds(0, 0, 10, 10);
    RECT b = Bounds(50, 50, 10, 10);
    InvalidateRect(top, &a, TRUE);
    InvalidateRect(top, &b, TRUE);
    ValidateRect(top, &a);
    RECT update;
    ASSERT_TRUE(GetUpdateRect(top, &update, FALSE));
    EXPECT_EQ(update, b);
    ValidateRect(top, nullptr);
    EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));

    HWND hidden = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP);
    InvalidateRect(hidden, nullptr, TRUE);
    EXPECT_FALSE(GetUpdateRect(hidden, &update, FALSE));
    windows.ClearLog();
    ShowWindow(hidden, SW_SHOWNA);
    Pump();
    EXPECT_EQ(windows.Count(WM_PAINT, hidden), 1) << "shown means painted whole";
}

TEST_F(Painting, UpdateWindowPaintsAtOnceAndAProcedureThatIgnoresPaintIsNotAskedForever) {
    HWND top = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    HWND child = windows.Create(top, Bounds(0, 0, 10, 10), WS_CHILD | WS_VISIBLE);
    windows.On(top, [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return message == WM_PAINT ? std::optional<LRESULT>(0) : std::nullopt;
    });
    windows.ClearLog();
    UpdateWindow(top);
    EXPECT_EQ(windows.Count(WM_PAINT, top), 1);
    EXPECT_EQ(windows.Count(WM_PAINT, child), 1);
    windows.ClearLog();
    Pump();
    EXPECT_EQ(windows.Count(WM_PAINT), 0);
}

TEST_F(Painting, SiblingsAboveClipAWindowThatAsksForIt) {
    HWND top = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE, 0, kBare);
    HWND below = windows.Create(top, Bounds(0, 0, 60, 60), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, kBare);
    HWND above = windows.Create(top, Bounds(40, 40, 60, 60), WS_CHILD | WS_VISIBLE, 0, kBare);
    PaintsWith(above, kBlue);
    Pump();
    HDC dc = GetDC(below);
    TBrushData red;
    red.Pixel = kRed;
    dc->FillRect(Bounds(0, 0, 60, 60), red);
    ReleaseDC(below, dc);
    const TPixelBuffer& pixels = Presented(top);
    EXPECT_EQ(pixels.At(10, 10), kRed);
    EXPECT_EQ(pixels.At(50, 50), kBlue) << "the sibling above keeps its pixels";
    // A window DC reaches the same pixels, and nothing reaches a hidden window's.
    ShowWindow(below, SW_HIDE);
    EXPECT_TRUE(System().VisibleRegion(below, true).IsEmpty());
}

TEST_F(Painting, AShapedWindowShowsTheDesktopOutsideItsRegionAndIsNotHitThere) {
    HWND top = windows.Create(0, Bounds(200, 100, 60, 40), WS_POPUP | WS_VISIBLE, 0, kBare);
    PaintsWith(top, kRed);
    HRGN region = CreateRoundRectRgn(0, 0, 61, 41, 20, 20);
    ASSERT_NE(SetWindowRgn(top, region, TRUE), 0);
    Pump();
    const TPixelBuffer& pixels = Presented(top);
    EXPECT_EQ(pixels.At(0, 0), THeadlessBackend::kDesktopPixel);
    EXPECT_EQ(pixels.At(59, 0), THeadlessBackend::kDesktopPixel);
    EXPECT_EQ(pixels.At(30, 20), kRed);
    EXPECT_EQ(pixels.At(30, 0), kRed);
    const TPixelBuffer screen = Backend().ScreenPixels();
    EXPECT_EQ(screen.At(200, 100), THeadlessBackend::kDesktopPixel);
    EXPECT_EQ(screen.At(230, 120), kRed);
    SaveArtifactPng("shaped", screen);
    EXPECT_EQ(WindowFromPoint({200, 100}), 0u);
    EXPECT_EQ(WindowFromPoint({230, 120}), top);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(top, copy), COMPLEXREGION);
    DeleteObject(copy);
    // The window deleted the handle it took over.
    EXPECT_EQ(RegionFromHandle(region), nullptr);
}

TEST_F(Painting, TheScreenDcDrawsIntoTheWindowsUnderIt) {
    HWND back = windows.Create(0, Bounds(100, 100, 100, 100), WS_POPUP | WS_VISIBLE, 0, kBare);
    HWND front = windows.Create(0, Bounds(150, 150, 100, 100), WS_POPUP | WS_VISIBLE, 0, kBare);
    PaintsWith(back, kWhite);
    PaintsWith(front, kWhite);
    Pump();
    HDC dc = GetWindowDC(GetDesktopWindow());
    TBrushData red;
    red.Pixel = kRed;
    dc->FillRect(Bounds(140, 140, 20, 20), red);
    ReleaseDC(GetDesktopWindow(), dc);
    EXPECT_EQ(Presented(back).At(45, 45), kRed);
    EXPECT_EQ(Presented(back).At(55, 55), kWhite) << "hidden under the front window";
    EXPECT_EQ(Presented(front).At(5, 5), kRed);
    EXPECT_EQ(Presented(front).At(15, 15), kWhite);
}

TEST_F(Painting, LongWorkThatPaintsAtOnceIsPresentedAtMostSixtyTimesASecond) {
    HWND top = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    Pump();
    Presented(top);
    const int before = Backend().Native(top)->PresentCount;
    // One handler busy for 100 ms, painting every 5 ms without going back to the loop.
    for (int i = 0; i < 20; ++i) {
        InvalidateRect(top, nullptr, TRUE);
        UpdateWindow(top);
        Clock().SetNow(Clock().NowMs() + 5);
    }
    const int during = Backend().Native(top)->PresentCount - before;
    EXPECT_GE(during, 3) << "long work is shown while it goes on";
    EXPECT_LE(during, 6) << "95 ms hold no more than six sixtieths of a second";
    Pump();
    Presented(top);
    EXPECT_EQ(Backend().Native(top)->PresentCount - before, during + 1) << "the rest when the loop goes idle";
}

} // namespace
