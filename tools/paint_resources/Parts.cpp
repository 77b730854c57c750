#include "tools/paint_resources/Parts.h"

#include "tools/paint_resources/ResourceTable.h"

#include <algorithm>
#include <cmath>

namespace {

const TRgb kWhite = Hex(0xFFFFFF);

TBox Inset(TBox b, double d) {
    return {b.x0 + d, b.y0 + d, b.x1 - d, b.y1 - d};
}

// The shape and paint seen in a mirror along the diagonal, so one recipe draws both the
// horizontal and the vertical form of a part.
TShape Transposed(const TShape& s) {
    const TBox b = s.Bounds();
    return TShape([s](double x, double y) { return s.Contains(y, x); }, {b.y0, b.x0, b.y1, b.x1});
}

TPaint Transposed(const TPaint& p) {
    return [p](double x, double y) { return p(y, x); };
}

TOpacity Transposed(const TOpacity& o) {
    return [o](double x, double y) { return o(y, x); };
}

// Colours of a face in one state.
struct TFaceColors {
    TRgb border, top, bottom;
};

TFaceColors FaceColors(const TPalette& p, TFaceState state) {
    switch (state) {
    case TFaceState::Hot:
        return {p.hotBorder, p.hotTop, p.hotBottom};
    case TFaceState::Down:
        return {p.fillBorder, p.downTop, p.downBottom};
    case TFaceState::Normal:
        break;
    }
    return {p.border, p.faceTop, p.faceBottom};
}

TImage OpaqueFrame(int w, int h, TRgb back) {
    TImage img(w, h, back);
    img.Clear(back);
    return img;
}

} // namespace

void PaintFace(TImage& img, TBox b, double r, TRgb border, TRgb top, TRgb bottom, double gloss) {
    img.Fill(RoundRectShape(b.x0, b.y0, b.x1, b.y1, r), border);
    const TBox in = Inset(b, 1);
    const double ri = std::max(0.0, r - 1);
    img.Fill(RoundRectShape(in.x0, in.y0, in.x1, in.y1, ri),
             VerticalGradient(in.y0, in.y1, {{0, top}, {1, bottom}}));
    if (gloss > 0) {
        const double mid = in.y0 + (in.y1 - in.y0) * 0.5;
        img.Fill(RoundRectShape(in.x0, in.y0, in.x1, mid, ri), kWhite,
                 VerticalFade(in.y0, mid, gloss, gloss * 0.25));
    }
}

void PaintCylinderFace(TImage& img, TBox b, double r, TRgb border, TRgb edge, TRgb middle, bool alongX,
                       double gloss) {
    img.Fill(RoundRectShape(b.x0, b.y0, b.x1, b.y1, r), border);
    const TBox in = Inset(b, 1);
    const double ri = std::max(0.0, r - 1);
    const std::vector<TStop> stops{{0, edge}, {0.5, middle}, {1, edge}};
    const TPaint paint =
        alongX ? HorizontalGradient(in.x0, in.x1, stops) : VerticalGradient(in.y0, in.y1, stops);
    img.Fill(RoundRectShape(in.x0, in.y0, in.x1, in.y1, ri), paint);
    if (gloss > 0) {
        // A highlight along the middle, the same whichever way the part is turned.
        const double across0 = alongX ? in.x0 : in.y0;
        const double across1 = alongX ? in.x1 : in.y1;
        const double a = across0 + (across1 - across0) * 0.32;
        const double c = across0 + (across1 - across0) * 0.68;
        const TShape band = alongX ? RoundRectShape(a, in.y0 + 1, c, in.y1 - 1, (c - a) / 2)
                                   : RoundRectShape(in.x0 + 1, a, in.x1 - 1, c, (c - a) / 2);
        img.Fill(band, kWhite, gloss * 0.55);
    }
}

TShape TitleSymbolShape(TTitleSymbol symbol, double cx, double cy, double size, double weight) {
    switch (symbol) {
    case TTitleSymbol::Menu:
        return MenuGlyph(cx, cy, size * 0.9, weight * 0.8);
    case TTitleSymbol::Help:
        return QuestionGlyph(cx, cy, size * 1.12, weight);
    case TTitleSymbol::Maximise:
        return MaximiseGlyph(cx, cy, size * 0.92, weight * 0.62);
    case TTitleSymbol::Restore:
        return RestoreGlyph(cx, cy, size, weight * 0.62);
    case TTitleSymbol::Minimise:
        return MinimiseGlyph(cx, cy, size * 0.92, weight);
    case TTitleSymbol::Close:
        return CrossGlyph(cx, cy, size, weight * 1.1);
    }
    return {};
}

