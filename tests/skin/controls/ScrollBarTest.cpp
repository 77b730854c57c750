#include "PanelsTestSupport.h"
#include "skin/controls/SUIImageButton.h"
#include "skin/controls/SUIScrollBar.h"
#include "skin/core/SUIPublic.h"
#include "tests/support/Artifacts.h"
#include "toolkit/components/LayoutReader.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/windowing/WinUser.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// A window with a scroll bar, made from a layout.
class TScrollWindow : public TForm {
    VARNEL_CLASS(TScrollWindow, TForm)

public:
    explicit TScrollWindow(TComponent* owner) : TForm(owner) {}
    TsuiScrollBar* suiScrollBar1 = nullptr;
    std::vector<TObject*> senders;
    void suiScrollBar1Change(TObject* sender) { senders.push_back(sender); }
};

VARNEL_CLASS_INFO(TScrollWindow, [](auto& c) {
    c.Field("suiScrollBar1", &TScrollWindow::suiScrollBar1);
    c.Handler("suiScrollBar1Change", &TScrollWindow::suiScrollBar1Change);
})

namespace {

// The size of a line button's picture in a look, for a vertical bar.
TSize ButtonPicture(TsuiUIStyle style) {
    TBitmap bitmap;
    GetBuiltInThemeBitmap(style, TsuiThemeElement::ScrollBarButtonImage, &bitmap, 1, 6);
    return {bitmap.Width(), bitmap.Height()};
}

class ScrollBarTest : public TPanelsFixture {
protected:
    void SetUp() override { form = ShownForm(0x00C0C0C0); }

    TsuiScrollBar* NewBar(TsuiProgressBarOrientation orientation, TRect bounds,
                          TsuiUIStyle style = DeepBlue) {
        auto* bar = new TsuiScrollBar(form);
        bar->SetParent(form);
        bar->SetUIStyle(style);
        bar->SetOrientation(orientation);
        bar->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        bar->SetOnChange([this](TObject* sender) {
            senders.push_back(sender);
            ++changes;
        });
        Pump();
        return bar;
    }
    static int SliderLength(const TsuiScrollBar* bar) {
        const TControl* slider = bar->Track()->Slider();
        return bar->Orientation() == suiVertical ? slider->Height() : slider->Width();
    }
    static int TrackLength(const TsuiScrollBar* bar) {
        return bar->Orientation() == suiVertical ? bar->Track()->Height() : bar->Track()->Width();
    }

    TForm* form = nullptr;
    std::vector<TObject*> senders;
    int changes = 0;
};

// ---- Layout and look ---------------------------------------------------------------------------------

class ScrollBarLooks : public ScrollBarTest, public ::testing::WithParamInterface<TsuiUIStyle> {};

TEST_P(ScrollBarLooks, TheButtonsSitAtTheEndsAndTheTrackBetweenThemAsThickAsItsSlider) {
    const TsuiUIStyle style = GetParam();
    const TSize button = ButtonPicture(style);
    TsuiScrollBar* vertical = NewBar(suiVertical, Bounds(20, 20, 40, 200), style);
    EXPECT_EQ(vertical->Width(), button.cx);
    EXPECT_EQ(vertical->FirstButton()->BoundsRect(), Bounds(0, 0, button.cx, button.cy));
    EXPECT_EQ(vertical->SecondButton()->BoundsRect(), Bounds(0, 200 - button.cy, button.cx, button.cy));
    // One pixel of the bar shows above the second button.
    EXPECT_EQ(vertical->Track()->BoundsRect(),
              Bounds(0, button.cy, vertical->Track()->Slider()->Width(), 200 - 2 * button.cy - 1));
    EXPECT_EQ(vertical->Color(), GetBuiltInThemeColor(style, TsuiThemeElement::ScrollBarBackgroundColor));
    EXPECT_EQ(vertical->Track()->Color(), vertical->Color());

    // Sideways the pictures are turned: the bar is as high as a button is wide.
    TsuiScrollBar* horizontal = NewBar(suiHorizontal, Bounds(80, 20, 200, 40), style);
    EXPECT_EQ(horizontal->Height(), button.cx);
    EXPECT_EQ(horizontal->FirstButton()->BoundsRect(), Bounds(0, 0, button.cy, button.cx));
    EXPECT_EQ(horizontal->SecondButton()->BoundsRect(), Bounds(200 - button.cy, 0, button.cy, button.cx));
    EXPECT_EQ(horizontal->Track()->BoundsRect(),
              Bounds(button.cy, 0, 200 - 2 * button.cy, horizontal->Track()->Slider()->Height()));
}

INSTANTIATE_TEST_SUITE_P(AllLooks, ScrollBarLooks, ::testing::ValuesIn(kBuiltInUIStyles));

TEST_F(ScrollBarTest, ANewBarIsHorizontalWithTheClassicValuesAndAnEmptyCaption) {
    auto* bar = new TsuiScrollBar(form);
    EXPECT_EQ(bar->Orientation(), suiHorizontal);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 100);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(bar->PageSize(), 2);
    EXPECT_EQ(bar->SmallChange(), 1);
    EXPECT_EQ(bar->LineButton(), 0);
    EXPECT_EQ(bar->Width(), 185);
    EXPECT_EQ(bar->Height(), ButtonPicture(DeepBlue).cx);
    EXPECT_EQ(bar->Caption(), "");
    EXPECT_EQ(bar->Track()->Caption(), "");
    EXPECT_FALSE(bar->Track()->TabStop());
    EXPECT_FALSE(bar->Track()->ShowTick());
    EXPECT_FALSE(bar->FirstButton()->TabStop());
    EXPECT_EQ(bar->SecondButton()->MouseContinuouslyDownInterval(), 100);
}

