// PNG reading on arbitrary bytes (icons carry PNG images): every libpng error must come back as a
// failure, never a crash, a hang or a read out of bounds, and an image it accepts has one alpha
// value per pixel.
#include "toolkit/graphics/PngCodec.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TPixelBuffer pixels;
    std::vector<std::uint8_t> alpha;
    if (DecodePng(std::span(reinterpret_cast<const std::byte*>(data), size), pixels, alpha) &&
        (pixels.Empty() || alpha.size() != static_cast<std::size_t>(pixels.Width()) * pixels.Height())) {
        __builtin_trap();
    }
    return 0;
}
