// The program's main window, headless: a full repaint of the whole window (every window of it
// invalidated, erased and painted at once; budget 2 ms), and "Generate password" with 1,000,000
// passwords of 16 characters until the list and the progress bar show the result (budget 0.5 s).

#include "app/RandomSource.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIMemo.h"
#include "skin/controls/SUIProgressBar.h"
#include "skin/controls/SUISpinEdit.h"
#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Label.h"
#include "toolkit/windowing/WinUser.h"
#include "toolkit/windowing/WindowSystem.h"

#include <memory>

#include <benchmark/benchmark.h>

namespace {

struct TWindowBench {
    std::unique_ptr<TWindowSystem> System;
    TSystemRandomSource Source;
    TVarnelWindows Windows;
    bool Ok = false;

    TWindowBench() {
        System = StartWindowSystem(std::make_unique<THeadlessBackend>(), std::make_unique<TManualClock>());
        Application->Reset();
        Application->Initialize();
        Ok = CreateVarnelWindows(Windows) && ApplyWindowOptions({}, Source, Windows);
        if (Ok) {
            Windows.Main->Show();
            System->PumpPending();
        }
    }
    ~TWindowBench() {
        Application->Reset();
        FreeDeviceContexts();
    }
};

void BM_RepaintMainWindow(benchmark::State& state) {
    TWindowBench bench;
    if (!bench.Ok) {
        state.SkipWithError("the windows could not be made");
        return;
    }
    const HWND window = bench.Windows.Main->Handle();
    for (auto _ : state) {
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}
BENCHMARK(BM_RepaintMainWindow)->Unit(benchmark::kMicrosecond);

void BM_GenerateMillionPasswordsThroughTheWindow(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<TWindowBench>();
        TForm1* form = bench->Windows.Main;
        form->SuiSpinEdit1->SetText("1000000");
        form->SuiSpinEdit2->SetText("16");
        bench->System->PumpPending();
        state.ResumeTiming();
        form->suiButton4Click(form->suiButton4);
        // Until the list, the count and the bar are painted and presented.
        bench->System->PumpPending();
        bench->System->PresentChanged(true);
        state.PauseTiming();
        if (form->suiMemo2->Lines()->Count() != 1'000'000 || form->suiProgressBar1->Position() != 100 ||
            form->Label4->Caption() != "1000000") {
            state.SkipWithError("the list was not made whole");
        }
        bench.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GenerateMillionPasswordsThroughTheWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
