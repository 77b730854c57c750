#pragma once

#include "toolkit/graphics/GdiHandles.h"
#include "toolkit/graphics/Types.h"

#include <cstdint>
#include <span>
#include <vector>

// A set of pixels kept as sorted horizontal bands, each holding sorted, disjoint spans. Regions
// clip device contexts and shape top-level windows.
//
// The form is canonical: bands do not overlap, are never empty, and two bands that touch never
// hold the same spans (they would have been merged); spans within a band neither overlap nor
// touch. So two regions covering the same pixels compare equal member by member.
struct TRegionSpan {
    int Left = 0;  // first pixel
    int Right = 0; // one past the last pixel
    friend bool operator==(const TRegionSpan&, const TRegionSpan&) = default;
};

struct TRegionBand {
    int Top = 0;             // first row
    int Bottom = 0;          // one past the last row
    std::uint32_t First = 0; // index of the band's first span
    std::uint32_t Count = 0; // number of spans, at least 1
};

// Classic answers about the shape of a region.
constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;

class TRegion {
public:
    TRegion() = default;
    explicit TRegion(const TRect& rect);

    // The pixels of a rectangle with rounded corners that fills bounds exactly; the corners are
    // quarters of an ellipse ellipseWidth × ellipseHeight (clamped to the bounds' size and to
    // kMaxEllipse). A pixel belongs to a corner when its centre lies inside the ellipse, so every
    // shape is symmetric.
    static TRegion RoundRect(const TRect& bounds, int ellipseWidth, int ellipseHeight);
    // The pixels of the ellipse inscribed in bounds, by the same rule.
    static TRegion Ellipse(const TRect& bounds);
    // The pixels inside the polygon, by the even-odd rule or, when winding is true, the non-zero
    // winding rule. Points name pixels, and a pixel is in when it lies inside with the top and
    // left edges counted in and the bottom and right ones out, so a polygon outlined through
    // the same points covers its fill exactly and a square of side n fills n × n. Only the rows
    // from within.Top to within.Bottom are rasterised (callers pass their clip box, so huge
    // polygons cost only what is visible).
    static TRegion Polygon(std::span<const TPoint> points, bool winding, const TRect& within);

    static constexpr int kMaxEllipse = 1 << 16;

    bool IsEmpty() const { return m_bands.empty(); }
    // The smallest rectangle holding every pixel; all zero when empty.
    TRect Bounds() const { return m_bounds; }
    bool Contains(int x, int y) const;
    bool Contains(TPoint p) const { return Contains(p.X, p.Y); }
    // Whether any pixel of rect belongs to the region.
    bool Intersects(const TRect& rect) const;
    // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
    int Complexity() const;
    // The region as rectangles, top to bottom and left to right within a band; what a window
    // system needs to shape a window.
    std::vector<TRect> Rects() const;

    void Offset(int dx, int dy);
    TRegion Union(const TRegion& other) const;
    TRegion Intersect(const TRegion& other) const;
    TRegion Subtract(const TRegion& other) const;
    TRegion Xor(const TRegion& other) const;
    TRegion Intersect(const TRect& rect) const;

    std::span<const TRegionBand> Bands() const { return m_bands; }
    std::span<const TRegionSpan> Spans(const TRegionBand& band) const {
        return std::span<const TRegionSpan>(m_spans).subspan(band.First, band.Count);
    }

    // Calls visit(TRect) for every rectangle of the region clipped to within, top to bottom.
    template <typename F>
    void ForEachRect(const TRect& within, F&& visit) const {
        for (const TRegionBand& band : m_bands) {
            if (band.Bottom <= within.Top) {
                continue;
            }
            if (band.Top >= within.Bottom) {
                break;
            }
            int top = band.Top > within.Top ? band.Top : within.Top;
            int bottom = band.Bottom < within.Bottom ? band.Bottom : within.Bottom;
            for (const TRegionSpan& span : Spans(band)) {
                int left = span.Left > within.Left ? span.Left : within.Left;
                int right = span.Right < within.Right ? span.Right : within.Right;
                if (left < right) {
                    visit(TRect{left, top, right, bottom});
                }
            }
        }
    }

    friend bool operator==(const TRegion& a, const TRegion& b);

    // Builds a region band by band from the top down. Spans given to AddBand may be unsorted,
    // overlapping or empty; they are normalised. Touching bands with equal spans are merged.
    class TBuilder {
    public:
        void AddBand(int top, int bottom, std::vector<TRegionSpan>& spans);
        TRegion Finish();

    private:
        void AppendNormalised(int top, int bottom, std::span<const TRegionSpan> spans);
        friend class TRegion;
        std::vector<TRegionBand> m_bands;
        std::vector<TRegionSpan> m_spans;
    };

private:
    enum class TOp { Union, Intersect, Subtract, Xor };
    TRegion Combine(const TRegion& other, TOp op) const;
    void UpdateBounds();

    std::vector<TRegionBand> m_bands;
    std::vector<TRegionSpan> m_spans;
    TRect m_bounds;
};

// The handle API over regions. Handles are owned by the caller until DeleteObject, except a
// region handed to a window, which the window owns from then on.
constexpr int RGN_AND = 1;
constexpr int RGN_OR = 2;
constexpr int RGN_XOR = 3;
constexpr int RGN_DIFF = 4;
constexpr int RGN_COPY = 5;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const TRect* rect);
// As the classic call: the region leaves out the last column and the last row of the given
// rectangle, so (0, 0, w + 1, h + 1) shapes a window of w × h. Ellipse sizes are clamped to the
// remaining size; below 2 pixels the corners are square.
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
// The ellipse inscribed in the rectangle, with the same last column and row left out.
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const TRect* rect);
// fillMode is ALTERNATE (1) or WINDING (2). Rows beyond ±65536 are left out.
HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode);
// A region holding a copy of region; for layers that keep regions by value.
HRGN CreateRgnFromRegion(const TRegion& region);
// dest := src1 op src2 (src2 unused for RGN_COPY). dest may be one of the sources. Returns the
// complexity of the result, or ERROR (dest unchanged) for a bad handle or mode.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
bool PtInRegion(HRGN region, int x, int y);
bool RectInRegion(HRGN region, const TRect* rect);
// Writes the bounding box; returns the complexity, or ERROR for a bad handle.
int GetRgnBox(HRGN region, TRect* box);
bool EqualRgn(HRGN a, HRGN b);
bool SetRectRgn(HRGN region, int left, int top, int right, int bottom);
// The region behind a handle, or none for a bad handle; valid until the handle is deleted.
TRegion* RegionFromHandle(HRGN region);
