#include "skin/core/SUILookOverride.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "skin/core/SUIThemes.h"
#include "tests/support/ControlFixture.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/GraphicControl.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string>* g_styleLog = nullptr;

// A skinned control as far as looks go: it publishes FileTheme and UIStyle and logs each
// assignment. OnStyle runs after a new UIStyle is stored.
class TSkinProbe : public TCustomControl {
    VARNEL_CLASS(TSkinProbe, TCustomControl)

public:
    explicit TSkinProbe(TComponent* owner) : TCustomControl(owner) {}
    TsuiFileTheme* FileTheme() const { return m_fileTheme; }
    void SetFileTheme(TsuiFileTheme* theme) {
        m_fileTheme = theme;
        Log("FileTheme(" + (theme ? theme->Name() : std::string("none")) + ")");
    }
    TsuiUIStyle UIStyle() const { return m_style; }
    void SetUIStyle(TsuiUIStyle style) {
        m_style = style;
        Log("UIStyle(" + std::to_string(style) + ")");
        UIStyleChanged();
    }
    std::function<void()> OnStyle;

protected:
    virtual void UIStyleChanged() {
        if (OnStyle) {
            OnStyle();
        }
    }
    void Log(const std::string& what) {
        if (g_styleLog) {
            g_styleLog->push_back(Name() + "." + what);
        }
    }

    TsuiFileTheme* m_fileTheme = nullptr;
    TsuiUIStyle m_style = DeepBlue;
};

// A skinned group box: it passes a new look on to its own children.
class TSkinGroup : public TSkinProbe {
    VARNEL_CLASS(TSkinGroup, TSkinProbe)

public:
    explicit TSkinGroup(TComponent* owner) : TSkinProbe(owner) {
        TControlStyle style = ControlStyle();
        style.Include(csAcceptsControls);
        SetControlStyle(style);
    }

protected:
    void UIStyleChanged() override { ApplyStyleToChildren(this, m_style, m_fileTheme); }
};

// Publishes UIStyle only: not skinned as far as the helpers are concerned.
class TStyleOnly : public TCustomControl {
    VARNEL_CLASS(TStyleOnly, TCustomControl)

public:
    explicit TStyleOnly(TComponent* owner) : TCustomControl(owner) {}
    TsuiUIStyle UIStyle() const { return m_style; }
    void SetUIStyle(TsuiUIStyle style) { m_style = style; }

private:
    TsuiUIStyle m_style = DeepBlue;
};

// The skinned form panel as the helpers see it: a control of the class named TsuiForm that
// publishes UIStyle.
class TsuiForm : public TSkinProbe {
    VARNEL_CLASS(TsuiForm, TSkinProbe)

public:
    explicit TsuiForm(TComponent* owner) : TSkinProbe(owner) {}
};

class TDerivedSkinnedForm : public TsuiForm {
    VARNEL_CLASS(TDerivedSkinnedForm, TsuiForm)

public:
    using TsuiForm::TsuiForm;
};

} // namespace

VARNEL_CLASS_INFO(TSkinProbe, [](auto& c) {
    c.Component("FileTheme", &TSkinProbe::FileTheme, &TSkinProbe::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &TSkinProbe::UIStyle, &TSkinProbe::SetUIStyle);
})
VARNEL_CLASS_INFO(TSkinGroup)
VARNEL_CLASS_INFO(TStyleOnly, [](auto& c) {
    c.Enum("UIStyle", UIStyleInfo, &TStyleOnly::UIStyle, &TStyleOnly::SetUIStyle);
})
VARNEL_CLASS_INFO(TsuiForm)
VARNEL_CLASS_INFO(TDerivedSkinnedForm)

namespace {

class ControlHelpers : public TControlFixture {
protected:
    ControlHelpers() { g_styleLog = &log; }
    ~ControlHelpers() override { g_styleLog = nullptr; }

    template <typename T>
    T* Place(TWinControl* parent, const char* name, TRect bounds = Bounds(0, 0, 20, 20)) {
        auto* control = new T(Application);
        control->SetName(name);
        control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        control->SetParent(parent);
        return control;
    }

