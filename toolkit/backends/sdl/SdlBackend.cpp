#include "toolkit/backends/sdl/SdlBackend.h"

#include "toolkit/backends/sdl/SdlKeys.h"
#include "toolkit/backends/sdl/SdlX11.h"
#include "toolkit/components/Resources.h"
#include "toolkit/graphics/IconCodec.h"
#include "toolkit/graphics/PixelBuffer.h"
#include "toolkit/graphics/Region.h"
#include "toolkit/windowing/Messages.h"
#include "toolkit/windowing/Utf8.h"
#include "toolkit/windowing/WindowSystem.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

SDL_SystemCursor SystemCursor(TCursorShape shape) {
    switch (shape) {
    case TCursorShape::IBeam:
        return SDL_SYSTEM_CURSOR_IBEAM;
    case TCursorShape::Wait:
        return SDL_SYSTEM_CURSOR_WAIT;
    case TCursorShape::Cross:
        return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case TCursorShape::SizeNWSE:
        return SDL_SYSTEM_CURSOR_SIZENWSE;
    case TCursorShape::SizeNESW:
        return SDL_SYSTEM_CURSOR_SIZENESW;
    case TCursorShape::SizeWE:
        return SDL_SYSTEM_CURSOR_SIZEWE;
    case TCursorShape::SizeNS:
        return SDL_SYSTEM_CURSOR_SIZENS;
    case TCursorShape::SizeAll:
        return SDL_SYSTEM_CURSOR_SIZEALL;
    case TCursorShape::No:
        return SDL_SYSTEM_CURSOR_NO;
    case TCursorShape::Hand:
        return SDL_SYSTEM_CURSOR_HAND;
    case TCursorShape::AppStarting:
        return SDL_SYSTEM_CURSOR_WAITARROW;
    case TCursorShape::Arrow:
    case TCursorShape::UpArrow:
    case TCursorShape::Help:
    default:
        return SDL_SYSTEM_CURSOR_ARROW;
    }
}

// The program's icon (the built-in MAINICON) as the desktop shows it in its task bar and window
// switcher, or null when the program carries none.
SDL_Surface* LoadProgramIcon() {
    constexpr int kSize = 32;
    const std::optional<std::span<const std::byte>> data = FindEmbeddedResource("MAINICON");
    TIconImage image;
    if (!data || !DecodeIcon(*data, kSize, kSize, image) || image.Pixels.Width() != kSize ||
        image.Alpha.size() != static_cast<std::size_t>(kSize * kSize)) {
        return nullptr;
    }
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, kSize, kSize, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) {
        return nullptr;
    }
    for (int y = 0; y < kSize; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                                     y * surface->pitch);
        for (int x = 0; x < kSize; ++x) {
            const std::uint32_t alpha = image.Alpha[static_cast<std::size_t>(y * kSize + x)];
            row[x] = alpha << 24 | (image.Pixels.At(x, y) & 0xFFFFFF);
        }
    }
    return surface;
}

// How long the end of the program waits for a clipboard manager to take the clipboard over.
constexpr int kClipboardHandOverMs = 2000;

TRect FromSdl(const SDL_Rect& r) {
    return Bounds(r.x, r.y, r.w, r.h);
}

// The factor from the environment and the desktop; each value passed over is said once.
int ChooseScale() {
    std::vector<std::string> ignored;
    const TDisplayScaleChoice choice = ChooseDisplayScale([](const char* name) { return std::getenv(name); },
                                                          &SdlX11::ResourceString, &ignored);
    for (const std::string& line : ignored) {
        std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, line.c_str());
    }
    return choice.Scale;
}

} // namespace

