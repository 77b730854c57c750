#include "toolkit/graphics/ImageFormat.h"

#include <cstdint>

namespace {

bool StartsWith(std::span<const std::byte> data, std::initializer_list<std::uint8_t> signature) {
    if (data.size() < signature.size()) {
        return false;
    }
    std::size_t i = 0;
    for (std::uint8_t b : signature) {
        if (std::to_integer<std::uint8_t>(data[i++]) != b) {
            return false;
        }
    }
    return true;
}

} // namespace

TImageFormat DetectImageFormat(std::span<const std::byte> data) {
    if (StartsWith(data, {'B', 'M'})) {
        return TImageFormat::Bmp;
    }
    if (StartsWith(data, {0xFF, 0xD8, 0xFF})) {
        return TImageFormat::Jpeg;
    }
    if (StartsWith(data, {0x00, 0x00, 0x01, 0x00})) {
        return TImageFormat::Icon;
    }
    if (StartsWith(data, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) {
        return TImageFormat::Png;
    }
    return TImageFormat::Unknown;
}
