#include "toolkit/controls/ToolBar.h"

#include "tests/support/ControlFixture.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/menus/MenuItem.h"
#include "toolkit/windowing/WinUser.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A window whose toolbar comes from a layout.
class TToolBarForm : public TForm {
    VARNEL_CLASS(TToolBarForm, TForm)

public:
    explicit TToolBarForm(TComponent* owner) : TForm(owner) {}
    TToolBar* ToolBar1 = nullptr;
};

VARNEL_CLASS_INFO(TToolBarForm, [](auto& c) { c.Field("ToolBar1", &TToolBarForm::ToolBar1); })

namespace {

std::string StateText(TCustomDrawState state) {
    std::string text;
    const std::pair<TCustomDrawStateItem, const char*> names[] = {
        {cdsSelected, "selected"}, {cdsDisabled, "disabled"}, {cdsChecked, "checked"}, {cdsHot, "hot"}};
    for (const auto& [item, name] : names) {
        if (state.Contains(item)) {
            text += text.empty() ? name : std::string(",") + name;
        }
    }
    return text;
}

// A menu bar as the skinned form builds one: a flat toolbar with a button per top-level item,
// the buttons created from the last item to the first.
class ToolBarTest : public TControlFixture {
protected:
    void SetUp() override {
        form = NewForm();
        menu = new TMainMenu(form);
        file = AddItem(menu->Items(), "&File");
        exit = AddItem(file, "Exit");
        help = AddItem(menu->Items(), "&Help");
        document = AddItem(help, "Product Document");
        about = AddItem(help, "About");
        // A bar item is clicked as its submenu opens; only the commands are logged here.
        file->OnClick = nullptr;
        help->OnClick = nullptr;
        bar = new TToolBar(form);
        bar->SetParent(form);
        bar->SetFlat(true);
        bar->SetEdgeBorders({});
        bar->SetShowCaptions(true);
        bar->SetHeight(22);
        for (int i = menu->Items()->Count() - 1; i >= 0; --i) {
            auto* button = new TToolButton(form);
            button->SetParent(bar);
            button->SetGrouped(true);
            button->SetMenuItem(menu->Items()->Items(i));
            button->SetAutoSize(true);
        }
        fileButton = bar->Buttons(0);
        helpButton = bar->Buttons(1);
        bar->OnCustomDraw = [this](TToolBar*, const TRect& rect, bool& defaultDraw) {
            drawn.push_back("bar " + std::to_string(rect.Width()) + "x" + std::to_string(rect.Height()));
            defaultDraw = barDefaultDraw;
        };
        bar->OnCustomDrawButton = [this](TToolBar*, TToolButton* button, TCustomDrawState state, bool&) {
            drawn.push_back(button->Caption() + ":" + StateText(state));
        };
        ShowForm(form);
    }

    TMenuItem* AddItem(TMenuItem* parent, const std::string& caption) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        item->OnClick = [this, caption](TObject*) {
            log.push_back(caption + (IsMenuActive() ? " (menu open)" : ""));
        };
        EXPECT_TRUE(parent->Add(item));
        return item;
    }
    static TPoint Centre(const TControl* control) {
        return control->ClientToScreen({control->Width() / 2, control->Height() / 2});
    }
    static TPoint Centre(const TMenuItem* item) {
        TRect r;
        EXPECT_TRUE(GetOpenMenuItemRect(item, r)) << item->Caption() << " is not on screen";
        return {r.Left + r.Width() / 2, r.Top + r.Height() / 2};
    }
    void Key(int vk) {
        Backend().KeyDown(vk);
        Backend().KeyUp(vk);
    }
    // Repaints the toolbar and returns what the handlers were asked to draw.
    std::vector<std::string> Redraw() {
        drawn.clear();
        bar->Repaint();
        return drawn;
    }

    TForm* form = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem* file = nullptr;
    TMenuItem* exit = nullptr;
    TMenuItem* help = nullptr;
    TMenuItem* document = nullptr;
    TMenuItem* about = nullptr;
    TToolBar* bar = nullptr;
    TToolButton* fileButton = nullptr;
    TToolButton* helpButton = nullptr;
    std::vector<std::string> drawn;
    std::vector<std::string> log;
    bool barDefaultDraw = true;
};

