#include "toolkit/controls/TextBuffer.h"

#include "toolkit/graphics/FontEngine.h"
#include "toolkit/windowing/Utf8.h"

#include <algorithm>
#include <cassert>

namespace {

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool IsSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == 0xA0 || (c >= 0x2000 && c <= 0x200B) || c == 0x3000;
}

bool IsWordChar(char32_t c) {
    if (c >= 0x80) {
        return !IsSpace(c);
    }
    return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || c == U'_';
}

template <typename Map>
std::string MapChars(std::string_view text, Map map) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out.push_back(static_cast<char>(map(byte)));
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t next = DecodeUtf8(text, i, cp);
        const char32_t mapped = map(cp);
        if (mapped == cp) {
            out.append(text.substr(i, next - i));
        } else {
            out += EncodeUtf8(mapped);
        }
        i = next;
    }
    return out;
}

} // namespace

TTextBuffer::TTextBuffer(bool multiLine) : m_multiLine(multiLine) {}

// ---- Lines ----------------------------------------------------------------------------------------

std::size_t TTextBuffer::LineStart(int line) const {
    line = std::clamp(line, 0, LineCount() - 1);
    return m_lineStarts[static_cast<std::size_t>(line)];
}

std::size_t TTextBuffer::LineEnd(int line) const {
    line = std::clamp(line, 0, LineCount() - 1);
    if (line + 1 < LineCount()) {
        return m_lineStarts[static_cast<std::size_t>(line) + 1] - 2;
    }
    return m_text.size();
}

std::string_view TTextBuffer::Line(int line) const {
    const std::size_t start = LineStart(line);
    return std::string_view(m_text).substr(start, LineEnd(line) - start);
}

std::size_t TTextBuffer::LineCharStart(int line) const {
    line = std::clamp(line, 0, LineCount() - 1);
    return m_lineCharStarts[static_cast<std::size_t>(line)];
}

std::size_t TTextBuffer::LineCharLength(int line) const {
    line = std::clamp(line, 0, LineCount() - 1);
    if (line + 1 < LineCount()) {
        return m_lineCharStarts[static_cast<std::size_t>(line) + 1] - 2 -
               m_lineCharStarts[static_cast<std::size_t>(line)];
    }
    return m_length - m_lineCharStarts[static_cast<std::size_t>(line)];
}

int TTextBuffer::LineOfByte(std::size_t offset) const {
    // Text grows at its end most of the time.
    if (offset >= m_lineStarts.back()) {
        return LineCount() - 1;
    }
    auto it = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    return static_cast<int>(it - m_lineStarts.begin()) - 1;
}

int TTextBuffer::LineOfChar(std::size_t index) const {
    if (index >= m_lineCharStarts.back()) {
        return LineCount() - 1;
    }
    auto it = std::upper_bound(m_lineCharStarts.begin(), m_lineCharStarts.end(), index);
    return static_cast<int>(it - m_lineCharStarts.begin()) - 1;
}

// ---- Characters and bytes ----------------------------------------------------------------------------

std::size_t TTextBuffer::CharToByte(std::size_t index) const {
    if (index >= m_length) {
        return m_text.size();
    }
    const int line = LineOfChar(index);
    std::size_t remaining = index - LineCharStart(line);
    const std::size_t end = LineEnd(line);
    std::size_t offset = LineStart(line);
    while (remaining > 0 && offset < end) {
        ++offset;
        while (offset < end && IsContinuation(m_text[offset])) {
            ++offset;
        }
        --remaining;
    }
    return offset;
}

std::size_t TTextBuffer::ByteToChar(std::size_t offset) const {
    offset = std::min(offset, m_text.size());
    const int line = LineOfByte(offset);
    const std::size_t start = LineStart(line);
    return LineCharStart(line) + CountChars(std::string_view(m_text).substr(start, offset - start));
}

std::size_t TTextBuffer::Snap(std::size_t offset) const {
    offset = std::min(offset, m_text.size());
    while (offset > 0 && offset < m_text.size() && IsContinuation(m_text[offset])) {
        --offset;
    }
    if (m_multiLine && offset > 0 && offset < m_text.size() && m_text[offset - 1] == '\r' &&
        m_text[offset] == '\n') {
        --offset;
    }
    return offset;
}

