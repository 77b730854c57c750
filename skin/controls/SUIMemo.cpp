#include "skin/controls/SUIMemo.h"

#include "skin/controls/SUIScrollBar.h"
#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

// The memo. Index:
//   life and look     - construction, UIStyle, FileTheme, the border
//   links             - linking and unlinking bars, the native bars they need, placing them
//   synchronising     - native to skinned after everything that scrolls, skinned to native
//   messages          - each handled after the edit, then the bars follow

VARNEL_CLASS_INFO(TsuiMemo, [](auto& c) {
    c.Component("FileTheme", &TsuiMemo::FileTheme, &TsuiMemo::SetFileTheme);
    c.Enum("UIStyle", UIStyleInfo, &TsuiMemo::UIStyle, &TsuiMemo::SetUIStyle);
    c.Color("BorderColor", &TsuiMemo::BorderColor, &TsuiMemo::SetBorderColor);
    c.Component("VScrollBar", &TsuiMemo::VScrollBar, &TsuiMemo::SetVScrollBar);
    c.Component("HScrollBar", &TsuiMemo::HScrollBar, &TsuiMemo::SetHScrollBar);
    for (const char* name :
         {"Align",          "Alignment",   "Anchors",    "BiDiMode",       "Color",       "Constraints",
          "Ctl3D",          "Enabled",     "Font",       "HideSelection",  "Lines",       "MaxLength",
          "ParentBiDiMode", "ParentColor", "ParentFont", "ParentShowHint", "PopupMenu",   "ReadOnly",
          "ScrollBars",     "ShowHint",    "TabOrder",   "TabStop",        "Visible",     "WantReturns",
          "WantTabs",       "WordWrap",    "OnChange",   "OnClick",        "OnDblClick",  "OnEnter",
          "OnExit",         "OnKeyDown",   "OnKeyPress", "OnKeyUp",        "OnMouseDown", "OnMouseMove",
          "OnMouseUp"}) {
        c.Publish(name);
    }
})

namespace {

// The border rings take this band around the native bars and the text.
constexpr int kBorderWidth = 2;
constexpr int kMaxScrollBarInc = 32767;
// A horizontal bar's line buttons step three pages of the bar.
constexpr int kHorizontalLinePages = 3;

} // namespace

// ---- Life and look ---------------------------------------------------------------------------------

TsuiMemo::TsuiMemo(TComponent* owner) : TCustomMemo(owner), m_look(this, GetOwnerUIStyle(owner)) {
    SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
    SetBorderStyle(bsNone);
    SetBorderWidth(kBorderWidth);
    SetUIStyle(UIStyle());
}

TsuiMemo::~TsuiMemo() {
    Destroying();
    // Bars that outlive the memo must not call into it; and they are given back as they were.
    for (TsuiScrollBar* bar : {m_vScrollBar, m_hScrollBar}) {
        if (bar) {
            RemoveFreeNotification(bar);
            Unlink(bar);
        }
    }
    m_vScrollBar = m_hScrollBar = nullptr;
}

void TsuiMemo::SetUIStyle(TsuiUIStyle value) {
    m_look.SetUIStyle(value);
    TsuiUIStyle effective = value;
    const bool fromFile = ResolveUIStyle(FileTheme(), value, effective);
    m_borderColor = m_look.GetColor(TsuiThemeElement::ControlBorderColor);
    for (TsuiScrollBar* bar : {m_vScrollBar, m_hScrollBar}) {
        if (bar) {
            bar->SetUIStyle(fromFile ? FromThemeFile : effective);
        }
    }
    DrawBorder();
    Invalidate();
}

void TsuiMemo::SetFileTheme(TsuiFileTheme* value) {
    m_look.SetFileTheme(value);
    for (TsuiScrollBar* bar : {m_vScrollBar, m_hScrollBar}) {
        if (bar) {
            bar->SetFileTheme(value);
        }
    }
    SetUIStyle(UIStyle());
}

void TsuiMemo::SetBorderColor(TColor value) {
    m_borderColor = value;
    DrawBorder();
}

void TsuiMemo::DrawBorder() {
    if (HandleAllocated() && !IsDestroying()) {
        DrawControlBorder(this, m_borderColor, Color(), true);
        CoverNativeBarEdges();
    }
}

