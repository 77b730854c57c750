#include "toolkit/backends/sdl/SdlBackend.h"

#include "tests/support/TestWindows.h"
#include "toolkit/backends/sdl/SdlKeys.h"
#include "toolkit/windowing/Messages.h"
#include "toolkit/windowing/WindowSystem.h"

#include <SDL2/SDL.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(SdlKeys, LettersFollowTheLayoutPunctuationThePlaceOnTheKeyboard) {
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_a, SDL_SCANCODE_Q), 'A') << "an AZERTY A is A";
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_7, SDL_SCANCODE_7), '7');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RETURN, SDL_SCANCODE_RETURN), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_5, SDL_SCANCODE_KP_5), VK_NUMPAD0 + 5);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F10, SDL_SCANCODE_F10), VK_F10);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_LALT, SDL_SCANCODE_LALT), VK_MENU);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RALT, SDL_SCANCODE_RALT), VK_RMENU)
        << "AltGr types, it makes no system keys";
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RCTRL, SDL_SCANCODE_RCTRL), VK_CONTROL);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON), VK_OEM_1);
    // A layout letter without an ASCII code (é on a French keyboard) is named by its place.
    EXPECT_EQ(VirtualKeyFromSdl(0xE9, SDL_SCANCODE_2), 0);
    EXPECT_EQ(VirtualKeyFromSdl(0xE9, SDL_SCANCODE_E), 'E');
    EXPECT_FALSE(MouseButtonFromSdl(SDL_BUTTON_X1).has_value());
    EXPECT_EQ(MouseButtonFromSdl(SDL_BUTTON_RIGHT), TMouseButton::Right);
}

// SDL's dummy video driver needs no display: windows, surfaces and an in-process clipboard.
TEST(SdlBackend, RunsWithoutADisplayOnTheDummyDriver) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string error;
    std::unique_ptr<TSdlBackend> backend = TSdlBackend::Create(&error);
    unsetenv("SDL_VIDEODRIVER");
    ASSERT_TRUE(backend) << error;
    EXPECT_FALSE(backend->ScreenRect().IsEmpty());
    EXPECT_FALSE(backend->WorkArea().IsEmpty());
    TNativeWindowParams params;
    params.Bounds = Bounds(10, 20, 64, 48);
    ASSERT_TRUE(backend->CreateNativeWindow(0x100, params));
    backend->ShowNativeWindow(0x100, true);
    TPixelBuffer surface(64, 48, 0x123456);
    const TRect all[] = {surface.Bounds(), Bounds(60, 40, 100, 100)};
    backend->Present(0x100, surface, all);
    backend->SetNativeWindowBounds(0x100, Bounds(0, 0, 32, 32));
    backend->Present(0x100, surface, all); // the window is smaller than the surface now
    backend->SetCursorShape(TCursorShape::Hand);
    backend->PumpEvents();
    EXPECT_TRUE(backend->SetClipboardText(std::string("line\r\nnext\0hidden", 16)));
    EXPECT_EQ(backend->ClipboardText(), "line\r\nnext");
    EXPECT_FALSE(backend->QueryPointer().has_value()) << "only X11 tells the real pointer";
    backend->DestroyNativeWindow(0x100);
    backend->DestroyNativeWindow(0x100);
}

// Sets environment variables for a test's duration and puts back what was there.
class TEnvironment {
public:
    TEnvironment(std::initializer_list<std::pair<const char*, const char*>> values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name);
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
            if (value) {
                setenv(name, value, 1);
            } else {
                unsetenv(name);
            }
        }
    }
    ~TEnvironment() {
        for (const auto& [name, value] : m_saved) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

private:
    std::map<std::string, std::optional<std::string>> m_saved;
};

// The dummy driver, with nothing of the desktop's own scale around.
std::unique_ptr<TSdlBackend> DummyBackend(int scale, const char* varnelScale = nullptr) {
    TEnvironment environment{{"SDL_VIDEODRIVER", "dummy"},
                             {"VARNEL_SCALE", varnelScale},
                             {"GDK_SCALE", nullptr},
                             {"QT_SCALE_FACTOR", nullptr}};
    std::string error;
    std::unique_ptr<TSdlBackend> backend = TSdlBackend::Create(&error, scale);
    EXPECT_TRUE(backend) << error;
    return backend;
}

TEST(SdlBackend, TheFactorComesFromTheEnvironmentAndAnUnusableOneIsSaidOnce) {
    ::testing::internal::CaptureStderr();
    std::unique_ptr<TSdlBackend> backend = DummyBackend(0, "3");
    std::string said = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(backend);
    EXPECT_EQ(backend->Scale(), 3);
    EXPECT_EQ(said, "");
    backend.reset();

    ::testing::internal::CaptureStderr();
    backend = DummyBackend(0, "twice");
    said = ::testing::internal::GetCapturedStderr();
    ASSERT_TRUE(backend);
    EXPECT_EQ(backend->Scale(), 1);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("VARNEL_SCALE=twice"), std::string::npos) << said;
    backend.reset();

    backend = DummyBackend(2, "twice");
    ASSERT_TRUE(backend);
    EXPECT_EQ(backend->Scale(), 2) << "a factor given by the program is taken as it is";
}

