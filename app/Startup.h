#pragma once

// Start-up of the program's window, in this order:
//   0. a theme file the command line names (--theme) is loaded before anything else: one that does
//      not load ends the program with one line and status 2, and no window is made;
//   1. the window system: SDL on the desktop's display (or the headless backend when
//      VARNEL_BACKEND=headless, for tests), on the real clock; no display is one clear error line;
//   2. the application object;
//   3. the main window TForm1 from its layout (the first window made, so the main window), then the
//      About window TForm2, hidden;
//   4. ApplyWindowOptions: the random source and the look the command line asked of the windows
//      (--look, --theme), laid over every skinned component both windows own. This is the one place
//      where everything the windows hold exists and nothing is shown yet;
//   5. the message loop, until "Exit" or the main window's closing ends it.

#include "skin/core/SUIThemes.h"
#include "toolkit/components/Status.h"

#include <memory>
#include <optional>
#include <string>

class TForm1;
class TForm2;
class TRandomSource;
class TsuiFileTheme;

// What the command line asked of the window.
struct TWindowOptions {
    // Draw from the reproducible generator (state 0), and say so in the caption.
    bool Reproducible = false;
    // A look for every skinned component of both windows in place of the looks their layouts give:
    // a built-in look (--look), or FromThemeFile for the theme file at ThemeFile (--theme).
    std::optional<TsuiUIStyle> Look;
    std::string ThemeFile;
};

// The program's two windows, as start-up made them.
struct TVarnelWindows {
    TForm1* Main = nullptr;
    TForm2* About = nullptr;
};

// Step 3 in the current window system and application: both windows from their layouts (the
// globals Form1 and Form2 point to them). A layout that does not load is the failure.
TStatus CreateVarnelWindows(TVarnelWindows& windows);

// Step 0: the theme file options name, loaded from exactly that path; none when they name none.
// The failure says which file and what is wrong with it.
TStatus LoadWindowTheme(const TWindowOptions& options, std::unique_ptr<TsuiFileTheme>& theme);

// Step 4. source is where the main window draws from, theme the file LoadWindowTheme loaded for a
// Look of FromThemeFile: both kept by the caller for as long as the windows live. A failure ends
// the start with its message.
TStatus ApplyWindowOptions(const TWindowOptions& options, TRandomSource& source, TVarnelWindows& windows,
                           TsuiFileTheme* theme = nullptr);

// The whole start-up and the message loop; messages go to errFd. Returns the exit status: 0 when
// the program was ended by the user, 1 when the window could not be shown, 2 when the theme file
// asked for does not load.
int RunVarnelWindow(const TWindowOptions& options, int errFd = 2);
