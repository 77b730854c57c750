// BlueGlass: light, glassy blue. Every face has a bright upper lens over a deeper lower half with a
// glow at its foot; the title bar is a pane of blue glass, its buttons small glass tiles.

#include "tools/paint_resources/Parts.h"
#include "tools/paint_resources/ResourceTable.h"

namespace {

const TRgb kBackdrop = Hex(0xE7E7E7); // the look's form background
const TRgb kWhite = Hex(0xFFFFFF);
const TRgb kBlack = Hex(0x000000);

TPalette Palette() {
    TPalette p;
    p.backdrop = kBackdrop;
    p.trackBack = Hex(0xF4F4F4);
    p.border = Hex(0x7AA3D6);
    p.hotBorder = Hex(0x4C86D2);
    p.faceTop = Hex(0xF7FBFF);
    p.faceBottom = Hex(0xC4DCF5);
    p.hotTop = Hex(0xFFFFFF);
    p.hotBottom = Hex(0xADD3FB);
    p.downTop = Hex(0x93BDEB);
    p.downBottom = Hex(0xC9E0F8);
    p.boxBorder = Hex(0x5B8FD0);
    p.boxTop = Hex(0xD7E8FA);
    p.boxBottom = Hex(0xFFFFFF);
    p.fillBorder = Hex(0x3F74BE);
    p.fillTop = Hex(0xD3EAFF);
    p.fillBottom = Hex(0x5F9FE8);
    p.mark = Hex(0x1C4B8C);
    p.markOnFill = kWhite;
    p.arrow = Hex(0x1F4E8F);
    p.arrowDown = Hex(0x0F2E5E);
    p.radius = 3;
    p.gloss = 0.8;
    return p;
}

// ---- Title bar ----------------------------------------------------------------------------------

constexpr int kTitleHeight = 33;
constexpr int kTitleButtonTop = 6;

// A pane of glass: a lighter upper lens, a sharp fold, a deeper lower half that glows at its foot.
TRgb TitleRow(int y) {
    if (y <= 0) {
        return Hex(0xCFE5FF);
    }
    if (y >= kTitleHeight - 1) {
        return Hex(0x1D4E96);
    }
    if (y <= 15) {
        return Mix(Hex(0x8CBEF6), Hex(0x5E9BE6), (y - 1) / 14.0);
    }
    return Mix(Hex(0x2C6FCF), Hex(0x4C93EA), (y - 16) / 15.0);
}

TImage TitleSection(int width, bool leftEnd, bool rightEnd) {
    TImage img = RowImage(width, kTitleHeight, 0, TitleRow);
    if (leftEnd) {
        // A sweep of reflected light across the upper lens.
        img.Fill(Intersect(EllipseShape(64, -10, 110, 22), RectShape(0, 1, width, 16)), kWhite,
                 HorizontalFade(0, width - 12, 0.22, 0.0));
    }
    if (rightEnd) {
        img.Fill(RectShape(width - 1, 1, width, kTitleHeight - 1), Hex(0x0A2A66), 0.3);
    }
    return img;
}

TImage TitleButton(TTitleSymbol symbol, TFaceState state) {
    const int size = 19;
    const TImage background = RowImage(size, size, kTitleButtonTop, TitleRow);
    const bool close = symbol == TTitleSymbol::Close;
    std::vector<TStop> face =
        close ? std::vector<TStop>{{0, Hex(0xFFD2CA)},
                                   {0.45, Hex(0xF48C7E)},
                                   {0.5, Hex(0xDE4A38)},
                                   {1, Hex(0xF07A62)}}
              : std::vector<TStop>{
                    {0, Hex(0xF2F9FF)}, {0.45, Hex(0xC4E0FD)}, {0.5, Hex(0x8DBDF3)}, {1, Hex(0xBFE0FF)}};
    TRgb edge = close ? Hex(0x8E2218) : Hex(0x1D4E96);
    TRgb glyph = close ? kWhite : Hex(0x163E78);
    TRgb halo = kWhite;
    if (state == TFaceState::Hot) {
        // Hot tiles light up from within and take a pale cyan halo.
        face = close
                   ? std::vector<TStop>{{0, Hex(0xFFEAE4)},
                                        {0.45, Hex(0xFFB0A2)},
                                        {0.5, Hex(0xFF6C52)},
                                        {1, Hex(0xFFC2A8)}}
                   : std::vector<TStop>{
                         {0, Hex(0xFFFFFF)}, {0.45, Hex(0xE6F7FF)}, {0.5, Hex(0x9FE0FF)}, {1, Hex(0xE2FBFF)}};
        halo = Hex(0xB8F0FF);
    } else if (state == TFaceState::Down) {
        face = close
                   ? std::vector<TStop>{{0, Hex(0xE27262)},
                                        {0.45, Hex(0xC8402E)},
                                        {0.5, Hex(0xA82A1C)},
                                        {1, Hex(0xC8503E)}}
                   : std::vector<TStop>{
                         {0, Hex(0x9CC6F2)}, {0.45, Hex(0x6EA4E6)}, {0.5, Hex(0x3F7BD0)}, {1, Hex(0x68A2E6)}};
        glyph = kWhite;
    }
    TImage art(size, size, kBackdrop);
    art.Fill(RoundRectShape(0, 1, size, size, 4.5), kBlack, 0.2);
    art.Fill(RoundRectShape(0, 0, size, size - 1, 4.5), halo, 0.8);
    art.Fill(RoundRectShape(1, 1, size - 1, size - 2, 3.6), edge);
    art.Fill(RoundRectShape(2, 2, size - 2, size - 3, 2.7), VerticalGradient(2, size - 3, face));
    art.Fill(RoundRectShape(3, 2.5, size - 3, 9, 2), kWhite, VerticalFade(2.5, 9, 0.7, 0.15));
    // The tile stands one pixel above its shadow, so its symbol sits half a pixel high.
    const double c = size / 2.0 + (state == TFaceState::Down ? 0.5 : 0.0);
    const double cy = c - 0.5;
    if (glyph.r > 200) {
        art.Fill(Offset(TitleSymbolShape(symbol, c, cy, 7.5, 1.9), 0, 0.7), edge, 0.5);
    }
    art.Fill(TitleSymbolShape(symbol, c, cy, 7.5, 1.9), glyph);
    return KeyedOver(background, art);
}

// ---- Push button ------------------------------------------------------------------------------

TImage PushButton(TFaceState state) {
    const int w = 77;
    const int h = 27;
    TImage img(w, h, kBackdrop);
    // The fold of the glass lies above row 13, the first row the skin stretches.
    std::vector<TStop> face{
        {0, Hex(0xFCFEFF)}, {0.36, Hex(0xE6F1FD)}, {0.38, Hex(0xCDE2F9)}, {1, Hex(0xE4F2FF)}};
    TRgb border = Hex(0x6E98CF);
    if (state == TFaceState::Hot) {
        face = {{0, Hex(0xFFFFFF)}, {0.36, Hex(0xEEF7FF)}, {0.38, Hex(0xC3E3FF)}, {1, Hex(0xD9F3FF)}};
        border = Hex(0x3F7FD6);
    } else if (state == TFaceState::Down) {
        face = {{0, Hex(0xC2DBF6)}, {0.36, Hex(0xB2D0F2)}, {0.38, Hex(0x98BFEB)}, {1, Hex(0xBAD7F5)}};
        border = Hex(0x2F62A8);
    }
    img.Fill(RoundRectShape(1, 2, w - 1, h - 1, 5.5), kBlack, 0.18);
    img.Fill(RoundRectShape(1, 1, w - 1, h - 2, 5), border);
    img.Fill(RoundRectShape(2, 2, w - 2, h - 3, 4), VerticalGradient(2, h - 3, face));
    if (state == TFaceState::Hot) {
        img.Fill(RoundFrameShape(2, 2, w - 2, h - 3, 4, 1.2), Hex(0x8FD0FF), 0.7);
    }
    if (state != TFaceState::Down) {
        img.Fill(RoundRectShape(4, 2.5, w - 4, 10, 3), kWhite, VerticalFade(2.5, 10, 0.75, 0.2));
    }
    return img;
}

} // namespace

