// WinXP: a saturated blue title bar under a white caption, light rounded buttons that take an
// orange rim under the pointer, blue title-bar buttons with a red close button, green check marks.

#include "tools/paint_resources/Parts.h"
#include "tools/paint_resources/ResourceTable.h"

namespace {

const TRgb kBackdrop = Hex(0xEFEBDE); // the look's form background
const TRgb kWhite = Hex(0xFFFFFF);

TPalette Palette() {
    TPalette p;
    p.backdrop = kBackdrop;
    p.trackBack = Hex(0xF9F9F9);
    p.border = Hex(0x93ACE6);
    p.hotBorder = Hex(0x7F9FE8);
    p.faceTop = Hex(0xE3ECFE);
    p.faceBottom = Hex(0xBCD0F7);
    p.hotTop = Hex(0xF4F8FF);
    p.hotBottom = Hex(0xCDDEFD);
    p.downTop = Hex(0xA9C1F2);
    p.downBottom = Hex(0xC6D7F8);
    p.boxBorder = Hex(0x1C5180);
    p.boxTop = Hex(0xDCDCD7);
    p.boxBottom = Hex(0xFFFFFF);
    p.fillBorder = Hex(0x7B97D9);
    p.fillTop = Hex(0xD8E4FD);
    p.fillBottom = Hex(0xABC3F3);
    p.mark = Hex(0x21A121);
    p.markOnFill = kWhite;
    p.arrow = Hex(0x4D6185);
    p.arrowDown = Hex(0x2B3D66);
    p.radius = 2.5;
    p.gloss = 0.15;
    return p;
}

// ---- Title bar ----------------------------------------------------------------------------------

constexpr int kTitleHeight = 29;
constexpr int kTitleButtonTop = 5;

TRgb TitleRow(int y) {
    static const TPaint shade = VerticalGradient(0, kTitleHeight,
                                                 {{0, Hex(0x0B5FE8)},
                                                  {0.05, Hex(0x4A9BFF)},
                                                  {0.12, Hex(0x2D7FF6)},
                                                  {0.26, Hex(0x0E62EB)},
                                                  {0.55, Hex(0x0056E4)},
                                                  {0.8, Hex(0x0052E0)},
                                                  {0.92, Hex(0x0046CC)},
                                                  {1, Hex(0x0035AA)}});
    return shade(0, y + 0.5);
}

TImage TitleSection(int width, bool leftEnd, bool rightEnd) {
    TImage img = RowImage(width, kTitleHeight, 0, TitleRow);
    // The outer columns catch the light on the left and fall into shade on the right.
    if (leftEnd) {
        img.Fill(RectShape(0, 0, 1, kTitleHeight), kWhite, 0.22);
        img.Fill(RectShape(1, 0, 2, kTitleHeight), kWhite, 0.08);
    }
    if (rightEnd) {
        img.Fill(RectShape(width - 1, 0, width, kTitleHeight), Hex(0x001A66), 0.35);
        img.Fill(RectShape(width - 2, 0, width - 1, kTitleHeight), Hex(0x001A66), 0.12);
    }
    return img;
}

TImage TitleButton(TTitleSymbol symbol, TFaceState state) {
    const int size = 21;
    TImage img = RowImage(size, size, kTitleButtonTop, TitleRow);
    const bool close = symbol == TTitleSymbol::Close;
    TRgb light = close ? Hex(0xF39A7E) : Hex(0x74AAFF);
    TRgb mid = close ? Hex(0xE0552F) : Hex(0x2F6FEA);
    TRgb deep = close ? Hex(0xB5320F) : Hex(0x1A4DCB);
    const TRgb shadowTone = close ? Hex(0x7A1E06) : Hex(0x0C2F8A);
    if (state == TFaceState::Hot) {
        light = Lighter(light, 0.3);
        mid = Lighter(mid, 0.18);
        deep = Lighter(deep, 0.1);
    } else if (state == TFaceState::Down) {
        light = Mix(light, shadowTone, 0.45);
        mid = Mix(mid, shadowTone, 0.4);
        deep = Mix(deep, shadowTone, 0.2);
    }
    img.Fill(RoundRectShape(0, 0, size, size, 3.5), kWhite, 0.92);
    img.Fill(RoundRectShape(1, 1, size - 1, size - 1, 2.6),
             RadialGradient({6.5, 5}, 19, 19, {{0, light}, {0.5, mid}, {1, deep}}));
    const double push = state == TFaceState::Down ? 0.5 : 0.0;
    const double c = size / 2.0 + push;
    img.Fill(Offset(TitleSymbolShape(symbol, c, c, 9, 2.3), 0.4, 0.6), shadowTone, 0.45);
    img.Fill(TitleSymbolShape(symbol, c, c, 9, 2.3), kWhite);
    return img;
}

// ---- Push button ------------------------------------------------------------------------------

TImage PushButton(TFaceState state) {
    const int w = 18;
    const int h = 21;
    TImage img(w, h, kBackdrop);
    img.Clear(kBackdrop);
    img.Fill(RoundRectShape(0, 0, w, h, 3.2), Hex(0x003C74));
    const TShape face = RoundRectShape(1, 1, w - 1, h - 1, 2.2);
    if (state == TFaceState::Down) {
        img.Fill(face,
                 VerticalGradient(
                     1, h - 1,
                     {{0, Hex(0xD1CEC3)}, {0.14, Hex(0xE2E1DA)}, {0.8, Hex(0xEDEDE7)}, {1, Hex(0xF5F5F1)}}));
        return img;
    }
    img.Fill(face, VerticalGradient(1, h - 1,
                                    {{0, Hex(0xFFFFFF)},
                                     {0.15, Hex(0xFEFEFD)},
                                     {0.72, Hex(0xF1F0EB)},
                                     {0.9, Hex(0xE4E1D7)},
                                     {1, Hex(0xD6D0C5)}}));
    if (state == TFaceState::Hot) {
        // The orange rim says the button will take a click.
        img.Fill(RoundFrameShape(1, 1, w - 1, h - 1, 2.2, 2),
                 VerticalGradient(
                     1, h - 1,
                     {{0, Hex(0xFFF0CF)}, {0.35, Hex(0xFCD68B)}, {0.8, Hex(0xF5B03A)}, {1, Hex(0xE59700)}}));
    }
    return img;
}

TImage Progress() {
    TImage img(6, 10, Hex(0x2DC62D));
    img.Clear(VerticalGradient(0, 10,
                               {{0, Hex(0xC4F4C2)},
                                {0.3, Hex(0x6EDD6C)},
                                {0.5, Hex(0x2DC62D)},
                                {0.75, Hex(0x34C934)},
                                {1, Hex(0x8FE48C)}}));
    return img;
}

} // namespace

