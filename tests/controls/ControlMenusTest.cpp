#include "tests/controls/TestControls.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/menus/MenuTracker.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// A form holding a panel, and on the panel a focusable windowed control and a label.
class ControlMenus : public TControlFixture {
protected:
    void SetUp() override {
        form = NewForm();
        form->SetName("Form");
        panel = new TPanel(Application);
        panel->SetName("Panel");
        panel->SetParent(form);
        panel->SetBounds(10, 10, 200, 150);
        box = new TFocusable(Application, log);
        box->SetName("Box");
        box->SetParent(panel);
        box->SetBounds(20, 20, 60, 30);
        label = new TLabel(Application);
        label->SetName("Label");
        label->SetAutoSize(false);
        label->SetParent(panel);
        label->SetBounds(20, 80, 60, 20);
        ShowForm(form);
        ASSERT_TRUE(box->Focused());
        log.clear();
    }

    // A popup menu with the items Cut and Copy; it logs when it pops up (and for whom) and
    // which item ran.
    TPopupMenu* NewPopup(const std::string& name) {
        auto* menu = new TPopupMenu(Application);
        menu->SetName(name);
        menu->OnPopup = [this, menu](TObject*) {
            const TComponent* target = menu->PopupComponent();
            log.push_back(menu->Name() + ".popup(" + (target ? target->Name() : "none") + ")");
        };
        for (const char* caption : {"Cut", "Copy"}) {
            AddItem(menu->Items(), caption);
        }
        return menu;
    }
    TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, TShortCut shortCut = scNone) {
        auto* item = new TMenuItem(Application);
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        item->OnClick = [this, caption](TObject*) { log.push_back("click " + caption); };
        EXPECT_TRUE(parent->Add(item));
        return item;
    }
    void LogContextRequests(TControl* control, bool handle = false) {
        control->OnContextPopup = [this, control, handle](TObject*, TPoint p, bool& handled) {
            log.push_back(control->Name() + ".context(" + std::to_string(p.X) + "," + std::to_string(p.Y) +
                          ")");
            handled = handle;
        };
    }

    // Once a menu is open: notes where its window lies, then clicks the item with that caption.
    void ChooseWhenOpen(TPopupMenu* menu, const std::string& caption) {
        WhenIdle([this, menu, caption] {
            const std::vector<HWND> windows = OpenMenuWindows();
            ASSERT_EQ(windows.size(), 1u);
            RECT r;
            ::GetWindowRect(windows[0], &r);
            menuAt = {r.Left, r.Top};
            TRect item;
            ASSERT_TRUE(GetOpenMenuItemRect(menu->Items()->Find(caption), item));
            const TPoint p{(item.Left + item.Right) / 2, (item.Top + item.Bottom) / 2};
            InjectMove(p);
            InjectPress(p);
            InjectRelease(p);
        });
    }
    // A menu that must stay shut: should it open anyway, the failure shows in the log and
    // Escape closes it, so the test goes on.
    void CloseIfOpened(TPopupMenu* menu) {
        auto popup = menu->OnPopup;
        menu->OnPopup = [this, popup](TObject* sender) {
            popup(sender);
            WhenIdle([this] {
                Backend().KeyDown(VK_ESCAPE);
                Backend().KeyUp(VK_ESCAPE);
            });
        };
    }

    TEventLog log;
    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TFocusable* box = nullptr;
    TLabel* label = nullptr;
    TPoint menuAt{-1, -1};
};

TEST_F(ControlMenus, ARightClickOpensTheControlsMenuAtThePointerAfterOnContextPopup) {
    TPopupMenu* menu = NewPopup("BoxMenu");
    box->SetPopupMenu(menu);
    LogContextRequests(box);
    ChooseWhenOpen(menu, "Copy");

    // The press alone opens nothing; the release does.
    Press(At(box, 5, 6), mbRight);
    EXPECT_THAT(log, IsEmpty());
    Release(At(box, 5, 6), mbRight);

    EXPECT_THAT(log, ElementsAre("Box.context(5,6)", "BoxMenu.popup(Box)", "click Copy"));
    EXPECT_EQ(menuAt, At(box, 5, 6));
    EXPECT_EQ(menu->PopupComponent(), box);
    EXPECT_TRUE(OpenMenuWindows().empty());
}

