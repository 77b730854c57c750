#include "skin/menus/SUIMenu.h"
#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/menus/MenuTracker.h"
#include "toolkit/windowing/WinUser.h"
#include "toolkit/windowing/WindowSystem.h"

#include <string>

#include <benchmark/benchmark.h>

// Opening a skinned menu the way the menu bar drops it: the menu loop measures the items, creates
// the menu window, paints every item through the owner drawing and presents the window; the
// benchmark then closes it (the close is part of every round too).

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

TMenuItem* AddItem(TMenuItem* parent, const std::string& caption) {
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

// Opens top's drop-down and closes it once it is painted and presented; false when it never
// opened.
bool OpenPaintAndClose(TBenchSystem& bench, TMenuItem* top) {
    bool shown = false;
    bench.Backend->WhenIdle([&] {
        const std::vector<HWND> windows = OpenMenuWindows();
        shown = !windows.empty();
        bench.System->PresentChanged(true);
        EndMenu();
    });
    TTrackMenuParams params;
    params.Position = {120, 150};
    TrackMenu(top, params);
    return shown;
}

HWND MakeOwner() {
    WNDCLASS wc;
    wc.lpfnWndProc = DefWindowProc;
    wc.hbrBackground = clBtnFace;
    wc.lpszClassName = "BenchOwner";
    RegisterClass(&wc);
    HWND owner =
        CreateWindowEx(0, "BenchOwner", "", WS_POPUP | WS_VISIBLE, 100, 100, 482, 481, 0, 0, nullptr);
    SetActiveWindow(owner);
    return owner;
}

// The main window's Help menu: three items, MacOS, system font.
void BM_OpenAndPaintHelpMenu(benchmark::State& state) {
    TBenchSystem bench;
    MakeOwner();
    TsuiMainMenu menu(nullptr);
    menu.SetUIStyle(MacOS);
    TMenuItem* help = AddItem(menu.Items(), "&Help");
    AddItem(help, "Product Document");
    AddItem(help, "Product online page");
    AddItem(help, "About");
    menu.Loaded();
    for (auto _ : state) {
        if (!OpenPaintAndClose(bench, help)) {
            state.SkipWithError("the menu did not open");
            break;
        }
    }
}
BENCHMARK(BM_OpenAndPaintHelpMenu)->Unit(benchmark::kMicrosecond);

// A fuller menu in each look: ten items with a separator, short-cuts, check marks, a default item.
void BM_OpenAndPaintTenItems(benchmark::State& state) {
    TBenchSystem bench;
    MakeOwner();
    TsuiMainMenu menu(nullptr);
    menu.SetUIStyle(static_cast<TsuiUIStyle>(state.range(0)));
    menu.SetFlatMenu(state.range(1) != 0);
    TMenuItem* top = AddItem(menu.Items(), "&File");
    for (int i = 0; i < 10; ++i) {
        TMenuItem* item = AddItem(top, i == 4 ? "-" : "Menu item number " + std::to_string(i));
        item->SetShortCut(i % 3 == 0 ? ShortCut(static_cast<WORD>('A' + i), scCtrl) : 0);
        item->SetChecked(i % 4 == 1);
        item->SetDefault(i == 9);
    }
    menu.Loaded();
    state.SetLabel(std::string(kUIStyleNames[state.range(0)]) + (state.range(1) ? ", flat" : ""));
    for (auto _ : state) {
        if (!OpenPaintAndClose(bench, top)) {
            state.SkipWithError("the menu did not open");
            break;
        }
    }
}
BENCHMARK(BM_OpenAndPaintTenItems)
    ->ArgsProduct({{MacOS, WinXP, DeepBlue, Protein, BlueGlass}, {0}})
    ->Args({DeepBlue, 1})
    ->Unit(benchmark::kMicrosecond);

} // namespace
