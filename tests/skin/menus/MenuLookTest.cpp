#include "skin/core/SUIMgr.h"
#include "skin/core/SUIThemeFileWriter.h"
#include "skin/menus/SUIMenu.h"
#include "tests/support/ToolkitFixture.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/windowing/WinUser.h"

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> PropertyNames(const TClassInfo& cls) {
    std::vector<std::string> names;
    for (const TPropInfo* p : cls.Properties()) {
        names.push_back(p->Name());
    }
    return names;
}

// The metrics and the six menu colours a look gives, as its menus must show them.
struct TLookRow {
    TsuiUIStyle Style;
    int ItemHeight;
    int SeparatorHeight;
    TColor SeparatorColor;
    TColor BarColor;
    TColor Color;
    TColor FontColor;
    TColor SelectedBorderColor;
    TColor SelectedColor;
    TColor SelectedFontColor;
};

constexpr TLookRow kLooks[] = {
    {MacOS, 20, 12, 0, 0, 0, 0, 12874553, 12874553, 16777215},
    {WinXP, 21, 5, 8684164, 13554646, 16777215, 0, 13003057, 15717318, 0},
    {DeepBlue, 21, 5, 8684164, 13554646, 16777215, 0, 10504772, 10504772, 16777215},
    {Protein, 21, 5, 8684164, 13554646, 16777215, 0, 12857389, 12857389, 16777215},
    {BlueGlass, 21, 5, 8684164, 13554646, 15198183, 0, 15490654, 15490654, 16777215},
    // Without a theme file the file's look falls back to DeepBlue's colours, with the heights of
    // every look but MacOS.
    {FromThemeFile, 21, 5, 8684164, 13554646, 16777215, 0, 10504772, 10504772, 16777215},
};

template <typename Menu>
void ExpectLook(const Menu& menu, const TLookRow& row) {
    SCOPED_TRACE(std::string(kUIStyleNames[row.Style]));
    EXPECT_EQ(menu.UIStyle(), row.Style);
    EXPECT_EQ(menu.MenuItemHeight(), row.ItemHeight);
    EXPECT_EQ(menu.SeparatorHeight(), row.SeparatorHeight);
    EXPECT_EQ(menu.SeparatorColor(), row.SeparatorColor);
    EXPECT_EQ(menu.BarWidth(), 26);
    EXPECT_EQ(menu.BarColor(), row.BarColor);
    EXPECT_EQ(menu.Color(), row.Color);
    EXPECT_EQ(menu.FontColor(), row.FontColor);
    EXPECT_EQ(menu.SelectedBorderColor(), row.SelectedBorderColor);
    EXPECT_EQ(menu.SelectedColor(), row.SelectedColor);
    EXPECT_EQ(menu.SelectedFontColor(), row.SelectedFontColor);
}

TEST(SkinnedMenuLook, EveryLookSetsItsMetricsAndColoursOverWhatTheUserChanged) {
    TsuiMainMenu main(nullptr);
    TsuiPopupMenu popup(nullptr);
    for (const TLookRow& row : kLooks) {
        main.SetBarWidth(3);
        main.SetColor(0x010203);
        main.SetSeparatorColor(0x0A0B0C);
        main.SetUIStyle(row.Style);
        ExpectLook(main, row);
        popup.SetBarWidth(0);
        popup.SetSelectedColor(0x777777);
        popup.SetUIStyle(row.Style);
        ExpectLook(popup, row);
    }
}

TEST(SkinnedMenuLook, ANewMenuWithoutASkinnedFormHasTheDeepBlueLookAndTheDefaultFontSettings) {
    TComponent owner(nullptr);
    TsuiPopupMenu menu(&owner);
    ExpectLook(menu, kLooks[2]);
    EXPECT_EQ(menu.BorderColor(), 0);
    EXPECT_FALSE(menu.FlatMenu());
    EXPECT_EQ(menu.FontName(), "MS Sans Serif");
    EXPECT_EQ(menu.FontSize(), 8);
    EXPECT_EQ(menu.FontCharset(), DEFAULT_CHARSET);
    EXPECT_TRUE(menu.UseSystemFont());
    EXPECT_EQ(menu.FileTheme(), nullptr);
}

TEST(SkinnedMenuLook, HeightsAreFixedUnderMacOSAndFreeInTheOtherLooks) {
    TsuiPopupMenu menu(nullptr);
    menu.SetUIStyle(MacOS);
    menu.SetMenuItemHeight(30);
    menu.SetSeparatorHeight(9);
    EXPECT_EQ(menu.MenuItemHeight(), 20);
    EXPECT_EQ(menu.SeparatorHeight(), 12);
    menu.SetUIStyle(Protein);
    menu.SetMenuItemHeight(30);
    menu.SetSeparatorHeight(9);
    EXPECT_EQ(menu.MenuItemHeight(), 30);
    EXPECT_EQ(menu.SeparatorHeight(), 9);
}

