#include "toolkit/controls/Control.h"

#include "toolkit/controls/ActionList.h"
#include "toolkit/controls/Application.h"
#include "toolkit/controls/Form.h"
#include "toolkit/controls/WinControl.h"
#include "toolkit/graphics/Gdi.h"

#include <algorithm>

// TControl, in sections: published properties; capture and the control under the pointer; life;
// geometry (bounds, constraints, anchors, auto size); state and looks with their parent flags;
// painting. The messages are in ControlMessages.cpp.

VARNEL_CLASS_INFO(TControl, [](auto& c) {
    c.Int("Left", &TControl::Left, &TControl::SetLeft);
    c.Int("Top", &TControl::Top, &TControl::SetTop);
    c.Int("Width", &TControl::Width, &TControl::SetWidth);
    c.Int("Height", &TControl::Height, &TControl::SetHeight);
    c.Cursor("Cursor", &TControl::Cursor, &TControl::SetCursor).Default(crDefault);
    c.String("Hint", &TControl::Hint, &TControl::SetHint).Default("");
    // Declared here for the controls that publish them.
    c.Enum("Align", AlignInfo, &TControl::Align, &TControl::SetAlign).Default(alNone).Unpublished();
    c.SetOf("Anchors", AnchorKindInfo, &TControl::Anchors, &TControl::SetAnchors)
        .StoredWhen(&TControl::IsAnchorsStored)
        .Unpublished();
    c.Object("Constraints", &TControl::Constraints, &TControl::SetConstraints).Unpublished();
    c.Bool("AutoSize", &TControl::AutoSize, &TControl::SetAutoSize).Default(false).Unpublished();
    c.String("Caption", &TControl::Caption, &TControl::SetCaption).Unpublished();
    c.String("Text", &TControl::Text, &TControl::SetText).Unpublished();
    c.Color("Color", &TControl::Color, &TControl::SetColor)
        .StoredWhen(&TControl::IsColorStored)
        .Unpublished();
    c.Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true).Unpublished();
    c.Object("Font", &TControl::Font, &TControl::SetFont).StoredWhen(&TControl::IsFontStored).Unpublished();
    c.Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true).Unpublished();
    c.Bool("Visible", &TControl::Visible, &TControl::SetVisible).Default(true).Unpublished();
    c.Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true).Unpublished();
    c.Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .StoredWhen(&TControl::IsShowHintStored)
        .Unpublished();
    c.Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint)
        .Default(true)
        .Unpublished();
    c.Enum("BiDiMode", BiDiModeInfo, &TControl::BiDiMode, &TControl::SetBiDiMode)
        .Default(bdLeftToRight)
        .Unpublished();
    c.Bool("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode)
        .Default(true)
        .Unpublished();
    c.Component("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu).Unpublished();
    c.Component("Action", &TControl::Action, &TControl::SetAction).Unpublished();
    c.Event("OnClick", &TControl::OnClick).Unpublished();
    c.Event("OnDblClick", &TControl::OnDblClick).Unpublished();
    c.Event("OnMouseDown", &TControl::OnMouseDown).Unpublished();
    c.Event("OnMouseMove", &TControl::OnMouseMove).Unpublished();
    c.Event("OnMouseUp", &TControl::OnMouseUp).Unpublished();
    c.Event("OnResize", &TControl::OnResize).Unpublished();
    c.Event("OnContextPopup", &TControl::OnContextPopup).Unpublished();
    c.Event("OnCanResize", &TControl::OnCanResize).Unpublished();
})

namespace {

// The windowless control that holds the capture through its parent's window, and the control
// under the pointer. Both are cleared when their control goes.
TControl* g_captureControl = nullptr;
TControl* g_mouseControl = nullptr;

} // namespace

// ---- Capture and the control under the pointer -------------------------------------------------------

TControl* GetCaptureControl() {
    TControl* result = FindControl(::GetCapture());
    if (result && g_captureControl && g_captureControl->Parent() == result) {
        return g_captureControl;
    }
    return result;
}

void SetCaptureControl(TControl* control) {
    g_captureControl = nullptr;
    ::ReleaseCapture();
    if (!control) {
        return;
    }
    auto* window = dynamic_cast<TWinControl*>(control);
    if (!window) {
        if (!control->Parent()) {
            return;
        }
        window = control->Parent();
    }
    if (!window->HandleAllocated()) {
        return;
    }
    ::SetCapture(window->Handle());
    if (window != control) {
        g_captureControl = control;
    }
}

