#pragma once

#include "toolkit/graphics/PixelBuffer.h"
#include "toolkit/graphics/Region.h"
#include "toolkit/windowing/Backend.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A deterministic screen in memory for tests and screenshots: 1280 × 1024 with a work area of
// 1280 × 984 at (0, 0) (a 40-pixel panel at the bottom). Input is injected at screen points; what
// windows present is kept per window and can be read back or written to PNG.
//
// When the toolkit has nothing to do and waits, the backend runs the next scripted step (see
// WhenIdle), or moves a manual clock towards the time a test asked for; with nothing scripted a
// test would wait forever, so the stall handler runs instead (by default it reports and aborts).
class THeadlessBackend final : public TBackend {
public:
    static constexpr int kScreenWidth = 1280;
    static constexpr int kScreenHeight = 1024;
    static constexpr int kWorkAreaHeight = 984;
    // What the screen shows where no window is (a shaped window's cut-away corners included).
    static constexpr std::uint32_t kDesktopPixel = 0x3A6EA5;

    THeadlessBackend();
    ~THeadlessBackend() override;

    // ---- TBackend ----
    const char* Name() const override { return "headless"; }
    void Attach(TWindowSystem& system) override;
    void Detach() override;
    TRect ScreenRect() const override { return {0, 0, kScreenWidth, kScreenHeight}; }
    TRect WorkArea() const override { return {0, 0, kScreenWidth, kWorkAreaHeight}; }
    bool CreateNativeWindow(HWND hwnd, const TNativeWindowParams& params) override;
    void DestroyNativeWindow(HWND hwnd) override;
    void ShowNativeWindow(HWND hwnd, bool visible) override;
    void SetNativeWindowBounds(HWND hwnd, const TRect& screenBounds) override;
    void SetNativeWindowShape(HWND hwnd, const TRegion* shape) override;
    void SetNativeWindowTitle(HWND hwnd, const std::string& title) override;
    void SetNativeWindowMinimized(HWND hwnd, bool minimized) override;
    void RaiseNativeWindow(HWND hwnd) override;
    void Present(HWND hwnd, const TPixelBuffer& surface, std::span<const TRect> changed) override;
    void SetCursorShape(TCursorShape shape) override { m_cursor = shape; }
    void SetMouseCapture(bool capture) override { m_mouseCaptured = capture; }
    void PumpEvents() override {}
    void WaitForEvents(std::int64_t deadlineMs) override;
    std::optional<TPointerState> QueryPointer() override { return std::nullopt; }
    bool SetClipboardText(std::string_view text) override;
    std::optional<std::string> ClipboardText() override;
    void Beep() override { ++m_beeps; }

    // ---- Injection (queued; turned into messages when the toolkit retrieves them) ----
    void MovePointer(TPoint screen);
    void Press(TPoint screen, TMouseButton button = TMouseButton::Left);
    void Release(TPoint screen, TMouseButton button = TMouseButton::Left);
    void Wheel(TPoint screen, int delta);
    void KeyDown(int virtualKey, bool repeat = false);
    void KeyUp(int virtualKey);
    // One typed character per code point of the UTF-8 text, as text input (no key events).
    void Text(std::string_view utf8);
    void PointerLeft();
    void PlatformActivate(HWND hwnd);
    void PlatformCloseRequest(HWND hwnd);

    // ---- Scripting the idle toolkit ----
    // Runs step the next time the toolkit waits with nothing to do (inside a modal, move, size
    // or scroll loop, typically); steps run one per wait, in order.
    void WhenIdle(std::function<void()> step);
    std::size_t PendingSteps() const { return m_steps.size(); }
    void SetStallHandler(std::function<void()> handler) { m_stall = std::move(handler); }

    // ---- Reading back ----
    struct TNativeWindow {
        TNativeWindowParams Params;
        TRect Bounds;
        bool Visible = false;
        bool Minimized = false;
        std::optional<TRegion> Shape; // window coordinates
        TPixelBuffer Presented;       // what the screen shows of the window, desktop outside its shape
        int PresentCount = 0;
        std::vector<TRect> LastChanged;
        std::uint64_t RaiseOrder = 0; // larger is nearer the front
    };
    const TNativeWindow* Native(HWND hwnd) const;
    std::vector<HWND> NativeWindows() const;
    // The presented pixels of a window, or an empty buffer for an unknown window.
    const TPixelBuffer& PresentedPixels(HWND hwnd) const;
    // The whole screen: desktop, then every visible window in raise order, each within its shape.
    TPixelBuffer ScreenPixels() const;
    // Writes what the screen shows of the window (or, for 0, the whole screen) as a PNG file;
    // the error message when it cannot.
    std::optional<std::string> SavePng(HWND hwnd, const std::string& path) const;
    int BeepCount() const { return m_beeps; }
    TCursorShape Cursor() const { return m_cursor; }
    bool MouseCaptured() const { return m_mouseCaptured; }
    const std::string& Clipboard() const { return m_clipboard; }
    int ClipboardWrites() const { return m_clipboardWrites; }
    // While set, the clipboard refuses text as a desktop's may: writes fail and change nothing.
    void SetClipboardRefused(bool refused) { m_clipboardRefused = refused; }

private:
    void Post(const TRawInput& raw);

    TWindowSystem* m_system = nullptr;
    std::map<HWND, TNativeWindow> m_windows;
    std::uint64_t m_raiseCounter = 0;
    std::deque<std::function<void()>> m_steps;
    std::function<void()> m_stall;
    TCursorShape m_cursor = TCursorShape::Arrow;
    bool m_mouseCaptured = false;
    std::string m_clipboard;
    bool m_hasClipboard = false;
    bool m_clipboardRefused = false;
    int m_clipboardWrites = 0;
    int m_beeps = 0;
    TPixelBuffer m_empty;
};
