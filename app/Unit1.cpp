#include "app/Unit1.h"

#include "app/HelpPage.h"
#include "app/PasswordGenerator.h"
#include "app/ProductAddresses.h"
#include "app/RandomSource.h"
#include "app/Unit2.h"
#include "skin/controls/SUIButton.h"
#include "skin/controls/SUICheckBox.h"
#include "skin/controls/SUIGroupBox.h"
#include "skin/controls/SUIMemo.h"
#include "skin/controls/SUIProgressBar.h"
#include "skin/controls/SUISpinEdit.h"
#include "skin/dialogs/SUIDialog.h"
#include "skin/frame/SUIForm.h"
#include "skin/menus/SUIMenu.h"
#include "toolkit/components/Properties.h"
#include "toolkit/components/SysUtils.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Clipboard.h"
#include "toolkit/controls/Label.h"
#include "toolkit/menus/MenuItem.h"
#include "toolkit/shell/Shell.h"

TForm1* Form1 = nullptr;

VARNEL_CLASS_INFO(TForm1, [](auto& c) {
    c.Field("suiForm1", &TForm1::suiForm1);
    c.Field("suiGroupBox1", &TForm1::suiGroupBox1);
    c.Field("suiCheckBox1", &TForm1::suiCheckBox1);
    c.Field("suiGroupBox2", &TForm1::suiGroupBox2);
    c.Field("suiCheckBox2", &TForm1::suiCheckBox2);
    c.Field("suiCheckBox3", &TForm1::suiCheckBox3);
    c.Field("suiCheckBox4", &TForm1::suiCheckBox4);
    c.Field("suiCheckBox5", &TForm1::suiCheckBox5);
    c.Field("Label1", &TForm1::Label1);
    c.Field("suiMemo1", &TForm1::suiMemo1);
    c.Field("suiGroupBox3", &TForm1::suiGroupBox3);
    c.Field("SuiSpinEdit1", &TForm1::SuiSpinEdit1);
    c.Field("suiGroupBox4", &TForm1::suiGroupBox4);
    c.Field("SuiSpinEdit2", &TForm1::SuiSpinEdit2);
    c.Field("suiCheckBox6", &TForm1::suiCheckBox6);
    c.Field("Label2", &TForm1::Label2);
    c.Field("Label5", &TForm1::Label5);
    c.Field("Label4", &TForm1::Label4);
    c.Field("suiMemo2", &TForm1::suiMemo2);
    c.Field("Label3", &TForm1::Label3);
    c.Field("suiProgressBar1", &TForm1::suiProgressBar1);
    c.Field("suiButton3", &TForm1::suiButton3);
    c.Field("suiButton4", &TForm1::suiButton4);
    c.Field("suiMainMenu1", &TForm1::suiMainMenu1);
    c.Field("File1", &TForm1::File1);
    c.Field("Exit1", &TForm1::Exit1);
    c.Field("Help1", &TForm1::Help1);
    c.Field("HelpDocument1", &TForm1::HelpDocument1);
    c.Field("OnlineHelp1", &TForm1::OnlineHelp1);
    c.Field("About1", &TForm1::About1);
    c.Field("suiMessageDialog1", &TForm1::suiMessageDialog1);
    c.Handler("FormClose", &TForm1::FormClose);
    c.Handler("suiCheckBox1Click", &TForm1::suiCheckBox1Click);
    c.Handler("suiCheckBox2Click", &TForm1::suiCheckBox2Click);
    c.Handler("suiCheckBox3Click", &TForm1::suiCheckBox3Click);
    c.Handler("suiCheckBox4Click", &TForm1::suiCheckBox4Click);
    c.Handler("suiCheckBox5Click", &TForm1::suiCheckBox5Click);
    c.Handler("suiMemo1Change", &TForm1::suiMemo1Change);
    c.Handler("suiButton4Click", &TForm1::suiButton4Click);
    c.Handler("suiButton3Click", &TForm1::suiButton3Click);
    c.Handler("Exit1Click", &TForm1::Exit1Click);
    c.Handler("HelpDocument1Click", &TForm1::HelpDocument1Click);
    c.Handler("OnlineHelp1Click", &TForm1::OnlineHelp1Click);
    c.Handler("About1Click", &TForm1::About1Click);
})

