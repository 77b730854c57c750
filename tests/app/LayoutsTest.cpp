// The three layouts load and make what the windows are laid out to hold: every component the
// window classes name, at its place, with its text, and every handler bound to its event.

#include "app/ProductAddresses.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIURLLabel.h"
#include "skin/menus/SUIMenu.h"
#include "tests/app/WindowFixture.h"
#include "toolkit/components/Properties.h"
#include "toolkit/controls/Image.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/JPEGImage.h"
#include "toolkit/graphics/Picture.h"

#include <map>
#include <set>

#include <gmock/gmock.h>

using ::testing::ElementsAre;

namespace {

// Every event of every component owned by root that the layout bound to one of root's handlers,
// as "component.event" -> handler name (events the program assigns itself are left out).
std::map<std::string, std::string> BoundEvents(const TComponent* root) {
    std::map<std::string, std::string> bound;
    const auto collect = [&bound](const TComponent* component, const std::string& name) {
        for (const TPropInfo* prop : component->ClassInfo().Properties()) {
            if (prop->Kind() == TPropKind::Event && !prop->GetHandlerName(component).empty()) {
                bound[name + "." + prop->Name()] = prop->GetHandlerName(component);
            }
        }
    };
    collect(root, root->Name());
    for (int i = 0; i < root->ComponentCount(); ++i) {
        collect(root->Components(i), root->Components(i)->Name());
    }
    return bound;
}

// Every handler the root's class declares is bound to some event, and every bound event names one.
void ExpectEveryHandlerBound(const TComponent* root, const std::map<std::string, std::string>& expected) {
    const std::map<std::string, std::string> bound = BoundEvents(root);
    EXPECT_EQ(bound, expected);
    std::set<std::string> used;
    for (const auto& [event, handler] : bound) {
        used.insert(handler);
    }
    for (const THandlerInfo* handler : root->ClassInfo().AllHandlers()) {
        EXPECT_TRUE(used.count(handler->Name())) << handler->Name() << " is bound to no event";
    }
    EXPECT_THAT(UnboundFields(root), ::testing::IsEmpty());
}

struct TPlace {
    const char* name;
    const char* parent;
    TRect bounds; // left, top, width, height as the window's table gives them
    const char* text;
};

class Layouts : public TVarnelWindowFixture {};

TEST_F(Layouts, MainWindowHoldsEveryControlAtItsPlace) {
    Start();
    TForm1* form = Form1;
    EXPECT_EQ(form->ClientWidth(), 482);
    EXPECT_EQ(form->ClientHeight(), 481);
    EXPECT_EQ(form->suiForm1->BoundsRect(), Bounds(1, 0, 480, 480));
    const TPlace places[] = {
        {"suiGroupBox1", "suiForm1", Bounds(8, 73, 233, 233), "Select keys"},
        {"suiCheckBox1", "suiGroupBox1", Bounds(22, 16, 81, 21), "All keyboard"},
        {"suiGroupBox2", "suiGroupBox1", Bounds(9, 43, 215, 182), "Customize keys"},
        {"suiCheckBox2", "suiGroupBox2", Bounds(12, 16, 65, 21), "Numbers"},
        {"suiCheckBox3", "suiGroupBox2", Bounds(12, 40, 106, 21), "Lowercase letters"},
        {"suiCheckBox4", "suiGroupBox2", Bounds(12, 64, 106, 21), "Uppercase letters"},
        {"suiCheckBox5", "suiGroupBox2", Bounds(12, 88, 111, 21), "Special characters"},
        {"Label1", "suiGroupBox2", Bounds(8, 112, 116, 13), "Use following characters"},
        {"suiMemo1", "suiGroupBox2", Bounds(8, 128, 201, 47), ""},
        {"suiGroupBox3", "suiForm1", Bounds(272, 90, 200, 65), "Number of passwords to generate"},
        {"SuiSpinEdit1", "suiGroupBox3", Bounds(48, 24, 97, 19), "10"},
        {"suiGroupBox4", "suiForm1", Bounds(272, 216, 200, 89), "Length of each password"},
        {"SuiSpinEdit2", "suiGroupBox4", Bounds(48, 24, 97, 19), "10"},
        {"suiCheckBox6", "suiGroupBox4", Bounds(44, 56, 97, 21), "Variable Length"},
        {"Label2", "suiForm1", Bounds(11, 310, 204, 13), "Password Generated ( It can be modified ! )"},
        {"Label5", "suiForm1", Bounds(248, 310, 91, 13), "Generated number:"},
        {"suiMemo2", "suiForm1", Bounds(8, 328, 465, 97), ""},
        {"Label3", "suiForm1", Bounds(11, 425, 92, 13), "Generating process"},
        {"suiProgressBar1", "suiForm1", Bounds(112, 427, 361, 12), nullptr},
        {"suiButton3", "suiForm1", Bounds(95, 447, 129, 27), "Copy to clipboard"},
        {"suiButton4", "suiForm1", Bounds(287, 447, 129, 27), "Generate password"},
    };
    for (const TPlace& place : places) {
        auto* control = dynamic_cast<TControl*>(form->FindComponent(place.name));
        ASSERT_NE(control, nullptr) << place.name;
        ASSERT_NE(control->Parent(), nullptr) << place.name;
        EXPECT_EQ(control->Parent()->Name(), place.parent) << place.name;
        // Auto-sized controls take the size of their text in the window's fonts, which were
        // measured to give the sizes of the table; a pixel of difference in width is the font's.
        EXPECT_EQ(control->Left(), place.bounds.Left) << place.name;
        EXPECT_EQ(control->Top(), place.bounds.Top) << place.name;
        EXPECT_NEAR(control->Width(), place.bounds.Width(), 2) << place.name;
        EXPECT_EQ(control->Height(), place.bounds.Height()) << place.name;
        if (place.text) {
            EXPECT_EQ(GetPropText(control, "Caption").value_or(control->Text()), place.text) << place.name;
        }
    }
    EXPECT_EQ(form->Label4->BoundsRect().TopLeft(), TPoint(342, 311));
    EXPECT_EQ(form->Label4->Font()->Color(), clRed);
    EXPECT_TRUE(form->Label4->Font()->Style().Contains(fsBold));

    // The looks: MacOS everywhere but the number boxes and the result list.
    EXPECT_EQ(form->suiForm1->UIStyle(), MacOS);
    EXPECT_EQ(form->SuiSpinEdit1->UIStyle(), WinXP);
    EXPECT_EQ(form->SuiSpinEdit2->UIStyle(), WinXP);
    EXPECT_EQ(form->suiMemo2->UIStyle(), WinXP);
    EXPECT_EQ(form->suiMemo1->UIStyle(), MacOS);
    EXPECT_EQ(form->suiMemo1->MaxLength(), 255);
    EXPECT_EQ(form->suiMemo1->ScrollBars(), ssVertical);
    EXPECT_EQ(form->suiMemo2->ScrollBars(), ssBoth);
    EXPECT_FALSE(form->suiMemo2->HideSelection());
    EXPECT_FALSE(form->suiMemo2->TabStop());
    EXPECT_EQ(form->suiProgressBar1->Picture()->Width(), 13);
    EXPECT_EQ(form->suiProgressBar1->Picture()->Height(), 10);
    EXPECT_EQ(form->suiButton4->MouseContinuouslyDownInterval(), 100);

    // The title bar: the control box, close and minimise buttons with their own pictures, and the
    // three sections.
    TsuiTitleBarButtons* buttons = form->suiForm1->TitleBarButtons();
    ASSERT_EQ(buttons->Count(), 3);
    EXPECT_EQ(buttons->Items(0)->ButtonType(), suiControlBox);
    EXPECT_EQ(buttons->Items(0)->PicNormal()->Width(), 16);
    EXPECT_TRUE(buttons->Items(0)->Transparent());
    EXPECT_EQ(buttons->Items(1)->ButtonType(), suiClose);
    EXPECT_EQ(buttons->Items(2)->ButtonType(), suiMin);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(buttons->Items(i)->PicMouseDown()->Width(), 17);
        EXPECT_FALSE(buttons->Items(i)->Transparent());
        EXPECT_EQ(buttons->Items(i)->Top(), 4);
    }
    TsuiTitleBarSections* sections = form->suiForm1->TitleBarSections();
    ASSERT_EQ(sections->Count(), 3);
    EXPECT_EQ(sections->Items(0)->Picture()->Width(), 48);
    EXPECT_EQ(sections->Items(2)->Align(), suiClient);
    EXPECT_TRUE(sections->Items(2)->Stretch());

