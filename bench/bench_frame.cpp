// Repainting a whole skinned window: a 482 × 481 window in each look, with its border, background,
// title bar and a menu bar of two items, painted from scratch (every window of it invalidated,
// erased and painted at once). The budget is 1 ms per repaint.

#include "skin/frame/SUIForm.h"
#include "skin/menus/SUIMenu.h"
#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/menus/MenuItem.h"
#include "toolkit/windowing/WinUser.h"
#include "toolkit/windowing/WindowSystem.h"

#include <memory>

#include <benchmark/benchmark.h>

namespace {

void BM_RepaintSkinnedWindow(benchmark::State& state) {
    const auto look = static_cast<TsuiUIStyle>(state.range(0));
    auto system = StartWindowSystem(std::make_unique<THeadlessBackend>(), std::make_unique<TManualClock>());
    Application->Reset();
    Application->Initialize();
    RegisterFormClasses();
    TForm* host = nullptr;
    Application->CreateForm(host);
    host->SetBorderStyle(bsSingle);
    host->SetBounds(100, 100, 482, 481);
    host->SetCaption("Varnel V1.0");
    auto* skin = new TsuiForm(host);
    skin->SetUIStyle(look);
    // The panel's size that gives a 482 × 481 window with this look's border.
    skin->SetWidth(482 - 2 * skin->BorderWidth());
    skin->SetHeight(481 - skin->BorderWidth() - skin->BorderWidth() / 2);
    auto* menu = new TsuiMainMenu(host);
    for (const char* caption : {"&File", "&Help"}) {
        auto* item = new TMenuItem(host);
        item->SetCaption(caption);
        menu->Items()->Add(item);
    }
    host->Show();
    Application->ProcessMessages();
    const HWND window = host->Handle();
    for (auto _ : state) {
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    state.SetLabel(std::string(kUIStyleNames[look]) + " " + std::to_string(host->Width()) + " x " +
                   std::to_string(host->Height()));
    Application->Reset();
}
BENCHMARK(BM_RepaintSkinnedWindow)
    ->Arg(MacOS)
    ->Arg(WinXP)
    ->Arg(DeepBlue)
    ->Arg(Protein)
    ->Arg(BlueGlass)
    ->Unit(benchmark::kMicrosecond);

} // namespace
