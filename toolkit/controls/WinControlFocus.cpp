#include "toolkit/controls/Form.h"
#include "toolkit/controls/WinControl.h"

#include <algorithm>

// Tab order, focus and keys of windowed controls.

// ---- Tab order ---------------------------------------------------------------------------------------

int TWinControl::TabOrder() const {
    if (!Parent()) {
        return m_loadedTabOrder;
    }
    const auto& list = Parent()->m_tabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (IsLoading()) {
        // The siblings may not exist yet; the parent sorts its children once they all do.
        m_loadedTabOrder = value;
        return;
    }
    if (!Parent()) {
        return;
    }
    auto& list = Parent()->m_tabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) {
        return;
    }
    const int count = static_cast<int>(list.size());
    value = std::clamp(value, 0, count - 1);
    const int current = static_cast<int>(it - list.begin());
    if (value == current) {
        return;
    }
    list.erase(it);
    list.insert(list.begin() + value, this);
}

void TWinControl::FixupTabList() {
    // A child without a stored tab order keeps its place after those that have one.
    std::stable_sort(m_tabList.begin(), m_tabList.end(), [](const TWinControl* a, const TWinControl* b) {
        const int ka = a->m_loadedTabOrder < 0 ? INT32_MAX : a->m_loadedTabOrder;
        const int kb = b->m_loadedTabOrder < 0 ? INT32_MAX : b->m_loadedTabOrder;
        return ka < kb;
    });
    for (TWinControl* child : m_tabList) {
        child->m_loadedTabOrder = -1;
    }
}

void TWinControl::SetTabStop(bool value) {
    if (value == m_tabStop) {
        return;
    }
    m_tabStop = value;
    Perform(CM_TABSTOPCHANGED);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    FixupTabList();
    m_inLoaded = true;
    Realign();
    m_inLoaded = false;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* child : m_tabList) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) {
        return nullptr;
    }
    const int count = static_cast<int>(list.size());
    auto found = std::find(list.begin(), list.end(), current);
    int start = found == list.end() ? (goForward ? count - 1 : 0) : static_cast<int>(found - list.begin());
    int i = start;
    do {
        if (goForward) {
            i = (i + 1) % count;
        } else {
            i = (i == 0 ? count : i) - 1;
        }
        TWinControl* candidate = list[static_cast<std::size_t>(i)];
        if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop()) &&
            (!checkParent || candidate->Parent() == this)) {
            return candidate;
        }
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) {
        next->SetFocus();
    }
}

// ---- Focus -------------------------------------------------------------------------------------------

bool TWinControl::CanFocus() const {
    const TCustomForm* form = GetParentForm(this);
    if (!form) {
        return false;
    }
    for (const TControl* c = this; c && c != form; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled()) {
            return false;
        }
    }
    return true;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = GetParentForm(this)) {
        form->FocusControl(this);
    } else if (m_parentWindow) {
        ::SetFocus(Handle());
    }
}

bool TWinControl::Focused() const {
    return HandleAllocated() && ::GetFocus() == m_handle;
}

void TWinControl::RemoveFocus(bool removing) {
    if (TCustomForm* form = GetParentForm(this)) {
        form->DefocusControl(this, removing);
    }
}

void TWinControl::WMSetFocus(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::WMKillFocus(TMessage& message) {
    DefaultHandler(message);
}

void TWinControl::DoEnter() {
    if (OnEnter && !IsLoading()) {
        OnEnter(this);
    }
}

void TWinControl::DoExit() {
    if (OnExit && !IsLoading()) {
        OnExit(this);
    }
}

void TWinControl::CMEnter(TMessage& /*message*/) {
    DoEnter();
}

void TWinControl::CMExit(TMessage& /*message*/) {
    DoExit();
}

void TWinControl::CMFocusChanged(TMessage& message) {
    Broadcast(message);
}

// ---- Keys --------------------------------------------------------------------------------------------

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
    if (OnKeyDown && !IsLoading()) {
        OnKeyDown(this, key, shift);
    }
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
    if (OnKeyUp && !IsLoading()) {
        OnKeyUp(this, key, shift);
    }
}

void TWinControl::KeyPress(char32_t& key) {
    if (OnKeyPress && !IsLoading()) {
        OnKeyPress(this, key);
    }
}

bool TWinControl::DoKeyDown(TMessage& message) {
    return DoKeyEvent(message, &TWinControl::DoKeyDown, &TWinControl::KeyDown);
}

bool TWinControl::DoKeyUp(TMessage& message) {
    return DoKeyEvent(message, &TWinControl::DoKeyUp, &TWinControl::KeyUp);
}

bool TWinControl::DoKeyEvent(TMessage& message, bool (TWinControl::*formStep)(TMessage&),
                             void (TWinControl::*handler)(WORD&, TShiftState)) {
    auto alive = AliveToken();
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && (static_cast<TWinControl*>(form)->*formStep)(message)) {
        return true;
    }
    if (alive.expired()) {
        return true;
    }
    if (!ControlStyle().Contains(csNoStdEvents)) {
        WORD key = static_cast<WORD>(message.WParam);
        (this->*handler)(key, KeyDataToShiftState(message.LParam));
        if (alive.expired()) {
            return true;
        }
        message.WParam = key;
        if (key == 0) {
            return true;
        }
    }
    return false;
}

