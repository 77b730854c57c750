// The preview window itself: every look reaches every skinned component, the window fits the
// content panel whatever the look's bars, a theme file can be reloaded, and the controls work.

#include "skin/controls/SUIArrowButton.h"
#include "skin/controls/SUIButton.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIImageButton.h"
#include "skin/controls/SUIImagePanel.h"
#include "skin/controls/SUIMemo.h"
#include "skin/controls/SUIProgressBar.h"
#include "skin/controls/SUITrackBar.h"
#include "skin/core/SUIMgr.h"
#include "skin/dialogs/SUIDialog.h"
#include "skin/dialogs/SUIMessageForm.h"
#include "skin/frame/SUIForm.h"
#include "skin/menus/SUIMenu.h"
#include "tests/support/ControlFixture.h"
#include "tests/support/SkinnedComponents.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"
#include "toolkit/menus/MenuItem.h"
#include "tools/theme/ThemePreview.h"
#include "tools/theme/ThemeTool.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
namespace L = ThemePreviewLayout;

namespace {

class ThemePreviewFormTest : public TControlFixture {
protected:
    ThemePreviewFormTest() {
        RegisterFormClasses();
        RegisterDialogClasses();
        m_dir = fs::path(testing::TempDir()) / ("theme-preview-form-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        Application->CreateForm(form);
    }
    ~ThemePreviewFormTest() override { fs::remove_all(m_dir); }

    // A theme file made from a built-in look with the tool, values.txt edited by change.
    std::string Pack(TsuiUIStyle style, const std::string& name, const std::string& from = {},
                     const std::string& to = {}) {
        std::ostringstream out, err;
        const fs::path folder = m_dir / name;
        EXPECT_EQ(RunThemeTool({"export", std::string(kUIStyleNames[style]), folder.string()}, out, err), 0);
        if (!from.empty()) {
            std::ifstream in(folder / "values.txt");
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            const std::size_t at = text.find(from);
            EXPECT_NE(at, std::string::npos);
            text.replace(at, from.size(), to);
            std::ofstream(folder / "values.txt", std::ios::trunc) << text;
        }
        const std::string file = (m_dir / (name + ".theme")).string();
        EXPECT_EQ(RunThemeTool({"pack", folder.string(), file}, out, err), 0) << err.str();
        return file;
    }

    // Every skinned component's look.
    void ExpectEveryComponentIn(TsuiUIStyle style, const TObject* theme) {
        for (const TReportedLook& reported : ReportedLooks(form)) {
            EXPECT_EQ(reported.Style, style) << reported.Component;
            if (!reported.Component.ends_with("]")) {
                EXPECT_EQ(reported.FileTheme, theme) << reported.Component;
            }
        }
    }

    // Where a control lies on the content panel.
    TRect OnContent(const TControl* control) {
        TRect place = control->BoundsRect();
        for (const TControl* p = control->Parent(); p && p != form->Content(); p = p->Parent()) {
            place = place.Offset(p->Left(), p->Top());
        }
        return place;
    }

    TMenuItem* MenuItem(const std::string& menu, const std::string& item) {
        TMenuItem* parent = form->MainMenu()->Items()->Find(menu);
        return parent ? parent->Find(item) : nullptr;
    }

    TThemePreviewForm* form = nullptr;
    fs::path m_dir;
};

} // namespace

TEST_F(ThemePreviewFormTest, EveryLookReachesEverySkinnedComponentAndTheWindowFitsTheContent) {
    ShowForm(form);
    const std::vector<TReportedLook> all = ReportedLooks(form);
    ASSERT_GT(all.size(), 30u); // the controls, their parts, the frame, its title bar and menus

    auto expectFitted = [&] {
        EXPECT_EQ(form->Content()->Width(), L::kContentWidth);
        EXPECT_EQ(form->Content()->Height(), L::kContentHeight);
        EXPECT_EQ(OnContent(form->NormalButton()), L::kNormalButton);
        EXPECT_EQ(OnContent(form->Edit()), L::kEdit);
        EXPECT_EQ(OnContent(form->ProgressBar()), L::kProgressBar);
        EXPECT_EQ(OnContent(form->Memo()), L::kMemo);
        EXPECT_EQ(form->ClientHeight(), form->Skin()->TitleBar()->Height() +
                                            form->Skin()->MenuBar()->Height() + L::kContentHeight +
                                            form->Skin()->BorderWidth());
    };
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        SCOPED_TRACE(kUIStyleNames[style]);
        form->ShowLook(style);
        Pump();
        EXPECT_EQ(form->UIStyle(), style);
        ExpectEveryComponentIn(style, nullptr);
        expectFitted();
        EXPECT_EQ(form->Skin()->Caption(), "Varnel theme preview: " + std::string(kUIStyleNames[style]));
    }