std::unique_ptr<TSdlBackend> TSdlBackend::Create(std::string* error, int scale) {
    // Without this the window surface goes through OpenGL: far more memory and a slower start.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // SIGINT and SIGTERM end the program as for any other; SDL would only turn them into a quit
    // event that the toolkit does not use.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetMainReady();
    SdlX11::InstallErrorHandler();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) {
            *error = SDL_GetError();
        }
        return nullptr;
    }
    SdlX11::InstallErrorHandler();
    SDL_StartTextInput();
    std::unique_ptr<TSdlBackend> backend(new TSdlBackend());
    backend->m_scale = TDisplayScale(scale > 0 ? scale : ChooseScale());
    // The pointer starts with whatever cursor the root window has: set the arrow explicitly.
    backend->SetCursorShape(TCursorShape::Arrow);
    return backend;
}

TSdlBackend::~TSdlBackend() {
    // A copied text would go with the program: a clipboard manager, where the desktop runs one,
    // takes it over first, while SDL can still answer it.
    SdlX11::HandClipboardToManager(kClipboardHandOverMs);
    for (auto& [hwnd, native] : m_windows) {
        SDL_DestroyWindow(native.Window);
    }
    m_windows.clear();
    for (SDL_Cursor*& cursor : m_cursors) {
        if (cursor) {
            SDL_FreeCursor(cursor);
            cursor = nullptr;
        }
    }
    if (m_icon) {
        SDL_FreeSurface(m_icon);
        m_icon = nullptr;
    }
    SdlX11::ClosePointerGrab();
    SDL_StopTextInput();
    SdlX11::SettleBeforeQuit();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void TSdlBackend::Detach() {
    m_system = nullptr;
}

TRect TSdlBackend::ScreenRect() const {
    SDL_Rect r;
    if (SDL_GetDisplayBounds(0, &r) != 0) {
        return m_scale.LogicalInside({0, 0, 1280, 1024});
    }
    return m_scale.LogicalInside(FromSdl(r));
}

TRect TSdlBackend::WorkArea() const {
    SDL_Rect r;
    if (SDL_GetDisplayUsableBounds(0, &r) != 0) {
        return ScreenRect();
    }
    return m_scale.LogicalInside(FromSdl(r));
}

SDL_Window* TSdlBackend::NativeWindow(HWND hwnd) const {
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? nullptr : it->second.Window;
}

// ---- Native windows ---------------------------------------------------------------------------

bool TSdlBackend::CreateNativeWindow(HWND hwnd, const TNativeWindowParams& params) {
    const bool popup = params.Kind == TNativeWindowKind::Popup;
    Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN;
    if (popup) {
        flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
    }
    // SDL cannot make an empty window; the toolkit never presents outside its own size anyway.
    SDL_Window* window = SDL_CreateWindow(
        params.Title.c_str(), m_scale.ToDevice(params.Bounds.Left), m_scale.ToDevice(params.Bounds.Top),
        m_scale.DeviceLength(params.Bounds.Width()), m_scale.DeviceLength(params.Bounds.Height()), flags);
    if (!window) {
        return false;
    }
    if (!popup) {
        if (!m_icon) {
            m_icon = LoadProgramIcon();
        }
        if (m_icon) {
            SDL_SetWindowIcon(window, m_icon);
        }
    }
    TNative native;
    native.Window = window;
    native.Popup = popup;
    native.Owner = params.Owner;
    native.Bounds = params.Bounds;
    m_windows[hwnd] = native;
    m_byId[SDL_GetWindowID(window)] = hwnd;
    return true;
}

void TSdlBackend::DestroyNativeWindow(HWND hwnd) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) {
        return;
    }
    m_byId.erase(SDL_GetWindowID(it->second.Window));
    SDL_DestroyWindow(it->second.Window);
    m_windows.erase(it);
    UpdateMouseCapture();
}

