#include "toolkit/controls/Edit.h"
#include "toolkit/windowing/Utf8.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>
#include <cstdlib>

// The edit's window procedure proper: what a native edit does with each message once the
// control's handlers and events have seen it. Index:
//   DefaultHandler   - routes the messages below, passes the rest on
//   keys             - caret movement, selection with Shift, Delete, Insert combinations
//   characters       - typing, Backspace, Ctrl+A/C/V/X/Z as their control characters
//   mouse            - click, Shift+click, double click on a word, drag with auto-scroll
//   scrolling        - WM_VSCROLL, WM_HSCROLL, the wheel, EM_SCROLL, EM_LINESCROLL
//   line messages    - EM_GETLINECOUNT, EM_LINEINDEX, EM_LINEFROMCHAR, EM_GETLINE ...

namespace {

// Timers on the edit's own window.
constexpr UINT_PTR kCaretTimer = 0xED01;
constexpr UINT_PTR kAutoScrollTimer = 0xED02;
constexpr int kCaretBlinkMs = 500;
constexpr int kAutoScrollMs = 100;
// Posted to the edit itself after the program changed the text, so that scrolling and the scroll
// bars are brought up to date once for a whole run of changes.
constexpr UINT kViewMessage = WM_USER + 0x7E0;

bool KeyHeld(int vk) {
    return ::GetKeyState(vk) < 0;
}

} // namespace

// ---- Routing -----------------------------------------------------------------------------------------

