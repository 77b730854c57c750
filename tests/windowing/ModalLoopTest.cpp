#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"

#include <gtest/gtest.h>

namespace {

class ModalLoop : public TToolkitFixture {
protected:
    TTestWindows windows;
};

TEST_F(ModalLoop, NestedLoopsDisableTheWindowsBehindThemAndEnableThemAgainInOrder) {
    HWND main = windows.Create(0, Bounds(0, 0, 300, 300), WS_POPUP | WS_VISIBLE);
    HWND first = windows.Create(main, Bounds(20, 20, 200, 200), WS_POPUP | WS_VISIBLE);
    HWND second = windows.Create(first, Bounds(40, 40, 100, 100), WS_POPUP | WS_VISIBLE);
    bool firstDone = false;
    bool secondDone = false;
    std::vector<std::string> steps;
    windows.On(first, [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER) {
            steps.push_back("second opens");
            EXPECT_EQ(RunModalLoop(second, [&] { return secondDone; }), 0);
            steps.push_back("second closed");
            return 0;
        }
        return std::nullopt;
    });

    WhenIdle([&] {
        EXPECT_FALSE(IsWindowEnabled(main));
        EXPECT_TRUE(IsWindowEnabled(first));
        PostMessage(first, WM_USER, 0, 0);
    });
    WhenIdle([&] {
        EXPECT_EQ(System().ModalDepth(), 2);
        EXPECT_FALSE(IsWindowEnabled(main));
        EXPECT_FALSE(IsWindowEnabled(first));
        EXPECT_TRUE(IsWindowEnabled(second));
        EXPECT_EQ(GetActiveWindow(), second);
        // The disabled windows refuse presses.
        InjectPress({5, 5});
        InjectRelease({5, 5});
    });
    WhenIdle([&] {
        EXPECT_EQ(Backend().BeepCount(), 1);
        secondDone = true;
    });
    WhenIdle([&] {
        EXPECT_EQ(System().ModalDepth(), 1);
        EXPECT_TRUE(IsWindowEnabled(first));
        EXPECT_FALSE(IsWindowEnabled(main));
        firstDone = true;
    });
    EXPECT_EQ(RunModalLoop(first, [&] { return firstDone; }), 0);
    EXPECT_EQ(Backend().PendingSteps(), 0u);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(System().ModalDepth(), 0);
    EXPECT_EQ(steps, (std::vector<std::string>{"second opens", "second closed"}));
    EXPECT_EQ(windows.Count(WM_LBUTTONDOWN, main), 0);
}

TEST_F(ModalLoop, EndsWhenItsWindowIsDestroyedAndHandsQuitToTheOuterLoop) {
    HWND main = windows.Create(0, Bounds(0, 0, 300, 300), WS_POPUP | WS_VISIBLE);
    HWND dialog = windows.Create(main, Bounds(20, 20, 100, 100), WS_POPUP | WS_VISIBLE);
    WhenIdle([&] { PostMessage(dialog, WM_CLOSE, 0, 0); });
    EXPECT_EQ(RunModalLoop(dialog, [] { return false; }), 1);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(GetActiveWindow(), main);

    HWND again = windows.Create(main, Bounds(20, 20, 100, 100), WS_POPUP | WS_VISIBLE);
    WhenIdle([] { PostQuitMessage(3); });
    EXPECT_EQ(RunModalLoop(again, [] { return false; }), 2);
    EXPECT_TRUE(IsWindowEnabled(main));
    EXPECT_EQ(RunMessageLoop(), 3);
}

TEST_F(ModalLoop, TheLoopGoesOnDeliveringTimersAndPaint) {
    HWND dialog = windows.Create(0, Bounds(20, 20, 100, 100), WS_POPUP | WS_VISIBLE);
    int ticks = 0;
    windows.On(dialog, [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER) {
            ++ticks;
        }
        return std::nullopt;
    });
    SetTimer(dialog, 1, 100, nullptr);
    WhenIdle([&] { Advance(350); });
    WhenIdle([] {});
    EXPECT_EQ(RunModalLoop(dialog, [&] { return ticks == 3; }), 0);
    EXPECT_EQ(Clock().NowMs(), 1300);
    EXPECT_GE(windows.Count(WM_PAINT, dialog), 1);
}

} // namespace
