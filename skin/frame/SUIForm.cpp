#include "skin/frame/SUIForm.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "skin/frame/SUILookSource.h"
#include "skin/menus/SUIMenu.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/ControlSubclass.h"
#include "toolkit/controls/Form.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/menus/Menu.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>

// The skinned form, in sections: construction and destruction; properties and the style
// application; placing, border and background; the host's window procedure; the application's
// message hook. The menu bar is in SUIFormMenuBar.cpp.

VARNEL_CLASS_INFO(TsuiForm, [](auto& c) {
    c.Bool("TitleBarCustom", &TsuiForm::TitleBarCustom, &TsuiForm::SetTitleBarCustom);
    c.Component("FileTheme", &TsuiForm::FileTheme, &TsuiForm::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &TsuiForm::UIStyle, &TsuiForm::SetUIStyle);
    c.Bool("UIStyleAutoUpdateSub", &TsuiForm::UIStyleAutoUpdateSub, &TsuiForm::SetUIStyleAutoUpdateSub);
    c.Color("BorderColor", &TsuiForm::BorderColor, &TsuiForm::SetBorderColor);
    c.Int("BorderWidth", &TsuiForm::BorderWidth, &TsuiForm::SetBorderWidth);
    c.Bool("TitleBarVisible", &TsuiForm::TitleBarVisible, &TsuiForm::SetTitleBarVisible).Default(true);
    c.Publish("BiDiMode");
    c.Publish("Color").Default(clBtnFace);
    c.String("Caption", &TsuiForm::Caption, &TsuiForm::SetCaption);
    c.Component("FormPanel", &TsuiForm::FormPanel, &TsuiForm::SetFormPanel);
    c.Object("TitleBarButtons", &TsuiForm::TitleBarButtons, &TsuiForm::SetTitleBarButtons);
    c.Object("TitleBarSections", &TsuiForm::TitleBarSections, &TsuiForm::SetTitleBarSections);
    c.Bool("TitleBarDrawAppIcon", &TsuiForm::TitleBarDrawAppIcon, &TsuiForm::SetTitleBarDrawAppIcon);
    c.Object("Font", &TsuiForm::Font, &TsuiForm::SetFont);
    c.Component("Menu", &TsuiForm::Menu, &TsuiForm::SetMenu);
    c.Color("MenuBarColor", &TsuiForm::MenuBarColor, &TsuiForm::SetMenuBarColor);
    c.Int("MenuBarHeight", &TsuiForm::MenuBarHeight, &TsuiForm::SetMenuBarHeight);
    c.Int("Height", &TsuiForm::Height, &TsuiForm::SetHeight);
    c.Int("Width", &TsuiForm::Width, &TsuiForm::SetWidth);
    c.Int("RoundCorner", &TsuiForm::RoundCorner, &TsuiForm::SetRoundCorner);
    c.Publish("PopupMenu");
    c.String("Version", &TsuiForm::Version, &TsuiForm::SetVersion);
    c.Event("OnTitleBarCustomBtnsClick", &TsuiForm::OnTitleBarCustomBtnsClick);
    c.Event("OnTitleBarHelpBtnClick", &TsuiForm::OnTitleBarHelpBtnClick);
    c.Publish("OnMouseDown");
    c.Publish("OnClick");
    c.Publish("OnMouseUp");
})

void RegisterFormClasses() {
    RegisterTitleBarClasses();
    RegisterSkinnedMenuClasses();
    RegisterClasses<TsuiForm>();
}

// ---- Construction and destruction ------------------------------------------------------------------

