#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The text of an edit or memo: one UTF-8 string with the byte and character offset of every line
// start, so that finding a line, or turning a character index into a byte offset, costs a binary
// search and a scan of one line, never a scan of the whole text.
//
// The buffer only ever holds well-formed UTF-8 without NUL characters (Sanitize makes it so), so
// a character is a code point and the characters of one piece never merge with their neighbours'
// when the text around them changes. A multi-line buffer separates lines by CR LF and holds no
// other CR or LF (NormalizeLineBreaks); a single-line buffer is one line whatever it holds.
//
// Offsets are bytes unless a name says characters. A caret position is never inside a character
// nor between the CR and the LF of a line break; Replace widens a range that cuts one.

// What one change did to the lines: the lines [First, First + Removed) became the lines
// [First, First + Inserted). The line holding the change counts in both.
struct TLineChange {
    int First = 0;
    int Removed = 0;
    int Inserted = 0;
};

enum class TCharClass { Space, Word, Punctuation, LineBreak };

class TTextBuffer {
public:
    explicit TTextBuffer(bool multiLine);

    bool MultiLine() const { return m_multiLine; }
    const std::string& Text() const { return m_text; }
    std::size_t Size() const { return m_text.size(); }
    // Characters in the whole text; a line break counts two, as CR and LF.
    std::size_t Length() const { return m_length; }

    // ---- Lines: always at least one ----
    int LineCount() const { return static_cast<int>(m_lineStarts.size()); }
    std::size_t LineStart(int line) const;
    // Where the line's text ends, before its line break.
    std::size_t LineEnd(int line) const;
    std::string_view Line(int line) const;
    std::size_t LineCharStart(int line) const;
    std::size_t LineCharLength(int line) const;
    // The line holding a byte offset or character index (the last line for offsets past the end).
    int LineOfByte(std::size_t offset) const;
    int LineOfChar(std::size_t index) const;

    // ---- Characters and bytes ----
    // Clamped to the text; an index between CR and LF gives the offset of the CR.
    std::size_t CharToByte(std::size_t index) const;
    std::size_t ByteToChar(std::size_t offset) const;
    // The nearest caret position at or before offset.
    std::size_t Snap(std::size_t offset) const;
    // The caret position one character on or back; a line break is one step.
    std::size_t Next(std::size_t offset) const;
    std::size_t Prev(std::size_t offset) const;
    char32_t CharAt(std::size_t offset) const;
    TCharClass ClassAt(std::size_t offset) const;
    // Ctrl+Right: past the rest of the word or punctuation run and the spaces after it; a line
    // break is a stop of its own.
    std::size_t NextWord(std::size_t offset) const;
    // Ctrl+Left: back over spaces, then to the start of the run before them.
    std::size_t PrevWord(std::size_t offset) const;
    // The run of one character class around offset (the character at offset, or the one before
    // it at a line's end), as a double click selects it.
    void WordAt(std::size_t offset, std::size_t& start, std::size_t& end) const;

    // ---- Changing ----
    // Replaces everything; the text is made well-formed first.
    void Assign(std::string_view text);
    // Replaces [start, end) by text, which must already be well-formed (Sanitize and, for a
    // multi-line buffer, NormalizeLineBreaks). Returns what happened to the lines.
    TLineChange Replace(std::size_t start, std::size_t end, std::string_view text);
    // Replace at the end of the text, without searching for the line.
    TLineChange Append(std::string_view text) { return Replace(m_text.size(), m_text.size(), text); }

    // ---- Text coming in ----
    // ASCII without NUL, CR or LF: text that needs no preparing at all.
    static bool IsPlain(std::string_view text);
    // Malformed UTF-8 becomes U+FFFD; NUL characters are dropped.
    static std::string Sanitize(std::string_view text);
    // CR LF, a lone CR and a lone LF each become CR LF.
    static std::string NormalizeLineBreaks(std::string_view text);
    // Everything before the first CR or LF.
    static std::string_view FirstLine(std::string_view text);
    // Characters in well-formed UTF-8.
    static std::size_t CountChars(std::string_view text);
    // The byte offset after count characters of well-formed text (its size when shorter), never
    // cutting a CR LF apart.
    static std::size_t PrefixOfChars(std::string_view text, std::size_t count);

private:
    void RebuildLines();

    bool m_multiLine;
    std::string m_text;
    std::size_t m_length = 0;
    std::vector<std::size_t> m_lineStarts{0};     // byte offset of each line's first character
    std::vector<std::size_t> m_lineCharStarts{0}; // the same as a character index
    // Scratch space of Replace, kept so that appending a line allocates nothing.
    std::vector<std::size_t> m_newStarts;
    std::vector<std::size_t> m_newCharStarts;
};

// Letter case for CharCase: ASCII and the Latin-1 letters change, everything else stays.
std::string ToUpperText(std::string_view text);
std::string ToLowerText(std::string_view text);
