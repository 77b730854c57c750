#include "toolkit/graphics/Canvas.h"

#include "tests/support/Artifacts.h"
#include "toolkit/components/Properties.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Gdi.h"

#include <gtest/gtest.h>

namespace {

const TPixelLegend kLegend = {{'.', 0xFFFFFF}, {'#', 0x000000}, {'r', 0xFF0000},
                              {'b', 0x0000FF}, {'m', 0xFF00FF}, {'g', 0x00FF00}};

// A bitmap drawn from a picture in legend characters.
std::unique_ptr<TBitmap> FromPicture(const std::vector<std::string>& rows) {
    auto bitmap = std::make_unique<TBitmap>(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < bitmap->Height(); ++y) {
        for (int x = 0; x < bitmap->Width(); ++x) {
            bitmap->Pixels().Set(x, y,
                                 kLegend.at(rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]));
        }
    }
    return bitmap;
}

} // namespace

TEST(Canvas, ShapesUseThePenAndTheBrushAsTheyAreNow) {
    TBitmap bitmap(8, 5);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clRed);
    canvas->Rectangle(0, 0, 4, 4);
    canvas->Pen()->SetColor(clBlue);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(4, 0, 8, 3);
    canvas->Brush()->SetColor(clLime); // a colour makes the brush solid again
    canvas->FillRect(TRect{5, 3, 8, 5});
    canvas->FrameRect(TRect{0, 4, 3, 5});
    EXPECT_TRUE(PixelsMatch(bitmap.Pixels(), {"####bbbb", "#rr#b..b", "#rr#bbbb", "####.ggg", "ggg..ggg"},
                            kLegend, "shapes"));
}

TEST(Canvas, HandleCarriesTheCanvasColoursForClassicCalls) {
    TBitmap bitmap(4, 4);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Font()->SetColor(clRed);
    canvas->Brush()->SetColor(clBlue);
    HDC dc = canvas->Handle();
    EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(clRed));
    EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(clBlue));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    canvas->Brush()->SetStyle(bsClear);
    EXPECT_EQ(GetBkMode(canvas->Handle()), TRANSPARENT);
    canvas->Font()->SetColor(clBtnFace);
    EXPECT_EQ(GetTextColor(canvas->Handle()), static_cast<COLORREF>(ColorToRGB(clBtnFace)));
    // What classic code sets on the handle stays until the canvas's own objects change.
    SetBkMode(canvas->Handle(), OPAQUE);
    SetTextColor(canvas->Handle(), 0x00FF00);
    EXPECT_EQ(GetBkMode(canvas->Handle()), OPAQUE);
    EXPECT_EQ(GetTextColor(canvas->Handle()), 0x00FF00u);
    canvas->Brush()->SetStyle(bsClear);
    EXPECT_EQ(GetBkMode(canvas->Handle()), OPAQUE) << "no change: nothing applied";
    canvas->Brush()->SetColor(clBlue);
    canvas->Brush()->SetStyle(bsClear);
    EXPECT_EQ(GetBkMode(canvas->Handle()), TRANSPARENT);
    canvas->Font()->SetColor(clBlack);
    EXPECT_EQ(GetTextColor(canvas->Handle()), 0u);
    // A new context gets everything.
    TPixelBuffer other(2, 2);
    TDeviceContext otherDc(&other);
    canvas->SetHandle(&otherDc);
    EXPECT_EQ(GetBkMode(canvas->Handle()), TRANSPARENT);
    EXPECT_EQ(GetTextColor(canvas->Handle()), 0u);
    canvas->SetHandle(&bitmap.DeviceContext());
}

TEST(Canvas, PatternBrushTilesFromTheOriginAndOwnsItsPattern) {
    TBitmap target(6, 3);
    {
        std::unique_ptr<TBitmap> pattern = FromPicture({"#.", ".r"});
        target.Canvas()->Brush()->SetBitmap(pattern.get());
    }
    target.Canvas()->FillRect(TRect{1, 0, 6, 3});
    EXPECT_TRUE(PixelsMatch(target.Pixels(), {"..#.#.", ".r.r.r", "..#.#."}, kLegend, "pattern"));
    target.Canvas()->Brush()->SetBitmap(nullptr);
    target.Canvas()->Brush()->SetColor(clBlack);
    target.Canvas()->FillRect(TRect{0, 0, 1, 1});
    EXPECT_EQ(target.Pixels().At(0, 0), 0u);
}

TEST(Canvas, DrawLeavesOutTheTransparentColour) {
    std::unique_ptr<TBitmap> sprite = FromPicture({"#mr", "mmm"});
    TBitmap target(4, 2);
    target.Canvas()->Brush()->SetColor(clBlue);
    target.Canvas()->FillRect(TRect{0, 0, 4, 2});
    target.Canvas()->Draw(0, 0, sprite.get());
    EXPECT_TRUE(PixelsMatch(target.Pixels(), {"#mrb", "mmmb"}, kLegend, "opaque"));
    sprite->SetTransparent(true);
    EXPECT_EQ(sprite->TransparentColor(), clFuchsia) << "the bottom-left pixel by default";
    target.Canvas()->FillRect(TRect{0, 0, 4, 2});
    target.Canvas()->Draw(1, 0, sprite.get());
    EXPECT_TRUE(PixelsMatch(target.Pixels(), {"b#br", "bbbb"}, kLegend, "transparent"));
    sprite->SetTransparentColor(clBlack);
    EXPECT_EQ(sprite->TransparentMode(), tmFixed);
    target.Canvas()->Draw(0, 0, sprite.get());
    EXPECT_TRUE(PixelsMatch(target.Pixels(), {"bmrr", "mmmb"}, kLegend, "fixed"));
    sprite->SetTransparentColor(clDefault);
    EXPECT_EQ(sprite->TransparentMode(), tmAuto);
}

