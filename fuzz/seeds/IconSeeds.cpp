// Icon seeds: directories of several images, at every colour depth the reader takes, with and
// without masks and alpha, and with PNG images (one of them 256 pixels a side, which the
// directory writes as 0).

#include "fuzz/seeds/Seeds.h"
#include "toolkit/graphics/PngCodec.h"

namespace {

struct TIconPart {
    int Side;
    unsigned Bits;        // 1, 4, 8, 24 or 32; 0 for a PNG image
    bool Mask = true;     // 32-bit images may leave their AND mask out
    bool Alpha = true;    // 32-bit images: an alpha channel, or all zero so that the mask decides
    unsigned Colours = 0; // palette entries stored; 0 for all 2^Bits
};

// Transparent where the mask says so: the corners.
bool MaskedOut(int x, int y, int side) {
    const int far = side - 1;
    return (x + y < 3) || (far - x + y < 3) || (x + far - y < 3) || (2 * far - x - y < 3);
}

std::vector<std::byte> Dib(const TIconPart& part) {
    const int side = part.Side;
    const unsigned colours = part.Bits <= 8 ? (part.Colours ? part.Colours : 1u << part.Bits) : 0;
    TByteWriter out;
    out.U32(40);
    out.U32(static_cast<std::uint32_t>(side));
    out.U32(static_cast<std::uint32_t>(2 * side)); // the colour image and the mask together
    out.U16(1);
    out.U16(part.Bits);
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U32(0);
    out.U32(part.Colours);
    out.U32(0);
    for (unsigned i = 0; i < colours; ++i) {
        const std::uint32_t rgb = SeedPixel(static_cast<int>(i), static_cast<int>(i * 7 % colours),
                                            static_cast<int>(colours), static_cast<int>(colours));
        out.U32(rgb); // blue, green, red, 0
    }
    for (int y = side - 1; y >= 0; --y) {
        if (part.Bits <= 8) {
            out.PackedRow(side, part.Bits, [&](int x) { return static_cast<unsigned>(x + y) % colours; });
            continue;
        }
        const std::size_t start = out.Size();
        for (int x = 0; x < side; ++x) {
            const std::uint32_t rgb = SeedPixel(x, y, side, side);
            out.U8(rgb);
            out.U8(rgb >> 8);
            out.U8(rgb >> 16);
            if (part.Bits == 32) {
                out.U8(!part.Alpha || MaskedOut(x, y, side) ? 0 : 255 - 4 * x);
            }
        }
        out.Align4(start);
    }
    if (part.Mask) {
        for (int y = side - 1; y >= 0; --y) {
            out.PackedRow(side, 1, [&](int x) { return MaskedOut(x, y, side) ? 1 : 0; });
        }
    }
    return out.Take();
}

std::vector<std::byte> Png(int side) {
    TPixelBuffer pixels(side, side);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            // Flat bands compress well, so that even the 256-pixel image stays small.
            pixels.Set(x, y, SeedPixel(x / 32 * 32, y / 32 * 32, side, side));
        }
    }
    std::vector<std::byte> bytes;
    EncodePng(pixels, bytes);
    return bytes;
}

TSeed Icon(const char* name, std::initializer_list<TIconPart> parts) {
    std::vector<std::vector<std::byte>> images;
    for (const TIconPart& part : parts) {
        images.push_back(part.Bits ? Dib(part) : Png(part.Side));
    }
    TByteWriter out;
    out.U16(0);
    out.U16(1);
    out.U16(static_cast<unsigned>(parts.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * parts.size());
    std::size_t i = 0;
    for (const TIconPart& part : parts) {
        out.U8(part.Side == 256 ? 0 : static_cast<unsigned>(part.Side));
        out.U8(part.Side == 256 ? 0 : static_cast<unsigned>(part.Side));
        out.U8(part.Bits && part.Bits < 8 ? 1u << part.Bits : 0);
        out.U8(0);
        out.U16(1);
        out.U16(part.Bits ? part.Bits : 32);
        out.U32(static_cast<std::uint32_t>(images[i].size()));
        out.U32(offset);
        offset += static_cast<std::uint32_t>(images[i].size());
        ++i;
    }
    for (const std::vector<std::byte>& image : images) {
        out.Append(image);
    }
    return {name, out.Take()};
}

} // namespace

std::vector<TSeed> IconSeeds() {
    std::vector<TSeed> seeds;
    seeds.push_back(Icon("depths.ico", {{16, 1}, {16, 4}, {16, 8, true, true, 24}, {16, 24}, {8, 8}}));
    seeds.push_back(Icon("sizes.ico", {{32, 4}, {24, 8, true, true, 16}, {16, 32}, {20, 24}}));
    seeds.push_back(Icon("alpha.ico", {{32, 32, false}, {12, 32, true, false}}));
    seeds.push_back(Icon("png.ico", {{256, 0}, {24, 0}, {16, 8, true, true, 7}}));
    return seeds;
}
