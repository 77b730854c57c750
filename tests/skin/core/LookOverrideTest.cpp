// A look named on a command line: built-in looks by name, and theme files loaded from exactly the
// path given.

#include "skin/core/SUILookOverride.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/SUIThemeFileWriter.h"

#include <filesystem>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(LookOverride, BuiltInLooksAreFoundByNameInAnyLetterCase) {
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        EXPECT_EQ(FindBuiltInLook(kUIStyleNames[style]), style);
    }
    EXPECT_EQ(FindBuiltInLook("winxp"), WinXP);
    EXPECT_EQ(FindBuiltInLook("BLUEGLASS"), BlueGlass);
    for (const char* other : {"FromThemeFile", "", "WinXP ", "Win", "WinXP2", "Mac OS"}) {
        EXPECT_EQ(FindBuiltInLook(other), std::nullopt) << other;
    }
    EXPECT_EQ(BuiltInLookNames(), "MacOS, WinXP, DeepBlue, Protein, BlueGlass");
}

TEST(LookOverride, AThemeFileIsLoadedFromExactlyItsPathOrNotAtAll) {
    const fs::path dir = fs::path(testing::TempDir()) / ("look-override-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    TsuiThemeFileWriter writer;
    writer.AddInteger("FormMinWidthInt", 321);
    const std::string good = (dir / "good.theme").string();
    ASSERT_TRUE(writer.SaveToFile(good).IsOk());
    // A file of the name asked for lies beside the program: a theme named by path must not
    // quietly become that one.
    const std::string name = "look-override-" + std::to_string(::getpid()) + ".theme";
    ASSERT_TRUE(writer.SaveToFile(GetProgramFolder() + name).IsOk());
    const std::string damaged = (dir / "damaged.theme").string();
    {
        std::vector<std::byte> bytes;
        ASSERT_TRUE(writer.Build(bytes).IsOk());
        bytes.resize(bytes.size() - 10);
        std::FILE* file = std::fopen(damaged.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }

    const struct {
        std::string path;
        const char* message;
    } refused[] = {
        {(dir / name).string(), "No such file or directory"},
        {dir.string(), "not a regular file"},
        {"", "Cannot load theme file \"\""},
        {damaged, "runs past the end of the file"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.path);
        TsuiFileTheme theme(nullptr);
        TStatus status = LoadThemeFileAt(theme, c.path);
        EXPECT_FALSE(status.IsOk());
        EXPECT_NE(status.Message().find("Cannot load theme file \"" + c.path + "\""), std::string::npos)
            << status.Message();
        EXPECT_NE(status.Message().find(c.message), std::string::npos) << status.Message();
        EXPECT_FALSE(theme.IsThemeLoaded());
        EXPECT_EQ(theme.ThemeFile(), "");
    }
    fs::remove(GetProgramFolder() + name);

    TsuiFileTheme theme(nullptr);
    ASSERT_TRUE(LoadThemeFileAt(theme, good).IsOk());
    EXPECT_TRUE(theme.IsThemeLoaded());
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::FormMinWidthInt), 321);
    // A damaged file afterwards keeps the one loaded.
    EXPECT_FALSE(LoadThemeFileAt(theme, damaged).IsOk());
    EXPECT_EQ(theme.ThemeFile(), good);
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::FormMinWidthInt), 321);
    fs::remove_all(dir);
}