TImage TitleButtonStrip(int size, const std::function<TImage(TTitleSymbol, TFaceState)>& paintFrame) {
    return Strip(size, size, 18, [&](int i) {
        return paintFrame(static_cast<TTitleSymbol>(i / 3), static_cast<TFaceState>(i % 3));
    });
}

TImage RowImage(int width, int height, int firstRow, const std::function<TRgb(int)>& rowColor) {
    TImage img(width, height, rowColor(firstRow));
    for (int y = 0; y < height; ++y) {
        const TRgb c = rowColor(firstRow + y);
        for (int x = 0; x < width; ++x) {
            img.SetPixel(x, y, c);
        }
    }
    return img;
}

TImage KeyedOver(const TImage& background, const TImage& art) {
    TImage img = background;
    img.Draw(art, 0, 0);
    img.KeyOutUncovered(art);
    return img;
}

// ---- Boxes ------------------------------------------------------------------------------------

namespace {

// Frame i of a four-state strip: checked, unchecked, checked disabled, unchecked disabled.
bool FrameChecked(int i) {
    return i % 2 == 0;
}
bool FrameEnabled(int i) {
    return i < 2;
}

} // namespace

TImage CheckBoxStrip(const TPalette& p, int fw, int h, double s) {
    return Strip(fw, h, 4, [&](int i) {
        const bool checked = FrameChecked(i);
        const bool enabled = FrameEnabled(i);
        const auto c = [&](TRgb col) { return enabled ? col : Greyed(col, p.backdrop); };
        TImage img = OpaqueFrame(fw, h, p.backdrop);
        const double x0 = (fw - s) / 2.0;
        const double y0 = (h - s) / 2.0;
        const TBox box{x0, y0, x0 + s, y0 + s};
        const bool filled = checked && p.fillChecked;
        if (filled) {
            PaintFace(img, box, p.radius, c(p.fillBorder), c(p.fillTop), c(p.fillBottom), p.gloss);
        } else {
            PaintFace(img, box, p.radius, c(p.boxBorder), c(p.boxTop), c(p.boxBottom), p.gloss * 0.5);
        }
        if (checked) {
            const double weight = std::max(1.5, s * 0.16);
            img.Fill(CheckGlyph(x0 + s / 2.0, y0 + s / 2.0 + 0.2, s * 0.74, weight),
                     c(filled ? p.markOnFill : p.mark));
        }
        return img;
    });
}

TImage RadioButtonStrip(const TPalette& p, int fw, int h, double dot) {
    return Strip(fw, h, 4, [&](int i) {
        const bool checked = FrameChecked(i);
        const bool enabled = FrameEnabled(i);
        const auto c = [&](TRgb col) { return enabled ? col : Greyed(col, p.backdrop); };
        TImage img = OpaqueFrame(fw, h, p.backdrop);
        const double s = std::min(fw, h) - 0.5;
        const double cx = fw / 2.0;
        const double cy = h / 2.0;
        const double r = s / 2.0;
        const bool filled = checked && p.fillChecked;
        const TRgb border = c(filled ? p.fillBorder : p.boxBorder);
        const TRgb top = c(filled ? p.fillTop : p.boxTop);
        const TRgb bottom = c(filled ? p.fillBottom : p.boxBottom);
        img.Fill(CircleShape(cx, cy, r), border);
        img.Fill(CircleShape(cx, cy, r - 1), VerticalGradient(cy - r, cy + r, {{0, top}, {1, bottom}}));
        if (p.gloss > 0) {
            img.Fill(EllipseShape(cx, cy - r * 0.45, r * 0.62, r * 0.38), kWhite,
                     VerticalFade(cy - r, cy, p.gloss * (filled ? 0.9 : 0.5), 0.05));
        }
        if (checked) {
            img.Fill(CircleShape(cx, cy, dot / 2.0), c(filled ? p.markOnFill : p.mark));
        }
        return img;
    });
}

TImage CheckListStrip(const TPalette& p, int fw, int h) {
    return Strip(fw, h, 4, [&](int i) {
        const bool checked = FrameChecked(i);
        const bool enabled = FrameEnabled(i);
        const auto c = [&](TRgb col) { return enabled ? col : Greyed(col, p.backdrop); };
        TImage img = OpaqueFrame(fw, h, p.backdrop);
        const double s = std::min(fw, h) - 1.0;
        const double x0 = std::floor((fw - s) / 2.0);
        const double y0 = std::floor((h - s) / 2.0);
        const TBox box{x0, y0, x0 + s, y0 + s};
        PaintFace(img, box, std::min(p.radius, 1.5), c(p.boxBorder), c(p.boxTop), c(p.boxBottom), 0);
        if (checked) {
            img.Fill(CheckGlyph(x0 + s / 2.0, y0 + s / 2.0 + 0.2, s * 0.78, 1.4), c(p.mark));
        }
        return img;
    });
}