std::size_t TTextBuffer::Next(std::size_t offset) const {
    if (offset >= m_text.size()) {
        return m_text.size();
    }
    if (m_multiLine && m_text[offset] == '\r') {
        return std::min(offset + 2, m_text.size());
    }
    ++offset;
    while (offset < m_text.size() && IsContinuation(m_text[offset])) {
        ++offset;
    }
    return offset;
}

std::size_t TTextBuffer::Prev(std::size_t offset) const {
    offset = std::min(offset, m_text.size());
    if (offset == 0) {
        return 0;
    }
    if (m_multiLine && offset >= 2 && m_text[offset - 1] == '\n' && m_text[offset - 2] == '\r') {
        return offset - 2;
    }
    --offset;
    while (offset > 0 && IsContinuation(m_text[offset])) {
        --offset;
    }
    return offset;
}

char32_t TTextBuffer::CharAt(std::size_t offset) const {
    if (offset >= m_text.size()) {
        return 0;
    }
    char32_t cp = 0;
    DecodeUtf8(m_text, offset, cp);
    return cp;
}

TCharClass TTextBuffer::ClassAt(std::size_t offset) const {
    const char32_t c = CharAt(offset);
    if (m_multiLine && (c == U'\r' || c == U'\n')) {
        return TCharClass::LineBreak;
    }
    if (IsSpace(c)) {
        return TCharClass::Space;
    }
    return IsWordChar(c) ? TCharClass::Word : TCharClass::Punctuation;
}

std::size_t TTextBuffer::NextWord(std::size_t offset) const {
    offset = Snap(offset);
    if (offset >= m_text.size()) {
        return m_text.size();
    }
    const TCharClass start = ClassAt(offset);
    if (start == TCharClass::LineBreak) {
        return Next(offset);
    }
    if (start != TCharClass::Space) {
        while (offset < m_text.size() && ClassAt(offset) == start) {
            offset = Next(offset);
        }
    }
    while (offset < m_text.size() && ClassAt(offset) == TCharClass::Space) {
        offset = Next(offset);
    }
    return offset;
}

std::size_t TTextBuffer::PrevWord(std::size_t offset) const {
    const std::size_t from = Snap(offset);
    std::size_t p = from;
    while (p > 0 && ClassAt(Prev(p)) == TCharClass::Space) {
        p = Prev(p);
    }
    if (p == 0) {
        return 0;
    }
    const TCharClass run = ClassAt(Prev(p));
    if (run == TCharClass::LineBreak) {
        // At a line's start the step goes to the end of the line above; after spaces it stops at
        // the line's start.
        return p == from ? Prev(p) : p;
    }
    while (p > 0 && ClassAt(Prev(p)) == run) {
        p = Prev(p);
    }
    return p;
}

void TTextBuffer::WordAt(std::size_t offset, std::size_t& start, std::size_t& end) const {
    offset = Snap(offset);
    if ((offset >= m_text.size() || ClassAt(offset) == TCharClass::LineBreak) && offset > 0 &&
        ClassAt(Prev(offset)) != TCharClass::LineBreak) {
        offset = Prev(offset);
    }
    if (offset >= m_text.size() || ClassAt(offset) == TCharClass::LineBreak) {
        start = end = offset;
        return;
    }
    const TCharClass run = ClassAt(offset);
    start = offset;
    while (start > 0 && ClassAt(Prev(start)) == run) {
        start = Prev(start);
    }
    end = offset;
    while (end < m_text.size() && ClassAt(end) == run) {
        end = Next(end);
    }
}

// ---- Changing ----------------------------------------------------------------------------------------

void TTextBuffer::Assign(std::string_view text) {
    std::string clean = Sanitize(text);
    m_text = m_multiLine ? NormalizeLineBreaks(clean) : std::move(clean);
    RebuildLines();
}

void TTextBuffer::RebuildLines() {
    m_lineStarts.assign(1, 0);
    m_lineCharStarts.assign(1, 0);
    std::size_t chars = 0;
    for (std::size_t i = 0; i < m_text.size(); ++i) {
        const char c = m_text[i];
        if (!IsContinuation(c)) {
            ++chars;
        }
        if (m_multiLine && c == '\n') {
            m_lineStarts.push_back(i + 1);
            m_lineCharStarts.push_back(chars);
        }
    }
    m_length = chars;
}

