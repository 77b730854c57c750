#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class MessageQueue : public TToolkitFixture {
protected:
    TTestWindows windows;
};

// The classic order: posted messages, then input (even input that arrived earlier), then
// WM_PAINT, then due timers, whatever order they became ready in.
TEST_F(MessageQueue, HandsOutPostedThenInputThenPaintThenTimers) {
    HWND w = windows.Create(0, Bounds(100, 100, 200, 150), WS_POPUP | WS_VISIBLE);
    ASSERT_EQ(GetFocus(), w);
    SetTimer(w, 1, 10, nullptr);
    Clock().SetNow(Clock().NowMs() + 10);
    Backend().KeyDown('A');
    PostMessage(w, WM_USER, 0, 0);
    PostMessage(w, WM_USER + 1, 0, 0);

    std::vector<UINT> order;
    MSG msg;
    while (PeekMessage(&msg, 0, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        DispatchMessage(&msg);
    }
    EXPECT_THAT(MessageNames(order),
                ElementsAre("WM_USER+0", "WM_USER+1", "WM_KEYDOWN", "WM_PAINT", "WM_TIMER"));
}

TEST_F(MessageQueue, PeekWithoutRemovingLeavesTheMessageAndFiltersByRangeAndWindow) {
    HWND a = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP);
    HWND b = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP);
    PostMessage(a, WM_USER + 5, 1, 2);
    PostMessage(b, WM_USER + 9, 3, 4);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 5);
    ASSERT_TRUE(PeekMessage(&msg, b, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 9);
    ASSERT_TRUE(PeekMessage(&msg, 0, WM_USER + 6, WM_USER + 10, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 5);
    EXPECT_FALSE(PeekMessage(&msg, 0, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, QuitEndsTheLoopWithItsCodeAfterThePostedMessages) {
    HWND w = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP);
    PostMessage(w, WM_USER, 0, 0);
    PostQuitMessage(7);
    EXPECT_EQ(RunMessageLoop(), 7);
    EXPECT_EQ(windows.Count(WM_USER, w), 1);
}

TEST_F(MessageQueue, MessagesForADestroyedWindowAreDroppedAndItsHandleStaysDead) {
    HWND w = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP);
    PostMessage(w, WM_USER, 0, 0);
    SetTimer(w, 1, 5, nullptr);
    DestroyWindow(w);
    windows.ClearLog();
    Advance(50);
    EXPECT_EQ(SendMessage(w, WM_USER + 1, 0, 0), 0);
    EXPECT_FALSE(PostMessage(w, WM_USER + 2, 0, 0));
    EXPECT_TRUE(windows.Log().empty());
    HWND next = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP);
    EXPECT_NE(next, w);
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(MessageQueue, TheFilterSeesQueuedMessagesButNotSentOnesAndCanEatThem) {
    HWND w = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP);
    std::vector<UINT> seen;
    SetMessageFilter([&](MSG& msg) {
        seen.push_back(msg.message);
        return msg.message == WM_USER + 1;
    });
    PostMessage(w, WM_USER, 0, 0);
    PostMessage(w, WM_USER + 1, 0, 0);
    SendMessage(w, WM_USER + 2, 0, 0);
    Pump();
    EXPECT_THAT(seen, ElementsAre(WM_USER, WM_USER + 1));
    EXPECT_THAT(windows.Messages(w, {WM_USER, WM_USER + 1, WM_USER + 2}), ElementsAre(WM_USER + 2, WM_USER));
}

TEST_F(MessageQueue, TranslateMakesCharactersForKeysThatTypeNoText) {
    HWND w = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP | WS_VISIBLE);
    const std::vector<UINT> keys = {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR};

    Type("a\r");
    EXPECT_THAT(MessageNames(windows.Messages(w, keys)),
                ElementsAre("WM_KEYDOWN", "WM_CHAR", "WM_KEYUP", "WM_KEYDOWN", "WM_CHAR", "WM_KEYUP"));
    auto chars = windows.Find(WM_CHAR, w);
    ASSERT_EQ(chars.size(), 2u);
    EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>('a'));
    EXPECT_EQ(chars[1].wParam, 13u);

    windows.ClearLog();
    KeyDown(VK_CONTROL);
    PressKey('C');
    KeyUp(VK_CONTROL);
    chars = windows.Find(WM_CHAR, w);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].wParam, 3u);

    windows.ClearLog();
    KeyDown(VK_MENU);
    PressKey(VK_SPACE);
    KeyUp(VK_MENU);
    EXPECT_THAT(MessageNames(windows.Messages(w, keys)),
                ElementsAre("WM_SYSKEYDOWN", "WM_SYSKEYDOWN", "WM_SYSCHAR", "WM_SYSKEYUP", "WM_SYSKEYUP"));
    EXPECT_EQ(windows.Find(WM_SYSCHAR, w).at(0).wParam, static_cast<WPARAM>(' '));
}

TEST_F(MessageQueue, KeyStateFollowsTheKeysAsTheyAreRetrieved) {
    windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP | WS_VISIBLE);
    Backend().KeyDown(VK_SHIFT);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0) << "not down before the toolkit has seen the key";
    Pump();
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    KeyUp(VK_SHIFT);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

} // namespace
