// The device context engine.
//
// Sections: helpers (coordinates, raster operations) · set-up and memory contexts · saved state
// and origins · clipping · attributes · fills · lines and shapes · pixels and blits · focus
// rectangle. Text is in DeviceContextText.cpp.

#include "toolkit/graphics/DeviceContext.h"

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/Gdi.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace {

// ---- Helpers ----

// Every coordinate is clamped into this range after a shift, so that sums and widths of
// rectangles can never overflow however wild the program's numbers are.
constexpr int kCoordLimit = 1 << 28;

int Clamp(long long v) {
    return static_cast<int>(std::clamp<long long>(v, -kCoordLimit, kCoordLimit));
}

TPoint AddPoints(TPoint a, TPoint b) {
    return {Clamp((long long)a.X + b.X), Clamp((long long)a.Y + b.Y)};
}

TRect OffsetRect(const TRect& r, TPoint d) {
    return {Clamp((long long)r.Left + d.X), Clamp((long long)r.Top + d.Y), Clamp((long long)r.Right + d.X),
            Clamp((long long)r.Bottom + d.Y)};
}

TRect Normalise(const TRect& r) {
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

int PositiveMod(int v, int m) {
    int r = v % m;
    return r < 0 ? r + m : r;
}

std::uint32_t PixelOf(COLORREF color) {
    return ColorToPixel(static_cast<TColor>(color));
}

COLORREF ColorRefOf(std::uint32_t pixel) {
    return static_cast<COLORREF>(PixelToColor(pixel));
}

std::uint8_t RopCode(std::uint32_t rop) {
    return static_cast<std::uint8_t>((rop >> 16) & 0xFF);
}

bool RopUsesSource(std::uint8_t rop) {
    return ((rop >> 2) & 0x33) != (rop & 0x33);
}

bool RopUsesPattern(std::uint8_t rop) {
    return ((rop >> 4) & 0x0F) != (rop & 0x0F);
}

// The ternary raster operation on 24-bit pixels: for each bit, the rop's truth table indexed by
// pattern * 4 + source * 2 + destination.
std::uint32_t Rop3(std::uint8_t rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
    switch (rop) {
    case 0xCC:
        return s;
    case 0xF0:
        return p;
    case 0x55:
        return ~d & 0xFFFFFF;
    case 0x00:
        return 0;
    case 0xFF:
        return 0xFFFFFF;
    case 0x88:
        return s & d;
    case 0xEE:
        return s | d;
    case 0x66:
        return s ^ d;
    case 0x5A:
        return p ^ d;
    default:
        break;
    }
    std::uint32_t r = 0;
    for (int i = 0; i < 8; ++i) {
        if ((rop >> i) & 1) {
            r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
        }
    }
    return r & 0xFFFFFF;
}

// The on/off runs of the styled one-pixel pens, in pixels, starting with "on".
std::span<const int> DashPattern(int style) {
    static constexpr int kDash[] = {18, 6};
    static constexpr int kDot[] = {3, 3};
    static constexpr int kDashDot[] = {9, 6, 3, 6};
    static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case PS_DASH:
        return kDash;
    case PS_DOT:
        return kDot;
    case PS_DASHDOT:
        return kDashDot;
    case PS_DASHDOTDOT:
        return kDashDotDot;
    default:
        return {};
    }
}

// Walks a dash pattern one pixel at a time.
class TDashWalker {
public:
    explicit TDashWalker(int style) : m_pattern(DashPattern(style)) {}
    // Moves the walk on by steps pixels without visiting them.
    void Skip(long long steps) {
        if (m_pattern.empty() || steps <= 0) {
            return;
        }
        long long period = 0;
        for (int run : m_pattern) {
            period += run;
        }
        for (long long left = steps % period; left > 0; --left) {
            Next();
        }
    }
    bool Next() {
        if (m_pattern.empty()) {
            return true;
        }
        bool on = m_index % 2 == 0;
        if (++m_count >= m_pattern[m_index]) {
            m_count = 0;
            m_index = (m_index + 1) % m_pattern.size();
        }
        return on;
    }

private:
    std::span<const int> m_pattern;
    std::size_t m_index = 0;
    int m_count = 0;
};

bool PenDraws(const TPenData& pen) {
    return pen.Style != PS_NULL;
}

int PenWidth(const TPenData& pen) {
    return std::max(1, pen.Width);
}

// Keeps the pixels that are at least dx pixels from the region's edge horizontally and dy
// vertically (dx, dy steps of erosion by the four-neighbourhood).
TRegion ErodeBy(const TRegion& region, int dx, int dy) {
    TRegion r = region;
    for (int i = 0; i < std::max(dx, dy) && !r.IsEmpty(); ++i) {
        TRegion next = r;
        auto keepShifted = [&](int x, int y) {
            TRegion shifted = r;
            shifted.Offset(x, y);
            next = next.Intersect(shifted);
        };
        if (i < dx) {
            keepShifted(-1, 0);
            keepShifted(1, 0);
        }
        if (i < dy) {
            keepShifted(0, -1);
            keepShifted(0, 1);
        }
        r = std::move(next);
    }
    return r;
}

TBrushData SolidBrush(std::uint32_t pixel) {
    TBrushData brush;
    brush.Style = BS_SOLID;
    brush.Pixel = pixel;
    return brush;
}

} // namespace

