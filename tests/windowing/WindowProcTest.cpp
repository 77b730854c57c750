#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class WindowProc : public TToolkitFixture {
protected:
    TTestWindows windows;
};

std::vector<std::string>* g_trace = nullptr;
WNDPROC g_previous = nullptr;

LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        g_trace->push_back("subclass");
    }
    LRESULT result = CallWindowProc(g_previous, hwnd, message, wParam, lParam);
    if (message == WM_USER) {
        g_trace->push_back("subclass after " + std::to_string(result));
    }
    return result;
}

TEST_F(WindowProc, AReplacedProcedureRunsFirstAndChainsToThePreviousOne) {
    HWND w = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP);
    std::vector<std::string> trace;
    g_trace = &trace;
    windows.On(w, [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER) {
            trace.push_back("original");
            return 42;
        }
        return std::nullopt;
    });
    g_previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    EXPECT_EQ(g_previous, &TTestWindows::Proc);
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 42);
    EXPECT_THAT(trace, ElementsAre("subclass", "original", "subclass after 42"));

    // Putting the old procedure back removes the subclass completely.
    trace.clear();
    SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_previous));
    SendMessage(w, WM_USER, 0, 0);
    EXPECT_THAT(trace, ElementsAre("original"));
    // A null procedure is refused: the window would go deaf.
    EXPECT_EQ(SetWindowLongPtr(w, GWLP_WNDPROC, 0), 0);
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 42);
    g_trace = nullptr;
}

TEST_F(WindowProc, AWindowThatDestroysItselfInAHandlerHearsNothingMore) {
    HWND w = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP | WS_VISIBLE);
    windows.On(w, [&](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER) {
            PostMessage(hwnd, WM_USER + 1, 0, 0);
            SetTimer(hwnd, 3, 10, nullptr);
            DestroyWindow(hwnd);
            return 0;
        }
        return std::nullopt;
    });
    PostMessage(w, WM_USER, 0, 0);
    Pump();
    windows.ClearLog();
    Advance(100);
    Click({10, 10});
    SendMessage(w, WM_USER + 2, 0, 0);
    EXPECT_TRUE(windows.Log().empty()) << MessageName(windows.Log().front().Message);
}

TEST_F(WindowProc, DestructionTellsParentsBeforeChildrenAndFreesChildrenFirst) {
    HWND owner = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP);
    HWND owned = windows.Create(owner, Bounds(0, 0, 50, 50), WS_POPUP);
    HWND first = windows.Create(owner, Bounds(0, 0, 10, 10), WS_CHILD);
    HWND grandchild = windows.Create(first, Bounds(0, 0, 5, 5), WS_CHILD);
    HWND second = windows.Create(owner, Bounds(20, 0, 10, 10), WS_CHILD);
    windows.ClearLog();
    DestroyWindow(owner);

    std::vector<std::pair<HWND, UINT>> order;
    for (const TLoggedMessage& m : windows.Log()) {
        if (m.Message == WM_DESTROY || m.Message == WM_NCDESTROY) {
            order.emplace_back(m.Window, m.Message);
        }
    }
    // The owned window goes first and completely; then WM_DESTROY top-down, WM_NCDESTROY bottom-up.
    ASSERT_EQ(order.size(), 10u);
    EXPECT_EQ(order[0], std::make_pair(owned, WM_DESTROY));
    EXPECT_EQ(order[1], std::make_pair(owned, WM_NCDESTROY));
    EXPECT_EQ(order[2], std::make_pair(owner, WM_DESTROY));
    EXPECT_EQ(order.back(), std::make_pair(owner, WM_NCDESTROY));
    auto index = [&](HWND h, UINT m) {
        return std::find(order.begin(), order.end(), std::make_pair(h, m)) - order.begin();
    };
    EXPECT_LT(index(first, WM_DESTROY), index(grandchild, WM_DESTROY));
    EXPECT_LT(index(grandchild, WM_NCDESTROY), index(first, WM_NCDESTROY));
    EXPECT_LT(index(second, WM_DESTROY), index(first, WM_NCDESTROY));
    for (HWND h : {owner, owned, first, grandchild, second}) {
        EXPECT_FALSE(IsWindow(h));
    }
}

TEST_F(WindowProc, CreationFailsCleanlyWhenTheProcedureRefuses) {
    windows.On(0, nullptr);
    static UINT refuse = 0;
    auto proc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == refuse) {
            return message == WM_CREATE ? -1 : 0;
        }
        return DefWindowProc(hwnd, message, wParam, lParam);
    };
    WNDCLASS wc;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = "Refusing";
    ASSERT_NE(RegisterClass(&wc), 0);
    EXPECT_EQ(RegisterClass(&wc), 0) << "a class name is registered once";
    for (UINT message : {WM_NCCREATE, WM_CREATE}) {
        refuse = message;
        HWND w = CreateWindowEx(0, "refusing", "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, 0, 0, nullptr);
        EXPECT_EQ(w, 0u);
        EXPECT_TRUE(System().TopLevelWindows().empty());
        EXPECT_TRUE(Backend().NativeWindows().empty());
    }
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, 0, 0, nullptr), 0u);
    EXPECT_EQ(CreateWindowEx(0, TTestWindows::kClass, "", WS_CHILD, 0, 0, 10, 10, 12345, 0, nullptr), 0u)
        << "a child needs a live parent";
}

TEST_F(WindowProc, StyleChangesAreAnnouncedAndCannotMakeAChildTopLevel) {
    HWND parent = windows.Create(0, Bounds(0, 0, 100, 100), WS_POPUP);
    HWND child = windows.Create(parent, Bounds(0, 0, 10, 10), WS_CHILD | WS_CAPTION);
    windows.ClearLog();
    const LONG old =
        SetWindowLong(child, GWL_STYLE, GetWindowLong(child, GWL_STYLE) & ~(WS_CAPTION | WS_CHILD));
    EXPECT_TRUE(old & WS_CAPTION);
    EXPECT_THAT(MessageNames(windows.Messages(child)), ElementsAre("WM_STYLECHANGING", "WM_STYLECHANGED"));
    EXPECT_EQ(GetWindowLong(child, GWL_STYLE) & (WS_CAPTION | WS_CHILD), static_cast<LONG>(WS_CHILD));
    EXPECT_EQ(GetParent(child), parent);
    SetWindowLongPtr(child, GWLP_USERDATA, 77);
    EXPECT_EQ(GetWindowLongPtr(child, GWLP_USERDATA), 77);
    EXPECT_TRUE(SetProp(child, "owner", &windows));
    EXPECT_EQ(GetProp(child, "owner"), &windows);
    EXPECT_EQ(RemoveProp(child, "owner"), &windows);
    EXPECT_EQ(GetProp(child, "owner"), nullptr);
}

TEST_F(WindowProc, TextGoesThroughTheProcedure) {
    HWND w = windows.Create(0, Bounds(0, 0, 10, 10), WS_POPUP, 0, TTestWindows::kClass, "Varnel V1.0");
    EXPECT_EQ(GetWindowTextString(w), "Varnel V1.0");
    char small[4];
    EXPECT_EQ(GetWindowText(w, small, sizeof small), 3);
    EXPECT_STREQ(small, "Var");
    SetWindowText(w, "About");
    EXPECT_EQ(windows.Count(WM_SETTEXT, w), 1);
    EXPECT_EQ(GetWindowTextString(w), "About");
    EXPECT_EQ(Backend().Native(w)->Params.Title, "About");
}

} // namespace
