// The font engine: turns a request (family, height, style) into a rendition (one face at one
// pixel size with the style it must synthesise) and keeps each rendition's rasterised glyphs.
//
// Sections:
//   UTF-8 decoding
//   Faces        opening font files once, the Windows bitmap-font header
//   Glyphs       copying FreeType bitmaps into 8-bit coverage; synthetic bold and italic
//   Renditions   sizes, classic metrics, the glyph cache
//   Resolution   which face serves which request, the request and rendition caches
//   Interface    TFontEngine

#include "toolkit/graphics/FontEngine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_GASP_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H
#include FT_WINFONTS_H

#include "toolkit/graphics/FontEngineFaces.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <optional>
#include <unordered_map>

// ---------------------------------------------------------------------------------------------
// UTF-8 decoding

std::size_t DecodeUtf8(std::string_view text, std::size_t offset, char32_t& codePoint) {
    constexpr char32_t kReplacement = 0xFFFD;
    codePoint = kReplacement;
    if (offset >= text.size()) {
        return offset + 1;
    }
    const auto lead = static_cast<unsigned char>(text[offset]);
    if (lead < 0x80) {
        codePoint = lead;
        return offset + 1;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        smallest = 0x10000;
    } else {
        return offset + 1;
    }
    if (text.size() - offset < length) {
        return offset + 1;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[offset + i]);
        if ((next & 0xC0) != 0x80) {
            return offset + 1;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return offset + 1;
    }
    codePoint = value;
    return offset + length;
}

namespace {

// Requests beyond these sizes are clamped: a layout with an absurd height must not make the
// engine rasterise glyphs of hundreds of megabytes.
constexpr int kMaxEmPixels = 512;
constexpr int kDefaultEmPixels = 11; // 8 points at 96 dpi
constexpr std::size_t kMaxRenditions = 48;
constexpr std::size_t kMaxRequests = 256;

// Slope of synthetic italic: one pixel to the right for every five up, about eleven degrees.
constexpr int kObliqueRise = 5;

int RoundDiv(long long numerator, long long denominator) {
    // Rounds half away from zero; denominator > 0.
    const long long q = (std::llabs(numerator) * 2 + denominator) / (2 * denominator);
    return static_cast<int>(numerator < 0 ? -q : q);
}

// ---------------------------------------------------------------------------------------------
// Faces

struct TFace {
    FT_Face face = nullptr; // null when the file could not be opened
    std::string file;
    int index = 0;
    // A Windows .fon strike: one fixed size whose characters are the bytes of code page 1252.
    bool winFont = false;
    FT_WinFNT_HeaderRec winHeader{};

    TFace() = default;
    TFace(const TFace&) = delete;
    TFace& operator=(const TFace&) = delete;
    ~TFace() {
        if (face) {
            FT_Done_Face(face);
        }
    }
    int StrikeCellHeight() const { return winHeader.pixel_height; }
    int StrikeEm() const { return winHeader.pixel_height - winHeader.internal_leading; }
};

// Code page 1252 in the range 0x80..0x9F, where it differs from Latin-1; 0 marks a hole.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The byte of code page 1252 for a code point, or -1 when the code page lacks it.
int ToCp1252(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<int>(codePoint);
    }
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] != 0 && kCp1252High[i] == codePoint) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Glyphs

struct TGlyph {
    int advance = 0;
    int x = 0; // coverage position relative to the pen at the cell's top
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage; // width * height bytes, row-major
};

// A bitmap in 8-bit coverage with its offset from the pen on the baseline (top is rows above
// the baseline, as FreeType reports it).
struct TCoverage {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bytes;
};

bool CopyCoverage(FT_Library library, const FT_Bitmap& source, TCoverage& out) {
    const FT_Bitmap* bitmap = &source;
    FT_Bitmap converted;
    FT_Bitmap_Init(&converted);
    const bool needsConversion =
        source.pixel_mode == FT_PIXEL_MODE_GRAY2 || source.pixel_mode == FT_PIXEL_MODE_GRAY4;
    if (needsConversion) {
        if (FT_Bitmap_Convert(library, &source, &converted, 1) != 0) {
            FT_Bitmap_Done(library, &converted);
            return false;
        }
        bitmap = &converted;
    } else if (source.pixel_mode != FT_PIXEL_MODE_MONO && source.pixel_mode != FT_PIXEL_MODE_GRAY) {
        return false;
    }

    out.width = static_cast<int>(bitmap->width);
    out.height = static_cast<int>(bitmap->rows);
    out.bytes.assign(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height), 0);
    const int levels = bitmap->pixel_mode == FT_PIXEL_MODE_MONO ? 2 : std::max<int>(bitmap->num_grays, 2);
    const long pitch = bitmap->pitch;
    for (int row = 0; row < out.height; ++row) {
        // A negative pitch means the rows are stored bottom-up.
        const long rowIndex = pitch >= 0 ? row : out.height - 1 - row;
        const std::uint8_t* src = bitmap->buffer + rowIndex * std::labs(pitch);
        std::uint8_t* dst = out.bytes.data() + static_cast<std::size_t>(row) * out.width;
        for (int x = 0; x < out.width; ++x) {
            if (bitmap->pixel_mode == FT_PIXEL_MODE_MONO) {
                dst[x] = (src[x >> 3] >> (7 - (x & 7))) & 1 ? 255 : 0;
            } else {
                dst[x] = levels == 256 ? src[x]
                                       : static_cast<std::uint8_t>(
                                             std::min(src[x], std::uint8_t(levels - 1)) * 255 / (levels - 1));
            }
        }
    }
    if (needsConversion) {
        FT_Bitmap_Done(library, &converted);
    }
    return true;
}

