// PNG seeds, through libpng's writers: grey, grey with alpha, colour, colour with alpha, 16-bit
// samples, palettes with and without transparency, low bit depths and interlacing.

#include "fuzz/seeds/Seeds.h"

#include <csetjmp>
#include <cstring>
#include <png.h>

namespace {

constexpr int kSide = 9; // odd, so that interlaced passes come out uneven

// One picture in libpng's simplified format, written in one go.
TSeed Simple(const char* name, png_uint_32 format, bool colourMap = false) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = kSide;
    image.height = kSide;
    image.format = format;
    const bool linear = (format & PNG_FORMAT_FLAG_LINEAR) != 0;
    const int channels = static_cast<int>(PNG_IMAGE_SAMPLE_CHANNELS(format));
    std::vector<std::uint8_t> colourMapBytes;
    std::vector<std::uint16_t> wide;
    std::vector<std::uint8_t> narrow;
    if (colourMap) {
        // Sixteen colours, the later ones partly transparent when the map has alpha.
        image.colormap_entries = 16;
        for (int i = 0; i < 16; ++i) {
            const std::uint32_t rgb = SeedPixel(i % 4, i / 4, 4, 4);
            colourMapBytes.push_back(static_cast<std::uint8_t>(rgb >> 16));
            colourMapBytes.push_back(static_cast<std::uint8_t>(rgb >> 8));
            colourMapBytes.push_back(static_cast<std::uint8_t>(rgb));
            if (format & PNG_FORMAT_FLAG_ALPHA) {
                colourMapBytes.push_back(static_cast<std::uint8_t>(i < 8 ? 255 : 16 * i));
            }
        }
    }
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            if (colourMap) {
                narrow.push_back(static_cast<std::uint8_t>((x + 2 * y) % 16));
                continue;
            }
            const std::uint32_t rgb = SeedPixel(x, y, kSide, kSide);
            const std::uint8_t samples[] = {
                static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                static_cast<std::uint8_t>(rgb), static_cast<std::uint8_t>(255 - 20 * x)};
            for (int c = 0; c < channels; ++c) {
                // Grey takes the green sample; the alpha sample comes last.
                const std::uint8_t sample = channels <= 2 ? (c == 0 ? samples[1] : samples[3]) : samples[c];
                if (linear) {
                    wide.push_back(static_cast<std::uint16_t>(sample * 257));
                } else {
                    narrow.push_back(sample);
                }
            }
        }
    }
    const void* buffer = linear ? static_cast<const void*>(wide.data()) : narrow.data();
    png_alloc_size_t size = 0;
    std::vector<std::byte> bytes;
    const void* map = colourMap ? colourMapBytes.data() : nullptr;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, buffer, 0, map)) {
        bytes.resize(size);
        if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, buffer, 0, map)) {
            bytes.clear();
        }
        bytes.resize(size);
    }
    png_image_free(&image);
    return {name, std::move(bytes)};
}

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* bytes = static_cast<std::vector<std::byte>*>(png_get_io_ptr(png));
    const auto* from = reinterpret_cast<const std::byte*>(data);
    bytes->insert(bytes->end(), from, from + length);
}

// Written row by row through the full interface, for what the simplified one leaves out: bit
// depths below 8, Adam7 interlacing and a transparent colour.
TSeed Detailed(const char* name, int colourType, int bitDepth, bool interlaced) {
    std::vector<std::byte> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {name, {}};
    }
    png_set_write_fn(png, &bytes, AppendToVector, nullptr);
    png_set_IHDR(png, info, kSide, kSide, bitDepth, colourType,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    const int levels = 1 << bitDepth;
    png_color palette[16];
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < levels; ++i) {
            const std::uint32_t rgb = SeedPixel(i, levels - 1 - i, levels, levels);
            palette[i] = {static_cast<png_byte>(rgb >> 16), static_cast<png_byte>(rgb >> 8),
                          static_cast<png_byte>(rgb)};
        }
        png_set_PLTE(png, info, palette, levels);
        png_byte alpha[] = {0, 128};
        png_set_tRNS(png, info, alpha, 2, nullptr);
    } else if (colourType == PNG_COLOR_TYPE_GRAY) {
        png_color_16 transparent{};
        transparent.gray = 1;
        png_set_tRNS(png, info, nullptr, 0, &transparent);
    }
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    const int channels = colourType == PNG_COLOR_TYPE_RGB ? 3 : 1;
    std::vector<png_byte> row((kSide * channels * bitDepth + 7) / 8);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < kSide; ++y) {
            std::fill(row.begin(), row.end(), 0);
            for (int x = 0; x < kSide * channels; ++x) {
                const int value =
                    channels == 3
                        ? static_cast<int>(SeedPixel(x / 3, y, kSide, kSide) >> (8 * (2 - x % 3))) & 0xFF
                        : (x + y) % levels;
                const int bit = x * bitDepth;
                row[bit / 8] |= static_cast<png_byte>(value << (8 - bitDepth - bit % 8));
            }
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return {name, std::move(bytes)};
}

} // namespace

std::vector<TSeed> PngSeeds() {
    std::vector<TSeed> seeds;
    seeds.push_back(Simple("grey.png", PNG_FORMAT_GRAY));
    seeds.push_back(Simple("grey-alpha.png", PNG_FORMAT_GA));
    seeds.push_back(Simple("rgb.png", PNG_FORMAT_RGB));
    seeds.push_back(Simple("rgba.png", PNG_FORMAT_RGBA));
    seeds.push_back(Simple("rgba16.png", PNG_FORMAT_LINEAR_RGB_ALPHA));
    seeds.push_back(Simple("palette.png", PNG_FORMAT_RGB_COLORMAP, true));
    seeds.push_back(Simple("palette-alpha.png", PNG_FORMAT_RGBA_COLORMAP, true));
    seeds.push_back(Detailed("grey1-transparent.png", PNG_COLOR_TYPE_GRAY, 1, false));
    seeds.push_back(Detailed("palette2-interlaced.png", PNG_COLOR_TYPE_PALETTE, 2, true));
    seeds.push_back(Detailed("palette4.png", PNG_COLOR_TYPE_PALETTE, 4, false));
    seeds.push_back(Detailed("rgb-interlaced.png", PNG_COLOR_TYPE_RGB, 8, true));
    return seeds;
}
