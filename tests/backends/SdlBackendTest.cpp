#include "toolkit/backends/sdl/SdlBackend.h"

#include "toolkit/backends/sdl/SdlKeys.h"
#include "toolkit/windowing/Messages.h"

#include <SDL2/SDL.h>
#include <cstdlib>

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

} // namespace