TEST_F(ToolBarTest, ButtonsCreatedAtTheLeftEdgeLineUpInTheMenusOrder) {
    ASSERT_EQ(bar->ButtonCount(), 2);
    EXPECT_EQ(fileButton->Caption(), "&File");
    EXPECT_EQ(helpButton->Caption(), "&Help");
    EXPECT_EQ(fileButton->Left(), 0);
    EXPECT_EQ(helpButton->Left(), fileButton->Width());
    EXPECT_EQ(fileButton->Top(), 0);
    EXPECT_EQ(fileButton->Height(), 22);
    // Sized to their captions (access-key marks left out).
    const TFontRequest font = bar->Font()->Request();
    EXPECT_EQ(fileButton->Width() - helpButton->Width(), TFontEngine::Instance().TextWidth(font, "File") -
                                                             TFontEngine::Instance().TextWidth(font, "Help"));
    EXPECT_GT(fileButton->Width(), TFontEngine::Instance().TextWidth(font, "File"));
    // A button placed right of the others comes last.
    auto* last = new TToolButton(form);
    last->SetLeft(500);
    last->SetParent(bar);
    EXPECT_EQ(bar->Buttons(2), last);
    EXPECT_EQ(last->Left(), helpButton->Left() + helpButton->Width());
    // A longer caption widens its button and moves the ones after it.
    const int helpLeft = helpButton->Left();
    fileButton->SetCaption("&File and more");
    EXPECT_GT(helpButton->Left(), helpLeft);
    // A hidden button takes no room.
    fileButton->SetVisible(false);
    EXPECT_EQ(helpButton->Left(), 0);
    fileButton->SetVisible(true);
    // Every button takes a height given to one of them.
    bar->SetHeight(30);
    fileButton->SetHeight(30);
    for (int i = 0; i < bar->ButtonCount(); ++i) {
        EXPECT_EQ(bar->Buttons(i)->Height(), 30);
    }
    EXPECT_EQ(bar->Height(), 30);
    EXPECT_EQ(bar->ButtonHeight(), 30);
    // Freed buttons leave the row.
    delete fileButton;
    EXPECT_EQ(bar->ButtonCount(), 2);
    EXPECT_EQ(helpButton->Left(), 0);
}

TEST_F(ToolBarTest, ButtonsStoredInALayoutFollowTheirPositions) {
    auto* loaded = new TToolBarForm(Application);
    RegisterClasses<TToolButton>();
    const TStatus status = loaded->LoadLayoutText(R"(object ToolBarForm1: TToolBarForm
  Width = 300
  Height = 200
  object ToolBar1: TToolBar
    Left = 0
    Top = 0
    Width = 300
    Height = 24
    ButtonHeight = 24
    EdgeBorders = []
    Flat = True
    ShowCaptions = True
    object ToolButton3: TToolButton
      Left = 60
      Top = 0
      Caption = 'Third'
    end
    object ToolButton1: TToolButton
      Left = 0
      Top = 0
      Caption = 'First'
    end
    object ToolButton2: TToolButton
      Left = 30
      Top = 0
      Caption = 'Second'
      Style = tbsCheck
      Down = True
    end
  end
end
)",
                                                  "ToolBar.lfm");
    ASSERT_TRUE(status) << status.Message();
    TToolBar* loadedBar = loaded->ToolBar1;
    ASSERT_NE(loadedBar, nullptr);
    ASSERT_EQ(loadedBar->ButtonCount(), 3);
    EXPECT_EQ(loadedBar->Buttons(0)->Caption(), "First");
    EXPECT_EQ(loadedBar->Buttons(1)->Caption(), "Second");
    EXPECT_EQ(loadedBar->Buttons(2)->Caption(), "Third");
    EXPECT_TRUE(loadedBar->Buttons(1)->Down());
    EXPECT_EQ(loadedBar->Buttons(1)->Left(), 23);
    EXPECT_EQ(loadedBar->Buttons(2)->Height(), 24);
}