void AddWinXPResources(std::vector<TResourceEntry>& out) {
    const TPalette p = Palette();
    TPalette thumb = p; // the track bar's thumb is a light face with a blue rim
    thumb.fillBorder = Hex(0x6E8FC8);
    thumb.fillTop = Hex(0xFFFFFF);
    thumb.fillBottom = Hex(0xE0DDD2);
    thumb.gloss = 0;
    TPalette tabs = p; // tab edges are grey, not blue
    tabs.border = Hex(0x919B9C);
    TPalette side = p; // the side channel bar is blue like the title bar
    side.fillBorder = Hex(0x0035AA);
    side.fillTop = Hex(0x4A9BFF);
    side.fillBottom = Hex(0x0E5AE0);

    out.push_back({"WINXP_BUTTON", 54, 21, 3, TSurface::Opaque, [] {
                       return Strip(18, 21, 3, [](int i) { return PushButton(static_cast<TFaceState>(i)); });
                   }});
    out.push_back(
        {"WINXP_CHECKBOX", 52, 13, 4, TSurface::Opaque, [p] { return CheckBoxStrip(p, 13, 13, 13); }});
    out.push_back(
        {"WINXP_RADIOBUTTON", 52, 13, 4, TSurface::Opaque, [p] { return RadioButtonStrip(p, 13, 13, 5); }});
    out.push_back(
        {"WINXP_TITLEBTN", 378, 21, 18, TSurface::Opaque, [] { return TitleButtonStrip(21, TitleButton); }});
    out.push_back(
        {"WINXP_TITLE_LEFT", 35, 29, 1, TSurface::Opaque, [] { return TitleSection(35, true, false); }});
    out.push_back(
        {"WINXP_TITLE_CLIENT", 37, 29, 1, TSurface::Opaque, [] { return TitleSection(37, false, false); }});
    out.push_back(
        {"WINXP_TITLE_RIGHT", 35, 29, 1, TSurface::Opaque, [] { return TitleSection(35, false, true); }});
    out.push_back({"WINXP_PROGRESSBAR", 6, 10, 1, TSurface::Opaque, [] { return Progress(); }});
    out.push_back(
        {"WINXP_TRACKBAR_BAR", 45, 8, 3, TSurface::Keyed, [p] { return TrackBarGroove(p, 45, 8, 4); }});
    out.push_back({"WINXP_TRACKBAR_SLIDER", 11, 21, 1, TSurface::Keyed,
                   [thumb] { return TrackBarThumb(thumb, 11, 21); }});
    out.push_back({"WINXP_TRACKBAR_SLIDER_V", 22, 11, 1, TSurface::Opaque,
                   [thumb] { return TrackBarThumbV(thumb, 22, 11); }});
    out.push_back({"WINXP_SCROLLBAR_BUTTON", 96, 17, 6, TSurface::Opaque,
                   [p] { return ScrollArrowStrip(p, 16, 17, 1); }});
    out.push_back({"WINXP_SCROLLBAR_TRACK", 21, 16, 3, TSurface::Opaque,
                   [p] { return ScrollThumbStrip(p, 7, 16, 1); }});
    out.push_back(
        {"WINXP_CHECKLIST", 44, 11, 4, TSurface::Opaque, [p] { return CheckListStrip(p, 11, 11); }});
    out.push_back(
        {"WINXP_SCROLLBUTTON", 72, 18, 4, TSurface::Opaque, [p] { return TabScrollStrip(p, 18, 18); }});
    out.push_back({"WINXP_TAB", 18, 18, 3, TSurface::Keyed,
                   [tabs] { return TabPicture(tabs, 18, 18, Hex(0xFFC83C)); }});
    out.push_back({"WINXP_TAB_LINE", 8, 1, 1, TSurface::Opaque, [tabs] { return TabLine(tabs, 8, 1); }});
    out.push_back({"WINXP_SIDECHENNEL_HANDLE", 8, 86, 1, TSurface::Opaque,
                   [p] { return SideChannelHandle(p, 8, 86); }});
    out.push_back({"WINXP_SIDECHENNEL_BAR", 1, 21, 1, TSurface::Opaque,
                   [side] { return SideChannelBar(side, 1, 21); }});
}
