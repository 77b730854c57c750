#include "tools/theme/ThemePreview.h"

#include "skin/controls/SUIArrowButton.h"
#include "skin/controls/SUIButton.h"
#include "skin/controls/SUICheckBox.h"
#include "skin/controls/SUIEdit.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIImageButton.h"
#include "skin/controls/SUIImagePanel.h"
#include "skin/controls/SUIMemo.h"
#include "skin/controls/SUIProgressBar.h"
#include "skin/controls/SUIScrollBar.h"
#include "skin/controls/SUISpinEdit.h"
#include "skin/controls/SUITrackBar.h"
#include "skin/controls/SUIURLLabel.h"
#include "skin/core/SUILookOverride.h"
#include "skin/core/SUIMgr.h"
#include "skin/dialogs/SUIDialog.h"
#include "skin/frame/SUIForm.h"
#include "skin/frame/SUILookSource.h"
#include "skin/menus/SUIMenu.h"
#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/backends/sdl/SdlBackend.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Screen.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/menus/MenuItem.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>
#include <utility>

VARNEL_CLASS_INFO(TThemePreviewForm)

namespace {

namespace L = ThemePreviewLayout;

constexpr const char* kCaptionPrefix = "Varnel theme preview: ";

constexpr const char* kMemoText =
    "A memo with skinned scroll bars.\r\n"
    "Type here, select with the mouse or the keys,\r\n"
    "and scroll with the bars, the wheel or the arrow keys.\r\n"
    "Line 4\r\nLine 5\r\nLine 6\r\nLine 7\r\nLine 8\r\nLine 9\r\nLine 10\r\n"
    "Line 11, long enough to need the horizontal bar to be read to its very end.\r\n"
    "Line 12\r\nLine 13\r\nLine 14";

// A control of class T owned by owner, on parent, at a place given in the coordinates of the
// content panel, which parent is or lies in (a group box's children lie in its coordinates).
template <typename T>
T* Place(TComponent* owner, TWinControl* parent, const TRect& place, const char* name) {
    auto* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    TPoint origin{0, 0};
    for (const TControl* p = parent; p && p->Name() != "Content"; p = p->Parent()) {
        origin.X += p->Left();
        origin.Y += p->Top();
    }
    control->SetBounds(place.Left - origin.X, place.Top - origin.Y, place.Width(), place.Height());
    return control;
}

TMenuItem* AddItem(TComponent* owner, TMenuItem* parent, const std::string& caption,
                   TNotifyEvent onClick = {}) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->OnClick = std::move(onClick);
    parent->Add(item);
    return item;
}

// Frames first to first + 2 of the look's title-bar button strip, for the image button's
// normal, mouse-over and pressed pictures.
void LoadTitleButtonFrames(const TsuiLookSource& look, int first, TPicture* normal, TPicture* over,
                           TPicture* down) {
    TPicture* pictures[] = {normal, over, down};
    for (int i = 0; i < 3; ++i) {
        TBitmap frame;
        look.Bitmap(TsuiThemeElement::TitleBarButtonImage, &frame, first + i, 18);
        frame.SetTransparent(true);
        frame.SetTransparentColor(0xFF00FF);
        pictures[i]->SetGraphic(&frame);
    }
}

// Button number (1 to 3) of a message box says caption and answers result.
void SetAnswer(TsuiMessageDialog& dialog, int number, const std::string& caption, TModalResult result) {
    switch (number) {
    case 1:
        dialog.SetButton1Caption(caption);
        dialog.SetButton1ModalResult(result);
        break;
    case 2:
        dialog.SetButton2Caption(caption);
        dialog.SetButton2ModalResult(result);
        break;
    default:
        dialog.SetButton3Caption(caption);
        dialog.SetButton3ModalResult(result);
        break;
    }
}

} // namespace

TThemePreviewSource TThemePreviewSource::FromArgument(const std::string& lookOrFile) {
    if (std::optional<TsuiUIStyle> style = FindBuiltInLook(lookOrFile)) {
        return {*style, {}};
    }
    return {FromThemeFile, lookOrFile};
}

