#include "tests/support/ControlFixture.h"
#include "toolkit/controls/HintWindow.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Panel.h"

#include <gtest/gtest.h>

namespace {

class HintTest : public TControlFixture {
protected:
    void SetUp() override {
        form = NewForm({100, 100, 500, 400});
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 200, 100);
        panel->SetShowHint(true);
        label = new TLabel(form);
        label->SetParent(panel);
        label->SetBounds(10, 10, 60, 20);
        label->SetHint("Copies the list");
        ShowForm(form);
    }
    bool HintShown() {
        THintWindow* hint = Application->HintWindow();
        return hint && ::IsWindowVisible(hint->Handle());
    }
    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TLabel* label = nullptr;
};

TEST_F(HintTest, AHintShowsAfterThePointerRestsAndGoesAfterAWhile) {
    // The label takes ShowHint from its panel.
    EXPECT_TRUE(label->ShowHint());
    MoveOver(label, 5, 5);
    Advance(400);
    EXPECT_FALSE(HintShown());
    Advance(200);
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(Application->HintWindow()->Caption(), "Copies the list");
    RECT r;
    ::GetWindowRect(Application->HintWindow()->Handle(), &r);
    const TPoint pointer = At(label, 5, 5);
    EXPECT_EQ(r.Left, pointer.X);
    EXPECT_EQ(r.Top, pointer.Y + 20);
    // It never took the activation.
    EXPECT_TRUE(form->Active());
    Advance(2500);
    EXPECT_FALSE(HintShown());
}

TEST_F(HintTest, LeavingOrClickingHidesTheHint) {
    MoveOver(label, 5, 5);
    Advance(600);
    ASSERT_TRUE(HintShown());
    MoveOver(panel, 150, 80);
    EXPECT_FALSE(HintShown());
    MoveOver(label, 6, 6);
    Advance(600);
    ASSERT_TRUE(HintShown());
    ClickOn(label, 6, 6);
    EXPECT_FALSE(HintShown());
}

TEST_F(HintTest, NoHintWithoutShowHintOrText) {
    panel->SetShowHint(false);
    MoveOver(label, 5, 5);
    Advance(1000);
    EXPECT_FALSE(HintShown());
    label->SetShowHint(true);
    label->SetHint("");
    MoveOver(panel, 150, 80);
    MoveOver(label, 5, 5);
    Advance(1000);
    EXPECT_FALSE(HintShown());
}

} // namespace
