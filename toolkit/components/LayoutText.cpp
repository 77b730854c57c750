#include "toolkit/components/LayoutText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <strings.h>

// Sections: TLayoutError; the lexer (TScanner); the parser (TParser); the printer.

std::string TLayoutError::Text() const {
    std::string out = file.empty() ? std::string("layout") : file;
    if (line > 0) {
        out += ", line " + std::to_string(line);
    }
    return out + ": " + message;
}

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool IsIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// A word of an error message: the token text, shortened so that a huge token cannot flood it.
std::string Word(std::string_view text) {
    constexpr std::size_t kMax = 40;
    std::string w;
    for (char c : text.substr(0, kMax)) {
        w += (static_cast<unsigned char>(c) < 32) ? '?' : c;
    }
    if (text.size() > kMax) {
        w += "...";
    }
    return w;
}

// --- Lexer ---

enum class TTok { End, Ident, Integer, Float, String, Symbol };

struct TToken {
    TTok kind = TTok::End;
    int line = 1;
    std::string_view raw; // the token as written
    std::string text;     // String: the decoded characters
    std::int64_t integer = 0;
    double number = 0;
    char symbol = 0;
};

class TScanner {
public:
    TScanner(std::string_view text, TLayoutError& error) : m_text(text), m_error(error) {}

    // Reads the next token into m_tok; false on a lexical error (already reported).
    bool Next();
    const TToken& Tok() const { return m_tok; }
    int Line() const { return m_line; }

    // Reads the hex digits after '{' up to '}' into bytes.
    bool ReadBinary(std::vector<std::byte>& bytes);

    bool Fail(int line, std::string_view word, std::string message) {
        m_error.line = line;
        m_error.word = Word(word);
        m_error.message = std::move(message);
        return false;
    }

private:
    void SkipSpace();
    bool ScanString();
    bool ScanNumber();
    char Peek(std::size_t ahead = 0) const {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : '\0';
    }
    bool AtEnd() const { return m_pos >= m_text.size(); }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
    TToken m_tok;
    TLayoutError& m_error;
};

void TScanner::SkipSpace() {
    while (!AtEnd()) {
        char c = m_text[m_pos];
        if (c == '\n') {
            ++m_line;
        } else if (c == '\r') {
            if (Peek(1) != '\n') {
                ++m_line; // a lone CR ends a line too
            }
        } else if (c != ' ' && c != '\t' && c != '\f' && c != '\v') {
            return;
        }
        ++m_pos;
    }
}

bool TScanner::Next() {
    SkipSpace();
    m_tok = TToken();
    m_tok.line = m_line;
    std::size_t start = m_pos;
    if (AtEnd()) {
        m_tok.kind = TTok::End;
        return true;
    }
    char c = m_text[m_pos];
    if (IsIdentStart(c)) {
        while (!AtEnd()) {
            if (IsIdentChar(m_text[m_pos])) {
                ++m_pos;
            } else if (m_text[m_pos] == '.' && IsIdentStart(Peek(1))) {
                m_pos += 2;
            } else {
                break;
            }
        }
        m_tok.kind = TTok::Ident;
        m_tok.raw = m_text.substr(start, m_pos - start);
        return true;
    }
    if (c == '\'' || c == '#') {
        return ScanString();
    }
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '$' ||
        (c == '-' && (std::isdigit(static_cast<unsigned char>(Peek(1))) || Peek(1) == '$'))) {
        return ScanNumber();
    }
    if (std::string_view("=:[](){}<>,+").find(c) != std::string_view::npos) {
        ++m_pos;
        m_tok.kind = TTok::Symbol;
        m_tok.symbol = c;
        m_tok.raw = m_text.substr(start, 1);
        return true;
    }
    return Fail(m_line, m_text.substr(start, 1),
                "Invalid character \"" + Word(m_text.substr(start, 1)) + "\"");
}

