#include "toolkit/controls/TextBuffer.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The line starts a buffer must have, worked out the slow way.
struct TExpectedLines {
    std::vector<std::size_t> Bytes;
    std::vector<std::size_t> Chars;
};

TExpectedLines ScanLines(const std::string& text) {
    TExpectedLines lines{{0}, {0}};
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++chars;
        }
        if (text[i] == '\n') {
            lines.Bytes.push_back(i + 1);
            lines.Chars.push_back(chars);
        }
    }
    return lines;
}

void ExpectConsistent(const TTextBuffer& buffer) {
    const TExpectedLines expected = ScanLines(buffer.Text());
    ASSERT_EQ(buffer.LineCount(), static_cast<int>(expected.Bytes.size()));
    for (int i = 0; i < buffer.LineCount(); ++i) {
        EXPECT_EQ(buffer.LineStart(i), expected.Bytes[static_cast<std::size_t>(i)]) << "line " << i;
        EXPECT_EQ(buffer.LineCharStart(i), expected.Chars[static_cast<std::size_t>(i)]) << "line " << i;
    }
    EXPECT_EQ(buffer.Length(), TTextBuffer::CountChars(buffer.Text()));
}

TEST(TextBufferTest, LinesAndCharactersOfUtf8TextWithLineBreaks) {
    TTextBuffer buffer(true);
    buffer.Assign("ab\r\nçé€\r\n\r\nz");
    ASSERT_EQ(buffer.LineCount(), 4);
    EXPECT_EQ(buffer.Line(0), "ab");
    EXPECT_EQ(buffer.Line(1), "çé€");
    EXPECT_EQ(buffer.Line(2), "");
    EXPECT_EQ(buffer.Line(3), "z");
    // Characters: a b CR LF ç é € CR LF CR LF z.
    EXPECT_EQ(buffer.Length(), 12u);
    EXPECT_EQ(buffer.LineCharStart(1), 4u);
    EXPECT_EQ(buffer.LineCharLength(1), 3u);
    EXPECT_EQ(buffer.CharToByte(5), 6u);  // after ç (2 bytes)
    EXPECT_EQ(buffer.ByteToChar(10), 7u); // after €
    // An index between CR and LF means the end of that line.
    EXPECT_EQ(buffer.CharToByte(3), 2u);
    EXPECT_EQ(buffer.LineOfChar(3), 0);
    EXPECT_EQ(buffer.CharToByte(100), buffer.Size());
    EXPECT_EQ(buffer.LineOfByte(buffer.Size()), 3);
}

TEST(TextBufferTest, SingleLineBufferKeepsLineBreaksAsCharacters) {
    TTextBuffer buffer(false);
    buffer.Assign("a\r\nb");
    EXPECT_EQ(buffer.LineCount(), 1);
    EXPECT_EQ(buffer.Line(0), "a\r\nb");
    EXPECT_EQ(buffer.Next(1), 2u); // CR is a character of its own here
}

