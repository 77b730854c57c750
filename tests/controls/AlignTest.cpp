#include "tests/support/ControlFixture.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Panel.h"

#include <gtest/gtest.h>

namespace {

class AlignTest : public TControlFixture {
protected:
    // bounds as left, top, right, bottom (use Bounds() for left, top, width, height).
    TPanel* Child(TWinControl* parent, TAlign align, TRect bounds) {
        auto* panel = new TPanel(parent->Owner() ? parent->Owner() : parent);
        panel->SetParent(parent);
        panel->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        panel->SetAlign(align);
        return panel;
    }
};

TEST_F(AlignTest, AlignedChildrenShareTheClientAreaInClassicOrder) {
    TForm* form = NewForm({0, 0, 400, 300});
    // Made in an order unlike the placing order: client first, then the edges.
    TPanel* client = Child(form, alClient, {0, 0, 10, 10});
    TPanel* right = Child(form, alRight, {0, 0, 50, 10});
    TPanel* left = Child(form, alLeft, {0, 0, 40, 10});
    TPanel* bottom = Child(form, alBottom, {0, 0, 10, 30});
    TPanel* top = Child(form, alTop, {0, 0, 10, 20});

    // Top and bottom take the whole width, left and right what height is left, client the rest.
    EXPECT_EQ(top->BoundsRect(), Bounds(0, 0, 400, 20));
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 270, 400, 30));
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 20, 40, 250));
    EXPECT_EQ(right->BoundsRect(), Bounds(350, 20, 50, 250));
    EXPECT_EQ(client->BoundsRect(), Bounds(40, 20, 310, 250));

    // Resizing the parent places them again, with a window or without.
    form->SetBounds(0, 0, 300, 200);
    EXPECT_EQ(client->BoundsRect(), Bounds(40, 20, 210, 150));
    ShowForm(form);
    form->SetBounds(0, 0, 500, 400);
    EXPECT_EQ(right->BoundsRect(), Bounds(450, 20, 50, 350));
    EXPECT_EQ(client->BoundsRect(), Bounds(40, 20, 410, 350));
    RECT r;
    ::GetWindowRect(client->Handle(), &r);
    EXPECT_EQ(r, Bounds(40, 20, 410, 350));
}

TEST_F(AlignTest, ControlsOfOneAlignmentStackInTheOrderOfTheirPositions) {
    TForm* form = NewForm({0, 0, 400, 300});
    // Aligned together, as a layout does: each group is ordered by where its controls lie.
    form->DisableAlign();
    TPanel* second = Child(form, alTop, Bounds(0, 100, 10, 20));
    TPanel* first = Child(form, alTop, Bounds(0, 50, 10, 30));
    TPanel* lower = Child(form, alBottom, Bounds(0, 250, 10, 10));
    TPanel* lowest = Child(form, alBottom, Bounds(0, 290, 10, 15));
    form->EnableAlign();
    EXPECT_EQ(first->Top(), 0);
    EXPECT_EQ(second->Top(), 30);
    EXPECT_EQ(lowest->Top(), 285);
    EXPECT_EQ(lower->Top(), 275);

    // Hiding one closes the gap; showing it again puts it back.
    first->SetVisible(false);
    EXPECT_EQ(second->Top(), 0);
    first->SetVisible(true);
    EXPECT_EQ(second->Top(), 30);
}

TEST_F(AlignTest, BevelsAndBorderWidthShrinkTheAreaOfAlignedChildren) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 200, 100);
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetBorderWidth(3);
    TPanel* inner = Child(panel, alClient, {0, 0, 5, 5});
    // The band is outside the client area (client 194 x 94), the bevels inside it.
    EXPECT_EQ(panel->ClientRect(), Rect(0, 0, 194, 94));
    EXPECT_EQ(inner->BoundsRect(), Rect(4, 4, 190, 90));
    ShowForm(form);
    EXPECT_EQ(panel->ClientRect(), Rect(0, 0, 194, 94));
    EXPECT_EQ(inner->BoundsRect(), Rect(4, 4, 190, 90));
}

TEST_F(AlignTest, AnchorsKeepTheDesignedDistancesToTheirEdges) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 200, 100);
    auto* stretch = new TLabel(form);
    stretch->SetParent(panel);
    stretch->SetAutoSize(false);
    stretch->SetBounds(10, 10, 150, 20);
    stretch->SetAnchors({akLeft, akTop, akRight});
    auto* corner = new TLabel(form);
    corner->SetParent(panel);
    corner->SetAutoSize(false);
    corner->SetBounds(170, 70, 20, 20);
    corner->SetAnchors({akRight, akBottom});
    auto* middle = new TLabel(form);
    middle->SetParent(panel);
    middle->SetAutoSize(false);
    middle->SetBounds(90, 40, 20, 20);
    middle->SetAnchors({});

    panel->SetBounds(0, 0, 300, 160);
    EXPECT_EQ(stretch->BoundsRect(), Bounds(10, 10, 250, 20));
    EXPECT_EQ(corner->BoundsRect(), Bounds(270, 130, 20, 20));
    // Neither edge: the middle keeps its share of the width.
    EXPECT_EQ(middle->BoundsRect(), Bounds(140, 70, 20, 20));

    panel->SetBounds(0, 0, 200, 100);
    EXPECT_EQ(stretch->BoundsRect(), Bounds(10, 10, 150, 20));
    EXPECT_EQ(corner->BoundsRect(), Bounds(170, 70, 20, 20));
}

