#include "skin/frame/SUITitleBar.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "skin/frame/SUIForm.h"
#include "skin/frame/SUILookSource.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/graphics/Icon.h"
#include "toolkit/windowing/WinUser.h"

// The title bar, in sections: construction and looks; painting; the mouse; hit testing and the
// window region; the system menu. The sections, buttons and their layout are in
// SUITitleBarItems.cpp.

VARNEL_CLASS_INFO(TsuiTitleBar, [](auto& c) {
    c.Bool("Custom", &TsuiTitleBar::Custom, &TsuiTitleBar::SetCustom);
    c.Component("FileTheme", &TsuiTitleBar::FileTheme, &TsuiTitleBar::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &TsuiTitleBar::UIStyle, &TsuiTitleBar::SetUIStyle);
    c.Publish("AutoSize").Default(false);
    c.Publish("BiDiMode");
    c.Publish("Height");
    c.Object("Sections", &TsuiTitleBar::Sections, &TsuiTitleBar::SetSections);
    c.Object("Buttons", &TsuiTitleBar::Buttons, &TsuiTitleBar::SetButtons);
    c.Int("ButtonInterval", &TsuiTitleBar::ButtonInterval, &TsuiTitleBar::SetButtonInterval);
    c.Publish("Caption");
    c.Publish("Font");
    c.Bool("FormActive", &TsuiTitleBar::FormActive, &TsuiTitleBar::SetFormActive);
    c.Int("LeftBtnXOffset", &TsuiTitleBar::LeftBtnXOffset, &TsuiTitleBar::SetLeftBtnXOffset);
    c.Int("RightBtnXOffset", &TsuiTitleBar::RightBtnXOffset, &TsuiTitleBar::SetRightBtnXOffset);
    c.Bool("DrawAppIcon", &TsuiTitleBar::DrawAppIcon, &TsuiTitleBar::SetDrawAppIcon);
    c.Int("RoundCorner", &TsuiTitleBar::RoundCorner, &TsuiTitleBar::SetRoundCorner);
    c.Event("OnCustomBtnsClick", &TsuiTitleBar::OnCustomBtnsClick);
    c.Event("OnHelpBtnClick", &TsuiTitleBar::OnHelpBtnClick);
})

VARNEL_CLASS_INFO(TsuiTitleBarPopupMenu)

void RegisterTitleBarClasses() {
    RegisterClasses<TsuiTitleBar, TsuiTitleBarSection, TsuiTitleBarButton, TsuiTitleBarSections,
                    TsuiTitleBarButtons>();
}

namespace {

// The application's icon, drawn in place of the control box's picture when DrawAppIcon is set;
// loaded once.
const TIcon* AppIcon() {
    static const TIcon* icon = [] {
        auto* loaded = new TIcon();
        loaded->LoadFromResourceName("MAINICON");
        loaded->SetSize(16, 16);
        return loaded;
    }();
    return icon;
}

} // namespace

// ---- Construction and looks ----------------------------------------------------------------------

TsuiTitleBar::TsuiTitleBar(TComponent* owner)
    : TCustomPanel(owner), m_sections(std::make_unique<TsuiTitleBarSections>(this)),
      m_buttons(std::make_unique<TsuiTitleBarButtons>(this)) {
    TControlStyle style = ControlStyle();
    style.Exclude(csAcceptsControls);
    SetControlStyle(style);
    SetBevelOuter(bvNone);
    m_systemMenu = new TsuiTitleBarPopupMenu(this);
    for (TsuiTitleBarBtnType type : {suiControlBox, suiClose, suiMax, suiMin}) {
        m_buttons->Add()->SetButtonType(type);
    }
    SetAlign(alTop);
    Font()->SetColor(0xFFFFFF);
    Font()->SetName("Tahoma");
    Font()->SetStyle(TFontStyles{fsBold});
    SetUIStyle(GetOwnerUIStyle(owner));
}

TsuiTitleBar::~TsuiTitleBar() {
    // The collections' items ask the bar for its theme and repaint it while they go.
    Destroying();
    m_buttons->Clear();
    m_sections->Clear();
}