// Synthetic bold the classic way: the glyph drawn again one pixel to the right.
void Embolden(TCoverage& glyph) {
    if (glyph.width == 0 || glyph.height == 0) {
        return;
    }
    const int width = glyph.width + 1;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * glyph.height, 0);
    for (int row = 0; row < glyph.height; ++row) {
        const std::uint8_t* src = glyph.bytes.data() + static_cast<std::size_t>(row) * glyph.width;
        std::uint8_t* dst = bytes.data() + static_cast<std::size_t>(row) * width;
        for (int x = 0; x < width; ++x) {
            const std::uint8_t here = x < glyph.width ? src[x] : 0;
            const std::uint8_t left = x > 0 ? src[x - 1] : 0;
            dst[x] = std::max(here, left);
        }
    }
    glyph.width = width;
    glyph.bytes = std::move(bytes);
}

// Rows of a bitmap glyph slid sideways in proportion to their height above the baseline, for
// faces whose glyphs are bitmaps and so cannot be sheared as outlines.
void Oblique(TCoverage& glyph) {
    if (glyph.width == 0 || glyph.height == 0) {
        return;
    }
    auto shiftOf = [&](int row) {
        // Measured at the row's centre, top - row - 0.5 pixels above the baseline.
        const double rise = glyph.top - row - 0.5;
        return static_cast<int>(std::floor(rise / kObliqueRise + 0.5));
    };
    const int maxShift = shiftOf(0);
    const int minShift = shiftOf(glyph.height - 1);
    const int width = glyph.width + maxShift - minShift;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * glyph.height, 0);
    for (int row = 0; row < glyph.height; ++row) {
        const int offset = shiftOf(row) - minShift;
        std::copy_n(glyph.bytes.data() + static_cast<std::size_t>(row) * glyph.width, glyph.width,
                    bytes.data() + static_cast<std::size_t>(row) * width + offset);
    }
    glyph.left += minShift;
    glyph.width = width;
    glyph.bytes = std::move(bytes);
}

