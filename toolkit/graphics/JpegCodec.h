#pragma once

#include "toolkit/components/Status.h"
#include "toolkit/graphics/PixelBuffer.h"

#include <cstddef>
#include <span>

// JPEG reading through libjpeg: baseline and progressive, greyscale, colour and CMYK. Every
// library error becomes a failure with the library's message, never an exit; data that ends
// early is a failure too, and so is an image larger than its data can justify. out is
// untouched on failure.
TStatus DecodeJpeg(std::span<const std::byte> data, TPixelBuffer& out);
