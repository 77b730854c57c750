#include "skin/menus/SUIMenu.h"
#include "tests/skin/frame/FrameFixture.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/menus/MenuTracker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class MenuBar : public TFrameFixture {
protected:
    // A skinned main window with a skinned main menu: File (New, Exit), Edit (Copy), Help (About).
    void MakeWindow(TsuiUIStyle look, bool main = true) {
        skin = MakeSkinnedHost(look, bsSingle, main);
        menu = new TsuiMainMenu(host);
        file = AddItem(menu->Items(), "&File");
        AddItem(file, "&New");
        exitItem = AddItem(file, "E&xit");
        edit = AddItem(menu->Items(), "&Edit");
        AddItem(edit, "&Copy");
        help = AddItem(menu->Items(), "&Help");
        about = AddItem(help, "&About");
        menu->HookMenuItems(menu->Items());
    }
    TMenuItem* AddItem(TMenuItem* parent, const char* caption) {
        auto* item = new TMenuItem(host);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    // The captions of the bar's buttons that show, left to right.
    std::vector<std::string> Shown() const {
        std::vector<std::string> captions;
        TToolBar* bar = skin->MenuBar();
        for (int i = 0; bar && i < bar->ButtonCount(); ++i) {
            if (bar->Buttons(i)->Visible()) {
                captions.push_back(bar->Buttons(i)->Caption());
            }
        }
        return captions;
    }
    TToolButton* ButtonOf(const TMenuItem* item) const {
        for (int i = 0; i < skin->MenuBar()->ButtonCount(); ++i) {
            if (skin->MenuBar()->Buttons(i)->MenuItem() == item) {
                return skin->MenuBar()->Buttons(i);
            }
        }
        return nullptr;
    }
    TPoint Centre(const TToolButton* button) const {
        return skin->MenuBar()->ClientToScreen(
            {button->Left() + button->Width() / 2, button->Top() + button->Height() / 2});
    }
    // Whether the open menu shows item (its submenu is dropped).
    static bool Showing(const TMenuItem* item) {
        TRect r;
        return GetOpenMenuItemRect(item, r);
    }

    TsuiForm* skin = nullptr;
    TsuiMainMenu* menu = nullptr;
    TMenuItem* file = nullptr;
    TMenuItem* exitItem = nullptr;
    TMenuItem* edit = nullptr;
    TMenuItem* help = nullptr;
    TMenuItem* about = nullptr;
};

TEST_F(MenuBar, ShowsOneButtonPerVisibleTopLevelItemAndFollowsTheItems) {
    MakeWindow(MacOS);
    ASSERT_NE(skin->MenuBar(), nullptr);
    EXPECT_EQ(skin->Menu(), menu);
    EXPECT_THAT(Shown(), ElementsAre("&File", "&Edit", "&Help"));
    ShowForm(host);
    // Left to right in the menu's order, just below the title bar.
    EXPECT_EQ(skin->MenuBar()->Top(), skin->TitleBar()->Height());
    EXPECT_LT(ButtonOf(file)->Left(), ButtonOf(edit)->Left());
    EXPECT_LT(ButtonOf(edit)->Left(), ButtonOf(help)->Left());

    edit->SetVisible(false);
    EXPECT_THAT(Shown(), ElementsAre("&File", "&Help"));
    help->SetCaption("&Info");
    help->SetEnabled(false);
    EXPECT_THAT(Shown(), ElementsAre("&File", "&Info"));
    EXPECT_FALSE(ButtonOf(help)->Enabled());
    edit->SetVisible(true);
    EXPECT_THAT(Shown(), ElementsAre("&File", "&Edit", "&Info"));

    // Items added and freed at run time: no button stays behind for an item that is gone.
    AddItem(menu->Items(), "&Tools");
    EXPECT_THAT(Shown(), ElementsAre("&File", "&Edit", "&Info", "&Tools"));
    delete edit;
    EXPECT_THAT(Shown(), ElementsAre("&File", "&Info", "&Tools"));
    for (int i = 0; i < skin->MenuBar()->ButtonCount(); ++i) {
        EXPECT_NE(skin->MenuBar()->Buttons(i)->MenuItem(), nullptr);
    }
    Pump();

    skin->SetMenu(nullptr);
    EXPECT_EQ(skin->MenuBar(), nullptr);
    EXPECT_EQ(menu->MenuBarHost(), nullptr);
    Pump();
}

