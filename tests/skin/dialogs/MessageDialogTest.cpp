#include "skin/controls/SUIButton.h"
#include "skin/core/SUIMgr.h"
#include "skin/dialogs/SUIDialog.h"
#include "skin/dialogs/SUIMessageForm.h"
#include "skin/frame/SUIForm.h"
#include "tests/support/Artifacts.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/components/Properties.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/Picture.h"

#include <functional>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

// What a message form looked like while it was shown.
struct TShownForm {
    TRect formBounds;
    // The skinned panel, which keeps the width the algorithm gives the form less the layout's
    // border (3 at each side) whatever border width the look then gives the window.
    TRect panelBounds;
    TRect textBounds;
    bool iconVisible = false;
    TRect iconBounds;
    std::vector<std::string> captions; // in the order the buttons were made
    std::vector<TRect> buttons;
    std::string focused; // caption of the focused button
    TsuiUIStyle skinStyle = DeepBlue;
    std::vector<TsuiUIStyle> buttonStyles;
    std::string skinCaption;
    std::string captionFont;
    std::string textFont;
};

class MessageDialogTest : public TControlFixture {
protected:
    MessageDialogTest() {
        RegisterDialogClasses();
        dialog = new TsuiMessageDialog(Application);
        dialog->SetUIStyle(MacOS);
    }

    // Shows the dialog; while it waits, takes a record of its form and then runs answer, which
    // injects what the user does.
    int Show(const std::function<void(TfrmMsg*)>& answer, const std::string& artifact = {}) {
        DoWhenIdle([this, answer, artifact] {
            TfrmMsg* form = dialog->MessageForm();
            ASSERT_NE(form, nullptr);
            shown = Record(form);
            if (!artifact.empty()) {
                SaveArtifactPng(artifact, Presented(form->Handle()));
            }
            answer(form);
        });
        return dialog->ShowModal();
    }

    static TShownForm Record(TfrmMsg* form) {
        TShownForm s;
        s.formBounds = form->BoundsRect();
        s.panelBounds = form->suiForm1->BoundsRect();
        s.textBounds = form->lbl->BoundsRect();
        s.iconVisible = form->Image1->Visible();
        s.iconBounds = form->Image1->BoundsRect();
        for (TsuiButton* button : form->Buttons()) {
            s.captions.push_back(button->Caption());
            s.buttons.push_back(button->BoundsRect());
            s.buttonStyles.push_back(button->UIStyle());
            if (button->Focused()) {
                s.focused = button->Caption();
            }
        }
        s.skinStyle = form->suiForm1->UIStyle();
        s.skinCaption = form->suiForm1->Caption();
        s.captionFont = form->suiForm1->Font()->Name();
        s.textFont = form->lbl->Font()->Name();
        return s;
    }

    void ClickButton(TfrmMsg* form, const std::string& caption) {
        for (TsuiButton* button : form->Buttons()) {
            if (button->Caption() == caption) {
                const TPoint p = At(button, 10, 10);
                InjectMove(p);
                InjectPress(p);
                InjectRelease(p);
                return;
            }
        }
        ADD_FAILURE() << "no button " << caption;
    }

    void Key(int vk) {
        Backend().KeyDown(vk);
        Backend().KeyUp(vk);
    }

    TsuiMessageDialog* dialog = nullptr;
    TShownForm shown;
};

