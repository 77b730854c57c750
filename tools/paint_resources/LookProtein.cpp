// Protein: warm red and orange on near-white. A title bar that warms from deep red to orange,
// cream capsule buttons with a warm lip, round cream title-bar buttons that glow orange under the
// pointer and turn red when pressed.

#include "tools/paint_resources/Parts.h"
#include "tools/paint_resources/ResourceTable.h"

namespace {

const TRgb kBackdrop = Hex(0xFBFBFB); // the look's form background
const TRgb kWhite = Hex(0xFFFFFF);
const TRgb kBlack = Hex(0x000000);

TPalette Palette() {
    TPalette p;
    p.backdrop = kBackdrop;
    p.trackBack = Hex(0xF5F5F5);
    p.border = Hex(0xC2553A);
    p.hotBorder = Hex(0xE8731F);
    p.faceTop = Hex(0xFFFFFF);
    p.faceBottom = Hex(0xF8E3D3);
    p.hotTop = Hex(0xFFF8EF);
    p.hotBottom = Hex(0xFFD1A3);
    p.downTop = Hex(0xF0A062);
    p.downBottom = Hex(0xF9CBA3);
    p.boxBorder = Hex(0xB5503A);
    p.boxTop = Hex(0xF6E6DA);
    p.boxBottom = Hex(0xFFFFFF);
    p.fillBorder = Hex(0xA8321C);
    p.fillTop = Hex(0xFFB37A);
    p.fillBottom = Hex(0xE0531F);
    p.mark = Hex(0xD9431E);
    p.markOnFill = kWhite;
    p.arrow = Hex(0xB23A1E);
    p.arrowDown = Hex(0x6E1A0A);
    p.radius = 3.5;
    p.gloss = 0.45;
    return p;
}

// ---- Title bar ----------------------------------------------------------------------------------

constexpr int kTitleHeight = 23;
constexpr int kTitleButtonTop = 2;
constexpr int kTitleLeftWidth = 441;

// The bar's colour: the hue warms from left to right across the left picture and stays orange
// from its last column on (the stretched middle and the right end are one column of it).
TRgb TitleColor(double x, int y) {
    static const TPaint hue = HorizontalGradient(
        0, kTitleLeftWidth - 1, {{0, Hex(0x9A1A12)}, {0.45, Hex(0xCC3C19)}, {1, Hex(0xE36A26)}});
    const TRgb base = hue(std::min(x, kTitleLeftWidth - 1.0), 0);
    if (y <= 0) {
        return Lighter(base, 0.42);
    }
    if (y >= kTitleHeight - 1) {
        return Darker(base, 0.4);
    }
    if (y <= 10) {
        return Lighter(base, 0.3 - 0.22 * (y - 1) / 9.0);
    }
    return Darker(base, 0.14 * (y - 11) / 10.0);
}

TImage TitleLeft() {
    TImage img(kTitleLeftWidth, kTitleHeight, kBackdrop);
    for (int y = 0; y < kTitleHeight; ++y) {
        for (int x = 0; x < kTitleLeftWidth; ++x) {
            img.SetPixel(x, y, TitleColor(x + 0.5, y));
        }
    }
    // A few soft cells drifting towards the right end, well clear of the caption.
    const TShape bar = RectShape(0, 1, kTitleLeftWidth - 1, kTitleHeight - 1);
    const struct {
        double x, y, r;
    } cells[] = {{250, 14, 9}, {292, 6, 12}, {336, 17, 8}, {368, 5, 7}, {402, 13, 10}, {424, 3, 5}};
    for (const auto& c : cells) {
        img.Fill(Intersect(CircleShape(c.x, c.y, c.r), bar), kWhite, 0.07);
        img.Fill(Intersect(RingShape(c.x, c.y, c.r - 0.5, 1.0), bar), kWhite, 0.13);
    }
    return img;
}

TImage TitleColumn(bool edge) {
    TImage img(1, kTitleHeight, kBackdrop);
    for (int y = 0; y < kTitleHeight; ++y) {
        const TRgb c = TitleColor(kTitleLeftWidth, y);
        img.SetPixel(0, y, edge && y > 0 ? Darker(c, 0.18) : c);
    }
    return img;
}

TImage TitleButton(TTitleSymbol symbol, TFaceState state) {
    const int size = 19;
    // The control box sits on the deep red left end, the others on the orange right end.
    const double barX = symbol == TTitleSymbol::Menu ? 0.0 : kTitleLeftWidth;
    TImage background(size, size, kBackdrop);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            background.SetPixel(x, y, TitleColor(barX + x + 0.5, y + kTitleButtonTop));
        }
    }
    TRgb rim = Hex(0x8E2410);
    std::vector<TStop> face{{0, Hex(0xFFFFFF)}, {0.55, Hex(0xFFE9D6)}, {1, Hex(0xF4B88C)}};
    TRgb glyph = Hex(0x9A2410);
    if (state == TFaceState::Hot) {
        rim = Hex(0xA8430E);
        face = {{0, Hex(0xFFF8D0)}, {0.55, Hex(0xFFC65A)}, {1, Hex(0xF3922A)}};
        glyph = Hex(0x7A1B08);
    } else if (state == TFaceState::Down) {
        rim = Hex(0x5E0E05);
        face = {{0, Hex(0xE8552F)}, {0.55, Hex(0xB72E16)}, {1, Hex(0x8A1A0C)}};
        glyph = kWhite;
    }
    const double c = size / 2.0;
    const double r = 7.6;
    TImage art(size, size, kBackdrop);
    art.Fill(CircleShape(c + 0.3, c + 0.9, r + 0.6), kBlack, 0.28);
    art.Fill(CircleShape(c, c, r + 0.5), rim);
    art.Fill(CircleShape(c, c, r - 0.5), RadialGradient({c, c + r * 0.35}, r * 1.6, r * 1.4, face));
    const double gloss = state == TFaceState::Down ? 0.4 : 0.85;
    art.Fill(EllipseShape(c, c - r * 0.52, r * 0.6, r * 0.34), kWhite,
             VerticalFade(c - r, c - r * 0.2, gloss, 0.05));
    const double push = state == TFaceState::Down ? 0.5 : 0.0;
    art.Fill(TitleSymbolShape(symbol, c + push, c + push, 7.5, 1.9), glyph);
    return KeyedOver(background, art);
}

