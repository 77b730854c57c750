#include "tests/support/ToolkitFixture.h"
#include "toolkit/components/LayoutReader.h"
#include "toolkit/components/LayoutWriter.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/menus/MenuPainter.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const std::string& caption) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    if (parent) {
        EXPECT_TRUE(parent->Add(item));
    }
    return item;
}

std::vector<std::string> Captions(const TMenuItem* parent) {
    std::vector<std::string> out;
    for (int i = 0; i < parent->Count(); ++i) {
        out.push_back(parent->Items(i)->Caption());
    }
    return out;
}

TEST(MenuItems, InsertRefusesWhatWouldBreakTheTreeAndChangesNothing) {
    TComponent form(nullptr);
    TMainMenu menu(&form);
    TMenuItem* file = NewItem(&form, menu.Items(), "&File");
    TMenuItem* open = NewItem(&form, file, "&Open");
    TMenuItem* loose = NewItem(&form, nullptr, "Loose");

    EXPECT_FALSE(file->Add(nullptr));
    EXPECT_FALSE(file->Add(open)) << "already has a parent";
    EXPECT_FALSE(open->Add(file)) << "an ancestor into its descendant";
    EXPECT_FALSE(file->Add(file));
    EXPECT_FALSE(file->Insert(5, loose));
    EXPECT_FALSE(file->Insert(-1, loose));
    EXPECT_FALSE(file->Add(menu.Items())) << "a menu's root";
    EXPECT_FALSE(file->Delete(3));
    EXPECT_FALSE(file->Remove(loose));
    EXPECT_EQ(Captions(file), (std::vector<std::string>{"&Open"}));
    EXPECT_EQ(loose->Parent(), nullptr);

    ASSERT_TRUE(file->Insert(0, loose));
    EXPECT_EQ(Captions(file), (std::vector<std::string>{"Loose", "&Open"}));
    EXPECT_EQ(loose->GetParentMenu(), &menu);
    EXPECT_EQ(loose->GetParentComponent(), file);
    EXPECT_EQ(file->GetParentComponent(), &menu);
}

TEST(MenuItems, DeleteTakesOutWithoutFreeingWhileClearAndParentsFree) {
    TComponent form(nullptr);
    TPopupMenu menu(&form);
    TMenuItem* a = NewItem(&form, menu.Items(), "A");
    TMenuItem* b = NewItem(&form, a, "B");
    NewItem(&form, b, "C");
    const int before = form.ComponentCount();

    ASSERT_TRUE(a->Delete(0));
    EXPECT_EQ(b->Parent(), nullptr);
    EXPECT_EQ(form.ComponentCount(), before) << "Delete does not free";
    ASSERT_TRUE(a->Add(b));

    delete a; // frees B and C with it, and leaves the menu
    EXPECT_EQ(menu.Items()->Count(), 0);
    EXPECT_EQ(form.ComponentCount(), before - 3);

    TMenuItem* d = NewItem(&form, menu.Items(), "D");
    NewItem(&form, d, "E");
    menu.Items()->Clear();
    EXPECT_EQ(menu.Items()->Count(), 0);
    EXPECT_EQ(form.ComponentCount(), before - 3);
}

TEST(MenuItems, FreeingTheOwnerFreesItemsInAnyOrderOfCreation) {
    auto* form = new TComponent(nullptr);
    // Children created before their parents and parents before their menu: the owner frees
    // the last created first, so parents go before and after their children here.
    TMenuItem* child = NewItem(form, nullptr, "Child");
    TMenuItem* parent = NewItem(form, nullptr, "Parent");
    auto* menu = new TMainMenu(form);
    ASSERT_TRUE(parent->Add(child));
    ASSERT_TRUE(menu->Items()->Add(parent));
    NewItem(form, child, "Grandchild");
    delete form; // the sanitizer build catches a double free or a dangling parent here
}

TEST(MenuItems, EveryChangeReachesTheMenuWithItsSourceAndWhetherTheListChanged) {
    TComponent form(nullptr);
    TMainMenu menu(&form);
    std::vector<std::string> log;
    menu.OnChange = [&](TObject* sender, TMenuItem* source, bool rebuild) {
        EXPECT_EQ(sender, menu.Items());
        log.push_back((source ? source->Caption() : std::string("(menu)")) + (rebuild ? " rebuild" : ""));
    };
    TMenuItem* file = NewItem(&form, menu.Items(), "File");
    TMenuItem* exit = NewItem(&form, file, "Exit");
    log.clear();

    exit->SetEnabled(false);
    exit->SetEnabled(false); // no change, no report
    exit->SetChecked(true);
    exit->SetShortCut(ShortCut('Q', scCtrl));
    exit->SetCaption("Quit");
    exit->SetVisible(false);
    file->Delete(0);
    menu.SetOwnerDraw(true);
    EXPECT_EQ(log, (std::vector<std::string>{"Exit", "Exit", "Exit", "Quit rebuild", "Quit rebuild",
                                             "File rebuild", "(menu)"}));
}

