#include "toolkit/graphics/FontEngine.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

TFontRequest Font(const std::string& name, int height = -11, TFontStyles style = {}) {
    TFontRequest request;
    request.Name = name;
    request.Height = height;
    request.Style = style;
    return request;
}

std::string BaseName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// The text's coverage composed into one image the size of its cell; glyphs that reach outside
// the cell are counted instead of drawn.
struct TRendered {
    int width = 0;
    int height = 0;
    int outside = 0;
    std::vector<std::uint8_t> pixels;
    std::uint8_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    long Ink() const {
        long sum = 0;
        for (auto p : pixels) {
            sum += p;
        }
        return sum;
    }
    int Count() const {
        return static_cast<int>(std::count_if(pixels.begin(), pixels.end(), [](auto p) { return p != 0; }));
    }
};

TRendered Render(const TFontRequest& font, const std::string& text, int extraWidth = 0) {
    TFontEngine& engine = TFontEngine::Instance();
    TRendered out;
    out.width = engine.TextWidth(font, text) + extraWidth;
    out.height = engine.Metrics(font).Height;
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height, 0);
    engine.ForEachGlyph(font, text, [&](const TGlyphCoverage& g) {
        for (int y = 0; y < g.Height; ++y) {
            for (int x = 0; x < g.Width; ++x) {
                const std::uint8_t c = g.Coverage[y * g.Pitch + x];
                const int px = g.X + x;
                const int py = g.Y + y;
                if (px < 0 || py < 0 || px >= out.width || py >= out.height) {
                    out.outside += c != 0;
                    continue;
                }
                auto& dst = out.pixels[static_cast<std::size_t>(py) * out.width + px];
                dst = std::max(dst, c);
            }
        }
    });
    return out;
}

struct TMeasured {
    const char* family;
    const char* file;
    int ascent;
    int descent;
    int w;
    int generatePassword;
    int allKeyboard;
};

void PrintTo(const TMeasured& m, std::ostream* os) {
    *os << m.family;
}

class WindowFontTest : public ::testing::TestWithParam<TMeasured> {};

// The window layouts were measured with these fonts at 8 points; captions only fit when the
// engine reproduces the same cell and the same advances.
TEST_P(WindowFontTest, EightPointMetricsAndWidthsMatchTheMeasuredFonts) {
    const TMeasured& m = GetParam();
    TFontEngine& engine = TFontEngine::Instance();
    for (int height : {-11, 0}) {
        SCOPED_TRACE(height);
        const TFontRequest font = Font(m.family, height);
        EXPECT_EQ(BaseName(engine.FaceFile(font)), m.file);
        const TFontMetrics metrics = engine.Metrics(font);
        EXPECT_EQ(metrics.Ascent, m.ascent);
        EXPECT_EQ(metrics.Descent, m.descent);
        EXPECT_EQ(metrics.Height, 13);
        EXPECT_EQ(metrics.InternalLeading, 2);
        EXPECT_EQ(engine.TextWidth(font, "W"), m.w);
        EXPECT_EQ(engine.TextWidth(font, "Generate password"), m.generatePassword);
        EXPECT_EQ(engine.TextWidth(font, "All keyboard"), m.allKeyboard);
    }
    // A positive height names the whole cell, which is 13 for the same font.
    EXPECT_EQ(engine.TextWidth(Font(m.family, 13), "Generate password"), m.generatePassword);
    EXPECT_EQ(engine.Metrics(Font(m.family, 13)).Height, 13);
}

INSTANTIATE_TEST_SUITE_P(Fonts, WindowFontTest,
                         ::testing::Values(TMeasured{"MS Sans Serif", "sserife.fon", 11, 2, 11, 92, 58},
                                           TMeasured{"Tahoma", "tahoma.ttf", 11, 2, 10, 94, 59},
                                           TMeasured{"No Such Family", "DejaVuSans.ttf", 10, 3, 11, 111, 71}),
                         [](const auto& info) {
                             // The face file names the case: letters and digits only.
                             std::string name;
                             for (const char* c = info.param.file; *c && *c != '.'; ++c) {
                                 name += *c;
                             }
                             return name;
                         });

TEST(FontEngineTest, FamilyNamesAreMatchedWithoutRegardToCase) {
    TFontEngine& engine = TFontEngine::Instance();
    EXPECT_EQ(BaseName(engine.FaceFile(Font("tahoma"))), "tahoma.ttf");
    EXPECT_EQ(BaseName(engine.FaceFile(Font("ms sans serif"))), "sserife.fon");
    EXPECT_EQ(BaseName(engine.FaceFile(Font(""))), "DejaVuSans.ttf");
}

