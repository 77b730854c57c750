#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

// A child window at (10, 10) of 117 × 100 with a native vertical bar: client 100 × 100, the bar at
// screen x 110..127, y 10..110; arrows of 17 pixels; a track of 66.
class ScrollBars : public TToolkitFixture {
protected:
    TTestWindows windows;
    HWND top = 0;
    HWND view = 0;
    std::vector<std::pair<WORD, int>> notifications; // (code, position in the high word)
    std::vector<int> trackPositions;                 // SIF_TRACKPOS while SB_THUMBTRACK is handled

    void SetUp() override {
        top = windows.Create(0, Bounds(0, 0, 300, 300), WS_POPUP | WS_VISIBLE);
        view = windows.Create(top, Bounds(10, 10, 117, 100), WS_CHILD | WS_VISIBLE | WS_VSCROLL);
        SetRange(0, 99, 50, 0);
        windows.On(view, [this](HWND h, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (message != WM_VSCROLL) {
                return std::nullopt;
            }
            const WORD code = LOWORD(wParam);
            const int pos = static_cast<SHORT>(HIWORD(wParam));
            notifications.emplace_back(code, pos);
            SCROLLINFO si;
            si.fMask = SIF_ALL;
            GetScrollInfo(h, SB_VERT, &si);
            switch (code) {
            case SB_LINEDOWN:
                SetScrollPos(h, SB_VERT, si.nPos + 1, TRUE);
                break;
            case SB_PAGEDOWN:
                SetScrollPos(h, SB_VERT, si.nPos + static_cast<int>(si.nPage), TRUE);
                break;
            case SB_THUMBTRACK:
                trackPositions.push_back(si.nTrackPos);
                break;
            case SB_THUMBPOSITION:
                SetScrollPos(h, SB_VERT, pos, TRUE);
                break;
            default:
                break;
            }
            return 0;
        });
        Pump();
    }

    int SetRange(int low, int high, UINT page, int pos, UINT extra = 0) {
        SCROLLINFO si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | extra;
        si.nMin = low;
        si.nMax = high;
        si.nPage = page;
        si.nPos = pos;
        return SetScrollInfo(view, SB_VERT, &si, TRUE);
    }

    SCROLLBARINFO BarInfo() {
        SCROLLBARINFO info;
        EXPECT_TRUE(GetScrollBarInfo(view, OBJID_VSCROLL, &info));
        return info;
    }

    std::vector<WORD> Codes() const {
        std::vector<WORD> codes;
        for (const auto& [code, pos] : notifications) {
            codes.push_back(code);
        }
        return codes;
    }
};

TEST_F(ScrollBars, NumbersAreClampedAndTheBarComesAndGoesWithTheRange) {
    EXPECT_EQ(SetRange(0, 99, 10, 200), 90);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(view, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 99);
    EXPECT_EQ(si.nPage, 10u);
    EXPECT_EQ(si.nPos, 90);
    EXPECT_EQ(si.nTrackPos, 90);

    RECT client;
    SetRange(0, 99, 500, 0);
    EXPECT_FALSE(GetWindowLong(view, GWL_STYLE) & WS_VSCROLL) << "nothing to scroll: the bar goes";
    GetClientRect(view, &client);
    EXPECT_EQ(client.Width(), 117);
    si.fMask = SIF_PAGE;
    GetScrollInfo(view, SB_VERT, &si);
    EXPECT_EQ(si.nPage, 100u) << "a page is never larger than the range";
    EXPECT_EQ(BarInfo().rgstate[0], STATE_SYSTEM_INVISIBLE);

    SetRange(0, 99, 10, 0);
    EXPECT_TRUE(GetWindowLong(view, GWL_STYLE) & WS_VSCROLL);
    GetClientRect(view, &client);
    EXPECT_EQ(client.Width(), 100);

    SetRange(0, 99, 500, 0, SIF_DISABLENOSCROLL);
    EXPECT_TRUE(GetWindowLong(view, GWL_STYLE) & WS_VSCROLL) << "asked to stay, disabled";
    EXPECT_EQ(BarInfo().rgstate[0], STATE_SYSTEM_UNAVAILABLE);
}

