#include "tests/support/ControlFixture.h"
#include "toolkit/components/LayoutWriter.h"
#include "toolkit/components/Properties.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/menus/Menu.h"

#include <algorithm>
#include <memory>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

// A window made from a layout: it names its components and handlers for the reader.
class TLayoutForm : public TForm {
    VARNEL_CLASS(TLayoutForm, TForm)

public:
    explicit TLayoutForm(TComponent* owner) : TForm(owner) {}

    TPanel* Panel1 = nullptr;
    TPanel* Panel2 = nullptr;
    TPanel* Panel3 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TImage* Image1 = nullptr;
    std::vector<std::string> events;

    void FormCreate(TObject*) {
        events.push_back("create:" + std::string(IsLoading() ? "loading" : "loaded") + ":" +
                         std::to_string(Panel2->Width()));
    }
    void Label1Click(TObject*) { events.push_back("Label1Click"); }
    void Panel2Resize(TObject*) { events.push_back("Panel2Resize"); }
};

VARNEL_CLASS_INFO(TLayoutForm, [](auto& c) {
    c.Field("Panel1", &TLayoutForm::Panel1);
    c.Field("Panel2", &TLayoutForm::Panel2);
    c.Field("Panel3", &TLayoutForm::Panel3);
    c.Field("Label1", &TLayoutForm::Label1);
    c.Field("Label2", &TLayoutForm::Label2);
    c.Field("Image1", &TLayoutForm::Image1);
    c.Handler("FormCreate", &TLayoutForm::FormCreate);
    c.Handler("Label1Click", &TLayoutForm::Label1Click);
    c.Handler("Panel2Resize", &TLayoutForm::Panel2Resize);
})

// A window with a main menu, a context menu on a label and a label in its own font.
class TMenuLayoutForm : public TForm {
    VARNEL_CLASS(TMenuLayoutForm, TForm)

public:
    explicit TMenuLayoutForm(TComponent* owner) : TForm(owner) {}

    TLabel* Label1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Cut1 = nullptr;
    TPopupMenu* PopupMenu1 = nullptr;
    std::vector<std::string> events;

    void Cut1Click(TObject*) { events.push_back("Cut1Click"); }
};

VARNEL_CLASS_INFO(TMenuLayoutForm, [](auto& c) {
    c.Field("Label1", &TMenuLayoutForm::Label1);
    c.Field("MainMenu1", &TMenuLayoutForm::MainMenu1);
    c.Field("File1", &TMenuLayoutForm::File1);
    c.Field("Cut1", &TMenuLayoutForm::Cut1);
    c.Field("PopupMenu1", &TMenuLayoutForm::PopupMenu1);
    c.Handler("Cut1Click", &TMenuLayoutForm::Cut1Click);
})

namespace {

constexpr const char* kLayout = R"(object LayoutForm1: TLayoutForm
  Left = 200
  Top = 150
  BorderStyle = bsSingle
  Caption = 'Layout'
  ClientHeight = 240
  ClientWidth = 320
  Color = clBtnFace
  KeyPreview = True
  Position = poScreenCenter
  ActiveControl = Panel3
  OnCreate = FormCreate
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 320
    Height = 41
    Align = alTop
    Caption = 'Header'
    TabOrder = 1
    object Label1: TLabel
      Left = 8
      Top = 12
      Width = 10
      Height = 13
      Cursor = crHandPoint
      Caption = 'Name:'
      OnClick = Label1Click
    end
  end
  object Panel2: TPanel
    Left = 0
    Top = 41
    Width = 320
    Height = 199
    Align = alClient
    BevelOuter = bvLowered
    TabOrder = 0
    OnResize = Panel2Resize
    object Image1: TImage
      Left = 8
      Top = 8
      Width = 40
      Height = 40
      AutoSize = True
      Picture.Resource = 'MSGDLG'
    end
    object Panel3: TPanel
      Left = 8
      Top = 100
      Width = 150
      Height = 60
      Anchors = [akLeft, akTop, akRight]
      TabStop = True
      object Label2: TLabel
        Left = 4
        Top = 4
        Width = 100
        Height = 13
        Caption = 'A label that wraps over several lines'
        WordWrap = True
      end
    end
  end
end
)";

class LayoutFormTest : public TControlFixture {
protected:
    TLayoutForm* Load() {
        auto* form = new TLayoutForm(Application);
        TStatus status = form->LoadLayoutText(kLayout, "Layout1.lfm");
        EXPECT_TRUE(status) << status.Message();
        return form;
    }
};