void TCustomEdit::DefaultHandler(TMessage& message) {
    if (m_viewPending && message.Msg != WM_NCDESTROY && message.Msg != WM_DESTROY) {
        SyncView(false);
    }
    if (HandleEditMessage(message)) {
        return;
    }
    switch (message.Msg) {
    case kViewMessage:
        return;
    case WM_GETDLGCODE: {
        // The window's style decides, as for a classic edit: a one-line edit made with
        // ES_MULTILINE (for a formatting rectangle of its own) takes Enter and Escape itself
        // rather than leaving them to the form's default and cancel buttons.
        message.Result = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS |
                         (m_buffer.MultiLine() || HasMultiLineStyle() ? DLGC_WANTALLKEYS : 0);
        return;
    }
    case WM_KEYDOWN:
        OnKeyDownMessage(message);
        return;
    case WM_CHAR:
        OnCharMessage(message);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        OnMouseMessage(message);
        return;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        m_mouseSelecting = false;
        if (m_autoScrolling && HandleAllocated()) {
            ::KillTimer(Handle(), kAutoScrollTimer);
        }
        m_autoScrolling = false;
        break;
    case WM_MOUSEWHEEL:
        if (m_buffer.MultiLine()) {
            OnWheel(message);
            return;
        }
        break;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScrollMessage(message, message.Msg == WM_VSCROLL);
        return;
    case WM_TIMER:
        if (message.WParam == kCaretTimer || message.WParam == kAutoScrollTimer) {
            OnTimer(message);
            return;
        }
        break;
    case WM_SETFOCUS:
        OnSetFocus();
        break;
    case WM_KILLFOCUS:
        OnKillFocus();
        break;
    case EM_GETRECT:
        if (auto* rect = reinterpret_cast<RECT*>(message.LParam)) {
            *rect = FormatRect();
        }
        return;
    case EM_SETRECT:
    case EM_SETRECTNP: {
        const auto* rect = reinterpret_cast<const RECT*>(message.LParam);
        m_formatRectSet = rect != nullptr;
        if (rect) {
            m_formatRect = *rect;
        }
        UpdateWrapWidth();
        SyncView(false);
        if (message.Msg == EM_SETRECT) {
            Invalidate();
        }
        return;
    }
    case EM_SCROLLCARET:
        ScrollCaretIntoView();
        message.Result = TRUE;
        return;
    case EM_GETFIRSTVISIBLELINE:
        if (m_buffer.MultiLine()) {
            message.Result = m_topRow;
        } else {
            message.Result = static_cast<LRESULT>(m_buffer.ByteToChar(m_layout.OffsetAt(0, m_scrollX)));
        }
        return;
    case EM_GETLINECOUNT:
        message.Result = m_layout.RowCount();
        return;
    case EM_LINEINDEX: {
        const auto row = static_cast<int>(static_cast<std::intptr_t>(message.WParam));
        const int target = row < 0 ? m_layout.RowOfOffset(m_caret) : row;
        if (target >= m_layout.RowCount()) {
            message.Result = -1;
            return;
        }
        std::size_t start = 0;
        std::size_t end = 0;
        m_layout.RowRange(target, start, end);
        message.Result = static_cast<LRESULT>(m_buffer.ByteToChar(start));
        return;
    }
    case EM_LINEFROMCHAR: {
        const auto index = static_cast<std::intptr_t>(message.WParam);
        const std::size_t offset = index < 0 ? SelMin() : CharIndexToOffset(index);
        message.Result = m_layout.RowOfOffset(offset);
        return;
    }
    case EM_LINELENGTH: {
        const auto index = static_cast<std::intptr_t>(message.WParam);
        auto rowLength = [this](std::size_t offset, std::size_t& start, std::size_t& end) {
            m_layout.RowRange(m_layout.RowOfOffset(offset), start, end);
        };
        std::size_t start = 0;
        std::size_t end = 0;
        if (index >= 0 || SelMin() == SelMax()) {
            rowLength(index >= 0 ? CharIndexToOffset(index) : m_caret, start, end);
            message.Result = static_cast<LRESULT>(m_buffer.ByteToChar(end) - m_buffer.ByteToChar(start));
            return;
        }
        // The unselected characters of the rows the selection touches.
        rowLength(SelMin(), start, end);
        std::size_t count = m_buffer.ByteToChar(SelMin()) - m_buffer.ByteToChar(start);
        rowLength(SelMax(), start, end);
        count += m_buffer.ByteToChar(std::max(end, SelMax())) - m_buffer.ByteToChar(SelMax());
        message.Result = static_cast<LRESULT>(count);
        return;
    }
    case EM_GETLINE: {
        auto* out = reinterpret_cast<char*>(message.LParam);
        const auto row = static_cast<int>(message.WParam);
        if (!out || row < 0 || row >= m_layout.RowCount()) {
            message.Result = 0;
            return;
        }
        // The first word of the buffer gives its size, as the classic message has it.
        WORD size = 0;
        std::copy_n(out, sizeof(WORD), reinterpret_cast<char*>(&size));
        std::size_t start = 0;
        std::size_t end = 0;
        m_layout.RowRange(row, start, end);
        const std::size_t n = std::min<std::size_t>(end - start, size);
        std::copy_n(Text().data() + start, n, out);
        message.Result = static_cast<LRESULT>(n);
        return;
    }
    case EM_LINESCROLL:
        if (m_buffer.MultiLine()) {
            ScrollTo(m_topRow + static_cast<int>(message.LParam),
                     m_scrollX + static_cast<int>(static_cast<std::intptr_t>(message.WParam)) *
                                     m_layout.AveCharWidth());
            message.Result = TRUE;
        }
        return;
    case EM_SCROLL: {
        if (!m_buffer.MultiLine()) {
            return;
        }
        const int before = m_topRow;
        TMessage scroll{WM_VSCROLL, LOWORD(message.WParam), 0, 0};
        OnScrollMessage(scroll, true);
        message.Result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(m_topRow - before), TRUE));
        return;
    }
    case EM_POSFROMCHAR: {
        const std::size_t offset = CharIndexToOffset(static_cast<std::intptr_t>(message.WParam));
        const int row = m_layout.RowOfOffset(offset);
        const TRect fr = FormatRect();
        const int x = TextLeft(row) + m_layout.XOfOffset(offset);
        const int y = fr.Top + (row - m_topRow) * m_layout.LineHeight();
        message.Result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)));
        return;
    }
    case EM_CHARFROMPOS: {
        const TPoint p = LParamToPoint(message.LParam);
        const std::size_t offset = OffsetFromPoint(p);
        const auto index = static_cast<DWORD>(m_buffer.ByteToChar(offset));
        message.Result = static_cast<LRESULT>(
            MAKELONG(static_cast<WORD>(index), static_cast<WORD>(m_layout.RowOfOffset(offset))));
        return;
    }
    default:
        break;
    }
    TWinControl::DefaultHandler(message);
}

