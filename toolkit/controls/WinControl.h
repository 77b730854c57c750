#pragma once

#include "toolkit/controls/Control.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/windowing/WinUser.h"

#include <memory>
#include <string>
#include <vector>

// What a control asks of the window system when its window is made (CreateParams).
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = 0; // the parent window (children) or the owner window (top-level windows)
    // The class: its style (CS_...), cursor and background; the procedure is always the control
    // layer's own, which hands every message to the control.
    WNDCLASS WindowClass;
    std::string WinClassName;
};

// A control with a window of its own: it holds other controls, takes the focus and receives keys.
// The window is made when it is first needed (CreateParams, CreateWnd) and made again when a
// style change needs it (RecreateWnd). Windowless children are painted and given the mouse by it;
// windowed children lie above them, each in its own window.
//
// Keys: before a key message is dispatched, the application reflects it as CN_KEYDOWN (CN_CHAR
// ...) to the focused control, which offers Tab, arrows, Enter and Escape to its form as dialog
// keys (CM_DIALOGKEY) and characters as accelerators (CM_DIALOGCHAR) unless it wants them
// (WM_GETDLGCODE). What is left arrives as WM_KEYDOWN, WM_CHAR and WM_KEYUP, which the form sees
// first when it previews keys (KeyPreview), and then fire OnKeyDown, OnKeyPress and OnKeyUp.
class TControlSubclass;

class TWinControl : public TControl {
    VARNEL_CLASS(TWinControl, TControl)

public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // ---- The window ----
    HWND Handle();
    bool HandleAllocated() const;
    void HandleNeeded();
    // A window of another program part to live in, when the control has no parent control.
    HWND ParentWindow() const { return m_parentWindow; }
    void SetParentWindow(HWND value);
    // Destroys the window and makes it again when the control is showing.
    void RecreateWnd();
    // Whether the window is shown: visible, and every parent shown.
    bool Showing() const { return m_showing; }
    // The procedure DefaultHandler passes messages to (the window class's default).
    WNDPROC DefWndProc() const { return m_defWndProc; }

