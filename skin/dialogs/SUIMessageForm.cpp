#include "skin/dialogs/SUIMessageForm.h"

#include "skin/controls/SUIButton.h"
#include "skin/frame/SUIForm.h"
#include "toolkit/components/Properties.h"
#include "toolkit/controls/Clipboard.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"

VARNEL_CLASS_INFO(TfrmMsg, [](auto& c) {
    c.Field("suiForm1", &TfrmMsg::suiForm1);
    c.Field("lbl", &TfrmMsg::lbl);
    c.Field("Image1", &TfrmMsg::Image1);
    c.Handler("FormKeyDown", &TfrmMsg::FormKeyDown);
})

namespace {

constexpr WORD kKeyC = 67;

} // namespace

TfrmMsg::TfrmMsg(TComponent* owner) : TForm(owner) {
    RegisterFormClasses();
    RegisterClasses<TLabel, TImage, TsuiButton>();
    TStatus loaded = LoadLayout("SUIMessageForm");
    if (loaded) {
        loaded = RequireBoundFields(this, "SUIMessageForm");
    }
    if (!loaded) {
        RefuseCreation(loaded.Message());
    }
}

std::vector<TsuiButton*> TfrmMsg::Buttons() const {
    std::vector<TsuiButton*> buttons;
    for (int i = 0; i < ComponentCount(); ++i) {
        if (auto* button = dynamic_cast<TsuiButton*>(Components(i))) {
            buttons.push_back(button);
        }
    }
    return buttons;
}

std::string TfrmMsg::ClipboardText() const {
    const std::string rule = kMessageRule;
    std::string text = rule + "\r\n";
    text += (suiForm1 ? suiForm1->Caption() : Caption()) + "\r\n";
    text += rule + "\r\n";
    text += (lbl ? lbl->Caption() : std::string()) + "\r\n";
    text += rule + "\r\n";
    bool first = true;
    for (const TsuiButton* button : Buttons()) {
        if (!first) {
            text += "   ";
        }
        text += button->Caption();
        first = false;
    }
    text += "\r\n" + rule;
    return text;
}

void TfrmMsg::FormKeyDown(TObject* /*sender*/, WORD& key, TShiftState shift) {
    if (key == kKeyC && shift.Contains(ssCtrl)) {
        Clipboard()->Open();
        Clipboard()->SetAsText(ClipboardText());
        Clipboard()->Close();
    } else if (key == VK_ESCAPE && shift.Empty()) {
        // The box is answered as cancelled, as its close button would.
        key = 0;
        Close();
    }
}