    // The menu and its commands.
    ASSERT_EQ(form->suiMainMenu1->Items()->Count(), 2);
    EXPECT_EQ(form->File1->Caption(), "&File");
    EXPECT_EQ(form->Exit1->Caption(), "Exit");
    EXPECT_EQ(form->Help1->Caption(), "&Help");
    EXPECT_EQ(form->HelpDocument1->Caption(), "Product Document");
    EXPECT_EQ(form->OnlineHelp1->Caption(), "Product online page");
    EXPECT_EQ(form->About1->Caption(), "About");
    EXPECT_EQ(form->suiForm1->Menu(), form->suiMainMenu1);

    ExpectEveryHandlerBound(form, {{"Form1.OnClose", "FormClose"},
                                   {"suiCheckBox1.OnClick", "suiCheckBox1Click"},
                                   {"suiCheckBox2.OnClick", "suiCheckBox2Click"},
                                   {"suiCheckBox3.OnClick", "suiCheckBox3Click"},
                                   {"suiCheckBox4.OnClick", "suiCheckBox4Click"},
                                   {"suiCheckBox5.OnClick", "suiCheckBox5Click"},
                                   {"suiMemo1.OnChange", "suiMemo1Change"},
                                   {"suiButton3.OnClick", "suiButton3Click"},
                                   {"suiButton4.OnClick", "suiButton4Click"},
                                   {"Exit1.OnClick", "Exit1Click"},
                                   {"HelpDocument1.OnClick", "HelpDocument1Click"},
                                   {"OnlineHelp1.OnClick", "OnlineHelp1Click"},
                                   {"About1.OnClick", "About1Click"}});