// Drops empty border rows and columns: bitmap strikes carry the whole cell height, and the
// canvas should only blend pixels that show.
void Trim(TCoverage& glyph) {
    int top = glyph.height;
    int bottom = -1;
    int left = glyph.width;
    int right = -1;
    for (int row = 0; row < glyph.height; ++row) {
        const std::uint8_t* src = glyph.bytes.data() + static_cast<std::size_t>(row) * glyph.width;
        for (int x = 0; x < glyph.width; ++x) {
            if (src[x] != 0) {
                top = std::min(top, row);
                bottom = std::max(bottom, row);
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    if (bottom < 0) {
        glyph.width = 0;
        glyph.height = 0;
        glyph.bytes.clear();
        return;
    }
    if (top == 0 && left == 0 && bottom == glyph.height - 1 && right == glyph.width - 1) {
        return;
    }
    const int width = right - left + 1;
    const int height = bottom - top + 1;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        std::copy_n(glyph.bytes.data() + static_cast<std::size_t>(row + top) * glyph.width + left, width,
                    bytes.data() + static_cast<std::size_t>(row) * width);
    }
    glyph.left += left;
    glyph.top -= top;
    glyph.width = width;
    glyph.height = height;
    glyph.bytes = std::move(bytes);
}

// ---------------------------------------------------------------------------------------------
// Renditions

// Which face at which size, with what to synthesise. Two requests that resolve to the same
// choice share one rendition and its glyphs.
struct TRenditionChoice {
    TFace* face = nullptr; // null: no font file at all
    int em = kDefaultEmPixels;
    int strike = -1; // fixed-size faces: the strike; -1 for scalable faces
    bool synthBold = false;
    bool synthItalic = false;
    // A bold face whose outlines are drawn at regular weight (only its small strikes are bold):
    // outlines are thickened, the face's own bold advances are kept.
    bool thickenOutlines = false;
    friend bool operator==(const TRenditionChoice&, const TRenditionChoice&) = default;
};

struct TRendition {
    TRenditionChoice choice;
    FT_Size size = nullptr;
    FT_Int32 loadFlags = FT_LOAD_DEFAULT;
    FT_Render_Mode renderMode = FT_RENDER_MODE_NORMAL;
    bool drawable = false; // false when the face could not be sized, or there is none
    TFontMetrics metrics;
    std::string file;

    static constexpr FT_UInt kUnknown = std::numeric_limits<FT_UInt>::max();
    std::array<FT_UInt, 256> latinGlyph;   // code point below 256 -> glyph index, kUnknown
    std::vector<std::int32_t> slotOfGlyph; // glyph index -> index in glyphs, -1 until rasterised
    std::deque<TGlyph> glyphs;             // a deque, so cached glyphs never move
    TGlyph noGlyph;                        // what a face without files answers for every character

    int pins = 0; // > 0 while a visitor holds this rendition's coverage
    std::uint64_t lastUse = 0;

    TRendition() { latinGlyph.fill(kUnknown); }
    TRendition(const TRendition&) = delete;
    TRendition& operator=(const TRendition&) = delete;
    ~TRendition() {
        if (size) {
            FT_Done_Size(size);
        }
    }
};

void SetUnderlineAndStrikeOut(TFontMetrics& m, int em, int underlinePos, int underlineThickness,
                              int strikePos, int strikeThickness) {
    m.UnderlineThickness = std::max(1, underlineThickness);
    // The underline keeps a row of space below the glyphs and stays inside the cell.
    m.UnderlinePosition = std::max(1, underlinePos);
    if (m.UnderlinePosition + m.UnderlineThickness > m.Descent) {
        m.UnderlinePosition = std::max(0, m.Descent - m.UnderlineThickness);
    }
    m.StrikeOutThickness = std::max(1, strikeThickness);
    m.StrikeOutPosition = std::clamp(strikePos > 0 ? strikePos : RoundDiv(em, 3), 1, std::max(1, m.Ascent));
}

TFontMetrics NullMetrics(int em) {
    // Proportions of a typical sans-serif face, so that layout stays sensible without fonts.
    TFontMetrics m;
    m.Ascent = RoundDiv(em * 93LL, 100);
    m.Descent = RoundDiv(em * 24LL, 100);
    m.Height = m.Ascent + m.Descent;
    m.InternalLeading = std::max(0, m.Height - em);
    m.AveCharWidth = std::max(1, RoundDiv(em, 2));
    m.MaxCharWidth = std::max(1, em);
    SetUnderlineAndStrikeOut(m, em, 1, 1, 0, 1);
    return m;
}

// Classic metrics of a scalable face: the cell is usWinAscent + usWinDescent scaled to the em
// and rounded each, which is what the window layouts were measured with; FreeType's own line
// metrics come out smaller for Tahoma.
TFontMetrics ScalableMetrics(FT_Face face, int em) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    const long long units = std::max<long long>(1, face->units_per_EM);
    long long winAscent = face->ascender;
    long long winDescent = -static_cast<long long>(face->descender);
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        winAscent = os2->usWinAscent;
        winDescent = os2->usWinDescent;
    }
    TFontMetrics m;
    m.Ascent = std::max(0, RoundDiv(winAscent * em, units));
    m.Descent = std::max(0, RoundDiv(winDescent * em, units));
    m.Height = m.Ascent + m.Descent;
    m.InternalLeading = std::max(0, m.Height - em);
    if (hhea) {
        const long long lineSpacing = hhea->Ascender - hhea->Descender + hhea->Line_Gap;
        m.ExternalLeading = std::max(0, RoundDiv((lineSpacing - winAscent - winDescent) * em, units));
    }
    const long long average = os2 && os2->version != 0xFFFF ? os2->xAvgCharWidth : units / 2;
    m.AveCharWidth = std::max(1, RoundDiv(average * em, units));
    m.MaxCharWidth =
        std::max(m.AveCharWidth, RoundDiv(static_cast<long long>(face->max_advance_width) * em, units));
    const int strikePos = os2 && os2->version != 0xFFFF
                              ? RoundDiv(os2->yStrikeoutPosition * static_cast<long long>(em), units)
                              : 0;
    const int strikeSize =
        os2 && os2->version != 0xFFFF ? RoundDiv(os2->yStrikeoutSize * static_cast<long long>(em), units) : 1;
    SetUnderlineAndStrikeOut(m, em, RoundDiv(-static_cast<long long>(face->underline_position) * em, units),
                             RoundDiv(static_cast<long long>(face->underline_thickness) * em, units),
                             strikePos, strikeSize);
    return m;
}

