#include "toolkit/controls/Memo.h"

#include "tests/support/ControlFixture.h"
#include "toolkit/controls/Clipboard.h"
#include "toolkit/windowing/WinUser.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

// A window with a memo, made from a layout.
class TMemoForm : public TForm {
    VARNEL_CLASS(TMemoForm, TForm)

public:
    explicit TMemoForm(TComponent* owner) : TForm(owner) {}

    TMemo* Memo1 = nullptr;
    int changes = 0;
    void Memo1Change(TObject*) { ++changes; }
};

VARNEL_CLASS_INFO(TMemoForm, [](auto& c) {
    c.Field("Memo1", &TMemoForm::Memo1);
    c.Handler("Memo1Change", &TMemoForm::Memo1Change);
})

namespace {

class MemoTest : public TControlFixture {
protected:
    void SetUp() override {
        form = NewForm();
        memo = new TMemo(form);
        memo->SetParent(form);
        memo->SetBounds(10, 10, 200, 100);
        memo->OnChange = [this](TObject*) { ++changes; };
        ShowForm(form);
        memo->SetFocus();
        Pump();
        ASSERT_TRUE(memo->Focused());
        lineHeight = memo->Font()->Metrics().Height;
        ASSERT_GT(lineHeight, 0);
    }

    SCROLLINFO VScroll() {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        ::GetScrollInfo(memo->Handle(), SB_VERT, &si);
        return si;
    }
    SCROLLINFO HScroll() {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        ::GetScrollInfo(memo->Handle(), SB_HORZ, &si);
        return si;
    }
    DWORD BarState(LONG object) {
        SCROLLBARINFO info;
        ::GetScrollBarInfo(memo->Handle(), object, &info);
        return info.rgstate[0];
    }
    int VisibleRows() { return memo->FormatRect().Height() / lineHeight; }
    int Row(int index) { return static_cast<int>(::SendMessage(memo->Handle(), EM_LINEFROMCHAR, index, 0)); }
    void AddLines(int count, const std::string& prefix = "line ") {
        for (int i = 0; i < count; ++i) {
            memo->Lines()->Add(prefix + std::to_string(i));
        }
    }
    void Ctrl(int vk) {
        KeyDown(VK_CONTROL);
        PressKey(vk);
        KeyUp(VK_CONTROL);
    }
    // Whether the caret's row lies within the rows shown.
    bool CaretRowVisible() {
        const int row = Row(memo->SelStart() + memo->SelLength());
        return row >= memo->TopRow() && row < memo->TopRow() + VisibleRows();
    }

