// The bitmaps that the skin loads by name whatever the look: the two form background patterns,
// the MacOS menu strips, the menu check mark, the message-box icons and the tab scroll buttons
// that three looks share.

#include "tools/paint_resources/Parts.h"
#include "tools/paint_resources/ResourceTable.h"

namespace {

const TRgb kWhite = Hex(0xFFFFFF);
const TRgb kBlack = Hex(0x000000);

// ---- Form backgrounds and MacOS menu strips ------------------------------------------------------

// Fine horizontal pinstripes averaging the MacOS form colour, so text and controls drawn on the
// look's flat colour sit on it without a seam.
TImage MacOSFormBackground() {
    TImage img(8, 8, Hex(0xE7E7E7));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            img.SetPixel(x, y, y % 2 == 0 ? Hex(0xECECEC) : Hex(0xE2E2E2));
        }
    }
    return img;
}

// Near-white with a faint warm weave of diagonals that meet every eight pixels.
TImage ProteinFormBackground() {
    TImage img(8, 8, Hex(0xFBFBFB));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            TRgb c = Hex(0xFBFBFB);
            if ((x + y) % 8 == 0) {
                c = Hex(0xF5EAE3);
            } else if ((x - y + 8) % 8 == 4) {
                c = Hex(0xF8F1EC);
            }
            img.SetPixel(x, y, c);
        }
    }
    return img;
}

// The menu bar: pinstripes over a light gradient, the last row a grey rule. Menu items use only its
// top rows, so the rule shows under the bar alone.
TImage MacOSMenuBar() {
    const int h = 22;
    TImage img(1, h, Hex(0xEEEEEE));
    for (int y = 0; y < h; ++y) {
        TRgb c = Mix(Hex(0xFBFBFB), Hex(0xE6E6E6), y / static_cast<double>(h - 2));
        if (y % 2 == 1) {
            c = Darker(c, 0.02);
        }
        if (y == h - 1) {
            c = Hex(0x9A9A9A);
        }
        img.SetPixel(0, y, c);
    }
    return img;
}

// The selected menu item: aqua blue with a gloss over the upper half, for white text.
TImage MacOSMenuSelect() {
    const int h = 21;
    TImage img(1, h, Hex(0x3F84E3));
    img.Clear(VerticalGradient(
        0, h, {{0, Hex(0x5E9CEC)}, {0.5, Hex(0x3A7FDD)}, {0.52, Hex(0x2F72D4)}, {1, Hex(0x3F8BE6)}}));
    img.Fill(RectShape(0, 0, 1, h * 0.5), kWhite, VerticalFade(0, h * 0.5, 0.3, 0.08));
    img.SetPixel(0, 0, Hex(0x4A7FC8));
    return img;
}

// ---- Menu check mark ----------------------------------------------------------------------------

// A green check on pure white: the menus add it with white as its transparent colour, so the
// faintest edge pixels are made pure white too, or they would ring the mark with a pale halo on
// coloured menus.
TImage MenuChecked() {
    TImage img(16, 16, kWhite);
    img.Fill(CheckGlyph(8, 8.4, 12.5, 3.3), Hex(0x1E7A26));
    img.Fill(CheckGlyph(8, 8.4, 11.7, 2.0),
             VerticalGradient(3, 14, {{0, Hex(0x5FD65F)}, {1, Hex(0x22A22E)}}));
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (img.Coverage(x, y) < 0.3) {
                img.SetPixel(x, y, kWhite);
            }
        }
    }
    return img;
}

// ---- Message-box icons -------------------------------------------------------------------------

const TRgb kIconBackdrop = Hex(0xE7E7E7);

// A polygon with its corners rounded by r: the polygon grown by r on every side.
TShape RoundedPolygon(const std::vector<TPt>& pts, double r) {
    std::vector<TPt> closed = pts;
    closed.push_back(pts.front());
    return Union(PolygonShape(pts), PolylineShape(closed, 2 * r));
}

struct TDisc {
    TRgb rim, light, deep;
};

void PaintDisc(TImage& img, double ox, const TDisc& d) {
    const double cx = ox + 21;
    const double cy = 20.5;
    const double r = 18;
    img.Fill(CircleShape(cx + 0.6, cy + 1.6, r + 0.4), kBlack, 0.22);
    img.Fill(CircleShape(cx, cy, r), d.rim);
    img.Fill(CircleShape(cx, cy, r - 1.3),
             RadialGradient({cx, cy + r * 0.45}, r * 1.4, r * 1.25,
                            {{0, d.light}, {0.8, d.deep}, {1, Darker(d.deep, 0.12)}}));
    img.Fill(EllipseShape(cx, cy - r * 0.5, r * 0.72, r * 0.42), kWhite,
             VerticalFade(cy - r, cy - r * 0.1, 0.7, 0.05));
}

