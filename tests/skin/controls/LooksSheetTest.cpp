#include "skin/controls/SUIButton.h"
#include "skin/controls/SUICheckBox.h"
#include "skin/controls/SUIImageButton.h"
#include "skin/controls/SUIProgressBar.h"
#include "skin/controls/SUISpinEdit.h"
#include "tests/skin/controls/SkinControlFixture.h"
#include "tests/support/Artifacts.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Picture.h"

#include <gtest/gtest.h>

namespace {

class TFocusHolder : public TCustomControl {
public:
    explicit TFocusHolder(TComponent* owner) : TCustomControl(owner) { SetTabStop(true); }
};

// One picture of every control of the buttons, check box, progress bar and spin edit in each of
// the five looks and each of their states, laid out as a sheet a person can judge at a glance.
class LooksSheet : public TSkinControlFixture {
protected:
    static constexpr int kLabelWidth = 110;
    static constexpr int kCell = 140;
    static constexpr int kLookHeight = 196;

    void SetUp() override {
        sheet.Canvas()->Brush()->SetColor(clWhite);
        sheet.SetSize(kLabelWidth + 5 * kCell, 5 * kLookHeight);
        sheet.Canvas()->FillRect({0, 0, sheet.Width(), sheet.Height()});
        sheet.Canvas()->Font()->SetName("Tahoma");
        holder = Place<TFocusHolder>("Holder", Bounds(500, 380, 10, 10));
    }

    // Pastes what the screen shows of control into the sheet at (x, y).
    void Paste(const TControl* control, int x, int y) {
        const TPixelBuffer shot = Shot(control);
        for (int row = 0; row < shot.Height(); ++row) {
            for (int col = 0; col < shot.Width(); ++col) {
                sheet.Pixels().Set(x + col, y + row, shot.At(col, row));
            }
        }
    }
    void Label(int x, int y, const std::string& text) {
        sheet.Canvas()->Brush()->SetStyle(bsClear);
        sheet.Canvas()->TextOut(x, y, text);
    }
    void Rest() {
        holder->SetFocus();
        MoveTo({1200, 1000});
        Pump();
    }

