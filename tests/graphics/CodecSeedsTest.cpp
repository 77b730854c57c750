#include "toolkit/graphics/BmpCodec.h"
#include "toolkit/graphics/IconCodec.h"
#include "toolkit/graphics/JpegCodec.h"
#include "toolkit/graphics/PngCodec.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The fuzz targets' seed files, a few written by another program than ours and the rest by the
// seed maker, are all valid pictures that the decoders must read.
std::vector<std::filesystem::path> Seeds(const char* format) {
    const std::filesystem::path folder = std::filesystem::path(VARNEL_FUZZ_DIR) / format / "corpus";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files.push_back(entry.path());
    }
    return files;
}

std::vector<std::byte> Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::byte> bytes(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i) {
        bytes[i] = std::byte(static_cast<unsigned char>(chars[i]));
    }
    return bytes;
}

} // namespace

TEST(CodecSeeds, EverySeedPictureDecodes) {
    std::size_t count = 0;
    for (const auto& path : Seeds("bmp")) {
        TPixelBuffer pixels;
        TStatus status = DecodeBmp(Read(path), pixels);
        EXPECT_TRUE(status.IsOk()) << path << ": " << status.Message();
        EXPECT_FALSE(pixels.Empty()) << path;
        if (path.filename() == "rgb24.bmp") {
            EXPECT_EQ(pixels.At(3, 2), 0x336699u);
        }
        ++count;
    }
    for (const auto& path : Seeds("jpeg")) {
        TPixelBuffer pixels;
        TStatus status = DecodeJpeg(Read(path), pixels);
        EXPECT_TRUE(status.IsOk()) << path << ": " << status.Message();
        ++count;
    }
    for (const auto& path : Seeds("icon")) {
        TIconImage image;
        TStatus status = DecodeIcon(Read(path), 16, 16, image);
        EXPECT_TRUE(status.IsOk()) << path << ": " << status.Message();
        if (path.filename() == "red16.ico") {
            EXPECT_EQ(image.Pixels.At(0, 0), 0xFF0000u);
            EXPECT_EQ(image.Pixels.At(3, 3), 0x0000FFu);
            EXPECT_EQ(image.Alpha[0], 255);
        }
        ++count;
    }
    for (const auto& path : Seeds("png")) {
        TPixelBuffer pixels;
        std::vector<std::uint8_t> alpha;
        TStatus status = DecodePng(Read(path), pixels, alpha);
        EXPECT_TRUE(status.IsOk()) << path << ": " << status.Message();
        ++count;
    }
    EXPECT_GE(count, 10u);
}