// ---- Set-up and memory contexts ----

TDeviceContext::TDeviceContext(TPixelBuffer* target) : m_target(target) {
    m_state.PenHandle = gdi::Typed<HPEN>(GetStockObject(BLACK_PEN));
    m_state.BrushHandle = gdi::Typed<HBRUSH>(GetStockObject(WHITE_BRUSH));
    m_state.FontHandle = gdi::Typed<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (auto* pen = gdi::FindData<TPenData>(m_state.PenHandle)) {
        m_state.Pen = *pen;
    }
    if (auto* brush = gdi::FindData<TBrushData>(m_state.BrushHandle)) {
        m_state.Brush = *brush;
    }
    if (auto* font = gdi::FindData<TFontData>(m_state.FontHandle)) {
        m_state.Font = *font;
    }
}

TDeviceContext::~TDeviceContext() {
    if (m_memory) {
        SelectBitmap(nullptr);
    }
}

void TDeviceContext::SetTarget(TPixelBuffer* target) {
    m_target = target;
    InvalidateClip();
}

void TDeviceContext::SetDeviceOrigin(TPoint origin) {
    m_deviceOrigin = {Clamp(origin.X), Clamp(origin.Y)};
    InvalidateClip();
}

void TDeviceContext::SetSystemClip(std::optional<TRegion> region) {
    m_systemClip = std::move(region);
    InvalidateClip();
}

void TDeviceContext::MakeMemoryDC() {
    if (m_memory) {
        return;
    }
    m_memory = true;
    HBITMAP defaultBitmap = gdi::Typed<HBITMAP>(GetStockObject(kStockDefaultBitmap));
    SelectBitmap(defaultBitmap);
}

// Selecting none releases the current bitmap without taking another (used on destruction).
HBITMAP TDeviceContext::SelectBitmap(HBITMAP bitmap) {
    if (!m_memory) {
        return nullptr;
    }
    TBitmapData* next = nullptr;
    if (bitmap) {
        next = gdi::FindData<TBitmapData>(bitmap);
        if (!next || !next->Pixels) {
            return nullptr;
        }
        ++next->SelectedInto;
    }
    HBITMAP previous = m_bitmap;
    if (TBitmapData* old = gdi::FindData<TBitmapData>(previous)) {
        if (--old->SelectedInto == 0 && old->DeleteWhenFree) {
            gdi::Delete(previous);
        }
    }
    m_bitmap = bitmap;
    m_bitmapPixels = next ? next->Pixels : nullptr;
    m_target = m_bitmapPixels.get();
    InvalidateClip();
    return previous;
}

// ---- Saved state and origins ----

int TDeviceContext::Save() {
    m_saved.push_back(m_state);
    return static_cast<int>(m_saved.size());
}

bool TDeviceContext::Restore(int level) {
    int count = static_cast<int>(m_saved.size());
    if (level < 0) {
        level = count + 1 + level;
    }
    if (level < 1 || level > count) {
        return false;
    }
    m_state = std::move(m_saved[static_cast<std::size_t>(level - 1)]);
    m_saved.resize(static_cast<std::size_t>(level - 1));
    InvalidateClip();
    return true;
}

void TDeviceContext::SetViewportOrg(TPoint origin) {
    m_state.ViewportOrg = {Clamp(origin.X), Clamp(origin.Y)};
}

void TDeviceContext::SetWindowOrg(TPoint origin) {
    m_state.WindowOrg = {Clamp(origin.X), Clamp(origin.Y)};
}

TPoint TDeviceContext::Shift() const {
    return {Clamp((long long)m_state.ViewportOrg.X - m_state.WindowOrg.X),
            Clamp((long long)m_state.ViewportOrg.Y - m_state.WindowOrg.Y)};
}

TPoint TDeviceContext::ToBuffer(TPoint logical) const {
    return AddPoints(AddPoints(logical, Shift()), m_deviceOrigin);
}

TRect TDeviceContext::ToBuffer(const TRect& logical) const {
    return OffsetRect(OffsetRect(logical, Shift()), m_deviceOrigin);
}

// ---- Clipping ----