TControl* MouseControl() {
    return g_mouseControl;
}

void SetMouseControl(TControl* control) {
    if (control == g_mouseControl) {
        return;
    }
    Application->HintMouseMoved(control);
    TControl* old = g_mouseControl;
    g_mouseControl = control;
    // The leave goes first; either handler may free its control, which clears the pointer.
    if (old) {
        old->Perform(CM_MOUSELEAVE);
    }
    if (g_mouseControl && g_mouseControl == control) {
        control->Perform(CM_MOUSEENTER);
    }
}

TCustomForm* GetParentForm(const TControl* control) {
    if (!control) {
        return nullptr;
    }
    while (control->Parent()) {
        control = control->Parent();
    }
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

// ---- Life --------------------------------------------------------------------------------------------

TControl::TControl(TComponent* owner)
    : TComponent(owner), m_constraints(std::make_unique<TSizeConstraints>(this)),
      m_font(std::make_unique<TFont>()) {
    RegisterControlIdents();
    m_constraints->OnChange = [this](TObject*) { ConstraintsChanged(); };
    m_font->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
    Destroying();
    m_alive.reset();
    if (g_mouseControl == this) {
        g_mouseControl = nullptr;
        Application->HintMouseMoved(nullptr);
    }
    if (g_captureControl == this) {
        g_captureControl = nullptr;
        ::ReleaseCapture();
    }
    if (m_parent) {
        m_parent->RemoveControl(this);
    }
    m_actionLink.reset();
    if (m_popupMenu) {
        RemoveFreeNotification(m_popupMenu);
    }
}

TComponent* TControl::GetParentComponent() const {
    return m_parent;
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* window = dynamic_cast<TWinControl*>(parent)) {
        SetParent(window);
    }
}

TStatus TControl::SetName(const std::string& name) {
    const bool renameCaption = m_controlStyle.Contains(csSetCaption) && !IsLoading() && Name() == m_text &&
                               !(Owner() && Owner()->IsLoading());
    TStatus status = TComponent::SetName(name);
    if (status && renameCaption) {
        SetText(name);
    }
    return status;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == m_parent) {
        return;
    }
    // A control cannot hold itself, directly or through its children.
    if (parent && (parent == this || (dynamic_cast<TWinControl*>(this) &&
                                      static_cast<TWinControl*>(this)->ContainsControl(parent)))) {
        return;
    }
    if (m_parent) {
        m_parent->RemoveControl(this);
    }
    if (parent) {
        parent->InsertControl(this);
        UpdateAnchorRules();
    }
}

void TControl::Loaded() {
    TComponent::Loaded();
    m_reportedSize = {m_width, m_height};
    if (m_parent) {
        Perform(CM_PARENTCOLORCHANGED);
        Perform(CM_PARENTFONTCHANGED);
        Perform(CM_PARENTSHOWHINTCHANGED);
    }
    if (TBasicAction* action = Action()) {
        ActionChange(action, true);
    }
    UpdateAnchorRules();
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove || !component) {
        return;
    }
    if (component == m_popupMenu) {
        m_popupMenu = nullptr;
    }
    // The action may already have let go of its links when its owner's notice arrives.
    if (m_actionLink && (component == m_actionLink->Action() || !m_actionLink->Action())) {
        m_actionLink.reset();
        m_controlStyle.Exclude(csActionClient);
    }
}

// ---- Geometry ----------------------------------------------------------------------------------------

bool TControl::CanResize(int& newWidth, int& newHeight) {
    bool resize = true;
    if (OnCanResize && !IsLoading()) {
        OnCanResize(this, newWidth, newHeight, resize);
    }
    return resize;
}

bool TControl::CanAutoSize(int& /*newWidth*/, int& /*newHeight*/) {
    return true;
}