// ---- Scroll bars ------------------------------------------------------------------------------

TImage ScrollArrowStrip(const TPalette& p, int fw, int h, double inset) {
    return Strip(fw, h, 6, [&](int i) {
        const TArrowDir dir = i < 3 ? TArrowDir::Up : TArrowDir::Down;
        const TFaceState state = static_cast<TFaceState>(i % 3);
        const TFaceColors f = FaceColors(p, state);
        TImage img = OpaqueFrame(fw, h, p.trackBack);
        const TBox box{inset, inset, fw - inset, h - inset};
        // A pressed button is pushed in: its highlight goes out.
        PaintCylinderFace(img, box, p.radius, f.border, f.bottom, f.top, true,
                          state == TFaceState::Down ? 0.0 : p.gloss);
        const double size = std::min(fw, h) * 0.54;
        const double nudge = state == TFaceState::Down ? 0.5 : 0.0;
        img.Fill(ArrowGlyph(fw / 2.0 + nudge, h / 2.0 + nudge, size, dir),
                 state == TFaceState::Down ? p.arrowDown : p.arrow);
        return img;
    });
}

TImage ScrollThumbStrip(const TPalette& p, int fw, int h, double inset) {
    const int w = fw * 3;
    TImage img = OpaqueFrame(w, h, p.trackBack);
    const TBox box{0, inset, static_cast<double>(w), h - inset};
    const double r = std::min((box.y1 - box.y0) / 2.0, static_cast<double>(fw));
    PaintCylinderFace(img, box, std::min(r, p.radius * 3), p.fillBorder, p.fillBottom, p.fillTop, false,
                      p.gloss);
    return img;
}

// ---- Track bars -------------------------------------------------------------------------------

TImage TrackBarGroove(const TPalette& p, int w, int h, double gh) {
    const int fw = w / 3;
    TImage img(w, h, p.backdrop);
    // The middle is drawn without a key, so it carries the background where the groove is thinner.
    img.Fill(RectShape(fw, 0, 2 * fw, h), p.backdrop);
    const double y0 = (h - gh) / 2.0;
    const TShape outer = RoundRectShape(0.5, y0, w - 0.5, y0 + gh, gh / 2.0);
    img.Fill(outer, Darker(p.border, 0.1));
    const TShape inner = RoundRectShape(1.5, y0 + 1, w - 1.5, y0 + gh - 1, gh / 2.0 - 1);
    img.Fill(inner, VerticalGradient(y0 + 1, y0 + gh - 1,
                                     {{0, Darker(p.trackBack, 0.12)}, {1, Lighter(p.trackBack, 0.6)}}));
    return img;
}

namespace {

// The pointed thumb in its down-pointing form, shrunk by d on every side. Its sides lie on pixel
// edges so they stay crisp; the point sits on the middle column.
TShape ThumbShape(double w, double h, double d) {
    const double shoulder = h - w / 2.0;
    const double r = std::max(0.0, 3.5 - d);
    return Union(RoundRectShape(d, d, w - d, shoulder, r),
                 PolygonShape({{d, shoulder - 1}, {w - d, shoulder - 1}, {w / 2.0, h - d * 1.4}}));
}

void PaintThumb(TImage& img, const TPalette& p, double w, double h, bool transposed) {
    const auto shape = [&](TShape s) { return transposed ? Transposed(s) : s; };
    const auto paint = [&](TPaint q) { return transposed ? Transposed(q) : q; };
    img.Fill(shape(ThumbShape(w, h, 0)), p.fillBorder);
    img.Fill(shape(ThumbShape(w, h, 1)),
             paint(HorizontalGradient(1, w - 1, {{0, p.fillBottom}, {0.45, p.fillTop}, {1, p.fillBottom}})));
    if (p.gloss > 0) {
        const TOpacity fade = VerticalFade(1, h * 0.6, p.gloss * 0.8, 0);
        img.Fill(shape(Intersect(ThumbShape(w, h, 1.5), RectShape(0, 0, w / 2.0 + 0.5, h))), kWhite,
                 transposed ? Transposed(fade) : fade);
    }
}

} // namespace

TImage TrackBarThumb(const TPalette& p, int w, int h) {
    TImage img(w, h, p.backdrop);
    PaintThumb(img, p, w, h, false);
    return img;
}