TEST(Canvas, StretchDrawAndCopyRectScaleByNearestPixel) {
    std::unique_ptr<TBitmap> source = FromPicture({"#r", "bg"});
    TBitmap target(4, 4);
    target.Canvas()->StretchDraw(TRect{0, 0, 4, 4}, source.get());
    EXPECT_TRUE(PixelsMatch(target.Pixels(), {"##rr", "##rr", "bbgg", "bbgg"}, kLegend, "stretch"));
    TBitmap copy(2, 1);
    copy.Canvas()->CopyRect(TRect{0, 0, 2, 1}, target.Canvas(), TRect{1, 1, 3, 2});
    EXPECT_TRUE(PixelsMatch(copy.Pixels(), {"#r"}, kLegend, "copy"));
    copy.Canvas()->SetCopyMode(cmDstInvert);
    copy.Canvas()->CopyRect(TRect{0, 0, 2, 1}, target.Canvas(), TRect{1, 1, 3, 2});
    EXPECT_EQ(copy.Pixels().At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(copy.Pixels().At(1, 0), 0x00FFFFu);
}

TEST(Canvas, PixelsAndClipRect) {
    TBitmap bitmap(3, 3);
    TCanvas* canvas = bitmap.Canvas();
    canvas->SetPixels(1, 2, clRed);
    EXPECT_EQ(canvas->Pixels(1, 2), clRed);
    EXPECT_EQ(canvas->Pixels(3, 0), -1);
    EXPECT_EQ(canvas->Pixels(-1, 0), static_cast<TColor>(CLR_INVALID));
    EXPECT_EQ(canvas->ClipRect(), (TRect{0, 0, 3, 3}));
    IntersectClipRect(canvas->Handle(), 1, 1, 5, 5);
    EXPECT_EQ(canvas->ClipRect(), (TRect{1, 1, 3, 3}));
}

TEST(Canvas, LinesMoveThePenPosition) {
    TBitmap bitmap(5, 2);
    TCanvas* canvas = bitmap.Canvas();
    canvas->MoveTo(0, 0);
    canvas->LineTo(4, 0);
    EXPECT_EQ(canvas->PenPos(), (TPoint{4, 0}));
    canvas->Pen()->SetStyle(psClear);
    canvas->LineTo(4, 1);
    EXPECT_EQ(canvas->PenPos(), (TPoint{4, 1}));
    const TPoint points[] = {{0, 1}, {3, 1}};
    canvas->Pen()->SetStyle(psSolid);
    canvas->Polyline(points);
    EXPECT_TRUE(PixelsMatch(bitmap.Pixels(), {"####.", "###.."}, kLegend, "lines"));
}

TEST(Canvas, WithoutAContextNothingHappens) {
    TCanvas canvas;
    canvas.Rectangle(0, 0, 10, 10);
    canvas.TextOut(0, 0, "text");
    canvas.Draw(0, 0, nullptr);
    EXPECT_EQ(canvas.Handle(), nullptr);
    EXPECT_EQ(canvas.Pixels(0, 0), static_cast<TColor>(CLR_INVALID));
    EXPECT_EQ(canvas.TextWidth("text"), 0);
}

TEST(Canvas, DrawingLeaksNoHandles) {
    {
        // The stock objects contexts start with are made once, on first use.
        TBitmap warmUp(2, 2);
        warmUp.Canvas()->Rectangle(0, 0, 1, 1);
        for (int stock = 0; stock <= kStockDefaultBitmap; ++stock) {
            GetStockObject(stock);
        }
    }
    std::size_t before = gdi::ObjectCount();
    {
        TBitmap bitmap(10, 10);
        TCanvas* canvas = bitmap.Canvas();
        for (int i = 0; i < 20; ++i) {
            canvas->Pen()->SetColor(static_cast<TColor>(i));
            canvas->Brush()->SetColor(static_cast<TColor>(i * 3));
            canvas->Font()->SetHeight(-10 - i % 3);
            canvas->Rectangle(0, 0, 5, 5);
            canvas->TextOut(0, 0, "x");
        }
        TBitmap pattern(2, 2);
        canvas->Brush()->SetBitmap(&pattern);
        canvas->FillRect(TRect{0, 0, 10, 10});
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, bitmap.Handle());
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    EXPECT_EQ(gdi::ObjectCount(), before);
}

TEST(Canvas, ColourNamesAreKnownToLayouts) {
    EXPECT_EQ(IdentToInt("TColor", "clBtnFace"), std::optional<std::int64_t>(clBtnFace));
    EXPECT_EQ(IdentToInt("TColor", "clred"), std::optional<std::int64_t>(clRed));
    EXPECT_EQ(IntToIdent("TColor", clWindowText), std::optional<std::string>("clWindowText"));
    EXPECT_EQ(IntToIdent("TColor", 0x123456), std::nullopt);
    RegisterColorIdents(); // again: no second set of names
    EXPECT_EQ(IntToIdent("TColor", clNone), std::optional<std::string>("clNone"));
}
