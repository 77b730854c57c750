#include "skin/core/SUIMgr.h"
#include "skin/menus/SUIMenu.h"
#include "tests/skin/frame/FrameFixture.h"
#include "toolkit/components/LayoutReader.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/menus/MenuTracker.h"
#include "toolkit/windowing/WindowSubclass.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace {

// A skinned control as far as looks go: it publishes FileTheme and UIStyle.
class TSkinProbe : public TCustomControl {
    VARNEL_CLASS(TSkinProbe, TCustomControl)

public:
    explicit TSkinProbe(TComponent* owner) : TCustomControl(owner) {}
    TsuiFileTheme* FileTheme() const { return m_fileTheme; }
    void SetFileTheme(TsuiFileTheme* theme) { m_fileTheme = theme; }
    TsuiUIStyle UIStyle() const { return m_style; }
    void SetUIStyle(TsuiUIStyle style) { m_style = style; }
    void Notification(TComponent* component, TOperation operation) override {
        TCustomControl::Notification(component, operation);
        if (operation == opRemove && component == m_fileTheme) {
            m_fileTheme = nullptr;
        }
    }

private:
    TsuiFileTheme* m_fileTheme = nullptr;
    TsuiUIStyle m_style = DeepBlue;
};

} // namespace

VARNEL_CLASS_INFO(TSkinProbe, [](auto& c) {
    c.Component("FileTheme", &TSkinProbe::FileTheme, &TSkinProbe::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &TSkinProbe::UIStyle, &TSkinProbe::SetUIStyle);
})

namespace {

class SkinnedForm : public TFrameFixture {
protected:
    TSkinProbe* Probe(TWinControl* parent, TsuiUIStyle style) {
        auto* probe = new TSkinProbe(host);
        probe->SetParent(parent);
        probe->SetUIStyle(style);
        return probe;
    }
    int HitTest(HWND hwnd, TPoint screen) {
        return static_cast<int>(::SendMessage(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.X, screen.Y)));
    }
    // What the window system finds at a point of the host's client area.
    int HitAt(int x, int y) {
        int hit = 0;
        System().WindowFromPoint(host->ClientToScreen({x, y}), &hit);
        return hit;
    }

    TsuiForm* skin = nullptr;
};

TEST_F(SkinnedForm, TheHostTakesThePanelsSizePlusTheBorderAsTheArithmeticSays) {
    skin = MakeSkinnedHost(MacOS);
    EXPECT_EQ(host->Width(), 482);
    EXPECT_EQ(host->Height(), 481) << "one and a half border widths: 480 + 1 + 0";
    EXPECT_EQ(skin->BoundsRect(), Bounds(1, 0, 480, 480));
    EXPECT_EQ(host->BorderStyle(), bsNone);

    // From a 1-pixel to a 3-pixel border the width is taken again first; the panel, placed in
    // the new border before the height is taken again, has lost two rows by then.
    skin->SetUIStyle(WinXP);
    EXPECT_EQ(host->Width(), 486);
    EXPECT_EQ(host->Height(), 482);
    EXPECT_EQ(skin->BoundsRect(), Bounds(3, 0, 480, 479));
    skin->SetHeight(480);
    EXPECT_EQ(host->Height(), 484) << "480 + 3 + 1";
    EXPECT_EQ(skin->BoundsRect(), Bounds(3, 0, 480, 481));
    // And from 3 pixels back to 1: the host loses four columns, and the panel, placed in the
    // thinner border before the height is taken again, takes the rows it gives back.
    skin->SetUIStyle(MacOS);
    EXPECT_EQ(host->Width(), 482);
    EXPECT_EQ(host->Height(), 484);
    EXPECT_EQ(skin->BoundsRect(), Bounds(1, 0, 480, 483));

    // The same look again still runs the whole style application.
    skin->SetBorderColor(0x0000FF);
    skin->SetUIStyle(MacOS);
    EXPECT_EQ(skin->BorderColor(), 0x7F7F7F);
    EXPECT_EQ(skin->Color(), 0xE7E7E7);
    EXPECT_EQ(skin->MenuBarColor(), 0xE7E7E7);
    EXPECT_EQ(skin->Version(), "4.30");
}

