#include "PanelsTestSupport.h"
#include "skin/controls/SUIImageButton.h"
#include "skin/controls/SUIMemo.h"
#include "skin/controls/SUIScrollBar.h"
#include "toolkit/components/LayoutReader.h"
#include "toolkit/controls/Clipboard.h"
#include "toolkit/windowing/WinUser.h"

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// A memo that counts the scroll requests it gets.
class TCountingMemo : public TsuiMemo {
    VARNEL_CLASS(TCountingMemo, TsuiMemo)

public:
    explicit TCountingMemo(TComponent* owner) : TsuiMemo(owner) {}
    std::vector<WORD> vscrollCodes;

protected:
    void WMVScroll(TMessage& message) override {
        vscrollCodes.push_back(LOWORD(message.WParam));
        TsuiMemo::WMVScroll(message);
    }
};

// A window with a memo and its bars, made from a layout.
class TMemoWindow : public TForm {
    VARNEL_CLASS(TMemoWindow, TForm)

public:
    explicit TMemoWindow(TComponent* owner) : TForm(owner) {}
    TsuiMemo* suiMemo1 = nullptr;
    TsuiScrollBar* suiScrollBar1 = nullptr;
    TsuiScrollBar* suiScrollBar2 = nullptr;
};

VARNEL_CLASS_INFO(TCountingMemo)
VARNEL_CLASS_INFO(TMemoWindow, [](auto& c) {
    c.Field("suiMemo1", &TMemoWindow::suiMemo1);
    c.Field("suiScrollBar1", &TMemoWindow::suiScrollBar1);
    c.Field("suiScrollBar2", &TMemoWindow::suiScrollBar2);
})

namespace {

class SkinMemoTest : public TPanelsFixture {
protected:
    void SetUp() override {
        form = ShownForm(0x00C0C0C0);
        memo = new TCountingMemo(form);
        memo->SetParent(form);
        memo->SetBounds(10, 20, 200, 100);
        memo->SetWordWrap(false);
        vbar = NewBar();
        hbar = NewBar();
        Pump();
    }

    TsuiScrollBar* NewBar() {
        auto* bar = new TsuiScrollBar(form);
        bar->SetParent(form);
        return bar;
    }
    void LinkBoth() {
        memo->SetVScrollBar(vbar);
        memo->SetHScrollBar(hbar);
        Pump();
    }
    void AddLines(int count, const std::string& prefix = "line ") {
        for (int i = 0; i < count; ++i) {
            memo->Lines()->Add(prefix + std::to_string(i));
        }
        Pump();
    }
    SCROLLINFO Native(int bar) {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        ::GetScrollInfo(memo->Handle(), bar, &si);
        return si;
    }
    // The skinned bar shows what the native one holds.
    ::testing::AssertionResult InStep(const char* after) {
        for (auto [bar, which] : {std::pair{vbar, SB_VERT}, std::pair{hbar, SB_HORZ}}) {
            const SCROLLINFO si = Native(which);
            const int max = si.nMax - static_cast<int>(si.nPage) + 1;
            if (bar->Position() != si.nPos || bar->Max() != std::max(max, bar->Min())) {
                return ::testing::AssertionFailure()
                       << "after " << after << ": " << (which == SB_VERT ? "vertical" : "horizontal")
                       << " bar at " << bar->Position() << " of " << bar->Max() << ", native at " << si.nPos
                       << " of " << max;
            }
        }
        return ::testing::AssertionSuccess();
    }
    // The pixel the screen shows at a point of the memo's window (border included).
    std::uint32_t MemoWindowPixel(int x, int y) { return PixelAt(form, memo->Left() + x, memo->Top() + y); }

