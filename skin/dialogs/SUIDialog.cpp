#include "skin/dialogs/SUIDialog.h"

#include "skin/controls/SUIButton.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "skin/dialogs/SUIMessageForm.h"
#include "skin/frame/SUIForm.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/Picture.h"

#include <algorithm>

VARNEL_CLASS_INFO(TsuiDialog, [](auto& c) {
    c.Component("FileTheme", &TsuiDialog::FileTheme, &TsuiDialog::SetFileTheme);
    c.Enum("Position", PositionInfo, &TsuiDialog::Position, &TsuiDialog::SetPosition);
    c.String("Caption", &TsuiDialog::Caption, &TsuiDialog::SetCaption);
    c.Enum("UIStyle", UIStyleInfo, &TsuiDialog::UIStyle, &TsuiDialog::SetUIStyle);
    c.Object("Font", &TsuiDialog::Font, &TsuiDialog::SetFont);
    c.Object("CaptionFont", &TsuiDialog::CaptionFont, &TsuiDialog::SetCaptionFont);
    c.Cursor("ButtonCursor", &TsuiDialog::ButtonCursor, &TsuiDialog::SetButtonCursor).Unpublished();
})

VARNEL_CLASS_INFO(TsuiMessageDialog, [](auto& c) {
    c.Publish("ButtonCursor");
    c.Int("ButtonCount", &TsuiMessageDialog::ButtonCount, &TsuiMessageDialog::SetButtonCount)
        .Range(kMinDialogButtons, kMaxDialogButtons);
    c.String("Button1Caption", &TsuiMessageDialog::Button1Caption, &TsuiMessageDialog::SetButton1Caption);
    c.String("Button2Caption", &TsuiMessageDialog::Button2Caption, &TsuiMessageDialog::SetButton2Caption);
    c.String("Button3Caption", &TsuiMessageDialog::Button3Caption, &TsuiMessageDialog::SetButton3Caption);
    c.Int("Button1ModalResult", &TsuiMessageDialog::Button1ModalResult,
          &TsuiMessageDialog::SetButton1ModalResult);
    c.Int("Button2ModalResult", &TsuiMessageDialog::Button2ModalResult,
          &TsuiMessageDialog::SetButton2ModalResult);
    c.Int("Button3ModalResult", &TsuiMessageDialog::Button3ModalResult,
          &TsuiMessageDialog::SetButton3ModalResult);
    c.Enum("IconType", IconTypeInfo, &TsuiMessageDialog::IconType, &TsuiMessageDialog::SetIconType);
    c.String("Text", &TsuiMessageDialog::Text, &TsuiMessageDialog::SetText);
})

void RegisterDialogClasses() {
    RegisterFormClasses();
    RegisterClasses<TsuiMessageDialog, TfrmMsg, TsuiButton>();
}

namespace {

// Where the message and its icon start in the message form, and how the buttons line up.
constexpr int kTextLeftWithIcon = 88;
constexpr int kTextLeftWithoutIcon = 24;
constexpr int kNoIconNarrowing = 64;
constexpr int kIconCount = 4;
constexpr int kButtonGap = 20; // from the lower of text and icon to the buttons
constexpr int kButtonWidth = 73;
constexpr int kButtonHeight = 25;
constexpr int kButtonStep = 93; // from one button's left edge to the next one's
constexpr int kRightButtonInset = 97;
constexpr int kFormBelowContent = 65; // the form's height beyond the lower of text and icon

} // namespace

// ---- TsuiDialog ----------------------------------------------------------------------------------

TsuiDialog::TsuiDialog(TComponent* owner)
    : TComponent(owner), m_look(this, GetOwnerUIStyle(owner)), m_font(std::make_unique<TFont>()),
      m_captionFont(std::make_unique<TFont>()) {
    m_captionFont->SetColor(clWhite);
    m_captionFont->SetName("Tahoma");
    m_captionFont->SetStyle(TFontStyles{fsBold});
}

