// Text on device contexts: ExtTextOut and the classic DrawText layout (prefix characters, line
// breaks, word wrapping, alignment, measuring).

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/DeviceContext.h"
#include "toolkit/graphics/FontEngine.h"

#include <algorithm>
#include <vector>

namespace {

std::uint32_t PixelOf(COLORREF color) {
    return ColorToPixel(static_cast<TColor>(color));
}

// Blends coverage onto a destination pixel in the text colour.
inline std::uint32_t Blend(std::uint32_t destination, std::uint32_t color, unsigned coverage) {
    if (coverage >= 255) {
        return color;
    }
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        unsigned c = (color >> shift) & 0xFF;
        unsigned d = (destination >> shift) & 0xFF;
        result |= ((c * coverage + d * (255 - coverage) + 127) / 255) << shift;
    }
    return result;
}

// The text to show after the "&" prefixes are taken out, and where the underlined characters
// are (byte offsets into the shown text).
struct TPrefixedText {
    std::string Shown;
    std::vector<std::size_t> Underlined;
};

TPrefixedText StripPrefixes(std::string_view text, bool underline) {
    TPrefixedText result;
    result.Shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            result.Shown.push_back(text[i]);
            continue;
        }
        if (i + 1 >= text.size()) {
            break; // a lone "&" at the end marks nothing and shows nothing
        }
        if (text[i + 1] == '&') {
            result.Shown.push_back('&');
            ++i;
            continue;
        }
        if (underline) {
            result.Underlined.push_back(result.Shown.size());
        }
    }
    return result;
}

struct TLine {
    std::size_t Start = 0; // byte offsets into the shown text
    std::size_t End = 0;
    int Width = 0;
};

} // namespace

TSize TDeviceContext::TextExtent(std::string_view text) const {
    TFontEngine& engine = TFontEngine::Instance();
    const TFontRequest& font = m_state.Font.Request;
    return {engine.TextWidth(font, text), engine.Metrics(font).Height};
}

TFontMetrics TDeviceContext::TextMetrics() const {
    return TFontEngine::Instance().Metrics(m_state.Font.Request);
}

void TDeviceContext::PaintText(TPoint origin, std::string_view text, const TFontMetrics& metrics, int width,
                               const TRect* clip) {
    if (!m_target) {
        return;
    }
    const TRegion& visible = VisibleRegion();
    const TRect limit = clip ? IntersectRects(*clip, visible.Bounds()) : visible.Bounds();
    if (limit.IsEmpty()) {
        return;
    }
    const std::uint32_t color = PixelOf(m_state.TextColor);
    const TFontRequest& font = m_state.Font.Request;
    TPixelBuffer& target = *m_target;
    TFontEngine::Instance().ForEachGlyph(font, text, [&](const TGlyphCoverage& glyph) {
        if (!glyph.Coverage || glyph.Width <= 0 || glyph.Height <= 0 || glyph.Pitch < glyph.Width) {
            return;
        }
        TRect box = Bounds(origin.X + glyph.X, origin.Y + glyph.Y, glyph.Width, glyph.Height);
        visible.ForEachRect(IntersectRects(box, limit), [&](const TRect& r) {
            for (int y = r.Top; y < r.Bottom; ++y) {
                const std::uint8_t* coverage =
                    glyph.Coverage + static_cast<std::size_t>(y - box.Top) * glyph.Pitch;
                std::uint32_t* row = target.Row(y);
                for (int x = r.Left; x < r.Right; ++x) {
                    unsigned a = coverage[x - box.Left];
                    if (a != 0) {
                        row[x] = Blend(row[x], color, a);
                    }
                }
            }
        });
    });
    auto line = [&](int top, int thickness) {
        TRect r{origin.X, top, origin.X + width, top + std::max(1, thickness)};
        PaintRect(IntersectRects(r, limit), TBrushData{BS_SOLID, color, nullptr}, 0xF0);
    };
    if (font.Style.Contains(fsUnderline)) {
        line(origin.Y + metrics.Ascent + metrics.UnderlinePosition, metrics.UnderlineThickness);
    }
    if (font.Style.Contains(fsStrikeOut)) {
        line(origin.Y + metrics.Ascent - metrics.StrikeOutPosition, metrics.StrikeOutThickness);
    }
}

bool TDeviceContext::ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text) {
    if (!m_target) {
        return false;
    }
    TFontEngine& engine = TFontEngine::Instance();
    const TFontRequest& font = m_state.Font.Request;
    const TFontMetrics metrics = engine.Metrics(font);
    const int width = engine.TextWidth(font, text);
    const TPoint origin = ToBuffer(TPoint{x, y});
    std::optional<TRect> clip;
    if (rect && (options & ETO_CLIPPED)) {
        clip = ToBuffer(*rect);
    }
    TBrushData background{BS_SOLID, PixelOf(m_state.BkColor), nullptr};
    if (rect && (options & ETO_OPAQUE)) {
        PaintRect(ToBuffer(*rect), background, 0xF0);
    } else if (m_state.BkMode == OPAQUE) {
        TRect cell = Bounds(origin.X, origin.Y, width, metrics.Height);
        PaintRect(clip ? IntersectRects(cell, *clip) : cell, background, 0xF0);
    }
    PaintText(origin, text, metrics, width, clip ? &*clip : nullptr);
    return true;
}