std::string TThemePreviewSource::Name() const {
    return Style == FromThemeFile ? ExtractFileName(ThemeFile) : std::string(kUIStyleNames[Style]);
}

TStatus LoadPreviewTheme(const std::string& path, std::unique_ptr<TsuiFileTheme>& theme) {
    auto loaded = std::make_unique<TsuiFileTheme>(nullptr);
    TStatus status = LoadThemeFileAt(*loaded, path);
    if (status) {
        theme = std::move(loaded);
    }
    return status;
}

// ---- Building the window ------------------------------------------------------------------------

TThemePreviewForm::TThemePreviewForm(TComponent* owner) : TForm(owner) {
    SetName("ThemePreview");
    SetBorderStyle(bsSingle);
    SetPosition(poScreenCenter);
    SetCaption("Varnel theme preview");
    SetBounds(0, 0, L::kContentWidth + 2, L::kContentHeight + 60);
    Font()->SetName("MS Sans Serif");
    Font()->SetHeight(-11);

    m_skin = new TsuiForm(this);
    m_skin->SetName("suiForm1");
    m_skin->SetCaption(Caption());
    m_content = new TsuiImagePanel(this);
    m_content->SetName("Content");
    m_content->SetParent(m_skin);
    m_content->SetTransparent(true);
    m_skin->SetFormPanel(m_content);
    // The groups and boxes take the look's form colour through the panel, as on the program's
    // own windows.
    m_content->SetParentColor(true);

    BuildMenus();
    BuildButtons();
    BuildCheckBoxes();
    BuildValueControls();
    BuildMemo();
    BuildMessageButtons();

    m_status = Place<TLabel>(this, m_content, L::kStatusLabel, "Status");
    m_status->SetTransparent(true);
    m_status->SetCaption("Everything here works: click, type, drag, open the menus.");
    SetActiveControl(m_edit);
    ApplyLook(DeepBlue, nullptr);
}

TThemePreviewForm::~TThemePreviewForm() {
    // The components go before the theme file they point to, so none is told to fall back.
    DestroyComponents();
}

void TThemePreviewForm::BuildMenus() {
    m_mainMenu = new TsuiMainMenu(this);
    m_mainMenu->SetName("suiMainMenu1");
    TMenuItem* items = m_mainMenu->Items();

    TMenuItem* file = AddItem(this, items, "&File");
    m_reloadItem = AddItem(this, file, "&Reload theme file", [this](TObject*) {
        TStatus status = ReloadThemeFile();
        Report(status ? "Reloaded " + m_themePath : status.Message());
    });
    m_reloadItem->SetShortCut(ShortCut(VK_F5, TShortCut{0}));
    AddItem(this, file, "-");
    AddItem(this, file, "E&xit", [this](TObject*) { Close(); });

    TMenuItem* look = AddItem(this, items, "&Look");
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        // The looks' first letters differ: each is its access key.
        TMenuItem* item =
            AddItem(this, look, "&" + std::string(kUIStyleNames[style]), [this, style](TObject*) {
                ShowLook(style);
                Report(std::string("Look: ") + std::string(kUIStyleNames[style]));
            });
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
        m_lookItems.push_back(item);
    }
    AddItem(this, look, "-");
    TMenuItem* themeItem = AddItem(this, look, "&Theme file", [this](TObject*) {
        if (m_theme) {
            ApplyLook(FromThemeFile, m_theme.get());
            Report("Look: " + m_themePath);
        }
    });
    themeItem->SetRadioItem(true);
    themeItem->SetGroupIndex(1);
    m_lookItems.push_back(themeItem);

    // The same sample of item states in the menu bar and in the content panel's context menu.
    m_popupMenu = new TsuiPopupMenu(this);
    m_popupMenu->SetName("suiPopupMenu1");
    TMenuItem* sample = AddItem(this, items, "&Menu items");
    for (TMenuItem* parent : {sample, m_popupMenu->Items()}) {
        AddItem(this, parent, "&Normal item", [this](TObject*) { Report("Chose \"Normal item\""); });
        TMenuItem* checked = AddItem(this, parent, "&Checked item");
        checked->SetChecked(true);
        checked->SetAutoCheck(true);
        checked->OnClick = [this, checked](TObject*) {
            Report(checked->Checked() ? "\"Checked item\" is checked" : "\"Checked item\" is unchecked");
        };
        AddItem(this, parent, "&Disabled item")->SetEnabled(false);
        AddItem(this, parent, "Item with a &short-cut", [this](TObject*) {
            Report("Chose \"Item with a short-cut\"");
        })->SetShortCut(ShortCut('K', scCtrl));
        AddItem(this, parent, "-");
        TMenuItem* more = AddItem(this, parent, "S&ubmenu");
        AddItem(this, more, "&First", [this](TObject*) { Report("Chose \"First\""); });
        AddItem(this, more, "&Second", [this](TObject*) { Report("Chose \"Second\""); });
    }
    m_mainMenu->HookMenuItems(items);
    m_popupMenu->HookMenuItems(m_popupMenu->Items());
    m_content->SetPopupMenu(m_popupMenu);
}