// Metrics of a fixed-size strike: its own ascent and height, not anything scaled.
TFontMetrics StrikeMetrics(const TFace& face) {
    TFontMetrics m;
    const FT_Size_Metrics& size = face.face->size->metrics;
    int em = size.y_ppem;
    if (face.winFont) {
        const FT_WinFNT_HeaderRec& h = face.winHeader;
        m.Ascent = h.ascent;
        m.Height = h.pixel_height;
        m.Descent = std::max(0, m.Height - m.Ascent);
        m.InternalLeading = h.internal_leading;
        m.ExternalLeading = h.external_leading;
        m.AveCharWidth = std::max<int>(1, h.avg_width);
        m.MaxCharWidth = std::max<int>(m.AveCharWidth, h.max_width);
        em = face.StrikeEm();
    } else {
        m.Ascent = static_cast<int>(size.ascender >> 6);
        m.Descent = static_cast<int>(-(size.descender >> 6));
        m.Height = m.Ascent + m.Descent;
        m.InternalLeading = std::max(0, m.Height - em);
        m.MaxCharWidth = std::max(1, static_cast<int>(size.max_advance >> 6));
        m.AveCharWidth = std::max(1, std::min(m.MaxCharWidth, RoundDiv(em, 2)));
    }
    SetUnderlineAndStrikeOut(m, em, 1, 1, 0, 1);
    return m;
}

// The width of the letter "l" in font units relative to the em (1 << 16 is one em): a measure
// of the face's stem weight. 0 when the face has no such letter.
long StemWidth(FT_Face face) {
    const FT_UInt index = FT_Get_Char_Index(face, 'l');
    if (index == 0 || face->units_per_EM == 0 ||
        FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) != 0) {
        return 0;
    }
    return static_cast<long>((static_cast<long long>(face->glyph->metrics.width) << 16) / face->units_per_EM);
}

// Whether the face has an embedded strike of this em whose advances agree with its outlines.
// Some fonts ship a bold face whose strikes are copies of the regular ones; drawing those would
// show regular text for bold and measure it too narrow.
bool HasTrustworthyStrike(FT_Face face, int em) {
    if (!FT_HAS_FIXED_SIZES(face)) {
        return false;
    }
    bool present = false;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        present = present || (face->available_sizes[i].y_ppem + 32) >> 6 == em;
    }
    if (!present) {
        return false;
    }
    long long drawn = 0;  // 26.6 pixels
    long long linear = 0; // 16.16 pixels
    for (char c = 'a'; c <= 'z'; ++c) {
        for (char letter : {c, static_cast<char>(c - 'a' + 'A')}) {
            const FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(letter));
            if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0) {
                continue;
            }
            if (face->glyph->format != FT_GLYPH_FORMAT_BITMAP) {
                return false; // the strike lacks plain letters
            }
            drawn += face->glyph->advance.x;
            linear += face->glyph->linearHoriAdvance;
        }
    }
    // Hand-tuned small sizes run up to a tenth wider than the outlines (a stem cannot be thinner
    // than a pixel) and a few percent narrower; a regular strike in a bold face is over a tenth
    // narrower.
    const long long drawnLinear = drawn * 1024; // both in 16.16
    return linear > 0 && drawnLinear * 100 >= linear * 92 && drawnLinear * 100 <= linear * 112;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Resolution

namespace {

// The part of a request that decides the rendition: family (compared without case), height
// with 0 already read as 8 points, and the bold and italic bits (underline and strike-out are
// lines the canvas draws).
struct TRequestView {
    std::string_view name;
    int height;
    std::uint64_t style;
};

struct TRequestKey {
    std::string name;
    int height;
    std::uint64_t style;
    TRequestView View() const { return {name, height, style}; }
};

struct TRequestHash {
    using is_transparent = void;
    std::size_t operator()(const TRequestView& v) const {
        std::size_t h = 1469598103934665603ull;
        for (char c : v.name) {
            const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            h = (h ^ static_cast<unsigned char>(lower)) * 1099511628211ull;
        }
        h = (h ^ static_cast<std::uint32_t>(v.height)) * 1099511628211ull;
        return (h ^ v.style) * 1099511628211ull;
    }
    std::size_t operator()(const TRequestKey& k) const { return (*this)(k.View()); }
};

struct TRequestEqual {
    using is_transparent = void;
    static bool Same(const TRequestView& a, const TRequestView& b) {
        return a.height == b.height && a.style == b.style && SameFontName(a.name, b.name);
    }
    bool operator()(const TRequestKey& a, const TRequestKey& b) const { return Same(a.View(), b.View()); }
    bool operator()(const TRequestKey& a, const TRequestView& b) const { return Same(a.View(), b); }
    bool operator()(const TRequestView& a, const TRequestKey& b) const { return Same(a, b.View()); }
};

TRequestView ViewOf(const TFontRequest& font) {
    TFontStyles style;
    if (font.Style.Contains(fsBold)) {
        style.Include(fsBold);
    }
    if (font.Style.Contains(fsItalic)) {
        style.Include(fsItalic);
    }
    return {font.Name, font.Height == 0 ? -kDefaultEmPixels : font.Height, style.Bits()};
}

} // namespace

