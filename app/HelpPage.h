#pragma once

// The help page, varnel.html: one self-contained page that the build puts beside the program and
// the installation under its share folder. It is looked for by absolute path only, never relative
// to the current folder, so a file of that name lying where the user happens to be is never opened.

#include "toolkit/windowing/WinTypes.h"

#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kHelpPageName = "varnel.html";

// Where the page may be, in the order they are tried: beside the program, the share folder of an
// installation the program lies in, and the share folder it was built to be installed under.
std::vector<std::string> HelpPageCandidates();

// The first candidate that is a regular file, as an absolute path; none when there is none.
std::optional<std::string> FindHelpPage(const std::vector<std::string>& candidates = HelpPageCandidates());

// Asks the desktop to open the page (the shell's "open", the absolute path as its one argument).
// Nothing happens when the page is not found; false then, or when the shell could not start.
bool OpenHelpPage(HWND parent, const std::vector<std::string>& candidates = HelpPageCandidates());
