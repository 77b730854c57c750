// MacOS: light grey pinstriped surfaces, glossy aqua-blue buttons, and red, yellow and green
// gumdrop buttons in the title bar.

#include "tools/paint_resources/Parts.h"
#include "tools/paint_resources/ResourceTable.h"

namespace {

const TRgb kBackdrop = Hex(0xE7E7E7); // the look's form background
const TRgb kWhite = Hex(0xFFFFFF);

TPalette Palette() {
    TPalette p;
    p.backdrop = kBackdrop;
    p.trackBack = Hex(0xC9C9C9);
    p.border = Hex(0x8A8A8A);
    p.hotBorder = Hex(0x5B86C2);
    p.faceTop = Hex(0xFFFFFF);
    p.faceBottom = Hex(0xD3D3D3);
    p.hotTop = Hex(0xFFFFFF);
    p.hotBottom = Hex(0xC4DAF4);
    p.downTop = Hex(0x9ECBF7);
    p.downBottom = Hex(0x3A83DA);
    p.boxBorder = Hex(0x8C8C8C);
    p.boxTop = Hex(0xFFFFFF);
    p.boxBottom = Hex(0xE0E0E0);
    p.fillBorder = Hex(0x2B5EA6);
    p.fillTop = Hex(0xA6D0FA);
    p.fillBottom = Hex(0x3C88DF);
    p.mark = Hex(0x2E2E2E);
    p.markOnFill = Hex(0x0E2347);
    p.arrow = Hex(0x2E2E2E);
    p.arrowDown = Hex(0x0E2347);
    p.radius = 3;
    p.gloss = 0.75;
    p.fillChecked = true;
    return p;
}

// ---- Title bar ----------------------------------------------------------------------------------

constexpr int kTitleHeight = 23;
constexpr int kTitleButtonTop = 4; // where the title bar places its buttons

// One row of the title bar: a soft top-lit gradient with pinstripes, a white top edge and a grey
// bottom edge that separates it from the window below.
TRgb TitleRow(int y) {
    if (y <= 0) {
        return Hex(0xFCFCFC);
    }
    if (y >= kTitleHeight - 1) {
        return Hex(0x8E8E8E);
    }
    const double t = (y - 1) / static_cast<double>(kTitleHeight - 3);
    TRgb c = Mix(Hex(0xEEEEEE), Hex(0xD0D0D0), t);
    if (y % 2 == 1) {
        c = Lighter(c, 0.28);
    }
    return c;
}

TImage TitleSection(int width, bool leftEnd, bool rightEnd) {
    TImage img(width, kTitleHeight, kBackdrop);
    for (int y = 0; y < kTitleHeight; ++y) {
        for (int x = 0; x < width; ++x) {
            TRgb c = TitleRow(y);
            if (leftEnd && x == 0 && y < kTitleHeight - 1) {
                c = Lighter(c, 0.6);
            }
            if (rightEnd && x == width - 1 && y < kTitleHeight - 1) {
                c = Darker(c, 0.12);
            }
            img.SetPixel(x, y, c);
        }
    }
    return img;
}

struct TGumdrop {
    TRgb rim, base, glow, glyph;
};

const TGumdrop kRed{Hex(0x9A2A22), Hex(0xE2473F), Hex(0xFFA394), Hex(0x5A0D07)};
const TGumdrop kYellow{Hex(0xA07218), Hex(0xF3B83C), Hex(0xFFE9A0), Hex(0x6B4300)};
const TGumdrop kGreen{Hex(0x2D7A22), Hex(0x52B843), Hex(0xB4F29A), Hex(0x0F4508)};
const TGumdrop kGraphite{Hex(0x566170), Hex(0x8E9AA8), Hex(0xE0E8F0), Hex(0x1E2630)};
const TGumdrop kBlue{Hex(0x2B5EA6), Hex(0x4C93E2), Hex(0xB6DDFF), Hex(0x0C2550)};

TShape TitleSymbol(TTitleSymbol s, double cx, double cy) {
    switch (s) {
    case TTitleSymbol::Menu:
        return MenuGlyph(cx, cy, 6.5, 1.2);
    case TTitleSymbol::Help:
        return QuestionGlyph(cx, cy, 8.0, 1.6);
    case TTitleSymbol::Maximise:
        return PlusGlyph(cx, cy, 7.0, 1.6);
    case TTitleSymbol::Restore:
        return RestoreGlyph(cx, cy, 7.0, 1.05);
    case TTitleSymbol::Minimise:
        return MinusGlyph(cx, cy, 7.0, 1.6);
    case TTitleSymbol::Close:
        return CrossGlyph(cx, cy, 6.8, 1.6);
    }
    return {};
}

// One gumdrop of size × size pixels and radius r. Over the title bar it is drawn on the very rows
// it sits on, since the look draws it opaque; otherwise it stands alone with see-through corners.
TImage TitleButton(const TGumdrop& g, TTitleSymbol symbol, TFaceState state, int size, double r,
                   bool overTitleRows) {
    TImage img = overTitleRows ? RowImage(size, size, kTitleButtonTop, TitleRow)
                               : TImage(size, size, TitleRow(kTitleButtonTop + size / 2));
    const double c = size / 2.0;
    // Pressed drops deepen towards their rim colour rather than towards black, so yellow stays
    // amber instead of turning olive.
    const double dim = state == TFaceState::Down ? 0.4 : 0.0;
    const double lift = state == TFaceState::Hot ? 0.12 : 0.0;
    const TRgb base = Lighter(Mix(g.base, g.rim, dim), lift);
    // A faint shadow below the drop lifts it off the stripes.
    img.Fill(CircleShape(c, c + 0.8, r + 0.6), Hex(0x000000), 0.16);
    img.Fill(CircleShape(c, c, r + 0.5), Darker(g.rim, dim * 0.5));
    img.Fill(
        CircleShape(c, c, r - 0.5),
        RadialGradient({c, c + r * 0.55}, r * 1.25, r * 1.1,
                       {{0, Lighter(Mix(g.glow, g.base, dim), lift)}, {0.75, base}, {1, Darker(base, 0.1)}}));
    img.Fill(EllipseShape(c, c - r * 0.48, r * 0.66, r * 0.42), kWhite,
             VerticalFade(c - r, c - r * 0.1, 0.95, 0.15));
    const double glyphOpacity = state == TFaceState::Normal ? 0.3 : 0.85;
    img.Fill(TitleSymbol(symbol, c, c), g.glyph, glyphOpacity);
    return img;
}

const TGumdrop& DropOf(TTitleSymbol symbol) {
    static const TGumdrop* const drops[6] = {&kGraphite, &kBlue, &kGreen, &kGreen, &kYellow, &kRed};
    return *drops[static_cast<int>(symbol)];
}

TImage TitleButtons() {
    return TitleButtonStrip(17, [](TTitleSymbol symbol, TFaceState state) {
        return TitleButton(DropOf(symbol), symbol, state, 17, 6.6, true);
    });
}

// ---- Push button ------------------------------------------------------------------------------

TImage PushButton(TFaceState state) {
    const int w = 84;
    const int h = 23;
    TImage img(w, h, kBackdrop);
    struct TShade {
        TRgb border, top, middle, deep, glow;
    };
    const TShade shades[3] = {
        {Hex(0x2C5FA8), Hex(0x8EC3F6), Hex(0x5AA2EE), Hex(0x4A94E8), Hex(0xB4E2FF)},
        {Hex(0x3A70BC), Hex(0xA9D4FA), Hex(0x72B4F4), Hex(0x62A8F0), Hex(0xCFF0FF)},
        {Hex(0x1D4B8E), Hex(0x5F9BE0), Hex(0x2F74D0), Hex(0x2668C6), Hex(0x7DBDF2)},
    };
    const TShade& s = shades[static_cast<int>(state)];
    // The pill's straight sides fall on rows 11 and 12, the rows the skin stretches.
    img.Fill(RoundRectShape(1, 1.8, w - 1, h, 10.4), Hex(0x000000), 0.22);
    img.Fill(RoundRectShape(1.5, 1, w - 1.5, h - 1, 10), s.border);
    img.Fill(RoundRectShape(2.5, 2, w - 2.5, h - 2, 9),
             VerticalGradient(2, h - 2, {{0, s.top}, {0.42, s.middle}, {0.62, s.deep}, {1, s.glow}}));
    // The gloss: a bright lens over the upper half, kept above the stretched rows.
    img.Fill(RoundRectShape(6, 2.4, w - 6, 10.6, 4.5), kWhite, VerticalFade(2.4, 10.6, 0.92, 0.28));
    return img;
}

} // namespace

