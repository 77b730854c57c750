#pragma once

#include "toolkit/components/Persistent.h"
#include "toolkit/components/Properties.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/FontEngine.h"

#include <cstdint>
#include <string>
#include <string_view>

// The character set a font is asked for, with the classic code of each set. The font engine
// picks faces by name and style only; the set is kept so that layouts keep what they store.
using TFontCharset = std::uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset MAC_CHARSET = 77;
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
constexpr TFontCharset HANGEUL_CHARSET = 129;
constexpr TFontCharset JOHAB_CHARSET = 130;
constexpr TFontCharset GB2312_CHARSET = 134;
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
constexpr TFontCharset GREEK_CHARSET = 161;
constexpr TFontCharset TURKISH_CHARSET = 162;
constexpr TFontCharset VIETNAMESE_CHARSET = 163;
constexpr TFontCharset HEBREW_CHARSET = 177;
constexpr TFontCharset ARABIC_CHARSET = 178;
constexpr TFontCharset BALTIC_CHARSET = 186;
constexpr TFontCharset RUSSIAN_CHARSET = 204;
constexpr TFontCharset THAI_CHARSET = 222;
constexpr TFontCharset EASTEUROPE_CHARSET = 238;
constexpr TFontCharset OEM_CHARSET = 255;

inline constexpr std::string_view kFontStyleNames[] = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
inline constexpr TEnumInfo FontStyleInfo{"TFontStyle", kFontStyleNames};

// Makes the character set names (DEFAULT_CHARSET ...) known to layouts and to property access by
// name, as the identifiers of "TFontCharset". Done at start-up; calling it again changes nothing.
void RegisterFontCharsetIdents();

// A font as controls and canvases hold it: family name, height, style, colour and character
// set. It renders nothing itself; Request() is what the font engine is asked for. Every actual
// change fires OnChange once, after the new value is stored.
//
// Published in the classic order: Charset, Color, Height, Name, Size, Style. Size is not stored,
// as Height carries it; the writer leaves out what equals the classic defaults.
class TFont : public TPersistent {
    VARNEL_CLASS(TFont, TPersistent)

public:
    TFont() = default;
    // A copy carries the values but not the handler: whoever listens to one font's changes did
    // not subscribe to its copies.
    TFont(const TFont& other);
    TFont& operator=(const TFont& other);

    const std::string& Name() const { return m_name; }
    void SetName(const std::string& name);

    // Negative: the em height in pixels; positive: the cell height (ascent plus descent);
    // 0: the engine's default of 8 points.
    int Height() const { return m_height; }
    void SetHeight(int height);

    // Points at PixelsPerInch(): Size = -Height * 72 / 96, rounded half away from zero. A
    // positive Height reads as a negative Size, as the classic toolkit reports it.
    int Size() const;
    void SetSize(int points);

    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles style);

    TColor Color() const { return m_color; }
    void SetColor(TColor color);

    TFontCharset Charset() const { return m_charset; }
    void SetCharset(TFontCharset charset);

    int PixelsPerInch() const { return 96; }

    TFontRequest Request() const;
    // The engine's metrics for this font.
    TFontMetrics Metrics() const;

    // Copies name, height, style, colour and character set from another TFont with a single
    // change notification, and none when nothing differs.
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    std::string m_name = "MS Sans Serif";
    int m_height = -11;
    TFontStyles m_style;
    TColor m_color = clWindowText;
    TFontCharset m_charset = DEFAULT_CHARSET;
};