TEST(FontEngineTest, SansSerifUsesItsStrikesAndTahomaBetweenThem) {
    TFontEngine& engine = TFontEngine::Instance();
    struct TCase {
        int height;
        const char* file;
        int cellHeight;
    };
    // 8, 10 and 12 points have strikes; 9 and 11 points do not.
    for (const TCase& c :
         {TCase{-11, "sserife.fon", 13}, TCase{-13, "sserife.fon", 16}, TCase{-16, "sserife.fon", 20},
          TCase{16, "sserife.fon", 16}, TCase{20, "sserife.fon", 20}, TCase{-12, "tahoma.ttf", 0},
          TCase{-15, "tahoma.ttf", 0}, TCase{14, "tahoma.ttf", 0}}) {
        SCOPED_TRACE(c.height);
        const TFontRequest font = Font("MS Sans Serif", c.height);
        EXPECT_EQ(BaseName(engine.FaceFile(font)), c.file);
        const TFontMetrics metrics = engine.Metrics(font);
        if (c.cellHeight) {
            EXPECT_EQ(metrics.Height, c.cellHeight);
        }
        // Whatever face serves it, the fallback keeps the size: the em is what was asked for.
        if (c.height < 0) {
            EXPECT_EQ(metrics.Height - metrics.InternalLeading, -c.height);
        }
        EXPECT_EQ(metrics.Height, metrics.Ascent + metrics.Descent);
    }
    EXPECT_EQ(engine.TextWidth(Font("MS Sans Serif", -12), "Generate password"),
              engine.TextWidth(Font("Tahoma", -12), "Generate password"));
}