TEST_F(SkinnedForm, TheBorderIsDrawnInTheLooksColourAndWidthAroundThePanel) {
    skin = MakeSkinnedHost(MacOS);
    ShowForm(host);
    const std::uint32_t grey = ColorToPixel(0x7F7F7F);
    EXPECT_EQ(PixelOf(host, 0, 200), grey);
    EXPECT_EQ(PixelOf(host, 481, 200), grey);
    EXPECT_EQ(PixelOf(host, 240, 480), grey);
    EXPECT_NE(PixelOf(host, 1, 200), grey);

    skin->SetUIStyle(WinXP);
    Pump();
    const std::uint32_t blue = ColorToPixel(0xC82C00);
    const int w = host->Width();
    const int h = host->Height();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(PixelOf(host, i, 200), blue) << i;
        EXPECT_EQ(PixelOf(host, w - 1 - i, 200), blue) << i;
        EXPECT_EQ(PixelOf(host, 240, h - 1 - i), blue) << i;
    }
    EXPECT_NE(PixelOf(host, 3, 200), blue);
    // Without a title bar the border runs along the top too.
    skin->SetTitleBarVisible(false);
    Pump();
    EXPECT_EQ(skin->Top(), 3);
    EXPECT_EQ(PixelOf(host, 240, 0), blue);
}

TEST_F(SkinnedForm, MacOSAndProteinTileTheirPatternOtherLooksFillWithTheirColour) {
    for (TsuiUIStyle look : {MacOS, Protein}) {
        SCOPED_TRACE(kUIStyleNames[look]);
        skin = MakeSkinnedHost(look);
        ShowForm(host);
        TBitmap pattern;
        ASSERT_TRUE(pattern.LoadFromResourceName(look == MacOS ? "MACOS_FORM_BACKGROUND"
                                                               : "PROTEIN_FORM_BACKGROUND"));
        bool varies = false;
        for (int y = 200; y < 216; ++y) {
            for (int x = 100; x < 116; ++x) {
                ASSERT_EQ(PixelAt(skin, x, y), pattern.Pixels().At(x % 8, y % 8)) << x << ", " << y;
                varies = varies || pattern.Pixels().At(x % 8, y % 8) != pattern.Pixels().At(0, 0);
            }
        }
        EXPECT_TRUE(varies) << "a pattern, not a plain fill";
        delete host;
    }
    skin = MakeSkinnedHost(DeepBlue);
    ShowForm(host);
    EXPECT_EQ(PixelAt(skin, 100, 200), ColorToPixel(0xE8E8E8));
    EXPECT_EQ(PixelAt(skin, 101, 201), ColorToPixel(0xE8E8E8));
}

TEST_F(SkinnedForm, ASizeableHostGetsResizeZonesAtItsEdgesAndASingleOrMaximisedOneNone) {
    skin = MakeSkinnedHost(WinXP, bsSizeable, true);
    ShowForm(host);
    const int w = host->ClientWidth();
    const int h = host->ClientHeight();
    const HWND hwnd = host->Handle();
    auto at = [&](int x, int y) { return HitTest(hwnd, host->ClientToScreen({x, y})); };
    EXPECT_EQ(at(2, 2), HTTOPLEFT);
    EXPECT_EQ(at(w - 2, 2), HTTOPRIGHT);
    EXPECT_EQ(at(w - 2, h - 2), HTBOTTOMRIGHT);
    EXPECT_EQ(at(2, h - 2), HTBOTTOMLEFT);
    EXPECT_EQ(at(2, 200), HTLEFT);
    EXPECT_EQ(at(200, 2), HTTOP);
    EXPECT_EQ(at(w - 2, 200), HTRIGHT);
    EXPECT_EQ(at(200, h - 2), HTBOTTOM);
    EXPECT_EQ(at(5, 200), HTCLIENT);
    // Where the border shows, the window system finds the edges.
    EXPECT_EQ(HitAt(1, 200), HTLEFT);
    EXPECT_EQ(HitAt(200, h - 1), HTBOTTOM);
    EXPECT_EQ(HitAt(200, 200), HTCLIENT) << "the panel covers the rest";

    host->SetWindowState(wsMaximized);
    EXPECT_EQ(at(2, 200), HTCLIENT);
    delete host;

    skin = MakeSkinnedHost(WinXP, bsSingle);
    ShowForm(host);
    EXPECT_EQ(HitTest(host->Handle(), host->ClientToScreen({1, 200})), HTCLIENT);
    EXPECT_EQ(HitAt(1, 200), HTCLIENT);
}

