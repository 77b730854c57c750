#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class Input : public TToolkitFixture {
protected:
    TTestWindows windows;

    // Answers WM_NCHITTEST with code wherever test(client point) holds.
    void HitTest(HWND hwnd, std::function<bool(POINT)> test, LRESULT code) {
        windows.On(hwnd, [test, code](HWND h, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_NCHITTEST) {
                POINT p = LParamToPoint(lParam);
                ScreenToClient(h, &p);
                if (test(p)) {
                    return code;
                }
            }
            return std::nullopt;
        });
    }
};

TEST_F(Input, TheDeepestWindowUnderThePointerGetsClientMessagesInItsOwnCoordinates) {
    HWND top = windows.Create(0, Bounds(100, 100, 200, 200), WS_POPUP | WS_VISIBLE);
    HWND child = windows.Create(top, Bounds(10, 10, 50, 50), WS_CHILD | WS_VISIBLE);
    windows.ClearLog();
    Click({120, 125});
    const auto downs = windows.Find(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].Window, child);
    EXPECT_EQ(LParamToPoint(downs[0].lParam), (POINT{10, 15}));
    EXPECT_EQ(downs[0].wParam & MK_LBUTTON, MK_LBUTTON);
    const auto ups = windows.Find(WM_LBUTTONUP);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].wParam & MK_LBUTTON, 0u);
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, top), 0);
}

TEST_F(Input, AWindowAnsweringHtTransparentPassesThePointerToTheWindowBeneath) {
    HWND top = windows.Create(0, Bounds(0, 0, 200, 200), WS_POPUP | WS_VISIBLE);
    HWND beneath = windows.Create(top, Bounds(0, 0, 100, 100), WS_CHILD | WS_VISIBLE);
    HWND glass = windows.Create(top, Bounds(50, 50, 100, 100), WS_CHILD | WS_VISIBLE);
    HitTest(
        glass, [](POINT) { return true; }, HTTRANSPARENT);
    windows.ClearLog();
    Click({60, 60});
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, beneath), 1);
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, glass), 0);
    EXPECT_EQ(windows.Count(WM_NCHITTEST, glass), 3) << "asked for the move, the press and the release";
    windows.ClearLog();
    Click({120, 120}); // nothing but the parent beneath the glass here
    ASSERT_EQ(windows.Count(WM_LBUTTONDOWN, top), 1);
    EXPECT_EQ(LParamToPoint(windows.Find(WM_LBUTTONDOWN, top)[0].lParam), (POINT{120, 120}));
}

TEST_F(Input, NonClientAnswersGiveNonClientMessagesInScreenCoordinates) {
    HWND top = windows.Create(0, Bounds(300, 200, 100, 100), WS_POPUP | WS_VISIBLE);
    HitTest(
        top, [](POINT p) { return p.Y < 20; }, HTSYSMENU);
    windows.ClearLog();
    Click({310, 205});
    const auto downs = windows.Find(WM_NCLBUTTONDOWN, top);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(HTSYSMENU));
    EXPECT_EQ(LParamToPoint(downs[0].lParam), (POINT{310, 205}));
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, top), 0);
}

TEST_F(Input, TheCaptureWindowGetsEveryPointerMessageUntilItLetsGo) {
    HWND top = windows.Create(0, Bounds(0, 0, 300, 100), WS_POPUP | WS_VISIBLE);
    HWND a = windows.Create(top, Bounds(0, 0, 100, 100), WS_CHILD | WS_VISIBLE);
    HWND b = windows.Create(top, Bounds(200, 0, 100, 100), WS_CHILD | WS_VISIBLE);
    windows.On(a, [](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_LBUTTONDOWN) {
            SetCapture(h);
        } else if (message == WM_LBUTTONUP) {
            ReleaseCapture();
        }
        return std::nullopt;
    });
    Press({50, 50});
    EXPECT_EQ(GetCapture(), a);
    EXPECT_TRUE(Backend().MouseCaptured());
    windows.ClearLog();
    MoveTo({250, 50});
    EXPECT_TRUE(windows.Messages(b).empty()) << MessageName(windows.Messages(b).front());
    ASSERT_EQ(windows.Count(WM_MOUSEMOVE, a), 1);
    EXPECT_EQ(LParamToPoint(windows.Find(WM_MOUSEMOVE, a)[0].lParam), (POINT{250, 50}));
    Release({250, 50});
    EXPECT_EQ(windows.Count(WM_LBUTTONUP, b), 0);
    // Once the capture ends, the window under the pointer hears of it at once.
    EXPECT_THAT(MessageNames(windows.Messages(b, {WM_SETCURSOR, WM_MOUSEMOVE})),
                ElementsAre("WM_SETCURSOR", "WM_MOUSEMOVE"));
    EXPECT_THAT(MessageNames(windows.Messages(a, {WM_LBUTTONUP, WM_CAPTURECHANGED})),
                ElementsAre("WM_LBUTTONUP", "WM_CAPTURECHANGED"));
    EXPECT_EQ(GetCapture(), 0u);
    // Taking the capture from a window tells it who took it.
    SetCapture(a);
    windows.ClearLog();
    SetCapture(b);
    ASSERT_EQ(windows.Count(WM_CAPTURECHANGED, a), 1);
    EXPECT_EQ(static_cast<HWND>(windows.Find(WM_CAPTURECHANGED, a)[0].lParam), b);
    DestroyWindow(b);
    EXPECT_EQ(GetCapture(), 0u);
}

