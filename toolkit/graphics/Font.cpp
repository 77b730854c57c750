#include "toolkit/graphics/Font.h"

#include <cassert>
#include <cstdlib>

VARNEL_CLASS_INFO(TFont, [](auto& c) {
    RegisterFontCharsetIdents();
    c.Int("Charset", &TFont::Charset, &TFont::SetCharset).Default(DEFAULT_CHARSET).Idents("TFontCharset");
    c.Color("Color", &TFont::Color, &TFont::SetColor).Default(clWindowText);
    c.Int("Height", &TFont::Height, &TFont::SetHeight).Default(-11);
    c.String("Name", &TFont::Name, &TFont::SetName).Default("MS Sans Serif");
    c.Int("Size", &TFont::Size, &TFont::SetSize).Stored(false);
    c.SetOf("Style", FontStyleInfo, &TFont::Style, &TFont::SetStyle).Default(TFontStyles{});
})

void RegisterFontCharsetIdents() {
    static const bool registered = [] {
        static constexpr TIdentMapEntry kNames[] = {
            {ANSI_CHARSET, "ANSI_CHARSET"},
            {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
            {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
            {MAC_CHARSET, "MAC_CHARSET"},
            {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
            {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
            {JOHAB_CHARSET, "JOHAB_CHARSET"},
            {GB2312_CHARSET, "GB2312_CHARSET"},
            {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
            {GREEK_CHARSET, "GREEK_CHARSET"},
            {TURKISH_CHARSET, "TURKISH_CHARSET"},
            {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
            {HEBREW_CHARSET, "HEBREW_CHARSET"},
            {ARABIC_CHARSET, "ARABIC_CHARSET"},
            {BALTIC_CHARSET, "BALTIC_CHARSET"},
            {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
            {THAI_CHARSET, "THAI_CHARSET"},
            {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
            {OEM_CHARSET, "OEM_CHARSET"},
        };
        RegisterIdents("TFontCharset", kNames);
        return true;
    }();
    (void)registered;
}

namespace {

// Any program that uses fonts links this file, so the character set names are there before any
// layout is read.
const bool kCharsetIdentsAtStart = (RegisterFontCharsetIdents(), true);

// The classic MulDiv: a * b / c rounded half away from zero, computed in 64 bits so that no
// height a layout can store overflows.
int MulDivRounded(int a, int b, int c) {
    const long long num = static_cast<long long>(a) * b;
    const long long q = (std::llabs(num) * 2 + c) / (2LL * c);
    return static_cast<int>(num < 0 ? -q : q);
}

} // namespace

TFont::TFont(const TFont& other)
    : TPersistent(other), m_name(other.m_name), m_height(other.m_height), m_style(other.m_style),
      m_color(other.m_color), m_charset(other.m_charset) {}

// Assigning a font by value is an Assign: this font keeps its own listener and tells it once.
TFont& TFont::operator=(const TFont& other) {
    Assign(&other);
    return *this;
}

void TFont::SetName(const std::string& name) {
    if (name == m_name) {
        return;
    }
    m_name = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == m_height) {
        return;
    }
    m_height = height;
    Changed();
}

int TFont::Size() const {
    return -MulDivRounded(m_height, 72, PixelsPerInch());
}

void TFont::SetSize(int points) {
    SetHeight(-MulDivRounded(points, PixelsPerInch(), 72));
}

void TFont::SetStyle(TFontStyles style) {
    if (style == m_style) {
        return;
    }
    m_style = style;
    Changed();
}

void TFont::SetColor(TColor color) {
    if (color == m_color) {
        return;
    }
    m_color = color;
    Changed();
}

void TFont::SetCharset(TFontCharset charset) {
    if (charset == m_charset) {
        return;
    }
    m_charset = charset;
    Changed();
}

TFontRequest TFont::Request() const {
    TFontRequest request;
    request.Name = m_name;
    request.Height = m_height;
    request.Style = m_style;
    return request;
}

TFontMetrics TFont::Metrics() const {
    return TFontEngine::Instance().Metrics(Request());
}

void TFont::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TFont*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) {
        return;
    }
    const bool differs = m_name != other->m_name || m_height != other->m_height ||
                         !(m_style == other->m_style) || m_color != other->m_color ||
                         m_charset != other->m_charset;
    if (!differs) {
        return;
    }
    m_name = other->m_name;
    m_height = other->m_height;
    m_style = other->m_style;
    m_color = other->m_color;
    m_charset = other->m_charset;
    Changed();
}

void TFont::Changed() {
    if (OnChange) {
        OnChange(this);
    }
}
