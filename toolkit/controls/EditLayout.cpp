#include "toolkit/controls/EditLayout.h"

#include "toolkit/windowing/Utf8.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kTabChars = 8; // a tab stop every this many average characters

bool IsBreakSpace(char32_t c) {
    return c == U' ' || c == U'\t';
}

} // namespace

TEditLayout::TEditLayout(const TTextBuffer& buffer) : m_buffer(buffer) {
    InvalidateAll();
}

// ---- Settings ------------------------------------------------------------------------------------------

void TEditLayout::SetFont(const TFontRequest& font) {
    if (m_fontKnown && font == m_font) {
        return;
    }
    m_font = font;
    m_fontKnown = true;
    TFontEngine& engine = TFontEngine::Instance();
    const TFontMetrics metrics = engine.Metrics(font);
    m_lineHeight = std::max(1, metrics.Height);
    m_ascent = metrics.Ascent;
    m_aveCharWidth = std::max(1, metrics.AveCharWidth);
    // One call measures every ASCII character; NUL never reaches a buffer, so a space stands in.
    std::string ascii(128, ' ');
    for (int c = 1; c < 128; ++c) {
        ascii[static_cast<std::size_t>(c)] = static_cast<char>(c);
    }
    std::vector<int> advances;
    engine.CharAdvances(font, ascii, advances);
    for (std::size_t c = 0; c < m_asciiAdvances.size(); ++c) {
        m_asciiAdvances[c] = c < advances.size() ? std::max(0, advances[c]) : m_aveCharWidth;
    }
    m_otherAdvances.clear();
    InvalidateAll();
}

void TEditLayout::SetPasswordChar(char32_t c) {
    if (c == m_passwordChar) {
        return;
    }
    m_passwordChar = c;
    InvalidateAll();
}

void TEditLayout::SetWrapWidth(int width) {
    width = std::max(0, width);
    if (width == m_wrapWidth) {
        return;
    }
    m_wrapWidth = width;
    InvalidateAll();
}

void TEditLayout::InvalidateAll() {
    const auto count = static_cast<std::size_t>(m_buffer.LineCount());
    m_widths.assign(count, -1);
    m_rows.assign(Wrapping() ? count : 0, 0);
    m_firstRows.clear();
    m_firstRowsValid = 0;
    m_dirtyFrom = 0;
    m_dirtyTo = static_cast<int>(count);
    m_maxWidth = 0;
    m_maxWidthValid = true;
}

void TEditLayout::LinesChanged(const TLineChange& change) {
    const auto first = static_cast<std::ptrdiff_t>(change.First);
    const auto removedEnd = first + change.Removed;
    for (std::ptrdiff_t i = first; i < removedEnd && i < static_cast<std::ptrdiff_t>(m_widths.size()); ++i) {
        if (m_widths[static_cast<std::size_t>(i)] >= m_maxWidth) {
            m_maxWidthValid = false;
        }
    }
    auto splice = [&](std::vector<int>& values, int fill) {
        const auto end = std::min(removedEnd, static_cast<std::ptrdiff_t>(values.size()));
        if (first > static_cast<std::ptrdiff_t>(values.size())) {
            return;
        }
        values.erase(values.begin() + first, values.begin() + end);
        values.insert(values.begin() + first, static_cast<std::size_t>(change.Inserted), fill);
    };
    splice(m_widths, -1);
    if (Wrapping()) {
        splice(m_rows, 0);
    }
    m_firstRowsValid = std::min(m_firstRowsValid, change.First + 1);
    const int delta = change.Inserted - change.Removed;
    if (m_dirtyFrom >= m_dirtyTo) {
        m_dirtyFrom = change.First;
        m_dirtyTo = change.First + change.Inserted;
    } else {
        const int shiftedTo = m_dirtyTo > change.First ? m_dirtyTo + delta : m_dirtyTo;
        m_dirtyFrom = std::min(m_dirtyFrom, change.First);
        m_dirtyTo = std::max(shiftedTo, change.First + change.Inserted);
    }
    m_dirtyTo = std::min(m_dirtyTo, m_buffer.LineCount());
}

// ---- Font numbers ----------------------------------------------------------------------------------------

