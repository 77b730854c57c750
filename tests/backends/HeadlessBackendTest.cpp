#include "tests/support/TestWindows.h"
#include "tests/support/ToolkitFixture.h"
#include "toolkit/backends/sdl/BackendChoice.h"
#include "toolkit/windowing/Utf8.h"

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

namespace {

class HeadlessBackend : public TToolkitFixture {
protected:
    TTestWindows windows;
};

TEST_F(HeadlessBackend, HasTheFixedScreenAndWorkArea) {
    EXPECT_EQ(Backend().ScreenRect(), Rect(0, 0, 1280, 1024));
    EXPECT_EQ(Backend().WorkArea(), Rect(0, 0, 1280, 984));
    EXPECT_EQ(Backend().Dpi(), 96);
}

TEST_F(HeadlessBackend, TheScreenShowsWindowsInTheOrderTheyWereRaised) {
    HWND back = windows.Create(0, Bounds(10, 10, 40, 40), WS_POPUP | WS_VISIBLE);
    HWND front = windows.Create(0, Bounds(30, 30, 40, 40), WS_POPUP | WS_VISIBLE);
    for (auto [hwnd, pixel] : {std::pair{back, 0xFF0000u}, std::pair{front, 0x0000FFu}}) {
        windows.On(hwnd, [pixel](HWND h, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message != WM_PAINT) {
                return std::nullopt;
            }
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(h, &ps);
            TBrushData brush;
            brush.Pixel = pixel;
            dc->FillRect(Bounds(0, 0, 40, 40), brush);
            EndPaint(h, &ps);
            return 0;
        });
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    Pump();
    System().PresentChanged(true);
    TPixelBuffer screen = Backend().ScreenPixels();
    EXPECT_EQ(screen.At(5, 5), THeadlessBackend::kDesktopPixel);
    EXPECT_EQ(screen.At(15, 15), 0xFF0000u);
    EXPECT_EQ(screen.At(35, 35), 0x0000FFu);
    SetActiveWindow(back);
    EXPECT_EQ(Backend().ScreenPixels().At(35, 35), 0xFF0000u);
    ShowWindow(back, SW_MINIMIZE);
    screen = Backend().ScreenPixels();
    EXPECT_EQ(screen.At(15, 15), THeadlessBackend::kDesktopPixel)
        << "a minimised window is not on the screen";
    EXPECT_EQ(screen.At(35, 35), 0x0000FFu);

    const std::string path = (std::filesystem::temp_directory_path() / "varnel-headless-screen.png").string();
    EXPECT_FALSE(Backend().SavePng(0, path).has_value());
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    std::filesystem::remove(path);
    EXPECT_TRUE(Backend().SavePng(12345, path).has_value());
}

TEST_F(HeadlessBackend, TextIsInjectedOneCharacterPerCodePointEvenWhenMalformed) {
    HWND w = windows.Create(0, Bounds(0, 0, 40, 40), WS_POPUP | WS_VISIBLE);
    Backend().Text("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xC3");
    Pump();
    std::vector<WPARAM> chars;
    for (const TLoggedMessage& m : windows.Find(WM_CHAR, w)) {
        chars.push_back(m.wParam);
    }
    EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 0xE9, 0x20AC, 0x1F600, 0xFFFD}));
}

TEST(Utf8, DecodingRefusesOverlongSurrogatesAndTruncatedSequencesAndRoundTrips) {
    EXPECT_EQ(DecodeUtf8("\xC0\xAF"), (std::u32string{0xFFFD, 0xFFFD}));
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), (std::u32string{0xFFFD, 0xFFFD, 0xFFFD}));
    EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80"), (std::u32string{0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}));
    EXPECT_EQ(DecodeUtf8("\xE2\x82"), (std::u32string{0xFFFD, 0xFFFD}));
    for (char32_t c : {U'A', U'\u00E9', U'\u20AC', U'\U0001F600'}) {
        EXPECT_EQ(DecodeUtf8(EncodeUtf8(c)), std::u32string(1, c));
    }
    EXPECT_EQ(EncodeUtf8(0xD800), "\xEF\xBF\xBD");
}

TEST(BackendChoice, HeadlessWhenAskedOrWithoutADisplay) {
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display ? display : "";
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const std::string savedWayland = wayland ? wayland : "";
    std::string note;

    setenv("VARNEL_BACKEND", "headless", 1);
    std::unique_ptr<TBackend> backend = ChooseBackend(&note);
    ASSERT_TRUE(backend);
    EXPECT_STREQ(backend->Name(), "headless");

    unsetenv("VARNEL_BACKEND");
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    backend = ChooseBackend(&note);
    ASSERT_TRUE(backend);
    EXPECT_STREQ(backend->Name(), "headless");
    EXPECT_NE(note.find("no display"), std::string::npos) << note;

    if (!savedDisplay.empty()) {
        setenv("DISPLAY", savedDisplay.c_str(), 1);
    }
    if (!savedWayland.empty()) {
        setenv("WAYLAND_DISPLAY", savedWayland.c_str(), 1);
    }
}

} // namespace
