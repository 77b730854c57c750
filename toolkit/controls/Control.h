#pragma once

#include "toolkit/components/Component.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/controls/SizeConstraints.h"
#include "toolkit/graphics/Font.h"

#include <memory>
#include <string>

class TWinControl;
class TBasicAction;
class TControlActionLink;

// Anything placed on a window: bounds, alignment and anchors, visibility and enabled state, the
// parent, font and colour (each possibly taken from the parent), caption, cursor, hint, control
// style, and the mouse. A control's messages go through WndProc, which routes each to a small
// named handler (Dispatch), and what no handler takes reaches DefaultHandler.
//
// Setters return early when nothing changes; otherwise they store, repaint and then notify. No
// event fires while the control is being loaded from a layout (csLoading). A handler may free the
// control that fired it: code after an event checks AliveToken before touching the control again.
class TControl : public TComponent {
    VARNEL_CLASS(TControl, TComponent)

public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // ---- Geometry: in the parent's client coordinates ----
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetLeft(int value) { SetBounds(value, m_top, m_width, m_height); }
    void SetTop(int value) { SetBounds(m_left, value, m_width, m_height); }
    void SetWidth(int value) { SetBounds(m_left, m_top, value, m_height); }
    void SetHeight(int value) { SetBounds(m_left, m_top, m_width, value); }
    // Moves and sizes at once. The size is first brought within the constraints and offered to
    // CanResize; a size that is refused leaves the old one.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(m_left, m_top, m_width, m_height); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The area inside the control, (0, 0) at its top-left.
    virtual TRect ClientRect() const { return {0, 0, m_width, m_height}; }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    // Sizes the control so that its client area has this size.
    void SetClientWidth(int value);
    void SetClientHeight(int value);
    void SetClientSize(int width, int height);
    // Screen position of the client area's top-left corner.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign value);
    TAnchors Anchors() const { return m_anchors; }
    void SetAnchors(TAnchors value);
    TSizeConstraints* Constraints() const { return m_constraints.get(); }
    void SetConstraints(const TSizeConstraints* value) { m_constraints->Assign(value); }
    bool AutoSize() const { return m_autoSize; }
    virtual void SetAutoSize(bool value);

    // ---- State ----
    bool Visible() const { return m_visible; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return m_enabled; }
    virtual void SetEnabled(bool value);
    TWinControl* Parent() const { return m_parent; }
    // Moves the control into another parent's children (last in z-order), or out of any.
    virtual void SetParent(TWinControl* parent);
    bool HasParent() const override { return m_parent != nullptr; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

    // ---- Looks ----
    TFont* Font() const { return m_font.get(); }
    void SetFont(const TFont* value) { m_font->Assign(value); }
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool value);
    // Caption and Text are the same string; every change is announced with CM_TEXTCHANGED.
    // A control that keeps its text elsewhere (an edit's buffer) answers both itself.
    const std::string& Caption() const { return Text(); }
    void SetCaption(const std::string& value) { SetText(value); }
    virtual const std::string& Text() const { return m_text; }
    virtual void SetText(const std::string& value);
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor value);
    const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& value) { m_hint = value; }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return m_parentShowHint; }
    void SetParentShowHint(bool value);
    TBiDiMode BiDiMode() const { return m_biDiMode; }
    void SetBiDiMode(TBiDiMode value) { m_biDiMode = value; }
    bool ParentBiDiMode() const { return m_parentBiDiMode; }
    void SetParentBiDiMode(bool value) { m_parentBiDiMode = value; }
    // The popup menu (a component of the menus layer), or none. Freed menus drop out.
    TComponent* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(TComponent* value);

    TControlStyle ControlStyle() const { return m_controlStyle; }
    void SetControlStyle(TControlStyle value) { m_controlStyle = value; }
    TControlState ControlState() const { return m_controlState; }
    void SetControlState(TControlState value) { m_controlState = value; }

    // The action the control acts for, or none; its caption, enabled state, hint and visibility
    // follow the action's, and a click runs the action unless OnClick is assigned.
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TControlActionLink* ActionLink() const { return m_actionLink.get(); }

    // Holds the mouse while a button is down on it, so moves and the release come here even
    // outside.
    bool MouseCapture() const;
    void SetMouseCapture(bool value);

    // ---- Messages ----
    // Sends a message straight to the control's WndProc (not through a window procedure).
    LRESULT Perform(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);
    // Calls the named handler of the message, or DefaultHandler.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);

    // ---- Painting ----
    // Marks the control for painting at the next chance.
    virtual void Invalidate();
    // Paints what is marked now.
    virtual void Update();
    // Paints the control now.
    virtual void Repaint();
    void Refresh() { Repaint(); }

    // ---- Z-order among the parent's controls (windowless ones always lie below windows) ----
    void BringToFront();
    void SendToBack();

    // Called with the size the control is about to take; answering false keeps the old size.
    virtual bool CanResize(int& newWidth, int& newHeight);
    // The size AutoSize should give; false when there is none to give.
    virtual bool CanAutoSize(int& newWidth, int& newHeight);

    // Runs the action's update handler (idle time), for controls linked to one.
    virtual void InitiateAction();

    // Expires when the control is freed; code that fires an event checks it afterwards.
    std::weak_ptr<char> AliveToken() const { return m_alive; }

    // Whether the control and every parent are visible (it need not have a window to show).
    bool IsVisibleInTree() const;
    // Sets the name; a control with csSetCaption whose caption equals its old name takes the new
    // name as caption too.
    TStatus SetName(const std::string& name);

    // Whether layouts store these (they are taken from the parent otherwise).
    bool IsColorStored() const { return !m_parentColor; }
    bool IsFontStored() const { return !m_parentFont; }
    bool IsShowHintStored() const { return !m_parentShowHint; }
    // The anchors an alignment gives need no storing.
    bool IsAnchorsStored() const { return !(m_anchors == AnchorAlign(m_align)); }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;
    TCanResizeEvent OnCanResize;

