#include "tests/support/ControlFixture.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Panel.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

// Records the mouse events of any control as "<name>.<event>".
class TMouseLog {
public:
    void Watch(TControl* control) {
        const std::string name = control->Name();
        control->OnMouseDown = [this, name](TObject*, TMouseButton b, TShiftState shift, int x, int y) {
            Add(name + ".down" + Button(b) + (shift.Contains(ssDouble) ? "+double" : "") + Pos(x, y));
        };
        control->OnMouseUp = [this, name](TObject*, TMouseButton b, TShiftState, int x, int y) {
            Add(name + ".up" + Button(b) + Pos(x, y));
        };
        control->OnClick = [this, name](TObject*) { Add(name + ".click"); };
        control->OnDblClick = [this, name](TObject*) { Add(name + ".dblclick"); };
    }
    void Add(std::string entry) { m_entries.push_back(std::move(entry)); }
    std::vector<std::string> Take() { return std::exchange(m_entries, {}); }

private:
    static std::string Button(TMouseButton b) {
        return b == mbLeft ? "" : b == mbRight ? "(right)" : "(middle)";
    }
    static std::string Pos(int x, int y) { return "@" + std::to_string(x) + "," + std::to_string(y); }
    std::vector<std::string> m_entries;
};

// A windowless control that records the enter and leave messages it receives.
class TProbe : public TGraphicControl {
public:
    explicit TProbe(TComponent* owner, std::vector<std::string>& log) : TGraphicControl(owner), m_log(log) {}

protected:
    void CMMouseEnter(TMessage& m) override {
        TGraphicControl::CMMouseEnter(m);
        m_log.push_back(Name() + ".enter");
    }
    void CMMouseLeave(TMessage& m) override {
        TGraphicControl::CMMouseLeave(m);
        m_log.push_back(Name() + ".leave");
    }

private:
    std::vector<std::string>& m_log;
};

class TWindowProbe : public TCustomControl {
public:
    explicit TWindowProbe(TComponent* owner, std::vector<std::string>& log)
        : TCustomControl(owner), m_log(log) {
        SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    }

protected:
    void CMMouseEnter(TMessage& m) override {
        TCustomControl::CMMouseEnter(m);
        m_log.push_back(Name() + ".enter");
    }
    void CMMouseLeave(TMessage& m) override {
        TCustomControl::CMMouseLeave(m);
        m_log.push_back(Name() + ".leave");
    }

private:
    std::vector<std::string>& m_log;
};

class MouseTest : public TControlFixture {};

TEST_F(MouseTest, ClickOnAWindowedControlRaisesDownClickUpInThatOrder) {
    TForm* form = NewForm();
    auto* panel = new TPanel(form);
    panel->SetName("Panel");
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 50);
    ShowForm(form);
    TMouseLog log;
    log.Watch(panel);

    ClickOn(panel, 5, 6);
    EXPECT_THAT(log.Take(), ElementsAre("Panel.down@5,6", "Panel.click", "Panel.up@5,6"));

    Click(At(panel, 7, 8), TMouseButton::Right);
    EXPECT_THAT(log.Take(), ElementsAre("Panel.down(right)@7,8", "Panel.up(right)@7,8"));
}

TEST_F(MouseTest, ClickOnAWindowlessControlIsRoutedToItByItsParent) {
    TForm* form = NewForm();
    form->SetName("Form");
    auto* label = new TLabel(form);
    label->SetName("Label");
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(20, 30, 60, 20);
    ShowForm(form);
    TMouseLog log;
    log.Watch(form);
    log.Watch(label);

    ClickOn(label, 3, 4);
    EXPECT_THAT(log.Take(), ElementsAre("Label.down@3,4", "Label.click", "Label.up@3,4"));

    // Next to the label the form itself gets the click.
    ClickOn(form, 5, 5);
    EXPECT_THAT(log.Take(), ElementsAre("Form.down@5,5", "Form.click", "Form.up@5,5"));
}

TEST_F(MouseTest, ReleasingOutsideFiresNoClickButStillMouseUp) {
    TForm* form = NewForm();
    auto* label = new TLabel(form);
    label->SetName("Label");
    label->SetParent(form);
    label->SetAutoSize(false);
    label->SetBounds(20, 30, 60, 20);
    ShowForm(form);
    TMouseLog log;
    log.Watch(label);

    PressOn(label, 5, 5);
    // The label captured the mouse through its parent: the release far away still reaches it.
    MoveOver(label, 200, 100);
    ReleaseOn(label, 200, 100);
    EXPECT_THAT(log.Take(), ElementsAre("Label.down@5,5", "Label.up@200,100"));
}

TEST_F(MouseTest, DoubleClickRaisesDblClickAndASecondDownWithDouble) {
    TForm* form = NewForm();
    auto* panel = new TPanel(form);
    panel->SetName("Panel");
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 50);
    ShowForm(form);
    TMouseLog log;
    log.Watch(panel);

    ClickOn(panel, 5, 5);
    Advance(100);
    ClickOn(panel, 5, 5);
    EXPECT_THAT(log.Take(), ElementsAre("Panel.down@5,5", "Panel.click", "Panel.up@5,5", "Panel.dblclick",
                                        "Panel.down+double@5,5", "Panel.up@5,5"));

    // Without csDoubleClicks a quick second press is a second click.
    panel->SetControlStyle(panel->ControlStyle() - TControlStyle{csDoubleClicks});
    Advance(1000);
    ClickOn(panel, 5, 5);
    Advance(100);
    ClickOn(panel, 5, 5);
    EXPECT_THAT(log.Take(), ElementsAre("Panel.down@5,5", "Panel.click", "Panel.up@5,5", "Panel.down@5,5",
                                        "Panel.click", "Panel.up@5,5"));
}

