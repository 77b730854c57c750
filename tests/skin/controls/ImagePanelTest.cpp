#include "PanelsTestSupport.h"
#include "skin/controls/SUIImagePanel.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/windowing/WinUser.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;
constexpr TColor kMagenta = 0xFF00FF;
constexpr TColor kPanelColor = 0x00204060;
constexpr TColor kFormColor = 0x00C0C0C0;

class ImagePanelTest : public TPanelsFixture {
protected:
    void SetUp() override {
        form = ShownForm(kFormColor);
        panel = new TsuiImagePanel(form);
        panel->SetParent(form);
        panel->SetBounds(20, 20, 10, 8);
        panel->SetParentColor(false);
        panel->SetColor(kPanelColor);
        // A 4 × 3 picture: red with a blue top-left pixel and a magenta bottom row.
        FillBitmap(picture, {"BRRR", "RRRR", "MMMM"}, {{'B', kBlue}, {'R', kRed}, {'M', kMagenta}});
    }

    void SetPicture() {
        TPicture p;
        p.SetGraphic(&picture);
        panel->SetPicture(&p);
        Pump();
    }
    // Rows of the panel as characters: B blue, R red, M magenta, P the panel's colour, F the form's.
    std::vector<std::string> Shown() {
        std::vector<std::string> rows;
        for (int y = 0; y < panel->Height(); ++y) {
            std::string row;
            for (int x = 0; x < panel->Width(); ++x) {
                const std::uint32_t p = PixelAt(panel, x, y);
                row += p == Px(kBlue)         ? 'B'
                       : p == Px(kRed)        ? 'R'
                       : p == Px(kMagenta)    ? 'M'
                       : p == Px(kPanelColor) ? 'P'
                       : p == Px(kFormColor)  ? 'F'
                                              : '?';
            }
            rows.push_back(row);
        }
        return rows;
    }

    TForm* form = nullptr;
    TsuiImagePanel* panel = nullptr;
    TBitmap picture;
};

TEST_F(ImagePanelTest, APanelHasNoBevelsAndWithoutAPictureShowsItsColour) {
    EXPECT_EQ(panel->BevelInner(), bvNone);
    EXPECT_EQ(panel->BevelOuter(), bvNone);
    EXPECT_EQ(panel->Alignment(), taCenter);
    Pump();
    EXPECT_TRUE(AllPixels(panel, panel->ClientRect(), Px(kPanelColor)));
}

TEST_F(ImagePanelTest, APlainPictureIsDrawnOnceAtTheTopLeftCorner) {
    SetPicture();
    const std::vector<std::string> expected = {"BRRRPPPPPP", "RRRRPPPPPP", "MMMMPPPPPP", "PPPPPPPPPP",
                                               "PPPPPPPPPP", "PPPPPPPPPP", "PPPPPPPPPP", "PPPPPPPPPP"};
    EXPECT_EQ(Shown(), expected);
}

TEST_F(ImagePanelTest, AStretchedPictureFillsThePanel) {
    panel->SetBounds(20, 20, 8, 6);
    panel->SetDrawStyle(suiStretch);
    SetPicture();
    const std::vector<std::string> expected = {"BBRRRRRR", "BBRRRRRR", "RRRRRRRR",
                                               "RRRRRRRR", "MMMMMMMM", "MMMMMMMM"};
    EXPECT_EQ(Shown(), expected);
}

TEST_F(ImagePanelTest, ATiledPictureRepeatsFromTheTopLeftCorner) {
    panel->SetDrawStyle(suiTile);
    SetPicture();
    const std::vector<std::string> expected = {"BRRRBRRRBR", "RRRRRRRRRR", "MMMMMMMMMM", "BRRRBRRRBR",
                                               "RRRRRRRRRR", "MMMMMMMMMM", "BRRRBRRRBR", "RRRRRRRRRR"};
    EXPECT_EQ(Shown(), expected);
}

TEST_F(ImagePanelTest, ASeeThroughPanelShowsItsParentThroughThePicturesTransparentColour) {
    panel->SetTransparent(true);
    SetPicture();
    // The bitmap's own transparent colour is its bottom-left pixel, magenta here.
    EXPECT_TRUE(panel->Picture()->Graphic()->Transparent());
    const std::vector<std::string> expected = {"BRRRFFFFFF", "RRRRFFFFFF", "FFFFFFFFFF", "FFFFFFFFFF",
                                               "FFFFFFFFFF", "FFFFFFFFFF", "FFFFFFFFFF", "FFFFFFFFFF"};
    EXPECT_EQ(Shown(), expected);
    // Turning it off gives the picture its magenta back and the panel its colour.
    panel->SetTransparent(false);
    Pump();
    EXPECT_FALSE(panel->Picture()->Graphic()->Transparent());
    EXPECT_EQ(Shown()[2], "MMMMPPPPPP");
}

TEST_F(ImagePanelTest, AutoSizeTakesThePicturesSizeOnTheSidesTheAlignmentLeavesFree) {
    panel->SetAutoSize(true);
    SetPicture();
    EXPECT_EQ(panel->Width(), 4);
    EXPECT_EQ(panel->Height(), 3);
    // Aligned to the top, the width is the parent's.
    panel->SetAutoSize(false);
    panel->SetAlign(alTop);
    const int width = panel->Width();
    panel->SetAutoSize(true);
    EXPECT_EQ(panel->Width(), width);
    EXPECT_EQ(panel->Height(), 3);
    // A new picture resizes it again.
    FillBitmap(picture, {"RR", "RR", "RR", "RR", "RR"}, {{'R', kRed}});
    SetPicture();
    EXPECT_EQ(panel->Height(), 5);
    EXPECT_EQ(panel->Width(), width);
}

TEST_F(ImagePanelTest, TheCaptionIsDrawnOnOneLineAfterTheAlignmentAndABlankOneNotAtAll) {
    panel->SetBounds(20, 20, 120, 30);
    panel->Font()->SetColor(clBlack);
    panel->SetCaption("   ");
    Pump();
    EXPECT_TRUE(AllPixels(panel, panel->ClientRect(), Px(kPanelColor)));
    panel->SetCaption("Varnel");
    panel->SetAlignment(taLeftJustify);
    Pump();
    EXPECT_GT(CountPixels(panel, {0, 0, 40, 30}, Px(clBlack)), 0);
    EXPECT_EQ(CountPixels(panel, {80, 0, 120, 30}, Px(clBlack)), 0);
    panel->SetAlignment(taRightJustify);
    Pump();
    EXPECT_EQ(CountPixels(panel, {0, 0, 40, 30}, Px(clBlack)), 0);
    EXPECT_GT(CountPixels(panel, {80, 0, 120, 30}, Px(clBlack)), 0);
    EXPECT_EQ(CountPixels(panel, {0, 0, 120, 5}, Px(clBlack)), 0) << "centred vertically";
}

TEST_F(ImagePanelTest, ErasingTheBackgroundPaintsNothing) {
    TBitmap target(10, 8);
    target.Canvas()->Brush()->SetColor(kBlue);
    target.Canvas()->FillRect({0, 0, 10, 8});
    EXPECT_EQ(
        ::SendMessage(panel->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.Canvas()->Handle()), 0),
        1);
    EXPECT_EQ(target.Pixels().At(5, 5), Px(kBlue));
}

} // namespace
