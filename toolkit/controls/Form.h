#pragma once

#include "toolkit/components/Status.h"
#include "toolkit/controls/ControlCanvas.h"
#include "toolkit/controls/WinControl.h"

#include <memory>
#include <string_view>

class TIcon;
class TMainMenu;
class TStream;

enum TFormStyle : std::uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
inline constexpr std::string_view kFormStyleNames[] = {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};
inline constexpr TEnumInfo FormStyleInfo{"TFormStyle", kFormStyleNames};

enum TPosition : std::uint8_t {
    poDesigned,        // where the layout put it
    poDefault,         // where and as large as the window system chooses
    poDefaultPosOnly,  // where the window system chooses, as large as designed
    poDefaultSizeOnly, // where designed, as large as the window system chooses
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};
inline constexpr std::string_view kPositionNames[] = {
    "poDesigned",     "poDefault",       "poDefaultPosOnly", "poDefaultSizeOnly",
    "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"};
inline constexpr TEnumInfo PositionInfo{"TPosition", kPositionNames};

enum TWindowState : std::uint8_t { wsNormal, wsMinimized, wsMaximized };
inline constexpr std::string_view kWindowStateNames[] = {"wsNormal", "wsMinimized", "wsMaximized"};
inline constexpr TEnumInfo WindowStateInfo{"TWindowState", kWindowStateNames};

enum TBorderIcon : std::uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
inline constexpr std::string_view kBorderIconNames[] = {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
inline constexpr TEnumInfo BorderIconInfo{"TBorderIcon", kBorderIconNames};

// What closing a form does (OnClose may change it).
enum TCloseAction : std::uint8_t { caNone, caHide, caFree, caMinimize };

enum TFormStateItem : std::uint8_t {
    fsCreating,
    fsVisible,
    fsShowing,
    fsModal,
    fsCreatedMDIChild,
    fsActivated
};
using TFormState = TSet<TFormStateItem>;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
// A key message the form may take as a short-cut before anyone else sees it.
using TShortCutEvent = std::function<void(TMessage& message, bool& handled)>;

// The private messages a skinned MDI child sends to the MDI client window of the main form. The
// client window of this toolkit accepts them and does nothing with them.
constexpr UINT WM_MDICLIENT_FIRST_PRIVATE = 0x1330;

// A top-level window: border and caption, where it first appears, window state, the control that
// has the focus inside it, key preview, closing with OnClose, and modal showing. Forms are made in
// code or from a layout (LoadLayout in the constructor of a subclass that names its components and
// handlers). The form draws a classic frame (caption, border, close, minimise and maximise boxes)
// for the styles that have one; bsNone leaves the whole window to the client area.
class TCustomForm : public TWinControl {
    VARNEL_CLASS(TCustomForm, TWinControl)

public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // ---- Layouts ----
    // Loads the layout compiled into the program under resourceName, then raises OnCreate.
    TStatus LoadLayout(std::string_view resourceName);
    // LoadLayout for a window class that names its components: a layout that does not load, or
    // leaves one of the class's component fields unbound, refuses the form (CreationStatus says
    // why) and answers false.
    bool LoadOwnLayout(std::string_view resourceName);
    TStatus LoadLayoutText(std::string_view text, std::string_view fileName);
    TStatus LoadLayoutStream(TStream& stream, std::string_view fileName);
    // Raises OnCreate unless it has run; the application calls it for forms it creates.
    void AfterConstruction();

    // ---- Window ----
    TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return m_borderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TFormStyle FormStyle() const { return m_formStyle; }
    void SetFormStyle(TFormStyle value);
    TPosition Position() const { return m_position; }
    void SetPosition(TPosition value) { m_position = value; }
    TWindowState WindowState() const { return m_windowState; }
    void SetWindowState(TWindowState value);
    TIcon* Icon() const { return m_icon.get(); }
    void SetIcon(const TIcon* value);
    // Kept for layouts; the program runs at the 96 dpi its layouts were made for, so there is
    // nothing to scale.
    bool Scaled() const { return m_scaled; }
    void SetScaled(bool value) { m_scaled = value; }
    int PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(int value) { m_pixelsPerInch = value; }
    // Scroll bars appear when the controls reach past the client area.
    bool AutoScroll() const { return m_autoScroll; }
    void SetAutoScroll(bool value);
    // The main menu, or none. No native menu bar shows it (whoever draws a bar drops its items'
    // submenus), but its short-cuts work through IsShortCut. Freed menus drop out.
    TMainMenu* Menu() const { return m_menu; }
    void SetMenu(TMainMenu* value);

    // ---- Focus and activation ----
    bool Active() const { return m_active; }
    TWinControl* ActiveControl() const { return m_activeControl; }
    // A control on this form that can take the focus (or none); it gets the focus at once when
    // the form is active.
    void SetActiveControl(TWinControl* control);
    bool KeyPreview() const { return m_keyPreview; }
    void SetKeyPreview(bool value) { m_keyPreview = value; }
    void FocusControl(TWinControl* control);
    void DefocusControl(TWinControl* control, bool removing);
    // Sends CM_EXIT and CM_ENTER along the way from the old focused control to control, and
    // CM_FOCUSCHANGED; false when a handler moved the focus elsewhere meanwhile.
    bool SetFocusedControl(TWinControl* control);
    void SetFocus() override;
    // The key as one of the form's short-cuts: OnShortCut first, then the main menu's items;
    // true when one of them took it (a menu item's OnClick has then run).
    bool IsShortCut(TMessage& message);

    // ---- Showing and closing ----
    void Show();
    void Hide() { SetVisible(false); }
    // Shows the form, runs a nested loop until ModalResult is set (or the form is closed, which
    // gives mrCancel) and returns the result; the form is hidden again.
    int ShowModal();
    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult value) { m_modalResult = value; }
    // Asks OnCloseQuery, then runs OnClose and does what its action says; closing the main form
    // ends the application; a modal form just ends its loop with mrCancel.
    void Close();
    bool CloseQuery();
    // Frees the form once the message being handled is done.
    void Release();
    TFormState FormState() const { return m_formState; }

    // ---- MDI ----
    // The client window that holds an MDI parent's children (fsMDIForm), or 0.
    HWND ClientHandle() const;
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int index) const;
    TCustomForm* ActiveMDIChild() const;

    // The form's controls, then (when it is the root) its components without a parent.
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

    // The canvas of the client area.
    TCanvas* Canvas() const { return m_canvas.get(); }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnPaint;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    TRect NonClientMargins(DWORD style, DWORD exStyle) const override;
    void PaintWindow(HDC dc) override;
    virtual void Paint();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void DoCreate();
    virtual void Activate();
    virtual void Deactivate();
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void AlignControls(TControl* control, TRect& rect) override;

    void Dispatch(TMessage& message) override;
    virtual void WMActivate(TMessage& message);
    virtual void WMActivateApp(TMessage& message);
    virtual void WMClose(TMessage& message);
    virtual void WMSysCommand(TMessage& message);
    virtual void WMGetMinMaxInfo(TMessage& message);
    virtual void WMMDIActivate(TMessage& message);
    void WMHScroll(TMessage& message) override;
    void WMVScroll(TMessage& message) override;
    virtual void WMNCHitTest(TMessage& message);
    virtual void WMNCActivate(TMessage& message);
    virtual void WMNCLButtonDown(TMessage& message);
    virtual void WMStyleChanged(TMessage& message);
    void WMNCCalcSize(TMessage& message) override;
    void WMNCPaint(TMessage& message) override;
    void WMSize(TMessage& message) override;
    void WMSetText(TMessage& message) override;
    virtual void CMActivate(TMessage& message);
    virtual void CMDeactivate(TMessage& message);
    virtual void CMRelease(TMessage& message);
    void CMDialogKey(TMessage& message) override;
    void CMShowingChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;