const TRegion& TDeviceContext::VisibleRegion() const {
    TRect bounds = m_target ? m_target->Bounds() : TRect{};
    if (m_visibleValid && bounds == m_visibleForBuffer) {
        return m_visible;
    }
    TRegion visible(bounds);
    if (m_systemClip) {
        visible = visible.Intersect(*m_systemClip);
    }
    if (m_state.Clip) {
        TRegion clip = *m_state.Clip;
        clip.Offset(m_deviceOrigin.X, m_deviceOrigin.Y);
        visible = visible.Intersect(clip);
    }
    m_visible = std::move(visible);
    m_visibleForBuffer = bounds;
    m_visibleValid = true;
    return m_visible;
}

int TDeviceContext::SelectClip(const TRegion* logical, int mode) {
    if (mode < RGN_AND || mode > RGN_COPY || (!logical && mode != RGN_COPY)) {
        return ERROR;
    }
    if (!logical) {
        m_state.Clip.reset();
        InvalidateClip();
        return VisibleComplexity();
    }
    TRegion region = *logical;
    TPoint shift = Shift();
    region.Offset(shift.X, shift.Y);
    if (mode == RGN_COPY) {
        m_state.Clip = std::move(region);
    } else {
        // Without a clip of its own, the program's clip is the whole surface.
        TRegion current;
        if (m_state.Clip) {
            current = *m_state.Clip;
        } else {
            current = TRegion(m_target ? m_target->Bounds() : TRect{});
            current.Offset(-m_deviceOrigin.X, -m_deviceOrigin.Y);
        }
        switch (mode) {
        case RGN_AND:
            m_state.Clip = current.Intersect(region);
            break;
        case RGN_OR:
            m_state.Clip = current.Union(region);
            break;
        case RGN_XOR:
            m_state.Clip = current.Xor(region);
            break;
        default:
            m_state.Clip = current.Subtract(region);
            break;
        }
    }
    InvalidateClip();
    return VisibleComplexity();
}

int TDeviceContext::IntersectClip(const TRect& logical) {
    TRegion region(logical);
    return SelectClip(&region, RGN_AND);
}

int TDeviceContext::ExcludeClip(const TRect& logical) {
    TRegion region(logical);
    return SelectClip(&region, RGN_DIFF);
}

int TDeviceContext::ClipBox(TRect& logical) const {
    const TRegion& visible = VisibleRegion();
    if (visible.IsEmpty()) {
        logical = {};
        return NULLREGION;
    }
    TPoint back = AddPoints(Shift(), m_deviceOrigin);
    logical = OffsetRect(visible.Bounds(), {-back.X, -back.Y});
    return visible.Complexity();
}

std::optional<TRegion> TDeviceContext::ProgramClip() const {
    if (!m_state.Clip) {
        return std::nullopt;
    }
    TRegion region = *m_state.Clip;
    TPoint shift = Shift();
    region.Offset(-shift.X, -shift.Y);
    return region;
}

bool TDeviceContext::PtVisible(int x, int y) const {
    TPoint p = ToBuffer(TPoint{x, y});
    return VisibleRegion().Contains(p);
}

bool TDeviceContext::RectVisible(const TRect& logical) const {
    return VisibleRegion().Intersects(ToBuffer(Normalise(logical)));
}

// ---- Attributes ----

HPEN TDeviceContext::SelectPen(HPEN handle, const TPenData& pen) {
    HPEN previous = m_state.PenHandle;
    m_state.PenHandle = handle;
    m_state.Pen = pen;
    return previous;
}

HBRUSH TDeviceContext::SelectBrush(HBRUSH handle, const TBrushData& brush) {
    HBRUSH previous = m_state.BrushHandle;
    m_state.BrushHandle = handle;
    m_state.Brush = brush;
    return previous;
}

HFONT TDeviceContext::SelectFont(HFONT handle, const TFontData& font) {
    HFONT previous = m_state.FontHandle;
    m_state.FontHandle = handle;
    m_state.Font = font;
    return previous;
}

COLORREF TDeviceContext::SetTextColor(COLORREF color) {
    return std::exchange(m_state.TextColor, static_cast<COLORREF>(ColorToRGB(static_cast<TColor>(color))));
}

COLORREF TDeviceContext::SetBkColor(COLORREF color) {
    return std::exchange(m_state.BkColor, static_cast<COLORREF>(ColorToRGB(static_cast<TColor>(color))));
}

int TDeviceContext::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        return 0;
    }
    return std::exchange(m_state.BkMode, mode);
}

int TDeviceContext::SetPolyFillMode(int mode) {
    if (mode != ALTERNATE && mode != WINDING) {
        return 0;
    }
    return std::exchange(m_state.PolyFillMode, mode);
}

