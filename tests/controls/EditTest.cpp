#include "toolkit/controls/Edit.h"

#include "tests/controls/TestControls.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/controls/Clipboard.h"
#include "toolkit/windowing/WinUser.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class EditTest : public TControlFixture {
protected:
    void SetUp() override {
        form = NewForm();
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 200, 21);
        edit->OnChange = [this](TObject*) { changes.push_back(edit->Text()); };
        ShowForm(form);
        edit->SetFocus();
        Pump();
        ASSERT_TRUE(edit->Focused());
    }

    void Ctrl(int vk) {
        KeyDown(VK_CONTROL);
        PressKey(vk);
        KeyUp(VK_CONTROL);
    }
    void Shift(int vk) {
        KeyDown(VK_SHIFT);
        PressKey(vk);
        KeyUp(VK_SHIFT);
    }
    void CtrlShift(int vk) {
        KeyDown(VK_CONTROL);
        KeyDown(VK_SHIFT);
        PressKey(vk);
        KeyUp(VK_SHIFT);
        KeyUp(VK_CONTROL);
    }
    // The client x where the caret stands before character index.
    int XOf(int index) { return GET_X_LPARAM(::SendMessage(edit->Handle(), EM_POSFROMCHAR, index, 0)); }
    std::pair<int, int> Sel() { return {edit->SelStart(), edit->SelLength()}; }

    TForm* form = nullptr;
    TEdit* edit = nullptr;
    std::vector<std::string> changes;
};

using Selection = std::pair<int, int>;

TEST_F(EditTest, TypingInsertsAtTheCaretAndReportsEachChange) {
    Type("abc");
    EXPECT_EQ(edit->Text(), "abc");
    EXPECT_THAT(changes, ElementsAre("a", "ab", "abc"));
    PressKey(VK_LEFT);
    PressKey(VK_LEFT);
    Type("X");
    EXPECT_EQ(edit->Text(), "aXbc");
    EXPECT_EQ(Sel(), Selection(2, 0));
    EXPECT_TRUE(edit->Modified());
    // Characters beyond ASCII are one character each.
    Type("é€");
    EXPECT_EQ(edit->Text(), "aXé€bc");
    EXPECT_EQ(edit->GetTextLen(), 6);
    EXPECT_EQ(Sel(), Selection(4, 0));
}

TEST_F(EditTest, EditingKeys) {
    Type("hello world");
    PressKey(VK_BACK);
    EXPECT_EQ(edit->Text(), "hello worl");
    PressKey(VK_HOME);
    PressKey(VK_DELETE);
    EXPECT_EQ(edit->Text(), "ello worl");
    PressKey(VK_END);
    EXPECT_EQ(Sel(), Selection(9, 0));
    Ctrl(VK_LEFT);
    EXPECT_EQ(Sel(), Selection(5, 0));
    Ctrl(VK_LEFT);
    EXPECT_EQ(Sel(), Selection(0, 0));
    Ctrl(VK_RIGHT);
    EXPECT_EQ(Sel(), Selection(5, 0));
    // Ctrl+Delete takes the rest of the word and the spaces after it; Ctrl+Backspace the word
    // before the caret.
    Ctrl(VK_DELETE);
    EXPECT_EQ(edit->Text(), "ello ");
    Ctrl(VK_BACK);
    EXPECT_EQ(edit->Text(), "");
    // Backspace at the start and Delete at the end change nothing and report nothing.
    changes.clear();
    PressKey(VK_BACK);
    PressKey(VK_DELETE);
    EXPECT_TRUE(changes.empty());
}

