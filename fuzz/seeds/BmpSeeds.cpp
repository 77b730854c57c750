// BMP seeds: every header size, colour depth and compression the reader accepts.

#include "fuzz/seeds/Seeds.h"

#include <array>
#include <bit>

namespace {

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;
constexpr std::uint32_t kSrgb = 0x73524742; // 'sRGB'

constexpr int kWidth = 7; // odd, so that rows need padding at every depth
constexpr int kHeight = 5;

struct TBmpKind {
    const char* Name;
    unsigned Header; // 12 (OS/2), 40, 52, 56, 108 or 124 bytes
    unsigned Bits;
    std::uint32_t Compression = kRgb;
    std::array<std::uint32_t, 4> Masks{}; // red, green, blue, alpha
    unsigned Colours = 0;                 // palette entries stored; 0 for all 2^Bits
    bool TopDown = false;
};

std::uint32_t PaletteColour(unsigned i) {
    return SeedPixel(static_cast<int>(i % 4), static_cast<int>(i / 4), 4, 64);
}

unsigned PaletteSize(const TBmpKind& kind) {
    return kind.Colours ? kind.Colours : 1u << kind.Bits;
}

// The palette index of pixel (x, y): runs of three at the start of each row for the run-length
// coders, then changing colours.
unsigned PixelIndex(int x, int y, unsigned colours) {
    return (x < 3 ? static_cast<unsigned>(y) : static_cast<unsigned>(x + 2 * y)) % colours;
}

// A colour component squeezed into a bit-field mask.
std::uint32_t IntoMask(std::uint32_t component, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int width = std::popcount(mask);
    const int shift = std::countr_zero(mask);
    const std::uint32_t value = width >= 8 ? component << (width - 8) : component >> (8 - width);
    return (value << shift) & mask;
}

std::uint32_t Packed(const TBmpKind& kind, std::uint32_t rgb, int x) {
    const std::array<std::uint32_t, 4> masks =
        kind.Compression == kRgb ? (kind.Bits == 16 ? std::array<std::uint32_t, 4>{0x7C00, 0x03E0, 0x001F, 0}
                                                    : std::array<std::uint32_t, 4>{0xFF0000, 0xFF00, 0xFF, 0})
                                 : kind.Masks;
    const std::uint32_t alpha = static_cast<std::uint32_t>(255 - 30 * x);
    return IntoMask((rgb >> 16) & 0xFF, masks[0]) | IntoMask((rgb >> 8) & 0xFF, masks[1]) |
           IntoMask(rgb & 0xFF, masks[2]) | IntoMask(alpha, masks[3]);
}

void WriteRow(TByteWriter& out, const TBmpKind& kind, int y) {
    if (kind.Bits <= 8) {
        out.PackedRow(kWidth, kind.Bits, [&](int x) { return PixelIndex(x, y, PaletteSize(kind)); });
        return;
    }
    const std::size_t start = out.Size();
    for (int x = 0; x < kWidth; ++x) {
        const std::uint32_t rgb = SeedPixel(x, y, kWidth, kHeight);
        if (kind.Bits == 24) {
            out.U8(rgb);
            out.U8(rgb >> 8);
            out.U8(rgb >> 16);
        } else if (kind.Bits == 16) {
            out.U16(Packed(kind, rgb, x));
        } else {
            out.U32(Packed(kind, rgb, x));
        }
    }
    out.Align4(start);
}

// Run-length coded rows: a run of three, then the rest of the row as absolute pixels, except on
// the bottom row, which skips its rest with a delta. Every row ends with an end-of-line code and
// the picture with an end-of-bitmap code.
void WriteRunLengthRows(TByteWriter& out, const TBmpKind& kind) {
    const unsigned colours = PaletteSize(kind);
    const bool nibbles = kind.Compression == kRle4;
    for (int y = 0; y < kHeight; ++y) {
        const unsigned first = PixelIndex(0, y, colours);
        out.U8(3);
        out.U8(nibbles ? (first << 4) | first : first);
        const int rest = kWidth - 3;
        if (y == 0) {
            out.U8(0);
            out.U8(2);
            out.U8(static_cast<unsigned>(rest));
            out.U8(0);
        } else {
            const std::size_t start = out.Size();
            out.U8(0);
            out.U8(static_cast<unsigned>(rest));
            for (int x = 3; x < kWidth; x += nibbles ? 2 : 1) {
                unsigned value = PixelIndex(x, y, colours);
                if (nibbles) {
                    value = (value << 4) | (x + 1 < kWidth ? PixelIndex(x + 1, y, colours) : 0);
                }
                out.U8(value);
            }
            if ((out.Size() - start) % 2 != 0) {
                out.U8(0); // absolute runs end on a word boundary
            }
        }
        out.U8(0);
        out.U8(y + 1 == kHeight ? 1 : 0);
    }
}

TSeed Bmp(const TBmpKind& kind) {
    TByteWriter out;
    out.U8('B');
    out.U8('M');
    out.U32(0); // file size, patched below
    out.U32(0);
    out.U32(0); // pixel offset, patched below
    out.U32(kind.Header);
    const bool core = kind.Header == 12;
    if (core) {
        out.U16(kWidth);
        out.U16(kHeight);
        out.U16(1);
        out.U16(kind.Bits);
    } else {
        out.U32(kWidth);
        out.U32(static_cast<std::uint32_t>(kind.TopDown ? -kHeight : kHeight));
        out.U16(1);
        out.U16(kind.Bits);
        out.U32(kind.Compression);
        out.U32(0); // image size, which readers may work out themselves for uncompressed data
        out.U32(2835);
        out.U32(2835);
        out.U32(kind.Colours);
        out.U32(0);
        const bool masksInHeader = kind.Header >= 52;
        if (masksInHeader) {
            for (int i = 0; i < (kind.Header == 52 ? 3 : 4); ++i) {
                out.U32(kind.Masks[i]);
            }
        }
        if (kind.Header >= 108) {
            out.U32(kSrgb);
            for (int i = 0; i < 9 + 3; ++i) {
                out.U32(0); // end points and gamma, unused for sRGB
            }
        }
        if (kind.Header == 124) {
            out.U32(4); // rendering intent: perceptual
            out.U32(0);
            out.U32(0);
            out.U32(0);
        }
        if (!masksInHeader && kind.Compression == kBitFields) {
            for (int i = 0; i < 3; ++i) {
                out.U32(kind.Masks[i]);
            }
        } else if (!masksInHeader && kind.Compression == kAlphaBitFields) {
            for (int i = 0; i < 4; ++i) {
                out.U32(kind.Masks[i]);
            }
        }
    }
    if (kind.Bits <= 8) {
        for (unsigned i = 0; i < PaletteSize(kind); ++i) {
            const std::uint32_t rgb = PaletteColour(i);
            out.U8(rgb);
            out.U8(rgb >> 8);
            out.U8(rgb >> 16);
            if (!core) {
                out.U8(0);
            }
        }
    }
    const std::size_t pixels = out.Size();
    if (kind.Compression == kRle8 || kind.Compression == kRle4) {
        WriteRunLengthRows(out, kind);
    } else {
        for (int row = 0; row < kHeight; ++row) {
            WriteRow(out, kind, kind.TopDown ? row : kHeight - 1 - row);
        }
    }
    out.PatchU32(2, static_cast<std::uint32_t>(out.Size()));
    out.PatchU32(10, static_cast<std::uint32_t>(pixels));
    return {kind.Name, out.Take()};
}

} // namespace

