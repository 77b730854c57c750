#include "tools/paint_resources/Glyphs.h"

#include <algorithm>
#include <cmath>

TShape CrossGlyph(double cx, double cy, double size, double weight) {
    // The arms stop half a stroke short of the extent so the round ends stay inside it.
    const double h = (size - weight) / 2.0;
    return Union(LineShape({cx - h, cy - h}, {cx + h, cy + h}, weight),
                 LineShape({cx - h, cy + h}, {cx + h, cy - h}, weight));
}

TShape MinusGlyph(double cx, double cy, double size, double weight) {
    return RectShape(cx - size / 2.0, cy - weight / 2.0, cx + size / 2.0, cy + weight / 2.0);
}

TShape PlusGlyph(double cx, double cy, double size, double weight) {
    return Union(MinusGlyph(cx, cy, size, weight),
                 RectShape(cx - weight / 2.0, cy - size / 2.0, cx + weight / 2.0, cy + size / 2.0));
}

TShape CheckGlyph(double cx, double cy, double size, double weight) {
    const double s = size - weight;
    return PolylineShape(
        {{cx - 0.46 * s, cy + 0.02 * s}, {cx - 0.12 * s, cy + 0.36 * s}, {cx + 0.48 * s, cy - 0.40 * s}},
        weight);
}

TShape ArrowGlyph(double cx, double cy, double size, TArrowDir dir) {
    const double b = size / 2.0; // half the base
    const double h = size / 4.0; // half the height
    switch (dir) {
    case TArrowDir::Up:
        return PolygonShape({{cx - b, cy + h}, {cx, cy - h}, {cx + b, cy + h}});
    case TArrowDir::Down:
        return PolygonShape({{cx - b, cy - h}, {cx + b, cy - h}, {cx, cy + h}});
    case TArrowDir::Left:
        return PolygonShape({{cx + h, cy - b}, {cx + h, cy + b}, {cx - h, cy}});
    case TArrowDir::Right:
        return PolygonShape({{cx - h, cy - b}, {cx + h, cy}, {cx - h, cy + b}});
    }
    return {};
}

TShape ExclamationGlyph(double cx, double cy, double size, double weight) {
    const double top = cy - size / 2.0;
    const double dotR = weight * 0.62;
    const double dotY = cy + size / 2.0 - dotR;
    const double stemBottom = dotY - dotR - weight * 0.55;
    // A stem that narrows towards the dot, with a rounded top.
    const double wt = weight / 2.0;
    const double wb = weight * 0.32;
    const TShape stem =
        Union(PolygonShape(
                  {{cx - wt, top + wt}, {cx + wt, top + wt}, {cx + wb, stemBottom}, {cx - wb, stemBottom}}),
              CircleShape(cx, top + wt, wt));
    return Union(stem, CircleShape(cx, dotY, dotR));
}

TShape LetterIGlyph(double cx, double cy, double size, double weight) {
    const double top = cy - size / 2.0;
    const double dotR = weight * 0.6;
    const double stemTop = top + 2 * dotR + weight * 0.45;
    const double bottom = cy + size / 2.0;
    const double w = weight / 2.0;
    const TShape stem = RectShape(cx - w, stemTop, cx + w, bottom);
    // Small serifs make the letter read as "i" rather than as a bar.
    const TShape foot = RectShape(cx - w * 2.0, bottom - weight * 0.5, cx + w * 2.0, bottom);
    const TShape head = RectShape(cx - w * 1.9, stemTop, cx + w, stemTop + weight * 0.5);
    return Union({CircleShape(cx, top + dotR, dotR), stem, foot, head});
}

TShape QuestionGlyph(double cx, double cy, double size, double weight) {
    const double s = size - weight;
    const double r = 0.24 * s;
    const double arcY = cy - 0.5 * s + weight / 2.0 + r - weight / 2.0;
    const TShape hook = ArcShape(cx, arcY, r, weight, 180.0, 405.0);
    const TPt hookEnd{cx + r * DetCos(45.0), arcY + r * DetSin(45.0)};
    const TPt neck{cx, arcY + r + 0.12 * s};
    const TPt stemEnd{cx, neck.y + 0.08 * s};
    const TShape stem = PolylineShape({hookEnd, neck, stemEnd}, weight);
    const double dotR = weight * 0.62;
    return Union({hook, stem, CircleShape(cx, cy + size / 2.0 - dotR, dotR)});
}

TShape FrameShape(double x0, double y0, double x1, double y1, double thickness) {
    return Subtract(RectShape(x0, y0, x1, y1),
                    RectShape(x0 + thickness, y0 + thickness, x1 - thickness, y1 - thickness));
}

TShape RoundFrameShape(double x0, double y0, double x1, double y1, double r, double thickness) {
    return Subtract(RoundRectShape(x0, y0, x1, y1, r),
                    RoundRectShape(x0 + thickness, y0 + thickness, x1 - thickness, y1 - thickness,
                                   std::max(0.0, r - thickness)));
}

namespace {

// Window-state symbols are boxes and bars; their edges are put on whole pixels so that they stay
// crisp at title-button sizes instead of smearing into two half-lit rows.
double Snap(double v) {
    return std::floor(v + 0.5);
}

} // namespace

TShape MaximiseGlyph(double cx, double cy, double size, double weight) {
    const double x0 = Snap(cx - size / 2.0);
    const double y0 = Snap(cy - size / 2.0);
    const double x1 = x0 + Snap(size);
    const double y1 = y0 + Snap(size);
    const double t = std::max(1.0, Snap(weight));
    // A window outline with a heavier title edge.
    return Union(FrameShape(x0, y0, x1, y1, t), RectShape(x0, y0, x1, y0 + 2 * t));
}

TShape RestoreGlyph(double cx, double cy, double size, double weight) {
    const double x0 = Snap(cx - size / 2.0);
    const double y0 = Snap(cy - size / 2.0);
    const double x1 = x0 + Snap(size);
    const double y1 = y0 + Snap(size);
    const double s = Snap(size * 0.7);
    const double t = std::max(1.0, Snap(weight));
    const double band = t + 1;
    const TShape front =
        Union(FrameShape(x0, y1 - s, x0 + s, y1, t), RectShape(x0, y1 - s, x0 + s, y1 - s + band));
    const TShape backOutline =
        Union(FrameShape(x1 - s, y0, x1, y0 + s, t), RectShape(x1 - s, y0, x1, y0 + band));
    // The window behind is hidden where the front one covers it.
    const TShape back = Subtract(backOutline, RectShape(x0, y1 - s, x0 + s, y1));
    return Union(front, back);
}

TShape MinimiseGlyph(double cx, double cy, double size, double weight) {
    const double w = Snap(size * 0.72);
    const double t = std::max(2.0, Snap(weight * 1.2));
    const double x0 = Snap(cx - w / 2.0);
    const double y1 = Snap(cy + size / 2.0);
    return RectShape(x0, y1 - t, x0 + w, y1);
}

TShape MenuGlyph(double cx, double cy, double size, double weight) {
    const double h = size / 2.0;
    const double step = (size - weight) / 2.0;
    TShape lines;
    for (int i = 0; i < 3; ++i) {
        const double y = cy - h + weight / 2.0 + step * i;
        lines = Union(lines, LineShape({cx - h + weight / 2.0, y}, {cx + h - weight / 2.0, y}, weight));
    }
    return lines;
}