TEST_F(ScrollBarTest, TheSliderCoversPageSizePerCentOrTenPerCentOutsideTenToAHundred) {
    TsuiScrollBar* bar = NewBar(suiVertical, Bounds(20, 20, 16, 200));
    const int track = TrackLength(bar);
    EXPECT_EQ(SliderLength(bar), 10 * track / 100); // PageSize 2
    bar->SetPageSize(50);
    EXPECT_EQ(SliderLength(bar), 50 * track / 100);
    bar->SetPageSize(150); // above Max: refused
    EXPECT_EQ(bar->PageSize(), 50);
    bar->SetMax(200);
    bar->SetPageSize(150);
    EXPECT_EQ(SliderLength(bar), 10 * track / 100);
    // LargeChange is the same step, but the slider keeps its length until it is next built.
    bar->SetLargeChange(40);
    EXPECT_EQ(bar->PageSize(), 40);
    EXPECT_EQ(SliderLength(bar), 10 * track / 100);
    bar->SetHeight(201);
    EXPECT_EQ(SliderLength(bar), 40 * TrackLength(bar) / 100);
}

TEST_F(ScrollBarTest, AFixedSliderLengthIsAtLeastEighteenAndNeverLongerThanTheRoom) {
    TsuiScrollBar* bar = NewBar(suiHorizontal, Bounds(20, 20, 200, 16));
    bar->SetLineButton(5);
    EXPECT_EQ(bar->LineButton(), 18);
    EXPECT_EQ(SliderLength(bar), 18);
    const int room = 200 - bar->FirstButton()->Width() - bar->SecondButton()->Width();
    bar->SetLineButton(room + 1);
    EXPECT_EQ(bar->LineButton(), 18);
    bar->SetLineButton(room);
    EXPECT_EQ(SliderLength(bar), room);
    EXPECT_EQ(bar->Track()->Slider()->Left(), 0);
    // As long as the track: the slider fills it, at any position.
    bar->SetPosition(60);
    EXPECT_EQ(bar->Track()->Slider()->Left(), 0);
    bar->SetLineButton(0);
    EXPECT_EQ(SliderLength(bar), 10 * TrackLength(bar) / 100);
}

TEST_F(ScrollBarTest, AMaxBelowMinStopsAtMinAndPutsTheSliderAtTheStart) {
    TsuiScrollBar* bar = NewBar(suiVertical, Bounds(20, 20, 16, 200));
    bar->SetMin(30);
    bar->SetPosition(50);
    bar->SetMax(10);
    EXPECT_EQ(bar->Max(), 30);
    EXPECT_EQ(bar->Position(), 30);
    EXPECT_EQ(bar->Track()->Slider()->Top(), 0);
}