// One string token: adjacent 'quoted' parts and #nnn characters, with no space between them.
bool TScanner::ScanString() {
    std::size_t start = m_pos;
    std::string value;
    while (!AtEnd() && (m_text[m_pos] == '\'' || m_text[m_pos] == '#')) {
        if (m_text[m_pos] == '\'') {
            ++m_pos;
            for (;;) {
                if (AtEnd() || m_text[m_pos] == '\n' || m_text[m_pos] == '\r') {
                    return Fail(m_line, m_text.substr(start, m_pos - start), "Unterminated string");
                }
                if (m_text[m_pos] == '\'') {
                    if (Peek(1) == '\'') {
                        value += '\'';
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    break;
                }
                value += m_text[m_pos++];
            }
        } else {
            std::size_t charStart = m_pos++;
            std::uint32_t cp = 0;
            bool hex = Peek() == '$';
            if (hex) {
                ++m_pos;
            }
            std::size_t digits = 0;
            while (!AtEnd()) {
                int d = hex ? HexDigit(m_text[m_pos])
                            : (std::isdigit(static_cast<unsigned char>(m_text[m_pos])) ? m_text[m_pos] - '0'
                                                                                       : -1);
                if (d < 0) {
                    break;
                }
                cp = cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d);
                ++m_pos;
                if (++digits > 8 || cp > 0x10FFFF) {
                    return Fail(m_line, m_text.substr(charStart, m_pos - charStart),
                                "Invalid character code \"" +
                                    Word(m_text.substr(charStart, m_pos - charStart)) + "\"");
                }
            }
            if (digits == 0 || (cp >= 0xD800 && cp <= 0xDFFF)) {
                return Fail(m_line, m_text.substr(charStart, m_pos - charStart),
                            "Invalid character code \"" + Word(m_text.substr(charStart, m_pos - charStart)) +
                                "\"");
            }
            AppendUtf8(value, cp);
        }
    }
    m_tok.kind = TTok::String;
    m_tok.raw = m_text.substr(start, m_pos - start);
    m_tok.text = std::move(value);
    return true;
}

bool TScanner::ScanNumber() {
    std::size_t start = m_pos;
    bool negative = Peek() == '-';
    if (negative) {
        ++m_pos;
    }
    if (Peek() == '$') {
        ++m_pos;
        std::uint64_t v = 0;
        std::size_t digits = 0;
        while (!AtEnd() && HexDigit(m_text[m_pos]) >= 0) {
            if (++digits > 16) {
                return Fail(m_line, m_text.substr(start, m_pos - start + 1),
                            "Number out of range \"" + Word(m_text.substr(start, m_pos - start + 1)) + "\"");
            }
            v = v * 16 + static_cast<std::uint64_t>(HexDigit(m_text[m_pos++]));
        }
        if (digits == 0 || IsIdentChar(Peek())) {
            while (!AtEnd() && IsIdentChar(m_text[m_pos])) {
                ++m_pos;
            }
            return Fail(m_line, m_text.substr(start, m_pos - start),
                        "Invalid number \"" + Word(m_text.substr(start, m_pos - start)) + "\"");
        }
        // Hex is a bit pattern: $FFFFFFFF is 4294967295, and 16 digits wrap into the sign bit.
        m_tok.integer = static_cast<std::int64_t>(negative ? (~v + 1) : v);
        m_tok.kind = TTok::Integer;
        m_tok.raw = m_text.substr(start, m_pos - start);
        return true;
    }
    while (!AtEnd() && std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) {
        ++m_pos;
    }
    bool isFloat = false;
    if (Peek() == '.' && std::isdigit(static_cast<unsigned char>(Peek(1)))) {
        isFloat = true;
        ++m_pos;
        while (!AtEnd() && std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) {
            ++m_pos;
        }
    }
    if ((Peek() == 'e' || Peek() == 'E') &&
        (std::isdigit(static_cast<unsigned char>(Peek(1))) ||
         ((Peek(1) == '+' || Peek(1) == '-') && std::isdigit(static_cast<unsigned char>(Peek(2)))))) {
        isFloat = true;
        m_pos += 2;
        while (!AtEnd() && std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) {
            ++m_pos;
        }
    }
    std::string_view raw = m_text.substr(start, m_pos - start);
    if (IsIdentChar(Peek())) {
        while (!AtEnd() && IsIdentChar(m_text[m_pos])) {
            ++m_pos;
        }
        raw = m_text.substr(start, m_pos - start);
        return Fail(m_line, raw, "Invalid number \"" + Word(raw) + "\"");
    }
    m_tok.raw = raw;
    if (isFloat) {
        double v = 0;
        auto [p, ec] = std::from_chars(raw.data(), raw.data() + raw.size(), v);
        if (ec != std::errc() || p != raw.data() + raw.size() || !std::isfinite(v)) {
            return Fail(m_line, raw, "Number out of range \"" + Word(raw) + "\"");
        }
        m_tok.kind = TTok::Float;
        m_tok.number = v;
        return true;
    }
    std::int64_t v = 0;
    auto [p, ec] = std::from_chars(raw.data(), raw.data() + raw.size(), v);
    if (ec != std::errc() || p != raw.data() + raw.size()) {
        return Fail(m_line, raw, "Number out of range \"" + Word(raw) + "\"");
    }
    m_tok.kind = TTok::Integer;
    m_tok.integer = v;
    return true;
}

