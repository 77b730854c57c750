#include "tests/support/Artifacts.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/Gdi.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include <gtest/gtest.h>

namespace {

// A white bitmap whose canvas writes black Tahoma 8 pt text without background.
std::unique_ptr<TBitmap> Page(int width, int height, const char* face = "Tahoma") {
    auto page = std::make_unique<TBitmap>(width, height);
    TCanvas* canvas = page->Canvas();
    canvas->Font()->SetName(face);
    canvas->Font()->SetHeight(-11);
    canvas->Font()->SetColor(clBlack);
    canvas->Brush()->SetStyle(bsClear);
    return page;
}

// The box around every pixel that is not white; empty when there is none.
TRect InkBox(const TPixelBuffer& pixels) {
    TRect box{pixels.Width(), pixels.Height(), 0, 0};
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = 0; x < pixels.Width(); ++x) {
            if (pixels.At(x, y) != 0xFFFFFF) {
                box = UnionRects(box.IsEmpty() ? TRect{x, y, x + 1, y + 1} : box, TRect{x, y, x + 1, y + 1});
            }
        }
    }
    return box.IsEmpty() ? TRect{} : box;
}

int DrawOn(TBitmap& page, std::string_view text, TRect rect, unsigned format) {
    return DrawText(page.Canvas()->Handle(), text, &rect, format);
}

} // namespace

TEST(TextDrawing, GlyphsLandInsideTheirCell) {
    for (const char* face : {"Tahoma", "MS Sans Serif"}) {
        std::unique_ptr<TBitmap> page = Page(120, 30, face);
        page->Canvas()->TextOut(10, 7, "Generate password");
        TSize extent = page->Canvas()->TextExtent("Generate password");
        EXPECT_EQ(extent.cy, 13) << face;
        TRect ink = InkBox(page->Pixels());
        ASSERT_FALSE(ink.IsEmpty()) << face;
        EXPECT_GE(ink.Left, 10) << face;
        EXPECT_GE(ink.Top, 7) << face;
        EXPECT_LE(ink.Right, 10 + extent.cx + 1) << face;
        EXPECT_LE(ink.Bottom, 7 + 13) << face;
        EXPECT_EQ(page->Canvas()->PenPos(), (TPoint{10 + extent.cx, 7})) << "TextOut moves the pen";
    }
}

TEST(TextDrawing, OpaqueBackgroundFillsTheTextCellOnly) {
    std::unique_ptr<TBitmap> page = Page(60, 20);
    page->Canvas()->Brush()->SetColor(clRed);
    page->Canvas()->FillRect(TRect{0, 0, 60, 20});
    page->Canvas()->Brush()->SetColor(clWhite); // solid: opaque text
    page->Canvas()->TextOut(5, 3, "Wg");
    TSize cell = page->Canvas()->TextExtent("Wg");
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 60; ++x) {
            bool inCell = Bounds(5, 3, cell.cx, cell.cy).Contains({x, y});
            ASSERT_EQ(page->Pixels().At(x, y) == 0xFF0000, !inCell) << x << "," << y;
        }
    }
    // The cell is as high as the font and as wide as the text.
    EXPECT_EQ(page->Pixels().At(5 + cell.cx - 1, 3 + cell.cy - 1) & 0xFF0000, 0xFF0000u);
}

TEST(TextDrawing, SingleLineAlignmentsPlaceTheTextLikeTextOut) {
    const TRect rect{10, 5, 110, 45};
    const std::string_view text = "All keyboard";
    struct TCase {
        unsigned Format;
        const char* Name;
    };
    for (TCase c :
         {TCase{DT_LEFT | DT_TOP, "left-top"}, TCase{DT_CENTER | DT_VCENTER, "center-vcenter"},
          TCase{DT_RIGHT | DT_BOTTOM, "right-bottom"}, TCase{DT_CENTER | DT_BOTTOM, "center-bottom"}}) {
        std::unique_ptr<TBitmap> actual = Page(120, 50);
        int height = DrawOn(*actual, text, rect, c.Format | DT_SINGLELINE);
        std::unique_ptr<TBitmap> expected = Page(120, 50);
        const int w = expected->Canvas()->TextWidth(text);
        const int h = expected->Canvas()->TextHeight(text);
        int x = rect.Left;
        if (c.Format & DT_CENTER) {
            x = rect.Left + (rect.Width() - w) / 2;
        } else if (c.Format & DT_RIGHT) {
            x = rect.Right - w;
        }
        int y = rect.Top;
        if (c.Format & DT_VCENTER) {
            y = rect.Top + (rect.Height() - h) / 2;
        } else if (c.Format & DT_BOTTOM) {
            y = rect.Bottom - h;
        }
        expected->Canvas()->TextOut(x, y, text);
        EXPECT_TRUE(SamePixels(actual->Pixels(), expected->Pixels(), c.Name));
        EXPECT_EQ(height, y - rect.Top + h) << c.Name << ": the distance to the bottom of the text";
    }
}