bool TWinControl::DoKeyPress(TMessage& message) {
    auto alive = AliveToken();
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyPress(message)) {
        return true;
    }
    if (alive.expired()) {
        return true;
    }
    if (!ControlStyle().Contains(csNoStdEvents)) {
        char32_t key = static_cast<char32_t>(message.WParam);
        KeyPress(key);
        if (alive.expired()) {
            return true;
        }
        message.WParam = key;
        if (key == 0) {
            return true;
        }
    }
    return false;
}

// Whether a key message that nobody used asks for the context menu: the context-menu key as it
// is released, or Shift+F10 as it goes down.
static bool IsContextMenuKey(const TMessage& message) {
    const auto key = static_cast<int>(message.WParam);
    if (message.Msg == WM_KEYUP || message.Msg == WM_SYSKEYUP) {
        return key == VK_APPS;
    }
    return key == VK_F10 && KeyDataToShiftState(message.LParam) == TShiftState{ssShift};
}

void TWinControl::KeyDefault(TMessage& message) {
    auto alive = AliveToken();
    DefaultHandler(message);
    if (!alive.expired() && HandleAllocated() && IsContextMenuKey(message)) {
        // (-1, -1): from the keyboard, so the menu opens at the control rather than the pointer.
        ::SendMessage(Handle(), WM_CONTEXTMENU, static_cast<WPARAM>(Handle()), MAKELPARAM(-1, -1));
    }
}

void TWinControl::WMKeyDown(TMessage& message) {
    if (!DoKeyDown(message)) {
        KeyDefault(message);
    }
}

void TWinControl::WMSysKeyDown(TMessage& message) {
    if (!DoKeyDown(message)) {
        KeyDefault(message);
    }
}

void TWinControl::WMKeyUp(TMessage& message) {
    if (!DoKeyUp(message)) {
        KeyDefault(message);
    }
}

void TWinControl::WMSysKeyUp(TMessage& message) {
    if (!DoKeyUp(message)) {
        KeyDefault(message);
    }
}

void TWinControl::WMChar(TMessage& message) {
    if (!DoKeyPress(message)) {
        DefaultHandler(message);
    }
}

void TWinControl::WMGetDlgCode(TMessage& message) {
    DefaultHandler(message);
}

// Whether the key is one of the form's short-cuts (which then ran).
static bool IsMenuKey(TWinControl* control, TMessage& message) {
    if (control->IsDesigning()) {
        return false;
    }
    TCustomForm* form = GetParentForm(control);
    return form && form->IsShortCut(message);
}

void TWinControl::CNKeyDown(TMessage& message) {
    message.Result = 1;
    auto alive = AliveToken();
    if (IsMenuKey(this, message) || alive.expired()) {
        return;
    }
    if (!IsDesigning()) {
        if (Perform(CM_CHILDKEY, message.WParam, reinterpret_cast<LPARAM>(this)) != 0 || alive.expired()) {
            return;
        }
        LRESULT mask = 0;
        switch (static_cast<int>(message.WParam)) {
        case VK_TAB:
            mask = DLGC_WANTTAB;
            break;
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
            mask = DLGC_WANTARROWS;
            break;
        case VK_RETURN:
        case VK_EXECUTE:
        case VK_ESCAPE:
        case VK_CANCEL:
            mask = DLGC_WANTALLKEYS;
            break;
        default:
            break;
        }
        if (mask != 0 && Perform(CM_WANTSPECIALKEY, message.WParam) == 0 && !alive.expired() &&
            (Perform(WM_GETDLGCODE) & mask) == 0 && !alive.expired()) {
            if (TCustomForm* form = GetParentForm(this);
                form && form->Perform(CM_DIALOGKEY, message.WParam, message.LParam) != 0) {
                return;
            }
        }
    }
    if (!alive.expired()) {
        message.Result = 0;
    }
}

void TWinControl::CNKeyUp(TMessage& message) {
    message.Result = 0;
}

void TWinControl::CNChar(TMessage& message) {
    message.Result = 0;
    if (IsDesigning()) {
        return;
    }
    auto alive = AliveToken();
    if ((Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0 && !alive.expired()) {
        if (TCustomForm* form = GetParentForm(this);
            form && form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0) {
            if (!alive.expired()) {
                message.Result = 1;
            }
        }
    }
}

void TWinControl::CNSysKeyDown(TMessage& message) {
    message.Result = IsMenuKey(this, message) ? 1 : 0;
}

void TWinControl::CNSysChar(TMessage& message) {
    message.Result = 0;
    if (IsDesigning() || message.WParam == VK_SPACE) {
        return;
    }
    if (TCustomForm* form = GetParentForm(this)) {
        message.Result = form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
    }
}

void TWinControl::CMDialogKey(TMessage& message) {
    Broadcast(message);
}

void TWinControl::CMDialogChar(TMessage& message) {
    // An access key belongs to what the user can see and use: hidden and disabled controls, and
    // everything inside them, are passed over.
    BroadcastIf(message, [](const TControl* child) { return child->Visible() && child->Enabled(); });
}

void TWinControl::CMChildKey(TMessage& message) {
    if (Parent()) {
        message.Result = Parent()->Perform(CM_CHILDKEY, message.WParam, message.LParam);
    }
}

void TWinControl::CMWantSpecialKey(TMessage& message) {
    message.Result = 0;
}
