#pragma once

#include "toolkit/graphics/PixelBuffer.h"
#include "toolkit/graphics/Result.h"

#include <cstddef>
#include <span>

// JPEG reading through libjpeg: baseline and progressive, greyscale, colour and CMYK. Every
// library error becomes a failure with the library's message, never an exit; data that ends
// early is a failure too, and so is an image larger than its data can justify. out is
// untouched on failure.
TResult DecodeJpeg(std::span<const std::byte> data, TPixelBuffer& out);
