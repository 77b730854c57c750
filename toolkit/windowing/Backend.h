#pragma once

#include "toolkit/windowing/WinTypes.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

class TPixelBuffer;
class TRegion;
class TWindowSystem;

// What the toolkit needs of the platform under it. The window system owns windows, messages,
// painting and input routing; a backend only gives top-level windows a native presence, shows
// their pixels, and reports raw pointer and key events at screen points. Two implementations:
// SDL (real windows) and headless (tests, deterministic, injected input).

enum class TMouseButton : std::uint8_t { Left, Right, Middle };

enum class TRawInputKind : std::uint8_t {
    PointerMove,  // Screen
    ButtonDown,   // Screen, Button
    ButtonUp,     // Screen, Button
    Wheel,        // Screen, WheelDelta (multiples of WHEEL_DELTA, positive away from the user)
    KeyDown,      // VirtualKey, ScanCode, Repeat
    KeyUp,        // VirtualKey, ScanCode
    Text,         // Char: one typed character
    PointerLeft,  // the pointer left every window of the program
    Activate,     // Window: the platform gave this top-level window the input focus
    Deactivate,   // the program lost the input focus to another program
    CloseRequest, // Window: the platform asked to close this top-level window
    Restore,      // Window: the platform restored this minimised top-level window
    Expose,       // Window: the platform lost what was shown of this window; present it again
};

struct TRawInput {
    TRawInputKind Kind = TRawInputKind::PointerMove;
    TPoint Screen;
    TMouseButton Button = TMouseButton::Left;
    int WheelDelta = 0;
    int VirtualKey = 0;
    int ScanCode = 0;
    bool Repeat = false;
    char32_t Char = 0;
    HWND Window = 0;
};

enum class TCursorShape : std::uint8_t {
    Arrow,
    IBeam,
    Wait,
    Cross,
    UpArrow,
    SizeNWSE,
    SizeNESW,
    SizeWE,
    SizeNS,
    SizeAll,
    No,
    Hand,
    AppStarting,
    Help,
};

enum class TNativeWindowKind : std::uint8_t {
    Normal, // an ordinary top-level window of the program
    Popup,  // a menu or drop-down: never takes the input focus, stays above the others
};

struct TNativeWindowParams {
    TRect Bounds; // screen coordinates
    TNativeWindowKind Kind = TNativeWindowKind::Normal;
    HWND Owner = 0;
    std::string Title;
};

// The real pointer, read directly from the platform (for move and size loops).
struct TPointerState {
    TPoint Screen;
    bool LeftDown = false;
    bool RightDown = false;
    bool MiddleDown = false;
};

class TBackend {
public:
    virtual ~TBackend() = default;

    virtual const char* Name() const = 0;
    // Called once by the window system that uses this backend, before anything else; raw events
    // go to system.PostRawInput.
    virtual void Attach(TWindowSystem& system) = 0;
    // Called when the window system goes away; no window calls follow.
    virtual void Detach() = 0;

    // The whole screen and the work area (the screen less panels), in screen coordinates.
    virtual TRect ScreenRect() const = 0;
    virtual TRect WorkArea() const = 0;
    virtual int Dpi() const { return 96; }

    // Native top-level windows, one per toplevel window of the toolkit. They start hidden.
    virtual bool CreateNativeWindow(HWND hwnd, const TNativeWindowParams& params) = 0;
    virtual void DestroyNativeWindow(HWND hwnd) = 0;
    virtual void ShowNativeWindow(HWND hwnd, bool visible) = 0;
    virtual void SetNativeWindowBounds(HWND hwnd, const TRect& screenBounds) = 0;
    // The visible shape in window coordinates; nullptr for the whole rectangle.
    virtual void SetNativeWindowShape(HWND hwnd, const TRegion* shape) = 0;
    virtual void SetNativeWindowTitle(HWND hwnd, const std::string& title) = 0;
    virtual void SetNativeWindowMinimized(HWND hwnd, bool minimized) = 0;
    // Brings the window to the front and, unless it is a popup, gives it the input focus.
    virtual void RaiseNativeWindow(HWND hwnd) = 0;
    // Shows the surface's pixels in the changed rectangles (window coordinates).
    virtual void Present(HWND hwnd, const TPixelBuffer& surface, std::span<const TRect> changed) = 0;

    virtual void SetCursorShape(TCursorShape shape) = 0;
    // Keeps pointer events coming while a button is held outside the program's windows.
    virtual void SetMouseCapture(bool capture) = 0;

    // Moves pending platform events into the window system without waiting.
    virtual void PumpEvents() = 0;
    // Waits until an event arrives or the clock reaches deadlineMs (-1: no deadline), then pumps.
    virtual void WaitForEvents(std::int64_t deadlineMs) = 0;
    // The real pointer, where the platform can tell it apart from queued events; nullopt when the
    // pointer is known only through events (then the events are the truth).
    virtual std::optional<TPointerState> QueryPointer() = 0;

    virtual bool SetClipboardText(std::string_view text) = 0;
    virtual std::optional<std::string> ClipboardText() = 0;
    virtual void Beep() = 0;
};
