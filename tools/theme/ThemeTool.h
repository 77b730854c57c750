#pragma once

// varnel-theme, the tool with which people make their own theme files:
//
//   varnel-theme pack DIR FILE     packs a theme folder into a theme file
//   varnel-theme dump FILE         lists a theme file's entries with their types, sizes and values
//   varnel-theme export LOOK DIR   writes a built-in look as a theme folder to start from
//   varnel-theme check FILE        reports what a theme file lacks or gets wrong
//   varnel-theme preview LOOK|FILE shows every skinned control in a look or theme file
//                 [--png FILE]     (or renders that window into a PNG file)
//
// A theme folder holds one KEY.bmp per image element (ButtonImage.bmp, ...) and values.txt with
// one Key=value line per integer, colour or boolean element: integers and colours in decimal or
// 0x hexadecimal, booleans as 0, 1, False or True. Blank lines and lines starting with # are
// left out.

#include "toolkit/components/Status.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Exit statuses of the tool.
constexpr int kThemeToolOk = 0;
constexpr int kThemeToolFailed = 1; // bad input or a file that cannot be read or written
constexpr int kThemeToolUsage = 2;  // the command line itself is wrong

// Exit statuses of check, which tells problems found from a file it cannot read.
constexpr int kThemeCheckClean = 0;
constexpr int kThemeCheckProblems = 1;
constexpr int kThemeCheckUnreadable = 2;

// Runs the tool on its arguments (without the program name); reports go to out, problems to err.
int RunThemeTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The three commands, each reporting what it did to out and any notes or problems to err.
TStatus PackTheme(const std::filesystem::path& folder, const std::string& file, std::ostream& err);
// Fails when the file is damaged, after listing what could be read.
TStatus DumpTheme(const std::string& file, std::ostream& out);
TStatus ExportLook(const std::string& look, const std::filesystem::path& folder);
// Reports every finding of CheckTheme on out, one line each; answers a check exit status.
int CheckThemeCommand(const std::string& file, std::ostream& out, std::ostream& err);

// Text as it can be shown on one line: quotes and backslashes escaped, bytes outside printable
// ASCII as \xHH.
std::string PrintableText(std::string_view text);