    std::vector<std::string> log;
};

// ---- Looks of owners and children ---------------------------------------------------------------------

TEST_F(ControlHelpers, ANewComponentTakesTheLookOfTheFirstSkinnedFormPanelAmongItsFormsChildren) {
    TForm* form = NewForm();
    EXPECT_EQ(GetOwnerUIStyle(nullptr), DeepBlue);
    EXPECT_EQ(GetOwnerUIStyle(form), DeepBlue); // no panel yet

    // Made in one order, placed in another: the order of the children counts.
    auto* later = new TsuiForm(form);
    later->SetName("Later");
    later->SetUIStyle(MacOS);
    auto* first = new TDerivedSkinnedForm(form);
    first->SetName("First");
    first->SetUIStyle(Protein);
    Place<TPanel>(form, "Plain");
    first->SetParent(form);
    later->SetParent(form);
    EXPECT_EQ(GetOwnerUIStyle(form), Protein);
    first->SetUIStyle(FromThemeFile); // read as it is now
    EXPECT_EQ(GetOwnerUIStyle(form), FromThemeFile);

    // A panel that is no direct child of the form, or not placed at all, does not count.
    first->SetParent(nullptr);
    EXPECT_EQ(GetOwnerUIStyle(form), MacOS);
    TPanel* holder = Place<TPanel>(form, "Holder");
    later->SetParent(holder);
    EXPECT_EQ(GetOwnerUIStyle(form), DeepBlue);

    // Only a form is walked: not a control that holds the panel, not a plain component.
    EXPECT_EQ(GetOwnerUIStyle(holder), DeepBlue);
    TComponent plain(nullptr);
    EXPECT_EQ(GetOwnerUIStyle(&plain), DeepBlue);
    EXPECT_EQ(SkinnedFormUIStyle(later), MacOS);
    EXPECT_EQ(SkinnedFormUIStyle(holder), std::nullopt);
}

TEST_F(ControlHelpers, FormsAreKnownByTheirClass) {
    TForm* form = NewForm();
    EXPECT_TRUE(IsFormComponent(form));
    EXPECT_FALSE(IsFormComponent(Place<TPanel>(form, "Panel")));
    EXPECT_FALSE(IsFormComponent(Place<TsuiForm>(form, "Skin")));
    EXPECT_FALSE(IsFormComponent(nullptr));
}

TEST_F(ControlHelpers, AGroupBoxPassesALookToItsSkinnedChildrenOnly) {
    TForm* form = NewForm();
    auto* theme = new TsuiFileTheme(form);
    theme->SetName("Theme1");
    auto* group = Place<TSkinGroup>(form, "Group", Bounds(0, 0, 200, 100));
    TLabel* caption = Place<TLabel>(group, "Caption1");
    caption->SetCaption("Plain");
    Place<TSkinProbe>(group, "Check1");
    log.clear();

    ApplyStyleToChildren(group, MacOS, theme);
    EXPECT_THAT(log, ElementsAre("Check1.FileTheme(Theme1)", "Check1.UIStyle(1)"));
    EXPECT_EQ(caption->Caption(), "Plain");
    ApplyStyleToChildren(nullptr, MacOS, theme);
    EXPECT_EQ(log.size(), 2u);
}

TEST_F(ControlHelpers, ALookReachesDirectChildrenInOrderAndGrandchildrenOnlyThroughTheirContainers) {
    TForm* form = NewForm();
    auto* group = new TSkinGroup(Application);
    group->SetName("Group");
    auto* first = Place<TSkinProbe>(form, "First");
    group->SetParent(form);
    TPanel* plain = Place<TPanel>(form, "Plain", Bounds(0, 50, 100, 50));
    Place<TSkinProbe>(plain, "UnderPlain");
    Place<TSkinProbe>(group, "UnderGroup");
    auto* styleOnly = Place<TStyleOnly>(form, "StyleOnly");
    first->SetFileTheme(new TsuiFileTheme(form));
    log.clear();

    ApplyStyleToChildren(form, WinXP, nullptr);
    EXPECT_THAT(log, ElementsAre("First.FileTheme(none)", "First.UIStyle(2)", "Group.FileTheme(none)",
                                 "Group.UIStyle(2)", "UnderGroup.FileTheme(none)", "UnderGroup.UIStyle(2)"));
    EXPECT_EQ(first->FileTheme(), nullptr);
    EXPECT_EQ(styleOnly->UIStyle(), DeepBlue);
}

TEST_F(ControlHelpers, AChildThatFreesItsContainerWhileRestylingEndsTheWalk) {
    TForm* form = NewForm();
    auto* group = Place<TSkinGroup>(form, "Group", Bounds(0, 0, 200, 100));
    auto* first = Place<TSkinProbe>(group, "First");
    Place<TSkinProbe>(group, "Second");
    first->OnStyle = [group] { delete group; };
    log.clear();
    ApplyStyleToChildren(group, BlueGlass, nullptr);
    EXPECT_THAT(log, ElementsAre("First.FileTheme(none)", "First.UIStyle(5)"));
    EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(ControlHelpers, ALookForAWindowReachesEverySkinnedComponentItOwnsInTheOrderTheyWereMade) {
    TForm* form = NewForm();
    auto* theme = new TsuiFileTheme(form);
    theme->SetName("Theme1");
    // Owned by the form wherever they are placed: in a plain panel, or in no parent at all.
    auto* plain = new TPanel(form);
    plain->SetParent(form);
    auto* inPanel = new TSkinProbe(form);
    inPanel->SetName("InPanel");
    inPanel->SetParent(plain);
    auto* unplaced = new TSkinProbe(form);
    unplaced->SetName("Unplaced");
    auto* styleOnly = new TStyleOnly(form);
    // Placed on the form but owned elsewhere: not the form's to restyle.
    Place<TSkinProbe>(form, "OwnedByTheApplication");
    log.clear();

    ApplyLookToOwnedComponents(form, Protein, theme);
    EXPECT_THAT(log, ElementsAre("InPanel.FileTheme(Theme1)", "InPanel.UIStyle(4)",
                                 "Unplaced.FileTheme(Theme1)", "Unplaced.UIStyle(4)"));
    EXPECT_EQ(styleOnly->UIStyle(), DeepBlue);

    // A component whose restyling frees the form ends the walk.
    log.clear();
    inPanel->OnStyle = [form] { delete form; };
    ApplyLookToOwnedComponents(form, WinXP, nullptr);
    EXPECT_THAT(log, ElementsAre("InPanel.FileTheme(none)", "InPanel.UIStyle(2)"));
    ApplyLookToOwnedComponents(nullptr, WinXP, nullptr);
}

// ---- Active forms ---------------------------------------------------------------------------------------

class FormActivity : public ControlHelpers {
protected:
    // The user switches to another program.
    void LeaveTheProgram() {
        ::SetActiveWindow(0);
        Pump();
        ASSERT_FALSE(Application->Active());
    }
    void Activate(TCustomForm* form) {
        Backend().PlatformActivate(form->Handle());
        Pump();
        ASSERT_TRUE(Application->Active());
    }
};

TEST_F(FormActivity, WithoutAMainFormAFormIsActiveByItsOwnFlag) {
    TForm* a = NewForm();
    TForm* b = NewForm(Bounds(600, 100, 200, 200));
    ShowForm(a);
    ShowForm(b);
    ASSERT_EQ(Application->MainForm(), nullptr);
    EXPECT_TRUE(IsFormActive(b));
    EXPECT_FALSE(IsFormActive(a));
    EXPECT_FALSE(IsFormActive(nullptr));
    LeaveTheProgram();
    EXPECT_FALSE(IsFormActive(b));
}

TEST_F(FormActivity, TheMainFormAndNoFormAreActiveWhileTheProgramIs) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBorderStyle(bsNone);
    main->SetBounds(0, 0, 300, 200);
    TForm* other = NewForm(Bounds(400, 100, 200, 200));
    TForm* hidden = NewForm(Bounds(700, 100, 200, 200));
    ShowForm(main);
    ShowForm(other);
    ASSERT_FALSE(main->Active());

    EXPECT_TRUE(IsFormActive(main)); // although another form is the active one
    EXPECT_TRUE(IsFormActive(nullptr));
    EXPECT_TRUE(IsFormActive(other));
    EXPECT_FALSE(IsFormActive(hidden));

    LeaveTheProgram();
    EXPECT_FALSE(IsFormActive(main));
    EXPECT_FALSE(IsFormActive(nullptr));
    EXPECT_FALSE(IsFormActive(other));

    Activate(main);
    EXPECT_TRUE(IsFormActive(main));
    EXPECT_FALSE(IsFormActive(other));
}

// The MDI client's answer to WM_MDIGETACTIVE, when a test sets one.
HWND g_reportedActiveChild = 0;
WNDPROC g_clientProc = nullptr;
LRESULT ReportingClientProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MDIGETACTIVE && g_reportedActiveChild != 0) {
        return static_cast<LRESULT>(g_reportedActiveChild);
    }
    return ::CallWindowProc(g_clientProc, hwnd, message, wParam, lParam);
}

