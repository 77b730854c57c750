#pragma once

// TForm1, the main window: the key choices, the number and length of the passwords, the result
// list with its progress bar and count, the copy and generate buttons, and the File and Help
// menus. Its layout (Unit1.lfm) places every control; this unit holds the handlers the layout
// binds.

#include "toolkit/controls/Form.h"

#include <cstdint>
#include <memory>
#include <string>

class TLabel;
class TMenuItem;
class TRandomSource;
class TSuiSpinEdit;
class TsuiButton;
class TsuiCheckBox;
class TsuiForm;
class TsuiGroupBox;
class TsuiMainMenu;
class TsuiMemo;
class TsuiMessageDialog;
class TsuiProgressBar;
enum class TsuiIconType : std::uint8_t;

class TForm1 : public TForm {
    VARNEL_CLASS(TForm1, TForm)

public:
    // Loads the layout; one that does not load leaves CreationStatus failed.
    explicit TForm1(TComponent* owner);
    ~TForm1() override;

    // ---- Components, by the names the layout gives them ----
    TsuiForm* suiForm1 = nullptr;
    TsuiGroupBox* suiGroupBox1 = nullptr;
    TsuiCheckBox* suiCheckBox1 = nullptr; // All keyboard
    TsuiGroupBox* suiGroupBox2 = nullptr;
    TsuiCheckBox* suiCheckBox2 = nullptr; // Numbers
    TsuiCheckBox* suiCheckBox3 = nullptr; // Lowercase letters
    TsuiCheckBox* suiCheckBox4 = nullptr; // Uppercase letters
    TsuiCheckBox* suiCheckBox5 = nullptr; // Special characters
    TLabel* Label1 = nullptr;
    TsuiMemo* suiMemo1 = nullptr; // the user's own characters
    TsuiGroupBox* suiGroupBox3 = nullptr;
    TSuiSpinEdit* SuiSpinEdit1 = nullptr; // how many
    TsuiGroupBox* suiGroupBox4 = nullptr;
    TSuiSpinEdit* SuiSpinEdit2 = nullptr; // how long
    TsuiCheckBox* suiCheckBox6 = nullptr; // Variable Length
    TLabel* Label2 = nullptr;
    TLabel* Label5 = nullptr;
    TLabel* Label4 = nullptr;     // the count made
    TsuiMemo* suiMemo2 = nullptr; // the result list
    TLabel* Label3 = nullptr;
    TsuiProgressBar* suiProgressBar1 = nullptr;
    TsuiButton* suiButton3 = nullptr; // Copy to clipboard
    TsuiButton* suiButton4 = nullptr; // Generate password
    TsuiMainMenu* suiMainMenu1 = nullptr;
    TMenuItem* File1 = nullptr;
    TMenuItem* Exit1 = nullptr;
    TMenuItem* Help1 = nullptr;
    TMenuItem* HelpDocument1 = nullptr;
    TMenuItem* OnlineHelp1 = nullptr;
    TMenuItem* About1 = nullptr;
    TsuiMessageDialog* suiMessageDialog1 = nullptr;

    // ---- Handlers ----
    void FormClose(TObject* sender, TCloseAction& action);
    void suiCheckBox1Click(TObject* sender);
    void suiCheckBox2Click(TObject* sender);
    void suiCheckBox3Click(TObject* sender);
    void suiCheckBox4Click(TObject* sender);
    void suiCheckBox5Click(TObject* sender);
    void suiMemo1Change(TObject* sender);
    void suiButton4Click(TObject* sender);
    void suiButton3Click(TObject* sender);
    void Exit1Click(TObject* sender);
    void HelpDocument1Click(TObject* sender);
    void OnlineHelp1Click(TObject* sender);
    void About1Click(TObject* sender);

    // The source passwords are drawn from: the operating system's unless another is set (not
    // owned; it must outlive the window or be set again). The caption says when it is the
    // reproducible one.
    TRandomSource& RandomSource();
    void SetRandomSource(TRandomSource* source);

private:
    // A set's box was clicked: a set checked while "All keyboard" is takes its place alone.
    void SetBoxClicked(TsuiCheckBox* box);
    // Empties the custom characters without that counting as the user's edit.
    void ClearCustomCharacters();
    void ShowMessage(TsuiIconType icon, const std::string& caption, const std::string& text);
    void UpdateCaption();

    std::unique_ptr<TRandomSource> m_systemSource; // made when first needed
    TRandomSource* m_source = nullptr;
    bool m_clearingCustom = false; // the program is emptying suiMemo1
    bool m_keepCustomText = false; // the user's edit of suiMemo1 is unchecking "All keyboard"
};

// The main window once start-up has made it; none before and after.
extern TForm1* Form1;
