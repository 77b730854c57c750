// BMP reading on arbitrary bytes: never crashes, hangs or reads out of bounds, and whatever it
// accepts survives writing and reading back unchanged.
#include "toolkit/graphics/BmpCodec.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TPixelBuffer pixels;
    if (!DecodeBmp(std::span(reinterpret_cast<const std::byte*>(data), size), pixels)) {
        return 0;
    }
    std::vector<std::byte> written;
    if (!EncodeBmp(pixels, written)) {
        __builtin_trap();
    }
    TPixelBuffer again;
    if (!DecodeBmp(written, again) || !(again == pixels)) {
        __builtin_trap();
    }
    return 0;
}
