#include "tests/support/ControlFixture.h"
#include "toolkit/controls/Clipboard.h"
#include "toolkit/controls/Memo.h"
#include "toolkit/windowing/WinUser.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

// What a control built on the native memo sees of its scrolling: the edit reports each time it
// has written its native scroll bars, and the editing, wheel and scroll messages reach named
// handlers that can act after the edit has done its part.

namespace {

struct TBarRecord {
    int VPos;
    int VMax;
    int HPos;
};

class TFollowingMemo : public TMemo {
    VARNEL_CLASS(TFollowingMemo, TMemo)

public:
    explicit TFollowingMemo(TComponent* owner) : TMemo(owner) {}

    // What the native bars held each time the edit reported writing them.
    std::vector<TBarRecord> reports;
    // Per handled message: the text and top row once the inherited handling had run.
    std::vector<std::string> after;

protected:
    void ScrollBarsChanged() override {
        SCROLLINFO v;
        v.fMask = SIF_ALL;
        ::GetScrollInfo(Handle(), SB_VERT, &v);
        SCROLLINFO h;
        h.fMask = SIF_ALL;
        ::GetScrollInfo(Handle(), SB_HORZ, &h);
        reports.push_back({v.nPos, v.nMax, h.nPos});
    }
    void WMCut(TMessage& m) override {
        TMemo::WMCut(m);
        Note("cut");
    }
    void WMPaste(TMessage& m) override {
        TMemo::WMPaste(m);
        Note("paste");
    }
    void WMClear(TMessage& m) override {
        TMemo::WMClear(m);
        Note("clear");
    }
    void WMUndo(TMessage& m) override {
        TMemo::WMUndo(m);
        Note("undo");
    }
    void WMMouseWheel(TMessage& m) override {
        TMemo::WMMouseWheel(m);
        Note("wheel");
    }
    void WMVScroll(TMessage& m) override {
        TMemo::WMVScroll(m);
        Note("vscroll");
    }
    void WMHScroll(TMessage& m) override {
        TMemo::WMHScroll(m);
        Note("hscroll");
    }

private:
    void Note(const char* what) {
        after.push_back(std::string(what) + " " + Text() + " @" + std::to_string(TopRow()));
    }
};

} // namespace

VARNEL_CLASS_INFO(TFollowingMemo)

namespace {

class EditScrollFollow : public TControlFixture {
protected:
    void SetUp() override {
        form = NewForm();
        memo = new TFollowingMemo(form);
        memo->SetParent(form);
        memo->SetBounds(10, 10, 200, 100);
        memo->SetScrollBars(ssBoth);
        memo->SetWordWrap(false);
        ShowForm(form);
        memo->SetFocus();
        Pump();
        memo->reports.clear();
    }

    SCROLLINFO Native(int bar) {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        ::GetScrollInfo(memo->Handle(), bar, &si);
        return si;
    }
    void ExpectLastReportIsTheNativeState() {
        ASSERT_FALSE(memo->reports.empty());
        const TBarRecord& last = memo->reports.back();
        EXPECT_EQ(last.VPos, Native(SB_VERT).nPos);
        EXPECT_EQ(last.VMax, Native(SB_VERT).nMax);
        EXPECT_EQ(last.HPos, Native(SB_HORZ).nPos);
    }
    void AddLines(int count) {
        for (int i = 0; i < count; ++i) {
            memo->Lines()->Add("line " + std::to_string(i));
        }
    }

    TForm* form = nullptr;
    TFollowingMemo* memo = nullptr;
};

TEST_F(EditScrollFollow, LinesAddedByTheProgramAreReportedOnceForTheWholeRun) {
    AddLines(500);
    EXPECT_TRUE(memo->reports.empty()) << "reported before the view was brought up to date";
    Pump();
    ASSERT_EQ(memo->reports.size(), 1u);
    EXPECT_EQ(memo->reports[0].VMax, 499);
    EXPECT_GT(memo->reports[0].VPos, 400); // the caret went to the end, and the view with it
    ExpectLastReportIsTheNativeState();
}

TEST_F(EditScrollFollow, TypingWheelScrollMessagesAndSelectingDragsAreEachReported) {
    AddLines(100);
    Pump();
    memo->SetSelStart(0);
    Pump();
    memo->reports.clear();

    // Typing a long line scrolls sideways.
    Type(std::string(60, 'w'));
    ASSERT_FALSE(memo->reports.empty());
    EXPECT_GT(memo->reports.back().HPos, 0);
    ExpectLastReportIsTheNativeState();

    memo->reports.clear();
    Wheel(At(memo, 50, 50), -WHEEL_DELTA);
    ASSERT_FALSE(memo->reports.empty());
    EXPECT_GT(memo->reports.back().VPos, 0);
    ExpectLastReportIsTheNativeState();

    memo->reports.clear();
    ::SendMessage(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    ASSERT_EQ(memo->reports.size(), 1u);
    ExpectLastReportIsTheNativeState();

    // Holding the button below the text keeps the selection, and the view, moving.
    memo->reports.clear();
    const int before = memo->TopRow();
    PressOn(memo, 20, 20);
    MoveOver(memo, 20, memo->ClientHeight() + 30);
    Advance(350);
    ReleaseOn(memo, 20, memo->ClientHeight() + 30);
    EXPECT_GT(memo->TopRow(), before);
    EXPECT_GE(memo->reports.size(), 3u);
    ExpectLastReportIsTheNativeState();
}

TEST_F(EditScrollFollow, NothingIsReportedWhenTheBarsDoNotChange) {
    AddLines(3);
    Pump();
    memo->reports.clear();
    ::SendMessage(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_LINEUP, 0), 0);
    Wheel(At(memo, 50, 50), WHEEL_DELTA);
    memo->SetSelStart(1);
    Pump();
    EXPECT_TRUE(memo->reports.empty());
}

TEST_F(EditScrollFollow, NamedHandlersRunAfterTheEditHasActed) {
    AddLines(60);
    Pump();
    memo->SetSelStart(0);
    memo->after.clear();
    ::SendMessage(memo->Handle(), WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    ::SendMessage(memo->Handle(), WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    Wheel(At(memo, 50, 50), -WHEEL_DELTA);
    ASSERT_EQ(memo->after.size(), 3u);
    EXPECT_NE(memo->after[0].find("@1"), std::string::npos) << memo->after[0];
    EXPECT_EQ(memo->after[1].substr(0, 7), "hscroll");
    EXPECT_NE(memo->after[2].find("@4"), std::string::npos) << memo->after[2];

    memo->SetText("abc");
    memo->SelectAll();
    memo->after.clear();
    memo->CutToClipboard();
    memo->PasteFromClipboard();
    memo->PasteFromClipboard();
    memo->SelectAll();
    memo->ClearSelection();
    memo->Undo();
    const std::vector<std::string> expected = {"cut  @0", "paste abc @0", "paste abcabc @0", "clear  @0",
                                               "undo abcabc @0"};
    EXPECT_EQ(memo->after, expected);
}

} // namespace
