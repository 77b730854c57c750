// varnel-theme run as a library: a built-in look exported, packed and loaded back through
// TsuiFileTheme gives the look's values and bitmaps unchanged, and the tool's dump tells what
// is in a file.

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIThemeFileReader.h"
#include "skin/core/SUIThemes.h"
#include "tests/support/Artifacts.h"
#include "tests/tools/theme/ThemeToolFixture.h"
#include "toolkit/components/Resources.h"
#include "toolkit/graphics/Bitmap.h"
#include "tools/theme/ThemeTool.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class ThemeToolTest : public TThemeToolFixture {};

std::vector<std::byte> StreamBytes(TStream* stream) {
    return stream ? stream->ReadAll() : std::vector<std::byte>();
}

} // namespace

TEST_F(ThemeToolTest, EveryBuiltInLookSurvivesExportPackAndLoad) {
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        const std::string look(kUIStyleNames[style]);
        SCOPED_TRACE(look);
        const fs::path folder = m_dir / look;
        const std::string file = (m_dir / (look + ".theme")).string();
        ASSERT_EQ(Run({"export", look, folder.string()}), kThemeToolOk) << m_err.str();
        ASSERT_EQ(Run({"pack", folder.string(), file}), kThemeToolOk) << m_err.str();
        EXPECT_EQ(m_err.str(), ""); // a complete look leaves nothing to note

        TsuiFileTheme theme(nullptr);
        ASSERT_TRUE(theme.SetThemeFile(file).IsOk());
        ASSERT_TRUE(theme.IsThemeLoaded());
        const TsuiThemeFileReader* reader = theme.Manager().Reader();
        ASSERT_NE(reader, nullptr);
        for (int n = 1; n <= kThemeElementCount; ++n) {
            const auto element = static_cast<TsuiThemeElement>(n);
            SCOPED_TRACE(ThemeElementKey(element));
            switch (ThemeElementKind(element)) {
            case TsuiThemeValueKind::Integer:
                EXPECT_EQ(theme.GetInt(element), GetBuiltInThemeInt(style, element));
                break;
            case TsuiThemeValueKind::Color:
                EXPECT_EQ(theme.GetColor(element), GetBuiltInThemeColor(style, element));
                break;
            case TsuiThemeValueKind::Boolean:
                EXPECT_EQ(theme.GetBool(element), GetBuiltInThemeBool(style, element));
                break;
            case TsuiThemeValueKind::Bitmap: {
                auto resource = FindEmbeddedResource(GetBuiltInThemeEntry(style, element).Resource);
                ASSERT_TRUE(resource);
                std::vector<std::byte> expected(resource->begin(), resource->end());
                EXPECT_EQ(StreamBytes(reader->GetStream(ThemeElementKey(element))), expected);
                TBitmap fromFile, builtIn;
                theme.GetBitmap(element, &fromFile);
                GetBuiltInThemeBitmap(style, element, &builtIn);
                EXPECT_FALSE(fromFile.Empty());
                EXPECT_TRUE(SamePixels(fromFile.Pixels(), builtIn.Pixels(), ThemeElementKey(element)));
                break;
            }
            }
        }
    }
}

TEST_F(ThemeToolTest, ValuesAreReadInEveryWrittenForm) {
    const fs::path folder = m_dir / "forms";
    fs::create_directories(folder);
    std::ofstream(folder / "values.txt") << "\xEF\xBB\xBF# comment after a byte-order mark\n\n"
                                         << "  formbordercolor = 0x7f7F7f \n"
                                         << "ControlBorderColor=4294967295\n"
                                         << "TitleBarButtonRightOffsetInt=-2\n"
                                         << "FormMinWidthInt=+150\n"
                                         << "ButtonTransparentBool=true\n"
                                         << "TitleBarButtonTransparentBool=0\r\n";
    const std::string file = (m_dir / "forms.theme").string();
    ASSERT_EQ(Run({"pack", folder.string(), file}), kThemeToolOk) << m_err.str();
    EXPECT_NE(m_err.str().find("36 of 42 elements are not in the theme"), std::string::npos) << m_err.str();

    TsuiFileTheme theme(nullptr);
    ASSERT_TRUE(theme.SetThemeFile(file).IsOk());
    EXPECT_EQ(theme.GetColor(TsuiThemeElement::FormBorderColor), 0x7F7F7F);
    EXPECT_EQ(theme.GetColor(TsuiThemeElement::ControlBorderColor), -1);
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::TitleBarButtonRightOffsetInt), -2);
    EXPECT_EQ(theme.GetInt(TsuiThemeElement::FormMinWidthInt), 150);
    EXPECT_TRUE(theme.GetBool(TsuiThemeElement::ButtonTransparentBool));
    EXPECT_FALSE(theme.GetBool(TsuiThemeElement::TitleBarButtonTransparentBool));
    EXPECT_TRUE(
        theme.Manager().Reader()->Contains(TsuiThemeEntryType::Boolean, "TitleBarButtonTransparentBool"));
}

