// Icon reading on arbitrary bytes, at the size the program draws icons and at a larger one.
#include "toolkit/graphics/IconCodec.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::byte> bytes(reinterpret_cast<const std::byte*>(data), size);
    for (int side : {16, 32}) {
        TIconImage image;
        if (DecodeIcon(bytes, side, side, image) &&
            (image.Pixels.Width() != side || image.Alpha.size() != static_cast<std::size_t>(side * side))) {
            __builtin_trap();
        }
    }
    return 0;
}
