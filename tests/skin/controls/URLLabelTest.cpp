#include "skin/controls/SUIURLLabel.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/shell/Shell.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

class URLLabelTest : public TControlFixture {
protected:
    void SetUp() override {
        form = NewForm();
        form->SetColor(clWhite);
        label = new TsuiURLLabel(form);
        label->SetParent(form);
        label->SetLeft(20);
        label->SetTop(20);
        label->OnClick = [this](TObject*) { ++clicks; };
        ShowForm(form);
        MoveTo({0, 0});

        dir = fs::temp_directory_path() / ("varnel-urllabel-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        const fs::path script = dir / "fake-open";
        // Each run records its arguments, one per line, in a file of its own that appears whole.
        std::ofstream(script) << "#!/bin/sh\n"
                                 "f=\""
                              << dir.string()
                              << "/open-$$\"\n"
                                 "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$f.tmp\"; done\n"
                                 "mv \"$f.tmp\" \"$f\"\n";
        fs::permissions(script, fs::perms::owner_all);
        SetShellOpenProgram(script.string());
    }
    void TearDown() override {
        SetShellOpenProgram("xdg-open");
        fs::remove_all(dir);
        TControlFixture::TearDown();
    }

    // A single click, not the second half of a double click.
    void ClickLabel() {
        Advance(1000);
        ClickOn(label, 2, 2);
    }

    // The arguments of every run of the opening program, once all have ended.
    std::vector<std::vector<std::string>> Opened() {
        // Real processes run: wait for them, up to five seconds.
        for (int i = 0; i < 500 && !PendingShellChildren().empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::vector<std::vector<std::string>> runs;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (!name.starts_with("open-") || name.ends_with(".tmp")) {
                continue;
            }
            std::vector<std::string> lines;
            std::ifstream in(entry.path());
            for (std::string line; std::getline(in, line);) {
                lines.push_back(line);
            }
            runs.push_back(lines);
            fs::remove(entry.path());
        }
        return runs;
    }

    TForm* form = nullptr;
    TsuiURLLabel* label = nullptr;
    int clicks = 0;
    fs::path dir;
};

TEST_F(URLLabelTest, ANewLabelIsAnUnderlinedBlueLinkWithTheHandCursorAndTheProgramsOwnTexts) {
    EXPECT_TRUE(label->Font()->Style().Contains(fsUnderline));
    EXPECT_EQ(label->Font()->Color(), TColor{0xFF0000});
    EXPECT_EQ(label->Cursor(), crHandPoint);
    EXPECT_TRUE(label->AutoSize());
    EXPECT_EQ(label->Caption(), kDefaultURLLabelCaption);
    EXPECT_EQ(label->URL(), kDefaultURLLabelURL);
    EXPECT_EQ(label->FontHoverColor(), TColor{0x0000FF});
    EXPECT_EQ(label->FontLinkColor(), TColor{0xFF0000});
    EXPECT_GT(label->Width(), 0) << "sized to its caption";
}

TEST_F(URLLabelTest, TheColourFollowsThePointerInAndOut) {
    label->SetFontHoverColor(0x00FF00);
    label->SetFontLinkColor(0x808000);
    EXPECT_EQ(label->Font()->Color(), TColor{0x808000}) << "the link colour applies at once";
    MoveOver(label, 2, 2);
    EXPECT_EQ(label->Font()->Color(), TColor{0x00FF00});
    // A new hover colour waits for the next entry.
    label->SetFontHoverColor(0x0000FF);
    EXPECT_EQ(label->Font()->Color(), TColor{0x00FF00});
    MoveTo({0, 0});
    EXPECT_EQ(label->Font()->Color(), TColor{0x808000});
    MoveOver(label, 2, 2);
    EXPECT_EQ(label->Font()->Color(), TColor{0x0000FF});
    MoveTo({0, 0});
    label->SetFontLinkColor(0xFF0000);
    EXPECT_EQ(label->Font()->Color(), TColor{0xFF0000});
}

TEST_F(URLLabelTest, AClickOpensTheAddressUnchangedAsOneArgumentAndFiresOnClick) {
    const std::string address = "mailto:support@varnel.invalid?subject=a b&body=$(id);`id`";
    label->SetURL(address);
    ClickLabel();
    EXPECT_EQ(clicks, 1);
    using TRuns = std::vector<std::vector<std::string>>;
    EXPECT_EQ(Opened(), TRuns{{address}});
    // Surrounding blanks are the address's own: it goes as stored.
    label->SetURL(" https://varnel.invalid/a ");
    ClickLabel();
    EXPECT_EQ(Opened(), TRuns{{" https://varnel.invalid/a "}});
    EXPECT_EQ(clicks, 2);
}

TEST_F(URLLabelTest, ABlankAddressOpensNothingButStillFiresOnClick) {
    for (const char* blank : {"", "   "}) {
        label->SetURL(blank);
        ClickLabel();
    }
    EXPECT_EQ(clicks, 2);
    // Then one that opens: it is the only run.
    label->SetURL("https://varnel.invalid/");
    ClickLabel();
    EXPECT_EQ(clicks, 3);
    using TRuns = std::vector<std::vector<std::string>>;
    EXPECT_EQ(Opened(), TRuns{{"https://varnel.invalid/"}});
}

} // namespace
