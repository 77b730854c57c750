// Start-up without a display says so in one line and ends with status 1, instead of running where
// nobody can see the window; and the windows it makes are the program's main and About windows.

#include "tests/app/WindowFixture.h"

#include <cstdlib>
#include <optional>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// Sets or clears environment variables for one test and puts them back afterwards.
class TEnvironment {
public:
    void Unset(const char* name) {
        Remember(name);
        ::unsetenv(name);
    }
    ~TEnvironment() {
        for (const auto& [name, value] : m_saved) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

private:
    void Remember(const char* name) {
        const char* value = std::getenv(name);
        m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

std::string ReadAll(int fd) {
    std::string text;
    ::lseek(fd, 0, SEEK_SET);
    char buffer[512];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

TEST(Startup, WithoutADisplayTheWindowSaysSoInOneLineAndEndsWithStatusOne) {
    TEnvironment environment;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "VARNEL_BACKEND"}) {
        environment.Unset(name);
    }
    const int err = ::memfd_create("varnel-startup", 0);
    ASSERT_GE(err, 0);
    EXPECT_EQ(RunVarnelWindow({}, err), 1);
    const std::string said = ReadAll(err);
    ::close(err);
    EXPECT_TRUE(said.starts_with("varnel: ")) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("display"), std::string::npos) << said;
    EXPECT_NE(said.find("varnel generate"), std::string::npos) << said;
}

class StartupWindows : public TVarnelWindowFixture {};

TEST_F(StartupWindows, TheMainWindowComesFirstAndTheAboutWindowWaitsHidden) {
    TVarnelWindows made;
    ASSERT_TRUE(CreateVarnelWindows(made));
    EXPECT_EQ(made.Main, Form1);
    EXPECT_EQ(made.About, Form2);
    EXPECT_EQ(Application->MainForm(), Form1);
    EXPECT_FALSE(Form2->Visible());
    // Until options say otherwise, the window draws from the operating system.
    EXPECT_FALSE(Form1->RandomSource().IsReproducible());
    TReproducibleRandomSource source;
    TWindowOptions options;
    options.Reproducible = true;
    ASSERT_TRUE(ApplyWindowOptions(options, source, made));
    EXPECT_EQ(&Form1->RandomSource(), &source);
    EXPECT_EQ(Form1->suiForm1->Caption(), "Varnel V1.0 (reproducible)");
}

} // namespace
