#include "toolkit/controls/Label.h"

#include "toolkit/controls/WinControl.h"
#include "toolkit/graphics/Gdi.h"

VARNEL_CLASS_INFO(TCustomLabel, [](auto& c) {
    c.Enum("Alignment", AlignmentInfo, &TCustomLabel::Alignment, &TCustomLabel::SetAlignment)
        .Default(taLeftJustify)
        .Unpublished();
    c.Component("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl).Unpublished();
    c.Enum("Layout", TextLayoutInfo, &TCustomLabel::Layout, &TCustomLabel::SetLayout)
        .Default(tlTop)
        .Unpublished();
    c.Bool("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar)
        .Default(true)
        .Unpublished();
    c.Bool("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent)
        .Default(false)
        .Unpublished();
    c.Bool("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false).Unpublished();
    c.Event("OnMouseEnter", &TCustomLabel::OnMouseEnter).Unpublished();
    c.Event("OnMouseLeave", &TCustomLabel::OnMouseLeave).Unpublished();
})

VARNEL_CLASS_INFO(TLabel, [](auto& c) {
    for (const char* name :
         {"Align",       "Alignment",      "Anchors",      "BiDiMode",      "Caption",        "Color",
          "Constraints", "Enabled",        "FocusControl", "Font",          "ParentBiDiMode", "ParentColor",
          "ParentFont",  "ParentShowHint", "PopupMenu",    "ShowAccelChar", "ShowHint",       "Transparent",
          "Layout",      "Visible",        "WordWrap",     "OnClick",       "OnContextPopup", "OnDblClick",
          "OnMouseDown", "OnMouseMove",    "OnMouseUp",    "OnMouseEnter",  "OnMouseLeave"}) {
        c.Publish(name);
    }
    // After the text and font, so the size it reaches is that of the loaded text.
    c.Publish("AutoSize").Default(true);
})

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque, csReplicatable});
    SetBounds(Left(), Top(), 65, 17);
    TGraphicControl::SetAutoSize(true);
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (value == m_alignment) {
        return;
    }
    m_alignment = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
    if (value == AutoSize()) {
        return;
    }
    TGraphicControl::SetAutoSize(value);
    AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (value == m_focusControl) {
        return;
    }
    if (m_focusControl) {
        RemoveFreeNotification(m_focusControl);
    }
    m_focusControl = value;
    if (value) {
        value->FreeNotification(this);
    }
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (value == m_layout) {
        return;
    }
    m_layout = value;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (value == m_showAccelChar) {
        return;
    }
    m_showAccelChar = value;
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool value) {
    if (value == Transparent()) {
        return;
    }
    SetControlStyle(value ? ControlStyle() - TControlStyle{csOpaque}
                          : ControlStyle() + TControlStyle{csOpaque});
    // A label that stops covering its area needs what lies behind it painted again.
    InvalidateControl(Visible(), false);
}

void TCustomLabel::SetWordWrap(bool value) {
    if (value == m_wordWrap) {
        return;
    }
    m_wordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::DoDrawText(TRect& rect, unsigned flags) {
    std::string text = GetLabelText();
    // An empty line still has the height of one.
    if ((flags & DT_CALCRECT) && (text.empty() || (m_showAccelChar && text == "&"))) {
        text += ' ';
    }
    if (!m_showAccelChar) {
        flags |= DT_NOPREFIX;
    }
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    if (!Enabled()) {
        rect = rect.Offset(1, 1);
        canvas->Font()->SetColor(clBtnHighlight);
        ::DrawText(canvas->Handle(), text, &rect, flags);
        rect = rect.Offset(-1, -1);
        canvas->Font()->SetColor(clBtnShadow);
        ::DrawText(canvas->Handle(), text, &rect, flags);
    } else {
        ::DrawText(canvas->Handle(), text, &rect, flags);
    }
}

void TCustomLabel::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(client);
    }
    canvas->Brush()->SetStyle(bsClear);
    static constexpr unsigned kAlignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    const unsigned style = (m_wordWrap ? DT_WORDBREAK : 0u) | kAlignments[m_alignment];
    TRect rect = client;
    if (m_layout != tlTop) {
        TRect calc = rect;
        DoDrawText(calc, style | DT_CALCRECT);
        const int free = Height() - calc.Bottom;
        rect = rect.Offset(0, m_layout == tlBottom ? free : free / 2);
    }
    DoDrawText(rect, style);
}

void TCustomLabel::AdjustBounds() {
    if ((IsLoading() && !m_inLoaded) || !AutoSize()) {
        return;
    }
    // Measured on a memory context: a label need not have a window to know its size.
    HDC dc = ::CreateCompatibleDC(nullptr);
    if (!dc) {
        return;
    }
    TRect rect = ClientRect();
    auto* canvas = static_cast<TControlCanvas*>(Canvas());
    canvas->BeginPaintWith(dc);
    DoDrawText(rect, DT_CALCRECT | (m_wordWrap ? DT_WORDBREAK : 0u));
    canvas->EndPaintWith();
    ::DeleteDC(dc);
    int x = Left();
    if (m_alignment == taRightJustify) {
        x += Width() - rect.Right;
    }
    SetBounds(x, Top(), rect.Right, rect.Bottom);
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    m_inLoaded = true;
    AdjustBounds();
    m_inLoaded = false;
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component && component == m_focusControl) {
        m_focusControl = nullptr;
    }
}

void TCustomLabel::Dispatch(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR) {
        CMDialogChar(message);
        return;
    }
    TGraphicControl::Dispatch(message);
}

void TCustomLabel::CMTextChanged(TMessage& message) {
    TGraphicControl::CMTextChanged(message);
    Invalidate();
    AdjustBounds();
}

void TCustomLabel::CMFontChanged(TMessage& message) {
    TGraphicControl::CMFontChanged(message);
    AdjustBounds();
}

void TCustomLabel::CMMouseEnter(TMessage& message) {
    TGraphicControl::CMMouseEnter(message);
    if (OnMouseEnter && !IsLoading()) {
        OnMouseEnter(this);
    }
}

void TCustomLabel::CMMouseLeave(TMessage& message) {
    TGraphicControl::CMMouseLeave(message);
    if (OnMouseLeave && !IsLoading()) {
        OnMouseLeave(this);
    }
}

void TCustomLabel::CMDialogChar(TMessage& message) {
    if (m_focusControl && Enabled() && m_showAccelChar &&
        IsAccel(static_cast<char32_t>(message.WParam), Caption()) && m_focusControl->CanFocus()) {
        m_focusControl->SetFocus();
        message.Result = 1;
    }
}
