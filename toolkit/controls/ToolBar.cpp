#include "toolkit/controls/ToolBar.h"

#include "toolkit/controls/Form.h"
#include "toolkit/controls/Panel.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/menus/MenuItem.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>

// The toolbar and its buttons. Index:
//   buttons                - style, down state and groups, menu item, pressing, hot tracking
//   the toolbar: buttons   - joining and leaving the row, placing it, the bar's settings
//   state and painting     - the draw state of a button, custom drawing, the default look
//   menus                  - dropping a button's menu and moving between the bar's menus

namespace {

constexpr int kCaptionMargin = 7;  // on each side of a caption
constexpr int kSeparatorWidth = 8; // a separator's default width

} // namespace

VARNEL_CLASS_INFO(TToolButton, [](auto& c) {
    c.Bool("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp).Default(false);
    c.Publish("AutoSize").Default(false);
    c.Publish("Caption");
    c.Bool("Down", &TToolButton::Down, &TToolButton::SetDown).Default(false);
    c.Publish("Enabled");
    c.Bool("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(false);
    c.Publish("Hint");
    c.Component("MenuItem", &TToolButton::MenuItem, &TToolButton::SetMenuItem);
    c.Publish("ParentShowHint");
    c.Publish("PopupMenu");
    c.Publish("ShowHint");
    c.Enum("Style", ToolButtonStyleInfo, &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
    c.Publish("Visible");
    c.Publish("OnClick");
    c.Publish("OnContextPopup");
    c.Publish("OnMouseDown");
    c.Publish("OnMouseMove");
    c.Publish("OnMouseUp");
})

VARNEL_CLASS_INFO(TToolBar, [](auto& c) {
    c.Publish("Align").Default(alTop);
    c.Int("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
    c.Int("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
    c.Publish("Color");
    c.SetOf("EdgeBorders", EdgeBorderInfo, &TToolBar::EdgeBorders, &TToolBar::SetEdgeBorders)
        .Default(TEdgeBorders{ebTop});
    c.Enum("EdgeInner", EdgeStyleInfo, &TToolBar::EdgeInner, &TToolBar::SetEdgeInner).Default(esRaised);
    c.Enum("EdgeOuter", EdgeStyleInfo, &TToolBar::EdgeOuter, &TToolBar::SetEdgeOuter).Default(esLowered);
    c.Publish("Enabled");
    c.Bool("Flat", &TToolBar::Flat, &TToolBar::SetFlat).Default(false);
    c.Publish("Font");
    c.Int("Indent", &TToolBar::Indent, &TToolBar::SetIndent).Default(0);
    c.Publish("ParentColor");
    c.Publish("ParentFont");
    c.Publish("ParentShowHint");
    c.Publish("PopupMenu");
    c.Bool("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions).Default(false);
    c.Publish("ShowHint");
    c.Publish("TabOrder");
    c.Publish("Visible");
    c.Event("OnCustomDraw", &TToolBar::OnCustomDraw);
    c.Event("OnCustomDrawButton", &TToolBar::OnCustomDrawButton);
    c.Publish("OnClick");
    c.Publish("OnResize");
})

// ---- Buttons
// ------------------------------------------------------------------------------------------------

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
    // Quick presses are each a click of their own: a button has no double click.
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csSetCaption});
    TGraphicControl::SetBounds(0, 0, 23, 22);
}

TToolButton::~TToolButton() {
    Destroying();
    if (TToolBar* bar = ToolBar()) {
        bar->RemoveButton(this);
    }
    SetMenuItem(nullptr);
}

TToolBar* TToolButton::ToolBar() const {
    return dynamic_cast<TToolBar*>(Parent());
}

int TToolButton::Index() const {
    const TToolBar* bar = ToolBar();
    if (!bar) {
        return -1;
    }
    auto it = std::find(bar->m_buttons.begin(), bar->m_buttons.end(), this);
    return it == bar->m_buttons.end() ? -1 : static_cast<int>(it - bar->m_buttons.begin());
}

void TToolButton::SetStyle(TToolButtonStyle value) {
    if (value == m_style) {
        return;
    }
    m_style = value;
    if (value == tbsSeparator || value == tbsDivider) {
        TGraphicControl::SetBounds(Left(), Top(), kSeparatorWidth, Height());
    }
    if (TToolBar* bar = ToolBar()) {
        bar->AdjustButtons();
    }
    Invalidate();
}

void TToolButton::SetDown(bool value) {
    if (value == m_down) {
        return;
    }
    m_down = value;
    if (value && m_grouped && m_style == tbsCheck) {
        // The other buttons of the group (the grouped check buttons next to this one) go up.
        if (TToolBar* bar = ToolBar()) {
            const int index = Index();
            auto release = [&](int i) {
                TToolButton* other = bar->Buttons(i);
                if (!other || !other->m_grouped || other->m_style != tbsCheck) {
                    return false;
                }
                if (other->m_down) {
                    other->m_down = false;
                    other->Invalidate();
                }
                return true;
            };
            for (int i = index - 1; release(i); --i) {
            }
            for (int i = index + 1; release(i); ++i) {
            }
        }
    }
    Invalidate();
}

void TToolButton::SetMenuItem(TMenuItem* value) {
    if (value == m_menuItem) {
        return;
    }
    if (m_menuItem) {
        m_menuItem->RemoveFreeNotification(this);
    }
    m_menuItem = value;
    if (value) {
        value->FreeNotification(this);
        SetCaption(value->Caption());
        SetEnabled(value->Enabled());
        SetHint(value->Hint());
    }
    Invalidate();
}

bool TToolButton::HasDropDownMenu() const {
    return m_menuItem && m_menuItem->Count() > 0;
}

void TToolButton::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == m_menuItem) {
        m_menuItem = nullptr;
    }
}

void TToolButton::SetAutoSize(bool value) {
    if (value == AutoSize()) {
        return;
    }
    TGraphicControl::SetAutoSize(value);
    if (TToolBar* bar = ToolBar()) {
        bar->AdjustButtons();
    }
}

void TToolButton::SetBounds(int left, int top, int width, int height) {
    TToolBar* bar = ToolBar();
    if (!bar || bar->m_placing || IsLoading() || bar->IsLoading()) {
        TGraphicControl::SetBounds(left, top, width, height);
        return;
    }
    // The toolbar decides where its buttons go: a new height is every button's height, a new
    // width a separator's or a fixed-size button's, and a new left a new place in the row.
    if (height != Height()) {
        bar->SetButtonHeight(height);
    }
    if (width != Width() && !AutoSize()) {
        if (m_style == tbsSeparator || m_style == tbsDivider) {
            TGraphicControl::SetBounds(Left(), Top(), width, Height());
        }
    }
    if (left != Left()) {
        bar->ButtonMoved(this, left);
    }
    bar->AdjustButtons();
}

void TToolButton::Click() {
    if (m_style == tbsCheck) {
        SetDown(!m_down || (m_grouped && !m_allowAllUp));
    }
    auto alive = AliveToken();
    TGraphicControl::Click();
    if (alive.expired()) {
        return;
    }
    if (m_menuItem && !HasDropDownMenu()) {
        m_menuItem->Click();
    }
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    auto alive = AliveToken();
    TGraphicControl::MouseDown(button, shift, x, y);
    if (alive.expired() || button != mbLeft || !Enabled()) {
        return;
    }
    TToolBar* bar = ToolBar();
    if (bar && HasDropDownMenu()) {
        // The menu takes the pointer from here; this press is no click of the button.
        SetControlState(ControlState() - TControlState{csClicked});
        SetMouseCapture(false);
        bar->TrackMenu(this, false);
        return;
    }
    m_pressed = true;
    Invalidate();
}

void TToolButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (ControlState().Contains(csClicked)) {
        const bool inside = ClientRect().Contains({x, y});
        if (inside != m_pressed) {
            m_pressed = inside;
            Invalidate();
        }
    }
}

void TToolButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (m_pressed) {
        m_pressed = false;
        Invalidate();
    }
    TGraphicControl::MouseUp(button, shift, x, y);
}

void TToolButton::CMMouseEnter(TMessage& message) {
    TGraphicControl::CMMouseEnter(message);
    if (TToolBar* bar = ToolBar()) {
        bar->SetHotButton(this);
    }
}

void TToolButton::CMMouseLeave(TMessage& message) {
    TGraphicControl::CMMouseLeave(message);
    if (TToolBar* bar = ToolBar(); bar && bar->m_hotButton == this) {
        bar->SetHotButton(nullptr);
    }
}

void TToolButton::CMTextChanged(TMessage& message) {
    TGraphicControl::CMTextChanged(message);
    if (TToolBar* bar = ToolBar()) {
        bar->AdjustButtons();
    }
    Invalidate();
}

void TToolButton::CMEnabledChanged(TMessage& message) {
    TGraphicControl::CMEnabledChanged(message);
    Invalidate();
}

void TToolButton::CMVisibleChanged(TMessage& message) {
    TGraphicControl::CMVisibleChanged(message);
    if (TToolBar* bar = ToolBar()) {
        if (!Visible() && bar->m_hotButton == this) {
            bar->m_hotButton = nullptr;
        }
        bar->AdjustButtons();
        bar->Invalidate();
    }
}