// ---- Push button ------------------------------------------------------------------------------

TImage PushButton(TFaceState state) {
    const int w = 74;
    const int h = 21;
    TImage img(w, h, kBackdrop);
    img.Clear(kBackdrop);
    TRgb border = Hex(0xB9472E);
    std::vector<TStop> face{{0, Hex(0xFFFFFF)}, {0.5, Hex(0xFDF0E6)}, {1, Hex(0xF6D3BA)}};
    double lip = 0.3;
    if (state == TFaceState::Hot) {
        border = Hex(0xE0681C);
        face = {{0, Hex(0xFFFBF5)}, {0.5, Hex(0xFFE6C8)}, {1, Hex(0xFFC184)}};
        lip = 0.45;
    } else if (state == TFaceState::Down) {
        border = Hex(0x9C2E18);
        face = {{0, Hex(0xF09C62)}, {0.5, Hex(0xF6BC90)}, {1, Hex(0xFBDCC4)}};
        lip = 0;
    }
    // A capsule whose straight sides fall on the middle rows, the ones the skin stretches.
    img.Fill(RoundRectShape(0.5, 0, w - 0.5, h, 9.5), border);
    img.Fill(RoundRectShape(1.5, 1, w - 1.5, h - 1, 8.5), VerticalGradient(1, h - 1, face));
    if (lip > 0) {
        // A warm lip along the bottom edge.
        img.Fill(RoundRectShape(1.5, 1, w - 1.5, h - 1, 8.5), Hex(0xF2782A), VerticalFade(13, h - 1, 0, lip));
        img.Fill(RoundRectShape(5, 1.6, w - 5, 8, 3.5), kWhite, VerticalFade(1.6, 8, 0.8, 0.15));
    }
    return img;
}

} // namespace