TPoint TDeviceContext::SetBrushOrg(TPoint origin) {
    return std::exchange(m_state.BrushOrg, TPoint{Clamp(origin.X), Clamp(origin.Y)});
}

TPoint TDeviceContext::MoveTo(TPoint p) {
    return std::exchange(m_state.Position, p);
}

// ---- Fills ----

void TDeviceContext::PaintRect(const TRect& bufferRect, const TBrushData& brush, std::uint8_t rop3) {
    if (!m_target || bufferRect.IsEmpty()) {
        return;
    }
    const bool usesPattern = RopUsesPattern(rop3);
    if (usesPattern && brush.Style == BS_NULL) {
        return;
    }
    const TPixelBuffer* pattern = brush.Style == BS_PATTERN ? brush.Pattern.get() : nullptr;
    if (usesPattern && brush.Style == BS_PATTERN && (!pattern || pattern->Empty())) {
        return;
    }
    const TPoint patternOrigin = AddPoints(m_deviceOrigin, m_state.BrushOrg);
    TPixelBuffer& target = *m_target;
    VisibleRegion().ForEachRect(bufferRect, [&](const TRect& r) {
        for (int y = r.Top; y < r.Bottom; ++y) {
            std::uint32_t* row = target.Row(y);
            if (!pattern) {
                if (rop3 == 0xF0) {
                    std::fill(row + r.Left, row + r.Right, brush.Pixel);
                } else {
                    for (int x = r.Left; x < r.Right; ++x) {
                        row[x] = Rop3(rop3, brush.Pixel, 0, row[x]);
                    }
                }
                continue;
            }
            const std::uint32_t* patternRow =
                pattern->Row(PositiveMod(y - patternOrigin.Y, pattern->Height()));
            const int pw = pattern->Width();
            for (int x = r.Left; x < r.Right; ++x) {
                std::uint32_t p = patternRow[PositiveMod(x - patternOrigin.X, pw)];
                row[x] = Rop3(rop3, p, 0, row[x]);
            }
        }
    });
}

void TDeviceContext::PaintRegion(const TRegion& bufferRegion, const TBrushData& brush, std::uint8_t rop3) {
    for (const TRect& r : bufferRegion.Rects()) {
        PaintRect(r, brush, rop3);
    }
}

void TDeviceContext::PaintSolidRegion(const TRegion& bufferRegion, std::uint32_t pixel) {
    PaintRegion(bufferRegion, SolidBrush(pixel), 0xF0);
}

void TDeviceContext::FillRect(const TRect& rect, const TBrushData& brush) {
    PaintRect(ToBuffer(rect), brush, 0xF0);
}

