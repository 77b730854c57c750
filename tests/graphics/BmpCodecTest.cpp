#include "toolkit/graphics/BmpCodec.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Writes BMP files byte by byte, so that every field can also be made wrong on purpose.
struct TBmpSpec {
    int Width = 0;
    int Height = 0; // negative for top-down rows
    int BitsPerPixel = 24;
    std::uint32_t Compression = 0;
    std::uint32_t HeaderSize = 40;
    std::vector<std::uint32_t> Masks;   // written after a 40-byte header
    std::vector<std::uint32_t> Palette; // 0x00RRGGBB
    std::uint32_t ColoursUsed = 0;
    std::vector<std::uint8_t> PixelData;
    std::int64_t PixelOffset = -1; // -1: right after the palette
    bool PadToOffset = true;       // false: the pixel data follows the palette whatever the offset says
};

void Put16(std::vector<std::byte>& out, std::uint32_t v) {
    out.push_back(std::byte(v & 0xFF));
    out.push_back(std::byte((v >> 8) & 0xFF));
}

void Put32(std::vector<std::byte>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::vector<std::byte> MakeBmp(const TBmpSpec& spec) {
    std::vector<std::byte> out;
    const bool core = spec.HeaderSize == 12;
    const std::uint32_t paletteBytes = static_cast<std::uint32_t>(spec.Palette.size()) * (core ? 3 : 4);
    const std::uint32_t offset =
        spec.PixelOffset >= 0
            ? static_cast<std::uint32_t>(spec.PixelOffset)
            : 14 + spec.HeaderSize + static_cast<std::uint32_t>(spec.Masks.size()) * 4 + paletteBytes;
    out.push_back(std::byte('B'));
    out.push_back(std::byte('M'));
    Put32(out, offset + static_cast<std::uint32_t>(spec.PixelData.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, spec.HeaderSize);
    if (core) {
        Put16(out, static_cast<std::uint32_t>(spec.Width));
        Put16(out, static_cast<std::uint32_t>(spec.Height));
        Put16(out, 1);
        Put16(out, static_cast<std::uint32_t>(spec.BitsPerPixel));
    } else {
        Put32(out, static_cast<std::uint32_t>(spec.Width));
        Put32(out, static_cast<std::uint32_t>(spec.Height));
        Put16(out, 1);
        Put16(out, static_cast<std::uint32_t>(spec.BitsPerPixel));
        Put32(out, spec.Compression);
        Put32(out, static_cast<std::uint32_t>(spec.PixelData.size()));
        Put32(out, 2835);
        Put32(out, 2835);
        Put32(out, spec.ColoursUsed);
        Put32(out, 0);
        for (std::uint32_t i = 40; i < spec.HeaderSize; i += 4) {
            Put32(out, 0);
        }
    }
    for (std::uint32_t mask : spec.Masks) {
        Put32(out, mask);
    }
    for (std::uint32_t colour : spec.Palette) {
        out.push_back(std::byte(colour & 0xFF));
        out.push_back(std::byte((colour >> 8) & 0xFF));
        out.push_back(std::byte((colour >> 16) & 0xFF));
        if (!core) {
            out.push_back(std::byte(0));
        }
    }
    while (spec.PadToOffset && out.size() < offset) {
        out.push_back(std::byte(0));
    }
    for (std::uint8_t b : spec.PixelData) {
        out.push_back(std::byte(b));
    }
    return out;
}

std::vector<std::uint32_t> Pixels(const TPixelBuffer& p) {
    return {p.Pixels().begin(), p.Pixels().end()};
}

// A 3 × 2 picture in 24 bits, stored bottom row first with rows padded to 4 bytes.
TBmpSpec ThreeByTwo() {
    TBmpSpec spec;
    spec.Width = 3;
    spec.Height = 2;
    spec.PixelData = {
        0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0, 0, 0, // bottom: red, green, blue (B, G, R)
        0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0x80, 0x80, 0, 0, 0, // top: white, black, grey
    };
    return spec;
}

} // namespace

TEST(BmpCodec, ReadsEveryColourDepthAndRowOrder) {
    TPixelBuffer p;
    ASSERT_TRUE(DecodeBmp(MakeBmp(ThreeByTwo()), p).IsOk());
    EXPECT_EQ(Pixels(p),
              (std::vector<std::uint32_t>{0xFFFFFF, 0x000000, 0x808080, 0xFF0000, 0x00FF00, 0x0000FF}));

    TBmpSpec topDown;
    topDown.Width = 2;
    topDown.Height = -2;
    topDown.BitsPerPixel = 32;
    topDown.PixelData = {0x01, 0x02, 0x03, 0xFF, 0x04, 0x05, 0x06, 0xFF,
                         0x07, 0x08, 0x09, 0xFF, 0x0A, 0x0B, 0x0C, 0xFF};
    TStatus r = DecodeBmp(MakeBmp(topDown), p);
    ASSERT_TRUE(r.IsOk()) << r.Message();
    EXPECT_EQ(Pixels(p), (std::vector<std::uint32_t>{0x030201, 0x060504, 0x090807, 0x0C0B0A}));

    TBmpSpec mono;
    mono.Width = 10;
    mono.Height = 1;
    mono.BitsPerPixel = 1;
    mono.Palette = {0x000000, 0xFFFFFF};
    mono.PixelData = {0b10110000, 0b01000000, 0, 0};
    r = DecodeBmp(MakeBmp(mono), p);
    ASSERT_TRUE(r.IsOk()) << r.Message();
    EXPECT_EQ(Pixels(p),
              (std::vector<std::uint32_t>{0xFFFFFF, 0, 0xFFFFFF, 0xFFFFFF, 0, 0, 0, 0, 0, 0xFFFFFF}));

    TBmpSpec nibbles;
    nibbles.Width = 3;
    nibbles.Height = 1;
    nibbles.BitsPerPixel = 4;
    nibbles.ColoursUsed = 3;
    nibbles.Palette = {0x112233, 0x445566, 0x778899};
    nibbles.PixelData = {0x21, 0x00, 0, 0};
    r = DecodeBmp(MakeBmp(nibbles), p);
    ASSERT_TRUE(r.IsOk()) << r.Message();
    EXPECT_EQ(Pixels(p), (std::vector<std::uint32_t>{0x778899, 0x445566, 0x112233}));

    TBmpSpec fields;
    fields.Width = 2;
    fields.Height = 1;
    fields.BitsPerPixel = 16;
    fields.Compression = 3;
    fields.Masks = {0xF800, 0x07E0, 0x001F};
    fields.PixelData = {0x00, 0xF8, 0x1F, 0x00}; // pure red, pure blue in 5-6-5
    r = DecodeBmp(MakeBmp(fields), p);
    ASSERT_TRUE(r.IsOk()) << r.Message();
    EXPECT_EQ(Pixels(p), (std::vector<std::uint32_t>{0xFF0000, 0x0000FF}));

    TBmpSpec core;
    core.HeaderSize = 12;
    core.Width = 2;
    core.Height = 1;
    core.BitsPerPixel = 8;
    core.Palette.assign(256, 0);
    core.Palette[7] = 0xABCDEF;
    core.PixelData = {7, 0, 0, 0};
    r = DecodeBmp(MakeBmp(core), p);
    ASSERT_TRUE(r.IsOk()) << r.Message();
    EXPECT_EQ(Pixels(p), (std::vector<std::uint32_t>{0xABCDEF, 0}));

    TBmpSpec rle;
    rle.Width = 4;
    rle.Height = 2;
    rle.BitsPerPixel = 8;
    rle.Compression = 1;
    rle.ColoursUsed = 2;
    rle.Palette = {0x000000, 0xFFFFFF};
    rle.PixelData = {4, 1, 0, 0, 2, 0, 2, 1, 0, 1}; // bottom: 4 × white; top: 2 × black, 2 × white
    r = DecodeBmp(MakeBmp(rle), p);
    ASSERT_TRUE(r.IsOk()) << r.Message();
    EXPECT_EQ(Pixels(p),
              (std::vector<std::uint32_t>{0, 0, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
}

TEST(BmpCodec, WritesTwentyFourBitFilesThatReadBackTheSame) {
    TPixelBuffer original(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            original.Set(x, y, static_cast<std::uint32_t>(x * 0x330000 + y * 0x005500 + 0x11));
        }
    }
    std::vector<std::byte> bytes;
    ASSERT_TRUE(EncodeBmp(original, bytes).IsOk());
    ASSERT_GT(bytes.size(), 30u);
    EXPECT_EQ(std::to_integer<int>(bytes[0]), 'B');
    EXPECT_EQ(std::to_integer<int>(bytes[28]), 24) << "bits per pixel";
    TPixelBuffer decoded;
    ASSERT_TRUE(DecodeBmp(bytes, decoded).IsOk());
    EXPECT_EQ(decoded, original);
    EXPECT_FALSE(EncodeBmp(TPixelBuffer(), bytes).IsOk());
}

TEST(BmpCodec, RefusesHugeClaimsBeforeAllocating) {
    TBmpSpec huge;
    huge.Width = 60000;
    huge.Height = 60000;
    huge.PixelData.assign(2000, 0);
    TPixelBuffer p;
    TStatus r = DecodeBmp(MakeBmp(huge), p);
    EXPECT_FALSE(r.IsOk());
    EXPECT_NE(r.Message().find("60000 × 60000"), std::string::npos) << r.Message();

    TBmpSpec large = huge; // within limits, but not backed by data
    large.Width = 4000;
    large.Height = 4000;
    r = DecodeBmp(MakeBmp(large), p);
    EXPECT_FALSE(r.IsOk());
    EXPECT_NE(r.Message().find("truncated"), std::string::npos) << r.Message();

    TBmpSpec rle = large; // a run-length stream cannot justify 16 million pixels with 2000 bytes
    rle.BitsPerPixel = 8;
    rle.Compression = 1;
    rle.Palette = {0};
    rle.ColoursUsed = 1;
    r = DecodeBmp(MakeBmp(rle), p);
    EXPECT_FALSE(r.IsOk());
    EXPECT_NE(r.Message().find("run-length"), std::string::npos) << r.Message();
}

TEST(BmpCodec, RefusesBrokenHeadersWithAReason) {
    TPixelBuffer untouched(1, 1, 0x123456);
    auto refuse = [&](TBmpSpec spec, std::string_view reason) {
        TStatus r = DecodeBmp(MakeBmp(spec), untouched);
        EXPECT_FALSE(r.IsOk()) << reason;
        EXPECT_NE(r.Message().find(reason), std::string::npos) << r.Message();
    };
    TBmpSpec spec = ThreeByTwo();
    spec.HeaderSize = 41;
    refuse(spec, "header");
    spec = ThreeByTwo();
    spec.BitsPerPixel = 7;
    refuse(spec, "colour depth");
    spec = ThreeByTwo();
    spec.Width = 0;
    refuse(spec, "no pixels");
    spec = ThreeByTwo();
    spec.Width = -3;
    refuse(spec, "no pixels");
    spec = ThreeByTwo();
    spec.Compression = 4; // JPEG inside BMP
    refuse(spec, "compression");
    spec = ThreeByTwo();
    spec.PixelOffset = 100000;
    spec.PadToOffset = false;
    refuse(spec, "starts at byte 100000");
    TBmpSpec palette;
    palette.Width = 1;
    palette.Height = 1;
    palette.BitsPerPixel = 8;
    palette.ColoursUsed = 300;
    palette.PixelData = {0, 0, 0, 0};
    refuse(palette, "palette of 300");
    palette.ColoursUsed = 200; // claims 200 entries, none present
    refuse(palette, "palette");
    EXPECT_EQ(untouched.At(0, 0), 0x123456u) << "a failed decode leaves the destination alone";
    EXPECT_FALSE(DecodeBmp({}, untouched).IsOk());
    const std::byte notBmp[] = {std::byte('G'), std::byte('I'), std::byte('F'), std::byte('8')};
    EXPECT_FALSE(DecodeBmp(notBmp, untouched).IsOk());
}

TEST(BmpCodec, EveryTruncationFailsCleanly) {
    for (const TBmpSpec& spec : {ThreeByTwo()}) {
        std::vector<std::byte> bytes = MakeBmp(spec);
        for (std::size_t n = 0; n < bytes.size(); ++n) {
            TPixelBuffer p;
            TStatus r = DecodeBmp(std::span(bytes).first(n), p);
            EXPECT_FALSE(r.IsOk()) << "accepted " << n << " of " << bytes.size() << " bytes";
            EXPECT_FALSE(r.Message().empty());
        }
    }
}