// ---- The toolbar: buttons --------------------------------------------------------------------------------

TToolBar::TToolBar(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque,
                                  csMenuEvents, csSetCaption});
    SetColor(clBtnFace);
    SetParentColor(false);
    SetBounds(Left(), Top(), 150, 29);
    SetAlign(alTop);
}

TToolBar::~TToolBar() {
    Destroying();
    if (IsMenuActive() && m_inMenuLoop) {
        EndMenu();
    }
    // The buttons go with the toolbar; they must not find it half gone.
    for (TToolButton* button : m_buttons) {
        if (button == m_hotButton) {
            m_hotButton = nullptr;
        }
    }
    m_droppedButton = nullptr;
}

TToolButton* TToolBar::Buttons(int index) const {
    if (index < 0 || index >= ButtonCount()) {
        return nullptr;
    }
    return m_buttons[static_cast<std::size_t>(index)];
}

void TToolBar::InsertButton(TToolButton* button) {
    if (std::find(m_buttons.begin(), m_buttons.end(), button) != m_buttons.end()) {
        return;
    }
    if (IsLoading() || button->IsLoading()) {
        // Placed in order of their stored positions once everything is read.
        m_buttons.push_back(button);
        return;
    }
    // Its Left says where it goes: in front of the first button that lies at or right of it.
    auto at = std::find_if(m_buttons.begin(), m_buttons.end(), [button](const TToolButton* b) {
        return b->Visible() && b->Left() >= button->Left();
    });
    m_buttons.insert(at, button);
    if (button->Height() != m_buttonHeight) {
        m_placing = true;
        button->TGraphicControl::SetBounds(button->Left(), button->Top(), button->Width(), m_buttonHeight);
        m_placing = false;
    }
    AdjustButtons();
    Invalidate();
}

void TToolBar::RemoveButton(TToolButton* button) {
    auto it = std::find(m_buttons.begin(), m_buttons.end(), button);
    if (it == m_buttons.end()) {
        return;
    }
    m_buttons.erase(it);
    if (m_hotButton == button) {
        m_hotButton = nullptr;
    }
    if (m_droppedButton == button) {
        m_droppedButton = nullptr;
    }
    if (!IsDestroying()) {
        AdjustButtons();
        Invalidate();
    }
}