TEST(MenuItems, RadioItemsOfAGroupUncheckEachOtherAndAutoCheckFollowsClicks) {
    TComponent form(nullptr);
    TPopupMenu menu(&form);
    TMenuItem* small = NewItem(&form, menu.Items(), "Small");
    TMenuItem* large = NewItem(&form, menu.Items(), "Large");
    TMenuItem* other = NewItem(&form, menu.Items(), "Other group");
    for (TMenuItem* item : {small, large, other}) {
        item->SetRadioItem(true);
        item->SetAutoCheck(true);
    }
    other->SetGroupIndex(2);
    small->SetChecked(true);
    other->SetChecked(true);
    large->Click();
    EXPECT_FALSE(small->Checked());
    EXPECT_TRUE(large->Checked());
    EXPECT_TRUE(other->Checked());
    large->Click(); // a checked radio item stays checked
    EXPECT_TRUE(large->Checked());

    TMenuItem* toggle = NewItem(&form, menu.Items(), "Toggle");
    toggle->SetAutoCheck(true);
    int clicks = 0;
    toggle->OnClick = [&](TObject*) { ++clicks; };
    toggle->Click();
    EXPECT_TRUE(toggle->Checked());
    toggle->SetEnabled(false);
    toggle->Click();
    EXPECT_TRUE(toggle->Checked());
    EXPECT_EQ(clicks, 1) << "a disabled item does not click";
}

TEST(MenuItems, FindIgnoresAccessMarksAndCaseAndMenuIndexMovesAmongSiblings) {
    TComponent form(nullptr);
    TMainMenu menu(&form);
    TMenuItem* file = NewItem(&form, menu.Items(), "&File");
    TMenuItem* save = NewItem(&form, menu.Items(), "Save && Close");
    TMenuItem* help = NewItem(&form, menu.Items(), "&Help");
    EXPECT_EQ(menu.Items()->Find("file"), file);
    EXPECT_EQ(menu.Items()->Find("&hElp"), help);
    EXPECT_EQ(menu.Items()->Find("save && close"), save);
    EXPECT_EQ(menu.Items()->Find("Edit"), nullptr);

    help->SetMenuIndex(0);
    EXPECT_EQ(Captions(menu.Items()), (std::vector<std::string>{"&Help", "&File", "Save && Close"}));
    help->SetMenuIndex(99);
    EXPECT_EQ(help->MenuIndex(), 2);
}

TEST(MenuItems, AccessKeysAreMarkedOrGivenAutomaticallyWithoutChangingCaptions) {
    EXPECT_EQ(GetHotkey("E&xit"), U'x');
    EXPECT_EQ(GetHotkey("Save && Close"), 0u);
    EXPECT_EQ(GetHotkey("A && &B"), U'B');
    EXPECT_EQ(GetHotkey("Trailing&"), 0u);

    TComponent form(nullptr);
    TPopupMenu menu(&form);
    TMenuItem* exit = NewItem(&form, menu.Items(), "&Exit");
    TMenuItem* edit = NewItem(&form, menu.Items(), "Edit");
    NewItem(&form, menu.Items(), "-");
    TMenuItem* product = NewItem(&form, menu.Items(), "Product online page");
    TMenuItem* document = NewItem(&form, menu.Items(), "Product Document");
    // Word initials come first, then any letter; E is taken by Exit.
    EXPECT_EQ(MenuItemHotkey(exit), U'E');
    // D went to "Product Document" by its word initial first.
    EXPECT_EQ(MenuItemDisplayCaption(edit), "Ed&it");
    EXPECT_EQ(MenuItemDisplayCaption(product), "&Product online page");
    EXPECT_EQ(MenuItemDisplayCaption(document), "Product &Document");
    EXPECT_EQ(edit->Caption(), "Edit");

    menu.SetAutoHotkeys(maManual);
    EXPECT_EQ(MenuItemDisplayCaption(edit), "Edit");
    EXPECT_EQ(MenuItemHotkey(edit), 0u);
    edit->SetAutoHotkeys(maAutomatic); // for its own submenu, not for itself
    EXPECT_EQ(MenuItemHotkey(edit), 0u);
}

class MenuShortCuts : public TToolkitFixture {
protected:
    TWMKey CtrlKey(WORD key) {
        KeyDown(VK_CONTROL);
        return TWMKey{WM_KEYDOWN, key, 0, 0};
    }
};

