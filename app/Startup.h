#pragma once

// Start-up of the program's window, in this order:
//   1. the window system: SDL on the desktop's display (or the headless backend when
//      VARNEL_BACKEND=headless, for tests), on the real clock; no display is one clear error line;
//   2. the application object;
//   3. the main window TForm1 from its layout (the first window made, so the main window), then the
//      About window TForm2, hidden;
//   4. ApplyWindowOptions: the random source and anything else the command line asked of the
//      windows. This is the one place where everything the windows hold exists and nothing is shown
//      yet: a look or theme file for every skinned component belongs here;
//   5. the message loop, until "Exit" or the main window's closing ends it.

#include "toolkit/components/Status.h"

#include <memory>
#include <string>

class TForm1;
class TForm2;
class TRandomSource;

// What the command line asked of the window.
struct TWindowOptions {
    // Draw from the reproducible generator (state 0), and say so in the caption.
    bool Reproducible = false;
};

// The program's two windows, as start-up made them.
struct TVarnelWindows {
    TForm1* Main = nullptr;
    TForm2* About = nullptr;
};

// Step 3 in the current window system and application: both windows from their layouts (the
// globals Form1 and Form2 point to them). A layout that does not load is the failure.
TStatus CreateVarnelWindows(TVarnelWindows& windows);

// Step 4. source is where the main window draws from: kept by the caller for as long as the
// window lives. A failure ends the start with its message.
TStatus ApplyWindowOptions(const TWindowOptions& options, TRandomSource& source, TVarnelWindows& windows);

// The whole start-up and the message loop; messages go to errFd. Returns the exit status: 0 when
// the program was ended by the user, 1 when the window could not be shown.
int RunVarnelWindow(const TWindowOptions& options, int errFd = 2);
