#include "tests/controls/TestControls.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/controls/Panel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class FocusTest : public TControlFixture {
protected:
    TFocusable* Focusable(TWinControl* parent, const char* name, int tabOrder) {
        auto* c = new TFocusable(Application, log);
        c->SetName(name);
        c->SetParent(parent);
        c->SetBounds(10, 10 + 30 * tabOrder, 50, 20);
        c->SetTabOrder(tabOrder);
        return c;
    }
    TPanel* Group(TWinControl* parent, const char* name, int tabOrder) {
        auto* p = new TPanel(Application);
        p->SetName(name);
        p->SetParent(parent);
        p->SetBounds(100, 10, 150, 150);
        p->SetTabOrder(tabOrder);
        p->OnEnter = [this, name](TObject*) { log.push_back(std::string(name) + ".enter"); };
        p->OnExit = [this, name](TObject*) { log.push_back(std::string(name) + ".exit"); };
        return p;
    }
    std::string Focused(TCustomForm* form) {
        return form->ActiveControl() ? form->ActiveControl()->Name() : std::string("none");
    }
    void ShiftTab() {
        KeyDown(VK_SHIFT);
        PressKey(VK_TAB);
        KeyUp(VK_SHIFT);
    }
    TEventLog log;
};

TEST_F(FocusTest, TabMovesThroughTabStopsInTabOrderDepthFirstAndWraps) {
    TForm* form = NewForm();
    TFocusable* c = Focusable(form, "C", 0);
    TPanel* group = Group(form, "Group", 0); // before C now
    TFocusable* b = Focusable(group, "B", 0);
    TFocusable* a = Focusable(group, "A", 0); // before B now
    TFocusable* d = Focusable(form, "D", 5);  // clamped to the last place
    TFocusable* hidden = Focusable(form, "Hidden", 1);
    TFocusable* disabled = Focusable(form, "Disabled", 1);
    TFocusable* noStop = Focusable(form, "NoStop", 1);
    hidden->SetVisible(false);
    disabled->SetEnabled(false);
    noStop->SetTabStop(false);
    EXPECT_EQ(group->TabOrder(), 0);
    EXPECT_EQ(a->TabOrder(), 0);
    EXPECT_EQ(b->TabOrder(), 1);
    EXPECT_EQ(d->TabOrder(), 5);
    static_cast<void>(c);

    // Shown, the form focuses its first tab stop.
    ShowForm(form);
    std::vector<std::string> order{Focused(form)};
    for (int i = 0; i < 4; ++i) {
        PressKey(VK_TAB);
        order.push_back(Focused(form));
    }
    EXPECT_THAT(order, ElementsAre("A", "B", "C", "D", "A"));
    ShiftTab();
    EXPECT_EQ(Focused(form), "D");
    EXPECT_EQ(Screen->ActiveControl(), d);
    EXPECT_EQ(Screen->ActiveForm(), form);
    EXPECT_TRUE(d->Focused());
}

TEST_F(FocusTest, EnterAndExitFollowTheFocusThroughContainers) {
    TForm* form = NewForm();
    TPanel* left = Group(form, "Left", 0);
    TPanel* right = Group(form, "Right", 1);
    right->SetLeft(260);
    TFocusable* a = Focusable(left, "A", 0);
    TFocusable* b = Focusable(left, "B", 1);
    TFocusable* c = Focusable(right, "C", 0);
    ShowForm(form);
    EXPECT_THAT(log, ElementsAre("Left.enter", "A.enter"));
    log.clear();

    b->SetFocus();
    EXPECT_THAT(log, ElementsAre("A.exit", "B.enter"));
    log.clear();
    c->SetFocus();
    EXPECT_THAT(log, ElementsAre("B.exit", "Left.exit", "Right.enter", "C.enter"));
    log.clear();
    static_cast<void>(a);

    // A handler that moves the focus elsewhere wins: the walk towards the first target stops.
    c->OnExit = [&](TObject*) {
        log.push_back("C.exit");
        b->SetFocus();
    };
    a->SetFocus();
    EXPECT_EQ(Focused(form), "B");
    EXPECT_TRUE(b->Focused());
}

TEST_F(FocusTest, HidingDisablingOrFreeingTheFocusedControlTakesTheFocusAway) {
    TForm* form = NewForm();
    TFocusable* a = Focusable(form, "A", 0);
    TFocusable* b = Focusable(form, "B", 1);
    ShowForm(form);
    ASSERT_EQ(Focused(form), "A");

    a->SetVisible(false);
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(::GetFocus(), form->Handle());
    EXPECT_FALSE(a->CanFocus());
    // The next Tab finds the remaining tab stop.
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(form), "B");

    b->SetEnabled(false);
    EXPECT_EQ(form->ActiveControl(), nullptr);
    b->SetEnabled(true);
    b->SetFocus();
    delete b;
    EXPECT_EQ(form->ActiveControl(), nullptr);
    // The form's own window has the focus now.
    EXPECT_EQ(Screen->ActiveControl(), form);
    EXPECT_EQ(::GetFocus(), form->Handle());
}

TEST_F(FocusTest, AnActiveControlSetBeforeShowingGetsTheFocusOnActivation) {
    TForm* form = NewForm();
    Focusable(form, "A", 0);
    TFocusable* b = Focusable(form, "B", 1);
    form->SetActiveControl(b);
    EXPECT_EQ(::GetFocus(), 0u);
    ShowForm(form);
    EXPECT_TRUE(b->Focused());
    EXPECT_TRUE(form->Active());

    // A control of another form, or one that cannot take the focus, is refused.
    TForm* other = NewForm({600, 100, 800, 300});
    TFocusable* foreign = Focusable(other, "Foreign", 0);
    form->SetActiveControl(foreign);
    EXPECT_EQ(form->ActiveControl(), b);
}

TEST_F(FocusTest, FocusFollowsActivationBetweenForms) {
    TForm* first = NewForm({0, 0, 300, 200});
    TFocusable* a = Focusable(first, "A", 0);
    TForm* second = NewForm({400, 0, 700, 200});
    TFocusable* b = Focusable(second, "B", 0);
    ShowForm(first);
    ShowForm(second);
    EXPECT_TRUE(b->Focused());
    EXPECT_TRUE(second->Active());
    EXPECT_FALSE(first->Active());
    ClickOn(first, 200, 150);
    EXPECT_TRUE(first->Active());
    // Coming back, the form gives the focus to the control that had it.
    EXPECT_TRUE(a->Focused());
    EXPECT_EQ(Screen->ActiveForm(), first);
}

} // namespace