void AddProteinResources(std::vector<TResourceEntry>& out) {
    const TPalette p = Palette();
    TPalette side = p;
    side.fillTop = Hex(0xF08A4A);
    side.fillBottom = Hex(0xC43A1A);
    side.fillBorder = Hex(0x8A1E0E);

    out.push_back({"PROTEIN_BUTTON", 222, 21, 3, TSurface::Opaque, [] {
                       return Strip(74, 21, 3, [](int i) { return PushButton(static_cast<TFaceState>(i)); });
                   }});
    out.push_back(
        {"PROTEIN_CHECKBOX", 52, 13, 4, TSurface::Opaque, [p] { return CheckBoxStrip(p, 13, 13, 13); }});
    out.push_back(
        {"PROTEIN_RADIOBUTTON", 52, 13, 4, TSurface::Opaque, [p] { return RadioButtonStrip(p, 13, 13, 5); }});
    out.push_back(
        {"PROTEIN_TITLEBTN", 342, 19, 18, TSurface::Keyed, [] { return TitleButtonStrip(19, TitleButton); }});
    out.push_back({"PROTEIN_TITLE_LEFT", 441, 23, 1, TSurface::Opaque, [] { return TitleLeft(); }});
    out.push_back({"PROTEIN_TITLE_CLIENT", 1, 23, 1, TSurface::Opaque, [] { return TitleColumn(false); }});
    out.push_back({"PROTEIN_TITLE_RIGHT", 1, 23, 1, TSurface::Opaque, [] { return TitleColumn(true); }});
    out.push_back(
        {"PROTEIN_PROGRESSBAR", 1, 10, 1, TSurface::Opaque, [p] { return ProgressFill(p, 1, 10); }});
    out.push_back(
        {"PROTEIN_TRACKBAR_BAR", 45, 4, 3, TSurface::Keyed, [p] { return TrackBarGroove(p, 45, 4, 4); }});
    out.push_back(
        {"PROTEIN_TRACKBAR_SLIDER", 11, 20, 1, TSurface::Keyed, [p] { return TrackBarThumb(p, 11, 20); }});
    out.push_back({"PROTEIN_TRACKBAR_SLIDER_V", 18, 11, 1, TSurface::Opaque,
                   [p] { return TrackBarThumbV(p, 18, 11); }});
    out.push_back({"PROTEIN_SCROLLBAR_BUTTON", 96, 16, 6, TSurface::Opaque,
                   [p] { return ScrollArrowStrip(p, 16, 16, 1); }});
    out.push_back({"PROTEIN_SCROLLBAR_TRACK", 21, 16, 3, TSurface::Opaque,
                   [p] { return ScrollThumbStrip(p, 7, 16, 1); }});
    out.push_back(
        {"PROTEIN_CHECKLIST", 44, 11, 4, TSurface::Opaque, [p] { return CheckListStrip(p, 11, 11); }});
    out.push_back(
        {"PROTEIN_TAB", 18, 17, 3, TSurface::Keyed, [p] { return TabPicture(p, 18, 17, Hex(0xE8702A)); }});
    out.push_back({"PROTEIN_TAB_LINE", 10, 5, 1, TSurface::Opaque, [p] { return TabLine(p, 10, 5); }});
    out.push_back({"PROTEIN_SIDECHENNEL_HANDLE", 8, 83, 1, TSurface::Opaque,
                   [p] { return SideChannelHandle(p, 8, 83); }});
    out.push_back({"PROTEIN_SIDECHENNEL_BAR", 1, 21, 1, TSurface::Opaque,
                   [side] { return SideChannelBar(side, 1, 21); }});
}
