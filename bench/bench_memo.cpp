#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/Memo.h"
#include "toolkit/windowing/WinUser.h"
#include "toolkit/windowing/WindowSystem.h"

#include <cstdio>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

// The result memo holds one password per line, a million of them when asked: adding them one by
// one and showing the result, scrolling to the end and selecting everything must each stay well
// under a second. The memo is the main window's: 465 × 97, both scroll bars, word wrap as the
// argument says.

namespace {

constexpr int kLines = 1'000'000;

struct TMemoBench {
    std::unique_ptr<TWindowSystem> System;
    TForm* Form = nullptr;
    TMemo* Memo = nullptr;

    explicit TMemoBench(bool wordWrap) {
        System = StartWindowSystem(std::make_unique<THeadlessBackend>(), std::make_unique<TManualClock>());
        Application->Reset();
        Application->Initialize();
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 482, 481);
        Memo = new TMemo(Form);
        Memo->SetParent(Form);
        Memo->SetBounds(8, 328, 465, 97);
        Memo->SetScrollBars(ssBoth);
        Memo->SetHideSelection(false);
        Memo->SetWordWrap(wordWrap);
        Form->Show();
        System->PumpPending();
    }
    ~TMemoBench() {
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
    // Everything that is due: the memo's deferred scrolling and the painting of what changed.
    void Show() { System->PumpPending(); }
};

void BM_MemoAddMillionLinesAndPaint(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<TMemoBench>(state.range(0) != 0);
        state.ResumeTiming();
        bench->Fill();
        bench->Show();
        state.PauseTiming();
        if (bench->Memo->Lines()->Count() != kLines) {
            state.SkipWithError("lines lost");
        }
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MemoAddMillionLinesAndPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_MemoScrollToEndAndPaint(benchmark::State& state) {
    TMemoBench bench(state.range(0) != 0);
    bench.Fill();
    bench.Show();
    const HWND memo = bench.Memo->Handle();
    for (auto _ : state) {
        ::SendMessage(memo, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
        bench.Show();
        ::SendMessage(memo, WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
        bench.Show();
    }
    if (bench.Memo->TopRow() == 0) {
        state.SkipWithError("did not scroll");
    }
}
BENCHMARK(BM_MemoScrollToEndAndPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_MemoSelectAllAndPaint(benchmark::State& state) {
    TMemoBench bench(state.range(0) != 0);
    bench.Fill();
    bench.Show();
    for (auto _ : state) {
        bench.Memo->SetSelStart(0);
        bench.Show();
        bench.Memo->SelectAll();
        bench.Show();
    }
    if (bench.Memo->SelLength() != bench.Memo->GetTextLen()) {
        state.SkipWithError("not everything selected");
    }
}
BENCHMARK(BM_MemoSelectAllAndPaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Typing one character at the start of a million-line text: the cost of an edit in front of
// everything else.
void BM_MemoTypeAtStartOfMillionLines(benchmark::State& state) {
    TMemoBench bench(false);
    bench.Fill();
    bench.Show();
    const HWND memo = bench.Memo->Handle();
    ::SendMessage(memo, EM_SETSEL, 0, 0);
    for (auto _ : state) {
        ::SendMessage(memo, WM_CHAR, 'x', 0);
        bench.Show();
    }
}
BENCHMARK(BM_MemoTypeAtStartOfMillionLines)->Unit(benchmark::kMillisecond);

} // namespace
