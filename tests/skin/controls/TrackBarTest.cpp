#include "PanelsTestSupport.h"
#include "skin/controls/SUITrackBar.h"
#include "toolkit/components/LayoutReader.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/windowing/WinUser.h"

#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// A window with a track bar whose range lies below 0, made from a layout.
class TTrackWindow : public TForm {
    VARNEL_CLASS(TTrackWindow, TForm)

public:
    explicit TTrackWindow(TComponent* owner) : TForm(owner) {}
    TsuiTrackBar* suiTrackBar1 = nullptr;
    int changes = 0;
    void suiTrackBar1Change(TObject*) { ++changes; }
};

VARNEL_CLASS_INFO(TTrackWindow, [](auto& c) {
    c.Field("suiTrackBar1", &TTrackWindow::suiTrackBar1);
    c.Handler("suiTrackBar1Change", &TTrackWindow::suiTrackBar1Change);
})

namespace {

constexpr TColor kFormColor = 0x00C0D0E0;

class TrackBarTest : public TPanelsFixture {
protected:
    void SetUp() override {
        form = ShownForm(kFormColor);
        track = new TsuiTrackBar(form);
        track->SetParent(form);
        track->SetBounds(20, 20, 110, 30);
        // No focus mark over the pixels the tests read.
        track->SetTabStop(false);
        track->OnChange = [this](TObject* sender) {
            EXPECT_EQ(sender, track);
            ++changes;
        };
        Pump();
    }

    // Gives the track a slider of the given length (and the look's thickness) of one colour.
    void UseSlider(int length) {
        TBitmap bitmap(length, 20);
        bitmap.Canvas()->Brush()->SetColor(clRed);
        bitmap.Canvas()->FillRect({0, 0, length, 20});
        TPicture picture;
        picture.SetGraphic(&bitmap);
        track->SetSliderImage(&picture);
        track->Slider()->SetTransparent(false);
    }
    // The columns of the bottom row that show a tick.
    std::vector<int> TickColumns() {
        Pump();
        std::vector<int> columns;
        for (int x = 0; x < track->Width(); ++x) {
            if (PixelAt(track, x, track->Height() - 1) == Px(clBlack)) {
                columns.push_back(x);
            }
        }
        return columns;
    }