void TDeviceContext::FrameRect(const TRect& rect, const TBrushData& brush) {
    TRect r = ToBuffer(rect);
    if (r.IsEmpty()) {
        return;
    }
    PaintRect({r.Left, r.Top, r.Right, r.Top + 1}, brush, 0xF0);
    if (r.Bottom - 1 > r.Top) {
        PaintRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, brush, 0xF0);
    }
    PaintRect({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, brush, 0xF0);
    if (r.Right - 1 > r.Left) {
        PaintRect({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, brush, 0xF0);
    }
}

void TDeviceContext::InvertRect(const TRect& rect) {
    PaintRect(ToBuffer(rect), TBrushData{}, 0x55);
}

void TDeviceContext::FillRegion(const TRegion& logical, const TBrushData& brush) {
    TRegion region = logical;
    TPoint d = AddPoints(Shift(), m_deviceOrigin);
    region.Offset(d.X, d.Y);
    PaintRegion(region, brush, 0xF0);
}

void TDeviceContext::FrameRegion(const TRegion& logical, const TBrushData& brush, int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    TRegion frame = logical.Subtract(ErodeBy(logical, width, height));
    FillRegion(frame, brush);
}

bool TDeviceContext::PatBlt(int x, int y, int width, int height, std::uint32_t rop) {
    TRect r = Normalise({x, y, Clamp((long long)x + width), Clamp((long long)y + height)});
    PaintRect(ToBuffer(r), m_state.Brush, RopCode(rop));
    return true;
}

// ---- Lines and shapes ----

// A Bresenham line in buffer coordinates, evaluated directly at each step so that only the
// steps near the visible region are walked, however long the line.
void TDeviceContext::PlotLine(TPoint from, TPoint to, const TPenData& pen, bool lastPixel) {
    if (!m_target || !PenDraws(pen)) {
        return;
    }
    const long long dx = (long long)to.X - from.X;
    const long long dy = (long long)to.Y - from.Y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long count = steps + (lastPixel ? 1 : 0);
    if (count <= 0) {
        return;
    }
    const int width = PenWidth(pen);
    const long long major = xMajor ? dx : dy;
    const long long minor = xMajor ? dy : dx;
    const int majorSign = major < 0 ? -1 : 1;
    auto pointAt = [&](long long k) {
        // Minor offset rounded half away from the start, as the incremental algorithm does.
        long long m = steps == 0 ? 0 : (2 * k * std::llabs(minor) + steps) / (2 * steps);
        if (minor < 0) {
            m = -m;
        }
        long long a = k * majorSign;
        return xMajor ? TPoint{Clamp(from.X + a), Clamp(from.Y + m)}
                      : TPoint{Clamp(from.X + m), Clamp(from.Y + a)};
    };
    const TRegion& visible = VisibleRegion();
    if (visible.IsEmpty()) {
        return;
    }
    const TRect bounds = visible.Bounds().Inflate(width, width);
    // Only the steps whose major coordinate falls inside the (widened) visible bounds are walked.
    const int majorStart = xMajor ? from.X : from.Y;
    const int boundLo = xMajor ? bounds.Left : bounds.Top;
    const int boundHi = xMajor ? bounds.Right : bounds.Bottom;
    const long long kA = ((long long)boundLo - majorStart) * majorSign;
    const long long kB = ((long long)boundHi - majorStart) * majorSign;
    const long long lo = std::max(0LL, std::min(kA, kB) - 1);
    const long long hi = std::min(count, std::max(kA, kB) + 1);
    if (lo >= hi) {
        return;
    }
    if (width == 1) {
        TDashWalker dash(pen.Style);
        dash.Skip(lo);
        const bool simple = visible.Complexity() == SIMPLEREGION;
        const TRect box = visible.Bounds();
        for (long long k = lo; k < hi; ++k) {
            TPoint p = pointAt(k);
            if (!dash.Next()) {
                continue;
            }
            if (simple ? box.Contains(p) : visible.Contains(p)) {
                m_target->Row(p.Y)[p.X] = pen.Pixel;
            }
        }
        return;
    }
    // Wide lines: the union of width × width squares centred on the line's pixels. The union
    // is convex, so one span per row describes it.
    const int half = width / 2;
    TRect area{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
               std::numeric_limits<int>::min(), std::numeric_limits<int>::min()};
    for (long long k : {lo, hi - 1}) {
        TPoint p = pointAt(k);
        area.Top = std::min(area.Top, p.Y - half);
        area.Bottom = std::max(area.Bottom, p.Y - half + width);
    }
    area.Top = std::max(area.Top, bounds.Top);
    area.Bottom = std::min(area.Bottom, bounds.Bottom);
    if (area.Bottom <= area.Top) {
        return;
    }
    std::vector<TRegionSpan> rows(
        static_cast<std::size_t>(area.Bottom - area.Top),
        TRegionSpan{std::numeric_limits<int>::max(), std::numeric_limits<int>::min()});
    for (long long k = lo; k < hi; ++k) {
        TPoint p = pointAt(k);
        for (int y = std::max(p.Y - half, area.Top); y < std::min(p.Y - half + width, area.Bottom); ++y) {
            TRegionSpan& s = rows[static_cast<std::size_t>(y - area.Top)];
            s.Left = std::min(s.Left, p.X - half);
            s.Right = std::max(s.Right, p.X - half + width);
        }
    }
    TRegion::TBuilder builder;
    std::vector<TRegionSpan> one(1);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        one[0] = rows[i];
        int y = area.Top + static_cast<int>(i);
        builder.AddBand(y, y + 1, one);
    }
    PaintSolidRegion(builder.Finish(), pen.Pixel);
}

void TDeviceContext::LineTo(TPoint p) {
    PlotLine(ToBuffer(m_state.Position), ToBuffer(p), m_state.Pen, false);
    m_state.Position = p;
}

void TDeviceContext::Polyline(std::span<const TPoint> points) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        PlotLine(ToBuffer(points[i - 1]), ToBuffer(points[i]), m_state.Pen, false);
    }
}