void TSdlBackend::ShowNativeWindow(HWND hwnd, bool visible) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end() || it->second.Visible == visible) {
        return;
    }
    TNative& native = it->second;
    native.Visible = visible;
    if (!visible) {
        SDL_HideWindow(native.Window);
        UpdateMouseCapture();
        return;
    }
    if (native.Popup) {
        // What the keyboard did before the menu shows belongs to the program (see below).
        TranslatePending();
    }
    // Placed before it appears: a window shown first and moved later flickers in the wrong place.
    SDL_SetWindowPosition(native.Window, m_scale.ToDevice(native.Bounds.Left),
                          m_scale.ToDevice(native.Bounds.Top));
    SDL_ShowWindow(native.Window);
    if (native.Shaped) {
        SdlX11::ShapeWindow(native.Window, native.Shape, native.Shape.empty());
    }
    if (native.Popup) {
        // SDL focuses every window it shows; a menu must leave the keyboard with its owner, and
        // it sees clicks outside itself through the capture.
        auto owner = m_windows.find(native.Owner);
        if (owner != m_windows.end()) {
            SdlX11::FocusWindow(owner->second.Window);
            SDL_PumpEvents();
            // The keyboard's trip to the menu and back makes SDL release every held key when the
            // owner loses it and press them again when it comes back. None of that is the user's:
            // a held Alt pressed again would close the menu it just opened (Alt+F).
            SDL_FlushEvents(SDL_KEYDOWN, SDL_KEYUP);
        }
        UpdateMouseCapture();
    }
}

void TSdlBackend::SetNativeWindowBounds(HWND hwnd, const TRect& screenBounds) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) {
        return;
    }
    TNative& native = it->second;
    const bool sized =
        native.Bounds.Width() != screenBounds.Width() || native.Bounds.Height() != screenBounds.Height();
    native.Bounds = screenBounds;
    SDL_SetWindowPosition(native.Window, m_scale.ToDevice(screenBounds.Left),
                          m_scale.ToDevice(screenBounds.Top));
    if (sized) {
        SDL_SetWindowSize(native.Window, m_scale.DeviceLength(screenBounds.Width()),
                          m_scale.DeviceLength(screenBounds.Height()));
    }
}

void TSdlBackend::SetNativeWindowShape(HWND hwnd, const TRegion* shape) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) {
        return;
    }
    TNative& native = it->second;
    native.Shape.clear();
    if (shape) {
        for (const TRect& r : shape->Rects()) {
            native.Shape.push_back(m_scale.ToDevice(r));
        }
    }
    native.Shaped = shape != nullptr || native.Shaped;
    // An empty region hides every pixel; an absent one shows the whole rectangle.
    const bool whole = shape == nullptr;
    SdlX11::ShapeWindow(native.Window, native.Shape, whole);
    if (whole) {
        native.Shaped = false;
    }
}

void TSdlBackend::SetNativeWindowTitle(HWND hwnd, const std::string& title) {
    auto it = m_windows.find(hwnd);
    if (it != m_windows.end()) {
        SDL_SetWindowTitle(it->second.Window, title.c_str());
    }
}

void TSdlBackend::SetNativeWindowMinimized(HWND hwnd, bool minimized) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) {
        return;
    }
    if (minimized) {
        SDL_MinimizeWindow(it->second.Window);
    } else {
        SDL_RestoreWindow(it->second.Window);
    }
}

void TSdlBackend::RaiseNativeWindow(HWND hwnd) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end() || !it->second.Visible || it->second.Popup) {
        return;
    }
    SDL_RaiseWindow(it->second.Window);
    SdlX11::FocusWindow(it->second.Window);
}

