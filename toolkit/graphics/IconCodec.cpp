#include "toolkit/graphics/IconCodec.h"

#include "toolkit/graphics/ImageFormat.h"
#include "toolkit/graphics/PngCodec.h"

#include <algorithm>
#include <string>
#include <tuple>

namespace {

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kDibHeader = 40;
constexpr int kMaxIconSide = 256;

std::uint16_t U16(std::span<const std::byte> d, std::size_t at) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(d[at]) |
                                      (std::to_integer<unsigned>(d[at + 1]) << 8));
}

std::uint32_t U32(std::span<const std::byte> d, std::size_t at) {
    return static_cast<std::uint32_t>(U16(d, at)) | (static_cast<std::uint32_t>(U16(d, at + 2)) << 16);
}

std::uint8_t Byte(std::span<const std::byte> d, std::size_t at) {
    return std::to_integer<std::uint8_t>(d[at]);
}

std::string Num(std::uint64_t v) {
    return std::to_string(v);
}

// A device-independent bitmap with its AND mask, bottom row first.
TStatus DecodeDib(std::span<const std::byte> dib, TIconImage& out) {
    if (dib.size() < kDibHeader) {
        return TStatus::Fail("truncated icon image: " + Num(dib.size()) + " bytes");
    }
    const std::uint32_t headerSize = U32(dib, 0);
    if (headerSize < kDibHeader || headerSize > dib.size()) {
        return TStatus::Fail("invalid icon image header of " + Num(headerSize) + " bytes");
    }
    const std::int64_t width = static_cast<std::int32_t>(U32(dib, 4));
    const std::int64_t doubledHeight = static_cast<std::int32_t>(U32(dib, 8));
    const unsigned bitCount = U16(dib, 14);
    const std::uint32_t compression = U32(dib, 16);
    const std::uint32_t coloursUsed = U32(dib, 32);
    // The height covers the colour image and the mask together.
    const std::int64_t height = doubledHeight / 2;
    if (width <= 0 || width > kMaxIconSide || height <= 0 || height > kMaxIconSide) {
        return TStatus::Fail("invalid icon image size " + std::to_string(width) + " × " +
                             std::to_string(height));
    }
    if (compression != 0) {
        return TStatus::Fail("unsupported compressed icon image");
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) {
        return TStatus::Fail("unsupported icon colour depth of " + Num(bitCount) + " bits");
    }
    std::size_t at = headerSize;
    std::vector<std::uint32_t> palette;
    if (bitCount <= 8) {
        const std::uint64_t maxColours = std::uint64_t{1} << bitCount;
        const std::uint64_t colours = coloursUsed ? coloursUsed : maxColours;
        if (colours > maxColours) {
            return TStatus::Fail("invalid icon palette of " + Num(colours) + " colours");
        }
        if (at + colours * 4 > dib.size()) {
            return TStatus::Fail("truncated icon palette");
        }
        for (std::uint64_t i = 0; i < colours; ++i) {
            palette.push_back((static_cast<std::uint32_t>(Byte(dib, at + 2)) << 16) |
                              (static_cast<std::uint32_t>(Byte(dib, at + 1)) << 8) | Byte(dib, at));
            at += 4;
        }
        palette.resize(static_cast<std::size_t>(maxColours), 0);
    }
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t h = static_cast<std::size_t>(height);
    const std::size_t colourStride = (w * bitCount + 31) / 32 * 4;
    const std::size_t maskStride = (w + 31) / 32 * 4;
    if (at + colourStride * h > dib.size()) {
        return TStatus::Fail("truncated icon image: its pixels need " + Num(colourStride * h) + " bytes");
    }
    const std::size_t maskAt = at + colourStride * h;
    // 32-bit images carry alpha; some writers leave their mask out.
    const bool hasMask = maskAt + maskStride * h <= dib.size();
    if (!hasMask && bitCount != 32) {
        return TStatus::Fail("truncated icon image: its mask needs " + Num(maskStride * h) + " bytes");
    }
    TIconImage image;
    image.Pixels.Reset(static_cast<int>(w), static_cast<int>(h));
    image.Alpha.assign(w * h, 255);
    bool anyAlpha = false;
    for (std::size_t row = 0; row < h; ++row) {
        const std::size_t y = h - 1 - row;
        const std::size_t line = at + row * colourStride;
        std::uint32_t* target = image.Pixels.Row(static_cast<int>(y));
        for (std::size_t x = 0; x < w; ++x) {
            std::uint32_t pixel = 0;
            switch (bitCount) {
            case 32: {
                const std::size_t p = line + x * 4;
                pixel = (static_cast<std::uint32_t>(Byte(dib, p + 2)) << 16) |
                        (static_cast<std::uint32_t>(Byte(dib, p + 1)) << 8) | Byte(dib, p);
                image.Alpha[y * w + x] = Byte(dib, p + 3);
                anyAlpha = anyAlpha || Byte(dib, p + 3) != 0;
                break;
            }
            case 24: {
                const std::size_t p = line + x * 3;
                pixel = (static_cast<std::uint32_t>(Byte(dib, p + 2)) << 16) |
                        (static_cast<std::uint32_t>(Byte(dib, p + 1)) << 8) | Byte(dib, p);
                break;
            }
            case 8:
                pixel = palette[Byte(dib, line + x)];
                break;
            case 4:
                pixel = palette[(Byte(dib, line + x / 2) >> (x % 2 == 0 ? 4 : 0)) & 0x0F];
                break;
            default:
                pixel = palette[(Byte(dib, line + x / 8) >> (7 - x % 8)) & 1];
                break;
            }
            target[x] = pixel;
        }
    }
    // The AND mask decides where there is no alpha channel (or an empty one, as old writers
    // leave it): a set bit is transparent.
    if (bitCount != 32 || !anyAlpha) {
        for (std::size_t row = 0; row < h; ++row) {
            const std::size_t y = h - 1 - row;
            for (std::size_t x = 0; x < w; ++x) {
                bool transparent =
                    hasMask && ((Byte(dib, maskAt + row * maskStride + x / 8) >> (7 - x % 8)) & 1);
                image.Alpha[y * w + x] = transparent ? 0 : 255;
            }
        }
    }
    out = std::move(image);
    return TStatus::Ok();
}

