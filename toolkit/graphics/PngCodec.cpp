#include "toolkit/graphics/PngCodec.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <png.h>
#include <string>

namespace {

std::vector<std::uint8_t> PackRgb(const TPixelBuffer& pixels) {
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(pixels.Width()) * pixels.Height() * 3);
    std::size_t i = 0;
    for (std::uint32_t p : pixels.Pixels()) {
        rgb[i++] = static_cast<std::uint8_t>(p >> 16);
        rgb[i++] = static_cast<std::uint8_t>(p >> 8);
        rgb[i++] = static_cast<std::uint8_t>(p);
    }
    return rgb;
}

} // namespace

TStatus EncodePng(const TPixelBuffer& pixels, std::vector<std::byte>& out) {
    if (pixels.Empty()) {
        return TStatus::Fail("a PNG image needs at least one pixel");
    }
    std::vector<std::uint8_t> rgb = PackRgb(pixels);
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(pixels.Width());
    image.height = static_cast<png_uint_32>(pixels.Height());
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
        std::string message = std::string("libpng could not size the image: ") + image.message;
        png_image_free(&image);
        return TStatus::Fail(message);
    }
    std::vector<std::byte> encoded(size);
    if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, rgb.data(), 0, nullptr)) {
        std::string message = std::string("libpng could not write the image: ") + image.message;
        png_image_free(&image);
        return TStatus::Fail(message);
    }
    encoded.resize(size);
    out = std::move(encoded);
    return TStatus::Ok();
}

TStatus DecodePng(std::span<const std::byte> data, TPixelBuffer& pixels, std::vector<std::uint8_t>& alpha) {
    // Deflate cannot shrink data by more than about 1032 to 1; a larger claim is not a real image.
    constexpr std::uint64_t kMaxBytesPerByte = 1032;
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.data(), data.size())) {
        std::string message = std::string("invalid PNG: ") + image.message;
        png_image_free(&image);
        return TStatus::Fail(message);
    }
    const std::uint64_t width = image.width;
    const std::uint64_t height = image.height;
    if (width == 0 || height == 0 || width > TPixelBuffer::kMaxSide || height > TPixelBuffer::kMaxSide ||
        width * height > static_cast<std::uint64_t>(TPixelBuffer::kMaxPixels) ||
        width * height > data.size() * kMaxBytesPerByte) {
        png_image_free(&image);
        return TStatus::Fail("refusing a PNG of " + std::to_string(width) + " × " + std::to_string(height) +
                             " pixels in " + std::to_string(data.size()) + " bytes");
    }
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint8_t> bgra(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, bgra.data(), 0, nullptr)) {
        std::string message = std::string("invalid PNG: ") + image.message;
        png_image_free(&image);
        return TStatus::Fail(message);
    }
    TPixelBuffer decoded(static_cast<int>(width), static_cast<int>(height));
    std::vector<std::uint8_t> coverage(static_cast<std::size_t>(width * height));
    std::size_t i = 0;
    for (std::uint32_t& p : decoded.Pixels()) {
        const std::uint8_t* px = bgra.data() + i * 4;
        p = (static_cast<std::uint32_t>(px[2]) << 16) | (static_cast<std::uint32_t>(px[1]) << 8) | px[0];
        coverage[i] = px[3];
        ++i;
    }
    pixels = std::move(decoded);
    alpha = std::move(coverage);
    return TStatus::Ok();
}

TStatus WritePngFile(const TPixelBuffer& pixels, const std::string& path) {
    std::vector<std::byte> encoded;
    if (TStatus result = EncodePng(pixels, encoded); !result) {
        return result;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        return TStatus::Fail("cannot open \"" + path + "\" for writing");
    }
    if (std::fwrite(encoded.data(), 1, encoded.size(), file.get()) != encoded.size()) {
        return TStatus::Fail("cannot write \"" + path + "\"");
    }
    if (std::fclose(file.release()) != 0) {
        return TStatus::Fail("cannot finish writing \"" + path + "\"");
    }
    return TStatus::Ok();
}
