#pragma once

// TfrmMsg: the window of a skinned message box, made from its layout for each showing. The
// message dialog places the text, the icon and the buttons on it; the form itself answers two
// keys before its controls see them (it previews keys): Ctrl+C copies the whole message as plain
// text, and Escape closes it as cancelled.

#include "toolkit/controls/Form.h"

#include <string>
#include <vector>

class TImage;
class TLabel;
class TsuiButton;
class TsuiForm;

class TfrmMsg : public TForm {
    VARNEL_CLASS(TfrmMsg, TForm)

public:
    // Loads the form's layout; a layout that does not load leaves CreationStatus failed.
    explicit TfrmMsg(TComponent* owner);

    TsuiForm* suiForm1 = nullptr;
    TLabel* lbl = nullptr;
    TImage* Image1 = nullptr;

    void FormKeyDown(TObject* sender, WORD& key, TShiftState shift);

    // The skinned buttons the form owns, in the order they were made.
    std::vector<TsuiButton*> Buttons() const;
    // The message as Ctrl+C copies it: the caption, the text and the button captions between
    // lines of hyphens, with CR LF line breaks.
    std::string ClipboardText() const;
};

// The hyphen line that frames the parts of a copied message.
inline constexpr const char* kMessageRule = "---------------------------";
