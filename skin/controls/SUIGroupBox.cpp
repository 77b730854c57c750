#include "skin/controls/SUIGroupBox.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "toolkit/graphics/Canvas.h"

#include <cstdlib>

VARNEL_CLASS_INFO(TsuiCustomGroupBox, [](auto& c) {
    c.Component("FileTheme", &TsuiCustomGroupBox::FileTheme, &TsuiCustomGroupBox::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &TsuiCustomGroupBox::UIStyle, &TsuiCustomGroupBox::SetUIStyle);
    c.Publish("Anchors");
    c.Publish("BiDiMode");
    c.Publish("Align").Default(alNone);
    c.String("Caption", &TsuiCustomGroupBox::Caption, &TsuiCustomGroupBox::SetCaption);
    for (const char* name : {"Color", "Font", "Enabled", "Transparent", "ParentColor", "ParentShowHint",
                             "ParentBiDiMode", "ParentFont", "TabOrder", "TabStop", "Visible"}) {
        c.Publish(name);
    }
    c.Color("BorderColor", &TsuiCustomGroupBox::BorderColor, &TsuiCustomGroupBox::SetBorderColor)
        .Unpublished();
})

VARNEL_CLASS_INFO(TsuiGroupBox, [](auto& c) {
    for (const char* name : {"BorderColor", "OnClick", "OnContextPopup", "OnDblClick", "OnEnter", "OnExit",
                             "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnResize", "OnCanResize"}) {
        c.Publish(name);
    }
})

namespace {

constexpr TColor kDisabledCaptionColor = 0x808080;

} // namespace

TsuiCustomGroupBox::TsuiCustomGroupBox(TComponent* owner)
    : TsuiCustomPanel(owner), m_look(this, GetOwnerUIStyle(owner)) {
    TCustomPanel::SetCaption(" ");
    SetBounds(Left(), Top(), 185, 105);
    SetParentColor(true);
    SetTransparent(false);
    UIStyleChanged(UIStyle(), FileTheme());
}

void TsuiCustomGroupBox::SetCaption(const std::string& value) {
    if (value == m_caption) {
        return;
    }
    m_caption = value;
    Invalidate();
}

void TsuiCustomGroupBox::SetBorderColor(TColor value) {
    if (value == m_borderColor) {
        return;
    }
    m_borderColor = value;
    Invalidate();
}

void TsuiCustomGroupBox::SetUIStyle(TsuiUIStyle value) {
    m_look.SetUIStyle(value);
    UIStyleChanged(value, FileTheme());
}

void TsuiCustomGroupBox::SetFileTheme(TsuiFileTheme* value) {
    m_look.SetFileTheme(value);
    UIStyleChanged(UIStyle(), value);
}

void TsuiCustomGroupBox::UIStyleChanged(TsuiUIStyle style, TsuiFileTheme* fileTheme) {
    ApplyStyleToChildren(this, style, fileTheme);
    Font()->SetColor(m_look.GetColor(TsuiThemeElement::ControlFontColor));
    SetBorderColor(m_look.GetColor(TsuiThemeElement::ControlBorderColor));
    Invalidate();
}

void TsuiCustomGroupBox::SetEnabled(bool value) {
    TsuiCustomPanel::SetEnabled(value);
    for (int i = 0; i < ControlCount(); ++i) {
        Controls(i)->SetEnabled(value);
    }
}

void TsuiCustomGroupBox::Loaded() {
    TsuiCustomPanel::Loaded();
    // A child loaded after the group box has its own Enabled; a disabled group keeps it off.
    if (!Enabled()) {
        for (int i = 0; i < ControlCount(); ++i) {
            Controls(i)->SetEnabled(false);
        }
    }
}

void TsuiCustomGroupBox::AdjustClientRect(TRect& rect) {
    TsuiCustomPanel::AdjustClientRect(rect);
    rect.Left += 3;
    rect.Right -= 3;
    rect.Bottom -= 3;
    rect.Top += std::abs(Font()->Height()) + 5;
}

void TsuiCustomGroupBox::Paint() {
    const int fontHeight = std::abs(Font()->Height());
    TsuiPaintBuffer buffer(Width(), Height());
    TCanvas* canvas = buffer.Canvas();
    const TRect client = ClientRect();
    if (Transparent()) {
        PaintParentBackground(canvas);
    } else {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
    }
    canvas->SetFont(Font());
    const int y = fontHeight / 2 + client.Top + 1;
    // The top line leaves a gap from L + 2 to L + 6 + the caption's width, where the caption sits.
    const int gapEnd = m_caption.empty() ? client.Left : client.Left + 6 + canvas->TextWidth(m_caption);
    canvas->Pen()->SetColor(m_borderColor);
    canvas->MoveTo(client.Left + 2, y);
    canvas->LineTo(client.Left, y);
    canvas->LineTo(client.Left, client.Bottom - 1);
    canvas->LineTo(client.Right - 1, client.Bottom - 1);
    canvas->LineTo(client.Right - 1, y);
    canvas->LineTo(gapEnd, y);
    if (!Enabled()) {
        canvas->Font()->SetColor(kDisabledCaptionColor);
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(5, 0, m_caption);
    buffer.CopyTo(Canvas());
}

void TsuiCustomGroupBox::Notification(TComponent* component, TOperation operation) {
    TsuiCustomPanel::Notification(component, operation);
    if (m_look.FileThemeRemoved(component, operation)) {
        ApplyStyleToChildren(this, DeepBlue, nullptr);
        SetUIStyle(DeepBlue);
    }
}

void TsuiCustomGroupBox::CMFontChanged(TMessage& message) {
    TsuiCustomPanel::CMFontChanged(message);
    Realign();
    Invalidate();
}