void TsuiMemo::CoverNativeBarEdges() {
    // A native bar a pixel thicker than the skinned one over it would show its edge beside it,
    // and between two bars the native corner box would show: both take the colours around them.
    RECT window;
    ::GetWindowRect(Handle(), &window);
    auto nativeBar = [&](TsuiScrollBar* bar, LONG object, TRect& rect) {
        SCROLLBARINFO info;
        info.cbSize = sizeof(SCROLLBARINFO);
        if (!bar || !bar->Visible() || bar->Parent() != Parent() ||
            !::GetScrollBarInfo(Handle(), object, &info) || info.rgstate[0] == STATE_SYSTEM_INVISIBLE) {
            return false;
        }
        rect = TRect(info.rcScrollBar).Offset(-window.Left, -window.Top);
        return true;
    };
    TRect vertical;
    TRect horizontal;
    const bool hasVertical = nativeBar(m_vScrollBar, OBJID_VSCROLL, vertical);
    const bool hasHorizontal = nativeBar(m_hScrollBar, OBJID_HSCROLL, horizontal);
    if (!hasVertical && !hasHorizontal) {
        return;
    }
    HDC dc = ::GetWindowDC(Handle());
    auto fill = [dc](const TRect& rect, TColor color) {
        if (rect.IsEmpty()) {
            return;
        }
        HBRUSH brush = ::CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)));
        ::FillRect(dc, &rect, brush);
        ::DeleteObject(brush);
    };
    if (hasVertical) {
        const TRect skinned = m_vScrollBar->BoundsRect().Offset(-Left(), -Top());
        fill({vertical.Left, vertical.Top, std::min(vertical.Right, skinned.Left), vertical.Bottom}, Color());
    }
    if (hasHorizontal) {
        const TRect skinned = m_hScrollBar->BoundsRect().Offset(-Left(), -Top());
        fill({horizontal.Left, horizontal.Top, horizontal.Right, std::min(horizontal.Bottom, skinned.Top)},
             Color());
    }
    if (hasVertical && hasHorizontal) {
        fill({vertical.Left, horizontal.Top, vertical.Right, horizontal.Bottom}, m_vScrollBar->Color());
    }
    ::ReleaseDC(Handle(), dc);
}

void TsuiMemo::WMPaint(TMessage& message) {
    TCustomMemo::WMPaint(message);
    DrawBorder();
}

void TsuiMemo::WMEraseBkgnd(TMessage& message) {
    TCustomMemo::WMEraseBkgnd(message);
    DrawBorder();
}

void TsuiMemo::WMNCPaint(TMessage& message) {
    // The frame band is filled and the native bars drawn over it again whenever the bars change.
    TCustomMemo::WMNCPaint(message);
    DrawBorder();
}

// ---- Links --------------------------------------------------------------------------------------------

void TsuiMemo::SetVScrollBar(TsuiScrollBar* bar) {
    Link(TSide::Vertical, bar);
}

void TsuiMemo::SetHScrollBar(TsuiScrollBar* bar) {
    Link(TSide::Horizontal, bar);
}

void TsuiMemo::Link(TSide side, TsuiScrollBar* bar) {
    TsuiScrollBar*& slot = side == TSide::Vertical ? m_vScrollBar : m_hScrollBar;
    if (bar == slot) {
        return;
    }
    if (TsuiScrollBar* old = slot) {
        slot = nullptr;
        if (old != m_vScrollBar && old != m_hScrollBar) {
            RemoveFreeNotification(old);
        }
        Unlink(old);
    }
    slot = bar;
    if (bar) {
        bar->FreeNotification(this);
    }
    // A layout links its bars before they are whole; they are attached in Loaded.
    if (IsLoading()) {
        return;
    }
    if (bar) {
        Attach(side, bar);
    }
    UpdateNativeScrollBars();
    if (bar) {
        PlaceScrollBars();
    }
}

void TsuiMemo::Attach(TSide side, TsuiScrollBar* bar) {
    bar->SetOrientation(side == TSide::Vertical ? suiVertical : suiHorizontal);
    bar->SetOnChange([this, side](TObject*) { ScrollFromBar(side); });
    bar->BringToFront();
}

void TsuiMemo::Unlink(TsuiScrollBar* bar) {
    if (bar->IsDestroying()) {
        return;
    }
    bar->SetOnChange(nullptr);
    bar->SetLineButton(0);
    bar->SetMax(100);
    bar->SetEnabled(true);
}