protected:
    friend class TWinControl;
    friend class TControlActionLink;
    friend class TApplication;

    // ---- Overridable behaviour ----
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Click();
    virtual void DblClick();
    virtual void Resize();
    virtual void ActionChange(TBasicAction* sender, bool checkDefaults);
    // Asks the parent to realign its children when this control's place matters to them.
    virtual void RequestAlign();
    // Brings the size within the constraints (called after they change).
    virtual void ConstraintsChanged();
    void AdjustSize();
    // Whether the control needs its parent to paint its area when it changes (not opaque).
    bool IsTransparentTo() const { return !m_controlStyle.Contains(csOpaque); }
    // Paints the area the control covers in its parent, at the next chance.
    void InvalidateControl(bool isVisible, bool isOpaque);
    // Remembers the distances to the parent's edges that the anchors keep.
    void UpdateAnchorRules();
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    // Moves the control to the top (or bottom) of its parent's z-order.
    virtual void SetZOrder(bool topMost);
    // Called after the text changed and before CM_TEXTCHANGED (a window takes its new title here).
    virtual void TextStored() {}

    // ---- Message handlers ----
    virtual void WMLButtonDown(TMessage& message);
    virtual void WMLButtonUp(TMessage& message);
    virtual void WMLButtonDblClk(TMessage& message);
    virtual void WMRButtonDown(TMessage& message);
    virtual void WMRButtonUp(TMessage& message);
    virtual void WMRButtonDblClk(TMessage& message);
    virtual void WMMButtonDown(TMessage& message);
    virtual void WMMButtonUp(TMessage& message);
    virtual void WMMButtonDblClk(TMessage& message);
    virtual void WMMouseMove(TMessage& message);
    virtual void WMContextMenu(TMessage& message);
    virtual void WMCancelMode(TMessage& message);
    virtual void CMEnabledChanged(TMessage& message);
    virtual void CMVisibleChanged(TMessage& message);
    virtual void CMFontChanged(TMessage& message);
    virtual void CMColorChanged(TMessage& message);
    virtual void CMParentFontChanged(TMessage& message);
    virtual void CMParentColorChanged(TMessage& message);
    virtual void CMParentShowHintChanged(TMessage& message);
    virtual void CMTextChanged(TMessage& message);
    virtual void CMMouseEnter(TMessage& message);
    virtual void CMMouseLeave(TMessage& message);
    virtual void CMHitTest(TMessage& message);
    virtual void CMCursorChanged(TMessage& message);

    // Stores the text without announcing it (the window already holds it).
    void StoreText(const std::string& text) { m_text = text; }
    // Stores a new size without the checks (the window system already placed the window).
    void StoreBounds(int left, int top, int width, int height) {
        m_left = left;
        m_top = top;
        m_width = width;
        m_height = height;
    }
    // Set while the parent's alignment places the control, so its anchor distances stay as they
    // were designed.
    bool m_anchorMove = false;

private:
    void FontChanged();
    void DoMouseDown(TMessage& message, TMouseButton button, TShiftState extra);
    void DoMouseUp(TMessage& message, TMouseButton button);
    // Whether the new size passes the constraints and CanResize; width and height are adjusted.
    bool CheckNewSize(int& width, int& height);

    std::shared_ptr<char> m_alive = std::make_shared<char>(0);
    TWinControl* m_parent = nullptr;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    TSize m_reportedSize; // the size OnResize last reported
    TAlign m_align = alNone;
    TAnchors m_anchors = kDefaultAnchors;
    // Anchor rules: per axis the designed width (both edges anchored), the designed far edge
    // (only the far edge), or the designed middle (neither), and the parent's client size then;
    // the size is (0, 0) when the anchors are the default ones.
    TPoint m_anchorRules;
    TPoint m_originalParentSize;
    std::unique_ptr<TSizeConstraints> m_constraints;
    bool m_autoSize = false;
    bool m_visible = true;
    bool m_enabled = true;
    std::unique_ptr<TFont> m_font;
    bool m_parentFont = true;
    bool m_fontFromParent = false; // set while a parent's font is being copied in
    TColor m_color = clWindow;
    bool m_parentColor = true;
    std::string m_text;
    TCursor m_cursor = crDefault;
    std::string m_hint;
    bool m_showHint = false;
    bool m_parentShowHint = true;
    TBiDiMode m_biDiMode = bdLeftToRight;
    bool m_parentBiDiMode = true;
    TComponent* m_popupMenu = nullptr;
    TControlStyle m_controlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState m_controlState;
    std::unique_ptr<TControlActionLink> m_actionLink;
};

class TCustomForm;

// The form a control is placed on: the top of its parent chain, when that is a form.
TCustomForm* GetParentForm(const TControl* control);

// The control holding the mouse capture: a windowless control that captured it through its
// parent's window, or the control of the capture window; none when nothing holds it.
TControl* GetCaptureControl();
// Gives the capture to a control (through its parent's window when it has none of its own), or
// releases it.
void SetCaptureControl(TControl* control);
// The control under the pointer, which has had CM_MOUSEENTER and gets CM_MOUSELEAVE when the
// pointer leaves it for another control or for no control.
TControl* MouseControl();
void SetMouseControl(TControl* control);