TEST_F(ToolBarTest, CustomDrawIsAskedForTheBarThenEachButtonWithItsState) {
    EXPECT_THAT(Redraw(), ElementsAre("bar " + std::to_string(bar->Width()) + "x22", "&File:", "&Help:"));
    MoveTo(Centre(helpButton));
    EXPECT_EQ(bar->HotButton(), helpButton);
    EXPECT_THAT(Redraw(), ElementsAre(::testing::_, "&File:", "&Help:hot"));
    MoveTo(Centre(fileButton));
    EXPECT_THAT(Redraw(), ElementsAre(::testing::_, "&File:hot", "&Help:"));
    MoveTo({2, 2});
    EXPECT_EQ(bar->HotButton(), nullptr);
    help->SetEnabled(false);
    helpButton->SetEnabled(false);
    MoveTo(Centre(helpButton));
    EXPECT_THAT(Redraw(), ElementsAre(::testing::_, "&File:", "&Help:disabled"));
    // Without the default drawing of the bar the buttons are not drawn, nor asked about.
    barDefaultDraw = false;
    EXPECT_THAT(Redraw(), ElementsAre(::testing::_));
}

TEST_F(ToolBarTest, AButtonsHandlerMayTakeOverItsDrawing) {
    const TColor red = static_cast<TColor>(0x0000FF);
    bar->OnCustomDrawButton = [&](TToolBar* sender, TToolButton* button, TCustomDrawState,
                                  bool& defaultDraw) {
        if (button == helpButton) {
            sender->Canvas()->Brush()->SetColor(red);
            sender->Canvas()->FillRect(button->BoundsRect());
            defaultDraw = false;
        }
    };
    bar->Repaint();
    Pump();
    EXPECT_EQ(PixelAt(bar, helpButton->Left() + helpButton->Width() / 2, 1), ColorToPixel(red));
    // The default drawing of the other one shows its caption on the bar's colour.
    const std::uint32_t face = ColorToPixel(clBtnFace);
    bool ink = false;
    for (int x = fileButton->Left(); x < fileButton->Left() + fileButton->Width() && !ink; ++x) {
        for (int y = 0; y < 22 && !ink; ++y) {
            ink = PixelAt(bar, x, y) != face;
        }
    }
    EXPECT_TRUE(ink);
}

