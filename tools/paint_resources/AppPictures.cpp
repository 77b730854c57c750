#include "tools/paint_resources/AppPictures.h"

#include "tools/paint_resources/MainIcon.h"
#include "tools/paint_resources/ResourceFiles.h"
#include "tools/paint_resources/ResourceTable.h"

#include <SDL.h>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <jpeglib.h>
#include <png.h>

namespace {

constexpr int kTitleButtonSize = 17;
constexpr int kControlBoxSize = 16;
constexpr int kLogoSize = 73;
constexpr int kLogoQuality = 95;
// The sizes of the icon a desktop's application menu and launchers ask for.
constexpr int kDesktopIconSizes[] = {16, 32, 48, 64, 128, 256};

// Frame index (from 0) of count equal frames of a painted strip.
TImage Frame(const TImage& strip, int count, int index) {
    const int width = strip.Width() / count;
    TImage frame(width, strip.Height(), strip.Backdrop());
    frame.Draw(strip, -index * width, 0);
    return frame;
}

// One state of a title-bar button as the MacOS look paints it: the very frame of its strip.
TAppPictureFile TitleButtonFile(const char* name, TTitleSymbol symbol, TFaceState state) {
    return {std::string(name) + ".bmp", [symbol, state](std::string& error) {
                const TImage strip = PaintBitmapResource(*FindBitmapResource("MACOS_TITLEBTN"));
                const int index = static_cast<int>(symbol) * 3 + static_cast<int>(state);
                return EncodeBmp(Frame(strip, 18, index), error);
            }};
}

std::vector<TAppPictureFile> BuildFiles() {
    std::vector<TAppPictureFile> files;
    files.push_back(TitleButtonFile("TITLE_CLOSE_NORMAL", TTitleSymbol::Close, TFaceState::Normal));
    files.push_back(TitleButtonFile("TITLE_CLOSE_MOUSEON", TTitleSymbol::Close, TFaceState::Hot));
    files.push_back(TitleButtonFile("TITLE_CLOSE_MOUSEDOWN", TTitleSymbol::Close, TFaceState::Down));
    files.push_back(TitleButtonFile("TITLE_MIN_NORMAL", TTitleSymbol::Minimise, TFaceState::Normal));
    files.push_back(TitleButtonFile("TITLE_MIN_MOUSEON", TTitleSymbol::Minimise, TFaceState::Hot));
    files.push_back(TitleButtonFile("TITLE_MIN_MOUSEDOWN", TTitleSymbol::Minimise, TFaceState::Down));
    files.push_back({"TITLE_CONTROLBOX.ico", [](std::string&) {
                         return EncodeIco(
                             {MacOSTitleDrop(TTitleSymbol::Menu, TFaceState::Normal, kControlBoxSize, 6.2)});
                     }});
    files.push_back({"ABOUT_LOGO.jpg",
                     [](std::string& error) { return EncodeJpeg(PaintAboutLogo(), kLogoQuality, error); }});
    for (const int size : kDesktopIconSizes) {
        files.push_back({"icons/varnel-" + std::to_string(size) + ".png", [size](std::string& error) {
                             return EncodePngWithAlpha(PaintMainIcon(size), error);
                         }});
    }
    return files;
}

} // namespace

const std::vector<TAppPictureFile>& AppPictureFiles() {
    static const std::vector<TAppPictureFile> files = BuildFiles();
    return files;
}

TImage PaintAboutLogo() {
    // The window's background pattern, tiled from the logo's corner: the logo sits at a multiple
    // of the pattern's size in its window, so the stripes run on without a seam.
    const TImage pattern = PaintBitmapResource(*FindBitmapResource("MACOS_FORM_BACKGROUND"));
    TImage logo(kLogoSize, kLogoSize, pattern.Backdrop());
    for (int y = 0; y < kLogoSize; ++y) {
        for (int x = 0; x < kLogoSize; ++x) {
            const std::uint32_t p = pattern.Pixel(x % pattern.Width(), y % pattern.Height());
            logo.SetPixel(x, y, Hex(p));
        }
    }
    const int tile = 64;
    const double x0 = (kLogoSize - tile) / 2;
    const double y0 = 2;
    // A soft shadow: three widening rims of falling strength below the tile.
    for (int i = 3; i >= 1; --i) {
        const double grow = i * 1.2;
        logo.Fill(RoundRectShape(x0 - grow + 1, y0 + 2.5 - grow + 1, x0 + tile + grow - 1,
                                 y0 + tile + 2.5 + grow - 1, 12 + grow),
                  Hex(0x000000), 0.07);
    }
    logo.Draw(PaintMainIcon(tile), static_cast<int>(x0), static_cast<int>(y0));
    return logo;
}

