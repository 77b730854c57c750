#include "toolkit/backends/headless/HeadlessBackend.h"

#include "toolkit/graphics/PngCodec.h"
#include "toolkit/windowing/Utf8.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

THeadlessBackend::THeadlessBackend() = default;
THeadlessBackend::~THeadlessBackend() = default;

void THeadlessBackend::Attach(TWindowSystem& system) {
    m_system = &system;
}

void THeadlessBackend::Detach() {
    m_system = nullptr;
    m_steps.clear();
}

// ---- Native windows ----------------------------------------------------------------------------

bool THeadlessBackend::CreateNativeWindow(HWND hwnd, const TNativeWindowParams& params) {
    TNativeWindow& w = m_windows[hwnd];
    w.Params = params;
    w.Bounds = params.Bounds;
    w.Presented.Reset(std::max(params.Bounds.Width(), 0), std::max(params.Bounds.Height(), 0), kDesktopPixel);
    return true;
}

void THeadlessBackend::DestroyNativeWindow(HWND hwnd) {
    m_windows.erase(hwnd);
}

void THeadlessBackend::ShowNativeWindow(HWND hwnd, bool visible) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) {
        return;
    }
    it->second.Visible = visible;
    if (visible) {
        it->second.RaiseOrder = ++m_raiseCounter;
    }
}

void THeadlessBackend::SetNativeWindowBounds(HWND hwnd, const TRect& screenBounds) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) {
        return;
    }
    it->second.Bounds = screenBounds;
    it->second.Presented.Resize(std::max(screenBounds.Width(), 0), std::max(screenBounds.Height(), 0),
                                kDesktopPixel);
}

void THeadlessBackend::SetNativeWindowShape(HWND hwnd, const TRegion* shape) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) {
        return;
    }
    if (shape) {
        it->second.Shape = *shape;
    } else {
        it->second.Shape.reset();
    }
}

void THeadlessBackend::SetNativeWindowTitle(HWND hwnd, const std::string& title) {
    auto it = m_windows.find(hwnd);
    if (it != m_windows.end()) {
        it->second.Params.Title = title;
    }
}

void THeadlessBackend::SetNativeWindowMinimized(HWND hwnd, bool minimized) {
    auto it = m_windows.find(hwnd);
    if (it != m_windows.end()) {
        it->second.Minimized = minimized;
    }
}

void THeadlessBackend::RaiseNativeWindow(HWND hwnd) {
    auto it = m_windows.find(hwnd);
    if (it != m_windows.end()) {
        it->second.RaiseOrder = ++m_raiseCounter;
    }
}

void THeadlessBackend::Present(HWND hwnd, const TPixelBuffer& surface, std::span<const TRect> changed) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) {
        return;
    }
    TNativeWindow& w = it->second;
    if (w.Presented.Width() != surface.Width() || w.Presented.Height() != surface.Height()) {
        w.Presented.Resize(surface.Width(), surface.Height(), kDesktopPixel);
    }
    for (const TRect& r : changed) {
        const TRect area = IntersectRects(r, surface.Bounds());
        for (int y = area.Top; y < area.Bottom; ++y) {
            const std::uint32_t* from = surface.Row(y);
            std::uint32_t* to = w.Presented.Row(y);
            for (int x = area.Left; x < area.Right; ++x) {
                to[x] = (!w.Shape || w.Shape->Contains(x, y)) ? from[x] : kDesktopPixel;
            }
        }
    }
    w.LastChanged.assign(changed.begin(), changed.end());
    ++w.PresentCount;
}

const THeadlessBackend::TNativeWindow* THeadlessBackend::Native(HWND hwnd) const {
    auto it = m_windows.find(hwnd);
    return it == m_windows.end() ? nullptr : &it->second;
}

std::vector<HWND> THeadlessBackend::NativeWindows() const {
    std::vector<HWND> handles;
    for (const auto& [hwnd, w] : m_windows) {
        handles.push_back(hwnd);
    }
    return handles;
}

const TPixelBuffer& THeadlessBackend::PresentedPixels(HWND hwnd) const {
    const TNativeWindow* w = Native(hwnd);
    return w ? w->Presented : m_empty;
}

TPixelBuffer THeadlessBackend::ScreenPixels() const {
    TPixelBuffer screen(kScreenWidth, kScreenHeight, kDesktopPixel);
    std::vector<const TNativeWindow*> order;
    for (const auto& [hwnd, w] : m_windows) {
        if (w.Visible && !w.Minimized) {
            order.push_back(&w);
        }
    }
    // Popups (menus) stay above ordinary windows; otherwise the last raised is in front.
    std::sort(order.begin(), order.end(), [](const TNativeWindow* a, const TNativeWindow* b) {
        const bool ap = a->Params.Kind == TNativeWindowKind::Popup;
        const bool bp = b->Params.Kind == TNativeWindowKind::Popup;
        return ap != bp ? bp : a->RaiseOrder < b->RaiseOrder;
    });
    for (const TNativeWindow* w : order) {
        const TRect area = IntersectRects(w->Bounds, screen.Bounds());
        for (int y = area.Top; y < area.Bottom; ++y) {
            for (int x = area.Left; x < area.Right; ++x) {
                const int lx = x - w->Bounds.Left;
                const int ly = y - w->Bounds.Top;
                if (w->Presented.Contains(lx, ly) && (!w->Shape || w->Shape->Contains(lx, ly))) {
                    screen.Row(y)[x] = w->Presented.Row(ly)[lx];
                }
            }
        }
    }
    return screen;
}