TEST(TextDrawing, CalcRectMeasuresWithoutDrawing) {
    std::unique_ptr<TBitmap> page = Page(200, 60);
    TCanvas* canvas = page->Canvas();
    TRect rect{5, 5, 6, 6};
    EXPECT_EQ(DrawText(canvas->Handle(), "Generate password", &rect, DT_CALCRECT | DT_SINGLELINE), 13);
    EXPECT_EQ(rect, (TRect{5, 5, 5 + canvas->TextWidth("Generate password"), 18}));
    EXPECT_TRUE(InkBox(page->Pixels()).IsEmpty());
    rect = TRect{0, 0, 0, 0};
    EXPECT_EQ(DrawText(canvas->Handle(), "", &rect, DT_CALCRECT), 0);
    EXPECT_EQ(rect, TRect{});
    // The prefix character takes no room.
    rect = TRect{0, 0, 0, 0};
    DrawText(canvas->Handle(), "&Exit", &rect, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(rect.Right, canvas->TextWidth("Exit"));
}

TEST(TextDrawing, WordBreakWrapsAtSpacesAndKeepsLongWordsWhole) {
    std::unique_ptr<TBitmap> probe = Page(10, 10);
    const int twoWords = probe->Canvas()->TextWidth("Generate password");
    const TRect rect{0, 0, twoWords + 5, 60};
    TRect measured = rect;
    std::unique_ptr<TBitmap> actual = Page(160, 60);
    EXPECT_EQ(DrawText(actual->Canvas()->Handle(), "Generate password  now please", &measured,
                       DT_CALCRECT | DT_WORDBREAK),
              26);
    EXPECT_EQ(measured.Right, twoWords);
    DrawOn(*actual, "Generate password  now please", rect, DT_WORDBREAK);
    std::unique_ptr<TBitmap> expected = Page(160, 60);
    expected->Canvas()->TextOut(0, 0, "Generate password");
    expected->Canvas()->TextOut(0, 13, "now please");
    EXPECT_TRUE(SamePixels(actual->Pixels(), expected->Pixels(), "wrapped"));

    const std::string_view longWord = "Supercalifragilistic";
    TRect narrow{0, 0, 20, 40};
    EXPECT_EQ(DrawText(actual->Canvas()->Handle(), longWord, &narrow, DT_CALCRECT | DT_WORDBREAK), 13);
    EXPECT_EQ(narrow.Right, probe->Canvas()->TextWidth(longWord));
    TRect words{0, 0, 20, 80};
    EXPECT_EQ(DrawText(actual->Canvas()->Handle(), "ab Supercalifragilistic cd", &words,
                       DT_CALCRECT | DT_WORDBREAK),
              39);
}

TEST(TextDrawing, LineBreaksStartNewLinesUnlessSingleLine) {
    std::unique_ptr<TBitmap> page = Page(100, 60);
    TRect rect{0, 0, 100, 60};
    EXPECT_EQ(DrawText(page->Canvas()->Handle(), "a\r\nb\nc\rd", &rect, DT_CALCRECT), 52);
    rect = TRect{0, 0, 100, 60};
    EXPECT_EQ(DrawText(page->Canvas()->Handle(), "a\n\nb\n", &rect, DT_CALCRECT), 39);
    rect = TRect{0, 0, 100, 60};
    EXPECT_EQ(DrawText(page->Canvas()->Handle(), "a\nb", &rect, DT_CALCRECT | DT_SINGLELINE), 13);
}

TEST(TextDrawing, AmpersandUnderlinesTheAccessKey) {
    const TRect rect{4, 2, 150, 20};
    std::unique_ptr<TBitmap> actual = Page(150, 20);
    DrawOn(*actual, "&Generate", rect, DT_SINGLELINE);
    std::unique_ptr<TBitmap> expected = Page(150, 20);
    expected->Canvas()->TextOut(4, 2, "Generate");
    TFontMetrics metrics = TFontEngine::Instance().Metrics(expected->Canvas()->Font()->Request());
    const int top = 2 + metrics.Ascent + metrics.UnderlinePosition;
    expected->Canvas()->Brush()->SetColor(clBlack);
    expected->Canvas()->FillRect(
        TRect{4, top, 4 + expected->Canvas()->TextWidth("G"), top + std::max(1, metrics.UnderlineThickness)});
    EXPECT_TRUE(SamePixels(actual->Pixels(), expected->Pixels(), "access-key"));

    auto same = [&](std::string_view text, unsigned format, std::string_view plain, const char* name) {
        std::unique_ptr<TBitmap> a = Page(150, 20);
        DrawOn(*a, text, rect, format | DT_SINGLELINE);
        std::unique_ptr<TBitmap> e = Page(150, 20);
        e->Canvas()->TextOut(4, 2, plain);
        EXPECT_TRUE(SamePixels(a->Pixels(), e->Pixels(), name));
    };
    same("Save && &Exit", DT_NOPREFIX, "Save && &Exit", "no-prefix");
    same("Save &&more", 0, "Save &more", "double-ampersand");
    same("&Hidden", DT_HIDEPREFIX, "Hidden", "hide-prefix");
    same("trailing&", 0, "trailing", "trailing-ampersand");
}

TEST(TextDrawing, TextIsClippedToTheRectangleUnlessNoClip) {
    std::unique_ptr<TBitmap> clipped = Page(150, 20);
    DrawOn(*clipped, "Generate password", TRect{0, 0, 30, 8}, DT_SINGLELINE);
    TRect ink = InkBox(clipped->Pixels());
    EXPECT_LE(ink.Right, 30);
    EXPECT_LE(ink.Bottom, 8);
    std::unique_ptr<TBitmap> spilled = Page(150, 20);
    DrawOn(*spilled, "Generate password", TRect{0, 0, 30, 8}, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkBox(spilled->Pixels()).Right, 60);
    EXPECT_GT(InkBox(spilled->Pixels()).Bottom, 8);
}

TEST(TextDrawing, TextFollowsTheContextOriginAndClip) {
    std::unique_ptr<TBitmap> page = Page(100, 30);
    HDC dc = page->Canvas()->Handle();
    SetViewportOrgEx(dc, 20, 10, nullptr);
    IntersectClipRect(dc, 0, 0, 15, 13);
    page->Canvas()->TextOut(0, 0, "WWWWWW");
    TRect ink = InkBox(page->Pixels());
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, 20);
    EXPECT_GE(ink.Top, 10);
    EXPECT_LE(ink.Right, 35);
}