    TForm* form = nullptr;
    TCountingMemo* memo = nullptr;
    TsuiScrollBar* vbar = nullptr;
    TsuiScrollBar* hbar = nullptr;
};

// ---- Border -----------------------------------------------------------------------------------------

class SkinMemoLooks : public SkinMemoTest, public ::testing::WithParamInterface<TsuiUIStyle> {};

TEST_P(SkinMemoLooks, TheBorderIsARingOfTheLooksColourAroundARingOfTheMemosColourAlsoAfterScrolling) {
    const TsuiUIStyle style = GetParam();
    memo->SetUIStyle(style);
    const TColor border = GetBuiltInThemeColor(style, TsuiThemeElement::ControlBorderColor);
    EXPECT_EQ(memo->BorderColor(), border);
    EXPECT_EQ(memo->BorderWidth(), 2);
    EXPECT_EQ(memo->BorderStyle(), bsNone);
    auto expectRings = [&](const char* when) {
        const int w = memo->Width();
        const int h = memo->Height();
        for (auto [x, y] :
             {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {w / 2, 0}, {0, h / 2}}) {
            EXPECT_EQ(MemoWindowPixel(x, y), Px(border)) << when << " outer " << x << "," << y;
        }
        for (auto [x, y] : {std::pair{1, 1}, {w - 2, 1}, {1, h - 2}, {w / 2, 1}, {1, h / 2}}) {
            EXPECT_EQ(MemoWindowPixel(x, y), Px(ColorToRGB(memo->Color())))
                << when << " inner " << x << "," << y;
        }
    };
    Pump();
    expectRings("at first");
    memo->SetScrollBars(ssBoth);
    AddLines(100);
    ::SendMessage(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), 0);
    Pump();
    expectRings("after scrolling");
    // A colour set afterwards holds until the look is set again.
    memo->SetBorderColor(0x00123456);
    Pump();
    EXPECT_EQ(MemoWindowPixel(0, 0), Px(0x00123456));
}

INSTANTIATE_TEST_SUITE_P(AllLooks, SkinMemoLooks, ::testing::ValuesIn(kBuiltInUIStyles));

// ---- Links --------------------------------------------------------------------------------------------

TEST_F(SkinMemoTest, LinkedBarsLieOverTheNativeOnesInsideTheBorder) {
    LinkBoth();
    ASSERT_EQ(vbar->Width(), 16);
    ASSERT_EQ(hbar->Height(), 16);
    EXPECT_EQ(vbar->Orientation(), suiVertical);
    EXPECT_EQ(hbar->Orientation(), suiHorizontal);
    EXPECT_EQ(vbar->BoundsRect(), Bounds(192, 21, 16, 82));
    EXPECT_EQ(hbar->BoundsRect(), Bounds(11, 102, 182, 16));
    EXPECT_EQ(memo->ScrollBars(), ssBoth);
    // Where the native bars are thicker than the skinned ones, their edge and the corner box
    // between them take the colours around them.
    const int native = ::GetSystemMetrics(SM_CXVSCROLL);
    ASSERT_GT(native, 16);
    EXPECT_EQ(MemoWindowPixel(200 - 2 - native, 50), Px(ColorToRGB(memo->Color())));
    EXPECT_EQ(MemoWindowPixel(60, 100 - 2 - native), Px(ColorToRGB(memo->Color())));
    EXPECT_EQ(MemoWindowPixel(200 - 2 - native, 100 - 2 - native), Px(vbar->Color()));
    // Moving and sizing the memo takes them along.
    memo->SetBounds(30, 40, 250, 150);
    EXPECT_EQ(vbar->BoundsRect(), Bounds(30 + 250 - 16 - 2, 41, 16, 150 - 16 - 2));
    EXPECT_EQ(hbar->BoundsRect(), Bounds(31, 40 + 150 - 16 - 2, 250 - 16 - 2, 16));
    // Alone, each takes the whole side.
    memo->SetHScrollBar(nullptr);
    EXPECT_EQ(memo->ScrollBars(), ssVertical);
    EXPECT_EQ(vbar->Height(), 150 - 2);
}