void TSdlBackend::Present(HWND hwnd, const TPixelBuffer& surface, std::span<const TRect> changed) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end() || !it->second.Visible) {
        return;
    }
    // Asked every time: SDL makes a new window surface after the window changed size.
    SDL_Surface* target = SDL_GetWindowSurface(it->second.Window);
    if (!target) {
        return;
    }
    // Only whole blocks are drawn: the logical part of the surface that the window holds.
    const TRect limit = IntersectRects(surface.Bounds(), m_scale.LogicalInside({0, 0, target->w, target->h}));
    const SDL_PixelFormat* format = target->format;
    const bool direct = format->BytesPerPixel == 4 && format->Rmask == 0xFF0000 &&
                        format->Gmask == 0x00FF00 && format->Bmask == 0x0000FF;
    if (SDL_MUSTLOCK(target) && SDL_LockSurface(target) != 0) {
        return;
    }
    auto* pixels = static_cast<std::uint8_t*>(target->pixels);
    const int n = m_scale.Factor();
    std::vector<SDL_Rect> rects;
    rects.reserve(changed.size());
    for (const TRect& r : changed) {
        const TRect area = IntersectRects(r, limit);
        if (area.IsEmpty()) {
            continue;
        }
        if (direct) {
            m_scale.Blit(surface, area, pixels, target->pitch);
        } else {
            for (int y = area.Top * n; y < area.Bottom * n; ++y) {
                const std::uint32_t* from = surface.Row(y / n);
                std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(y) * target->pitch;
                for (int x = area.Left * n; x < area.Right * n; ++x) {
                    const std::uint32_t p = from[x / n];
                    const Uint32 mapped = SDL_MapRGB(format, static_cast<Uint8>(p >> 16),
                                                     static_cast<Uint8>(p >> 8), static_cast<Uint8>(p));
                    std::memcpy(row + x * format->BytesPerPixel, &mapped, format->BytesPerPixel);
                }
            }
        }
        const TRect device = m_scale.ToDevice(area);
        rects.push_back({device.Left, device.Top, device.Width(), device.Height()});
    }
    if (SDL_MUSTLOCK(target)) {
        SDL_UnlockSurface(target);
    }
    if (!rects.empty()) {
        SDL_UpdateWindowSurfaceRects(it->second.Window, rects.data(), static_cast<int>(rects.size()));
    }
}

// ---- Cursor and capture --------------------------------------------------------------------------

void TSdlBackend::SetCursorShape(TCursorShape shape) {
    const auto index = static_cast<std::size_t>(shape);
    if (index >= m_cursors.size()) {
        return;
    }
    if (!m_cursors[index]) {
        m_cursors[index] = SDL_CreateSystemCursor(SystemCursor(shape));
    }
    if (m_cursors[index]) {
        SDL_SetCursor(m_cursors[index]);
    }
}

void TSdlBackend::SetMouseCapture(bool capture) {
    m_captureWanted = capture;
    UpdateMouseCapture();
}

bool TSdlBackend::AnyPopupVisible() const {
    return std::any_of(m_windows.begin(), m_windows.end(),
                       [](const auto& entry) { return entry.second.Popup && entry.second.Visible; });
}

void TSdlBackend::UpdateMouseCapture() {
    const bool wanted = m_captureWanted || AnyPopupVisible();
    if (!wanted) {
        // What the grab caught and nobody read yet happened after everything read so far (a
        // click on the window right after the key that closed a menu): it is passed on.
        const bool grabbed = SdlX11::PointerGrabActive();
        SdlX11::StopPointerGrab();
        if (grabbed) {
            TakeGrabbedInput();
        }
        SDL_CaptureMouse(SDL_FALSE);
        return;
    }
    if (SdlX11::PointerGrabActive()) {
        return;
    }
    // The grab goes on a shown window that is not a popup: the owner of an open menu, which keeps
    // the keyboard.
    SDL_Window* anchor = nullptr;
    for (const auto& [hwnd, native] : m_windows) {
        if (native.Visible && !native.Popup) {
            anchor = native.Window;
            if (native.Window == SDL_GetKeyboardFocus()) {
                break;
            }
        }
    }
    if (!anchor || !SdlX11::StartPointerGrab(anchor)) {
        // Not on X11, or a button is still held (SDL then has the pointer anyway): SDL's own
        // capture until the grab can be made.
        SDL_CaptureMouse(SDL_TRUE);
    }
}

// ---- Events ---------------------------------------------------------------------------------------

HWND TSdlBackend::WindowOf(unsigned sdlWindowId) const {
    auto it = m_byId.find(sdlWindowId);
    return it == m_byId.end() ? 0 : it->second;
}

