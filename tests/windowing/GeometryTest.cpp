#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class Geometry : public TToolkitFixture {
protected:
    TTestWindows windows;

    RECT WindowRect(HWND h) {
        RECT r;
        GetWindowRect(h, &r);
        return r;
    }
};

const std::vector<UINT> kPositionMessages = {WM_WINDOWPOSCHANGING, WM_NCCALCSIZE, WM_WINDOWPOSCHANGED,
                                             WM_MOVE, WM_SIZE};

TEST_F(Geometry, SetWindowPosAnnouncesTheChangeAndReportsWhatTheClientDid) {
    HWND top = windows.Create(0, Bounds(100, 100, 300, 300), WS_POPUP | WS_VISIBLE);
    HWND child = windows.Create(top, Bounds(10, 10, 50, 50), WS_CHILD | WS_VISIBLE);
    windows.ClearLog();
    SetWindowPos(child, 0, 20, 30, 60, 40, SWP_NOZORDER);
    EXPECT_THAT(
        MessageNames(windows.Messages(child, kPositionMessages)),
        ElementsAre("WM_WINDOWPOSCHANGING", "WM_NCCALCSIZE", "WM_WINDOWPOSCHANGED", "WM_MOVE", "WM_SIZE"));
    EXPECT_EQ(LParamToPoint(windows.Find(WM_MOVE, child)[0].lParam), (POINT{20, 30}));
    EXPECT_EQ(LParamToPoint(windows.Find(WM_SIZE, child)[0].lParam), (POINT{60, 40}));
    EXPECT_EQ(WindowRect(child), Bounds(120, 130, 60, 40));

    windows.ClearLog();
    MoveWindow(child, 0, 0, 60, 40, TRUE);
    EXPECT_THAT(MessageNames(windows.Messages(child, kPositionMessages)),
                ElementsAre("WM_WINDOWPOSCHANGING", "WM_WINDOWPOSCHANGED", "WM_MOVE"));

    // The window may change what it is given.
    windows.On(child, [](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_WINDOWPOSCHANGING) {
            reinterpret_cast<WINDOWPOS*>(lParam)->cx = 10;
        }
        return std::nullopt;
    });
    SetWindowPos(child, 0, 0, 0, 99, 99, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(WindowRect(child), Bounds(100, 100, 10, 99));
}

TEST_F(Geometry, BordersAndScrollBarsSurroundTheClientArea) {
    HWND top = windows.Create(0, Bounds(100, 100, 300, 300), WS_POPUP | WS_VISIBLE | WS_BORDER | WS_CAPTION);
    HWND child =
        windows.Create(top, Bounds(10, 20, 100, 100),
                       WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE);
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(client, Rect(0, 0, 300, 300)) << "top-level windows have no native frame";
    GetClientRect(child, &client);
    EXPECT_EQ(client, Rect(0, 0, 77, 77));
    POINT p{0, 0};
    ClientToScreen(child, &p);
    EXPECT_EQ(p, (POINT{113, 123}));
    POINT points[2] = {{0, 0}, {5, 5}};
    MapWindowPoints(child, top, points, 2);
    EXPECT_EQ(points[1], (POINT{18, 28}));
    EXPECT_EQ(SendMessage(child, WM_NCHITTEST, 0, MAKELPARAM(113 + 80, 123 + 5)), HTVSCROLL);
    EXPECT_EQ(SendMessage(child, WM_NCHITTEST, 0, MAKELPARAM(113 + 5, 123 + 80)), HTHSCROLL);
    EXPECT_EQ(SendMessage(child, WM_NCHITTEST, 0, MAKELPARAM(111, 121)), HTBORDER);
    EXPECT_EQ(SendMessage(child, WM_NCHITTEST, 0, MAKELPARAM(113, 123)), HTCLIENT);
}

TEST_F(Geometry, MaximizingFillsTheScreenOrTheWorkAreaAndRestoringGivesTheBoundsBack) {
    HWND frameless = windows.Create(0, Bounds(100, 100, 300, 200), WS_POPUP | WS_VISIBLE);
    windows.ClearLog();
    ShowWindow(frameless, SW_MAXIMIZE);
    EXPECT_TRUE(IsZoomed(frameless));
    EXPECT_EQ(WindowRect(frameless), Rect(0, 0, 1280, 1024));
    EXPECT_EQ(windows.Find(WM_SIZE, frameless).back().wParam, SIZE_MAXIMIZED);
    EXPECT_EQ(windows.Count(WM_GETMINMAXINFO, frameless), 1);
    ShowWindow(frameless, SW_RESTORE);
    EXPECT_EQ(WindowRect(frameless), Bounds(100, 100, 300, 200));
    EXPECT_EQ(windows.Find(WM_SIZE, frameless).back().wParam, SIZE_RESTORED);

    HWND captioned = windows.Create(0, Bounds(100, 100, 300, 200), WS_POPUP | WS_VISIBLE | WS_CAPTION);
    ShowWindow(captioned, SW_MAXIMIZE);
    RECT work;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work, Rect(0, 0, 1280, 984));
    EXPECT_EQ(WindowRect(captioned), work);

    // What WM_GETMINMAXINFO says wins.
    windows.On(frameless, [](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_GETMINMAXINFO) {
            auto* mmi = reinterpret_cast<MINMAXINFO*>(lParam);
            mmi->ptMaxPosition = {10, 20};
            mmi->ptMaxSize = {500, 400};
        }
        return std::nullopt;
    });
    ShowWindow(frameless, SW_MAXIMIZE);
    EXPECT_EQ(WindowRect(frameless), Bounds(10, 20, 500, 400));
}