void TsuiMemo::Loaded() {
    TCustomMemo::Loaded();
    if (m_vScrollBar) {
        Attach(TSide::Vertical, m_vScrollBar);
    }
    if (m_hScrollBar) {
        Attach(TSide::Horizontal, m_hScrollBar);
    }
    if (m_vScrollBar || m_hScrollBar) {
        UpdateNativeScrollBars();
        m_inLoaded = true;
        PlaceScrollBars();
        m_inLoaded = false;
    }
}

void TsuiMemo::Notification(TComponent* component, TOperation operation) {
    TCustomMemo::Notification(component, operation);
    if (operation != opRemove) {
        return;
    }
    if (component == m_vScrollBar || component == m_hScrollBar) {
        (component == m_vScrollBar ? m_vScrollBar : m_hScrollBar) = nullptr;
        UpdateNativeScrollBars();
    }
    if (m_look.FileThemeRemoved(component, operation)) {
        SetUIStyle(DeepBlue);
    }
}

void TsuiMemo::UpdateNativeScrollBars() {
    if (IsDestroying()) {
        return;
    }
    static constexpr TScrollStyle kStyles[2][2] = {{ssNone, ssHorizontal}, {ssVertical, ssBoth}};
    SetScrollBars(kStyles[m_vScrollBar ? 1 : 0][m_hScrollBar ? 1 : 0]);
}

void TsuiMemo::SetParent(TWinControl* parent) {
    TCustomMemo::SetParent(parent);
    for (TsuiScrollBar* bar : {m_vScrollBar, m_hScrollBar}) {
        if (bar && bar->Parent() != parent) {
            bar->SetParent(parent);
            bar->BringToFront();
        }
    }
    PlaceScrollBars();
}

void TsuiMemo::SetBounds(int left, int top, int width, int height) {
    TCustomMemo::SetBounds(left, top, width, height);
    PlaceScrollBars();
}

void TsuiMemo::PlaceScrollBars() {
    if ((IsLoading() && !m_inLoaded) || IsDestroying() || (!m_vScrollBar && !m_hScrollBar)) {
        return;
    }
    const int left = Left();
    const int top = Top();
    const int width = Width();
    const int height = Height();
    const bool shown = Visible();
    const int vWidth = m_vScrollBar ? m_vScrollBar->Width() : 0;
    const int hHeight = m_hScrollBar ? m_hScrollBar->Height() : 0;
    if (TsuiScrollBar* bar = m_hScrollBar) {
        bar->SetVisible(shown && height >= hHeight);
        bar->SetBounds(left + 1, top + height - hHeight - 2, m_vScrollBar ? width - vWidth - 2 : width - 2,
                       bar->Height());
    }
    if (TsuiScrollBar* bar = m_vScrollBar) {
        bar->SetVisible(shown && width >= vWidth);
        bar->SetBounds(left + width - vWidth - 2, top + 1, bar->Width(),
                       m_hScrollBar ? height - hHeight - 2 : height - 2);
    }
    SyncScrollBars();
}

// ---- Synchronising --------------------------------------------------------------------------------

void TsuiMemo::ScrollBarsChanged() {
    TCustomMemo::ScrollBarsChanged();
    SyncScrollBars();
}

void TsuiMemo::SyncScrollBars() {
    if (m_scrollingFromBar || m_syncing || !HandleAllocated() || IsDestroying()) {
        return;
    }
    m_syncing = true;
    auto alive = AliveToken();
    if (m_hScrollBar) {
        SyncBar(TSide::Horizontal, m_hScrollBar);
    }
    if (!alive.expired() && m_vScrollBar) {
        SyncBar(TSide::Vertical, m_vScrollBar);
    }
    if (!alive.expired()) {
        m_syncing = false;
    }
}

