#include "skin/controls/SUIArrowButton.h"
#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIImageButton.h"
#include "skin/core/SUIMgr.h"
#include "tests/skin/controls/SkinControlFixture.h"
#include "tests/support/Artifacts.h"
#include "toolkit/controls/ActionList.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/graphics/Picture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// A plain focusable control, to hold the focus away from the buttons.
class TFocusHolder : public TCustomControl {
public:
    explicit TFocusHolder(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

class ButtonTest : public TSkinControlFixture {
protected:
    // A DeepBlue button (opaque, dotted focus rectangle) that logs its events.
    TsuiButton* NewButton(const char* name = "suiButton1", TRect bounds = Bounds(20, 20, 80, 27)) {
        auto* button = Place<TsuiButton>(name, bounds);
        button->SetUIStyle(DeepBlue);
        button->SetCaption("OK");
        Watch(button);
        return button;
    }

    void Watch(TsuiCustomButton* button) {
        const std::string name = button->Name();
        button->OnMouseDown = [this, name, button](TObject*, TMouseButton, TShiftState, int, int) {
            Log(name + ".down" + (button->Pressed() ? "(pressed)" : ""));
        };
        button->OnMouseUp = [this, name](TObject*, TMouseButton, TShiftState, int, int) {
            Log(name + ".up");
        };
        button->OnClick = [this, name, button](TObject*) {
            Log(name + ".click" + (button->Pressed() ? "(pressed)" : "") +
                (button->Focused() ? "(focused)" : "") + "(mr=" + std::to_string(form->ModalResult()) + ")");
        };
        button->OnMouseEnter = [this, name](TObject*) { Log(name + ".enter"); };
        button->OnMouseExit = [this, name](TObject*) { Log(name + ".exit"); };
        button->OnMouseContinuouslyDown = [this, name](TObject*) { Log(name + ".repeat"); };
    }

    // The three state slices of a look's button image.
    static TPixelBuffer Slice(TsuiUIStyle style, int k) {
        TBitmap bitmap;
        GetBuiltInThemeBitmap(style, TsuiThemeElement::ButtonImage, &bitmap, k, 3);
        return bitmap.Pixels();
    }

    // A spot in the unscaled top-left corner where the three DeepBlue slices differ.
    static TPoint DistinctSpot() {
        const TPixelBuffer s1 = Slice(DeepBlue, 1), s2 = Slice(DeepBlue, 2), s3 = Slice(DeepBlue, 3);
        for (int y = 1; y < 10; ++y) {
            for (int x = 1; x < 18; ++x) {
                const auto a = s1.At(x, y), b = s2.At(x, y), c = s3.At(x, y);
                if (a != b && b != c && a != c && a != 0xFF00FF && b != 0xFF00FF && c != 0xFF00FF) {
                    return {x, y};
                }
            }
        }
        ADD_FAILURE() << "the DeepBlue slices do not differ in their top-left corner";
        return {1, 1};
    }
};

// ---- The state machine --------------------------------------------------------------------------------

TEST_F(ButtonTest, AClickShowsPressedThenReleasedTakesFocusWritesModalResultThenClicks) {
    TsuiButton* button = NewButton();
    button->SetModalResult(mrOk);
    Show();
    MoveOver(button, 10, 10);
    PressOn(button, 10, 10);
    EXPECT_TRUE(button->Pressed());
    ReleaseOn(button, 10, 10);
    EXPECT_THAT(TakeLog(), ElementsAre("suiButton1.enter", "suiButton1.down(pressed)",
                                       "suiButton1.click(focused)(mr=1)", "suiButton1.up"));
    EXPECT_FALSE(button->Pressed());
    EXPECT_TRUE(button->MouseOver());
}

TEST_F(ButtonTest, AButtonWithModalResultZeroResetsTheFormsModalResult) {
    TsuiButton* button = NewButton();
    Show();
    form->SetModalResult(mrCancel);
    ClickOn(button, 5, 5);
    EXPECT_EQ(form->ModalResult(), mrNone);
    EXPECT_THAT(TakeLog(), testing::Contains("suiButton1.click(focused)(mr=0)"));
}

TEST_F(ButtonTest, HoverShowsTheMouseOverSliceAndLeavingTheNormalOne) {
    TsuiButton* button = NewButton();
    auto* other = Place<TFocusHolder>("Other", Bounds(200, 20, 50, 20));
    Show();
    const TPoint spot = DistinctSpot();
    EXPECT_EQ(Shot(button).At(spot.X, spot.Y), Slice(DeepBlue, 1).At(spot.X, spot.Y));

    MoveOver(button, 40, 13);
    EXPECT_TRUE(button->MouseOver());
    EXPECT_EQ(Shot(button).At(spot.X, spot.Y), Slice(DeepBlue, 2).At(spot.X, spot.Y));

    PressOn(button, 40, 13);
    EXPECT_EQ(Shot(button).At(spot.X, spot.Y), Slice(DeepBlue, 3).At(spot.X, spot.Y));
    ReleaseOn(button, 40, 13);

    MoveOver(other, 5, 5);
    EXPECT_FALSE(button->MouseOver());
    EXPECT_EQ(Shot(button).At(spot.X, spot.Y), Slice(DeepBlue, 1).At(spot.X, spot.Y));
    EXPECT_THAT(TakeLog(),
                ElementsAre("suiButton1.enter", "suiButton1.down(pressed)", "suiButton1.click(focused)(mr=0)",
                            "suiButton1.up", "suiButton1.exit"));
}

TEST_F(ButtonTest, ReleasingOutsideFiresNoClickAndNoLaterRepeats) {
    TsuiButton* button = NewButton();
    TsuiButton* neighbour = NewButton("suiButton2", Bounds(120, 20, 80, 27));
    Show();
    MoveOver(button, 10, 10);
    PressOn(button, 10, 10);
    Advance(150); // one repeat while held inside
    MoveOver(neighbour, 10, 10);
    EXPECT_FALSE(button->Pressed());
    EXPECT_FALSE(button->MouseOver());
    // No hover on another control while the press holds the mouse.
    EXPECT_FALSE(neighbour->MouseOver());
    Advance(500);
    ReleaseOn(neighbour, 10, 10);
    Advance(500);
    EXPECT_THAT(TakeLog(), ElementsAre("suiButton1.enter", "suiButton1.down(pressed)", "suiButton1.repeat",
                                       "suiButton1.exit", "suiButton1.up", "suiButton2.enter"));
    EXPECT_TRUE(neighbour->MouseOver());
}

TEST_F(ButtonTest, HoldingRepeatsEveryIntervalAfterAWholeIntervalThenClicksOnce) {
    TsuiButton* button = NewButton();
    Show();
    MoveOver(button, 10, 10);
    PressOn(button, 10, 10);
    Advance(99);
    EXPECT_THAT(TakeLog(), ElementsAre("suiButton1.enter", "suiButton1.down(pressed)"));
    Advance(251); // 350 ms held
    ReleaseOn(button, 10, 10);
    EXPECT_THAT(TakeLog(), ElementsAre("suiButton1.repeat", "suiButton1.repeat", "suiButton1.repeat",
                                       "suiButton1.click(focused)(mr=0)", "suiButton1.up"));
    Advance(1000);
    EXPECT_THAT(TakeLog(), IsEmpty());

    // A quick click repeats nothing; the interval is read at each press.
    button->SetMouseContinuouslyDownInterval(40);
    PressOn(button, 10, 10);
    Advance(30);
    ReleaseOn(button, 10, 10);
    PressOn(button, 10, 10);
    Advance(90);
    ReleaseOn(button, 10, 10);
    EXPECT_THAT(TakeLog(),
                ElementsAre("suiButton1.down(pressed)", "suiButton1.click(focused)(mr=0)", "suiButton1.up",
                            "suiButton1.down(pressed)", "suiButton1.repeat", "suiButton1.repeat",
                            "suiButton1.click(focused)(mr=0)", "suiButton1.up"));
}

TEST_F(ButtonTest, AnIntervalOfZeroOrLessNeverRepeats) {
    TsuiButton* button = NewButton();
    Show();
    for (int interval : {0, -5}) {
        button->SetMouseContinuouslyDownInterval(interval);
        PressOn(button, 10, 10);
        Advance(1000);
        ReleaseOn(button, 10, 10);
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), "suiButton1.repeat"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "suiButton1.click(focused)(mr=0)"), 2);
}

