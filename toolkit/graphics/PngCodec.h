#pragma once

#include "toolkit/components/Status.h"
#include "toolkit/graphics/PixelBuffer.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// PNG through libpng: writing (8-bit RGB) for screenshots and the pictures tests leave behind,
// and reading for the images inside icons.
TStatus EncodePng(const TPixelBuffer& pixels, std::vector<std::byte>& out);
// Reads any PNG into pixels and an 8-bit alpha per pixel. Sizes are bounded like the other
// decoders: by the pixel buffer's limits and by what the compressed data can carry.
TStatus DecodePng(std::span<const std::byte> data, TPixelBuffer& pixels, std::vector<std::uint8_t>& alpha);
TStatus WritePngFile(const TPixelBuffer& pixels, const std::string& path);