TEST_F(MouseTest, AClickHandlerMayFreeItsControl) {
    TForm* form = NewForm();
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 50);
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(10, 100, 60, 20);
    ShowForm(form);
    bool upAfterFree = false;
    panel->OnClick = [&](TObject* sender) { delete static_cast<TPanel*>(sender); };
    panel->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { upAfterFree = true; };
    label->OnClick = [&](TObject* sender) { delete static_cast<TLabel*>(sender); };

    ClickOn(form, 20, 20);
    ClickOn(form, 15, 105);
    EXPECT_FALSE(upAfterFree);
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(MouseTest, EnterAndLeaveFollowThePointerAcrossControls) {
    std::vector<std::string> log;
    TForm* form = NewForm();
    auto* outer = new TWindowProbe(form, log);
    outer->SetName("Outer");
    outer->SetParent(form);
    outer->SetBounds(10, 10, 200, 100);
    auto* inner = new TProbe(form, log);
    inner->SetName("Inner");
    inner->SetParent(outer);
    inner->SetBounds(50, 20, 40, 30);
    ShowForm(form);
    MoveOver(form, 250, 250);
    log.clear();

    MoveOver(outer, 5, 5);
    MoveOver(outer, 60, 30);  // onto the windowless child
    MoveOver(outer, 61, 31);  // within it: nothing new
    MoveOver(outer, 150, 80); // back on the container
    MoveOver(form, 250, 250); // off both
    EXPECT_THAT(log, ElementsAre("Outer.enter", "Outer.leave", "Inner.enter", "Inner.leave", "Outer.enter",
                                 "Outer.leave"));

    log.clear();
    MoveOver(outer, 60, 30);
    Backend().PointerLeft();
    MoveTo({1200, 1000});
    EXPECT_THAT(log, ElementsAre("Inner.enter", "Inner.leave"));
    EXPECT_EQ(MouseControl(), nullptr);
}

TEST_F(MouseTest, AHiddenOrDisabledWindowlessControlLetsThePointerThrough) {
    std::vector<std::string> log;
    TForm* form = NewForm();
    form->SetName("Form");
    auto* probe = new TProbe(form, log);
    probe->SetName("Probe");
    probe->SetParent(form);
    probe->SetBounds(20, 20, 40, 40);
    TMouseLog clicks;
    clicks.Watch(form);
    clicks.Watch(probe);
    ShowForm(form);

    probe->SetEnabled(false);
    ClickOn(form, 30, 30);
    EXPECT_THAT(clicks.Take(), ElementsAre("Form.down@30,30", "Form.click", "Form.up@30,30"));
    probe->SetEnabled(true);
    probe->SetVisible(false);
    Advance(1000);
    ClickOn(form, 30, 30);
    EXPECT_THAT(clicks.Take(), ElementsAre("Form.down@30,30", "Form.click", "Form.up@30,30"));
    EXPECT_TRUE(log.empty());
}

TEST_F(MouseTest, TheCursorOfTheControlUnderThePointerIsShown) {
    TForm* form = NewForm();
    auto* label = new TLabel(form);
    label->SetParent(form);
    label->SetBounds(20, 20, 40, 20);
    label->SetCursor(crHandPoint);
    form->SetCursor(crIBeam);
    ShowForm(form);

    MoveOver(form, 25, 25);
    EXPECT_EQ(Backend().Cursor(), TCursorShape::Hand);
    MoveOver(form, 100, 100);
    EXPECT_EQ(Backend().Cursor(), TCursorShape::IBeam);
    // The screen's cursor wins over every control's while it is set.
    Screen->SetCursor(crHourGlass);
    MoveOver(form, 25, 25);
    EXPECT_EQ(Backend().Cursor(), TCursorShape::Wait);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(Backend().Cursor(), TCursorShape::Hand);
}

} // namespace

TEST_F(MouseTest, WhileAControlHoldsTheCaptureNoOtherControlIsEntered) {
    std::vector<std::string> log;
    TForm* form = NewForm();
    auto* left = new TWindowProbe(form, log);
    left->SetName("Left");
    left->SetParent(form);
    left->SetBounds(10, 10, 100, 50);
    auto* right = new TWindowProbe(form, log);
    right->SetName("Right");
    right->SetParent(form);
    right->SetBounds(150, 10, 100, 50);
    auto* label = new TProbe(form, log);
    label->SetName("Label");
    label->SetParent(form);
    label->SetBounds(10, 100, 60, 20);
    ShowForm(form);
    MoveOver(left, 5, 5);
    log.clear();

    PressOn(left, 5, 5);
    MoveOver(right, 5, 5);  // the pressed control is left
    MoveOver(label, 5, 5);  // nothing else lights up
    MoveOver(left, 50, 20); // back on the pressed control
    MoveOver(right, 5, 5);
    EXPECT_THAT(log, ElementsAre("Left.leave", "Left.enter", "Left.leave"));

    // The release ends the capture: the control under the pointer is entered at once.
    log.clear();
    ReleaseOn(right, 5, 5);
    EXPECT_THAT(log, ElementsAre("Right.enter"));
    EXPECT_EQ(MouseControl(), right);
}