TEST_F(Input, DoubleClicksNeedTheClassStyleAndTwoPressesCloseInTimeAndPlace) {
    HWND dbl =
        windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE, 0, TTestWindows::kDoubleClickClass);
    HWND plain = windows.Create(0, Bounds(200, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    const std::vector<UINT> presses = {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK};

    Click({10, 10});
    Advance(500);
    Click({12, 8});
    Click({12, 8});
    EXPECT_THAT(MessageNames(windows.Messages(dbl, presses)),
                ElementsAre("WM_LBUTTONDOWN", "WM_LBUTTONDBLCLK", "WM_LBUTTONDOWN"));
    windows.ClearLog();
    Advance(1000);
    Click({10, 10});
    Advance(501);
    Click({10, 10});
    Advance(100);
    Click({13, 10});
    EXPECT_THAT(MessageNames(windows.Messages(dbl, presses)),
                ElementsAre("WM_LBUTTONDOWN", "WM_LBUTTONDOWN", "WM_LBUTTONDOWN"))
        << "too slow, then too far";
    Click({210, 10});
    Click({210, 10});
    EXPECT_EQ(windows.Count(WM_LBUTTONDBLCLK, plain), 0);
}

TEST_F(Input, LeavingATrackedWindowPostsOneMouseLeave) {
    HWND top = windows.Create(0, Bounds(0, 0, 300, 100), WS_POPUP | WS_VISIBLE);
    HWND a = windows.Create(top, Bounds(0, 0, 100, 100), WS_CHILD | WS_VISIBLE);
    windows.On(a, [](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_MOUSEMOVE) {
            TRACKMOUSEEVENT tme;
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = h;
            TrackMouseEvent(&tme);
        }
        return std::nullopt;
    });
    MoveTo({10, 10});
    MoveTo({20, 10});
    EXPECT_EQ(windows.Count(WM_MOUSELEAVE, a), 0);
    MoveTo({150, 10});
    MoveTo({160, 10});
    EXPECT_EQ(windows.Count(WM_MOUSELEAVE, a), 1);
    TRACKMOUSEEVENT query;
    query.dwFlags = TME_QUERY;
    TrackMouseEvent(&query);
    EXPECT_EQ(query.hwndTrack, 0u);

    // Asking while the pointer is already elsewhere gets the leave at once; cancelling stops it.
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = a;
    TrackMouseEvent(&tme);
    Pump();
    EXPECT_EQ(windows.Count(WM_MOUSELEAVE, a), 2);
    MoveTo({10, 10});
    tme.dwFlags = TME_LEAVE | TME_CANCEL;
    windows.On(a, nullptr);
    TrackMouseEvent(&tme);
    MoveTo({150, 10});
    EXPECT_EQ(windows.Count(WM_MOUSELEAVE, a), 2);
    // Leaving every window of the program counts too.
    MoveTo({10, 10});
    tme.dwFlags = TME_LEAVE;
    TrackMouseEvent(&tme);
    Backend().PointerLeft();
    Pump();
    EXPECT_EQ(windows.Count(WM_MOUSELEAVE, a), 3);
}

