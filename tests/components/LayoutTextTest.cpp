#include "toolkit/components/LayoutText.h"

#include <gtest/gtest.h>

namespace {

TLayoutObject Parse(std::string_view text) {
    TLayoutObject obj;
    TLayoutError error;
    EXPECT_TRUE(ParseLayout(text, "test.lfm", obj, error)) << error.Text();
    return obj;
}

TLayoutError ParseError(std::string_view text, TLayoutLimits limits = {}) {
    TLayoutObject obj;
    TLayoutError error;
    EXPECT_FALSE(ParseLayout(text, "bad.lfm", obj, error, limits)) << text;
    return error;
}

TLayoutValue Value(std::string_view text) {
    TLayoutValue v;
    TLayoutError error;
    EXPECT_TRUE(ParseLayoutValue(text, v, error)) << text << ": " << error.Text();
    return v;
}

} // namespace

TEST(LayoutText, ParsesObjectsPropertiesAndNestedObjectsInOrder) {
    TLayoutObject root = Parse("object Form1: TForm1\r\n"
                               "  Caption = 'Main'\r\n"
                               "  Font.Style = [fsBold]\r\n"
                               "  object Panel1: TPanel\r\n"
                               "    object TButton\r\n"
                               "    end\r\n"
                               "  end\r\n"
                               "  OBJECT Menu1: TMenu END\r\n"
                               "end\r\n");
    EXPECT_EQ(root.name, "Form1");
    EXPECT_EQ(root.className, "TForm1");
    ASSERT_EQ(root.properties.size(), 2u);
    EXPECT_EQ(root.properties[1].name, "Font.Style");
    EXPECT_EQ(root.properties[1].line, 3);
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0].children[0].name, ""); // an unnamed object
    EXPECT_EQ(root.children[0].children[0].className, "TButton");
    EXPECT_EQ(root.children[1].line, 8);
}

TEST(LayoutText, StringsDecodeQuotesCharacterCodesAndContinuations) {
    EXPECT_EQ(Value("'it''s'").text, "it's");
    EXPECT_EQ(Value("''").text, "");
    EXPECT_EQ(Value("'a'#13#10'b'").text, "a\r\nb");
    EXPECT_EQ(Value("#$41#66").text, "AB");
    EXPECT_EQ(Value("#233").text, "\xC3\xA9"); // code points become UTF-8
    EXPECT_EQ(Value("#128512").text, "\xF0\x9F\x98\x80");
    EXPECT_EQ(Value("'caf\xC3\xA9'").text, "caf\xC3\xA9"); // UTF-8 passes through
    EXPECT_EQ(Value("'first ' +\n  'second' + #33").text, "first second!");
    EXPECT_EQ(Value("'{not binary}'").text, "{not binary}");
}

TEST(LayoutText, NumbersIdentifiersAndCompoundValues) {
    EXPECT_EQ(Value("12").integer, 12);
    EXPECT_EQ(Value("-3").integer, -3);
    EXPECT_EQ(Value("$1F").integer, 31);
    EXPECT_EQ(Value("-$10").integer, -16);
    EXPECT_EQ(Value("$FFFFFFFF").integer, 4294967295);
    EXPECT_EQ(Value("$FFFFFFFFFFFFFFFF").integer, -1);
    EXPECT_EQ(Value("-9223372036854775808").integer, INT64_MIN);
    EXPECT_DOUBLE_EQ(Value("1.5").number, 1.5);
    EXPECT_DOUBLE_EQ(Value("-2.5E3").number, -2500);
    EXPECT_EQ(Value("1e2").type, TLayoutValue::TType::Float);
    EXPECT_EQ(Value("clBtnFace").text, "clBtnFace");

    TLayoutValue set = Value("[ fsBold , fsItalic ]");
    EXPECT_EQ(set.members, (std::vector<std::string>{"fsBold", "fsItalic"}));
    EXPECT_TRUE(Value("[]").members.empty());

    TLayoutValue list = Value("(\n 'a'\n 'b' 3 (x))");
    ASSERT_EQ(list.list.size(), 4u);
    EXPECT_EQ(list.list[1].text, "b");
    EXPECT_EQ(list.list[3].list[0].text, "x");

    TLayoutValue bin = Value("{ 0a1B\n  ff }");
    EXPECT_EQ(bin.bytes, (std::vector<std::byte>{std::byte{0x0A}, std::byte{0x1B}, std::byte{0xFF}}));
    EXPECT_TRUE(Value("{}").bytes.empty());

    TLayoutValue items = Value("<\n item\n  Width = 3\n  Sub = <>\n end\n item\n end>");
    ASSERT_EQ(items.items.size(), 2u);
    EXPECT_EQ(items.items[0].properties[0].name, "Width");
    EXPECT_EQ(items.items[0].properties[1].value.type, TLayoutValue::TType::Collection);
    EXPECT_EQ(items.items[1].line, 6);
}

