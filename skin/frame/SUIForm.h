#pragma once

// The skinned form: a panel placed on a window (its host form) that takes the window's frame
// over. At run time it removes the host's native frame and caption, puts its own procedure in
// front of the host's window procedure, keeps itself sized to the host's client area less a
// coloured border, paints the background, and owns the title bar and, when a main menu is
// attached, a menu bar.

#include "skin/core/SUIThemes.h"
#include "skin/frame/SUITitleBar.h"
#include "skin/menus/SUIMenuBarHost.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/controls/ToolBar.h"

#include <memory>
#include <string>
#include <vector>

class TBitmap;
class TControlSubclass;
class TCustomForm;
class TMainMenu;
class TsuiFileTheme;

// Sent, with lParam 0, to the MDI client window of the application's main form by a skinned MDI
// child window; nothing in this program receives them.
constexpr UINT WM_SKIN_MDI_ACTIVATE = 0x1330;  // activated, or destroyed; wParam 0
constexpr UINT WM_SKIN_MDI_MAXIMIZED = 0x1331; // became maximised; wParam the child's window
constexpr UINT WM_SKIN_MDI_RESTORED = 0x1332;  // left the maximised state or destroyed so; wParam 0

class TsuiForm : public TCustomPanel, public TsuiMenuBarHost {
    VARNEL_CLASS(TsuiForm, TCustomPanel)

public:
    // A second one on the same window refuses to be made (CreationStatus) before it touches
    // the window.
    explicit TsuiForm(TComponent* owner);
    ~TsuiForm() override;

    // ---- Published ----
    bool TitleBarCustom() const;
    void SetTitleBarCustom(bool value);
    TsuiFileTheme* FileTheme() const { return m_fileTheme; }
    void SetFileTheme(TsuiFileTheme* value);
    TsuiUIStyle UIStyle() const { return m_uiStyle; }
    // Always runs the style application, also for the look the form has.
    void SetUIStyle(TsuiUIStyle value);
    bool UIStyleAutoUpdateSub() const { return m_uiStyleAutoUpdateSub; }
    void SetUIStyleAutoUpdateSub(bool value) { m_uiStyleAutoUpdateSub = value; }
    TColor BorderColor() const { return m_borderColor; }
    void SetBorderColor(TColor value);
    // The width of the coloured border around the panel (not the toolkit's band).
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int value);
    bool TitleBarVisible() const;
    void SetTitleBarVisible(bool value);
    // The window caption, shown by the title bar and given to the host form.
    std::string Caption() const;
    void SetCaption(const std::string& value);
    TCustomPanel* FormPanel() const { return m_formPanel; }
    void SetFormPanel(TCustomPanel* value);
    TsuiTitleBarButtons* TitleBarButtons() const;
    void SetTitleBarButtons(const TsuiTitleBarButtons* value);
    TsuiTitleBarSections* TitleBarSections() const;
    void SetTitleBarSections(const TsuiTitleBarSections* value);
    bool TitleBarDrawAppIcon() const;
    void SetTitleBarDrawAppIcon(bool value);
    // The caption font: the title bar's.
    TFont* Font() const;
    void SetFont(const TFont* value);
    TMainMenu* Menu() const { return m_menu; }
    void SetMenu(TMainMenu* value);
    TColor MenuBarColor() const { return m_menuBarColor; }
    void SetMenuBarColor(TColor value);
    int MenuBarHeight() const { return m_menuBarHeight; }
    // The height of the menu bar and of each of its buttons.
    void SetMenuBarHeight(int value);
    // The panel's size; setting one sizes the host so that the panel gets it.
    int Height() const { return TCustomPanel::Height(); }
    void SetHeight(int value);
    int Width() const { return TCustomPanel::Width(); }
    void SetWidth(int value);
    int RoundCorner() const;
    // Ignored for an MDI child host.
    void SetRoundCorner(int value);
    std::string Version() const { return "4.30"; }
    void SetVersion(const std::string& /*value*/) {}

    TsuiTitleBarButtonClickEvent OnTitleBarCustomBtnsClick;
    TsuiTitleBarButtonClickEvent OnTitleBarHelpBtnClick;

    // ---- For the other parts ----
    TsuiTitleBar* TitleBar() const { return m_titleBar; }
    TToolBar* MenuBar() const { return m_menuBar; }
    TCustomForm* Host() const { return m_host; }
    // The host's BorderStyle when this component was made.
    TFormBorderStyle GetHostBorderStyle() const { return m_hostBorderStyle; }

    // ---- The menu bar ----
    void RebuildMenuBar() override;
    void RefreshMenuBar() override;
    void UpdateMenuBarFont() override;
    void CreateMenuBar();
    void DestroyMenuBar();
    // Drops the first menu of the bar from the keyboard (F10, a lone Alt); false without one.
    bool EnterMenuBar();

    // The skinned form placed on a window (the first TsuiForm among its controls), or none.
    static TsuiForm* OfForm(const TCustomForm* form);

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;
    void Dispatch(TMessage& message) override;

