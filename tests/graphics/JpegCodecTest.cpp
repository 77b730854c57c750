#include "toolkit/graphics/JpegCodec.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

enum class TKind { Colour, Grey, Progressive, Cmyk };

// Encodes a picture with libjpeg's own compressor: left half red, right half blue (grey for
// greyscale), at the best quality.
std::vector<std::byte> MakeJpeg(TKind kind, int width = 16, int height = 8) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    switch (kind) {
    case TKind::Grey:
        info.input_components = 1;
        info.in_color_space = JCS_GRAYSCALE;
        break;
    case TKind::Cmyk:
        info.input_components = 4;
        info.in_color_space = JCS_CMYK;
        break;
    default:
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        break;
    }
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    if (kind == TKind::Progressive) {
        jpeg_simple_progression(&info);
    }
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * info.input_components);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            unsigned char* px = row.data() + static_cast<std::size_t>(x) * info.input_components;
            bool left = x < width / 2;
            if (kind == TKind::Grey) {
                px[0] = left ? 40 : 200;
            } else if (kind == TKind::Cmyk) {
                // Stored inverted, as Adobe does: 255 means no ink. Red is magenta plus yellow.
                px[0] = 255;
                px[1] = left ? 0 : 255;
                px[2] = 0;
                px[3] = 255;
            } else {
                px[0] = left ? 255 : 0;
                px[1] = 0;
                px[2] = left ? 0 : 255;
            }
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::byte> bytes(reinterpret_cast<std::byte*>(buffer),
                                 reinterpret_cast<std::byte*>(buffer) + size);
    std::free(buffer);
    return bytes;
}

void ExpectNear(std::uint32_t actual, std::uint32_t expected, const char* what) {
    for (int shift = 0; shift <= 16; shift += 8) {
        int a = static_cast<int>((actual >> shift) & 0xFF);
        int e = static_cast<int>((expected >> shift) & 0xFF);
        EXPECT_LE(std::abs(a - e), 12) << what << ": 0x" << std::hex << actual << " vs 0x" << expected;
    }
}

} // namespace

TEST(JpegCodec, DecodesColourGreyProgressiveAndCmyk) {
    TPixelBuffer p;
    TStatus r = DecodeJpeg(MakeJpeg(TKind::Colour), p);
    ASSERT_TRUE(r.IsOk()) << r.Message();
    ASSERT_EQ(p.Width(), 16);
    ASSERT_EQ(p.Height(), 8);
    ExpectNear(p.At(2, 4), 0xFF0000, "colour left");
    ExpectNear(p.At(13, 4), 0x0000FF, "colour right");

    r = DecodeJpeg(MakeJpeg(TKind::Grey), p);
    ASSERT_TRUE(r.IsOk()) << r.Message();
    ExpectNear(p.At(2, 4), 0x282828, "grey left");
    ExpectNear(p.At(13, 4), 0xC8C8C8, "grey right");

    r = DecodeJpeg(MakeJpeg(TKind::Progressive, 40, 24), p);
    ASSERT_TRUE(r.IsOk()) << r.Message();
    EXPECT_EQ(p.Width(), 40);
    ExpectNear(p.At(3, 3), 0xFF0000, "progressive left");
    ExpectNear(p.At(36, 20), 0x0000FF, "progressive right");

    r = DecodeJpeg(MakeJpeg(TKind::Cmyk), p);
    ASSERT_TRUE(r.IsOk()) << r.Message();
    ExpectNear(p.At(2, 4), 0xFF0000, "cmyk left");
    ExpectNear(p.At(13, 4), 0xFFFF00, "cmyk right");
}

TEST(JpegCodec, TruncatedDataFailsAtEveryLength) {
    for (TKind kind : {TKind::Colour, TKind::Progressive}) {
        std::vector<std::byte> bytes = MakeJpeg(kind);
        for (std::size_t n = 0; n + 2 < bytes.size(); n += (n < 700 ? 1 : 7)) {
            TPixelBuffer p(1, 1, 0x123456);
            TStatus r = DecodeJpeg(std::span(bytes).first(n), p);
            EXPECT_FALSE(r.IsOk()) << "accepted " << n << " of " << bytes.size() << " bytes";
            EXPECT_FALSE(r.Message().empty());
            EXPECT_EQ(p.At(0, 0), 0x123456u);
        }
    }
}

TEST(JpegCodec, RefusesPicturesItsDataCannotHold) {
    std::vector<std::byte> bytes = MakeJpeg(TKind::Colour);
    // Find the frame header (FF C0) and claim 60000 × 60000 pixels.
    for (std::size_t i = 0; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == std::byte{0xFF} && bytes[i + 1] == std::byte{0xC0}) {
            bytes[i + 5] = std::byte{0xEA};
            bytes[i + 6] = std::byte{0x60};
            bytes[i + 7] = std::byte{0xEA};
            bytes[i + 8] = std::byte{0x60};
            break;
        }
    }
    TPixelBuffer p;
    TStatus r = DecodeJpeg(bytes, p);
    EXPECT_FALSE(r.IsOk());
    EXPECT_NE(r.Message().find("60000 × 60000"), std::string::npos) << r.Message();
}

TEST(JpegCodec, GarbageBecomesAnErrorNeverAnExit) {
    TPixelBuffer p;
    EXPECT_FALSE(DecodeJpeg({}, p).IsOk());
    std::vector<std::byte> bytes = MakeJpeg(TKind::Colour);
    // Corrupt everything after the start-of-image marker with a fixed pattern.
    for (std::size_t i = 2; i < bytes.size(); ++i) {
        bytes[i] = std::byte(static_cast<unsigned char>(i * 37 + 11));
    }
    TStatus r = DecodeJpeg(bytes, p);
    EXPECT_FALSE(r.IsOk());
    EXPECT_EQ(r.Message().rfind("invalid JPEG", 0), 0u) << r.Message();
    const std::byte png[] = {std::byte{0x89}, std::byte{'P'}, std::byte{'N'}, std::byte{'G'}};
    EXPECT_FALSE(DecodeJpeg(png, p).IsOk());
}
