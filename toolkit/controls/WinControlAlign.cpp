#include "toolkit/controls/WinControl.h"

#include <algorithm>
#include <vector>

// Geometry of windowed controls and the alignment of their children. Aligned children are placed
// in the classic order: top, bottom, left, right, then client, each group in the order of its
// current positions, the rest of the area shrinking as each is placed; anchored children keep
// their designed distances to the edges they are anchored to.

// ---- Geometry ----------------------------------------------------------------------------------------

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (!CheckNewSize(width, height)) {
        return;
    }
    if (left == Left() && top == Top() && width == Width() && height == Height()) {
        return;
    }
    if (HandleAllocated() && !::IsIconic(m_handle)) {
        // The window system answers with WM_WINDOWPOSCHANGED and WM_SIZE, which store the new
        // bounds, align the children and raise OnResize.
        ::SetWindowPos(m_handle, 0, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        const bool sized = width != Width() || height != Height();
        StoreBounds(left, top, width, height);
        if (HandleAllocated()) {
            WINDOWPLACEMENT placement;
            ::GetWindowPlacement(m_handle, &placement);
            placement.rcNormalPosition = Bounds(left, top, width, height);
            ::SetWindowPlacement(m_handle, &placement);
        }
        if (sized) {
            Realign();
            if (!IsLoading()) {
                Resize();
            }
        }
    }
    UpdateAnchorRules();
    RequestAlign();
}

TRect TWinControl::ClientRect() const {
    if (HandleAllocated()) {
        RECT r;
        ::GetClientRect(m_handle, &r);
        return r;
    }
    // Without a window: the frame the control's styles would give it.
    TCreateParams params;
    MeasureParams(params);
    const DWORD style = params.Style;
    const DWORD exStyle = params.ExStyle;
    const TRect m = NonClientMargins(style, exStyle);
    return {0, 0, std::max(0, Width() - m.Left - m.Right), std::max(0, Height() - m.Top - m.Bottom)};
}

TPoint TWinControl::ClientOrigin() const {
    if (HandleAllocated()) {
        POINT p{0, 0};
        ::ClientToScreen(m_handle, &p);
        return p;
    }
    TCreateParams params;
    MeasureParams(params);
    const TRect m = NonClientMargins(params.Style, params.ExStyle);
    TPoint origin{Left() + m.Left, Top() + m.Top};
    if (Parent()) {
        const TPoint parentOrigin = Parent()->ClientOrigin();
        origin.X += parentOrigin.X;
        origin.Y += parentOrigin.Y;
    }
    return origin;
}

void TWinControl::UpdateBounds() {
    if (!HandleAllocated()) {
        return;
    }
    RECT r;
    ::GetWindowRect(m_handle, &r);
    if (::GetWindowLongPtr(m_handle, GWL_STYLE) & WS_CHILD) {
        if (const HWND parent = ::GetParent(m_handle)) {
            POINT topLeft = r.TopLeft();
            ::ScreenToClient(parent, &topLeft);
            r = Bounds(topLeft.X, topLeft.Y, r.Width(), r.Height());
        }
    }
    if (r.Left != Left() || r.Top != Top() || r.Width() != Width() || r.Height() != Height()) {
        StoreBounds(r.Left, r.Top, r.Width(), r.Height());
        UpdateAnchorRules();
    }
}

void TWinControl::MeasureParams(TCreateParams& params) const {
    auto* self = const_cast<TWinControl*>(this);
    self->m_measuringParams = true;
    self->CreateParams(params);
    self->m_measuringParams = false;
}

void TWinControl::ShiftControl(TControl* control, int dx, int dy) {
    control->m_anchorMove = true;
    control->SetBounds(control->Left() + dx, control->Top() + dy, control->Width(), control->Height());
    control->m_anchorMove = false;
}

// ---- Alignment ---------------------------------------------------------------------------------------

void TWinControl::DisableAlign() {
    ++m_alignLevel;
}

void TWinControl::EnableAlign() {
    if (m_alignLevel > 0) {
        --m_alignLevel;
    }
    if (m_alignLevel == 0 && ControlState().Contains(csAlignmentNeeded)) {
        Realign();
    }
}

void TWinControl::Realign() {
    AlignControl(nullptr);
}

bool TWinControl::AlignHeldOff() const {
    return m_alignLevel != 0 || (IsLoading() && !m_inLoaded);
}

void TWinControl::AlignControl(TControl* control) {
    if (IsDestroying()) {
        return;
    }
    if (AlignHeldOff()) {
        SetControlState(ControlState() + TControlState{csAlignmentNeeded});
        return;
    }
    DisableAlign();
    TRect rect = ClientRect();
    AlignControls(control, rect);
    SetControlState(ControlState() - TControlState{csAlignmentNeeded});
    --m_alignLevel;
}

void TWinControl::AdjustClientRect(TRect& /*rect*/) {}

