// DeepBlue: dark navy gradients with white symbols on the title bar, scroll arrows and checked
// boxes, and matte steel-blue push buttons that stay light enough for black captions.

#include "tools/paint_resources/Parts.h"
#include "tools/paint_resources/ResourceTable.h"

namespace {

const TRgb kBackdrop = Hex(0xE8E8E8); // the look's form background
const TRgb kWhite = Hex(0xFFFFFF);

TPalette Palette() {
    TPalette p;
    p.backdrop = kBackdrop;
    p.trackBack = Hex(0xF5F5F5);
    p.border = Hex(0x14264B);
    p.hotBorder = Hex(0x3A5C9E);
    p.faceTop = Hex(0x45659F);
    p.faceBottom = Hex(0x1B2F5A);
    p.hotTop = Hex(0x5F86CF);
    p.hotBottom = Hex(0x26427C);
    p.downTop = Hex(0x101E3E);
    p.downBottom = Hex(0x22386A);
    p.boxBorder = Hex(0x1E3560);
    p.boxTop = Hex(0xDDE4EF);
    p.boxBottom = Hex(0xFFFFFF);
    p.fillBorder = Hex(0x0F1D3C);
    p.fillTop = Hex(0x4D6EAE);
    p.fillBottom = Hex(0x1A2E5E);
    p.mark = Hex(0x1E3560);
    p.markOnFill = kWhite;
    p.arrow = kWhite;
    p.arrowDown = Hex(0xBFD3FF);
    p.radius = 2;
    p.gloss = 0.22;
    p.fillChecked = true;
    return p;
}

// ---- Title bar ----------------------------------------------------------------------------------

constexpr int kTitleHeight = 32;
constexpr int kTitleButtonTop = 2;

// A deep navy plate for the caption and buttons, a bright blue rule, and a darker band below it
// that settles the bar onto the window.
TRgb TitleRow(int y) {
    if (y <= 0) {
        return Hex(0x5E78AE);
    }
    if (y <= 21) {
        return Mix(Hex(0x31497C), Hex(0x101D3E), (y - 1) / 20.0);
    }
    if (y == 22) {
        return Hex(0x0A1430);
    }
    if (y == 23) {
        return Hex(0x4470C4);
    }
    if (y >= kTitleHeight - 1) {
        return Hex(0x070F26);
    }
    return Mix(Hex(0x17264C), Hex(0x22386A), (y - 24) / 6.0);
}

TImage TitleSection(int width, bool leftEnd, bool rightEnd) {
    TImage img = RowImage(width, kTitleHeight, 0, TitleRow);
    if (leftEnd) {
        // A soft slanted sheen behind the caption.
        img.Fill(PolygonShape({{30, 0}, {62, 0}, {44, 22}, {12, 22}}), kWhite,
                 HorizontalFade(12, 62, 0.02, 0.09));
        img.Fill(RectShape(0, 0, 1, 22), kWhite, 0.18);
    }
    if (rightEnd) {
        img.Fill(RectShape(width - 1, 0, width, kTitleHeight), Hex(0x000000), 0.3);
    }
    return img;
}

TImage TitleButton(TTitleSymbol symbol, TFaceState state) {
    const int size = 19;
    TImage img = RowImage(size, size, kTitleButtonTop, TitleRow);
    const bool close = symbol == TTitleSymbol::Close;
    TRgb border = Hex(0x7690C8);
    TRgb top = Hex(0x3C5D9E);
    TRgb bottom = Hex(0x182C5C);
    if (state == TFaceState::Hot) {
        border = close ? Hex(0xF2A29C) : Hex(0xC4D6FF);
        top = close ? Hex(0xE2625B) : Hex(0x5C87D8);
        bottom = close ? Hex(0x9A2420) : Hex(0x26468C);
    } else if (state == TFaceState::Down) {
        border = close ? Hex(0xB5564F) : Hex(0x5670A6);
        top = close ? Hex(0x6E1714) : Hex(0x0C1834);
        bottom = close ? Hex(0xA83530) : Hex(0x213766);
    }
    img.Fill(RoundRectShape(0, 0, size, size, 3), border);
    img.Fill(RoundRectShape(1, 1, size - 1, size - 1, 2),
             VerticalGradient(1, size - 1, {{0, top}, {1, bottom}}));
    img.Fill(RoundRectShape(2, 2, size - 2, size / 2.0, 1.5), kWhite,
             VerticalFade(2, size / 2.0, 0.22, 0.04));
    const double c = size / 2.0 + (state == TFaceState::Down ? 0.5 : 0.0);
    img.Fill(TitleSymbolShape(symbol, c, c, 8, 1.9), kWhite);
    return img;
}

// ---- Push button ------------------------------------------------------------------------------

TImage PushButton(TFaceState state) {
    const int w = 74;
    const int h = 21;
    TImage img(w, h, kBackdrop);
    img.Clear(kBackdrop);
    const TRgb border = state == TFaceState::Hot ? Hex(0x2F5BAF) : Hex(0x1E3560);
    img.Fill(RoundRectShape(0, 0, w, h, 2.5), border);
    const TShape face = RoundRectShape(1, 1, w - 1, h - 1, 1.6);
    switch (state) {
    case TFaceState::Normal:
        img.Fill(face,
                 VerticalGradient(1, h - 1, {{0, Hex(0xFDFEFF)}, {0.45, Hex(0xE7ECF4)}, {1, Hex(0xC3CFE1)}}));
        img.Fill(RectShape(2, 1, w - 2, 2), kWhite);
        break;
    case TFaceState::Hot:
        img.Fill(face,
                 VerticalGradient(1, h - 1, {{0, Hex(0xFFFFFF)}, {0.45, Hex(0xEAF2FD)}, {1, Hex(0xBCD3F2)}}));
        // A cool inner glow marks the hot button.
        img.Fill(RoundFrameShape(1, 1, w - 1, h - 1, 1.6, 1.4), Hex(0x7FA8EC), 0.75);
        break;
    case TFaceState::Down:
        img.Fill(face,
                 VerticalGradient(1, h - 1, {{0, Hex(0xAEBFD9)}, {0.5, Hex(0xC9D5E7)}, {1, Hex(0xDCE4EF)}}));
        img.Fill(RectShape(2, 1, w - 2, 2), Hex(0x8A9DBE));
        break;
    }
    return img;
}

} // namespace