TEST_F(FormActivity, AnMDIFrameIsAlwaysActiveAndItsChildrenAsItsClientSays) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetFormStyle(fsMDIForm);
    main->SetBorderStyle(bsNone);
    main->SetBounds(0, 0, 600, 400);
    ShowForm(main);
    const auto child = [this](const char* name, TRect bounds) {
        TForm* form = NewForm(bounds);
        form->SetName(name);
        form->SetFormStyle(fsMDIChild);
        ShowForm(form);
        return form;
    };
    TForm* a = child("A", Bounds(10, 10, 200, 150));
    TForm* b = child("B", Bounds(100, 100, 200, 150));
    TForm* loose = NewForm(Bounds(700, 100, 200, 200)); // not a child, never shown
    ASSERT_EQ(main->ActiveMDIChild(), b);

    EXPECT_TRUE(IsFormActive(main));
    EXPECT_TRUE(IsFormActive(b));
    EXPECT_FALSE(IsFormActive(a));
    EXPECT_FALSE(IsFormActive(loose));
    EXPECT_TRUE(IsFormActive(nullptr));

    // The client window's answer is asked, not only the child's own flag.
    const HWND client = main->ClientHandle();
    g_clientProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtr(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ReportingClientProc)));
    g_reportedActiveChild = a->Handle();
    EXPECT_FALSE(a->Active());
    EXPECT_TRUE(IsFormActive(a));
    EXPECT_TRUE(IsFormActive(b)); // by its own flag
    g_reportedActiveChild = 0;

    // The frame paints active even while the program is not; its children do not.
    LeaveTheProgram();
    EXPECT_TRUE(IsFormActive(main));
    EXPECT_FALSE(IsFormActive(b));
    EXPECT_FALSE(IsFormActive(nullptr));
    ::SetWindowLongPtr(client, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_clientProc));
}