struct TFontEngine::TImpl {
    FT_Library library = nullptr;
    TFaceLocator locator;
    std::vector<std::unique_ptr<TFace>> faces;
    std::vector<std::unique_ptr<TRendition>> renditions;
    std::unordered_map<TRequestKey, TRendition*, TRequestHash, TRequestEqual> requests;
    std::uint64_t useClock = 0;
    std::size_t rasterised = 0;

    bool windowsFontsLooked = false;
    std::vector<TFace*> sansSerifStrikes; // the strikes of sserife.fon, smallest first
    std::optional<std::string> tahomaFile;
    std::optional<std::string> tahomaBoldFile;
    bool tahomaBoldOutlinesThin = false;

    TImpl() {
        if (FT_Init_FreeType(&library) != 0) {
            library = nullptr;
        }
    }
    ~TImpl() {
        // Sizes belong to faces and faces to the library: release them in that order.
        requests.clear();
        renditions.clear();
        faces.clear();
        if (library) {
            FT_Done_FreeType(library);
        }
    }

    TFace* OpenFace(const std::string& file, int index);
    void LookForWindowsFonts();
    TRenditionChoice ChooseFor(const TRequestView& request);
    std::unique_ptr<TRendition> Build(const TRenditionChoice& choice);
    TRendition* Find(const TFontRequest& font);
    void EvictIfFull(const TRendition* keep);

    FT_UInt GlyphIndex(TRendition& r, char32_t codePoint);
    const TGlyph& Glyph(TRendition& r, char32_t codePoint);
    void Rasterise(TRendition& r, FT_UInt index, TGlyph& glyph);
};

TFace* TFontEngine::TImpl::OpenFace(const std::string& file, int index) {
    for (const auto& face : faces) {
        if (face->index == index && face->file == file) {
            return face->face ? face.get() : nullptr;
        }
    }
    auto face = std::make_unique<TFace>();
    face->file = file;
    face->index = index;
    if (library && FT_New_Face(library, file.c_str(), index, &face->face) != 0) {
        face->face = nullptr;
    }
    if (face->face) {
        FT_Face ft = face->face;
        if (!FT_IS_SFNT(ft) && FT_Get_WinFNT_Header(ft, &face->winHeader) == 0) {
            const FT_WinFNT_HeaderRec& h = face->winHeader;
            face->winFont =
                h.pixel_height > 0 && h.ascent <= h.pixel_height && h.internal_leading < h.pixel_height;
        }
        // FreeType leaves Windows bitmap fonts without a selected character map, and then
        // every character would map to the missing glyph.
        if (!ft->charmap && ft->num_charmaps > 0) {
            FT_Set_Charmap(ft, ft->charmaps[0]);
        }
        if (!FT_IS_SCALABLE(ft) && ft->num_fixed_sizes <= 0) {
            FT_Done_Face(ft);
            face->face = nullptr;
        }
    }
    faces.push_back(std::move(face));
    return faces.back()->face ? faces.back().get() : nullptr;
}

void TFontEngine::TImpl::LookForWindowsFonts() {
    if (windowsFontsLooked) {
        return;
    }
    windowsFontsLooked = true;
    tahomaFile = locator.FindFile("tahoma.ttf");
    tahomaBoldFile = locator.FindFile("tahomabd.ttf");
    if (tahomaFile && tahomaBoldFile) {
        TFace* regular = OpenFace(*tahomaFile, 0);
        TFace* bold = OpenFace(*tahomaBoldFile, 0);
        // The Tahoma bold file that comes with the Windows-era fonts has bold bitmap strikes
        // but regular outlines; a real bold stem is well over a fifth thicker.
        if (regular && bold && FT_IS_SCALABLE(regular->face) && FT_IS_SCALABLE(bold->face)) {
            const long regularStem = StemWidth(regular->face);
            const long boldStem = StemWidth(bold->face);
            tahomaBoldOutlinesThin = regularStem > 0 && boldStem * 5 < regularStem * 6;
        }
    }
    // Several .fon files share the family name "MS Sans Serif"; the Western one is this file.
    if (const auto fon = locator.FindFile("sserife.fon")) {
        TFace* first = OpenFace(*fon, 0);
        const long count = first ? first->face->num_faces : 0;
        for (long i = 0; i < count && i < 16; ++i) {
            TFace* strike = OpenFace(*fon, static_cast<int>(i));
            if (strike && strike->winFont) {
                sansSerifStrikes.push_back(strike);
            }
        }
        std::sort(sansSerifStrikes.begin(), sansSerifStrikes.end(), [](const TFace* a, const TFace* b) {
            return a->StrikeCellHeight() < b->StrikeCellHeight();
        });
    }
}

