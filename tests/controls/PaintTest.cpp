#include "tests/support/ControlFixture.h"
#include "toolkit/controls/CustomControl.h"
#include "toolkit/controls/Image.h"
#include "toolkit/controls/Label.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Picture.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kFormColor = RGB(10, 20, 30);
constexpr TColor kPanelColor = RGB(200, 0, 0);
constexpr TColor kLabelColor = RGB(0, 0, 200);
constexpr TColor kOtherColor = RGB(0, 150, 0);

std::uint32_t Px(TColor color) {
    return ColorToPixel(color);
}

class PaintTest : public TControlFixture {
protected:
    void SetUp() override {
        form = NewForm({100, 100, 400, 300});
        form->SetColor(kFormColor);
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 200, 150);
        panel->SetBevelOuter(bvNone);
        panel->SetColor(kPanelColor);
    }
    TLabel* Label(TColor color, TRect bounds) {
        auto* label = new TLabel(form);
        label->SetParent(panel);
        label->SetAutoSize(false);
        label->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        label->SetColor(color);
        return label;
    }
    TForm* form = nullptr;
    TPanel* panel = nullptr;
};

TEST_F(PaintTest, AWindowlessLabelIsPaintedWithItsParent) {
    TLabel* label = Label(kLabelColor, Bounds(20, 30, 40, 10));
    ShowForm(form);
    EXPECT_EQ(PixelAt(form, 5, 5), Px(kFormColor));
    EXPECT_EQ(PixelAt(panel, 5, 5), Px(kPanelColor));
    EXPECT_EQ(PixelAt(label, 0, 0), Px(kLabelColor));
    EXPECT_EQ(PixelAt(label, 39, 9), Px(kLabelColor));
    // Clipped to its bounds.
    EXPECT_EQ(PixelAt(panel, 60, 30), Px(kPanelColor));
    EXPECT_EQ(PixelAt(panel, 20, 40), Px(kPanelColor));

    // Changes show after the next paint, a move uncovers what lay below.
    label->SetColor(kOtherColor);
    label->SetLeft(100);
    Pump();
    EXPECT_EQ(PixelAt(panel, 25, 35), Px(kPanelColor));
    EXPECT_EQ(PixelAt(label, 5, 5), Px(kOtherColor));

    // A transparent label lets the parent show through.
    label->SetTransparent(true);
    Pump();
    EXPECT_EQ(PixelAt(label, 5, 5), Px(kPanelColor));
}

TEST_F(PaintTest, WindowlessControlsArePaintedInZOrder) {
    TLabel* bottom = Label(kLabelColor, Bounds(10, 10, 50, 50));
    TLabel* top = Label(kOtherColor, Bounds(30, 30, 50, 50));
    ShowForm(form);
    EXPECT_EQ(PixelAt(panel, 40, 40), Px(kOtherColor));
    bottom->BringToFront();
    Pump();
    EXPECT_EQ(PixelAt(panel, 40, 40), Px(kLabelColor));
    bottom->SendToBack();
    top->Repaint();
    EXPECT_EQ(PixelAt(panel, 40, 40), Px(kOtherColor));
    // The mouse follows the same order.
    int clicks = 0;
    top->OnClick = [&](TObject*) { ++clicks; };
    ClickOn(panel, 40, 40);
    EXPECT_EQ(clicks, 1);
}

TEST_F(PaintTest, PanelBevelsAndBorderBand) {
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(2);
    ShowForm(form);
    // The band lies outside the client area, in the panel's colour.
    EXPECT_EQ(PixelAt(panel, -1, 50), Px(kPanelColor));
    EXPECT_EQ(PixelAt(panel, -2, 50), Px(kPanelColor));
    // Outer raised bevel: light top-left, dark bottom-right; the inner lowered one the reverse.
    const int w = panel->ClientWidth();
    const int h = panel->ClientHeight();
    EXPECT_EQ(PixelAt(panel, 5, 0), Px(clBtnHighlight));
    EXPECT_EQ(PixelAt(panel, 0, 5), Px(clBtnHighlight));
    EXPECT_EQ(PixelAt(panel, w - 1, 5), Px(clBtnShadow));
    EXPECT_EQ(PixelAt(panel, 5, h - 1), Px(clBtnShadow));
    EXPECT_EQ(PixelAt(panel, 5, 1), Px(clBtnShadow));
    EXPECT_EQ(PixelAt(panel, w - 2, 5), Px(clBtnHighlight));
    EXPECT_EQ(PixelAt(panel, 5, 5), Px(kPanelColor));
}

