#pragma once

#include <cstddef>
#include <span>

// The image format that bytes start with, for picking a decoder.
enum class TImageFormat { Unknown, Bmp, Jpeg, Icon, Png };

TImageFormat DetectImageFormat(std::span<const std::byte> data);
