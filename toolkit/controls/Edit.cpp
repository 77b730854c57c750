#include "toolkit/controls/Edit.h"

#include "toolkit/controls/Clipboard.h"
#include "toolkit/windowing/Utf8.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>
#include <limits>

// The edit itself; the messages are decoded in EditMessages.cpp, scrolling and painting live in
// EditView.cpp. Index:
//   life and settings        - construction, the properties and the window styles they set
//   text                     - SetText and WM_SETTEXT, OnChange, changes made by the program
//   changes by the user      - replacing the selection, deleting, undo
//   selection                - SelStart, SelLength, SelText and the clipboard operations
//   clipboard and undo       - WM_COPY, WM_CUT, WM_PASTE, WM_CLEAR, WM_UNDO and the simple EM_s

namespace {

// Layouts store the password character as a one-character string ('*'), #0 for none.
std::string PasswordCharText(const TCustomEdit& edit) {
    return edit.PasswordChar() ? EncodeUtf8(edit.PasswordChar()) : std::string();
}

void SetPasswordCharText(TCustomEdit& edit, const std::string& text) {
    char32_t c = 0;
    if (!text.empty()) {
        DecodeUtf8(text, 0, c);
    }
    edit.SetPasswordChar(c);
}

} // namespace

VARNEL_CLASS_INFO(TCustomEdit, [](auto& c) {
    c.Enum("Alignment", AlignmentInfo, &TCustomEdit::Alignment, &TCustomEdit::SetAlignment)
        .Default(taLeftJustify)
        .Unpublished();
    c.Bool("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect).Default(true).Unpublished();
    c.Enum("BorderStyle", BorderStyleInfo, &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle)
        .Default(bsSingle)
        .Unpublished();
    c.Enum("CharCase", EditCharCaseInfo, &TCustomEdit::CharCase, &TCustomEdit::SetCharCase)
        .Default(ecNormal)
        .Unpublished();
    c.Bool("Ctl3D", &TCustomEdit::Ctl3D, &TCustomEdit::SetCtl3D).Default(true).Unpublished();
    c.Bool("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection)
        .Default(true)
        .Unpublished();
    c.Int("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength).Default(0).Unpublished();
    c.String("PasswordChar", &PasswordCharText, &SetPasswordCharText).Default(std::string()).Unpublished();
    c.Bool("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly).Default(false).Unpublished();
    c.Event("OnChange", &TCustomEdit::OnChange).Unpublished();
})

VARNEL_CLASS_INFO(TEdit, [](auto& c) {
    for (const char* name :
         {"Align",         "Alignment", "Anchors",        "AutoSelect",  "BiDiMode",       "BorderStyle",
          "CharCase",      "Color",     "Constraints",    "Ctl3D",       "Enabled",        "Font",
          "HideSelection", "MaxLength", "ParentBiDiMode", "ParentColor", "ParentFont",     "ParentShowHint",
          "PasswordChar",  "PopupMenu", "ReadOnly",       "ShowHint",    "TabOrder",       "TabStop",
          "Text",          "Visible",   "OnChange",       "OnClick",     "OnContextPopup", "OnDblClick",
          "OnEnter",       "OnExit",    "OnKeyDown",      "OnKeyPress",  "OnKeyUp",        "OnMouseDown",
          "OnMouseMove",   "OnMouseUp"}) {
        c.Publish(name);
    }
})

// ---- Life ----------------------------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner) : TCustomEdit(owner, false) {}

TCustomEdit::TCustomEdit(TComponent* owner, bool multiLine)
    : TWinControl(owner), m_buffer(multiLine), m_layout(m_buffer),
      m_canvas(std::make_unique<TControlCanvas>(this)) {
    RegisterControlIdents();
    // The text is the user's: naming the control must not write the name into it.
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption} + TControlStyle{csOpaque});
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(Left(), Top(), 121, 21);
    m_layout.SetFont(Font()->Request());
}

TCustomEdit::~TCustomEdit() {
    Destroying();
    // The window goes first, while this is still an edit: its last messages may come here.
    if (Parent()) {
        Parent()->RemoveControl(this);
    }
    DestroyHandle();
}

int TCustomEdit::ClampToInt(std::size_t value) {
    return static_cast<int>(std::min<std::size_t>(value, std::numeric_limits<int>::max()));
}

LRESULT TCustomEdit::SendToSelf(UINT message, WPARAM wParam, LPARAM lParam) {
    // Through the window procedure when there is a window, so that whoever subclassed it sees
    // the message as a classic edit's own WM_PASTE or WM_CUT.
    if (HandleAllocated()) {
        return ::SendMessage(Handle(), message, wParam, lParam);
    }
    return Perform(message, wParam, lParam);
}

// ---- Settings
// ----------------------------------------------------------------------------------------------

void TCustomEdit::SetMaxLength(int value) {
    m_maxLength = std::max(0, value);
}

void TCustomEdit::SetReadOnly(bool value) {
    if (value == m_readOnly) {
        return;
    }
    m_readOnly = value;
    UpdateStyleBits(ES_READONLY, value);
    Invalidate();
}

void TCustomEdit::SetHideSelection(bool value) {
    if (value == m_hideSelection) {
        return;
    }
    m_hideSelection = value;
    UpdateStyleBits(ES_NOHIDESEL, !value);
    Invalidate();
}

void TCustomEdit::SetPasswordChar(char32_t value) {
    // A line break cannot stand for a character: it would draw nothing.
    if (value == U'\r' || value == U'\n') {
        value = 0;
    }
    if (value == m_passwordChar) {
        return;
    }
    m_passwordChar = value;
    m_layout.SetPasswordChar(value);
    UpdateStyleBits(ES_PASSWORD, value != 0);
    SyncView(false);
    Invalidate();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    if (value == m_charCase) {
        return;
    }
    m_charCase = value;
    UpdateStyleBits(ES_UPPERCASE, value == ecUpperCase);
    UpdateStyleBits(ES_LOWERCASE, value == ecLowerCase);
    if (value == ecNormal) {
        return;
    }
    std::string converted = value == ecUpperCase ? ToUpperText(Text()) : ToLowerText(Text());
    if (converted == Text()) {
        return;
    }
    // Letters change case within the same number of bytes, so the selection stays where it was.
    m_buffer.Assign(converted);
    m_layout.InvalidateAll();
    m_undo = {};
    TextChanged();
    SyncView(false);
    Invalidate();
    FireChange();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (value == m_borderStyle) {
        return;
    }
    m_borderStyle = value;
    Perform(CM_BORDERCHANGED);
}

void TCustomEdit::SetCtl3D(bool value) {
    if (value == m_ctl3D) {
        return;
    }
    m_ctl3D = value;
    Perform(CM_BORDERCHANGED);
}

void TCustomEdit::SetAlignment(TAlignment value) {
    if (value == m_alignment) {
        return;
    }
    m_alignment = value;
    Invalidate();
}

void TCustomEdit::SetWrapsRows(bool value) {
    if (value == m_wrapRows) {
        return;
    }
    m_wrapRows = value;
    m_scrollX = 0;
    UpdateWrapWidth();
    SyncView(false);
    Invalidate();
}

void TCustomEdit::SetScrollBarStyle(DWORD bits) {
    bits &= WS_VSCROLL | WS_HSCROLL;
    if (bits == m_scrollBarStyle) {
        return;
    }
    const DWORD old = m_scrollBarStyle;
    m_scrollBarStyle = bits;
    if (HandleAllocated()) {
        const HWND h = Handle();
        if ((old ^ bits) & WS_VSCROLL) {
            ::ShowScrollBar(h, SB_VERT, (bits & WS_VSCROLL) ? TRUE : FALSE);
        }
        if ((old ^ bits) & WS_HSCROLL) {
            ::ShowScrollBar(h, SB_HORZ, (bits & WS_HSCROLL) ? TRUE : FALSE);
        }
        m_shownVScroll = {};
        m_shownHScroll = {};
    }
    UpdateWrapWidth();
    SyncView(false);
    Invalidate();
}

void TCustomEdit::UpdateStyleBits(DWORD bits, bool set) {
    if (!HandleAllocated()) {
        return;
    }
    const HWND h = Handle();
    const auto style = static_cast<DWORD>(::GetWindowLongPtr(h, GWL_STYLE));
    const DWORD wanted = set ? (style | bits) : (style & ~bits);
    if (wanted != style) {
        ::SetWindowLongPtr(h, GWL_STYLE, static_cast<LONG_PTR>(wanted));
    }
}

// ---- The window
// --------------------------------------------------------------------------------------------

void TCustomEdit::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    // The text lives in the buffer; the window system keeps no second copy of it.
    params.Caption.clear();
    if (m_buffer.MultiLine()) {
        params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | m_scrollBarStyle;
    }
    if (!m_wrapRows) {
        params.Style |= ES_AUTOHSCROLL;
    }
    static constexpr DWORD kAlignStyles[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    params.Style |= kAlignStyles[m_alignment];
    if (m_readOnly) {
        params.Style |= ES_READONLY;
    }
    if (!m_hideSelection) {
        params.Style |= ES_NOHIDESEL;
    }
    if (m_passwordChar) {
        params.Style |= ES_PASSWORD;
    }
    if (m_charCase == ecUpperCase) {
        params.Style |= ES_UPPERCASE;
    } else if (m_charCase == ecLowerCase) {
        params.Style |= ES_LOWERCASE;
    }
    if (m_borderStyle == bsSingle) {
        if (m_ctl3D) {
            params.ExStyle |= WS_EX_CLIENTEDGE;
        } else {
            params.Style |= WS_BORDER;
        }
    }
    params.WindowClass.hCursor = ::LoadCursor(nullptr, IDC_IBEAM);
}

void TCustomEdit::CreateWnd() {
    TWinControl::CreateWnd();
    if (!HandleAllocated()) {
        return;
    }
    // A new window starts with empty scroll bars.
    m_shownVScroll = {};
    m_shownHScroll = {};
    UpdateWrapWidth();
    SyncView(m_caretScrollPending);
}

void TCustomEdit::DestroyWnd() {
    m_mouseSelecting = false;
    m_autoScrolling = false;
    m_caretOn = false;
    m_canvas->FreeHandle();
    TWinControl::DestroyWnd();
}

// ---- Text
// ------------------------------------------------------------------------------------------------------

void TCustomEdit::SetText(const std::string& value) {
    if (value == Text()) {
        return;
    }
    // As WM_SETTEXT, so that a control built on this one sees the change as a message.
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomEdit::WMSetText(TMessage& message) {
    const char* text = reinterpret_cast<const char*>(message.LParam);
    message.Result = TRUE;
    const std::string_view value = text ? std::string_view(text) : std::string_view();
    if (value == Text()) {
        return;
    }
    LoadText(value);
    auto alive = AliveToken();
    Perform(CM_TEXTCHANGED);
    if (!alive.expired()) {
        FireChange();
    }
}

void TCustomEdit::LoadText(std::string_view text) {
    m_buffer.Assign(text);
    m_layout.InvalidateAll();
    m_anchor = m_caret = 0;
    m_desiredX = -1;
    m_topRow = 0;
    m_scrollX = 0;
    m_undo = {};
    m_modified = false;
    m_caretScrollPending = false;
    TextChanged();
    SyncView(false);
    Invalidate();
}

void TCustomEdit::Clear() {
    SetText(std::string());
}

void TCustomEdit::Change() {
    if (OnChange) {
        OnChange(this);
    }
}

void TCustomEdit::FireChange() {
    if (!IsLoading()) {
        Change();
    }
}

void TCustomEdit::ProgramReplace(std::size_t start, std::size_t end, std::string_view text) {
    const TLineChange change = m_buffer.Replace(start, end, text);
    m_layout.LinesChanged(change);
    m_anchor = m_caret = std::min(m_buffer.Snap(start) + text.size(), m_buffer.Size());
    m_desiredX = -1;
    // The positions an undo would need no longer hold.
    m_undo = {};
    TextChanged();
    RequestView(true);
    FireChange();
}

// ---- Changes by the user
// ------------------------------------------------------------------------------------

std::string TCustomEdit::PrepareInsert(std::string_view text) const {
    if (m_charCase == ecNormal && TTextBuffer::IsPlain(text)) {
        return std::string(text);
    }
    std::string clean = TTextBuffer::Sanitize(text);
    if (m_buffer.MultiLine()) {
        clean = TTextBuffer::NormalizeLineBreaks(clean);
    } else {
        clean = std::string(TTextBuffer::FirstLine(clean));
    }
    if (m_charCase == ecUpperCase) {
        clean = ToUpperText(clean);
    } else if (m_charCase == ecLowerCase) {
        clean = ToLowerText(clean);
    }
    return clean;
}

bool TCustomEdit::ReplaceSelection(std::string_view text, TEditAction action, bool honourLimit,
                                   bool canUndo) {
    std::string insert = PrepareInsert(text);
    const std::size_t start = SelMin();
    const std::size_t end = SelMax();
    if (honourLimit && m_maxLength > 0) {
        const std::size_t selected = m_buffer.ByteToChar(end) - m_buffer.ByteToChar(start);
        const std::size_t kept = m_buffer.Length() - selected;
        const std::size_t room =
            kept >= static_cast<std::size_t>(m_maxLength) ? 0 : static_cast<std::size_t>(m_maxLength) - kept;
        insert.resize(TTextBuffer::PrefixOfChars(insert, room));
    }
    if (start == end && insert.empty()) {
        return false;
    }
    std::string removed = m_buffer.Text().substr(start, end - start);
    if (!canUndo) {
        m_undo = {};
    } else if (action == TEditAction::Typing && removed.empty() && m_undo.Valid &&
               m_undo.Kind == TUndoStep::TKind::Typing && start == m_undo.Offset + m_undo.Inserted.size()) {
        // Typing on where the last typing stopped is one step to undo.
        m_undo.Inserted += insert;
    } else {
        m_undo = {true, start, std::move(removed), insert,
                  action == TEditAction::Typing ? TUndoStep::TKind::Typing : TUndoStep::TKind::Other};
    }
    m_modified = true;
    ApplyChange(start, end, insert);
    return true;
}

void TCustomEdit::DeleteRange(std::size_t start, std::size_t end, TEditAction action) {
    if (start > end) {
        std::swap(start, end);
    }
    if (start == end) {
        return;
    }
    std::string removed = m_buffer.Text().substr(start, end - start);
    const bool erasing = action == TEditAction::Erasing && m_undo.Valid &&
                         m_undo.Kind == TUndoStep::TKind::Erasing && m_undo.Inserted.empty();
    if (erasing && end == m_undo.Offset) {
        // Backspace after backspace.
        m_undo.Removed = removed + m_undo.Removed;
        m_undo.Offset = start;
    } else if (erasing && start == m_undo.Offset) {
        // Delete after delete.
        m_undo.Removed += removed;
    } else {
        m_undo = {true, start, std::move(removed), std::string(),
                  action == TEditAction::Erasing ? TUndoStep::TKind::Erasing : TUndoStep::TKind::Other};
    }
    m_modified = true;
    ApplyChange(start, end, std::string());
}

void TCustomEdit::ApplyChange(std::size_t start, std::size_t end, const std::string& text) {
    const TLineChange change = m_buffer.Replace(start, end, text);
    m_layout.LinesChanged(change);
    m_anchor = m_caret = start + text.size();
    m_desiredX = -1;
    TextChanged();
    SyncView(true);
    Invalidate();
    RestartCaretBlink();
    FireChange();
}

void TCustomEdit::ApplyUndo() {
    if (!m_undo.Valid || m_readOnly) {
        return;
    }
    TUndoStep step = m_undo;
    const std::size_t start = std::min(step.Offset, m_buffer.Size());
    const std::size_t end = std::min(start + step.Inserted.size(), m_buffer.Size());
    // Undoing again brings the change back.
    m_undo = {true, start, step.Inserted, step.Removed, TUndoStep::TKind::Other};
    m_modified = true;
    const TLineChange change = m_buffer.Replace(start, end, step.Removed);
    m_layout.LinesChanged(change);
    m_anchor = start;
    m_caret = start + step.Removed.size();
    m_desiredX = -1;
    TextChanged();
    SyncView(true);
    Invalidate();
    RestartCaretBlink();
    FireChange();
}

void TCustomEdit::Undo() {
    SendToSelf(WM_UNDO);
}

// ---- Selection
// ----------------------------------------------------------------------------------------------

int TCustomEdit::SelStart() const {
    return ClampToInt(m_buffer.ByteToChar(SelMin()));
}

int TCustomEdit::SelLength() const {
    return ClampToInt(m_buffer.ByteToChar(SelMax()) - m_buffer.ByteToChar(SelMin()));
}

std::string TCustomEdit::SelText() const {
    return m_buffer.Text().substr(SelMin(), SelMax() - SelMin());
}

void TCustomEdit::SetSelStart(int value) {
    const std::size_t offset = CharIndexToOffset(value);
    SetSelection(offset, offset, true);
}

void TCustomEdit::SetSelLength(int value) {
    const std::size_t start = SelMin();
    const std::size_t startChar = m_buffer.ByteToChar(start);
    // A negative length selects backwards from the start.
    const std::int64_t endChar = std::max<std::int64_t>(0, static_cast<std::int64_t>(startChar) + value);
    SetSelection(start, m_buffer.CharToByte(static_cast<std::size_t>(endChar)), true);
}

void TCustomEdit::SetSelText(const std::string& value) {
    ReplaceSelection(value, TEditAction::Other, true, false);
}

void TCustomEdit::SelectAll() {
    SendToSelf(EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection() {
    SendToSelf(WM_CLEAR);
}

void TCustomEdit::CopyToClipboard() {
    SendToSelf(WM_COPY);
}

void TCustomEdit::CutToClipboard() {
    SendToSelf(WM_CUT);
}

void TCustomEdit::PasteFromClipboard() {
    SendToSelf(WM_PASTE);
}

std::size_t TCustomEdit::CharIndexToOffset(LPARAM index) const {
    if (index < 0) {
        return m_buffer.Size();
    }
    return m_buffer.CharToByte(static_cast<std::size_t>(index));
}

void TCustomEdit::SetSelFromChars(LPARAM start, LPARAM end) {
    if (start == -1) {
        // Only the selection goes; the caret stays.
        SetSelection(m_caret, m_caret, !m_buffer.MultiLine());
        return;
    }
    SetSelection(CharIndexToOffset(start), CharIndexToOffset(end), !m_buffer.MultiLine());
}

void TCustomEdit::SetSelection(std::size_t anchor, std::size_t caret, bool scroll) {
    anchor = m_buffer.Snap(anchor);
    caret = m_buffer.Snap(caret);
    const bool changed = anchor != m_anchor || caret != m_caret;
    m_anchor = anchor;
    m_caret = caret;
    if (scroll) {
        ScrollCaretIntoView();
    }
    if (changed) {
        Invalidate();
        RestartCaretBlink();
    }
}

void TCustomEdit::MoveCaret(std::size_t caret, bool extend, bool keepDesiredX) {
    if (!keepDesiredX) {
        m_desiredX = -1;
    }
    SetSelection(extend ? m_anchor : caret, caret, true);
}

// ---- Clipboard and undo messages
// ---------------------------------------------------------------------------

bool TCustomEdit::HandleEditMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_COPY:
        // A hidden text stays hidden: it never leaves through the clipboard.
        if (!m_passwordChar && SelMin() != SelMax()) {
            Clipboard()->SetAsText(SelText());
        }
        return true;
    case WM_CUT:
        if (!m_readOnly && !m_passwordChar && SelMin() != SelMax()) {
            if (Clipboard()->SetAsText(SelText())) {
                DeleteRange(SelMin(), SelMax(), TEditAction::Other);
            }
        }
        return true;
    case WM_PASTE:
        if (!m_readOnly) {
            const std::string text = Clipboard()->AsText();
            if (!text.empty()) {
                ReplaceSelection(text, TEditAction::Other, true, true);
            }
        }
        return true;
    case WM_CLEAR:
        if (!m_readOnly) {
            DeleteRange(SelMin(), SelMax(), TEditAction::Other);
        }
        return true;
    case WM_UNDO:
    case EM_UNDO:
        message.Result = m_undo.Valid && !m_readOnly ? TRUE : FALSE;
        ApplyUndo();
        return true;
    case EM_CANUNDO:
        message.Result = m_undo.Valid ? TRUE : FALSE;
        return true;
    case EM_GETMODIFY:
        message.Result = m_modified ? TRUE : FALSE;
        return true;
    case EM_SETMODIFY:
        m_modified = message.WParam != 0;
        return true;
    case EM_LIMITTEXT:
        SetMaxLength(static_cast<int>(std::min<WPARAM>(message.WParam, std::numeric_limits<int>::max())));
        return true;
    case EM_SETREADONLY:
        SetReadOnly(message.WParam != 0);
        message.Result = TRUE;
        return true;
    case EM_REPLACESEL: {
        const char* text = reinterpret_cast<const char*>(message.LParam);
        ReplaceSelection(text ? text : "", TEditAction::Other, true, message.WParam != 0);
        return true;
    }
    case EM_GETSEL: {
        const auto start = static_cast<DWORD>(SelStart());
        const auto end = static_cast<DWORD>(SelStart() + SelLength());
        if (auto* p = reinterpret_cast<DWORD*>(message.WParam)) {
            *p = start;
        }
        if (auto* p = reinterpret_cast<DWORD*>(message.LParam)) {
            *p = end;
        }
        message.Result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(std::min<DWORD>(start, 0xFFFF)),
                                                       static_cast<WORD>(std::min<DWORD>(end, 0xFFFF))));
        return true;
    }
    case EM_SETSEL:
        SetSelFromChars(static_cast<LPARAM>(static_cast<std::intptr_t>(message.WParam)), message.LParam);
        return true;
    case WM_GETTEXTLENGTH:
        message.Result = static_cast<LRESULT>(Text().size());
        return true;
    case WM_GETTEXT: {
        char* out = reinterpret_cast<char*>(message.LParam);
        if (!out || message.WParam == 0) {
            message.Result = 0;
            return true;
        }
        std::size_t n = std::min<std::size_t>(Text().size(), message.WParam - 1);
        // Never half a character.
        while (n > 0 && n < Text().size() && (static_cast<unsigned char>(Text()[n]) & 0xC0) == 0x80) {
            --n;
        }
        std::copy_n(Text().data(), n, out);
        out[n] = '\0';
        message.Result = static_cast<LRESULT>(n);
        return true;
    }
    default:
        return false;
    }
}

void TCustomEdit::DoEnter() {
    // A memo, or an edit with a formatting rectangle of its own (ES_MULTILINE), keeps its
    // selection when the focus comes; a click places the caret itself.
    if (m_autoSelect && !ControlState().Contains(csLButtonDown) && !HasMultiLineStyle() &&
        !m_buffer.MultiLine()) {
        SelectAll();
    }
    TWinControl::DoEnter();
}

bool TCustomEdit::HasMultiLineStyle() const {
    return HandleAllocated() &&
           (static_cast<DWORD>(::GetWindowLongPtr(const_cast<TCustomEdit*>(this)->Handle(), GWL_STYLE)) &
            ES_MULTILINE) != 0;
}
