#pragma once

#include "toolkit/components/Set.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

// What a font asks of the engine. Height follows the classic rule: negative is the em height in
// pixels, positive the cell height (ascent plus descent), 0 a default of 8 points.
struct TFontRequest {
    std::string Name;
    int Height = -11;
    TFontStyles Style;
    friend bool operator==(const TFontRequest&, const TFontRequest&) = default;
};

// Reads the character that starts at byte offset of text (offset < text.size()) and returns the
// offset just past it. A byte that does not begin a complete, shortest-form sequence of a code
// point up to U+10FFFF (surrogates excluded) reads as U+FFFD and consumes that one byte only,
// so every invalid byte is one character and nothing past the end is ever read.
std::size_t DecodeUtf8(std::string_view text, std::size_t offset, char32_t& codePoint);

// Classic text metrics in pixels. Height = Ascent + Descent; InternalLeading = Height - em.
// Underline and strike-out lines are given relative to the baseline (positive is below it for
// the underline, above it for the strike-out) and drawn by the caller over the text's width:
// with the cell's top at y = 0, the underline fills rows Ascent + UnderlinePosition onwards and
// the strike-out rows Ascent - StrikeOutPosition onwards, each Thickness rows high.
struct TFontMetrics {
    int Ascent = 0;
    int Descent = 0;
    int Height = 0;
    int InternalLeading = 0;
    int ExternalLeading = 0;
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
    int UnderlinePosition = 0;
    int UnderlineThickness = 1;
    int StrikeOutPosition = 0;
    int StrikeOutThickness = 1;
};

// One rendered glyph: 8-bit coverage (0 transparent to 255 opaque), row-major with Pitch bytes a
// row, placed at (X, Y) relative to the top-left of the text cell (the baseline lies Ascent below
// that origin). The bytes stay valid until the visitor returns.
struct TGlyphCoverage {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    int Pitch = 0;
    const std::uint8_t* Coverage = nullptr;
};

// Finds faces with fontconfig, renders hinted anti-aliased glyphs with FreeType and keeps them in
// a cache keyed by face, pixel size and style. Text is UTF-8; each code point is one character.
// One engine serves the whole program; it is used on the user-interface thread only.
class TFontEngine {
public:
    static TFontEngine& Instance();

    TFontMetrics Metrics(const TFontRequest& font);
    // Sum of the advances of the characters, without kerning.
    int TextWidth(const TFontRequest& font, std::string_view utf8);
    // The advance of each character (code point) of the text, in order.
    void CharAdvances(const TFontRequest& font, std::string_view utf8, std::vector<int>& advances);
    // Calls visit for every glyph with pixels, left to right, the first character's cell at x = 0.
    void ForEachGlyph(const TFontRequest& font, std::string_view utf8,
                      const std::function<void(const TGlyphCoverage&)>& visit);
    // The file the engine chose for the request, for tests and diagnostics; empty when no font
    // file could be opened at all (then text has stable metrics but no glyphs).
    std::string FaceFile(const TFontRequest& font);
    // How many glyph images the engine has rasterised since it started, for tests of the cache.
    std::size_t GlyphsRasterised() const;

    ~TFontEngine();
    TFontEngine(const TFontEngine&) = delete;
    TFontEngine& operator=(const TFontEngine&) = delete;

private:
    TFontEngine();
    struct TImpl;
    std::unique_ptr<TImpl> m_impl;
};