TEST(SkinnedMenuLook, BothMenusPublishTheLookPropertiesInOrderAndAlwaysWriteThem) {
    const std::vector<std::string> look = {
        "OwnerDraw",     "FileTheme",         "UIStyle",     "MenuItemHeight", "SeparatorHeight",
        "BarWidth",      "BarColor",          "Color",       "SeparatorColor", "SelectedBorderColor",
        "SelectedColor", "SelectedFontColor", "FontColor",   "BorderColor",    "FlatMenu",
        "FontName",      "FontSize",          "FontCharset", "UseSystemFont"};
    std::vector<std::string> main = {"Name", "Tag", "AutoHotkeys"};
    main.insert(main.end(), look.begin(), look.end());
    main.push_back("Images");
    EXPECT_EQ(PropertyNames(TsuiMainMenu::StaticClassInfo()), main);

    const std::vector<std::string> names = PropertyNames(TsuiPopupMenu::StaticClassInfo());
    ASSERT_GE(names.size(), look.size());
    EXPECT_EQ(std::vector<std::string>(names.end() - static_cast<std::ptrdiff_t>(look.size()), names.end()),
              look);

    TsuiPopupMenu menu(nullptr);
    for (const std::string& name : look) {
        const TPropInfo* prop = TsuiPopupMenu::StaticClassInfo().FindProperty(name);
        ASSERT_NE(prop, nullptr) << name;
        if (prop->Kind() != TPropKind::Component) {
            EXPECT_FALSE(prop->IsDefaultValue(&menu)) << name << " has a stored default";
        }
    }
}

TEST(SkinnedMenuLook, OwnerDrawAlwaysReadsTrueAndTheToolkitDrawsNoItemItself) {
    TsuiMainMenu main(nullptr);
    TsuiPopupMenu popup(nullptr);
    ASSERT_TRUE(SetPropText(&main, "OwnerDraw", "False"));
    ASSERT_TRUE(SetPropText(&popup, "OwnerDraw", "False"));
    EXPECT_EQ(GetPropText(&main, "OwnerDraw"), "True");
    EXPECT_EQ(GetPropText(&popup, "OwnerDraw"), "True");
    EXPECT_TRUE(main.IsOwnerDraw());
    EXPECT_TRUE(popup.IsOwnerDraw());
}

TEST(SkinnedMenuLook, AMainMenuKeepsItsOwnCheckMarksAndShowsOnlyTheUsersImageList) {
    TsuiMainMenu first(nullptr);
    TsuiMainMenu second(nullptr);
    TsuiPopupMenu popup(nullptr);
    TsuiPopupMenu other(nullptr);
    ASSERT_NE(first.CheckMarkImages(), nullptr);
    EXPECT_NE(first.CheckMarkImages(), second.CheckMarkImages());
    EXPECT_EQ(popup.CheckMarkImages(), other.CheckMarkImages());
    EXPECT_NE(popup.CheckMarkImages(), first.CheckMarkImages());
    for (TImageList* list : {first.CheckMarkImages(), popup.CheckMarkImages()}) {
        EXPECT_EQ(list->Count(), 1);
        EXPECT_EQ(list->Width(), 16);
    }

    // The private list is the toolkit's list while the user has given none.
    EXPECT_EQ(first.Images(), nullptr);
    EXPECT_EQ(static_cast<TMenu&>(first).Images(), first.CheckMarkImages());
    TImageList user(16, 16);
    first.SetImages(&user);
    EXPECT_EQ(first.Images(), &user);
    EXPECT_EQ(static_cast<TMenu&>(first).Images(), &user);
    first.SetImages(nullptr);
    EXPECT_EQ(first.Images(), nullptr);
    EXPECT_EQ(static_cast<TMenu&>(first).Images(), first.CheckMarkImages());
    EXPECT_TRUE(first.IsOwnerDraw());

    // A user list that goes leaves the menu without images, but still drawn by itself.
    auto* going = new TImageList(16, 16);
    first.SetImages(going);
    delete going;
    EXPECT_EQ(first.Images(), nullptr);
    EXPECT_EQ(static_cast<TMenu&>(first).Images(), first.CheckMarkImages());
    EXPECT_TRUE(first.IsOwnerDraw());
}

TEST(SkinnedMenuLook, HookingReachesEveryItemToAnyDepth) {
    TsuiPopupMenu menu(nullptr);
    auto add = [](TMenuItem* parent) {
        auto* item = new TMenuItem(nullptr);
        EXPECT_TRUE(parent->Add(item));
        return item;
    };
    TMenuItem* a = add(menu.Items());
    TMenuItem* b = add(a);
    TMenuItem* c = add(b);
    TMenuItem* d = add(menu.Items());
    menu.HookMenuItems(a);
    for (TMenuItem* item : {a, b, c}) {
        EXPECT_TRUE(item->OnDrawItem && item->OnMeasureItem);
    }
    EXPECT_FALSE(d->OnDrawItem || d->OnMeasureItem);
    menu.Loaded();
    EXPECT_TRUE(d->OnDrawItem && d->OnMeasureItem);
    EXPECT_FALSE(menu.Items()->OnDrawItem) << "the root item is never drawn";
}

