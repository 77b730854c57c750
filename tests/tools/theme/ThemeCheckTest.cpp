// varnel-theme check: a complete look passes; each kind of fault in an otherwise complete file is
// reported once, under its key, and nothing else is; files the reader refuses exit 2.

#include "tools/theme/ThemeCheck.h"

#include "skin/core/SUIThemeFileWriter.h"
#include "skin/core/SUIThemes.h"
#include "tests/skin/core/ThemeFileBytes.h"
#include "tests/support/LookThemeFile.h"
#include "tests/tools/theme/ThemeToolFixture.h"
#include "toolkit/components/Resources.h"
#include "toolkit/graphics/BmpCodec.h"
#include "tools/theme/ThemeTool.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using TFindingSet = std::set<std::pair<TThemeFindingKind, std::string>>;

std::string KindName(TThemeFindingKind kind) {
    switch (kind) {
    case TThemeFindingKind::Missing:
        return "missing";
    case TThemeFindingKind::WrongType:
        return "wrong type";
    case TThemeFindingKind::StripWidth:
        return "strip width";
    case TThemeFindingKind::Unreadable:
        return "unreadable";
    case TThemeFindingKind::Unused:
        return "unused";
    }
    return "?";
}

std::string Describe(const TFindingSet& set) {
    std::string text;
    for (const auto& [kind, key] : set) {
        text += "  " + KindName(kind) + " " + key + "\n";
    }
    return text;
}

std::vector<std::byte> BmpOf(int width, int height) {
    TPixelBuffer pixels(width, height);
    std::vector<std::byte> bytes;
    EXPECT_TRUE(EncodeBmp(pixels, bytes).IsOk());
    return bytes;
}

class ThemeCheckTest : public TThemeToolFixture {
protected:
    using TChange = TLookThemeChange;
    std::string Write(const std::string& name, TsuiUIStyle style, const TChange& change = {}) {
        const std::string file = (m_dir / name).string();
        EXPECT_TRUE(WriteLookThemeFile(style, file, change).IsOk());
        return file;
    }

    TFindingSet Findings(const std::string& file) {
        std::vector<TThemeFinding> findings;
        EXPECT_TRUE(CheckTheme(file, findings).IsOk());
        TFindingSet set;
        for (const TThemeFinding& finding : findings) {
            EXPECT_TRUE(finding.Text.starts_with(finding.Key + ": ")) << finding.Text;
            EXPECT_EQ(finding.Text.find('\n'), std::string::npos) << finding.Text;
            set.insert({finding.Kind, finding.Key});
        }
        return set;
    }
};

} // namespace

TEST_F(ThemeCheckTest, EveryBuiltInLookExportedAndPackedIsClean) {
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        const std::string look(kUIStyleNames[style]);
        SCOPED_TRACE(look);
        const std::string file = (m_dir / (look + ".theme")).string();
        ASSERT_EQ(Run({"export", look, (m_dir / look).string()}), kThemeToolOk) << m_err.str();
        ASSERT_EQ(Run({"pack", (m_dir / look).string(), file}), kThemeToolOk) << m_err.str();
        EXPECT_EQ(Run({"check", file}), kThemeCheckClean) << m_out.str();
        EXPECT_EQ(m_out.str(), file + ": all 42 elements are present and well formed\n");
        EXPECT_EQ(m_err.str(), "");
    }
}

