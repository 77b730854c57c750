#pragma once

// varnel-theme run as a library, in a folder of its own for each test: what it writes to
// standard output and standard error is kept for the test to read.

#include "tools/theme/ThemeTool.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

class TThemeToolFixture : public testing::Test {
protected:
    void SetUp() override {
        m_dir = std::filesystem::path(testing::TempDir()) /
                (std::string(testing::UnitTest::GetInstance()->current_test_suite()->name()) + "-" +
                 std::to_string(::getpid()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    int Run(std::vector<std::string> args) {
        m_out.str("");
        m_err.str("");
        return RunThemeTool(args, m_out, m_err);
    }

    std::filesystem::path m_dir;
    std::ostringstream m_out;
    std::ostringstream m_err;
};
