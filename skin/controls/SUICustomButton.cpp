#include "skin/controls/SUICustomButton.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "toolkit/components/SysUtils.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/Timer.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/graphics/ImageList.h"

#include <algorithm>

// TsuiCustomButton, in sections: published properties; life and properties; the press and its
// repeat timer; mouse; keys and access keys; painting.

VARNEL_CLASS_INFO(TsuiCustomButton, [](auto& c) {
    // Declared for the subclasses, which publish them in their own order.
    c.Component("FileTheme", &TsuiCustomButton::FileTheme, &TsuiCustomButton::SetFileTheme).Unpublished();
    c.Enum("UIStyle", UIStyleInfo, &TsuiCustomButton::UIStyle, &TsuiCustomButton::SetUIStyle).Unpublished();
    c.Bool("Cancel", &TsuiCustomButton::Cancel, &TsuiCustomButton::SetCancel).Default(false).Unpublished();
    c.Bool("Default", &TsuiCustomButton::Default, &TsuiCustomButton::SetDefault).Default(false).Unpublished();
    c.Bool("Transparent", &TsuiCustomButton::Transparent, &TsuiCustomButton::SetTransparent).Unpublished();
    c.Int("ModalResult", &TsuiCustomButton::ModalResult, &TsuiCustomButton::SetModalResult).Unpublished();
    c.Int("FocusedRectMargin", &TsuiCustomButton::FocusedRectMargin, &TsuiCustomButton::SetFocusedRectMargin)
        .Unpublished();
    c.Int("MouseContinuouslyDownInterval", &TsuiCustomButton::MouseContinuouslyDownInterval,
          &TsuiCustomButton::SetMouseContinuouslyDownInterval)
        .Unpublished();
    c.Event("OnMouseEnter", &TsuiCustomButton::OnMouseEnter).Unpublished();
    c.Event("OnMouseExit", &TsuiCustomButton::OnMouseExit).Unpublished();
    c.Event("OnMouseContinuouslyDown", &TsuiCustomButton::OnMouseContinuouslyDown).Unpublished();
    for (const char* name : {"BiDiMode", "Anchors", "ParentColor", "Font", "PopupMenu", "ShowHint"}) {
        c.Publish(name);
    }
    c.String("Caption", &TsuiCustomButton::Caption, &TsuiCustomButton::SetCaption);
    c.Bool("AutoSize", &TsuiCustomButton::AutoSize, &TsuiCustomButton::SetAutoSize);
    for (const char* name : {"Visible", "ParentShowHint", "ParentBiDiMode", "ParentFont"}) {
        c.Publish(name);
    }
    c.Publish("TabStop").Default(true);
    c.Publish("OnEnter");
    c.Publish("OnExit");
})

// ---- Life and properties --------------------------------------------------------------------------------

TsuiCustomButton::TsuiCustomButton(TComponent* owner)
    : TCustomControl(owner), m_look(this, GetOwnerUIStyle(owner)) {
    // A double click is two clicks.
    SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls, csDoubleClicks});
    TControl::SetText("");
    TWinControl::SetTabStop(true);
}

TsuiCustomButton::~TsuiCustomButton() {
    Destroying();
    // The timer goes first: no tick may reach a button that is going.
    m_repeatTimer.reset();
}

void TsuiCustomButton::SetCaption(const std::string& value) {
    m_caption = value;
    CaptionChanged();
    Repaint();
}

void TsuiCustomButton::SetAutoSize(bool value) {
    m_autoSize = value;
    ApplyAutoSize();
    Repaint();
}

void TsuiCustomButton::SetDefault(bool value) {
    m_default = value;
    // The form looks again for the button that Enter clicks.
    TCustomForm* form = GetParentForm(this);
    if (HandleAllocated() && form) {
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
    }
}

void TsuiCustomButton::SetTransparent(bool value) {
    m_transparent = value;
    TransparentChanged();
    Repaint();
}

void TsuiCustomButton::SetUIStyle(TsuiUIStyle value) {
    // No early return: assigning the same look reads it again (a theme file may have changed).
    m_look.SetUIStyle(value);
    UIStyleChanged();
    Repaint();
}

void TsuiCustomButton::SetFileTheme(TsuiFileTheme* value) {
    m_look.SetFileTheme(value);
    SetUIStyle(StoredUIStyle());
}