// ---- Focus and timers ------------------------------------------------------------------------------------

void TCustomEdit::OnSetFocus() {
    RestartCaretBlink();
    // The selection shows again, or for the first time.
    Invalidate();
}

void TCustomEdit::OnKillFocus() {
    if (HandleAllocated()) {
        ::KillTimer(Handle(), kCaretTimer);
        ::KillTimer(Handle(), kAutoScrollTimer);
    }
    m_caretOn = false;
    m_mouseSelecting = false;
    m_autoScrolling = false;
    Invalidate();
}

void TCustomEdit::RestartCaretBlink() {
    if (!HandleAllocated() || !Focused()) {
        return;
    }
    InvalidateCaret();
    m_caretOn = true;
    ::SetTimer(Handle(), kCaretTimer, kCaretBlinkMs, nullptr);
}

void TCustomEdit::OnTimer(TMessage& message) {
    if (message.WParam == kCaretTimer) {
        if (!Focused()) {
            ::KillTimer(Handle(), kCaretTimer);
            m_caretOn = false;
            return;
        }
        m_caretOn = !m_caretOn;
        InvalidateCaret();
        return;
    }
    // Auto-scroll: while the button is held outside the text, the selection keeps following the
    // pointer, which scrolls the text towards it.
    POINT p;
    if (!m_mouseSelecting || !::GetCursorPos(&p)) {
        ::KillTimer(Handle(), kAutoScrollTimer);
        m_autoScrolling = false;
        return;
    }
    const TPoint client = ScreenToClient(p);
    if (FormatRect().Contains(client)) {
        ::KillTimer(Handle(), kAutoScrollTimer);
        m_autoScrolling = false;
        return;
    }
    ExtendMouseSelection(client);
}

// ---- Keys
// --------------------------------------------------------------------------------------------------

void TCustomEdit::OnKeyDownMessage(TMessage& message) {
    const int vk = static_cast<int>(message.WParam);
    const bool shift = KeyHeld(VK_SHIFT);
    const bool ctrl = KeyHeld(VK_CONTROL);
    const bool multi = m_buffer.MultiLine();
    const bool selection = SelMin() != SelMax();
    // Any key shows the caret at once, moved or not.
    RestartCaretBlink();

    auto vertical = [&](int rows) {
        const int row = m_layout.RowOfOffset(m_caret);
        const int x = m_desiredX >= 0 ? m_desiredX : m_layout.XOfOffset(m_caret) + AlignShift(row);
        const int target = std::clamp(row + rows, 0, m_layout.RowCount() - 1);
        const std::size_t offset = m_layout.OffsetAt(target, x - AlignShift(target));
        m_desiredX = x;
        MoveCaret(offset, shift, true);
    };

    switch (vk) {
    case VK_LEFT:
    case VK_UP:
        if (vk == VK_UP && multi) {
            vertical(-1);
        } else if (selection && !shift) {
            MoveCaret(SelMin(), false);
        } else {
            MoveCaret(ctrl ? m_buffer.PrevWord(m_caret) : m_buffer.Prev(m_caret), shift);
        }
        return;
    case VK_RIGHT:
    case VK_DOWN:
        if (vk == VK_DOWN && multi) {
            vertical(1);
        } else if (selection && !shift) {
            MoveCaret(SelMax(), false);
        } else {
            MoveCaret(ctrl ? m_buffer.NextWord(m_caret) : m_buffer.Next(m_caret), shift);
        }
        return;
    case VK_PRIOR:
    case VK_NEXT:
        if (multi) {
            const int page = std::max(1, VisibleRows() - 1);
            const int rows = vk == VK_PRIOR ? -page : page;
            ScrollTo(m_topRow + rows, m_scrollX);
            vertical(rows);
        }
        return;
    case VK_HOME:
        if (ctrl) {
            MoveCaret(0, shift);
        } else {
            std::size_t start = 0;
            std::size_t end = 0;
            m_layout.RowRange(m_layout.RowOfOffset(m_caret), start, end);
            MoveCaret(start, shift);
        }
        return;
    case VK_END:
        if (ctrl) {
            MoveCaret(m_buffer.Size(), shift);
        } else {
            std::size_t start = 0;
            std::size_t end = 0;
            m_layout.RowRange(m_layout.RowOfOffset(m_caret), start, end);
            // A wrapped row's end is the next row's start: stop before the space it broke at.
            if (end < m_buffer.LineEnd(m_buffer.LineOfByte(start)) && end > start) {
                end = m_buffer.Prev(end);
            }
            MoveCaret(end, shift);
        }
        return;
    case VK_DELETE:
        if (shift) {
            SendToSelf(WM_CUT);
        } else if (m_readOnly) {
            ::MessageBeep(MB_OK);
        } else if (selection) {
            DeleteRange(SelMin(), SelMax(), TEditAction::Other);
        } else {
            DeleteRange(m_caret, ctrl ? m_buffer.NextWord(m_caret) : m_buffer.Next(m_caret),
                        TEditAction::Erasing);
        }
        return;
    case VK_INSERT:
        if (shift && !ctrl) {
            SendToSelf(WM_PASTE);
        } else if (ctrl && !shift) {
            SendToSelf(WM_COPY);
        }
        return;
    default:
        return;
    }
}