    TForm* form = nullptr;
    TMemo* memo = nullptr;
    int changes = 0;
    int lineHeight = 0;
};

TEST_F(MemoTest, LinesAreTheTextBetweenCrLf) {
    TStrings* lines = memo->Lines();
    EXPECT_EQ(lines->Count(), 0);
    lines->Add("a");
    lines->Add("b");
    EXPECT_EQ(memo->Text(), "a\r\nb");
    lines->Insert(1, "x");
    EXPECT_EQ(memo->Text(), "a\r\nx\r\nb");
    lines->Delete(0);
    EXPECT_EQ(memo->Text(), "x\r\nb");
    lines->SetStrings(1, "B");
    EXPECT_EQ(memo->Text(), "x\r\nB");
    lines->Delete(1);
    EXPECT_EQ(memo->Text(), "x");
    EXPECT_EQ(lines->Text(), memo->Text());
    // A line typed into ends with a line break: the empty line after it counts.
    memo->SetText("typed\r\n");
    EXPECT_EQ(lines->Count(), 2);
    EXPECT_EQ(lines->Strings(1), "");
    // Other line breaks are made CR LF.
    memo->SetText("a\nb\rc");
    EXPECT_EQ(memo->Text(), "a\r\nb\r\nc");
    EXPECT_EQ(lines->Strings(2), "c");
    lines->SetText("p\r\nq");
    EXPECT_EQ(memo->Text(), "p\r\nq");
    lines->Clear();
    EXPECT_EQ(memo->Text(), "");
    EXPECT_EQ(lines->Count(), 0);
}

TEST_F(MemoTest, EmptyLinesAddedToAnEmptyMemoAreCounted) {
    TStrings* lines = memo->Lines();
    lines->Add("");
    EXPECT_EQ(lines->Count(), 1);
    EXPECT_EQ(memo->Text(), "");
    lines->Add("");
    lines->Add("");
    EXPECT_EQ(lines->Count(), 3);
    EXPECT_EQ(memo->Text(), "\r\n\r\n");
    lines->Delete(0);
    lines->Delete(0);
    EXPECT_EQ(lines->Count(), 1);
    EXPECT_EQ(memo->Text(), "");
    lines->SetStrings(0, "z");
    EXPECT_EQ(memo->Text(), "z");
    EXPECT_EQ(lines->Count(), 1);
    lines->Clear();
    lines->Add("");
    // Typing into it makes it an ordinary line.
    Type("k");
    EXPECT_EQ(lines->Count(), 1);
    EXPECT_EQ(lines->Strings(0), "k");
}

TEST_F(MemoTest, OnChangeCountsLineOperationsAndUpdateBlocksOnce) {
    memo->Lines()->Add("1");
    memo->Lines()->Add("2");
    memo->Lines()->Delete(0);
    EXPECT_EQ(changes, 3);
    changes = 0;
    memo->Lines()->BeginUpdate();
    AddLines(10);
    memo->Lines()->EndUpdate();
    EXPECT_EQ(changes, 1);
    changes = 0;
    memo->Lines()->SetText("a\r\nb\r\nc");
    EXPECT_EQ(changes, 1);
    changes = 0;
    memo->Lines()->BeginUpdate();
    memo->Lines()->EndUpdate();
    EXPECT_EQ(changes, 0);
}

TEST_F(MemoTest, LinesFromALayoutLoadWithoutChangeEvents) {
    auto* loaded = new TMemoForm(Application);
    const TStatus status = loaded->LoadLayoutText(R"(object MemoForm1: TMemoForm
  Width = 300
  Height = 200
  object Memo1: TMemo
    Left = 8
    Top = 8
    Width = 200
    Height = 89
    Lines.Strings = (
      'first'
      ''
      'third')
    MaxLength = 255
    ScrollBars = ssVertical
    HideSelection = False
    WantTabs = True
    OnChange = Memo1Change
  end
end
)",
                                                  "Memo.lfm");
    ASSERT_TRUE(status) << status.Message();
    ASSERT_NE(loaded->Memo1, nullptr);
    EXPECT_EQ(loaded->Memo1->Text(), "first\r\n\r\nthird");
    EXPECT_EQ(loaded->Memo1->Lines()->Count(), 3);
    EXPECT_EQ(loaded->Memo1->MaxLength(), 255);
    EXPECT_EQ(loaded->Memo1->ScrollBars(), ssVertical);
    EXPECT_FALSE(loaded->Memo1->HideSelection());
    EXPECT_TRUE(loaded->Memo1->WantTabs());
    EXPECT_EQ(loaded->changes, 0);
    loaded->Memo1->Lines()->Add("fourth");
    EXPECT_EQ(loaded->changes, 1);
}

TEST_F(MemoTest, EnterAndTabAreTextOnlyWhenWanted) {
    Type("ab\rcd");
    EXPECT_EQ(memo->Text(), "ab\r\ncd");
    EXPECT_EQ(memo->Lines()->Count(), 2);
    memo->SetWantReturns(false);
    Type("\r");
    EXPECT_EQ(memo->Text(), "ab\r\ncd");
    // Ctrl+Enter still breaks the line.
    Ctrl(VK_RETURN);
    EXPECT_EQ(memo->Text(), "ab\r\ncd\r\n");
    memo->SetWantTabs(true);
    Type("\t");
    EXPECT_EQ(memo->Text(), "ab\r\ncd\r\n\t");
    // Without WantTabs, Tab leaves for the next control.
    memo->SetWantTabs(false);
    auto* other = new TMemo(form);
    other->SetParent(form);
    other->SetTop(150);
    Pump();
    Type("\t");
    EXPECT_EQ(memo->Text(), "ab\r\ncd\r\n\t");
    EXPECT_TRUE(other->Focused());
}

