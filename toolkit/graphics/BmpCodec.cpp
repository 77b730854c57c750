#include "toolkit/graphics/BmpCodec.h"

#include <SDL.h>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr std::size_t kFileHeaderSize = 14;

// BMP compression methods.
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// A run-length code describes at most 255 pixels in two bytes; anything claiming more pixels
// per byte of data than this relies on skipping, which no real picture of ours does.
constexpr std::uint64_t kRlePixelsPerByte = 128;

std::uint16_t U16(std::span<const std::byte> d, std::size_t at) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(d[at]) |
                                      (std::to_integer<unsigned>(d[at + 1]) << 8));
}

std::uint32_t U32(std::span<const std::byte> d, std::size_t at) {
    return static_cast<std::uint32_t>(U16(d, at)) | (static_cast<std::uint32_t>(U16(d, at + 2)) << 16);
}

std::string Num(std::uint64_t v) {
    return std::to_string(v);
}

// Checks what SDL will read against the input. Succeeds only when every part the headers
// point at lies inside data and the image size is one the data can carry.
TStatus ValidateBmp(std::span<const std::byte> data) {
    const std::uint64_t size = data.size();
    if (size < kFileHeaderSize + 12) {
        return TStatus::Fail("not a BMP file: " + Num(size) + " bytes is too short for its headers");
    }
    if (std::to_integer<char>(data[0]) != 'B' || std::to_integer<char>(data[1]) != 'M') {
        return TStatus::Fail("not a BMP file: it does not start with \"BM\"");
    }
    const std::uint64_t pixelOffset = U32(data, 10);
    const std::uint64_t headerSize = U32(data, 14);
    const bool core = headerSize == 12;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
        headerSize != 124) {
        return TStatus::Fail("unsupported BMP header of " + Num(headerSize) + " bytes");
    }
    if (kFileHeaderSize + headerSize > size) {
        return TStatus::Fail("truncated BMP: the " + Num(headerSize) + "-byte header needs " +
                             Num(kFileHeaderSize + headerSize) + " bytes, the data has " + Num(size));
    }
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = kRgb;
    std::uint64_t coloursUsed = 0;
    if (core) {
        width = U16(data, 18);
        height = U16(data, 20);
        bitsPerPixel = U16(data, 24);
    } else {
        width = static_cast<std::int32_t>(U32(data, 18));
        height = static_cast<std::int32_t>(U32(data, 22));
        bitsPerPixel = U16(data, 28);
        compression = U32(data, 30);
        coloursUsed = U32(data, 46);
    }
    const std::int64_t rows = height < 0 ? -height : height;
    if (width <= 0 || rows == 0) {
        return TStatus::Fail("BMP with no pixels: " + std::to_string(width) + " × " + std::to_string(height));
    }
    if (width > TPixelBuffer::kMaxSide || rows > TPixelBuffer::kMaxSide ||
        static_cast<std::uint64_t>(width) * rows > static_cast<std::uint64_t>(TPixelBuffer::kMaxPixels)) {
        return TStatus::Fail("refusing a BMP of " + Num(width) + " × " + Num(rows) +
                             " pixels: larger than any picture this program draws");
    }
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 16 &&
        bitsPerPixel != 24 && bitsPerPixel != 32) {
        return TStatus::Fail("unsupported BMP colour depth of " + Num(bitsPerPixel) + " bits per pixel");
    }
    const bool rle = compression == kRle8 || compression == kRle4;
    if ((compression == kRle8 && bitsPerPixel != 8) || (compression == kRle4 && bitsPerPixel != 4) ||
        ((compression == kBitFields || compression == kAlphaBitFields) && bitsPerPixel != 16 &&
         bitsPerPixel != 32) ||
        (compression != kRgb && !rle && compression != kBitFields && compression != kAlphaBitFields)) {
        return TStatus::Fail("unsupported BMP compression " + Num(compression) + " at " + Num(bitsPerPixel) +
                             " bits per pixel");
    }
    if (rle && height < 0) {
        return TStatus::Fail("invalid BMP: run-length coded rows cannot be top-down");
    }
    std::uint64_t tablesStart = kFileHeaderSize + headerSize;
    if (headerSize == 40 && compression == kBitFields) {
        tablesStart += 12;
    } else if (headerSize == 40 && compression == kAlphaBitFields) {
        tablesStart += 16;
    }
    if (tablesStart > size) {
        return TStatus::Fail("truncated BMP: the colour masks end at byte " + Num(tablesStart) + " of " +
                             Num(size));
    }
    if (bitsPerPixel <= 8) {
        const std::uint64_t maxColours = std::uint64_t{1} << bitsPerPixel;
        if (coloursUsed > maxColours) {
            return TStatus::Fail("invalid BMP: a palette of " + Num(coloursUsed) + " colours at " +
                                 Num(bitsPerPixel) + " bits per pixel");
        }
        const std::uint64_t entries = coloursUsed ? coloursUsed : maxColours;
        const std::uint64_t paletteEnd = tablesStart + entries * (core ? 3 : 4);
        if (paletteEnd > size) {
            return TStatus::Fail("truncated BMP: the palette of " + Num(entries) + " colours ends at byte " +
                                 Num(paletteEnd) + " of " + Num(size));
        }
    }
    if (pixelOffset >= size) {
        return TStatus::Fail("truncated BMP: the pixel data starts at byte " + Num(pixelOffset) + " of " +
                             Num(size));
    }
    const std::uint64_t available = size - pixelOffset;
    if (rle) {
        if (static_cast<std::uint64_t>(width) * rows > available * kRlePixelsPerByte) {
            return TStatus::Fail("refusing a run-length coded BMP of " + Num(width) + " × " + Num(rows) +
                                 " pixels in " + Num(available) + " bytes of data");
        }
    } else {
        const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
        const std::uint64_t needed = stride * rows;
        if (needed > available) {
            return TStatus::Fail("truncated BMP: " + Num(width) + " × " + Num(rows) + " pixels need " +
                                 Num(needed) + " bytes of pixel data from byte " + Num(pixelOffset) +
                                 ", the data has " + Num(available));
        }
    }
    return TStatus::Ok();
}