TsuiForm::TsuiForm(TComponent* owner) : TCustomPanel(owner) {
    auto* host = dynamic_cast<TCustomForm*>(owner);
    // Checked first, so that a refused second panel leaves the window exactly as it was.
    if (host && OfForm(host)) {
        RefuseCreation("Sorry, You can create only one TsuiForm component in one form!");
        return;
    }
    m_host = host;
    const bool runTime = !IsDesigning();
    if (m_host) {
        SetParent(m_host);
        if (runTime) {
            m_host->Constraints()->SetMinHeight(50);
            m_host->Constraints()->SetMinWidth(125);
        }
        m_host->TWinControl::SetBorderWidth(0);
        m_savedHostBounds = m_host->BoundsRect();
        m_initiallyMaximized = m_host->WindowState() == wsMaximized;
    }
    m_titleBar = new TsuiTitleBar(this);
    m_titleBar->SetParent(this);
    m_titleBar->OnCustomBtnsClick = [this](TObject* sender, int index) {
        if (OnTitleBarCustomBtnsClick) {
            OnTitleBarCustomBtnsClick(sender, index);
        }
    };
    m_titleBar->OnHelpBtnClick = [this](TObject* sender, int index) {
        if (OnTitleBarHelpBtnClick) {
            OnTitleBarHelpBtnClick(sender, index);
        }
    };
    m_menuBarColor = Color();
    m_menuBarHeight = 22;
    if (m_host) {
        m_hostBorderStyle = m_host->BorderStyle();
    }
    SetUIStyle(DeepBlue);
    m_uiStyleAutoUpdateSub = false;
    if (m_host) {
        m_hostFrameHeight = m_host->Height() - m_host->ClientHeight();
        m_hostFrameWidth = m_host->Width() - m_host->ClientWidth();
    }
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    SetBorderStyle(bsNone);
    SetAlign(alNone);
    if (m_host) {
        SetCaption(m_host->Caption());
    }
    SetTitleBarVisible(true);
    TCustomPanel::SetCaption(" ");
    m_hookInstalled = false;
    if (!m_host) {
        return;
    }
    m_host->SetScaled(false);
    if (!runTime) {
        return;
    }
    const TFormStyle style = m_host->FormStyle();
    if (style != fsMDIChild && style != fsMDIForm) {
        m_host->SetBorderStyle(bsNone);
    }
    m_host->SetAutoScroll(false);
    // In front of the host's window now if it has one, and of every window it makes later.
    m_hostSubclass = std::make_unique<TControlSubclass>(
        m_host,
        [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT result) {
            return HostWndProc(message, wParam, lParam, result);
        },
        [this] { HostWindowReady(); });
    if (!Application->OnMessage) {
        Application->OnMessage = [this](MSG& message, bool& handled) { handled = AppMessageHook(message); };
        m_hookInstalled = true;
    }
}

TsuiForm::~TsuiForm() {
    Destroying();
    if (m_hookInstalled) {
        Application->OnMessage = nullptr;
    }
    if (auto* menu = dynamic_cast<TsuiMainMenu*>(m_menu); menu && menu->MenuBarHost() == this) {
        menu->SetMenuBarHost(nullptr);
    }
    // The host's own procedure goes back before anything of this component is gone.
    m_hostSubclass.reset();
    delete m_menuBar;
    m_menuBar = nullptr;
    delete m_titleBar;
    m_titleBar = nullptr;
    if (m_host && !m_host->IsDestroying()) {
        m_host->Invalidate();
    }
}

TsuiForm* TsuiForm::OfForm(const TCustomForm* form) {
    for (int i = 0; form && i < form->ControlCount(); ++i) {
        if (auto* skinned = dynamic_cast<TsuiForm*>(form->Controls(i))) {
            return skinned;
        }
    }
    return nullptr;
}

bool TsuiForm::IsMDIChildHost() const {
    return m_host && m_host->FormStyle() == fsMDIChild;
}

void TsuiForm::HostWindowReady() {
    const HWND handle = m_host->Handle();
    const LONG_PTR style = ::GetWindowLongPtr(handle, GWL_STYLE);
    if (style & WS_CAPTION) {
        ::SetWindowLongPtr(handle, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION));
    }
    // A caption given to the host before it had a window shows now.
    if (m_titleBar) {
        m_titleBar->SetCaption(m_host->Caption());
    }
    HostSized();
}

// ---- Properties and the style application ---------------------------------------------------------