TEST_F(MenuShortCuts, TheFirstReachableItemWithTheKeyIsClickedAndTheKeyTaken) {
    TComponent form(nullptr);
    TMainMenu menu(&form);
    std::vector<std::string> clicked;
    auto add = [&](TMenuItem* parent, const std::string& caption, TShortCut shortCut) {
        TMenuItem* item = NewItem(&form, parent, caption);
        item->SetShortCut(shortCut);
        item->OnClick = [&clicked, caption](TObject*) { clicked.push_back(caption); };
        return item;
    };
    TMenuItem* file = add(menu.Items(), "File", 0);
    TMenuItem* disabledCut = add(file, "Cut (disabled)", ShortCut('X', scCtrl));
    disabledCut->SetEnabled(false);
    TMenuItem* edit = add(menu.Items(), "Edit", 0);
    TMenuItem* cut = add(edit, "Cut", ShortCut('X', scCtrl));
    TMenuItem* hidden = add(edit, "Hidden", ShortCut('H', scCtrl));
    hidden->SetVisible(false);
    TMenuItem* tools = add(menu.Items(), "Tools", 0);
    add(tools, "Under a disabled menu", ShortCut('T', scCtrl));
    tools->SetEnabled(false);

    TWMKey key = CtrlKey('X');
    EXPECT_TRUE(menu.IsShortCut(key));
    EXPECT_EQ(key.Result, 1);
    key = CtrlKey('H');
    EXPECT_TRUE(menu.IsShortCut(key)) << "hidden items keep their short-cuts";
    key = CtrlKey('T');
    EXPECT_FALSE(menu.IsShortCut(key));
    KeyUp(VK_CONTROL);
    key = TWMKey{WM_KEYDOWN, 'X', 0, 0};
    EXPECT_FALSE(menu.IsShortCut(key)) << "X without Ctrl is another key";
    EXPECT_EQ(clicked, (std::vector<std::string>{"Cut", "Hidden"}));

    cut->SetEnabled(false);
    key = CtrlKey('X');
    EXPECT_FALSE(menu.IsShortCut(key)) << "no enabled item has it: the key is left for others";
}

TEST_F(MenuShortCuts, AnItemMayFreeItsMenuFromItsShortCut) {
    auto* form = new TComponent(nullptr);
    auto* menu = new TMainMenu(form);
    TMenuItem* close = NewItem(form, menu->Items(), "Close");
    close->SetShortCut(ShortCut(VK_F4, scCtrl));
    close->OnClick = [&](TObject*) { delete form; };
    TWMKey key = CtrlKey(VK_F4);
    EXPECT_TRUE(menu->IsShortCut(key));
}

// A window class for layouts: names its menu components and the handler the items bind to.
class TMenuForm : public TComponent {
    VARNEL_CLASS(TMenuForm, TComponent)

public:
    explicit TMenuForm(TComponent* owner) : TComponent(owner) {}
    void Exit1Click(TObject*) { ++exits; }

    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Exit1 = nullptr;
    int exits = 0;
};

VARNEL_CLASS_INFO(TMenuForm, [](auto& c) {
    c.Field("MainMenu1", &TMenuForm::MainMenu1);
    c.Field("File1", &TMenuForm::File1);
    c.Field("Exit1", &TMenuForm::Exit1);
    c.Handler("Exit1Click", &TMenuForm::Exit1Click);
})

constexpr const char* kMenuLayout = R"(object Form1: TMenuForm
  object MainMenu1: TMainMenu
    AutoHotkeys = maManual
    object File1: TMenuItem
      Caption = '&File'
      object Exit1: TMenuItem
        Caption = 'Exit'
        ShortCut = 16465
        OnClick = Exit1Click
      end
    end
    object Help1: TMenuItem
      Caption = '&Help'
      Enabled = False
    end
  end
end
)";

TEST(MenuLayouts, ItemsNestInsideTheirMenuAndWriteBackTheSame) {
    RegisterMenuClasses();
    TMenuForm form(nullptr);
    TLayoutError error;
    ASSERT_TRUE(ReadLayoutText(&form, kMenuLayout, "Menu.lfm", &error)) << error.message;
    ASSERT_NE(form.MainMenu1, nullptr);
    ASSERT_EQ(form.MainMenu1->Items()->Count(), 2);
    EXPECT_EQ(form.MainMenu1->Items()->Items(0), form.File1);
    EXPECT_EQ(form.File1->Items(0), form.Exit1);
    EXPECT_EQ(form.Exit1->ShortCut(), ShortCut('Q', scCtrl));
    EXPECT_EQ(form.MainMenu1->AutoHotkeys(), maManual);
    EXPECT_FALSE(form.MainMenu1->Items()->Items(1)->Enabled());
    form.Exit1->Click();
    EXPECT_EQ(form.exits, 1);

    EXPECT_EQ(WriteLayoutText(&form), kMenuLayout);
}

TEST(MenuImages, AnImageListThatGoesLeavesTheMenuWithoutOne) {
    TComponent form(nullptr);
    TMainMenu menu(&form);
    auto* images = new TImageList(&form);
    menu.SetImages(images);
    EXPECT_TRUE(menu.IsOwnerDraw()) << "an image list makes a menu owner-drawn";
    delete images;
    EXPECT_EQ(menu.Images(), nullptr);
    EXPECT_FALSE(menu.IsOwnerDraw());
}

} // namespace