private:
    bool IsMDIChildHost() const;
    void AlignToHost();
    void DrawBorder();
    // What the host's window needs each time it is (re)made and ours is in front of it.
    void HostWindowReady();
    LRESULT HostWndProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT result);
    void HostSized();
    LRESULT HostHitTest(LPARAM lParam, LRESULT result) const;
    void FitMaximizedToWorkArea(MINMAXINFO* info) const;
    bool AppMessageHook(MSG& message);
    bool HandleShortCut(UINT message, WPARAM wParam, LPARAM lParam);
    // Alt+Space: the title bar's system menu below the main form's top-left corner; false when
    // nothing opened.
    bool PopupSystemMenuFromKeyboard();
    void SendToMDIClient(UINT message, WPARAM wParam);
    void ShiftChildren(bool up);
    void LoadBackgroundPattern();
    // The look and theme the menu bar is drawn in: the attached skinned menu's, or the form's.
    TsuiUIStyle MenuLook() const;
    TsuiFileTheme* MenuTheme() const;
    void MenuBarDraw(TToolBar* sender, const TRect& rect, bool& defaultDraw);
    void MenuBarDrawButton(TToolBar* sender, TToolButton* button, TCustomDrawState state, bool& defaultDraw);

    TsuiTitleBar* m_titleBar = nullptr; // owned as a component
    TToolBar* m_menuBar = nullptr;      // owned as a component; none without a menu
    TMainMenu* m_menu = nullptr;
    TCustomForm* m_host = nullptr;
    TFormBorderStyle m_hostBorderStyle = bsSizeable;
    TColor m_borderColor = clBlack;
    TCustomPanel* m_formPanel = nullptr;
    int m_borderWidth = 0;
    TsuiUIStyle m_uiStyle = DeepBlue;
    TsuiFileTheme* m_fileTheme = nullptr;
    TColor m_menuBarColor = clBtnFace;
    int m_menuBarHeight = 22;
    bool m_hookInstalled = false;
    bool m_uiStyleAutoUpdateSub = false;
    TRect m_savedHostBounds;
    bool m_initiallyMaximized = false;
    int m_hostFrameHeight = 0; // the host's Height - ClientHeight when made (design time only)
    int m_hostFrameWidth = 0;
    // The children this form shifted up by the title bar's height while its host, an MDI child,
    // is maximised; kept per form, so one window never moves another's controls, and only what
    // was shifted up comes down.
    bool m_mdiScrolled = false;
    std::vector<TControl*> m_shiftedChildren;
    std::unique_ptr<TControlSubclass> m_hostSubclass;
    bool m_altAlone = false; // Alt went down and nothing else since: its release enters the menu bar
    // Cut once per look: the background pattern of MacOS and Protein, and the panel's
    // background tiled with it (made again when the panel's size changes).
    std::unique_ptr<TBitmap> m_backgroundPattern;
    std::unique_ptr<TBitmap> m_background;
};

// Makes the skinned form, its title bar and the skinned menus known to layouts.
void RegisterFormClasses();
