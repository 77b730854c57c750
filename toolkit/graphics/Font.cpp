#include "toolkit/graphics/Font.h"

#include <cassert>
#include <cstdlib>

namespace {

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