// ---- Placing forms and controls -------------------------------------------------------------------------

// Logs every change of bounds as it arrives.
template <typename Base>
class TBoundsLogger : public Base {
public:
    using Base::Base;
    void SetBounds(int left, int top, int width, int height) override {
        Calls.push_back(Bounds(left, top, width, height));
        Base::SetBounds(left, top, width, height);
    }
    std::vector<TRect> Calls;
};

TEST_F(ControlHelpers, FormsArePlacedLeftTopWidthHeightInThatOrderAndControlsMovedLeftThenTop) {
    auto* form = NewForm<TBoundsLogger<TForm>>(Bounds(100, 100, 400, 300));
    form->Calls.clear();
    SetFormBoundsRect(form, {10, 20, 310, 220});
    EXPECT_THAT(form->Calls, ElementsAre(Bounds(10, 100, 400, 300), Bounds(10, 20, 400, 300),
                                         Bounds(10, 20, 300, 300), Bounds(10, 20, 300, 200)));
    EXPECT_EQ(form->BoundsRect(), (TRect{10, 20, 310, 220}));

    auto* control = Place<TBoundsLogger<TPanel>>(form, "Panel", Bounds(1, 2, 30, 40));
    control->Calls.clear();
    MoveControlTo(control, {5, 7});
    EXPECT_THAT(control->Calls, ElementsAre(Bounds(5, 2, 30, 40), Bounds(5, 7, 30, 40)));

    SetFormBoundsRect(nullptr, {0, 0, 1, 1});
    MoveControlTo(nullptr, {0, 0});
}

// ---- Painting ------------------------------------------------------------------------------------------

constexpr std::uint32_t kUnder = 0x123456;
constexpr std::uint32_t kLime = 0x00FF00;
constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kRed = 0xFF0000;

// Erases itself lime and paints a blue square at (50, 20)-(60, 30).
class TPaintedParent : public TCustomControl {
public:
    explicit TPaintedParent(TComponent* owner) : TCustomControl(owner) {
        TControlStyle style = ControlStyle();
        style.Include(csAcceptsControls);
        SetControlStyle(style);
        SetColor(clLime);
    }

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect({50, 20, 60, 30});
    }
};

