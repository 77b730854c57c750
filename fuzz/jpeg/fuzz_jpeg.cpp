// JPEG reading on arbitrary bytes: every libjpeg error must come back as a failure, never an
// exit, a crash, a hang or a read out of bounds.
#include "toolkit/graphics/JpegCodec.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TPixelBuffer pixels;
    TStatus status = DecodeJpeg(std::span(reinterpret_cast<const std::byte*>(data), size), pixels);
    if (status && pixels.Empty()) {
        __builtin_trap();
    }
    return 0;
}