void TToolBar::ButtonMoved(TToolButton* button, int left) {
    auto it = std::find(m_buttons.begin(), m_buttons.end(), button);
    if (it == m_buttons.end()) {
        return;
    }
    m_buttons.erase(it);
    auto at = std::find_if(m_buttons.begin(), m_buttons.end(),
                           [left](const TToolButton* b) { return b->Visible() && b->Left() >= left; });
    m_buttons.insert(at, button);
}

void TToolBar::Loaded() {
    TCustomControl::Loaded();
    std::stable_sort(m_buttons.begin(), m_buttons.end(),
                     [](const TToolButton* a, const TToolButton* b) { return a->Left() < b->Left(); });
    m_placing = true;
    for (TToolButton* button : m_buttons) {
        button->TGraphicControl::SetBounds(button->Left(), button->Top(), button->Width(), m_buttonHeight);
    }
    m_placing = false;
    m_inLoaded = true;
    AdjustButtons();
    m_inLoaded = false;
}

int TToolBar::EdgeWidth(TEdgeBorder edge) const {
    if (!m_edgeBorders.Contains(edge)) {
        return 0;
    }
    return (m_edgeInner != esNone ? 1 : 0) + (m_edgeOuter != esNone ? 1 : 0);
}

int TToolBar::ButtonSize(const TToolButton* button) const {
    if (button->Style() == tbsSeparator || button->Style() == tbsDivider) {
        return button->Width();
    }
    if (button->AutoSize() && m_showCaptions) {
        const std::string caption = StripHotkey(button->Caption());
        return TFontEngine::Instance().TextWidth(Font()->Request(), caption) + 2 * kCaptionMargin;
    }
    return m_buttonWidth;
}

void TToolBar::AdjustButtons() {
    if (m_placing || (IsLoading() && !m_inLoaded) || IsDestroying()) {
        return;
    }
    m_placing = true;
    int x = m_indent + EdgeWidth(ebLeft);
    const int y = EdgeWidth(ebTop);
    for (TToolButton* button : m_buttons) {
        if (!button->Visible()) {
            continue;
        }
        const int width = ButtonSize(button);
        const TRect old = button->BoundsRect();
        const TRect now = Bounds(x, y, width, m_buttonHeight);
        if (old != now) {
            button->TGraphicControl::SetBounds(now.Left, now.Top, now.Width(), now.Height());
        }
        x += width;
    }
    m_placing = false;
}

void TToolBar::SetButtonHeight(int value) {
    value = std::max(1, value);
    if (value == m_buttonHeight) {
        return;
    }
    m_buttonHeight = value;
    AdjustButtons();
    Invalidate();
}

void TToolBar::SetButtonWidth(int value) {
    value = std::max(1, value);
    if (value == m_buttonWidth) {
        return;
    }
    m_buttonWidth = value;
    AdjustButtons();
    Invalidate();
}

void TToolBar::SetEdgeBorders(TEdgeBorders value) {
    if (value == m_edgeBorders) {
        return;
    }
    m_edgeBorders = value;
    AdjustButtons();
    Invalidate();
}

void TToolBar::SetEdgeInner(TEdgeStyle value) {
    if (value == m_edgeInner) {
        return;
    }
    m_edgeInner = value;
    AdjustButtons();
    Invalidate();
}

void TToolBar::SetEdgeOuter(TEdgeStyle value) {
    if (value == m_edgeOuter) {
        return;
    }
    m_edgeOuter = value;
    AdjustButtons();
    Invalidate();
}

void TToolBar::SetFlat(bool value) {
    if (value == m_flat) {
        return;
    }
    m_flat = value;
    Invalidate();
}

void TToolBar::SetIndent(int value) {
    value = std::max(0, value);
    if (value == m_indent) {
        return;
    }
    m_indent = value;
    AdjustButtons();
    Invalidate();
}

void TToolBar::SetShowCaptions(bool value) {
    if (value == m_showCaptions) {
        return;
    }
    m_showCaptions = value;
    AdjustButtons();
    Invalidate();
}

void TToolBar::CMFontChanged(TMessage& message) {
    TCustomControl::CMFontChanged(message);
    AdjustButtons();
    Invalidate();
}

