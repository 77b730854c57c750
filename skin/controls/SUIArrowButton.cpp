#include "skin/controls/SUIArrowButton.h"

#include "toolkit/graphics/Canvas.h"

VARNEL_CLASS_INFO(TSuiArrowButton, [](auto& c) {
    c.Enum("Arrow", ArrowButtonTypeInfo, &TSuiArrowButton::Arrow, &TSuiArrowButton::SetArrow);
    for (const char* name : {"FileTheme", "UIStyle", "MouseContinuouslyDownInterval", "OnClick",
                             "OnMouseMove", "OnMouseDown", "OnMouseUp", "OnKeyDown", "OnKeyUp", "OnKeyPress",
                             "OnMouseEnter", "OnMouseExit", "OnMouseContinuouslyDown"}) {
        c.Publish(name);
    }
})

TSuiArrowButton::TSuiArrowButton(TComponent* owner) : TsuiCustomButton(owner) {
    UIStyleChanged();
}

void TSuiArrowButton::SetArrow(TsuiArrowButtonType value) {
    m_arrow = value;
    Repaint();
}

void TSuiArrowButton::UIStyleChanged() {
    TakeTransparentFromLook();
}

void TSuiArrowButton::PaintButtonBitmap(TCanvas* canvas, TBitmap* bitmap) {
    DrawFace(canvas, bitmap);
    // The arrow stays put when the button is pressed.
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBlack);
    canvas->Pen()->SetColor(clBlack);
    const int x = (Width() - 6) / 2;
    const int y = (Height() - 3) / 2;
    if (m_arrow == suiUp) {
        const TPoint points[] = {{x, y + 3}, {x + 3, y}, {x + 6, y + 3}};
        canvas->Polygon(points);
    } else {
        const TPoint points[] = {{x, y}, {x + 3, y + 3}, {x + 6, y}};
        canvas->Polygon(points);
    }
}
