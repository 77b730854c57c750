#include "toolkit/graphics/ImageList.h"

#include "tests/support/Artifacts.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <gtest/gtest.h>

namespace {

const std::uint32_t kHighlight = ColorToPixel(clBtnHighlight);
const std::uint32_t kShadow = ColorToPixel(clBtnShadow);
const TPixelLegend kLegend = {{'.', 0xFFFFFF}, {'#', 0x000000}, {'r', 0xFF0000},
                              {'b', 0x0000FF}, {'m', 0xFF00FF}, {'s', kShadow}};

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

std::unique_ptr<TBitmap> Background(int width, int height) {
    auto target = std::make_unique<TBitmap>(width, height);
    target->Canvas()->Brush()->SetColor(clBlue);
    target->Canvas()->FillRect(TRect{0, 0, width, height});
    return target;
}

} // namespace

TEST(ImageList, AddMaskedCutsAWideBitmapIntoImages) {
    TImageList list(2, 2);
    std::unique_ptr<TBitmap> strip = FromPicture({"#mrmm.", "m#mr.m"});
    EXPECT_EQ(list.AddMasked(strip.get(), clFuchsia), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.AddMasked(strip.get(), clDefault), 3) << "clDefault: the bitmap's bottom-left pixel";
    EXPECT_EQ(list.Count(), 6);
    std::unique_ptr<TBitmap> target = Background(5, 2);
    list.Draw(target->Canvas(), 0, 0, 0);
    list.Draw(target->Canvas(), 2, 0, 1);
    list.Draw(target->Canvas(), 4, 0, 2);
    EXPECT_TRUE(PixelsMatch(target->Pixels(), {"#brbb", "b#br."}, kLegend, "masked"));
}

TEST(ImageList, AddTakesTransparencyFromTheMask) {
    TImageList list(3, 1);
    std::unique_ptr<TBitmap> image = FromPicture({"rr#"});
    std::unique_ptr<TBitmap> mask = FromPicture({".#."});
    EXPECT_EQ(list.Add(image.get(), mask.get()), 0);
    EXPECT_EQ(list.Add(image.get(), nullptr), 1);
    std::unique_ptr<TBitmap> target = Background(3, 2);
    list.Draw(target->Canvas(), 0, 0, 0);
    list.Draw(target->Canvas(), 0, 1, 1);
    EXPECT_TRUE(PixelsMatch(target->Pixels(), {"brb", "rr#"}, kLegend, "mask"));
    TBitmap out;
    ASSERT_TRUE(list.GetBitmap(0, &out));
    EXPECT_TRUE(PixelsMatch(out.Pixels(), {".r."}, kLegend, "get"));
    EXPECT_FALSE(list.GetBitmap(2, &out));
}

TEST(ImageList, DisabledImagesAreDrawnGreyed) {
    TImageList list(3, 3);
    std::unique_ptr<TBitmap> image = FromPicture({"r.m", "#rm", "mmm"});
    list.AddMasked(image.get(), clFuchsia);
    std::unique_ptr<TBitmap> target = Background(4, 4);
    list.Draw(target->Canvas(), 0, 0, 0, false);
    // Opaque pixels that are not white become the shadow; the highlight (white) lies under
    // them, one pixel down and to the right. White and transparent pixels leave the background.
    ASSERT_EQ(kHighlight, 0xFFFFFFu);
    EXPECT_TRUE(PixelsMatch(target->Pixels(), {"sbbb", "ssbb", "b..b", "bbbb"}, kLegend, "greyed"));
}

TEST(ImageList, BadIndexesAndSizeChanges) {
    TImageList list(2, 2);
    std::unique_ptr<TBitmap> image = FromPicture({"##", "##"});
    list.AddMasked(image.get(), clNone);
    std::unique_ptr<TBitmap> target = Background(2, 2);
    list.Draw(target->Canvas(), 0, 0, 5);
    list.Draw(target->Canvas(), 0, 0, -1);
    list.Draw(nullptr, 0, 0, 0);
    EXPECT_TRUE(AreaIs(target->Pixels(), target->Pixels().Bounds(), 0x0000FF, "untouched"));
    EXPECT_EQ(list.AddMasked(nullptr, clNone), -1);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.SetWidth(4);
    EXPECT_EQ(list.Count(), 0) << "a new size removes the images";
    EXPECT_EQ(changes, 1);
    list.SetWidth(4);
    EXPECT_EQ(changes, 1);
}