TImage MacOSTitleDrop(TTitleSymbol symbol, TFaceState state, int size, double radius) {
    return TitleButton(DropOf(symbol), symbol, state, size, radius, false);
}

void AddMacOSResources(std::vector<TResourceEntry>& out) {
    const TPalette p = Palette();
    out.push_back({"MACOS_BUTTON", 252, 23, 3, TSurface::Keyed, [] {
                       return Strip(84, 23, 3, [](int i) { return PushButton(static_cast<TFaceState>(i)); });
                   }});
    out.push_back(
        {"MACOS_CHECKBOX", 60, 17, 4, TSurface::Opaque, [p] { return CheckBoxStrip(p, 15, 17, 15); }});
    out.push_back(
        {"MACOS_RADIOBUTTON", 64, 17, 4, TSurface::Opaque, [p] { return RadioButtonStrip(p, 16, 17, 5.5); }});
    out.push_back({"MACOS_TITLEBTN", 306, 17, 18, TSurface::Opaque, [] { return TitleButtons(); }});
    out.push_back(
        {"MACOS_TITLE_LEFT", 48, 23, 1, TSurface::Opaque, [] { return TitleSection(48, true, false); }});
    out.push_back(
        {"MACOS_TITLE_CLIENT", 49, 23, 1, TSurface::Opaque, [] { return TitleSection(49, false, false); }});
    out.push_back(
        {"MACOS_TITLE_RIGHT", 48, 23, 1, TSurface::Opaque, [] { return TitleSection(48, false, true); }});
    out.push_back(
        {"MACOS_PROGRESSBAR", 13, 10, 1, TSurface::Opaque, [p] { return ProgressFill(p, 13, 10); }});
    out.push_back(
        {"MACOS_TRACKBAR_BAR", 45, 5, 3, TSurface::Keyed, [p] { return TrackBarGroove(p, 45, 5, 5); }});
    out.push_back(
        {"MACOS_TRACKBAR_SLIDER", 11, 20, 1, TSurface::Keyed, [p] { return TrackBarThumb(p, 11, 20); }});
    out.push_back(
        {"MACOS_TRACKBAR_SLIDER_V", 19, 11, 1, TSurface::Opaque, [p] { return TrackBarThumbV(p, 19, 11); }});
    out.push_back({"MACOS_SCROLLBAR_BUTTON", 96, 22, 6, TSurface::Opaque,
                   [p] { return ScrollArrowStrip(p, 16, 22, 0); }});
    out.push_back({"MACOS_SCROLLBAR_TRACK", 33, 16, 3, TSurface::Opaque,
                   [p] { return ScrollThumbStrip(p, 11, 16, 1); }});
    out.push_back(
        {"MACOS_CHECKLIST", 40, 11, 4, TSurface::Opaque, [p] { return CheckListStrip(p, 10, 11); }});
    out.push_back(
        {"MACOS_SCROLLBUTTON", 72, 18, 4, TSurface::Opaque, [p] { return TabScrollStrip(p, 18, 18); }});
    out.push_back(
        {"MACOS_TAB", 36, 27, 3, TSurface::Keyed, [p] { return TabPicture(p, 36, 27, p.fillBottom); }});
    out.push_back({"MACOS_TAB_LINE", 17, 7, 1, TSurface::Opaque, [p] { return TabLine(p, 17, 7); }});
    out.push_back({"MACOS_SIDECHENNEL_HANDLE", 7, 84, 1, TSurface::Opaque,
                   [p] { return SideChannelHandle(p, 7, 84); }});
    out.push_back(
        {"MACOS_SIDECHENNEL_BAR", 1, 21, 1, TSurface::Opaque, [p] { return SideChannelBar(p, 1, 21); }});
}