TEST_F(ButtonTest, DisablingHidingOrCancellingDuringAHoldStopsTheRepeats) {
    TsuiButton* button = NewButton();
    Show();
    struct TCase {
        const char* what;
        std::function<void()> end;
        std::function<void()> undo;
    };
    const TCase cases[] = {
        {"disabled", [&] { button->SetEnabled(false); }, [&] { button->SetEnabled(true); }},
        {"hidden", [&] { button->Hide(); }, [&] { button->Show(); }},
        {"cancel mode", [&] { ::SendMessage(button->Handle(), WM_CANCELMODE, 0, 0); }, [] {}},
        {"capture taken", [&] { ::SetCapture(form->Handle()); }, [] { ::ReleaseCapture(); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        MoveOver(button, 10, 10);
        PressOn(button, 10, 10);
        Advance(150);
        c.end();
        Pump();
        EXPECT_FALSE(button->Pressed());
        EXPECT_FALSE(button->Repeating());
        Advance(1000);
        c.undo();
        ReleaseOn(button, 10, 10);
        EXPECT_EQ(std::count(log.begin(), log.end(), "suiButton1.repeat"), 1);
        EXPECT_EQ(std::count(log.begin(), log.end(), "suiButton1.click(focused)(mr=0)"), 0);
        log.clear();
    }
}

TEST_F(ButtonTest, OtherMouseButtonsNeitherPressNorClick) {
    TsuiButton* button = NewButton();
    Show();
    MoveOver(button, 10, 10);
    Press(At(button, 10, 10), TMouseButton::Right);
    EXPECT_FALSE(button->Pressed());
    Release(At(button, 10, 10), TMouseButton::Right);
    EXPECT_THAT(TakeLog(), ElementsAre("suiButton1.enter", "suiButton1.down", "suiButton1.up"));
}

TEST_F(ButtonTest, ADoubleClickIsTwoClicks) {
    TsuiButton* button = NewButton();
    int dblClicks = 0;
    button->OnDblClick = [&](TObject*) { ++dblClicks; };
    Show();
    ClickOn(button, 10, 10);
    ClickOn(button, 10, 10);
    EXPECT_EQ(std::count(log.begin(), log.end(), "suiButton1.click(focused)(mr=0)"), 2);
    EXPECT_EQ(dblClicks, 0);
}

// ---- Keys -------------------------------------------------------------------------------------------------

TEST_F(ButtonTest, SpaceAndEnterPressOnTheWayDownAndClickOnTheWayUp) {
    TsuiButton* button = NewButton();
    Show();
    button->SetFocus();
    for (int key : {VK_SPACE, VK_RETURN}) {
        KeyDown(key);
        KeyDown(key); // held: only repeats the press
        EXPECT_TRUE(button->Pressed());
        EXPECT_THAT(TakeLog(), IsEmpty());
        KeyUp(key);
        EXPECT_FALSE(button->Pressed());
        EXPECT_THAT(TakeLog(), ElementsAre("suiButton1.click(focused)(mr=0)"));
    }
    // A release without the press clicks nothing.
    KeyUp(VK_SPACE);
    EXPECT_THAT(TakeLog(), IsEmpty());
}

TEST_F(ButtonTest, AButtonPressedWithSpaceThatLosesTheFocusIsNoLongerPressed) {
    TsuiButton* button = NewButton();
    auto* other = Place<TFocusHolder>("Other", Bounds(200, 20, 50, 20));
    Show();
    button->SetFocus();
    KeyDown(VK_SPACE);
    other->SetFocus();
    Pump();
    EXPECT_FALSE(button->Pressed());
    KeyUp(VK_SPACE);
    button->SetFocus();
    KeyUp(VK_SPACE);
    EXPECT_THAT(TakeLog(), IsEmpty());
}

TEST_F(ButtonTest, EnterClicksTheDefaultButtonAndEscapeTheCancelButtonWithoutModifiers) {
    TsuiButton* ok = NewButton("OkButton");
    TsuiButton* cancel = NewButton("CancelButton", Bounds(120, 20, 80, 27));
    auto* other = Place<TFocusHolder>("Other", Bounds(200, 80, 50, 20));
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    Show();
    other->SetFocus();
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_THAT(TakeLog(), ElementsAre("OkButton.click(focused)(mr=1)", "CancelButton.click(focused)(mr=2)"));

    other->SetFocus();
    KeyDown(VK_CONTROL);
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    KeyUp(VK_CONTROL);
    EXPECT_THAT(TakeLog(), IsEmpty());

    // A default button that cannot take the focus does not answer.
    ok->SetEnabled(false);
    other->SetFocus();
    PressKey(VK_RETURN);
    EXPECT_THAT(TakeLog(), IsEmpty());
}

TEST_F(ButtonTest, AnAccessKeyClicksOnlyAVisibleEnabledButton) {
    TsuiButton* button = NewButton();
    button->SetCaption("&Generate");
    auto* other = Place<TFocusHolder>("Other", Bounds(200, 80, 50, 20));
    Show();
    other->SetFocus();
    auto altG = [&] {
        KeyDown(VK_MENU);
        PressKey('G');
        KeyUp(VK_MENU);
    };
    altG();
    EXPECT_THAT(TakeLog(), ElementsAre("suiButton1.click(focused)(mr=0)"));

    button->SetEnabled(false);
    other->SetFocus();
    altG();
    EXPECT_THAT(TakeLog(), IsEmpty());

    button->SetEnabled(true);
    button->Hide();
    altG();
    EXPECT_THAT(TakeLog(), IsEmpty());
    EXPECT_TRUE(other->Focused());
}

// ---- Handlers that free the button -----------------------------------------------------------------------

TEST_F(ButtonTest, AHandlerMayFreeTheButtonItFiredFrom) {
    struct TCase {
        const char* event;
        std::function<void(TsuiButton*, std::function<void()>)> hook;
        std::function<void(TsuiButton*)> act;
    };
    const TCase cases[] = {
        {"OnClick", [](TsuiButton* b, auto f) { b->OnClick = [f](TObject*) { f(); }; },
         [this](TsuiButton* b) { ClickOn(b, 5, 5); }},
        {"OnMouseDown",
         [](TsuiButton* b, auto f) { b->OnMouseDown = [f](TObject*, auto, auto, int, int) { f(); }; },
         [this](TsuiButton* b) { ClickOn(b, 5, 5); }},
        {"OnMouseUp",
         [](TsuiButton* b, auto f) { b->OnMouseUp = [f](TObject*, auto, auto, int, int) { f(); }; },
         [this](TsuiButton* b) { ClickOn(b, 5, 5); }},
        {"OnMouseEnter", [](TsuiButton* b, auto f) { b->OnMouseEnter = [f](TObject*) { f(); }; },
         [this](TsuiButton* b) { MoveOver(b, 5, 5); }},
        {"OnMouseContinuouslyDown",
         [](TsuiButton* b, auto f) { b->OnMouseContinuouslyDown = [f](TObject*) { f(); }; },
         [this](TsuiButton* b) {
             PressOn(b, 5, 5);
             Advance(450);
         }},
        {"OnClick by Space", [](TsuiButton* b, auto f) { b->OnClick = [f](TObject*) { f(); }; },
         [this](TsuiButton* b) {
             b->SetFocus();
             PressKey(VK_SPACE);
         }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.event);
        auto* button = Place<TsuiButton>("Doomed", Bounds(20, 20, 80, 27));
        int fired = 0;
        c.hook(button, [&] {
            ++fired;
            delete button;
        });
        Show();
        c.act(button);
        Advance(500);
        Release(At(form, 30, 30));
        EXPECT_EQ(fired, 1);
        EXPECT_EQ(form->FindComponent("Doomed"), nullptr);
    }
}

TEST_F(ButtonTest, AMouseExitHandlerMayFreeTheButton) {
    auto* button = Place<TsuiButton>("Doomed", Bounds(20, 20, 80, 27));
    int fired = 0;
    button->OnMouseExit = [&](TObject*) {
        ++fired;
        delete button;
    };
    Show();
    MoveOver(button, 5, 5);
    MoveOver(form, 300, 200);
    MoveOver(form, 310, 210);
    EXPECT_EQ(fired, 1);
}

// ---- Looks ------------------------------------------------------------------------------------------------

TEST_F(ButtonTest, TheLookDecidesTransparencyAndAStoredValueAfterItOverrides) {
    TsuiButton* button = NewButton();
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        button->SetUIStyle(style);
        EXPECT_EQ(button->Transparent(), style == MacOS || style == BlueGlass) << kUIStyleNames[style];
        EXPECT_EQ(button->BitmapTransparent(), button->Transparent());
    }
    button->SetUIStyle(MacOS);
    button->SetTransparent(false);
    EXPECT_FALSE(button->BitmapTransparent());
}

TEST_F(ButtonTest, ARemovedThemeFileFallsBackToDeepBlue) {
    TsuiButton* button = NewButton();
    auto* theme = new TsuiFileTheme(form);
    button->SetFileTheme(theme);
    button->SetUIStyle(MacOS);
    EXPECT_EQ(button->FileTheme(), theme);
    delete theme;
    EXPECT_EQ(button->FileTheme(), nullptr);
    EXPECT_EQ(button->UIStyle(), DeepBlue);
}

TEST_F(ButtonTest, AutoSizeFitsTheLooksButtonImage) {
    TsuiButton* button = NewButton();
    struct {
        TsuiUIStyle style;
        int width, height;
    } const cases[] = {
        {MacOS, 84, 23}, {DeepBlue, 74, 21}, {WinXP, 18, 21}, {BlueGlass, 77, 27}, {FromThemeFile, 24, 21}};
    for (const auto& c : cases) {
        button->SetAutoSize(false);
        button->SetBounds(20, 20, 129, 27);
        button->SetUIStyle(c.style);
        button->SetAutoSize(true);
        EXPECT_EQ(button->Width(), c.width) << kUIStyleNames[c.style];
        EXPECT_EQ(button->Height(), c.height) << kUIStyleNames[c.style];
    }
    // Only assigning AutoSize fits the size, not a later change of look.
    button->SetUIStyle(MacOS);
    EXPECT_EQ(button->Width(), 24);
}

TEST_F(ButtonTest, FocusIsABoldCaptionOnMacOSAndBlueGlassAndADottedRectangleElsewhere) {
    TsuiButton* button = NewButton("suiButton1", Bounds(20, 20, 129, 27));
    button->SetCaption("Generate");
    auto* other = Place<TFocusHolder>("Other", Bounds(200, 80, 50, 20));
    Show();
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        SCOPED_TRACE(kUIStyleNames[style]);
        button->SetUIStyle(style);
        other->SetFocus();
        Pump();
        const TPixelBuffer plain = Shot(button);
        button->SetFocus();
        Pump();
        const TPixelBuffer focused = Shot(button);
        const int m = button->FocusedRectMargin();
        // The top line of the focus rectangle, away from the caption.
        const TRect line{m + 1, m, 129 - m - 1, m + 1};
        int changedOnLine = 0;
        for (int x = line.Left; x < line.Right; ++x) {
            changedOnLine += plain.At(x, m) != focused.At(x, m) ? 1 : 0;
        }
        const TRect caption{30, 6, 100, 21};
        const int darkPlain = CountOf(plain, caption, 0x000000);
        const int darkFocused = CountOf(focused, caption, 0x000000);
        // Nothing changes on the line just outside the rectangle.
        int changedOutside = 0;
        for (int x = line.Left; x < line.Right; ++x) {
            changedOutside += plain.At(x, m - 1) != focused.At(x, m - 1) ? 1 : 0;
        }
        EXPECT_EQ(changedOutside, 0);
        if (style == MacOS || style == BlueGlass) {
            EXPECT_EQ(changedOnLine, 0);
            EXPECT_GT(darkFocused, darkPlain);
        } else {
            EXPECT_GT(changedOnLine, line.Width() / 3);
            EXPECT_EQ(darkFocused, darkPlain);
        }
        // No stale bold: once the focus goes, the caption is as before.
        other->SetFocus();
        Pump();
        EXPECT_EQ(CountOf(Shot(button), caption, 0x000000), darkPlain);
    }
}