void TToolBar::WndProc(TMessage& message) {
    // Buttons put on the toolbar by their parent alone (a layout, SetParent of the base class)
    // join the row as well.
    if (message.Msg == CM_CONTROLCHANGE) {
        auto* control = reinterpret_cast<TControl*>(message.WParam);
        if (auto* button = dynamic_cast<TToolButton*>(control)) {
            if (message.LParam != 0) {
                InsertButton(button);
            } else {
                RemoveButton(button);
            }
        }
    }
    TCustomControl::WndProc(message);
}

// ---- State and painting
// -------------------------------------------------------------------------------------

TCustomDrawState TToolBar::ButtonState(const TToolButton* button) const {
    TCustomDrawState state;
    if (!button->Enabled() || !Enabled()) {
        state.Include(cdsDisabled);
    }
    if (button == m_droppedButton || button->m_pressed) {
        state.Include(cdsSelected);
    }
    if (button == m_hotButton && button->Enabled()) {
        state.Include(cdsHot);
    }
    if (button->Down()) {
        state.Include(cdsChecked);
    }
    return state;
}

void TToolBar::SetHotButton(TToolButton* button) {
    if (button == m_hotButton) {
        return;
    }
    TToolButton* old = m_hotButton;
    m_hotButton = button;
    if (old) {
        InvalidateButton(old);
    }
    if (button) {
        InvalidateButton(button);
    }
}

void TToolBar::InvalidateButton(const TToolButton* button) {
    if (!HandleAllocated() || !button) {
        return;
    }
    const TRect r = button->BoundsRect();
    ::InvalidateRect(Handle(), &r, FALSE);
}

void TToolBar::Paint() {
    TCanvas* canvas = Canvas();
    const TRect client = ClientRect();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(client);
    // Edge borders: an etched pair of lines along each chosen side.
    auto line = [canvas](const TRect& r, TColor color) {
        canvas->Brush()->SetColor(color);
        canvas->FillRect(r);
    };
    auto edgeColor = [](TEdgeStyle style, bool topLeft) {
        return style == esRaised ? (topLeft ? clBtnHighlight : clBtnShadow)
                                 : (topLeft ? clBtnShadow : clBtnHighlight);
    };
    int depth = 0; // the outer line first, then the inner one
    for (TEdgeStyle style : {m_edgeOuter, m_edgeInner}) {
        if (style == esNone) {
            continue;
        }
        const int i = depth++;
        if (m_edgeBorders.Contains(ebTop)) {
            line({client.Left, client.Top + i, client.Right, client.Top + i + 1}, edgeColor(style, true));
        }
        if (m_edgeBorders.Contains(ebLeft)) {
            line({client.Left + i, client.Top, client.Left + i + 1, client.Bottom}, edgeColor(style, true));
        }
        if (m_edgeBorders.Contains(ebBottom)) {
            line({client.Left, client.Bottom - 1 - i, client.Right, client.Bottom - i},
                 edgeColor(style, false));
        }
        if (m_edgeBorders.Contains(ebRight)) {
            line({client.Right - 1 - i, client.Top, client.Right - i, client.Bottom},
                 edgeColor(style, false));
        }
    }

    auto alive = AliveToken();
    bool defaultDraw = true;
    if (OnCustomDraw) {
        OnCustomDraw(this, client, defaultDraw);
        if (alive.expired()) {
            return;
        }
    }
    if (!defaultDraw) {
        return;
    }
    const std::vector<TToolButton*> buttons = m_buttons;
    for (TToolButton* button : buttons) {
        if (!button->Visible() || button->Parent() != this) {
            continue;
        }
        const TRect r = button->BoundsRect();
        if (!::RectVisible(canvas->Handle(), &r)) {
            continue;
        }
        const TCustomDrawState state = ButtonState(button);
        bool drawIt = true;
        if (OnCustomDrawButton) {
            canvas->SetFont(Font());
            canvas->Brush()->SetColor(Color());
            canvas->Brush()->SetStyle(bsSolid);
            OnCustomDrawButton(this, button, state, drawIt);
            if (alive.expired()) {
                return;
            }
        }
        if (drawIt) {
            DrawButton(button, state);
        }
    }
}

