#pragma once

// The pictures the program's own windows name in their layouts, and the program's icon for the
// desktop: the MacOS title-bar buttons one state per picture (a layout holds whole pictures, not
// frames of a strip), the control box's 16 × 16 icon, the About window's logo as a JPEG file, and
// the icon as PNG files at the sizes a desktop's application menu asks for.

#include "tools/paint_resources/Painter.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct TAppPictureFile {
    std::string path; // relative to the resources folder
    // Paints the picture and returns the file's bytes; empty with error set on failure.
    std::function<std::vector<std::uint8_t>(std::string& error)> encode;
};

const std::vector<TAppPictureFile>& AppPictureFiles();

// The About window's logo, 73 × 73: the program's key tile on the MacOS window background,
// painted in place so that it joins the pattern around it.
TImage PaintAboutLogo();

// The bytes of a baseline JPEG file of the image (every pixel as Pixel() gives it), at the given
// quality, with full colour resolution so that one-pixel stripes keep their colour.
std::vector<std::uint8_t> EncodeJpeg(const TImage& image, int quality, std::string& error);

// The bytes of a PNG file of the image with its coverage as alpha (8 bits per channel).
std::vector<std::uint8_t> EncodePngWithAlpha(const TImage& image, std::string& error);

// The bytes of a 24-bit BMP file of the image, as SaveBmp writes it.
std::vector<std::uint8_t> EncodeBmp(const TImage& image, std::string& error);

// Writes every file of AppPictureFiles() under outDir, making folders as needed.
bool WriteAppPictures(const std::filesystem::path& outDir, std::string& error);
