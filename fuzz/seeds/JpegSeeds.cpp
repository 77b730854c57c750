// JPEG seeds, through libjpeg's compressor: baseline and progressive, grey, colour at several
// samplings, CMYK and YCCK, restart markers, optimised and arithmetic coding, and a comment.

#include "fuzz/seeds/Seeds.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace {

struct TJpegKind {
    const char* Name;
    J_COLOR_SPACE Input = JCS_RGB;
    J_COLOR_SPACE Stored = JCS_YCbCr;
    int LumaSampling = 1; // horizontal and vertical factor of the first component
    bool Progressive = false;
    bool Optimised = false;
    bool Arithmetic = false;
    unsigned RestartRows = 0;
    bool Comment = false;
    int Width = 16;
    int Height = 16;
};

struct TJpegErrors {
    jpeg_error_mgr Base;
    std::jmp_buf Jump;
};

[[noreturn]] void JumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TJpegErrors*>(info->err)->Jump, 1);
}

int Components(J_COLOR_SPACE space) {
    return space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
}

std::vector<JSAMPLE> Samples(const TJpegKind& kind) {
    const int components = Components(kind.Input);
    std::vector<JSAMPLE> samples;
    for (int y = 0; y < kind.Height; ++y) {
        for (int x = 0; x < kind.Width; ++x) {
            const std::uint32_t rgb = SeedPixel(x, y, kind.Width, kind.Height);
            const JSAMPLE r = static_cast<JSAMPLE>(rgb >> 16);
            const JSAMPLE g = static_cast<JSAMPLE>(rgb >> 8);
            const JSAMPLE b = static_cast<JSAMPLE>(rgb);
            if (components == 1) {
                samples.push_back(g);
            } else if (components == 3) {
                samples.insert(samples.end(), {r, g, b});
            } else {
                // Inverted, as Adobe stores CMYK: 255 is no ink.
                samples.insert(samples.end(), {r, g, b, static_cast<JSAMPLE>(255 - 8 * x)});
            }
        }
    }
    return samples;
}

TSeed Jpeg(const TJpegKind& kind) {
    std::vector<JSAMPLE> samples = Samples(kind);
    jpeg_compress_struct info{};
    TJpegErrors errors;
    info.err = jpeg_std_error(&errors.Base);
    errors.Base.error_exit = JumpOut;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<std::byte> bytes;
    if (!setjmp(errors.Jump)) {
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &buffer, &size);
        info.image_width = static_cast<JDIMENSION>(kind.Width);
        info.image_height = static_cast<JDIMENSION>(kind.Height);
        info.input_components = Components(kind.Input);
        info.in_color_space = kind.Input;
        jpeg_set_defaults(&info);
        jpeg_set_colorspace(&info, kind.Stored);
        jpeg_set_quality(&info, 60, TRUE);
        info.comp_info[0].h_samp_factor = kind.LumaSampling;
        info.comp_info[0].v_samp_factor = kind.LumaSampling;
        info.optimize_coding = kind.Optimised ? TRUE : FALSE;
        info.arith_code = kind.Arithmetic ? TRUE : FALSE;
        info.restart_in_rows = static_cast<int>(kind.RestartRows);
        if (kind.Progressive) {
            jpeg_simple_progression(&info);
        }
        jpeg_start_compress(&info, TRUE);
        if (kind.Comment) {
            const char text[] = "made for the fuzzer";
            jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(text), sizeof text - 1);
        }
        const std::size_t stride = static_cast<std::size_t>(kind.Width) * info.input_components;
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = samples.data() + info.next_scanline * stride;
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        const auto* from = reinterpret_cast<const std::byte*>(buffer);
        bytes.assign(from, from + size);
    }
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return {kind.Name, std::move(bytes)};
}

} // namespace

std::vector<TSeed> JpegSeeds() {
    const TJpegKind kinds[] = {
        {.Name = "baseline-444.jpg"},
        {.Name = "baseline-420-odd-size.jpg", .LumaSampling = 2, .Width = 13, .Height = 9},
        {.Name = "grey-restarts.jpg", .Input = JCS_GRAYSCALE, .Stored = JCS_GRAYSCALE, .RestartRows = 1},
        {.Name = "progressive-420.jpg", .LumaSampling = 2, .Progressive = true},
        {.Name = "progressive-grey.jpg",
         .Input = JCS_GRAYSCALE,
         .Stored = JCS_GRAYSCALE,
         .Progressive = true},
        {.Name = "optimised-comment.jpg", .Optimised = true, .Comment = true},
        {.Name = "arithmetic-restarts.jpg", .Arithmetic = true, .RestartRows = 1},
        {.Name = "arithmetic-progressive.jpg", .Progressive = true, .Arithmetic = true},
        {.Name = "rgb-stored.jpg", .Stored = JCS_RGB},
        {.Name = "adobe-cmyk.jpg", .Input = JCS_CMYK, .Stored = JCS_CMYK},
        {.Name = "ycck-progressive.jpg", .Input = JCS_CMYK, .Stored = JCS_YCCK, .Progressive = true},
    };
    std::vector<TSeed> seeds;
    for (const TJpegKind& kind : kinds) {
        seeds.push_back(Jpeg(kind));
    }
    return seeds;
}
