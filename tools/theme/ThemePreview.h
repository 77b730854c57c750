#pragma once

// The preview window of varnel-theme: one skinned window that shows every skinned control of the
// library at once, in a built-in look or a theme file, each working as it does in the program.
// A theme maker switches looks from its Look menu, reloads the file after packing it again
// (F5), and compares.
//
// The controls lie on a content panel that fills the frame below the title bar and the menu
// bar, so they keep their places whatever height a look gives those bars; the window is sized
// to the content panel after every change of look.

#include "skin/core/SUIThemes.h"
#include "toolkit/components/Status.h"
#include "toolkit/controls/Form.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

class TLabel;
class TMenuItem;
class TsuiButton;
class TSuiArrowButton;
class TsuiCheckBox;
class TsuiEdit;
class TsuiFileTheme;
class TsuiForm;
class TsuiGroupBox;
class TsuiImageButton;
class TsuiImagePanel;
class TsuiMainMenu;
class TsuiMessageDialog;
class TsuiMemo;
class TsuiPopupMenu;
class TsuiProgressBar;
class TsuiScrollBar;
class TSuiSpinEdit;
class TsuiTrackBar;
class TsuiURLLabel;

// Where each control lies on the content panel (left, top, width, height). Check boxes, the
// image button, the image panel and the URL label size themselves from their top-left corner;
// the scroll bars and the track bar take the thickness their look gives them.
namespace ThemePreviewLayout {
constexpr int kContentWidth = 600;
constexpr int kContentHeight = 292;

constexpr TRect kButtonGroup = Bounds(8, 6, 204, 128);
constexpr TRect kNormalButton = Bounds(20, 26, 86, 27);
constexpr TRect kDisabledButton = Bounds(114, 26, 86, 27);
constexpr TRect kDefaultButton = Bounds(20, 60, 86, 27);
constexpr TRect kGlyphButton = Bounds(114, 60, 86, 27);
constexpr TRect kImageButton = Bounds(20, 98, 21, 21);
constexpr TRect kArrowUpButton = Bounds(114, 98, 24, 21);
constexpr TRect kArrowDownButton = Bounds(142, 98, 24, 21);

constexpr TRect kCheckBoxGroup = Bounds(8, 142, 204, 96);
constexpr TRect kCheckedBox = Bounds(20, 162, 150, 21);
constexpr TRect kUncheckedBox = Bounds(20, 186, 150, 21);
constexpr TRect kDisabledBox = Bounds(20, 210, 150, 21);

constexpr TRect kImagePanel = Bounds(12, 250, 32, 32);
constexpr TRect kURLLabel = Bounds(56, 260, 150, 13);

constexpr TRect kEdit = Bounds(224, 12, 180, 21);
constexpr TRect kSpinEdit = Bounds(224, 42, 96, 21);
constexpr TRect kProgressBar = Bounds(224, 74, 180, 12);
constexpr TRect kTrackBar = Bounds(224, 94, 180, 30);
constexpr TRect kHScrollBar = Bounds(224, 134, 180, 16);
constexpr TRect kVScrollBar = Bounds(414, 12, 16, 138);
constexpr TRect kMemo = Bounds(440, 12, 152, 138);

constexpr TRect kMessageGroup = Bounds(224, 162, 368, 76);
// The buttons that open a message box, left to right: no icon, warning, stop, information, help.
constexpr int kMessageButtonCount = 5;
constexpr TRect MessageButton(int index) {
    return Bounds(236 + 70 * index, 190, 66, 25);
}

constexpr TRect kStatusLabel = Bounds(224, 252, 368, 13);
} // namespace ThemePreviewLayout

// What a preview shows: a built-in look, or the theme file at a path.
struct TThemePreviewSource {
    TsuiUIStyle Style = DeepBlue; // FromThemeFile for a file
    std::string ThemeFile;

    // A built-in look's name (letter case ignored), or else a path.
    static TThemePreviewSource FromArgument(const std::string& lookOrFile);
    std::string Name() const;
};

// A theme file loaded at exactly path, for a preview; on failure none and a message.
TStatus LoadPreviewTheme(const std::string& path, std::unique_ptr<TsuiFileTheme>& theme);

class TThemePreviewForm : public TForm {
    VARNEL_CLASS(TThemePreviewForm, TForm)

public:
    explicit TThemePreviewForm(TComponent* owner);
    ~TThemePreviewForm() override;

    // Every skinned component in a built-in look.
    void ShowLook(TsuiUIStyle style);
    // Every skinned component in a theme file (loaded with LoadPreviewTheme), which the form
    // keeps; its path is what the reload command loads again.
    void ShowThemeFile(std::unique_ptr<TsuiFileTheme> theme, const std::string& path);
    // Loads the theme file again from its path and shows it; a file that no longer loads keeps
    // the one shown, and the answer says why.
    TStatus ReloadThemeFile();

    TsuiUIStyle UIStyle() const { return m_style; }
    TsuiFileTheme* FileTheme() const { return m_theme.get(); }

