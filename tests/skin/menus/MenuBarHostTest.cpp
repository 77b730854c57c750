#include "skin/menus/SUIMenu.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/menus/MenuItem.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string>* g_hostLog = nullptr;

// The skinned form panel as the menu sees it: a control of the class named TsuiForm that
// publishes UIStyle and Menu and shows the menu's items in its bar. Its Menu setter links and
// unlinks the menu as the real one does.
class TsuiForm : public TCustomControl, public TsuiMenuBarHost {
    VARNEL_CLASS(TsuiForm, TCustomControl)

public:
    explicit TsuiForm(TComponent* owner) : TCustomControl(owner) {}
    ~TsuiForm() override { SetMenu(nullptr); }

    TsuiUIStyle UIStyle() const { return m_style; }
    void SetUIStyle(TsuiUIStyle style) { m_style = style; }
    TMainMenu* Menu() const { return m_menu; }
    void SetMenu(TMainMenu* menu) {
        if (auto* old = dynamic_cast<TsuiMainMenu*>(m_menu)) {
            old->SetMenuBarHost(nullptr);
            old->RemoveFreeNotification(this);
        }
        m_menu = menu;
        if (auto* skinned = dynamic_cast<TsuiMainMenu*>(m_menu)) {
            skinned->SetMenuBarHost(this);
            skinned->FreeNotification(this);
        }
        Log(std::string("Menu := ") + (menu ? menu->Name().empty() ? "menu" : menu->Name() : "none"));
    }

    void RebuildMenuBar() override { Log("RebuildMenuBar " + Captions()); }
    void RefreshMenuBar() override { Log("RefreshMenuBar " + Captions()); }
    void UpdateMenuBarFont() override { Log("UpdateMenuBarFont"); }

    void Notification(TComponent* component, TOperation operation) override {
        TCustomControl::Notification(component, operation);
        if (operation == opRemove && component == m_menu) {
            m_menu = nullptr;
        }
    }

private:
    static void Log(const std::string& line) {
        if (g_hostLog) {
            g_hostLog->push_back(line);
        }
    }
    // The visible top-level items, as a bar would show them.
    std::string Captions() const {
        std::string out;
        if (m_menu) {
            for (int i = 0; i < m_menu->Items()->Count(); ++i) {
                const TMenuItem* item = m_menu->Items()->Items(i);
                if (item->Visible()) {
                    out += "[" + item->Caption() + (item->Enabled() ? "" : " off") + "]";
                }
            }
        }
        return out;
    }

    TsuiUIStyle m_style = DeepBlue;
    TMainMenu* m_menu = nullptr;
};

} // namespace

VARNEL_CLASS_INFO(TsuiForm, [](auto& c) {
    c.Enum("UIStyle", UIStyleInfo, &TsuiForm::UIStyle, &TsuiForm::SetUIStyle);
    c.Component("Menu", &TsuiForm::Menu, &TsuiForm::SetMenu);
})

namespace {

class MenuBarHost : public TControlFixture {
protected:
    MenuBarHost() { g_hostLog = &log; }
    ~MenuBarHost() override { g_hostLog = nullptr; }

    TsuiForm* PlaceSkinnedForm(TForm* form, TsuiUIStyle style) {
        auto* panel = new TsuiForm(form);
        panel->SetParent(form);
        panel->SetUIStyle(style);
        return panel;
    }
    static TMenuItem* AddItem(TMenuItem* parent, const std::string& caption) {
        auto* item = new TMenuItem(parent->Owner() ? parent->Owner() : nullptr);
        item->SetCaption(caption);
        EXPECT_TRUE(parent->Add(item));
        return item;
    }

    std::vector<std::string> log;
};

TEST_F(MenuBarHost, ANewMainMenuTakesTheFormsLookClearsItsOwnMenuAndAttachesToTheFirstSkinnedForm) {
    TForm* form = NewForm();
    TMainMenu plain(form);
    form->SetMenu(&plain);
    auto* other = new TCustomControl(form);
    other->SetParent(form);
    TsuiForm* first = PlaceSkinnedForm(form, Protein);
    TsuiForm* second = PlaceSkinnedForm(form, WinXP);

    auto* menu = new TsuiMainMenu(form);
    EXPECT_EQ(form->Menu(), nullptr);
    EXPECT_EQ(menu->UIStyle(), Protein);
    EXPECT_EQ(first->Menu(), menu);
    EXPECT_EQ(menu->MenuBarHost(), static_cast<TsuiMenuBarHost*>(first));
    EXPECT_EQ(second->Menu(), nullptr);

    // The form frees the menu: the panel hears of it and the link goes with it.
    delete menu;
    EXPECT_EQ(first->Menu(), nullptr);
}

TEST_F(MenuBarHost, AMenuOnAnythingButAFormAttachesNowhere) {
    TComponent holder(nullptr);
    TsuiMainMenu menu(&holder);
    EXPECT_EQ(menu.MenuBarHost(), nullptr);
    EXPECT_EQ(menu.UIStyle(), DeepBlue);
    TsuiMainMenu orphan(nullptr);
    EXPECT_EQ(orphan.MenuBarHost(), nullptr);
}

TEST_F(MenuBarHost, LoadingRebuildsTheBarOnceAndLaterChangesRefreshOrRebuildIt) {
    TForm* form = NewForm();
    PlaceSkinnedForm(form, MacOS);
    auto* menu = new TsuiMainMenu(form);
    log.clear();

    // Items arriving while loading say nothing; Loaded builds the bar from all of them.
    menu->SetLoadingState(true);
    TMenuItem* file = AddItem(menu->Items(), "&File");
    AddItem(file, "E&xit");
    TMenuItem* help = AddItem(menu->Items(), "&Help");
    menu->Loaded();
    menu->SetLoadingState(false);
    EXPECT_EQ(log, (std::vector<std::string>{"RebuildMenuBar [&File][&Help]"}));

    log.clear();
    help->SetEnabled(false);
    help->SetCaption("&Info");
    file->Items(0)->SetCaption("&Quit");
    EXPECT_EQ(log, (std::vector<std::string>{"RefreshMenuBar [&File][&Help off]",
                                             "RefreshMenuBar [&File][&Info off]",
                                             "RefreshMenuBar [&File][&Info off]"}));

    // Items coming, going or hiding rebuild the bar, so no button outlives its item.
    log.clear();
    TMenuItem* view = AddItem(menu->Items(), "&View");
    view->SetVisible(false);
    delete help;
    EXPECT_EQ(log, (std::vector<std::string>{"RebuildMenuBar [&File][&Info off][&View]",
                                             "RebuildMenuBar [&File][&Info off]", "RebuildMenuBar [&File]"}));

    log.clear();
    menu->SetUseSystemFont(false);
    EXPECT_EQ(log, (std::vector<std::string>{"UpdateMenuBarFont"}));
}

TEST_F(MenuBarHost, AMenuTheFormDroppedTellsNobody) {
    TForm* form = NewForm();
    TsuiForm* panel = PlaceSkinnedForm(form, MacOS);
    auto* menu = new TsuiMainMenu(form);
    panel->SetMenu(nullptr);
    log.clear();
    AddItem(menu->Items(), "&File");
    menu->SetUseSystemFont(false);
    menu->Loaded();
    EXPECT_TRUE(log.empty());
}

} // namespace
