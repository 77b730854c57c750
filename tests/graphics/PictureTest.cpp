#include "toolkit/graphics/Picture.h"

#include "tests/support/Artifacts.h"
#include "toolkit/components/Properties.h"
#include "toolkit/components/Streams.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/BmpCodec.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/JPEGImage.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::byte> BmpBytes(int width, int height, std::uint32_t fill) {
    std::vector<std::byte> bytes;
    EXPECT_TRUE(EncodeBmp(TPixelBuffer(width, height, fill), bytes).IsOk());
    return bytes;
}

// A 1 × 1 grey baseline JPEG.
const std::vector<std::uint8_t> kTinyJpeg = {
    0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x10, 0x0B, 0x0C, 0x0E, 0x0C, 0x0A, 0x10,
    0x0E, 0x0D, 0x0E, 0x12, 0x11, 0x10, 0x13, 0x18, 0x28, 0x1A, 0x18, 0x16, 0x16, 0x18, 0x31, 0x23,
    0x25, 0x1D, 0x28, 0x3A, 0x33, 0x3D, 0x3C, 0x39, 0x33, 0x38, 0x37, 0x40, 0x48, 0x5C, 0x4E, 0x40,
    0x44, 0x57, 0x45, 0x37, 0x38, 0x50, 0x6D, 0x51, 0x57, 0x5F, 0x62, 0x67, 0x68, 0x67, 0x3E, 0x4D,
    0x71, 0x79, 0x70, 0x64, 0x78, 0x5C, 0x65, 0x67, 0x63, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x01,
    0x00, 0x01, 0x01, 0x01, 0x11, 0x00, 0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xC4, 0x00, 0x14,
    0x10, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0x3F, 0xFF, 0xD9};

std::vector<std::byte> TinyJpeg() {
    std::vector<std::byte> bytes;
    for (std::uint8_t b : kTinyJpeg) {
        bytes.push_back(std::byte(b));
    }
    return bytes;
}

} // namespace

TEST(Picture, ChoosesTheFormatFromTheData) {
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromBytes(BmpBytes(3, 2, 0xFF0000)).IsOk());
    EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Height(), 2);
    TStatus jpeg = picture.LoadFromBytes(TinyJpeg());
    ASSERT_TRUE(jpeg.IsOk()) << jpeg.Message();
    ASSERT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 1);
    const std::byte text[] = {std::byte('G'), std::byte('I'), std::byte('F'), std::byte('8'), std::byte('9')};
    TStatus unknown = picture.LoadFromBytes(text);
    EXPECT_FALSE(unknown.IsOk());
    EXPECT_NE(unknown.Message().find("unknown picture format"), std::string::npos);
    EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr) << "a failed load keeps the picture";
}

TEST(Picture, NotifiesChangesOfItsGraphic) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    TBitmap* bitmap = picture.Bitmap();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(picture.Bitmap(), bitmap) << "already a bitmap: kept";
    bitmap->SetSize(4, 4);
    EXPECT_EQ(changes, 2);
    ASSERT_TRUE(picture.LoadFromBytes(TinyJpeg()).IsOk());
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(picture.Bitmap()->Width(), 0) << "a JPEG asked for as bitmap is replaced by an empty one";
    EXPECT_EQ(changes, 4);
}

TEST(Picture, AssignCopiesTheGraphic) {
    TPicture a;
    a.LoadFromBytes(BmpBytes(2, 2, 0x00FF00));
    TPicture b;
    b.Assign(&a);
    ASSERT_NE(b.Graphic(), nullptr);
    EXPECT_NE(b.Graphic(), a.Graphic());
    a.Bitmap()->Pixels().Fill(0);
    EXPECT_EQ(b.Bitmap()->Pixels().At(0, 0), 0x00FF00u);
    TBitmap loose(5, 1);
    b.Assign(&loose);
    EXPECT_EQ(b.Width(), 5);
    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());
    EXPECT_FALSE(b.SaveToStream(*std::make_unique<TMemoryStream>()).IsOk());
}

TEST(Picture, LayoutDataRoundTrips) {
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromBytes(BmpBytes(3, 1, 0x123456)).IsOk());
    ASSERT_TRUE(picture.HasData());
    EXPECT_FALSE(picture.WriteResource().has_value()) << "not from a resource";
    const TDataInfo* data = TPicture::StaticClassInfo().FindData("Data");
    ASSERT_NE(data, nullptr);
    std::optional<TLayoutValue> written = data->Write(&picture);
    ASSERT_TRUE(written.has_value());
    TPicture read;
    ASSERT_TRUE(data->Read(&read, *written).IsOk());
    EXPECT_EQ(read.Bitmap()->Pixels(), picture.Bitmap()->Pixels());
    const TDataInfo* resource = TPicture::StaticClassInfo().FindData("Resource");
    ASSERT_NE(resource, nullptr);
    TStatus missing = resource->Read(&read, TLayoutValue::Str("NO_SUCH_PICTURE"));
    EXPECT_FALSE(missing.IsOk());
    EXPECT_NE(missing.Message().find("NO_SUCH_PICTURE"), std::string::npos);
    EXPECT_FALSE(resource->Read(&read, TLayoutValue::Int(3)).IsOk());
}

TEST(Picture, JpegPicturesDrawTheirPixels) {
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromBytes(TinyJpeg()).IsOk());
    TBitmap target(3, 3);
    target.Canvas()->StretchDraw(TRect{0, 0, 3, 3}, picture.Graphic());
    std::uint32_t grey = target.Pixels().At(1, 1);
    EXPECT_EQ(grey, target.Pixels().At(2, 2));
    EXPECT_EQ((grey >> 16) & 0xFF, grey & 0xFF) << "a grey JPEG draws grey";
    std::vector<std::byte> saved;
    ASSERT_TRUE(picture.Graphic()->SaveToBytes(saved).IsOk());
    EXPECT_EQ(saved, TinyJpeg()) << "a JPEG saves the bytes it was loaded from";
}
