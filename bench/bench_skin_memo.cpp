#include "skin/controls/SUIMemo.h"
#include "skin/controls/SUIScrollBar.h"
#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/windowing/WinUser.h"
#include "toolkit/windowing/WindowSystem.h"

#include <cstdio>
#include <memory>

#include <benchmark/benchmark.h>

// The result memo with a million passwords and linked skinned bars, as the user drives it with
// the mouse: adding the lines, one step of dragging the vertical slider and one page step on its
// track, each with the synchronising of both bars and the painting of what changed. Budgets:
// adding 0.5 s, a drag step 5 ms, a page step 5 ms.

namespace {

constexpr int kLines = 1'000'000;

struct TSkinMemoBench {
    std::unique_ptr<TWindowSystem> System;
    THeadlessBackend* Backend = nullptr;
    TManualClock* Clock = nullptr;
    TForm* Form = nullptr;
    TsuiMemo* Memo = nullptr;
    TsuiScrollBar* VBar = nullptr;
    TsuiScrollBar* HBar = nullptr;

    TSkinMemoBench() {
        auto backend = std::make_unique<THeadlessBackend>();
        auto clock = std::make_unique<TManualClock>();
        Backend = backend.get();
        Clock = clock.get();
        System = StartWindowSystem(std::move(backend), std::move(clock));
        Application->Reset();
        Application->Initialize();
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 482, 481);
        Memo = new TsuiMemo(Form);
        Memo->SetParent(Form);
        Memo->SetBounds(8, 328, 465, 97);
        Memo->SetWordWrap(false);
        Memo->SetUIStyle(WinXP);
        VBar = new TsuiScrollBar(Form);
        VBar->SetParent(Form);
        HBar = new TsuiScrollBar(Form);
        HBar->SetParent(Form);
        Memo->SetVScrollBar(VBar);
        Memo->SetHScrollBar(HBar);
        Form->Show();
        System->PumpPending();
    }
    ~TSkinMemoBench() {
        Application->Reset();
        FreeDeviceContexts();
    }

    void Fill() {
        char line[16];
        for (int i = 0; i < kLines; ++i) {
            std::snprintf(line, sizeof line, "Pw%08d", i);
            Memo->Lines()->Add(line);
        }
    }
    // Everything that is due: the memo's deferred scrolling, the bars following it, and the
    // painting of what changed.
    void Show() { System->PumpPending(); }
    TPoint OnTrack(int x, int y) const { return VBar->Track()->ClientToScreen({x, y}); }
    // Far enough apart in time that presses are never taken for double clicks.
    void Pause() { Clock->Advance(1000); }
};

void BM_SkinMemoAddMillionLinesWithLinkedBars(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<TSkinMemoBench>();
        state.ResumeTiming();
        bench->Fill();
        bench->Show();
        state.PauseTiming();
        if (bench->Memo->Lines()->Count() != kLines || bench->VBar->Max() < kLines - 100) {
            state.SkipWithError("the lines or the bar's range were lost");
        }
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SkinMemoAddMillionLinesWithLinkedBars)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SkinMemoDragStep(benchmark::State& state) {
    TSkinMemoBench bench;
    bench.Fill();
    bench.Show();
    TsuiTrackBar* track = bench.VBar->Track();
    const TPoint grab = track->Slider()->ClientToScreen({4, 4});
    bench.Backend->MovePointer(grab);
    bench.Backend->Press(grab);
    bench.Show();
    const int height = track->Height();
    int y = 4;
    int direction = 1;
    for (auto _ : state) {
        y += direction;
        if (y <= 2 || y >= height - 2) {
            direction = -direction;
        }
        bench.Backend->MovePointer(bench.OnTrack(4, y));
        bench.Show();
    }
    bench.Backend->Release(bench.OnTrack(4, y));
    bench.Show();
    if (bench.Memo->TopRow() != bench.VBar->Position()) {
        state.SkipWithError("the text and the bar disagree");
    }
}
BENCHMARK(BM_SkinMemoDragStep)->Unit(benchmark::kMillisecond);

void BM_SkinMemoPageStep(benchmark::State& state) {
    TSkinMemoBench bench;
    bench.Fill();
    bench.Show();
    bench.VBar->SetPosition(kLines / 2);
    bench.Show();
    TsuiTrackBar* track = bench.VBar->Track();
    const int below = track->Height() - 2;
    bool down = true;
    for (auto _ : state) {
        state.PauseTiming();
        bench.Pause();
        state.ResumeTiming();
        const TPoint at = bench.OnTrack(4, down ? below : 1);
        bench.Backend->MovePointer(at);
        bench.Backend->Press(at);
        bench.Backend->Release(at);
        bench.Show();
        down = !down;
    }
    if (bench.Memo->TopRow() != bench.VBar->Position()) {
        state.SkipWithError("the text and the bar disagree");
    }
}
BENCHMARK(BM_SkinMemoPageStep)->Unit(benchmark::kMillisecond);

} // namespace