// A see-through windowless control: the parent's picture under it, then a red dot at (1, 1).
class TSeeThrough : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        DrawParentBackground(Canvas(), this);
        Canvas()->SetPixels(1, 1, clRed);
    }
};

class ParentBackground : public ControlHelpers {
protected:
    void SetUp() override {
        form = NewForm(Bounds(100, 100, 300, 200));
        parent = Place<TPaintedParent>(form, "Parent", Bounds(0, 0, 200, 150));
        child = Place<TPanel>(parent, "Child", Bounds(45, 15, 20, 20));
    }
    // What DrawParentBackground paints for control into a 20 x 20 bitmap that showed kUnder.
    std::unique_ptr<TBitmap> Under(const TControl* control) {
        auto bitmap = std::make_unique<TBitmap>(20, 20);
        bitmap->Pixels().Fill(kUnder);
        DrawParentBackground(bitmap->Canvas(), control);
        return bitmap;
    }
    void ExpectParentsPicture(const TBitmap& b) {
        EXPECT_EQ(b.Pixels().At(0, 0), kLime);
        EXPECT_EQ(b.Pixels().At(4, 4), kLime);
        EXPECT_EQ(b.Pixels().At(5, 5), kBlue); // the parent's (50, 20)
        EXPECT_EQ(b.Pixels().At(14, 14), kBlue);
        EXPECT_EQ(b.Pixels().At(15, 15), kLime);
        EXPECT_EQ(b.Pixels().At(19, 19), kLime);
    }

    TForm* form = nullptr;
    TPaintedParent* parent = nullptr;
    TPanel* child = nullptr;
};

TEST_F(ParentBackground, ThePartOfTheParentUnderTheControlLandsInTheCanvas) {
    // Before the parent has a window, and after.
    ASSERT_FALSE(parent->HandleAllocated());
    ExpectParentsPicture(*Under(child));
    ShowForm(form);
    ASSERT_TRUE(parent->HandleAllocated());
    const auto bitmap = Under(child);
    ExpectParentsPicture(*bitmap);

    // The canvas is as it was: its origin is not shifted any more.
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect({0, 0, 1, 1});
    EXPECT_EQ(bitmap->Pixels().At(0, 0), kRed);
}

TEST_F(ParentBackground, OnlyTheParentsClientAreaIsPaintedAndNoParentPaintsNothing) {
    child->SetBounds(190, 140, 20, 20);
    const auto edge = Under(child);
    EXPECT_EQ(edge->Pixels().At(9, 9), kLime);
    EXPECT_EQ(edge->Pixels().At(10, 5), kUnder);
    EXPECT_EQ(edge->Pixels().At(5, 10), kUnder);

    child->SetParent(nullptr);
    const auto none = Under(child);
    EXPECT_EQ(none->Pixels().At(0, 0), kUnder);
    DrawParentBackground(nullptr, child);
}

TEST_F(ParentBackground, AWindowlessSeeThroughControlShowsItsParentAndItsOwnPaint) {
    auto* glass = new TSeeThrough(Application);
    glass->SetBounds(45, 15, 20, 20);
    glass->SetParent(parent);
    delete child;
    ShowForm(form);
    // Its parent's painting paints it too; the inner request paints nothing more, so painting ends.
    EXPECT_GE(glass->Paints, 1);
    EXPECT_EQ(PixelAt(glass, 0, 0), kLime);
    EXPECT_EQ(PixelAt(glass, 1, 1), kRed);
    EXPECT_EQ(PixelAt(glass, 5, 5), kBlue);
    EXPECT_EQ(PixelAt(glass, 15, 15), kLime);
}

TEST_F(ParentBackground, AWindowedControlsBorderIsFramed) {
    DrawControlBorder(child, clRed, clBlue, true); // no window yet: nothing, and none is made
    EXPECT_FALSE(child->HandleAllocated());
    ShowForm(form);
    DrawControlBorder(child, clRed, clBlue, true);
    EXPECT_EQ(PixelAt(child, 0, 0), kRed);
    EXPECT_EQ(PixelAt(child, 19, 19), kRed);
    EXPECT_EQ(PixelAt(child, 1, 1), kBlue);
    EXPECT_EQ(PixelAt(child, 18, 10), kBlue);
    DrawControlBorder(static_cast<TWinControl*>(nullptr), clRed, clBlue, true);
}

} // namespace