// Compares a slider picture with the look's head, body and tail pieces laid along its length.
void ExpectComposedSlider(const TBitmap& slider, const TBitmap& head, const TBitmap& body,
                          const TBitmap& tail, bool vertical) {
    auto along = [vertical](const TBitmap& b) { return vertical ? b.Height() : b.Width(); };
    auto at = [vertical](const TBitmap& b, int a, int across) {
        return vertical ? b.Pixels().At(across, a) : b.Pixels().At(a, across);
    };
    const int length = along(slider);
    const int thickness = vertical ? slider.Width() : slider.Height();
    ASSERT_EQ(thickness, vertical ? head.Width() : head.Height());
    for (int across = 0; across < thickness; ++across) {
        for (int a = 0; a < along(head); ++a) {
            ASSERT_EQ(at(slider, a, across), at(head, a, across)) << "head " << a << "," << across;
        }
        for (int a = 0; a < along(tail); ++a) {
            ASSERT_EQ(at(slider, length - along(tail) + a, across), at(tail, a, across))
                << "tail " << a << "," << across;
        }
    }
    // Between them, every line across is a line of the body.
    for (int a = along(head); a < length - along(tail); ++a) {
        bool found = false;
        for (int k = 0; k < along(body) && !found; ++k) {
            bool same = true;
            for (int across = 0; across < thickness; ++across) {
                same = same && at(slider, a, across) == at(body, k, across);
            }
            found = same;
        }
        ASSERT_TRUE(found) << "body line " << a;
    }
}

TEST_F(ScrollBarTest, TheSliderIsComposedOfTheLooksPiecesTurnedForAVerticalBar) {
    TBitmap head;
    TBitmap body;
    TBitmap tail;
    GetBuiltInThemeBitmap(MacOS, TsuiThemeElement::ScrollBarSliderImage, &head, 1, 3);
    GetBuiltInThemeBitmap(MacOS, TsuiThemeElement::ScrollBarSliderImage, &body, 2, 3);
    GetBuiltInThemeBitmap(MacOS, TsuiThemeElement::ScrollBarSliderImage, &tail, 3, 3);
    TsuiScrollBar* horizontal = NewBar(suiHorizontal, Bounds(20, 20, 300, 16), MacOS);
    horizontal->SetPageSize(40);
    ExpectComposedSlider(*horizontal->Track()->SliderImage()->Bitmap(), head, body, tail, false);

    TsuiScrollBar* vertical = NewBar(suiVertical, Bounds(20, 60, 16, 300), MacOS);
    vertical->SetPageSize(40);
    for (TBitmap* piece : {&head, &body, &tail}) {
        RotateBitmapClockwise(piece);
    }
    ExpectComposedSlider(*vertical->Track()->SliderImage()->Bitmap(), head, body, tail, true);

    // The line buttons show the look's slices, turned anticlockwise sideways.
    TBitmap up;
    GetBuiltInThemeBitmap(MacOS, TsuiThemeElement::ScrollBarButtonImage, &up, 1, 6);
    EXPECT_TRUE(SamePixels(vertical->FirstButton()->PicNormal()->Bitmap()->Pixels(), up.Pixels(), "up"));
    RotateBitmapAnticlockwise(&up);
    EXPECT_TRUE(SamePixels(horizontal->FirstButton()->PicNormal()->Bitmap()->Pixels(), up.Pixels(), "left"));
    TBitmap downPressed;
    GetBuiltInThemeBitmap(MacOS, TsuiThemeElement::ScrollBarButtonImage, &downPressed, 6, 6);
    EXPECT_TRUE(SamePixels(vertical->SecondButton()->PicMouseDown()->Bitmap()->Pixels(), downPressed.Pixels(),
                           "down"));

    // A slider shorter than its head and tail has no body; the tail is drawn over the head.
    GetBuiltInThemeBitmap(MacOS, TsuiThemeElement::ScrollBarSliderImage, &tail, 3, 3);
    horizontal->SetPageSize(2);
    horizontal->SetLineButton(18);
    const TBitmap& shortSlider = *horizontal->Track()->SliderImage()->Bitmap();
    ASSERT_EQ(shortSlider.Width(), 18);
    EXPECT_EQ(shortSlider.Pixels().At(17, 8), tail.Pixels().At(tail.Width() - 1, 8));
}

