// Loading a theme file and drawing a push-button face: what a component pays when its look
// changes and when it paints.

#include "skin/core/SUIPublic.h"
#include "skin/core/SUIThemeFileReader.h"
#include "skin/core/SUIThemeFileWriter.h"
#include "skin/core/SUIThemes.h"
#include "toolkit/components/Resources.h"
#include "toolkit/graphics/Bitmap.h"

#include <benchmark/benchmark.h>

namespace {

// The MacOS look packed as a theme file, in memory.
std::vector<std::byte> MacOSThemeBytes() {
    TsuiThemeFileWriter writer;
    for (int n = 1; n <= kThemeElementCount; ++n) {
        const auto element = static_cast<TsuiThemeElement>(n);
        const TsuiThemeEntry entry = GetBuiltInThemeEntry(MacOS, element);
        switch (entry.Kind) {
        case TsuiThemeValueKind::Bitmap:
            writer.AddImage(ThemeElementKey(element), *FindEmbeddedResource(entry.Resource));
            break;
        case TsuiThemeValueKind::Boolean:
            writer.AddBoolean(ThemeElementKey(element), entry.Value != 0);
            break;
        default:
            writer.AddInteger(ThemeElementKey(element), entry.Value);
            break;
        }
    }
    std::vector<std::byte> bytes;
    static_cast<void>(writer.Build(bytes));
    return bytes;
}

void BM_ParseThemeFile(benchmark::State& state) {
    const std::vector<std::byte> bytes = MacOSThemeBytes();
    for (auto _ : state) {
        std::unique_ptr<TsuiThemeFileReader> reader;
        benchmark::DoNotOptimize(TsuiThemeFileReader::Parse(bytes, reader).IsOk());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseThemeFile);

void BM_LoadButtonFrame(benchmark::State& state) {
    TBitmap frame;
    for (auto _ : state) {
        GetBuiltInThemeBitmap(MacOS, TsuiThemeElement::ButtonImage, &frame, 2, 3);
        benchmark::DoNotOptimize(frame.Width());
    }
}
BENCHMARK(BM_LoadButtonFrame);

void BM_DrawButtonFace(benchmark::State& state) {
    TBitmap frame;
    GetBuiltInThemeBitmap(MacOS, TsuiThemeElement::ButtonImage, &frame, 1, 3);
    TBitmap face(129, 27);
    for (auto _ : state) {
        DrawBitmapKeepCorners(&frame, face.Canvas(), {0, 0, 129, 27}, true);
        benchmark::DoNotOptimize(face.Pixels().At(64, 13));
    }
}
BENCHMARK(BM_DrawButtonFace);

} // namespace
