// Theme files come from users: whatever the bytes, the reader must answer with a reader or a
// message, never crash, hang or read outside the input; a reader it accepts must answer every
// lookup; and every image element must load and cut into frames as the skin does with it (a
// strip narrower than its frames included).

#include "skin/core/SUIPublic.h"
#include "skin/core/SUIThemeFileReader.h"
#include "skin/core/SUIThemes.h"
#include "toolkit/graphics/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// The skin cuts strips into up to four frames (normal, hot, pressed, disabled).
constexpr int kMostFrames = 4;

void CutIntoFrames(const TBitmap& whole) {
    for (int count = 1; count <= kMostFrames; ++count) {
        for (int index = 1; index <= count; ++index) {
            TBitmap frame;
            SliceBitmap(&whole, &frame, count, index);
            if (frame.Width() != whole.Width() / count ||
                (frame.Width() > 0 && frame.Height() != whole.Height())) {
                __builtin_trap();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::byte> bytes(reinterpret_cast<const std::byte*>(data),
                                 reinterpret_cast<const std::byte*>(data) + size);
    std::unique_ptr<TsuiThemeFileReader> reader;
    TStatus status = TsuiThemeFileReader::Parse(std::move(bytes), reader);
    if (!status) {
        return 0;
    }
    std::size_t total = 0;
    for (const TsuiThemeFileRecord& record : reader->Records()) {
        total += reader->Data(record).size();
        if (TStream* stream = reader->GetStream(record.Name)) {
            total += stream->ReadAll().size();
        }
        total += static_cast<std::size_t>(reader->GetInteger(record.Name));
        total += reader->GetBoolean(record.Name) ? 1 : 0;
        if (auto text = reader->GetString(record.Name)) {
            total += text->size();
        }
    }
    for (int n = 1; n <= kThemeElementCount; ++n) {
        const auto key = ThemeElementKey(static_cast<TsuiThemeElement>(n));
        total += static_cast<std::size_t>(reader->GetInteger(key));
        if (TStream* stream = reader->GetStream(key)) {
            TBitmap whole;
            if (whole.LoadFromStream(*stream)) {
                CutIntoFrames(whole);
            }
        }
    }
    return total == SIZE_MAX ? 1 : 0;
}