bool TsuiForm::TitleBarCustom() const {
    return m_titleBar && m_titleBar->Custom();
}

void TsuiForm::SetTitleBarCustom(bool value) {
    if (m_titleBar) {
        m_titleBar->SetCustom(value);
    }
}

void TsuiForm::SetFileTheme(TsuiFileTheme* value) {
    if (value == m_fileTheme) {
        return;
    }
    if (m_fileTheme) {
        m_fileTheme->RemoveFreeNotification(this);
    }
    m_fileTheme = value;
    if (value) {
        value->FreeNotification(this);
    }
    SetUIStyle(m_uiStyle);
}

void TsuiForm::SetUIStyle(TsuiUIStyle value) {
    const TRect hostBounds = m_host ? m_host->BoundsRect() : TRect{};
    m_uiStyle = value;
    const TsuiLookSource look(m_fileTheme, value);
    auto alive = AliveToken();
    SetBorderColor(look.Color(TsuiThemeElement::FormBorderColor));
    SetBorderWidth(look.Int(TsuiThemeElement::FormBorderWidthInt));
    SetColor(look.Color(TsuiThemeElement::FormBackgroundColor));
    SetMenuBarColor(Color());
    if (m_titleBar) {
        m_titleBar->SetFileTheme(m_fileTheme);
        m_titleBar->SetUIStyle(value);
        if (IsMDIChildHost()) {
            m_titleBar->SetRoundCorner(0);
        }
    }
    if (auto* menu = dynamic_cast<TsuiMainMenu*>(m_menu)) {
        menu->SetUIStyle(value);
        menu->SetFileTheme(m_fileTheme);
    }
    if (m_uiStyleAutoUpdateSub) {
        ApplyStyleToChildren(this, value, m_fileTheme);
        if (alive.expired()) {
            return;
        }
    }
    if (IsMDIChildHost()) {
        SetFormBoundsRect(m_host, hostBounds);
    }
    LoadBackgroundPattern();
    AlignToHost();
    Invalidate();
    DrawBorder();
}

void TsuiForm::LoadBackgroundPattern() {
    m_background.reset();
    const char* name = m_uiStyle == MacOS     ? "MACOS_FORM_BACKGROUND"
                       : m_uiStyle == Protein ? "PROTEIN_FORM_BACKGROUND"
                                              : nullptr;
    if (!name) {
        m_backgroundPattern.reset();
        return;
    }
    auto pattern = std::make_unique<TBitmap>();
    if (pattern->LoadFromResourceName(name) && !pattern->Empty()) {
        m_backgroundPattern = std::move(pattern);
    } else {
        m_backgroundPattern.reset();
    }
}

void TsuiForm::SetBorderColor(TColor value) {
    m_borderColor = value;
    AlignToHost();
    DrawBorder();
}

void TsuiForm::SetBorderWidth(int value) {
    // The order matters: the width is taken again first, then the panel placed, then the
    // height taken again (with its one and a half border widths).
    m_borderWidth = value;
    SetWidth(Width());
    AlignToHost();
    SetHeight(Height());
    DrawBorder();
}

void TsuiForm::SetWidth(int value) {
    if (!m_host) {
        TCustomPanel::SetWidth(value);
        return;
    }
    m_host->SetWidth(value + 2 * m_borderWidth + (IsDesigning() ? m_hostFrameWidth : 0));
    AlignToHost();
}

void TsuiForm::SetHeight(int value) {
    if (!m_host) {
        TCustomPanel::SetHeight(value);
        return;
    }
    // One and a half border widths, not two: the layouts of the program count on it.
    m_host->SetHeight(value + m_borderWidth + m_borderWidth / 2 + (IsDesigning() ? m_hostFrameHeight : 0));
    AlignToHost();
}

bool TsuiForm::TitleBarVisible() const {
    return m_titleBar && m_titleBar->Visible();
}

