#include "toolkit/graphics/Bitmap.h"

#include "tests/support/Artifacts.h"
#include "toolkit/components/Properties.h"
#include "toolkit/components/Streams.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"

#include <gtest/gtest.h>

TEST(Bitmap, ResizingKeepsTheTopLeftAndFillsWithTheBrushColour) {
    TBitmap bitmap(2, 2);
    int changes = 0;
    bitmap.OnChange = [&](TObject*) { ++changes; };
    bitmap.Pixels().Fill(0);
    bitmap.Canvas()->Brush()->SetColor(clRed);
    bitmap.SetSize(3, 1);
    EXPECT_EQ(changes, 1);
    bitmap.SetSize(3, 1);
    EXPECT_EQ(changes, 1) << "no change, no notification";
    EXPECT_EQ(bitmap.Pixels().Width(), 3);
    EXPECT_EQ(bitmap.Pixels().At(1, 0), 0u);
    EXPECT_EQ(bitmap.Pixels().At(2, 0), 0xFF0000u);
    bitmap.SetHeight(0);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetSize(-5, 100000);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.ScanLine(0), nullptr);
    bitmap.SetSize(1, 1);
    EXPECT_NE(bitmap.ScanLine(0), nullptr);
    EXPECT_EQ(bitmap.ScanLine(1), nullptr);
}

TEST(Bitmap, AssignMakesAnIndependentCopy) {
    TBitmap source(2, 1);
    source.Pixels().Set(1, 0, 0x123456);
    source.SetTransparent(true);
    source.SetTransparentColor(clRed);
    source.SetPixelFormat(pf24bit);
    TBitmap copy;
    TCanvas* canvas = copy.Canvas(); // the canvas stays valid across Assign
    copy.Assign(&source);
    EXPECT_EQ(copy.Pixels(), source.Pixels());
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentColor(), clRed);
    EXPECT_EQ(copy.PixelFormat(), pf24bit);
    canvas->SetPixels(0, 0, clBlue);
    EXPECT_EQ(copy.Pixels().At(0, 0), 0x0000FFu);
    EXPECT_EQ(source.Pixels().At(0, 0), 0xFFFFFFu);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
}

TEST(Bitmap, SavesAndLoadsBmpThroughStreams) {
    TBitmap original(3, 2);
    original.Canvas()->SetPixels(2, 1, clRed);
    TMemoryStream stream;
    ASSERT_TRUE(original.SaveToStream(stream).IsOk());
    stream.SetPosition(0);
    TBitmap loaded;
    TStatus status = loaded.LoadFromStream(stream);
    ASSERT_TRUE(status.IsOk()) << status.Message();
    EXPECT_TRUE(SamePixels(loaded.Pixels(), original.Pixels(), "round-trip"));
    EXPECT_EQ(loaded.PixelFormat(), pf24bit);
    EXPECT_FALSE(TBitmap().SaveToStream(stream).IsOk()) << "an empty bitmap has no BMP form";
}

TEST(Bitmap, AFailedLoadChangesNothing) {
    TBitmap bitmap(2, 2);
    bitmap.Pixels().Fill(0x00AA00);
    int changes = 0;
    bitmap.OnChange = [&](TObject*) { ++changes; };
    const std::byte junk[] = {std::byte('B'), std::byte('M'), std::byte(1), std::byte(2)};
    EXPECT_FALSE(bitmap.LoadFromBytes(junk).IsOk());
    TStatus missing = bitmap.LoadFromResourceName("NO_SUCH_BITMAP_ANYWHERE");
    EXPECT_FALSE(missing.IsOk());
    EXPECT_EQ(missing.Message(), "Resource NO_SUCH_BITMAP_ANYWHERE not found");
    TStatus noFile = bitmap.LoadFromFile("/nonexistent/picture.bmp");
    EXPECT_FALSE(noFile.IsOk());
    EXPECT_NE(noFile.Message().find("/nonexistent/picture.bmp"), std::string::npos) << noFile.Message();
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Pixels().At(1, 1), 0x00AA00u);
    EXPECT_EQ(changes, 0);
}

TEST(Bitmap, HandleSharesThePixelsAndOutlivesNothing) {
    auto bitmap = std::make_unique<TBitmap>(2, 2);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, bitmap->Handle());
    TRect r{0, 0, 1, 1};
    FillRect(memory, &r, gdi::Typed<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(bitmap->Pixels().At(0, 0), 0u) << "drawing through the handle draws on the bitmap";
    // The bitmap may go while a context still holds its handle; the context keeps the pixels.
    bitmap.reset();
    FillRect(memory, &r, gdi::Typed<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(memory, old);
    DeleteDC(memory);
}

TEST(Bitmap, LayoutDataHoldsTheBmpBytesAndReadsBackTheSamePixels) {
    const TDataInfo* data = TBitmap::StaticClassInfo().FindData("Data");
    ASSERT_NE(data, nullptr);
    TBitmap empty;
    EXPECT_FALSE(data->Write(&empty).has_value()) << "an empty bitmap stores nothing";

    TBitmap glyph(3, 2);
    glyph.Pixels().Set(0, 0, 0xFF00FF);
    glyph.Pixels().Set(2, 1, 0x123456);
    const std::optional<TLayoutValue> written = data->Write(&glyph);
    ASSERT_TRUE(written.has_value());
    TBitmap read;
    ASSERT_TRUE(data->Read(&read, *written));
    EXPECT_TRUE(SamePixels(read.Pixels(), glyph.Pixels(), "read back"));

    // Bytes that are no BMP are an error and leave the bitmap as it was.
    TLayoutValue junk = *written;
    junk.bytes.assign(junk.bytes.size(), std::byte{0x41});
    EXPECT_FALSE(data->Read(&read, junk));
    EXPECT_TRUE(SamePixels(read.Pixels(), glyph.Pixels(), "after junk"));
}
