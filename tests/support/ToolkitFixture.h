#pragma once

#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/windowing/WindowSystem.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

// A fresh window system per test: the headless backend and a manual clock, made current for the
// test's duration. Input helpers inject at screen points and then let the toolkit process
// everything that is ready, so a test reads as a user's actions. When a test fails, a PNG of every
// top-level window is saved (see tests/support/Artifacts.h).
//
// A fixture made at a scale above 1 presents every window that many times larger; its input
// helpers then take device points (see THeadlessBackend).
class TToolkitFixture : public ::testing::Test {
protected:
    explicit TToolkitFixture(int scale = 1);
    ~TToolkitFixture() override;

    TWindowSystem& System() { return *m_system; }
    THeadlessBackend& Backend() { return *m_backend; }
    TManualClock& Clock() { return *m_clock; }

    // Retrieves and dispatches everything that is ready (what a message loop would do now).
    void Pump();
    // Moves the clock forward, delivering every timer that falls due on the way, in order.
    // Called from a step scripted with WhenIdle, it lets the waiting loop do the delivering.
    void Advance(std::int64_t ms);

    void MoveTo(TPoint screen);
    void Press(TPoint screen, TMouseButton button = TMouseButton::Left);
    void Release(TPoint screen, TMouseButton button = TMouseButton::Left);
    void Click(TPoint screen, TMouseButton button = TMouseButton::Left);
    void Wheel(TPoint screen, int delta);
    void KeyDown(int vk);
    void KeyUp(int vk);
    // Key down and up; with text, the character the key types arrives between them, as from a
    // real keyboard.
    void PressKey(int vk, std::string_view text = {});
    // Types text the way a keyboard does: each character as its key going down, the character,
    // the key going up (Enter, Tab and Backspace as keys only).
    void Type(std::string_view text);

    // Runs step the next time a loop waits with nothing to do (inside modal or move loops).
    void WhenIdle(std::function<void()> step) { m_backend->WhenIdle(std::move(step)); }
    // Presents what changed and returns what the screen shows of the window.
    const TPixelBuffer& Presented(HWND topLevel);

    // Injection without processing, for scripted steps inside loops.
    void InjectMove(TPoint screen) { m_backend->MovePointer(screen); }
    void InjectPress(TPoint screen) { m_backend->Press(screen); }
    void InjectRelease(TPoint screen) { m_backend->Release(screen); }

    void TearDown() override;

private:
    THeadlessBackend* m_backend = nullptr;
    TManualClock* m_clock = nullptr;
    std::unique_ptr<TWindowSystem> m_system;
};