TPoint TSdlBackend::ScreenPoint(unsigned sdlWindowId, int x, int y) const {
    SDL_Window* window = SDL_GetWindowFromID(sdlWindowId);
    int wx = 0;
    int wy = 0;
    if (window) {
        SDL_GetWindowPosition(window, &wx, &wy);
    }
    // The window's place and the point in it are mapped apart: a point keeps to the block it is
    // in even where a window manager put the window off the block grid.
    return {m_scale.ToLogical(wx) + m_scale.ToLogical(x), m_scale.ToLogical(wy) + m_scale.ToLogical(y)};
}

void TSdlBackend::Post(const TRawInput& raw) {
    if (m_system) {
        m_system->PostRawInput(raw);
    }
}

void TSdlBackend::Translate(const SDL_Event& e) {
    TRawInput raw;
    switch (e.type) {
    case SDL_MOUSEMOTION:
        raw.Kind = TRawInputKind::PointerMove;
        raw.Screen = ScreenPoint(e.motion.windowID, e.motion.x, e.motion.y);
        m_lastPointer = raw.Screen;
        Post(raw);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        std::optional<TMouseButton> button = MouseButtonFromSdl(e.button.button);
        if (!button) {
            break;
        }
        raw.Kind = e.type == SDL_MOUSEBUTTONDOWN ? TRawInputKind::ButtonDown : TRawInputKind::ButtonUp;
        raw.Button = *button;
        raw.Screen = ScreenPoint(e.button.windowID, e.button.x, e.button.y);

        m_lastPointer = raw.Screen;
        Post(raw);
        break;
    }
    case SDL_MOUSEWHEEL: {
        int steps = e.wheel.y;
        if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
            steps = -steps;
        }
        if (steps == 0) {
            break;
        }
        raw.Kind = TRawInputKind::Wheel;
        raw.Screen = m_lastPointer;
        raw.WheelDelta = steps * WHEEL_DELTA;
        Post(raw);
        break;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const int vk = VirtualKeyFromSdl(e.key.keysym.sym, e.key.keysym.scancode);
        if (!vk) {
            break;
        }
        raw.Kind = e.type == SDL_KEYDOWN ? TRawInputKind::KeyDown : TRawInputKind::KeyUp;
        raw.VirtualKey = vk;
        raw.ScanCode = static_cast<int>(e.key.keysym.scancode);
        raw.Repeat = e.key.repeat != 0;
        Post(raw);
        break;
    }
    case SDL_TEXTINPUT: {
        // Alt+x and Ctrl+x also come as text; their characters are made from the keys instead.
        const SDL_Keymod mods = SDL_GetModState();
        if ((mods & KMOD_LALT) || ((mods & KMOD_CTRL) && !(mods & KMOD_RALT))) {
            break;
        }
        raw.Kind = TRawInputKind::Text;
        for (char32_t c : DecodeUtf8(e.text.text)) {
            raw.Char = c;
            Post(raw);
        }
        break;
    }
    case SDL_WINDOWEVENT: {
        const HWND hwnd = WindowOf(e.window.windowID);
        if (!hwnd) {
            break;
        }
        raw.Window = hwnd;
        const auto native = m_windows.find(hwnd);
        const bool popup = native != m_windows.end() && native->second.Popup;
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            raw.Kind = TRawInputKind::CloseRequest;
            Post(raw);
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            m_focusMayBeLost = false;
            if (!popup) {
                raw.Kind = TRawInputKind::Activate;
                Post(raw);
            }
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            m_focusMayBeLost = true;
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            raw.Kind = TRawInputKind::Expose;
            Post(raw);
            break;
        case SDL_WINDOWEVENT_RESTORED:
            raw.Kind = TRawInputKind::Restore;
            Post(raw);
            break;
        case SDL_WINDOWEVENT_LEAVE:
            raw.Kind = TRawInputKind::PointerLeft;
            Post(raw);
            break;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
}

void TSdlBackend::TranslatePending() {
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        Translate(event);
    }
}

