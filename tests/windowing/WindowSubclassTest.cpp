#include "toolkit/windowing/WindowSubclass.h"

#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"

#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class WindowSubclass : public TToolkitFixture {
protected:
    // A window whose own procedure answers WM_USER with 42 and logs it.
    HWND MakeWindow() {
        HWND w = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP);
        windows.On(w, [this](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_USER) {
                trace.push_back("window");
                return 42;
            }
            return std::nullopt;
        });
        return w;
    }
    // An object in front of the window that logs WM_USER with the answer it saw and adds 1.
    std::unique_ptr<TWindowSubclass> MakeSubclass(const std::string& name) {
        return std::make_unique<TWindowSubclass>(
            [this, name](UINT message, WPARAM, LPARAM, LRESULT previous) {
                if (message == WM_USER) {
                    trace.push_back(name + " after " + std::to_string(previous));
                    return previous + 1;
                }
                return previous;
            });
    }

    TTestWindows windows;
    std::vector<std::string> trace;
};

std::vector<std::string>* g_trace = nullptr;
WNDPROC g_below = nullptr;

LRESULT OnTopProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        g_trace->push_back("on top");
    }
    return CallWindowProc(g_below, hwnd, message, wParam, lParam);
}

TEST_F(WindowSubclass, TheSavedProcedureAnswersFirstThenTheObjectHasTheLastWord) {
    HWND w = MakeWindow();
    auto subclass = MakeSubclass("object");
    ASSERT_TRUE(subclass->Install(w));
    EXPECT_EQ(subclass->Window(), w);
    EXPECT_EQ(subclass->SavedProc(), &TTestWindows::Proc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC)), &SubclassTrampoline);
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 43);
    EXPECT_THAT(trace, ElementsAre("window", "object after 42"));

    // One object per window.
    auto second = MakeSubclass("second");
    EXPECT_FALSE(second->Install(w));
    EXPECT_FALSE(second->Install(0x7777));

    // Removing puts the window's own procedure back.
    subclass->Remove();
    EXPECT_FALSE(subclass->Installed());
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC)), &TTestWindows::Proc);
    trace.clear();
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 42);
    EXPECT_THAT(trace, ElementsAre("window"));
    EXPECT_TRUE(second->Install(w)) << "the window is free again";
}

TEST_F(WindowSubclass, AnObjectThatGoesUnderAnotherProcedureIsPassedByUntilTheWindowGoes) {
    HWND w = MakeWindow();
    auto subclass = MakeSubclass("object");
    ASSERT_TRUE(subclass->Install(w));
    g_trace = &trace;
    g_below =
        reinterpret_cast<WNDPROC>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OnTopProc)));
    subclass.reset();
    // The procedure on top still reaches the window's own one, and no longer the freed object.
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 42);
    EXPECT_THAT(trace, ElementsAre("on top", "window"));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC)), &OnTopProc);
    // The record goes with the window (the sanitizer build finds a leak otherwise).
    DestroyWindow(w);
    g_trace = nullptr;
}

TEST_F(WindowSubclass, AWindowDestroyedFirstLeavesTheObjectWithoutAWindow) {
    HWND w = MakeWindow();
    std::vector<UINT> seen;
    auto subclass = std::make_unique<TWindowSubclass>([&](UINT message, WPARAM, LPARAM, LRESULT previous) {
        seen.push_back(message);
        return previous;
    });
    ASSERT_TRUE(subclass->Install(w));
    DestroyWindow(w);
    EXPECT_FALSE(subclass->Installed());
    EXPECT_EQ(subclass->Window(), 0u);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), WM_NCDESTROY) << "the object hears the window go";
    subclass.reset(); // nothing left to put back
}

TEST_F(WindowSubclass, AnObjectFreedWhileAMessageIsInsideItIsNeverCalledAgain) {
    HWND w = MakeWindow();
    std::unique_ptr<TWindowSubclass> subclass;
    int calls = 0;
    // The window's own procedure frees the object in the middle of WM_USER: the object must not
    // be asked about that message.
    windows.On(w, [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER) {
            subclass.reset();
            return 7;
        }
        return std::nullopt;
    });
    subclass = std::make_unique<TWindowSubclass>([&](UINT, WPARAM, LPARAM, LRESULT previous) {
        ++calls;
        return previous;
    });
    ASSERT_TRUE(subclass->Install(w));
    calls = 0;
    EXPECT_EQ(SendMessage(w, WM_USER, 0, 0), 7);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtr(w, GWLP_WNDPROC)), &TTestWindows::Proc);

    // The object freeing itself from its own handler, and destroying the window in the same
    // message, leaves nothing behind either.
    std::unique_ptr<TWindowSubclass> self;
    self = std::make_unique<TWindowSubclass>([&](UINT message, WPARAM, LPARAM, LRESULT previous) {
        if (message == WM_USER + 1) {
            self.reset();
            DestroyWindow(w);
        }
        return previous;
    });
    ASSERT_TRUE(self->Install(w));
    SendMessage(w, WM_USER + 1, 0, 0);
    EXPECT_EQ(self, nullptr);
    EXPECT_FALSE(IsWindow(w));
}

} // namespace