TEST_F(ThemeCheckTest, EachFaultIsReportedUnderItsKeyAndNothingElse) {
    struct TCase {
        const char* what;
        TChange change;
        TFindingSet expected;
    };
    auto skip = [](TsuiThemeElement gone) {
        return [gone](TsuiThemeElement element, TsuiThemeFileWriter&) { return element == gone; };
    };
    const TCase cases[] = {
        {"a missing image",
         skip(TsuiThemeElement::ButtonImage),
         {{TThemeFindingKind::Missing, "ButtonImage"}}},
        {"a missing colour and boolean",
         [](TsuiThemeElement element, TsuiThemeFileWriter&) {
             return element == TsuiThemeElement::MenuBarColor ||
                    element == TsuiThemeElement::TitleBarButtonTransparentBool;
         },
         {{TThemeFindingKind::Missing, "TitleBarButtonTransparentBool"},
          {TThemeFindingKind::Missing, "MenuBarColor"}}},
        {"a colour stored as a boolean",
         [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
             return element == TsuiThemeElement::FormBorderColor &&
                    writer.AddBoolean("FormBorderColor", true);
         },
         {{TThemeFindingKind::WrongType, "FormBorderColor"}}},
        {"an image stored as an integer, under a key in other letter case",
         [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
             return element == TsuiThemeElement::ProgressBarImage && writer.AddInteger("progressbarimage", 7);
         },
         {{TThemeFindingKind::WrongType, "progressbarimage"}}},
        {"a boolean stored as a string",
         [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
             return element == TsuiThemeElement::ButtonTransparentBool &&
                    writer.AddString("ButtonTransparentBool", "True");
         },
         {{TThemeFindingKind::WrongType, "ButtonTransparentBool"}}},
        {"a button strip 250 wide (not 3 frames)",
         [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
             return element == TsuiThemeElement::ButtonImage &&
                    writer.AddImage("ButtonImage", BmpOf(250, 21));
         },
         {{TThemeFindingKind::StripWidth, "ButtonImage"}}},
        {"strips of every cut element one pixel too wide",
         [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
             const int frames = ThemeElementFrames(element);
             return frames > 1 && writer.AddImage(ThemeElementKey(element), BmpOf(frames * 10 + 1, 10));
         },
         {{TThemeFindingKind::StripWidth, "ButtonImage"},
          {TThemeFindingKind::StripWidth, "CheckBoxImage"},
          {TThemeFindingKind::StripWidth, "RadioButtonImage"},
          {TThemeFindingKind::StripWidth, "TitleBarButtonImage"},
          {TThemeFindingKind::StripWidth, "TrackBarBarImage"},
          {TThemeFindingKind::StripWidth, "ScrollBarButtonImage"},
          {TThemeFindingKind::StripWidth, "ScrollBarSliderImage"}}},
        {"a picture used whole may have any width",
         [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
             return element == TsuiThemeElement::ProgressBarImage &&
                    writer.AddImage("ProgressBarImage", BmpOf(7, 10));
         },
         {}},
        {"an image that does not decode",
         [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
             const std::string junk = "BM but no bitmap";
             return element == TsuiThemeElement::CheckBoxImage &&
                    writer.AddImage("CheckBoxImage", std::as_bytes(std::span(junk.data(), junk.size())));
         },
         {{TThemeFindingKind::Unreadable, "CheckBoxImage"}}},
        {"entries no element reads",
         [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
             if (element == TsuiThemeElement::ButtonImage) {
                 writer.AddString("Author", "someone");
                 writer.AddInteger("FormBorderColour", 0x7F7F7F);
             }
             return false;
         },
         {{TThemeFindingKind::Unused, "Author"}, {TThemeFindingKind::Unused, "FormBorderColour"}}},
        {"a second entry of a name, which the reader never reads",
         [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
             if (element == TsuiThemeElement::MenuFontColor) {
                 writer.AddInteger("MenuFontColor", 0);
                 writer.AddInteger("menufontcolor", 0xFFFFFF);
                 return true;
             }
             return false;
         },
         {{TThemeFindingKind::Unused, "menufontcolor"}}},
        {"a wrong-typed entry beside the right one",
         [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
             if (element == TsuiThemeElement::FormMinWidthInt) {
                 writer.AddBoolean("FormMinWidthInt", true);
             }
             return false;
         },
         {{TThemeFindingKind::WrongType, "FormMinWidthInt"}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        const TFindingSet found = Findings(Write("case.theme", WinXP, c.change));
        EXPECT_EQ(found, c.expected) << "found:\n"
                                     << Describe(found) << "expected:\n"
                                     << Describe(c.expected);
    }
}

TEST_F(ThemeCheckTest, ReportsOneLinePerProblemWithExitStatusOne) {
    const std::string file =
        Write("faulty.theme", MacOS, [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
            if (element == TsuiThemeElement::ScrollBarButtonImage) {
                return writer.AddImage("ScrollBarButtonImage", BmpOf(100, 16));
            }
            if (element == TsuiThemeElement::FormRoundCornerInt) {
                writer.AddString("Comment", "made by hand");
                return true;
            }
            return false;
        });
    EXPECT_EQ(Run({"check", file}), kThemeCheckProblems);
    EXPECT_EQ(
        m_out.str(),
        file + ": FormRoundCornerInt: missing: an integer entry is needed; components read -1\n" + file +
            ": ScrollBarButtonImage: 100 pixels wide, which does not divide into its 6 frames (the width "
            "must be a multiple of 6)\n" +
            file + ": Comment: unused: a string entry that no element reads\n" + file + ": 3 problems\n");
    EXPECT_EQ(m_err.str(), "");

    // Names are shown on one line whatever bytes they hold.
    const std::string odd =
        Write("odd.theme", MacOS, [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
            if (element == TsuiThemeElement::ButtonImage) {
                writer.AddInteger("two\nlines", 1);
            }
            return false;
        });
    EXPECT_EQ(Run({"check", odd}), kThemeCheckProblems);
    EXPECT_NE(m_out.str().find(": two\\x0Alines: unused: an integer entry"), std::string::npos)
        << m_out.str();
}

TEST_F(ThemeCheckTest, FilesTheReaderRefusesExitTwo) {
    const std::string good = Write("good.theme", DeepBlue);
    std::ifstream in(good, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    auto write = [&](const std::string& name, const std::string& content) {
        const std::string file = (m_dir / name).string();
        std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
        return file;
    };
    TThemeFileBytes loop(24 + 2 * 77);
    loop.Record(24, "ButtonImage", 0, 0, 0, 24 + 77);
    loop.Record(24 + 77, "CheckBoxImage", 0, 0, 0, 24);
    TThemeFileBytes shortHeader(24 + 77, 24, 12);
    const struct {
        const char* what;
        std::string file;
        const char* message;
    } cases[] = {
        {"cut short", write("short.theme", bytes.substr(0, bytes.size() - 100)),
         "runs past the end of the file"},
        {"the chain comes back",
         write("loop.theme",
               std::string(reinterpret_cast<const char*>(loop.Bytes.data()), loop.Bytes.size())),
         "comes back to the record at offset 24"},
        {"a header too small",
         write("header.theme", std::string(reinterpret_cast<const char*>(shortHeader.Bytes.data()),
                                           shortHeader.Bytes.size())),
         "fewer than its 24"},
        {"empty", write("empty.theme", ""), "too short for the 24-byte header"},
        {"no such file", (m_dir / "none.theme").string(), "No such file"},
        {"a folder", m_dir.string(), "not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Run({"check", c.file}), kThemeCheckUnreadable);
        EXPECT_EQ(m_out.str(), "");
        EXPECT_NE(m_err.str().find(c.message), std::string::npos) << m_err.str();
        EXPECT_NE(m_err.str().find(c.file), std::string::npos) << m_err.str();
        const std::string err = m_err.str();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
    EXPECT_EQ(Run({"check"}), kThemeToolUsage);
    EXPECT_EQ(Run({"check", good, "extra"}), kThemeToolUsage);
}