// What the window shows in device pixels: every block is the logical pixel, on SDL's own
// surface, and the screen is reported in logical pixels.
TEST(SdlBackend, PresentsEachLogicalPixelAsABlockOfTheWindowSurface) {
    std::unique_ptr<TSdlBackend> backend = DummyBackend(2);
    ASSERT_TRUE(backend);
    SDL_Rect display;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &display), 0);
    EXPECT_EQ(backend->ScreenRect(), Rect(0, 0, display.w / 2, display.h / 2));
    EXPECT_EQ(backend->WorkArea().Width(), backend->ScreenRect().Width());

    TNativeWindowParams params;
    params.Bounds = Bounds(10, 20, 30, 20);
    ASSERT_TRUE(backend->CreateNativeWindow(0x100, params));
    SDL_Window* window = backend->NativeWindow(0x100);
    ASSERT_NE(window, nullptr);
    backend->ShowNativeWindow(0x100, true);
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(window, &x, &y);
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 40);
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w, 60);
    EXPECT_EQ(h, 40);

    TPixelBuffer surface(30, 20);
    for (int py = 0; py < 20; ++py) {
        for (int px = 0; px < 30; ++px) {
            surface.Set(px, py, static_cast<std::uint32_t>(0x050000 * px + 0x000700 * py + 0x33));
        }
    }
    const auto shown = [&](int dx, int dy) {
        SDL_Surface* s = SDL_GetWindowSurface(window);
        const auto* row =
            static_cast<const std::uint8_t*>(s->pixels) + static_cast<std::ptrdiff_t>(dy) * s->pitch;
        std::uint32_t p = 0;
        std::memcpy(&p, row + dx * 4, 4);
        return p & 0xFFFFFF;
    };
    SDL_Surface* target = SDL_GetWindowSurface(window);
    ASSERT_NE(target, nullptr);
    ASSERT_EQ(target->format->BytesPerPixel, 4);
    SDL_FillRect(target, nullptr, 0);
    // Only the changed rectangle is drawn.
    const TRect part[] = {Rect(4, 2, 9, 7)};
    backend->Present(0x100, surface, part);
    int wrong = 0;
    for (int dy = 0; dy < 40; ++dy) {
        for (int dx = 0; dx < 60; ++dx) {
            const bool inside = part[0].Contains({dx / 2, dy / 2});
            wrong += shown(dx, dy) != (inside ? surface.At(dx / 2, dy / 2) : 0u);
        }
    }
    EXPECT_EQ(wrong, 0);

    const TRect all[] = {surface.Bounds(), Bounds(25, 15, 100, 100)};
    backend->Present(0x100, surface, all);
    for (int dy = 0; dy < 40; ++dy) {
        for (int dx = 0; dx < 60; ++dx) {
            wrong += shown(dx, dy) != surface.At(dx / 2, dy / 2);
        }
    }
    EXPECT_EQ(wrong, 0);

    backend->SetNativeWindowBounds(0x100, Bounds(0, 0, 16, 8));
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(w, 32);
    EXPECT_EQ(h, 16);
    backend->Present(0x100, surface, all); // the window is smaller than the surface now
    EXPECT_EQ(shown(31, 15), surface.At(15, 7));
    backend->DestroyNativeWindow(0x100);
}

// A window system on the SDL backend at scale 2: SDL's device points arrive as logical ones.
TEST(SdlBackend, PointerEventsArriveAtTheLogicalPixelTheyFellIn) {
    std::unique_ptr<TSdlBackend> owned = DummyBackend(2);
    ASSERT_TRUE(owned);
    TSdlBackend* backend = owned.get();
    std::unique_ptr<TWindowSystem> system =
        StartWindowSystem(std::move(owned), std::make_unique<TManualClock>(1000));
    TTestWindows windows;
    HWND hwnd = windows.Create(0, Bounds(100, 50, 40, 30), WS_POPUP | WS_VISIBLE);
    SDL_Window* window = backend->NativeWindow(hwnd);
    ASSERT_NE(window, nullptr);
    system->PumpPending();

    const auto push = [&](Uint32 type, int x, int y) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.windowID = SDL_GetWindowID(window);
            e.motion.x = x;
            e.motion.y = y;
        } else {
            e.button.windowID = SDL_GetWindowID(window);
            e.button.button = SDL_BUTTON_LEFT;
            e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            e.button.clicks = 1;
            e.button.x = x;
            e.button.y = y;
        }
        SDL_PushEvent(&e);
    };
    // Client (7, 5) is device (14, 10) to (15, 11) of the window.
    push(SDL_MOUSEMOTION, 2 * 7 + 1, 2 * 5 + 1);
    push(SDL_MOUSEBUTTONDOWN, 2 * 7 + 1, 2 * 5 + 1);
    push(SDL_MOUSEBUTTONUP, 2 * 7, 2 * 5);
    system->PumpPending();
    const std::vector<TLoggedMessage> downs = windows.Find(WM_LBUTTONDOWN, hwnd);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(LParamToPoint(downs[0].lParam), (POINT{7, 5}));
    const std::vector<TLoggedMessage> ups = windows.Find(WM_LBUTTONUP, hwnd);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(LParamToPoint(ups[0].lParam), (POINT{7, 5}));
    EXPECT_EQ(system->CursorPos(), (POINT{107, 55}));

    // A point left of the window (while it holds the pointer) is outside it, not in its first
    // column.
    windows.ClearLog();
    SetCapture(hwnd);
    push(SDL_MOUSEMOTION, -1, 0);
    system->PumpPending();
    const std::vector<TLoggedMessage> moves = windows.Find(WM_MOUSEMOVE, hwnd);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(LParamToPoint(moves.back().lParam), (POINT{-1, 0}));
    ReleaseCapture();
    DestroyWindow(hwnd);
    system.reset();
}

} // namespace