TEST_F(SkinnedForm, MaximisingGoesStraightToTheWorkAreaAndRestoringComesBack) {
    skin = MakeSkinnedHost(MacOS, bsSingle, true);
    ShowForm(host);
    const TRect designed = host->BoundsRect();
    std::vector<TRect> sizes;
    host->OnResize = [&](TObject*) { sizes.push_back(host->BoundsRect()); };
    host->SetWindowState(wsMaximized);
    TRect area;
    GetWorkAreaRect(area);
    EXPECT_EQ(host->BoundsRect(), area);
    EXPECT_EQ(skin->BoundsRect(), Bounds(1, 0, area.Width() - 2, area.Height() - 1));
    const TRect screen{0, 0, THeadlessBackend::kScreenWidth, THeadlessBackend::kScreenHeight};
    for (const TRect& r : sizes) {
        EXPECT_NE(r, screen) << "the window covered the whole screen on its way";
    }
    EXPECT_EQ(Backend().Native(host->Handle())->Bounds, area);
    host->SetWindowState(wsNormal);
    EXPECT_EQ(host->BoundsRect(), designed);

    // A host designed without a frame is not fitted: it covers the screen.
    delete host;
    skin = MakeSkinnedHost(MacOS, bsNone, true);
    ShowForm(host);
    host->SetWindowState(wsMaximized);
    EXPECT_EQ(host->BoundsRect(), screen);
}

TEST_F(SkinnedForm, AHostMadeMaximisedComesBackToWhereItWasMadeWhenRestored) {
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsSingle);
    form->SetBounds(120, 80, 400, 300);
    form->SetWindowState(wsMaximized);
    skin = new TsuiForm(form);
    skin->SetUIStyle(MacOS);
    skin->SetWidth(480);
    skin->SetHeight(480);
    host = form;
    ShowForm(host);
    TRect area;
    GetWorkAreaRect(area);
    EXPECT_EQ(host->WindowState(), wsMaximized);
    EXPECT_EQ(host->BoundsRect(), area);
    host->SetWindowState(wsNormal);
    Pump();
    EXPECT_EQ(host->BoundsRect(), Bounds(120, 80, 400, 300));
}