TEST_F(ThemeToolTest, PackRefusesWhatWouldMakeABrokenTheme) {
    struct TCase {
        const char* what;
        const char* values;
        const char* extraFile;
        const char* message;
    };
    const TCase cases[] = {
        {"no equals sign", "FormMinWidthInt 5\n", nullptr, "line 1: expected Key=value"},
        {"unknown key", "\nFormMinWidth=5\n", nullptr, "line 2: \"FormMinWidth\" is not an element"},
        {"image in values", "ButtonImage=1\n", nullptr, "give it as ButtonImage.bmp"},
        {"twice", "FormMinWidthInt=1\nformminwidthint=2\n", nullptr, "given twice"},
        {"not a number", "FormMinWidthInt=ten\n", nullptr, "not \"ten\""},
        {"too large", "FormMinWidthInt=4294967296\n", nullptr, "not \"4294967296\""},
        {"hex too long", "FormBorderColor=0x123456789\n", nullptr, "not \"0x123456789\""},
        {"bad boolean", "ButtonTransparentBool=yes\n", nullptr, "takes 0, 1, False or True"},
        {"unknown image", "", "ButtonPicture.bmp", "does not name an image element"},
        {"value key as image", "", "FormMinWidthInt.bmp", "does not name an image element"},
        {"not a bitmap", "", "ButtonImage.bmp", "is not a bitmap the skin can read"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path folder = m_dir / "broken";
        fs::remove_all(folder);
        fs::create_directories(folder);
        std::ofstream(folder / "values.txt") << c.values;
        if (c.extraFile) {
            std::ofstream(folder / c.extraFile) << "BM but nothing else";
        }
        const fs::path file = m_dir / "broken.theme";
        fs::remove(file);
        EXPECT_EQ(Run({"pack", folder.string(), file.string()}), kThemeToolFailed);
        EXPECT_NE(m_err.str().find(c.message), std::string::npos) << m_err.str();
        EXPECT_FALSE(fs::exists(file));
    }
    EXPECT_EQ(Run({"pack", (m_dir / "none").string(), (m_dir / "x.theme").string()}), kThemeToolFailed);
    EXPECT_NE(m_err.str().find("is not a folder"), std::string::npos);
}

TEST_F(ThemeToolTest, DumpListsEntriesAndReportsDamage) {
    ASSERT_EQ(Run({"export", "winxp", (m_dir / "xp").string()}), kThemeToolOk);
    const fs::path file = m_dir / "xp.theme";
    ASSERT_EQ(Run({"pack", (m_dir / "xp").string(), file.string()}), kThemeToolOk);
    ASSERT_EQ(Run({"dump", file.string()}), kThemeToolOk) << m_err.str();
    const std::string listing = m_out.str();
    EXPECT_NE(listing.find("42 entries"), std::string::npos);
    EXPECT_NE(listing.find("ButtonImage"), std::string::npos);
    EXPECT_NE(listing.find("54 x 21"), std::string::npos) << listing; // WINXP_BUTTON
    EXPECT_NE(listing.find("0xC82C00"), std::string::npos);           // FormBorderColor
    EXPECT_NE(listing.find("-2"), std::string::npos);                 // TitleBarButtonRightOffsetInt
    EXPECT_NE(listing.find("False (0)"), std::string::npos);

    // Cut the file short: the chain's records now run past its end.
    const auto size = fs::file_size(file);
    fs::resize_file(file, size - 100);
    EXPECT_EQ(Run({"dump", file.string()}), kThemeToolFailed);
    EXPECT_NE(m_err.str().find("runs past the end of the file"), std::string::npos) << m_err.str();
    EXPECT_NE(m_err.str().find(file.string()), std::string::npos);

    EXPECT_EQ(Run({"dump", (m_dir / "missing.theme").string()}), kThemeToolFailed);
    EXPECT_NE(m_err.str().find("missing.theme"), std::string::npos);
}

TEST_F(ThemeToolTest, DumpReportsAnImageThatDoesNotDecode) {
    const fs::path folder = m_dir / "img";
    fs::create_directories(folder);
    const fs::path file = m_dir / "img.theme";
    // Packing checks images, so make the bad one by changing the type byte of a packed file.
    {
        std::ofstream(folder / "values.txt") << "FormMinWidthInt=1\n";
        ASSERT_EQ(Run({"pack", folder.string(), file.string()}), kThemeToolOk);
        std::ifstream in(file, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // The integer's data is the first 4 bytes after the header; turn its record into an
        // image entry whose data is those 4 bytes.
        const std::size_t record = 24 + 4;
        text[record + 64] = 0;
        std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    }
    EXPECT_EQ(Run({"dump", file.string()}), kThemeToolFailed);
    EXPECT_NE(m_out.str().find("not a readable bitmap"), std::string::npos) << m_out.str();
    EXPECT_NE(m_err.str().find("image \"FormMinWidthInt\" does not decode"), std::string::npos)
        << m_err.str();
}

TEST_F(ThemeToolTest, CommandLineMistakesAreUsageErrors) {
    EXPECT_EQ(Run({}), kThemeToolUsage);
    EXPECT_NE(m_err.str().find("usage: varnel-theme pack DIR FILE"), std::string::npos);
    EXPECT_EQ(Run({"pack", "only-one"}), kThemeToolUsage);
    EXPECT_EQ(Run({"dump"}), kThemeToolUsage);
    EXPECT_EQ(Run({"frobnicate", "a", "b"}), kThemeToolUsage);
    EXPECT_EQ(Run({"--help"}), kThemeToolOk);
    EXPECT_NE(m_out.str().find("usage:"), std::string::npos);
    EXPECT_EQ(Run({"export", "FromThemeFile", (m_dir / "x").string()}), kThemeToolFailed);
    EXPECT_NE(m_err.str().find("not a built-in look"), std::string::npos);
}
