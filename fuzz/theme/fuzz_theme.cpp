// Theme files come from users: whatever the bytes, the reader must answer with a reader or a
// message, never crash, hang or read outside the input, and a reader it accepts must answer
// every lookup.

#include "skin/core/SUIThemeFileReader.h"
#include "skin/core/SUIThemes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

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
        total += reader->GetStream(key) ? 1 : 0;
        total += static_cast<std::size_t>(reader->GetInteger(key));
    }
    return total == SIZE_MAX ? 1 : 0;
}