int TEditLayout::CharWidthUncached(char32_t c) {
    std::vector<int> advances;
    TFontEngine::Instance().CharAdvances(m_font, EncodeUtf8(c), advances);
    const int width = advances.empty() ? m_aveCharWidth : std::max(0, advances.front());
    m_otherAdvances.emplace(c, width);
    return width;
}

int TEditLayout::Advance(char32_t c, int x) {
    c = Shown(c);
    if (c == U'\t') {
        const int stop = kTabChars * m_aveCharWidth;
        return stop - (x % stop + stop) % stop;
    }
    if (c < 128) {
        return m_asciiAdvances[c];
    }
    auto it = m_otherAdvances.find(c);
    return it != m_otherAdvances.end() ? it->second : CharWidthUncached(c);
}

int TEditLayout::Width(std::string_view text, int x) {
    const int start = x;
    if (!m_passwordChar) {
        std::size_t i = 0;
        while (i < text.size()) {
            const auto byte = static_cast<unsigned char>(text[i]);
            if (byte < 0x80) {
                x += byte == '\t' ? Advance(U'\t', x) : m_asciiAdvances[byte];
                ++i;
                continue;
            }
            char32_t c = 0;
            i = DecodeUtf8(text, i, c);
            x += Advance(c, x);
        }
        return x - start;
    }
    const int each = Advance(m_passwordChar, 0);
    if (m_passwordChar != U'\t') {
        return static_cast<int>(TTextBuffer::CountChars(text)) * each;
    }
    for (std::size_t n = TTextBuffer::CountChars(text); n > 0; --n) {
        x += Advance(U'\t', x);
    }
    return x - start;
}

// ---- Rows
// --------------------------------------------------------------------------------------------------

void TEditLayout::MeasureLine(int line) {
    const auto i = static_cast<std::size_t>(line);
    const int width = Width(m_buffer.Line(line));
    m_widths[i] = width;
    m_maxWidth = std::max(m_maxWidth, width);
    if (Wrapping()) {
        int rows = 1;
        if (width > m_wrapWidth) {
            WrapLine(line, nullptr, &rows);
        }
        m_rows[i] = rows;
    }
}

void TEditLayout::Update() {
    const int count = m_buffer.LineCount();
    if (static_cast<int>(m_widths.size()) != count) {
        // A change the layout was not told of: start again rather than read past the lines.
        InvalidateAll();
    }
    if (m_dirtyFrom < m_dirtyTo) {
        const int to = std::min(m_dirtyTo, count);
        for (int line = std::max(0, m_dirtyFrom); line < to; ++line) {
            MeasureLine(line);
        }
        m_dirtyFrom = m_dirtyTo = 0;
    }
    if (!m_maxWidthValid) {
        m_maxWidth = m_widths.empty() ? 0 : *std::max_element(m_widths.begin(), m_widths.end());
        m_maxWidthValid = true;
    }
    if (Wrapping() && m_firstRowsValid < count + 1) {
        m_firstRows.resize(static_cast<std::size_t>(count) + 1);
        int line = std::max(0, m_firstRowsValid - 1);
        if (line == 0) {
            m_firstRows[0] = 0;
        }
        for (; line < count; ++line) {
            m_firstRows[static_cast<std::size_t>(line) + 1] =
                m_firstRows[static_cast<std::size_t>(line)] + m_rows[static_cast<std::size_t>(line)];
        }
        m_firstRowsValid = count + 1;
    }
}

int TEditLayout::RowCount() {
    Update();
    return Wrapping() ? m_firstRows.back() : m_buffer.LineCount();
}

int TEditLayout::MaxWidth() {
    Update();
    return m_maxWidth;
}

int TEditLayout::LineWidth(int line) {
    Update();
    return m_widths[static_cast<std::size_t>(std::clamp(line, 0, m_buffer.LineCount() - 1))];
}

int TEditLayout::FirstRow(int line) {
    Update();
    line = std::clamp(line, 0, m_buffer.LineCount() - 1);
    return Wrapping() ? m_firstRows[static_cast<std::size_t>(line)] : line;
}

int TEditLayout::Rows(int line) {
    Update();
    return Wrapping() ? m_rows[static_cast<std::size_t>(line)] : 1;
}