void TsuiTitleBar::SetUIStyle(TsuiUIStyle value) {
    m_uiStyle = value;
    if (m_custom) {
        return;
    }
    const TsuiLookSource look(m_fileTheme, value);
    m_sections->BeginUpdate();
    m_sections->Clear();
    LoadStyleSections(look.Effective(), look.FromFile());
    m_sections->EndUpdate();
    for (int i = 0; i < m_buttons->Count(); ++i) {
        m_buttons->Items(i)->SetUIStyle(look.Effective());
    }
    if (m_systemMenu) {
        m_systemMenu->SetUIStyle(look.Effective());
        m_systemMenu->SetFileTheme(m_fileTheme);
    }
    if (IsOnSkinnedForm()) {
        ApplyFormRegion(m_roundCorner);
    }
    if (!m_applyingFileTheme) {
        Font()->SetColor(value == MacOS ? 0x000000 : 0xFFFFFF);
    }
    SetAutoSize(true);
    Invalidate();
}

void TsuiTitleBar::LoadStyleSections(TsuiUIStyle effective, bool fromFile) {
    const TsuiLookSource look(fromFile ? m_fileTheme : nullptr, fromFile ? FromThemeFile : effective);
    auto add = [&](TsuiThemeElement element, TsuiTitleBarAlign align, bool autoSize) {
        TsuiTitleBarSection* section = m_sections->Add();
        TBitmap picture;
        look.Bitmap(element, &picture);
        if (!picture.Empty()) {
            section->Picture()->SetGraphic(&picture);
        }
        if (autoSize) {
            section->SetAutoSize(true);
        }
        if (align != suiLeft) {
            section->SetAlign(align);
        }
    };
    add(TsuiThemeElement::TitleBarLeftImage, suiLeft, true);
    add(TsuiThemeElement::TitleBarRightImage, suiRight, true);
    add(TsuiThemeElement::TitleBarClientImage, suiClient, false);
    m_leftBtnXOffset = look.Int(TsuiThemeElement::TitleBarButtonLeftOffsetInt);
    m_rightBtnXOffset = look.Int(TsuiThemeElement::TitleBarButtonRightOffsetInt);
    m_outlineColor = look.Color(TsuiThemeElement::FormBorderColor);
    TBitmap strip;
    look.Bitmap(TsuiThemeElement::TitleBarButtonImage, &strip);
    m_buttonHeight = strip.Height();
    m_buttonTop = look.Int(TsuiThemeElement::TitleBarButtonTopInt);
    if (TCustomForm* form = GetParentForm(this)) {
        form->Constraints()->SetMinWidth(look.Int(TsuiThemeElement::FormMinWidthInt));
    }
    // The region follows from the style application, not from here.
    m_roundCorner = look.Int(TsuiThemeElement::FormRoundCornerInt);
}

void TsuiTitleBar::SetFileTheme(TsuiFileTheme* value) {
    if (m_fileTheme) {
        m_fileTheme->RemoveFreeNotification(this);
    }
    m_fileTheme = value;
    if (value) {
        value->FreeNotification(this);
    }
    m_applyingFileTheme = true;
    auto alive = AliveToken();
    SetUIStyle(m_uiStyle);
    if (!alive.expired()) {
        m_applyingFileTheme = false;
    }
}

void TsuiTitleBar::SetAutoSize(bool value) {
    const TsuiTitleBarSection* first = m_sections->Count() > 0 ? m_sections->Items(0) : nullptr;
    // A look without sections (or whose first picture is missing) keeps the height.
    if (!first || first->Picture()->Empty()) {
        TCustomPanel::SetAutoSize(false);
        return;
    }
    TCustomPanel::SetAutoSize(value);
    SetHeight(first->Picture()->Height());
}

bool TsuiTitleBar::CanAutoSize(int& /*newWidth*/, int& newHeight) {
    const TsuiTitleBarSection* first = m_sections->Count() > 0 ? m_sections->Items(0) : nullptr;
    if (first && !first->Picture()->Empty()) {
        newHeight = first->Picture()->Height();
    }
    return true;
}

void TsuiTitleBar::SetSections(const TsuiTitleBarSections* value) {
    m_sections->Assign(value);
}

void TsuiTitleBar::SetButtons(const TsuiTitleBarButtons* value) {
    m_buttons->Assign(value);
}

void TsuiTitleBar::SetButtonInterval(int value) {
    m_buttonInterval = value;
    Invalidate();
}