// ---- Characters -----------------------------------------------------------------------------------------

void TCustomEdit::OnCharMessage(TMessage& message) {
    const auto c = static_cast<char32_t>(message.WParam);
    switch (c) {
    case 0x01: // Ctrl+A
        SetSelection(0, m_buffer.Size(), true);
        return;
    case 0x03: // Ctrl+C
        SendToSelf(WM_COPY);
        return;
    case 0x16: // Ctrl+V
        SendToSelf(WM_PASTE);
        return;
    case 0x18: // Ctrl+X
        SendToSelf(WM_CUT);
        return;
    case 0x1A: // Ctrl+Z
        SendToSelf(WM_UNDO);
        return;
    default:
        break;
    }
    const bool multi = m_buffer.MultiLine();
    const bool isText = c >= 0x20 && c != 0x7F;
    const bool isEditing =
        isText || c == 0x08 || c == 0x7F || (multi && (c == U'\r' || c == U'\n' || c == U'\t'));
    if (!isEditing) {
        return;
    }
    if (m_readOnly) {
        ::MessageBeep(MB_OK);
        return;
    }
    if (c == 0x08 || c == 0x7F) {
        // Backspace, and Ctrl+Backspace for the word before the caret.
        if (SelMin() != SelMax()) {
            DeleteRange(SelMin(), SelMax(), TEditAction::Other);
        } else {
            DeleteRange(c == 0x7F ? m_buffer.PrevWord(m_caret) : m_buffer.Prev(m_caret), m_caret,
                        TEditAction::Erasing);
        }
        return;
    }
    std::string text;
    if (c == U'\r' || c == U'\n') {
        text = "\r\n";
    } else {
        text = EncodeUtf8(c);
    }
    ReplaceSelection(text, TEditAction::Typing, true, true);
}

// ---- Mouse ------------------------------------------------------------------------------------------------

void TCustomEdit::OnMouseMessage(TMessage& message) {
    const TPoint p = LParamToPoint(message.LParam);
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (!Focused() && CanFocus()) {
            auto alive = AliveToken();
            SetFocus();
            if (alive.expired()) {
                return;
            }
        }
        const std::size_t offset = OffsetFromPoint(p);
        m_mouseSelecting = true;
        m_desiredX = -1;
        if (message.Msg == WM_LBUTTONDBLCLK) {
            m_selectingWords = true;
            m_buffer.WordAt(offset, m_wordAnchorStart, m_wordAnchorEnd);
            SetSelection(m_wordAnchorStart, m_wordAnchorEnd, true);
        } else {
            m_selectingWords = false;
            const bool extend = (message.WParam & MK_SHIFT) != 0;
            SetSelection(extend ? m_anchor : offset, offset, true);
        }
        return;
    }
    case WM_MOUSEMOVE:
        if (!m_mouseSelecting) {
            return;
        }
        if (!(message.WParam & MK_LBUTTON)) {
            m_mouseSelecting = false;
            return;
        }
        ExtendMouseSelection(p);
        if (HandleAllocated()) {
            const bool outside = !FormatRect().Contains(p);
            if (outside && !m_autoScrolling) {
                ::SetTimer(Handle(), kAutoScrollTimer, kAutoScrollMs, nullptr);
                m_autoScrolling = true;
            } else if (!outside && m_autoScrolling) {
                ::KillTimer(Handle(), kAutoScrollTimer);
                m_autoScrolling = false;
            }
        }
        return;
    case WM_LBUTTONUP:
        m_mouseSelecting = false;
        if (m_autoScrolling && HandleAllocated()) {
            ::KillTimer(Handle(), kAutoScrollTimer);
        }
        m_autoScrolling = false;
        return;
    default:
        return;
    }
}