void AddBlueGlassResources(std::vector<TResourceEntry>& out) {
    const TPalette p = Palette();
    TPalette side = p;
    side.fillTop = Hex(0x8CBEF6);
    side.fillBottom = Hex(0x2C6FCF);
    side.fillBorder = Hex(0x1D4E96);

    out.push_back({"BLUEGLASS_BUTTON", 231, 27, 3, TSurface::Keyed, [] {
                       return Strip(77, 27, 3, [](int i) { return PushButton(static_cast<TFaceState>(i)); });
                   }});
    out.push_back(
        {"BLUEGLASS_CHECKBOX", 52, 13, 4, TSurface::Opaque, [p] { return CheckBoxStrip(p, 13, 13, 13); }});
    out.push_back({"BLUEGLASS_RADIOBUTTON", 52, 13, 4, TSurface::Opaque,
                   [p] { return RadioButtonStrip(p, 13, 13, 5); }});
    out.push_back({"BLUEGLASS_TITLEBTN", 342, 19, 18, TSurface::Keyed,
                   [] { return TitleButtonStrip(19, TitleButton); }});
    out.push_back({"BLUEGLASS_TITLE_LEFT", 162, 33, 1, TSurface::Opaque,
                   [] { return TitleSection(162, true, false); }});
    out.push_back({"BLUEGLASS_TITLE_CLIENT", 179, 33, 1, TSurface::Opaque,
                   [] { return TitleSection(179, false, false); }});
    out.push_back({"BLUEGLASS_TITLE_RIGHT", 101, 33, 1, TSurface::Opaque,
                   [] { return TitleSection(101, false, true); }});
    out.push_back(
        {"BLUEGLASS_PROGRESSBAR", 1, 10, 1, TSurface::Opaque, [p] { return ProgressFill(p, 1, 10); }});
    out.push_back(
        {"BLUEGLASS_TRACKBAR_BAR", 45, 4, 3, TSurface::Keyed, [p] { return TrackBarGroove(p, 45, 4, 4); }});
    out.push_back(
        {"BLUEGLASS_TRACKBAR_SLIDER", 11, 20, 1, TSurface::Keyed, [p] { return TrackBarThumb(p, 11, 20); }});
    out.push_back({"BLUEGLASS_TRACKBAR_SLIDER_V", 18, 11, 1, TSurface::Opaque,
                   [p] { return TrackBarThumbV(p, 18, 11); }});
    out.push_back({"BLUEGLASS_SCROLLBAR_BUTTON", 102, 16, 6, TSurface::Opaque,
                   [p] { return ScrollArrowStrip(p, 17, 16, 1); }});
    out.push_back({"BLUEGLASS_SCROLLBAR_TRACK", 21, 16, 3, TSurface::Opaque,
                   [p] { return ScrollThumbStrip(p, 7, 16, 1); }});
    out.push_back(
        {"BLUEGLASS_CHECKLIST", 44, 11, 4, TSurface::Opaque, [p] { return CheckListStrip(p, 11, 11); }});
    out.push_back(
        {"BLUEGLASS_TAB", 18, 17, 3, TSurface::Keyed, [p] { return TabPicture(p, 18, 17, Hex(0x5F9FE8)); }});
    out.push_back({"BLUEGLASS_TAB_LINE", 10, 5, 1, TSurface::Opaque, [p] { return TabLine(p, 10, 5); }});
    out.push_back({"BLUEGLASS_SIDECHENNEL_HANDLE", 8, 86, 1, TSurface::Opaque,
                   [p] { return SideChannelHandle(p, 8, 86); }});
    out.push_back({"BLUEGLASS_SIDECHENNEL_BAR", 1, 21, 1, TSurface::Opaque,
                   [side] { return SideChannelBar(side, 1, 21); }});
}
