// The window's commands that reach outside it: ending the program, the About window, and the
// help page and web page opened through the desktop.

#include "app/HelpPage.h"
#include "app/ProductAddresses.h"
#include "tests/app/WindowFixture.h"
#include "toolkit/shell/Shell.h"

#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

namespace fs = std::filesystem;

class MenuCommands : public TVarnelWindowFixture {
protected:
    ~MenuCommands() override {
        SetShellOpenProgram("xdg-open");
        std::error_code ec;
        fs::remove_all(m_scratch, ec);
    }

    // A program standing in for the desktop's "open": it writes how many arguments it got and
    // each of them, one per line, into a file.
    fs::path RecordingOpener() {
        fs::create_directories(m_scratch);
        const fs::path script = m_scratch / "open";
        std::ofstream out(script);
        out << "#!/bin/sh\n{ echo \"$#\"; for a in \"$@\"; do echo \"$a\"; done; } > '"
            << (m_scratch / "opened").string() << "'\n";
        out.close();
        fs::permissions(script, fs::perms::owner_all);
        SetShellOpenProgram(script.string());
        return m_scratch / "opened";
    }

    // Waits for every started opener to end (no sleeping: the children are waited for).
    static void WaitForOpeners() {
        for (const pid_t pid : PendingShellChildren()) {
            int status = 0;
            ::waitpid(pid, &status, 0);
        }
    }

    static std::vector<std::string> Lines(const fs::path& file) {
        std::ifstream in(file);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    fs::path m_scratch = fs::temp_directory_path() / ("varnel-menu-" + std::to_string(::getpid()));
};

TEST_F(MenuCommands, ExitEndsTheMessageLoop) {
    Start();
    DoWhenIdle([&] { ChooseFromMenu(Form1->Exit1, nullptr, nullptr, true); });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(Backend().PendingSteps(), 0u);
}

TEST_F(MenuCommands, TheTitleBarsCloseButtonEndsTheMessageLoop) {
    Start();
    DoWhenIdle([&] {
        TsuiTitleBar* bar = Form1->suiForm1->TitleBar();
        for (const auto& place : bar->Layout().Buttons) {
            if (bar->Buttons()->Items(place.Index)->ButtonType() == suiClose) {
                const TPoint p = bar->ClientToScreen({place.Rect.Left + 8, place.Rect.Top + 8});
                InjectMove(p);
                InjectPress(p);
                InjectRelease(p);
            }
        }
    });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    // Closing the main window ends the program, it does not just hide the window.
    EXPECT_NE(Form1, nullptr);
}

TEST_F(MenuCommands, AboutShowsTheSameWindowCentredEachTimeAndItsCloseButtonHidesIt) {
    Start();
    TForm2* about = Form2;
    std::vector<TRect> shownAt;
    const std::function<void()> closeAbout = [&] {
        shownAt.push_back(about->BoundsRect());
        EXPECT_TRUE(about->Visible());
        EXPECT_EQ(about->Caption(), "About");
        TsuiTitleBar* bar = about->suiForm1->TitleBar();
        const auto place = bar->Layout().Buttons.at(0);
        const TPoint p = bar->ClientToScreen({place.Rect.Left + 8, place.Rect.Top + 8});
        InjectMove(p);
        InjectPress(p);
        InjectRelease(p);
    };
    std::vector<TRect> mainAt;
    for (const TPoint mainPlace : {Form1->BoundsRect().TopLeft(), TPoint(40, 60)}) {
        // The second time the main window has moved; the About window follows it.
        Form1->SetBounds(mainPlace.X, mainPlace.Y, Form1->Width(), Form1->Height());
        mainAt.push_back(Form1->BoundsRect());
        ChooseFromMenu(Form1->About1, nullptr, closeAbout);
        EXPECT_FALSE(about->Visible());
        EXPECT_EQ(Form2, about);
    }
    ASSERT_EQ(shownAt.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(shownAt[i].Left, mainAt[i].Left + (mainAt[i].Width() - about->Width()) / 2) << i;
        EXPECT_EQ(shownAt[i].Top, mainAt[i].Top + (mainAt[i].Height() - about->Height()) / 2) << i;
    }
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(MenuCommands, ProductDocumentOpensTheHelpPageByItsAbsolutePath) {
    Start();
    const fs::path opened = RecordingOpener();
    ChooseFromMenu(Form1->HelpDocument1);
    WaitForOpeners();
    const std::optional<std::string> page = FindHelpPage();
    ASSERT_TRUE(page.has_value()) << "the build puts varnel.html beside the program";
    EXPECT_TRUE(fs::path(*page).is_absolute());
    EXPECT_THAT(Lines(opened), ElementsAre("1", *page));

    // Without a page nothing is started and nothing else happens.
    fs::remove(opened);
    EXPECT_FALSE(OpenHelpPage(Form1->Handle(), {(m_scratch / "missing" / kHelpPageName).string()}));
    WaitForOpeners();
    EXPECT_FALSE(fs::exists(opened));
}

TEST_F(MenuCommands, ProductOnlinePageOpensTheProgramsAddress) {
    Start();
    const fs::path opened = RecordingOpener();
    ChooseFromMenu(Form1->OnlineHelp1);
    WaitForOpeners();
    EXPECT_THAT(Lines(opened), ElementsAre("1", std::string(kProductWebPage)));
}

TEST(HelpPage, IsFoundByAbsolutePathOnlyInTheOrderOfTheCandidates) {
    const fs::path dir = fs::temp_directory_path() / ("varnel-help-" + std::to_string(::getpid()));
    fs::create_directories(dir / "second");
    std::ofstream(dir / "second" / kHelpPageName) << "<html></html>";
    fs::create_directories(dir / "third" / kHelpPageName); // a folder of that name is no page
    EXPECT_EQ(
        FindHelpPage({(dir / "first" / kHelpPageName).string(), (dir / "second" / kHelpPageName).string()}),
        (dir / "second" / kHelpPageName).string());
    EXPECT_EQ(FindHelpPage({(dir / "third" / kHelpPageName).string()}), std::nullopt);
    // A relative name would be looked up in whatever folder the program runs in: never used.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir / "second");
    EXPECT_EQ(FindHelpPage({kHelpPageName}), std::nullopt);
    fs::current_path(cwd);
    // The candidates: beside the program first, then the share folders.
    const std::vector<std::string> candidates = HelpPageCandidates();
    ASSERT_GE(candidates.size(), 2u);
    EXPECT_EQ(fs::path(candidates[0]).parent_path(), fs::read_symlink("/proc/self/exe").parent_path());
    EXPECT_EQ(fs::path(candidates.back()).filename(), kHelpPageName);
    EXPECT_EQ(fs::path(candidates.back()).parent_path().filename(), "varnel");
    fs::remove_all(dir);
}

} // namespace