// Paints the pen's outline of a shape given in buffer pixels: a band of the pen's width just
// inside the shape. Styled one-pixel pens are laid along the outline in the order of the angle
// around the shape's centre, which walks any convex outline once around.
void TDeviceContext::OutlineShape(const TRegion& shape, const TRect& bufferRect) {
    const TPenData& pen = m_state.Pen;
    const int width = PenWidth(pen);
    TRegion outline = shape.Subtract(ErodeBy(shape, width, width));
    if (width > 1 || DashPattern(pen.Style).empty()) {
        PaintSolidRegion(outline, pen.Pixel);
        return;
    }
    struct TOutlinePixel {
        double Angle;
        TPoint P;
    };
    std::vector<TOutlinePixel> pixels;
    const double cx = (bufferRect.Left + bufferRect.Right) / 2.0;
    const double cy = (bufferRect.Top + bufferRect.Bottom) / 2.0;
    outline.ForEachRect(outline.Bounds(), [&](const TRect& r) {
        for (int y = r.Top; y < r.Bottom; ++y) {
            for (int x = r.Left; x < r.Right; ++x) {
                double angle = std::atan2(y + 0.5 - cy, x + 0.5 - cx);
                pixels.push_back({angle, {x, y}});
            }
        }
    });
    std::sort(pixels.begin(), pixels.end(), [](const TOutlinePixel& a, const TOutlinePixel& b) {
        return a.Angle < b.Angle ||
               (a.Angle == b.Angle && (a.P.Y < b.P.Y || (a.P.Y == b.P.Y && a.P.X < b.P.X)));
    });
    TDashWalker dash(pen.Style);
    const TRegion& visible = VisibleRegion();
    for (const TOutlinePixel& px : pixels) {
        if (dash.Next() && visible.Contains(px.P)) {
            m_target->Row(px.P.Y)[px.P.X] = pen.Pixel;
        }
    }
}

void TDeviceContext::Rectangle(const TRect& rect) {
    TRect r = ToBuffer(Normalise(rect));
    if (r.IsEmpty()) {
        return;
    }
    const TPenData& pen = m_state.Pen;
    if (!PenDraws(pen)) {
        PaintRect(r, m_state.Brush, 0xF0);
        return;
    }
    const int width = PenWidth(pen);
    TRect inner = r.Inflate(-width, -width);
    if (!inner.IsEmpty()) {
        PaintRect(inner, m_state.Brush, 0xF0);
    }
    if (width > 1 || DashPattern(pen.Style).empty()) {
        TRegion frame = TRegion(r).Subtract(TRegion(inner));
        PaintSolidRegion(frame, pen.Pixel);
        return;
    }
    // A styled pen walks the frame clockwise from the top-left corner.
    TPoint corners[] = {
        {r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1}, {r.Left, r.Bottom - 1}};
    if (r.Width() == 1 || r.Height() == 1) {
        PlotLine(corners[0], corners[2], pen, true);
        return;
    }
    for (int i = 0; i < 4; ++i) {
        PlotLine(corners[i], corners[(i + 1) % 4], pen, false);
    }
}

void TDeviceContext::RoundRect(const TRect& rect, int ellipseWidth, int ellipseHeight) {
    TRect r = ToBuffer(Normalise(rect));
    if (r.IsEmpty()) {
        return;
    }
    // Shapes wider than the visible area would only cost time to rasterise; they are clipped
    // after, so limit the work to shapes of sane size.
    if (r.Width() > TRegion::kMaxEllipse || r.Height() > TRegion::kMaxEllipse) {
        return;
    }
    TRegion shape = TRegion::RoundRect(r, ellipseWidth, ellipseHeight);
    if (!PenDraws(m_state.Pen)) {
        PaintRegion(shape, m_state.Brush, 0xF0);
        return;
    }
    const int width = PenWidth(m_state.Pen);
    PaintRegion(ErodeBy(shape, width, width), m_state.Brush, 0xF0);
    OutlineShape(shape, r);
}

void TDeviceContext::Ellipse(const TRect& rect) {
    TRect r = Normalise(rect);
    RoundRect(r, r.Width(), r.Height());
}

void TDeviceContext::Polygon(std::span<const TPoint> points) {
    if (points.size() < 2 || !m_target) {
        return;
    }
    std::vector<TPoint> buffer(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        buffer[i] = ToBuffer(points[i]);
    }
    TRegion fill = TRegion::Polygon(buffer, m_state.PolyFillMode == WINDING, VisibleRegion().Bounds());
    PaintRegion(fill, m_state.Brush, 0xF0);
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        PlotLine(buffer[i], buffer[(i + 1) % buffer.size()], m_state.Pen, false);
    }
}

// ---- Pixels and blits ----

COLORREF TDeviceContext::SetPixel(int x, int y, COLORREF color) {
    TPoint p = ToBuffer(TPoint{x, y});
    if (!m_target || !VisibleRegion().Contains(p)) {
        return CLR_INVALID;
    }
    std::uint32_t pixel = PixelOf(color);
    m_target->Row(p.Y)[p.X] = pixel;
    return ColorRefOf(pixel);
}

COLORREF TDeviceContext::GetPixel(int x, int y) const {
    TPoint p = ToBuffer(TPoint{x, y});
    if (!m_target || !VisibleRegion().Contains(p)) {
        return CLR_INVALID;
    }
    return ColorRefOf(m_target->Row(p.Y)[p.X]);
}