std::vector<std::uint8_t> EncodeBmp(const TImage& image, std::string& error) {
    const int pitch = (image.Width() * 3 + 3) / 4 * 4;
    // Room for the largest header SDL writes as well as the rows.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(pitch) * image.Height() + 256);
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, image.Width(), image.Height(), 24, SDL_PIXELFORMAT_RGB24);
    if (surface == nullptr) {
        error = std::string("cannot make a surface: ") + SDL_GetError();
        return {};
    }
    auto* pixels = static_cast<std::uint8_t*>(surface->pixels);
    for (int y = 0; y < image.Height(); ++y) {
        std::uint8_t* row = pixels + static_cast<std::ptrdiff_t>(y) * surface->pitch;
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t pixel = image.Pixel(x, y);
            row[3 * x + 0] = static_cast<std::uint8_t>(pixel >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(pixel >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(pixel);
        }
    }
    SDL_RWops* out = SDL_RWFromMem(bytes.data(), static_cast<int>(bytes.size()));
    const bool saved = out != nullptr && SDL_SaveBMP_RW(surface, out, 0) == 0;
    const Sint64 size = saved ? SDL_RWtell(out) : -1;
    if (out != nullptr) {
        SDL_RWclose(out);
    }
    SDL_FreeSurface(surface);
    if (size <= 0) {
        error = std::string("cannot write a BMP file: ") + SDL_GetError();
        return {};
    }
    bytes.resize(static_cast<std::size_t>(size));
    return bytes;
}

namespace {

struct TJpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegFailed(j_common_ptr info) {
    auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

} // namespace

std::vector<std::uint8_t> EncodeJpeg(const TImage& image, int quality, std::string& error) {
    jpeg_compress_struct info{};
    TJpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = &JpegFailed;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.Width()) * 3);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        error = std::string("cannot write a JPEG file: ") + errors.message;
        return {};
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(image.Width());
    info.image_height = static_cast<JDIMENSION>(image.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // The exact integer transform, the same on every machine and with or without SIMD.
    info.dct_method = JDCT_ISLOW;
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t p = image.Pixel(x, y);
            row[3 * x] = static_cast<std::uint8_t>(p >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(p);
        }
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

std::vector<std::uint8_t> EncodePngWithAlpha(const TImage& image, std::string& error) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr) {
        png_destroy_write_struct(&png, &info);
        error = "cannot start the PNG writer";
        return {};
    }
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(image.Width()) * 4);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "PNG writing failed";
        return {};
    }
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, png_size_t length) {
            auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
            out->insert(out->end(), data, data + length);
        },
        nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width()), static_cast<png_uint_32>(image.Height()),
                 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const std::uint32_t argb = image.PixelWithAlpha(x, y);
            row[4 * x] = static_cast<std::uint8_t>(argb >> 16);
            row[4 * x + 1] = static_cast<std::uint8_t>(argb >> 8);
            row[4 * x + 2] = static_cast<std::uint8_t>(argb);
            row[4 * x + 3] = static_cast<std::uint8_t>(argb >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

bool WriteAppPictures(const std::filesystem::path& outDir, std::string& error) {
    for (const TAppPictureFile& file : AppPictureFiles()) {
        const std::filesystem::path path = outDir / file.path;
        std::string why;
        const std::vector<std::uint8_t> bytes = file.encode(why);
        if (bytes.empty()) {
            error = path.string() + ": " + why;
            return false;
        }
        std::error_code ec;
        std::filesystem::create_directories(path.parent_path(), ec);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            error = path.string() + ": cannot write";
            return false;
        }
    }
    return true;
}