    // ---- Children ----
    int ControlCount() const { return static_cast<int>(m_controls.size() + m_winControls.size()); }
    // Windowless children first, then windowed ones, each in z-order from the bottom.
    TControl* Controls(int index) const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Whether control is this control or lies inside it.
    bool ContainsControl(const TControl* control) const;
    // The topmost visible child at p (client coordinates) that answers CM_HITTEST: windowless ones
    // only unless allowWinControls; disabled ones only with allowDisabled.
    TControl* ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls = false) const;
    // Sends the message to every child until one answers it (nonzero Result).
    void Broadcast(TMessage& message);
    // Sends the message to every child, with wParam 0 and lParam 0.
    void NotifyControls(UINT message);

    // ---- Alignment ----
    void DisableAlign();
    void EnableAlign();
    void Realign();
    // Places the aligned and anchored children inside rect.
    virtual void AlignControls(TControl* control, TRect& rect);
    // The area aligned children share; the client area less what the control draws itself.
    virtual void AdjustClientRect(TRect& rect);
    // A band around the client area in the control's colour, outside any scroll bars.
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int value);

    // ---- Tab order and focus ----
    int TabOrder() const;
    void SetTabOrder(int value);
    bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool value);
    // Every windowed control inside this one in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next control after current in tab order (from the start when current is none) that can
    // take the focus; with checkTabStop only tab stops, with checkParent only direct children.
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                 bool checkParent) const;
    // Focuses the next control in tab order.
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    // Visible and enabled, as is every parent up to its form, and on a form.
    virtual bool CanFocus() const;
    virtual void SetFocus();
    virtual bool Focused() const;

    TBrush* Brush() { return &m_brush; }

    // ---- Geometry and painting ----
    void SetBounds(int left, int top, int width, int height) override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;

    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;

    // Layouts nest the child controls that root owns inside their parent.
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    friend class TControl;
    friend class TCustomForm;
    friend class TApplication;

    virtual void CreateParams(TCreateParams& params);
    // True while CreateParams is asked only for the styles (to size the client area before the
    // window exists): no window may be made for WndParent then.
    bool MeasuringParams() const { return m_measuringParams; }
    // Asks CreateParams for the styles only.
    void MeasureParams(TCreateParams& params) const;
    // Moves a child without changing the edge distances its anchors keep (scrolling).
    static void ShiftControl(TControl* control, int dx, int dy);
    virtual void CreateWnd();
    virtual void DestroyWnd();
    void CreateHandle();
    void DestroyHandle();
    // Shows or hides the window (and makes it first) as the control's visibility and its
    // parents' say.
    void UpdateShowing();
    // Updates the showing state when the control's place in a shown tree changed.
    void UpdateControlState();
    // The band the window's frame, border and scroll bars take around the client area, for the
    // given window styles.
    virtual TRect NonClientMargins(DWORD style, DWORD exStyle) const;
    // Paints the control itself (not its windowless children) on dc.
    virtual void PaintWindow(HDC dc);
    // Paints the visible windowless children on dc (from first on, when given), each with the
    // origin moved to its top-left and clipped to its bounds.
    void PaintControls(HDC dc, TControl* first);
    void PaintHandler(TMessage& message);
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    // Runs the form's key preview and the key events; true when the key was eaten.
    bool DoKeyDown(TMessage& message);
    bool DoKeyUp(TMessage& message);
    bool DoKeyPress(TMessage& message);
    // A key-down or key-up message: first the form's (with KeyPreview), then handler; true when
    // the key was taken (zeroed) or the control went meanwhile.
    bool DoKeyEvent(TMessage& message, bool (TWinControl::*formStep)(TMessage&),
                    void (TWinControl::*handler)(WORD&, TShiftState));
    // What becomes of a key message nobody used: the default procedure's handling, then the
    // context menu for the context-menu key and Shift+F10.
    void KeyDefault(TMessage& message);
    virtual void DoEnter();
    virtual void DoExit();
    void SetZOrder(bool topMost) override;
    void TextStored() override;
    void Loaded() override;
    // Called when the alignment of the children is done.
    virtual void ControlsAligned() {}
    // Gives the focus away from this control (and its children) when it goes away or hides.
    void RemoveFocus(bool removing);
    // The window just below which this control's window belongs among its siblings.
    HWND PrecedingWindow(const TWinControl* control) const;
    void AlignControl(TControl* control);

    // ---- Message handlers ----
    virtual void WMPaint(TMessage& message);
    virtual void WMEraseBkgnd(TMessage& message);
    virtual void WMSetFocus(TMessage& message);
    virtual void WMKillFocus(TMessage& message);
    virtual void WMKeyDown(TMessage& message);
    virtual void WMKeyUp(TMessage& message);
    virtual void WMSysKeyDown(TMessage& message);
    virtual void WMSysKeyUp(TMessage& message);
    virtual void WMChar(TMessage& message);
    virtual void WMGetDlgCode(TMessage& message);
    virtual void WMSize(TMessage& message);
    virtual void WMMove(TMessage& message);
    virtual void WMWindowPosChanged(TMessage& message);
    virtual void WMSetCursor(TMessage& message);
    virtual void WMNCCalcSize(TMessage& message);
    virtual void WMNCPaint(TMessage& message);
    virtual void WMNCDestroy(TMessage& message);
    virtual void WMSetText(TMessage& message);
    // The editing, wheel and scroll messages reach these before the window's default handling
    // (DefaultHandler), which an override calls to act after it: a skin that follows what a
    // native edit did with a paste or a scroll request calls the inherited handler first.
    virtual void WMCut(TMessage& message);
    virtual void WMPaste(TMessage& message);
    virtual void WMClear(TMessage& message);
    virtual void WMUndo(TMessage& message);
    virtual void WMMouseWheel(TMessage& message);
    virtual void WMHScroll(TMessage& message);
    virtual void WMVScroll(TMessage& message);
    void WMContextMenu(TMessage& message) override;
    virtual void CNKeyDown(TMessage& message);
    virtual void CNKeyUp(TMessage& message);
    virtual void CNChar(TMessage& message);
    virtual void CNSysKeyDown(TMessage& message);
    virtual void CNSysChar(TMessage& message);
    virtual void CMDialogKey(TMessage& message);
    virtual void CMDialogChar(TMessage& message);
    virtual void CMFocusChanged(TMessage& message);
    virtual void CMEnter(TMessage& message);
    virtual void CMExit(TMessage& message);
    virtual void CMChildKey(TMessage& message);
    virtual void CMWantSpecialKey(TMessage& message);
    virtual void CMShowingChanged(TMessage& message);
    virtual void CMBorderChanged(TMessage& message);
    virtual void CMTabStopChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;

    bool m_showing = false;

private:
    friend LRESULT ControlWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    friend class TControlSubclass;
    void AttachHandle(HWND hwnd);
    void DetachHandle();
    // Broadcast to the children that accept answers true for (all when it is null).
    void BroadcastIf(TMessage& message, bool (*accept)(const TControl*));
    // Routes a mouse message to the windowless child under it (or holding the capture); true when
    // one took it.
    bool IsControlMouseMsg(TMessage& message);
    // Orders the tab list by the tab orders read from a layout.
    void FixupTabList();
    void UpdateBounds();
    bool AlignWork() const;
    // Whether the alignment of the children must wait (held off, or loading outside Loaded).
    bool AlignHeldOff() const;

    HWND m_handle = 0;
    std::uint64_t m_handleSystem = 0; // the window system the handle belongs to
    WNDPROC m_defWndProc;
    HWND m_parentWindow = 0;
    std::vector<TControl*> m_controls;       // windowless children, z-order from the bottom
    std::vector<TWinControl*> m_winControls; // windowed children, z-order from the bottom
    std::vector<TWinControl*> m_tabList;     // windowed children in tab order
    int m_alignLevel = 0;
    int m_borderWidth = 0;
    bool m_tabStop = false;
    int m_loadedTabOrder = -1; // the tab order a layout gave, applied once the siblings exist
    bool m_measuringParams = false;
    bool m_inLoaded = false; // Loaded is running: the children may be aligned although loading
    TBrush m_brush;
    std::vector<TControlSubclass*> m_subclasses; // put in front of each new window of the control
};

// The control whose window this is, or none.
TWinControl* FindControl(HWND hwnd);
// Frees the device contexts that control canvases took outside painting (done after each message).
void FreeDeviceContexts();