struct TSurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using TSurfacePtr = std::unique_ptr<SDL_Surface, TSurfaceDeleter>;

// An SDL stream that appends to a byte vector, so the writer needs no size guessed up front.
struct TVectorStream {
    std::vector<std::byte>* Bytes = nullptr;
    std::size_t Position = 0;
};

TVectorStream& StreamOf(SDL_RWops* rw) {
    return *static_cast<TVectorStream*>(rw->hidden.unknown.data1);
}

Sint64 StreamSize(SDL_RWops* rw) {
    return static_cast<Sint64>(StreamOf(rw).Bytes->size());
}

Sint64 StreamSeek(SDL_RWops* rw, Sint64 offset, int whence) {
    TVectorStream& s = StreamOf(rw);
    Sint64 base = whence == RW_SEEK_SET   ? 0
                  : whence == RW_SEEK_CUR ? static_cast<Sint64>(s.Position)
                                          : static_cast<Sint64>(s.Bytes->size());
    Sint64 target = base + offset;
    if (target < 0) {
        return SDL_SetError("seek before the start of the stream");
    }
    s.Position = static_cast<std::size_t>(target);
    return target;
}

size_t StreamRead(SDL_RWops*, void*, size_t, size_t) {
    return 0;
}

size_t StreamWrite(SDL_RWops* rw, const void* from, size_t size, size_t count) {
    TVectorStream& s = StreamOf(rw);
    std::size_t bytes = size * count;
    if (s.Position + bytes > s.Bytes->size()) {
        s.Bytes->resize(s.Position + bytes);
    }
    std::memcpy(s.Bytes->data() + s.Position, from, bytes);
    s.Position += bytes;
    return count;
}

int StreamClose(SDL_RWops* rw) {
    SDL_FreeRW(rw);
    return 0;
}

} // namespace

TStatus DecodeBmp(std::span<const std::byte> data, TPixelBuffer& out) {
    if (TStatus valid = ValidateBmp(data); !valid) {
        return valid;
    }
    if (data.size() > static_cast<std::size_t>(INT32_MAX)) {
        return TStatus::Fail("refusing BMP data of more than 2 GiB");
    }
    SDL_RWops* rw = SDL_RWFromConstMem(data.data(), static_cast<int>(data.size()));
    if (!rw) {
        return TStatus::Fail(std::string("cannot read the BMP data: ") + SDL_GetError());
    }
    TSurfacePtr loaded(SDL_LoadBMP_RW(rw, 1));
    if (!loaded) {
        return TStatus::Fail(std::string("invalid BMP: ") + SDL_GetError());
    }
    TSurfacePtr converted(SDL_ConvertSurfaceFormat(loaded.get(), SDL_PIXELFORMAT_RGB888, 0));
    if (!converted) {
        return TStatus::Fail(std::string("cannot convert the BMP's pixels: ") + SDL_GetError());
    }
    TPixelBuffer pixels(converted->w, converted->h);
    if (pixels.Width() != converted->w || pixels.Height() != converted->h) {
        return TStatus::Fail("the BMP is larger than this program draws");
    }
    if (SDL_MUSTLOCK(converted.get())) {
        SDL_LockSurface(converted.get());
    }
    const auto* base = static_cast<const std::uint8_t*>(converted->pixels);
    for (int y = 0; y < pixels.Height(); ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(base + static_cast<std::size_t>(y) * converted->pitch);
        std::uint32_t* target = pixels.Row(y);
        for (int x = 0; x < pixels.Width(); ++x) {
            target[x] = row[x] & 0xFFFFFF;
        }
    }
    if (SDL_MUSTLOCK(converted.get())) {
        SDL_UnlockSurface(converted.get());
    }
    out = std::move(pixels);
    return TStatus::Ok();
}

TStatus EncodeBmp(const TPixelBuffer& pixels, std::vector<std::byte>& out) {
    if (pixels.Empty()) {
        return TStatus::Fail("an empty bitmap has no BMP form");
    }
    // SDL only reads from the pixels while saving; the cast does not lead to writes.
    TSurfacePtr surface(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels.Row(0)),
                                                           pixels.Width(), pixels.Height(), 32,
                                                           pixels.Width() * 4, SDL_PIXELFORMAT_RGB888));
    if (!surface) {
        return TStatus::Fail(std::string("cannot prepare the BMP: ") + SDL_GetError());
    }
    std::vector<std::byte> bytes;
    TVectorStream stream{&bytes, 0};
    SDL_RWops* rw = SDL_AllocRW();
    if (!rw) {
        return TStatus::Fail(std::string("cannot write the BMP: ") + SDL_GetError());
    }
    rw->size = StreamSize;
    rw->seek = StreamSeek;
    rw->read = StreamRead;
    rw->write = StreamWrite;
    rw->close = StreamClose;
    rw->type = SDL_RWOPS_UNKNOWN;
    rw->hidden.unknown.data1 = &stream;
    if (SDL_SaveBMP_RW(surface.get(), rw, 1) != 0) {
        return TStatus::Fail(std::string("cannot write the BMP: ") + SDL_GetError());
    }
    out = std::move(bytes);
    return TStatus::Ok();
}
