#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class Focus : public TToolkitFixture {
protected:
    TTestWindows windows;

    std::vector<std::string> Trace(const std::vector<UINT>& wanted,
                                   const std::map<HWND, std::string>& names) {
        std::vector<std::string> out;
        for (const TLoggedMessage& m : windows.Log()) {
            if (std::find(wanted.begin(), wanted.end(), m.Message) == wanted.end() ||
                !names.count(m.Window)) {
                continue;
            }
            std::string entry = names.at(m.Window) + ":" + MessageName(m.Message);
            if (m.Message == WM_ACTIVATE || m.Message == WM_NCACTIVATE || m.Message == WM_ACTIVATEAPP) {
                entry += "(" + std::to_string(LOWORD(m.wParam)) + ")";
            }
            out.push_back(entry);
        }
        return out;
    }
};

const std::vector<UINT> kActivation = {WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP, WM_SETFOCUS, WM_KILLFOCUS};

TEST_F(Focus, SwitchingWindowsDeactivatesTheOldBeforeActivatingTheNewThenMovesTheFocus) {
    HWND a = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    HWND edit = windows.Create(a, Bounds(0, 0, 50, 20), WS_CHILD | WS_VISIBLE);
    HWND b = windows.Create(0, Bounds(200, 0, 100, 100), WS_POPUP);
    SetFocus(edit);
    windows.ClearLog();
    ShowWindow(b, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), b);
    EXPECT_EQ(GetFocus(), b);
    EXPECT_THAT(Trace(kActivation, {{a, "a"}, {edit, "edit"}, {b, "b"}}),
                ElementsAre("a:WM_NCACTIVATE(0)", "a:WM_ACTIVATE(0)", "b:WM_NCACTIVATE(1)",
                            "b:WM_ACTIVATE(1)", "edit:WM_KILLFOCUS", "b:WM_SETFOCUS"));
    EXPECT_EQ(static_cast<HWND>(windows.Find(WM_KILLFOCUS, edit)[0].wParam), b);
    EXPECT_EQ(static_cast<HWND>(windows.Find(WM_SETFOCUS, b)[0].wParam), edit);

    // Focusing a child of the inactive window activates its window first.
    windows.ClearLog();
    SetFocus(edit);
    EXPECT_EQ(GetActiveWindow(), a);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_THAT(Trace({WM_ACTIVATE, WM_SETFOCUS}, {{a, "a"}, {edit, "edit"}, {b, "b"}}),
                ElementsAre("b:WM_ACTIVATE(0)", "a:WM_ACTIVATE(1)", "a:WM_SETFOCUS", "edit:WM_SETFOCUS"));
}

TEST_F(Focus, TheProgramAsAWholeGainsAndLosesActivationOnce) {
    HWND a = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP);
    HWND b = windows.Create(0, Bounds(200, 0, 100, 100), WS_POPUP);
    windows.ClearLog();
    ShowWindow(a, SW_SHOW);
    ShowWindow(b, SW_SHOW);
    EXPECT_EQ(windows.Count(WM_ACTIVATEAPP, a), 1);
    EXPECT_EQ(windows.Count(WM_ACTIVATEAPP, b), 1);
    windows.ClearLog();
    TRawInput lost;
    lost.Kind = TRawInputKind::Deactivate;
    System().PostRawInput(lost);
    Pump();
    EXPECT_EQ(GetActiveWindow(), 0u);
    EXPECT_EQ(GetFocus(), 0u);
    ASSERT_EQ(windows.Count(WM_ACTIVATEAPP, a), 1);
    EXPECT_EQ(windows.Find(WM_ACTIVATEAPP, a)[0].wParam, static_cast<WPARAM>(FALSE));
    Backend().PlatformActivate(a);
    Pump();
    EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(Focus, DisabledWindowsLoseAndRefuseTheFocus) {
    HWND top = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    HWND child = windows.Create(top, Bounds(0, 0, 50, 20), WS_CHILD | WS_VISIBLE);
    SetFocus(child);
    windows.ClearLog();
    EXPECT_FALSE(EnableWindow(child, FALSE));
    EXPECT_EQ(GetFocus(), 0u);
    EXPECT_THAT(MessageNames(windows.Messages(child, {WM_CANCELMODE, WM_KILLFOCUS, WM_ENABLE})),
                ElementsAre("WM_CANCELMODE", "WM_KILLFOCUS", "WM_ENABLE"));
    EXPECT_EQ(SetFocus(child), 0u);
    EXPECT_EQ(GetFocus(), 0u);
    EXPECT_TRUE(EnableWindow(child, TRUE)) << "it was disabled";
    SetFocus(child);
    EXPECT_EQ(GetFocus(), child);
}

TEST_F(Focus, KeysGoToTheFocusWindowOrAsSystemKeysToTheActiveWindow) {
    HWND top = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    HWND child = windows.Create(top, Bounds(0, 0, 50, 20), WS_CHILD | WS_VISIBLE);
    SetFocus(child);
    windows.ClearLog();
    PressKey(VK_DOWN);
    EXPECT_THAT(MessageNames(windows.Messages(child, {WM_KEYDOWN, WM_KEYUP})),
                ElementsAre("WM_KEYDOWN", "WM_KEYUP"));
    SetFocus(0);
    windows.ClearLog();
    PressKey(VK_DOWN);
    EXPECT_THAT(MessageNames(windows.Messages(top, {WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP})),
                ElementsAre("WM_SYSKEYDOWN", "WM_SYSKEYUP"));
}

TEST_F(Focus, HidingOrDestroyingTheActiveWindowActivatesItsOwner) {
    HWND main = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    HWND other = windows.Create(0, Bounds(300, 0, 100, 100), WS_POPUP | WS_VISIBLE);
    HWND dialog = windows.Create(main, Bounds(50, 50, 100, 100), WS_POPUP | WS_VISIBLE);
    ASSERT_EQ(GetActiveWindow(), dialog);
    ShowWindow(dialog, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), main) << "not the window above it, " << other;
    ShowWindow(dialog, SW_SHOW);
    DestroyWindow(dialog);
    EXPECT_EQ(GetActiveWindow(), main);
    DestroyWindow(main);
    EXPECT_EQ(GetActiveWindow(), other);
    DestroyWindow(other);
    EXPECT_EQ(GetActiveWindow(), 0u);
    EXPECT_EQ(GetFocus(), 0u);
}

} // namespace
