#include "toolkit/controls/ControlSubclass.h"

#include "tests/support/ControlFixture.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/Panel.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

class ControlSubclass : public TControlFixture {
protected:
    // Counts the WM_USER messages that reach the object in front of form's window.
    std::unique_ptr<TControlSubclass> CountingSubclass(TWinControl* control) {
        auto after = [this](UINT message, WPARAM, LPARAM, LRESULT previous) {
            if (message == WM_USER) {
                ++seen;
            }
            return previous;
        };
        return std::make_unique<TControlSubclass>(control, after, [this] { ++installs; });
    }
    static WNDPROC ProcOf(HWND hwnd) {
        return reinterpret_cast<WNDPROC>(::GetWindowLongPtr(hwnd, GWLP_WNDPROC));
    }

    int seen = 0;
    int installs = 0;
};

TEST_F(ControlSubclass, SitsInFrontOfEveryWindowTheControlMakes) {
    TForm* form = NewForm();
    auto subclass = CountingSubclass(form);
    // No window yet: none is made for the object's sake.
    EXPECT_FALSE(form->HandleAllocated());
    EXPECT_FALSE(subclass->Installed());

    ShowForm(form);
    const HWND first = form->Handle();
    ASSERT_TRUE(subclass->Installed());
    EXPECT_EQ(installs, 1);
    const WNDPROC own = subclass->SavedProc();
    ::SendMessage(first, WM_USER, 0, 0);
    EXPECT_EQ(seen, 1);

    // A style change makes a new window, which starts with the control's own procedure.
    form->SetFormStyle(fsMDIForm);
    const HWND second = form->Handle();
    ASSERT_NE(second, first);
    EXPECT_EQ(ProcOf(second), &SubclassTrampoline);
    ::SendMessage(second, WM_USER, 0, 0);
    EXPECT_EQ(seen, 2);
    form->RecreateWnd();
    ::SendMessage(form->Handle(), WM_USER, 0, 0);
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(installs, 3);

    // Gone, it leaves the control's own procedure in place, and hears nothing more.
    subclass.reset();
    EXPECT_EQ(ProcOf(form->Handle()), own);
    ::SendMessage(form->Handle(), WM_USER, 0, 0);
    EXPECT_EQ(seen, 3);
    form->RecreateWnd();
    EXPECT_EQ(ProcOf(form->Handle()), own);
}

TEST_F(ControlSubclass, AControlFreedFirstLeavesTheObjectHarmless) {
    TForm* form = NewForm();
    ShowForm(form);
    auto subclass = CountingSubclass(form);
    ASSERT_TRUE(subclass->Installed());
    delete form;
    EXPECT_FALSE(subclass->Installed());
    EXPECT_EQ(subclass->Control(), nullptr);
    subclass.reset();
}

// Draws on its form's canvas and its own when it goes, as a skinned panel redraws the border it
// leaves, and tells whether that gave either of them a window.
class TDrawsWhenGoing : public TCustomControl {
public:
    TDrawsWhenGoing(TComponent* owner, bool& madeWindow) : TCustomControl(owner), m_madeWindow(madeWindow) {}
    ~TDrawsWhenGoing() override {
        auto* form = dynamic_cast<TCustomForm*>(Owner());
        const bool formHad = form && form->HandleAllocated();
        const bool ownHad = HandleAllocated();
        if (form) {
            form->Canvas()->FillRect({0, 0, 10, 10});
        }
        Canvas()->FillRect({0, 0, 5, 5});
        m_madeWindow = (form && !formHad && form->HandleAllocated()) || (!ownHad && HandleAllocated());
    }

private:
    bool& m_madeWindow;
};

TEST_F(ControlSubclass, DrawingOnACanvasWhileItsControlGoesMakesNoWindow) {
    bool madeWindow = true;
    TForm* form = NewForm();
    auto* control = new TDrawsWhenGoing(form, madeWindow);
    control->SetParent(form);
    ASSERT_FALSE(form->HandleAllocated());
    delete form;
    EXPECT_FALSE(madeWindow);
    EXPECT_TRUE(System().TopLevelWindows().empty());
    EXPECT_TRUE(Backend().NativeWindows().empty());

    // With the windows there, drawing on them during the destruction is harmless.
    TForm* shown = NewForm();
    auto* drawn = new TDrawsWhenGoing(shown, madeWindow);
    drawn->SetParent(shown);
    ShowForm(shown);
    delete shown;
    FreeDeviceContexts();
    EXPECT_FALSE(madeWindow);
    EXPECT_TRUE(System().TopLevelWindows().empty());
}

} // namespace