namespace {

// The em of a scalable face for a classic height: negative is the em itself, positive the cell.
int EmFor(FT_Face face, int height) {
    long long em = 0;
    if (height < 0) {
        em = -static_cast<long long>(height);
    } else {
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        long long cell = static_cast<long long>(face->ascender) - face->descender;
        if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
            cell = os2->usWinAscent + os2->usWinDescent;
        }
        const long long units = std::max<long long>(1, face->units_per_EM);
        em = cell > 0 ? RoundDiv(std::min<long long>(height, 1 << 20) * units, cell) : height;
    }
    return static_cast<int>(std::clamp<long long>(em, 1, kMaxEmPixels));
}

// The fixed size of a bitmap-only face nearest to the height asked for.
int NearestStrike(FT_Face face, int height) {
    int best = 0;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        const FT_Bitmap_Size& size = face->available_sizes[i];
        const long long have = height < 0 ? size.y_ppem >> 6 : size.height;
        const long long distance = std::llabs(have - std::llabs(static_cast<long long>(height)));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

} // namespace

TRenditionChoice TFontEngine::TImpl::ChooseFor(const TRequestView& request) {
    const bool bold = TFontStyles::FromBits(request.style).Contains(fsBold);
    const bool italic = TFontStyles::FromBits(request.style).Contains(fsItalic);
    TRenditionChoice choice;
    choice.synthBold = bold;
    choice.synthItalic = italic;

    const bool sansSerif = SameFontName(request.name, "MS Sans Serif");
    if (sansSerif || SameFontName(request.name, "Tahoma")) {
        LookForWindowsFonts();
        if (sansSerif) {
            // The strike whose em (cell height less internal leading) is asked for, or whose
            // cell height is, for positive heights. Sizes between strikes are drawn with Tahoma,
            // which has the same proportions, rather than with a scaled bitmap.
            for (TFace* strike : sansSerifStrikes) {
                const int have = request.height < 0 ? -strike->StrikeEm() : strike->StrikeCellHeight();
                if (have == request.height) {
                    choice.face = strike;
                    choice.strike = 0;
                    choice.em = strike->StrikeEm();
                    return choice;
                }
            }
        }
        const bool useBoldFile = bold && tahomaBoldFile;
        if (const auto& file = useBoldFile ? tahomaBoldFile : tahomaFile) {
            if (TFace* face = OpenFace(*file, 0); face && FT_IS_SCALABLE(face->face)) {
                choice.face = face;
                choice.em = EmFor(face->face, request.height);
                choice.synthBold = bold && !useBoldFile;
                choice.thickenOutlines = useBoldFile && tahomaBoldOutlinesThin;
                return choice;
            }
        }
    }

    std::optional<TFaceLocation> location;
    if (!sansSerif && !SameFontName(request.name, "Tahoma")) {
        location = locator.FindFamily(request.name, bold, italic);
    }
    TFace* face = location ? OpenFace(location->File, location->Index) : nullptr;
    if (!face) {
        location = locator.FindDefault(bold, italic);
        face = location ? OpenFace(location->File, location->Index) : nullptr;
    }
    if (!face) {
        const long long h = request.height;
        choice.em =
            static_cast<int>(std::clamp<long long>(h < 0 ? -h : RoundDiv(h * 100, 117), 1, kMaxEmPixels));
        return choice;
    }
    choice.face = face;
    choice.synthBold = bold && !location->Bold;
    choice.synthItalic = italic && !location->Italic;
    if (FT_IS_SCALABLE(face->face)) {
        choice.em = EmFor(face->face, request.height);
    } else {
        choice.strike = NearestStrike(face->face, request.height);
        choice.em = static_cast<int>(face->face->available_sizes[choice.strike].y_ppem >> 6);
    }
    return choice;
}