int TEditLayout::LineOfRow(int row) {
    Update();
    const int count = m_buffer.LineCount();
    if (!Wrapping()) {
        return std::clamp(row, 0, count - 1);
    }
    auto last = m_firstRows.begin() + count;
    auto it = std::upper_bound(m_firstRows.begin(), last, row);
    return std::clamp(static_cast<int>(it - m_firstRows.begin()) - 1, 0, count - 1);
}

void TEditLayout::WrapLine(int line, std::vector<std::size_t>* starts, int* count) {
    const std::string_view text = m_buffer.Line(line);
    const std::size_t base = m_buffer.LineStart(line);
    if (starts) {
        starts->assign(1, base);
    }
    int rows = 1;
    std::size_t rowStart = 0;
    std::size_t lastBreak = std::string_view::npos; // where a row may start after spaces
    int x = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        char32_t c = 0;
        const std::size_t next = DecodeUtf8(text, i, c);
        if (IsBreakSpace(c)) {
            // Spaces hang at the end of their row and never push it over the width.
            x += Advance(c, x);
            lastBreak = next;
            i = next;
            continue;
        }
        int advance = Advance(c, x);
        while (x + advance > m_wrapWidth && i > rowStart) {
            const std::size_t cut =
                (lastBreak != std::string_view::npos && lastBreak > rowStart) ? lastBreak : i;
            rowStart = cut;
            lastBreak = std::string_view::npos;
            ++rows;
            if (starts) {
                starts->push_back(base + cut);
            }
            x = Width(text.substr(cut, i - cut));
            advance = Advance(c, x);
        }
        x += advance;
        i = next;
    }
    if (count) {
        *count = rows;
    }
}

void TEditLayout::RowStarts(int line, std::vector<std::size_t>& starts) {
    line = std::clamp(line, 0, m_buffer.LineCount() - 1);
    if (Rows(line) <= 1) {
        starts.assign(1, m_buffer.LineStart(line));
        return;
    }
    WrapLine(line, &starts, nullptr);
}

void TEditLayout::RowRange(int row, std::size_t& start, std::size_t& end) {
    const int line = LineOfRow(row);
    const int index = std::clamp(row - FirstRow(line), 0, Rows(line) - 1);
    if (Rows(line) <= 1) {
        start = m_buffer.LineStart(line);
        end = m_buffer.LineEnd(line);
        return;
    }
    std::vector<std::size_t> starts;
    RowStarts(line, starts);
    const auto k = static_cast<std::size_t>(std::min(index, static_cast<int>(starts.size()) - 1));
    start = starts[k];
    end = k + 1 < starts.size() ? starts[k + 1] : m_buffer.LineEnd(line);
}

int TEditLayout::RowOfOffset(std::size_t offset) {
    offset = std::min(offset, m_buffer.Size());
    const int line = m_buffer.LineOfByte(offset);
    const int first = FirstRow(line);
    if (Rows(line) <= 1) {
        return first;
    }
    std::vector<std::size_t> starts;
    RowStarts(line, starts);
    auto it = std::upper_bound(starts.begin(), starts.end(), offset);
    return first + static_cast<int>(it - starts.begin()) - 1;
}

int TEditLayout::XOfOffset(std::size_t offset) {
    offset = std::min(offset, m_buffer.Size());
    std::size_t start = 0;
    std::size_t end = 0;
    RowRange(RowOfOffset(offset), start, end);
    offset = std::clamp(offset, start, end);
    return Width(std::string_view(m_buffer.Text()).substr(start, offset - start));
}

std::size_t TEditLayout::OffsetAt(int row, int x) {
    row = std::clamp(row, 0, RowCount() - 1);
    std::size_t start = 0;
    std::size_t end = 0;
    RowRange(row, start, end);
    const std::string_view text = m_buffer.Text();
    int left = 0;
    std::size_t i = start;
    while (i < end) {
        char32_t c = 0;
        const std::size_t next = DecodeUtf8(text, i, c);
        const int advance = Advance(c, left);
        if (x < left + (advance + 1) / 2) {
            return i;
        }
        left += advance;
        i = next;
    }
    // The end of a wrapped row is the start of the next one; stay on this row, before its last
    // character (the space it broke at, as a rule).
    const int line = m_buffer.LineOfByte(start);
    if (end < m_buffer.LineEnd(line) && end > start) {
        return m_buffer.Prev(end);
    }
    return end;
}