TEST_F(SkinnedForm, AltSpaceOpensTheSystemMenuBelowTheMainFormsCorner) {
    skin = MakeSkinnedHost(MacOS, bsSingle, true, {150, 120});
    ShowForm(host);
    TPoint opened{-1, -1};
    DoWhenIdle([&] {
        if (!OpenMenuWindows().empty()) {
            RECT r;
            ::GetWindowRect(OpenMenuWindows().front(), &r);
            opened = r.TopLeft();
        }
        EndMenu();
    });
    KeyDown(VK_MENU);
    PressKey(VK_SPACE);
    KeyUp(VK_MENU);
    EXPECT_EQ(opened, (TPoint{150, 120 + skin->TitleBar()->Height()}));
    EXPECT_FALSE(IsMenuActive());

    // Its items act: Close closes the window, which ends the program for the main window.
    DoWhenIdle([&] {
        Backend().KeyDown('C');
        Backend().Text("c");
        Backend().KeyUp('C');
    });
    KeyDown(VK_MENU);
    PressKey(VK_SPACE);
    KeyUp(VK_MENU);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(SkinnedForm, WithoutAMainFormAltSpaceUsesTheHooksOwnWindow) {
    skin = MakeSkinnedHost(DeepBlue, bsSingle, false, {200, 150});
    ASSERT_EQ(Application->MainForm(), nullptr);
    ShowForm(host);
    TPoint opened{-1, -1};
    DoWhenIdle([&] {
        RECT r;
        ::GetWindowRect(OpenMenuWindows().front(), &r);
        opened = r.TopLeft();
        EndMenu();
    });
    KeyDown(VK_MENU);
    PressKey(VK_SPACE);
    KeyUp(VK_MENU);
    EXPECT_EQ(opened, (TPoint{200, 150 + skin->TitleBar()->Height()}));
}

TEST_F(SkinnedForm, AltSpaceDoesNothingWhileAModalWindowDisablesTheMainOne) {
    skin = MakeSkinnedHost(MacOS, bsSingle, true);
    ShowForm(host);
    auto* modal = NewForm({300, 300, 500, 400}, bsSingle);
    bool menuOpened = false;
    DoWhenIdle([&] {
        Backend().KeyDown(VK_MENU);
        Backend().KeyDown(VK_SPACE);
        Backend().KeyUp(VK_SPACE);
        Backend().KeyUp(VK_MENU);
    });
    DoWhenIdle([&] {
        menuOpened = IsMenuActive();
        EndMenu();
        modal->SetModalResult(mrOk);
    });
    EXPECT_EQ(modal->ShowModal(), mrOk);
    EXPECT_FALSE(menuOpened);
    EXPECT_TRUE(host->Visible());
}

TEST_F(SkinnedForm, MenuShortCutsWorkOnlyWhileTheHostIsActive) {
    skin = MakeSkinnedHost(MacOS, bsSingle, true);
    auto* menu = new TsuiMainMenu(host);
    auto* edit = new TMenuItem(host);
    edit->SetCaption("&Edit");
    auto* copy = new TMenuItem(host);
    copy->SetCaption("&Copy");
    copy->SetShortCut(ShortCut('C', scCtrl));
    int copies = 0;
    copy->OnClick = [&](TObject*) { ++copies; };
    edit->Add(copy);
    menu->Items()->Add(edit);
    ASSERT_EQ(skin->Menu(), menu);
    ShowForm(host);
    EXPECT_EQ(host->Menu(), nullptr) << "no native menu bar";
    auto ctrlC = [&] {
        KeyDown(VK_CONTROL);
        PressKey('C');
        KeyUp(VK_CONTROL);
    };
    ctrlC();
    EXPECT_EQ(copies, 1);
    auto* other = NewForm({700, 100, 900, 300}, bsSingle);
    ShowForm(other);
    ASSERT_TRUE(other->Active());
    ctrlC();
    EXPECT_EQ(copies, 1);
    ::SetActiveWindow(host->Handle());
    Pump();
    ctrlC();
    EXPECT_EQ(copies, 2);
}

TEST_F(SkinnedForm, TheLookReachesTheDirectChildrenOnlyWhenAskedAndAFreedThemeTakesAllToDeepBlue) {
    skin = MakeSkinnedHost(MacOS);
    TSkinProbe* child = Probe(skin, MacOS);
    auto* plain = new TPanel(host);
    plain->SetParent(skin);
    TSkinProbe* grandchild = Probe(plain, MacOS);
    skin->SetUIStyle(WinXP);
    EXPECT_EQ(child->UIStyle(), MacOS);
    skin->SetUIStyleAutoUpdateSub(true);
    skin->SetUIStyle(Protein);
    EXPECT_EQ(child->UIStyle(), Protein);
    EXPECT_EQ(grandchild->UIStyle(), MacOS);
    EXPECT_EQ(skin->TitleBar()->UIStyle(), Protein);

    skin->SetUIStyleAutoUpdateSub(false);
    auto* theme = new TsuiFileTheme(host);
    skin->SetFileTheme(theme);
    child->SetFileTheme(theme);
    child->SetUIStyle(BlueGlass);
    delete theme;
    EXPECT_EQ(skin->FileTheme(), nullptr);
    EXPECT_EQ(skin->UIStyle(), DeepBlue);
    EXPECT_EQ(skin->TitleBar()->FileTheme(), nullptr);
    EXPECT_EQ(child->UIStyle(), DeepBlue) << "whatever UIStyleAutoUpdateSub says";
    EXPECT_EQ(child->FileTheme(), nullptr);
    EXPECT_EQ(grandchild->UIStyle(), MacOS);
}

TEST_F(SkinnedForm, ASecondSkinnedFormIsRefusedBeforeItTouchesTheWindow) {
    skin = MakeSkinnedHost(MacOS, bsSingle);
    host->SetBorderStyle(bsSizeable);
    host->SetAutoScroll(true);
    const TRect bounds = host->BoundsRect();
    TStatus status = TStatus::Ok();
    EXPECT_EQ(NewComponent<TsuiForm>(host, &status), nullptr);
    EXPECT_EQ(status.Message(), "Sorry, You can create only one TsuiForm component in one form!");
    EXPECT_EQ(host->BoundsRect(), bounds);
    EXPECT_EQ(host->BorderStyle(), bsSizeable);
    EXPECT_TRUE(host->AutoScroll());
    EXPECT_EQ(host->ControlCount(), 1);
    EXPECT_EQ(TsuiForm::OfForm(host), skin);

    // In a layout, the load fails naming the file and line, and leaves no component behind.
    TForm form(nullptr);
    TLayoutError error;
    const TStatus loaded = ReadLayoutText(&form,
                                          "object Form9: TForm\n"
                                          "  object suiForm1: TsuiForm\n"
                                          "    UIStyle = MacOS\n"
                                          "  end\n"
                                          "  object suiForm2: TsuiForm\n"
                                          "  end\n"
                                          "end\n",
                                          "Unit9.lfm", &error);
    EXPECT_EQ(loaded.Message(),
              "Unit9.lfm, line 5: Sorry, You can create only one TsuiForm component in one form!");
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(form.ControlCount(), 0);
}

TEST_F(SkinnedForm, FreeingTheSkinnedFormFirstLeavesAWorkingWindowAndMenu) {
    skin = MakeSkinnedHost(WinXP, bsSizeable, true);
    auto* menu = new TsuiMainMenu(host);
    auto* file = new TMenuItem(host);
    file->SetCaption("&File");
    menu->Items()->Add(file);
    ShowForm(host);
    ASSERT_EQ(menu->MenuBarHost(), static_cast<TsuiMenuBarHost*>(skin));
    delete skin;
    EXPECT_EQ(menu->MenuBarHost(), nullptr);
    EXPECT_EQ(Application->OnMessage, nullptr) << "the hook goes with its owner";
    EXPECT_NE(reinterpret_cast<WNDPROC>(::GetWindowLongPtr(host->Handle(), GWLP_WNDPROC)),
              &SubclassTrampoline);
    // The window lives on: it sizes, paints, takes keys and the hit test is its own again.
    host->SetBounds(50, 50, 300, 200);
    Pump();
    EXPECT_EQ(HitTest(host->Handle(), host->ClientToScreen({1, 100})), HTCLIENT);
    KeyDown(VK_MENU);
    PressKey(VK_SPACE);
    KeyUp(VK_MENU);
    EXPECT_FALSE(IsMenuActive());
    // The menu lives on too.
    auto* help = new TMenuItem(host);
    help->SetCaption("&Help");
    menu->Items()->Add(help);
    file->SetCaption("&Datei");
    menu->SetUseSystemFont(false);
    delete menu;
    host->RecreateWnd();
    Pump();
}

TEST_F(SkinnedForm, ARecreatedHostWindowIsSkinnedAgain) {
    skin = MakeSkinnedHost(WinXP, bsSizeable, true);
    ShowForm(host);
    const HWND first = host->Handle();
    host->RecreateWnd();
    Pump();
    const HWND second = host->Handle();
    ASSERT_NE(first, second);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtr(second, GWLP_WNDPROC)), &SubclassTrampoline);
    EXPECT_EQ(::GetWindowLongPtr(second, GWL_STYLE) & WS_CAPTION, 0);
    EXPECT_EQ(HitTest(second, host->ClientToScreen({1, 200})), HTLEFT);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(::GetWindowRgn(second, region), 0);
    EXPECT_FALSE(::PtInRegion(region, 0, 0));
    ::DeleteObject(region);
}

