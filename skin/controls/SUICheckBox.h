#pragma once

// TsuiCheckBox: the look's box picture followed by the caption on one line. Its OnClick fires
// after Checked has changed, for changes by the user and by the program alike, never while the
// window is being loaded, and not at all when the value stays the same: the key-set rules of
// the program's main window are built on exactly that.

#include "skin/controls/SUIControlLook.h"
#include "toolkit/controls/CustomControl.h"

class TBitmap;

class TsuiCheckBox : public TCustomControl {
    VARNEL_CLASS(TsuiCheckBox, TCustomControl)

public:
    explicit TsuiCheckBox(TComponent* owner);
    ~TsuiCheckBox() override;

    bool Checked() const { return m_checked; }
    // A new value is stored, shown and then announced (OnClick); the same value does nothing.
    void SetChecked(bool value);
    // A view of Checked: never reads cbGrayed, and writing it unchecks.
    TCheckBoxState State() const { return m_checked ? cbChecked : cbUnchecked; }
    void SetState(TCheckBoxState value) { SetChecked(value == cbChecked); }
    TsuiUIStyle UIStyle() const { return m_look.UIStyle(); }
    void SetUIStyle(TsuiUIStyle value);
    TsuiFileTheme* FileTheme() const { return m_look.FileTheme(); }
    void SetFileTheme(TsuiFileTheme* value);
    // Paint the parent's background behind the box and caption instead of Color.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool value);
    // Fit width and height to the box and the caption (recomputed whenever one of them changes).
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value) override;
    void SetEnabled(bool value) override;

    // The size AutoSize gives: max(text height of "W" + 2, box height) + 4 high, box width +
    // caption width + 8 wide.
    TSize AutoSizeExtent();

    // Clicks the box as a mouse release on it would: focus, toggle, OnClick.
    void Click() override;

    // The check box's own click event; it replaces the toolkit's under the same name.
    TNotifyEvent OnClick;

protected:
    // ---- What a subclass may change ----
    virtual bool NeedDrawFocus() { return TabStop() && Focused(); }
    virtual bool BoxTransparent() { return false; }
    virtual TsuiThemeElement BoxElement() { return TsuiThemeElement::CheckBoxImage; }
    virtual void NotifyClick();
    virtual void BeforeToggle() {}
    virtual void Toggle();
    virtual bool ToggleOnKeyUp() { return true; }

    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    void WMEraseBkgnd(TMessage& message) override;
    void WMKeyDown(TMessage& message) override;
    void WMKeyUp(TMessage& message) override;
    void WMSetFocus(TMessage& message) override;
    void WMKillFocus(TMessage& message) override;
    void CMDialogChar(TMessage& message) override;
    void CMFocusChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;

private:
    // The box picture for the current state: slice 1 checked, 2 unchecked, 3 and 4 the same
    // disabled.
    void LoadBox(TBitmap* box);
    void ApplyAutoSize();

    TsuiControlLook m_look;
    bool m_checked = false;
    bool m_transparent = false;
    bool m_autoSize = true;
    // Space or Enter went down while the box had the focus; only then does its release click.
    bool m_keyDown = false;
};
