#include "skin/controls/SUISpinEdit.h"
#include "skin/core/SUIMgr.h"
#include "tests/skin/controls/SkinControlFixture.h"
#include "tests/support/Artifacts.h"
#include "toolkit/controls/Clipboard.h"
#include "toolkit/controls/CustomControl.h"

#include <climits>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class TFocusHolder : public TCustomControl {
public:
    explicit TFocusHolder(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

// A push button that clicks on Enter and Escape, to catch keys the spin edit lets go.
class TDialogButton : public TCustomControl {
public:
    explicit TDialogButton(TComponent* owner) : TCustomControl(owner) {}
    int clicks = 0;

protected:
    void CMDialogKey(TMessage& message) override {
        if (message.WParam == VK_RETURN || message.WParam == VK_ESCAPE) {
            ++clicks;
            message.Result = 1;
            return;
        }
        TCustomControl::CMDialogKey(message);
    }
};

class SpinEditTest : public TSkinControlFixture {
protected:
    void SetUp() override {
        spin = Place<TSuiSpinEdit>("SuiSpinEdit1", Bounds(20, 20, 97, 19));
        spin->SetUIStyle(WinXP);
        spin->SetText("10");
        spin->OnChange = [this](TObject*) { Log(spin->Text()); };
        other = Place<TFocusHolder>("Other", Bounds(200, 20, 40, 20));
        Show();
        other->SetFocus();
        Pump();
        log.clear();
    }

    TSuiArrowButton* Up() const { return spin->SpinButtons()->UpButton(); }
    TSuiArrowButton* Down() const { return spin->SpinButtons()->DownButton(); }
    void Focus() {
        spin->SetFocus();
        Pump();
    }
    void Leave() {
        other->SetFocus();
        Pump();
    }
    int Beeps() { return Backend().BeepCount(); }

    TSuiSpinEdit* spin = nullptr;
    TFocusHolder* other = nullptr;
};

// ---- Stepping
// ------------------------------------------------------------------------------------------------

TEST_F(SpinEditTest, ArrowKeysAndArrowButtonsStepByTheIncrement) {
    Focus();
    PressKey(VK_UP);
    EXPECT_EQ(spin->Text(), "11");
    PressKey(VK_DOWN);
    PressKey(VK_DOWN);
    EXPECT_EQ(spin->Text(), "9");
    spin->SetIncrement(5);
    ClickOn(Up(), 7, 4);
    EXPECT_EQ(spin->Text(), "14");
    ClickOn(Down(), 7, 4);
    EXPECT_EQ(spin->Value(), 9);
    EXPECT_THAT(TakeLog(), ElementsAre("11", "10", "9", "14", "9"));
}

TEST_F(SpinEditTest, AnArrowClickLeavesTheFocusWhereItWas) {
    ClickOn(Up(), 7, 4);
    EXPECT_TRUE(other->Focused());
    Focus();
    ClickOn(Down(), 7, 4);
    EXPECT_TRUE(spin->Focused());
    EXPECT_EQ(spin->Text(), "10");
}

TEST_F(SpinEditTest, HoldingTheUpButtonOneSecondTurnsTenIntoThirteen) {
    MoveOver(Up(), 7, 4);
    PressOn(Up(), 7, 4);
    Advance(1000);
    ReleaseOn(Up(), 7, 4);
    EXPECT_EQ(spin->Text(), "13");

    // Released outside, the final step is dropped.
    spin->SetText("10");
    TakeLog();
    PressOn(Up(), 7, 4);
    Advance(1000);
    MoveOver(other, 5, 5);
    ReleaseOn(other, 5, 5);
    Advance(1000);
    EXPECT_THAT(TakeLog(), ElementsAre("11", "12"));
}

TEST_F(SpinEditTest, ASpinEditDisabledByItsOwnOnChangeStopsStepping) {
    spin->OnChange = [this](TObject*) {
        Log(spin->Text());
        if (spin->Value() == 12) {
            spin->SetEnabled(false);
        }
    };
    MoveOver(Up(), 7, 4);
    PressOn(Up(), 7, 4);
    Advance(2000);
    ReleaseOn(Up(), 7, 4);
    EXPECT_THAT(TakeLog(), ElementsAre("11", "12"));
}

TEST_F(SpinEditTest, BoundsHoldStepsAndLeavingTheBoxClampsWhatWasTyped) {
    spin->SetMinValue(1);
    spin->SetMaxValue(100);
    spin->SetText("100");
    ClickOn(Up(), 7, 4);
    EXPECT_EQ(spin->Text(), "100");
    Focus();
    PressKey(VK_END);
    for (int i = 0; i < 3; ++i) {
        PressKey(VK_BACK);
    }
    Type("250");
    EXPECT_EQ(spin->Text(), "250");
    Leave();
    EXPECT_EQ(spin->Text(), "100");
    Focus();
    spin->SelectAll();
    Type("0");
    Leave();
    EXPECT_EQ(spin->Text(), "1");
    // Assigned values are held within the bounds too.
    spin->SetValue(-50);
    EXPECT_EQ(spin->Text(), "1");
}

TEST_F(SpinEditTest, WithoutBoundsAnyNumberStaysAndTextThatIsNoNumberReadsMinValueAndStays) {
    spin->SetText("-7");
    EXPECT_EQ(spin->Value(), -7);
    Focus();
    Leave();
    EXPECT_EQ(spin->Text(), "-7");
    spin->SetText("");
    EXPECT_EQ(spin->Value(), 0);
    Focus();
    PressKey(VK_UP);
    EXPECT_EQ(spin->Text(), "1");
    // Pasted text is not filtered; leaving the box keeps what is no number as it is.
    Clipboard()->SetAsText("abc");
    spin->SelectAll();
    ::SendMessage(spin->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(spin->Text(), "abc");
    EXPECT_EQ(spin->Value(), 0);
    Leave();
    EXPECT_EQ(spin->Text(), "abc");
    spin->SetMinValue(5);
    spin->SetMaxValue(9);
    EXPECT_EQ(spin->Value(), 5);
    Focus();
    Leave();
    EXPECT_EQ(spin->Text(), "abc");
}

TEST_F(SpinEditTest, AStepPastThe32BitRangeStopsAtItsEnd) {
    spin->SetText("2147483646");
    ClickOn(Up(), 7, 4);
    ClickOn(Up(), 7, 4);
    EXPECT_EQ(spin->Text(), "2147483647");
    spin->SetText("-2147483647");
    ClickOn(Down(), 7, 4);
    ClickOn(Down(), 7, 4);
    EXPECT_EQ(spin->Text(), "-2147483648");
    spin->SetIncrement(INT32_MIN);
    spin->SetText("1");
    ClickOn(Down(), 7, 4);
    EXPECT_EQ(spin->Text(), "2147483647") << "minus the most negative increment is a step up";
    // Then the bounds apply.
    spin->SetMinValue(-5);
    spin->SetMaxValue(5);
    spin->SetIncrement(INT32_MAX);
    ClickOn(Up(), 7, 4);
    EXPECT_EQ(spin->Text(), "5");
}

TEST_F(SpinEditTest, AReadOnlySpinEditBeepsOnArrowsAndChangesNothing) {
    spin->SetReadOnly(true);
    const int before = Beeps();
    ClickOn(Up(), 7, 4);
    Focus();
    PressKey(VK_DOWN);
    EXPECT_EQ(spin->Text(), "10");
    EXPECT_EQ(Beeps(), before + 2);
}

TEST_F(SpinEditTest, TheMouseWheelChangesNothing) {
    Focus();
    Wheel(At(spin, 10, 5), 120);
    Wheel(At(spin, 10, 5), -240);
    Wheel(At(Up(), 5, 4), 120);
    EXPECT_EQ(spin->Text(), "10");
}

// ---- Typing
// ------------------------------------------------------------------------------------------------

TEST_F(SpinEditTest, OnlyDigitsAndMinusAreTypedAndEverythingElseBeeps) {
    auto* button = Place<TDialogButton>("Ok", Bounds(300, 20, 60, 20));
    Focus();
    PressKey(VK_END);
    const int before = Beeps();
    Type("a+. ");
    EXPECT_EQ(spin->Text(), "10");
    EXPECT_EQ(Beeps(), before + 4);
    Type("5-");
    EXPECT_EQ(spin->Text(), "105-");
    PressKey(VK_BACK);
    EXPECT_EQ(spin->Text(), "105");
    // Enter and Escape reach the spin edit (Enter beeps) rather than the form's buttons.
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(Beeps(), before + 5);
    EXPECT_EQ(button->clicks, 0);
    EXPECT_EQ(spin->Text(), "105");
}

TEST_F(SpinEditTest, WithTheEditorOffNothingTypedCutPastedDeletedOrUndoneChangesTheText) {
    Focus();
    Type("7"); // replaces the selected text: an undo would bring "10" back
    spin->SetEditorEnabled(false);
    PressKey(VK_END);
    const int before = Beeps();
    Type("5");
    PressKey(VK_BACK);
    PressKey(VK_HOME);
    PressKey(VK_DELETE);
    EXPECT_EQ(Beeps(), before + 3);
    Clipboard()->SetAsText("99");
    spin->SelectAll();
    KeyDown(VK_CONTROL);
    PressKey('V', "\x16");
    PressKey('X', "\x18");
    PressKey('Z', "\x1A");
    KeyUp(VK_CONTROL);
    KeyDown(VK_SHIFT);
    PressKey(VK_INSERT);
    PressKey(VK_DELETE);
    KeyUp(VK_SHIFT);
    for (UINT message : {WM_CUT, WM_PASTE, WM_CLEAR, WM_UNDO, EM_UNDO}) {
        ::SendMessage(spin->Handle(), message, 0, 0);
    }
    EXPECT_EQ(spin->Text(), "7");
    EXPECT_EQ(Clipboard()->AsText(), "99");
    // The arrows still step.
    PressKey(VK_UP);
    ClickOn(Up(), 7, 4);
    EXPECT_EQ(spin->Text(), "9");
}

TEST_F(SpinEditTest, EnteringByKeyboardSelectsTheNumberAndAClickPlacesTheCaret) {
    spin->SetText("1234");
    Focus();
    EXPECT_EQ(spin->SelLength(), 4);
    Leave();
    ClickOn(spin, 3, 7);
    EXPECT_TRUE(spin->Focused());
    EXPECT_EQ(spin->SelLength(), 0);
}

// ---- Geometry and looks
// ---------------------------------------------------------------------------------------

TEST_F(SpinEditTest, At97By19TheButtonsStand15WideAt78AndTheTextStaysLeftOfThem) {
    TSuiSpinButtons* buttons = spin->SpinButtons();
    EXPECT_EQ(spin->ClientRect(), (TRect{0, 0, 93, 15}));
    EXPECT_EQ(buttons->BoundsRect(), Bounds(78, 0, 15, 15));
    EXPECT_EQ(Up()->BoundsRect(), Bounds(0, 0, 15, 8));
    EXPECT_EQ(Down()->BoundsRect(), Bounds(0, 7, 15, 8));
    EXPECT_EQ(spin->FormatRect(), (TRect{0, 0, 76, 16}));
    // A long number scrolls rather than running under the buttons.
    spin->SetText("123456789012345678901234567890");
    Focus();
    PressKey(VK_END);
    EXPECT_LE(spin->CaretRect().Right, 76);

    // Resized, the buttons follow; narrower than 15 they stay 15.
    spin->SetBounds(20, 20, 120, 25);
    EXPECT_EQ(buttons->BoundsRect(), Bounds(120 - 15 - 4, 0, 15, 21));
    EXPECT_EQ(Up()->Height(), 11);
    EXPECT_EQ(Down()->BoundsRect(), Bounds(0, 10, 15, 11));
    buttons->SetWidth(9);
    EXPECT_EQ(buttons->Width(), 15);
}

TEST_F(SpinEditTest, BothArrowsShowFromTheFirstPaintOfANewWindow) {
    // A button painted before the box that holds it must not be painted over by the box.
    TForm* window = NewForm({300, 300, 500, 400});
    auto* fresh = new TSuiSpinEdit(window);
    fresh->SetParent(window);
    fresh->SetBounds(10, 10, 97, 19);
    fresh->SetUIStyle(WinXP);
    ShowForm(window);
    EXPECT_EQ(PixelAt(fresh->SpinButtons()->UpButton(), 7, 3), 0x000000u);
    EXPECT_EQ(PixelAt(fresh->SpinButtons()->DownButton(), 7, 3), 0x000000u);
}

TEST_F(SpinEditTest, TheFrameIsTheLooksBorderColourOutsideAndTheEditsColourInside) {
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        SCOPED_TRACE(kUIStyleNames[style]);
        spin->SetUIStyle(style);
        Pump();
        const std::uint32_t border =
            ColorToPixel(GetBuiltInThemeColor(style, TsuiThemeElement::ControlBorderColor));
        EXPECT_EQ(ColorToPixel(spin->BorderColor()), border);
        const TPixelBuffer shot = Shot(spin->SpinButtons()); // make sure painting happened
        (void)shot;
        const TPixelBuffer& screen = Presented(form->Handle());
        RECT frame;
        ::GetWindowRect(spin->Handle(), &frame);
        RECT window;
        ::GetWindowRect(form->Handle(), &window);
        const int x0 = frame.Left - window.Left;
        const int y0 = frame.Top - window.Top;
        EXPECT_EQ(screen.At(x0, y0), border);
        EXPECT_EQ(screen.At(x0 + 96, y0 + 18), border);
        EXPECT_EQ(screen.At(x0 + 1, y0 + 1), ColorToPixel(spin->Color()));
        EXPECT_EQ(screen.At(x0 + 50, y0 + 17), ColorToPixel(spin->Color()));
        // The spin buttons wear the edit's look.
        EXPECT_EQ(spin->SpinButtons()->UIStyle(), style);
        EXPECT_EQ(Down()->UIStyle(), style);
    }
    // A border colour set after the look stays until the next look.
    spin->SetBorderColor(clRed);
    EXPECT_EQ(spin->BorderColor(), clRed);
}

TEST_F(SpinEditTest, ARemovedThemeFileFallsBackToDeepBlueForTheEditAndItsButtons) {
    auto* theme = new TsuiFileTheme(form);
    spin->SetFileTheme(theme);
    EXPECT_EQ(Up()->FileTheme(), theme);
    delete theme;
    EXPECT_EQ(spin->FileTheme(), nullptr);
    EXPECT_EQ(spin->UIStyle(), DeepBlue);
    EXPECT_EQ(Up()->FileTheme(), nullptr);
    EXPECT_EQ(Down()->UIStyle(), DeepBlue);
}

TEST_F(SpinEditTest, TheSpinButtonsReportTheirButtonsAndAnswerArrowKeysWhenFocused) {
    TSuiSpinButtons* buttons = spin->SpinButtons();
    std::vector<std::string> clicks;
    buttons->OnUpClick = [&](TObject* sender) { clicks.push_back(sender == buttons ? "up" : "?"); };
    buttons->OnDownClick = [&](TObject* sender) { clicks.push_back(sender == buttons ? "down" : "?"); };
    ClickOn(Up(), 7, 4);
    ClickOn(Down(), 7, 4);
    ::SendMessage(buttons->Handle(), WM_KEYDOWN, VK_UP, 0);
    ::SendMessage(buttons->Handle(), WM_KEYDOWN, VK_DOWN, 0);
    ::SendMessage(buttons->Handle(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_THAT(clicks, ElementsAre("up", "down", "up", "down"));
}

} // namespace