TImage TrackBarThumbV(const TPalette& p, int w, int h) {
    TImage img = OpaqueFrame(w, h, p.backdrop);
    PaintThumb(img, p, h, w, true);
    return img;
}

TImage ProgressFill(const TPalette& p, int w, int h) {
    TImage img(w, h, p.fillBottom);
    img.Clear(
        VerticalGradient(0, h, {{0, p.fillTop}, {0.55, p.fillBottom}, {1, Darker(p.fillBottom, 0.08)}}));
    if (p.gloss > 0) {
        img.Fill(RectShape(0, 0, w, h * 0.5), kWhite, VerticalFade(0, h * 0.5, p.gloss * 0.7, p.gloss * 0.2));
    }
    img.Fill(RectShape(0, 0, w, 1), Lighter(p.fillTop, 0.45));
    return img;
}

// ---- Tabs and side channels -------------------------------------------------------------------

TImage TabScrollStrip(const TPalette& p, int fw, int h) {
    return Strip(fw, h, 4, [&](int i) {
        const TArrowDir dir = i < 2 ? TArrowDir::Left : TArrowDir::Right;
        const bool down = i % 2 == 1;
        const TFaceColors f = FaceColors(p, down ? TFaceState::Down : TFaceState::Normal);
        TImage img = OpaqueFrame(fw, h, p.backdrop);
        PaintFace(img, {0, 0, static_cast<double>(fw), static_cast<double>(h)}, p.radius, f.border, f.top,
                  f.bottom, p.gloss);
        const double nudge = down ? 0.5 : 0.0;
        img.Fill(ArrowGlyph(fw / 2.0 + nudge, h / 2.0 + nudge, std::min(fw, h) * 0.45, dir),
                 down ? p.arrowDown : p.arrow);
        return img;
    });
}

TImage TabPicture(const TPalette& p, int w, int h, TRgb accent) {
    const double fw = w / 3.0;
    const double r = std::min(p.radius + 1.0, fw - 0.5);
    TImage img(w, h, p.backdrop);
    // The tab is open at the bottom, where it joins its page.
    img.Fill(RoundRectShape(0, 0, w, h + r + 1, r), p.border);
    img.Fill(RoundRectShape(1, 1, w - 1, h + r + 1, std::max(0.0, r - 1)),
             VerticalGradient(1, h, {{0, Lighter(p.faceTop, 0.3)}, {1, p.backdrop}}));
    img.Fill(Intersect(RoundRectShape(0, 0, w, h + r + 1, r), RectShape(0, 0, w, 2.5)), accent);
    return img;
}

TImage TabLine(const TPalette& p, int w, int h) {
    TImage img = OpaqueFrame(w, h, p.backdrop);
    if (h <= 1) {
        img.Fill(RectShape(0, 0, w, h), p.border);
        return img;
    }
    img.Fill(RectShape(0, 1, w, h), VerticalGradient(1, h, {{0, Lighter(p.faceTop, 0.3)}, {1, p.backdrop}}));
    img.Fill(RectShape(0, 0, w, 1), p.border);
    return img;
}

TImage SideChannelHandle(const TPalette& p, int w, int h) {
    TImage img = OpaqueFrame(w, h, p.backdrop);
    PaintCylinderFace(img, {0, 0, static_cast<double>(w), static_cast<double>(h)},
                      std::min(p.radius + 1, w / 2.0), p.border, p.faceBottom, p.faceTop, true, p.gloss);
    const double cx = w / 2.0;
    img.Fill(ArrowGlyph(cx, 9.5, w - 2.5, TArrowDir::Right), p.arrow);
    // A grip of ridges in the middle says the handle can be pulled.
    for (int k = -2; k <= 2; ++k) {
        const double y = h / 2.0 + k * 3.0;
        img.Fill(RectShape(1.5, y - 1, w - 1.5, y), Darker(p.faceBottom, 0.35));
        img.Fill(RectShape(1.5, y, w - 1.5, y + 1), Lighter(p.faceTop, 0.7));
    }
    return img;
}

TImage SideChannelBar(const TPalette& p, int w, int h) {
    TImage img(w, h, p.fillBottom);
    img.Clear(VerticalGradient(0, h, {{0, p.fillTop}, {1, p.fillBottom}}));
    if (p.gloss > 0) {
        img.Fill(RectShape(0, 0, w, h * 0.5), kWhite,
                 VerticalFade(0, h * 0.5, p.gloss * 0.6, p.gloss * 0.15));
    }
    img.Fill(RectShape(0, 0, w, 1), Lighter(p.fillTop, 0.4));
    img.Fill(RectShape(0, h - 1, w, h), p.fillBorder);
    return img;
}
