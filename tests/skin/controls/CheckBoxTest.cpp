#include "skin/controls/SUICheckBox.h"
#include "skin/core/SUIMgr.h"
#include "tests/skin/controls/SkinControlFixture.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// Counts its paints.
class TCountingCheckBox : public TsuiCheckBox {
public:
    using TsuiCheckBox::TsuiCheckBox;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TsuiCheckBox::Paint();
    }
};

class TFocusHolder : public TCustomControl {
public:
    explicit TFocusHolder(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

class CheckBoxTest : public TSkinControlFixture {
protected:
    template <typename T = TsuiCheckBox>
    T* NewBox(const char* name, const char* caption, TPoint at = {20, 20}) {
        auto* box = Place<T>(name, Bounds(at.X, at.Y, 93, 17));
        box->SetUIStyle(DeepBlue);
        box->SetCaption(caption);
        const std::string n = name;
        box->OnClick = [this, n, box](TObject*) { Log(n + "(" + (box->Checked() ? "1" : "0") + ")"); };
        return box;
    }

    static TPixelBuffer Slice(TsuiUIStyle style, int k) {
        TBitmap bitmap;
        GetBuiltInThemeBitmap(style, TsuiThemeElement::CheckBoxImage, &bitmap, k, 4);
        return bitmap.Pixels();
    }
    // Whether the box at (1, (height - box height) / 2) shows slice k of the look.
    ::testing::AssertionResult ShowsSlice(TsuiCheckBox* box, TsuiUIStyle style, int k) {
        const TPixelBuffer slice = Slice(style, k);
        const TPixelBuffer shot = Shot(box);
        const int top = (box->Height() - slice.Height()) / 2;
        for (int y = 0; y < slice.Height(); ++y) {
            for (int x = 0; x < slice.Width(); ++x) {
                if (shot.At(1 + x, top + y) != slice.At(x, y)) {
                    return ::testing::AssertionFailure()
                           << "differs from slice " << k << " at " << x << "," << y;
                }
            }
        }
        return ::testing::AssertionSuccess();
    }
};

// ---- When OnClick fires ---------------------------------------------------------------------------------

TEST_F(CheckBoxTest, AProgramAssignmentFiresOnceAfterTheChangeAndTheSameValueNothingAtAll) {
    auto* box = NewBox<TCountingCheckBox>("Box", "Numbers");
    Show();
    box->SetChecked(true);
    EXPECT_THAT(TakeLog(), ElementsAre("Box(1)"));
    box->paints = 0;
    box->SetChecked(true);
    EXPECT_THAT(TakeLog(), IsEmpty());
    EXPECT_EQ(box->paints, 0);
    box->SetChecked(false);
    EXPECT_THAT(TakeLog(), ElementsAre("Box(0)"));
}

TEST_F(CheckBoxTest, StateIsAViewOfCheckedAndGrayedUnchecks) {
    auto* box = NewBox("Box", "Numbers");
    box->SetState(cbChecked);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(box->State(), cbChecked);
    box->SetState(cbGrayed);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(box->State(), cbUnchecked);
    box->SetState(cbUnchecked);
    EXPECT_THAT(TakeLog(), ElementsAre("Box(1)", "Box(0)"));
}

TEST_F(CheckBoxTest, AClickFocusesTogglesAndFiresOnClickBetweenMouseDownAndUp) {
    auto* box = NewBox("Box", "Numbers");
    box->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { Log("down"); };
    box->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Log("up"); };
    box->OnEnter = [this](TObject*) { Log("enter"); };
    auto* other = Place<TFocusHolder>("Other", Bounds(200, 20, 40, 20));
    Show();
    other->SetFocus();
    TakeLog();
    ClickOn(box, 5, 5);
    EXPECT_THAT(TakeLog(), ElementsAre("down", "enter", "Box(1)", "up"));
    EXPECT_TRUE(box->Focused());
    // A double click is two clicks.
    ClickOn(box, 5, 5);
    ClickOn(box, 5, 5);
    EXPECT_THAT(TakeLog(), ElementsAre("down", "Box(0)", "up", "down", "Box(1)", "up"));
}

TEST_F(CheckBoxTest, ReleasingSpaceOrEnterTogglesOnceHoweverLongTheKeyIsHeld) {
    auto* box = NewBox("Box", "Numbers");
    auto* other = Place<TFocusHolder>("Other", Bounds(200, 20, 40, 20));
    Show();
    box->SetFocus();
    for (int key : {VK_SPACE, VK_RETURN}) {
        KeyDown(key);
        KeyDown(key);
        KeyDown(key);
        EXPECT_THAT(TakeLog(), IsEmpty());
        KeyUp(key);
        EXPECT_THAT(TakeLog(), ElementsAre(key == VK_SPACE ? "Box(1)" : "Box(0)"));
    }

    // A key that went down elsewhere does not toggle the box its release reaches.
    other->SetFocus();
    KeyDown(VK_SPACE);
    box->SetFocus();
    KeyUp(VK_SPACE);
    EXPECT_THAT(TakeLog(), IsEmpty());
}

TEST_F(CheckBoxTest, AnAccessKeyFocusesAndToggles) {
    auto* box = NewBox("Box", "&Numbers");
    auto* other = Place<TFocusHolder>("Other", Bounds(200, 20, 40, 20));
    Show();
    other->SetFocus();
    KeyDown(VK_MENU);
    PressKey('N');
    KeyUp(VK_MENU);
    EXPECT_THAT(TakeLog(), ElementsAre("Box(1)"));
    EXPECT_TRUE(box->Focused());
}

TEST_F(CheckBoxTest, ADisabledBoxIgnoresClicksSpaceAndItsAccessKeyAndShowsTheDisabledSlices) {
    auto* box = NewBox("Box", "&Numbers");
    auto* other = Place<TFocusHolder>("Other", Bounds(200, 20, 40, 20));
    Show();
    EXPECT_TRUE(ShowsSlice(box, DeepBlue, 2));
    box->SetChecked(true);
    EXPECT_TRUE(ShowsSlice(box, DeepBlue, 1));
    TakeLog();
    box->SetEnabled(false);
    EXPECT_TRUE(ShowsSlice(box, DeepBlue, 3));
    // The caption keeps its colour.
    const int tx = 13 + 4;
    EXPECT_GT(CountOf(Shot(box), {tx, 0, box->Width(), box->Height()}, 0x000000), 10);

    ClickOn(box, 5, 5);
    other->SetFocus();
    PressKey(VK_SPACE);
    KeyDown(VK_MENU);
    PressKey('N');
    KeyUp(VK_MENU);
    EXPECT_THAT(TakeLog(), IsEmpty());
    EXPECT_TRUE(box->Checked());
    box->SetChecked(false);
    EXPECT_TRUE(ShowsSlice(box, DeepBlue, 4));
}

// The key-set rules of the main window: "All keyboard" clears the sets and the custom characters;
// checking a set unchecks "All keyboard" and checks the set again, so that it stays the only one.
TEST_F(CheckBoxTest, TheKeySetRulesRunAsANestedChainOfClicks) {
    TsuiCheckBox* all = NewBox("All", "All keyboard");
    std::vector<TsuiCheckBox*> sets;
    for (int i = 0; i < 4; ++i) {
        sets.push_back(NewBox(("Set" + std::to_string(i + 1)).c_str(), "Set", {20, 50 + 25 * i}));
    }
    all->OnClick = [&](TObject*) {
        Log("All(" + std::string(all->Checked() ? "1" : "0") + ")");
        for (TsuiCheckBox* set : sets) {
            set->SetChecked(false);
        }
        Log("memo.clear");
    };
    for (TsuiCheckBox* set : sets) {
        set->OnClick = [&, set](TObject*) {
            Log(set->Name() + "(" + (set->Checked() ? "1" : "0") + ")");
            if (set->Checked()) {
                all->SetChecked(false);
                set->SetChecked(true);
            }
        };
    }
    Show();
    all->SetChecked(true);
    EXPECT_THAT(TakeLog(), ElementsAre("All(1)", "memo.clear"));

    // Checking "Numbers" at start-up leaves it the only box checked.
    ClickOn(sets[0], 5, 5);
    EXPECT_THAT(TakeLog(), ElementsAre("Set1(1)", "All(0)", "Set1(0)", "memo.clear", "Set1(1)"));
    EXPECT_FALSE(all->Checked());
    EXPECT_TRUE(sets[0]->Checked());

    // With "All keyboard" unchecked, another set is only checked.
    ClickOn(sets[2], 5, 5);
    EXPECT_THAT(TakeLog(), ElementsAre("Set3(1)"));
    // Unchecking a set changes nothing else.
    ClickOn(sets[0], 5, 5);
    EXPECT_THAT(TakeLog(), ElementsAre("Set1(0)"));
    // "All keyboard" either way leaves no set checked.
    ClickOn(all, 5, 5);
    EXPECT_THAT(TakeLog(), ElementsAre("All(1)", "Set3(0)", "memo.clear"));
    ClickOn(all, 5, 5);
    EXPECT_THAT(TakeLog(), ElementsAre("All(0)", "memo.clear"));
    for (TsuiCheckBox* set : sets) {
        EXPECT_FALSE(set->Checked());
    }
}

// ---- Size and painting
// -------------------------------------------------------------------------------------

TEST_F(CheckBoxTest, AutoSizeFitsTheBoxOfEachLookAndTheCaption) {
    auto* box = NewBox("Box", "All keyboard");
    box->Font()->SetName("Tahoma");
    box->Font()->SetSize(8);
    TBitmap measure;
    measure.Canvas()->SetFont(box->Font());
    const int th = measure.Canvas()->TextHeight("W");
    const int tw = measure.Canvas()->TextWidth("All keyboard");
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        box->SetUIStyle(style);
        const int boxW = style == MacOS ? 15 : 13;
        const int boxH = style == MacOS ? 17 : 13;
        EXPECT_EQ(box->Height(), std::max(th + 2, boxH) + 4) << kUIStyleNames[style];
        EXPECT_EQ(box->Width(), boxW + tw + 8) << kUIStyleNames[style];
        if (th == 13) {
            EXPECT_EQ(box->Height(), style == MacOS ? 21 : 19);
        }
    }
    // A new caption or font refits; without AutoSize nothing moves.
    box->SetCaption("All");
    EXPECT_EQ(box->Width(), 13 + measure.Canvas()->TextWidth("All") + 8);
    box->SetAutoSize(false);
    box->SetCaption("All keyboard and more");
    EXPECT_EQ(box->Width(), 13 + measure.Canvas()->TextWidth("All") + 8);
    box->SetAutoSize(true);
    EXPECT_EQ(box->Width(), 13 + measure.Canvas()->TextWidth("All keyboard and more") + 8);
}