void TsuiTitleBar::SetFormActive(bool value) {
    m_formActive = value;
    Invalidate();
}

void TsuiTitleBar::SetLeftBtnXOffset(int value) {
    m_leftBtnXOffset = value;
    Invalidate();
}

void TsuiTitleBar::SetRightBtnXOffset(int value) {
    m_rightBtnXOffset = value;
    Invalidate();
}

void TsuiTitleBar::SetDrawAppIcon(bool value) {
    m_drawAppIcon = value;
    Invalidate();
}

void TsuiTitleBar::SetRoundCorner(int value) {
    m_roundCorner = value;
    UpdateFormRegion();
}

void TsuiTitleBar::UpdateMaxButtons() {
    for (int i = 0; i < m_buttons->Count(); ++i) {
        if (m_buttons->Items(i)->ButtonType() == suiMax) {
            m_buttons->Items(i)->UpdateMaxGlyph();
        }
    }
    Invalidate();
}

bool TsuiTitleBar::IsOnSkinnedForm() const {
    return Parent() && Parent()->InheritsFrom("TsuiForm");
}

void TsuiTitleBar::Notification(TComponent* component, TOperation operation) {
    TCustomPanel::Notification(component, operation);
    if (operation != opRemove || !component) {
        return;
    }
    if (component == m_systemMenu) {
        m_systemMenu = nullptr;
    }
    for (int i = 0; i < m_buttons->Count(); ++i) {
        if (m_buttons->Items(i)->ControlBoxMenu() == component) {
            m_buttons->Items(i)->SetControlBoxMenu(nullptr);
        }
    }
    if (component == m_fileTheme) {
        m_fileTheme = nullptr;
        SetUIStyle(DeepBlue);
    }
}

void TsuiTitleBar::CreateParams(TCreateParams& params) {
    TCustomPanel::CreateParams(params);
    // Where the buttons and the caption go depends on the width: every size is a full repaint.
    params.WindowClass.style |= CS_HREDRAW | CS_VREDRAW;
}

// ---- Painting --------------------------------------------------------------------------------------

TsuiTitleBarLayout TsuiTitleBar::Layout() const {
    return LayoutTitleBar(*m_buttons, Width(), m_leftBtnXOffset, m_rightBtnXOffset, m_buttonInterval,
                          m_drawAppIcon);
}

int TsuiTitleBar::ButtonUnderCursor() const {
    POINT p;
    if (!::GetCursorPos(&p)) {
        return -1;
    }
    return TitleBarButtonAt(Layout(), ScreenToClient(p));
}

void TsuiTitleBar::Paint() {
    TBitmap bitmap(Width(), Height());
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    auto alive = AliveToken();
    DrawSections(&bitmap);
    DrawButtons(&bitmap);
    if (alive.expired()) {
        return;
    }
    if (m_uiStyle != WinXP && m_roundCorner != 0 && IsOnSkinnedForm()) {
        canvas->Pen()->SetColor(m_outlineColor);
        canvas->Brush()->SetStyle(bsClear);
        canvas->RoundRect(-1, 0, bitmap.Width() + 1, bitmap.Height() + 50, m_roundCorner + 1, m_roundCorner);
    }
    Canvas()->Draw(0, 0, &bitmap);
}

void TsuiTitleBar::DrawSections(TBitmap* bitmap) {
    TCanvas* canvas = bitmap->Canvas();
    const int width = bitmap->Width();
    const int height = bitmap->Height();
    // Draws a section's picture into the columns from left (exclusive of right), stretched or
    // copied from its top-left corner.
    auto draw = [&](const TsuiTitleBarSection* section, int left, int right, bool stretch) {
        const TGraphic* graphic = section->Picture()->Graphic();
        if (!graphic || graphic->Empty() || right <= left) {
            return;
        }
        if (stretch) {
            canvas->StretchDraw({left, 0, right, height}, graphic);
            return;
        }
        HDC dc = canvas->Handle();
        const int saved = ::SaveDC(dc);
        ::IntersectClipRect(dc, left, 0, right, height);
        canvas->Draw(left, 0, graphic);
        ::RestoreDC(dc, saved);
    };
    int left = -1;
    int right = width + 1;
    const TsuiTitleBarSection* client = nullptr;
    for (int i = 0; i < m_sections->Count(); ++i) {
        const TsuiTitleBarSection* section = m_sections->Items(i);
        switch (section->Align()) {
        case suiLeft:
            draw(section, left + 1, left + 1 + section->Width(), section->Stretch());
            left += section->Width();
            break;
        case suiRight:
            // A right section that does not fit is left out and leaves the room as it was.
            if (width - left >= section->Width()) {
                draw(section, right - 1 - section->Width(), right - 1, section->Stretch());
                right -= section->Width();
            }
            break;
        case suiClient:
            client = section;
            break;
        }
    }
    if (client) {
        draw(client, left + 1, right - 1, true);
    }
}

