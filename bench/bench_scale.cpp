// Presenting a whole window at scale 2: the pixels of the program's painted main window (482 × 481,
// as start-up makes it) copied as 2 × 2 blocks, 964 × 962 device pixels, the way the backends show
// a window that changed everywhere. The budget is 1 ms per frame.
//
//   BM_PresentScaledHeadless  into the headless backend's memory (the copy alone)
//   BM_PresentScaledSdl/N     into an SDL window surface at scale N and shown: on the X server of
//                             DISPLAY when there is one (XShm), else on SDL's dummy driver

#include "app/RandomSource.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/backends/sdl/SdlBackend.h"
#include "toolkit/controls/Application.h"
#include "toolkit/windowing/WindowSystem.h"

#include <SDL2/SDL.h>
#include <cstdlib>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

namespace {

// The surface of the painted main window, as the toolkit hands it to a backend.
TPixelBuffer PaintedWindow() {
    auto system = StartWindowSystem(std::make_unique<THeadlessBackend>(), std::make_unique<TManualClock>());
    TReproducibleRandomSource source;
    Application->Reset();
    Application->Initialize();
    TVarnelWindows windows;
    TPixelBuffer pixels;
    if (CreateVarnelWindows(windows) && ApplyWindowOptions({}, source, windows)) {
        windows.Main->Show();
        Application->ProcessMessages();
        pixels = *system->Surface(windows.Main->Handle());
    }
    Application->Reset();
    return pixels;
}

constexpr HWND kWindow = 0x100;

void BM_PresentScaledHeadless(benchmark::State& state) {
    const TPixelBuffer surface = PaintedWindow();
    if (surface.Empty()) {
        state.SkipWithError("the main window cannot be made");
        return;
    }
    THeadlessBackend backend(2);
    TNativeWindowParams params;
    params.Bounds = Bounds(100, 100, surface.Width(), surface.Height());
    backend.CreateNativeWindow(kWindow, params);
    backend.ShowNativeWindow(kWindow, true);
    const TRect all[] = {surface.Bounds()};
    for (auto _ : state) {
        backend.Present(kWindow, surface, all);
        benchmark::DoNotOptimize(backend.PresentedPixels(kWindow).Pixels().data());
    }
    const TPixelBuffer& shown = backend.PresentedPixels(kWindow);
    state.SetLabel(std::to_string(shown.Width()) + " x " + std::to_string(shown.Height()));
}
BENCHMARK(BM_PresentScaledHeadless)->Unit(benchmark::kMicrosecond);

void BM_PresentScaledSdl(benchmark::State& state) {
    const TPixelBuffer surface = PaintedWindow();
    if (surface.Empty()) {
        state.SkipWithError("the main window cannot be made");
        return;
    }
    const char* display = std::getenv("DISPLAY");
    const bool real = display && *display;
    if (!real) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
    }
    std::string error;
    std::unique_ptr<TSdlBackend> backend = TSdlBackend::Create(&error, static_cast<int>(state.range(0)));
    if (!real) {
        unsetenv("SDL_VIDEODRIVER");
    }
    if (!backend) {
        state.SkipWithError(("SDL cannot start: " + error).c_str());
        return;
    }
    TNativeWindowParams params;
    params.Bounds = Bounds(100, 100, surface.Width(), surface.Height());
    params.Title = "bench";
    backend->CreateNativeWindow(kWindow, params);
    backend->ShowNativeWindow(kWindow, true);
    backend->PumpEvents();
    const TRect all[] = {surface.Bounds()};
    for (auto _ : state) {
        backend->Present(kWindow, surface, all);
    }
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(backend->NativeWindow(kWindow), &w, &h);
    state.SetLabel(std::string(SDL_GetCurrentVideoDriver()) + " " + std::to_string(w) + " x " +
                   std::to_string(h));
    backend->DestroyNativeWindow(kWindow);
}
// At 1 for comparison: what the same frame costs unscaled.
BENCHMARK(BM_PresentScaledSdl)->Arg(2)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