void TsuiForm::SetTitleBarVisible(bool value) {
    if (!m_titleBar || value == m_titleBar->Visible()) {
        return;
    }
    m_titleBar->SetVisible(value);
    m_titleBar->SetTop(0);
    AlignToHost();
    DrawBorder();
}

std::string TsuiForm::Caption() const {
    return m_titleBar ? m_titleBar->Caption() : std::string();
}

void TsuiForm::SetCaption(const std::string& value) {
    if (m_titleBar) {
        m_titleBar->SetCaption(value);
    }
    if (m_host) {
        m_host->SetCaption(value);
    }
}

void TsuiForm::SetFormPanel(TCustomPanel* value) {
    if (value == this) {
        ShowErrorBox("Sorry, you can't select the Form assign to FormPanel property");
        return;
    }
    if (m_formPanel) {
        m_formPanel->RemoveFreeNotification(this);
    }
    m_formPanel = value;
    if (!value) {
        return;
    }
    value->FreeNotification(this);
    value->SetAlign(alClient);
    if (dynamic_cast<TPanel*>(value)) {
        value->SetBevelOuter(bvNone);
        value->SetBevelInner(bvNone);
        value->SetBorderStyle(bsNone);
        value->SetCaption("");
    } else if (value->InheritsFrom("TsuiImagePanel")) {
        value->SetCaption("");
    }
}

TsuiTitleBarButtons* TsuiForm::TitleBarButtons() const {
    return m_titleBar ? m_titleBar->Buttons() : nullptr;
}

void TsuiForm::SetTitleBarButtons(const TsuiTitleBarButtons* value) {
    if (m_titleBar) {
        m_titleBar->SetButtons(value);
    }
}

TsuiTitleBarSections* TsuiForm::TitleBarSections() const {
    return m_titleBar ? m_titleBar->Sections() : nullptr;
}

void TsuiForm::SetTitleBarSections(const TsuiTitleBarSections* value) {
    if (m_titleBar) {
        m_titleBar->SetSections(value);
    }
}

bool TsuiForm::TitleBarDrawAppIcon() const {
    return m_titleBar && m_titleBar->DrawAppIcon();
}

void TsuiForm::SetTitleBarDrawAppIcon(bool value) {
    if (m_titleBar) {
        m_titleBar->SetDrawAppIcon(value);
    }
}

TFont* TsuiForm::Font() const {
    return m_titleBar ? m_titleBar->Font() : TCustomPanel::Font();
}

void TsuiForm::SetFont(const TFont* value) {
    Font()->Assign(value);
}

int TsuiForm::RoundCorner() const {
    return m_titleBar ? m_titleBar->RoundCorner() : 0;
}

void TsuiForm::SetRoundCorner(int value) {
    if (m_titleBar && !IsMDIChildHost()) {
        m_titleBar->SetRoundCorner(value);
    }
}

void TsuiForm::Notification(TComponent* component, TOperation operation) {
    TCustomPanel::Notification(component, operation);
    if (!component) {
        return;
    }
    if (operation == opInsert && IsDesigning() && !IsLoading() && component->InheritsFrom<TMainMenu>() &&
        component->ClassName() != "TsuiMainMenu") {
        ShowInfoBox("Strongly recommend you to use \"TsuiMainMenu\" instead of \"TMainMenu\".\r\n\r\n"
                    "If you still want to use TMainForm, \r\n\r\nset " +
                    (m_host ? m_host->Name() : std::string()) +
                    "'s MENU property to NIL please.\r\n\r\nAnd set " + Name() +
                    "'s MENU property to this Menu when you finished designing the menu.");
    }
    if (operation != opRemove) {
        return;
    }
    if (component == m_formPanel) {
        m_formPanel = nullptr;
    }
    if (component == m_menu) {
        DestroyMenuBar();
    }
    if (component == m_titleBar) {
        m_titleBar = nullptr;
    }
    if (component == m_menuBar) {
        m_menuBar = nullptr;
    }
    if (component == m_fileTheme) {
        m_fileTheme = nullptr;
        ApplyStyleToChildren(this, DeepBlue, nullptr);
        SetUIStyle(DeepBlue);
    }
}