    TForm* form = nullptr;
    TsuiTrackBar* track = nullptr;
    int changes = 0;
};

TEST_F(TrackBarTest, ANewTrackBarTakesTheLooksPicturesAndItsSlidersThickness) {
    EXPECT_TRUE(TsuiTrackBar(nullptr).TabStop());
    EXPECT_EQ(track->Min(), 0);
    EXPECT_EQ(track->Max(), 10);
    EXPECT_EQ(track->PageSize(), 2);
    EXPECT_EQ(track->LineSize(), 1);
    EXPECT_EQ(track->Frequency(), 1);
    EXPECT_TRUE(track->ShowTick());
    EXPECT_EQ(track->UIStyle(), DeepBlue);
    EXPECT_FALSE(track->Transparent());
    TBitmap bar;
    GetBuiltInThemeBitmap(DeepBlue, TsuiThemeElement::TrackBarBarImage, &bar);
    TBitmap slider;
    GetBuiltInThemeBitmap(DeepBlue, TsuiThemeElement::TrackBarSliderImage, &slider);
    EXPECT_EQ(track->BarImage()->Width(), bar.Width());
    EXPECT_EQ(track->Slider()->Width(), slider.Width());
    EXPECT_EQ(track->Height(), std::max(bar.Height(), slider.Height()));
    EXPECT_TRUE(track->Slider()->Transparent());

    track->SetOrientation(suiVertical);
    TBitmap sliderV;
    GetBuiltInThemeBitmap(DeepBlue, TsuiThemeElement::TrackBarSliderVImage, &sliderV);
    EXPECT_EQ(track->Slider()->Width(), sliderV.Width());
    EXPECT_EQ(track->Slider()->Height(), sliderV.Height());
    EXPECT_EQ(track->Width(), std::max(bar.Height(), sliderV.Width()));
    EXPECT_FALSE(track->Slider()->Transparent());

    track->SetUIStyle(MacOS);
    EXPECT_TRUE(track->Transparent());
}

TEST_F(TrackBarTest, TheBarStripIsTheBarPictureInThreePartsAtTheTracksLengthAndTurnedWhenVertical) {
    TBitmap bar;
    GetBuiltInThemeBitmap(DeepBlue, TsuiThemeElement::TrackBarBarImage, &bar);
    const int frame = bar.Width() / 3;
    const TBitmap* strip = track->BarStrip();
    ASSERT_EQ(strip->Width(), 110);
    ASSERT_EQ(strip->Height(), bar.Height());
    const std::uint32_t magenta = Px(0xFF00FF);
    const std::uint32_t fill = Px(track->Color());
    for (int y = 0; y < bar.Height(); ++y) {
        for (int x = 0; x < frame; ++x) {
            const std::uint32_t left = bar.Pixels().At(x, y);
            const std::uint32_t right = bar.Pixels().At(2 * frame + x, y);
            EXPECT_EQ(strip->Pixels().At(x, y), left == magenta ? fill : left) << x << "," << y;
            EXPECT_EQ(strip->Pixels().At(110 - frame + x, y), right == magenta ? fill : right)
                << x << "," << y;
        }
    }
    // The middle shows columns of the middle frame only.
    for (int x = frame; x < 110 - frame; ++x) {
        bool found = false;
        for (int k = frame; k < 2 * frame && !found; ++k) {
            bool same = true;
            for (int y = 0; y < bar.Height(); ++y) {
                same = same && strip->Pixels().At(x, y) == bar.Pixels().At(k, y);
            }
            found = same;
        }
        EXPECT_TRUE(found) << "column " << x;
    }
    // The vertical strip is the horizontal one turned anticlockwise.
    auto* vertical = new TsuiTrackBar(form);
    vertical->SetParent(form);
    vertical->SetOrientation(suiVertical);
    vertical->SetBounds(200, 20, 30, 110);
    const TBitmap* turned = vertical->BarStrip();
    ASSERT_EQ(turned->Width(), bar.Height());
    ASSERT_EQ(turned->Height(), 110);
    for (int y = 0; y < bar.Height(); ++y) {
        for (int x = 0; x < 110; ++x) {
            ASSERT_EQ(turned->Pixels().At(y, 109 - x), strip->Pixels().At(x, y)) << x << "," << y;
        }
    }
}

TEST_F(TrackBarTest, TheSliderLiesAtItsShareOfTheFreeLengthAndIsCentredAcross) {
    track->SetPosition(5);
    // 110 long, 11 long slider: 99 free pixels.
    EXPECT_EQ(track->Slider()->Left(), 5 * 99 / 10);
    EXPECT_EQ(track->Slider()->Top(), 0);
    track->SetPosition(10);
    EXPECT_EQ(track->Slider()->Left(), 99);
    track->SetOrientation(suiVertical);
    track->SetBounds(20, 20, 30, 110);
    ASSERT_EQ(track->Slider()->Height(), 11);
    EXPECT_EQ(track->Slider()->Top(), 99);
    EXPECT_EQ(track->Slider()->Left(), (track->Width() - track->Slider()->Width()) / 2);
    // Min = Max puts it at the start.
    track->SetRange(4, 4);
    EXPECT_EQ(track->Slider()->Top(), 0);
}

TEST_F(TrackBarTest, ThePointersValueRoundsHalfToEvenAndIsZeroWhenTheSliderFillsTheTrack) {
    UseSlider(10);
    ASSERT_EQ(track->Slider()->Width(), 10);
    // (x - 5) * 10 / 100 steps.
    EXPECT_EQ(track->PositionFromPoint(10, 0), 0); // 0.5
    EXPECT_EQ(track->PositionFromPoint(20, 0), 2); // 1.5
    EXPECT_EQ(track->PositionFromPoint(30, 0), 2); // 2.5
    EXPECT_EQ(track->PositionFromPoint(16, 0), 1);
    EXPECT_EQ(track->PositionFromPoint(200, 0), 20) << "not clamped";
    UseSlider(110);
    track->SetRange(3, 8);
    EXPECT_EQ(track->PositionFromPoint(70, 0), 0);
    // Dragging such a slider gives 0 clamped into the range, wherever the pointer is.
    PressOn(track->Slider(), 50, 5);
    MoveOver(track, 90, 5);
    ReleaseOn(track, 90, 5);
    EXPECT_EQ(track->Position(), 3);
}

TEST_F(TrackBarTest, TheWholeThirtyTwoBitRangePlacesPagesAndSnapsExactly) {
    UseSlider(10);
    track->SetRange(INT_MIN, INT_MAX);
    track->SetPosition(INT_MAX);
    EXPECT_EQ(track->Slider()->Left(), 100);
    track->SetPosition(0);
    EXPECT_EQ(track->Slider()->Left(), 50);
    EXPECT_EQ(track->PositionFromPoint(105, 0), INT_MAX);
    EXPECT_EQ(track->PositionFromPoint(5, 0), INT_MIN);
    EXPECT_EQ(track->PositionFromPoint(55, 0), 0);
    // Steps past either end hold at the end instead of wrapping around.
    track->SetPageSize(2'000'000'000);
    track->SetFocus();
    track->SetPosition(INT_MAX - 5);
    PressKey(VK_NEXT);
    EXPECT_EQ(track->Position(), INT_MAX);
    track->SetPosition(INT_MIN + 5);
    PressKey(VK_PRIOR);
    EXPECT_EQ(track->Position(), INT_MIN);
}

TEST_F(TrackBarTest, KeysStepByLinesAndPagesAndJumpToTheEnds) {
    track->SetFocus();
    Pump();
    ASSERT_TRUE(track->Focused());
    EXPECT_EQ(::SendMessage(track->Handle(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    track->SetLineSize(2);
    track->SetPageSize(3);
    std::vector<int> positions;
    for (int vk : {VK_NEXT, VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP, VK_PRIOR, VK_END, VK_HOME, int{'A'}}) {
        PressKey(vk);
        positions.push_back(track->Position());
    }
    EXPECT_EQ(positions, (std::vector<int>{3, 5, 7, 5, 3, 0, 10, 0, 0}));
    EXPECT_EQ(changes, 8);
    // Steps outside 0 .. Max are refused.
    track->SetPageSize(11);
    track->SetLineSize(-1);
    EXPECT_EQ(track->PageSize(), 3);
    EXPECT_EQ(track->LineSize(), 2);
}

TEST_F(TrackBarTest, OnChangeFiresOncePerRealChangeWhateverCausedIt) {
    track->SetPosition(4);
    track->SetPosition(4);
    EXPECT_EQ(changes, 1);
    track->SetMax(3); // the position follows the end
    EXPECT_EQ(track->Position(), 3);
    EXPECT_EQ(changes, 2);
    track->SetMax(20);
    track->SetMin(-5);
    track->SetPosition(-50);
    EXPECT_EQ(track->Position(), -5);
    EXPECT_EQ(changes, 3);
    track->SetMin(8); // Min above the position raises it
    EXPECT_EQ(track->Position(), 8);
    EXPECT_EQ(changes, 4);
    // Max below Min stops at Min.
    track->SetMax(2);
    EXPECT_EQ(track->Max(), 8);
    EXPECT_EQ(track->Position(), 8);
    EXPECT_EQ(changes, 4);
}

TEST_F(TrackBarTest, AHandlerThatWritesTheDraggedPositionBackIsNotCalledAgain) {
    int calls = 0;
    track->OnChange = [&](TObject*) {
        ++calls;
        ASSERT_LT(calls, 10) << "OnChange called itself";
        track->SetPosition(track->Position());
    };
    PressOn(track->Slider(), 5, 5);
    MoveOver(track, 60, 5);
    MoveOver(track, 90, 5);
    ReleaseOn(track, 90, 5);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(track->LastPosition(), track->Position());
}

TEST_F(TrackBarTest, TicksMarkEveryFrequencyStepAndBothEnds) {
    track->Slider()->SetTransparent(false);
    track->SetPosition(10); // the slider out of the way, at the right end
    // 99 free pixels, ticks at i * 99 / 10 + 5.
    std::vector<int> expected;
    for (int i = 0; i < 10; ++i) {
        expected.push_back(i * 99 / 10 + 5);
    }
    EXPECT_EQ(TickColumns(), expected);
    track->SetFrequency(3);
    EXPECT_EQ(TickColumns(), (std::vector<int>{5, 34, 64, 94}));
    track->SetFrequency(0);
    EXPECT_EQ(TickColumns(), (std::vector<int>{5}));
    // The three-pixel marks at the bottom edge.
    EXPECT_EQ(PixelAt(track, 5, track->Height() - 3), Px(clBlack));
    EXPECT_NE(PixelAt(track, 5, track->Height() - 4), Px(clBlack));
    track->SetShowTick(false);
    EXPECT_TRUE(TickColumns().empty());
}

TEST_F(TrackBarTest, AHugeRangeDrawsOneTickPerPixelWithoutVisitingEveryValue) {
    track->Slider()->SetTransparent(false);
    track->SetRange(0, 1'000'000'000);
    track->SetPosition(1'000'000'000);
    // Every column from the first tick to where the slider begins.
    std::vector<int> expected;
    for (int x = 5; x < 99; ++x) {
        expected.push_back(x);
    }
    EXPECT_EQ(TickColumns(), expected);
    track->SetFrequency(400'000'000); // 0, 400M, 800M and the end
    EXPECT_EQ(TickColumns(), (std::vector<int>{5, 44, 84}));
}

TEST_F(TrackBarTest, AVerticalTrackMarksBothSides) {
    track->SetOrientation(suiVertical);
    track->SetBounds(20, 20, 30, 110);
    track->SetPosition(0);
    Pump();
    const int y = 5 * 99 / 10 + 5;
    const int w = track->Width();
    for (int x : {0, 1, 2, w - 3, w - 2, w - 1}) {
        EXPECT_EQ(PixelAt(track, x, y), Px(clBlack)) << x;
    }
    EXPECT_NE(PixelAt(track, 3, y), Px(clBlack));
    EXPECT_NE(PixelAt(track, 0, y + 1), Px(clBlack));
}

TEST_F(TrackBarTest, ARangeBelowZeroFromALayoutIsKeptWhateverTheOrderOfItsEnds) {
    auto* window = new TTrackWindow(Application);
    const char* layout = "object TrackWindow: TTrackWindow\n"
                         "  object suiTrackBar1: TsuiTrackBar\n"
                         "    Max = -5\n"
                         "    Min = -10\n"
                         "    Position = -7\n"
                         "    OnChange = suiTrackBar1Change\n"
                         "  end\n"
                         "end\n";
    TLayoutError error;
    ASSERT_TRUE(ReadLayoutText(window, layout, "Track.lfm", &error)) << error.Text();
    TsuiTrackBar* loaded = window->suiTrackBar1;
    EXPECT_EQ(loaded->Min(), -10);
    EXPECT_EQ(loaded->Max(), -5);
    EXPECT_EQ(loaded->Position(), -7);
    EXPECT_EQ(window->changes, 0) << "no events while loading";
    loaded->SetPosition(-6);
    EXPECT_EQ(window->changes, 1);
}

} // namespace