bool TDeviceContext::BitBlt(int x, int y, int width, int height, const TDeviceContext* source, int sx, int sy,
                            std::uint32_t rop) {
    if (width < 0 || height < 0) {
        return false;
    }
    std::uint8_t code = RopCode(rop);
    if (!RopUsesSource(code)) {
        return PatBlt(x, y, width, height, rop);
    }
    if (!source || !source->m_target || !m_target) {
        return false;
    }
    StretchRows(x, y, width, height, *source, sx, sy, width, height, code, nullptr);
    return true;
}

bool TDeviceContext::StretchBlt(int x, int y, int width, int height, const TDeviceContext* source, int sx,
                                int sy, int sourceWidth, int sourceHeight, std::uint32_t rop) {
    std::uint8_t code = RopCode(rop);
    if (!RopUsesSource(code)) {
        return PatBlt(x, y, width, height, rop);
    }
    if (!source || !source->m_target || !m_target) {
        return false;
    }
    StretchRows(x, y, width, height, *source, sx, sy, sourceWidth, sourceHeight, code, nullptr);
    return true;
}

bool TDeviceContext::TransparentBlt(int x, int y, int width, int height, const TDeviceContext* source, int sx,
                                    int sy, int sourceWidth, int sourceHeight, COLORREF key) {
    if (!source || !source->m_target || !m_target || width < 0 || height < 0 || sourceWidth < 0 ||
        sourceHeight < 0) {
        return false;
    }
    std::uint32_t keyPixel = PixelOf(key);
    StretchRows(x, y, width, height, *source, sx, sy, sourceWidth, sourceHeight, 0xCC, &keyPixel);
    return true;
}

// The one copying loop behind BitBlt, StretchBlt and TransparentBlt.
void TDeviceContext::StretchRows(int x, int y, int width, int height, const TDeviceContext& source, int sx,
                                 int sy, int sourceWidth, int sourceHeight, std::uint8_t rop3,
                                 const std::uint32_t* key) {
    if (width == 0 || height == 0 || sourceWidth == 0 || sourceHeight == 0) {
        return;
    }
    const bool mirrorX = (width < 0) != (sourceWidth < 0);
    const bool mirrorY = (height < 0) != (sourceHeight < 0);
    TRect dest = ToBuffer(Normalise({x, y, Clamp((long long)x + width), Clamp((long long)y + height)}));
    TRect src = source.ToBuffer(
        Normalise({sx, sy, Clamp((long long)sx + sourceWidth), Clamp((long long)sy + sourceHeight)}));
    const TRegion& visible = VisibleRegion();
    TRect area = IntersectRects(dest, visible.Bounds());
    if (area.IsEmpty() || src.IsEmpty()) {
        return;
    }
    const long long dw = dest.Width(), dh = dest.Height(), sw = src.Width(), sh = src.Height();

    // Reading from the buffer being written would see pixels already overwritten: read from a
    // snapshot of the source part instead.
    const TPixelBuffer* from = source.m_target;
    TPixelBuffer snapshot;
    TPoint fromOrigin{0, 0};
    if (from == m_target) {
        TRect part = IntersectRects(src, from->Bounds());
        if (part.IsEmpty()) {
            return;
        }
        snapshot.Reset(part.Width(), part.Height());
        for (int row = part.Top; row < part.Bottom; ++row) {
            std::memcpy(snapshot.Row(row - part.Top), from->Row(row) + part.Left,
                        static_cast<std::size_t>(part.Width()) * sizeof(std::uint32_t));
        }
        from = &snapshot;
        fromOrigin = {part.Left, part.Top};
    }

    // Source column for each destination column of the area, -1 where outside the source.
    std::vector<int> columns(static_cast<std::size_t>(area.Width()));
    for (int bx = area.Left; bx < area.Right; ++bx) {
        long long i = bx - dest.Left;
        long long c = (2 * i + 1) * sw / (2 * dw);
        if (mirrorX) {
            c = sw - 1 - c;
        }
        long long fx = src.Left + c - fromOrigin.X;
        columns[static_cast<std::size_t>(bx - area.Left)] =
            (fx >= 0 && fx < from->Width()) ? static_cast<int>(fx) : -1;
    }
    const bool plainCopy = rop3 == 0xCC && !key;
    const bool unscaledCopy = plainCopy && dw == sw && dh == sh && !mirrorX;
    const TPoint patternOrigin = AddPoints(m_deviceOrigin, m_state.BrushOrg);
    const TBrushData& brush = m_state.Brush;
    const bool usesPattern = RopUsesPattern(rop3);
    visible.ForEachRect(area, [&](const TRect& r) {
        for (int by = r.Top; by < r.Bottom; ++by) {
            long long j = by - dest.Top;
            long long c = (2 * j + 1) * sh / (2 * dh);
            if (mirrorY) {
                c = sh - 1 - c;
            }
            long long fy = src.Top + c - fromOrigin.Y;
            if (fy < 0 || fy >= from->Height()) {
                continue;
            }
            const std::uint32_t* in = from->Row(static_cast<int>(fy));
            std::uint32_t* out = m_target->Row(by);
            if (unscaledCopy) {
                // Columns map one to one: copy the run whose source exists in one go.
                int left = r.Left;
                int right = r.Right;
                while (left < right && columns[static_cast<std::size_t>(left - area.Left)] < 0) {
                    ++left;
                }
                while (right > left && columns[static_cast<std::size_t>(right - 1 - area.Left)] < 0) {
                    --right;
                }
                if (left < right) {
                    std::memcpy(out + left, in + columns[static_cast<std::size_t>(left - area.Left)],
                                static_cast<std::size_t>(right - left) * sizeof(std::uint32_t));
                }
                continue;
            }
            for (int bx = r.Left; bx < r.Right; ++bx) {
                int fx = columns[static_cast<std::size_t>(bx - area.Left)];
                if (fx < 0) {
                    continue;
                }
                std::uint32_t s = in[fx];
                if (plainCopy) {
                    out[bx] = s;
                    continue;
                }
                if (key && s == *key) {
                    continue;
                }
                std::uint32_t p = brush.Pixel;
                if (usesPattern && brush.Style == BS_PATTERN && brush.Pattern && !brush.Pattern->Empty()) {
                    p = brush.Pattern->Row(PositiveMod(
                        by - patternOrigin.Y,
                        brush.Pattern->Height()))[PositiveMod(bx - patternOrigin.X, brush.Pattern->Width())];
                }
                out[bx] = Rop3(rop3, p, s, out[bx]);
            }
        }
    });
}