void TToolBar::DrawButton(TToolButton* button, TCustomDrawState state) {
    TCanvas* canvas = Canvas();
    TRect r = button->BoundsRect();
    if (button->Style() == tbsSeparator) {
        return;
    }
    if (button->Style() == tbsDivider) {
        const int x = r.Left + r.Width() / 2 - 1;
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clBtnShadow);
        canvas->FillRect({x, r.Top + 2, x + 1, r.Bottom - 2});
        canvas->Brush()->SetColor(clBtnHighlight);
        canvas->FillRect({x + 1, r.Top + 2, x + 2, r.Bottom - 2});
        return;
    }
    const bool sunken = state.Contains(cdsSelected) || state.Contains(cdsChecked);
    const bool enabled = !state.Contains(cdsDisabled);
    TRect face = r;
    if (sunken) {
        Frame3D(canvas, face, clBtnShadow, clBtnHighlight, 1);
    } else if (!m_flat) {
        Frame3D(canvas, face, clBtnHighlight, cl3DDkShadow, 1);
        Frame3D(canvas, face, cl3DLight, clBtnShadow, 1);
    } else if (state.Contains(cdsHot) && enabled) {
        Frame3D(canvas, face, clBtnHighlight, clBtnShadow, 1);
    }
    if (!m_showCaptions || button->Caption().empty()) {
        return;
    }
    TRect text = r;
    if (sunken) {
        text = text.Offset(1, 1);
    }
    canvas->SetFont(Font());
    canvas->Brush()->SetStyle(bsClear);
    const unsigned format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (enabled) {
        ::DrawText(canvas->Handle(), button->Caption(), &text, format);
        return;
    }
    TRect embossed = text.Offset(1, 1);
    canvas->Font()->SetColor(clBtnHighlight);
    ::DrawText(canvas->Handle(), button->Caption(), &embossed, format);
    canvas->Font()->SetColor(clBtnShadow);
    ::DrawText(canvas->Handle(), button->Caption(), &text, format);
}

// ---- Menus
// ----------------------------------------------------------------------------------------------------

TToolButton* TToolBar::NeighbourWithMenu(const TToolButton* from, TMenuBarDirection direction) const {
    const int count = ButtonCount();
    auto it = std::find(m_buttons.begin(), m_buttons.end(), from);
    if (it == m_buttons.end() || count == 0) {
        return nullptr;
    }
    const int start = static_cast<int>(it - m_buttons.begin());
    const int step = direction == TMenuBarDirection::Next ? 1 : -1;
    for (int n = 1; n < count; ++n) {
        TToolButton* button =
            m_buttons[static_cast<std::size_t>(((start + step * n) % count + count) % count)];
        if (button->Visible() && button->Enabled() && button->HasDropDownMenu()) {
            return button;
        }
    }
    return nullptr;
}

TToolButton* TToolBar::ButtonAtScreen(TPoint screen) const {
    if (!const_cast<TToolBar*>(this)->HandleAllocated()) {
        return nullptr;
    }
    const TPoint p = ScreenToClient(screen);
    if (!ClientRect().Contains(p)) {
        return nullptr;
    }
    for (TToolButton* button : m_buttons) {
        if (button->Visible() && button->BoundsRect().Contains(p)) {
            return button;
        }
    }
    return nullptr;
}

void TToolBar::UpdateHotFromCursor() {
    POINT p;
    TToolButton* under = ::GetCursorPos(&p) ? ButtonAtScreen(p) : nullptr;
    SetHotButton(under && under->Enabled() ? under : nullptr);
}