TEST_F(MenuBar, TheBarAndEveryButtonTakeTheMenuBarHeight) {
    MakeWindow(WinXP);
    EXPECT_EQ(skin->MenuBar()->Height(), 22);
    skin->SetMenuBarHeight(30);
    EXPECT_EQ(skin->MenuBar()->Height(), 30);
    EXPECT_EQ(skin->MenuBar()->ButtonHeight(), 30);
    for (int i = 0; i < skin->MenuBar()->ButtonCount(); ++i) {
        EXPECT_EQ(skin->MenuBar()->Buttons(i)->Height(), 30);
    }
    skin->SetMenuBarColor(0x123456);
    EXPECT_EQ(skin->MenuBar()->Color(), 0x123456);
    // A change of look gives the bar the form's colour again.
    skin->SetUIStyle(DeepBlue);
    EXPECT_EQ(skin->MenuBar()->Color(), 0xE8E8E8);
    EXPECT_EQ(menu->UIStyle(), DeepBlue);
}

TEST_F(MenuBar, PressingAButtonDropsItsOwnerDrawnSubmenuBelowIt) {
    MakeWindow(MacOS);
    ShowForm(host);
    TToolButton* button = ButtonOf(file);
    TRect item;
    TRect menuWindow;
    DoWhenIdle([&] {
        ASSERT_TRUE(GetOpenMenuItemRect(exitItem, item));
        RECT r;
        ::GetWindowRect(OpenMenuWindows().front(), &r);
        menuWindow = r;
        EndMenu();
    });
    Click(Centre(button));
    EXPECT_EQ(item.Height(), 20) << "measured by the skinned menu: a MacOS item is 20 high";
    EXPECT_EQ(menuWindow.TopLeft(),
              skin->MenuBar()->ClientToScreen({button->Left(), button->Top() + button->Height()}));
}

TEST_F(MenuBar, MacOSPaintsTheBarAndTheHotButtonWithItsStrips) {
    MakeWindow(MacOS);
    ShowForm(host);
    TToolBar* bar = skin->MenuBar();
    TBitmap barStrip;
    ASSERT_TRUE(barStrip.LoadFromResourceName("MACOS_MENU_BAR"));
    for (int y = 0; y < bar->Height(); ++y) {
        EXPECT_EQ(PixelAt(bar, 400, y), barStrip.Pixels().At(0, y * barStrip.Height() / bar->Height())) << y;
    }
    TToolButton* button = ButtonOf(help);
    MoveTo(Centre(button));
    TBitmap select;
    ASSERT_TRUE(select.LoadFromResourceName("MACOS_MENU_SELECT"));
    TBitmap expected(button->Width(), button->Height());
    expected.Canvas()->StretchDraw({0, 0, button->Width(), button->Height()}, &select);
    for (int y = 0; y < button->Height(); ++y) {
        EXPECT_EQ(PixelAt(bar, button->Left(), y), expected.Pixels().At(0, y)) << y;
    }
    // The caption is in the selected font colour: white.
    int white = 0;
    for (int y = 0; y < button->Height(); ++y) {
        for (int x = button->Left(); x < button->Left() + button->Width(); ++x) {
            white += PixelAt(bar, x, y) == 0xFFFFFF;
        }
    }
    EXPECT_GT(white, 10);
}

