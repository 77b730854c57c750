#include "tests/support/ToolkitFixture.h"

#include "tests/support/Artifacts.h"
#include "toolkit/windowing/Utf8.h"
#include "toolkit/windowing/WinUser.h"

#include <cctype>

TToolkitFixture::TToolkitFixture(int scale) {
    auto backend = std::make_unique<THeadlessBackend>(scale);
    auto clock = std::make_unique<TManualClock>(1000);
    m_backend = backend.get();
    m_clock = clock.get();
    m_system = StartWindowSystem(std::move(backend), std::move(clock));
    m_backend->SetStallHandler([] {
        ADD_FAILURE() << "a message loop waited for input that the test never scripted";
        // Every loop ends on WM_QUIT and posts it on, so the test comes back to its own code.
        PostQuitMessage(99);
    });
}

TToolkitFixture::~TToolkitFixture() = default;

void TToolkitFixture::TearDown() {
    if (HasFailure() && m_system) {
        m_system->PresentChanged(true);
        for (HWND hwnd : m_backend->NativeWindows()) {
            const TPixelBuffer& pixels = m_backend->PresentedPixels(hwnd);
            if (!pixels.Empty()) {
                SaveFailurePng("window-" + std::to_string(hwnd), pixels);
            }
        }
    }
}

void TToolkitFixture::Pump() {
    m_system->PumpPending();
}

void TToolkitFixture::Advance(std::int64_t ms) {
    m_clock->Advance(ms);
}

void TToolkitFixture::MoveTo(TPoint screen) {
    m_backend->MovePointer(screen);
    Pump();
}

void TToolkitFixture::Press(TPoint screen, TMouseButton button) {
    m_backend->Press(screen, button);
    Pump();
}

void TToolkitFixture::Release(TPoint screen, TMouseButton button) {
    m_backend->Release(screen, button);
    Pump();
}

void TToolkitFixture::Click(TPoint screen, TMouseButton button) {
    m_backend->MovePointer(screen);
    m_backend->Press(screen, button);
    m_backend->Release(screen, button);
    Pump();
}

void TToolkitFixture::Wheel(TPoint screen, int delta) {
    m_backend->Wheel(screen, delta);
    Pump();
}

void TToolkitFixture::KeyDown(int vk) {
    m_backend->KeyDown(vk);
    Pump();
}

void TToolkitFixture::KeyUp(int vk) {
    m_backend->KeyUp(vk);
    Pump();
}

void TToolkitFixture::PressKey(int vk, std::string_view text) {
    m_backend->KeyDown(vk);
    if (!text.empty()) {
        m_backend->Text(text);
    }
    m_backend->KeyUp(vk);
    Pump();
}

void TToolkitFixture::Type(std::string_view text) {
    for (char32_t c : DecodeUtf8(text)) {
        int vk = 0;
        bool shifted = false;
        if (c >= U'a' && c <= U'z') {
            vk = static_cast<int>(c - U'a' + 'A');
        } else if (c >= U'A' && c <= U'Z') {
            vk = static_cast<int>(c);
            shifted = true;
        } else if (c >= U'0' && c <= U'9') {
            vk = static_cast<int>(c);
        } else if (c == U' ') {
            vk = VK_SPACE;
        } else if (c == U'\r' || c == U'\n') {
            PressKey(VK_RETURN);
            continue;
        } else if (c == U'\t') {
            PressKey(VK_TAB);
            continue;
        } else if (c == U'\b') {
            PressKey(VK_BACK);
            continue;
        }
        if (shifted) {
            m_backend->KeyDown(VK_SHIFT);
        }
        if (vk) {
            m_backend->KeyDown(vk);
        }
        m_backend->Text(EncodeUtf8(c));
        if (vk) {
            m_backend->KeyUp(vk);
        }
        if (shifted) {
            m_backend->KeyUp(VK_SHIFT);
        }
    }
    Pump();
}

const TPixelBuffer& TToolkitFixture::Presented(HWND topLevel) {
    m_system->PresentChanged(true);
    return m_backend->PresentedPixels(topLevel);
}