private:
    void SetActive(bool value);
    void SetWindowFocus();
    // Places the form as Position says; done each time the form is shown.
    void ApplyPosition();
    void CloseModal();
    // Style and frame helpers (FormFrame.cpp).
    void UpdateWindowStyle();
    void PaintFrame();
    int FrameHitTest(TPoint windowPoint);
    // Ends a press on a frame box (release or lost capture); true when one was pressed.
    bool FrameButtonReleased(TMessage& message);
    // Auto-scroll (FormScroll.cpp).
    void UpdateScrollRange();
    void ScrollBy(int dx, int dy);
    void ScrollMessage(int bar, WORD code);

    TFormBorderStyle m_borderStyle = bsSizeable;
    TBorderIcons m_borderIcons{biSystemMenu, biMinimize, biMaximize};
    TFormStyle m_formStyle = fsNormal;
    TPosition m_position = poDesigned;
    TWindowState m_windowState = wsNormal;
    std::unique_ptr<TIcon> m_icon;
    bool m_scaled = true;
    int m_pixelsPerInch = 96;
    bool m_autoScroll = true;
    TPoint m_scrollPos; // how far the children are scrolled, in pixels
    bool m_updatingScroll = false;
    TMainMenu* m_menu = nullptr;
    bool m_active = false;
    bool m_frameActive = false;   // the frame shows the active colours
    int m_pressedFrameButton = 0; // the HT... code of the frame box pressed, 0 for none
    TWinControl* m_activeControl = nullptr;
    TWinControl* m_focusedControl = nullptr; // the innermost control CM_ENTER has reached
    bool m_keyPreview = false;
    TModalResult m_modalResult = mrNone;
    TFormState m_formState{fsCreating};
    bool m_createDone = false;
    HWND m_clientHandle = 0; // MDI client window
    HWND m_activeMDIChild = 0;
    std::unique_ptr<TControlCanvas> m_canvas;
};

class TForm : public TCustomForm {
    VARNEL_CLASS(TForm, TCustomForm)

public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// The procedure of an MDI parent's client window: it keeps the active child and tells children
// of activation (WM_MDIACTIVATE).
LRESULT MDIClientWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