TEST_F(ButtonTest, ADisabledButtonShowsTheNormalSliceAndAGreyCaptionWithAWhiteShadow) {
    TsuiButton* button = NewButton("suiButton1", Bounds(20, 20, 129, 27));
    button->SetCaption("Generate");
    Show();
    button->SetEnabled(false);
    const TPixelBuffer shot = Shot(button);
    const TPoint spot = DistinctSpot();
    EXPECT_EQ(shot.At(spot.X, spot.Y), Slice(DeepBlue, 1).At(spot.X, spot.Y));
    const TRect caption{20, 4, 110, 23};
    EXPECT_GT(CountOf(shot, caption, 0x808080), 20);
    EXPECT_GT(CountOf(shot, caption, 0xFFFFFF), 20);
    EXPECT_EQ(CountOf(shot, caption, 0x000000), 0);
    // Every grey pixel's shadow lies one pixel right and down, where no grey covers it.
    for (int y = caption.Top; y < caption.Bottom; ++y) {
        for (int x = caption.Left; x < caption.Right; ++x) {
            if (shot.At(x, y) == 0x808080 && shot.At(x + 1, y + 1) != 0x808080) {
                EXPECT_EQ(shot.At(x + 1, y + 1), 0xFFFFFFu) << x << "," << y;
            }
        }
    }
}