TEST_F(ScrollBars, BarInfoReportsTheThumbAndTheStateOfEachPart) {
    SCROLLBARINFO info = BarInfo();
    EXPECT_EQ(info.rcScrollBar, Rect(110, 10, 127, 110));
    EXPECT_EQ(info.dxyLineButton, 17);
    EXPECT_EQ(info.xyThumbTop, 17);
    EXPECT_EQ(info.xyThumbBottom, 50);
    EXPECT_EQ(info.rgstate[0], 0u);
    EXPECT_EQ(info.rgstate[2], STATE_SYSTEM_INVISIBLE) << "no track above a thumb at the top";
    SetScrollPos(view, SB_VERT, 50, TRUE);
    info = BarInfo();
    EXPECT_EQ(info.xyThumbTop, 50);
    EXPECT_EQ(info.xyThumbBottom, 83);

    EnableWindow(view, FALSE);
    info = BarInfo();
    EXPECT_EQ(info.rgstate[0], STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(info.xyThumbTop, 0);
    EnableWindow(view, TRUE);
    EnableScrollBar(view, SB_VERT, ESB_DISABLE_UP);
    info = BarInfo();
    EXPECT_EQ(info.rgstate[0], 0u);
    EXPECT_EQ(info.rgstate[1], STATE_SYSTEM_UNAVAILABLE);
    ShowScrollBar(view, SB_VERT, FALSE);
    EXPECT_EQ(BarInfo().rgstate[0], STATE_SYSTEM_INVISIBLE);
    SCROLLBARINFO wrongSize;
    wrongSize.cbSize = 56;
    EXPECT_FALSE(GetScrollBarInfo(view, OBJID_VSCROLL, &wrongSize));
}

TEST_F(ScrollBars, PressingAnArrowScrollsOnceAndThenRepeatsWhileHeld) {
    WhenIdle([&] { Advance(500); });
    WhenIdle([&] { InjectRelease({118, 100}); });
    Press({118, 100});
    EXPECT_THAT(Codes(), ElementsAre(SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN,
                                     SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL));
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 8);
    EXPECT_EQ(GetCapture(), 0u);
    EXPECT_EQ(windows.Count(WM_TIMER, view), 0) << "the repeat timer is the loop's own";

    // A disabled arrow does nothing.
    notifications.clear();
    EnableScrollBar(view, SB_VERT, ESB_DISABLE_DOWN);
    Click({118, 100});
    EXPECT_TRUE(notifications.empty());
}

TEST_F(ScrollBars, PressingTheTrackPagesUntilTheThumbReachesThePointer) {
    SetRange(0, 99, 10, 0);
    WhenIdle([&] { Advance(1000); });
    WhenIdle([&] { InjectRelease({118, 90}); });
    Press({118, 90});
    std::vector<WORD> expected(9, SB_PAGEDOWN);
    expected.push_back(SB_ENDSCROLL);
    EXPECT_EQ(Codes(), expected);
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 90);
}

TEST_F(ScrollBars, DraggingTheThumbTracksThenSetsThePosition) {
    WhenIdle([&] { InjectMove({118, 46}); });
    WhenIdle([&] { InjectMove({118, 63}); });
    WhenIdle([&] { InjectMove({118, 200}); });
    WhenIdle([&] { InjectRelease({118, 200}); });
    Press({118, 30});
    using N = std::pair<WORD, int>;
    EXPECT_THAT(notifications, ElementsAre(N{SB_THUMBTRACK, 24}, N{SB_THUMBTRACK, 50},
                                           N{SB_THUMBPOSITION, 50}, N{SB_ENDSCROLL, 0}));
    EXPECT_THAT(trackPositions, ElementsAre(24, 50));
    EXPECT_EQ(GetScrollPos(view, SB_VERT), 50);
}

TEST_F(ScrollBars, TheBarIsDrawnInTheNonClientArea) {
    const TPixelBuffer& pixels = Presented(top);
    const std::uint32_t face = ColorToPixel(clBtnFace);
    EXPECT_EQ(pixels.At(118, 40), face) << "thumb";
    EXPECT_EQ(pixels.At(118, 80), ColorToPixel(clScrollBar)) << "track";
    EXPECT_EQ(pixels.At(112, 12), face) << "arrow button";
    EXPECT_EQ(pixels.At(50, 50), 0xFFFFFFu) << "client area";
}

} // namespace
