#pragma once

// Small controls the control tests place on forms: a focusable control that records its keys and
// focus events, and a push button that answers dialog keys and accelerators the way buttons do.

#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/Form.h"

#include <string>
#include <vector>

using TEventLog = std::vector<std::string>;

// Takes the focus; records enter, exit and keys as "<name>.<event>"; answers WM_GETDLGCODE with
// DialogCode.
class TFocusable : public TCustomControl {
public:
    TFocusable(TComponent* owner, TEventLog& log) : TCustomControl(owner), m_log(log) {
        SetTabStop(true);
        SetBounds(0, 0, 50, 20);
        OnEnter = [this](TObject*) { m_log.push_back(Name() + ".enter"); };
        OnExit = [this](TObject*) { m_log.push_back(Name() + ".exit"); };
        OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
            m_log.push_back(Name() + ".keydown(" + std::to_string(key) + ")");
        };
        OnKeyPress = [this](TObject*, char32_t& key) {
            m_log.push_back(Name() + ".keypress(" + std::string(1, static_cast<char>(key)) + ")");
        };
    }
    LRESULT DialogCode = 0;

protected:
    void WMGetDlgCode(TMessage& message) override { message.Result = DialogCode; }

private:
    TEventLog& m_log;
};

// A push button: Enter clicks it when Default, Escape when Cancel, its caption's access key when
// enabled; a click focuses it and gives its form the button's ModalResult.
class TTestButton : public TCustomControl {
public:
    TTestButton(TComponent* owner, TEventLog& log) : TCustomControl(owner), m_log(log) {
        SetTabStop(true);
        SetBounds(0, 0, 75, 25);
        OnClick = [this](TObject*) { m_log.push_back(Name() + ".click"); };
    }
    bool Default = false;
    bool Cancel = false;
    TModalResult ModalResult = mrNone;

protected:
    void Click() override {
        if (CanFocus()) {
            SetFocus();
        }
        if (TCustomForm* form = GetParentForm(this)) {
            form->SetModalResult(ModalResult);
        }
        TCustomControl::Click();
    }
    void Dispatch(TMessage& message) override {
        if (message.Msg == CM_DIALOGKEY) {
            const auto key = static_cast<int>(message.WParam);
            if (((key == VK_RETURN && Default) || (key == VK_ESCAPE && Cancel)) &&
                KeyDataToShiftState(message.LParam).Empty() && CanFocus()) {
                Click();
                message.Result = 1;
                return;
            }
        }
        if (message.Msg == CM_DIALOGCHAR && Enabled() &&
            IsAccel(static_cast<char32_t>(message.WParam), Caption())) {
            Click();
            message.Result = 1;
            return;
        }
        TCustomControl::Dispatch(message);
    }

private:
    TEventLog& m_log;
};