TEST(LayoutText, SyntaxErrorsNameFileLineAndWord) {
    struct TCase {
        const char* text;
        int line;
        const char* word;
        const char* message;
    };
    const TCase cases[] = {
        {"object A: TA\n  Caption = 'open\nend", 2, "'open", "Unterminated string"},
        {"object A: TA\n  Caption 'x'\nend", 2, "'x'",
         "Unexpected \"'x'\"; expected \"=\" after \"Caption\""},
        {"object A: TA\n  Width = 3\n", 3, "",
         "Unexpected end of file; expected a property name, \"object\" or \"end\""},
        {"object A: TA\n  Data = {0A1}\nend", 2, "}", "Odd number of hex digits in binary data"},
        {"object A: TA\n  Data = {0G}\nend", 2, "G", "Invalid hex digit \"G\""},
        {"object A: TA\n  Width = 3 ;\nend", 2, ";", "Invalid character \";\""},
        {"object A: TA\n  object B: TB\n  end\n  Width = 1\nend", 4, "Width",
         "Property \"Width\" after a nested object; properties come first"},
        {"inherited A: TA\nend", 1, "inherited",
         "Unsupported \"inherited\": layouts describe whole windows with \"object\""},
        {"object A: TA\nend\nobject B: TB\nend", 3, "object", "Unexpected \"object\"; expected end of file"},
        {"object A: TA\n  S = #1114112\nend", 2, "#1114112", "Invalid character code \"#1114112\""},
        {"object A: TA\n  S = #55296\nend", 2, "#55296", "Invalid character code \"#55296\""},
        {"object A: TA\n  N = 9223372036854775808\nend", 2, "9223372036854775808",
         "Number out of range \"9223372036854775808\""},
        {"object A: TA\n  N = 12ab\nend", 2, "12ab", "Invalid number \"12ab\""},
        {"object A: TA\n  S = [a b]\nend", 2, "b", "Unexpected \"b\"; expected \",\" or \"]\""},
        {"object A: TA\n  S = 'a' +\nend", 3, "end", "Unexpected \"end\"; expected a string after \"+\""},
        {"object A: TA\n  C = < Width = 1 >\nend", 2, "Width",
         "Unexpected \"Width\"; expected \"item\" or \">\""},
        {"object A: TA\r\r  X = )\nend", 3, ")", "Unexpected \")\"; expected a value"},
    };
    for (const TCase& c : cases) {
        TLayoutError e = ParseError(c.text);
        EXPECT_EQ(e.file, "bad.lfm");
        EXPECT_EQ(e.line, c.line) << c.text;
        EXPECT_EQ(e.word, c.word) << c.text;
        EXPECT_EQ(e.message, c.message) << c.text;
    }
    EXPECT_EQ(ParseError("object A: TA\n  X = ?\nend").Text(), "bad.lfm, line 2: Invalid character \"?\"");
}

TEST(LayoutText, NestingAndSizeAreBounded) {
    std::string deep;
    for (int i = 0; i < 100; ++i) {
        deep += "object A: TA\n";
    }
    EXPECT_EQ(ParseError(deep).message, "Layout nested too deeply");

    std::string lists = "object A: TA\n X = " + std::string(10000, '(') + "\nend";
    EXPECT_EQ(ParseError(lists).message, "Layout nested too deeply");

    TLayoutLimits small;
    small.maxBytes = 16;
    EXPECT_EQ(ParseError("object A: TA\n  Width = 1\nend", small).message, "Layout too large (28 bytes)");
}

TEST(LayoutText, PrintedTreesParseBackToTheSameText) {
    TLayoutObject root;
    root.name = "Form1";
    root.className = "TForm1";
    TLayoutValue set;
    set.type = TLayoutValue::TType::Set;
    set.members = {"a", "b"};
    TLayoutValue list;
    list.type = TLayoutValue::TType::List;
    list.list = {TLayoutValue::Str("x"), TLayoutValue::Str("it's")};
    TLayoutValue bin;
    bin.type = TLayoutValue::TType::Binary;
    for (int i = 0; i < 70; ++i) {
        bin.bytes.push_back(static_cast<std::byte>(i * 37));
    }
    TLayoutValue coll;
    coll.type = TLayoutValue::TType::Collection;
    coll.items.resize(2);
    coll.items[0].properties.push_back({0, "Width", TLayoutValue::Int(-4)});
    root.properties = {
        {0, "Caption",
         TLayoutValue::Str(std::string("tab\there, 'quoted', \xC3\xA9, nul \0 end, bad \xFF byte", 44))},
        {0, "Empty", TLayoutValue::Str("")},
        {0, "Ratio", TLayoutValue::Real(3.0)},
        {0, "Small", TLayoutValue::Real(1e-300)},
        {0, "Big", TLayoutValue::Int(INT64_MIN)},
        {0, "Look", TLayoutValue::Ident("MacOS")},
        {0, "Marks", set},
        {0, "Lines.Strings", list},
        {0, "Picture.Data", bin},
        {0, "Items", coll},
    };
    TLayoutObject child;
    child.className = "TPanel";
    root.children.push_back(child);

    std::string text = PrintLayout(root);
    TLayoutObject back = Parse(text);
    EXPECT_EQ(PrintLayout(back), text);
    EXPECT_EQ(back.properties[0].value.text, root.properties[0].value.text);
    EXPECT_EQ(back.properties[2].value.type, TLayoutValue::TType::Float);
    EXPECT_EQ(back.properties[3].value.number, 1e-300);
    EXPECT_EQ(back.properties[8].value.bytes, bin.bytes);
    EXPECT_EQ(back.children[0].className, "TPanel");
}