bool TScanner::ReadBinary(std::vector<std::byte>& bytes) {
    int high = -1;
    int startLine = m_line;
    while (true) {
        SkipSpace();
        if (AtEnd()) {
            return Fail(startLine, "{", "Unterminated binary data \"{\"");
        }
        char c = m_text[m_pos];
        if (c == '}') {
            ++m_pos;
            break;
        }
        int d = HexDigit(c);
        if (d < 0) {
            return Fail(m_line, m_text.substr(m_pos, 1),
                        "Invalid hex digit \"" + Word(m_text.substr(m_pos, 1)) + "\"");
        }
        ++m_pos;
        if (high < 0) {
            high = d;
        } else {
            bytes.push_back(static_cast<std::byte>(high * 16 + d));
            high = -1;
        }
    }
    if (high >= 0) {
        return Fail(m_line, "}", "Odd number of hex digits in binary data");
    }
    return true;
}

// --- Parser ---

class TParser {
public:
    TParser(std::string_view text, TLayoutError& error, const TLayoutLimits& limits)
        : m_scan(text, error), m_limits(limits) {}

    bool Start() { return m_scan.Next(); }
    bool ParseObject(TLayoutObject& obj, int depth);
    bool ParseValue(TLayoutValue& value, int depth);
    bool ExpectEnd() {
        if (Tok().kind != TTok::End) {
            return Unexpected("end of file");
        }
        return true;
    }

private:
    const TToken& Tok() const { return m_scan.Tok(); }
    bool Next() { return m_scan.Next(); }
    bool IsSymbol(char c) const { return Tok().kind == TTok::Symbol && Tok().symbol == c; }
    bool IsKeyword(std::string_view k) const { return Tok().kind == TTok::Ident && SameText(Tok().raw, k); }
    bool Unexpected(std::string_view expected) {
        if (Tok().kind == TTok::End) {
            return m_scan.Fail(Tok().line, "", "Unexpected end of file; expected " + std::string(expected));
        }
        return m_scan.Fail(Tok().line, Tok().raw,
                           "Unexpected \"" + Word(Tok().raw) + "\"; expected " + std::string(expected));
    }
    bool Deeper(int depth) {
        if (depth > m_limits.maxDepth) {
            return m_scan.Fail(Tok().line, Tok().raw, "Layout nested too deeply");
        }
        return true;
    }
    bool ParseProperty(TLayoutProperty& prop, int depth);
    bool ParseString(TLayoutValue& value);

    TScanner m_scan;
    const TLayoutLimits& m_limits;
};

bool TParser::ParseObject(TLayoutObject& obj, int depth) {
    if (!Deeper(depth)) {
        return false;
    }
    if (IsKeyword("inherited") || IsKeyword("inline")) {
        return m_scan.Fail(Tok().line, Tok().raw,
                           "Unsupported \"" + Word(Tok().raw) +
                               "\": layouts describe whole windows with \"object\"");
    }
    if (!IsKeyword("object")) {
        return Unexpected("\"object\"");
    }
    obj.line = Tok().line;
    if (!Next()) {
        return false;
    }
    if (Tok().kind != TTok::Ident || Tok().raw.find('.') != std::string_view::npos) {
        return Unexpected("a component name or class name");
    }
    std::string first(Tok().raw);
    if (!Next()) {
        return false;
    }
    if (IsSymbol(':')) {
        if (!Next()) {
            return false;
        }
        if (Tok().kind != TTok::Ident || Tok().raw.find('.') != std::string_view::npos) {
            return Unexpected("a class name");
        }
        obj.name = std::move(first);
        obj.className = std::string(Tok().raw);
        if (!Next()) {
            return false;
        }
    } else {
        obj.className = std::move(first);
    }
    while (true) {
        if (IsKeyword("end")) {
            return Next();
        }
        if (IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline")) {
            TLayoutObject child;
            if (!ParseObject(child, depth + 1)) {
                return false;
            }
            obj.children.push_back(std::move(child));
            continue;
        }
        if (!obj.children.empty() && Tok().kind == TTok::Ident) {
            return m_scan.Fail(Tok().line, Tok().raw,
                               "Property \"" + Word(Tok().raw) +
                                   "\" after a nested object; properties come first");
        }
        if (Tok().kind != TTok::Ident) {
            return Unexpected("a property name, \"object\" or \"end\"");
        }
        TLayoutProperty prop;
        if (!ParseProperty(prop, depth)) {
            return false;
        }
        obj.properties.push_back(std::move(prop));
    }
}

