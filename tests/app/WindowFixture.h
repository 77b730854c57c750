#pragma once

// The program's windows made as start-up makes them, headless with the manual clock, and the
// user's ways with them: clicks on controls and menu items, typing, and answering the message
// boxes the window shows (each recorded as it was shown).

#include "app/RandomSource.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/controls/SUIButton.h"
#include "skin/controls/SUICheckBox.h"
#include "skin/controls/SUIMemo.h"
#include "skin/controls/SUIProgressBar.h"
#include "skin/controls/SUISpinEdit.h"
#include "skin/dialogs/SUIDialog.h"
#include "skin/dialogs/SUIMessageForm.h"
#include "skin/frame/SUIForm.h"
#include "tests/support/Artifacts.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/controls/Label.h"
#include "toolkit/menus/MenuItem.h"
#include "toolkit/menus/MenuTracker.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class TVarnelWindowFixture : public TControlFixture {
protected:
    struct TShownBox {
        TsuiIconType icon = TsuiIconType::suiNone;
        std::string caption;
        std::string text;
    };

    // Makes both windows with the given source (the reproducible generator from state 0 unless
    // the test gives another) and shows the main one.
    void Start(TRandomSource* source = nullptr, TWindowOptions options = {}) {
        TStatus made = CreateVarnelWindows(windows);
        ASSERT_TRUE(made) << made.Message();
        made = ApplyWindowOptions(options, source ? *source : reproducible, windows);
        ASSERT_TRUE(made) << made.Message();
        ShowForm(Form1);
    }

    // Answers the next message box the window shows with its OK button, after recording it and,
    // when artifact is given, saving its picture.
    void AnswerNextBox(const std::string& artifact = {}) {
        DoWhenIdle([this, artifact] {
            TfrmMsg* form = Form1->suiMessageDialog1->MessageForm();
            ASSERT_NE(form, nullptr) << "no message box is showing";
            boxes.push_back(
                {Form1->suiMessageDialog1->IconType(), form->suiForm1->Caption(), form->lbl->Caption()});
            if (!artifact.empty()) {
                SaveArtifactPng(artifact, Presented(form->Handle()));
            }
            const std::vector<TsuiButton*> buttons = form->Buttons();
            ASSERT_FALSE(buttons.empty());
            const TPoint p = At(buttons.back(), 20, 12);
            InjectMove(p);
            InjectPress(p);
            InjectRelease(p);
        });
    }

    // A click in the middle of a control, as a user makes it.
    void ClickControl(const TControl* control) {
        ClickOn(control, control->Width() / 2, control->Height() / 2);
    }
    // A click on a check box's box.
    void ClickBox(const TsuiCheckBox* box) { ClickOn(box, 8, box->Height() / 2); }

    // Replaces the text of a spin edit as a user does: select all, type.
    void TypeInto(TSuiSpinEdit* edit, const std::string& text) {
        ClickControl(edit);
        edit->SelectAll();
        Type(text);
    }

    // Chooses item from the menu bar: a click on its menu's button, then on the item. whileOpen
    // runs while the menu is open (for a picture of it), before the click on the item; after runs
    // at the next wait once the item is chosen (to answer a window the command opens). From a
    // step of a running loop (insideLoop), the clicks are only injected and the loop delivers them.
    void ChooseFromMenu(TMenuItem* item, const std::function<void()>& whileOpen = nullptr,
                        const std::function<void()>& after = nullptr, bool insideLoop = false) {
        TMenuItem* top = item->Parent();
        TToolBar* bar = Form1->suiForm1->MenuBar();
        TToolButton* button = nullptr;
        for (int i = 0; i < bar->ButtonCount(); ++i) {
            if (bar->Buttons(i)->MenuItem() == top) {
                button = bar->Buttons(i);
            }
        }
        ASSERT_NE(button, nullptr);
        DoWhenIdle([this, item, whileOpen] {
            if (whileOpen) {
                whileOpen();
            }
            TRect r;
            ASSERT_TRUE(GetOpenMenuItemRect(item, r)) << item->Caption() << " is not showing";
            const TPoint p{r.Left + 10, r.Top + r.Height() / 2};
            InjectMove(p);
            InjectPress(p);
            InjectRelease(p);
        });
        if (after) {
            DoWhenIdle(after);
        }
        const TPoint p =
            bar->ClientToScreen({button->Left() + button->Width() / 2, button->Top() + button->Height() / 2});
        if (insideLoop) {
            InjectMove(p);
            InjectPress(p);
            InjectRelease(p);
        } else {
            Click(p);
            Pump();
        }
    }

    // The lines of the result list.
    std::vector<std::string> ResultLines() const {
        std::vector<std::string> lines;
        for (int i = 0; i < Form1->suiMemo2->Lines()->Count(); ++i) {
            lines.push_back(Form1->suiMemo2->Lines()->Get(i));
        }
        return lines;
    }

    TReproducibleRandomSource reproducible;
    TVarnelWindows windows;
    std::vector<TShownBox> boxes;
};