void TDeviceContext::DrawImage(int x, int y, const TPixelBuffer& image, std::span<const std::uint8_t> alpha) {
    if (!m_target || image.Empty()) {
        return;
    }
    const bool blend = !alpha.empty();
    if (blend && alpha.size() != image.Pixels().size()) {
        return;
    }
    TRect dest = ToBuffer(Bounds(x, y, image.Width(), image.Height()));
    TPoint origin = dest.TopLeft();
    VisibleRegion().ForEachRect(dest, [&](const TRect& r) {
        for (int by = r.Top; by < r.Bottom; ++by) {
            const int iy = by - origin.Y;
            const std::uint32_t* in = image.Row(iy);
            std::uint32_t* out = m_target->Row(by);
            for (int bx = r.Left; bx < r.Right; ++bx) {
                const int ix = bx - origin.X;
                std::uint32_t s = in[ix];
                if (!blend) {
                    out[bx] = s;
                    continue;
                }
                unsigned a = alpha[static_cast<std::size_t>(iy) * image.Width() + ix];
                if (a == 0) {
                    continue;
                }
                if (a == 255) {
                    out[bx] = s;
                    continue;
                }
                std::uint32_t d = out[bx];
                std::uint32_t result = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    unsigned sc = (s >> shift) & 0xFF;
                    unsigned dc = (d >> shift) & 0xFF;
                    result |= ((sc * a + dc * (255 - a) + 127) / 255) << shift;
                }
                out[bx] = result;
            }
        }
    });
}

// ---- Focus rectangle ----

void TDeviceContext::DrawFocusRect(const TRect& rect) {
    TRect r = ToBuffer(rect);
    if (!m_target || r.IsEmpty()) {
        return;
    }
    const TRegion& visible = VisibleRegion();
    // Every pixel of the frame is visited once, so a second call undoes the first exactly.
    auto toggle = [&](int x, int y) {
        if (((x + y) & 1) == 0 && visible.Contains(x, y)) {
            std::uint32_t& px = m_target->Row(y)[x];
            px = ~px & 0xFFFFFF;
        }
    };
    TRect limit = visible.Bounds().Inflate(1, 1);
    TRect seen = IntersectRects(r, limit);
    if (seen.IsEmpty()) {
        return;
    }
    for (int x = seen.Left; x < seen.Right; ++x) {
        if (r.Top >= limit.Top) {
            toggle(x, r.Top);
        }
        if (r.Bottom - 1 > r.Top && r.Bottom - 1 < limit.Bottom) {
            toggle(x, r.Bottom - 1);
        }
    }
    for (int y = std::max(seen.Top, r.Top + 1); y < std::min(seen.Bottom, r.Bottom - 1); ++y) {
        if (r.Left >= limit.Left) {
            toggle(r.Left, y);
        }
        if (r.Right - 1 > r.Left && r.Right - 1 < limit.Right) {
            toggle(r.Right - 1, y);
        }
    }
}
