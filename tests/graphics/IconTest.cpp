#include "toolkit/graphics/Icon.h"

#include "tests/support/Artifacts.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/PngCodec.h"

#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

namespace {

void Put(std::vector<std::byte>& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(std::byte((v >> (8 * i)) & 0xFF));
    }
}

// A 16 × 16 image of 32 bits: left half opaque red, then a column at half alpha, the rest
// fully transparent.
std::vector<std::byte> Dib32() {
    std::vector<std::byte> dib;
    Put(dib, 40, 4);
    Put(dib, 16, 4);
    Put(dib, 32, 4);
    Put(dib, 1, 2);
    Put(dib, 32, 2);
    for (int i = 0; i < 6; ++i) {
        Put(dib, 0, 4);
    }
    for (int row = 0; row < 16; ++row) {
        for (int x = 0; x < 16; ++x) {
            std::uint32_t alpha = x < 8 ? 255 : (x == 8 ? 128 : 0);
            Put(dib, 0xFF0000 | (alpha << 24), 4); // B G R A = 00 00 FF alpha
        }
    }
    for (int row = 0; row < 16; ++row) {
        Put(dib, 0, 4); // an AND mask that the alpha channel overrides
    }
    return dib;
}

// A 32 × 32 image of 8 bits: all green, with the AND mask making the first column transparent.
std::vector<std::byte> Dib8() {
    std::vector<std::byte> dib;
    Put(dib, 40, 4);
    Put(dib, 32, 4);
    Put(dib, 64, 4);
    Put(dib, 1, 2);
    Put(dib, 8, 2);
    for (int i = 0; i < 6; ++i) {
        Put(dib, 0, 4);
    }
    for (int i = 0; i < 256; ++i) {
        Put(dib, i == 1 ? 0x00FF00 : 0, 4);
    }
    for (int i = 0; i < 32 * 32; ++i) {
        dib.push_back(std::byte(1));
    }
    for (int row = 0; row < 32; ++row) {
        Put(dib, 0x80, 4); // bit 7 of the first byte: the leftmost pixel
    }
    return dib;
}

std::vector<std::byte> MakeIcon(const std::vector<std::pair<int, std::vector<std::byte>>>& images) {
    std::vector<std::byte> out;
    Put(out, 0, 2);
    Put(out, 1, 2);
    Put(out, static_cast<std::uint32_t>(images.size()), 2);
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (const auto& [side, bytes] : images) {
        out.push_back(std::byte(side == 256 ? 0 : side));
        out.push_back(std::byte(side == 256 ? 0 : side));
        Put(out, 0, 2);
        Put(out, 1, 2);
        Put(out, 32, 2);
        Put(out, static_cast<std::uint32_t>(bytes.size()), 4);
        Put(out, offset, 4);
        offset += static_cast<std::uint32_t>(bytes.size());
    }
    for (const auto& image : images) {
        out.insert(out.end(), image.second.begin(), image.second.end());
    }
    return out;
}

} // namespace

TEST(Icon, DrawsTheSixteenPixelImageWithItsAlpha) {
    TIcon icon;
    TStatus status = icon.LoadFromBytes(MakeIcon({{32, Dib8()}, {16, Dib32()}}));
    ASSERT_TRUE(status.IsOk()) << status.Message();
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    TBitmap target(18, 16);
    target.Canvas()->Brush()->SetColor(clBlue);
    target.Canvas()->FillRect(TRect{0, 0, 18, 16});
    target.Canvas()->Draw(1, 0, &icon);
    SaveArtifactPng("icon16", target);
    EXPECT_EQ(target.Pixels().At(0, 5), 0x0000FFu);
    EXPECT_EQ(target.Pixels().At(1, 5), 0xFF0000u);
    EXPECT_EQ(target.Pixels().At(8, 15), 0xFF0000u);
    EXPECT_EQ(target.Pixels().At(9, 5), 0x80007Fu) << "half alpha blends red over blue";
    EXPECT_EQ(target.Pixels().At(10, 5), 0x0000FFu);
}

TEST(Icon, PicksTheImageThatFitsTheSizeBest) {
    std::vector<std::byte> file = MakeIcon({{16, Dib32()}, {32, Dib8()}});
    TIcon icon;
    ASSERT_TRUE(icon.LoadFromBytes(file).IsOk());
    icon.SetSize(32, 32);
    ASSERT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Image().Alpha[0], 0) << "the AND mask hides the first column";
    EXPECT_EQ(icon.Image().Alpha[1], 255);
    EXPECT_EQ(icon.Image().Pixels.At(1, 1), 0x00FF00u);
    // 24 × 24 comes from the 32 × 32 image, scaled down.
    icon.SetSize(24, 24);
    EXPECT_EQ(icon.Image().Pixels.At(12, 12), 0x00FF00u);
    std::vector<std::byte> saved;
    ASSERT_TRUE(icon.SaveToBytes(saved).IsOk());
    EXPECT_EQ(saved, file);
    TIcon copy;
    copy.Assign(&icon);
    EXPECT_EQ(copy.Width(), 24);
    EXPECT_EQ(copy.Image().Pixels, icon.Image().Pixels);
}

TEST(Icon, ReadsPngImages) {
    TPixelBuffer pixels(16, 16, 0x336699);
    std::vector<std::byte> png;
    ASSERT_TRUE(EncodePng(pixels, png).IsOk());
    TIcon icon;
    TStatus status = icon.LoadFromBytes(MakeIcon({{16, png}}));
    ASSERT_TRUE(status.IsOk()) << status.Message();
    EXPECT_EQ(icon.Image().Pixels, pixels);
    EXPECT_EQ(icon.Image().Alpha[100], 255);
}

TEST(Icon, RefusesBrokenFilesAndKeepsWhatItHad) {
    std::vector<std::byte> good = MakeIcon({{16, Dib32()}});
    TIcon icon;
    ASSERT_TRUE(icon.LoadFromBytes(good).IsOk());
    for (std::size_t n = 0; n < good.size(); n += 3) {
        EXPECT_FALSE(icon.LoadFromBytes(std::span(good).first(n)).IsOk()) << n;
    }
    std::vector<std::byte> noImages = MakeIcon({});
    EXPECT_FALSE(icon.LoadFromBytes(noImages).IsOk());
    std::vector<std::byte> outside = good;
    outside[18] = std::byte{0xFF}; // the image's offset points far past the end
    EXPECT_FALSE(icon.LoadFromBytes(outside).IsOk());
    std::vector<std::byte> huge = good;
    huge[22 + 4] = std::byte{0x00}; // width 0x10000 in the image header
    huge[22 + 6] = std::byte{0x01};
    TStatus status = icon.LoadFromBytes(huge);
    EXPECT_FALSE(status.IsOk());
    EXPECT_NE(status.Message().find("size"), std::string::npos) << status.Message();
    EXPECT_EQ(icon.Width(), 16) << "the icon keeps its picture";
    EXPECT_FALSE(icon.LoadFromResourceName("NO_SUCH_ICON").IsOk());
}