// ---- Mouse ------------------------------------------------------------------------------------------

TEST_F(ScrollBarTest, HoldingTheTrackPagesOnceAtOnceThenEveryHundredMillisecondsAndStopsUnderThePointer) {
    TsuiScrollBar* bar = NewBar(suiVertical, Bounds(20, 20, 16, 200));
    bar->SetPageSize(40);
    TsuiTrackBar* track = bar->Track();
    const int sliderLength = SliderLength(bar);
    const int free = TrackLength(bar) - sliderLength;
    auto valueAt = [&](int y) {
        return static_cast<int>(std::nearbyint(static_cast<double>(y - sliderLength / 2) * 100 / free));
    };
    const int target = valueAt(120);
    ASSERT_GT(target, 80);
    ASSERT_LT(target, 100);
    PressOn(track, 8, 120);
    EXPECT_EQ(bar->Position(), 40);
    Advance(99);
    EXPECT_EQ(bar->Position(), 40);
    Advance(1);
    EXPECT_EQ(bar->Position(), 80);
    Advance(100);
    EXPECT_EQ(bar->Position(), target);
    Advance(300);
    EXPECT_EQ(bar->Position(), target);
    EXPECT_EQ(changes, 3);
    ASSERT_EQ(senders.size(), 3u);
    EXPECT_EQ(senders[0], track);
    // Paging back up toward a pointer above the slider.
    MoveOver(track, 8, 2);
    Advance(100);
    EXPECT_EQ(bar->Position(), target - 40);
    ReleaseOn(track, 8, 2);
    EXPECT_FALSE(track->Paging());
    Advance(500);
    EXPECT_EQ(bar->Position(), target - 40);
}

TEST_F(ScrollBarTest, AHorizontalTrackPagesThreeStepsAtEachRepeat) {
    TsuiScrollBar* bar = NewBar(suiHorizontal, Bounds(20, 20, 300, 16));
    bar->SetPageSize(10);
    PressOn(bar->Track(), 200, 8);
    EXPECT_EQ(bar->Position(), 10);
    Advance(100);
    EXPECT_EQ(bar->Position(), 40);
    Advance(100);
    EXPECT_EQ(bar->Position(), 70);
    ReleaseOn(bar->Track(), 200, 8);
}

TEST_F(ScrollBarTest, LeavingTheTrackStopsPagingForGood) {
    TsuiScrollBar* bar = NewBar(suiVertical, Bounds(20, 20, 16, 200));
    TsuiTrackBar* track = bar->Track();
    PressOn(track, 8, 150);
    EXPECT_EQ(bar->Position(), 2);
    MoveOver(track, track->Width(), 150); // the edge still counts as inside
    Advance(100);
    EXPECT_EQ(bar->Position(), 4);
    MoveOver(track, track->Width() + 1, 150);
    EXPECT_FALSE(track->Paging());
    Advance(300);
    MoveOver(track, 8, 150);
    Advance(300);
    EXPECT_EQ(bar->Position(), 4);
    ReleaseOn(track, 8, 150);
}