void TSdlBackend::TakeGrabbedInput() {
    std::vector<TRawInput> grabbed;
    SdlX11::DrainPointerGrab(grabbed);
    for (TRawInput& raw : grabbed) {
        raw.Screen = m_scale.ToLogical(raw.Screen);
        if (raw.Kind != TRawInputKind::Wheel) {
            m_lastPointer = raw.Screen;
        }
        Post(raw);
    }
}

void TSdlBackend::PumpEvents() {
    TranslatePending();
    // While the pointer is grabbed, its events come through the grab's own connection.
    if (m_captureWanted || AnyPopupVisible()) {
        UpdateMouseCapture();
        TakeGrabbedInput();
    }
    // Focus moving between two of the program's windows is a loss followed by a gain; only a
    // loss that nothing of ours made up for deactivates the program.
    if (m_focusMayBeLost) {
        m_focusMayBeLost = false;
        if (!SDL_GetKeyboardFocus() && !AnyPopupVisible()) {
            TRawInput raw;
            raw.Kind = TRawInputKind::Deactivate;
            Post(raw);
        }
    }
}

void TSdlBackend::WaitForEvents(std::int64_t deadlineMs) {
    const auto remaining = [&]() -> std::int64_t {
        if (deadlineMs < 0) {
            return -1;
        }
        const std::int64_t now = m_system ? m_system->Now() : 0;
        return std::clamp<std::int64_t>(deadlineMs - now, 0, INT_MAX / 2);
    };
    if (SdlX11::PointerGrabActive()) {
        // Two connections to wait on: SDL's, and the grab's, looked at every few milliseconds.
        constexpr std::int64_t kGrabPollMs = 5;
        for (;;) {
            if (SdlX11::PointerGrabPending()) {
                break;
            }
            const std::int64_t left = remaining();
            if (left == 0) {
                break;
            }
            const std::int64_t slice = left < 0 ? kGrabPollMs : std::min(left, kGrabPollMs);
            if (SDL_WaitEventTimeout(nullptr, static_cast<int>(slice))) {
                break;
            }
        }
    } else {
        const std::int64_t left = remaining();
        if (left < 0) {
            SDL_WaitEvent(nullptr);
        } else if (left > 0) {
            SDL_WaitEventTimeout(nullptr, static_cast<int>(left));
        }
    }
    PumpEvents();
}

std::optional<TPointerState> TSdlBackend::QueryPointer() {
    for (const auto& [hwnd, native] : m_windows) {
        if (std::optional<TPointerState> state = SdlX11::QueryPointer(native.Window)) {
            state->Screen = m_scale.ToLogical(state->Screen);
            return state;
        }
        break;
    }
    return std::nullopt;
}

// ---- Clipboard and beep -----------------------------------------------------------------------------

bool TSdlBackend::SetClipboardText(std::string_view text) {
    // The clipboard holds text up to its first NUL, as classic plain text does.
    const std::string copy(text.substr(0, text.find('\0')));
    SDL_Window* anyWindow = m_windows.empty() ? nullptr : m_windows.begin()->second.Window;
    // SDL hands the text to other programs in one X request; a longer text would be accepted here
    // and then never arrive anywhere, so it is refused.
    if (const std::optional<std::size_t> limit = SdlX11::ClipboardLimit(anyWindow);
        limit && copy.size() > *limit) {
        return false;
    }
    if (SDL_SetClipboardText(copy.c_str()) != 0) {
        return false;
    }
    SdlX11::NoteClipboardOwner(anyWindow);
    return true;
}

std::optional<std::string> TSdlBackend::ClipboardText() {
    if (!SDL_HasClipboardText()) {
        return std::nullopt;
    }
    char* text = SDL_GetClipboardText();
    if (!text) {
        return std::nullopt;
    }
    std::string result(text);
    SDL_free(text);
    return result;
}

void TSdlBackend::Beep() {
    if (!m_windows.empty()) {
        SdlX11::Bell(m_windows.begin()->second.Window);
    }
}
