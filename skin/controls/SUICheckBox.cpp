#include "skin/controls/SUICheckBox.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"

#include <algorithm>
#include <utility>

VARNEL_CLASS_INFO(TsuiCheckBox, [](auto& c) {
    c.Enum("UIStyle", UIStyleInfo, &TsuiCheckBox::UIStyle, &TsuiCheckBox::SetUIStyle);
    c.Component("FileTheme", &TsuiCheckBox::FileTheme, &TsuiCheckBox::SetFileTheme);
    for (const char* name : {"BiDiMode", "Anchors", "PopupMenu", "ShowHint", "Visible", "ParentShowHint",
                             "ParentBiDiMode", "ParentFont"}) {
        c.Publish(name);
    }
    c.Bool("AutoSize", &TsuiCheckBox::AutoSize, &TsuiCheckBox::SetAutoSize);
    c.Bool("Checked", &TsuiCheckBox::Checked, &TsuiCheckBox::SetChecked);
    for (const char* name : {"Caption", "Enabled", "Font"}) {
        c.Publish(name);
    }
    c.Publish("Color").Default(clWindow);
    c.Publish("TabOrder");
    // Stored whenever it is true, which it is from the start.
    c.Publish("TabStop").Default(false);
    c.Publish("ParentColor");
    c.Enum("State", CheckBoxStateInfo, &TsuiCheckBox::State, &TsuiCheckBox::SetState);
    c.Bool("Transparent", &TsuiCheckBox::Transparent, &TsuiCheckBox::SetTransparent);
    c.Event("OnClick", &TsuiCheckBox::OnClick);
    // The toolkit has no dragging, docking or input methods: those events are left out.
    for (const char* name : {"OnDblClick", "OnMouseMove", "OnMouseDown", "OnMouseUp", "OnKeyDown", "OnKeyUp",
                             "OnKeyPress", "OnContextPopup", "OnEnter", "OnExit"}) {
        c.Publish(name);
    }
})

TsuiCheckBox::TsuiCheckBox(TComponent* owner) : TCustomControl(owner), m_look(this, GetOwnerUIStyle(owner)) {
    // A double click is two clicks, so it toggles twice.
    SetControlStyle(ControlStyle() - TControlStyle{csDoubleClicks});
    SetBounds(Left(), Top(), 93, 17);
    SetTabStop(true);
    ApplyAutoSize();
}

TsuiCheckBox::~TsuiCheckBox() = default;

// ---- Properties -------------------------------------------------------------------------------------------

void TsuiCheckBox::SetChecked(bool value) {
    if (value == m_checked) {
        return;
    }
    m_checked = value;
    Repaint();
    NotifyClick();
}

void TsuiCheckBox::SetUIStyle(TsuiUIStyle value) {
    m_look.SetUIStyle(value);
    ApplyAutoSize();
    Repaint();
}

void TsuiCheckBox::SetFileTheme(TsuiFileTheme* value) {
    m_look.SetFileTheme(value);
    SetUIStyle(m_look.UIStyle());
}

void TsuiCheckBox::SetTransparent(bool value) {
    m_transparent = value;
    Repaint();
}

void TsuiCheckBox::SetAutoSize(bool value) {
    m_autoSize = value;
    ApplyAutoSize();
    Repaint();
}

void TsuiCheckBox::SetEnabled(bool value) {
    TCustomControl::SetEnabled(value);
    Repaint();
}