// ---- Placing, border and background ---------------------------------------------------------------

void TsuiForm::AlignToHost() {
    if (!m_host) {
        return;
    }
    const int b = m_borderWidth;
    const int top = TitleBarVisible() ? 0 : b;
    const int width = m_host->ClientWidth();
    const int height = m_host->ClientHeight();
    if (IsMDIChildHost()) {
        SetBounds(b, top, width - 2 * b - 3, height - b - top - 3);
    } else {
        SetBounds(b, top, width - 2 * b, height - b - top);
    }
}

void TsuiForm::DrawBorder() {
    // Drawn straight onto the host's window: never before it has one.
    if (!m_host || !m_host->HandleAllocated() || m_borderWidth <= 0) {
        return;
    }
    TCanvas* canvas = m_host->Canvas();
    canvas->Pen()->SetColor(m_borderColor);
    canvas->Pen()->SetWidth(m_borderWidth);
    canvas->Pen()->SetStyle(psSolid);
    canvas->Brush()->SetColor(m_borderColor);
    canvas->Brush()->SetStyle(bsSolid);
    const int w = m_host->ClientWidth();
    const int h = m_host->ClientHeight();
    const int b = m_borderWidth;
    if (IsMDIChildHost()) {
        canvas->FillRect({0, 0, b, h - 2});
        canvas->FillRect({0, h - b - 3, w, h});
        canvas->FillRect({w - b - 3, 0, w, h});
    } else {
        canvas->FillRect({0, 0, b, h});
        canvas->FillRect({0, h - b, w, h});
        canvas->FillRect({w - b, 0, w, h});
    }
    canvas->MoveTo(0, 0);
    canvas->LineTo(w, 0);
}

void TsuiForm::Paint() {
    TCanvas* canvas = Canvas();
    if (m_backgroundPattern && (m_uiStyle == MacOS || m_uiStyle == Protein)) {
        // The 8 × 8 pattern tiles from the panel's origin. Tiled once per look and size, it is
        // copied in one step on each paint.
        const TRect client = ClientRect();
        if (!m_background || m_background->Width() != client.Width() ||
            m_background->Height() != client.Height()) {
            m_background = std::make_unique<TBitmap>(client.Width(), client.Height());
            TCanvas* tiles = m_background->Canvas();
            tiles->Brush()->SetBitmap(m_backgroundPattern.get());
            tiles->FillRect(client);
        }
        canvas->Draw(0, 0, m_background.get());
    } else {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(ClientRect());
    }
    if (IsDesigning()) {
        AlignToHost();
        DrawBorder();
    }
}

void TsuiForm::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_CREATE:
        TCustomPanel::Dispatch(message);
        AlignToHost();
        DrawBorder();
        break;
    case WM_ERASEBKGND:
        // Paint covers the panel; the border lies on the host around it.
        DrawBorder();
        message.Result = 1;
        break;
    default:
        TCustomPanel::Dispatch(message);
        break;
    }
}

// ---- The host's window procedure ----------------------------------------------------------------------