TImage MessageIcons() {
    TImage img(168, 42, kIconBackdrop);
    img.Clear(kIconBackdrop);

    // 1: warning, an amber triangle with an exclamation mark.
    {
        const std::vector<TPt> tri{{21, 6.5}, {4.5, 35.5}, {37.5, 35.5}};
        img.Fill(Offset(RoundedPolygon(tri, 3.2), 0.6, 1.6), kBlack, 0.22);
        img.Fill(RoundedPolygon(tri, 3.2), Hex(0xA86B00));
        img.Fill(RoundedPolygon(tri, 1.9),
                 VerticalGradient(4, 38, {{0, Hex(0xFFEB7A)}, {0.55, Hex(0xFFCC1F)}, {1, Hex(0xF0A800)}}));
        img.Fill(Intersect(RoundedPolygon(tri, 1.2), RectShape(0, 0, 42, 19)), kWhite,
                 VerticalFade(4, 19, 0.55, 0.0));
        img.Fill(ExclamationGlyph(21, 25.5, 16.5, 4.2), Hex(0x2A2118));
    }
    // 2: stop, a red disc with a white cross.
    PaintDisc(img, 42, {Hex(0x8A160E), Hex(0xFF7A66), Hex(0xD3261A)});
    img.Fill(Offset(CrossGlyph(63, 20.5, 17, 4.4), 0, 0.8), Hex(0x6E0F08), 0.35);
    img.Fill(CrossGlyph(63, 20.5, 17, 4.4), kWhite);
    // 3: information, a blue disc with a white "i".
    PaintDisc(img, 84, {Hex(0x123F8A), Hex(0x7CC0FF), Hex(0x1F66CC)});
    img.Fill(Offset(LetterIGlyph(105, 21, 22, 4.4), 0, 0.8), Hex(0x0B2A5E), 0.35);
    img.Fill(LetterIGlyph(105, 21, 22, 4.4), kWhite);
    // 4: help, a green disc with a white question mark.
    PaintDisc(img, 126, {Hex(0x14651C), Hex(0x8AE68A), Hex(0x2A9A34)});
    img.Fill(Offset(QuestionGlyph(147, 20.5, 22, 4.2), 0, 0.8), Hex(0x0D4213), 0.35);
    img.Fill(QuestionGlyph(147, 20.5, 22, 4.2), kWhite);
    return img;
}

// ---- Tab scroll buttons shared by DeepBlue, Protein and BlueGlass ---------------------------------

TPalette NeutralPalette() {
    TPalette p;
    p.backdrop = Hex(0xE8E8E8);
    p.trackBack = Hex(0xF5F5F5);
    p.border = Hex(0x7D8A99);
    p.hotBorder = Hex(0x5B7FAE);
    p.faceTop = Hex(0xFFFFFF);
    p.faceBottom = Hex(0xD9DFE7);
    p.hotTop = Hex(0xFFFFFF);
    p.hotBottom = Hex(0xCCDAEB);
    p.downTop = Hex(0xB9C7D9);
    p.downBottom = Hex(0xE3E9F0);
    p.boxBorder = p.border;
    p.boxTop = p.faceTop;
    p.boxBottom = p.faceBottom;
    p.fillBorder = Hex(0x55677D);
    p.fillTop = Hex(0xB9C7D9);
    p.fillBottom = Hex(0x8EA2BB);
    p.mark = Hex(0x2F3B4A);
    p.markOnFill = Hex(0x1D2733);
    p.radius = 2.5;
    p.gloss = 0.3;
    return p;
}

} // namespace

void AddSharedResources(std::vector<TResourceEntry>& out) {
    out.push_back({"MORE_SCROLLBUTTON", 72, 17, 4, TSurface::Opaque,
                   [] { return TabScrollStrip(NeutralPalette(), 18, 17); }});
    out.push_back({"MACOS_FORM_BACKGROUND", 8, 8, 1, TSurface::Opaque, [] { return MacOSFormBackground(); }});
    out.push_back(
        {"PROTEIN_FORM_BACKGROUND", 8, 8, 1, TSurface::Opaque, [] { return ProteinFormBackground(); }});
    out.push_back({"MACOS_MENU_BAR", 1, 22, 1, TSurface::Opaque, [] { return MacOSMenuBar(); }});
    out.push_back({"MACOS_MENU_SELECT", 1, 21, 1, TSurface::Opaque, [] { return MacOSMenuSelect(); }});
    out.push_back({"MENU_CHECKED", 16, 16, 1, TSurface::Opaque, [] { return MenuChecked(); }});
    out.push_back({"MSGDLG", 168, 42, 4, TSurface::Opaque, [] { return MessageIcons(); }});
}