void TsuiTitleBar::DrawButtons(TBitmap* bitmap) {
    TCanvas* canvas = bitmap->Canvas();
    const TsuiTitleBarLayout layout = Layout();
    POINT cursor{-1, -1};
    TPoint p{-10000, -10000};
    if (::GetCursorPos(&cursor)) {
        p = ScreenToClient(cursor);
    }
    m_hotButton = TitleBarButtonAt(layout, p);
    for (const TsuiTitleBarLayout::TButtonPlace& place : layout.Buttons) {
        const TsuiTitleBarButton* button = m_buttons->Items(place.Index);
        if (place.Index == layout.ControlBox && m_drawAppIcon) {
            canvas->Draw(place.Rect.Left + 3, place.Rect.Top, AppIcon());
            continue;
        }
        // While the left button is held, only the button it went down on shows pressed, and only
        // while the pointer is over it; the others keep still.
        const TPicture* picture = button->PicNormal();
        if (place.Index == m_hotButton) {
            if (!m_mousePressed) {
                picture = button->PicMouseOn();
            } else if (place.Index == m_pressedButton) {
                picture = button->PicMouseDown();
            }
        }
        TBitmap face(button->PicNormal()->Width(), button->PicNormal()->Height());
        if (picture->Graphic()) {
            face.Canvas()->Draw(0, 0, picture->Graphic());
        }
        face.SetTransparent(button->Transparent());
        canvas->Draw(place.Rect.Left, place.Rect.Top, &face);
    }

    if (!m_formActive) {
        canvas->Font()->SetColor(clInactiveCaption);
    }
    const std::string text = FitCaption(Caption(), layout.CaptionRight - layout.CaptionLeft,
                                        [canvas](std::string_view s) { return canvas->TextWidth(s); });
    if (!text.empty()) {
        const int y = (m_buttonHeight - canvas->TextHeight(text)) / 2 + m_buttonTop;
        canvas->Brush()->SetStyle(bsClear);
        canvas->TextOut(layout.CaptionLeft, y, text);
    }
}

void TsuiTitleBar::WMEraseBkgnd(TMessage& message) {
    // The paint covers everything: erasing first would only flicker.
    message.Result = 1;
}

void TsuiTitleBar::CMFontChanged(TMessage& message) {
    TCustomPanel::CMFontChanged(message);
    Invalidate();
}

void TsuiTitleBar::CMTextChanged(TMessage& message) {
    TCustomPanel::CMTextChanged(message);
    Invalidate();
}

// ---- The mouse -------------------------------------------------------------------------------------

void TsuiTitleBar::SetHotButton(int index) {
    if (index != m_hotButton) {
        m_hotButton = index;
        Invalidate();
    }
}

void TsuiTitleBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = AliveToken();
    TCustomPanel::MouseDown(button, shift, x, y);
    if (alive.expired() || button != mbLeft) {
        return;
    }
    m_mousePressed = true;
    m_hotButton = TitleBarButtonAt(Layout(), {x, y});
    m_pressedButton = m_hotButton;
    Repaint();
    TCustomForm* form = GetParentForm(this);
    // The second press of a double click has done its work in DblClick: it starts no move.
    if (m_hotButton >= 0 || !form || form->WindowState() == wsMaximized || shift.Contains(ssDouble) ||
        !form->HandleAllocated()) {
        return;
    }
    ::ReleaseCapture();
    const TPoint screen = ClientToScreen({x, y});
    ::SendMessage(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.X, screen.Y));
    // The window system has moved the window with the pointer until the button went up.
    if (!alive.expired()) {
        m_mousePressed = false;
        m_pressedButton = -1;
        SetHotButton(ButtonUnderCursor());
        Invalidate();
    }
}