bool TControl::CheckNewSize(int& width, int& height) {
    auto canResize = [this](int& w, int& h) {
        if (!CanResize(w, h)) {
            return false;
        }
        w = m_constraints->ClampWidth(std::max(w, 0));
        h = m_constraints->ClampHeight(std::max(h, 0));
        return true;
    };
    auto canAutoSize = [this](int& w, int& h) {
        if (m_align == alClient) {
            return true;
        }
        int autoWidth = w;
        int autoHeight = h;
        const bool result = CanAutoSize(autoWidth, autoHeight);
        // An aligned side is the parent's to size; the other one is the control's own.
        if (m_align == alNone || m_align == alLeft || m_align == alRight) {
            w = autoWidth;
        }
        if (m_align == alNone || m_align == alTop || m_align == alBottom) {
            h = autoHeight;
        }
        return result;
    };
    int w = std::max(width, 0);
    int h = std::max(height, 0);
    if (!canResize(w, h)) {
        return false;
    }
    int autoW = w;
    int autoH = h;
    const bool ok =
        !m_autoSize || (canAutoSize(autoW, autoH) && autoW == w && autoH == h) || canResize(autoW, autoH);
    if (ok) {
        width = autoW;
        height = autoH;
    }
    return ok;
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (!CheckNewSize(width, height)) {
        return;
    }
    if (left == m_left && top == m_top && width == m_width && height == m_height) {
        return;
    }
    InvalidateControl(m_visible, false);
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    UpdateAnchorRules();
    Invalidate();
    RequestAlign();
    if (!IsLoading()) {
        Resize();
    }
}

void TControl::SetClientWidth(int value) {
    SetClientSize(value, ClientHeight());
}

void TControl::SetClientHeight(int value) {
    SetClientSize(ClientWidth(), value);
}

void TControl::SetClientSize(int width, int height) {
    const TRect client = ClientRect();
    SetBounds(m_left, m_top, m_width - client.Width() + width, m_height - client.Height() + height);
}