TEST(TextDrawing, UnderlinedAndStruckOutFontsDrawTheirLines) {
    std::unique_ptr<TBitmap> page = Page(100, 20);
    TCanvas* canvas = page->Canvas();
    canvas->Font()->SetStyle({fsUnderline, fsStrikeOut});
    canvas->TextOut(3, 2, "Hi there");
    const int width = canvas->TextWidth("Hi there");
    TFontMetrics metrics = TFontEngine::Instance().Metrics(canvas->Font()->Request());
    const int underline = 2 + metrics.Ascent + metrics.UnderlinePosition;
    const int strike = 2 + metrics.Ascent - metrics.StrikeOutPosition;
    EXPECT_TRUE(AreaIs(page->Pixels(), TRect{3, underline, 3 + width, underline + 1}, 0, "underline"));
    EXPECT_TRUE(AreaIs(page->Pixels(), TRect{3, strike, 3 + width, strike + 1}, 0, "strike-out"));
    EXPECT_EQ(page->Pixels().At(3 + width, underline), 0xFFFFFFu);
}

// Pictures for people to look at: both window fonts, plain, bold and underlined, and the
// primitives, written when VARNEL_TEST_ARTIFACTS is set.
TEST(TextDrawing, SamplesForPeopleToLookAt) {
    std::unique_ptr<TBitmap> page = Page(360, 130);
    TCanvas* canvas = page->Canvas();
    int y = 4;
    for (const char* face : {"MS Sans Serif", "Tahoma"}) {
        for (TFontStyles style : {TFontStyles{}, TFontStyles{fsBold}, TFontStyles{fsUnderline}}) {
            canvas->Font()->SetName(face);
            canvas->Font()->SetStyle(style);
            std::string line = std::string(face) + (style.Contains(fsBold)        ? " bold"
                                                    : style.Contains(fsUnderline) ? " underlined"
                                                                                  : "");
            canvas->TextOut(4, y, line + ": Generate password, All keyboard, &Copy");
            y += 16;
        }
    }
    canvas->Font()->SetStyle({});
    canvas->Font()->SetName("Tahoma");
    TRect button{4, y + 4, 124, y + 27};
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Rectangle(button);
    canvas->Brush()->SetStyle(bsClear);
    DrawText(canvas->Handle(), "&Generate password", &button, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_FALSE(InkBox(page->Pixels()).IsEmpty());
    SaveArtifactPng("text", page->Pixels());

    TBitmap shapes(160, 60);
    TCanvas* c = shapes.Canvas();
    c->Brush()->SetColor(clSilver);
    c->Rectangle(2, 2, 40, 30);
    c->Brush()->SetColor(clAqua);
    c->Ellipse(44, 2, 84, 30);
    c->Brush()->SetColor(clYellow);
    c->RoundRect(88, 2, 128, 30, 12, 12);
    const TPoint arrow[] = {{132, 28}, {145, 4}, {158, 28}};
    c->Brush()->SetColor(clNavy);
    c->Polygon(arrow);
    c->Pen()->SetStyle(psDot);
    c->MoveTo(2, 40);
    c->LineTo(158, 40);
    c->Pen()->SetStyle(psSolid);
    c->Pen()->SetWidth(3);
    c->MoveTo(2, 50);
    c->LineTo(158, 56);
    c->DrawFocusRect(TRect{1, 1, 159, 59});
    SaveArtifactPng("primitives", shapes.Pixels());
}

TEST(TextDrawing, LogicalFontsSelectWhatTheyDescribe) {
    TPixelBuffer pixels(10, 10, 0xFFFFFF);
    TDeviceContext dc(&pixels);
    LOGFONT font;
    std::snprintf(font.lfFaceName, LF_FACESIZE, "%s", "Tahoma");
    font.lfHeight = -11;
    HFONT regular = CreateFontIndirect(&font);
    font.lfWeight = FW_BOLD;
    font.lfUnderline = 1;
    HFONT bold = CreateFontIndirect(&font);
    HGDIOBJ old = SelectObject(&dc, regular);
    TEXTMETRIC metrics;
    ASSERT_TRUE(GetTextMetrics(&dc, &metrics));
    EXPECT_EQ(metrics.tmHeight, 13);
    EXPECT_EQ(metrics.tmAscent + metrics.tmDescent, 13);
    EXPECT_EQ(metrics.tmWeight, FW_NORMAL);
    TSize plain;
    GetTextExtentPoint32(&dc, "Generate password", &plain);
    EXPECT_EQ(plain.cx, 94);
    SelectObject(&dc, bold);
    ASSERT_TRUE(GetTextMetrics(&dc, &metrics));
    EXPECT_EQ(metrics.tmWeight, FW_BOLD);
    EXPECT_EQ(metrics.tmUnderlined, 1);
    TSize heavy;
    GetTextExtentPoint32(&dc, "Generate password", &heavy);
    EXPECT_GT(heavy.cx, plain.cx);
    SelectObject(&dc, old);
    EXPECT_TRUE(DeleteObject(regular));
    EXPECT_TRUE(DeleteObject(bold));
    // A face name that fills all 32 bytes without a terminating zero is read safely.
    std::memset(font.lfFaceName, 'A', LF_FACESIZE);
    HFONT unterminated = CreateFontIndirect(&font);
    SelectObject(&dc, unterminated);
    EXPECT_EQ(dc.Font().Request.Name, std::string(LF_FACESIZE, 'A'));
    DeleteObject(unterminated);
}

TEST(TextDrawing, TextRectFillsAndClipsToItsRectangle) {
    std::unique_ptr<TBitmap> page = Page(100, 20);
    TCanvas* canvas = page->Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->TextRect(TRect{10, 2, 40, 15}, 12, 3, "Generate password");
    EXPECT_EQ(page->Pixels().At(10, 2), 0xFF0000u) << "a solid brush fills the rectangle";
    EXPECT_EQ(page->Pixels().At(39, 14), 0xFF0000u);
    TRect ink = InkBox(page->Pixels());
    EXPECT_EQ(ink, (TRect{10, 2, 40, 15})) << "nothing outside the rectangle";
    canvas->Brush()->SetStyle(bsClear);
    std::unique_ptr<TBitmap> clear = Page(100, 20);
    clear->Canvas()->TextRect(TRect{10, 2, 40, 15}, 12, 3, "Generate password");
    EXPECT_EQ(clear->Pixels().At(10, 2), 0xFFFFFFu);
    EXPECT_LE(InkBox(clear->Pixels()).Right, 40);
}
