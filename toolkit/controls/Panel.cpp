#include "toolkit/controls/Panel.h"

#include "toolkit/graphics/Gdi.h"

#include <algorithm>

VARNEL_CLASS_INFO(TCustomPanel, [](auto& c) {
    c.Enum("Alignment", AlignmentInfo, &TCustomPanel::Alignment, &TCustomPanel::SetAlignment)
        .Default(taCenter)
        .Unpublished();
    c.Enum("BevelInner", BevelCutInfo, &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner)
        .Default(bvNone)
        .Unpublished();
    c.Enum("BevelOuter", BevelCutInfo, &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter)
        .Default(bvRaised)
        .Unpublished();
    c.Int("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1).Unpublished();
    c.Enum("BorderStyle", BorderStyleInfo, &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle)
        .Default(bsNone)
        .Unpublished();
    c.Bool("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint)
        .Default(true)
        .Unpublished();
})

VARNEL_CLASS_INFO(TPanel, [](auto& c) {
    for (const char* name :
         {"Align",       "Alignment",      "Anchors",     "AutoSize",       "BevelInner",     "BevelOuter",
          "BevelWidth",  "BiDiMode",       "BorderWidth", "BorderStyle",    "Caption",        "Color",
          "Constraints", "Enabled",        "FullRepaint", "Font",           "ParentBiDiMode", "ParentColor",
          "ParentFont",  "ParentShowHint", "PopupMenu",   "ShowHint",       "TabOrder",       "TabStop",
          "Visible",     "OnCanResize",    "OnClick",     "OnContextPopup", "OnDblClick",     "OnEnter",
          "OnExit",      "OnMouseDown",    "OnMouseMove", "OnMouseUp",      "OnResize"}) {
        c.Publish(name);
    }
})

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width) {
    auto fill = [canvas](const TRect& r, TColor color) {
        if (!r.IsEmpty()) {
            canvas->Brush()->SetColor(color);
            canvas->Brush()->SetStyle(bsSolid);
            canvas->FillRect(r);
        }
    };
    for (; width > 0 && !rect.IsEmpty(); --width) {
        const TRect& r = rect;
        fill({r.Left, r.Top, r.Right - 1, r.Top + 1}, topColor);
        fill({r.Left, r.Top, r.Left + 1, r.Bottom - 1}, topColor);
        fill({r.Right - 1, r.Top, r.Right, r.Bottom}, bottomColor);
        fill({r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomColor);
        rect = rect.Inflate(-1, -1);
    }
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                     csReplicatable});
    SetBounds(Left(), Top(), 185, 41);
    SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (m_borderStyle == bsSingle) {
        params.ExStyle |= WS_EX_CLIENTEDGE;
    }
    // The panel repaints what it must itself.
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (value == m_alignment) {
        return;
    }
    m_alignment = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
    if (value == m_bevelInner) {
        return;
    }
    m_bevelInner = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
    if (value == m_bevelOuter) {
        return;
    }
    m_bevelOuter = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelWidth(int value) {
    value = std::max(1, value);
    if (value == m_bevelWidth) {
        return;
    }
    m_bevelWidth = value;
    Realign();
    Invalidate();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
    value = value == bsNone ? bsNone : bsSingle;
    if (value == m_borderStyle) {
        return;
    }
    m_borderStyle = value;
    if (HandleAllocated()) {
        // The edge is a frame style: change it in place, so that the window (and whatever
        // replaced its procedure) stays.
        const HWND handle = Handle();
        const LONG_PTR exStyle = ::GetWindowLongPtr(handle, GWL_EXSTYLE);
        ::SetWindowLongPtr(handle, GWL_EXSTYLE,
                           value == bsSingle ? (exStyle | WS_EX_CLIENTEDGE) : (exStyle & ~WS_EX_CLIENTEDGE));
        ::SetWindowPos(handle, 0, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        ::RedrawWindow(handle, nullptr, 0, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    }
    Realign();
}

void TCustomPanel::AdjustClientRect(TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    int bevel = 0;
    if (m_bevelOuter != bvNone) {
        bevel += m_bevelWidth;
    }
    if (m_bevelInner != bvNone) {
        bevel += m_bevelWidth;
    }
    rect = rect.Inflate(-bevel, -bevel);
}

void TCustomPanel::Paint() {
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    auto bevelColors = [](TPanelBevel bevel, TColor& top, TColor& bottom) {
        top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
        bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
    };
    TColor top = clBtnHighlight;
    TColor bottom = clBtnShadow;
    if (m_bevelOuter != bvNone) {
        bevelColors(m_bevelOuter, top, bottom);
        Frame3D(canvas, rect, top, bottom, m_bevelWidth);
    }
    if (m_bevelInner != bvNone) {
        bevelColors(m_bevelInner, top, bottom);
        Frame3D(canvas, rect, top, bottom, m_bevelWidth);
    }
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(rect);
    if (Caption().empty()) {
        return;
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    const int textHeight = canvas->TextHeight("W");
    TRect line = rect;
    line.Top = (rect.Top + rect.Bottom - textHeight) / 2;
    line.Bottom = line.Top + textHeight;
    static constexpr unsigned kAlignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    ::DrawText(canvas->Handle(), Caption(), &line, DT_VCENTER | DT_SINGLELINE | kAlignments[m_alignment]);
}

void TCustomPanel::CMTextChanged(TMessage& message) {
    TCustomControl::CMTextChanged(message);
    Invalidate();
}