void TsuiCustomButton::SetFocusedRectMargin(int value) {
    m_focusedRectMargin = value;
    Repaint();
}

void TsuiCustomButton::SetEnabled(bool value) {
    if (!value) {
        EndPress();
    }
    TCustomControl::SetEnabled(value);
    EnabledChanged();
    Repaint();
}

void TsuiCustomButton::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (m_look.FileThemeRemoved(component, operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TsuiCustomButton::ApplyAutoSize() {
    if (!m_autoSize) {
        return;
    }
    // The built-in image of the stored look only; a look read from a file has none here.
    TBitmap image;
    GetBuiltInThemeBitmap(StoredUIStyle(), TsuiThemeElement::ButtonImage, &image);
    const int width = image.Width() == 0 ? 74 : image.Width();
    const int height = image.Height() == 0 ? 21 : image.Height();
    SetHeight(height);
    SetWidth(width / 3);
}

void TsuiCustomButton::FontChanged() {
    Canvas()->SetFont(Font());
    Repaint();
}

void TsuiCustomButton::TransparentChanged() {
    m_bitmapTransparent = m_transparent;
    Repaint();
}

void TsuiCustomButton::ActionChange(TBasicAction* sender, bool checkDefaults) {
    TCustomControl::ActionChange(sender, checkDefaults);
    SetCaption(TControl::Text());
}

// ---- The press and its repeat timer ---------------------------------------------------------------------

bool TsuiCustomButton::Repeating() const {
    return m_repeatTimer && m_repeatTimer->Enabled();
}

void TsuiCustomButton::SetState(bool mouseOver, bool pressed) {
    if (mouseOver == m_mouseOver && pressed == m_pressed) {
        return;
    }
    m_mouseOver = mouseOver;
    m_pressed = pressed;
    if (!pressed) {
        m_pressedByKey = false;
    }
    Repaint();
}

void TsuiCustomButton::StartRepeat() {
    if (!m_repeatTimer) {
        m_repeatTimer = std::make_unique<TTimer>(nullptr);
        m_repeatTimer->SetEnabled(false);
        m_repeatTimer->OnTimer = [this](TObject*) { FireRepeat(); };
    }
    // Restarted, so the first repeat comes one whole interval after this press.
    m_repeatTimer->SetEnabled(false);
    m_repeatTimer->SetInterval(std::max(m_repeatInterval, 0));
    m_repeatTimer->SetEnabled(true);
}

void TsuiCustomButton::StopRepeat() {
    if (m_repeatTimer) {
        m_repeatTimer->SetEnabled(false);
    }
}

void TsuiCustomButton::EndPress() {
    StopRepeat();
    SetState(m_mouseOver, false);
}

void TsuiCustomButton::FireRepeat() {
    // A container disabled meanwhile (a spin edit by its own OnChange) tells its children
    // nothing: the press ends here rather than stepping on.
    for (const TControl* c = this; c; c = c->Parent()) {
        if (!c->Enabled()) {
            EndPress();
            return;
        }
    }
    // Nothing touches the button after the handler: it may have freed it.
    if (OnMouseContinuouslyDown && !IsLoading()) {
        OnMouseContinuouslyDown(this);
    }
}

void TsuiCustomButton::Click() {
    auto alive = AliveToken();
    StopRepeat();
    SetState(m_mouseOver, false);
    if (TabStop() && CanFocus() && Enabled()) {
        SetFocus();
        if (alive.expired()) {
            return;
        }
    }
    if (Parent()) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->SetModalResult(m_modalResult);
        }
    }
    TCustomControl::Click();
}

// ---- Mouse --------------------------------------------------------------------------------------------

void TsuiCustomButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        StartRepeat();
        m_pressedByKey = false;
        SetState(m_mouseOver, true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TsuiCustomButton::MouseMove(TShiftState shift, int x, int y) {
    auto alive = AliveToken();
    TCustomControl::MouseMove(shift, x, y);
    if (!alive.expired() && !InButton(x, y)) {
        SetState(false, false);
    }
}

void TsuiCustomButton::WMLButtonUp(TMessage& message) {
    // Every release ends the press, inside or outside; only one inside clicks.
    auto alive = AliveToken();
    EndPress();
    if (!alive.expired()) {
        TCustomControl::WMLButtonUp(message);
    }
}

void TsuiCustomButton::WMCancelMode(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::WMCancelMode(message);
    if (!alive.expired()) {
        EndPress();
    }
}

void TsuiCustomButton::WMCaptureChanged(TMessage& message) {
    DefaultHandler(message);
    // The capture went elsewhere while the left button was still down on the button (a window
    // that opened meanwhile took it): the press is over, and no later release may click.
    if (ControlState().Contains(csLButtonDown)) {
        SetControlState(ControlState() - TControlState{csClicked, csLButtonDown});
        EndPress();
    }
}

void TsuiCustomButton::CMMouseEnter(TMessage& message) {
    TCustomControl::CMMouseEnter(message);
    if (IsDesigning()) {
        return;
    }
    auto alive = AliveToken();
    SetState(true, m_pressed);
    if (!alive.expired() && OnMouseEnter && !IsLoading()) {
        OnMouseEnter(this);
    }
}

void TsuiCustomButton::CMMouseLeave(TMessage& message) {
    TCustomControl::CMMouseLeave(message);
    auto alive = AliveToken();
    StopRepeat();
    SetState(false, false);
    if (!alive.expired() && OnMouseExit && !IsLoading()) {
        OnMouseExit(this);
    }
}

void TsuiCustomButton::CMShowingChanged(TMessage& message) {
    TCustomControl::CMShowingChanged(message);
    if (!Showing()) {
        EndPress();
    }
}

// ---- Keys and access keys ------------------------------------------------------------------------------

namespace {

bool IsPressKey(WPARAM key) {
    return key == VK_SPACE || key == VK_RETURN;
}

} // namespace

void TsuiCustomButton::Dispatch(TMessage& message) {
    if (message.Msg == WM_CAPTURECHANGED) {
        WMCaptureChanged(message);
        return;
    }
    TCustomControl::Dispatch(message);
}

void TsuiCustomButton::WMKeyDown(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::WMKeyDown(message);
    // A key that OnKeyDown took (zeroed) presses nothing; held, it only repeats this.
    if (!alive.expired() && IsPressKey(message.WParam) && Focused() && Enabled()) {
        SetState(m_mouseOver, true);
        m_pressedByKey = true;
    }
}

void TsuiCustomButton::WMKeyUp(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::WMKeyUp(message);
    if (!alive.expired() && IsPressKey(message.WParam) && Focused() && m_pressed && Enabled()) {
        SetState(m_mouseOver, false);
        if (!alive.expired()) {
            Click();
        }
    }
}

void TsuiCustomButton::CMDialogKey(TMessage& message) {
    const auto key = message.WParam;
    if (((key == VK_RETURN && m_default) || (key == VK_ESCAPE && m_cancel)) &&
        KeyDataToShiftState(message.LParam).Empty() && CanFocus()) {
        Click();
        message.Result = 1;
        return;
    }
    TCustomControl::CMDialogKey(message);
}

void TsuiCustomButton::CMDialogChar(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::CMDialogChar(message);
    if (alive.expired() || message.Result != 0) {
        return;
    }
    // A hidden or disabled button has no access key.
    if (IsAccel(static_cast<char32_t>(message.WParam), m_caption) && Enabled() && Showing()) {
        message.Result = 1;
        Click();
        return;
    }
    message.Result = 0;
}

void TsuiCustomButton::WMSetFocus(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::WMSetFocus(message);
    if (!alive.expired()) {
        Repaint();
    }
}

void TsuiCustomButton::WMKillFocus(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::WMKillFocus(message);
    if (alive.expired()) {
        return;
    }
    // Space held while the focus moves away: the key's release will not reach this button.
    if (m_pressedByKey) {
        SetState(m_mouseOver, false);
    }
    Repaint();
}

void TsuiCustomButton::CMFocusChanged(TMessage& message) {
    auto alive = AliveToken();
    TCustomControl::CMFocusChanged(message);
    if (!alive.expired()) {
        Repaint();
    }
}

void TsuiCustomButton::CMFontChanged(TMessage& message) {
    TCustomControl::CMFontChanged(message);
    FontChanged();
}

void TsuiCustomButton::CMTextChanged(TMessage& message) {
    TCustomControl::CMTextChanged(message);
    SetCaption(TControl::Text());
}

// ---- Painting ---------------------------------------------------------------------------------------------

void TsuiCustomButton::LoadStateBitmap(int k, TBitmap* bitmap) const {
    m_look.GetBitmap(TsuiThemeElement::ButtonImage, bitmap, k, 3);
}

void TsuiCustomButton::DrawFace(TCanvas* canvas, const TBitmap* bitmap) {
    if (!bitmap->Empty()) {
        DrawBitmapKeepCorners(bitmap, canvas, ClientRect(), m_bitmapTransparent);
    }
}

void TsuiCustomButton::TakeTransparentFromLook() {
    SetTransparent(m_look.GetBool(TsuiThemeElement::ButtonTransparentBool));
}

bool TsuiCustomButton::GetNormalBitmap(TBitmap* bitmap) {
    LoadStateBitmap(1, bitmap);
    return true;
}

bool TsuiCustomButton::GetMouseOnBitmap(TBitmap* bitmap) {
    LoadStateBitmap(2, bitmap);
    return true;
}

bool TsuiCustomButton::GetMouseDownBitmap(TBitmap* bitmap) {
    LoadStateBitmap(3, bitmap);
    return true;
}

bool TsuiCustomButton::GetDisabledBitmap(TBitmap* bitmap) {
    // The disabled look comes from the caption.
    LoadStateBitmap(1, bitmap);
    return true;
}

void TsuiCustomButton::WMEraseBkgnd(TMessage& message) {
    // Paint covers everything, from one off-screen picture.
    message.Result = 1;
}

void TsuiCustomButton::Paint() {
    TBitmap state;
    bool fetched = true;
    if (!Enabled()) {
        fetched = GetDisabledBitmap(&state);
    } else if (m_pressed) {
        fetched = GetMouseDownBitmap(&state);
    } else if (m_mouseOver) {
        fetched = GetMouseOnBitmap(&state);
    } else {
        fetched = GetNormalBitmap(&state);
    }
    if (!fetched) {
        // A blank face of the usual size, so the caption and focus mark still show.
        state.Canvas()->Brush()->SetColor(Color());
        state.SetSize(74, 21);
        state.Canvas()->FillRect({0, 0, 74, 21});
    }
    state.SetTransparent(m_bitmapTransparent);

    TBitmap buffer;
    buffer.SetSize(Width(), Height());
    TCanvas* canvas = buffer.Canvas();
    const TRect client = ClientRect();
    DrawControlGround(canvas, this, m_transparent);
    PaintButtonBitmap(canvas, &state);
    if (Focused() && TabStop()) {
        canvas->Brush()->SetStyle(bsSolid);
        PaintFocus(canvas);
    }
    canvas->SetFont(Font());
    Canvas()->SetFont(Font());
    if (!Trim(m_caption).empty()) {
        PaintCaption(canvas, m_caption);
    }
    // Bold is a mark of this paint only.
    m_boldCaption = false;
    Canvas()->CopyRect(client, canvas, client);
}

void TsuiCustomButton::PaintButtonBitmap(TCanvas* canvas, TBitmap* bitmap) {
    if (bitmap->Width() == 0 || bitmap->Height() == 0) {
        return;
    }
    TImageList images(bitmap->Width(), bitmap->Height());
    if (m_bitmapTransparent) {
        images.AddMasked(bitmap, bitmap->Canvas()->Pixels(0, 0));
    } else {
        images.Add(bitmap, nullptr);
    }
    images.Draw(canvas, 0, 0, 0, Enabled());
}

void TsuiCustomButton::PaintCaption(TCanvas* canvas, const std::string& text) {
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    if (m_boldCaption) {
        canvas->Font()->SetStyle(canvas->Font()->Style() + TFontStyles{fsBold});
    }
    TRect rect = ClientRect();
    constexpr unsigned kFormat = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    if (!Enabled()) {
        TRect shadow = rect.Offset(1, 1);
        canvas->Font()->SetColor(static_cast<TColor>(0xFFFFFF));
        ::DrawText(canvas->Handle(), text, &shadow, kFormat);
        canvas->Font()->SetColor(static_cast<TColor>(0x808080));
    } else if (m_pressed) {
        rect = rect.Offset(1, 1);
    }
    ::DrawText(canvas->Handle(), text, &rect, kFormat);
    m_boldCaption = false;
}

void TsuiCustomButton::PaintFocus(TCanvas* canvas) {
    const int m = m_focusedRectMargin;
    canvas->DrawFocusRect({m, m, ClientWidth() - m, ClientHeight() - m});
}