TEST_F(MessageDialogTest, OneLineWithAnIconAndOneButton) {
    dialog->SetIconType(TsuiIconType::suiInformation);
    dialog->SetCaption("Congratulation");
    dialog->SetText("Copy password to clipboard ok!");
    const int result = Show([this](TfrmMsg* form) { ClickButton(form, "OK"); }, "information");
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(shown.textBounds.Left, 88);
    EXPECT_EQ(shown.textBounds.Top, 64);
    EXPECT_EQ(shown.textBounds.Height(), 13);
    EXPECT_EQ(shown.textBounds.Width(), 225);
    EXPECT_TRUE(shown.iconVisible);
    EXPECT_EQ(shown.iconBounds, Bounds(24, 64, 42, 42));
    ASSERT_EQ(shown.buttons.size(), 1u);
    EXPECT_EQ(shown.buttons[0], Bounds(336 - 97, 124, 73, 25));
    // The form is made 169 high and 336 wide; the MacOS look then gives it a 1-pixel border,
    // which keeps the panel's width and the window's height.
    EXPECT_EQ(shown.formBounds.Height(), 169);
    EXPECT_EQ(shown.panelBounds.Width(), 336 - 6);
    EXPECT_EQ(shown.formBounds.Width(), 330 + 2);
    EXPECT_EQ(shown.focused, "OK");
    EXPECT_EQ(shown.skinCaption, "Congratulation");

    // A warning that wraps to two lines still ends above the icon's lowest edge.
    dialog->SetIconType(TsuiIconType::suiWarning);
    dialog->SetCaption("Failed");
    dialog->SetText("Please press the 'Generate password' button first!");
    EXPECT_EQ(Show([this](TfrmMsg* form) { ClickButton(form, "OK"); }, "warning"), mrOk);
    EXPECT_EQ(shown.textBounds.Height(), 26);
    EXPECT_EQ(shown.buttons[0].Top, 124);
    EXPECT_EQ(shown.formBounds.Height(), 169);
}

TEST_F(MessageDialogTest, FiveLinesOfTextPushTheButtonsDown) {
    dialog->SetIconType(TsuiIconType::suiInformation);
    dialog->SetText("one\r\ntwo\r\nthree\r\nfour\r\nfive");
    Show([this](TfrmMsg* form) { ClickButton(form, "OK"); });
    EXPECT_EQ(shown.textBounds.Bottom, 64 + 65);
    ASSERT_EQ(shown.buttons.size(), 1u);
    EXPECT_EQ(shown.buttons[0].Top, 149);
    EXPECT_EQ(shown.formBounds.Height(), 194);

    // A long text wraps at the label's width and the buttons follow its last line.
    std::string text;
    for (int i = 0; i < 40; ++i) {
        text += "password ";
    }
    dialog->SetText(text);
    Show([this](TfrmMsg* form) { ClickButton(form, "OK"); });
    EXPECT_EQ(shown.textBounds.Width(), 225);
    EXPECT_GT(shown.textBounds.Height(), 13 * 3);
    EXPECT_EQ(shown.textBounds.Height() % 13, 0);
    EXPECT_EQ(shown.buttons[0].Top, shown.textBounds.Bottom + 20);
    EXPECT_EQ(shown.formBounds.Height(), shown.textBounds.Bottom + 65);
}

TEST_F(MessageDialogTest, WithoutAnIconTheFormNarrowsUnlessThreeButtonsNeedTheRoom) {
    dialog->SetIconType(TsuiIconType::suiNone);
    for (const int count : {1, 2, 3}) {
        dialog->SetButtonCount(count);
        Show([this](TfrmMsg* form) { ClickButton(form, "OK"); });
        const int width = count < 3 ? 336 - 64 : 336;
        EXPECT_EQ(shown.panelBounds.Width(), width - 6) << count;
        EXPECT_EQ(shown.buttons.front().Left, width - 97) << count;
        EXPECT_EQ(shown.textBounds.Left, 24) << count;
        EXPECT_FALSE(shown.iconVisible) << count;
        // Without an icon the 40-pixel place for it still sets the lowest edge.
        EXPECT_EQ(shown.buttons.back().Top, 124) << count;
    }
}

TEST_F(MessageDialogTest, ButtonsLineUpFromTheRightWithButtonOneFocused) {
    dialog->SetIconType(TsuiIconType::suiHelp);
    dialog->SetButtonCount(2);
    int result = Show([this](TfrmMsg* form) { ClickButton(form, "Cancel"); });
    EXPECT_EQ(result, mrCancel);
    EXPECT_THAT(shown.captions, ElementsAre("Cancel", "OK"));
    const int w = shown.panelBounds.Width() + 6;
    EXPECT_EQ(shown.buttons[1].Left, w - 190); // OK
    EXPECT_EQ(shown.buttons[0].Left, w - 97);  // Cancel
    EXPECT_EQ(shown.focused, "OK");
    result = Show([this](TfrmMsg* form) { ClickButton(form, "OK"); });
    EXPECT_EQ(result, mrOk);

    dialog->SetButtonCount(3);
    dialog->SetButton1Caption("Yes");
    dialog->SetButton2Caption("No");
    dialog->SetButton3Caption("Later");
    dialog->SetButton1ModalResult(6);
    dialog->SetButton2ModalResult(7);
    dialog->SetButton3ModalResult(8);
    result = Show([this](TfrmMsg* form) { ClickButton(form, "No"); });
    EXPECT_EQ(result, 7);
    EXPECT_THAT(shown.captions, ElementsAre("Later", "No", "Yes"));
    EXPECT_EQ(shown.buttons[2].Left, 336 - 283);
    EXPECT_EQ(shown.buttons[1].Left, 336 - 190);
    EXPECT_EQ(shown.buttons[0].Left, 336 - 97);
    EXPECT_EQ(shown.focused, "Yes");
    for (const TRect& button : shown.buttons) {
        EXPECT_EQ(button.Top, 124);
        EXPECT_EQ(button.Height(), 25);
        EXPECT_EQ(button.Width(), 73);
    }
}

