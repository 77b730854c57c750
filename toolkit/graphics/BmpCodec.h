#pragma once

#include "toolkit/components/Status.h"
#include "toolkit/graphics/PixelBuffer.h"

#include <cstddef>
#include <span>
#include <vector>

// BMP reading and writing through SDL2's reader and writer. Before SDL sees any byte, the
// headers are checked against the input: every offset and size must lie inside it and the
// image must be of a size the data can justify, so a file claiming 60000 × 60000 pixels in
// 2 KB is refused before anything is allocated. Reads 1, 4, 8, 16, 24 and 32 bits per pixel,
// palettes, bit fields, run-length coding and top-down rows; writes 24 bits per pixel.
// Pixels are 0x00RRGGBB; an alpha channel is not kept. out is untouched on failure.
TStatus DecodeBmp(std::span<const std::byte> data, TPixelBuffer& out);
TStatus EncodeBmp(const TPixelBuffer& pixels, std::vector<std::byte>& out);