void TToolBar::TrackMenu(TToolButton* button, bool fromKeyboard) {
    if (m_inMenuLoop || !button || !button->HasDropDownMenu() || !HandleAllocated()) {
        return;
    }
    auto alive = AliveToken();
    m_inMenuLoop = true;
    TToolButton* current = button;
    TMenuItem* chosen = nullptr;
    bool keyboard = fromKeyboard;
    const TCustomForm* form = GetParentForm(this);
    while (current) {
        m_droppedButton = current;
        m_hotButton = nullptr;
        Repaint();
        if (alive.expired()) {
            return;
        }
        const TRect bounds = current->BoundsRect();
        TTrackMenuParams params;
        params.Position = ClientToScreen({bounds.Left, bounds.Bottom});
        params.Alignment = paLeft;
        const TPoint topLeft = ClientToScreen({bounds.Left, bounds.Top});
        params.Exclude = Bounds(topLeft.X, topLeft.Y, bounds.Width(), bounds.Height());
        params.Owner = form && const_cast<TCustomForm*>(form)->HandleAllocated()
                           ? const_cast<TCustomForm*>(form)->Handle()
                           : 0;
        params.SelectFirst = keyboard;
        params.LeftButtonOnly = true;
        // The chosen command runs once the bar has let go of its button, below.
        params.ReturnCommand = true;
        TToolButton* next = nullptr;
        // The loop may call these after something freed the toolbar and before it notices.
        params.OnBarKey = [&](TMenuBarDirection direction) {
            if (alive.expired()) {
                return false;
            }
            next = NeighbourWithMenu(current, direction);
            return next != nullptr;
        };
        // The pointer counts only once it moves: a menu reached with the keys must not jump back
        // to the button the pointer happens to rest on.
        POINT pointerAtDrop{-1, -1};
        ::GetCursorPos(&pointerAtDrop);
        params.OnBarPointer = [&](TPoint screen) {
            if (alive.expired() || screen == pointerAtDrop) {
                return false;
            }
            pointerAtDrop = {-1, -1};
            TToolButton* under = ButtonAtScreen(screen);
            if (under && under != current && under->Enabled() && under->HasDropDownMenu()) {
                next = under;
                return true;
            }
            return false;
        };
        const TTrackMenuResult result = ::TrackMenu(current->MenuItem(), params);
        if (alive.expired()) {
            if (result.Chosen) {
                result.Chosen->Click();
            }
            return;
        }
        chosen = result.Chosen;
        const bool moved = result.Reason == TMenuCloseReason::MovedPrevious ||
                           result.Reason == TMenuCloseReason::MovedNext ||
                           result.Reason == TMenuCloseReason::PointerSwitched;
        // The buttons may have changed while the menu was open; go on only with one still here.
        if (!moved || !next || std::find(m_buttons.begin(), m_buttons.end(), next) == m_buttons.end()) {
            break;
        }
        keyboard = result.Reason != TMenuCloseReason::PointerSwitched;
        current = next;
    }
    m_droppedButton = nullptr;
    m_inMenuLoop = false;
    // Shown let go before the command runs: a window the command opens finds the bar at rest.
    Repaint();
    if (alive.expired()) {
        return;
    }
    UpdateHotFromCursor();
    if (chosen) {
        chosen->Click();
    }
}

void TToolBar::CMDialogChar(TMessage& message) {
    // Alt with a button's access key drops its menu, as a menu bar's items do.
    const auto ch = static_cast<char32_t>(message.WParam);
    if (::GetKeyState(VK_MENU) < 0 && Enabled() && IsVisibleInTree()) {
        for (TToolButton* button : std::vector<TToolButton*>(m_buttons)) {
            if (!button->Visible() || !button->Enabled() || !IsAccel(ch, button->Caption())) {
                continue;
            }
            message.Result = 1;
            if (button->HasDropDownMenu()) {
                TrackMenu(button, true);
            } else {
                button->Click();
            }
            return;
        }
    }
    TCustomControl::CMDialogChar(message);
}