TEST_F(LayoutFormTest, AFormIsBuiltFromItsLayoutWithNestedPanelsLabelsAndAnImage) {
    TLayoutForm* form = Load();
    ASSERT_NE(form->Panel3, nullptr);
    EXPECT_EQ(form->Name(), "LayoutForm1");
    EXPECT_EQ(form->Caption(), "Layout");
    EXPECT_EQ(form->ClientWidth(), 320);
    EXPECT_EQ(form->ClientHeight(), 240);
    EXPECT_TRUE(form->KeyPreview());

    // Nesting gives the parents; alignment ran once everything was there.
    EXPECT_EQ(form->Label1->Parent(), form->Panel1);
    EXPECT_EQ(form->Label2->Parent(), form->Panel3);
    EXPECT_EQ(form->Image1->Parent(), form->Panel2);
    EXPECT_EQ(form->Panel1->BoundsRect(), Bounds(0, 0, 320, 41));
    EXPECT_EQ(form->Panel2->BoundsRect(), Bounds(0, 41, 320, 199));

    // The image took its picture's size, the labels their text's.
    TBitmap msgdlg;
    ASSERT_TRUE(msgdlg.LoadFromResourceName("MSGDLG"));
    EXPECT_EQ(form->Image1->Width(), msgdlg.Width());
    EXPECT_EQ(form->Image1->Height(), msgdlg.Height());
    EXPECT_EQ(form->Image1->Picture()->ResourceName(), "MSGDLG");
    const int lineHeight = form->Label1->Height();
    EXPECT_GT(form->Label1->Width(), 10);
    EXPECT_GT(lineHeight, 8);
    EXPECT_LE(form->Label2->Width(), 100);
    EXPECT_GE(form->Label2->Height(), 2 * lineHeight);
    EXPECT_EQ(form->Label1->Cursor(), crHandPoint);
    // The labels use their form's font.
    EXPECT_TRUE(form->Label2->ParentFont());
    EXPECT_EQ(form->Label2->Font()->Name(), form->Font()->Name());

    // Tab order from the layout, not from the order of creation.
    EXPECT_EQ(form->Panel2->TabOrder(), 0);
    EXPECT_EQ(form->Panel1->TabOrder(), 1);
    // OnCreate ran after loading, with the alignment done; no other event fired meanwhile.
    EXPECT_THAT(form->events, ElementsAre("create:loaded:320"));
}

TEST_F(LayoutFormTest, TheLoadedFormWorksAsDesigned) {
    TLayoutForm* form = Load();
    form->events.clear();
    ShowForm(form);
    // Centred on the screen with its frame, the active control focused.
    EXPECT_EQ(form->Left(), (1280 - form->Width()) / 2);
    EXPECT_TRUE(form->Panel3->Focused());
    ClickOn(form->Label1, 2, 2);
    EXPECT_THAT(form->events, ElementsAre("Label1Click"));

    // Anchors keep Panel3's right edge at its designed distance.
    form->events.clear();
    form->SetClientWidth(420);
    EXPECT_EQ(form->Panel2->Width(), 420);
    EXPECT_EQ(form->Panel3->Width(), 250);
    EXPECT_THAT(form->events, ElementsAre("Panel2Resize"));
}

TEST_F(LayoutFormTest, ABrokenLayoutIsRefusedWithItsLineAndLeavesNothingBehind) {
    std::string broken = kLayout;
    const std::size_t at = broken.find("WordWrap = True");
    broken.replace(at, 15, "WordWarp = True");
    const auto line = 1 + std::count(broken.begin(), broken.begin() + static_cast<std::ptrdiff_t>(at), '\n');
    auto* form = new TLayoutForm(Application);
    const int before = form->ComponentCount();
    TStatus status = form->LoadLayoutText(broken, "Layout1.lfm");
    ASSERT_FALSE(status);
    EXPECT_NE(status.Message().find("Layout1.lfm, line " + std::to_string(line)), std::string::npos)
        << status.Message();
    EXPECT_NE(status.Message().find("WordWarp"), std::string::npos);
    EXPECT_EQ(form->ComponentCount(), before);
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_TRUE(form->events.empty());
}