TEST_F(Input, TheWheelGoesToTheFocusWindowAndClimbsToItsParents) {
    HWND top = windows.Create(0, Bounds(0, 0, 300, 100), WS_POPUP | WS_VISIBLE);
    HWND child = windows.Create(top, Bounds(0, 0, 100, 100), WS_CHILD | WS_VISIBLE);
    SetFocus(child);
    windows.ClearLog();
    Wheel({250, 50}, -WHEEL_DELTA);
    ASSERT_EQ(windows.Count(WM_MOUSEWHEEL, child), 1);
    const TLoggedMessage wheel = windows.Find(WM_MOUSEWHEEL, child)[0];
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel.wParam), -WHEEL_DELTA);
    EXPECT_EQ(LParamToPoint(wheel.lParam), (POINT{250, 50}));
    EXPECT_EQ(windows.Count(WM_MOUSEWHEEL, top), 1);
}

TEST_F(Input, PressesOnADisabledWindowAreRefusedWithABeep) {
    HWND top = windows.Create(0, Bounds(0, 0, 300, 100), WS_POPUP | WS_VISIBLE);
    HWND child = windows.Create(top, Bounds(0, 0, 100, 100), WS_CHILD | WS_VISIBLE | WS_DISABLED);
    windows.ClearLog();
    Click({50, 50});
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, child), 0);
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, top), 1) << "a disabled child is passed over for its parent";
    EXPECT_EQ(Backend().BeepCount(), 0);

    EnableWindow(top, FALSE);
    windows.ClearLog();
    Click({150, 50});
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN), 0);
    EXPECT_EQ(windows.Count(WM_LBUTTONUP), 0);
    EXPECT_EQ(Backend().BeepCount(), 1);
}

TEST_F(Input, TheCursorShapeFollowsTheHitTestAndTheClassCursor) {
    WNDCLASS wc;
    wc.lpfnWndProc = &TTestWindows::Proc;
    wc.hCursor = LoadCursor(nullptr, IDC_HAND);
    wc.lpszClassName = "HandWindow";
    RegisterClass(&wc);
    HWND top = windows.Create(0, Bounds(0, 0, 300, 100), WS_POPUP | WS_VISIBLE);
    HWND link = windows.Create(top, Bounds(200, 0, 50, 50), WS_CHILD | WS_VISIBLE, 0, "HandWindow");
    HitTest(
        top, [](POINT p) { return p.X < 5; }, HTLEFT);
    MoveTo({2, 50});
    EXPECT_EQ(Backend().Cursor(), TCursorShape::SizeWE);
    MoveTo({210, 10});
    EXPECT_EQ(Backend().Cursor(), TCursorShape::Hand);
    MoveTo({100, 50});
    EXPECT_EQ(Backend().Cursor(), TCursorShape::Arrow);
    (void)link;
}

TEST_F(Input, PressingAnInactiveWindowActivatesItBeforeThePressArrives) {
    HWND first = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    HWND second = windows.Create(0, Bounds(200, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    ASSERT_EQ(GetActiveWindow(), second);
    windows.ClearLog();
    Click({50, 50});
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_THAT(MessageNames(windows.Messages(first, {WM_MOUSEACTIVATE, WM_ACTIVATE, WM_LBUTTONDOWN})),
                ElementsAre("WM_MOUSEACTIVATE", "WM_ACTIVATE", "WM_LBUTTONDOWN"));
    EXPECT_EQ(LOWORD(windows.Find(WM_ACTIVATE, first)[0].wParam), WA_CLICKACTIVE);
    // A window may refuse activation and eat the press.
    windows.On(second, [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return message == WM_MOUSEACTIVATE ? std::optional<LRESULT>(MA_NOACTIVATEANDEAT) : std::nullopt;
    });
    windows.ClearLog();
    Click({250, 50});
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, second), 0);
    EXPECT_EQ(windows.Count(WM_LBUTTONUP, second), 1);
}

TEST_F(Input, RestingOnATrackedWindowPostsOneHoverAfterTheHoverTime) {
    HWND w = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    MoveTo({10, 10});
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_HOVER;
    tme.hwndTrack = w;
    tme.dwHoverTime = 300;
    ASSERT_TRUE(TrackMouseEvent(&tme));
    Advance(200);
    MoveTo({30, 30}); // moving on starts the wait again
    Advance(299);
    EXPECT_EQ(windows.Count(WM_MOUSEHOVER, w), 0);
    Advance(1);
    ASSERT_EQ(windows.Count(WM_MOUSEHOVER, w), 1);
    EXPECT_EQ(LParamToPoint(windows.Find(WM_MOUSEHOVER, w)[0].lParam), (POINT{30, 30}));
    Advance(1000);
    EXPECT_EQ(windows.Count(WM_MOUSEHOVER, w), 1);
}

} // namespace