std::vector<TSeed> BmpSeeds() {
    constexpr std::array<std::uint32_t, 4> k565{0xF800, 0x07E0, 0x001F, 0};
    constexpr std::array<std::uint32_t, 4> k4444{0x0F00, 0x00F0, 0x000F, 0xF000};
    constexpr std::array<std::uint32_t, 4> kArgb{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
    constexpr std::array<std::uint32_t, 4> kBgra{0x0000FF00, 0x00FF0000, 0xFF000000, 0x000000FF};
    const TBmpKind kinds[] = {
        {"os2-pal1.bmp", 12, 1},
        {"os2-pal4.bmp", 12, 4},
        {"os2-rgb24.bmp", 12, 24},
        {"info-pal1.bmp", 40, 1},
        {"info-pal4-few-colours.bmp", 40, 4, kRgb, {}, 5},
        {"info-pal8-top-down.bmp", 40, 8, kRgb, {}, 20, true},
        {"info-rle8.bmp", 40, 8, kRle8, {}, 16},
        {"info-rle4.bmp", 40, 4, kRle4},
        {"info-rgb555.bmp", 40, 16},
        {"info-fields565.bmp", 40, 16, kBitFields, k565},
        {"info-rgb24.bmp", 40, 24},
        {"info-rgb24-top-down.bmp", 40, 24, kRgb, {}, 0, true},
        {"info-rgb32.bmp", 40, 32},
        {"info-alpha-fields4444.bmp", 40, 16, kAlphaBitFields, k4444},
        {"v2-fields565.bmp", 52, 16, kBitFields, k565},
        {"v3-fields-bgra.bmp", 56, 32, kBitFields, kBgra},
        {"v4-fields-argb.bmp", 108, 32, kBitFields, kArgb},
        {"v4-pal8.bmp", 108, 8, kRgb, {}, 12},
        {"v5-rgb24.bmp", 124, 24},
        {"v5-fields-argb-top-down.bmp", 124, 32, kBitFields, kArgb, 0, true},
    };
    std::vector<TSeed> seeds;
    for (const TBmpKind& kind : kinds) {
        seeds.push_back(Bmp(kind));
    }
    return seeds;
}