    // The message dialog as the copy command uses it.
    TsuiMessageDialog* dialog = form->suiMessageDialog1;
    EXPECT_EQ(dialog->UIStyle(), MacOS);
    EXPECT_EQ(dialog->ButtonCount(), 1);
    EXPECT_EQ(dialog->Button1Caption(), "OK");
    EXPECT_EQ(dialog->Button1ModalResult(), 1);
    EXPECT_EQ(dialog->ButtonCursor(), crHandPoint);
    EXPECT_EQ(dialog->CaptionFont()->Color(), clBlack);
    EXPECT_EQ(dialog->CaptionFont()->Name(), "Tahoma");
}

TEST_F(Layouts, AboutWindowHoldsItsLogoTextsAndLinks) {
    Start();
    TForm2* about = Form2;
    EXPECT_EQ(about->ClientWidth(), 324);
    EXPECT_EQ(about->ClientHeight(), 190);
    EXPECT_EQ(about->Position(), poOwnerFormCenter);
    EXPECT_FALSE(about->Visible());
    EXPECT_EQ(about->suiForm1->BoundsRect(), Bounds(1, 0, 322, 189));
    EXPECT_EQ(about->suiForm1->Caption(), "About");
    EXPECT_EQ(about->suiForm1->Menu(), nullptr);
    ASSERT_EQ(about->suiForm1->TitleBarButtons()->Count(), 1);
    EXPECT_EQ(about->suiForm1->TitleBarButtons()->Items(0)->ButtonType(), suiClose);
    EXPECT_EQ(about->Image1->BoundsRect(), Bounds(16, 32, 73, 73));
    EXPECT_NE(dynamic_cast<TJPEGImage*>(about->Image1->Picture()->Graphic()), nullptr);
    EXPECT_EQ(about->Label1->Caption(), "Varnel V1.0");
    EXPECT_EQ(about->Label1->Font()->Height(), -13);
    EXPECT_EQ(about->Label8->Caption(), "----Powerful password generator");
    EXPECT_EQ(about->Label6->Caption(), "Web site:");
    EXPECT_EQ(about->Label7->Caption(), "Support Email:");
    EXPECT_FALSE(about->Label3->Caption().empty());
    EXPECT_EQ(about->suiURLLabel1->Caption(), std::string(kProductWebPage));
    EXPECT_EQ(about->suiURLLabel1->URL(), std::string(kProductWebPage));
    EXPECT_EQ(about->suiURLLabel2->Caption(), std::string(kSupportEmail));
    EXPECT_EQ(about->suiURLLabel2->URL(), "mailto:" + std::string(kSupportEmail));
    for (const TsuiURLLabel* link : {about->suiURLLabel1, about->suiURLLabel2}) {
        EXPECT_EQ(link->FontLinkColor(), clBlue);
        EXPECT_EQ(link->FontHoverColor(), clRed);
        EXPECT_TRUE(link->Font()->Style().Contains(fsUnderline));
        EXPECT_EQ(link->Cursor(), crHandPoint);
        EXPECT_TRUE(link->Transparent());
    }
    // Each label stays on one line inside the window.
    for (const TLabel* label : {about->Label1, about->Label8, about->Label6, about->Label7, about->Label3}) {
        EXPECT_LE(label->Left() + label->Width(), about->suiForm1->Width()) << label->Caption();
        EXPECT_LE(label->Height(), 16) << label->Caption();
    }
    ExpectEveryHandlerBound(about, {});
}

