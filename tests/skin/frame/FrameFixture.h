#pragma once

// A fixture for the skinned frame: host forms carrying a skinned form panel, built the way the
// program's windows are (the panel made on the host, then its look and size set), and a recorder
// for the error and advice boxes components show.

#include "skin/core/SUIPublic.h"
#include "skin/core/SUIThemes.h"
#include "skin/frame/SUIForm.h"
#include "skin/frame/SUITitleBar.h"
#include "tests/support/Artifacts.h"
#include "tests/support/ControlFixture.h"

#include <string>
#include <vector>

class TFrameFixture : public TControlFixture {
protected:
    TFrameFixture() {
        RegisterFormClasses();
        m_previousBoxes =
            SetMessageBoxService([this](TMessageBoxKind, const std::string& text) { boxes.push_back(text); });
    }
    ~TFrameFixture() override { SetMessageBoxService(m_previousBoxes); }

    // A host form of the given border style with a skinned form panel of the given look whose
    // panel is 480 × 480 (so the host is 482 × 481 with a 1-pixel border). main makes the host
    // the application's main form.
    TsuiForm* MakeSkinnedHost(TsuiUIStyle style = MacOS, TFormBorderStyle border = bsSingle,
                              bool main = false, TPoint at = {100, 100}) {
        TForm* form = nullptr;
        if (main) {
            Application->CreateForm(form);
        } else {
            form = new TForm(Application);
        }
        form->SetBorderStyle(border);
        form->SetBounds(at.X, at.Y, 500, 500);
        form->SetCaption("Varnel V1.0");
        auto* skin = new TsuiForm(form);
        skin->SetUIStyle(style);
        skin->SetWidth(480);
        skin->SetHeight(480);
        host = form;
        return skin;
    }

    // The screen point of a point of the title bar's client area.
    TPoint OnBar(const TsuiForm* skin, int x, int y) const {
        return skin->TitleBar()->ClientToScreen({x, y});
    }

    TForm* host = nullptr;
    std::vector<std::string> boxes;

private:
    TMessageBoxService m_previousBoxes;
};
