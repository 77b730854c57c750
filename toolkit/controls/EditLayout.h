#pragma once

#include "toolkit/controls/TextBuffer.h"
#include "toolkit/graphics/FontEngine.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

// Where the text of an edit or memo lies on screen: the advance of each character, the rows a
// line wraps into, the widest line, and the way between a caret offset and a point.
//
// Lines are measured lazily: a change only marks the lines it touched, and Update measures them
// when the numbers are needed (painting, scroll bars, the caret). Without wrapping a row is a
// line; with wrapping, the first row of every line comes from a running sum over the lines, built
// again from the first changed line on. Coordinates are relative to the text's own origin: x = 0
// at the left of a row before any alignment, row 0 the first row.
class TEditLayout {
public:
    explicit TEditLayout(const TTextBuffer& buffer);

    // ---- Settings; each invalidates what depends on it ----
    void SetFont(const TFontRequest& font);
    // 0 draws every character as itself.
    void SetPasswordChar(char32_t c);
    char32_t PasswordChar() const { return m_passwordChar; }
    // Rows break at this width; 0 or less means no wrapping.
    void SetWrapWidth(int width);
    int WrapWidth() const { return m_wrapWidth; }
    bool Wrapping() const { return m_wrapWidth > 0; }

    // The buffer changed as change says.
    void LinesChanged(const TLineChange& change);
    void InvalidateAll();

    // ---- Font numbers ----
    int LineHeight() const { return m_lineHeight; }
    int Ascent() const { return m_ascent; }
    int AveCharWidth() const { return m_aveCharWidth; }
    // The advance of c when it starts at x (tabs run to the next tab stop).
    int Advance(char32_t c, int x);
    // The width of text starting at x.
    int Width(std::string_view text, int x = 0);
    // What a character is drawn as: the password character when there is one.
    char32_t Shown(char32_t c) const { return m_passwordChar ? m_passwordChar : c; }

    // ---- Rows; each brings the measurements up to date first ----
    void Update();
    int RowCount();
    int MaxWidth();
    int LineWidth(int line);
    int FirstRow(int line);
    int LineOfRow(int row);
    // The byte offsets where the rows of a line start (the first is the line's start).
    void RowStarts(int line, std::vector<std::size_t>& starts);
    // The text of a row, [start, end) without the line break.
    void RowRange(int row, std::size_t& start, std::size_t& end);

    // The row holding a caret offset and the caret's x in it. An offset where a wrapped row
    // ends belongs to the next row, where it is the first position.
    int RowOfOffset(std::size_t offset);
    int XOfOffset(std::size_t offset);
    // The caret offset nearest to x in a row (rows outside the text are clamped).
    std::size_t OffsetAt(int row, int x);

private:
    void MeasureLine(int line);
    int Rows(int line);
    void WrapLine(int line, std::vector<std::size_t>* starts, int* count);
    int CharWidthUncached(char32_t c);

    const TTextBuffer& m_buffer;
    TFontRequest m_font;
    bool m_fontKnown = false;
    int m_lineHeight = 13;
    int m_ascent = 10;
    int m_aveCharWidth = 6;
    std::array<int, 128> m_asciiAdvances{};
    std::unordered_map<char32_t, int> m_otherAdvances;
    char32_t m_passwordChar = 0;
    int m_wrapWidth = 0;

    std::vector<int> m_widths; // per line, in pixels; -1 until measured
    std::vector<int> m_rows;   // per line while wrapping; 0 until measured
    // m_firstRows[i] is the first row of line i; valid below m_firstRowsValid (one more entry than
    // lines, the last being the row count).
    std::vector<int> m_firstRows;
    int m_firstRowsValid = 0;
    int m_dirtyFrom = 0; // lines from here may be unmeasured
    int m_dirtyTo = 0;   // ... up to here (exclusive)
    int m_maxWidth = 0;
    bool m_maxWidthValid = true;
};