TEST_F(MenuBar, OtherLooksFrameTheHotButtonAndNarrowTheDroppedOne) {
    MakeWindow(WinXP);
    ShowForm(host);
    TToolBar* bar = skin->MenuBar();
    TToolButton* button = ButtonOf(file);
    const std::uint32_t frame = ColorToPixel(0xC66931);
    const std::uint32_t fill = ColorToPixel(0xEFD3C6);
    const std::uint32_t barColour = ColorToPixel(skin->MenuBarColor());
    const int left = button->Left();
    const int right = button->Left() + button->Width();
    const int mid = button->Height() / 2;
    EXPECT_EQ(PixelAt(bar, left, mid), barColour) << "not hot: the bar shows through";
    MoveTo(Centre(button));
    EXPECT_EQ(PixelAt(bar, left, mid), frame);
    EXPECT_EQ(PixelAt(bar, right - 1, mid), frame);
    EXPECT_EQ(PixelAt(bar, left + 1, 1), fill);
    std::vector<std::uint32_t> dropped;
    DoWhenIdle([&] {
        dropped = {PixelAt(bar, right - 3, mid), PixelAt(bar, right - 2, mid), PixelAt(bar, right - 1, mid)};
        EndMenu();
    });
    Click(Centre(button));
    EXPECT_THAT(dropped, ElementsAre(frame, barColour, barColour));
}

TEST_F(MenuBar, TheKeyboardReachesTheMenuBar) {
    MakeWindow(DeepBlue);
    ShowForm(host);
    std::vector<std::string> steps;
    auto record = [&](const char* what) {
        steps.push_back(std::string(what) + (Showing(exitItem) ? " file" : "") +
                        (Showing(about) ? " help" : ""));
    };
    // Alt with an access key drops that menu.
    DoWhenIdle([&] {
        record("alt+h");
        Backend().KeyUp(VK_MENU);
        Backend().KeyDown(VK_ESCAPE);
        Backend().KeyUp(VK_ESCAPE);
    });
    KeyDown(VK_MENU);
    PressKey('H');
    EXPECT_FALSE(IsMenuActive());
    // F10 drops the first menu; the arrows move along the bar; Escape leaves it.
    DoWhenIdle([&] {
        record("f10");
        Backend().KeyDown(VK_RIGHT);
        Backend().KeyUp(VK_RIGHT);
    });
    DoWhenIdle([&] {
        record("right");
        Backend().KeyDown(VK_LEFT);
        Backend().KeyUp(VK_LEFT);
    });
    DoWhenIdle([&] {
        record("left");
        Backend().KeyDown(VK_ESCAPE);
        Backend().KeyUp(VK_ESCAPE);
    });
    PressKey(VK_F10);
    EXPECT_FALSE(IsMenuActive());
    // A lone Alt press and release does the same; Alt with anything else between does not.
    DoWhenIdle([&] {
        record("alt");
        Backend().KeyDown(VK_ESCAPE);
        Backend().KeyUp(VK_ESCAPE);
    });
    KeyDown(VK_MENU);
    KeyUp(VK_MENU);
    KeyDown(VK_MENU);
    PressKey(VK_SHIFT);
    KeyUp(VK_MENU);
    EXPECT_FALSE(IsMenuActive());
    EXPECT_THAT(steps, ElementsAre("alt+h help", "f10 file", "right", "left file", "alt file"));
}

TEST_F(MenuBar, AltF4ClosesTheWindow) {
    MakeWindow(MacOS, false);
    ShowForm(host);
    int closes = 0;
    host->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    KeyDown(VK_MENU);
    PressKey(VK_F4);
    KeyUp(VK_MENU);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(host->Visible());
}

TEST_F(MenuBar, APlainMainMenuWorksInTheBarInTheFormsLook) {
    skin = MakeSkinnedHost(WinXP);
    auto* plain = new TMainMenu(host);
    auto* item = new TMenuItem(host);
    item->SetCaption("&Window");
    plain->Items()->Add(item);
    skin->SetMenu(plain);
    EXPECT_THAT(Shown(), ElementsAre("&Window"));
    ShowForm(host);
    TToolButton* button = skin->MenuBar()->Buttons(0);
    MoveTo(Centre(button));
    EXPECT_EQ(PixelAt(skin->MenuBar(), button->Left(), button->Height() / 2), ColorToPixel(0xC66931));
    delete plain;
    EXPECT_EQ(skin->Menu(), nullptr);
    EXPECT_EQ(skin->MenuBar(), nullptr);
}

} // namespace
