#include "tests/controls/TestControls.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/controls/Clipboard.h"
#include "toolkit/controls/Timer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

class ApplicationTest : public TControlFixture {
protected:
    TEventLog log;
};

TEST_F(ApplicationTest, TheFirstFormCreatedIsTheMainForm) {
    TForm* first = nullptr;
    TForm* second = nullptr;
    Application->CreateForm(first);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), first);
    EXPECT_EQ(first->Owner(), Application);
    // The main form's window exists from its creation; forms stay hidden until shown.
    EXPECT_TRUE(first->HandleAllocated());
    EXPECT_FALSE(first->Visible());
    EXPECT_FALSE(second->Visible());
    delete first;
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST_F(ApplicationTest, RunShowsTheMainFormAndEndsWhenTerminated) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBorderStyle(bsNone);
    main->SetBounds(0, 0, 300, 200);
    TTestButton* exit = new TTestButton(main, log);
    exit->SetName("Exit");
    exit->SetParent(main);
    exit->OnClick = [&](TObject*) {
        log.push_back("exit");
        Application->Terminate();
    };
    bool shownWhenIdle = false;
    DoWhenIdle([&] { shownWhenIdle = main->Visible() && ::IsWindowVisible(main->Handle()); });
    ClickWhenIdle(exit, 5, 5);
    Application->Run();
    EXPECT_TRUE(shownWhenIdle);
    EXPECT_THAT(log, ElementsAre("exit"));
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(ApplicationTest, ClosingTheMainFormEndsTheRunAndAModalLoopInside) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBorderStyle(bsNone);
    main->SetBounds(0, 0, 300, 200);
    TForm* dialog = NewForm({50, 50, 250, 150});
    int dialogResult = -1;
    DoWhenIdle([&] {
        // Opened from the running program, like an About box from a menu.
        ::PostMessage(main->Handle(), WM_USER, 0, 0);
    });
    main->OnClick = nullptr;
    Application->OnMessage = [&](MSG& m, bool& handled) {
        if (m.message == WM_USER) {
            handled = true;
            dialogResult = dialog->ShowModal();
        }
    };
    DoWhenIdle([&] { main->Close(); });
    Application->Run();
    EXPECT_EQ(dialogResult, mrCancel);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(ApplicationTest, ProcessMessagesHandlesWhatIsReadyWithoutWaiting) {
    TForm* form = NewForm();
    ShowForm(form);
    int seen = 0;
    Application->OnMessage = [&](MSG& m, bool&) { seen += m.message == WM_APP ? 1 : 0; };
    ::PostMessage(form->Handle(), WM_APP, 0, 0);
    ::PostMessage(form->Handle(), WM_APP, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(seen, 2);
    Application->ProcessMessages();
    EXPECT_EQ(seen, 2);
}

TEST_F(ApplicationTest, MinimizeAndRestoreTakeAllTheFormsAlong) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBounds(0, 0, 300, 200);
    TForm* tool = NewForm({400, 0, 600, 200});
    ShowForm(main);
    ShowForm(tool);
    Application->OnMinimize = [&](TObject*) { log.push_back("minimize"); };
    Application->OnRestore = [&](TObject*) { log.push_back("restore"); };
    Application->Minimize();
    EXPECT_TRUE(::IsIconic(main->Handle()));
    EXPECT_FALSE(::IsWindowVisible(tool->Handle()));
    Application->Restore();
    EXPECT_FALSE(::IsIconic(main->Handle()));
    EXPECT_TRUE(::IsWindowVisible(tool->Handle()));
    EXPECT_THAT(log, ElementsAre("minimize", "restore"));
}

TEST_F(ApplicationTest, MinimisingTheMainWindowMinimisesTheProgramAndItComesBackWhole) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBounds(0, 0, 300, 200);
    TForm* tool = NewForm({400, 0, 600, 200});
    TForm* other = NewForm({400, 300, 600, 500});
    ShowForm(main);
    ShowForm(tool);
    ShowForm(other);
    Application->OnMinimize = [&](TObject*) { log.push_back("minimize"); };
    Application->OnRestore = [&](TObject*) { log.push_back("restore"); };

    // Another window minimises by itself.
    ::SendMessage(other->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(other->Handle()));
    EXPECT_TRUE(::IsWindowVisible(tool->Handle()));
    EXPECT_TRUE(log.empty());
    ::ShowWindow(other->Handle(), SW_RESTORE);

    // The main window takes the others along, as Application->Minimize does.
    ::SendMessage(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(::IsIconic(main->Handle()));
    EXPECT_FALSE(::IsWindowVisible(tool->Handle()));
    EXPECT_FALSE(::IsWindowVisible(other->Handle()));
    EXPECT_THAT(log, ElementsAre("minimize"));

    // Restored by the desktop (not through Application->Restore), it brings them back once.
    Backend().PlatformActivate(main->Handle());
    ::ShowWindow(main->Handle(), SW_RESTORE);
    Pump();
    EXPECT_FALSE(::IsIconic(main->Handle()));
    EXPECT_TRUE(::IsWindowVisible(tool->Handle()));
    EXPECT_TRUE(::IsWindowVisible(other->Handle()));
    EXPECT_THAT(log, ElementsAre("minimize", "restore"));
    Application->Restore();
    EXPECT_THAT(log, ElementsAre("minimize", "restore"));
}

TEST_F(ApplicationTest, TimersTickOnTheClockWhileEnabled) {
    TForm* form = NewForm();
    auto* timer = new TTimer(form);
    timer->SetInterval(100);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) { ++ticks; };
    Advance(350);
    EXPECT_EQ(ticks, 3);
    timer->SetEnabled(false);
    Advance(500);
    EXPECT_EQ(ticks, 3);
    timer->SetEnabled(true);
    timer->SetInterval(0);
    Advance(500);
    EXPECT_EQ(ticks, 3);
    // A handler may free its timer; no tick comes after.
    timer->SetInterval(50);
    timer->OnTimer = [&](TObject* sender) {
        ++ticks;
        delete static_cast<TTimer*>(sender);
    };
    Advance(500);
    EXPECT_EQ(ticks, 4);
}

TEST_F(ApplicationTest, TheClipboardCarriesTextExactly) {
    const std::string text = "line one\r\nline two";
    TClipboard* clipboard = Clipboard();
    clipboard->Open();
    EXPECT_TRUE(clipboard->SetAsText(text));
    clipboard->Close();
    EXPECT_FALSE(clipboard->IsOpen());
    EXPECT_EQ(Backend().Clipboard(), text);
    EXPECT_EQ(clipboard->AsText(), text);
    EXPECT_TRUE(clipboard->HasFormat(CF_TEXT));
}

} // namespace
