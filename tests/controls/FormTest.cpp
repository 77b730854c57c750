#include "tests/controls/TestControls.h"
#include "tests/support/ControlFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class FormTest : public TControlFixture {
protected:
    TTestButton* Button(TCustomForm* form, const char* name, TModalResult result) {
        auto* b = new TTestButton(form, log);
        b->SetName(name);
        b->SetParent(form);
        b->SetBounds(10, 10, 75, 25);
        b->ModalResult = result;
        return b;
    }
    TEventLog log;
};

TEST_F(FormTest, ShowModalReturnsTheModalResultAControlSet) {
    TForm* owner = NewForm({0, 0, 300, 200});
    ShowForm(owner);
    TForm* dialog = NewForm({400, 300, 700, 500});
    TTestButton* ok = Button(dialog, "Ok", mrOk);
    dialog->OnShow = [&](TObject*) { log.push_back("show"); };
    dialog->OnHide = [&](TObject*) { log.push_back("hide"); };
    dialog->OnClose = [&](TObject*, TCloseAction& action) {
        log.push_back("close(" + std::to_string(action) + ")");
    };
    ClickWhenIdle(ok, 5, 5);
    bool ownerDisabledMeanwhile = false;
    ok->OnClick = [&](TObject*) {
        log.push_back("Ok.click");
        ownerDisabledMeanwhile = !::IsWindowEnabled(owner->Handle());
    };

    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_THAT(log, ElementsAre("show", "Ok.click", "close(1)", "hide"));
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(::IsWindowEnabled(owner->Handle()));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_FALSE(dialog->FormState().Contains(fsModal));
    // The activation goes back to the window that had it.
    EXPECT_TRUE(owner->Active());
}

TEST_F(FormTest, ModalFormsNest) {
    TForm* outer = NewForm({100, 100, 400, 300});
    TTestButton* openInner = Button(outer, "Open", mrNone);
    TForm* inner = NewForm({200, 200, 400, 300});
    TTestButton* yes = Button(inner, "Yes", mrYes);
    int innerResult = -1;
    openInner->OnClick = [&](TObject*) {
        innerResult = inner->ShowModal();
        // Only the inner answer ends the inner loop: the outer is still running.
        EXPECT_TRUE(outer->FormState().Contains(fsModal));
        outer->SetModalResult(mrRetry);
    };
    ClickWhenIdle(openInner, 5, 5);
    ClickWhenIdle(yes, 5, 5);
    EXPECT_EQ(outer->ShowModal(), mrRetry);
    EXPECT_EQ(innerResult, mrYes);
}

