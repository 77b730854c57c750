#include "skin/menus/SUIMenu.h"
#include "tests/skin/frame/FrameFixture.h"
#include "toolkit/controls/Registration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

// A window stored as the program stores its main window: the skinned form panel with its look
// and size, its title-bar buttons, and a skinned main menu.
const char* const kLayout = R"(object Form1: TForm
  Left = 200
  Top = 100
  BorderStyle = bsSingle
  Caption = 'Varnel V1.0'
  ClientHeight = 300
  ClientWidth = 400
  object suiForm1: TsuiForm
    Left = 0
    Top = 0
    Width = 480
    Height = 480
    BorderColor = 8355711
    BorderWidth = 1
    Caption = 'Varnel V1.0'
    Color = 15198183
    UIStyle = MacOS
    TitleBarButtons = <
      item
        ButtonType = suiControlBox
        UIStyle = MacOS
      end
      item
        ButtonType = suiClose
        UIStyle = MacOS
      end
      item
        ButtonType = suiMin
        UIStyle = MacOS
      end>
    Menu = MainMenu1
    MenuBarColor = 15198183
    MenuBarHeight = 22
  end
  object MainMenu1: TsuiMainMenu
    UIStyle = MacOS
    object File1: TMenuItem
      Caption = '&File'
      object Exit1: TMenuItem
        Caption = 'E&xit'
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
      object About1: TMenuItem
        Caption = '&About'
      end
    end
  end
end
)";

class FormLayout : public TFrameFixture {};

TEST_F(FormLayout, AStoredSkinnedWindowLoadsWithItsSizeButtonsAndMenuBar) {
    RegisterControlClasses();
    auto* form = new TForm(Application);
    const TStatus loaded = form->LoadLayoutText(kLayout, "Unit1.lfm");
    ASSERT_TRUE(loaded) << loaded.Message();
    TsuiForm* skin = TsuiForm::OfForm(form);
    ASSERT_NE(skin, nullptr);
    EXPECT_EQ(form->BoundsRect(), Bounds(200, 100, 482, 481));
    EXPECT_EQ(form->BorderStyle(), bsNone);
    EXPECT_EQ(skin->GetHostBorderStyle(), bsSingle);
    EXPECT_EQ(skin->Caption(), "Varnel V1.0");
    ASSERT_EQ(skin->TitleBarButtons()->Count(), 3);
    EXPECT_EQ(skin->TitleBarButtons()->Items(2)->ButtonType(), suiMin);
    EXPECT_EQ(skin->TitleBarButtons()->Items(2)->PicNormal()->Width(), 17);
    ASSERT_NE(skin->MenuBar(), nullptr);
    std::vector<std::string> captions;
    for (int i = 0; i < skin->MenuBar()->ButtonCount(); ++i) {
        captions.push_back(skin->MenuBar()->Buttons(i)->Caption());
    }
    EXPECT_THAT(captions, ElementsAre("&File", "&Help"));
    EXPECT_EQ(form->Menu(), nullptr);
    ShowForm(form);
    EXPECT_EQ(skin->TitleBar()->Layout().Buttons.size(), 3u);
    EXPECT_EQ(skin->MenuBar()->Top(), 23);
}

} // namespace