TEST(FontEngineTest, SyntheticBoldWidensEveryCharacterAndCoversMore) {
    TFontEngine& engine = TFontEngine::Instance();
    const std::string text = "Generate password";
    const TFontRequest regular = Font("MS Sans Serif");
    const TFontRequest bold = Font("MS Sans Serif", -11, {fsBold});
    EXPECT_EQ(BaseName(engine.FaceFile(bold)), "sserife.fon");
    EXPECT_EQ(engine.TextWidth(bold, text), engine.TextWidth(regular, text) + static_cast<int>(text.size()));
    EXPECT_EQ(engine.Metrics(bold).Height, 13);

    // Each glyph drawn again one pixel to the right: every pixel of the regular glyph is also in
    // the bold one, and the bold one has more.
    const TRendered thin = Render(regular, "W");
    const TRendered thick = Render(bold, "W");
    ASSERT_EQ(thin.height, thick.height);
    for (int y = 0; y < thin.height; ++y) {
        for (int x = 0; x < thin.width; ++x) {
            if (thin.At(x, y)) {
                EXPECT_TRUE(thick.At(x, y) && thick.At(x + 1, y)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(thick.Count(), thin.Count());

    // An installed family with no bold face of its own is emboldened the same way; fontconfig's
    // habit of calling such a face bold when bold is asked for must not stop that.
    const TFontRequest courier = Font("Courier");
    const TFontRequest courierBold = Font("Courier", -11, {fsBold});
    EXPECT_EQ(BaseName(engine.FaceFile(courierBold)), "courier.ttf");
    EXPECT_EQ(engine.TextWidth(courierBold, text),
              engine.TextWidth(courier, text) + static_cast<int>(text.size()));
    EXPECT_GT(Render(courierBold, "W").Count(), Render(courier, "W").Count());
}

TEST(FontEngineTest, TahomaBoldUsesTheBoldFile) {
    TFontEngine& engine = TFontEngine::Instance();
    const TFontRequest bold = Font("Tahoma", -11, {fsBold});
    EXPECT_EQ(BaseName(engine.FaceFile(bold)), "tahomabd.ttf");
    EXPECT_EQ(engine.Metrics(bold).Height, 13);
    EXPECT_GT(engine.TextWidth(bold, "Generate password"),
              engine.TextWidth(Font("Tahoma"), "Generate password"));
    // Bold must look bold at every size, also where the bold file has no bitmap of its own.
    for (int height : {-11, -12, -13, -16, -24}) {
        SCOPED_TRACE(height);
        EXPECT_GT(Render(Font("Tahoma", height, {fsBold}), "lH").Ink() * 10,
                  Render(Font("Tahoma", height), "lH").Ink() * 13);
    }
    // A family whose bold face exists is not emboldened on top.
    EXPECT_EQ(BaseName(engine.FaceFile(Font("DejaVu Sans", -11, {fsBold}))), "DejaVuSans-Bold.ttf");
}

TEST(FontEngineTest, SyntheticItalicLeansWithoutChangingAdvances) {
    TFontEngine& engine = TFontEngine::Instance();
    // Tahoma has no italic file; MS Sans Serif is a bitmap. Both are slanted by the engine.
    for (const char* family : {"Tahoma", "MS Sans Serif"}) {
        SCOPED_TRACE(family);
        const TFontRequest italic = Font(family, -11, {fsItalic});
        std::vector<int> upright;
        std::vector<int> slanted;
        engine.CharAdvances(Font(family), "Hello", upright);
        engine.CharAdvances(italic, "Hello", slanted);
        EXPECT_EQ(upright, slanted);

        // The stem of "l" leans: its top row starts further right than its bottom row.
        const TRendered l = Render(italic, "l", 4);
        auto firstInk = [&](int y) {
            for (int x = 0; x < l.width; ++x) {
                if (l.At(x, y)) {
                    return x;
                }
            }
            return -1;
        };
        int top = 0;
        while (top < l.height && firstInk(top) < 0) {
            ++top;
        }
        int bottom = l.height - 1;
        while (bottom > top && firstInk(bottom) < 0) {
            --bottom;
        }
        ASSERT_LT(top, bottom);
        EXPECT_GT(firstInk(top), firstInk(bottom));
    }
}

TEST(FontEngineTest, GlyphsSitOnTheBaselineInsideTheCell) {
    TFontEngine& engine = TFontEngine::Instance();
    for (const char* family : {"MS Sans Serif", "Tahoma", "DejaVu Sans"}) {
        SCOPED_TRACE(family);
        const TFontRequest font = Font(family);
        const TFontMetrics metrics = engine.Metrics(font);
        const TRendered text = Render(font, "Wgjpq|Ab");
        EXPECT_EQ(text.outside, 0);

        std::vector<TGlyphCoverage> glyphs;
        engine.ForEachGlyph(font, "Wg", [&](const TGlyphCoverage& g) { glyphs.push_back(g); });
        ASSERT_EQ(glyphs.size(), 2u);
        // "W" ends on the baseline, "g" goes below it; "g" starts after the advance of "W".
        EXPECT_EQ(glyphs[0].Y + glyphs[0].Height, metrics.Ascent);
        EXPECT_GT(glyphs[1].Y + glyphs[1].Height, metrics.Ascent);
        EXPECT_LE(glyphs[0].Y, 3);
        EXPECT_GE(glyphs[1].X, engine.TextWidth(font, "W") - 1);

        // The lines the canvas draws for underline and strike-out stay inside the cell.
        EXPECT_GE(metrics.UnderlinePosition, 0);
        EXPECT_LE(metrics.Ascent + metrics.UnderlinePosition + metrics.UnderlineThickness, metrics.Height);
        EXPECT_GT(metrics.StrikeOutPosition, 0);
        EXPECT_LE(metrics.StrikeOutPosition, metrics.Ascent);
    }
}

TEST(FontEngineTest, GlyphsAreRasterisedOnceAndReused) {
    TFontEngine& engine = TFontEngine::Instance();
    const TFontRequest font = Font("Tahoma", -23);
    std::vector<const std::uint8_t*> first;
    engine.ForEachGlyph(font, "cache", [&](const TGlyphCoverage& g) { first.push_back(g.Coverage); });
    const std::size_t after = engine.GlyphsRasterised();

    std::vector<const std::uint8_t*> again;
    engine.ForEachGlyph(font, "cache", [&](const TGlyphCoverage& g) { again.push_back(g.Coverage); });
    EXPECT_EQ(engine.TextWidth(font, "ache"), engine.TextWidth(font, "cache") - engine.TextWidth(font, "c"));
    EXPECT_EQ(engine.GlyphsRasterised(), after);
    EXPECT_EQ(first, again);
    // The same face and size asked for by cell height shares the glyphs.
    const int cell = engine.Metrics(font).Height;
    engine.TextWidth(Font("TAHOMA", cell), "cache");
    EXPECT_EQ(engine.GlyphsRasterised(), after);
    // A new character at that size is rasterised once.
    engine.TextWidth(font, "z");
    engine.TextWidth(font, "zz");
    EXPECT_EQ(engine.GlyphsRasterised(), after + 1);
}

TEST(FontEngineTest, DecodesUtf8AndReadsEveryInvalidByteAsOneReplacement) {
    struct TCase {
        std::string text;
        std::u32string expected;
    };
    const std::vector<TCase> cases = {
        {"A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", U"A\u00E9\u20AC\U0001F600"},
        {"\xE2\x82", U"\uFFFD\uFFFD"},                     // cut short at the end
        {"\xF0\x9F\x98", U"\uFFFD\uFFFD\uFFFD"},           // cut short at the end
        {"\x80z", U"\uFFFDz"},                             // stray continuation byte
        {"\xC0\xAF", U"\uFFFD\uFFFD"},                     // overlong "/"
        {"\xE0\x80\xAF", U"\uFFFD\uFFFD\uFFFD"},           // overlong "/"
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD"},           // a surrogate
        {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD"}, // above U+10FFFF
        {"\xC3(", U"\uFFFD("},                             // lead byte without continuation
        {"\xFF\xFE", U"\uFFFD\uFFFD"},
        {std::string("a\0b", 3), std::u32string(U"a\0b", 3)},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        std::u32string decoded;
        for (std::size_t pos = 0; pos < c.text.size();) {
            char32_t cp = 0;
            const std::size_t next = DecodeUtf8(c.text, pos, cp);
            ASSERT_GT(next, pos);
            ASSERT_LE(next, c.text.size());
            decoded.push_back(cp);
            pos = next;
        }
        EXPECT_EQ(decoded, c.expected);
    }
    // The decoder never looks past the view it is given, even when more bytes follow in memory.
    char32_t cp = 0;
    EXPECT_EQ(DecodeUtf8(std::string_view("\xC3\xA9", 1), 0, cp), 1u);
    EXPECT_EQ(cp, U'\uFFFD');
}

TEST(FontEngineTest, InvalidAndUnknownCharactersGetTheMissingGlyph) {
    TFontEngine& engine = TFontEngine::Instance();
    for (const char* family : {"MS Sans Serif", "Tahoma", "DejaVu Sans"}) {
        SCOPED_TRACE(family);
        const TFontRequest font = Font(family);
        std::vector<int> advances;
        engine.CharAdvances(font, "A\xE2\x82", advances);
        ASSERT_EQ(advances.size(), 3u);
        const int replacement = engine.TextWidth(font, "\xEF\xBF\xBD");
        EXPECT_EQ(advances[1], replacement);
        EXPECT_EQ(advances[2], replacement);
        EXPECT_EQ(advances[0], engine.TextWidth(font, "A"));
        EXPECT_EQ(engine.TextWidth(font, "A\xE2\x82"), advances[0] + 2 * replacement);
    }
    // The bitmap face holds code page 1252: the euro sign is its own glyph, a character outside
    // the code page is the face's default character.
    const TFontRequest strike = Font("MS Sans Serif");
    const TRendered euro = Render(strike, "\xE2\x82\xAC");
    const TRendered hole = Render(strike, "\xC2\x81");
    EXPECT_GT(euro.Count(), 0);
    EXPECT_NE(euro.pixels, hole.pixels);
    EXPECT_EQ(engine.TextWidth(strike, "\xE4\xB8\x80"), engine.TextWidth(strike, "\xC2\x81"));
    EXPECT_EQ(engine.TextWidth(strike, "\xC3\xA9"), engine.TextWidth(strike, "e"));
}

TEST(FontEngineTest, AbsurdHeightsAndEmptyTextAreHarmless) {
    TFontEngine& engine = TFontEngine::Instance();
    for (int height : {INT_MIN, INT_MAX, -100000, 100000, 1, -1}) {
        SCOPED_TRACE(height);
        const TFontRequest font = Font("Tahoma", height);
        const TFontMetrics metrics = engine.Metrics(font);
        EXPECT_GT(metrics.Height, 0);
        EXPECT_LT(metrics.Height, 1000);
        EXPECT_GE(engine.TextWidth(font, "Wg"), 0);
        int glyphs = 0;
        engine.ForEachGlyph(font, "Wg", [&](const TGlyphCoverage&) { ++glyphs; });
        EXPECT_LE(glyphs, 2);
    }
    EXPECT_EQ(engine.TextWidth(Font("Tahoma"), ""), 0);
    std::vector<int> advances{1, 2};
    engine.CharAdvances(Font("Tahoma"), "", advances);
    EXPECT_TRUE(advances.empty());
    bool visited = false;
    engine.ForEachGlyph(Font("Tahoma"), "   ", [&](const TGlyphCoverage&) { visited = true; });
    EXPECT_FALSE(visited);
}

TEST(FontEngineTest, VisitorMayUseTheEngineWithManyOtherFonts) {
    TFontEngine& engine = TFontEngine::Instance();
    const TFontRequest font = Font("Tahoma", -19);
    std::vector<std::vector<std::uint8_t>> seen;
    std::vector<std::vector<std::uint8_t>> nested;
    engine.ForEachGlyph(font, "ab", [&](const TGlyphCoverage& g) {
        // Enough distinct sizes to push older renditions out of the cache while this one draws.
        for (int size = 30; size < 130; ++size) {
            engine.TextWidth(Font("DejaVu Sans", -size), "xy");
        }
        seen.emplace_back(g.Coverage, g.Coverage + g.Pitch * g.Height);
    });
    engine.ForEachGlyph(font, "ab", [&](const TGlyphCoverage& g) {
        nested.emplace_back(g.Coverage, g.Coverage + g.Pitch * g.Height);
    });
    EXPECT_EQ(seen, nested);
}

} // namespace
