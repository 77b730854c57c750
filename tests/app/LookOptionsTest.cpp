// varnel --look and --theme: after the windows are made from their layouts, every skinned
// component of both (title bars, their buttons, menus, the message dialog and the boxes it shows)
// takes the look asked for; a theme file that does not load stops the start before anything is
// made or shown.

#include "skin/core/SUIMgr.h"
#include "tests/app/WindowFixture.h"
#include "tests/support/LookThemeFile.h"
#include "tests/support/SkinnedComponents.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class LookOptions : public TVarnelWindowFixture {
protected:
    LookOptions() {
        m_dir = fs::path(testing::TempDir()) / ("look-options-" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
    }
    ~LookOptions() override { fs::remove_all(m_dir); }

    // Every skinned component of both windows, and the message box the main window shows.
    void ExpectEverythingIn(TsuiUIStyle style, const TObject* theme) {
        std::vector<TReportedLook> all = ReportedLooks(Form1);
        const std::vector<TReportedLook> about = ReportedLooks(Form2);
        all.insert(all.end(), about.begin(), about.end());
        ASSERT_GT(all.size(), 20u);
        for (const TReportedLook& reported : all) {
            EXPECT_EQ(reported.Style, style) << reported.Component;
            if (!reported.Component.ends_with("]")) {
                EXPECT_EQ(reported.FileTheme, theme) << reported.Component;
            }
        }
        // Copying an empty list says so in a message box, in the look.
        std::optional<TsuiUIStyle> boxStyle;
        std::vector<TsuiUIStyle> buttonStyles;
        DoWhenIdle([&] {
            TfrmMsg* box = Form1->suiMessageDialog1->MessageForm();
            ASSERT_NE(box, nullptr);
            boxStyle = box->suiForm1->UIStyle();
            for (TsuiButton* button : box->Buttons()) {
                buttonStyles.push_back(button->UIStyle());
            }
        });
        AnswerNextBox();
        ClickControl(Form1->suiButton3);
        EXPECT_EQ(boxStyle, style);
        EXPECT_EQ(buttonStyles, std::vector<TsuiUIStyle>(buttonStyles.size(), style));
        EXPECT_FALSE(buttonStyles.empty());
    }

    fs::path m_dir;
};

} // namespace

TEST_F(LookOptions, EveryBuiltInLookReachesEverySkinnedComponentOfBothWindows) {
    // DeepBlue is none of the looks the layouts give (MacOS, and WinXP on the spin edits and the
    // result list), so every component shows the option had its way.
    for (TsuiUIStyle style : {WinXP, DeepBlue}) {
        SCOPED_TRACE(kUIStyleNames[style]);
        TWindowOptions options;
        options.Look = style;
        Start(nullptr, options);
        ExpectEverythingIn(style, nullptr);
        EXPECT_EQ(Form1->suiForm1->BorderColor(),
                  GetBuiltInThemeColor(style, TsuiThemeElement::FormBorderColor));
        EXPECT_EQ(Form1->suiForm1->TitleBar()->Height(), [&] {
            TBitmap client;
            GetBuiltInThemeBitmap(style, TsuiThemeElement::TitleBarClientImage, &client);
            return client.Height();
        }());
        Application->Reset();
        Application->Initialize();
    }
}

TEST_F(LookOptions, AThemeFileReachesEverySkinnedComponentOfBothWindows) {
    const std::string file = (m_dir / "blue.theme").string();
    ASSERT_TRUE(
        WriteLookThemeFile(BlueGlass, file, [](TsuiThemeElement element, TsuiThemeFileWriter& writer) {
            return element == TsuiThemeElement::FormBorderColor &&
                   writer.AddInteger("FormBorderColor", 0x123456);
        }).IsOk());
    TWindowOptions options;
    options.Look = FromThemeFile;
    options.ThemeFile = file;
    std::unique_ptr<TsuiFileTheme> theme;
    ASSERT_TRUE(LoadWindowTheme(options, theme).IsOk());
    ASSERT_NE(theme, nullptr);

    TStatus made = CreateVarnelWindows(windows);
    ASSERT_TRUE(made) << made.Message();
    made = ApplyWindowOptions(options, reproducible, windows, theme.get());
    ASSERT_TRUE(made) << made.Message();
    ShowForm(Form1);
    ExpectEverythingIn(FromThemeFile, theme.get());
    EXPECT_EQ(Form1->suiForm1->BorderColor(), 0x123456);
    // Without the loaded file a theme option is not applied half-way.
    EXPECT_FALSE(ApplyWindowOptions(options, reproducible, windows, nullptr).IsOk());
    Application->Reset();
}

TEST_F(LookOptions, WithoutALookOptionTheLayoutsKeepTheirOwnLooks) {
    Start();
    EXPECT_EQ(Form1->suiForm1->UIStyle(), MacOS);
    EXPECT_EQ(Form1->SuiSpinEdit1->UIStyle(), WinXP);
    EXPECT_EQ(Form1->suiMemo2->UIStyle(), WinXP);
    EXPECT_EQ(Form1->suiMemo1->UIStyle(), MacOS);
}

// The theme file is loaded before the display is even looked for: without a display, a bad file
// still gets its own message and status 2, not the one about the display, so nothing was made.
TEST(LookOptionsStartup, AThemeFileThatDoesNotLoadEndsTheStartWithOneLineAndStatusTwo) {
    const fs::path dir = fs::path(testing::TempDir()) / ("look-startup-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string damaged = (dir / "damaged.theme").string();
    ASSERT_TRUE(WriteLookThemeFile(MacOS, damaged).IsOk());
    fs::resize_file(damaged, 1000);
    const char* saved = std::getenv("DISPLAY");
    const std::optional<std::string> display = saved ? std::optional<std::string>(saved) : std::nullopt;
    ::unsetenv("DISPLAY");
    for (const std::string& file : {damaged, (dir / "missing.theme").string(), dir.string()}) {
        SCOPED_TRACE(file);
        TWindowOptions options;
        options.Look = FromThemeFile;
        options.ThemeFile = file;
        const int err = ::memfd_create("varnel-look", 0);
        ASSERT_GE(err, 0);
        EXPECT_EQ(RunVarnelWindow(options, err), 2);
        std::string said(4096, '\0');
        said.resize(
            static_cast<std::size_t>(std::max<ssize_t>(0, ::pread(err, said.data(), said.size(), 0))));
        ::close(err);
        EXPECT_TRUE(said.starts_with("varnel: Cannot load theme file \"" + file + "\": ")) << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_EQ(Application->MainForm(), nullptr);
    }
    if (display) {
        ::setenv("DISPLAY", display->c_str(), 1);
    }
    fs::remove_all(dir);
}
