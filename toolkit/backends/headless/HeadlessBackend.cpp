#include "toolkit/backends/headless/HeadlessBackend.h"

#include "toolkit/graphics/PngCodec.h"
#include "toolkit/windowing/Utf8.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

THeadlessBackend::THeadlessBackend(int scale) : m_scale(scale) {}
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
    w.DeviceBounds = m_scale.ToDevice(params.Bounds);
    w.Presented.Reset(std::max(w.DeviceBounds.Width(), 0), std::max(w.DeviceBounds.Height(), 0),
                      kDesktopPixel);
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
    TNativeWindow& w = it->second;
    w.Bounds = screenBounds;
    w.DeviceBounds = m_scale.ToDevice(screenBounds);
    w.Presented.Resize(std::max(w.DeviceBounds.Width(), 0), std::max(w.DeviceBounds.Height(), 0),
                       kDesktopPixel);
}

void THeadlessBackend::SetNativeWindowShape(HWND hwnd, const TRegion* shape) {
    auto it = m_windows.find(hwnd);
    if (it == m_windows.end()) {
        return;
    }
    TNativeWindow& w = it->second;
    w.DeviceShape.clear();
    if (shape) {
        w.Shape = *shape;
        for (const TRect& r : shape->Rects()) {
            w.DeviceShape.push_back(m_scale.ToDevice(r));
        }
    } else {
        w.Shape.reset();
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
    const TRect device = m_scale.ToDevice(surface.Bounds());
    if (w.Presented.Width() != device.Width() || w.Presented.Height() != device.Height()) {
        w.Presented.Resize(device.Width(), device.Height(), kDesktopPixel);
    }
    // The logical part whose blocks fit the presented pixels whole (a buffer too large to hold is
    // cut short).
    const TRect fits = IntersectRects(surface.Bounds(), m_scale.LogicalInside(w.Presented.Bounds()));
    auto* target = reinterpret_cast<std::uint8_t*>(w.Presented.Pixels().data());
    const std::ptrdiff_t pitch = static_cast<std::ptrdiff_t>(w.Presented.Width()) * sizeof(std::uint32_t);
    for (const TRect& r : changed) {
        const TRect area = IntersectRects(r, fits);
        if (area.IsEmpty()) {
            continue;
        }
        m_scale.Blit(surface, area, target, pitch);
        if (w.Shape) {
            TRegion(area).Subtract(*w.Shape).ForEachRect(
                area, [&](const TRect& outside) { m_scale.Fill(outside, kDesktopPixel, target, pitch); });
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
    TPixelBuffer screen(m_scale.ToDevice(kScreenWidth), m_scale.ToDevice(kScreenHeight), kDesktopPixel);
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
        const TRect area = IntersectRects(w->DeviceBounds, screen.Bounds());
        for (int y = area.Top; y < area.Bottom; ++y) {
            for (int x = area.Left; x < area.Right; ++x) {
                const int dx = x - w->DeviceBounds.Left;
                const int dy = y - w->DeviceBounds.Top;
                if (w->Presented.Contains(dx, dy) &&
                    (!w->Shape || w->Shape->Contains(m_scale.ToLogical(dx), m_scale.ToLogical(dy)))) {
                    screen.Row(y)[x] = w->Presented.Row(dy)[dx];
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

void THeadlessBackend::PostPointer(TRawInputKind kind, TPoint device, TMouseButton button) {
    TRawInput raw;
    raw.Kind = kind;
    raw.Screen = m_scale.ToLogical(device);
    raw.Button = button;
    Post(raw);
}

void THeadlessBackend::MovePointer(TPoint screen) {
    PostPointer(TRawInputKind::PointerMove, screen);
}

void THeadlessBackend::Press(TPoint screen, TMouseButton button) {
    PostPointer(TRawInputKind::ButtonDown, screen, button);
}

void THeadlessBackend::Release(TPoint screen, TMouseButton button) {
    PostPointer(TRawInputKind::ButtonUp, screen, button);
}

void THeadlessBackend::Wheel(TPoint screen, int delta) {
    TRawInput raw;
    raw.Kind = TRawInputKind::Wheel;
    raw.Screen = m_scale.ToLogical(screen);
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
