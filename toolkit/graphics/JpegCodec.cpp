#include "toolkit/graphics/JpegCodec.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// jpeglib.h needs FILE and size_t declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace {

// Even progressive files with long end-of-band runs carry far less than this many pixels per
// byte; a header claiming more describes a picture its data cannot hold.
constexpr std::uint64_t kMaxPixelsPerByte = 1024;
// Legal files have a handful of scans; thousands of tiny ones only make decoding slow.
constexpr int kMaxScans = 500;

struct TErrorManager {
    jpeg_error_mgr Base;
    jpeg_progress_mgr Progress;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX] = {};
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<TErrorManager*>(info->err);
    info->err->format_message(info, manager->Message);
    std::longjmp(manager->Jump, 1);
}

// Warnings are ignored except the one that says the data ended early: a picture with a grey
// bottom is not what the file's author made, so it is a failure.
void EmitMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
        ErrorExit(info);
    }
}

void OutputMessage(j_common_ptr) {}

void ProgressMonitor(j_common_ptr info) {
    if (info->is_decompressor) {
        auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
        if (decompress->input_scan_number > kMaxScans) {
            auto* manager = reinterpret_cast<TErrorManager*>(info->err);
            std::snprintf(manager->Message, sizeof manager->Message, "JPEG with more than %d scans",
                          kMaxScans);
            std::longjmp(manager->Jump, 1);
        }
    }
}

std::uint8_t Mul255(unsigned a, unsigned b) {
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

// Runs libjpeg. Every C++ object it touches is created by the caller, so a jump back from an
// error skips no destructor. Returns an empty string on success, else what went wrong.
std::string Decode(jpeg_decompress_struct& info, TErrorManager& errors, std::span<const std::byte> data,
                   TPixelBuffer& pixels, std::vector<std::uint8_t>& cmykRow) {
    if (setjmp(errors.Jump)) {
        return errors.Message;
    }
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()),
                 static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        return "JPEG without an image";
    }
    const std::uint64_t width = info.image_width;
    const std::uint64_t height = info.image_height;
    if (width == 0 || height == 0) {
        return "JPEG with no pixels";
    }
    if (width > TPixelBuffer::kMaxSide || height > TPixelBuffer::kMaxSide ||
        width * height > static_cast<std::uint64_t>(TPixelBuffer::kMaxPixels)) {
        return "refusing a JPEG of " + std::to_string(width) + " × " + std::to_string(height) +
               " pixels: larger than any picture this program draws";
    }
    if (width * height > data.size() * kMaxPixelsPerByte) {
        return "refusing a JPEG of " + std::to_string(width) + " × " + std::to_string(height) +
               " pixels in " + std::to_string(data.size()) + " bytes";
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    pixels.Reset(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (cmyk) {
        cmykRow.resize(static_cast<std::size_t>(info.output_width) * 4);
    }
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        std::uint32_t* row = pixels.Row(y);
        JSAMPROW target = cmyk ? cmykRow.data() : reinterpret_cast<JSAMPROW>(row);
        if (jpeg_read_scanlines(&info, &target, 1) != 1) {
            return "JPEG data ended early";
        }
        for (int x = 0; x < pixels.Width(); ++x) {
            if (!cmyk) {
                // Bytes B, G, R, X read as one little-endian word are 0xXXRRGGBB.
                row[x] &= 0xFFFFFF;
                continue;
            }
            const std::uint8_t* ink = cmykRow.data() + static_cast<std::size_t>(x) * 4;
            // Adobe writes CMYK inverted (255 is no ink), which is what libjpeg hands over.
            unsigned c = info.saw_Adobe_marker ? ink[0] : 255u - ink[0];
            unsigned m = info.saw_Adobe_marker ? ink[1] : 255u - ink[1];
            unsigned yellow = info.saw_Adobe_marker ? ink[2] : 255u - ink[2];
            unsigned k = info.saw_Adobe_marker ? ink[3] : 255u - ink[3];
            row[x] = (static_cast<std::uint32_t>(Mul255(c, k)) << 16) |
                     (static_cast<std::uint32_t>(Mul255(m, k)) << 8) | Mul255(yellow, k);
        }
    }
    jpeg_finish_decompress(&info);
    return {};
}

} // namespace

TStatus DecodeJpeg(std::span<const std::byte> data, TPixelBuffer& out) {
    if (data.size() < 4 || std::to_integer<unsigned>(data[0]) != 0xFF ||
        std::to_integer<unsigned>(data[1]) != 0xD8) {
        return TStatus::Fail("not a JPEG file: it does not start with a start-of-image marker");
    }
    if (data.size() > 0x7FFFFFFFu) {
        return TStatus::Fail("refusing JPEG data of more than 2 GiB");
    }
    jpeg_decompress_struct info{};
    TErrorManager errors;
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = ErrorExit;
    errors.Base.emit_message = EmitMessage;
    errors.Base.output_message = OutputMessage;
    TPixelBuffer pixels;
    std::vector<std::uint8_t> cmykRow;
    std::string failure;
    if (setjmp(errors.Jump)) {
        failure = errors.Message;
    } else {
        jpeg_create_decompress(&info);
        errors.Progress.progress_monitor = ProgressMonitor;
        info.progress = &errors.Progress;
        failure = Decode(info, errors, data, pixels, cmykRow);
    }
    jpeg_destroy_decompress(&info);
    if (!failure.empty()) {
        return TStatus::Fail("invalid JPEG: " + failure);
    }
    out = std::move(pixels);
    return TStatus::Ok();
}