TEST_F(ButtonTest, ACaptionOfBlanksPaintsNoText) {
    TsuiButton* button = NewButton("suiButton1", Bounds(20, 20, 129, 27));
    Show();
    button->SetCaption("");
    const TPixelBuffer empty = Shot(button);
    button->SetCaption("   ");
    EXPECT_TRUE(SamePixels(Shot(button), empty, "blank caption"));
}

// ---- Glyphs -----------------------------------------------------------------------------------------------

// A glyph of width × height: solid red with a white top-left pixel (the mask colour); with two
// images the right one is blue.
std::unique_ptr<TBitmap> MakeGlyph(int width, int height) {
    auto glyph = std::make_unique<TBitmap>(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            glyph->Pixels().Set(x, y, x >= height && width == 2 * height ? 0x0000FF : 0xFF0000);
        }
    }
    glyph->Pixels().Set(0, 0, 0xFFFFFF);
    glyph->Modified();
    return glyph;
}

// The bounding box of the pixels of one colour.
TRect BoxOf(const TPixelBuffer& pixels, std::uint32_t colour) {
    TRect box{pixels.Width(), pixels.Height(), -1, -1};
    for (int y = 0; y < pixels.Height(); ++y) {
        for (int x = 0; x < pixels.Width(); ++x) {
            if (pixels.At(x, y) == colour) {
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                       std::max(box.Bottom, y + 1)};
            }
        }
    }
    return box;
}