void AddDeepBlueResources(std::vector<TResourceEntry>& out) {
    const TPalette p = Palette();
    TPalette progress = p; // a brighter blue, so the bar reads on the light control colour
    progress.fillTop = Hex(0x7EA5EC);
    progress.fillBottom = Hex(0x2A4F9E);
    TPalette tabs = p; // tabs and handles are steel faces with navy edges
    tabs.faceTop = Hex(0xF4F7FB);
    tabs.faceBottom = Hex(0xC6D1E2);

    out.push_back({"DEEPBLUE_BUTTON", 222, 21, 3, TSurface::Opaque, [] {
                       return Strip(74, 21, 3, [](int i) { return PushButton(static_cast<TFaceState>(i)); });
                   }});
    out.push_back(
        {"DEEPBLUE_CHECKBOX", 52, 13, 4, TSurface::Opaque, [p] { return CheckBoxStrip(p, 13, 13, 13); }});
    out.push_back({"DEEPBLUE_RADIOBUTTON", 52, 13, 4, TSurface::Opaque,
                   [p] { return RadioButtonStrip(p, 13, 13, 4.5); }});
    out.push_back({"DEEPBLUE_TITLEBTN", 342, 19, 18, TSurface::Opaque,
                   [] { return TitleButtonStrip(19, TitleButton); }});
    out.push_back(
        {"DEEPBLUE_TITLE_LEFT", 97, 32, 1, TSurface::Opaque, [] { return TitleSection(97, true, false); }});
    out.push_back({"DEEPBLUE_TITLE_CLIENT", 98, 32, 1, TSurface::Opaque,
                   [] { return TitleSection(98, false, false); }});
    out.push_back(
        {"DEEPBLUE_TITLE_RIGHT", 97, 32, 1, TSurface::Opaque, [] { return TitleSection(97, false, true); }});
    out.push_back({"DEEPBLUE_PROGRESSBAR", 1, 10, 1, TSurface::Opaque,
                   [progress] { return ProgressFill(progress, 1, 10); }});
    out.push_back(
        {"DEEPBLUE_TRACKBAR_BAR", 45, 4, 3, TSurface::Keyed, [p] { return TrackBarGroove(p, 45, 4, 4); }});
    out.push_back(
        {"DEEPBLUE_TRACKBAR_SLIDER", 11, 20, 1, TSurface::Keyed, [p] { return TrackBarThumb(p, 11, 20); }});
    out.push_back({"DEEPBLUE_TRACKBAR_SLIDER_V", 18, 11, 1, TSurface::Opaque,
                   [p] { return TrackBarThumbV(p, 18, 11); }});
    out.push_back({"DEEPBLUE_SCROLLBAR_BUTTON", 96, 16, 6, TSurface::Opaque,
                   [p] { return ScrollArrowStrip(p, 16, 16, 0); }});
    out.push_back({"DEEPBLUE_SCROLLBAR_TRACK", 21, 16, 3, TSurface::Opaque,
                   [p] { return ScrollThumbStrip(p, 7, 16, 1); }});
    out.push_back(
        {"DEEPBLUE_CHECKLIST", 44, 11, 4, TSurface::Opaque, [p] { return CheckListStrip(p, 11, 11); }});
    out.push_back({"DEEPBLUE_TAB", 12, 17, 3, TSurface::Keyed,
                   [tabs] { return TabPicture(tabs, 12, 17, Hex(0x2A4F9E)); }});
    out.push_back({"DEEPBLUE_TAB_LINE", 5, 5, 1, TSurface::Opaque, [tabs] { return TabLine(tabs, 5, 5); }});
    out.push_back({"DEEPBLUE_SIDECHENNEL_HANDLE", 8, 83, 1, TSurface::Opaque,
                   [p] { return SideChannelHandle(p, 8, 83); }});
    out.push_back(
        {"DEEPBLUE_SIDECHENNEL_BAR", 1, 20, 1, TSurface::Opaque, [p] { return SideChannelBar(p, 1, 20); }});
}