    std::unique_ptr<TsuiFileTheme> theme;
    ASSERT_TRUE(LoadPreviewTheme(Pack(BlueGlass, "glass"), theme).IsOk());
    const TsuiFileTheme* loaded = theme.get();
    form->ShowThemeFile(std::move(theme), (m_dir / "glass.theme").string());
    Pump();
    EXPECT_EQ(form->FileTheme(), loaded);
    ExpectEveryComponentIn(FromThemeFile, loaded);
    expectFitted();
    EXPECT_EQ(form->Skin()->Caption(), "Varnel theme preview: glass.theme");

    // Back to a built-in look from the menu, and to the file again.
    MenuItem("&Look", "&WinXP")->Click();
    ExpectEveryComponentIn(WinXP, nullptr);
    EXPECT_TRUE(MenuItem("&Look", "&WinXP")->Checked());
    MenuItem("&Look", "&Theme file glass.theme")->Click();
    ExpectEveryComponentIn(FromThemeFile, loaded);
    EXPECT_FALSE(MenuItem("&Look", "&WinXP")->Checked());
}

TEST_F(ThemePreviewFormTest, ReloadShowsTheFileAsItIsNowOrKeepsTheOneShownWhenItNoLongerLoads) {
    const std::string file = Pack(DeepBlue, "blue", "FormBorderColor=0x000000", "FormBorderColor=0x0000FF");
    std::unique_ptr<TsuiFileTheme> theme;
    ASSERT_TRUE(LoadPreviewTheme(file, theme).IsOk());
    form->ShowThemeFile(std::move(theme), file);
    ShowForm(form);
    EXPECT_EQ(form->Skin()->BorderColor(), 0x0000FF);
    TMenuItem* reload = MenuItem("&File", "&Reload theme file");
    ASSERT_NE(reload, nullptr);
    EXPECT_TRUE(reload->Enabled());

    Pack(DeepBlue, "blue", "FormBorderColor=0x000000", "FormBorderColor=0x00FF00");
    PressKey(VK_F5);
    EXPECT_EQ(form->Skin()->BorderColor(), 0x00FF00);
    EXPECT_EQ(form->Status()->Caption(), "Reloaded " + file);
    ExpectEveryComponentIn(FromThemeFile, form->FileTheme());

    fs::resize_file(file, 100);
    reload->Click();
    EXPECT_EQ(form->Skin()->BorderColor(), 0x00FF00);
    EXPECT_NE(form->Status()->Caption().find("Cannot load theme file"), std::string::npos)
        << form->Status()->Caption();
    ExpectEveryComponentIn(FromThemeFile, form->FileTheme());

    // A preview of a built-in look has nothing to reload.
    TThemePreviewForm* plain = nullptr;
    Application->CreateForm(plain);
    EXPECT_FALSE(plain->ReloadThemeFile().IsOk());
}