void TsuiCheckBox::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (m_look.FileThemeRemoved(component, operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TsuiCheckBox::Loaded() {
    TCustomControl::Loaded();
    ApplyAutoSize();
}

// ---- Size ---------------------------------------------------------------------------------------------

void TsuiCheckBox::LoadBox(TBitmap* box) {
    const int slice = Enabled() ? (m_checked ? 1 : 2) : (m_checked ? 3 : 4);
    m_look.GetBitmap(BoxElement(), box, slice, 4);
}

TSize TsuiCheckBox::AutoSizeExtent() {
    TBitmap box;
    LoadBox(&box);
    TBitmap measure;
    measure.Canvas()->SetFont(Font());
    const int th = measure.Canvas()->TextHeight("W");
    return {box.Width() + measure.Canvas()->TextWidth(Caption()) + 8, std::max(th + 2, box.Height()) + 4};
}

void TsuiCheckBox::ApplyAutoSize() {
    if (!m_autoSize) {
        return;
    }
    const TSize size = AutoSizeExtent();
    SetHeight(size.cy);
    SetWidth(size.cx);
}

// ---- Clicks and keys -------------------------------------------------------------------------------------

void TsuiCheckBox::NotifyClick() {
    if (OnClick && !IsLoading()) {
        OnClick(this);
    }
}

void TsuiCheckBox::Toggle() {
    BeforeToggle();
    SetChecked(!m_checked);
}

void TsuiCheckBox::Click() {
    auto alive = AliveToken();
    if (CanFocus() && Enabled()) {
        SetFocus();
        if (alive.expired()) {
            return;
        }
    }
    Toggle();
    if (!alive.expired()) {
        TCustomControl::Click();
    }
}

namespace {

bool IsToggleKey(WPARAM key) {
    return key == VK_SPACE || key == VK_RETURN;
}

} // namespace

void TsuiCheckBox::WMKeyDown(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::WMKeyDown(message);
    if (!alive.expired() && IsToggleKey(message.WParam) && Focused() && Enabled()) {
        m_keyDown = true;
    }
}

void TsuiCheckBox::WMKeyUp(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::WMKeyUp(message);
    if (alive.expired() || !IsToggleKey(message.WParam)) {
        return;
    }
    // A release whose key went down elsewhere (before the focus came here) toggles nothing.
    const bool wentDownHere = std::exchange(m_keyDown, false);
    if (wentDownHere && ToggleOnKeyUp() && Focused() && Enabled()) {
        Repaint();
        Click();
    }
}

void TsuiCheckBox::CMDialogChar(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::CMDialogChar(message);
    if (alive.expired() || message.Result != 0) {
        return;
    }
    message.Result = 0;
    // A hidden or disabled box has no access key.
    if (!IsAccel(static_cast<char32_t>(message.WParam), Caption()) || !Enabled() || !Showing()) {
        return;
    }
    message.Result = 1;
    if (CanFocus()) {
        SetFocus();
        if (alive.expired()) {
            return;
        }
    }
    Click();
}

void TsuiCheckBox::WMSetFocus(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::WMSetFocus(message);
    if (!alive.expired()) {
        Repaint();
    }
}

void TsuiCheckBox::WMKillFocus(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::WMKillFocus(message);
    if (!alive.expired()) {
        m_keyDown = false;
        Repaint();
    }
}

void TsuiCheckBox::CMFocusChanged(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::CMFocusChanged(message);
    if (!alive.expired()) {
        Repaint();
    }
}

void TsuiCheckBox::CMFontChanged(TMessage& message) {
    TCustomControl::CMFontChanged(message);
    ApplyAutoSize();
    Repaint();
}

void TsuiCheckBox::CMTextChanged(TMessage& message) {
    TCustomControl::CMTextChanged(message);
    ApplyAutoSize();
    Repaint();
}

// ---- Painting ---------------------------------------------------------------------------------------------

void TsuiCheckBox::WMEraseBkgnd(TMessage& message) {
    message.Result = 1;
}

void TsuiCheckBox::Paint() {
    TBitmap box;
    LoadBox(&box);
    box.SetTransparent(BoxTransparent());
    TBitmap buffer;
    buffer.SetSize(Width(), Height());
    TCanvas* canvas = buffer.Canvas();
    canvas->SetFont(Font());
    const TRect client = ClientRect();
    DrawControlGround(canvas, this, m_transparent);
    if (!box.Empty()) {
        canvas->Draw(1, (client.Height() - box.Height()) / 2, &box);
    }
    const int th = canvas->TextHeight("W");
    const int tx = box.Width() + 4;
    const int ty = (client.Height() - th) / 2;
    // The caption keeps the font's colour also when the box is disabled.
    canvas->Brush()->SetStyle(bsClear);
    TRect textRect{tx, ty, Width(), Height()};
    ::DrawText(canvas->Handle(), Caption(), &textRect, DT_SINGLELINE);
    if (NeedDrawFocus()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->DrawFocusRect({tx - 1, ty, Width(), ty + th + 2});
    }
    Canvas()->Draw(0, 0, &buffer);
}