TEST_F(CheckBoxTest, TheFocusRectangleStartsOnePixelLeftOfTheCaptionAndIsTextHighPlusTwo) {
    auto* box = NewBox("Box", "Numbers");
    auto* other = Place<TFocusHolder>("Other", Bounds(200, 20, 40, 20));
    box->Font()->SetName("Tahoma");
    box->Font()->SetSize(8);
    Show();
    other->SetFocus();
    Pump();
    const TPixelBuffer plain = Shot(box);
    box->SetFocus();
    Pump();
    const TPixelBuffer focused = Shot(box);
    TBitmap measure;
    measure.Canvas()->SetFont(box->Font());
    const int th = measure.Canvas()->TextHeight("W");
    const int tx = 13 + 4;
    const int ty = (box->Height() - th) / 2;
    TRect changed{box->Width(), box->Height(), -1, -1};
    for (int y = 0; y < box->Height(); ++y) {
        for (int x = 0; x < box->Width(); ++x) {
            if (plain.At(x, y) != focused.At(x, y)) {
                changed = {std::min(changed.Left, x), std::min(changed.Top, y),
                           std::max(changed.Right, x + 1), std::max(changed.Bottom, y + 1)};
            }
        }
    }
    EXPECT_EQ(changed, (TRect{tx - 1, ty, box->Width(), std::min(ty + th + 2, box->Height())}));
}

TEST_F(CheckBoxTest, ARemovedThemeFileFallsBackToDeepBlue) {
    auto* box = NewBox("Box", "Numbers");
    auto* theme = new TsuiFileTheme(form);
    box->SetFileTheme(theme);
    box->SetUIStyle(WinXP);
    delete theme;
    EXPECT_EQ(box->FileTheme(), nullptr);
    EXPECT_EQ(box->UIStyle(), DeepBlue);
}

TEST_F(CheckBoxTest, ATransparentBoxShowsItsParentsBackground) {
    auto* box = NewBox("Box", "Numbers");
    box->SetColor(static_cast<TColor>(0x000000FF));
    Show();
    const int right = box->Width() - 1;
    EXPECT_EQ(Shot(box).At(right, 1), 0xFF0000u);
    box->SetTransparent(true);
    EXPECT_EQ(Shot(box).At(right, 1), ColorToPixel(form->Color()));
}

} // namespace
