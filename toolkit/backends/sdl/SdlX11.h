#pragma once

#include "toolkit/windowing/Backend.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct SDL_Window;

// What the SDL backend does directly with X11, kept in one place so that no X11 header (with
// its macros named None, Bool, Status ...) is seen anywhere else. Every function does nothing and
// answers false or nullopt when the video driver is not X11.
namespace SdlX11 {

// An error handler that ignores errors instead of exiting (a clipboard requester that goes away
// before it is answered raises BadWindow). Called before SDL_Init as well as after: SDL puts back
// the handler it found when it closes its connection, and errors still on their way then arrive
// while that one is in force.
void InstallErrorHandler();
// The X resource database string of the display (what xrdb loaded: Xft.dpi and the like), empty
// when there is none. The connection it opens stays for the pointer grab.
std::string ResourceString();
// The X pointer (device pixels) and buttons, read from the root window of window's screen.
std::optional<TPointerState> QueryPointer(SDL_Window* window);
// Shapes the window to the rectangles (device window coordinates, banded top to bottom); an empty list
// with whole set restores the full rectangle.
bool ShapeWindow(SDL_Window* window, const std::vector<TRect>& rects, bool whole);
// Gives the input focus to window and waits until the server has done it.
bool FocusWindow(SDL_Window* window);
bool Bell(SDL_Window* anyWindow);
// Holds the pointer for the program while a menu is open or a window has the toolkit's capture:
// every pointer event of the display comes to the program, over its own windows or not, and is
// read here in screen coordinates. The grab is made on a connection of its own, so SDL (which
// releases pointer grabs of its connection whenever the keyboard focus moves, and does not
// report presses outside its windows) neither sees nor disturbs it. Fails while SDL holds the
// implicit grab of a pressed button; callers try again once the button is up.
bool StartPointerGrab(SDL_Window* anchor);
// Ends the grab; what it caught until then waits to be read with DrainPointerGrab.
void StopPointerGrab();
bool PointerGrabActive();
// Whether grabbed events wait to be read.
bool PointerGrabPending();
// Reads the grabbed events as raw input.
void DrainPointerGrab(std::vector<TRawInput>& out);
// Closes the grab's connection (at the end of the backend).
void ClosePointerGrab();
// The most text the X server takes in one request, which is how SDL hands the clipboard over
// (it neither splits a long text nor sends it in pieces); none when the driver is not X11.
std::optional<std::size_t> ClipboardLimit(SDL_Window* anyWindow);
// Remembers the window that owns the clipboard selection after SDL_SetClipboardText (SDL's own
// hidden clipboard window), so that the end of the program can tell whether it is still ours.
void NoteClipboardOwner(SDL_Window* anyWindow);
// When the clipboard is still ours and the desktop runs a clipboard manager (an owner of the
// CLIPBOARD_MANAGER selection), asks it to take the clipboard's contents over (SAVE_TARGETS) and
// answers its requests for them until it says it is done, or until timeoutMs have passed; true
// when it said so. SDL itself only serves the clipboard while the program runs.
bool HandClipboardToManager(int timeoutMs);
// Lets the errors still on their way for what the program did (a window destroyed while a
// request for it was under way) arrive while they are ignored: SDL puts Xlib's own handler back
// as it quits, which would end the program on the first one.
void SettleBeforeQuit();

} // namespace SdlX11
