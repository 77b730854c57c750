#pragma once

// Writing the painted bitmaps as the files the build embeds: 24-bit BMP files through SDL, and the
// program's icon as a classic .ico file.

#include "tools/paint_resources/Painter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Saves the image as a 24-bit BMP file (SDL_SaveBMP of a 24-bit surface).
bool SaveBmp(const TImage& image, const std::filesystem::path& path, std::string& error);

// The bytes of an .ico file holding the images (each square, at most 255 pixels): 32-bit BGRA
// entries, each with its 1-bit AND mask (set where the pixel is fully see-through).
std::vector<std::uint8_t> EncodeIco(const std::vector<TImage>& images);

// The name of the icon resource and the file it is written to.
inline constexpr const char* kMainIconName = "MAINICON";

// Paints every bitmap of the table and the icon into outDir (which must exist), as NAME.bmp and
// MAINICON.ico, then the pictures of the program's windows and desktop icons (AppPictures.h).
// Stops at the first failure with a message naming the file.
bool WriteAllResources(const std::filesystem::path& outDir, std::string& error);