    TBitmap sheet;
    TFocusHolder* holder = nullptr;
};

TEST_F(LooksSheet, EveryControlInEveryLookAndState) {
    const char* kStates[] = {"normal", "mouse over", "pressed", "disabled", "focused"};
    Show();
    for (int look = 0; look < 5; ++look) {
        const TsuiUIStyle style = kBuiltInUIStyles[look];
        const int top = look * kLookHeight;
        form->SetColor(GetBuiltInThemeColor(style, TsuiThemeElement::FormBackgroundColor));
        Pump();
        sheet.Canvas()->Font()->SetStyle({fsBold});
        Label(4, top + 4, std::string(kUIStyleNames[style]));
        sheet.Canvas()->Font()->SetStyle({});
        for (int s = 0; s < 5; ++s) {
            Label(kLabelWidth + s * kCell + 4, top + 4, kStates[s]);
        }

        // Push button, in its five states; each state must look different from normal.
        auto* button = Place<TsuiButton>("suiButton1", Bounds(20, 20, 129, 27));
        button->SetUIStyle(style);
        button->SetCaption("Generate password");
        Label(4, top + 26, "TsuiButton");
        Rest();
        Paste(button, kLabelWidth + 4, top + 20);
        const TPixelBuffer normal = Shot(button);
        MoveOver(button, 60, 13);
        Paste(button, kLabelWidth + kCell + 4, top + 20);
        EXPECT_TRUE(Differ(Shot(button), normal)) << "hover " << kUIStyleNames[style];
        PressOn(button, 60, 13);
        Paste(button, kLabelWidth + 2 * kCell + 4, top + 20);
        EXPECT_TRUE(Differ(Shot(button), normal)) << "pressed " << kUIStyleNames[style];
        ReleaseOn(form, 400, 300);
        Rest();
        button->SetEnabled(false);
        Paste(button, kLabelWidth + 3 * kCell + 4, top + 20);
        EXPECT_TRUE(Differ(Shot(button), normal)) << "disabled " << kUIStyleNames[style];
        button->SetEnabled(true);
        button->SetFocus();
        Pump();
        Paste(button, kLabelWidth + 4 * kCell + 4, top + 20);
        EXPECT_TRUE(Differ(Shot(button), normal)) << "focused " << kUIStyleNames[style];
        delete button;

        // Check box: unchecked, checked, disabled unchecked and checked, focused.
        auto* box = Place<TsuiCheckBox>("suiCheckBox1", Bounds(20, 20, 93, 17));
        box->SetUIStyle(style);
        box->SetCaption("All keyboard");
        box->SetColor(form->Color());
        Label(4, top + 58, "TsuiCheckBox");
        Rest();
        Paste(box, kLabelWidth + 4, top + 56);
        box->SetChecked(true);
        Paste(box, kLabelWidth + kCell + 4, top + 56);
        box->SetEnabled(false);
        box->SetChecked(false);
        Paste(box, kLabelWidth + 2 * kCell + 4, top + 56);
        box->SetChecked(true);
        Paste(box, kLabelWidth + 3 * kCell + 4, top + 56);
        box->SetEnabled(true);
        box->SetFocus();
        Pump();
        Paste(box, kLabelWidth + 4 * kCell + 4, top + 56);
        delete box;
        Label(kLabelWidth + 4, top + 78,
              "unchecked  /  checked  /  disabled  /  disabled checked  /  focused");

        // Progress bar at 0%, 50% and 100%, and a vertical one at 50%.
        auto* bar = Place<TsuiProgressBar>("suiProgressBar1", Bounds(20, 20, 130, 12));
        bar->SetUIStyle(style);
        Label(4, top + 98, "TsuiProgressBar");
        for (int i = 0; i < 3; ++i) {
            bar->SetPosition(i * 50);
            Paste(bar, kLabelWidth + i * kCell + 4, top + 100);
        }
        bar->SetOrientation(suiVertical);
        bar->SetHeight(40);
        bar->SetPosition(50);
        Paste(bar, kLabelWidth + 4 * kCell + 60, top + 146);
        delete bar;

        // Spin edit (edit, arrow buttons): normal, up arrow under the mouse, up arrow pressed,
        // disabled, focused.
        auto* spin = Place<TSuiSpinEdit>("SuiSpinEdit1", Bounds(20, 20, 97, 19));
        spin->SetUIStyle(style);
        spin->SetText("10");
        Label(4, top + 124, "TSuiSpinEdit");
        Rest();
        Paste(spin, kLabelWidth + 4, top + 122);
        TSuiArrowButton* up = spin->SpinButtons()->UpButton();
        MoveOver(up, 7, 4);
        Paste(spin, kLabelWidth + kCell + 4, top + 122);
        PressOn(up, 7, 4);
        Paste(spin, kLabelWidth + 2 * kCell + 4, top + 122);
        ReleaseOn(form, 400, 300);
        Rest();
        spin->SetEnabled(false);
        Paste(spin, kLabelWidth + 3 * kCell + 4, top + 122);
        spin->SetEnabled(true);
        spin->SetFocus();
        Pump();
        Paste(spin, kLabelWidth + 4 * kCell + 4, top + 122);
        delete spin;

        // Image button with pictures of its own, and a button with a glyph.
        auto* image = Place<TsuiImageButton>("suiImageButton1", Bounds(20, 20, 16, 16));
        image->SetCaption("");
        image->PicNormal()->LoadFromResourceName("MENU_CHECKED");
        image->SetDrawFocused(true);
        Label(4, top + 152, "TsuiImageButton");
        Rest();
        Paste(image, kLabelWidth + 4, top + 150);
        image->SetEnabled(false);
        Paste(image, kLabelWidth + 3 * kCell + 4, top + 150);
        delete image;
        auto* glyphButton = Place<TsuiButton>("suiButton2", Bounds(20, 20, 129, 27));
        glyphButton->SetUIStyle(style);
        glyphButton->SetCaption("Copy");
        TBitmap glyph;
        GetBuiltInThemeBitmap(style, TsuiThemeElement::CheckBoxImage, &glyph, 1, 4);
        glyphButton->SetGlyph(&glyph);
        Rest();
        Paste(glyphButton, kLabelWidth + kCell + 4, top + 146);
        glyphButton->SetEnabled(false);
        Paste(glyphButton, kLabelWidth + 2 * kCell + 4, top + 146);
        delete glyphButton;
        Label(kLabelWidth + 4, top + 176,
              "picture  /  glyph  /  glyph disabled  /  picture disabled  /  vertical bar");
    }
    SaveArtifactPng("sheet", sheet.Pixels());
    // Each look's band again at three times the size, to judge single pixels.
    for (int look = 0; look < 5; ++look) {
        constexpr int kZoom = 3;
        TPixelBuffer zoomed(sheet.Width() * kZoom, kLookHeight * kZoom);
        for (int y = 0; y < zoomed.Height(); ++y) {
            for (int x = 0; x < zoomed.Width(); ++x) {
                zoomed.Set(x, y, sheet.Pixels().At(x / kZoom, look * kLookHeight + y / kZoom));
            }
        }
        SaveArtifactPng(std::string("zoom-") + std::string(kUIStyleNames[kBuiltInUIStyles[look]]), zoomed);
    }
}

} // namespace
