#include "toolkit/controls/Edit.h"
#include "toolkit/graphics/Gdi.h"
#include "toolkit/windowing/Utf8.h"
#include "toolkit/windowing/WinUser.h"

#include <algorithm>

// Where the edit shows its text: the formatting rectangle, scrolling, the native scroll bars, the
// caret, and painting only the rows that are seen.

namespace {

constexpr int kCaretWidth = 1;
constexpr UINT kViewMessage = WM_USER + 0x7E0; // see EditMessages.cpp

} // namespace

// ---- Geometry -------------------------------------------------------------------------------------------

TRect TCustomEdit::DefaultFormatRect() const {
    const TRect client = ClientRect();
    // A pixel of room on each side, so that the caret at either end stays visible.
    return {client.Left + 1, client.Top, std::max(client.Left + 1, client.Right - 1), client.Bottom};
}

TRect TCustomEdit::FormatRect() const {
    return m_formatRectSet ? m_formatRect : DefaultFormatRect();
}

int TCustomEdit::VisibleRows() {
    return std::max(1, FormatRect().Height() / m_layout.LineHeight());
}

int TCustomEdit::AlignShift(int row) {
    if (m_alignment == taLeftJustify) {
        return 0;
    }
    std::size_t start = 0;
    std::size_t end = 0;
    m_layout.RowRange(row, start, end);
    const int width = m_layout.Width(std::string_view(Text()).substr(start, end - start));
    const int room = FormatRect().Width() - width - kCaretWidth;
    if (room <= 0) {
        return 0;
    }
    return m_alignment == taRightJustify ? room : room / 2;
}

int TCustomEdit::TextLeft(int row) {
    return FormatRect().Left - m_scrollX + AlignShift(row);
}

std::size_t TCustomEdit::OffsetFromPoint(TPoint client) {
    const TRect fr = FormatRect();
    const int lineHeight = m_layout.LineHeight();
    const int dy = client.Y - fr.Top;
    const int rowsDown = dy >= 0 ? dy / lineHeight : -((-dy + lineHeight - 1) / lineHeight);
    const int row = std::clamp(m_topRow + rowsDown, 0, m_layout.RowCount() - 1);
    return m_layout.OffsetAt(row, client.X - TextLeft(row));
}

TRect TCustomEdit::CaretRect() {
    const int row = m_layout.RowOfOffset(m_caret);
    const TRect fr = FormatRect();
    const int x = TextLeft(row) + m_layout.XOfOffset(m_caret);
    const int y = fr.Top + (row - m_topRow) * m_layout.LineHeight();
    return {x, y, x + kCaretWidth, y + m_layout.LineHeight()};
}

void TCustomEdit::InvalidateCaret() {
    if (!HandleAllocated()) {
        return;
    }
    const TRect r = CaretRect();
    ::InvalidateRect(Handle(), &r, FALSE);
}

// ---- Scrolling ------------------------------------------------------------------------------------------

void TCustomEdit::UpdateWrapWidth() {
    m_layout.SetWrapWidth(m_wrapRows ? std::max(1, FormatRect().Width() - kCaretWidth) : 0);
}

void TCustomEdit::ClampScroll() {
    const int maxTop = std::max(0, m_layout.RowCount() - VisibleRows());
    m_topRow = std::clamp(m_topRow, 0, maxTop);
    if (m_wrapRows) {
        m_scrollX = 0;
        return;
    }
    const int maxX = std::max(0, m_layout.MaxWidth() + kCaretWidth - FormatRect().Width());
    m_scrollX = std::clamp(m_scrollX, 0, maxX);
}

void TCustomEdit::ScrollCaretIntoView() {
    const int oldTop = m_topRow;
    const int oldX = m_scrollX;
    const int row = m_layout.RowOfOffset(m_caret);
    const int visible = VisibleRows();
    if (row < m_topRow) {
        m_topRow = row;
    } else if (row >= m_topRow + visible) {
        m_topRow = row - visible + 1;
    }
    if (!m_wrapRows) {
        const int width = FormatRect().Width();
        const int x = m_layout.XOfOffset(m_caret);
        // Jump a quarter of the width past the edge, so that typing does not scroll at every key.
        const int margin = width / 4;
        if (x < m_scrollX) {
            m_scrollX = std::max(0, x - margin);
        } else if (x + kCaretWidth > m_scrollX + width) {
            m_scrollX = x + kCaretWidth - width + margin;
        }
    }
    ClampScroll();
    if (m_topRow != oldTop || m_scrollX != oldX) {
        Invalidate();
    }
    UpdateScrollBars();
}

