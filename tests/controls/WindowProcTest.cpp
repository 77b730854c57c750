#include "tests/support/ControlFixture.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Gdi.h"

#include <map>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::Contains;
using ::testing::ElementsAre;

namespace {

// What a skin does to a form: its own procedure in front of the window's, passing everything on
// first and then looking at the result.
WNDPROC g_savedProc = nullptr;
std::vector<UINT> g_seen;

LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = ::CallWindowProc(g_savedProc, hwnd, message, wParam, lParam);
    g_seen.push_back(message);
    if (message == WM_NCHITTEST && result == HTCLIENT) {
        return HTCAPTION;
    }
    return result;
}

class WindowProcTest : public TControlFixture {};

TEST_F(WindowProcTest, AReplacedWindowProcedureChainsToTheControl) {
    TForm* form = NewForm();
    std::vector<std::string> log;
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { log.push_back("key " + std::to_string(key)); };
    form->OnResize = [&](TObject*) { log.push_back("resize"); };
    ShowForm(form);
    g_seen.clear();
    g_savedProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    ASSERT_NE(g_savedProc, nullptr);

    PressKey('K');
    form->SetBounds(100, 100, 350, 250);
    EXPECT_THAT(log, ElementsAre("key 75", "resize"));
    EXPECT_THAT(g_seen, Contains(static_cast<UINT>(WM_KEYDOWN)));
    EXPECT_THAT(g_seen, Contains(static_cast<UINT>(WM_SIZE)));
    // The new procedure's answers count.
    EXPECT_EQ(::SendMessage(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(150, 150)), HTCAPTION);

    // Put back, the control answers alone again.
    ::SetWindowLongPtr(form->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_savedProc));
    g_seen.clear();
    PressKey('L');
    EXPECT_TRUE(g_seen.empty());
    EXPECT_EQ(log.back(), "key 76");
}

TEST_F(WindowProcTest, AParentPaintsItselfAndItsWindowlessChildrenIntoAGivenContext) {
    TForm* form = NewForm();
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 60);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(RGB(200, 0, 0));
    auto* label = new TLabel(form);
    label->SetParent(panel);
    label->SetAutoSize(false);
    label->SetBounds(20, 10, 10, 10);
    label->SetColor(RGB(0, 0, 200));
    ShowForm(form);

    // As a control painting its parent's background under itself: a bitmap the size of the
    // child at (15, 5), the parent's erase and paint sent with the bitmap's context moved there.
    TBitmap bitmap(20, 20);
    HDC dc = bitmap.Canvas()->Handle();
    const int saved = ::SaveDC(dc);
    ::OffsetViewportOrgEx(dc, -15, -5, nullptr);
    ::SendMessage(panel->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ::SendMessage(panel->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    ::RestoreDC(dc, saved);
    EXPECT_EQ(bitmap.Pixels().At(0, 0), ColorToPixel(RGB(200, 0, 0)));
    EXPECT_EQ(bitmap.Pixels().At(5, 5), ColorToPixel(RGB(0, 0, 200)));
    EXPECT_EQ(bitmap.Pixels().At(14, 14), ColorToPixel(RGB(0, 0, 200)));
    EXPECT_EQ(bitmap.Pixels().At(15, 15), ColorToPixel(RGB(200, 0, 0)));
}

TEST_F(WindowProcTest, AWindowOfAnotherWindowSystemIsNotTheControls) {
    TForm* form = NewForm();
    ShowForm(form);
    const HWND handle = form->Handle();
    {
        // Another window system may hand out the same numbers: the control does not take a
        // window of that one for its own.
        auto other =
            StartWindowSystem(std::make_unique<THeadlessBackend>(), std::make_unique<TManualClock>(0));
        EXPECT_FALSE(form->HandleAllocated());
        EXPECT_EQ(FindControl(handle), nullptr);
    }
    EXPECT_TRUE(form->HandleAllocated());
    EXPECT_EQ(form->Handle(), handle);

    // Taken out of its parent, a control loses its window; put back, it gets a new one.
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    EXPECT_TRUE(panel->HandleAllocated());
    panel->SetParent(nullptr);
    EXPECT_FALSE(panel->HandleAllocated());
    panel->SetParent(form);
    EXPECT_TRUE(panel->HandleAllocated());
}

class MDITest : public TControlFixture {
protected:
    static LRESULT ChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_MDIACTIVATE) {
            s_log.push_back(std::to_string(hwnd) + (static_cast<HWND>(lParam) == hwnd ? " on" : " off"));
        }
        return ::CallWindowProc(s_procs[hwnd], hwnd, message, wParam, lParam);
    }
    TForm* Child(const char* name, TRect bounds) {
        auto* child = new TForm(Application);
        child->SetName(name);
        child->SetFormStyle(fsMDIChild);
        child->SetBorderStyle(bsNone);
        child->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        const HWND h = child->Handle();
        s_procs[h] = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChildProc)));
        return child;
    }
    static inline std::vector<std::string> s_log;
    static inline std::map<HWND, WNDPROC> s_procs;
};

TEST_F(MDITest, ChildrenLiveInTheMainFormsClientAndAreActivatedThere) {
    s_log.clear();
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetFormStyle(fsMDIForm);
    main->SetBorderStyle(bsNone);
    main->SetBounds(0, 0, 600, 400);
    auto* toolbar = new TPanel(main);
    toolbar->SetParent(main);
    toolbar->SetAlign(alTop);
    toolbar->SetHeight(30);
    ShowForm(main);
    const HWND client = main->ClientHandle();
    ASSERT_NE(client, 0u);
    RECT r;
    ::GetClientRect(client, &r);
    EXPECT_EQ(r, Rect(0, 0, 600, 370));

    TForm* a = Child("A", Bounds(10, 10, 200, 150));
    TForm* b = Child("B", Bounds(100, 100, 200, 150));
    EXPECT_EQ(::GetParent(a->Handle()), client);
    ShowForm(a);
    ShowForm(b);
    EXPECT_EQ(main->MDIChildCount(), 2);
    EXPECT_EQ(main->ActiveMDIChild(), b);
    const std::string ha = std::to_string(a->Handle());
    const std::string hb = std::to_string(b->Handle());
    EXPECT_THAT(s_log, ElementsAre(ha + " on", ha + " off", hb + " on"));
    s_log.clear();

    ClickOn(a, 5, 5);
    EXPECT_EQ(main->ActiveMDIChild(), a);
    EXPECT_THAT(s_log, ElementsAre(hb + " off", ha + " on"));

    // Maximised, a child fills the client window.
    a->SetWindowState(wsMaximized);
    EXPECT_EQ(a->BoundsRect(), Rect(0, 0, 600, 370));
    // The skinned frame's private notices reach the client harmlessly.
    EXPECT_EQ(::SendMessage(client, WM_MDICLIENT_FIRST_PRIVATE + 1, a->Handle(), 0), 0);

    // When the active child goes, the other one takes over.
    s_log.clear();
    delete a;
    EXPECT_EQ(main->ActiveMDIChild(), b);
    EXPECT_EQ(main->MDIChildCount(), 1);
}

} // namespace