TEST_F(ScrollBarTest, LosingTheMouseDisablingOrHidingEndsPaging) {
    TsuiScrollBar* bar = NewBar(suiVertical, Bounds(20, 20, 16, 200));
    TsuiTrackBar* track = bar->Track();
    auto pressAndStop = [&](const std::function<void()>& stop) {
        bar->SetPosition(0);
        PressOn(track, 8, 150);
        EXPECT_TRUE(track->Paging());
        stop();
        EXPECT_FALSE(track->Paging());
        const int position = bar->Position();
        Advance(500);
        EXPECT_EQ(bar->Position(), position);
        ReleaseOn(track, 8, 150);
    };
    pressAndStop([&] { ::SendMessage(track->Handle(), WM_CANCELMODE, 0, 0); });
    pressAndStop([&] { SetCaptureControl(nullptr); });
    pressAndStop([&] { bar->SetEnabled(false); });
    bar->SetEnabled(true);
    pressAndStop([&] { bar->Hide(); });
    bar->Show();
    pressAndStop([&] { track->SetEnabled(false); });
    track->SetEnabled(true);

    // A drag ends the same way: later moves leave the bar where it was.
    bar->SetPosition(0);
    PressOn(track->Slider(), 5, 5);
    MoveOver(track, 8, 60);
    const int dragged = bar->Position();
    EXPECT_GT(dragged, 0);
    ::SendMessage(track->Handle(), WM_CANCELMODE, 0, 0);
    EXPECT_FALSE(track->Dragging());
    MoveOver(track, 8, 120);
    EXPECT_EQ(bar->Position(), dragged);
    ReleaseOn(track, 8, 120);
}

TEST_F(ScrollBarTest, AModalBoxOpenedByOnChangeLeavesNoPagingBehindIt) {
    TsuiScrollBar* bar = NewBar(suiVertical, Bounds(20, 20, 16, 200));
    TForm* box = NewForm({150, 150, 300, 250});
    int duringBox = -1;
    bar->SetOnChange([&](TObject*) {
        if (duringBox < 0) {
            DoWhenIdle([&] {
                Advance(500);
                duringBox = bar->Position();
                box->SetModalResult(mrOk);
            });
            box->ShowModal();
        }
    });
    PressOn(bar->Track(), 8, 150);
    EXPECT_EQ(duringBox, 2) << "paged while the box was open";
    EXPECT_FALSE(bar->Track()->Paging());
    Advance(500);
    EXPECT_EQ(bar->Position(), 2);
}

TEST_F(ScrollBarTest, DraggingTheSliderSnapsToWholeValuesAndReportsEachChangeOnce) {
    TsuiScrollBar* bar = NewBar(suiVertical, Bounds(20, 20, 16, 200));
    bar->SetPageSize(40);
    TsuiTrackBar* track = bar->Track();
    const int sliderLength = SliderLength(bar);
    const int free = TrackLength(bar) - sliderLength;
    PressOn(track->Slider(), 8, 30);
    EXPECT_TRUE(track->Dragging());
    EXPECT_TRUE(track->Focused());
    std::vector<int> positions;
    for (int y : {60, 61, 61, 62, 500, -40}) {
        MoveOver(track, 8, y);
        positions.push_back(bar->Position());
        EXPECT_EQ(track->Slider()->Top(), bar->Position() * free / 100);
    }
    const int at60 = static_cast<int>(std::nearbyint((60.0 - sliderLength / 2) * 100 / free));
    const int at62 = static_cast<int>(std::nearbyint((62.0 - sliderLength / 2) * 100 / free));
    EXPECT_EQ(positions.front(), at60);
    EXPECT_EQ(positions[3], at62);
    EXPECT_EQ(positions[4], 100);
    EXPECT_EQ(positions[5], 0);
    ReleaseOn(track, 8, -40);
    EXPECT_FALSE(track->Dragging());
    MoveOver(track, 8, 100);
    EXPECT_EQ(bar->Position(), 0);
    // One report per value the slider passed through on the way.
    int distinct = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        distinct += (i == 0 ? positions[i] != 0 : positions[i] != positions[i - 1]) ? 1 : 0;
    }
    EXPECT_EQ(changes, distinct);
}

TEST_F(ScrollBarTest, HoldingALineButtonStepsEveryHundredMillisecondsAfterTheFirstInterval) {
    TsuiScrollBar* bar = NewBar(suiVertical, Bounds(20, 20, 16, 200));
    bar->SetSmallChange(7);
    TsuiImageButton* down = bar->SecondButton();
    PressOn(down, 5, 5);
    Advance(350);
    ReleaseOn(down, 5, 5);
    EXPECT_EQ(bar->Position(), 21);
    Advance(1000);
    PressOn(down, 5, 5);
    Advance(90);
    ReleaseOn(down, 5, 5);
    EXPECT_EQ(bar->Position(), 21);
    Advance(1000);
    PressOn(bar->FirstButton(), 5, 5);
    Advance(500);
    ReleaseOn(bar->FirstButton(), 5, 5);
    EXPECT_EQ(bar->Position(), 0) << "held at Min";
}

