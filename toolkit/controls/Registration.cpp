#include "toolkit/controls/Registration.h"

#include "toolkit/controls/ActionList.h"
#include "toolkit/controls/Edit.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Memo.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/controls/Timer.h"
#include "toolkit/controls/ToolBar.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/menus/Menu.h"

void RegisterControlClasses() {
    RegisterControlIdents();
    RegisterMenuClasses();
    RegisterClasses<TForm, TPanel, TLabel, TImage, TTimer, TActionList, TAction, TImageList, TEdit, TMemo,
                    TToolBar, TToolButton>();
}