bool TWinControl::AlignWork() const {
    auto works = [](const TControl* c) { return c->Align() != alNone || !(c->Anchors() == kDefaultAnchors); };
    return std::any_of(m_controls.begin(), m_controls.end(), works) ||
           std::any_of(m_winControls.begin(), m_winControls.end(), works);
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
    if (!AlignWork()) {
        return;
    }
    AdjustClientRect(rect);

    // Whether c1 goes before c2 among the controls of one alignment.
    auto insertBefore = [](const TControl* c1, const TControl* c2, TAlign align) {
        switch (align) {
        case alTop:
            return c1->Top() < c2->Top();
        case alBottom:
            return c1->Top() + c1->Height() >= c2->Top() + c2->Height();
        case alLeft:
            return c1->Left() < c2->Left();
        case alRight:
            return c1->Left() + c1->Width() >= c2->Left() + c2->Width();
        default:
            return false;
        }
    };

    auto doPosition = [&](TControl* c, TAlign align) {
        if (align == alNone || !(c->Anchors() == AnchorAlign(align))) {
            if (c->m_originalParentSize.X != 0 && c->m_originalParentSize.Y != 0) {
                int newLeft = c->Left();
                int newTop = c->Top();
                int newWidth = c->Width();
                int newHeight = c->Height();
                const TRect client = ClientRect();
                const TPoint parentSize{client.Right, client.Bottom};
                const TAnchors anchors = c->Anchors();
                if (anchors.Contains(akRight)) {
                    if (anchors.Contains(akLeft)) {
                        newWidth = parentSize.X - (c->m_originalParentSize.X - c->m_anchorRules.X);
                    } else {
                        newLeft = parentSize.X - (c->m_originalParentSize.X - c->m_anchorRules.X);
                    }
                } else if (!anchors.Contains(akLeft)) {
                    newLeft = static_cast<int>(static_cast<long long>(c->m_anchorRules.X) * parentSize.X /
                                               c->m_originalParentSize.X) -
                              newWidth / 2;
                }
                if (anchors.Contains(akBottom)) {
                    if (anchors.Contains(akTop)) {
                        newHeight = parentSize.Y - (c->m_originalParentSize.Y - c->m_anchorRules.Y);
                    } else {
                        newTop = parentSize.Y - (c->m_originalParentSize.Y - c->m_anchorRules.Y);
                    }
                } else if (!anchors.Contains(akTop)) {
                    newTop = static_cast<int>(static_cast<long long>(c->m_anchorRules.Y) * parentSize.Y /
                                              c->m_originalParentSize.Y) -
                             newHeight / 2;
                }
                c->m_anchorMove = true;
                c->SetBounds(newLeft, newTop, newWidth, newHeight);
                c->m_anchorMove = false;
            }
            if (align == alNone) {
                return;
            }
        }
        int newWidth = rect.Right - rect.Left;
        if (newWidth < 0 || align == alLeft || align == alRight || align == alCustom) {
            newWidth = c->Width();
        }
        int newHeight = rect.Bottom - rect.Top;
        if (newHeight < 0 || align == alTop || align == alBottom || align == alCustom) {
            newHeight = c->Height();
        }
        int newLeft = rect.Left;
        int newTop = rect.Top;
        switch (align) {
        case alTop:
            rect.Top += newHeight;
            break;
        case alBottom:
            rect.Bottom -= newHeight;
            newTop = rect.Bottom;
            break;
        case alLeft:
            rect.Left += newWidth;
            break;
        case alRight:
            rect.Right -= newWidth;
            newLeft = rect.Right;
            break;
        case alCustom:
            newLeft = c->Left();
            newTop = c->Top();
            break;
        default:
            break;
        }
        c->m_anchorMove = true;
        c->SetBounds(newLeft, newTop, newWidth, newHeight);
        c->m_anchorMove = false;
        // A control that did not take the size it was given leaves the rest of the area right.
        if (c->Width() != newWidth || c->Height() != newHeight) {
            switch (align) {
            case alTop:
                rect.Top -= newHeight - c->Height();
                break;
            case alBottom:
                rect.Bottom += newHeight - c->Height();
                break;
            case alLeft:
                rect.Left -= newWidth - c->Width();
                break;
            case alRight:
                rect.Right += newWidth - c->Width();
                break;
            case alClient:
                rect.Right += newWidth - c->Width();
                rect.Bottom += newHeight - c->Height();
                break;
            default:
                break;
            }
        }
    };

    auto doAlign = [&](TAlign align) {
        std::vector<TControl*> list;
        if (control && (align == alNone || control->Visible()) && control->Align() == align &&
            control->Parent() == this) {
            list.push_back(control);
        }
        const int count = ControlCount();
        for (int i = 0; i < count; ++i) {
            TControl* c = Controls(i);
            if (c == control || c->Align() != align || (align != alNone && !c->Visible())) {
                continue;
            }
            std::size_t j = 0;
            while (j < list.size() && !insertBefore(c, list[j], align)) {
                ++j;
            }
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
        }
        auto alive = AliveToken();
        for (TControl* c : list) {
            // Placing one control may free another (a resize handler); skip those that left.
            if (alive.expired()) {
                return;
            }
            if (c->Parent() == this) {
                doPosition(c, align);
            }
        }
    };

    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone}) {
        doAlign(align);
    }
    ControlsAligned();
}