void TThemePreviewForm::BuildButtons() {
    m_buttonGroup = Place<TsuiGroupBox>(this, m_content, L::kButtonGroup, "suiGroupBox1");
    m_buttonGroup->SetCaption("Push buttons");
    m_buttonGroup->SetParentColor(true);
    auto button = [this](const TRect& place, const char* name, const char* caption) {
        auto* b = Place<TsuiButton>(this, m_buttonGroup, place, name);
        b->SetCaption(caption);
        b->OnClick = [this, caption](TObject*) { Report(std::string("Clicked \"") + caption + "\""); };
        return b;
    };
    m_normalButton = button(L::kNormalButton, "suiButton1", "Normal");
    m_disabledButton = button(L::kDisabledButton, "suiButton2", "Disabled");
    m_disabledButton->SetEnabled(false);
    m_defaultButton = button(L::kDefaultButton, "suiButton3", "Default");
    m_defaultButton->SetDefault(true);
    m_glyphButton = button(L::kGlyphButton, "suiButton4", "Glyph");
    TBitmap glyph;
    glyph.LoadFromResourceName("MENU_CHECKED");
    m_glyphButton->SetGlyph(&glyph);

    m_imageButton = Place<TsuiImageButton>(this, m_buttonGroup, L::kImageButton, "suiImageButton1");
    m_imageButton->SetCaption("");
    m_imageButton->SetAutoSize(true);
    m_imageButton->OnClick = [this](TObject*) { Report("Clicked the image button"); };

    m_arrowUp = Place<TSuiArrowButton>(this, m_buttonGroup, L::kArrowUpButton, "suiArrowButton1");
    m_arrowUp->SetArrow(suiUp);
    m_arrowDown = Place<TSuiArrowButton>(this, m_buttonGroup, L::kArrowDownButton, "suiArrowButton2");
    m_arrowDown->SetArrow(suiDown);
    // Held down, an arrow button repeats: the progress bar shows it.
    auto step = [this](int delta) {
        return [this, delta](TObject*) {
            m_trackBar->SetPosition(m_trackBar->Position() + delta);
            Report("Track bar at " + std::to_string(m_trackBar->Position()));
        };
    };
    m_arrowUp->OnClick = step(5);
    m_arrowUp->OnMouseContinuouslyDown = step(5);
    m_arrowDown->OnClick = step(-5);
    m_arrowDown->OnMouseContinuouslyDown = step(-5);
}