TIconImage Scale(const TIconImage& image, int width, int height) {
    if (image.Pixels.Width() == width && image.Pixels.Height() == height) {
        return image;
    }
    TIconImage scaled;
    scaled.Pixels.Reset(width, height);
    scaled.Alpha.assign(static_cast<std::size_t>(width) * height, 0);
    const long long sw = image.Pixels.Width();
    const long long sh = image.Pixels.Height();
    for (int y = 0; y < height; ++y) {
        const int sy = static_cast<int>((2LL * y + 1) * sh / (2LL * height));
        for (int x = 0; x < width; ++x) {
            const int sx = static_cast<int>((2LL * x + 1) * sw / (2LL * width));
            scaled.Pixels.Row(y)[x] = image.Pixels.Row(sy)[sx];
            scaled.Alpha[static_cast<std::size_t>(y) * width + x] =
                image.Alpha[static_cast<std::size_t>(sy) * sw + static_cast<std::size_t>(sx)];
        }
    }
    return scaled;
}

int Side(int directorySide) {
    return directorySide == 0 ? 256 : directorySide;
}

} // namespace

TStatus ReadIconDirectory(std::span<const std::byte> data, std::vector<TIconEntry>& entries) {
    if (data.size() < kDirectoryHeader || U16(data, 0) != 0 || U16(data, 2) != 1) {
        return TStatus::Fail("not an icon file");
    }
    const std::size_t count = U16(data, 4);
    if (count == 0) {
        return TStatus::Fail("icon file without images");
    }
    if (kDirectoryHeader + count * kEntrySize > data.size()) {
        return TStatus::Fail("truncated icon file: a directory of " + Num(count) + " images needs " +
                             Num(kDirectoryHeader + count * kEntrySize) + " bytes, the data has " +
                             Num(data.size()));
    }
    std::vector<TIconEntry> read;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kDirectoryHeader + i * kEntrySize;
        TIconEntry entry;
        entry.Width = Byte(data, at);
        entry.Height = Byte(data, at + 1);
        entry.BitCount = U16(data, at + 6);
        entry.Size = U32(data, at + 8);
        entry.Offset = U32(data, at + 12);
        if (static_cast<std::uint64_t>(entry.Offset) + entry.Size > data.size() || entry.Size == 0) {
            return TStatus::Fail("truncated icon file: image " + Num(i + 1) + " lies outside the data");
        }
        read.push_back(entry);
    }
    entries = std::move(read);
    return TStatus::Ok();
}

TStatus DecodeIconEntry(std::span<const std::byte> data, const TIconEntry& entry, TIconImage& out) {
    if (static_cast<std::uint64_t>(entry.Offset) + entry.Size > data.size()) {
        return TStatus::Fail("icon image outside the data");
    }
    std::span<const std::byte> bytes = data.subspan(entry.Offset, entry.Size);
    if (DetectImageFormat(bytes) == TImageFormat::Png) {
        TIconImage image;
        if (TStatus status = DecodePng(bytes, image.Pixels, image.Alpha); !status) {
            return status;
        }
        if (image.Pixels.Width() > kMaxIconSide || image.Pixels.Height() > kMaxIconSide) {
            return TStatus::Fail("icon image larger than 256 × 256");
        }
        out = std::move(image);
        return TStatus::Ok();
    }
    return DecodeDib(bytes, out);
}

TStatus DecodeIcon(std::span<const std::byte> data, int width, int height, TIconImage& out) {
    if (width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide) {
        return TStatus::Fail("icons are drawn at 1 to 256 pixels a side");
    }
    std::vector<TIconEntry> entries;
    if (TStatus status = ReadIconDirectory(data, entries); !status) {
        return status;
    }
    // Best first: the exact size with the most colours, then larger sizes from the smallest,
    // then smaller sizes from the largest.
    auto rank = [&](const TIconEntry& e) {
        const int w = Side(e.Width);
        const int h = Side(e.Height);
        if (w == width && h == height) {
            return std::make_tuple(0, 0, -e.BitCount);
        }
        if (w >= width && h >= height) {
            return std::make_tuple(1, w * h, -e.BitCount);
        }
        return std::make_tuple(2, -(w * h), -e.BitCount);
    };
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const TIconEntry& a, const TIconEntry& b) { return rank(a) < rank(b); });
    TStatus first = TStatus::Fail("icon without images");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        TIconImage image;
        TStatus status = DecodeIconEntry(data, entries[i], image);
        if (status) {
            out = Scale(image, width, height);
            return TStatus::Ok();
        }
        if (i == 0) {
            first = status;
        }
    }
    return first;
}