TEST_F(SkinnedForm, TheCaptionGoesBothWaysBetweenTheHostAndTheTitleBar) {
    skin = MakeSkinnedHost(MacOS);
    EXPECT_EQ(skin->Caption(), "Varnel V1.0");
    skin->SetCaption("About");
    EXPECT_EQ(host->Caption(), "About");
    EXPECT_EQ(skin->TitleBar()->Caption(), "About");
    ShowForm(host);
    host->SetCaption("Changed on the window");
    EXPECT_EQ(skin->TitleBar()->Caption(), "Changed on the window");
    EXPECT_EQ(skin->Caption(), "Changed on the window");
}

TEST_F(SkinnedForm, AFormPanelFillsTheClientAreaButNeverTheSkinnedFormItself) {
    skin = MakeSkinnedHost(MacOS);
    skin->SetFormPanel(skin);
    EXPECT_EQ(skin->FormPanel(), nullptr);
    EXPECT_THAT(boxes, ElementsAre("Sorry, you can't select the Form assign to FormPanel property"));
    auto* panel = new TPanel(host);
    panel->SetParent(skin);
    panel->SetCaption("Panel1");
    skin->SetFormPanel(panel);
    EXPECT_EQ(panel->Align(), alClient);
    EXPECT_EQ(panel->BevelOuter(), bvNone);
    EXPECT_EQ(panel->Caption(), "");
    delete panel;
    EXPECT_EQ(skin->FormPanel(), nullptr);
}