TEST_F(MemoTest, ArrowsKeepTheColumnAndBackspaceJoinsLines) {
    memo->SetText("abcdef\r\nxy\r\nlonger line");
    memo->SetSelStart(4);
    const int x0 = memo->CaretRect().Left;
    PressKey(VK_DOWN);
    EXPECT_EQ(memo->CaretPos(), TPoint(2, 1));
    PressKey(VK_DOWN);
    // The x wanted is kept through a shorter line: the caret lands within half a character of it.
    EXPECT_EQ(memo->CaretPos().Y, 2);
    EXPECT_NEAR(memo->CaretRect().Left, x0, lineHeight / 2);
    PressKey(VK_UP);
    PressKey(VK_UP);
    EXPECT_EQ(memo->CaretPos(), TPoint(4, 0));
    Ctrl(VK_END);
    EXPECT_EQ(memo->CaretPos(), TPoint(11, 2));
    Ctrl(VK_HOME);
    EXPECT_EQ(memo->CaretPos(), TPoint(0, 0));
    memo->SetCaretPos({0, 1});
    PressKey(VK_BACK);
    EXPECT_EQ(memo->Text(), "abcdefxy\r\nlonger line");
    PressKey(VK_END);
    PressKey(VK_DELETE);
    EXPECT_EQ(memo->Text(), "abcdefxylonger line");
    Ctrl('Z');
    EXPECT_EQ(memo->Text(), "abcdefxy\r\nlonger line");
}

TEST_F(MemoTest, ScrollBarNumbersFollowTheText) {
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssVertical);
    Pump();
    const int visible = VisibleRows();
    ASSERT_GT(visible, 2);
    // Nothing to scroll: the bar stays, disabled.
    EXPECT_EQ(BarState(OBJID_VSCROLL), STATE_SYSTEM_UNAVAILABLE);
    EXPECT_EQ(BarState(OBJID_HSCROLL), STATE_SYSTEM_INVISIBLE);
    AddLines(visible + 5);
    Pump();
    SCROLLINFO si = VScroll();
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, visible + 4);
    EXPECT_EQ(si.nPage, static_cast<UINT>(visible));
    // Adding lines keeps the last one, where the caret is, in view.
    EXPECT_EQ(si.nPos, 5);
    EXPECT_EQ(memo->TopRow(), 5);
    EXPECT_EQ(BarState(OBJID_VSCROLL), 0u);
    SCROLLBARINFO info;
    ::GetScrollBarInfo(memo->Handle(), OBJID_VSCROLL, &info);
    EXPECT_GT(info.xyThumbBottom - info.xyThumbTop, 0);
    AddLines(10);
    memo->UpdateView();
    si = VScroll();
    EXPECT_EQ(si.nMax, visible + 14);
    EXPECT_EQ(si.nPos, 15);
    memo->Lines()->Clear();
    EXPECT_EQ(VScroll().nMax, 0);
    EXPECT_EQ(VScroll().nPos, 0);
    EXPECT_EQ(BarState(OBJID_VSCROLL), STATE_SYSTEM_UNAVAILABLE);
    // A disabled memo's bar is unavailable.
    AddLines(visible + 5);
    memo->SetEnabled(false);
    EXPECT_EQ(BarState(OBJID_VSCROLL), STATE_SYSTEM_UNAVAILABLE);
}

TEST_F(MemoTest, HorizontalBarCoversTheWidestLine) {
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssBoth);
    Pump();
    const int width = memo->FormatRect().Width();
    memo->Lines()->Add("short");
    memo->Lines()->Add(std::string(200, 'W'));
    memo->UpdateView();
    SCROLLINFO si = HScroll();
    EXPECT_GT(si.nMax, width);
    EXPECT_EQ(si.nPage, static_cast<UINT>(width));
    // The caret at the end of the long line scrolled it into view.
    EXPECT_EQ(si.nPos, si.nMax + 1 - width);
    EXPECT_EQ(memo->ScrollX(), si.nPos);
    Ctrl(VK_HOME);
    EXPECT_EQ(memo->ScrollX(), 0);
    ::SendMessage(memo->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), 0);
    EXPECT_EQ(memo->ScrollX(), 40);
    EXPECT_EQ(HScroll().nPos, 40);
    // With word wrap nothing scrolls sideways and the bar is disabled.
    memo->SetWordWrap(true);
    EXPECT_EQ(memo->ScrollX(), 0);
    EXPECT_EQ(BarState(OBJID_HSCROLL), STATE_SYSTEM_UNAVAILABLE);
}

