#pragma once

// Skinned dialogs. TsuiDialog holds what any of them needs between calls (caption, fonts, look,
// where the window appears); TsuiMessageDialog shows a message box with an optional icon and one
// to three buttons: each ShowModal builds a fresh message form (TfrmMsg) from its layout, fits it
// to the text, runs it modally and frees it, and answers the modal result of the button pressed,
// or the cancel result when the box was closed another way (its close button, Escape, the end of
// the program).

#include "skin/controls/SUIControlLook.h"
#include "skin/core/SUIThemes.h"
#include "toolkit/components/Component.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/controls/Form.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TFont;
class TfrmMsg;

// Scoped, since the title bar's button types already name a suiHelp.
enum class TsuiIconType : std::uint8_t { suiNone, suiWarning, suiStop, suiInformation, suiHelp };
inline constexpr std::string_view kIconTypeNames[] = {"suiNone", "suiWarning", "suiStop", "suiInformation",
                                                      "suiHelp"};
inline constexpr TEnumInfo IconTypeInfo{"TsuiIconType", kIconTypeNames};

// How many buttons a message box has: 1 to 3.
using TsuiDialogButtonsCount = int;
inline constexpr TsuiDialogButtonsCount kMinDialogButtons = 1;
inline constexpr TsuiDialogButtonsCount kMaxDialogButtons = 3;

class TsuiDialog : public TComponent {
    VARNEL_CLASS(TsuiDialog, TComponent)

public:
    explicit TsuiDialog(TComponent* owner);
    ~TsuiDialog() override;

    TsuiFileTheme* FileTheme() const { return m_look.FileTheme(); }
    // Stores the theme file, then the look again.
    void SetFileTheme(TsuiFileTheme* value);
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition value) { m_position = value; }
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& value) { m_caption = value; }
    // Only stored: the look is applied to the window when it is shown.
    TsuiUIStyle UIStyle() const { return m_look.UIStyle(); }
    void SetUIStyle(TsuiUIStyle value) { m_look.SetUIStyle(value); }
    // The font of the message text.
    TFont* Font() const { return m_font.get(); }
    void SetFont(const TFont* value);
    // The font of the window's caption.
    TFont* CaptionFont() const { return m_captionFont.get(); }
    void SetCaptionFont(const TFont* value);
    TCursor ButtonCursor() const { return m_buttonCursor; }
    void SetButtonCursor(TCursor value) { m_buttonCursor = value; }

    // Shows the dialog modally and answers the modal result it ended with.
    virtual int ShowModal() = 0;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TsuiControlLook m_look;
    TPosition m_position = poScreenCenter;
    std::string m_caption = "suiDialog";
    std::unique_ptr<TFont> m_font;
    std::unique_ptr<TFont> m_captionFont;
    TCursor m_buttonCursor = crHandPoint;
};

class TsuiMessageDialog : public TsuiDialog {
    VARNEL_CLASS(TsuiMessageDialog, TsuiDialog)

public:
    explicit TsuiMessageDialog(TComponent* owner);

    TsuiDialogButtonsCount ButtonCount() const { return m_buttonCount; }
    // Values outside 1 to 3 are ignored.
    void SetButtonCount(TsuiDialogButtonsCount value);
    const std::string& Button1Caption() const { return m_buttonCaptions[0]; }
    void SetButton1Caption(const std::string& value) { m_buttonCaptions[0] = value; }
    const std::string& Button2Caption() const { return m_buttonCaptions[1]; }
    void SetButton2Caption(const std::string& value) { m_buttonCaptions[1] = value; }
    const std::string& Button3Caption() const { return m_buttonCaptions[2]; }
    void SetButton3Caption(const std::string& value) { m_buttonCaptions[2] = value; }
    TModalResult Button1ModalResult() const { return m_buttonResults[0]; }
    void SetButton1ModalResult(TModalResult value) { m_buttonResults[0] = value; }
    TModalResult Button2ModalResult() const { return m_buttonResults[1]; }
    void SetButton2ModalResult(TModalResult value) { m_buttonResults[1] = value; }
    TModalResult Button3ModalResult() const { return m_buttonResults[2]; }
    void SetButton3ModalResult(TModalResult value) { m_buttonResults[2] = value; }
    TsuiIconType IconType() const { return m_iconType; }
    void SetIconType(TsuiIconType value);
    // The message, shown as written ("&" is no access key).
    const std::string& Text() const { return m_text; }
    void SetText(const std::string& value) { m_text = value; }

    int ShowModal() override;

    // While ShowModal runs, the message form it shows; none otherwise.
    TfrmMsg* MessageForm() const { return m_form; }

private:
    // Fits a new message form to the text, icon and buttons (everything but showing it).
    void PrepareForm(TfrmMsg* form);

    TsuiDialogButtonsCount m_buttonCount = 1;
    std::string m_buttonCaptions[3] = {"OK", "Cancel", "Cancel"};
    TModalResult m_buttonResults[3] = {mrOk, mrCancel, mrCancel};
    TsuiIconType m_iconType = TsuiIconType::suiNone;
    std::string m_text = "Hello world!";
    TfrmMsg* m_form = nullptr;
    // Expires with the dialog, which the modal loop may see freed (its window closing).
    std::shared_ptr<char> m_alive = std::make_shared<char>();
};

// Makes the dialogs and their message form known to layouts.
void RegisterDialogClasses();