TEST_F(ButtonTest, TheGlyphAndCaptionStandWhereTheLayoutPutsThemAndMoveWhenPressed) {
    TsuiButton* button = NewButton("suiButton1", Bounds(20, 20, 129, 60));
    button->SetCaption("Generate");
    const auto glyph = MakeGlyph(16, 16);
    button->SetGlyph(glyph.get());
    Show();
    TBitmap measure;
    measure.Canvas()->SetFont(button->Font());
    const int tw = measure.Canvas()->TextWidth("Generate");
    const int th = measure.Canvas()->TextHeight("Generate");
    const int W = 129, H = 60, S = 4, g = 16;
    struct {
        TButtonLayout layout;
        TPoint glyph, caption;
    } const cases[] = {
        {blGlyphLeft, {(W - g - tw - S) / 2, (H - g) / 2}, {(W - g - tw - S) / 2 + g + S, (H - th) / 2}},
        {blGlyphRight, {(W + tw + S - g) / 2, (H - g) / 2}, {(W + tw + S - g) / 2 - tw - S, (H - th) / 2}},
        {blGlyphTop, {(W - g) / 2, (H - th - g - S) / 2}, {(W - tw) / 2, (H - th - g - S) / 2 + g + S}},
        {blGlyphBottom, {(W - g) / 2, (H + th + S - g) / 2}, {(W - tw) / 2, (H + th + S - g) / 2 - th - S}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(kButtonLayoutNames[c.layout]);
        button->SetLayout(c.layout);
        const TRect box = BoxOf(Shot(button), 0xFF0000);
        EXPECT_EQ(box, Bounds(c.glyph.X, c.glyph.Y, 16, 16));
        EXPECT_EQ(button->CaptionPos(), c.caption);
        // The caption's ink lies right of and below its corner.
        const TRect ink = BoxOf(Shot(button), 0x000000);
        EXPECT_GE(ink.Left, c.caption.X);
        EXPECT_GE(ink.Top, c.caption.Y);
        EXPECT_LE(ink.Bottom, c.caption.Y + th);

        MoveOver(button, 2, 2);
        PressOn(button, 2, 2);
        EXPECT_EQ(BoxOf(Shot(button), 0xFF0000), Bounds(c.glyph.X + 1, c.glyph.Y + 1, 16, 16));
        const TRect pressedInk = BoxOf(Shot(button), 0x000000);
        EXPECT_EQ(pressedInk.Left, ink.Left + 1);
        EXPECT_EQ(pressedInk.Top, ink.Top + 1);
        ReleaseOn(form, 300, 300);
    }
}

TEST_F(ButtonTest, AGlyphTwiceAsWideAsHighHoldsTheEnabledAndTheDisabledImage) {
    TsuiButton* button = NewButton("suiButton1", Bounds(20, 20, 129, 27));
    const auto glyph = MakeGlyph(32, 16);
    button->SetGlyph(glyph.get());
    Show();
    TRect red = BoxOf(Shot(button), 0xFF0000);
    EXPECT_EQ(red.Width(), 16);
    EXPECT_EQ(BoxOf(Shot(button), 0x0000FF).Right, -1); // no blue while enabled
    button->SetEnabled(false);
    EXPECT_EQ(BoxOf(Shot(button), 0x0000FF), red);
    EXPECT_EQ(BoxOf(Shot(button), 0xFF0000).Right, -1);

    // A one-image glyph is drawn greyed when disabled.
    const auto single = MakeGlyph(16, 16);
    button->SetGlyph(single.get());
    EXPECT_EQ(BoxOf(Shot(button), 0xFF0000).Right, -1);
}

TEST_F(ButtonTest, AnActionGivesItsCaptionAndItsImageAsGlyphWhenTheButtonHasNone) {
    TsuiButton* button = NewButton("suiButton1", Bounds(20, 20, 129, 27));
    auto* images = new TImageList(form);
    images->SetWidth(16);
    images->SetHeight(16);
    const auto glyph = MakeGlyph(16, 16);
    images->AddMasked(glyph.get(), clWhite);
    auto* list = new TActionList(form);
    list->SetImages(images);
    auto* action = new TAction(form);
    action->SetActionList(list);
    action->SetCaption("&Copy to clipboard");
    action->SetImageIndex(0);
    button->SetAction(action);
    EXPECT_EQ(button->Caption(), "&Copy to clipboard");
    EXPECT_EQ(button->Glyph()->Width(), 16);
    EXPECT_EQ(button->Glyph()->Pixels().At(5, 5), 0xFF0000u);
    // A later caption of the action follows; the glyph stays.
    action->SetCaption("Copy");
    EXPECT_EQ(button->Caption(), "Copy");
    // An image index outside the list leaves a button without glyph as it is.
    TsuiButton* other = NewButton("suiButton2", Bounds(20, 60, 129, 27));
    auto* second = new TAction(form);
    second->SetActionList(list);
    second->SetImageIndex(3);
    other->SetAction(second);
    EXPECT_TRUE(other->Glyph()->Empty());
}

// ---- Image and arrow buttons ----------------------------------------------------------------------------

std::unique_ptr<TPicture> SolidPicture(int width, int height, std::uint32_t pixel) {
    auto picture = std::make_unique<TPicture>();
    TBitmap* bitmap = picture->Bitmap();
    bitmap->SetSize(width, height);
    bitmap->Pixels().Fill(pixel);
    bitmap->Modified();
    return picture;
}

TEST_F(ButtonTest, AnImageButtonShowsEachStatesPictureOrElsePicNormal) {
    auto* button = Place<TsuiImageButton>("suiImageButton1", Bounds(20, 20, 30, 20));
    button->SetCaption("");
    button->SetUIStyle(MacOS);
    EXPECT_EQ(button->UIStyle(), FromThemeFile);
    const auto normal = SolidPicture(30, 20, 0x00FF00);
    const auto over = SolidPicture(30, 20, 0x0000FF);
    button->SetPicNormal(normal.get());
    button->SetPicMouseOn(over.get());
    Show();
    EXPECT_EQ(Shot(button).At(15, 10), 0x00FF00u);
    MoveOver(button, 15, 10);
    EXPECT_EQ(Shot(button).At(15, 10), 0x0000FFu);
    PressOn(button, 15, 10); // no PicMouseDown: PicNormal
    EXPECT_EQ(Shot(button).At(15, 10), 0x00FF00u);
    ReleaseOn(button, 15, 10);
    button->SetEnabled(false); // no PicDisabled: PicNormal
    EXPECT_EQ(Shot(button).At(15, 10), 0x00FF00u);
}

TEST_F(ButtonTest, AnImageButtonWhosePictureIsNoBitmapPaintsABlankFaceInItsColour) {
    auto* button = Place<TsuiImageButton>("suiImageButton1", Bounds(20, 20, 90, 30));
    button->SetColor(static_cast<TColor>(0x00336699));
    button->SetCaption("Icon");
    TPicture icon;
    icon.Icon()->SetSize(16, 16);
    button->SetPicNormal(&icon);
    Show();
    const TPixelBuffer shot = Shot(button);
    EXPECT_EQ(shot.At(2, 2), 0x996633u);
    EXPECT_EQ(shot.At(80, 25), 0x996633u);
    EXPECT_GT(CountOf(shot, {0, 0, 90, 30}, 0x000000), 10) << "the caption is painted as usual";
}

TEST_F(ButtonTest, AnImageButtonsAutoSizeFollowsPicNormal) {
    auto* button = Place<TsuiImageButton>("suiImageButton1", Bounds(20, 20, 30, 20));
    button->SetAutoSize(true);
    const auto normal = SolidPicture(17, 11, 0x00FF00);
    button->SetPicNormal(normal.get());
    EXPECT_EQ(button->Width(), 17);
    EXPECT_EQ(button->Height(), 11);
}

TEST_F(ButtonTest, AnUpArrowInA15By8ButtonIsTheTriangleFrom4_5Over7_2To10_5) {
    auto* up = Place<TSuiArrowButton>("Up", Bounds(20, 20, 15, 8));
    auto* down = Place<TSuiArrowButton>("Down", Bounds(40, 20, 15, 8));
    down->SetArrow(suiDown);
    up->SetUIStyle(WinXP);
    down->SetUIStyle(WinXP);
    Show();
    const TPixelBuffer a = Shot(up);
    EXPECT_EQ(BoxOf(a, 0x000000), (TRect{4, 2, 11, 6}));
    for (TPoint p : {TPoint{4, 5}, TPoint{7, 2}, TPoint{10, 5}, TPoint{7, 4}}) {
        EXPECT_EQ(a.At(p.X, p.Y), 0u) << p.X << "," << p.Y;
    }
    EXPECT_NE(a.At(4, 2), 0u);
    const TPixelBuffer b = Shot(down);
    EXPECT_EQ(BoxOf(b, 0x000000), (TRect{4, 2, 11, 6}));
    EXPECT_EQ(b.At(7, 5), 0u);
    EXPECT_NE(b.At(4, 5), 0u);
    // Pressed, the arrow stays where it is.
    MoveOver(up, 7, 4);
    PressOn(up, 7, 4);
    EXPECT_EQ(BoxOf(Shot(up), 0x000000), (TRect{4, 2, 11, 6}));
}

} // namespace