// ---- State --------------------------------------------------------------------------------------------

TEST_F(ScrollBarTest, ABarHiddenByItsUserStaysHiddenAndOneHiddenForLackOfRoomComesBack) {
    TsuiScrollBar* bar = NewBar(suiHorizontal, Bounds(20, 20, 200, 16));
    bar->SetWidth(0);
    EXPECT_FALSE(bar->Visible());
    bar->SetWidth(150);
    EXPECT_TRUE(bar->Visible());
    bar->Hide();
    bar->SetWidth(180);
    EXPECT_FALSE(bar->Visible());
    bar->SetWidth(0);
    bar->SetWidth(120);
    EXPECT_FALSE(bar->Visible());
}

TEST_F(ScrollBarTest, SliderVisibilityIsTheSliderPanels) {
    TsuiScrollBar* bar = NewBar(suiVertical, Bounds(20, 20, 16, 200));
    EXPECT_TRUE(bar->SliderVisible());
    bar->SetSliderVisible(false);
    EXPECT_FALSE(bar->Track()->Slider()->Visible());
    bar->SetSliderVisible(true);
    EXPECT_TRUE(bar->SliderVisible());
}

TEST_F(ScrollBarTest, RemovingTheThemeFileTurnsTheBarDeepBlue) {
    auto* theme = new TsuiFileTheme(form);
    TsuiScrollBar* bar = NewBar(suiVertical, Bounds(20, 20, 16, 200), MacOS);
    bar->SetFileTheme(theme);
    bar->SetUIStyle(FromThemeFile);
    delete theme;
    EXPECT_EQ(bar->FileTheme(), nullptr);
    EXPECT_EQ(bar->UIStyle(), DeepBlue);
    EXPECT_EQ(bar->Color(), GetBuiltInThemeColor(DeepBlue, TsuiThemeElement::ScrollBarBackgroundColor));
}

TEST_F(ScrollBarTest, ALayoutKeepsARangeBelowZeroAndBindsOnChangeToTheTrack) {
    auto* window = new TScrollWindow(Application);
    const char* layout = "object ScrollWindow: TScrollWindow\n"
                         "  object suiScrollBar1: TsuiScrollBar\n"
                         "    Left = 10\n"
                         "    Top = 10\n"
                         "    Width = 16\n"
                         "    Height = 150\n"
                         "    LineButton = 0\n"
                         "    Orientation = suiVertical\n"
                         "    UIStyle = WinXP\n"
                         "    Max = -5\n"
                         "    Min = -10\n"
                         "    Position = -7\n"
                         "    SmallChange = 2\n"
                         "    LargeChange = 3\n"
                         "    PageSize = 3\n"
                         "    OnChange = suiScrollBar1Change\n"
                         "  end\n"
                         "end\n";
    TLayoutError error;
    ASSERT_TRUE(ReadLayoutText(window, layout, "Scroll.lfm", &error)) << error.Text();
    TsuiScrollBar* bar = window->suiScrollBar1;
    EXPECT_EQ(bar->Min(), -10);
    EXPECT_EQ(bar->Max(), -5);
    EXPECT_EQ(bar->Position(), -7);
    EXPECT_EQ(bar->SmallChange(), 2);
    EXPECT_EQ(bar->Orientation(), suiVertical);
    EXPECT_EQ(bar->Track()->Orientation(), suiVertical);
    EXPECT_EQ(bar->Width(), ButtonPicture(WinXP).cx);
    EXPECT_TRUE(window->senders.empty()) << "no events while loading";
    bar->SetPosition(-9);
    ASSERT_EQ(window->senders.size(), 1u);
    EXPECT_EQ(window->senders[0], bar->Track());
    EXPECT_EQ(GetPropText(bar, "OnChange"), "suiScrollBar1Change");
}

} // namespace