void TsuiMemo::SyncBar(TSide side, TsuiScrollBar* bar) {
    const bool vertical = side == TSide::Vertical;
    SCROLLBARINFO info;
    info.cbSize = sizeof(SCROLLBARINFO);
    if (!::GetScrollBarInfo(Handle(), vertical ? OBJID_VSCROLL : OBJID_HSCROLL, &info)) {
        return;
    }
    // Whole values: a bar that is both, or pressed, counts as shown.
    const DWORD state = info.rgstate[0];
    if (state == STATE_SYSTEM_INVISIBLE || state == STATE_SYSTEM_UNAVAILABLE) {
        bar->SetLineButton(0);
        bar->SetEnabled(false);
        bar->SetSliderVisible(false);
    } else {
        bar->SetLineButton(std::abs(info.xyThumbBottom - info.xyThumbTop));
        if (!vertical) {
            // Held within the step's range, so the line buttons never stop or step backwards.
            const std::int64_t step = static_cast<std::int64_t>(kHorizontalLinePages) * bar->PageSize();
            bar->SetSmallChange(
                static_cast<TScrollBarInc>(std::clamp<std::int64_t>(step, 1, kMaxScrollBarInc)));
        }
        bar->SetEnabled(true);
        bar->SetSliderVisible(true);
    }
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    if (!::GetScrollInfo(Handle(), vertical ? SB_VERT : SB_HORZ, &si)) {
        return;
    }
    const std::int64_t max = static_cast<std::int64_t>(si.nMax) - si.nPage + 1;
    bar->SetMax(static_cast<int>(
        std::clamp<std::int64_t>(max, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
    bar->SetMin(si.nMin);
    bar->SetPosition(si.nPos);
}

void TsuiMemo::ScrollFromBar(TSide side) {
    TsuiScrollBar* bar = side == TSide::Vertical ? m_vScrollBar : m_hScrollBar;
    if (m_syncing || !bar || !HandleAllocated()) {
        return;
    }
    const bool vertical = side == TSide::Vertical;
    const int position = bar->Position();
    m_scrollingFromBar = true;
    auto alive = AliveToken();
    // The message carries only 16 bits of the position: the whole of it goes into the native bar
    // first, where the edit reads it back.
    SCROLLINFO si;
    si.fMask = SIF_POS;
    si.nPos = position;
    ::SetScrollInfo(Handle(), vertical ? SB_VERT : SB_HORZ, &si, FALSE);
    ::SendMessage(Handle(), vertical ? WM_VSCROLL : WM_HSCROLL,
                  MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(position & 0xFFFF)), 0);
    if (alive.expired()) {
        return;
    }
    Invalidate();
    m_scrollingFromBar = false;
}

// ---- Messages ------------------------------------------------------------------------------------

void TsuiMemo::WMSize(TMessage& message) {
    TCustomMemo::WMSize(message);
    PlaceScrollBars();
}

void TsuiMemo::WMMove(TMessage& message) {
    TCustomMemo::WMMove(message);
    PlaceScrollBars();
}

void TsuiMemo::WMSetText(TMessage& message) {
    TCustomMemo::WMSetText(message);
    SyncScrollBars();
}

void TsuiMemo::WMCut(TMessage& message) {
    TCustomMemo::WMCut(message);
    SyncScrollBars();
}

void TsuiMemo::WMPaste(TMessage& message) {
    TCustomMemo::WMPaste(message);
    SyncScrollBars();
}

void TsuiMemo::WMClear(TMessage& message) {
    TCustomMemo::WMClear(message);
    SyncScrollBars();
}

void TsuiMemo::WMUndo(TMessage& message) {
    TCustomMemo::WMUndo(message);
    SyncScrollBars();
}

void TsuiMemo::WMKeyDown(TMessage& message) {
    TCustomMemo::WMKeyDown(message);
    SyncScrollBars();
}

void TsuiMemo::WMLButtonDown(TMessage& message) {
    m_leftButtonHeld = true;
    TCustomMemo::WMLButtonDown(message);
    SyncScrollBars();
}

void TsuiMemo::WMLButtonUp(TMessage& message) {
    m_leftButtonHeld = false;
    TCustomMemo::WMLButtonUp(message);
}

void TsuiMemo::WMMouseMove(TMessage& message) {
    TCustomMemo::WMMouseMove(message);
    // A selection dragged past the edge scrolls the text.
    if (m_leftButtonHeld) {
        SyncScrollBars();
    }
}

void TsuiMemo::WMMouseWheel(TMessage& message) {
    TCustomMemo::WMMouseWheel(message);
    SyncScrollBars();
}

void TsuiMemo::WMVScroll(TMessage& message) {
    TCustomMemo::WMVScroll(message);
    SyncScrollBars();
}

void TsuiMemo::WMHScroll(TMessage& message) {
    TCustomMemo::WMHScroll(message);
    SyncScrollBars();
}

void TsuiMemo::CMEnabledChanged(TMessage& message) {
    TCustomMemo::CMEnabledChanged(message);
    SyncScrollBars();
}

void TsuiMemo::CMVisibleChanged(TMessage& message) {
    TCustomMemo::CMVisibleChanged(message);
    // The bars show and hide with the memo.
    PlaceScrollBars();
}
