#include "skin/controls/SUIProgressBar.h"
#include "tests/skin/controls/SkinControlFixture.h"
#include "tests/support/Artifacts.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Picture.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kFill = 0xFF0000;   // the test picture
constexpr std::uint32_t kEmpty = 0x00FF00;  // Color
constexpr std::uint32_t kBorder = 0x0000FF; // BorderColor

class TCountingBar : public TsuiProgressBar {
public:
    using TsuiProgressBar::TsuiProgressBar;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TsuiProgressBar::Paint();
    }
};

class ProgressBarTest : public TSkinControlFixture {
protected:
    // The main window's bar: 361 wide, 0 to 100, with a plain picture and colours easy to tell.
    TCountingBar* NewBar(int width = 361) {
        auto* bar = Place<TCountingBar>("suiProgressBar1", Bounds(10, 10, width, 12));
        bar->SetUIStyle(MacOS);
        TPicture picture;
        picture.Bitmap()->SetSize(3, 10);
        picture.Bitmap()->Pixels().Fill(kFill);
        bar->SetPicture(&picture);
        bar->SetColor(static_cast<TColor>(0x0000FF00));
        bar->SetBorderColor(static_cast<TColor>(0x00FF0000));
        return bar;
    }
};

TEST_F(ProgressBarTest, FillLengthAndCaptionAtTheMainWindowsWidth) {
    TCountingBar* bar = NewBar();
    bar->SetShowCaption(false);
    Show();
    struct {
        int position;
        int fill; // GetFillLength(360)
        const char* caption;
    } const cases[] = {{0, 0, "0%"}, {1, 3, "1%"}, {50, 180, "50%"}, {100, 360, "100%"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        bar->SetPosition(c.position);
        EXPECT_EQ(bar->GetFillLength(360), c.fill);
        EXPECT_EQ(bar->Text(), c.caption);
        const TPixelBuffer shot = Shot(bar);
        const int a = std::max(c.fill, 1);
        EXPECT_TRUE(AreaIs(shot, {1, 1, a, 11}, kFill, "filled"));
        EXPECT_TRUE(AreaIs(shot, {a, 1, 360, 11}, kEmpty, "unfilled"));
        EXPECT_EQ(CountOf(shot, {0, 0, 361, 12}, kBorder), 2 * 361 + 2 * 10);
    }
}

TEST_F(ProgressBarTest, ThePercentIsTruncatedAndNotLimited) {
    TCountingBar* bar = NewBar();
    bar->SetPosition(33);
    EXPECT_EQ(bar->Text(), "33%");
    bar->SetMax(3);
    bar->SetPosition(1);
    EXPECT_EQ(bar->Text(), "33%");
    bar->SetMax(100);
    bar->SetPosition(150);
    EXPECT_EQ(bar->Text(), "150%");
    EXPECT_EQ(bar->GetFillLength(360), 360);
    bar->SetPosition(-5);
    EXPECT_EQ(bar->Text(), "-5%");
    EXPECT_EQ(bar->GetFillLength(360), 0);
    // Min = Max: 0% and an empty bar; Min > Max: the formula's value, still empty.
    bar->SetMin(10);
    bar->SetMax(10);
    bar->SetPosition(10);
    EXPECT_EQ(bar->Text(), "0%");
    EXPECT_EQ(bar->GetFillLength(360), 0);
    bar->SetMin(20);
    bar->SetPosition(15);
    EXPECT_EQ(bar->Text(), "50%");
    EXPECT_EQ(bar->GetFillLength(360), 0);
}

TEST_F(ProgressBarTest, LargeRangesKeepTheRightPercentAndFill) {
    TCountingBar* bar = NewBar();
    bar->SetMax(100000000);
    bar->SetPosition(50000000);
    EXPECT_EQ(bar->Text(), "50%");
    EXPECT_EQ(bar->GetFillLength(360), 180);
    // The whole 32-bit range.
    bar->SetMin(INT32_MIN);
    bar->SetMax(INT32_MAX);
    bar->SetPosition(0);
    EXPECT_EQ(bar->Text(), "50%");
    EXPECT_EQ(bar->GetFillLength(360), 180);
    bar->SetPosition(INT32_MAX);
    EXPECT_EQ(bar->Text(), "100%");
    bar->SetMax(INT32_MIN + 1);
    EXPECT_EQ(bar->GetPercent(), std::int64_t{INT32_MAX} * 100 + std::int64_t{INT32_MAX} * 100 + 100);
}

TEST_F(ProgressBarTest, SmartShowCaptionHidesTheCaptionAtMinOnly) {
    TCountingBar* bar = NewBar();
    bar->SetCaptionColor(static_cast<TColor>(0x00000000));
    bar->SetPicture(nullptr);
    Show();
    auto ink = [&] { return CountOf(Shot(bar), {1, 1, 360, 11}, 0x000000); };
    bar->SetPosition(0);
    EXPECT_GT(ink(), 5);
    bar->SetSmartShowCaption(true);
    EXPECT_EQ(ink(), 0);
    bar->SetPosition(1);
    EXPECT_GT(ink(), 5);
    bar->SetShowCaption(false);
    EXPECT_EQ(ink(), 0);
}

TEST_F(ProgressBarTest, TheThicknessStaysTwelveAndTurningTheBarSwapsItsSides) {
    TCountingBar* bar = NewBar();
    bar->SetHeight(20);
    EXPECT_EQ(bar->Height(), 12);
    bar->SetBounds(30, 40, 200, 20); // refused whole
    EXPECT_EQ(bar->BoundsRect(), Bounds(10, 10, 361, 12));
    bar->SetWidth(200);
    EXPECT_EQ(bar->Width(), 200);

    bar->SetOrientation(suiVertical);
    EXPECT_EQ(bar->Width(), 12);
    EXPECT_EQ(bar->Height(), 200);
    bar->SetWidth(20);
    EXPECT_EQ(bar->Width(), 12);
    bar->SetOrientation(suiHorizontal);
    EXPECT_EQ(bar->BoundsRect(), Bounds(10, 10, 200, 12));
}

TEST_F(ProgressBarTest, AVerticalBarFillsFromTheBottomWithThePictureTurnedAndNeverShowsItsCaption) {
    TCountingBar* bar = NewBar(100);
    bar->SetOrientation(suiVertical);
    // The orientation reads the look again.
    bar->SetColor(static_cast<TColor>(0x0000FF00));
    // A picture whose rows differ: the top row red, the others blue.
    TPicture picture;
    picture.Bitmap()->SetSize(10, 4);
    picture.Bitmap()->Pixels().Fill(0x0000FF);
    for (int x = 0; x < 10; ++x) {
        picture.Bitmap()->Pixels().Set(x, 0, kFill);
    }
    bar->SetPicture(&picture);
    Show();
    EXPECT_FALSE(bar->ShowCaption());
    bar->SetPosition(50);
    const TPixelBuffer shot = Shot(bar);
    const int e = 99 - bar->GetFillLength(99);
    EXPECT_EQ(e, 50);
    EXPECT_TRUE(AreaIs(shot, {1, 1, 11, e}, kEmpty, "unfilled top"));
    EXPECT_EQ(CountNot(shot, {1, e, 11, 99}, kEmpty), 10 * (99 - e));
    // Upside down: the picture's top row at the bottom of the band, its bottom row on top.
    EXPECT_TRUE(AreaIs(shot, {1, 98, 11, 99}, kFill, "bottom row"));
    EXPECT_TRUE(AreaIs(shot, {1, e, 11, e + 1}, 0x0000FF, "top row of the band"));
    EXPECT_EQ(CountOf(shot, {0, 0, 12, 100}, 0x000000), 0) << "no caption";
    bar->SetOrientation(suiHorizontal);
    EXPECT_FALSE(bar->ShowCaption());
}

TEST_F(ProgressBarTest, SettingTheSameValueRepaintsNothing) {
    TCountingBar* bar = NewBar();
    Show();
    bar->SetPosition(40);
    bar->paints = 0;
    for (int i = 0; i < 1000; ++i) {
        bar->SetPosition(40);
        bar->SetMin(0);
        bar->SetMax(100);
    }
    EXPECT_EQ(bar->paints, 0);
    bar->SetPosition(41);
    EXPECT_EQ(bar->paints, 1);
}

TEST_F(ProgressBarTest, TheLookGivesPictureAndColoursEveryTime) {
    auto* bar = Place<TsuiProgressBar>("Bar", Bounds(10, 10, 200, 12));
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        bar->SetUIStyle(style);
        EXPECT_EQ(bar->Color(), GetBuiltInThemeColor(style, TsuiThemeElement::ControlBackgroundColor));
        EXPECT_EQ(bar->BorderColor(), GetBuiltInThemeColor(style, TsuiThemeElement::ControlBorderColor));
        TBitmap expected;
        GetBuiltInThemeBitmap(style, TsuiThemeElement::ProgressBarImage, &expected);
        EXPECT_TRUE(SamePixels(bar->Picture()->Bitmap()->Pixels(), expected.Pixels(), kUIStyleNames[style]));
    }
    bar->SetColor(clRed);
    bar->SetUIStyle(MacOS);
    EXPECT_EQ(bar->Color(), static_cast<TColor>(0xE7E7E7));
    EXPECT_EQ(bar->BorderColor(), static_cast<TColor>(0x7F7F7F));
    bar->SetOrientation(suiVertical);
    EXPECT_EQ(bar->Picture()->Width(), 10);
    EXPECT_EQ(bar->Picture()->Height(), 13);
}

} // namespace