std::optional<std::string> THeadlessBackend::SavePng(HWND hwnd, const std::string& path) const {
    const TPixelBuffer screen = hwnd ? TPixelBuffer() : ScreenPixels();
    const TPixelBuffer& pixels = hwnd ? PresentedPixels(hwnd) : screen;
    if (pixels.Empty()) {
        return "no such window, or nothing shown of it";
    }
    const TStatus status = WritePngFile(pixels, path);
    if (!status) {
        return status.Message();
    }
    return std::nullopt;
}

// ---- Waiting ------------------------------------------------------------------------------------

void THeadlessBackend::WaitForEvents(std::int64_t deadlineMs) {
    if (!m_system) {
        return;
    }
    if (m_system->StepTowardsClockTarget()) {
        return;
    }
    if (!m_steps.empty()) {
        std::function<void()> step = std::move(m_steps.front());
        m_steps.pop_front();
        step();
        return;
    }
    if (!m_system->Clock().IsManual()) {
        // A headless program on the real clock: sleep until the next timer, a little at a time.
        const std::int64_t now = m_system->Now();
        const std::int64_t wait = deadlineMs < 0 ? 50 : std::clamp<std::int64_t>(deadlineMs - now, 0, 50);
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        return;
    }
    if (m_stall) {
        m_stall();
        return;
    }
    std::fputs("headless backend: the message loop waits for input that nothing will send "
               "(script it with WhenIdle or advance the clock)\n",
               stderr);
    std::abort();
}

void THeadlessBackend::WhenIdle(std::function<void()> step) {
    m_steps.push_back(std::move(step));
}

// ---- Injection ------------------------------------------------------------------------------------

void THeadlessBackend::Post(const TRawInput& raw) {
    if (m_system) {
        m_system->PostRawInput(raw);
    }
}

void THeadlessBackend::MovePointer(TPoint screen) {
    TRawInput raw;
    raw.Kind = TRawInputKind::PointerMove;
    raw.Screen = screen;
    Post(raw);
}

void THeadlessBackend::Press(TPoint screen, TMouseButton button) {
    TRawInput raw;
    raw.Kind = TRawInputKind::ButtonDown;
    raw.Screen = screen;
    raw.Button = button;
    Post(raw);
}

void THeadlessBackend::Release(TPoint screen, TMouseButton button) {
    TRawInput raw;
    raw.Kind = TRawInputKind::ButtonUp;
    raw.Screen = screen;
    raw.Button = button;
    Post(raw);
}

void THeadlessBackend::Wheel(TPoint screen, int delta) {
    TRawInput raw;
    raw.Kind = TRawInputKind::Wheel;
    raw.Screen = screen;
    raw.WheelDelta = delta;
    Post(raw);
}

void THeadlessBackend::KeyDown(int virtualKey, bool repeat) {
    TRawInput raw;
    raw.Kind = TRawInputKind::KeyDown;
    raw.VirtualKey = virtualKey;
    raw.Repeat = repeat;
    Post(raw);
}

void THeadlessBackend::KeyUp(int virtualKey) {
    TRawInput raw;
    raw.Kind = TRawInputKind::KeyUp;
    raw.VirtualKey = virtualKey;
    Post(raw);
}

void THeadlessBackend::Text(std::string_view utf8) {
    for (char32_t c : DecodeUtf8(utf8)) {
        TRawInput raw;
        raw.Kind = TRawInputKind::Text;
        raw.Char = c;
        Post(raw);
    }
}

void THeadlessBackend::PointerLeft() {
    TRawInput raw;
    raw.Kind = TRawInputKind::PointerLeft;
    Post(raw);
}

void THeadlessBackend::PlatformActivate(HWND hwnd) {
    TRawInput raw;
    raw.Kind = TRawInputKind::Activate;
    raw.Window = hwnd;
    Post(raw);
}

void THeadlessBackend::PlatformCloseRequest(HWND hwnd) {
    TRawInput raw;
    raw.Kind = TRawInputKind::CloseRequest;
    raw.Window = hwnd;
    Post(raw);
}

// ---- Clipboard ---------------------------------------------------------------------------------------

bool THeadlessBackend::SetClipboardText(std::string_view text) {
    if (m_clipboardRefused) {
        return false;
    }
    m_clipboard.assign(text);
    m_hasClipboard = true;
    ++m_clipboardWrites;
    return true;
}

std::optional<std::string> THeadlessBackend::ClipboardText() {
    if (!m_hasClipboard) {
        return std::nullopt;
    }
    return m_clipboard;
}