TLineChange TTextBuffer::Replace(std::size_t start, std::size_t end, std::string_view text) {
    const bool insertion = end <= start;
    start = Snap(start);
    end = insertion ? start : std::clamp(end, start, m_text.size());
    while (end < m_text.size() && IsContinuation(m_text[end])) {
        ++end;
    }
    if (m_multiLine && end > start && end < m_text.size() && m_text[end - 1] == '\r' && m_text[end] == '\n') {
        ++end;
    }
    const int first = LineOfByte(start);
    const int last = LineOfByte(end);
    const std::size_t firstStart = m_lineStarts[static_cast<std::size_t>(first)];
    const std::size_t charAtStart =
        m_lineCharStarts[static_cast<std::size_t>(first)] +
        CountChars(std::string_view(m_text).substr(firstStart, start - firstStart));
    const std::size_t removedChars = CountChars(std::string_view(m_text).substr(start, end - start));

    // The starts of the lines that begin inside the new text.
    std::vector<std::size_t>& starts = m_newStarts;
    std::vector<std::size_t>& charStarts = m_newCharStarts;
    starts.clear();
    charStarts.clear();
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsContinuation(text[i])) {
            ++chars;
        }
        if (m_multiLine && text[i] == '\n') {
            starts.push_back(start + i + 1);
            charStarts.push_back(charAtStart + chars);
        }
    }
    m_text.replace(start, end - start, text);

    const auto byteDelta =
        static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(end - start);
    const auto charDelta = static_cast<std::ptrdiff_t>(chars) - static_cast<std::ptrdiff_t>(removedChars);
    const auto from = static_cast<std::ptrdiff_t>(first) + 1;
    const auto to = static_cast<std::ptrdiff_t>(last) + 1;
    m_lineStarts.erase(m_lineStarts.begin() + from, m_lineStarts.begin() + to);
    m_lineCharStarts.erase(m_lineCharStarts.begin() + from, m_lineCharStarts.begin() + to);
    m_lineStarts.insert(m_lineStarts.begin() + from, starts.begin(), starts.end());
    m_lineCharStarts.insert(m_lineCharStarts.begin() + from, charStarts.begin(), charStarts.end());
    const std::size_t after = static_cast<std::size_t>(from) + starts.size();
    if (byteDelta != 0 || charDelta != 0) {
        for (std::size_t i = after; i < m_lineStarts.size(); ++i) {
            m_lineStarts[i] =
                static_cast<std::size_t>(static_cast<std::ptrdiff_t>(m_lineStarts[i]) + byteDelta);
            m_lineCharStarts[i] =
                static_cast<std::size_t>(static_cast<std::ptrdiff_t>(m_lineCharStarts[i]) + charDelta);
        }
    }
    m_length = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(m_length) + charDelta);
    return {first, last - first + 1, static_cast<int>(starts.size()) + 1};
}

// ---- Text coming in ------------------------------------------------------------------------------------

bool TTextBuffer::IsPlain(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte != 0 && byte < 0x80 && c != '\r' && c != '\n';
    });
}

std::string TTextBuffer::Sanitize(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            if (byte != 0) {
                out.push_back(static_cast<char>(byte));
            }
            ++i;
            continue;
        }
        char32_t cp = 0;
        const std::size_t next = DecodeUtf8(text, i, cp);
        if (cp == 0xFFFD && next == i + 1) {
            out += EncodeUtf8(0xFFFD);
        } else {
            out.append(text.substr(i, next - i));
        }
        i = next;
    }
    return out;
}

std::string TTextBuffer::NormalizeLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string_view TTextBuffer::FirstLine(std::string_view text) {
    return text.substr(0, std::min(text.find('\r'), text.find('\n')));
}

std::size_t TTextBuffer::CountChars(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) {
        count += IsContinuation(c) ? 0 : 1;
    }
    return count;
}

std::size_t TTextBuffer::PrefixOfChars(std::string_view text, std::size_t count) {
    std::size_t offset = 0;
    while (count > 0 && offset < text.size()) {
        ++offset;
        while (offset < text.size() && IsContinuation(text[offset])) {
            ++offset;
        }
        --count;
    }
    if (offset > 0 && offset < text.size() && text[offset - 1] == '\r' && text[offset] == '\n') {
        --offset;
    }
    return offset;
}

std::string ToUpperText(std::string_view text) {
    return MapChars(text, [](char32_t c) -> char32_t {
        if ((c >= U'a' && c <= U'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
            return c - 0x20;
        }
        return c;
    });
}

std::string ToLowerText(std::string_view text) {
    return MapChars(text, [](char32_t c) -> char32_t {
        if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
            return c + 0x20;
        }
        return c;
    });
}
