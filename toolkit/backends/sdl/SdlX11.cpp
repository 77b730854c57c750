#include "toolkit/backends/sdl/SdlX11.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <algorithm>
#include <climits>

#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>
#endif

namespace SdlX11 {

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

struct TX11Window {
    Display* Dpy = nullptr;
    Window Win = 0;
};

// SDL's connection, as the last window asked about gave it.
Display* g_sdlDisplay = nullptr;

std::optional<TX11Window> X11Of(SDL_Window* window) {
    if (!window) {
        return std::nullopt;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
        return std::nullopt;
    }
    g_sdlDisplay = info.info.x11.display;
    return TX11Window{info.info.x11.display, info.info.x11.window};
}

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

bool OnX11() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && SDL_strcmp(driver, "x11") == 0;
}

// A connection of the program's own, beside SDL's: it reads the resource database at start and
// later holds the pointer grab.
Display* g_ownDisplay = nullptr;
bool g_grabActive = false;

Display* OwnDisplay(const char* name) {
    if (!g_ownDisplay) {
        g_ownDisplay = XOpenDisplay(name);
    }
    return g_ownDisplay;
}

short DeviceCoordinate(int v) {
    return static_cast<short>(std::clamp(v, SHRT_MIN, SHRT_MAX));
}

unsigned short DeviceLength(int v) {
    return static_cast<unsigned short>(std::clamp(v, 0, static_cast<int>(USHRT_MAX)));
}

} // namespace

std::string ResourceString() {
    if (!OnX11()) {
        return {};
    }
    Display* display = OwnDisplay(nullptr);
    const char* resources = display ? XResourceManagerString(display) : nullptr;
    return resources ? resources : "";
}

void InstallErrorHandler() {
    // The handler is the process's, not a connection's: setting it does not need the display.
    XSetErrorHandler(&IgnoreErrors);
}

std::optional<TPointerState> QueryPointer(SDL_Window* window) {
    std::optional<TX11Window> x = X11Of(window);
    if (!x) {
        return std::nullopt;
    }
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    unsigned mask = 0;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(x->Dpy, x->Win, &attributes) ||
        !XQueryPointer(x->Dpy, attributes.root, &root, &child, &rootX, &rootY, &winX, &winY, &mask)) {
        return std::nullopt;
    }
    TPointerState state;
    state.Screen = {rootX, rootY};
    state.LeftDown = (mask & Button1Mask) != 0;
    state.MiddleDown = (mask & Button2Mask) != 0;
    state.RightDown = (mask & Button3Mask) != 0;
    return state;
}

bool ShapeWindow(SDL_Window* window, const std::vector<TRect>& rects, bool whole) {
    std::optional<TX11Window> x = X11Of(window);
    if (!x) {
        return false;
    }
    int eventBase = 0;
    int errorBase = 0;
    if (!XShapeQueryExtension(x->Dpy, &eventBase, &errorBase)) {
        return false;
    }
    if (whole) {
        XShapeCombineMask(x->Dpy, x->Win, ShapeBounding, 0, 0, 0 /* None */, ShapeSet);
    } else {
        std::vector<XRectangle> xr;
        xr.reserve(rects.size());
        for (const TRect& r : rects) {
            xr.push_back({DeviceCoordinate(r.Left), DeviceCoordinate(r.Top), DeviceLength(r.Width()),
                          DeviceLength(r.Height())});
        }
        XShapeCombineRectangles(x->Dpy, x->Win, ShapeBounding, 0, 0, xr.data(), static_cast<int>(xr.size()),
                                ShapeSet, YXBanded);
    }
    XFlush(x->Dpy);
    return true;
}

bool FocusWindow(SDL_Window* window) {
    std::optional<TX11Window> x = X11Of(window);
    if (!x) {
        return false;
    }
    SDL_SetWindowInputFocus(window);
    XSync(x->Dpy, False);
    return true;
}

bool Bell(SDL_Window* anyWindow) {
    std::optional<TX11Window> x = X11Of(anyWindow);
    if (!x) {
        return false;
    }
    XBell(x->Dpy, 0);
    XFlush(x->Dpy);
    return true;
}

bool StartPointerGrab(SDL_Window* anchor) {
    std::optional<TX11Window> x = X11Of(anchor);
    if (!x) {
        return false;
    }
    if (!OwnDisplay(DisplayString(x->Dpy))) {
        return false;
    }
    const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    const int result = XGrabPointer(g_ownDisplay, x->Win, False, mask, GrabModeAsync, GrabModeAsync,
                                    0 /* None */, 0 /* None */, CurrentTime);
    g_grabActive = result == GrabSuccess;
    return g_grabActive;
}

void StopPointerGrab() {
    if (g_ownDisplay && g_grabActive) {
        XUngrabPointer(g_ownDisplay, CurrentTime);
        // Everything the grab caught up to now is in the queue afterwards, for DrainPointerGrab;
        // nothing more comes through this connection.
        XSync(g_ownDisplay, False);
    }
    g_grabActive = false;
}

bool PointerGrabActive() {
    return g_grabActive;
}

bool PointerGrabPending() {
    return g_ownDisplay && g_grabActive && XPending(g_ownDisplay) > 0;
}