TEST_F(MessageDialogTest, KeysAnswerTheFocusedButtonAndEscapeCancels) {
    dialog->SetButtonCount(3);
    dialog->SetButton1ModalResult(6);
    dialog->SetButton2ModalResult(7);
    dialog->SetButton3ModalResult(8);
    // Enter presses the focused button, the first one.
    EXPECT_EQ(Show([this](TfrmMsg*) { Key(VK_RETURN); }), 6);
    // Tab moves on to the next one, Space presses it.
    EXPECT_EQ(Show([this](TfrmMsg*) {
                  Key(VK_TAB);
                  Key(VK_SPACE);
              }),
              7);
    // Escape answers cancel, not the result of any button.
    EXPECT_EQ(Show([this](TfrmMsg*) { Key(VK_ESCAPE); }), mrCancel);
}

TEST_F(MessageDialogTest, ClosingTheBoxOtherwiseGivesCancelAndFreesTheForm) {
    dialog->SetButton1ModalResult(6);
    // The title bar's close button.
    EXPECT_EQ(Show([this](TfrmMsg* form) {
                  TsuiTitleBar* bar = form->suiForm1->TitleBar();
                  const TsuiTitleBarLayout layout = bar->Layout();
                  ASSERT_EQ(layout.Buttons.size(), 1u);
                  const TRect place = layout.Buttons[0].Rect;
                  const TPoint p = bar->ClientToScreen({place.Left + 8, place.Top + 8});
                  InjectMove(p);
                  InjectPress(p);
                  InjectRelease(p);
              }),
              mrCancel);
    // The program being told to end.
    EXPECT_EQ(Show([](TfrmMsg*) { Application->Terminate(); }), mrCancel);
    EXPECT_EQ(dialog->MessageForm(), nullptr);
    for (int i = 0; i < Application->ComponentCount(); ++i) {
        EXPECT_EQ(dynamic_cast<TfrmMsg*>(Application->Components(i)), nullptr);
    }
}

