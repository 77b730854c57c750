#include "tests/controls/TestControls.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Panel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class KeyTest : public TControlFixture {
protected:
    void SetUp() override {
        form = NewForm();
        form->SetName("Form");
        edit = new TFocusable(Application, log);
        edit->SetName("Edit");
        edit->SetParent(form);
        ok = Button("Ok", "&OK");
        ok->Default = true;
        ok->ModalResult = mrOk;
        cancel = Button("Cancel", "Cancel");
        cancel->Cancel = true;
        cancel->ModalResult = mrCancel;
        ShowForm(form);
        ASSERT_TRUE(edit->Focused());
        log.clear();
    }
    TTestButton* Button(const char* name, const char* caption) {
        auto* b = new TTestButton(Application, log);
        b->SetName(name);
        b->SetCaption(caption);
        b->SetParent(form);
        b->SetTop(100);
        return b;
    }
    // The log without the key events of the focused control.
    std::vector<std::string> Actions() const {
        std::vector<std::string> out;
        for (const std::string& e : log) {
            if (e.find(".key") == std::string::npos) {
                out.push_back(e);
            }
        }
        return out;
    }
    void AltKey(int vk) {
        KeyDown(VK_MENU);
        PressKey(vk);
        KeyUp(VK_MENU);
    }

    TEventLog log;
    TForm* form = nullptr;
    TFocusable* edit = nullptr;
    TTestButton* ok = nullptr;
    TTestButton* cancel = nullptr;
};

TEST_F(KeyTest, EnterReachesTheDefaultButtonAndEscapeTheCancelButton) {
    PressKey(VK_RETURN);
    EXPECT_THAT(log, ElementsAre("Edit.exit", "Ok.click"));
    EXPECT_EQ(form->ModalResult(), mrOk);
    log.clear();
    PressKey(VK_ESCAPE);
    EXPECT_THAT(log, ElementsAre("Cancel.click"));
    EXPECT_EQ(form->ModalResult(), mrCancel);
}

TEST_F(KeyTest, AControlThatWantsAllKeysKeepsEnterAndEscape) {
    edit->DialogCode = DLGC_WANTALLKEYS;
    PressKey(VK_RETURN);
    PressKey(VK_ESCAPE);
    EXPECT_THAT(
        log, ElementsAre("Edit.keydown(13)", "Edit.keypress(\r)", "Edit.keydown(27)", "Edit.keypress(\x1B)"));
    EXPECT_EQ(form->ModalResult(), mrNone);
}

TEST_F(KeyTest, DialogKeysWithModifiersAreNotButtonClicks) {
    KeyDown(VK_CONTROL);
    PressKey(VK_RETURN);
    KeyUp(VK_CONTROL);
    EXPECT_THAT(log, ElementsAre("Edit.keydown(17)", "Edit.keydown(13)", "Edit.keypress(\n)"));
}

TEST_F(KeyTest, AnAccessKeyClicksItsButtonWithAltOrAsAPlainCharacter) {
    AltKey('O');
    EXPECT_THAT(Actions(), ElementsAre("Edit.exit", "Ok.click"));
    log.clear();
    // The focus is on the button now, which wants no characters: a plain "o" works too.
    PressKey('O', "o");
    EXPECT_THAT(log, ElementsAre("Ok.click"));
    log.clear();
    // A control that wants characters gets them instead.
    edit->DialogCode = DLGC_WANTCHARS;
    edit->SetFocus();
    log.clear();
    PressKey('O', "o");
    EXPECT_THAT(log, ElementsAre("Edit.keydown(79)", "Edit.keypress(o)"));
    // A disabled button does not answer its access key.
    log.clear();
    ok->SetEnabled(false);
    AltKey('O');
    EXPECT_THAT(Actions(), IsEmpty());
}

TEST_F(KeyTest, ALabelsAccessKeyFocusesItsFocusControl) {
    auto* other = new TFocusable(Application, log);
    other->SetName("Other");
    other->SetParent(form);
    auto* label = new TLabel(Application);
    label->SetParent(form);
    label->SetCaption("&Name");
    label->SetFocusControl(other);
    AltKey('N');
    EXPECT_THAT(Actions(), ElementsAre("Edit.exit", "Other.enter"));
    EXPECT_TRUE(other->Focused());
    // Without ShowAccelChar the "&" is plain text and marks nothing.
    label->SetShowAccelChar(false);
    edit->SetFocus();
    log.clear();
    AltKey('N');
    EXPECT_TRUE(edit->Focused());
}