void TThemePreviewForm::BuildCheckBoxes() {
    auto* group = Place<TsuiGroupBox>(this, m_content, L::kCheckBoxGroup, "suiGroupBox2");
    group->SetCaption("Check boxes");
    group->SetParentColor(true);
    auto box = [this, group](const TRect& place, const char* name, const char* caption, bool checked) {
        auto* b = Place<TsuiCheckBox>(this, group, place, name);
        b->SetCaption(caption);
        b->SetChecked(checked);
        b->OnClick = [this, b, caption](TObject*) {
            Report(std::string("\"") + caption + (b->Checked() ? "\" checked" : "\" unchecked"));
        };
        return b;
    };
    m_checkedBox = box(L::kCheckedBox, "suiCheckBox1", "Checked", true);
    m_uncheckedBox = box(L::kUncheckedBox, "suiCheckBox2", "Unchecked", false);
    m_disabledBox = box(L::kDisabledBox, "suiCheckBox3", "Disabled", true);
    m_disabledBox->SetEnabled(false);

    m_imagePanel = Place<TsuiImagePanel>(this, m_content, L::kImagePanel, "suiImagePanel1");
    m_imagePanel->SetCaption("");
    m_imagePanel->Picture()->LoadFromResourceName("MAINICON");
    m_imagePanel->SetTransparent(true);
    m_imagePanel->SetAutoSize(true);

    m_urlLabel = Place<TsuiURLLabel>(this, m_content, L::kURLLabel, "suiURLLabel1");
    m_urlLabel->SetTransparent(true);
}

void TThemePreviewForm::BuildValueControls() {
    m_edit = Place<TsuiEdit>(this, m_content, L::kEdit, "suiEdit1");
    m_edit->SetText("An edit: type here");
    m_spinEdit = Place<TSuiSpinEdit>(this, m_content, L::kSpinEdit, "SuiSpinEdit1");
    m_spinEdit->SetMinValue(0);
    m_spinEdit->SetMaxValue(100);
    m_spinEdit->SetValue(50);
    m_spinEdit->OnChange = [this](TObject*) { Report("Spin edit: " + m_spinEdit->Text()); };

    m_progressBar = Place<TsuiProgressBar>(this, m_content, L::kProgressBar, "suiProgressBar1");
    m_progressBar->SetPosition(50);

    // The track bar drives the progress bar, so both show the same value.
    m_trackBar = Place<TsuiTrackBar>(this, m_content, L::kTrackBar, "suiTrackBar1");
    m_trackBar->SetRange(0, 100);
    m_trackBar->SetFrequency(10);
    m_trackBar->SetPageSize(10);
    m_trackBar->SetPosition(50);
    m_trackBar->OnChange = [this](TObject*) {
        m_progressBar->SetPosition(m_trackBar->Position());
        Report("Track bar at " + std::to_string(m_trackBar->Position()));
    };

    auto bar = [this](const TRect& place, const char* name, TsuiProgressBarOrientation orientation) {
        auto* b = Place<TsuiScrollBar>(this, m_content, place, name);
        b->SetOrientation(orientation);
        b->SetBounds(place.Left, place.Top, place.Width(), place.Height());
        b->SetMax(100);
        b->SetPageSize(20);
        b->SetPosition(30);
        b->SetOnChange([this, b, name](TObject*) {
            Report(std::string(name) + " at " + std::to_string(b->Position()));
        });
        return b;
    };
    m_hScrollBar = bar(L::kHScrollBar, "suiScrollBar1", suiHorizontal);
    m_vScrollBar = bar(L::kVScrollBar, "suiScrollBar2", suiVertical);
}

void TThemePreviewForm::BuildMemo() {
    m_memo = Place<TsuiMemo>(this, m_content, L::kMemo, "suiMemo1");
    m_memo->SetWordWrap(false);
    m_memo->SetScrollBars(ssBoth);
    m_memo->SetText(kMemoText);
    m_memoVBar = new TsuiScrollBar(this);
    m_memoVBar->SetName("suiScrollBar3");
    m_memoVBar->SetParent(m_content);
    m_memoHBar = new TsuiScrollBar(this);
    m_memoHBar->SetName("suiScrollBar4");
    m_memoHBar->SetParent(m_content);
    m_memo->SetVScrollBar(m_memoVBar);
    m_memo->SetHScrollBar(m_memoHBar);
}

