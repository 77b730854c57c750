#pragma once

// The skinned push buttons' common part. TsuiCustomButton is the button itself: the state machine (mouse
// over, pressed by the mouse or by Space and Enter, disabled, focused), press-and-hold repeat,
// dialog keys and access keys, ModalResult, and the off-screen paint pipeline. Its subclasses
// only say where the state pictures come from and how the picture, the caption and the focus
// mark are painted: TsuiButton (SUIButton.h), TsuiImageButton (SUIImageButton.h) and
// TSuiArrowButton (SUIArrowButton.h).

#include "skin/controls/SUIControlLook.h"
#include "toolkit/controls/CustomControl.h"

#include <cstdint>
#include <memory>
#include <string>

class TBitmap;
class TTimer;

class TsuiCustomButton : public TCustomControl {
    VARNEL_CLASS(TsuiCustomButton, TCustomControl)

public:
    explicit TsuiCustomButton(TComponent* owner);
    ~TsuiCustomButton() override;

    // The text drawn on the button. It is the button's own, apart from the toolkit's window text,
    // so that the skin always paints what the layout stored; a change of the window text (or of
    // an action's caption) is copied into it.
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& value);
    // Fits the size to the look's button image when set (see ApplyAutoSize).
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value) override;
    // Escape clicks a Cancel button, Enter a Default one.
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool value) { m_cancel = value; }
    bool Default() const { return m_default; }
    void SetDefault(bool value);
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    // Written to the parent form on every click, 0 included.
    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult value) { m_modalResult = value; }
    virtual TsuiUIStyle UIStyle() const { return m_look.UIStyle(); }
    void SetUIStyle(TsuiUIStyle value);
    TsuiFileTheme* FileTheme() const { return m_look.FileTheme(); }
    void SetFileTheme(TsuiFileTheme* value);
    // Draw the caption bold at the next paint of the caption (the focus mark of some looks).
    bool BoldCaption() const { return m_boldCaption; }
    void SetBoldCaption(bool value) { m_boldCaption = value; }
    // Draw the state picture see-through; follows Transparent.
    bool BitmapTransparent() const { return m_bitmapTransparent; }
    void SetBitmapTransparent(bool value) { m_bitmapTransparent = value; }
    // The period of OnMouseContinuouslyDown while the left button is held, in milliseconds; read
    // at each press. 0 or less: no repeats.
    int MouseContinuouslyDownInterval() const { return m_repeatInterval; }
    void SetMouseContinuouslyDownInterval(int value) { m_repeatInterval = value; }
    // Inset of the focus rectangle in pixels.
    int FocusedRectMargin() const { return m_focusedRectMargin; }
    void SetFocusedRectMargin(int value);
    void SetEnabled(bool value) override;

    // The visual state. Enabled overrides both.
    bool MouseOver() const { return m_mouseOver; }
    bool Pressed() const { return m_pressed; }
    // Whether the repeat timer is running (from a left-button press until the press ends).
    bool Repeating() const;

    // Clicks the button as a mouse release inside it would.
    void Click() override;

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TNotifyEvent OnMouseContinuouslyDown;

protected:
    // ---- What subclasses change ----
    virtual void ApplyAutoSize();
    virtual void CaptionChanged() {}
    virtual void FontChanged();
    virtual void TransparentChanged();
    virtual void EnabledChanged() {}
    virtual void UIStyleChanged() {}
    // Paint steps on the off-screen canvas.
    virtual void PaintButtonBitmap(TCanvas* canvas, TBitmap* bitmap);
    virtual void PaintCaption(TCanvas* canvas, const std::string& text);
    virtual void PaintFocus(TCanvas* canvas);
    // The state pictures; false when the picture could not be had (the paint then goes on with a
    // blank one). An empty bitmap is simply not drawn.
    virtual bool GetNormalBitmap(TBitmap* bitmap);
    virtual bool GetMouseOnBitmap(TBitmap* bitmap);
    virtual bool GetMouseDownBitmap(TBitmap* bitmap);
    virtual bool GetDisabledBitmap(TBitmap* bitmap);
    // Slice k (1 normal, 2 mouse over, 3 pressed) of the look's button image.
    void LoadStateBitmap(int k, TBitmap* bitmap) const;
    // The face of the look's buttons: the state picture over the whole client area with its
    // corners kept (nothing for an empty picture).
    void DrawFace(TCanvas* canvas, const TBitmap* bitmap);
    // Transparent as the look's ButtonTransparentBool says.
    void TakeTransparentFromLook();
    const TsuiControlLook& Look() const { return m_look; }
    // The look as stored, which the subclasses' own UIStyle getters may hide.
    TsuiUIStyle StoredUIStyle() const { return m_look.UIStyle(); }
    // Whether a point of the client area lies on the button, its right and bottom edge lines
    // included.
    bool InButton(int x, int y) const { return x >= 0 && y >= 0 && x <= Width() && y <= Height(); }

    // ---- Toolkit overrides ----
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void ActionChange(TBasicAction* sender, bool checkDefaults) override;
    void Dispatch(TMessage& message) override;
    void WMLButtonUp(TMessage& message) override;
    void WMCancelMode(TMessage& message) override;
    void WMEraseBkgnd(TMessage& message) override;
    void WMKeyDown(TMessage& message) override;
    void WMKeyUp(TMessage& message) override;
    void WMSetFocus(TMessage& message) override;
    void WMKillFocus(TMessage& message) override;
    void CMMouseEnter(TMessage& message) override;
    void CMMouseLeave(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMDialogKey(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    void CMFocusChanged(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void CMShowingChanged(TMessage& message) override;
    void WMCaptureChanged(TMessage& message);

private:
    // Sets the visual state and repaints when it changed.
    void SetState(bool mouseOver, bool pressed);
    void StartRepeat();
    void StopRepeat();
    // Ends a press: no more repeats, and the button shows released.
    void EndPress();
    void FireRepeat();

    TsuiControlLook m_look;
    std::string m_caption;
    bool m_autoSize = false;
    bool m_cancel = false;
    bool m_default = false;
    bool m_transparent = false;
    TModalResult m_modalResult = mrNone;
    bool m_boldCaption = false;
    bool m_bitmapTransparent = false;
    int m_repeatInterval = 100;  // milliseconds
    int m_focusedRectMargin = 2; // pixels
    bool m_mouseOver = false;
    bool m_pressed = false;
    bool m_pressedByKey = false; // Pressed came from Space or Enter going down
    // Made on the first press and kept; enabled only while a press lasts.
    std::unique_ptr<TTimer> m_repeatTimer;
};
