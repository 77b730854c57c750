#include "app/Startup.h"

#include "app/ProductAddresses.h"
#include "app/RandomSource.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/core/SUILookOverride.h"
#include "skin/core/SUIMgr.h"
#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/backends/sdl/SdlBackend.h"
#include "toolkit/controls/Application.h"
#include "toolkit/windowing/WindowSystem.h"

#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace {

void Say(int fd, const std::string& text) {
    std::string_view rest = text;
    while (!rest.empty()) {
        const ssize_t written = ::write(fd, rest.data(), rest.size());
        if (written <= 0) {
            return;
        }
        rest.remove_prefix(static_cast<size_t>(written));
    }
}

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

constexpr const char* kWithoutWindow = " Run 'varnel generate' to print passwords without a window.\n";

// The window system's backend: SDL on the desktop's display, or the headless one when asked for.
// Without a display the program says so instead of running where nobody can see it.
std::unique_ptr<TBackend> OpenBackend(int errFd) {
    const char* wanted = std::getenv("VARNEL_BACKEND");
    if (wanted && std::string_view(wanted) == "headless") {
        return std::make_unique<THeadlessBackend>();
    }
    if (!Set("DISPLAY") && !Set("WAYLAND_DISPLAY") && !Set("SDL_VIDEODRIVER")) {
        Say(errFd, std::string("varnel: there is no display to show the window on (DISPLAY is not set).") +
                       kWithoutWindow);
        return nullptr;
    }
    std::string error;
    std::unique_ptr<TSdlBackend> sdl = TSdlBackend::Create(&error);
    if (!sdl) {
        Say(errFd, "varnel: cannot open the window: " + error + "." + kWithoutWindow);
        return nullptr;
    }
    return sdl;
}

} // namespace

TStatus CreateVarnelWindows(TVarnelWindows& windows) {
    Application->CreateForm(Form1);
    windows.Main = Form1;
    if (TStatus made = Form1->CreationStatus(); !made) {
        return TStatus::Fail("the main window cannot be made: " + made.Message());
    }
    Application->CreateForm(Form2);
    windows.About = Form2;
    if (TStatus made = Form2->CreationStatus(); !made) {
        return TStatus::Fail("the About window cannot be made: " + made.Message());
    }
    return TStatus::Ok();
}

TStatus LoadWindowTheme(const TWindowOptions& options, std::unique_ptr<TsuiFileTheme>& theme) {
    if (options.Look != FromThemeFile) {
        return TStatus::Ok();
    }
    auto loaded = std::make_unique<TsuiFileTheme>(nullptr);
    TStatus status = LoadThemeFileAt(*loaded, options.ThemeFile);
    if (status) {
        theme = std::move(loaded);
    }
    return status;
}

TStatus ApplyWindowOptions(const TWindowOptions& options, TRandomSource& source, TVarnelWindows& windows,
                           TsuiFileTheme* theme) {
    windows.Main->SetRandomSource(&source);
    if (!options.Look) {
        return TStatus::Ok();
    }
    if (*options.Look == FromThemeFile && !(theme && theme->IsThemeLoaded())) {
        return TStatus::Fail("the theme file " + options.ThemeFile + " was not loaded");
    }
    // The layouts' own looks (MacOS, and WinXP on the spin edits and the result list) are
    // replaced, the frames pass the look on to their title bars and menus, and the message
    // dialog to the boxes it shows.
    for (TForm* window : {static_cast<TForm*>(windows.Main), static_cast<TForm*>(windows.About)}) {
        ApplyLookToOwnedComponents(window, *options.Look, *options.Look == FromThemeFile ? theme : nullptr);
    }
    return TStatus::Ok();
}

int RunVarnelWindow(const TWindowOptions& options, int errFd) {
    // Before the display is opened: a theme file that does not load shows nothing at all. It
    // outlives the windows that use it.
    std::unique_ptr<TsuiFileTheme> theme;
    if (TStatus loaded = LoadWindowTheme(options, theme); !loaded) {
        Say(errFd, "varnel: " + loaded.Message() + "\n");
        return 2;
    }
    std::unique_ptr<TBackend> backend = OpenBackend(errFd);
    if (!backend) {
        return 1;
    }
    const std::unique_ptr<TWindowSystem> system =
        StartWindowSystem(std::move(backend), std::make_unique<TSteadyClock>());
    std::unique_ptr<TRandomSource> source;
    if (options.Reproducible) {
        source = std::make_unique<TReproducibleRandomSource>();
    } else {
        source = std::make_unique<TSystemRandomSource>();
    }

    Application->Initialize();
    Application->SetTitle(std::string(kProductCaption));
    TVarnelWindows windows;
    TStatus started = CreateVarnelWindows(windows);
    if (started) {
        started = ApplyWindowOptions(options, *source, windows, theme.get());
    }
    if (!started) {
        Say(errFd, "varnel: " + started.Message() + "\n");
        Application->Reset();
        return 1;
    }
    Application->Run();
    // The windows go while the window system and the random source they use still exist.
    Application->Reset();
    return 0;
}
