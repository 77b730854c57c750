// The pictures the program's windows name: each title-bar button state is exactly the frame the
// MacOS look shows for it, the control box's icon is a see-through 16 × 16 drop, the About logo
// decodes to 73 × 73 and meets the window's background pattern at its edges, and the desktop
// icons are PNG files of the sizes their names give.

#include "tools/paint_resources/AppPictures.h"

#include "toolkit/components/Resources.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/JPEGImage.h"
#include "toolkit/graphics/Picture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TBitmap> LoadBitmap(const std::string& name) {
    auto bitmap = std::make_unique<TBitmap>();
    EXPECT_TRUE(bitmap->LoadFromResourceName(name)) << name;
    return bitmap;
}

int Distance(std::uint32_t a, std::uint32_t b) {
    int d = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        d += std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF));
    }
    return d;
}

TEST(AppPictures, TitleButtonStatesAreTheFramesTheMacOSLookShows) {
    const auto strip = LoadBitmap("MACOS_TITLEBTN");
    ASSERT_EQ(strip->Width(), 18 * 17);
    // The title bar's frames (counted from 1): minimise 13 to 15, close 16 to 18.
    const struct {
        const char* name;
        int frame;
    } states[] = {{"TITLE_MIN_NORMAL", 13},   {"TITLE_MIN_MOUSEON", 14},   {"TITLE_MIN_MOUSEDOWN", 15},
                  {"TITLE_CLOSE_NORMAL", 16}, {"TITLE_CLOSE_MOUSEON", 17}, {"TITLE_CLOSE_MOUSEDOWN", 18}};
    for (const auto& state : states) {
        const auto picture = LoadBitmap(state.name);
        ASSERT_EQ(picture->Width(), 17) << state.name;
        ASSERT_EQ(picture->Height(), 17) << state.name;
        int mismatches = 0;
        for (int y = 0; y < 17; ++y) {
            for (int x = 0; x < 17; ++x) {
                mismatches += picture->Pixels().At(x, y) != strip->Pixels().At((state.frame - 1) * 17 + x, y);
            }
        }
        EXPECT_EQ(mismatches, 0) << state.name;
    }
}

TEST(AppPictures, ControlBoxIconIsASeeThroughDropOfSixteenPixels) {
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromResourceName("TITLE_CONTROLBOX"));
    auto* icon = dynamic_cast<TIcon*>(picture.Graphic());
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->Width(), 16);
    EXPECT_EQ(icon->Height(), 16);
    // Drawn over a magenta canvas: the corners let it through, the middle does not.
    TBitmap canvas(16, 16);
    canvas.Pixels().Fill(0xFF00FF);
    canvas.Canvas()->Draw(0, 0, icon);
    EXPECT_EQ(canvas.Pixels().At(0, 0), 0xFF00FFu);
    EXPECT_EQ(canvas.Pixels().At(15, 15), 0xFF00FFu);
    EXPECT_GT(Distance(canvas.Pixels().At(8, 8), 0xFF00FF), 200);
}

TEST(AppPictures, AboutLogoDecodesAndJoinsTheWindowBackground) {
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromResourceName("ABOUT_LOGO"));
    auto* jpeg = dynamic_cast<TJPEGImage*>(picture.Graphic());
    ASSERT_NE(jpeg, nullptr);
    ASSERT_EQ(jpeg->Width(), 73);
    ASSERT_EQ(jpeg->Height(), 73);
    const auto pattern = LoadBitmap("MACOS_FORM_BACKGROUND");
    ASSERT_EQ(pattern->Width(), 8);
    // Along the left and right edges the logo shows the pattern it is placed on, within what the
    // compression changes.
    int worst = 0;
    for (int y = 0; y < 73; ++y) {
        for (const int x : {0, 72}) {
            worst = std::max(worst,
                             Distance(jpeg->Bitmap().Pixels().At(x, y), pattern->Pixels().At(x % 8, y % 8)));
        }
    }
    EXPECT_LE(worst, 12);
    // The middle shows the key tile, nothing like the grey background.
    EXPECT_GT(Distance(jpeg->Bitmap().Pixels().At(36, 60), pattern->Pixels().At(4, 4)), 100);
}

TEST(AppPictures, DesktopIconsArePngFilesOfTheirSize) {
    int icons = 0;
    for (const TAppPictureFile& file : AppPictureFiles()) {
        if (file.path.rfind("icons/", 0) != 0) {
            continue;
        }
        ++icons;
        std::ifstream in(std::filesystem::path(VARNEL_SOURCE_DIR) / "resources" / file.path,
                         std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        ASSERT_GT(bytes.size(), 24u) << file.path;
        EXPECT_EQ(bytes[1], 'P');
        // The width and height of the IHDR chunk, big-endian at bytes 16 and 20.
        const auto word = [&](int at) {
            return static_cast<int>(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 |
                   bytes[at + 3];
        };
        const std::string expected = "icons/varnel-" + std::to_string(word(16)) + ".png";
        EXPECT_EQ(file.path, expected);
        EXPECT_EQ(word(16), word(20)) << file.path;
    }
    EXPECT_GE(icons, 4);
}

} // namespace