// Records the private notices a skinned MDI child sends to its frame's client window.
class MDIClientLog {
public:
    explicit MDIClientLog(HWND client)
        : m_subclass([this](UINT message, WPARAM wParam, LPARAM, LRESULT previous) {
              if (message >= WM_SKIN_MDI_ACTIVATE && message <= WM_SKIN_MDI_RESTORED) {
                  log.push_back(message - WM_SKIN_MDI_ACTIVATE + (wParam ? 10u : 0u));
              }
              return previous;
          }) {
        m_subclass.Install(client);
    }
    bool Installed() const { return m_subclass.Installed(); }
    std::vector<UINT> log; // 0 activate, 1 maximised (11 with a window), 2 restored

private:
    TWindowSubclass m_subclass;
};

TEST_F(SkinnedForm, EachMDIChildShiftsOnlyItsOwnControlsAndOnlyThoseItShifted) {
    TForm* frame = nullptr;
    Application->CreateForm(frame);
    frame->SetFormStyle(fsMDIForm);
    frame->SetBorderStyle(bsNone);
    frame->SetBounds(0, 0, 800, 600);
    ShowForm(frame);
    MDIClientLog notices(frame->ClientHandle());
    ASSERT_TRUE(notices.Installed());
    struct TChild {
        TForm* Form;
        TsuiForm* Skin;
        TPanel* Control;
    };
    auto makeChild = [&](int x) {
        auto* form = new TForm(Application);
        form->SetFormStyle(fsMDIChild);
        form->SetBorderStyle(bsSizeable);
        form->SetBounds(x, 10, 300, 250);
        auto* skin = new TsuiForm(form);
        skin->SetUIStyle(MacOS);
        auto* control = new TPanel(form);
        control->SetParent(skin);
        control->SetBounds(10, 50, 100, 30);
        ShowForm(form);
        return TChild{form, skin, control};
    };
    TChild a = makeChild(10);
    TChild b = makeChild(400);
    EXPECT_EQ(a.Skin->RoundCorner(), 0) << "MDI children have square corners";
    EXPECT_EQ(a.Skin->MenuBar(), nullptr);
    // The child activated last draws its caption as active, the other one as inactive.
    EXPECT_TRUE(b.Skin->TitleBar()->FormActive());
    EXPECT_FALSE(a.Skin->TitleBar()->FormActive());
    EXPECT_THAT(notices.log, ::testing::Contains(0u));
    const int barHeight = a.Skin->TitleBar()->Height();
    notices.log.clear();

    a.Form->SetWindowState(wsMaximized);
    Pump();
    EXPECT_FALSE(a.Skin->TitleBarVisible());
    EXPECT_EQ(a.Control->Top(), 50 - barHeight);
    EXPECT_EQ(b.Control->Top(), 50) << "the other child's controls stay";
    EXPECT_THAT(notices.log, ::testing::Contains(11u));
    // A control added while shifted was never shifted up: it does not come down.
    auto* late = new TPanel(a.Form);
    late->SetParent(a.Skin);
    late->SetBounds(10, 100, 50, 20);
    notices.log.clear();
    a.Form->SetWindowState(wsNormal);
    Pump();
    EXPECT_TRUE(a.Skin->TitleBarVisible());
    EXPECT_EQ(a.Skin->TitleBar()->Top(), 0);
    EXPECT_EQ(a.Control->Top(), 50);
    EXPECT_EQ(late->Top(), 100);
    EXPECT_EQ(b.Control->Top(), 50);
    EXPECT_THAT(notices.log, ::testing::Contains(2u));

    // Restoring b, which never was maximised, moves nothing.
    b.Form->SetWindowState(wsNormal);
    EXPECT_EQ(b.Control->Top(), 50);
}

} // namespace
