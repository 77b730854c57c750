#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class MoveSizeLoop : public TToolkitFixture {
protected:
    TTestWindows windows;
    HWND window = 0;
    POINT minimum{125, 50};

    // A frameless window whose top 20 rows answer HTCAPTION and whose outer 5 pixels answer the
    // sizing codes, as a skinned form's do.
    void SetUp() override {
        window = windows.Create(0, Bounds(100, 100, 300, 200), WS_POPUP | WS_VISIBLE);
        windows.On(window, [this](HWND h, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_GETMINMAXINFO) {
                reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = minimum;
                return 0;
            }
            if (message != WM_NCHITTEST) {
                return std::nullopt;
            }
            POINT p = LParamToPoint(lParam);
            ScreenToClient(h, &p);
            RECT r;
            GetClientRect(h, &r);
            if (p.X > r.Right - 5 && p.Y > r.Bottom - 5) {
                return HTBOTTOMRIGHT;
            }
            if (p.X < 5) {
                return HTLEFT;
            }
            if (p.Y < 20) {
                return HTCAPTION;
            }
            return HTCLIENT;
        });
    }

    RECT WindowRect() {
        RECT r;
        GetWindowRect(window, &r);
        return r;
    }
};

TEST_F(MoveSizeLoop, DraggingTheCaptionMovesTheWindowUntilTheButtonIsReleased) {
    windows.ClearLog();
    Backend().Press({150, 110});
    Backend().MovePointer({160, 130});
    Backend().Press({160, 130}, TMouseButton::Right); // ignored while dragging
    Backend().MovePointer({200, 160});
    Backend().Release({200, 160});
    Backend().MovePointer({300, 300});
    Pump();
    EXPECT_EQ(WindowRect(), Bounds(150, 150, 300, 200));
    EXPECT_EQ(Backend().Native(window)->Bounds, Bounds(150, 150, 300, 200));
    EXPECT_EQ(GetCapture(), 0u);
    EXPECT_THAT(MessageNames(windows.Messages(window, {WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE})),
                ElementsAre("WM_ENTERSIZEMOVE", "WM_MOVING", "WM_MOVING", "WM_EXITSIZEMOVE"));
    EXPECT_EQ(windows.Count(WM_LBUTTONUP, window), 0) << "the loop takes the release";
    EXPECT_EQ(windows.Count(WM_RBUTTONDOWN, window), 0);
    EXPECT_EQ(windows.Count(WM_SIZE, window), 0);
}

TEST_F(MoveSizeLoop, EscapePutsTheWindowBackWhereItStarted) {
    Backend().Press({150, 110});
    Backend().MovePointer({400, 400});
    Backend().KeyDown(VK_ESCAPE);
    Pump();
    EXPECT_EQ(WindowRect(), Bounds(100, 100, 300, 200));
    EXPECT_FALSE(System().InMoveSizeLoop());
}

TEST_F(MoveSizeLoop, SizingMovesOnlyTheDraggedEdgesAndKeepsTheMinimumSize) {
    // The left edge dragged far to the right: the right edge stays, the width stops at 125.
    Backend().Press({102, 200});
    Backend().MovePointer({302, 200});
    Backend().MovePointer({602, 200});
    Backend().Release({602, 200});
    Pump();
    EXPECT_EQ(WindowRect(), Rect(275, 100, 400, 300));
    EXPECT_GE(windows.Count(WM_SIZING, window), 1);

    // The bottom-right corner, outwards and then inwards past the minimum.
    const RECT r = WindowRect();
    const POINT corner{r.Right - 2, r.Bottom - 2};
    Backend().Press(corner);
    Backend().MovePointer({corner.X + 40, corner.Y + 30});
    WhenIdle([&] {
        EXPECT_EQ(WindowRect(), Rect(275, 100, 440, 330));
        InjectMove({corner.X - 300, corner.Y - 300});
        InjectRelease({corner.X - 300, corner.Y - 300});
    });
    Pump();
    EXPECT_EQ(WindowRect(), Bounds(275, 100, 125, 50));
    const TLoggedMessage size = windows.Find(WM_SIZE, window).back();
    EXPECT_EQ(LParamToPoint(size.lParam), (POINT{125, 50}));
}

TEST_F(MoveSizeLoop, APressHandedOnFromTheClientAreaMovesTheWindowToo) {
    // What a title bar control does: it releases the capture and passes the press to its form.
    windows.On(window, [](HWND h, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_LBUTTONDOWN) {
            POINT p = LParamToPoint(lParam);
            ClientToScreen(h, &p);
            ReleaseCapture();
            SendMessage(h, WM_NCLBUTTONDOWN, HTCAPTION, PointToLParam(p));
        }
        return std::nullopt;
    });
    Backend().Press({150, 150});
    Backend().MovePointer({170, 140});
    Backend().Release({170, 140});
    Pump();
    EXPECT_EQ(WindowRect(), Bounds(120, 90, 300, 200));
}

TEST_F(MoveSizeLoop, AMaximizedWindowStaysPutAndTheLoopFollowsScriptedInput) {
    ShowWindow(window, SW_MAXIMIZE);
    const RECT maximized = WindowRect();
    Backend().Press({150, 10});
    Backend().MovePointer({300, 300});
    Backend().Release({300, 300});
    Pump();
    EXPECT_EQ(WindowRect(), maximized);

    // Input that arrives while the loop waits (scripted steps) is followed just the same.
    ShowWindow(window, SW_RESTORE);
    Backend().Press({150, 110});
    WhenIdle([&] { InjectMove({155, 115}); });
    WhenIdle([&] { InjectRelease({155, 115}); });
    Pump();
    EXPECT_EQ(WindowRect(), Bounds(105, 105, 300, 200));
}

} // namespace