TEST_F(MessageDialogTest, CtrlCCopiesSevenLinesAndTheFormStaysOpen) {
    dialog->SetIconType(TsuiIconType::suiWarning);
    dialog->SetCaption("Failed");
    dialog->SetText("Please press the 'Generate password' button first!");
    bool stillShown = false;
    const int result = Show([&](TfrmMsg* form) {
        Backend().KeyDown(VK_CONTROL);
        Backend().KeyDown('C');
        Backend().KeyUp('C');
        Backend().KeyUp(VK_CONTROL);
        DoWhenIdle([&, form] {
            stillShown = form->Visible();
            ClickButton(form, "OK");
        });
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(Backend().Clipboard(), "---------------------------\r\n"
                                     "Failed\r\n"
                                     "---------------------------\r\n"
                                     "Please press the 'Generate password' button first!\r\n"
                                     "---------------------------\r\n"
                                     "OK\r\n"
                                     "---------------------------");

    // The buttons in the order they were made, rightmost first.
    dialog->SetButtonCount(3);
    Show([&](TfrmMsg* form) {
        Backend().KeyDown(VK_CONTROL);
        Backend().KeyDown('C');
        Backend().KeyUp('C');
        Backend().KeyUp(VK_CONTROL);
        DoWhenIdle([&, form] { ClickButton(form, "OK"); });
    });
    EXPECT_THAT(Backend().Clipboard(), ::testing::HasSubstr("\r\nCancel   Cancel   OK\r\n"));
    // C alone copies nothing.
    const int writes = Backend().ClipboardWrites();
    Show([&](TfrmMsg* form) {
        Key('C');
        DoWhenIdle([&, form] { ClickButton(form, "OK"); });
    });
    EXPECT_EQ(Backend().ClipboardWrites(), writes);
}

TEST_F(MessageDialogTest, TheLookFontsAndTextReachTheForm) {
    dialog->SetUIStyle(WinXP);
    dialog->SetButtonCount(2);
    dialog->SetCaption("Save & quit?");
    dialog->SetText("Tom & Jerry");
    TFont captionFont;
    captionFont.SetName("Tahoma");
    captionFont.SetColor(clBlack);
    dialog->SetCaptionFont(&captionFont);
    TFont textFont;
    textFont.SetName("DejaVu Sans");
    dialog->SetFont(&textFont);
    std::string label;
    bool showsAccel = true;
    Show([&](TfrmMsg* form) {
        label = form->lbl->Caption();
        showsAccel = form->lbl->ShowAccelChar();
        ClickButton(form, "OK");
    });
    EXPECT_EQ(shown.skinStyle, WinXP);
    EXPECT_THAT(shown.buttonStyles, ElementsAre(WinXP, WinXP));
    EXPECT_EQ(shown.skinCaption, "Save & quit?");
    EXPECT_EQ(shown.captionFont, "Tahoma");
    EXPECT_EQ(shown.textFont, "DejaVu Sans");
    EXPECT_EQ(label, "Tom & Jerry");
    EXPECT_FALSE(showsAccel);
}

TEST_F(MessageDialogTest, PropertiesKeepTheirRangesAndThemeRemovalFallsBack) {
    EXPECT_EQ(dialog->ButtonCount(), 1);
    EXPECT_EQ(dialog->Text(), "Hello world!");
    EXPECT_EQ(dialog->Button2Caption(), "Cancel");
    EXPECT_EQ(dialog->Button3ModalResult(), mrCancel);
    EXPECT_EQ(dialog->ButtonCursor(), crHandPoint);
    EXPECT_EQ(dialog->Position(), poScreenCenter);
    EXPECT_EQ(dialog->CaptionFont()->Color(), clWhite);
    EXPECT_TRUE(dialog->CaptionFont()->Style().Contains(fsBold));
    EXPECT_FALSE(SetPropText(dialog, "ButtonCount", "4"));
    EXPECT_FALSE(SetPropText(dialog, "ButtonCount", "0"));
    EXPECT_TRUE(SetPropText(dialog, "ButtonCount", "3"));
    EXPECT_EQ(dialog->ButtonCount(), 3);
    dialog->SetButtonCount(9);
    EXPECT_EQ(dialog->ButtonCount(), 3);

    auto* theme = new TsuiFileTheme(Application);
    dialog->SetFileTheme(theme);
    dialog->SetUIStyle(Protein);
    delete theme;
    EXPECT_EQ(dialog->FileTheme(), nullptr);
    EXPECT_EQ(dialog->UIStyle(), DeepBlue);
}

TEST_F(MessageDialogTest, APictureOfEachIcon) {
    const TsuiIconType icons[] = {TsuiIconType::suiNone, TsuiIconType::suiWarning, TsuiIconType::suiStop,
                                  TsuiIconType::suiInformation, TsuiIconType::suiHelp};
    int index = 0;
    for (const TsuiIconType icon : icons) {
        dialog->SetIconType(icon);
        dialog->SetCaption("Icon " + std::to_string(index));
        Show(
            [&, icon](TfrmMsg* form) {
                if (icon != TsuiIconType::suiNone) {
                    // The icon's own picture: its slice of the strip, not the empty place.
                    const TPixelBuffer& pixels = Presented(form->Handle());
                    const TPoint centre = form->Image1->ClientToScreen({21, 21});
                    RECT window;
                    ::GetWindowRect(form->Handle(), &window);
                    EXPECT_NE(pixels.At(centre.X - window.Left, centre.Y - window.Top), 0xE7E7E7u);
                }
                ClickButton(form, "OK");
            },
            "icon-" + std::to_string(index));
        ++index;
    }
}

} // namespace