namespace {

// The lines of one generation on their way into the result memo: gathered here and added in
// pieces, each piece at most kPieceBytes or the lines made since the progress bar last moved, so
// that a million passwords cost a hundred additions to the memo rather than a million.
class TResultLines {
public:
    static constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

    explicit TResultLines(TsuiMemo* memo) : m_memo(memo) {}

    void Add(std::string_view line) {
        if (m_lines > 0) {
            m_piece += "\r\n";
        }
        m_piece.append(line);
        ++m_lines;
        if (m_piece.size() >= kPieceBytes) {
            Flush();
        }
    }

    void Flush() {
        if (m_lines == 0) {
            return;
        }
        m_memo->Lines()->Add(m_piece);
        m_piece.clear();
        m_lines = 0;
    }

private:
    TsuiMemo* m_memo;
    std::string m_piece; // the pending lines joined by CR LF
    std::int64_t m_lines = 0;
};

constexpr const char* kFailedCaption = "Failed";
constexpr const char* kNothingToCopy = "Please press the 'Generate password' button first!";
constexpr const char* kCopiedCaption = "Congratulation";
constexpr const char* kCopied = "Copy password to clipboard ok!";
constexpr const char* kNotCopied = "The clipboard did not take the passwords: nothing was copied!";

} // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    RegisterFormClasses();
    RegisterDialogClasses();
    RegisterClasses<TLabel, TsuiGroupBox, TsuiCheckBox, TsuiMemo, TSuiSpinEdit, TsuiProgressBar,
                    TsuiButton>();
    TStatus loaded = LoadLayout("Unit1");
    if (loaded) {
        loaded = RequireBoundFields(this, "Unit1");
    }
    if (!loaded) {
        RefuseCreation(loaded.Message());
        return;
    }
    UpdateCaption();
}

TForm1::~TForm1() {
    if (Form1 == this) {
        Form1 = nullptr;
    }
}

TRandomSource& TForm1::RandomSource() {
    if (!m_source) {
        m_systemSource = std::make_unique<TSystemRandomSource>();
        m_source = m_systemSource.get();
    }
    return *m_source;
}

void TForm1::SetRandomSource(TRandomSource* source) {
    m_source = source;
    UpdateCaption();
}

void TForm1::UpdateCaption() {
    if (!suiForm1) {
        return;
    }
    std::string caption(kProductCaption);
    if (m_source && m_source->IsReproducible()) {
        caption += kReproducibleCaptionSuffix;
    }
    suiForm1->SetCaption(caption);
}

// ---- The key sets -----------------------------------------------------------------------------------

void TForm1::suiCheckBox1Click(TObject* /*sender*/) {
    for (TsuiCheckBox* box : {suiCheckBox2, suiCheckBox3, suiCheckBox4, suiCheckBox5}) {
        box->SetChecked(false);
    }
    // Typing into the custom characters unchecks this box; what was typed stays.
    if (!m_keepCustomText) {
        ClearCustomCharacters();
    }
}

void TForm1::SetBoxClicked(TsuiCheckBox* box) {
    if (!box->Checked()) {
        return;
    }
    // Unchecking "All keyboard" unchecks every set, this one too, which is then checked again.
    suiCheckBox1->SetChecked(false);
    box->SetChecked(true);
}

void TForm1::suiCheckBox2Click(TObject* /*sender*/) {
    SetBoxClicked(suiCheckBox2);
}

void TForm1::suiCheckBox3Click(TObject* /*sender*/) {
    SetBoxClicked(suiCheckBox3);
}

void TForm1::suiCheckBox4Click(TObject* /*sender*/) {
    SetBoxClicked(suiCheckBox4);
}