TEST_F(MemoTest, ScrollMessagesMoveTheView) {
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssVertical);
    AddLines(50);
    Ctrl(VK_HOME);
    const HWND h = memo->Handle();
    ::SendMessage(h, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(memo->TopRow(), 1);
    ::SendMessage(h, WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    EXPECT_EQ(memo->TopRow(), 1 + VisibleRows() - 1);
    ::SendMessage(h, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20), 0);
    EXPECT_EQ(memo->TopRow(), 20);
    EXPECT_EQ(VScroll().nPos, 20);
    EXPECT_EQ(::SendMessage(h, EM_GETFIRSTVISIBLELINE, 0, 0), 20);
    ::SendMessage(h, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
    EXPECT_EQ(memo->TopRow(), 50 - VisibleRows());
    ::SendMessage(h, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    EXPECT_EQ(memo->TopRow(), 0);
    // Scrolling leaves the caret where it was; EM_SCROLLCARET brings it back into view.
    const LRESULT row30 = ::SendMessage(h, EM_LINEINDEX, 30, 0);
    ::SendMessage(h, EM_SETSEL, row30, row30);
    EXPECT_EQ(memo->TopRow(), 0);
    ::SendMessage(h, EM_SCROLLCARET, 0, 0);
    EXPECT_TRUE(CaretRowVisible());
    ::SendMessage(h, EM_LINESCROLL, 0, -3);
    EXPECT_EQ(memo->TopRow(), 30 - VisibleRows() + 1 - 3);
}

TEST_F(MemoTest, TheNativeScrollBarArrowsScroll) {
    memo->SetWordWrap(false);
    memo->SetScrollBars(ssVertical);
    AddLines(50);
    Ctrl(VK_HOME);
    Pump();
    SCROLLBARINFO info;
    ASSERT_TRUE(::GetScrollBarInfo(memo->Handle(), OBJID_VSCROLL, &info));
    const TRect bar = info.rcScrollBar;
    Click({bar.Left + bar.Width() / 2, bar.Bottom - 3});
    EXPECT_EQ(memo->TopRow(), 1);
    Click({bar.Left + bar.Width() / 2, bar.Top + 3});
    EXPECT_EQ(memo->TopRow(), 0);
    // A press on the track below the thumb pages down.
    Click({bar.Left + bar.Width() / 2, bar.Bottom - info.dxyLineButton - 2});
    EXPECT_EQ(memo->TopRow(), VisibleRows() - 1);
}

TEST_F(MemoTest, WheelScrollsThreeRowsANotch) {
    memo->SetWordWrap(false);
    AddLines(50);
    Ctrl(VK_HOME);
    const TPoint inside = At(memo, 20, 20);
    Wheel(inside, -WHEEL_DELTA);
    EXPECT_EQ(memo->TopRow(), 3);
    Wheel(inside, -2 * WHEEL_DELTA);
    EXPECT_EQ(memo->TopRow(), 9);
    // Half notches add up.
    Wheel(inside, WHEEL_DELTA / 2);
    EXPECT_EQ(memo->TopRow(), 9);
    Wheel(inside, WHEEL_DELTA / 2);
    EXPECT_EQ(memo->TopRow(), 6);
    Wheel(inside, 10 * WHEEL_DELTA);
    EXPECT_EQ(memo->TopRow(), 0);
}

TEST_F(MemoTest, CaretIsKeptVisibleWhileTypingAndMoving) {
    memo->SetWordWrap(false);
    for (int i = 0; i < 30; ++i) {
        Type("x\r");
        ASSERT_TRUE(CaretRowVisible()) << "after line " << i;
    }
    EXPECT_GT(memo->TopRow(), 0);
    Ctrl(VK_HOME);
    EXPECT_EQ(memo->TopRow(), 0);
    PressKey(VK_NEXT);
    EXPECT_TRUE(CaretRowVisible());
    EXPECT_EQ(memo->CaretPos().Y, VisibleRows() - 1);
    PressKey(VK_NEXT);
    EXPECT_TRUE(CaretRowVisible());
    PressKey(VK_PRIOR);
    PressKey(VK_PRIOR);
    EXPECT_EQ(memo->CaretPos().Y, 0);
    EXPECT_EQ(memo->TopRow(), 0);
}

TEST_F(MemoTest, WordWrapBreaksRowsAtSpaces) {
    memo->SetWordWrap(true);
    memo->SetText("one two three four five six seven eight nine ten eleven twelve");
    const int rows = static_cast<int>(::SendMessage(memo->Handle(), EM_GETLINECOUNT, 0, 0));
    EXPECT_GT(rows, 1);
    EXPECT_EQ(memo->Lines()->Count(), 1);
    // Every row starts with a word, not inside one.
    const std::string& text = memo->Text();
    for (int row = 1; row < rows; ++row) {
        const auto start = static_cast<std::size_t>(::SendMessage(memo->Handle(), EM_LINEINDEX, row, 0));
        ASSERT_LT(start, text.size());
        EXPECT_NE(text[start], ' ');
        EXPECT_EQ(text[start - 1], ' ') << "row " << row;
    }
    // A word longer than the row breaks inside it.
    memo->SetText(std::string(100, 'w'));
    EXPECT_GT(::SendMessage(memo->Handle(), EM_GETLINECOUNT, 0, 0), 1);
    // Narrower rows, more of them.
    memo->SetText("one two three four five six seven eight nine ten eleven twelve");
    memo->SetWidth(100);
    EXPECT_GT(::SendMessage(memo->Handle(), EM_GETLINECOUNT, 0, 0), rows);
}

TEST_F(MemoTest, DraggingBelowTheMemoScrollsAndExtendsTheSelection) {
    memo->SetWordWrap(false);
    AddLines(60);
    Ctrl(VK_HOME);
    PressOn(memo, 0, 3);
    MoveOver(memo, 5, memo->ClientHeight() + 20);
    const int top = memo->TopRow();
    EXPECT_GT(top, 0);
    Advance(100);
    Advance(100);
    Advance(100);
    EXPECT_GT(memo->TopRow(), top);
    EXPECT_EQ(memo->SelStart(), 0);
    EXPECT_GT(memo->SelLength(), 0);
    EXPECT_TRUE(CaretRowVisible());
    ReleaseOn(memo, 5, memo->ClientHeight() + 20);
    const int stopped = memo->TopRow();
    Advance(500);
    EXPECT_EQ(memo->TopRow(), stopped);
}

TEST_F(MemoTest, SelectAllAndCopyTakesEveryLine) {
    AddLines(3, "pw");
    memo->SelectAll();
    memo->CopyToClipboard();
    EXPECT_EQ(Clipboard()->AsText(), "pw0\r\npw1\r\npw2");
    Clipboard()->SetAsText("one\ntwo");
    Ctrl('V');
    EXPECT_EQ(memo->Text(), "one\r\ntwo");
}

TEST_F(MemoTest, MaxLengthCountsALineBreakAsTwo) {
    memo->SetMaxLength(5);
    Type("ab\rcd");
    EXPECT_EQ(memo->Text(), "ab\r\nc");
    memo->SetText("abcd");
    memo->SetSelStart(4);
    // Room for one character is no room for a line break.
    Type("\r");
    EXPECT_EQ(memo->Text(), "abcd");
}

TEST_F(MemoTest, OnlyVisibleRowsArePainted) {
    memo->SetWordWrap(false);
    memo->Lines()->Add("MMMM");
    AddLines(40, "MMMM");
    Ctrl(VK_HOME);
    Pump();
    const std::uint32_t background = ColorToPixel(clWindow);
    auto rowHasInk = [&](int row) {
        for (int y = row * lineHeight; y < (row + 1) * lineHeight; ++y) {
            for (int x = 2; x < 30; ++x) {
                if (PixelAt(memo, x, y) != background) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(rowHasInk(0));
    EXPECT_TRUE(rowHasInk(1));
    memo->SetText("MMMM");
    Pump();
    EXPECT_TRUE(rowHasInk(0));
    EXPECT_FALSE(rowHasInk(1));
}

} // namespace