    // ---- The controls, for tests ----
    TsuiForm* Skin() const { return m_skin; }
    TsuiImagePanel* Content() const { return m_content; }
    TsuiMainMenu* MainMenu() const { return m_mainMenu; }
    TsuiPopupMenu* PopupMenu() const { return m_popupMenu; }
    TsuiButton* NormalButton() const { return m_normalButton; }
    TsuiButton* DisabledButton() const { return m_disabledButton; }
    TsuiButton* DefaultButton() const { return m_defaultButton; }
    TsuiButton* GlyphButton() const { return m_glyphButton; }
    TsuiImageButton* ImageButton() const { return m_imageButton; }
    TSuiArrowButton* ArrowUpButton() const { return m_arrowUp; }
    TSuiArrowButton* ArrowDownButton() const { return m_arrowDown; }
    TsuiCheckBox* CheckedBox() const { return m_checkedBox; }
    TsuiCheckBox* UncheckedBox() const { return m_uncheckedBox; }
    TsuiCheckBox* DisabledBox() const { return m_disabledBox; }
    TsuiProgressBar* ProgressBar() const { return m_progressBar; }
    TsuiEdit* Edit() const { return m_edit; }
    TSuiSpinEdit* SpinEdit() const { return m_spinEdit; }
    TsuiTrackBar* TrackBar() const { return m_trackBar; }
    TsuiScrollBar* HScrollBar() const { return m_hScrollBar; }
    TsuiScrollBar* VScrollBar() const { return m_vScrollBar; }
    TsuiMemo* Memo() const { return m_memo; }
    TsuiGroupBox* ButtonGroup() const { return m_buttonGroup; }
    TsuiImagePanel* ImagePanel() const { return m_imagePanel; }
    TsuiURLLabel* URLLabel() const { return m_urlLabel; }
    // The button that opens the message box of icon type index (as TsuiIconType counts).
    TsuiButton* MessageButton(int index) const { return m_messageButtons.at(index); }
    TsuiMessageDialog* MessageDialog() const { return m_messageDialog; }
    // The line at the bottom that tells what the controls last did.
    TLabel* Status() const { return m_status; }

private:
    void BuildMenus();
    void BuildButtons();
    void BuildCheckBoxes();
    void BuildValueControls();
    void BuildMemo();
    void BuildMessageButtons();

    // Gives every skinned component the look, then what depends on it, and fits the window.
    void ApplyLook(TsuiUIStyle style, TsuiFileTheme* theme);
    void LoadLookPictures(TsuiFileTheme* theme);
    void FitToContent();
    void Report(const std::string& text);

    TsuiUIStyle m_style = DeepBlue;
    std::unique_ptr<TsuiFileTheme> m_theme; // the theme file shown or last shown; none before one
    std::string m_themePath;

    TsuiForm* m_skin = nullptr;
    TsuiImagePanel* m_content = nullptr;
    TsuiMainMenu* m_mainMenu = nullptr;
    TsuiPopupMenu* m_popupMenu = nullptr;
    std::vector<TMenuItem*> m_lookItems; // the five looks, then the theme file
    TMenuItem* m_reloadItem = nullptr;
    TsuiGroupBox* m_buttonGroup = nullptr;
    TsuiButton* m_normalButton = nullptr;
    TsuiButton* m_disabledButton = nullptr;
    TsuiButton* m_defaultButton = nullptr;
    TsuiButton* m_glyphButton = nullptr;
    TsuiImageButton* m_imageButton = nullptr;
    TSuiArrowButton* m_arrowUp = nullptr;
    TSuiArrowButton* m_arrowDown = nullptr;
    TsuiCheckBox* m_checkedBox = nullptr;
    TsuiCheckBox* m_uncheckedBox = nullptr;
    TsuiCheckBox* m_disabledBox = nullptr;
    TsuiImagePanel* m_imagePanel = nullptr;
    TsuiURLLabel* m_urlLabel = nullptr;
    TsuiEdit* m_edit = nullptr;
    TSuiSpinEdit* m_spinEdit = nullptr;
    TsuiProgressBar* m_progressBar = nullptr;
    TsuiTrackBar* m_trackBar = nullptr;
    TsuiScrollBar* m_hScrollBar = nullptr;
    TsuiScrollBar* m_vScrollBar = nullptr;
    TsuiMemo* m_memo = nullptr;
    TsuiScrollBar* m_memoVBar = nullptr;
    TsuiScrollBar* m_memoHBar = nullptr;
    TsuiMessageDialog* m_messageDialog = nullptr;
    std::vector<TsuiButton*> m_messageButtons;
    TLabel* m_status = nullptr;
};

// varnel-theme preview LOOK|FILE [--png FILE]: shows the preview window until it is closed, or
// with png set renders it without a display into that PNG file. Answers the tool's exit status.
int RunThemePreview(const TThemePreviewSource& source, const std::string& png, std::ostream& out,
                    std::ostream& err);