TEST_F(ToolBarTest, PressingAButtonDropsItsSubmenuBelowIt) {
    std::vector<std::string> states;
    WhenIdle([&] {
        const std::vector<HWND> open = OpenMenuWindows();
        ASSERT_EQ(open.size(), 1u);
        RECT r;
        GetWindowRect(open[0], &r);
        const TPoint below = fileButton->ClientToScreen({0, fileButton->Height()});
        EXPECT_EQ(r.Left, below.X);
        EXPECT_EQ(r.Top, below.Y);
        EXPECT_EQ(bar->DroppedButton(), fileButton);
        states = Redraw();
        Key(VK_ESCAPE);
    });
    Press(Centre(fileButton));
    EXPECT_THAT(states, ElementsAre(::testing::_, "&File:selected", "&Help:"));
    EXPECT_TRUE(OpenMenuWindows().empty());
    EXPECT_EQ(bar->DroppedButton(), nullptr);
    Release(Centre(fileButton));
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(ToolBarTest, ThePointerAndTheArrowKeysMoveBetweenTheBarsMenus) {
    std::vector<TToolButton*> dropped;
    WhenIdle([&] {
        dropped.push_back(bar->DroppedButton());
        InjectMove(Centre(helpButton));
    });
    WhenIdle([&] {
        dropped.push_back(bar->DroppedButton());
        TRect r;
        EXPECT_TRUE(GetOpenMenuItemRect(about, r)) << "Help's submenu is open";
        Key(VK_LEFT);
    });
    WhenIdle([&] {
        dropped.push_back(bar->DroppedButton());
        Key(VK_RIGHT);
    });
    WhenIdle([&] {
        dropped.push_back(bar->DroppedButton());
        // Right from the last wraps round to the first.
        Key(VK_RIGHT);
    });
    WhenIdle([&] {
        dropped.push_back(bar->DroppedButton());
        Key(VK_ESCAPE);
    });
    Press(Centre(fileButton));
    EXPECT_THAT(dropped, ElementsAre(fileButton, helpButton, fileButton, helpButton, fileButton));
    EXPECT_TRUE(OpenMenuWindows().empty());
}

TEST_F(ToolBarTest, AChosenItemRunsAfterTheMenuHasClosed) {
    // The command runs once the bar has let go of its button too: an About window it opens must
    // not find the bar's Help button still dropped.
    TToolButton* droppedDuringCommand = fileButton;
    bool menusOpenDuringCommand = true;
    const TNotifyEvent logged = about->OnClick;
    about->OnClick = [&](TObject* sender) {
        droppedDuringCommand = bar->DroppedButton();
        menusOpenDuringCommand = !OpenMenuWindows().empty();
        logged(sender);
    };
    WhenIdle([&] { InjectMove(Centre(helpButton)); });
    WhenIdle([&] {
        const TPoint p = Centre(about);
        InjectMove(p);
        InjectPress(p);
        InjectRelease(p);
    });
    Press(Centre(fileButton));
    EXPECT_THAT(log, ElementsAre("About"));
    EXPECT_EQ(bar->DroppedButton(), nullptr);
    EXPECT_EQ(droppedDuringCommand, nullptr);
    EXPECT_FALSE(menusOpenDuringCommand);
}

TEST_F(ToolBarTest, AltAndAnAccessKeyDropTheMenuWithItsFirstItemReady) {
    WhenIdle([&] {
        EXPECT_EQ(bar->DroppedButton(), helpButton);
        Key(VK_RETURN);
    });
    KeyDown(VK_MENU);
    PressKey('H');
    KeyUp(VK_MENU);
    EXPECT_THAT(log, ElementsAre("Product Document"));
}

TEST_F(ToolBarTest, AButtonWithoutASubmenuClicksItsItem) {
    auto* single = AddItem(menu->Items(), "&Go");
    auto* button = new TToolButton(form);
    button->SetLeft(1000);
    button->SetParent(bar);
    button->SetMenuItem(single);
    button->SetAutoSize(true);
    Pump();
    const TPoint p = Centre(button);
    Press(p);
    EXPECT_EQ(bar->ButtonState(button), (TCustomDrawState{cdsSelected, cdsHot}));
    Release(p);
    EXPECT_THAT(log, ElementsAre("&Go"));
    // Released away from it, the press is no click.
    Press(p);
    MoveTo({2, 150});
    EXPECT_FALSE(bar->ButtonState(button).Contains(cdsSelected));
    Release({2, 150});
    EXPECT_THAT(log, ElementsAre("&Go"));
}

TEST_F(ToolBarTest, GroupedCheckButtonsAreOneChoice) {
    std::vector<TToolButton*> group;
    for (int i = 0; i < 3; ++i) {
        auto* button = new TToolButton(form);
        button->SetLeft(1000 + i);
        button->SetParent(bar);
        button->SetStyle(tbsCheck);
        button->SetGrouped(true);
        group.push_back(button);
    }
    Pump();
    Click(Centre(group[0]));
    EXPECT_TRUE(group[0]->Down());
    Click(Centre(group[2]));
    EXPECT_FALSE(group[0]->Down());
    EXPECT_TRUE(group[2]->Down());
    // Without AllowAllUp the chosen one stays down.
    Click(Centre(group[2]));
    EXPECT_TRUE(group[2]->Down());
    EXPECT_EQ(bar->ButtonState(group[2]), (TCustomDrawState{cdsChecked, cdsHot}));
}

TEST_F(ToolBarTest, AToolBarFreedWhileItsMenuIsOpenClosesTheMenu) {
    WhenIdle([&] {
        delete bar;
        bar = nullptr;
    });
    Press(Centre(fileButton));
    EXPECT_TRUE(OpenMenuWindows().empty());
    EXPECT_FALSE(IsMenuActive());
}

TEST_F(ToolBarTest, AMenuItemFreedLeavesItsButtonWithoutOne) {
    delete file;
    EXPECT_EQ(fileButton->MenuItem(), nullptr);
    EXPECT_FALSE(fileButton->HasDropDownMenu());
    Click(Centre(fileButton));
    EXPECT_TRUE(OpenMenuWindows().empty());
}

} // namespace
