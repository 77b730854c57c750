#include "toolkit/shell/Shell.h"

#include "tests/support/ToolkitFixture.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class Shell : public TToolkitFixture {
protected:
    fs::path dir;
    fs::path script;
    fs::path record;

    void SetUp() override {
        dir = fs::temp_directory_path() / ("varnel-shell-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        script = dir / "fake-open";
        record = dir / "arguments";
        // Records its arguments, one per line, and the directory it ran in.
        std::ofstream(script) << "#!/bin/sh\n"
                                 "pwd > \""
                              << record.string()
                              << ".tmp\"\n"
                                 "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \""
                              << record.string()
                              << ".tmp\"; done\n"
                                 "mv \""
                              << record.string() << ".tmp\" \"" << record.string() << "\"\n";
        fs::permissions(script, fs::perms::owner_all);
        SetShellOpenProgram(script.string());
    }

    void TearDown() override {
        SetShellOpenProgram("xdg-open");
        fs::remove_all(dir);
        TToolkitFixture::TearDown();
    }

    // Waits (a real process runs) until the recording appears; its lines.
    std::vector<std::string> Recorded() {
        for (int i = 0; i < 500 && !fs::exists(record); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::vector<std::string> lines;
        std::ifstream in(record);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        fs::remove(record);
        return lines;
    }
};

TEST_F(Shell, OpenPassesTheAddressAsOneArgumentWithoutAShell) {
    const std::string address = "https://example.org/a b?x=1&y=$(touch pwned);`id`|cat";
    EXPECT_GT(ShellExecute(0, "open", address.c_str(), nullptr, nullptr, SW_SHOW), 32);
    const std::vector<std::string> lines = Recorded();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], address);
    EXPECT_FALSE(fs::exists(fs::current_path() / "pwned"));
}

TEST_F(Shell, OpenRunsInTheGivenDirectoryAndKeepsOptionLikeNamesFromReadingAsOptions) {
    EXPECT_GT(ShellExecute(0, nullptr, "-rf", nullptr, dir.c_str(), SW_SHOW), 32);
    const std::vector<std::string> lines = Recorded();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(fs::path(lines[0]), fs::canonical(dir));
    EXPECT_EQ(lines[1], "./-rf");
}

TEST_F(Shell, FailuresAreReportedTheClassicWayAndStartNothing) {
    EXPECT_EQ(ShellExecute(0, "print", "file.txt", nullptr, nullptr, SW_SHOW), SE_ERR_NOASSOC);
    EXPECT_EQ(ShellExecute(0, "open", "", nullptr, nullptr, SW_SHOW), SE_ERR_FNF);
    EXPECT_EQ(ShellExecute(0, "open", nullptr, nullptr, nullptr, SW_SHOW), SE_ERR_FNF);
    SetShellOpenProgram((dir / "no-such-program").string());
    EXPECT_LE(ShellExecute(0, "open", "varnel.chm", nullptr, nullptr, SW_SHOW), 32);
    EXPECT_TRUE(PendingShellChildren().empty());
}

TEST_F(Shell, StartedProgramsAreReapedByTheMessageLoop) {
    ASSERT_GT(ShellExecute(0, "open", "varnel.chm", nullptr, nullptr, SW_SHOW), 32);
    Recorded();
    // The program has ended; the loop's timer collects it without anyone waiting for it.
    bool reaped = false;
    for (int i = 0; i < 200 && !reaped; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Advance(500);
        reaped = System().NextDue() == std::nullopt;
    }
    EXPECT_TRUE(reaped) << "the reaping timer is still running";
    EXPECT_TRUE(PendingShellChildren().empty());
}

TEST_F(Shell, TheClipboardKeepsBytesExactlyUpToTheFirstNul) {
    EXPECT_FALSE(GetClipboardText().has_value());
    EXPECT_TRUE(SetClipboardText("Varnel\r\nsecond\r\n"));
    EXPECT_EQ(GetClipboardText(), "Varnel\r\nsecond\r\n");
    EXPECT_TRUE(SetClipboardText(std::string("kept\0dropped", 12)));
    EXPECT_EQ(GetClipboardText(), "kept");
    // A clipboard that refuses the text says so and keeps what it had.
    Backend().SetClipboardRefused(true);
    EXPECT_FALSE(SetClipboardText("refused"));
    EXPECT_EQ(GetClipboardText(), "kept");
    Backend().SetClipboardRefused(false);
    Beep();
    Beep();
    EXPECT_EQ(Backend().BeepCount(), 2);
}

} // namespace
