#include "tools/paint_resources/ResourceFiles.h"

#include "tools/paint_resources/AppPictures.h"
#include "tools/paint_resources/MainIcon.h"
#include "tools/paint_resources/ResourceTable.h"

#include <SDL.h>
#include <fstream>

bool SaveBmp(const TImage& image, const std::filesystem::path& path, std::string& error) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, image.Width(), image.Height(), 24, SDL_PIXELFORMAT_RGB24);
    if (surface == nullptr) {
        error = path.string() + ": cannot make a surface: " + SDL_GetError();
        return false;
    }
    auto* bytes = static_cast<std::uint8_t*>(surface->pixels);
    for (int y = 0; y < image.Height(); ++y) {
        std::uint8_t* row = bytes + static_cast<std::ptrdiff_t>(y) * surface->pitch;
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t pixel = image.Pixel(x, y);
            row[3 * x + 0] = static_cast<std::uint8_t>(pixel >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(pixel);
        }
    }
    const bool saved = SDL_SaveBMP(surface, path.string().c_str()) == 0;
    if (!saved) {
        error = path.string() + ": cannot write: " + SDL_GetError();
    }
    SDL_FreeSurface(surface);
    return saved;
}

namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

std::uint32_t MaskStride(int width) {
    return static_cast<std::uint32_t>((width + 31) / 32 * 4);
}

std::uint32_t ImageBytes(const TImage& img) {
    const auto w = static_cast<std::uint32_t>(img.Width());
    const auto h = static_cast<std::uint32_t>(img.Height());
    return 40 + w * h * 4 + MaskStride(img.Width()) * h;
}

} // namespace

std::vector<std::uint8_t> EncodeIco(const std::vector<TImage>& images) {
    std::vector<std::uint8_t> out;
    Put16(out, 0); // reserved
    Put16(out, 1); // an icon, not a cursor
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (const TImage& img : images) {
        out.push_back(static_cast<std::uint8_t>(img.Width()));
        out.push_back(static_cast<std::uint8_t>(img.Height()));
        out.push_back(0); // no palette
        out.push_back(0);
        Put16(out, 1);  // planes
        Put16(out, 32); // bits per pixel
        Put32(out, ImageBytes(img));
        Put32(out, offset);
        offset += ImageBytes(img);
    }
    for (const TImage& img : images) {
        const int w = img.Width();
        const int h = img.Height();
        Put32(out, 40);
        Put32(out, static_cast<std::uint32_t>(w));
        Put32(out, static_cast<std::uint32_t>(2 * h)); // colour rows and mask rows together
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, 0); // uncompressed
        Put32(out, ImageBytes(img) - 40);
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, 0);
        Put32(out, 0);
        // Rows run bottom-up in both the colour and the mask part.
        for (int y = h - 1; y >= 0; --y) {
            for (int x = 0; x < w; ++x) {
                const std::uint32_t argb = img.PixelWithAlpha(x, y);
                out.push_back(static_cast<std::uint8_t>(argb));
                out.push_back(static_cast<std::uint8_t>(argb >> 8));
                out.push_back(static_cast<std::uint8_t>(argb >> 16));
                out.push_back(static_cast<std::uint8_t>(argb >> 24));
            }
        }
        for (int y = h - 1; y >= 0; --y) {
            std::vector<std::uint8_t> row(MaskStride(w), 0);
            for (int x = 0; x < w; ++x) {
                if ((img.PixelWithAlpha(x, y) >> 24) == 0) {
                    row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                }
            }
            out.insert(out.end(), row.begin(), row.end());
        }
    }
    return out;
}

bool WriteAllResources(const std::filesystem::path& outDir, std::string& error) {
    for (const TResourceEntry& entry : BitmapResources()) {
        const std::filesystem::path path = outDir / (entry.name + ".bmp");
        const TImage image = PaintBitmapResource(entry);
        if (image.Width() != entry.width || image.Height() != entry.height) {
            error = path.string() + ": painted " + std::to_string(image.Width()) + " x " +
                    std::to_string(image.Height()) + ", but the table says " + std::to_string(entry.width) +
                    " x " + std::to_string(entry.height);
            return false;
        }
        if (!SaveBmp(image, path, error)) {
            return false;
        }
    }
    const std::vector<std::uint8_t> ico = EncodeIco({PaintMainIcon(16), PaintMainIcon(32)});
    const std::filesystem::path iconPath = outDir / (std::string(kMainIconName) + ".ico");
    std::ofstream file(iconPath, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(ico.data()), static_cast<std::streamsize>(ico.size()));
    file.close();
    if (!file) {
        error = iconPath.string() + ": cannot write";
        return false;
    }
    return WriteAppPictures(outDir, error);
}
