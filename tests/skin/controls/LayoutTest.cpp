#include "skin/controls/SUIButton.h"
#include "skin/controls/SUICheckBox.h"
#include "skin/controls/SUIImageButton.h"
#include "skin/controls/SUIProgressBar.h"
#include "skin/controls/SUISpinEdit.h"
#include "tests/support/Artifacts.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/components/LayoutWriter.h"
#include "toolkit/components/Properties.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Picture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The skinned form panel as the looks see it: a container of the class named TsuiForm that
// publishes UIStyle. New components on its window start with its look.
class TsuiForm : public TCustomControl {
    VARNEL_CLASS(TsuiForm, TCustomControl)

public:
    explicit TsuiForm(TComponent* owner) : TCustomControl(owner) {
        SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    }
    TsuiUIStyle UIStyle() const { return m_style; }
    void SetUIStyle(TsuiUIStyle style) { m_style = style; }

private:
    TsuiUIStyle m_style = DeepBlue;
};

VARNEL_CLASS_INFO(TsuiForm,
                  [](auto& c) { c.Enum("UIStyle", UIStyleInfo, &TsuiForm::UIStyle, &TsuiForm::SetUIStyle); })

class TSkinLayoutForm : public TForm {
    VARNEL_CLASS(TSkinLayoutForm, TForm)

public:
    explicit TSkinLayoutForm(TComponent* owner) : TForm(owner) {}

    TsuiForm* suiForm1 = nullptr;
    TsuiButton* suiButton1 = nullptr;
    TsuiButton* suiButton2 = nullptr;
    TsuiImageButton* suiImageButton1 = nullptr;
    TsuiCheckBox* suiCheckBox1 = nullptr;
    TsuiProgressBar* suiProgressBar1 = nullptr;
    TsuiProgressBar* suiProgressBar2 = nullptr;
    TSuiSpinEdit* SuiSpinEdit1 = nullptr;
    std::vector<std::string> events;

    void suiButton1Click(TObject*) { events.push_back("suiButton1Click"); }
    void suiCheckBox1Click(TObject*) { events.push_back("suiCheckBox1Click"); }
    void SuiSpinEdit1Change(TObject*) { events.push_back("SuiSpinEdit1Change"); }
};

VARNEL_CLASS_INFO(TSkinLayoutForm, [](auto& c) {
    c.Field("suiForm1", &TSkinLayoutForm::suiForm1);
    c.Field("suiButton1", &TSkinLayoutForm::suiButton1);
    c.Field("suiButton2", &TSkinLayoutForm::suiButton2);
    c.Field("suiImageButton1", &TSkinLayoutForm::suiImageButton1);
    c.Field("suiCheckBox1", &TSkinLayoutForm::suiCheckBox1);
    c.Field("suiProgressBar1", &TSkinLayoutForm::suiProgressBar1);
    c.Field("suiProgressBar2", &TSkinLayoutForm::suiProgressBar2);
    c.Field("SuiSpinEdit1", &TSkinLayoutForm::SuiSpinEdit1);
    c.Handler("suiButton1Click", &TSkinLayoutForm::suiButton1Click);
    c.Handler("suiCheckBox1Click", &TSkinLayoutForm::suiCheckBox1Click);
    c.Handler("SuiSpinEdit1Change", &TSkinLayoutForm::SuiSpinEdit1Change);
})

namespace {

constexpr const char* kLayout = R"(object SkinLayoutForm1: TSkinLayoutForm
  Left = 100
  Top = 100
  BorderStyle = bsNone
  ClientHeight = 400
  ClientWidth = 500
  object suiForm1: TsuiForm
    Left = 0
    Top = 0
    Width = 500
    Height = 400
    UIStyle = MacOS
    object suiButton1: TsuiButton
      Left = 10
      Top = 10
      Width = 129
      Height = 27
      UIStyle = MacOS
      Caption = 'Generate password'
      Transparent = False
      ModalResult = 0
      Glyph.Data = {GLYPH}
      Layout = blGlyphTop
      Spacing = 2
      MouseContinuouslyDownInterval = 100
      ResHandle = 0
      OnClick = suiButton1Click
    end
    object suiButton2: TsuiButton
      Left = 150
      Top = 10
      Width = 129
      Height = 27
      Caption = 'Copy to clipboard'
    end
    object suiImageButton1: TsuiImageButton
      Left = 300
      Top = 10
      Width = 30
      Height = 30
      AutoSize = True
      PicNormal.Resource = 'MENU_CHECKED'
    end
    object suiCheckBox1: TsuiCheckBox
      Left = 10
      Top = 50
      Width = 93
      Height = 17
      UIStyle = MacOS
      Checked = True
      Caption = 'All keyboard'
      TabStop = True
      State = cbChecked
      OnClick = suiCheckBox1Click
    end
    object suiProgressBar1: TsuiProgressBar
      Left = 10
      Top = 80
      Width = 361
      Height = 12
      UIStyle = MacOS
      Position = 0
      BorderColor = 8355711
      Color = 15198183
    end
    object suiProgressBar2: TsuiProgressBar
      Left = 400
      Top = 80
      Width = 12
      Height = 200
      UIStyle = WinXP
      Position = 30
      Orientation = suiVertical
    end
    object SuiSpinEdit1: TSuiSpinEdit
      Left = 10
      Top = 110
      Width = 97
      Height = 19
      UIStyle = WinXP
      Text = '5'
      OnChange = SuiSpinEdit1Change
      Increment = 1
      MaxValue = 0
      MinValue = 0
      Value = 10
    end
  end
end
)";