void TThemePreviewForm::BuildMessageButtons() {
    auto* group = Place<TsuiGroupBox>(this, m_content, L::kMessageGroup, "suiGroupBox3");
    group->SetCaption("Message boxes");
    group->SetParentColor(true);
    m_messageDialog = new TsuiMessageDialog(this);
    m_messageDialog->SetName("suiMessageDialog1");
    m_messageDialog->SetPosition(poMainFormCenter);

    // One box per icon type, with one, two and three buttons among them.
    struct TBox {
        const char* Button;
        const char* Text;
        std::vector<std::pair<const char*, TModalResult>> Answers;
    };
    const TBox boxes[L::kMessageButtonCount] = {
        {"No icon", "A message box without an icon.", {{"OK", mrOk}}},
        {"Warning",
         "A warning, with two buttons. Ctrl+C copies the message.",
         {{"OK", mrOk}, {"Cancel", mrCancel}}},
        {"Stop", "Something went wrong.", {{"OK", mrOk}}},
        {"Information",
         "For your information: the text wraps onto as many lines as it needs, and the box grows with it.",
         {{"OK", mrOk}}},
        {"Help", "A question, with three buttons.", {{"Yes", mrYes}, {"No", mrNo}, {"Cancel", mrCancel}}},
    };
    for (int i = 0; i < L::kMessageButtonCount; ++i) {
        const TBox& box = boxes[i];
        auto* button = Place<TsuiButton>(this, group, L::MessageButton(i),
                                         ("suiMessageButton" + std::to_string(i + 1)).c_str());
        button->SetCaption(box.Button);
        button->OnClick = [this, i, box](TObject*) {
            TsuiMessageDialog* dialog = m_messageDialog;
            dialog->SetIconType(static_cast<TsuiIconType>(i));
            dialog->SetCaption(box.Button);
            dialog->SetText(box.Text);
            dialog->SetButtonCount(static_cast<int>(box.Answers.size()));
            for (std::size_t n = 0; n < box.Answers.size(); ++n) {
                SetAnswer(*dialog, static_cast<int>(n) + 1, box.Answers[n].first, box.Answers[n].second);
            }
            // The preview may be gone when the box returns (the program ended meanwhile).
            auto alive = AliveToken();
            const TModalResult result = dialog->ShowModal();
            if (alive.expired()) {
                return;
            }
            std::string answer = "closed";
            for (const auto& [caption, value] : box.Answers) {
                if (value == result) {
                    answer = std::string("answered \"") + caption + "\"";
                    break;
                }
            }
            Report(std::string("The \"") + box.Button + "\" box was " + answer);
        };
        m_messageButtons.push_back(button);
    }
}

// ---- Looks ----------------------------------------------------------------------------------------

void TThemePreviewForm::ShowLook(TsuiUIStyle style) {
    ApplyLook(style, nullptr);
}

void TThemePreviewForm::ShowThemeFile(std::unique_ptr<TsuiFileTheme> theme, const std::string& path) {
    if (!theme) {
        return;
    }
    // The old file stays until every component points to the new one, so that none is told it
    // went away (and falls back to DeepBlue) in between.
    std::unique_ptr<TsuiFileTheme> old = std::exchange(m_theme, std::move(theme));
    m_themePath = path;
    m_lookItems.back()->SetCaption("&Theme file " + ExtractFileName(path));
    ApplyLook(FromThemeFile, m_theme.get());
}

TStatus TThemePreviewForm::ReloadThemeFile() {
    if (m_themePath.empty()) {
        return TStatus::Fail("No theme file to reload: the preview shows a built-in look");
    }
    std::unique_ptr<TsuiFileTheme> theme;
    TStatus status = LoadPreviewTheme(m_themePath, theme);
    if (status) {
        ShowThemeFile(std::move(theme), m_themePath);
    }
    return status;
}

void TThemePreviewForm::ApplyLook(TsuiUIStyle style, TsuiFileTheme* theme) {
    m_style = style;
    ApplyLookToOwnedComponents(this, style, theme);
    LoadLookPictures(theme);

    const bool fromFile = style == FromThemeFile;
    for (std::size_t i = 0; i < m_lookItems.size(); ++i) {
        const bool isFile = i + 1 == m_lookItems.size();
        m_lookItems[i]->SetChecked(isFile ? fromFile : !fromFile && kBuiltInUIStyles[i] == style);
    }
    if (m_lookItems.size() > 1) {
        m_lookItems.back()->SetVisible(m_theme != nullptr || fromFile);
    }
    if (m_reloadItem) {
        m_reloadItem->SetEnabled(!m_themePath.empty());
    }
    const std::string name = fromFile ? ExtractFileName(m_themePath) : std::string(kUIStyleNames[style]);
    m_skin->SetCaption(kCaptionPrefix + (name.empty() ? std::string("theme file") : name));
    FitToContent();
}