LRESULT TsuiForm::HostWndProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT result) {
    switch (message) {
    case WM_MDIACTIVATE: {
        const bool activating = m_host->HandleAllocated() && static_cast<HWND>(lParam) == m_host->Handle();
        if (activating) {
            SendToMDIClient(WM_SKIN_MDI_ACTIVATE, 0);
        }
        if (m_titleBar) {
            m_titleBar->SetFormActive(activating);
        }
        break;
    }
    case WM_KEYDOWN:
        result = HandleShortCut(message, wParam, lParam) ? 1 : 0;
        break;
    case WM_SHOWWINDOW:
        // The window never shows a native menu bar: the menu lives in the skinned one.
        m_host->SetMenu(nullptr);
        break;
    case WM_DESTROY:
        if (IsMDIChildHost()) {
            SendToMDIClient(WM_SKIN_MDI_ACTIVATE, 0);
            if (m_host->WindowState() == wsMaximized) {
                SendToMDIClient(WM_SKIN_MDI_RESTORED, 0);
            }
        }
        break;
    case WM_ACTIVATE:
        if (m_titleBar) {
            m_titleBar->SetFormActive(LOWORD(wParam) != WA_INACTIVE);
        }
        break;
    case WM_SIZE:
        HostSized();
        break;
    case WM_ERASEBKGND:
        DrawBorder();
        break;
    case WM_NCHITTEST:
        result = HostHitTest(lParam, result);
        break;
    case WM_GETMINMAXINFO:
        FitMaximizedToWorkArea(reinterpret_cast<MINMAXINFO*>(lParam));
        break;
    case WM_SETTEXT:
        // A caption given to the host directly shows in the title bar too.
        if (m_titleBar) {
            m_titleBar->SetCaption(m_host->Caption());
        }
        break;
    default:
        break;
    }
    return result;
}

void TsuiForm::FitMaximizedToWorkArea(MINMAXINFO* info) const {
    // The window is maximised straight into the work area, where HostSized would put it anyway,
    // instead of first covering the whole screen (the host has no caption, so the window system
    // would use the screen).
    if (!info || IsMDIChildHost() || m_hostBorderStyle == bsNone) {
        return;
    }
    TRect area;
    GetWorkAreaRect(area);
    info->ptMaxPosition = {area.Left, area.Top};
    info->ptMaxSize = {area.Width(), area.Height()};
}

void TsuiForm::HostSized() {
    if (!m_host) {
        return;
    }
    auto alive = AliveToken();
    const bool maximized = m_host->WindowState() == wsMaximized;
    if (m_initiallyMaximized) {
        if (!maximized) {
            m_initiallyMaximized = false;
            SetFormBoundsRect(m_host, m_savedHostBounds);
        }
        m_mdiScrolled = true;
    }
    if (maximized && !IsMDIChildHost() && m_hostBorderStyle != bsNone) {
        // A frameless maximised window keeps off the desktop's panels.
        TRect area;
        GetWorkAreaRect(area);
        SetFormBoundsRect(m_host, area);
    }
    if (alive.expired() || !m_titleBar) {
        return;
    }
    AlignToHost();
    DrawBorder();
    m_titleBar->UpdateMaxButtons();
    if (IsMDIChildHost()) {
        if (maximized) {
            SetTitleBarVisible(false);
            if (!m_mdiScrolled) {
                ShiftChildren(true);
                m_mdiScrolled = true;
                SendToMDIClient(WM_SKIN_MDI_MAXIMIZED, m_host->Handle());
            }
        } else {
            SetTitleBarVisible(true);
            if (m_mdiScrolled) {
                ShiftChildren(false);
                m_mdiScrolled = false;
                m_titleBar->UpdateMaxButtons();
                SendToMDIClient(WM_SKIN_MDI_RESTORED, 0);
            }
        }
    }
    m_titleBar->UpdateFormRegion();
}

void TsuiForm::ShiftChildren(bool up) {
    const int distance = m_titleBar ? m_titleBar->Height() : 0;
    if (up) {
        m_shiftedChildren.clear();
        for (int i = 0; i < ControlCount(); ++i) {
            // The title bar itself is hidden meanwhile and goes back to the top when shown.
            TControl* child = Controls(i);
            if (child == m_titleBar) {
                continue;
            }
            child->SetTop(child->Top() - distance);
            m_shiftedChildren.push_back(child);
        }
        return;
    }
    for (TControl* child : std::exchange(m_shiftedChildren, {})) {
        // Only what is still here: a child freed meanwhile is not one of ours any more.
        for (int i = 0; i < ControlCount(); ++i) {
            if (Controls(i) == child) {
                child->SetTop(child->Top() + distance);
                break;
            }
        }
    }
}