TEST_F(Layouts, TheAddressesAreReservedExampleNames) {
    // No address of anyone else: the host is under the top-level name reserved as invalid.
    EXPECT_TRUE(std::string(kProductWebPage).starts_with("https://"));
    EXPECT_NE(std::string(kProductWebPage).find(".invalid/"), std::string::npos);
    EXPECT_TRUE(std::string(kSupportEmail).ends_with(".invalid"));
    EXPECT_EQ(SupportMailTo(), "mailto:" + std::string(kSupportEmail));
}

TEST_F(Layouts, MessageFormLayoutBindsItsFieldsAndKeyHandler) {
    RegisterDialogClasses();
    auto* form = new TfrmMsg(Application);
    ASSERT_TRUE(form->CreationStatus()) << form->CreationStatus().Message();
    EXPECT_EQ(form->ClientWidth(), 336);
    EXPECT_TRUE(form->KeyPreview());
    // The panel's height takes one and a half border widths from the form, not three.
    EXPECT_EQ(form->suiForm1->BoundsRect().TopLeft(), TPoint(3, 0));
    EXPECT_EQ(form->suiForm1->Width(), 330);
    EXPECT_TRUE(form->suiForm1->UIStyleAutoUpdateSub());
    EXPECT_EQ(form->suiForm1->RoundCorner(), 13);
    EXPECT_EQ(form->suiForm1->BorderWidth(), 3);
    EXPECT_EQ(form->lbl->BoundsRect().TopLeft(), TPoint(88, 64));
    EXPECT_TRUE(form->lbl->WordWrap());
    EXPECT_FALSE(form->lbl->ShowAccelChar());
    EXPECT_EQ(form->Image1->BoundsRect(), Bounds(24, 64, 40, 40));
    ExpectEveryHandlerBound(form, {{"frmMsg.OnKeyDown", "FormKeyDown"}});
    delete form;
}

} // namespace