void TCustomEdit::ScrollTo(int topRow, int scrollX) {
    const int oldTop = m_topRow;
    const int oldX = m_scrollX;
    m_topRow = topRow;
    m_scrollX = scrollX;
    ClampScroll();
    if (m_topRow != oldTop || m_scrollX != oldX) {
        Invalidate();
    }
    UpdateScrollBars();
}

void TCustomEdit::SyncView(bool scrollCaret) {
    m_viewPending = false;
    scrollCaret = scrollCaret || m_caretScrollPending;
    m_caretScrollPending = false;
    m_layout.Update();
    if (scrollCaret) {
        ScrollCaretIntoView();
    } else {
        ClampScroll();
        UpdateScrollBars();
    }
}

void TCustomEdit::RequestView(bool scrollCaret) {
    m_caretScrollPending = m_caretScrollPending || scrollCaret;
    if (m_viewPending) {
        return;
    }
    m_viewPending = true;
    if (HandleAllocated()) {
        ::PostMessage(Handle(), kViewMessage, 0, 0);
        Invalidate();
    }
}

void TCustomEdit::UpdateView() {
    if (m_viewPending) {
        SyncView(false);
    }
}

void TCustomEdit::UpdateScrollBars() {
    if (!HandleAllocated() || m_scrollBarStyle == 0) {
        return;
    }
    const HWND h = Handle();
    bool written = false;
    auto show = [h, &written](int bar, TShownScrollInfo& shown, const TShownScrollInfo& wanted) {
        if (wanted.Max == shown.Max && wanted.Page == shown.Page && wanted.Pos == shown.Pos) {
            return;
        }
        shown = wanted;
        written = true;
        SCROLLINFO si;
        // The bar stays as ScrollBars asks, disabled while there is nothing to scroll.
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMin = 0;
        si.nMax = wanted.Max;
        si.nPage = static_cast<UINT>(wanted.Page);
        si.nPos = wanted.Pos;
        ::SetScrollInfo(h, bar, &si, TRUE);
    };
    // Showing a bar resizes the window, which brings the bars up to date again from inside this
    // call; only the outermost call reports, once, what all of them wrote.
    ++m_scrollBarsUpdating;
    if (m_scrollBarStyle & WS_VSCROLL) {
        show(SB_VERT, m_shownVScroll, {m_layout.RowCount() - 1, VisibleRows(), m_topRow});
    }
    if (m_scrollBarStyle & WS_HSCROLL) {
        if (m_wrapRows) {
            show(SB_HORZ, m_shownHScroll, {0, 0, 0});
        } else {
            show(SB_HORZ, m_shownHScroll,
                 {m_layout.MaxWidth() + kCaretWidth - 1, FormatRect().Width(), m_scrollX});
        }
    }
    m_scrollBarsWritten = m_scrollBarsWritten || written;
    if (--m_scrollBarsUpdating > 0 || !m_scrollBarsWritten) {
        return;
    }
    m_scrollBarsWritten = false;
    ScrollBarsChanged();
}

// ---- Painting ---------------------------------------------------------------------------------------------

void TCustomEdit::WMEraseBkgnd(TMessage& message) {
    // Painting fills the whole client area itself.
    message.Result = 1;
}

