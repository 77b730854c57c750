#include "skin/core/SUIThemes.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIThemeFileWriter.h"

#include <cctype>
#include <filesystem>
#include <set>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using E = TsuiThemeElement;

TsuiThemeElement Element(int n) {
    return static_cast<TsuiThemeElement>(n);
}

} // namespace

TEST(SUIThemes, TypedReadsGiveTheValueOnlyForTheMatchingKind) {
    EXPECT_EQ(GetBuiltInThemeInt(WinXP, Element(8)), -2);
    EXPECT_EQ(GetBuiltInThemeColor(MacOS, Element(25)), 0x7F7F7F);
    EXPECT_EQ(GetBuiltInThemeColor(MacOS, Element(13)), 0); // element 13 is an integer
    EXPECT_EQ(GetBuiltInThemeInt(MacOS, E::ControlBorderColor), -1);
    EXPECT_FALSE(GetBuiltInThemeBool(MacOS, E::FormMinWidthInt));
    EXPECT_EQ(GetBuiltInThemeInt(BlueGlass, E::FormMinWidthInt), 270);
    EXPECT_EQ(GetBuiltInThemeInt(BlueGlass, E::TitleBarButtonRightOffsetInt), -3);
    EXPECT_EQ(GetBuiltInThemeColor(WinXP, E::ControlFontColor), 0xCF4602);
    EXPECT_EQ(GetBuiltInThemeColor(WinXP, E::FormBorderColor), 0xC82C00);
    EXPECT_EQ(GetBuiltInThemeColor(Protein, E::MenuSelectedBackgroundColor), 0xC4302D);
    EXPECT_EQ(GetBuiltInThemeInt(MacOS, E::ButtonImage), -1);
    EXPECT_EQ(GetBuiltInThemeColor(MacOS, E::ButtonImage), 0);
}

TEST(SUIThemes, BooleansOfEveryLook) {
    std::vector<bool> button, titleButton;
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        button.push_back(GetBuiltInThemeBool(style, E::ButtonTransparentBool));
        titleButton.push_back(GetBuiltInThemeBool(style, E::TitleBarButtonTransparentBool));
    }
    EXPECT_EQ(button, (std::vector<bool>{true, false, false, false, true}));
    EXPECT_EQ(titleButton, (std::vector<bool>{false, false, false, true, true}));
}

TEST(SUIThemes, StylesWithoutATableAndElementsOutsideTheRangeGiveTheFallbacks) {
    const TsuiUIStyle notALook = static_cast<TsuiUIStyle>(6);
    for (TsuiUIStyle style : {FromThemeFile, notALook}) {
        for (int n : {1, 2, 8, 15}) {
            TsuiThemeEntry entry = GetBuiltInThemeEntry(style, Element(n));
            EXPECT_EQ(entry.Kind, TsuiThemeValueKind::Integer);
            EXPECT_EQ(entry.Value, -1);
            EXPECT_EQ(GetBuiltInThemeInt(style, Element(n)), -1);
            EXPECT_EQ(GetBuiltInThemeColor(style, Element(n)), 0);
            EXPECT_FALSE(GetBuiltInThemeBool(style, Element(n)));
        }
    }
    for (int n : {0, 43, -1, 1000}) {
        EXPECT_EQ(GetBuiltInThemeEntry(MacOS, Element(n)).Value, -1);
        EXPECT_TRUE(ThemeElementKey(Element(n)).empty());
    }
}

TEST(SUIThemes, EveryElementHasAKeyThatNamesItAndAKindItsKeyAgreesWith) {
    std::set<std::string> keys;
    for (int n = 1; n <= kThemeElementCount; ++n) {
        const std::string key(ThemeElementKey(Element(n)));
        SCOPED_TRACE(key);
        EXPECT_TRUE(keys.insert(key).second);
        EXPECT_EQ(FindThemeElement(key), Element(n));
        std::string lower = key;
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        EXPECT_EQ(FindThemeElement(lower), Element(n));

        const TsuiThemeValueKind kind = ThemeElementKind(Element(n));
        const TsuiThemeValueKind byName = key.ends_with("Image")   ? TsuiThemeValueKind::Bitmap
                                          : key.ends_with("Bool")  ? TsuiThemeValueKind::Boolean
                                          : key.ends_with("Int")   ? TsuiThemeValueKind::Integer
                                          : key.ends_with("Color") ? TsuiThemeValueKind::Color
                                                                   : TsuiThemeValueKind(99);
        EXPECT_EQ(kind, byName);
        for (TsuiUIStyle style : kBuiltInUIStyles) {
            TsuiThemeEntry entry = GetBuiltInThemeEntry(style, Element(n));
            EXPECT_EQ(entry.Kind, kind);
            EXPECT_EQ(entry.Resource.empty(), kind != TsuiThemeValueKind::Bitmap);
            if (kind == TsuiThemeValueKind::Boolean) {
                EXPECT_TRUE(entry.Value == 0 || entry.Value == 1);
            }
            if (kind == TsuiThemeValueKind::Bitmap && entry.Resource != "MORE_SCROLLBUTTON") {
                std::string prefix(kUIStyleNames[style]);
                for (char& c : prefix) {
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
                }
                EXPECT_TRUE(entry.Resource.starts_with(prefix + "_")) << entry.Resource;
            }
        }
    }
    EXPECT_EQ(ThemeElementKey(E::ButtonImage), "ButtonImage");
    EXPECT_EQ(ThemeElementKey(E::SideChannelBarImage), "SideChannelBarImage");
    EXPECT_EQ(FindThemeElement("NoSuchKey"), std::nullopt);
    EXPECT_EQ(GetBuiltInThemeEntry(DeepBlue, E::ScrollButtonImage).Resource, "MORE_SCROLLBUTTON");
    EXPECT_EQ(GetBuiltInThemeEntry(WinXP, E::ScrollButtonImage).Resource, "WINXP_SCROLLBUTTON");
}

TEST(SUIThemes, ResolveUIStyleUsesTheFileOnlyForFromThemeFileWithALoadedTheme) {
    TsuiUIStyle effective = MacOS;
    EXPECT_FALSE(ResolveUIStyle(nullptr, FromThemeFile, effective));
    EXPECT_EQ(effective, DeepBlue);

    TsuiFileTheme unloaded(nullptr);
    EXPECT_FALSE(ResolveUIStyle(&unloaded, FromThemeFile, effective));
    EXPECT_EQ(effective, DeepBlue);

    const std::string file = testing::TempDir() + "resolve-" + std::to_string(::getpid()) + ".theme";
    TsuiThemeFileWriter writer;
    writer.AddInteger("FormMinWidthInt", 1);
    ASSERT_TRUE(writer.SaveToFile(file).IsOk());
    TsuiFileTheme loaded(nullptr);
    ASSERT_TRUE(loaded.SetThemeFile(file).IsOk());
    ASSERT_TRUE(loaded.IsThemeLoaded());

    EXPECT_TRUE(ResolveUIStyle(&loaded, FromThemeFile, effective));
    EXPECT_EQ(effective, FromThemeFile);
    EXPECT_FALSE(ResolveUIStyle(&loaded, MacOS, effective)); // a built-in look ignores the file
    EXPECT_EQ(effective, MacOS);
    EXPECT_FALSE(ResolveUIStyle(nullptr, Protein, effective));
    EXPECT_EQ(effective, Protein);
    std::filesystem::remove(file);
}
