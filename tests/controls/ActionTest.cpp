#include "tests/support/ControlFixture.h"
#include "toolkit/controls/ActionList.h"
#include "toolkit/controls/Panel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class ActionTest : public TControlFixture {
protected:
    void SetUp() override {
        form = NewForm();
        list = new TActionList(form);
        action = new TAction(form);
        action->SetActionList(list);
        action->SetCaption("Copy");
        action->SetHint("Copies the list");
        action->OnExecute = [this](TObject* sender) {
            auto* a = static_cast<TBasicAction*>(sender);
            log.push_back("execute from " + (a->ActionComponent() ? a->ActionComponent()->Name() : "nobody"));
        };
        panel = new TPanel(form);
        panel->SetName("Panel");
        panel->SetParent(form);
        panel->SetBounds(10, 10, 100, 40);
        panel->SetAction(action);
    }
    TForm* form = nullptr;
    TActionList* list = nullptr;
    TAction* action = nullptr;
    TPanel* panel = nullptr;
    std::vector<std::string> log;
};

TEST_F(ActionTest, ALinkedControlShowsTheActionsStateAndFollowsItsChanges) {
    EXPECT_EQ(panel->Caption(), "Copy");
    EXPECT_EQ(panel->Hint(), "Copies the list");
    EXPECT_EQ(list->ActionCount(), 1);
    action->SetCaption("Copy all");
    action->SetEnabled(false);
    action->SetVisible(false);
    EXPECT_EQ(panel->Caption(), "Copy all");
    EXPECT_FALSE(panel->Enabled());
    EXPECT_FALSE(panel->Visible());
    // A value the control changed itself is its own from then on.
    panel->SetCaption("Mine");
    action->SetCaption("Copy again");
    EXPECT_EQ(panel->Caption(), "Mine");
}

TEST_F(ActionTest, AClickRunsTheActionUnlessOnClickIsAssigned) {
    ShowForm(form);
    ClickOn(panel, 5, 5);
    EXPECT_THAT(log, ElementsAre("execute from Panel"));
    EXPECT_EQ(action->ActionComponent(), nullptr);
    panel->OnClick = [&](TObject*) { log.push_back("own click"); };
    ClickOn(panel, 30, 5);
    EXPECT_THAT(log, ElementsAre("execute from Panel", "own click"));
}

TEST_F(ActionTest, TheUpdateHandlerRunsWhenTheProgramIsIdle) {
    action->OnUpdate = [&](TObject*) {
        log.push_back("update");
        action->SetEnabled(false);
    };
    ShowForm(form);
    DoWhenIdle([&] { ::PostMessage(form->Handle(), WM_NULL, 0, 0); });
    Application->HandleMessage();
    EXPECT_THAT(log, ElementsAre("update"));
    EXPECT_FALSE(panel->Enabled());
}

TEST_F(ActionTest, AFreedActionLeavesItsControlsAndItsList) {
    delete action;
    EXPECT_EQ(panel->Action(), nullptr);
    EXPECT_EQ(list->ActionCount(), 0);
    EXPECT_FALSE(panel->ControlStyle().Contains(csActionClient));
}

} // namespace