TsuiDialog::~TsuiDialog() = default;

void TsuiDialog::SetFileTheme(TsuiFileTheme* value) {
    m_look.SetFileTheme(value);
    SetUIStyle(UIStyle());
}

void TsuiDialog::SetFont(const TFont* value) {
    m_font->Assign(value);
}

void TsuiDialog::SetCaptionFont(const TFont* value) {
    m_captionFont->Assign(value);
}

void TsuiDialog::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (m_look.FileThemeRemoved(component, operation)) {
        SetUIStyle(DeepBlue);
    }
}

// ---- TsuiMessageDialog ---------------------------------------------------------------------------

TsuiMessageDialog::TsuiMessageDialog(TComponent* owner) : TsuiDialog(owner) {}

void TsuiMessageDialog::SetButtonCount(TsuiDialogButtonsCount value) {
    if (value >= kMinDialogButtons && value <= kMaxDialogButtons) {
        m_buttonCount = value;
    }
}

void TsuiMessageDialog::SetIconType(TsuiIconType value) {
    if (value <= TsuiIconType::suiHelp) {
        m_iconType = value;
    }
}

void TsuiMessageDialog::PrepareForm(TfrmMsg* form) {
    form->SetFont(Font());
    form->lbl->SetCaption(Text());
    // Read now, before the icon resizes the picture control: the text and a 40-pixel icon
    // place both reach at least this far.
    const int contentBottom =
        std::max(form->lbl->Top() + form->lbl->Height(), form->Image1->Top() + form->Image1->Height());
    if (m_iconType != TsuiIconType::suiNone) {
        form->lbl->SetLeft(kTextLeftWithIcon);
        TBitmap icons;
        if (icons.LoadFromResourceName("MSGDLG") && !icons.Empty()) {
            SliceBitmap(&icons, form->Image1->Picture()->Bitmap(), kIconCount, static_cast<int>(m_iconType));
        }
    } else {
        form->lbl->SetLeft(kTextLeftWithoutIcon);
        form->Image1->SetVisible(false);
        if (m_buttonCount < kMaxDialogButtons) {
            form->SetWidth(form->Width() - kNoIconNarrowing);
        }
    }

    const int width = form->Width();
    for (int i = 0; i < m_buttonCount; ++i) {
        // The first button made is the rightmost and carries the highest number.
        const int number = m_buttonCount - i;
        auto* button = new TsuiButton(form);
        button->SetParent(form->suiForm1);
        button->SetBounds(width - kButtonStep * i - kRightButtonInset, contentBottom + kButtonGap,
                          kButtonWidth, kButtonHeight);
        button->SetCursor(ButtonCursor());
        button->SetTabStop(true);
        button->SetTabOrder(1);
        button->SetCaption(m_buttonCaptions[number - 1]);
        button->SetModalResult(m_buttonResults[number - 1]);
        // The last one made, the leftmost, keeps the focus.
        form->SetActiveControl(button);
    }
    form->SetHeight(contentBottom + kFormBelowContent);
    form->SetPosition(Position());

    TsuiForm* skin = form->suiForm1;
    skin->SetCaption(Caption());
    skin->SetFileTheme(FileTheme());
    skin->SetUIStyle(UIStyle());
    skin->SetFont(CaptionFont());
}

int TsuiMessageDialog::ShowModal() {
    auto* form = new TfrmMsg(Application);
    if (!form->CreationStatus()) {
        const std::string why = form->CreationStatus().Message();
        delete form;
        ShowErrorBox("Cannot show the message \"" + Text() + "\": " + why);
        return mrCancel;
    }
    PrepareForm(form);
    const std::weak_ptr<char> formAlive = form->AliveToken();
    const std::weak_ptr<char> dialogAlive = m_alive;
    m_form = form;
    const int result = form->ShowModal();
    if (!dialogAlive.expired()) {
        m_form = nullptr;
    }
    if (!formAlive.expired()) {
        delete form;
    }
    return result;
}