void TForm1::suiCheckBox5Click(TObject* /*sender*/) {
    SetBoxClicked(suiCheckBox5);
}

void TForm1::suiMemo1Change(TObject* /*sender*/) {
    if (m_clearingCustom) {
        return;
    }
    m_keepCustomText = true;
    suiCheckBox1->SetChecked(false);
    m_keepCustomText = false;
}

void TForm1::ClearCustomCharacters() {
    m_clearingCustom = true;
    suiMemo1->Clear();
    m_clearingCustom = false;
}

// ---- Generating and copying -------------------------------------------------------------------------

void TForm1::suiButton4Click(TObject* /*sender*/) {
    suiProgressBar1->SetPosition(0);
    suiMemo2->Lines()->Clear();

    TGenerationRequest request;
    request.Count = SuiSpinEdit1->Value();
    request.BaseLength = SuiSpinEdit2->Value();
    request.VariableLength = suiCheckBox6->Checked();
    request.AllKeys = suiCheckBox1->Checked();
    request.Digits = suiCheckBox2->Checked();
    request.LowerCaseLetters = suiCheckBox3->Checked();
    request.UpperCaseLetters = suiCheckBox4->Checked();
    request.SpecialCharacters = suiCheckBox5->Checked();
    request.CustomCharacters = suiMemo1->Text();

    TResultLines lines(suiMemo2);
    TPasswordGenerator generator(RandomSource());
    const TGenerationResult result = generator.Generate(
        request,
        [&lines](std::string_view line) {
            lines.Add(line);
            return true;
        },
        [this, &lines](int position) {
            if (position != suiProgressBar1->Position()) {
                lines.Flush();
                suiProgressBar1->SetPosition(position);
            }
        });
    lines.Flush();

    std::int64_t made = result.Made;
    if (result.Status == TGenerationStatus::RandomFailure) {
        // A list cut short by a failing source is no list to rely on.
        suiMemo2->Lines()->Clear();
        made = 0;
    }
    suiProgressBar1->SetPosition(100);
    Label4->SetCaption(IntToStr(made));
    if (!result.Ok()) {
        ShowMessage(TsuiIconType::suiWarning, kFailedCaption, result.Error);
    }
}

void TForm1::suiButton3Click(TObject* /*sender*/) {
    if (suiMemo2->Text().empty()) {
        ShowMessage(TsuiIconType::suiWarning, kFailedCaption, kNothingToCopy);
        return;
    }
    suiMemo2->SelectAll();
    Clipboard()->Open();
    const bool copied = Clipboard()->SetAsText(suiMemo2->SelText());
    Clipboard()->Close();
    if (copied) {
        ShowMessage(TsuiIconType::suiInformation, kCopiedCaption, kCopied);
    } else {
        ShowMessage(TsuiIconType::suiWarning, kFailedCaption, kNotCopied);
    }
}

void TForm1::ShowMessage(TsuiIconType icon, const std::string& caption, const std::string& text) {
    suiMessageDialog1->SetIconType(icon);
    suiMessageDialog1->SetCaption(caption);
    suiMessageDialog1->SetText(text);
    suiMessageDialog1->ShowModal();
}

// ---- Closing and the menu ---------------------------------------------------------------------------

void TForm1::FormClose(TObject* /*sender*/, TCloseAction& /*action*/) {
    Application->Terminate();
}

void TForm1::Exit1Click(TObject* /*sender*/) {
    Application->Terminate();
}

void TForm1::HelpDocument1Click(TObject* /*sender*/) {
    // A missing page, or a desktop that cannot open it, leaves the window as it was.
    OpenHelpPage(Handle());
}

void TForm1::OnlineHelp1Click(TObject* /*sender*/) {
    ShellExecute(Handle(), "open", std::string(kProductWebPage).c_str(), nullptr, nullptr, SW_SHOW);
}

void TForm1::About1Click(TObject* /*sender*/) {
    if (Form2) {
        Form2->ShowModal();
    }
}