TEST_F(Geometry, AMinimizedWindowIsOutOfReachUntilRestoredToItsFormerState) {
    HWND other = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP | WS_VISIBLE);
    HWND w = windows.Create(0, Bounds(100, 100, 300, 200), WS_POPUP | WS_VISIBLE);
    ShowWindow(w, SW_MAXIMIZE);
    windows.ClearLog();
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_EQ(windows.Find(WM_SIZE, w).back().wParam, SIZE_MINIMIZED);
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_TRUE(Backend().Native(w)->Minimized);
    EXPECT_EQ(WindowFromPoint({400, 400}), 0u);
    WINDOWPLACEMENT placement;
    GetWindowPlacement(w, &placement);
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWMINIMIZED));
    EXPECT_EQ(placement.rcNormalPosition, Bounds(100, 100, 300, 200));

    TRawInput restore;
    restore.Kind = TRawInputKind::Restore;
    restore.Window = w;
    System().PostRawInput(restore);
    Pump();
    EXPECT_TRUE(IsZoomed(w)) << "it was maximised before";
    EXPECT_FALSE(Backend().Native(w)->Minimized);
    EXPECT_EQ(GetActiveWindow(), w);
    ShowWindow(w, SW_RESTORE);
    EXPECT_EQ(WindowRect(w), Bounds(100, 100, 300, 200));
}

TEST_F(Geometry, ShowWindowTellsTheWindowAndActivatesOnlyWhenAsked) {
    HWND a = windows.Create(0, Bounds(0, 0, 50, 50), WS_POPUP | WS_VISIBLE);
    HWND b = windows.Create(0, Bounds(100, 0, 50, 50), WS_POPUP);
    windows.ClearLog();
    EXPECT_FALSE(ShowWindow(b, SW_SHOWNA));
    EXPECT_TRUE(IsWindowVisible(b));
    EXPECT_EQ(GetActiveWindow(), a);
    ASSERT_EQ(windows.Count(WM_SHOWWINDOW, b), 1);
    EXPECT_EQ(windows.Find(WM_SHOWWINDOW, b)[0].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_TRUE(Backend().Native(b)->Visible);
    EXPECT_TRUE(ShowWindow(b, SW_SHOW));
    EXPECT_EQ(GetActiveWindow(), b);
    EXPECT_TRUE(ShowWindow(b, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(b));
    EXPECT_FALSE(Backend().Native(b)->Visible);
    EXPECT_EQ(windows.Find(WM_SHOWWINDOW, b).back().wParam, static_cast<WPARAM>(FALSE));
    EXPECT_EQ(GetActiveWindow(), a);
}

TEST_F(Geometry, SystemCommandsMinimizeMaximizeRestoreAndClose) {
    HWND w = windows.Create(0, Bounds(100, 100, 300, 200), WS_POPUP | WS_VISIBLE);
    SendMessage(w, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(IsZoomed(w));
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(w));
    SendMessage(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(w));
    SendMessage(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    windows.ClearLog();
    KeyDown(VK_MENU);
    KeyDown(VK_F4);
    EXPECT_FALSE(IsWindow(w)) << "Alt+F4 closes, and closing destroys";
    EXPECT_THAT(MessageNames(windows.Messages(w, {WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY})),
                ElementsAre("WM_SYSCOMMAND", "WM_CLOSE", "WM_DESTROY"));
}

TEST_F(Geometry, SystemMetricsAndParametersDescribeTheHeadlessScreen) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
    NONCLIENTMETRICS metrics;
    ASSERT_EQ(metrics.cbSize, 340u);
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    EXPECT_STREQ(metrics.lfMenuFont.lfFaceName, "Tahoma");
    EXPECT_EQ(metrics.lfMenuFont.lfHeight, -11);
    EXPECT_EQ(metrics.lfCaptionFont.lfWeight, FW_BOLD);
    // A record of another size is refused and left as it was.
    NONCLIENTMETRICS other;
    other.cbSize = 344;
    other.iMenuHeight = 123;
    EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, other.cbSize, &other, 0));
    EXPECT_EQ(other.iMenuHeight, 123);
}

} // namespace