TEST_F(KeyTest, KeyPreviewGivesTheFormTheKeysFirst) {
    form->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
        log.push_back("Form.keydown(" + std::to_string(key) + ")");
        if (key == 'X') {
            key = 0; // eaten
        }
    };
    form->OnKeyPress = [this](TObject*, char32_t& key) {
        log.push_back("Form.keypress(" + std::string(1, static_cast<char>(key)) + ")");
    };
    PressKey('A', "a");
    EXPECT_THAT(log, ElementsAre("Edit.keydown(65)", "Edit.keypress(a)"));
    log.clear();
    form->SetKeyPreview(true);
    PressKey('A', "a");
    EXPECT_THAT(log,
                ElementsAre("Form.keydown(65)", "Edit.keydown(65)", "Form.keypress(a)", "Edit.keypress(a)"));
    log.clear();
    PressKey('X');
    EXPECT_THAT(log, ElementsAre("Form.keydown(88)"));
}

TEST_F(KeyTest, AnApplicationHookMayMarkAKeyHandled) {
    std::vector<std::string> seen;
    const int first = Application->HookMessages([&](MSG& m) {
        if (m.message == WM_KEYDOWN) {
            seen.push_back("hook1(" + std::to_string(m.wParam) + ")");
            return m.wParam == 'B';
        }
        return false;
    });
    Application->HookMessages([&](MSG& m) {
        if (m.message == WM_KEYDOWN) {
            seen.push_back("hook2(" + std::to_string(m.wParam) + ")");
        }
        return false;
    });
    Application->OnMessage = [&](MSG& m, bool& handled) {
        if (m.message == WM_KEYDOWN) {
            seen.push_back("OnMessage(" + std::to_string(m.wParam) + ")");
            handled = m.wParam == 'C';
        }
    };
    PressKey('A');
    PressKey('B');
    PressKey('C');
    EXPECT_THAT(seen, ElementsAre("hook1(65)", "hook2(65)", "OnMessage(65)", "hook1(66)", "hook1(67)",
                                  "hook2(67)", "OnMessage(67)"));
    // Only the key no hook took reached the control.
    EXPECT_THAT(log, ElementsAre("Edit.keydown(65)"));

    // Hooks also see the keys that dialog-key handling would take, before it does.
    Application->UnhookMessages(first);
    seen.clear();
    log.clear();
    Application->OnMessage = [&](MSG& m, bool& handled) {
        handled = m.message == WM_KEYDOWN && m.wParam == VK_RETURN;
    };
    PressKey(VK_RETURN);
    EXPECT_THAT(log, IsEmpty());
    EXPECT_EQ(form->ModalResult(), mrNone);
}

TEST_F(KeyTest, AShortCutHandlerSeesKeysBeforeTheControls) {
    form->OnShortCut = [this](TMessage& m, bool& handled) {
        log.push_back("Form.shortcut(" + std::to_string(m.WParam) + ")");
        handled = m.WParam == VK_F2;
    };
    PressKey(VK_F2);
    PressKey(VK_F3);
    EXPECT_THAT(log, ElementsAre("Form.shortcut(113)", "Form.shortcut(114)", "Edit.keydown(114)"));
}

} // namespace

TEST_F(KeyTest, AccessKeysReachOnlyControlsThatShowAndAreEnabled) {
    // A button inside a panel: hiding or disabling the panel takes the button's access key too.
    auto* panel = new TPanel(Application);
    panel->SetParent(form);
    panel->SetBounds(0, 150, 200, 60);
    auto* inner = Button("Inner", "&Yes");
    inner->SetParent(panel);
    auto* hidden = Button("Hidden", "&Zoom");
    hidden->Hide();
    AltKey('Z');
    EXPECT_THAT(Actions(), IsEmpty());

    panel->Hide();
    AltKey('Y');
    EXPECT_THAT(Actions(), IsEmpty());
    panel->Show();
    panel->SetEnabled(false);
    AltKey('Y');
    EXPECT_THAT(Actions(), IsEmpty());
    panel->SetEnabled(true);
    AltKey('Y');
    EXPECT_THAT(Actions(), ElementsAre("Edit.exit", "Inner.click"));
}
