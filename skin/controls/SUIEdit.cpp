#include "skin/controls/SUIEdit.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"

VARNEL_CLASS_INFO(TsuiEdit, [](auto& c) {
    c.Component("FileTheme", &TsuiEdit::FileTheme, &TsuiEdit::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &TsuiEdit::UIStyle, &TsuiEdit::SetUIStyle);
    c.Color("BorderColor", &TsuiEdit::BorderColor, &TsuiEdit::SetBorderColor);
    for (const char* name : {"Anchors", "AutoSelect", "AutoSize", "BiDiMode", "CharCase", "Color",
                             "Constraints", "Ctl3D", "Enabled", "Font", "HideSelection", "MaxLength"}) {
        c.Publish(name);
    }
    c.Bool("OEMConvert", &TsuiEdit::OEMConvert, &TsuiEdit::SetOEMConvert).Default(false);
    c.Publish("ParentBiDiMode");
    c.Publish("ParentColor");
    c.Bool("ParentCtl3D", &TsuiEdit::ParentCtl3D, &TsuiEdit::SetParentCtl3D).Default(true);
    // The toolkit has no dragging, docking or input methods: those properties and events are
    // left out.
    for (const char* name :
         {"ParentFont",  "ParentShowHint", "PasswordChar", "PopupMenu", "ReadOnly",   "ShowHint",
          "TabOrder",    "TabStop",        "Text",         "Visible",   "OnChange",   "OnClick",
          "OnDblClick",  "OnEnter",        "OnExit",       "OnKeyDown", "OnKeyPress", "OnKeyUp",
          "OnMouseDown", "OnMouseMove",    "OnMouseUp"}) {
        c.Publish(name);
    }
})

TsuiEdit::TsuiEdit(TComponent* owner) : TCustomEdit(owner), m_look(this, GetOwnerUIStyle(owner)) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    // A two-pixel band around the text, which the frame covers.
    SetBorderStyle(bsNone);
    SetBorderWidth(2);
    SetUIStyle(m_look.UIStyle());
}

TsuiEdit::~TsuiEdit() = default;

void TsuiEdit::SetUIStyle(TsuiUIStyle value) {
    m_look.SetUIStyle(value);
    m_borderColor = m_look.GetColor(TsuiThemeElement::ControlBorderColor);
    UIStyleChanged();
    Repaint();
}

void TsuiEdit::SetFileTheme(TsuiFileTheme* value) {
    m_look.SetFileTheme(value);
    SetUIStyle(m_look.UIStyle());
}

void TsuiEdit::SetBorderColor(TColor value) {
    m_borderColor = value;
    Repaint();
}

void TsuiEdit::Notification(TComponent* component, TOperation operation) {
    TCustomEdit::Notification(component, operation);
    if (m_look.FileThemeRemoved(component, operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TsuiEdit::DrawFrame() {
    DrawControlBorder(this, m_borderColor, Color(), true);
}

void TsuiEdit::WMPaint(TMessage& message) {
    auto alive = AliveToken();
    TCustomEdit::WMPaint(message);
    if (!alive.expired()) {
        DrawFrame();
    }
}

void TsuiEdit::WMEraseBkgnd(TMessage& message) {
    auto alive = AliveToken();
    TCustomEdit::WMEraseBkgnd(message);
    if (!alive.expired()) {
        DrawFrame();
    }
}

void TsuiEdit::WMNCPaint(TMessage& message) {
    // The band is filled with the edit's colour first; the frame goes over it at once, so that
    // it never waits for the next paint of the text.
    auto alive = AliveToken();
    TCustomEdit::WMNCPaint(message);
    if (!alive.expired()) {
        DrawFrame();
    }
}