void TThemePreviewForm::LoadLookPictures(TsuiFileTheme* theme) {
    // The image button shows the look's help button: it has no look of its own.
    const TsuiLookSource look(theme, m_style);
    auto normal = std::make_unique<TPicture>();
    auto over = std::make_unique<TPicture>();
    auto down = std::make_unique<TPicture>();
    LoadTitleButtonFrames(look, 4, normal.get(), over.get(), down.get());
    m_imageButton->SetPicNormal(normal.get());
    m_imageButton->SetPicMouseOn(over.get());
    m_imageButton->SetPicMouseDown(down.get());
    // See-through where the look draws its title-bar buttons see-through.
    m_imageButton->SetTransparent(look.Bool(TsuiThemeElement::TitleBarButtonTransparentBool));
}

void TThemePreviewForm::FitToContent() {
    // The bars above the content take what the look gives them; the border goes round all.
    int above = 0;
    if (m_skin->TitleBarVisible()) {
        above += m_skin->TitleBar()->Height();
    }
    if (m_skin->MenuBar()) {
        above += m_skin->MenuBar()->Height();
    }
    const int border = std::max(0, m_skin->BorderWidth());
    SetClientWidth(L::kContentWidth + 2 * border);
    SetClientHeight(above + L::kContentHeight + border);
}

void TThemePreviewForm::Report(const std::string& text) {
    m_status->SetCaption(text);
}

// ---- Running -----------------------------------------------------------------------------------------

namespace {

// Everything the application object and the screen keep between windows goes with the window
// system, so that a second preview (in the same process, as the tests run it) starts clean.
void EndPreview() {
    Application->Reset();
    Screen->SetCursor(crDefault);
    SetMouseControl(nullptr);
    FreeDeviceContexts();
}

} // namespace

int RunThemePreview(const TThemePreviewSource& source, const std::string& png, std::ostream& out,
                    std::ostream& err) {
    // The theme file is read before any window exists: a file that does not load shows nothing.
    std::unique_ptr<TsuiFileTheme> theme;
    if (source.Style == FromThemeFile) {
        TStatus status = LoadPreviewTheme(source.ThemeFile, theme);
        if (!status) {
            err << "varnel-theme: " << status.Message() << "\n";
            return 1;
        }
    }

    std::unique_ptr<TBackend> backend;
    THeadlessBackend* headless = nullptr;
    std::unique_ptr<TClock> clock;
    if (!png.empty()) {
        auto memory = std::make_unique<THeadlessBackend>();
        headless = memory.get();
        backend = std::move(memory);
        clock = std::make_unique<TManualClock>(0);
    } else {
        std::string error;
        backend = TSdlBackend::Create(&error);
        if (!backend) {
            err << "varnel-theme: cannot open a window (" << error
                << "); with --png FILE the preview is rendered without a display\n";
            return 1;
        }
        clock = std::make_unique<TSteadyClock>();
    }
    std::unique_ptr<TWindowSystem> system = StartWindowSystem(std::move(backend), std::move(clock));
    RegisterFormClasses();
    RegisterDialogClasses();

    TThemePreviewForm* form = nullptr;
    Application->CreateForm(form);
    if (theme) {
        form->ShowThemeFile(std::move(theme), source.ThemeFile);
    } else {
        form->ShowLook(source.Style);
    }

    int status = 0;
    if (headless) {
        form->Show();
        Application->ProcessMessages();
        system->PresentChanged(true);
        const TRect bounds = form->BoundsRect();
        if (std::optional<std::string> error = headless->SavePng(form->Handle(), png)) {
            err << "varnel-theme: " << *error << "\n";
            status = 1;
        } else {
            out << "wrote " << png << " (" << bounds.Width() << " x " << bounds.Height() << ", "
                << source.Name() << ")\n";
        }
    } else {
        Application->Run();
    }
    EndPreview();
    return status;
}