TEST_F(ThemePreviewFormTest, TheControlsWorkAndSayWhatTheyDid) {
    form->ShowLook(MacOS);
    ShowForm(form);
    ClickOn(form->NormalButton(), 20, 10);
    EXPECT_EQ(form->Status()->Caption(), "Clicked \"Normal\"");
    ClickOn(form->DisabledButton(), 20, 10);
    EXPECT_EQ(form->Status()->Caption(), "Clicked \"Normal\"");

    // The arrow buttons move the track bar, which drives the progress bar.
    EXPECT_EQ(form->ProgressBar()->Position(), 50);
    ClickOn(form->ArrowUpButton(), 10, 10);
    EXPECT_EQ(form->TrackBar()->Position(), 55);
    EXPECT_EQ(form->ProgressBar()->Position(), 55);
    EXPECT_EQ(form->Status()->Caption(), "Track bar at 55");
    ClickOn(form->ArrowDownButton(), 10, 10);
    ClickOn(form->ArrowDownButton(), 10, 10);
    EXPECT_EQ(form->ProgressBar()->Position(), 45);

    ClickOn(form->ImageButton(), 5, 5);
    EXPECT_EQ(form->Status()->Caption(), "Clicked the image button");
    // The image button shows the look's help button.
    EXPECT_FALSE(form->ImageButton()->PicNormal()->Empty());
    EXPECT_EQ(form->ImageButton()->Width(), form->ImageButton()->PicNormal()->Width());

    MenuItem("&Menu items", "&Checked item")->Click();
    EXPECT_EQ(form->Status()->Caption(), "\"Checked item\" is unchecked");
    EXPECT_EQ(form->Content()->PopupMenu(), form->PopupMenu());
}

TEST_F(ThemePreviewFormTest, EachMessageButtonOpensABoxOfItsIconTypeInTheLookShown) {
    form->ShowLook(Protein);
    ShowForm(form);
    const struct {
        TsuiIconType Icon;
        std::vector<std::string> Buttons;
        const char* Press;
        const char* Report;
    } boxes[] = {
        {TsuiIconType::suiNone, {"OK"}, "OK", "The \"No icon\" box was answered \"OK\""},
        {TsuiIconType::suiWarning, {"Cancel", "OK"}, "Cancel", "The \"Warning\" box was answered \"Cancel\""},
        {TsuiIconType::suiStop, {"OK"}, nullptr, "The \"Stop\" box was closed"},
        {TsuiIconType::suiInformation, {"OK"}, "OK", "The \"Information\" box was answered \"OK\""},
        {TsuiIconType::suiHelp, {"Cancel", "No", "Yes"}, "No", "The \"Help\" box was answered \"No\""},
    };
    ASSERT_EQ(std::size(boxes), static_cast<std::size_t>(L::kMessageButtonCount));
    for (int i = 0; i < L::kMessageButtonCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(OnContent(form->MessageButton(i)), L::MessageButton(i));
        bool seen = false;
        DoWhenIdle([&, i] {
            TfrmMsg* box = form->MessageDialog()->MessageForm();
            ASSERT_NE(box, nullptr);
            seen = true;
            EXPECT_EQ(form->MessageDialog()->IconType(), boxes[i].Icon);
            EXPECT_EQ(box->Image1->Visible(), boxes[i].Icon != TsuiIconType::suiNone);
            EXPECT_EQ(box->suiForm1->UIStyle(), Protein);
            std::vector<std::string> captions;
            for (TsuiButton* button : box->Buttons()) {
                captions.push_back(button->Caption());
                EXPECT_EQ(button->UIStyle(), Protein);
            }
            EXPECT_EQ(captions, boxes[i].Buttons);
            if (!boxes[i].Press) {
                Backend().KeyDown(VK_ESCAPE);
                Backend().KeyUp(VK_ESCAPE);
                return;
            }
            for (TsuiButton* button : box->Buttons()) {
                if (button->Caption() == boxes[i].Press) {
                    const TPoint p = At(button, 10, 10);
                    InjectMove(p);
                    InjectPress(p);
                    InjectRelease(p);
                }
            }
        });
        ClickOn(form->MessageButton(i), 20, 10);
        EXPECT_TRUE(seen);
        EXPECT_EQ(form->MessageDialog()->MessageForm(), nullptr);
        EXPECT_EQ(form->Status()->Caption(), boxes[i].Report);
    }
}
