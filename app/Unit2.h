#pragma once

// TForm2, the About window: the logo, the program's name, its web page and support address as
// links, and a legal notice. It is made once, hidden, and shown modally from the Help menu; its
// close button only hides it again.

#include "toolkit/controls/Form.h"

class TImage;
class TLabel;
class TsuiForm;
class TsuiURLLabel;

class TForm2 : public TForm {
    VARNEL_CLASS(TForm2, TForm)

public:
    // Loads the layout and gives the links the program's fixed addresses; a layout that does not
    // load leaves CreationStatus failed.
    explicit TForm2(TComponent* owner);
    ~TForm2() override;

    TsuiForm* suiForm1 = nullptr;
    TImage* Image1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label8 = nullptr;
    TLabel* Label6 = nullptr;
    TsuiURLLabel* suiURLLabel1 = nullptr; // the web page
    TLabel* Label7 = nullptr;
    TsuiURLLabel* suiURLLabel2 = nullptr; // the support address
    TLabel* Label3 = nullptr;
};

// The About window once start-up has made it; none before and after.
extern TForm2* Form2;
