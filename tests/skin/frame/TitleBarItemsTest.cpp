#include "tests/skin/frame/FrameFixture.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/menus/MenuTracker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

// A title bar on its own on a plain (unskinned) window, as a program may place one.
class TitleBarItems : public TFrameFixture {
protected:
    void SetUp() override {
        form = NewForm({100, 100, 580, 400});
        bar = new TsuiTitleBar(form);
        bar->SetParent(form);
    }

    TsuiTitleBarButton* ButtonOfType(TsuiTitleBarBtnType type) const {
        for (int i = 0; i < bar->Buttons()->Count(); ++i) {
            if (bar->Buttons()->Items(i)->ButtonType() == type) {
                return bar->Buttons()->Items(i);
            }
        }
        return nullptr;
    }

    TForm* form = nullptr;
    TsuiTitleBar* bar = nullptr;
};

// Whether picture holds exactly the frame of the look's title-bar button strip that starts at
// column x and is size pixels wide and high.
::testing::AssertionResult IsStripFrame(const TPicture* picture, TsuiUIStyle look, int x, int size) {
    TBitmap strip;
    GetBuiltInThemeBitmap(look, TsuiThemeElement::TitleBarButtonImage, &strip);
    const auto* bitmap = dynamic_cast<const TBitmap*>(picture->Graphic());
    if (!bitmap) {
        return ::testing::AssertionFailure() << "no bitmap";
    }
    if (bitmap->Width() != size || bitmap->Height() != size) {
        return ::testing::AssertionFailure() << bitmap->Width() << " x " << bitmap->Height();
    }
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column) {
            if (bitmap->Pixels().At(column, row) != strip.Pixels().At(x + column, row)) {
                return ::testing::AssertionFailure() << "differs at " << column << ", " << row;
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(TitleBarItems, ANewButtonIsAVisibleCustomButtonWithEmptyPicturesWhoseTransparencyFollowsTheLook) {
    TsuiTitleBarButton* button = bar->Buttons()->Add();
    EXPECT_TRUE(button->Visible());
    EXPECT_EQ(button->ButtonType(), suiCustom);
    EXPECT_EQ(button->Top(), 2);
    EXPECT_EQ(button->UIStyle(), DeepBlue);
    EXPECT_FALSE(button->Transparent());
    button->SetUIStyle(Protein);
    EXPECT_TRUE(button->Transparent());
    EXPECT_TRUE(button->PicNormal()->Empty());
    EXPECT_TRUE(button->PicMouseOn()->Empty());
    EXPECT_TRUE(button->PicMouseDown()->Empty());
    EXPECT_EQ(button->Top(), 2);
}

TEST_F(TitleBarItems, EachTypeCutsItsThreePicturesFromTheLooksStripAndTakesTheLooksTopAndTransparency) {
    struct TLook {
        TsuiUIStyle Style;
        int Size; // of one frame
        int Top;
        bool Transparent;
    };
    const TLook looks[] = {{MacOS, 17, 4, false},
                           {WinXP, 21, 5, false},
                           {DeepBlue, 19, 2, false},
                           {Protein, 19, 2, true},
                           {BlueGlass, 19, 6, true}};
    struct TKind {
        TsuiTitleBarBtnType Type;
        int FirstFrame;
    };
    const TKind kinds[] = {{suiMax, 7}, {suiMin, 13}, {suiClose, 16}, {suiHelp, 4}};
    TsuiTitleBarButton* button = bar->Buttons()->Add();
    for (const TLook& look : looks) {
        button->SetUIStyle(look.Style);
        for (const TKind& kind : kinds) {
            SCOPED_TRACE(std::string(kUIStyleNames[look.Style]) + " " +
                         std::string(kTitleBarBtnTypeNames[kind.Type]));
            button->SetButtonType(kind.Type);
            const int x = (kind.FirstFrame - 1) * look.Size;
            EXPECT_TRUE(IsStripFrame(button->PicNormal(), look.Style, x, look.Size));
            EXPECT_TRUE(IsStripFrame(button->PicMouseOn(), look.Style, x + look.Size, look.Size));
            EXPECT_TRUE(IsStripFrame(button->PicMouseDown(), look.Style, x + 2 * look.Size, look.Size));
            EXPECT_EQ(button->Top(), look.Top);
            EXPECT_EQ(button->Transparent(), look.Transparent);
        }
    }
    // The example of the frame table: a MacOS close button, cut at 255, 272 and 289.
    button->SetUIStyle(MacOS);
    button->SetButtonType(suiClose);
    EXPECT_TRUE(IsStripFrame(button->PicNormal(), MacOS, 255, 17));
    EXPECT_TRUE(IsStripFrame(button->PicMouseOn(), MacOS, 272, 17));
    EXPECT_TRUE(IsStripFrame(button->PicMouseDown(), MacOS, 289, 17));
    // The control box of the bar shows frames 1 to 3.
    bar->SetUIStyle(WinXP);
    EXPECT_TRUE(IsStripFrame(ButtonOfType(suiControlBox)->PicNormal(), WinXP, 0, 21));
}

TEST_F(TitleBarItems, TheMaximiseButtonShowsItsRestorePicturesWhileTheWindowIsMaximised) {
    bar->SetUIStyle(MacOS);
    ShowForm(form);
    TsuiTitleBarButton* max = ButtonOfType(suiMax);
    ASSERT_NE(max, nullptr);
    EXPECT_TRUE(IsStripFrame(max->PicNormal(), MacOS, 6 * 17, 17));
    form->SetWindowState(wsMaximized);
    bar->UpdateMaxButtons();
    EXPECT_TRUE(IsStripFrame(max->PicNormal(), MacOS, 9 * 17, 17));
    EXPECT_TRUE(IsStripFrame(max->PicMouseOn(), MacOS, 10 * 17, 17));
    EXPECT_TRUE(IsStripFrame(max->PicMouseDown(), MacOS, 11 * 17, 17));
    form->SetWindowState(wsNormal);
    bar->UpdateMaxButtons();
    EXPECT_TRUE(IsStripFrame(max->PicNormal(), MacOS, 6 * 17, 17));
    // A custom bar keeps the pictures it has.
    bar->SetCustom(true);
    form->SetWindowState(wsMaximized);
    bar->UpdateMaxButtons();
    EXPECT_TRUE(IsStripFrame(max->PicNormal(), MacOS, 6 * 17, 17));
}

TEST_F(TitleBarItems, ASecondControlBoxOrClientSectionIsRefusedWithAnErrorBox) {
    TsuiTitleBarButton* close = ButtonOfType(suiClose);
    close->SetButtonType(suiControlBox);
    EXPECT_EQ(close->ButtonType(), suiClose);
    // The control box itself is refused the same way.
    ButtonOfType(suiControlBox)->SetButtonType(suiControlBox);
    const std::string buttonText = "Sorry, only one button's ButtonType property can be \"suiControlBox\"";
    EXPECT_THAT(boxes, ElementsAre(buttonText, buttonText));

    boxes.clear();
    ASSERT_EQ(bar->Sections()->Count(), 3);
    TsuiTitleBarSection* client = bar->Sections()->Items(2);
    ASSERT_EQ(client->Align(), suiClient);
    TsuiTitleBarSection* extra = bar->Sections()->Add();
    extra->SetAlign(suiClient);
    EXPECT_EQ(extra->Align(), suiLeft);
    EXPECT_FALSE(extra->Stretch());
    EXPECT_THAT(boxes, ElementsAre("Sorry, only one section's Align property can be \"suiClient\""));
    // The client section always stretches.
    EXPECT_TRUE(client->Stretch());
    client->SetStretch(false);
    EXPECT_TRUE(client->Stretch());
    extra->SetStretch(true);
    EXPECT_TRUE(extra->Stretch());
}

TEST_F(TitleBarItems, AutoSizeGivesASectionItsPicturesWidthWhicheverWayItIsSet) {
    TsuiTitleBarSection* section = bar->Sections()->Add();
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromResourceName("MACOS_TITLE_LEFT"));
    section->SetPicture(&picture);
    EXPECT_EQ(section->Width(), 10) << "without AutoSize the width stays";
    section->SetAutoSize(true);
    EXPECT_EQ(section->Width(), 48);
    section->SetWidth(20);
    section->SetAutoSize(false);
    EXPECT_EQ(section->Width(), 48);
    section->SetAutoSize(true);
    picture.LoadFromResourceName("WINXP_TITLE_LEFT");
    section->SetPicture(&picture);
    EXPECT_EQ(section->Width(), 35);
}

TEST_F(TitleBarItems, AssigningCopiesThroughTheSettersAndTheSourcesPicturesWin) {
    bar->SetUIStyle(MacOS);
    TsuiTitleBarButton* source = bar->Buttons()->Add();
    source->SetButtonType(suiClose);
    source->SetTop(9);
    TBitmap mark(5, 5);
    TPicture custom;
    custom.SetGraphic(&mark);
    source->SetPicNormal(&custom);

    TsuiTitleBarButton* target = bar->Buttons()->Add();
    target->Assign(source);
    EXPECT_EQ(target->ButtonType(), suiClose);
    // UIStyle comes after Top, so the look's top wins; the pictures come last.
    EXPECT_EQ(target->Top(), 2);
    EXPECT_EQ(target->PicNormal()->Width(), 5);
    EXPECT_EQ(target->PicMouseOn()->Width(), 19) << "the source's own (DeepBlue) hover picture";

    // Whole collections: the same items, in order.
    auto* other = new TsuiTitleBar(form);
    other->SetParent(form);
    other->SetButtons(bar->Buttons());
    ASSERT_EQ(other->Buttons()->Count(), bar->Buttons()->Count());
    EXPECT_EQ(other->Buttons()->Items(4)->PicNormal()->Width(), 5);
    other->SetSections(bar->Sections());
    ASSERT_EQ(other->Sections()->Count(), 3);
    EXPECT_EQ(other->Sections()->Items(2)->Align(), suiClient);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(TitleBarItems, TheButtonsActOnTheirWindow) {
    bar->SetUIStyle(MacOS);
    ShowForm(form);
    const TRect designed = form->BoundsRect();

    // Not on a skinned form: maximising fits the window to the work area less its bottom row.
    ButtonOfType(suiMax)->DoClick();
    EXPECT_EQ(form->WindowState(), wsMaximized);
    TRect area;
    GetWorkAreaRect(area);
    EXPECT_EQ(form->BoundsRect(), TRect(area.Left, area.Top, area.Right, area.Bottom - 1));
    EXPECT_TRUE(IsStripFrame(ButtonOfType(suiMax)->PicNormal(), MacOS, 9 * 17, 17));
    ButtonOfType(suiMax)->DoClick();
    EXPECT_EQ(form->WindowState(), wsNormal);
    EXPECT_EQ(form->BoundsRect(), designed);

    ButtonOfType(suiMin)->DoClick();
    EXPECT_TRUE(::IsIconic(form->Handle()));
    ::ShowWindow(form->Handle(), SW_RESTORE);

    // The control box pops up its own menu below the bar's left end.
    TPopupMenu menu(form);
    auto* item = new TMenuItem(&menu);
    item->SetCaption("Item");
    menu.Items()->Add(item);
    ButtonOfType(suiControlBox)->SetControlBoxMenu(&menu);
    TRect opened;
    DoWhenIdle([&] {
        const std::vector<HWND> windows = OpenMenuWindows();
        if (!windows.empty()) {
            RECT r;
            ::GetWindowRect(windows.front(), &r);
            opened = r;
        }
        EndMenu();
    });
    ButtonOfType(suiControlBox)->DoClick();
    EXPECT_EQ(opened.TopLeft(), bar->ClientToScreen({0, bar->Height()}));

    ButtonOfType(suiClose)->DoClick();
    EXPECT_FALSE(form->Visible());
}

TEST_F(TitleBarItems, AControlBoxMenuThatIsFreedIsDroppedFromItsButton) {
    auto* menu = new TPopupMenu(form);
    ButtonOfType(suiControlBox)->SetControlBoxMenu(menu);
    delete menu;
    EXPECT_EQ(ButtonOfType(suiControlBox)->ControlBoxMenu(), nullptr);
    ButtonOfType(suiControlBox)->DoClick(); // nothing to pop up, nothing happens
}

} // namespace