// ---- Theme files --------------------------------------------------------------------------------------

class SkinnedMenuTheme : public TToolkitFixture {
protected:
    void SetUp() override {
        m_dir = testing::TempDir() + "menu-theme-" + std::to_string(::getpid());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override {
        std::filesystem::remove_all(m_dir);
        TToolkitFixture::TearDown();
    }

    std::string WriteTheme() const {
        TsuiThemeFileWriter writer;
        writer.AddInteger("MenuBarColor", 0x000011);
        writer.AddInteger("MenuBackgroundColor", 0x000022);
        writer.AddInteger("MenuFontColor", 0x000033);
        writer.AddInteger("MenuSelectedBorderColor", 0x000044);
        writer.AddInteger("MenuSelectedBackgroundColor", 0x000055);
        writer.AddInteger("MenuSelectedFontColor", 0x000066);
        const std::string path = m_dir + "/menu.theme";
        EXPECT_TRUE(writer.SaveToFile(path).IsOk());
        return path;
    }

    std::string m_dir;
};

TEST_F(SkinnedMenuTheme, ALoadedThemeFileGivesTheColoursAndAFreedOneLeavesDeepBlue) {
    TComponent form(nullptr);
    auto* theme = new TsuiFileTheme(&form);
    ASSERT_TRUE(theme->SetThemeFile(WriteTheme()).IsOk());
    TsuiMainMenu menu(&form);
    menu.SetUIStyle(FromThemeFile);
    menu.SetFileTheme(theme);
    EXPECT_EQ(menu.MenuItemHeight(), 21);
    EXPECT_EQ(menu.SeparatorHeight(), 5);
    EXPECT_EQ(menu.BarColor(), 0x000011);
    EXPECT_EQ(menu.Color(), 0x000022);
    EXPECT_EQ(menu.FontColor(), 0x000033);
    EXPECT_EQ(menu.SelectedBorderColor(), 0x000044);
    EXPECT_EQ(menu.SelectedColor(), 0x000055);
    EXPECT_EQ(menu.SelectedFontColor(), 0x000066);

    // A theme file only counts for FromThemeFile.
    menu.SetUIStyle(WinXP);
    ExpectLook(menu, kLooks[1]);
    menu.SetUIStyle(FromThemeFile);

    delete theme;
    EXPECT_EQ(menu.FileTheme(), nullptr);
    ExpectLook(menu, kLooks[2]);
}

TEST_F(SkinnedMenuTheme, AThemeOfAnotherOwnerIsForgottenWhenItGoes) {
    TComponent form(nullptr);
    auto* elsewhere = new TComponent(nullptr);
    auto* theme = new TsuiFileTheme(elsewhere);
    TsuiPopupMenu menu(&form);
    menu.SetUIStyle(MacOS);
    menu.SetFileTheme(theme);
    EXPECT_EQ(menu.UIStyle(), MacOS);
    delete elsewhere;
    EXPECT_EQ(menu.FileTheme(), nullptr);
    EXPECT_EQ(menu.UIStyle(), DeepBlue);
    EXPECT_EQ(menu.MenuItemHeight(), 21);
}

// ---- The system font ---------------------------------------------------------------------------------

TEST(SystemMenuFont, WithoutAWindowSystemTheFontStaysAsItWas) {
    ASSERT_EQ(TWindowSystem::Current(), nullptr);
    TFont font;
    font.SetName("Serif");
    font.SetSize(14);
    font.SetColor(0x123456);
    SetSystemMenuFont(&font);
    SetSystemMenuFont(nullptr);
    EXPECT_EQ(font.Name(), "Serif");
    EXPECT_EQ(font.Size(), 14);
    EXPECT_EQ(font.Color(), 0x123456);
}

class SystemMenuFontTest : public TToolkitFixture {};

TEST_F(SystemMenuFontTest, TheFontComesFromTheNonClientMetricsInMenuTextColour) {
    NONCLIENTMETRICS metrics;
    ASSERT_EQ(metrics.cbSize, 340u);
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    TFont font;
    font.SetName("Serif");
    font.SetSize(14);
    font.SetStyle(TFontStyles{fsItalic});
    SetSystemMenuFont(&font);
    EXPECT_EQ(font.Name(), metrics.lfMenuFont.lfFaceName);
    EXPECT_EQ(font.Height(), metrics.lfMenuFont.lfHeight);
    EXPECT_EQ(font.Style(), TFontStyles{});
    EXPECT_EQ(font.Color(), clMenuText);
}

} // namespace