int TDeviceContext::DrawText(std::string_view text, TRect& rect, unsigned format) {
    TFontEngine& engine = TFontEngine::Instance();
    const TFontRequest& font = m_state.Font.Request;
    const TFontMetrics metrics = engine.Metrics(font);
    const int lineHeight = metrics.Height;

    TPrefixedText prefixed;
    if (format & DT_NOPREFIX) {
        prefixed.Shown.assign(text);
    } else {
        prefixed = StripPrefixes(text, !(format & DT_HIDEPREFIX));
    }
    const std::string& shown = prefixed.Shown;

    // ---- Lines ----
    std::vector<TLine> lines;
    std::vector<int> advances;
    auto measure = [&](std::size_t start, std::size_t end) {
        return engine.TextWidth(font, std::string_view(shown).substr(start, end - start));
    };
    auto addParagraph = [&](std::size_t start, std::size_t end) {
        const int maxWidth = rect.Width();
        if (!(format & DT_WORDBREAK) || start == end) {
            lines.push_back({start, end, measure(start, end)});
            return;
        }
        // Greedy wrapping at spaces. A word wider than the rectangle stays whole on its own line;
        // the spaces at a break belong to neither line.
        std::string_view paragraph = std::string_view(shown).substr(start, end - start);
        advances.clear();
        engine.CharAdvances(font, paragraph, advances);
        std::size_t lineStart = start;
        std::size_t wordStart = start;
        std::size_t breakAt = std::string::npos; // where the last word before a space ended
        int widthAtBreak = 0;
        int width = 0; // of the line so far, spaces included
        bool contentSeen = false;
        bool previousWasSpace = false;
        std::size_t offset = 0;
        std::size_t index = 0;
        while (offset < paragraph.size()) {
            char32_t codePoint = 0;
            const std::size_t next = DecodeUtf8(paragraph, offset, codePoint);
            const int advance = index < advances.size() ? advances[index] : 0;
            const std::size_t here = start + offset;
            ++index;
            offset = next;
            if (codePoint == U' ') {
                if (contentSeen && !previousWasSpace) {
                    breakAt = here;
                    widthAtBreak = width;
                }
                previousWasSpace = true;
                width += advance;
                continue;
            }
            if (previousWasSpace) {
                wordStart = here;
            }
            previousWasSpace = false;
            if (width + advance > maxWidth && breakAt != std::string::npos) {
                lines.push_back({lineStart, breakAt, widthAtBreak});
                lineStart = wordStart;
                width = measure(wordStart, here);
                breakAt = std::string::npos;
            }
            contentSeen = true;
            width += advance;
        }
        std::size_t lineEnd = end;
        while (lineEnd > lineStart && shown[lineEnd - 1] == ' ') {
            --lineEnd;
        }
        lines.push_back({lineStart, lineEnd, measure(lineStart, lineEnd)});
    };
    if (format & DT_SINGLELINE) {
        if (!shown.empty()) {
            lines.push_back({0, shown.size(), measure(0, shown.size())});
        }
    } else {
        // Paragraphs end at CR LF, LF or CR; a final line break opens no empty line.
        std::size_t start = 0;
        std::size_t i = 0;
        while (i < shown.size()) {
            if (shown[i] == '\r' || shown[i] == '\n') {
                addParagraph(start, i);
                i += (shown[i] == '\r' && i + 1 < shown.size() && shown[i + 1] == '\n') ? 2 : 1;
                start = i;
            } else {
                ++i;
            }
        }
        if (start < shown.size()) {
            addParagraph(start, shown.size());
        }
    }

    const int textHeight = static_cast<int>(lines.size()) * lineHeight;
    int widest = 0;
    for (const TLine& line : lines) {
        widest = std::max(widest, line.Width);
    }
    if (format & DT_CALCRECT) {
        rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + textHeight;
        return textHeight;
    }

    // ---- Placement and painting ----
    int top = rect.Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) {
            top = rect.Top + (rect.Height() - textHeight) / 2;
        } else if (format & DT_BOTTOM) {
            top = rect.Bottom - textHeight;
        }
    }
    const bool clipToRect = !(format & DT_NOCLIP);
    const TRect clip = ToBuffer(rect);
    TBrushData background{BS_SOLID, PixelOf(m_state.BkColor), nullptr};
    TBrushData ink{BS_SOLID, PixelOf(m_state.TextColor), nullptr};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const TLine& line = lines[i];
        int x = rect.Left;
        if (format & DT_CENTER) {
            x = rect.Left + (rect.Width() - line.Width) / 2;
        } else if (format & DT_RIGHT) {
            x = rect.Right - line.Width;
        }
        const int y = top + static_cast<int>(i) * lineHeight;
        const TPoint origin = ToBuffer(TPoint{x, y});
        std::string_view lineText = std::string_view(shown).substr(line.Start, line.End - line.Start);
        if (m_state.BkMode == OPAQUE) {
            TRect cell = Bounds(origin.X, origin.Y, line.Width, lineHeight);
            PaintRect(clipToRect ? IntersectRects(cell, clip) : cell, background, 0xF0);
        }
        PaintText(origin, lineText, metrics, line.Width, clipToRect ? &clip : nullptr);
        for (std::size_t underlined : prefixed.Underlined) {
            if (underlined < line.Start || underlined >= line.End) {
                continue;
            }
            char32_t codePoint = 0;
            std::size_t after = DecodeUtf8(shown, underlined, codePoint);
            int left = measure(line.Start, underlined);
            int right = measure(line.Start, after);
            int thickness = std::max(1, metrics.UnderlineThickness);
            TRect mark{origin.X + left, origin.Y + metrics.Ascent + metrics.UnderlinePosition,
                       origin.X + right, origin.Y + metrics.Ascent + metrics.UnderlinePosition + thickness};
            PaintRect(clipToRect ? IntersectRects(mark, clip) : mark, ink, 0xF0);
        }
    }
    if (format & (DT_VCENTER | DT_BOTTOM) && (format & DT_SINGLELINE)) {
        return top - rect.Top + textHeight;
    }
    return textHeight;
}