LRESULT TsuiForm::HostHitTest(LPARAM lParam, LRESULT result) const {
    if (m_host->WindowState() == wsMaximized) {
        return result;
    }
    if (m_host->FormStyle() == fsMDIForm && result == HTCLIENT) {
        result = HTTRANSPARENT;
    }
    if (m_hostBorderStyle != bsSizeable) {
        return result;
    }
    const TPoint p = m_host->ScreenToClient(LParamToPoint(lParam));
    const int w = m_host->ClientWidth();
    const int h = m_host->ClientHeight();
    const bool left = p.X < 5;
    const bool right = p.X > w - 5;
    const bool top = p.Y < 5;
    const bool bottom = p.Y > h - 5;
    if (left && top) {
        return HTTOPLEFT;
    }
    if (right && top) {
        return HTTOPRIGHT;
    }
    if (right && bottom) {
        return HTBOTTOMRIGHT;
    }
    if (left && bottom) {
        return HTBOTTOMLEFT;
    }
    if (left) {
        return HTLEFT;
    }
    if (top) {
        return HTTOP;
    }
    if (right) {
        return HTRIGHT;
    }
    if (bottom) {
        return HTBOTTOM;
    }
    return result;
}

void TsuiForm::SendToMDIClient(UINT message, WPARAM wParam) {
    if (TCustomForm* main = Application->MainForm()) {
        if (const HWND client = main->ClientHandle()) {
            ::SendMessage(client, message, wParam, 0);
        }
    }
}

// ---- The application's message hook ----------------------------------------------------------------

bool TsuiForm::HandleShortCut(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_host || !IsFormActive(m_host) || !m_host->Active() || !m_menu) {
        return false;
    }
    TWMKey key{message, static_cast<WORD>(wParam), lParam, 0};
    return m_menu->IsShortCut(key);
}

bool TsuiForm::AppMessageHook(MSG& message) {
    // The skinned form of the window the message is for: the menu bar and short-cuts it has.
    auto target = [&message]() -> TsuiForm* {
        const HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
        return OfForm(dynamic_cast<TCustomForm*>(FindControl(root)));
    };
    switch (message.message) {
    case WM_SYSCHAR:
        return LOWORD(message.wParam) == VK_SPACE && PopupSystemMenuFromKeyboard();
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const auto key = static_cast<int>(message.wParam);
        const bool repeat = (message.lParam & (1 << 30)) != 0;
        if (key == VK_MENU) {
            m_altAlone = !repeat || m_altAlone;
            return false;
        }
        m_altAlone = false;
        if (key == VK_F10 && message.message == WM_SYSKEYDOWN &&
            KeyDataToShiftState(message.lParam).Empty()) {
            TsuiForm* form = target();
            return form && form->EnterMenuBar();
        }
        if (message.message == WM_KEYDOWN) {
            TsuiForm* form = target();
            if (form && form != this &&
                form->HandleShortCut(message.message, message.wParam, message.lParam)) {
                return true;
            }
            return HandleShortCut(message.message, message.wParam, message.lParam);
        }
        return false;
    }
    case WM_SYSKEYUP:
    case WM_KEYUP:
        if (static_cast<int>(message.wParam) == VK_MENU && std::exchange(m_altAlone, false)) {
            TsuiForm* form = target();
            return form && form->EnterMenuBar();
        }
        return false;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        m_altAlone = false;
        return false;
    default:
        return false;
    }
}

bool TsuiForm::PopupSystemMenuFromKeyboard() {
    // Without a main form (starting up, shutting down) the menu goes with this form's own window.
    // While that window is disabled under a modal window nothing opens: it must not be closed or
    // minimised from under the modal loop.
    const TCustomForm* form = Application->MainForm() ? Application->MainForm() : m_host;
    if (!form || !m_host || !m_titleBar || !m_titleBar->SystemMenu() || !m_host->HandleAllocated() ||
        !::IsWindowEnabled(m_host->Handle())) {
        return false;
    }
    m_titleBar->SystemMenu()->Popup(form->Left(), form->Top() + m_titleBar->Height());
    return true;
}