void TCustomEdit::PaintWindow(HDC dc) {
    if (m_viewPending) {
        SyncView(false);
    }
    m_canvas->BeginPaintWith(dc);
    m_canvas->Brush()->SetStyle(bsSolid);
    m_canvas->Brush()->SetColor(Color());
    m_canvas->FillRect(ClientRect());
    m_canvas->SetFont(Font());
    HDC h = m_canvas->Handle();
    ::SetBkMode(h, TRANSPARENT);

    const TRect fr = FormatRect();
    const int saved = ::SaveDC(h);
    ::IntersectClipRect(h, fr.Left, fr.Top, fr.Right, fr.Bottom);
    TRect clip;
    ::GetClipBox(h, &clip);
    const int lineHeight = m_layout.LineHeight();
    if (!clip.IsEmpty()) {
        const int first = m_topRow + std::max(0, (clip.Top - fr.Top) / lineHeight);
        const int last = m_topRow + (clip.Bottom - fr.Top + lineHeight - 1) / lineHeight;
        const int rows = m_layout.RowCount();
        for (int row = first; row < std::min(last, rows); ++row) {
            PaintRow(h, row, fr.Top + (row - m_topRow) * lineHeight, clip);
        }
    }
    if (CaretShown()) {
        const TRect caret = CaretRect();
        ::InvertRect(h, &caret);
    }
    ::RestoreDC(h, saved);
    m_canvas->EndPaintWith();
}

void TCustomEdit::PaintRow(HDC dc, int row, int y, const TRect& clip) {
    std::size_t start = 0;
    std::size_t end = 0;
    m_layout.RowRange(row, start, end);
    const std::string_view text = Text();
    const bool showSelection = SelMin() != SelMax() && (Focused() || !m_hideSelection);
    const std::size_t selFrom = showSelection ? SelMin() : 0;
    const std::size_t selTo = showSelection ? SelMax() : 0;
    const COLORREF normalText = ColorToRGB(Enabled() ? Font()->Color() : clGrayText);
    const COLORREF selectedText = ColorToRGB(clHighlightText);
    const int lineHeight = m_layout.LineHeight();
    const int left = TextLeft(row);
    const std::string shownPassword = m_passwordChar ? EncodeUtf8(m_passwordChar) : std::string();

    // Characters are gathered into runs of one selection state and drawn a run at a time; tabs
    // end a run, as they are gaps rather than glyphs. Only what lies in the clip is drawn.
    std::string run;
    int runX = 0;
    int runEnd = 0;
    bool runSelected = false;
    auto flush = [&] {
        if (runEnd > runX && runSelected) {
            const TRect back{runX, y, runEnd, y + lineHeight};
            ::FillRect(dc, &back, ::GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        if (!run.empty()) {
            ::SetTextColor(dc, runSelected ? selectedText : normalText);
            ::TextOut(dc, runX, y, run);
        }
        run.clear();
        runX = runEnd;
    };

    int x = 0; // from the row's start
    std::size_t i = start;
    runX = runEnd = left;
    while (i < end) {
        char32_t c = 0;
        const std::size_t next = DecodeUtf8(text, i, c);
        const int advance = m_layout.Advance(c, x);
        const int screenX = left + x;
        if (screenX >= clip.Right) {
            break;
        }
        const bool selected = i >= selFrom && i < selTo;
        if (screenX + advance <= clip.Left) {
            // Left of what is seen: only the position moves on.
            flush();
            runX = runEnd = screenX + advance;
        } else if (m_layout.Shown(c) == U'\t') {
            flush();
            runSelected = selected;
            runEnd = screenX + advance;
            flush();
        } else {
            if (selected != runSelected) {
                flush();
                runSelected = selected;
            }
            if (m_passwordChar) {
                run += shownPassword;
            } else {
                run.append(text.substr(i, next - i));
            }
            runEnd = screenX + advance;
        }
        x += advance;
        i = next;
    }
    flush();
}

// ---- Changes of size, font and state ------------------------------------------------------------------

void TCustomEdit::WMSize(TMessage& message) {
    TWinControl::WMSize(message);
    UpdateWrapWidth();
    SyncView(false);
    Invalidate();
}

void TCustomEdit::CMFontChanged(TMessage& message) {
    TWinControl::CMFontChanged(message);
    m_layout.SetFont(Font()->Request());
    UpdateWrapWidth();
    SyncView(false);
    Invalidate();
}

void TCustomEdit::CMEnabledChanged(TMessage& message) {
    TWinControl::CMEnabledChanged(message);
    Invalidate();
}

void TCustomEdit::CMColorChanged(TMessage& message) {
    TWinControl::CMColorChanged(message);
    Invalidate();
}