TEST(TextBufferTest, IncomingTextIsMadeWellFormed) {
    EXPECT_EQ(TTextBuffer::Sanitize(std::string("a\xC3", 2)), "a\xEF\xBF\xBD");
    EXPECT_EQ(TTextBuffer::Sanitize(std::string("a\0b", 3)), "ab");
    EXPECT_EQ(TTextBuffer::Sanitize("\xE2\x82\xAC"), "\xE2\x82\xAC");
    // An overlong encoding of '/' is not read as '/'.
    EXPECT_EQ(TTextBuffer::Sanitize("\xC0\xAF"), "\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(TTextBuffer::NormalizeLineBreaks("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(TTextBuffer::FirstLine("one\r\ntwo"), "one");
    TTextBuffer buffer(true);
    buffer.Assign(std::string("x\ny\xFF", 4));
    EXPECT_EQ(buffer.Text(), "x\r\ny\xEF\xBF\xBD");
    EXPECT_EQ(buffer.Length(), 5u);
}

TEST(TextBufferTest, PrefixOfCharsNeverCutsACharacterOrALineBreak) {
    EXPECT_EQ(TTextBuffer::PrefixOfChars("é€x", 2), 5u);
    EXPECT_EQ(TTextBuffer::PrefixOfChars("ab\r\ncd", 3), 2u);
    EXPECT_EQ(TTextBuffer::PrefixOfChars("ab\r\ncd", 4), 4u);
    EXPECT_EQ(TTextBuffer::PrefixOfChars("ab", 10), 2u);
    EXPECT_EQ(TTextBuffer::PrefixOfChars("ab", 0), 0u);
}

TEST(TextBufferTest, ReplaceReportsTheLinesItTouched) {
    TTextBuffer buffer(true);
    buffer.Assign("one\r\ntwo\r\nthree");
    TLineChange change = buffer.Replace(5, 8, "2\r\n2b");
    EXPECT_EQ(buffer.Text(), "one\r\n2\r\n2b\r\nthree");
    EXPECT_EQ(change.First, 1);
    EXPECT_EQ(change.Removed, 1);
    EXPECT_EQ(change.Inserted, 2);
    change = buffer.Replace(2, 8, "");
    EXPECT_EQ(buffer.Text(), "on2b\r\nthree");
    EXPECT_EQ(change.First, 0);
    EXPECT_EQ(change.Removed, 3);
    EXPECT_EQ(change.Inserted, 1);
    change = buffer.Append("\r\nfour");
    EXPECT_EQ(change.First, 1);
    EXPECT_EQ(change.Inserted, 2);
    ExpectConsistent(buffer);
}

TEST(TextBufferTest, RangesThatCutALineBreakOrACharacterAreWidened) {
    TTextBuffer buffer(true);
    buffer.Assign("a\r\nb");
    // Deleting from inside the line break takes the whole break.
    buffer.Replace(2, 3, "");
    EXPECT_EQ(buffer.Text(), "ab");
    buffer.Assign("a\r\nb");
    // Inserting between CR and LF inserts before the CR.
    buffer.Replace(2, 2, "x");
    EXPECT_EQ(buffer.Text(), "ax\r\nb");
    buffer.Assign("é");
    buffer.Replace(1, 1, "x");
    EXPECT_EQ(buffer.Text(), "xé");
    ExpectConsistent(buffer);
}

TEST(TextBufferTest, RandomEditsKeepLineStartsRight) {
    std::mt19937 random(7);
    const std::vector<std::string> pieces{"", "a", "é", "\r\n", "xy\r\nz", "€\r\n\r\n", " w "};
    TTextBuffer buffer(true);
    buffer.Assign("start\r\nof €\r\ntext");
    for (int step = 0; step < 400; ++step) {
        const std::size_t size = buffer.Size();
        std::size_t a = random() % (size + 1);
        std::size_t b = random() % (size + 1);
        if (a > b) {
            std::swap(a, b);
        }
        if (random() % 3 == 0) {
            b = a;
        }
        buffer.Replace(a, b, pieces[random() % pieces.size()]);
        ASSERT_NO_FATAL_FAILURE(ExpectConsistent(buffer)) << "after step " << step;
        // No lone CR or LF may appear, whatever the cut.
        const std::string& t = buffer.Text();
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] == '\r') {
                ASSERT_TRUE(i + 1 < t.size() && t[i + 1] == '\n') << "lone CR at " << i;
            } else if (t[i] == '\n') {
                ASSERT_TRUE(i > 0 && t[i - 1] == '\r') << "lone LF at " << i;
            }
        }
    }
}

TEST(TextBufferTest, CaretStepsTreatALineBreakAndACharacterAsOne) {
    TTextBuffer buffer(true);
    buffer.Assign("é\r\nb");
    EXPECT_EQ(buffer.Next(0), 2u);
    EXPECT_EQ(buffer.Next(2), 4u);
    EXPECT_EQ(buffer.Prev(4), 2u);
    EXPECT_EQ(buffer.Prev(2), 0u);
    EXPECT_EQ(buffer.Snap(1), 0u);
    EXPECT_EQ(buffer.Snap(3), 2u);
    EXPECT_EQ(buffer.Next(buffer.Size()), buffer.Size());
    EXPECT_EQ(buffer.Prev(0), 0u);
}

TEST(TextBufferTest, WordStepsStopAtWordsPunctuationAndLineBreaks) {
    TTextBuffer buffer(true);
    buffer.Assign("alpha  beta,gamma\r\n  delta");
    // 0 alpha, 7 beta, 11 ',', 12 gamma, 17 CR LF, 19 spaces, 21 delta
    EXPECT_EQ(buffer.NextWord(0), 7u);
    EXPECT_EQ(buffer.NextWord(7), 11u);
    EXPECT_EQ(buffer.NextWord(11), 12u);
    EXPECT_EQ(buffer.NextWord(12), 17u);
    EXPECT_EQ(buffer.NextWord(17), 19u);
    EXPECT_EQ(buffer.NextWord(19), 21u);
    EXPECT_EQ(buffer.PrevWord(21), 19u);
    EXPECT_EQ(buffer.PrevWord(19), 17u);
    EXPECT_EQ(buffer.PrevWord(17), 12u);
    EXPECT_EQ(buffer.PrevWord(9), 7u);
    EXPECT_EQ(buffer.PrevWord(7), 0u);
    std::size_t start = 0;
    std::size_t end = 0;
    buffer.WordAt(14, start, end);
    EXPECT_EQ(start, 12u);
    EXPECT_EQ(end, 17u);
    // At a line's end the word before it is meant.
    buffer.WordAt(17, start, end);
    EXPECT_EQ(start, 12u);
    EXPECT_EQ(end, 17u);
    buffer.WordAt(5, start, end);
    EXPECT_EQ(start, 5u);
    EXPECT_EQ(end, 7u);
}

TEST(TextBufferTest, LetterCaseOfAsciiAndLatinLetters) {
    EXPECT_EQ(ToUpperText("abc xyz éü ß 1"), "ABC XYZ ÉÜ ß 1");
    EXPECT_EQ(ToLowerText("ABC ÉÜ × Ω"), "abc éü × Ω");
}

} // namespace