std::unique_ptr<TRendition> TFontEngine::TImpl::Build(const TRenditionChoice& choice) {
    auto r = std::make_unique<TRendition>();
    r->choice = choice;
    FT_Face face = choice.face ? choice.face->face : nullptr;
    bool sized = false;
    if (face && FT_New_Size(face, &r->size) == 0 && FT_Activate_Size(r->size) == 0) {
        sized = choice.strike >= 0 ? FT_Select_Size(face, choice.strike) == 0
                                   : FT_Set_Pixel_Sizes(face, 0, choice.em) == 0;
    }
    if (!sized) {
        r->metrics = NullMetrics(choice.em);
        r->noGlyph.advance = r->metrics.AveCharWidth;
        return r;
    }
    r->drawable = true;
    r->file = choice.face->file;
    if (choice.strike >= 0) {
        r->metrics = StrikeMetrics(*choice.face);
        r->loadFlags = FT_LOAD_DEFAULT;
        r->renderMode = FT_RENDER_MODE_MONO;
    } else {
        r->metrics = ScalableMetrics(face, choice.em);
        // Where a face carries a hand-tuned bitmap strike for this size and its smoothing table
        // asks for black-and-white pixels (Tahoma does up to 16 pixels), the strike is drawn: its
        // advances are the ones the window layouts were measured with. Everywhere else glyphs
        // come from outlines, lightly hinted and anti-aliased; full hinting of Tahoma's outlines
        // would make text up to an eighth wider than the measured widths.
        const int gasp = FT_Get_Gasp(face, static_cast<FT_UInt>(choice.em));
        const bool bilevel = gasp == FT_GASP_NO_TABLE || (gasp & FT_GASP_DO_GRAY) == 0;
        const bool strike = bilevel && HasTrustworthyStrike(face, choice.em);
        r->loadFlags = strike ? FT_LOAD_TARGET_MONO : (FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP);
        r->renderMode = strike ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL;
    }
    if (choice.synthBold) {
        r->metrics.AveCharWidth += 1;
        r->metrics.MaxCharWidth += 1;
    }
    r->slotOfGlyph.assign(static_cast<std::size_t>(std::max<FT_Long>(face->num_glyphs, 0)) + 1, -1);
    return r;
}

void TFontEngine::TImpl::EvictIfFull(const TRendition* keep) {
    while (renditions.size() > kMaxRenditions) {
        auto victim = renditions.end();
        for (auto it = renditions.begin(); it != renditions.end(); ++it) {
            const TRendition* r = it->get();
            if (r != keep && r->pins == 0 &&
                (victim == renditions.end() || r->lastUse < (*victim)->lastUse)) {
                victim = it;
            }
        }
        if (victim == renditions.end()) {
            return; // everything is in use by visitors further up the stack
        }
        std::erase_if(requests, [&](const auto& entry) { return entry.second == victim->get(); });
        renditions.erase(victim);
    }
}

TRendition* TFontEngine::TImpl::Find(const TFontRequest& font) {
    const TRequestView view = ViewOf(font);
    if (auto it = requests.find(view); it != requests.end()) {
        it->second->lastUse = ++useClock;
        return it->second;
    }
    const TRenditionChoice choice = ChooseFor(view);
    TRendition* rendition = nullptr;
    for (const auto& r : renditions) {
        if (r->choice == choice) {
            rendition = r.get();
            break;
        }
    }
    if (!rendition) {
        renditions.push_back(Build(choice));
        rendition = renditions.back().get();
        EvictIfFull(rendition);
    }
    rendition->lastUse = ++useClock;
    // The request table only remembers answers; forgetting them all costs one lookup each.
    if (requests.size() >= kMaxRequests) {
        requests.clear();
    }
    requests.emplace(TRequestKey{std::string(view.name), view.height, view.style}, rendition);
    return rendition;
}

FT_UInt TFontEngine::TImpl::GlyphIndex(TRendition& r, char32_t codePoint) {
    if (codePoint < r.latinGlyph.size() && r.latinGlyph[codePoint] != TRendition::kUnknown) {
        return r.latinGlyph[codePoint];
    }
    FT_Face face = r.choice.face->face;
    FT_UInt index = 0;
    if (r.choice.face->winFont) {
        // Glyph 0 of a Windows bitmap font is its own default character.
        const int byte = r.choice.face->winHeader.charset == FT_WinFNT_ID_CP1252
                             ? ToCp1252(codePoint)
                             : (codePoint < 0x100 ? static_cast<int>(codePoint) : -1);
        index = byte < 0 ? 0 : FT_Get_Char_Index(face, static_cast<FT_ULong>(byte));
    } else {
        index = FT_Get_Char_Index(face, codePoint);
    }
    if (index >= r.slotOfGlyph.size()) {
        index = 0;
    }
    if (codePoint < r.latinGlyph.size()) {
        r.latinGlyph[codePoint] = index;
    }
    return index;
}

const TGlyph& TFontEngine::TImpl::Glyph(TRendition& r, char32_t codePoint) {
    if (!r.drawable) {
        return r.noGlyph;
    }
    const FT_UInt index = GlyphIndex(r, codePoint);
    std::int32_t& slot = r.slotOfGlyph[index];
    if (slot < 0) {
        TGlyph& glyph = r.glyphs.emplace_back();
        Rasterise(r, index, glyph);
        ++rasterised;
        slot = static_cast<std::int32_t>(r.glyphs.size() - 1);
    }
    return r.glyphs[static_cast<std::size_t>(slot)];
}