void TCustomEdit::ExtendMouseSelection(TPoint client) {
    const std::size_t offset = OffsetFromPoint(client);
    if (!m_selectingWords) {
        SetSelection(m_anchor, offset, true);
        return;
    }
    // After a double click the selection grows by whole words, keeping the first word.
    std::size_t start = 0;
    std::size_t end = 0;
    m_buffer.WordAt(offset, start, end);
    if (offset < m_wordAnchorStart) {
        SetSelection(m_wordAnchorEnd, start, true);
    } else {
        SetSelection(m_wordAnchorStart, std::max(end, m_wordAnchorEnd), true);
    }
}

// ---- Scrolling ------------------------------------------------------------------------------------------

void TCustomEdit::OnScrollMessage(TMessage& message, bool vertical) {
    const WORD code = LOWORD(message.WParam);
    const int line = vertical ? 1 : m_layout.AveCharWidth();
    const int page = vertical ? std::max(1, VisibleRows() - 1) : std::max(1, FormatRect().Width() * 3 / 4);
    const int current = vertical ? m_topRow : m_scrollX;
    int target = current;
    switch (code) {
    case SB_LINEUP:
        target -= line;
        break;
    case SB_LINEDOWN:
        target += line;
        break;
    case SB_PAGEUP:
        target -= page;
        break;
    case SB_PAGEDOWN:
        target += page;
        break;
    case SB_TOP:
        target = 0;
        break;
    case SB_BOTTOM:
        target = vertical ? m_layout.RowCount() : m_layout.MaxWidth() + 1;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The message carries 16 bits of the position. While the native bar is dragged it knows
        // the whole number; otherwise the value nearest to the current one with those low bits
        // is meant (positions beyond 65535 only occur in texts of that many rows or pixels).
        const int low = HIWORD(message.WParam);
        target = low;
        if (HandleAllocated()) {
            SCROLLINFO si;
            si.fMask = SIF_POS | SIF_TRACKPOS;
            if (::GetScrollInfo(Handle(), vertical ? SB_VERT : SB_HORZ, &si) &&
                (si.nTrackPos & 0xFFFF) == low) {
                target = si.nTrackPos;
            } else {
                const int block = current & ~0xFFFF;
                int best = block | low;
                for (int candidate : {best - 0x10000, best + 0x10000}) {
                    if (candidate >= 0 && std::abs(candidate - current) < std::abs(best - current)) {
                        best = candidate;
                    }
                }
                target = best;
            }
        }
        break;
    }
    default:
        return;
    }
    if (vertical) {
        ScrollTo(target, m_scrollX);
    } else {
        ScrollTo(m_topRow, target);
    }
}

void TCustomEdit::OnWheel(TMessage& message) {
    UINT linesPerNotch = 3;
    ::SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0);
    m_wheelRemainder += GET_WHEEL_DELTA_WPARAM(message.WParam);
    const int notches = m_wheelRemainder / WHEEL_DELTA;
    m_wheelRemainder -= notches * WHEEL_DELTA;
    if (notches != 0) {
        const int rows = linesPerNotch == 0xFFFFFFFFu ? VisibleRows() : static_cast<int>(linesPerNotch);
        ScrollTo(m_topRow - notches * rows, m_scrollX);
    }
    message.Result = 1;
}
