// Drawing costs the program pays on every paint: filling and copying a window-sized bitmap
// (482 × 481, the main window), stretching a skin strip across it, and a line of 8-point text.
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"

#include <string>

#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 482;
constexpr int kHeight = 481;

void FillWindowBitmap(benchmark::State& state) {
    TBitmap bitmap(kWidth, kHeight);
    TCanvas* canvas = bitmap.Canvas();
    int i = 0;
    for (auto _ : state) {
        canvas->Brush()->SetColor(static_cast<TColor>(i++ & 0xFFFFFF));
        canvas->FillRect(TRect{0, 0, kWidth, kHeight});
        benchmark::DoNotOptimize(bitmap.Pixels().At(1, 1));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(FillWindowBitmap);

void FillWithPatternBrush(benchmark::State& state) {
    TBitmap pattern(8, 8);
    pattern.Pixels().Set(3, 3, 0);
    TBitmap bitmap(kWidth, kHeight);
    bitmap.Canvas()->Brush()->SetBitmap(&pattern);
    for (auto _ : state) {
        bitmap.Canvas()->FillRect(TRect{0, 0, kWidth, kHeight});
        benchmark::DoNotOptimize(bitmap.Pixels().At(1, 1));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(FillWithPatternBrush);

void BlitWindowBitmap(benchmark::State& state) {
    TBitmap source(kWidth, kHeight);
    TBitmap target(kWidth, kHeight);
    for (auto _ : state) {
        BitBlt(target.Canvas()->Handle(), 0, 0, kWidth, kHeight, source.Canvas()->Handle(), 0, 0, SRCCOPY);
        benchmark::DoNotOptimize(target.Pixels().At(1, 1));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BlitWindowBitmap);

void BlitWithTransparentColour(benchmark::State& state) {
    TBitmap source(kWidth, kHeight);
    source.SetTransparent(true);
    TBitmap target(kWidth, kHeight);
    for (auto _ : state) {
        target.Canvas()->Draw(0, 0, &source);
        benchmark::DoNotOptimize(target.Pixels().At(1, 1));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BlitWithTransparentColour);

void StretchStripOverWindow(benchmark::State& state) {
    // A 1 × 22 menu-bar strip stretched over the whole window, and an 84 × 23 button face.
    TBitmap strip(1, 22);
    TBitmap face(84, 23);
    TBitmap target(kWidth, kHeight);
    for (auto _ : state) {
        target.Canvas()->StretchDraw(TRect{0, 0, kWidth, kHeight}, &strip);
        target.Canvas()->StretchDraw(TRect{0, 0, kWidth, kHeight}, &face);
        benchmark::DoNotOptimize(target.Pixels().At(1, 1));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight * 2);
}
BENCHMARK(StretchStripOverWindow);

void TextLineOfEightPoint(benchmark::State& state) {
    TBitmap target(800, 20);
    TCanvas* canvas = target.Canvas();
    canvas->Font()->SetName("Tahoma");
    canvas->Font()->SetSize(8);
    canvas->Brush()->SetStyle(bsClear);
    std::string line;
    for (int i = 0; i < 100; ++i) {
        line.push_back(static_cast<char>('!' + (i * 7) % 90));
    }
    canvas->TextOut(0, 0, line); // fills the glyph cache
    for (auto _ : state) {
        canvas->TextOut(0, 2, line);
        benchmark::DoNotOptimize(target.Pixels().At(1, 1));
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(TextLineOfEightPoint);

void DrawTextCentredWithAccessKey(benchmark::State& state) {
    TBitmap target(200, 30);
    TCanvas* canvas = target.Canvas();
    canvas->Font()->SetName("Tahoma");
    canvas->Font()->SetSize(8);
    canvas->Brush()->SetStyle(bsClear);
    for (auto _ : state) {
        TRect r{0, 0, 200, 30};
        DrawText(canvas->Handle(), "&Generate password", &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        benchmark::DoNotOptimize(target.Pixels().At(1, 1));
    }
}
BENCHMARK(DrawTextCentredWithAccessKey);

} // namespace