TEST_F(SkinMemoTest, LinkingOnAMemoWithoutNativeBarsTurnsThemOnAndUnlinkingGivesTheBarBack) {
    ASSERT_EQ(memo->ScrollBars(), ssNone);
    memo->SetVScrollBar(vbar);
    EXPECT_EQ(memo->ScrollBars(), ssVertical);
    EXPECT_TRUE(vbar->OnChange());
    AddLines(50);
    EXPECT_GT(vbar->Max(), 0);
    memo->SetVScrollBar(nullptr);
    EXPECT_EQ(memo->ScrollBars(), ssNone);
    EXPECT_FALSE(vbar->OnChange());
    EXPECT_EQ(vbar->LineButton(), 0);
    EXPECT_EQ(vbar->Max(), 100);
    EXPECT_TRUE(vbar->Enabled());
    // The old bar no longer follows the text.
    ::SendMessage(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    EXPECT_EQ(memo->TopRow(), 0);
    EXPECT_NE(vbar->Position(), 0);
}

TEST_F(SkinMemoTest, EverythingThatScrollsTheTextKeepsTheBarsInStep) {
    LinkBoth();
    AddLines(200);
    EXPECT_GT(vbar->Max(), 150);
    EXPECT_TRUE(InStep("adding lines"));
    memo->SetFocus();
    memo->SetSelStart(0);
    Pump();
    EXPECT_TRUE(InStep("moving the caret"));
    PressKey(VK_NEXT);
    EXPECT_TRUE(InStep("page down"));
    Type(std::string(80, 'W'));
    EXPECT_GT(hbar->Position(), 0);
    EXPECT_TRUE(InStep("typing"));
    Wheel(At(memo, 50, 50), -WHEEL_DELTA);
    EXPECT_TRUE(InStep("the wheel"));
    ::SendMessage(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    ::SendMessage(memo->Handle(), WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_TRUE(InStep("scroll messages"));
    memo->SelectAll();
    memo->CutToClipboard();
    Pump();
    EXPECT_EQ(vbar->Max(), 0);
    EXPECT_TRUE(InStep("cutting"));
    memo->PasteFromClipboard();
    Pump();
    EXPECT_TRUE(InStep("pasting"));
    memo->Undo();
    Pump();
    EXPECT_TRUE(InStep("undoing"));
    memo->SetText("one\r\ntwo");
    EXPECT_TRUE(InStep("setting the text"));
    AddLines(100);
    // Selecting with the mouse below the memo scrolls the text and the bar with it.
    ::SendMessage(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    Advance(1000);
    PressOn(memo, 20, 20);
    MoveOver(memo, 20, memo->ClientHeight() + 20);
    Advance(300);
    EXPECT_GT(vbar->Position(), 0);
    EXPECT_TRUE(InStep("selecting past the edge"));
    ReleaseOn(memo, 20, memo->ClientHeight() + 20);
    memo->SetBounds(10, 20, 200, 60);
    EXPECT_TRUE(InStep("resizing"));
}

TEST_F(SkinMemoTest, DraggingTheSliderScrollsTheTextOneRequestPerChangeAndTheBarKeepsItsPlace) {
    LinkBoth();
    AddLines(300);
    ::SendMessage(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    memo->vscrollCodes.clear();
    TsuiTrackBar* track = vbar->Track();
    PressOn(track->Slider(), 5, 5);
    int changes = 0;
    int last = vbar->Position();
    for (int y = 10; y < 60; y += 3) {
        MoveOver(track, 5, y);
        if (vbar->Position() != last) {
            ++changes;
            last = vbar->Position();
        }
        EXPECT_EQ(memo->TopRow(), vbar->Position());
    }
    ReleaseOn(track, 5, 60);
    EXPECT_GT(changes, 3);
    EXPECT_EQ(memo->vscrollCodes, std::vector<WORD>(changes, SB_THUMBPOSITION));
    EXPECT_TRUE(InStep("dragging"));
}

TEST_F(SkinMemoTest, TheLineButtonsAndThePagingOfALinkedBarScrollTheText) {
    LinkBoth();
    AddLines(100);
    ::SendMessage(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    PressOn(vbar->SecondButton(), 5, 5);
    Advance(350);
    ReleaseOn(vbar->SecondButton(), 5, 5);
    EXPECT_EQ(memo->TopRow(), 3);
    EXPECT_TRUE(InStep("the line button"));
    PressOn(vbar->Track(), 5, vbar->Track()->Height() - 2);
    ReleaseOn(vbar->Track(), 5, vbar->Track()->Height() - 2);
    EXPECT_EQ(memo->TopRow(), 3 + vbar->PageSize());
    EXPECT_TRUE(InStep("paging"));
}

TEST_F(SkinMemoTest, AMillionRowsLeaveNoRowOutOfReach) {
    LinkBoth();
    memo->Lines()->BeginUpdate();
    char line[16];
    for (int i = 0; i < 1'000'000; ++i) {
        std::snprintf(line, sizeof line, "Pw%07d", i);
        memo->Lines()->Add(line);
    }
    memo->Lines()->EndUpdate();
    Pump();
    EXPECT_EQ(vbar->Max(), Native(SB_VERT).nMax - static_cast<int>(Native(SB_VERT).nPage) + 1);
    vbar->SetPosition(700'000);
    EXPECT_EQ(memo->TopRow(), 700'000);
    EXPECT_EQ(Native(SB_VERT).nPos, 700'000);
    EXPECT_EQ(::SendMessage(memo->Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 700'000);
    // Dragged there with the mouse: the row shown is the bar's, wherever the slider lands.
    TsuiTrackBar* track = vbar->Track();
    PressOn(track->Slider(), 5, 5);
    MoveOver(track, 5, track->Height() * 7 / 10);
    ReleaseOn(track, 5, track->Height() * 7 / 10);
    EXPECT_GT(vbar->Position(), 65'535);
    EXPECT_EQ(memo->TopRow(), vbar->Position());
    EXPECT_TRUE(InStep("the jump"));
}

TEST_F(SkinMemoTest, DisablingTheMemoDisablesItsBarsAndHidesTheirSliders) {
    LinkBoth();
    AddLines(100);
    EXPECT_TRUE(vbar->Enabled());
    EXPECT_TRUE(vbar->SliderVisible());
    SCROLLBARINFO info;
    info.cbSize = sizeof info;
    ::GetScrollBarInfo(memo->Handle(), OBJID_VSCROLL, &info);
    EXPECT_EQ(vbar->LineButton(), std::max(18, static_cast<int>(info.xyThumbBottom - info.xyThumbTop)));
    memo->SetEnabled(false);
    EXPECT_FALSE(vbar->Enabled());
    EXPECT_FALSE(vbar->SliderVisible());
    EXPECT_EQ(vbar->LineButton(), 0);
    EXPECT_FALSE(hbar->Enabled());
    memo->SetEnabled(true);
    EXPECT_TRUE(vbar->Enabled());
    EXPECT_TRUE(vbar->SliderVisible());
    EXPECT_EQ(vbar->LineButton(), std::max(18, static_cast<int>(info.xyThumbBottom - info.xyThumbTop)));
}

TEST_F(SkinMemoTest, ANativeBarThatIsGoneDisablesItsSkinnedBarButItsRangeIsStillCopied) {
    LinkBoth();
    memo->SetText(std::string(300, 'W'));
    Pump();
    ASSERT_GT(hbar->Max(), 0);
    memo->SetScrollBars(ssVertical); // the native horizontal bar goes away
    memo->SyncScrollBars();
    EXPECT_FALSE(hbar->Enabled());
    EXPECT_FALSE(hbar->SliderVisible());
    EXPECT_EQ(hbar->LineButton(), 0);
    EXPECT_GT(hbar->Max(), 0);
}

TEST_F(SkinMemoTest, TheHorizontalLineStepIsThreePagesHeldWithinItsRange) {
    LinkBoth();
    vbar->SetSmallChange(5);
    memo->SetText(std::string(4000, 'W'));
    Pump();
    EXPECT_EQ(hbar->SmallChange(), 3 * hbar->PageSize());
    EXPECT_EQ(vbar->SmallChange(), 5);
    ASSERT_GT(hbar->Max(), 20000);
    hbar->SetPageSize(20000);
    ::SendMessage(memo->Handle(), WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(hbar->SmallChange(), 32767);
    // The right line button still scrolls right.
    ::SendMessage(memo->Handle(), WM_HSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    PressOn(hbar->SecondButton(), 5, 5);
    Advance(150);
    ReleaseOn(hbar->SecondButton(), 5, 5);
    EXPECT_GT(memo->ScrollX(), 0);
}

TEST_F(SkinMemoTest, AMemoFreedBeforeItsBarsLeavesThemUnlinkedAndWorking) {
    LinkBoth();
    AddLines(100);
    delete memo;
    memo = nullptr;
    EXPECT_FALSE(vbar->OnChange());
    EXPECT_FALSE(hbar->OnChange());
    EXPECT_TRUE(vbar->Enabled());
    // Moving them reaches no freed memo.
    vbar->SetPosition(5);
    PressOn(vbar->SecondButton(), 5, 5);
    Advance(250);
    ReleaseOn(vbar->SecondButton(), 5, 5);
    EXPECT_EQ(vbar->Position(), 7);
}

TEST_F(SkinMemoTest, ABarFreedBeforeTheMemoIsUnlinked) {
    LinkBoth();
    delete vbar;
    vbar = nullptr;
    EXPECT_EQ(memo->VScrollBar(), nullptr);
    EXPECT_EQ(memo->ScrollBars(), ssHorizontal);
    AddLines(100);
    memo->SetBounds(10, 20, 220, 120);
    EXPECT_EQ(hbar->Width(), 220 - 2);
}

TEST_F(SkinMemoTest, HidingShowingAndMovingTheMemoToAnotherParentTakesTheBarsAlong) {
    LinkBoth();
    memo->Hide();
    EXPECT_FALSE(vbar->Visible());
    EXPECT_FALSE(hbar->Visible());
    memo->Show();
    EXPECT_TRUE(vbar->Visible());
    EXPECT_TRUE(hbar->Visible());
    auto* panel = new TsuiImagePanel(form);
    panel->SetParent(form);
    panel->SetBounds(250, 10, 230, 150);
    memo->SetParent(panel);
    EXPECT_EQ(vbar->Parent(), panel);
    EXPECT_EQ(hbar->Parent(), panel);
    EXPECT_EQ(vbar->BoundsRect(), Bounds(192, 21, 16, 82));
    // A memo too small for a bar hides it.
    memo->SetBounds(10, 20, 10, 100);
    EXPECT_FALSE(vbar->Visible());
}

TEST_F(SkinMemoTest, TheLookAndThemeFileReachTheLinkedBars) {
    LinkBoth();
    memo->SetUIStyle(WinXP);
    EXPECT_EQ(vbar->UIStyle(), WinXP);
    EXPECT_EQ(hbar->UIStyle(), WinXP);
    auto* theme = new TsuiFileTheme(form);
    memo->SetFileTheme(theme);
    memo->SetUIStyle(FromThemeFile); // no file loaded: DeepBlue
    EXPECT_EQ(vbar->FileTheme(), theme);
    EXPECT_EQ(vbar->UIStyle(), DeepBlue);
    EXPECT_EQ(memo->BorderColor(), TColor{0x000000});
    delete theme;
    EXPECT_EQ(memo->FileTheme(), nullptr);
    EXPECT_EQ(memo->UIStyle(), DeepBlue);
}

TEST_F(SkinMemoTest, LinksFromALayoutTakeEffectOnceItIsLoaded) {
    auto* window = new TMemoWindow(Application);
    window->SetBounds(100, 100, 400, 300);
    window->SetBorderStyle(bsNone);
    const char* layout = "object MemoWindow: TMemoWindow\n"
                         "  object suiMemo1: TsuiMemo\n"
                         "    Left = 10\n"
                         "    Top = 20\n"
                         "    Width = 200\n"
                         "    Height = 100\n"
                         "    UIStyle = WinXP\n"
                         "    VScrollBar = suiScrollBar1\n"
                         "    HScrollBar = suiScrollBar2\n"
                         "    Lines.Strings = (\n"
                         "      'a'\n"
                         "      'b')\n"
                         "  end\n"
                         "  object suiScrollBar1: TsuiScrollBar\n"
                         "    Left = 0\n"
                         "    Top = 0\n"
                         "    Width = 16\n"
                         "    Height = 50\n"
                         "    Orientation = suiVertical\n"
                         "    UIStyle = WinXP\n"
                         "  end\n"
                         "  object suiScrollBar2: TsuiScrollBar\n"
                         "    Left = 0\n"
                         "    Top = 0\n"
                         "    Width = 50\n"
                         "    Height = 16\n"
                         "    UIStyle = WinXP\n"
                         "  end\n"
                         "end\n";
    TLayoutError error;
    ASSERT_TRUE(ReadLayoutText(window, layout, "Memo.lfm", &error)) << error.Text();
    TsuiMemo* loaded = window->suiMemo1;
    EXPECT_EQ(loaded->VScrollBar(), window->suiScrollBar1);
    EXPECT_EQ(loaded->ScrollBars(), ssBoth);
    EXPECT_EQ(window->suiScrollBar1->BoundsRect(), Bounds(192, 21, 16, 82));
    EXPECT_TRUE(window->suiScrollBar2->OnChange());
    window->Show();
    Pump();
    loaded->Lines()->Add("c");
    Pump();
    EXPECT_EQ(window->suiScrollBar1->Position(), 0);
}

} // namespace