void TsuiTitleBar::MouseMove(TShiftState shift, int x, int y) {
    TCustomPanel::MouseMove(shift, x, y);
    SetHotButton(TitleBarButtonAt(Layout(), {x, y}));
}

void TsuiTitleBar::CMMouseLeave(TMessage& message) {
    TCustomPanel::CMMouseLeave(message);
    SetHotButton(-1);
}

void TsuiTitleBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = AliveToken();
    TCustomPanel::MouseUp(button, shift, x, y);
    if (alive.expired() || button != mbLeft) {
        return;
    }
    const int hot = TitleBarButtonAt(Layout(), {x, y});
    // A button acts only when released over the one it was pressed on: pressing one and sliding
    // onto another does nothing, as with every desktop button.
    const int acting = m_mousePressed && hot == m_pressedButton ? hot : -1;
    m_mousePressed = false;
    m_pressedButton = -1;
    m_hotButton = hot;
    Repaint();
    if (alive.expired() || acting < 0) {
        return;
    }
    TsuiTitleBarButton* pressed = m_buttons->Items(acting);
    if (pressed->ButtonType() == suiControlBox && !pressed->ControlBoxMenu()) {
        PopupSystemMenu(true);
        return;
    }
    const TsuiTitleBarBtnType type = pressed->ButtonType();
    pressed->DoClick();
    if (alive.expired()) {
        return;
    }
    if (type == suiCustom && OnCustomBtnsClick) {
        OnCustomBtnsClick(this, acting);
    } else if (type == suiHelp && OnHelpBtnClick) {
        OnHelpBtnClick(this, acting);
    }
}

void TsuiTitleBar::DblClick() {
    auto alive = AliveToken();
    TCustomPanel::DblClick();
    if (alive.expired()) {
        return;
    }
    const int hot = ButtonUnderCursor();
    if (hot < 0) {
        // On the caption: the first maximise button, shown or not, maximises or restores.
        for (int i = 0; i < m_buttons->Count(); ++i) {
            if (m_buttons->Items(i)->ButtonType() == suiMax) {
                m_buttons->Items(i)->DoClick();
                return;
            }
        }
        return;
    }
    if (m_buttons->Items(hot)->ButtonType() == suiControlBox) {
        if (TCustomForm* form = GetParentForm(this)) {
            form->Close();
        }
    }
}

void TsuiTitleBar::PopupSystemMenu(bool excludeControlBox) {
    if (!m_systemMenu) {
        return;
    }
    const TPoint at = ClientToScreen({0, Height()});
    const TsuiTitleBarLayout layout = Layout();
    if (!excludeControlBox || layout.ControlBox < 0) {
        m_systemMenu->Popup(at.X, at.Y);
        return;
    }
    for (const TsuiTitleBarLayout::TButtonPlace& place : layout.Buttons) {
        if (place.Index == layout.ControlBox) {
            const TPoint topLeft = ClientToScreen(place.Rect.TopLeft());
            m_systemMenu->PopupExcluding(
                at.X, at.Y, Bounds(topLeft.X, topLeft.Y, place.Rect.Width() + 1, place.Rect.Height() + 1));
            return;
        }
    }
}

// ---- Hit testing and the window region ---------------------------------------------------------------

void TsuiTitleBar::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_NCHITTEST:
        WMNCHitTest(message);
        break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSEMOVE:
        ForwardToForm(message);
        break;
    default:
        TCustomPanel::Dispatch(message);
        break;
    }
}

void TsuiTitleBar::WMNCHitTest(TMessage& message) {
    TCustomPanel::Dispatch(message);
    TCustomForm* form = GetParentForm(this);
    if (!form || form->WindowState() == wsMaximized) {
        return;
    }
    if (form->FormStyle() == fsMDIForm && message.Result == HTCLIENT) {
        message.Result = HTTRANSPARENT;
    }
    const auto* skinnedForm = dynamic_cast<const TsuiForm*>(Parent());
    if (!skinnedForm || skinnedForm->GetHostBorderStyle() != bsSizeable) {
        return;
    }
    const TPoint p = ScreenToClient(LParamToPoint(message.LParam));
    if (p.Y >= 5) {
        return;
    }
    if (p.X < 5) {
        message.Result = HTTOPLEFT;
    } else if (p.X > form->ClientWidth() - 5) {
        message.Result = HTTOPRIGHT;
    } else {
        message.Result = HTTOP;
    }
}

