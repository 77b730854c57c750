#pragma once

#include "toolkit/graphics/PixelBuffer.h"
#include "toolkit/graphics/Result.h"

#include <cstddef>
#include <string>
#include <vector>

// PNG writing (8-bit RGB) through libpng, for screenshots and the pictures tests leave behind.
TResult EncodePng(const TPixelBuffer& pixels, std::vector<std::byte>& out);
TResult WritePngFile(const TPixelBuffer& pixels, const std::string& path);