TEST_F(FormTest, ClosingAModalFormOtherwiseGivesCancel) {
    TForm* dialog = NewForm({100, 100, 400, 300}, bsDialog);
    DoWhenIdle([&] { dialog->Close(); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);

    // Through the window system's close command, as the title bar's close box sends it.
    DoWhenIdle([&] { ::PostMessage(dialog->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);

    // An OnClose that refuses keeps the loop going until a later answer.
    int asked = 0;
    dialog->OnClose = [&](TObject*, TCloseAction& action) {
        if (++asked == 1) {
            action = caNone;
        }
    };
    TTestButton* ok = Button(dialog, "Ok", mrOk);
    ClickWhenIdle(ok, 5, 5);
    ClickWhenIdle(ok, 30, 15); // apart from the first, so not a double click
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(asked, 2);
}

TEST_F(FormTest, HidingAModalFormEndsItsLoopAsCancelled) {
    TForm* dialog = NewForm();
    DoWhenIdle([&] { dialog->Hide(); });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(FormTest, FreeingAModalFormWhileShownEndsTheLoop) {
    TForm* dialog = NewForm();
    DoWhenIdle([&] { delete dialog; });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST_F(FormTest, AVisibleFormCannotBeShownModally) {
    std::vector<std::string> boxes;
    auto previous =
        SetMessageBoxService([&](TMessageBoxKind, const std::string& text) { boxes.push_back(text); });
    TForm* form = NewForm();
    ShowForm(form);
    EXPECT_EQ(form->ShowModal(), mrNone);
    EXPECT_THAT(boxes, ElementsAre("Cannot make a visible window modal"));
    SetMessageBoxService(std::move(previous));
}

TEST_F(FormTest, CloseDoesWhatOnCloseAsks) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    TForm* form = NewForm({300, 0, 500, 200});
    TCloseAction next = caHide;
    form->OnClose = [&](TObject*, TCloseAction& action) {
        EXPECT_EQ(action, caHide);
        action = next;
    };

    ShowForm(form);
    next = caNone;
    form->Close();
    EXPECT_TRUE(form->Visible());

    next = caHide;
    form->Close();
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(::IsWindowVisible(form->Handle()));

    ShowForm(form);
    next = caMinimize;
    form->Close();
    EXPECT_EQ(form->WindowState(), wsMinimized);
    EXPECT_TRUE(::IsIconic(form->Handle()));

    form->SetWindowState(wsNormal);
    next = caFree;
    auto alive = form->AliveToken();
    form->Close();
    // Freed once the message being handled is done, not inside Close.
    EXPECT_FALSE(alive.expired());
    Pump();
    EXPECT_TRUE(alive.expired());

    // Closing the main form ends the application, whatever the action.
    EXPECT_FALSE(Application->Terminated());
    Application->MainForm()->Close();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(FormTest, OnCloseQueryMayRefuseToClose) {
    TForm* form = NewForm();
    ShowForm(form);
    bool allow = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    form->Close();
    EXPECT_TRUE(form->Visible());
    allow = true;
    form->Close();
    EXPECT_FALSE(form->Visible());
}

struct TPositionCase {
    const char* name;
    TPosition position;
    TRect expected; // left, top, right, bottom
};

void PrintTo(const TPositionCase& c, std::ostream* os) {
    *os << c.name;
}

class FormPositionTest : public FormTest, public ::testing::WithParamInterface<TPositionCase> {};

TEST_P(FormPositionTest, EachPositionPlacesTheFormWhenShown) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBorderStyle(bsNone);
    main->SetBounds(100, 100, 600, 400);
    ShowForm(main);
    auto* owner = new TForm(Application);
    owner->SetBorderStyle(bsNone);
    owner->SetBounds(700, 500, 500, 300);
    auto* form = new TForm(owner);
    form->SetBorderStyle(bsNone);
    form->SetBounds(30, 40, 400, 300);
    form->SetPosition(GetParam().position);
    ShowForm(form);
    EXPECT_EQ(form->BoundsRect(), GetParam().expected);
    RECT r;
    ::GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r, GetParam().expected);
}

// The headless screen is 1280 x 1024; its work area 1280 x 984 at (0, 0).
INSTANTIATE_TEST_SUITE_P(
    Positions, FormPositionTest,
    ::testing::Values(TPositionCase{"Designed", poDesigned, Bounds(30, 40, 400, 300)},
                      TPositionCase{"ScreenCenter", poScreenCenter, Bounds(440, 362, 400, 300)},
                      TPositionCase{"DesktopCenter", poDesktopCenter, Bounds(440, 362, 400, 300)},
                      TPositionCase{"MainFormCenter", poMainFormCenter, Bounds(200, 150, 400, 300)},
                      TPositionCase{"OwnerFormCenter", poOwnerFormCenter, Bounds(750, 500, 400, 300)},
                      TPositionCase{"DefaultPosOnly", poDefaultPosOnly, Bounds(40, 40, 400, 300)},
                      TPositionCase{"DefaultSizeOnly", poDefaultSizeOnly, Bounds(30, 40, 640, 480)},
                      TPositionCase{"Default", poDefault, Bounds(40, 40, 640, 480)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormTest, CentringHappensAtEveryShowingAndKeepsTheCornerOnTheWorkArea) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBorderStyle(bsNone);
    main->SetBounds(100, 100, 600, 400);
    ShowForm(main);
    auto* about = new TForm(main);
    about->SetBorderStyle(bsNone);
    about->SetBounds(0, 0, 200, 100);
    about->SetPosition(poOwnerFormCenter);
    ShowForm(about);
    EXPECT_EQ(about->BoundsRect(), Bounds(300, 250, 200, 100));
    about->Hide();
    main->SetBounds(0, 0, 300, 200);
    ShowForm(about);
    EXPECT_EQ(about->BoundsRect(), Bounds(50, 50, 200, 100));

    // A form larger than the screen starts at the work area's corner, not above it.
    TForm* huge = NewForm({0, 0, 1400, 1100});
    huge->SetPosition(poScreenCenter);
    ShowForm(huge);
    EXPECT_EQ(huge->BoundsRect().TopLeft(), Point(0, 0));
}

TEST_F(FormTest, WindowStateFollowsTheWindow) {
    TForm* form = NewForm({100, 100, 500, 400}, bsSizeable);
    form->SetWindowState(wsMaximized);
    ShowForm(form);
    EXPECT_TRUE(::IsZoomed(form->Handle()));
    // A window with a caption is maximised over the work area.
    EXPECT_EQ(form->BoundsRect(), Rect(0, 0, 1280, 984));
    form->SetWindowState(wsNormal);
    EXPECT_EQ(form->BoundsRect(), Bounds(100, 100, 400, 300));
    ::ShowWindow(form->Handle(), SW_MINIMIZE);
    EXPECT_EQ(form->WindowState(), wsMinimized);
}

TEST_F(FormTest, TheFrameAnswersHitTestsAndItsCloseBoxCloses) {
    TForm* form = NewForm({100, 100, 500, 400}, bsSizeable);
    form->SetCaption("Frame");
    ShowForm(form);
    auto hit = [&](int x, int y) {
        return ::SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(100 + x, 100 + y));
    };
    const int border = ::GetSystemMetrics(SM_CXFRAME);
    const int caption = ::GetSystemMetrics(SM_CYCAPTION);
    EXPECT_EQ(hit(1, 200), HTLEFT);
    EXPECT_EQ(hit(399, 200), HTRIGHT);
    EXPECT_EQ(hit(200, 299), HTBOTTOM);
    EXPECT_EQ(hit(1, 1), HTTOPLEFT);
    EXPECT_EQ(hit(398, 298), HTBOTTOMRIGHT);
    EXPECT_EQ(hit(100, border + 3), HTCAPTION);
    EXPECT_EQ(hit(100, border + caption + 5), HTCLIENT);
    EXPECT_EQ(hit(400 - border - 6, border + caption / 2), HTCLOSE);
    EXPECT_EQ(form->ClientOrigin(), Point(100 + border, 100 + border + caption));

    // A fixed frame has no sizing edges.
    form->SetBorderStyle(bsSingle);
    EXPECT_EQ(hit(1, 200), HTBORDER);

    Click({100 + 400 - border - 6, 100 + border + caption / 2});
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormTest, AStyleChangedFromOutsideTakesEffectOnTheFrame) {
    TForm* form = NewForm({100, 100, 500, 400}, bsSingle);
    ShowForm(form);
    ASSERT_NE(form->ClientWidth(), form->Width());
    // As a skin does: the caption bits (border included) go; the window is all client area.
    const LONG_PTR style = ::GetWindowLongPtr(form->Handle(), GWL_STYLE);
    ::SetWindowLongPtr(form->Handle(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION));
    EXPECT_EQ(form->ClientRect(), Rect(0, 0, 400, 300));
    EXPECT_EQ(form->ClientOrigin(), Point(100, 100));
    form->SetBorderStyle(bsNone);
    EXPECT_EQ(form->ClientRect(), Rect(0, 0, 400, 300));
}

TEST_F(FormTest, ActiveAndDeactivateFollowTheWindow) {
    TForm* first = NewForm({0, 0, 300, 200});
    TForm* second = NewForm({400, 0, 700, 200});
    first->SetName("First");
    second->SetName("Second");
    for (TForm* f : {first, second}) {
        f->OnActivate = [&, f](TObject*) { log.push_back(f->Name() + ".activate"); };
        f->OnDeactivate = [&, f](TObject*) { log.push_back(f->Name() + ".deactivate"); };
    }
    ShowForm(first);
    ShowForm(second);
    ClickOn(first, 10, 10);
    EXPECT_THAT(log, ElementsAre("First.activate", "First.deactivate", "Second.activate", "Second.deactivate",
                                 "First.activate"));
    EXPECT_TRUE(first->Active());
    EXPECT_FALSE(second->Active());
    EXPECT_TRUE(Application->Active());
}

} // namespace
