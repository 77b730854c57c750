#include "tools/paint_resources/Pixmap.h"

#include "tools/paint_resources/PixelFont.h"

#include <algorithm>

TPixmap FromImage(const TImage& img) {
    TPixmap p(img.Width(), img.Height(), 0);
    for (int y = 0; y < p.h; ++y) {
        for (int x = 0; x < p.w; ++x) {
            p.Set(x, y, img.Pixel(x, y));
        }
    }
    return p;
}

void FillRect(TPixmap& dst, int x0, int y0, int x1, int y1, std::uint32_t c) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            dst.Set(x, y, c);
        }
    }
}

void FrameRect(TPixmap& dst, int x0, int y0, int x1, int y1, std::uint32_t c) {
    FillRect(dst, x0, y0, x1, y0 + 1, c);
    FillRect(dst, x0, y1 - 1, x1, y1, c);
    FillRect(dst, x0, y0, x0 + 1, y1, c);
    FillRect(dst, x1 - 1, y0, x1, y1, c);
}

// Nearest-neighbour stretch of a source rectangle; keyed leaves magenta pixels out.
void StretchDraw(TPixmap& dst, const TPixmap& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                 int dh, bool keyed) {
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) {
        return;
    }
    for (int j = 0; j < dh; ++j) {
        for (int i = 0; i < dw; ++i) {
            const std::uint32_t c = src.At(sx + i * sw / dw, sy + j * sh / dh);
            if (!(keyed && c == kKeyPixel)) {
                dst.Set(dx + i, dy + j, c);
            }
        }
    }
}

void Draw(TPixmap& dst, const TPixmap& src, int x, int y, bool keyed) {
    StretchDraw(dst, src, 0, 0, src.w, src.h, x, y, src.w, src.h, keyed);
}

TPixmap Slice(const TPixmap& src, int count, int index) {
    const int fw = src.w / count;
    TPixmap out(fw, src.h, 0);
    StretchDraw(out, src, fw * (index - 1), 0, fw, src.h, 0, 0, fw, src.h, false);
    return out;
}

TPixmap RotateClockwise(const TPixmap& src) {
    TPixmap out(src.h, src.w, 0);
    for (int i = 0; i < src.h; ++i) {
        for (int j = 0; j < src.w; ++j) {
            out.Set(i, j, src.At(j, src.h - 1 - i));
        }
    }
    return out;
}

TPixmap RotateAnticlockwise(const TPixmap& src) {
    TPixmap out(src.h, src.w, 0);
    for (int y = 0; y < src.h; ++y) {
        for (int x = 0; x < src.w; ++x) {
            out.Set(y, src.w - 1 - x, src.At(x, y));
        }
    }
    return out;
}

TPixmap Scaled(const TPixmap& src, int k) {
    TPixmap out(src.w * k, src.h * k, 0);
    StretchDraw(out, src, 0, 0, src.w, src.h, 0, 0, out.w, out.h, false);
    return out;
}

void DrawText(TPixmap& dst, int x, int y, const std::string& text, std::uint32_t c, int scale) {
    for (std::size_t n = 0; n < text.size(); ++n) {
        const auto rows = PixelGlyph(text[n]);
        const int gx = x + static_cast<int>(n) * kPixelGlyphAdvance * scale;
        for (int r = 0; r < kPixelGlyphHeight; ++r) {
            for (int col = 0; col < kPixelGlyphWidth; ++col) {
                if (rows[r] & (0x10 >> col)) {
                    FillRect(dst, gx + col * scale, y + r * scale, gx + (col + 1) * scale,
                             y + (r + 1) * scale, c);
                }
            }
        }
    }
}

// The skin's nine-part drawing of a button face into (x, y, w, h): corners unscaled, edges and
// centre stretched from the middle column and rows, with its asymmetric offsets.
void DrawKeepCorners(TPixmap& dst, const TPixmap& src, int x, int y, int w, int h, bool transparent) {
    const int W = src.w;
    const int H = src.h;
    const int hw = W / 2;
    const int hh = H / 2;
    const int dw2 = w / 2;
    const int dh2 = h / 2;
    struct TR {
        int l, t, r, b;
    };
    const auto corner = [&](int srcW, int srcH, int quarterW, int quarterH, bool right, bool bottom) {
        const int cw = std::max(0, std::min(srcW, quarterW));
        const int ch = std::max(0, std::min(srcH, quarterH));
        const int sx = right ? W - cw : 0;
        const int sy = bottom ? H - ch : 0;
        const int dx = right ? w - cw : 0;
        const int dy = bottom ? h - ch : 0;
        StretchDraw(dst, src, sx, sy, cw, ch, x + dx, y + dy, cw, ch, transparent);
        return TR{dx, dy, dx + cw, dy + ch};
    };
    const TR tl = corner(hw, hh, dw2, dh2, false, false);
    const TR bl = corner(hw, hh - 1, dw2, dh2 - 1, false, true);
    // An edge or the centre: the source band trimmed to the destination's thickness (keeping the
    // named side), then stretched; magenta is always left out.
    const auto piece = [&](int sl, int st, int sr, int sb, TR d, bool keepRight, bool keepBottom, bool trim) {
        int sw = sr - sl;
        int sh = sb - st;
        const int dw = d.r - d.l;
        const int dh = d.b - d.t;
        if (trim && dw < sw) {
            sl = keepRight ? sr - dw : sl;
            sw = dw;
        }
        if (trim && dh < sh) {
            st = keepBottom ? sb - dh : st;
            sh = dh;
        }
        StretchDraw(dst, src, sl, st, sw, sh, x + d.l, y + d.t, dw, dh, true);
    };
    piece(0, hh, hw, H - hh, {0, tl.b, tl.r, bl.t}, false, false, true);
    const TR tr = corner(hw - 1, hh, dw2 - 1, dh2, true, false);
    const TR br = corner(hw - 1, hh - 1, dw2 - 1, dh2 - 1, true, true);
    piece(W - hw + 1, H - hh, W, hh + 2, {tr.l, tr.b, tr.r, br.t}, true, false, true);
    piece(hw, 0, W - hw + 1, hh, {tl.r, 0, tr.l, tl.b}, false, false, true);
    piece(hw, hh, W - hw + 1, H - hh, {tl.r, tl.b, tr.l, br.t - 1}, false, false, false);
    piece(hw, H - hh, W - hw + 1, H, {tl.r - 1, bl.t - 1, br.l, br.b}, false, true, true);
}

// Left cap, stretched middle, right cap; the caps leave magenta out.
void DrawThreePart(TPixmap& dst, const TPixmap& src, int x, int y, int w) {
    const int fw = src.w / 3;
    StretchDraw(dst, src, 0, 0, fw, src.h, x, y, fw, src.h, true);
    StretchDraw(dst, src, 2 * fw, 0, fw, src.h, x + w - fw, y, fw, src.h, true);
    StretchDraw(dst, src, fw, 0, fw, src.h, x + fw, y, w - 2 * fw, src.h, false);
}

void Tile(TPixmap& dst, const TPixmap& pattern, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            dst.Set(x, y, pattern.At(x % pattern.w, y % pattern.h));
        }
    }
}