// The layout with a 2 × 2 glyph: magenta top-left (its mask colour), green bottom-right, red
// elsewhere.
std::string LayoutText() {
    TBitmap glyph(2, 2);
    glyph.Pixels().Fill(0xFF0000);
    glyph.Pixels().Set(0, 0, 0xFF00FF);
    glyph.Pixels().Set(1, 1, 0x00FF00);
    std::vector<std::byte> bytes;
    EXPECT_TRUE(glyph.SaveToBytes(bytes));
    std::string hex = "{\n        ";
    constexpr char kDigits[] = "0123456789ABCDEF";
    for (std::byte b : bytes) {
        hex += kDigits[std::to_integer<int>(b) >> 4];
        hex += kDigits[std::to_integer<int>(b) & 15];
    }
    hex += "}";
    std::string text = kLayout;
    text.replace(text.find("{GLYPH}"), 7, hex);
    return text;
}

class SkinLayoutTest : public TControlFixture {
protected:
    TSkinLayoutForm* Load(const std::string& text = LayoutText(), TComponent* owner = Application) {
        auto* form = new TSkinLayoutForm(owner);
        TStatus status = form->LoadLayoutText(text, "SkinLayout.lfm");
        EXPECT_TRUE(status) << status.Message();
        return form;
    }
};

TEST_F(SkinLayoutTest, StoredValuesAfterTheLookWinAndLoadingFiresNoEvents) {
    TSkinLayoutForm* form = Load();
    EXPECT_THAT(form->events, IsEmpty());
    // The look made the MacOS button see-through; the value stored after it wins.
    EXPECT_FALSE(form->suiButton1->Transparent());
    // A button without a stored look takes its window's.
    EXPECT_EQ(form->suiButton2->UIStyle(), MacOS);
    EXPECT_TRUE(form->suiButton2->Transparent());
    EXPECT_EQ(form->suiButton1->Glyph()->Width(), 2);
    EXPECT_EQ(form->suiButton1->Glyph()->Pixels().At(1, 1), 0x00FF00u);
    EXPECT_EQ(form->suiButton1->Layout(), blGlyphTop);
    // AutoSize after the picture: the image button fits MENU_CHECKED.
    EXPECT_EQ(form->suiImageButton1->BoundsRect(), Bounds(300, 10, 16, 16));

    EXPECT_TRUE(form->suiCheckBox1->Checked());
    // The stored colours replace what the look gave; the vertical bar keeps its length.
    EXPECT_EQ(form->suiProgressBar1->Color(), static_cast<TColor>(15198183));
    EXPECT_EQ(form->suiProgressBar1->Text(), "0%");
    EXPECT_EQ(form->suiProgressBar2->BoundsRect(), Bounds(400, 80, 12, 200));
    // Value comes after Text.
    EXPECT_EQ(form->SuiSpinEdit1->Text(), "10");

    // After loading, every change fires.
    form->suiCheckBox1->SetChecked(false);
    form->SuiSpinEdit1->SetValue(11);
    EXPECT_THAT(form->events, ElementsAre("suiCheckBox1Click", "SuiSpinEdit1Change"));
}

TEST_F(SkinLayoutTest, AWrittenLayoutReadsBackTheSameControls) {
    TSkinLayoutForm* form = Load();
    const std::string written = WriteLayoutText(form);
    // The spin buttons are part of the spin edit, not stored.
    EXPECT_EQ(written.find("TSuiSpinButtons"), std::string::npos) << written;
    EXPECT_EQ(written.find("TSuiArrowButton"), std::string::npos) << written;
    EXPECT_NE(written.find("Glyph.Data"), std::string::npos) << written;

    auto owned = std::make_unique<TSkinLayoutForm>(nullptr);
    TStatus status = owned->LoadLayoutText(written, "Written.lfm");
    ASSERT_TRUE(status) << status.Message() << "\n" << written;
    TSkinLayoutForm* copy = owned.get();
    EXPECT_TRUE(
        SamePixels(copy->suiButton1->Glyph()->Pixels(), form->suiButton1->Glyph()->Pixels(), "glyph"));
    EXPECT_EQ(copy->suiProgressBar2->BoundsRect(), form->suiProgressBar2->BoundsRect());
    EXPECT_EQ(copy->suiProgressBar2->Orientation(), suiVertical);
    EXPECT_EQ(copy->SuiSpinEdit1->Value(), 10);
    EXPECT_TRUE(copy->suiCheckBox1->Checked());
    EXPECT_EQ(copy->suiButton2->Caption(), "Copy to clipboard");
    EXPECT_THAT(copy->events, IsEmpty());
}

TEST_F(SkinLayoutTest, EveryControlPublishesItsLookAndTheToolkitsMissingPartsAreLeftOut) {
    TSkinLayoutForm* form = Load();
    for (TComponent* c : std::vector<TComponent*>{form->suiButton1, form->suiCheckBox1, form->suiProgressBar1,
                                                  form->SuiSpinEdit1, form->SuiSpinEdit1->SpinButtons()}) {
        EXPECT_TRUE(HasProperty(c, "UIStyle")) << c->ClassName();
        EXPECT_TRUE(HasProperty(c, "FileTheme")) << c->ClassName();
        for (const char* missing : {"DragMode", "DragCursor", "DragKind", "ImeMode", "ImeName", "OnDragDrop",
                                    "OnStartDock", "OnEndDrag"}) {
            EXPECT_FALSE(HasProperty(c, missing)) << c->ClassName() << "." << missing;
        }
    }
}

} // namespace