TEST_F(ControlMenus, OnContextPopupMayTakeTheRequestAndAMenuWithoutAutoPopupStaysShut) {
    TPopupMenu* menu = NewPopup("BoxMenu");
    CloseIfOpened(menu);
    box->SetPopupMenu(menu);

    LogContextRequests(box, true);
    Click(At(box, 5, 6), mbRight);
    EXPECT_THAT(log, ElementsAre("Box.context(5,6)"));

    log.clear();
    LogContextRequests(box, false);
    menu->SetAutoPopup(false);
    Click(At(box, 5, 6), mbRight);
    EXPECT_THAT(log, ElementsAre("Box.context(5,6)"));
    EXPECT_EQ(menu->PopupComponent(), nullptr);
}

TEST_F(ControlMenus, AControlWithoutAMenuLeavesTheRequestToItsParent) {
    TPopupMenu* panelMenu = NewPopup("PanelMenu");
    panel->SetPopupMenu(panelMenu);
    LogContextRequests(box);

    // A windowed child: its own handler is asked first, then the parent's menu opens.
    ChooseWhenOpen(panelMenu, "Cut");
    Click(At(box, 7, 8), mbRight);
    EXPECT_THAT(log, ElementsAre("Box.context(7,8)", "PanelMenu.popup(Panel)", "click Cut"));
    EXPECT_EQ(menuAt, At(box, 7, 8));

    // A windowless child the same way.
    log.clear();
    ChooseWhenOpen(panelMenu, "Copy");
    Click(At(label, 3, 4), mbRight);
    EXPECT_THAT(log, ElementsAre("PanelMenu.popup(Panel)", "click Copy"));
    EXPECT_EQ(menuAt, At(label, 3, 4));

    // Once the label has a menu of its own, that one opens.
    log.clear();
    TPopupMenu* labelMenu = NewPopup("LabelMenu");
    label->SetPopupMenu(labelMenu);
    ChooseWhenOpen(labelMenu, "Cut");
    Click(At(label, 3, 4), mbRight);
    EXPECT_THAT(log, ElementsAre("LabelMenu.popup(Label)", "click Cut"));
    EXPECT_EQ(panelMenu->PopupComponent(), panel);

    // A freed menu drops out; the request goes on to the panel.
    delete labelMenu;
    EXPECT_EQ(label->PopupMenu(), nullptr);
    log.clear();
    ChooseWhenOpen(panelMenu, "Cut");
    Click(At(label, 3, 4), mbRight);
    EXPECT_THAT(log, ElementsAre("PanelMenu.popup(Panel)", "click Cut"));
}

TEST_F(ControlMenus, TheKeyboardOpensTheFocusedControlsMenuAtTheControl) {
    TPopupMenu* menu = NewPopup("BoxMenu");
    box->SetPopupMenu(menu);
    LogContextRequests(box);
    const auto menuLog = [this] {
        TEventLog out;
        for (const std::string& line : log) {
            if (line.find(".keydown") == std::string::npos) {
                out.push_back(line);
            }
        }
        return out;
    };

    // The context-menu key, as it is released; the control hears the middle of itself.
    ChooseWhenOpen(menu, "Cut");
    KeyDown(VK_APPS);
    EXPECT_THAT(menuLog(), IsEmpty());
    KeyUp(VK_APPS);
    EXPECT_THAT(menuLog(), ElementsAre("Box.context(30,15)", "BoxMenu.popup(Box)", "click Cut"));
    EXPECT_EQ(menuAt, At(box, 0, 0));

    // Shift+F10 as it goes down.
    log.clear();
    ChooseWhenOpen(menu, "Copy");
    KeyDown(VK_SHIFT);
    KeyDown(VK_F10);
    EXPECT_THAT(menuLog(), ElementsAre("Box.context(30,15)", "BoxMenu.popup(Box)", "click Copy"));
    KeyUp(VK_F10);
    KeyUp(VK_SHIFT);

    // F10 alone and Ctrl+F10 are other keys.
    log.clear();
    CloseIfOpened(menu);
    PressKey(VK_F10);
    KeyDown(VK_CONTROL);
    PressKey(VK_F10);
    KeyUp(VK_CONTROL);
    EXPECT_THAT(menuLog(), IsEmpty());
}

// ---- Main menu short-cuts ----------------------------------------------------------------------------

