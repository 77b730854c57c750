#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/graphics/DeviceContext.h"
#include "toolkit/windowing/WinUser.h"
#include "toolkit/windowing/WindowSystem.h"

#include <benchmark/benchmark.h>

namespace {

struct TBenchSystem {
    THeadlessBackend* Backend = nullptr;
    std::unique_ptr<TWindowSystem> System;
    TBenchSystem() {
        auto backend = std::make_unique<THeadlessBackend>();
        Backend = backend.get();
        System = StartWindowSystem(std::move(backend), std::make_unique<TManualClock>());
    }
};

long g_received = 0;

LRESULT CountingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER) {
        ++g_received;
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

// Every window fills what it is asked to paint.
LRESULT PaintingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        TBrushData brush;
        brush.Pixel = static_cast<std::uint32_t>(hwnd * 2654435761u) & 0xFFFFFF;
        dc->FillRect(ps.rcPaint, brush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

void Register(const char* name, WNDPROC proc) {
    WNDCLASS wc;
    wc.lpfnWndProc = proc;
    wc.hbrBackground = clBtnFace;
    wc.lpszClassName = name;
    RegisterClass(&wc);
}

void BM_DispatchPostedMessages(benchmark::State& state) {
    TBenchSystem bench;
    Register("Counting", &CountingProc);
    HWND w = CreateWindowEx(0, "Counting", "", WS_POPUP, 0, 0, 10, 10, 0, 0, nullptr);
    const long count = state.range(0);
    for (auto _ : state) {
        g_received = 0;
        for (long i = 0; i < count; ++i) {
            PostMessage(w, WM_USER, static_cast<WPARAM>(i), 0);
        }
        ProcessPendingMessages();
        if (g_received != count) {
            state.SkipWithError("messages went missing");
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_DispatchPostedMessages)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A 482 × 481 window (the main window's size) with 50 child windows in a grid, invalidated whole
// and painted, parents before children.
void BM_InvalidateAndPaintFiftyChildren(benchmark::State& state) {
    TBenchSystem bench;
    Register("Painting", &PaintingProc);
    HWND top = CreateWindowEx(0, "Painting", "", WS_POPUP | WS_VISIBLE, 100, 100, 482, 481, 0, 0, nullptr);
    for (int i = 0; i < 50; ++i) {
        CreateWindowEx(0, "Painting", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 10 + (i % 10) * 46,
                       10 + (i / 10) * 90, 40, 80, top, i, nullptr);
    }
    ProcessPendingMessages();
    for (auto _ : state) {
        InvalidateRect(top, nullptr, TRUE);
        UpdateWindow(top);
    }
    state.SetItemsProcessed(state.iterations() * 51);
}
BENCHMARK(BM_InvalidateAndPaintFiftyChildren)->Unit(benchmark::kMicrosecond);

void BM_PresentFullFrame(benchmark::State& state) {
    TBenchSystem bench;
    Register("Painting", &PaintingProc);
    HWND top = CreateWindowEx(0, "Painting", "", WS_POPUP | WS_VISIBLE, 100, 100, 482, 481, 0, 0, nullptr);
    ProcessPendingMessages();
    const TPixelBuffer& surface = *bench.System->Surface(top);
    const TRect all[] = {surface.Bounds()};
    for (auto _ : state) {
        bench.Backend->Present(top, surface, all);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(surface.Width()) *
                            surface.Height() * 4);
}
BENCHMARK(BM_PresentFullFrame)->Unit(benchmark::kMicrosecond);

} // namespace