TEST_F(LayoutFormTest, AWrittenLayoutReadsBackIntoTheSameForm) {
    TLayoutForm* form = Load();
    const std::string written = WriteLayoutText(form);
    auto owned = std::make_unique<TLayoutForm>(nullptr); // beside the first, which has the name
    TLayoutForm* copy = owned.get();
    TStatus status = copy->LoadLayoutText(written, "Written.lfm");
    ASSERT_TRUE(status) << status.Message() << "\n" << written;
    EXPECT_EQ(WriteLayoutText(copy), written);
    EXPECT_EQ(copy->Panel3->Parent(), copy->Panel2);
    EXPECT_EQ(copy->Label2->BoundsRect(), form->Label2->BoundsRect());
    EXPECT_EQ(copy->Panel2->TabOrder(), 0);
    // Anchors that only repeat the alignment are not written.
    EXPECT_EQ(written.find("Anchors = [akLeft, akTop, akRight]\n    Caption = 'Header'"), std::string::npos);
}

TEST_F(LayoutFormTest, ALoadedFormWritesBackWhatItRead) {
    TLayoutForm* form = Load();
    EXPECT_EQ(GetPropText(form->Panel2, "Align"), "alClient");
    EXPECT_EQ(GetPropText(form->Panel3, "Anchors"), "[akLeft, akTop, akRight]");
    EXPECT_EQ(GetPropText(form->Label1, "OnClick"), "Label1Click");
    EXPECT_EQ(GetPropText(form, "ActiveControl"), "Panel3");
    EXPECT_EQ(GetPropText(form->Label1, "Cursor"), "crHandPoint");
    EXPECT_TRUE(SetPropText(form->Panel1, "BevelOuter", "bvNone"));
    EXPECT_EQ(form->Panel1->BevelOuter(), bvNone);
}

constexpr const char* kMenuLayout = R"(object MenuLayoutForm1: TMenuLayoutForm
  Left = 100
  Top = 100
  Width = 300
  Height = 200
  BorderStyle = bsNone
  Caption = 'Menus'
  Menu = MainMenu1
  object Label1: TLabel
    Left = 8
    Top = 8
    Width = 100
    Height = 20
    AutoSize = False
    Caption = 'Label'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clRed
    Font.Height = -11
    Font.Name = 'Tahoma'
    Font.Style = [fsBold, fsItalic]
    ParentFont = False
    PopupMenu = PopupMenu1
  end
  object MainMenu1: TMainMenu
    object File1: TMenuItem
      Caption = '&File'
      object Cut1: TMenuItem
        Caption = 'Cu&t'
        ShortCut = 16472
        OnClick = Cut1Click
      end
    end
  end
  object PopupMenu1: TPopupMenu
  end
end
)";

TEST_F(LayoutFormTest, ALayoutGivesControlsTheirFontsAndMenusAndTheMenuShortCutsWork) {
    auto* form = new TMenuLayoutForm(Application);
    TStatus status = form->LoadLayoutText(kMenuLayout, "Menus.lfm");
    ASSERT_TRUE(status) << status.Message();
    EXPECT_EQ(form->Menu(), form->MainMenu1);
    EXPECT_EQ(form->Label1->PopupMenu(), form->PopupMenu1);
    const TFont& font = *form->Label1->Font();
    EXPECT_EQ(font.Name(), "Tahoma");
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Color(), clRed);
    EXPECT_EQ(font.Style(), (TFontStyles{fsBold, fsItalic}));
    // The form's own font is untouched.
    EXPECT_NE(form->Font()->Name(), "Tahoma");

    // Only what differs from a fresh font is written back.
    const std::string written = WriteLayoutText(form);
    EXPECT_NE(written.find("    Font.Color = clRed\n"
                           "    Font.Name = 'Tahoma'\n"
                           "    Font.Style = [fsBold, fsItalic]\n"),
              std::string::npos)
        << written;
    EXPECT_EQ(written.find("Font.Charset"), std::string::npos) << written;
    EXPECT_EQ(written.find("Font.Height"), std::string::npos) << written;
    EXPECT_NE(written.find("  Menu = MainMenu1\n"), std::string::npos) << written;
    EXPECT_NE(written.find("    PopupMenu = PopupMenu1\n"), std::string::npos) << written;

    // Ctrl+X runs the item although no menu bar shows it.
    ShowForm(form);
    KeyDown(VK_CONTROL);
    PressKey('X');
    KeyUp(VK_CONTROL);
    EXPECT_THAT(form->events, ElementsAre("Cut1Click"));
}

} // namespace
