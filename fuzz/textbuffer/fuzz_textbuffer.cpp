#include "toolkit/controls/TextBuffer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

// Text from outside (pasted, typed, set by a layout) goes through the edit's buffer: whatever the
// bytes and wherever they are put, the buffer must stay well-formed and its line starts right.
// The input is a series of edits: a position and a length (two bytes each, scaled to the text)
// and a piece of text up to the next 0xFF byte.

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckBuffer(const TTextBuffer& buffer) {
    const std::string& text = buffer.Text();
    std::size_t chars = 0;
    int line = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++chars;
        }
        if (buffer.MultiLine() && text[i] == '\r') {
            Check(i + 1 < text.size() && text[i + 1] == '\n');
        }
        if (buffer.MultiLine() && text[i] == '\n') {
            Check(i > 0 && text[i - 1] == '\r');
            ++line;
            Check(line < buffer.LineCount());
            Check(buffer.LineStart(line) == i + 1);
            Check(buffer.LineCharStart(line) == chars);
        }
        Check(text[i] != '\0');
    }
    Check(line + 1 == buffer.LineCount());
    Check(buffer.Length() == chars);
    Check(TTextBuffer::Sanitize(text) == text);
    // Every caret position maps to a character index and back.
    for (std::size_t offset = 0; offset <= text.size(); offset = buffer.Next(offset)) {
        Check(buffer.CharToByte(buffer.ByteToChar(offset)) == offset);
        if (offset == text.size()) {
            break;
        }
    }
}

void Run(bool multiLine, std::string_view data) {
    TTextBuffer buffer(multiLine);
    std::size_t i = 0;
    while (i + 4 <= data.size()) {
        const unsigned pos =
            static_cast<unsigned char>(data[i]) | (static_cast<unsigned char>(data[i + 1]) << 8);
        const unsigned len =
            static_cast<unsigned char>(data[i + 2]) | (static_cast<unsigned char>(data[i + 3]) << 8);
        i += 4;
        const std::size_t end = data.find('\xFF', i);
        const std::string_view piece =
            data.substr(i, end == std::string_view::npos ? data.size() - i : end - i);
        i = end == std::string_view::npos ? data.size() : end + 1;
        std::string text = TTextBuffer::Sanitize(piece);
        if (multiLine) {
            text = TTextBuffer::NormalizeLineBreaks(text);
        }
        const std::size_t size = buffer.Size();
        const std::size_t start = size ? pos % (size + 1) : 0;
        const std::size_t stop = std::min(size, start + len % 64);
        buffer.Replace(start, stop, text);
        CheckBuffer(buffer);
        const std::size_t word = buffer.NextWord(start);
        Check(word <= buffer.Size());
        Check(buffer.PrevWord(word) <= word);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Run(true, input);
    Run(false, input);
    return 0;
}