bool TParser::ParseProperty(TLayoutProperty& prop, int depth) {
    prop.line = Tok().line;
    prop.name = std::string(Tok().raw);
    if (!Next()) {
        return false;
    }
    if (!IsSymbol('=')) {
        return Unexpected("\"=\" after \"" + Word(prop.name) + "\"");
    }
    if (!Next()) {
        return false;
    }
    return ParseValue(prop.value, depth + 1);
}

bool TParser::ParseString(TLayoutValue& value) {
    value.type = TLayoutValue::TType::String;
    value.text = Tok().text;
    if (!Next()) {
        return false;
    }
    while (IsSymbol('+')) {
        if (!Next()) {
            return false;
        }
        if (Tok().kind != TTok::String) {
            return Unexpected("a string after \"+\"");
        }
        if (value.text.size() + Tok().text.size() > m_limits.maxBytes) {
            return m_scan.Fail(Tok().line, Tok().raw, "String too long");
        }
        value.text += Tok().text;
        if (!Next()) {
            return false;
        }
    }
    return true;
}

bool TParser::ParseValue(TLayoutValue& value, int depth) {
    if (!Deeper(depth)) {
        return false;
    }
    value.line = Tok().line;
    switch (Tok().kind) {
    case TTok::Integer:
        value.type = TLayoutValue::TType::Integer;
        value.integer = Tok().integer;
        return Next();
    case TTok::Float:
        value.type = TLayoutValue::TType::Float;
        value.number = Tok().number;
        return Next();
    case TTok::String:
        return ParseString(value);
    case TTok::Ident:
        if (IsKeyword("end") || IsKeyword("object") || IsKeyword("item")) {
            return Unexpected("a value");
        }
        value.type = TLayoutValue::TType::Identifier;
        value.text = std::string(Tok().raw);
        return Next();
    case TTok::End:
        return Unexpected("a value");
    case TTok::Symbol:
        break;
    }
    switch (Tok().symbol) {
    case '[':
        value.type = TLayoutValue::TType::Set;
        if (!Next()) {
            return false;
        }
        if (IsSymbol(']')) {
            return Next();
        }
        while (true) {
            if (Tok().kind != TTok::Ident || Tok().raw.find('.') != std::string_view::npos) {
                return Unexpected("a set element name");
            }
            value.members.emplace_back(Tok().raw);
            if (!Next()) {
                return false;
            }
            if (IsSymbol(']')) {
                return Next();
            }
            if (!IsSymbol(',')) {
                return Unexpected("\",\" or \"]\"");
            }
            if (!Next()) {
                return false;
            }
        }
    case '(':
        value.type = TLayoutValue::TType::List;
        if (!Next()) {
            return false;
        }
        while (!IsSymbol(')')) {
            TLayoutValue element;
            if (!ParseValue(element, depth + 1)) {
                return false;
            }
            value.list.push_back(std::move(element));
        }
        return Next();
    case '{':
        value.type = TLayoutValue::TType::Binary;
        return m_scan.ReadBinary(value.bytes) && Next();
    case '<':
        value.type = TLayoutValue::TType::Collection;
        if (!Next()) {
            return false;
        }
        while (!IsSymbol('>')) {
            if (!IsKeyword("item")) {
                return Unexpected("\"item\" or \">\"");
            }
            TLayoutItem item;
            item.line = Tok().line;
            if (!Next()) {
                return false;
            }
            while (!IsKeyword("end")) {
                if (Tok().kind != TTok::Ident || IsKeyword("item") || IsKeyword("object")) {
                    return Unexpected("a property name or \"end\"");
                }
                TLayoutProperty prop;
                if (!ParseProperty(prop, depth + 1)) {
                    return false;
                }
                item.properties.push_back(std::move(prop));
            }
            if (!Next()) {
                return false;
            }
            value.items.push_back(std::move(item));
        }
        return Next();
    default:
        return Unexpected("a value");
    }
}

// --- Printer ---

void Indent(std::string& out, int indent) {
    out.append(static_cast<std::size_t>(indent) * 2, ' ');
}