class MainMenuShortCuts : public ControlMenus {
protected:
    void SetUp() override {
        ControlMenus::SetUp();
        mainMenu = new TMainMenu(Application);
        TMenuItem* file = AddItem(mainMenu->Items(), "&File");
        AddItem(file, "Cu&t", ShortCut('X', scCtrl));
        AddItem(file, "&Paste", ShortCut('V', scCtrl))->SetEnabled(false);
        AddItem(file, "&Rename", ShortCut(VK_F2, 0));
        AddItem(file, "&Hidden", ShortCut('H', scCtrl))->SetVisible(false);
        TMenuItem* edit = AddItem(mainMenu->Items(), "&Edit");
        AddItem(edit, "&Find", ShortCut('F', scCtrl));
        edit->SetEnabled(false);
        form->SetMenu(mainMenu);
    }
    void Chord(int modifier, int key) {
        KeyDown(modifier);
        PressKey(key);
        KeyUp(modifier);
    }
    // The log without the modifier keys going down.
    TEventLog Log() const {
        TEventLog out;
        for (const std::string& line : log) {
            if (!line.ends_with("(16)") && !line.ends_with("(17)")) {
                out.push_back(line);
            }
        }
        return out;
    }

    TMainMenu* mainMenu = nullptr;
};

TEST_F(MainMenuShortCuts, AShortCutRunsItsItemInsteadOfReachingTheControl) {
    Chord(VK_CONTROL, 'X');
    EXPECT_THAT(Log(), ElementsAre("click Cu&t"));
    // An item that is only hidden still answers its short-cut, as a hidden menu bar's do.
    log.clear();
    Chord(VK_CONTROL, 'H');
    EXPECT_THAT(Log(), ElementsAre("click &Hidden"));
    // Keys that are no short-cut go on to the focused control, with the character they type.
    log.clear();
    Chord(VK_CONTROL, 'Q');
    EXPECT_THAT(Log(), ElementsAre("Box.keydown(81)", "Box.keypress(\x11)"));
}

TEST_F(MainMenuShortCuts, DisabledItemsAndItemsUnderADisabledSubmenuLeaveTheKeyAlone) {
    Chord(VK_CONTROL, 'V');
    Chord(VK_CONTROL, 'F');
    EXPECT_THAT(
        Log(), ElementsAre("Box.keydown(86)", "Box.keypress(\x16)", "Box.keydown(70)", "Box.keypress(\x06)"));
}

TEST_F(MainMenuShortCuts, TheFormsOnShortCutIsAskedFirst) {
    form->OnShortCut = [this](TMessage& m, bool& handled) {
        log.push_back("Form.shortcut(" + std::to_string(m.WParam) + ")");
        handled = m.WParam == VK_F2;
    };
    PressKey(VK_F2);
    Chord(VK_CONTROL, 'X');
    EXPECT_THAT(Log(), ElementsAre("Form.shortcut(113)", "Form.shortcut(88)", "click Cu&t"));
}

TEST_F(MainMenuShortCuts, AFreedMenuDropsOutAndAnItemMayFreeTheForm) {
    delete mainMenu;
    EXPECT_EQ(form->Menu(), nullptr);
    Chord(VK_CONTROL, 'X');
    EXPECT_THAT(Log(), ElementsAre("Box.keydown(88)", "Box.keypress(\x18)"));

    // A short-cut whose item closes the whole form: nothing touches the form afterwards.
    auto* menu = new TMainMenu(Application);
    TMenuItem* quit = AddItem(menu->Items(), "&Quit", ShortCut('Q', scCtrl));
    form->SetMenu(menu);
    quit->OnClick = [this](TObject*) {
        log.push_back("quit");
        delete form;
        form = nullptr;
    };
    log.clear();
    Chord(VK_CONTROL, 'Q');
    EXPECT_THAT(Log(), ElementsAre("quit"));
    EXPECT_EQ(menu->WindowHandle(), 0u);
}

TEST_F(MainMenuShortCuts, TheMenuBelongsToTheFormsWindowWhileItHasOne) {
    EXPECT_EQ(mainMenu->WindowHandle(), form->Handle());
    auto* other = new TMainMenu(Application);
    form->SetMenu(other);
    EXPECT_EQ(mainMenu->WindowHandle(), 0u);
    EXPECT_EQ(other->WindowHandle(), form->Handle());
}

} // namespace
