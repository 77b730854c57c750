#include "tools/paint_resources/MainIcon.h"

#include "tools/paint_resources/Glyphs.h"

#include <algorithm>

namespace {

const TRgb kWhite = Hex(0xFFFFFF);

// The key in a 32-unit design space, grown by `grow` on every side (for its dark outline).
TShape KeyShape(double k, double grow) {
    const double ringX = 11.0 * k;
    const double ringY = 11.0 * k;
    const double ringR = 6.4 * k + grow;
    // The hole keeps at least three pixels across, so it still reads in the 16-pixel icon.
    const double holeR = std::max(0.0, std::max(2.5 * k, 1.5) - grow);
    const TShape ring =
        Subtract(CircleShape(ringX, ringY, ringR), CircleShape(ringX - 0.6 * k, ringY - 0.6 * k, holeR));
    const double shaftW = 3.8 * k + 2 * grow;
    const TShape shaft = LineShape({15.0 * k, 15.0 * k}, {26.0 * k, 26.0 * k}, shaftW);
    const TShape bit1 = LineShape({21.5 * k, 21.5 * k}, {18.3 * k, 24.7 * k}, shaftW * 0.9);
    const TShape bit2 = LineShape({25.0 * k, 25.0 * k}, {21.8 * k, 28.2 * k}, shaftW * 0.9);
    return Union({ring, shaft, bit1, bit2});
}

} // namespace

TImage PaintMainIcon(int size) {
    const double k = size / 32.0;
    TImage img(size, size, Hex(0x3C82DC));
    // From 32 pixels up the tile's margin and corners grow with the icon.
    const double inset = size >= 32 ? k : 0.5;
    const double r = size >= 32 ? 6.5 * k : 3.5;
    // The tile.
    img.Fill(RoundRectShape(inset, inset, size - inset, size - inset, r), Hex(0x1C4F9C));
    img.Fill(RoundRectShape(inset + 1, inset + 1, size - inset - 1, size - inset - 1, r - 1),
             VerticalGradient(inset, size - inset,
                              {{0, Hex(0x8CC6FA)}, {0.5, Hex(0x3F8AE2)}, {1, Hex(0x2A6ECB)}}));
    img.Fill(RoundRectShape(inset + 2 * k, inset + 1.5 * k, size - inset - 2 * k, size * 0.5, r - 1.5),
             kWhite, VerticalFade(inset, size * 0.5, 0.55, 0.1));
    // The key, with a dark outline so it reads at 16 pixels too.
    const double outline = size >= 32 ? k : 0.7;
    img.Fill(Offset(KeyShape(k, outline), 0.5 * k, 0.8 * k), Hex(0x0B2A5A), 0.35);
    img.Fill(KeyShape(k, outline), Hex(0x6B4500));
    img.Fill(KeyShape(k, 0), LinearGradient({4 * k, 4 * k}, {28 * k, 28 * k},
                                            {{0, Hex(0xFFF0A8)}, {0.45, Hex(0xF6C443)}, {1, Hex(0xC98A12)}}));
    return img;
}