TEST_F(PaintTest, ImagesDrawTheirPictureAsAskedAndCanSizeToIt) {
    TBitmap bitmap(4, 2);
    bitmap.Canvas()->Brush()->SetColor(kOtherColor);
    bitmap.Canvas()->FillRect({0, 0, 4, 2});
    bitmap.Canvas()->SetPixels(0, 0, clFuchsia);
    auto* image = new TImage(form);
    image->SetParent(panel);
    image->SetBounds(20, 20, 40, 20);
    image->Picture()->Assign(&bitmap);
    ShowForm(form);
    EXPECT_EQ(PixelAt(image, 0, 0), Px(clFuchsia));
    EXPECT_EQ(PixelAt(image, 3, 1), Px(kOtherColor));
    EXPECT_EQ(PixelAt(image, 4, 1), Px(kPanelColor)); // beyond the picture

    image->SetStretch(true);
    Pump();
    EXPECT_EQ(PixelAt(image, 39, 19), Px(kOtherColor));
    EXPECT_EQ(PixelAt(image, 9, 9), Px(clFuchsia));

    image->SetStretch(false);
    image->SetCenter(true);
    Pump();
    EXPECT_EQ(PixelAt(image, 18, 9), Px(clFuchsia));
    EXPECT_EQ(PixelAt(image, 0, 0), Px(kPanelColor));

    // Transparent: the bitmap's transparent colour (its bottom-left pixel unless fixed) is left out.
    image->SetCenter(false);
    image->Picture()->Bitmap()->SetTransparentColor(clFuchsia);
    image->SetTransparent(true);
    Pump();
    EXPECT_EQ(PixelAt(image, 0, 0), Px(kPanelColor));
    EXPECT_EQ(PixelAt(image, 1, 0), Px(kOtherColor));

    image->SetAutoSize(true);
    EXPECT_EQ(image->BoundsRect(), Bounds(20, 20, 4, 2));
}

TEST_F(PaintTest, TheFormFrameShowsWhetherTheFormIsActive) {
    TForm* framed = NewForm({500, 100, 700, 300}, bsSingle);
    ShowForm(framed);
    const int border = ::GetSystemMetrics(SM_CXDLGFRAME);
    const int y = border + ::GetSystemMetrics(SM_CYCAPTION) / 2;
    EXPECT_EQ(PixelOf(framed, 100, y), Px(clActiveCaption));
    EXPECT_EQ(PixelOf(framed, 0, 50), Px(clBtnFace)); // the outer edge of the raised border
    ShowForm(form);
    EXPECT_EQ(PixelOf(framed, 100, y), Px(clInactiveCaption));
}

} // namespace

namespace {

// A windowed child that asks its parent for a sunken frame.
class TFramedChild : public TCustomControl {
public:
    explicit TFramedChild(TComponent* owner) : TCustomControl(owner) {
        SetControlStyle(ControlStyle() + TControlStyle{csFramed, csOpaque});
        SetColor(kOtherColor);
    }

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(kOtherColor);
        Canvas()->FillRect(ClientRect());
    }
};

TEST_F(PaintTest, AFramedWindowedChildGetsASunkenFrameFromItsParent) {
    auto* child = new TFramedChild(form);
    child->SetParent(panel);
    child->SetBounds(20, 30, 40, 20);
    ShowForm(form);
    auto at = [&](int x, int y) { return PixelAt(panel, x, y); };
    const std::uint32_t shadow = Px(clBtnShadow);
    const std::uint32_t highlight = Px(clBtnHighlight);
    // Shadow above and left, highlight below and right, the child's own pixels untouched.
    EXPECT_EQ(at(19, 29), shadow);
    EXPECT_EQ(at(40, 29), shadow);
    EXPECT_EQ(at(19, 45), shadow);
    EXPECT_EQ(at(60, 35), highlight);
    EXPECT_EQ(at(40, 50), highlight);
    EXPECT_EQ(at(60, 50), highlight);
    EXPECT_EQ(at(20, 30), Px(kOtherColor));
    EXPECT_EQ(at(59, 49), Px(kOtherColor));
    EXPECT_EQ(at(18, 35), Px(kPanelColor));
    EXPECT_EQ(at(61, 35), Px(kPanelColor));
}

} // namespace
