#pragma once

#include "toolkit/windowing/Backend.h"
#include "toolkit/windowing/DisplayScale.h"

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct SDL_Window;
struct SDL_Cursor;
struct SDL_Surface;
union SDL_Event;

// Real windows through SDL2: one borderless SDL window per top-level window, the window surface
// (no OpenGL) for presentation, SDL input turned into raw input at screen points. Moving and
// sizing are the toolkit's own loops; this backend only lets them read the real pointer.
//
// At a scale N every window is N times its logical size on the screen and shows each logical
// pixel as an N × N block. Everything this backend reports (screen, work area, pointer) is in
// logical pixels and everything it is given (bounds, shapes, changed rectangles) is too; the
// conversion happens here and nowhere else.
class TSdlBackend final : public TBackend {
public:
    // Initialises SDL video; nullptr, with the reason in error, when no display can be opened.
    // scale 0 takes the factor from the environment and the desktop (ChooseDisplayScale), saying
    // on standard error which values it ignored; 1 to 4 use that factor.
    static std::unique_ptr<TSdlBackend> Create(std::string* error = nullptr, int scale = 0);
    ~TSdlBackend() override;

    const char* Name() const override { return "sdl"; }
    void Attach(TWindowSystem& system) override { m_system = &system; }
    void Detach() override;
    TRect ScreenRect() const override;
    TRect WorkArea() const override;
    bool CreateNativeWindow(HWND hwnd, const TNativeWindowParams& params) override;
    void DestroyNativeWindow(HWND hwnd) override;
    void ShowNativeWindow(HWND hwnd, bool visible) override;
    void SetNativeWindowBounds(HWND hwnd, const TRect& screenBounds) override;
    void SetNativeWindowShape(HWND hwnd, const TRegion* shape) override;
    void SetNativeWindowTitle(HWND hwnd, const std::string& title) override;
    void SetNativeWindowMinimized(HWND hwnd, bool minimized) override;
    void RaiseNativeWindow(HWND hwnd) override;
    void Present(HWND hwnd, const TPixelBuffer& surface, std::span<const TRect> changed) override;
    void SetCursorShape(TCursorShape shape) override;
    void SetMouseCapture(bool capture) override;
    void PumpEvents() override;
    void WaitForEvents(std::int64_t deadlineMs) override;
    std::optional<TPointerState> QueryPointer() override;
    bool SetClipboardText(std::string_view text) override;
    std::optional<std::string> ClipboardText() override;
    void Beep() override;

    int Scale() const { return m_scale.Factor(); }
    // The SDL window of a top-level window, for tests that read what it shows; nullptr when the
    // window has no native window here.
    SDL_Window* NativeWindow(HWND hwnd) const;

private:
    TSdlBackend() = default;

    struct TNative {
        SDL_Window* Window = nullptr;
        bool Popup = false;
        HWND Owner = 0;
        TRect Bounds; // logical
        bool Visible = false;
        std::vector<TRect> Shape; // device window coordinates; empty for the whole rectangle
        bool Shaped = false;
    };

    void Translate(const SDL_Event& event);
    // Takes every event SDL has now into the raw input queue.
    void TranslatePending();
    // Takes what the pointer grab's connection has caught into the raw input queue.
    void TakeGrabbedInput();
    HWND WindowOf(unsigned sdlWindowId) const;
    // The logical screen point of a device point in an SDL window.
    TPoint ScreenPoint(unsigned sdlWindowId, int x, int y) const;
    void Post(const TRawInput& raw);
    void UpdateMouseCapture();
    bool AnyPopupVisible() const;

    TDisplayScale m_scale;
    TWindowSystem* m_system = nullptr;
    std::map<HWND, TNative> m_windows;
    std::unordered_map<unsigned, HWND> m_byId;
    std::array<SDL_Cursor*, 14> m_cursors{};
    SDL_Surface* m_icon = nullptr; // the program's icon for its windows, made with the first one
    bool m_captureWanted = false;
    bool m_focusMayBeLost = false;
    TPoint m_lastPointer;
};