void TsuiTitleBar::ForwardToForm(TMessage& message) {
    TCustomForm* form = GetParentForm(this);
    if (!form || !form->HandleAllocated()) {
        TCustomPanel::Dispatch(message);
        return;
    }
    message.Result = ::SendMessage(form->Handle(), message.Msg, message.WParam, message.LParam);
}

void TsuiTitleBar::UpdateFormRegion() {
    if (IsOnSkinnedForm()) {
        ApplyFormRegion(m_roundCorner);
    }
}

void TsuiTitleBar::ApplyFormRegion(int roundCorner) {
    TCustomForm* form = GetParentForm(this);
    if (!form || IsDesigning() || !form->HandleAllocated()) {
        return;
    }
    const int width = form->ClientWidth();
    const int height = form->ClientHeight();
    const int r = roundCorner;
    HRGN region = ::CreateRoundRectRgn(0, 0, width + 1, height + 1, r, r);
    // Only the top corners stay round: the bottom ones are filled back in.
    for (const TRect& corner :
         {TRect{0, height - 2 * r, 2 * r, height}, TRect{width - 2 * r, height - 2 * r, width, height}}) {
        HRGN square = ::CreateRectRgnIndirect(&corner);
        ::CombineRgn(region, region, square, RGN_OR);
        ::DeleteObject(square);
    }
    ::SetWindowRgn(form->Handle(), region, TRUE);
}

// ---- The system menu ---------------------------------------------------------------------------------

TsuiTitleBarPopupMenu::TsuiTitleBarPopupMenu(TsuiTitleBar* titleBar)
    : TsuiPopupMenu(titleBar), m_titleBar(titleBar) {
    SetAutoHotkeys(maManual);
    struct TEntry {
        const char* Caption;
        void (TsuiTitleBarPopupMenu::*Action)();
    };
    const TEntry entries[] = {{"Mi&nimize", &TsuiTitleBarPopupMenu::MinimizeClick},
                              {"Ma&ximize/Restore", &TsuiTitleBarPopupMenu::MaximizeClick},
                              {"-", nullptr},
                              {"&Close", &TsuiTitleBarPopupMenu::CloseClick}};
    for (const TEntry& entry : entries) {
        auto* item = new TMenuItem(this);
        item->SetCaption(entry.Caption);
        if (entry.Action) {
            item->OnClick = [this, action = entry.Action](TObject*) { (this->*action)(); };
        }
        Items()->Add(item);
    }
    HookMenuItems(Items());
}

void TsuiTitleBarPopupMenu::UpdateItems() {
    const TsuiTitleBarButtons* buttons = m_titleBar->Buttons();
    Items()->Items(0)->SetEnabled(buttons->HasType(suiMin));
    Items()->Items(1)->SetEnabled(buttons->HasType(suiMax));
    Items()->Items(3)->SetEnabled(buttons->HasType(suiClose));
}

void TsuiTitleBarPopupMenu::Popup(int x, int y) {
    UpdateItems();
    TsuiPopupMenu::Popup(x, y);
}

void TsuiTitleBarPopupMenu::MinimizeClick() {
    TCustomForm* form = GetParentForm(m_titleBar);
    if (!form || !form->HandleAllocated()) {
        return;
    }
    if (form == Application->MainForm()) {
        ::SendMessage(form->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else {
        ::ShowWindow(form->Handle(), SW_SHOWMINIMIZED);
    }
}

void TsuiTitleBarPopupMenu::MaximizeClick() {
    TsuiTitleBarButtons* buttons = m_titleBar->Buttons();
    auto alive = m_titleBar->AliveToken();
    for (int i = 0; !alive.expired() && i < buttons->Count(); ++i) {
        if (buttons->Items(i)->ButtonType() == suiMax) {
            buttons->Items(i)->DoClick();
        }
    }
}

void TsuiTitleBarPopupMenu::CloseClick() {
    if (TCustomForm* form = GetParentForm(m_titleBar)) {
        form->Close();
    }
}