TEST_F(AlignTest, ConstraintsBoundEverySize) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->Constraints()->SetMinWidth(50);
    panel->Constraints()->SetMaxHeight(80);
    panel->SetBounds(0, 0, 10, 200);
    EXPECT_EQ(panel->Width(), 50);
    EXPECT_EQ(panel->Height(), 80);
    // A client-aligned control that cannot grow leaves the rest of the area empty.
    panel->SetAlign(alClient);
    EXPECT_EQ(panel->BoundsRect(), Bounds(0, 0, 400, 80));
    // New limits apply at once.
    panel->SetAlign(alNone);
    panel->Constraints()->SetMaxWidth(60);
    EXPECT_EQ(panel->Width(), 60);
    // A minimum above the maximum raises the maximum.
    panel->Constraints()->SetMinHeight(100);
    EXPECT_EQ(panel->Constraints()->MaxHeight(), 100);
    EXPECT_EQ(panel->Height(), 100);
}

TEST_F(AlignTest, CanResizeMayRefuseOrAdjustASize) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* panel = new TPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 100, 100);
    int resizes = 0;
    panel->OnResize = [&](TObject*) { ++resizes; };
    panel->OnCanResize = [](TObject*, int& width, int& height, bool& resize) {
        resize = width <= 300;
        height = std::min(height, 150);
    };
    panel->SetBounds(5, 5, 400, 100);
    EXPECT_EQ(panel->BoundsRect(), Bounds(0, 0, 100, 100));
    EXPECT_EQ(resizes, 0);
    panel->SetBounds(5, 5, 200, 400);
    EXPECT_EQ(panel->BoundsRect(), Bounds(5, 5, 200, 150));
    EXPECT_EQ(resizes, 1);
}

TEST_F(AlignTest, ClientSizeOfAFormCountsItsFrame) {
    TForm* single = NewForm({0, 0, 300, 200}, bsSingle);
    single->SetClientWidth(482);
    single->SetClientHeight(481);
    const int frame = ::GetSystemMetrics(SM_CXDLGFRAME);
    EXPECT_EQ(single->Width(), 482 + 2 * frame);
    EXPECT_EQ(single->Height(), 481 + 2 * frame + ::GetSystemMetrics(SM_CYCAPTION));
    ShowForm(single);
    EXPECT_EQ(single->ClientWidth(), 482);
    EXPECT_EQ(single->ClientHeight(), 481);

    // Without a frame the window is all client area; the bounds stay, the client area grows.
    single->SetBorderStyle(bsNone);
    EXPECT_EQ(single->Width(), 482 + 2 * frame);
    EXPECT_EQ(single->ClientWidth(), single->Width());
    EXPECT_EQ(single->ClientHeight(), single->Height());
}

} // namespace

namespace {

class AutoScrollTest : public TControlFixture {};

TEST_F(AutoScrollTest, ControlsBeyondTheClientAreaBringScrollBarsThatMoveThem) {
    TForm* form = NewForm({0, 0, 300, 200});
    auto* far = new TPanel(form);
    far->SetParent(form);
    far->SetBounds(10, 400, 50, 50);
    ShowForm(form);
    const HWND h = form->Handle();
    const int bar = ::GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_TRUE(::GetWindowLongPtr(h, GWL_STYLE) & WS_VSCROLL);
    EXPECT_FALSE(::GetWindowLongPtr(h, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(form->ClientWidth(), 300 - bar);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(::GetScrollInfo(h, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 449);
    EXPECT_EQ(static_cast<int>(si.nPage), 200);

    ::SendMessage(h, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(far->Top(), 392);
    ::SendMessage(h, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(far->Top(), 150);
    EXPECT_EQ(::GetScrollPos(h, SB_VERT), 250);
    ::SendMessage(h, WM_VSCROLL, SB_PAGEDOWN, 0); // already at the end
    EXPECT_EQ(far->Top(), 150);
    ::SendMessage(h, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(far->Top(), 400);

    // Scrolled away and then switched off: the controls go back and the bar goes.
    ::SendMessage(h, WM_VSCROLL, SB_PAGEDOWN, 0);
    form->SetAutoScroll(false);
    EXPECT_EQ(far->Top(), 400);
    EXPECT_FALSE(::GetWindowLongPtr(h, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(form->ClientWidth(), 300);
}

} // namespace
