#pragma once

// Plain pixel buffers (0xRRGGBB) with the few operations the skin performs on its bitmaps: copying
// and stretching with the magenta key left out, cutting frames, quarter turns, tiling, and the
// nine-part and three-part drawing of button faces and bars. The contact sheet puts the looks
// together with them, and the tests use them to check that the bitmaps hold up when drawn so.

#include "tools/paint_resources/Painter.h"

#include <cstdint>
#include <string>
#include <vector>

struct TPixmap {
    int w = 0;
    int h = 0;
    std::vector<std::uint32_t> px;

    TPixmap() = default;
    TPixmap(int width, int height, std::uint32_t fill)
        : w(width), h(height), px(static_cast<std::size_t>(width) * height, fill) {}

    std::uint32_t At(int x, int y) const { return px[static_cast<std::size_t>(y) * w + x]; }
    void Set(int x, int y, std::uint32_t c) {
        if (x >= 0 && y >= 0 && x < w && y < h) {
            px[static_cast<std::size_t>(y) * w + x] = c;
        }
    }
};

TPixmap FromImage(const TImage& img);

void FillRect(TPixmap& dst, int x0, int y0, int x1, int y1, std::uint32_t c);
void FrameRect(TPixmap& dst, int x0, int y0, int x1, int y1, std::uint32_t c);
// Nearest-neighbour stretch of a source rectangle; keyed leaves magenta pixels out.
void StretchDraw(TPixmap& dst, const TPixmap& src, int sx, int sy, int sw, int sh, int dx, int dy, int dw,
                 int dh, bool keyed);
void Draw(TPixmap& dst, const TPixmap& src, int x, int y, bool keyed);
// Frame index (from 1) of count equal frames.
TPixmap Slice(const TPixmap& src, int count, int index);
// Quarter turns: clockwise puts the old bottom-left corner at the top-left, anticlockwise the old
// top-right corner.
TPixmap RotateClockwise(const TPixmap& src);
TPixmap RotateAnticlockwise(const TPixmap& src);
TPixmap Scaled(const TPixmap& src, int k);
// Text in the 5 x 7 pixel font, each font pixel scale x scale.
void DrawText(TPixmap& dst, int x, int y, const std::string& text, std::uint32_t c, int scale = 1);
// The skin's nine-part drawing of a button face into (x, y, w, h): the four corners unscaled, the
// edges and the centre stretched from the middle column and rows, with its asymmetric offsets.
void DrawKeepCorners(TPixmap& dst, const TPixmap& src, int x, int y, int w, int h, bool transparent);
// Left cap, stretched middle, right cap; the caps leave magenta out.
void DrawThreePart(TPixmap& dst, const TPixmap& src, int x, int y, int w);
// The pattern tiled from the pixmap's origin over the rectangle.
void Tile(TPixmap& dst, const TPixmap& pattern, int x0, int y0, int x1, int y1);
