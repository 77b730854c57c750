#include "skin/controls/SUIButton.h"
#include "skin/controls/SUICheckBox.h"
#include "skin/controls/SUIProgressBar.h"
#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/windowing/WindowSystem.h"

#include <memory>

#include <benchmark/benchmark.h>

// The skinned controls the user touches most, painted on the main window (482 × 481, MacOS):
// each paint of a button, a check box or a progress bar is well under 50 µs, and a progress bar
// moved from 0 to 100 by a million-step generation costs no more than about a hundred paints.

namespace {

struct TControlsBench {
    std::unique_ptr<TWindowSystem> System;
    TForm* Form = nullptr;

    TControlsBench() {
        System = StartWindowSystem(std::make_unique<THeadlessBackend>(), std::make_unique<TManualClock>());
        Application->Reset();
        Application->Initialize();
        Form = new TForm(Application);
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(0, 0, 482, 481);
        Form->SetColor(static_cast<TColor>(0xE7E7E7));
    }
    ~TControlsBench() {
        Application->Reset();
        FreeDeviceContexts();
    }
    template <typename T>
    T* Place(TRect bounds) {
        auto* control = new T(Form);
        control->SetParent(Form);
        control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        control->SetUIStyle(MacOS);
        return control;
    }
    void Show() {
        Form->Show();
        System->PumpPending();
    }
};

// Counts its paints.
class TCountingProgressBar : public TsuiProgressBar {
public:
    using TsuiProgressBar::TsuiProgressBar;
    long paints = 0;

protected:
    void Paint() override {
        ++paints;
        TsuiProgressBar::Paint();
    }
};

// A see-through MacOS button: the form's background under it, the face with kept corners and the
// caption, built off-screen and copied.
void BM_PaintButton(benchmark::State& state) {
    TControlsBench bench;
    auto* button = bench.Place<TsuiButton>(Bounds(8, 440, 129, 27));
    button->SetCaption("Generate password");
    bench.Show();
    for (auto _ : state) {
        button->Repaint();
    }
}
BENCHMARK(BM_PaintButton)->Unit(benchmark::kMicrosecond);

void BM_PaintCheckBox(benchmark::State& state) {
    TControlsBench bench;
    auto* box = bench.Place<TsuiCheckBox>(Bounds(8, 40, 93, 17));
    box->SetCaption("All keyboard");
    box->SetChecked(true);
    bench.Show();
    for (auto _ : state) {
        box->Repaint();
    }
}
BENCHMARK(BM_PaintCheckBox)->Unit(benchmark::kMicrosecond);

void BM_PaintProgressBar(benchmark::State& state) {
    TControlsBench bench;
    auto* bar = bench.Place<TsuiProgressBar>(Bounds(8, 300, 361, 12));
    bar->SetPosition(50);
    bench.Show();
    for (auto _ : state) {
        bar->Repaint();
    }
}
BENCHMARK(BM_PaintProgressBar)->Unit(benchmark::kMicrosecond);

// The generator's loop: after each of a million passwords the position becomes the truncated
// percentage made so far; only a real change of it may cost a paint.
void BM_ProgressMillionSteps(benchmark::State& state) {
    TControlsBench bench;
    auto* bar = bench.Place<TCountingProgressBar>(Bounds(8, 300, 361, 12));
    bench.Show();
    constexpr long kCount = 1'000'000;
    long paints = 0;
    for (auto _ : state) {
        bar->SetPosition(0);
        bar->paints = 0;
        for (long made = 1; made <= kCount; ++made) {
            bar->SetPosition(static_cast<int>(made * 100 / kCount));
        }
        bar->SetPosition(100);
        paints = bar->paints;
        if (paints > 101) {
            state.SkipWithError("the progress bar painted more than once per percent");
        }
    }
    state.counters["paints"] = static_cast<double>(paints);
}
BENCHMARK(BM_ProgressMillionSteps)->Unit(benchmark::kMillisecond);

} // namespace