TEST_F(EditTest, ShiftExtendsTheSelectionAndArrowsCollapseIt) {
    Type("one two three");
    PressKey(VK_HOME);
    Shift(VK_RIGHT);
    Shift(VK_RIGHT);
    EXPECT_EQ(Sel(), Selection(0, 2));
    EXPECT_EQ(edit->SelText(), "on");
    CtrlShift(VK_RIGHT);
    EXPECT_EQ(edit->SelText(), "one ");
    Shift(VK_END);
    EXPECT_EQ(Sel(), Selection(0, 13));
    PressKey(VK_LEFT);
    EXPECT_EQ(Sel(), Selection(0, 0));
    PressKey(VK_END);
    Shift(VK_HOME);
    EXPECT_EQ(Sel(), Selection(0, 13));
    PressKey(VK_RIGHT);
    EXPECT_EQ(Sel(), Selection(13, 0));
    // Typing over a selection replaces it.
    Shift(VK_LEFT);
    Shift(VK_LEFT);
    Shift(VK_LEFT);
    Shift(VK_LEFT);
    Shift(VK_LEFT);
    Type("3");
    EXPECT_EQ(edit->Text(), "one two 3");
    Ctrl('A');
    EXPECT_EQ(Sel(), Selection(0, 9));
}

TEST_F(EditTest, MouseClickDragDoubleClickAndShiftClickSelect) {
    edit->SetText("alpha beta gamma");
    const int y = 5;
    ClickOn(edit, XOf(6) + 1, y);
    EXPECT_EQ(Sel(), Selection(6, 0));
    Advance(1000); // no double click
    // Drag from before "beta" to after it.
    PressOn(edit, XOf(6), y);
    MoveOver(edit, XOf(8), y);
    MoveOver(edit, XOf(10), y);
    ReleaseOn(edit, XOf(10), y);
    EXPECT_EQ(edit->SelText(), "beta");
    // Shift+click extends from the selection's anchor.
    KeyDown(VK_SHIFT);
    ClickOn(edit, XOf(16), y);
    KeyUp(VK_SHIFT);
    EXPECT_EQ(edit->SelText(), "beta gamma");
    // A double click selects the word under the pointer.
    Advance(1000);
    ClickOn(edit, XOf(2), y);
    ClickOn(edit, XOf(2), y);
    EXPECT_EQ(edit->SelText(), "alpha");
}

TEST_F(EditTest, ClickingAnUnfocusedEditFocusesItAndPlacesTheCaret) {
    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetBounds(10, 50, 200, 21);
    other->SetText("some text");
    Pump();
    ClickOn(other, other->ClientWidth() - 2, 5);
    EXPECT_TRUE(other->Focused());
    // The click placed the caret; AutoSelect does not select all under a click.
    EXPECT_EQ(other->SelLength(), 0);
    EXPECT_EQ(other->SelStart(), 9);
    // Tabbing into it selects everything.
    edit->SetFocus();
    Pump();
    PressKey(VK_TAB);
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(other->SelLength(), 9);
}

