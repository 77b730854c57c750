#include "app/Unit2.h"

#include "app/ProductAddresses.h"
#include "skin/controls/SUIURLLabel.h"
#include "skin/frame/SUIForm.h"
#include "toolkit/components/Properties.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"

TForm2* Form2 = nullptr;

VARNEL_CLASS_INFO(TForm2, [](auto& c) {
    c.Field("suiForm1", &TForm2::suiForm1);
    c.Field("Image1", &TForm2::Image1);
    c.Field("Label1", &TForm2::Label1);
    c.Field("Label8", &TForm2::Label8);
    c.Field("Label6", &TForm2::Label6);
    c.Field("suiURLLabel1", &TForm2::suiURLLabel1);
    c.Field("Label7", &TForm2::Label7);
    c.Field("suiURLLabel2", &TForm2::suiURLLabel2);
    c.Field("Label3", &TForm2::Label3);
})

TForm2::TForm2(TComponent* owner) : TForm(owner) {
    RegisterFormClasses();
    RegisterClasses<TImage, TLabel, TsuiURLLabel>();
    TStatus loaded = LoadLayout("Unit2");
    if (loaded) {
        loaded = RequireBoundFields(this, "Unit2");
    }
    if (!loaded) {
        RefuseCreation(loaded.Message());
        return;
    }
    suiURLLabel1->SetCaption(std::string(kProductWebPage));
    suiURLLabel1->SetURL(std::string(kProductWebPage));
    suiURLLabel2->SetCaption(std::string(kSupportEmail));
    suiURLLabel2->SetURL(SupportMailTo());
}

TForm2::~TForm2() {
    if (Form2 == this) {
        Form2 = nullptr;
    }
}
