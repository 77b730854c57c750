#pragma once

#include "toolkit/components/Status.h"
#include "toolkit/graphics/PixelBuffer.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Classic .ico files: a directory of images, each a device-independent bitmap with an AND mask
// (1, 4, 8, 24 or 32 bits per pixel; 32-bit ones carry their own alpha) or a PNG. Every entry
// must lie inside the data and agree with what its header says.

struct TIconEntry {
    int Width = 0; // as the directory says; 0 stands for 256
    int Height = 0;
    int BitCount = 0;
    std::uint32_t Offset = 0;
    std::uint32_t Size = 0;
};

// Pixels and a coverage per pixel (0 transparent, 255 opaque).
struct TIconImage {
    TPixelBuffer Pixels;
    std::vector<std::uint8_t> Alpha;
};

// Reads and checks the directory. A file without entries is a failure.
TStatus ReadIconDirectory(std::span<const std::byte> data, std::vector<TIconEntry>& entries);
// Decodes one entry of the directory.
TStatus DecodeIconEntry(std::span<const std::byte> data, const TIconEntry& entry, TIconImage& out);
// Decodes the entry that best fits width × height (the exact size with the most colours, else
// the smallest larger one, else the largest) and scales it to that size, nearest neighbour.
TStatus DecodeIcon(std::span<const std::byte> data, int width, int height, TIconImage& out);