// Printable characters stay inside quotes, bytes of other scripts included (the text is UTF-8
// and is read back byte for byte); control characters become #nnn.
void PrintString(std::string& out, std::string_view s) {
    if (s.empty()) {
        out += "''";
        return;
    }
    bool quoted = false;
    for (char c : s) {
        auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127) {
            if (quoted) {
                out += '\'';
                quoted = false;
            }
            out += '#';
            out += std::to_string(u);
        } else {
            if (!quoted) {
                out += '\'';
                quoted = true;
            }
            if (c == '\'') {
                out += "''";
            } else {
                out += c;
            }
        }
    }
    if (quoted) {
        out += '\'';
    }
}

void PrintProperties(std::string& out, const std::vector<TLayoutProperty>& props, int indent);

void PrintValue(std::string& out, const TLayoutValue& v, int indent) {
    using T = TLayoutValue::TType;
    switch (v.type) {
    case T::Integer:
        out += std::to_string(v.integer);
        break;
    case T::Float: {
        char buf[64];
        double d = std::isfinite(v.number) ? v.number : 0.0;
        auto [p, ec] = std::to_chars(buf, buf + sizeof buf, d);
        std::string_view text(buf, static_cast<std::size_t>(p - buf));
        out += text;
        // A float that prints like an integer keeps a point, so it reads back as a float.
        if (text.find_first_of(".eE") == std::string_view::npos) {
            out += ".0";
        }
        break;
    }
    case T::String:
        PrintString(out, v.text);
        break;
    case T::Identifier:
        out += v.text;
        break;
    case T::Set:
        out += '[';
        for (std::size_t i = 0; i < v.members.size(); ++i) {
            out += i ? ", " : "";
            out += v.members[i];
        }
        out += ']';
        break;
    case T::List:
        out += '(';
        for (const TLayoutValue& e : v.list) {
            out += '\n';
            Indent(out, indent + 1);
            PrintValue(out, e, indent + 1);
        }
        out += ')';
        break;
    case T::Binary: {
        static const char digits[] = "0123456789ABCDEF";
        out += '{';
        for (std::size_t i = 0; i < v.bytes.size(); ++i) {
            if (i % 32 == 0) {
                out += '\n';
                Indent(out, indent + 1);
            }
            auto b = static_cast<unsigned>(v.bytes[i]);
            out += digits[b >> 4];
            out += digits[b & 15];
        }
        out += '}';
        break;
    }
    case T::Collection:
        out += '<';
        for (const TLayoutItem& item : v.items) {
            out += '\n';
            Indent(out, indent + 1);
            out += "item\n";
            PrintProperties(out, item.properties, indent + 2);
            Indent(out, indent + 1);
            out += "end";
        }
        out += '>';
        break;
    }
}

void PrintProperties(std::string& out, const std::vector<TLayoutProperty>& props, int indent) {
    for (const TLayoutProperty& p : props) {
        Indent(out, indent);
        out += p.name;
        out += " = ";
        PrintValue(out, p.value, indent);
        out += '\n';
    }
}

void PrintObject(std::string& out, const TLayoutObject& obj, int indent) {
    Indent(out, indent);
    out += "object ";
    if (!obj.name.empty()) {
        out += obj.name;
        out += ": ";
    }
    out += obj.className;
    out += '\n';
    PrintProperties(out, obj.properties, indent + 1);
    for (const TLayoutObject& child : obj.children) {
        PrintObject(out, child, indent + 1);
    }
    Indent(out, indent);
    out += "end\n";
}

} // namespace

bool ParseLayout(std::string_view text, std::string_view fileName, TLayoutObject& out, TLayoutError& error,
                 const TLayoutLimits& limits) {
    error = TLayoutError();
    error.file = std::string(fileName);
    if (text.size() > limits.maxBytes) {
        error.message = "Layout too large (" + std::to_string(text.size()) + " bytes)";
        return false;
    }
    // A byte-order mark some editors put in front of UTF-8 text.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    TParser parser(text, error, limits);
    out = TLayoutObject();
    return parser.Start() && parser.ParseObject(out, 0) && parser.ExpectEnd();
}

bool ParseLayoutValue(std::string_view text, TLayoutValue& out, TLayoutError& error) {
    error = TLayoutError();
    TLayoutLimits limits;
    if (text.size() > limits.maxBytes) {
        error.message = "Value too large";
        return false;
    }
    TParser parser(text, error, limits);
    out = TLayoutValue();
    return parser.Start() && parser.ParseValue(out, 0) && parser.ExpectEnd();
}

std::string PrintLayout(const TLayoutObject& root) {
    std::string out;
    PrintObject(out, root, 0);
    return out;
}

std::string PrintLayoutValue(const TLayoutValue& value, int indent) {
    std::string out;
    PrintValue(out, value, indent);
    return out;
}