void DrainPointerGrab(std::vector<TRawInput>& out) {
    if (!g_ownDisplay) {
        return;
    }
    while (XPending(g_ownDisplay) > 0) {
        XEvent event;
        XNextEvent(g_ownDisplay, &event);
        TRawInput raw;
        switch (event.type) {
        case MotionNotify:
            raw.Kind = TRawInputKind::PointerMove;
            raw.Screen = {event.xmotion.x_root, event.xmotion.y_root};
            break;
        case ButtonPress:
        case ButtonRelease: {
            const bool down = event.type == ButtonPress;
            raw.Screen = {event.xbutton.x_root, event.xbutton.y_root};
            switch (event.xbutton.button) {
            case Button1:
                raw.Button = TMouseButton::Left;
                break;
            case Button2:
                raw.Button = TMouseButton::Middle;
                break;
            case Button3:
                raw.Button = TMouseButton::Right;
                break;
            case Button4:
            case Button5:
                // The wheel: one notch per press; the release carries nothing.
                if (!down) {
                    continue;
                }
                raw.Kind = TRawInputKind::Wheel;
                raw.WheelDelta = event.xbutton.button == Button4 ? 120 : -120;
                out.push_back(raw);
                continue;
            default:
                continue;
            }
            raw.Kind = down ? TRawInputKind::ButtonDown : TRawInputKind::ButtonUp;
            break;
        }
        default:
            continue;
        }
        out.push_back(raw);
    }
}

void ClosePointerGrab() {
    StopPointerGrab();
    if (g_ownDisplay) {
        XCloseDisplay(g_ownDisplay);
        g_ownDisplay = nullptr;
    }
}

namespace {

Window g_clipboardOwner = 0; // the window SDL made the clipboard's owner, 0 before any copy

} // namespace

std::optional<std::size_t> ClipboardLimit(SDL_Window* anyWindow) {
    std::optional<TX11Window> x = X11Of(anyWindow);
    if (!x) {
        return std::nullopt;
    }
    long units = XExtendedMaxRequestSize(x->Dpy);
    if (units <= 0) {
        units = XMaxRequestSize(x->Dpy);
    }
    // A ChangeProperty request spends 24 bytes (28 with a big length) on itself; units are 4 bytes.
    constexpr long kRequestHeader = 32;
    return static_cast<std::size_t>(std::max(0L, units * 4 - kRequestHeader));
}

void NoteClipboardOwner(SDL_Window* anyWindow) {
    std::optional<TX11Window> x = X11Of(anyWindow);
    if (!x) {
        return;
    }
    g_clipboardOwner = XGetSelectionOwner(x->Dpy, XInternAtom(x->Dpy, "CLIPBOARD", False));
}

bool HandClipboardToManager(int timeoutMs) {
    Display* dpy = g_sdlDisplay;
    if (!dpy || !g_clipboardOwner) {
        return false;
    }
    const Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False);
    const Atom manager = XInternAtom(dpy, "CLIPBOARD_MANAGER", False);
    const Atom saveTargets = XInternAtom(dpy, "SAVE_TARGETS", False);
    if (XGetSelectionOwner(dpy, clipboard) != g_clipboardOwner || XGetSelectionOwner(dpy, manager) == 0) {
        return false;
    }
    // The manager answers with a SelectionNotify to the requesting window, which is SDL's: SDL
    // hands its events out only as window-system events, and only while asked to.
    const Uint8 previous = SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    // No list of targets: the manager is to save all the clipboard offers.
    XConvertSelection(dpy, manager, saveTargets, 0 /* None */, g_clipboardOwner, CurrentTime);
    XFlush(dpy);
    const Uint64 deadline = SDL_GetTicks64() + static_cast<Uint64>(timeoutMs);
    bool answered = false;
    while (!answered && SDL_GetTicks64() < deadline) {
        // SDL answers the manager's requests for the text while it reads the display's events.
        SDL_PumpEvents();
        SDL_Event events[32];
        int count = 0;
        while ((count = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_SYSWMEVENT, SDL_SYSWMEVENT)) > 0) {
            for (int i = 0; i < count; ++i) {
                const SDL_SysWMmsg* msg = events[i].syswm.msg;
                if (msg && msg->subsystem == SDL_SYSWM_X11 && msg->msg.x11.event.type == SelectionNotify &&
                    msg->msg.x11.event.xselection.selection == manager) {
                    answered = true;
                }
            }
        }
        if (!answered) {
            SDL_Delay(2);
        }
    }
    SDL_EventState(SDL_SYSWMEVENT, previous);
    g_clipboardOwner = 0;
    return answered;
}

void SettleBeforeQuit() {
    if (g_sdlDisplay) {
        XSync(g_sdlDisplay, False);
        g_sdlDisplay = nullptr;
    }
}

#else

void InstallErrorHandler() {}
std::string ResourceString() {
    return {};
}
std::optional<TPointerState> QueryPointer(SDL_Window*) {
    return std::nullopt;
}
bool ShapeWindow(SDL_Window*, const std::vector<TRect>&, bool) {
    return false;
}
bool FocusWindow(SDL_Window* window) {
    SDL_SetWindowInputFocus(window);
    return true;
}
bool Bell(SDL_Window*) {
    return false;
}
bool StartPointerGrab(SDL_Window*) {
    return false;
}
void StopPointerGrab() {}
bool PointerGrabActive() {
    return false;
}
bool PointerGrabPending() {
    return false;
}
void DrainPointerGrab(std::vector<TRawInput>&) {}
void ClosePointerGrab() {}
std::optional<std::size_t> ClipboardLimit(SDL_Window*) {
    return std::nullopt;
}
void NoteClipboardOwner(SDL_Window*) {}
bool HandClipboardToManager(int) {
    return false;
}
void SettleBeforeQuit() {}

#endif

} // namespace SdlX11
