#pragma once

#include "toolkit/components/Status.h"
#include "toolkit/graphics/PixelBuffer.h"

#include <cstddef>
#include <string>
#include <vector>

// PNG writing (8-bit RGB) through libpng, for screenshots and the pictures tests leave behind.
TStatus EncodePng(const TPixelBuffer& pixels, std::vector<std::byte>& out);
TStatus WritePngFile(const TPixelBuffer& pixels, const std::string& path);