void TFontEngine::TImpl::Rasterise(TRendition& r, FT_UInt index, TGlyph& glyph) {
    FT_Face face = r.choice.face->face;
    glyph.advance = r.metrics.AveCharWidth;
    if (FT_Activate_Size(r.size) != 0 || FT_Load_Glyph(face, index, r.loadFlags) != 0) {
        return;
    }
    FT_GlyphSlot slot = face->glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    const bool outline = slot->format == FT_GLYPH_FORMAT_OUTLINE;
    if (outline && r.choice.thickenOutlines) {
        // About as much again as a regular stem: a twelfth of the em across, less upwards.
        const FT_Pos across = std::max<FT_Pos>(32, r.choice.em * 64 / 12);
        FT_Outline_EmboldenXY(&slot->outline, across, across / 3);
        FT_Outline_Translate(&slot->outline, across / 2, 0);
    }
    if (outline && r.choice.synthItalic) {
        // x' = x + y / kObliqueRise in 16.16 fixed point; y grows upwards in outlines.
        FT_Matrix shear{0x10000, 0x10000 / kObliqueRise, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, r.renderMode) != 0) {
        return;
    }
    TCoverage coverage;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP || !CopyCoverage(library, slot->bitmap, coverage)) {
        return;
    }
    coverage.left = slot->bitmap_left;
    coverage.top = slot->bitmap_top;
    if (!outline && r.choice.synthItalic) {
        Oblique(coverage);
    }
    if (r.choice.synthBold) {
        Embolden(coverage);
        glyph.advance += 1;
    }
    Trim(coverage);
    glyph.x = coverage.left;
    glyph.y = r.metrics.Ascent - coverage.top;
    glyph.width = coverage.width;
    glyph.height = coverage.height;
    glyph.coverage = std::move(coverage.bytes);
}

// ---------------------------------------------------------------------------------------------
// Interface

TFontEngine& TFontEngine::Instance() {
    static TFontEngine engine;
    return engine;
}

TFontEngine::TFontEngine() : m_impl(std::make_unique<TImpl>()) {}

TFontEngine::~TFontEngine() = default;

TFontMetrics TFontEngine::Metrics(const TFontRequest& font) {
    return m_impl->Find(font)->metrics;
}

int TFontEngine::TextWidth(const TFontRequest& font, std::string_view utf8) {
    TRendition& r = *m_impl->Find(font);
    long long width = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t codePoint = 0;
        pos = DecodeUtf8(utf8, pos, codePoint);
        width += m_impl->Glyph(r, codePoint).advance;
    }
    return static_cast<int>(std::min<long long>(width, std::numeric_limits<int>::max()));
}

void TFontEngine::CharAdvances(const TFontRequest& font, std::string_view utf8, std::vector<int>& advances) {
    advances.clear();
    TRendition& r = *m_impl->Find(font);
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t codePoint = 0;
        pos = DecodeUtf8(utf8, pos, codePoint);
        advances.push_back(m_impl->Glyph(r, codePoint).advance);
    }
}

void TFontEngine::ForEachGlyph(const TFontRequest& font, std::string_view utf8,
                               const std::function<void(const TGlyphCoverage&)>& visit) {
    TRendition& r = *m_impl->Find(font);
    // The visitor may use the engine again; pinned, this rendition and its glyphs stay put.
    struct TPin {
        TRendition& r;
        explicit TPin(TRendition& rendition) : r(rendition) { ++r.pins; }
        ~TPin() { --r.pins; }
        TPin(const TPin&) = delete;
        TPin& operator=(const TPin&) = delete;
    } pin(r);
    long long pen = 0;
    for (std::size_t pos = 0; pos < utf8.size();) {
        char32_t codePoint = 0;
        pos = DecodeUtf8(utf8, pos, codePoint);
        const TGlyph& glyph = m_impl->Glyph(r, codePoint);
        if (glyph.width > 0 && glyph.height > 0 && pen + glyph.x < std::numeric_limits<int>::max()) {
            TGlyphCoverage coverage;
            coverage.X = static_cast<int>(pen + glyph.x);
            coverage.Y = glyph.y;
            coverage.Width = glyph.width;
            coverage.Height = glyph.height;
            coverage.Pitch = glyph.width;
            coverage.Coverage = glyph.coverage.data();
            visit(coverage);
        }
        pen += glyph.advance;
    }
}

std::string TFontEngine::FaceFile(const TFontRequest& font) {
    return m_impl->Find(font)->file;
}

std::size_t TFontEngine::GlyphsRasterised() const {
    return m_impl->rasterised;
}
