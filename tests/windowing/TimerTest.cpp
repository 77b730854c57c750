#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class Timers : public TToolkitFixture {
protected:
    // (timer id, milliseconds since the start) of every WM_TIMER the window received.
    std::vector<std::pair<UINT_PTR, std::int64_t>> ticks;
    std::int64_t start = 0;
    TTestWindows windows;
    HWND window = 0;

    void SetUp() override {
        window = windows.Create(0, Bounds(0, 0, 10, 10), WS_POPUP);
        start = Clock().NowMs();
        windows.On(window, [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_TIMER) {
                ticks.emplace_back(wParam, Clock().NowMs() - start);
                if (onTick) {
                    onTick(hwnd, wParam);
                }
                return 0;
            }
            return std::nullopt;
        });
    }
    std::function<void(HWND, UINT_PTR)> onTick;
};

using Tick = std::pair<UINT_PTR, std::int64_t>;

TEST_F(Timers, DueTimersArriveInOrderOfDueTimeAndTiesInOrderOfSetting) {
    SetTimer(window, 1, 30, nullptr);
    SetTimer(window, 2, 20, nullptr);
    Advance(60);
    EXPECT_THAT(ticks, ElementsAre(Tick{2, 20}, Tick{1, 30}, Tick{2, 40}, Tick{1, 60}, Tick{2, 60}));
}

TEST_F(Timers, AHandlerCanKillItsOwnTimerAndSetAnother) {
    onTick = [&](HWND hwnd, UINT_PTR id) {
        if (id == 1 && ticks.size() == 3) {
            KillTimer(hwnd, 1);
            SetTimer(hwnd, 2, 25, nullptr);
        }
    };
    SetTimer(window, 1, 10, nullptr);
    Advance(100);
    EXPECT_THAT(ticks, ElementsAre(Tick{1, 10}, Tick{1, 20}, Tick{1, 30}, Tick{2, 55}, Tick{2, 80}));
}

TEST_F(Timers, SettingATimerAgainStartsItsIntervalAfresh) {
    SetTimer(window, 1, 50, nullptr);
    Advance(40);
    SetTimer(window, 1, 50, nullptr);
    Advance(40);
    EXPECT_TRUE(ticks.empty());
    Advance(10);
    EXPECT_THAT(ticks, ElementsAre(Tick{1, 90}));
}

TEST_F(Timers, AnIntervalOfZeroOrLessNeverFires) {
    EXPECT_NE(SetTimer(window, 1, 0, nullptr), 0u);
    EXPECT_NE(SetTimer(window, 2, -5, nullptr), 0u);
    Advance(10000);
    EXPECT_TRUE(ticks.empty());
    EXPECT_FALSE(System().NextDue().has_value());
    EXPECT_TRUE(KillTimer(window, 1));
    EXPECT_FALSE(KillTimer(window, 1));
}

TEST_F(Timers, ALateLoopGetsOneTickNotABacklog) {
    SetTimer(window, 1, 10, nullptr);
    Clock().SetNow(Clock().NowMs() + 100);
    Pump();
    EXPECT_EQ(ticks.size(), 1u);
    Advance(9);
    EXPECT_EQ(ticks.size(), 1u);
    Advance(1);
    EXPECT_EQ(ticks.size(), 2u);
}

std::vector<UINT_PTR>* g_fired = nullptr;
void OnThreadTimer(HWND hwnd, UINT message, UINT_PTR id, DWORD) {
    EXPECT_EQ(hwnd, 0u);
    EXPECT_EQ(message, WM_TIMER);
    g_fired->push_back(id);
}

TEST_F(Timers, TimersWithoutAWindowCallTheirProcedureUntilKilled) {
    std::vector<UINT_PTR> fired;
    g_fired = &fired;
    const UINT_PTR a = SetTimer(0, 0, 10, &OnThreadTimer);
    const UINT_PTR b = SetTimer(0, 0, 15, &OnThreadTimer);
    EXPECT_NE(a, b);
    Advance(30);
    EXPECT_THAT(fired, ElementsAre(a, b, a, a, b));
    KillTimer(0, a);
    KillTimer(0, b);
    Advance(100);
    EXPECT_EQ(fired.size(), 5u);
    g_fired = nullptr;
}

TEST_F(Timers, ADestroyedWindowsTimersGoWithIt) {
    SetTimer(window, 1, 10, nullptr);
    DestroyWindow(window);
    EXPECT_FALSE(System().NextDue().has_value());
    EXPECT_EQ(SetTimer(window, 1, 10, nullptr), 0u);
}

} // namespace