TPoint TControl::ClientOrigin() const {
    if (!m_parent) {
        return {m_left, m_top};
    }
    const TPoint origin = m_parent->ClientOrigin();
    return {origin.X + m_left, origin.Y + m_top};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    const TPoint origin = ClientOrigin();
    return {p.X + origin.X, p.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    const TPoint origin = ClientOrigin();
    return {p.X - origin.X, p.Y - origin.Y};
}

void TControl::SetAlign(TAlign value) {
    if (value == m_align) {
        return;
    }
    m_align = value;
    // An aligned control follows the edges its alignment binds it to.
    m_anchors = AnchorAlign(value);
    UpdateAnchorRules();
    AdjustSize();
    RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
    if (value == m_anchors) {
        return;
    }
    m_anchors = value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    if (m_anchorMove) {
        return;
    }
    if (m_anchors == kDefaultAnchors) {
        m_originalParentSize = {};
        return;
    }
    if (m_anchors.Contains(akRight)) {
        m_anchorRules.X = m_anchors.Contains(akLeft) ? m_width : m_left;
    } else {
        m_anchorRules.X = m_left + m_width / 2;
    }
    if (m_anchors.Contains(akBottom)) {
        m_anchorRules.Y = m_anchors.Contains(akTop) ? m_height : m_top;
    } else {
        m_anchorRules.Y = m_top + m_height / 2;
    }
    if (m_parent) {
        const TRect client = m_parent->ClientRect();
        m_originalParentSize = {client.Right, client.Bottom};
    }
}

void TControl::SetAutoSize(bool value) {
    if (value == m_autoSize) {
        return;
    }
    m_autoSize = value;
    if (value) {
        AdjustSize();
    }
}

void TControl::AdjustSize() {
    if (IsLoading()) {
        return;
    }
    // SetBounds passes the current size through the constraints and the auto size.
    SetBounds(m_left, m_top, m_width, m_height);
}

void TControl::ConstraintsChanged() {
    AdjustSize();
}

void TControl::RequestAlign() {
    if (m_parent) {
        m_parent->AlignControl(this);
    }
}

void TControl::Resize() {
    // Only a real change is reported: making a window of the same size is none.
    if (IsLoading() || (m_width == m_reportedSize.cx && m_height == m_reportedSize.cy)) {
        return;
    }
    m_reportedSize = {m_width, m_height};
    if (OnResize) {
        OnResize(this);
    }
}

bool TControl::IsVisibleInTree() const {
    for (const TControl* c = this; c; c = c->m_parent) {
        if (!c->m_visible) {
            return false;
        }
    }
    return true;
}

// ---- State and looks ---------------------------------------------------------------------------------

void TControl::SetVisible(bool value) {
    if (value == m_visible) {
        return;
    }
    m_visible = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
    RequestAlign();
}

void TControl::SetEnabled(bool value) {
    if (value == m_enabled) {
        return;
    }
    m_enabled = value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::FontChanged() {
    if (!m_fontFromParent) {
        m_parentFont = false;
    }
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool value) {
    if (value == m_parentFont) {
        return;
    }
    m_parentFont = value;
    if (m_parent) {
        Perform(CM_PARENTFONTCHANGED);
    }
}

void TControl::SetColor(TColor value) {
    if (value == m_color) {
        return;
    }
    m_color = value;
    m_parentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (value == m_parentColor) {
        return;
    }
    m_parentColor = value;
    if (m_parent) {
        Perform(CM_PARENTCOLORCHANGED);
    }
}

void TControl::SetText(const std::string& value) {
    if (value == m_text) {
        return;
    }
    m_text = value;
    TextStored();
    Perform(CM_TEXTCHANGED);
}

void TControl::SetCursor(TCursor value) {
    if (value == m_cursor) {
        return;
    }
    m_cursor = value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool value) {
    if (value == m_showHint && !m_parentShowHint) {
        return;
    }
    m_showHint = value;
    m_parentShowHint = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
    if (value == m_parentShowHint) {
        return;
    }
    m_parentShowHint = value;
    if (m_parent) {
        Perform(CM_PARENTSHOWHINTCHANGED);
    }
}

void TControl::SetPopupMenu(TComponent* value) {
    if (value == m_popupMenu) {
        return;
    }
    if (m_popupMenu) {
        RemoveFreeNotification(m_popupMenu);
    }
    m_popupMenu = value;
    if (value) {
        value->FreeNotification(this);
    }
}

TBasicAction* TControl::Action() const {
    return m_actionLink ? m_actionLink->Action() : nullptr;
}

void TControl::SetAction(TBasicAction* value) {
    if (value == Action()) {
        return;
    }
    if (!value) {
        m_actionLink.reset();
        m_controlStyle.Exclude(csActionClient);
        return;
    }
    if (!m_actionLink) {
        m_actionLink = std::make_unique<TControlActionLink>(this);
    }
    m_actionLink->SetAction(value);
    m_controlStyle.Include(csActionClient);
    value->FreeNotification(this);
    ActionChange(value, IsLoading());
}

void TControl::ActionChange(TBasicAction* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) {
        return;
    }
    if (!checkDefaults || m_text.empty() || m_text == Name()) {
        SetCaption(action->Caption());
    }
    if (!checkDefaults || m_enabled) {
        SetEnabled(action->Enabled());
    }
    if (!checkDefaults || m_hint.empty()) {
        SetHint(action->Hint());
    }
    if (!checkDefaults || m_visible) {
        SetVisible(action->Visible());
    }
}

void TControl::InitiateAction() {
    if (m_actionLink) {
        m_actionLink->Update();
    }
}

bool TControl::MouseCapture() const {
    return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
    if (value == MouseCapture()) {
        return;
    }
    SetCaptureControl(value ? this : nullptr);
}

// ---- Painting ----------------------------------------------------------------------------------------

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
    if (!isVisible || !m_parent || !m_parent->HandleAllocated()) {
        return;
    }
    const TRect r = BoundsRect();
    // Behind a transparent control the parent must paint its own background again.
    ::InvalidateRect(m_parent->Handle(), &r,
                     isOpaque || m_parent->ControlStyle().Contains(csOpaque) ? FALSE : TRUE);
}

void TControl::Invalidate() {
    InvalidateControl(m_visible, m_controlStyle.Contains(csOpaque));
}

void TControl::Update() {
    if (m_parent) {
        m_parent->Update();
    }
}

void TControl::Repaint() {
    if (!m_visible || !m_parent || !m_parent->HandleAllocated()) {
        return;
    }
    if (m_controlStyle.Contains(csOpaque)) {
        // An opaque control covers its area: it and what lies above it are painted at once.
        HDC dc = ::GetDC(m_parent->Handle());
        if (dc) {
            ::IntersectClipRect(dc, m_left, m_top, m_left + m_width, m_top + m_height);
            m_parent->PaintControls(dc, this);
            ::ReleaseDC(m_parent->Handle(), dc);
        }
        return;
    }
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    SetZOrder(true);
}

void TControl::SendToBack() {
    SetZOrder(false);
}

void TControl::SetZOrder(bool topMost) {
    if (!m_parent) {
        return;
    }
    auto& list = m_parent->m_controls;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) {
        return;
    }
    list.erase(it);
    if (topMost) {
        list.push_back(this);
    } else {
        list.insert(list.begin(), this);
    }
    Invalidate();
}