TEST_F(EditTest, ClipboardRoundTripsThroughKeysAndMessages) {
    Type("copy me");
    Ctrl('A');
    Ctrl('C');
    EXPECT_EQ(Clipboard()->AsText(), "copy me");
    PressKey(VK_END);
    Ctrl('V');
    EXPECT_EQ(edit->Text(), "copy mecopy me");
    Shift(VK_HOME);
    Ctrl('X');
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(Clipboard()->AsText(), "copy mecopy me");
    // Shift+Insert pastes, Ctrl+Insert copies, Shift+Delete cuts.
    Shift(VK_INSERT);
    EXPECT_EQ(edit->Text(), "copy mecopy me");
    ::SendMessage(edit->Handle(), EM_SETSEL, 0, 4);
    Ctrl(VK_INSERT);
    EXPECT_EQ(Clipboard()->AsText(), "copy");
    Shift(VK_DELETE);
    EXPECT_EQ(edit->Text(), " mecopy me");
    // The messages the skin sends work the same.
    Clipboard()->SetAsText("P");
    ::SendMessage(edit->Handle(), EM_SETSEL, 0, 0);
    ::SendMessage(edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(edit->Text(), "P mecopy me");
    ::SendMessage(edit->Handle(), EM_SETSEL, 0, 1);
    ::SendMessage(edit->Handle(), WM_CLEAR, 0, 0);
    EXPECT_EQ(edit->Text(), " mecopy me");
    // A pasted line break ends what a single-line edit takes.
    Clipboard()->SetAsText("first\r\nsecond");
    edit->SelectAll();
    edit->PasteFromClipboard();
    EXPECT_EQ(edit->Text(), "first");
}

TEST_F(EditTest, KeysReachASubclassedWindowProcedureAsClipboardMessages) {
    // A skin filters WM_PASTE by subclassing: Ctrl+V must come as WM_PASTE through the window.
    static std::vector<UINT> seen;
    static WNDPROC previous = nullptr;
    seen.clear();
    previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(edit->Handle(), GWLP_WNDPROC,
                           reinterpret_cast<LONG_PTR>(+[](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
                               if (m == WM_PASTE || m == WM_CUT || m == WM_COPY || m == WM_UNDO) {
                                   seen.push_back(m);
                                   if (m == WM_PASTE) {
                                       return 0; // dropped, as a spin edit whose editor is disabled does
                                   }
                               }
                               return ::CallWindowProc(previous, h, m, w, l);
                           })));
    Clipboard()->SetAsText("pasted");
    Type("ab");
    Ctrl('V');
    Ctrl('A');
    Ctrl('C');
    Ctrl('X');
    Ctrl('Z');
    EXPECT_THAT(seen, ElementsAre(WM_PASTE, WM_COPY, WM_CUT, WM_UNDO));
    EXPECT_EQ(edit->Text(), "ab");
    ::SetWindowLongPtr(edit->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
}

TEST_F(EditTest, UndoTakesBackTheLastChangeAndUndoingAgainRedoesIt) {
    Type("one ");
    Type("two");
    // Typing in a row is one step.
    Ctrl('Z');
    EXPECT_EQ(edit->Text(), "");
    Ctrl('Z');
    EXPECT_EQ(edit->Text(), "one two");
    EXPECT_EQ(edit->SelText(), "one two");
    PressKey(VK_END);
    PressKey(VK_BACK);
    PressKey(VK_BACK);
    EXPECT_EQ(edit->Text(), "one t");
    edit->Undo();
    EXPECT_EQ(edit->Text(), "one two");
    // A paste over a selection comes back as the selection.
    Clipboard()->SetAsText("2");
    ::SendMessage(edit->Handle(), EM_SETSEL, 4, 7);
    Ctrl('V');
    EXPECT_EQ(edit->Text(), "one 2");
    ::SendMessage(edit->Handle(), WM_UNDO, 0, 0);
    EXPECT_EQ(edit->Text(), "one two");
    EXPECT_EQ(edit->SelText(), "two");
    // Setting the text leaves nothing to undo.
    edit->SetText("fresh");
    EXPECT_FALSE(edit->CanUndo());
    Ctrl('Z');
    EXPECT_EQ(edit->Text(), "fresh");
}

TEST_F(EditTest, MaxLengthStopsTypingAndPastingInCharacters) {
    edit->SetMaxLength(5);
    Type("abcdefg");
    EXPECT_EQ(edit->Text(), "abcde");
    EXPECT_THAT(changes, ElementsAre("a", "ab", "abc", "abcd", "abcde"));
    edit->SetText("é€");
    Clipboard()->SetAsText("ñöüäß");
    PressKey(VK_END);
    Ctrl('V');
    EXPECT_EQ(edit->Text(), "é€ñöü");
    // Replacing a selection frees its room first.
    ::SendMessage(edit->Handle(), EM_SETSEL, 0, 2);
    Ctrl('V');
    EXPECT_EQ(edit->Text(), "ñöñöü");
    // The program may set a longer text; the limit holds for what comes next.
    edit->SetText("longer than five");
    EXPECT_EQ(edit->Text(), "longer than five");
    Type("x");
    EXPECT_EQ(edit->Text(), "longer than five");
}

TEST_F(EditTest, ReadOnlyRefusesChangesButCopies) {
    edit->SetText("fixed");
    edit->SetReadOnly(true);
    changes.clear();
    Type("x");
    PressKey(VK_BACK);
    edit->SelectAll();
    Ctrl('X');
    Ctrl('V');
    PressKey(VK_DELETE);
    EXPECT_EQ(edit->Text(), "fixed");
    EXPECT_TRUE(changes.empty());
    Ctrl('C');
    EXPECT_EQ(Clipboard()->AsText(), "fixed");
    // The program still sets the text.
    edit->SetText("changed");
    EXPECT_EQ(edit->Text(), "changed");
}

TEST_F(EditTest, PasswordCharHidesTheTextFromTheClipboard) {
    Clipboard()->SetAsText("before");
    edit->SetPasswordChar(U'*');
    Type("secret");
    edit->SelectAll();
    Ctrl('C');
    Ctrl('X');
    EXPECT_EQ(Clipboard()->AsText(), "before");
    EXPECT_EQ(edit->Text(), "secret");
}

TEST_F(EditTest, OnChangeFiresOnceForEveryRealChange) {
    edit->SetText("a");
    edit->SetText("a");
    edit->SetText("b");
    edit->SelectAll();
    edit->SetSelText("c");
    edit->Clear();
    edit->Clear();
    ::SetWindowText(edit->Handle(), "d");
    EXPECT_THAT(changes, ElementsAre("a", "b", "c", "", "d"));
    EXPECT_EQ(::GetWindowTextString(edit->Handle()), "d");
}

TEST_F(EditTest, CharCaseConvertsWhatIsTypedAndWhatIsThere) {
    edit->SetText("MiXed");
    edit->SetCharCase(ecLowerCase);
    EXPECT_EQ(edit->Text(), "mixed");
    PressKey(VK_END);
    Type("ÄB");
    EXPECT_EQ(edit->Text(), "mixedäb");
    edit->SetCharCase(ecUpperCase);
    EXPECT_EQ(edit->Text(), "MIXEDÄB");
}

TEST_F(EditTest, SelectionMessagesCountCharacters) {
    edit->SetText("aé€b");
    ::SendMessage(edit->Handle(), EM_SETSEL, 1, 3);
    EXPECT_EQ(edit->SelText(), "é€");
    DWORD start = 0;
    DWORD end = 0;
    const LRESULT packed = ::SendMessage(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                         reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    EXPECT_EQ(LOWORD(packed), 1);
    EXPECT_EQ(HIWORD(packed), 3);
    // -1 as the end means the end of the text; a start of -1 removes the selection.
    ::SendMessage(edit->Handle(), EM_SETSEL, 2, -1);
    EXPECT_EQ(Sel(), Selection(2, 2));
    ::SendMessage(edit->Handle(), EM_SETSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_EQ(edit->SelLength(), 0);
    // The caret is at the end given second, so Shift+arrows move that end.
    ::SendMessage(edit->Handle(), EM_SETSEL, 3, 1);
    Shift(VK_LEFT);
    EXPECT_EQ(Sel(), Selection(0, 3));
    edit->SetSelStart(4);
    edit->SetSelLength(-2);
    EXPECT_EQ(edit->SelText(), "€b");
}

TEST_F(EditTest, GetTextNeverCutsACharacter) {
    edit->SetText("aé");
    char buffer[3] = {};
    // Room for two bytes and the terminator: "a" and half of "é" would be two.
    const LRESULT n = ::SendMessage(edit->Handle(), WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer));
    EXPECT_EQ(n, 1);
    EXPECT_STREQ(buffer, "a");
    EXPECT_EQ(::SendMessage(edit->Handle(), WM_GETTEXTLENGTH, 0, 0), 3);
}

TEST_F(EditTest, FormattingRectangleKeepsTheTextInside) {
    RECT rect{0, 0, 50, 22};
    ::SendMessage(edit->Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
    RECT got;
    ::SendMessage(edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got, rect);
    // Typing past the rectangle's right edge scrolls so the caret stays inside it.
    Type("a long line of text that does not fit");
    const TRect caret = edit->CaretRect();
    EXPECT_LE(caret.Right, 50);
    EXPECT_GE(caret.Left, 0);
    EXPECT_GT(edit->ScrollX(), 0);
    PressKey(VK_HOME);
    EXPECT_EQ(edit->ScrollX(), 0);
    EXPECT_EQ(edit->CaretRect().Left, 0);
    // Nothing is drawn right of the rectangle.
    const std::uint32_t background = ColorToPixel(clWindow);
    for (int x = 52; x < edit->ClientWidth(); ++x) {
        for (int y = 0; y < edit->ClientHeight(); ++y) {
            ASSERT_EQ(PixelAt(edit, x, y), background) << x << "," << y;
        }
    }
}

TEST_F(EditTest, CaretBlinksWhileFocusedAndShowsAfterEachKey) {
    edit->SetText("x");
    edit->SetFocus();
    Pump();
    const TRect caret = edit->CaretRect();
    const std::uint32_t background = ColorToPixel(clWindow);
    EXPECT_TRUE(edit->CaretShown());
    EXPECT_NE(PixelAt(edit, caret.Left, caret.Top + 2), background);
    Advance(500);
    EXPECT_FALSE(edit->CaretShown());
    EXPECT_EQ(PixelAt(edit, caret.Left, caret.Top + 2), background);
    Advance(500);
    EXPECT_TRUE(edit->CaretShown());
    Advance(500);
    PressKey(VK_HOME);
    EXPECT_TRUE(edit->CaretShown());
    // Without the focus there is no caret.
    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetTop(60);
    other->SetFocus();
    Pump();
    EXPECT_FALSE(edit->CaretShown());
    Advance(2000);
    EXPECT_FALSE(edit->CaretShown());
}

TEST_F(EditTest, SelectionIsPaintedInHighlightColoursAndHiddenWithoutFocusWhenAsked) {
    edit->SetText("MMMM");
    edit->SelectAll();
    Pump();
    const int x = XOf(1) + 1;
    const std::uint32_t highlight = ColorToPixel(clHighlight);
    EXPECT_EQ(PixelAt(edit, x, 1), highlight);
    auto* other = new TEdit(form);
    other->SetParent(form);
    other->SetTop(60);
    other->SetFocus();
    Pump();
    EXPECT_NE(PixelAt(edit, x, 1), highlight);
    edit->SetHideSelection(false);
    Pump();
    EXPECT_EQ(PixelAt(edit, x, 1), highlight);
}

// A one-line edit made with ES_MULTILINE, as an edit that sets its own formatting rectangle is.
class TRectEdit : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void CreateParams(TCreateParams& params) override {
        TEdit::CreateParams(params);
        params.Style |= ES_MULTILINE;
    }
};

TEST_F(EditTest, AOneLineEditMadeMultiLineKeepsEnterAndEscapeFromTheFormsButtons) {
    TEventLog log;
    auto* ok = new TTestButton(form, log);
    ok->SetName("Ok");
    ok->SetParent(form);
    ok->SetTop(100);
    ok->Default = true;
    auto* cancel = new TTestButton(form, log);
    cancel->SetName("Cancel");
    cancel->SetParent(form);
    cancel->SetTop(130);
    cancel->Cancel = true;
    // The plain edit leaves Enter and Escape to the form's buttons.
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(log, (TEventLog{"Ok.click", "Cancel.click"}));

    log.clear();
    auto* rectEdit = new TRectEdit(form);
    rectEdit->SetParent(form);
    rectEdit->SetBounds(10, 40, 200, 21);
    rectEdit->SetFocus();
    std::vector<int> keys;
    rectEdit->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(keys, (std::vector<int>{VK_RETURN, VK_ESCAPE}));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(rectEdit->Text(), "") << "a one-line edit takes no line break";
}

} // namespace
