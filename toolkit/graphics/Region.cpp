#include "toolkit/graphics/Region.h"

#include "toolkit/graphics/GdiObjects.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// Coordinates are kept well inside int so that offsets and widths never overflow.
constexpr int kCoordLimit = 1 << 28;

int SafeAbs(int v) {
    return v == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : std::abs(v);
}

int ClampCoord(long long v) {
    return static_cast<int>(std::clamp<long long>(v, -kCoordLimit, kCoordLimit));
}

TRect Normalised(int left, int top, int right, int bottom) {
    return {ClampCoord(std::min(left, right)), ClampCoord(std::min(top, bottom)),
            ClampCoord(std::max(left, right)), ClampCoord(std::max(top, bottom))};
}

// Sorts spans and merges the ones that overlap or touch; drops empty ones.
void NormaliseSpans(std::vector<TRegionSpan>& spans) {
    std::erase_if(spans, [](const TRegionSpan& s) { return s.Right <= s.Left; });
    std::sort(spans.begin(), spans.end(),
              [](const TRegionSpan& a, const TRegionSpan& b) { return a.Left < b.Left; });
    std::size_t out = 0;
    for (std::size_t i = 0; i < spans.size(); ++i) {
        if (out > 0 && spans[i].Left <= spans[out - 1].Right) {
            spans[out - 1].Right = std::max(spans[out - 1].Right, spans[i].Right);
        } else {
            spans[out++] = spans[i];
        }
    }
    spans.resize(out);
}

// Combines two normalised span lists: a pixel is in the result when keep(inA, inB).
template <typename Keep>
void CombineSpans(std::span<const TRegionSpan> a, std::span<const TRegionSpan> b, Keep keep,
                  std::vector<TRegionSpan>& out) {
    out.clear();
    std::size_t ia = 0;
    std::size_t ib = 0;
    int x = std::numeric_limits<int>::min();
    bool inA = false;
    bool inB = false;
    // Walk the x boundaries of both lists in order; between two boundaries membership is fixed.
    while (ia < a.size() * 2 || ib < b.size() * 2) {
        int nextA = ia < a.size() * 2 ? (ia % 2 == 0 ? a[ia / 2].Left : a[ia / 2].Right)
                                      : std::numeric_limits<int>::max();
        int nextB = ib < b.size() * 2 ? (ib % 2 == 0 ? b[ib / 2].Left : b[ib / 2].Right)
                                      : std::numeric_limits<int>::max();
        int next = std::min(nextA, nextB);
        if (keep(inA, inB) && next > x) {
            if (!out.empty() && out.back().Right == x) {
                out.back().Right = next;
            } else {
                out.push_back({x, next});
            }
        }
        x = next;
        if (nextA == next) {
            inA = !inA;
            ++ia;
        }
        if (nextB == next) {
            inB = !inB;
            ++ib;
        }
    }
}

// The inset of each of the first ellipseHeight / 2 rows of a rounded shape: the first column
// whose pixel centre lies inside the ellipse ew × eh. Exact integer arithmetic, so the result is
// the same on every machine and the shape is symmetric.
std::vector<int> CornerInsets(int ew, int eh) {
    std::vector<int> insets;
    if (ew < 2 || eh < 2) {
        return insets;
    }
    using Wide = __int128;
    const Wide limit = Wide(ew) * ew * eh * eh;
    for (int row = 0; row < eh / 2; ++row) {
        Wide dy = 2 * row + 1 - eh;
        Wide rowPart = dy * dy * ew * ew;
        // Find the smallest x in [0, (ew - 1) / 2] with (2x + 1 - ew)^2 * eh^2 + rowPart <= limit;
        // the centre column always satisfies it.
        int lo = 0;
        int hi = (ew - 1) / 2;
        while (lo < hi) {
            int mid = (lo + hi) / 2;
            Wide dx = 2 * mid + 1 - ew;
            if (dx * dx * eh * eh + rowPart <= limit) {
                hi = mid;
            } else {
                lo = mid + 1;
            }
        }
        insets.push_back(lo);
    }
    return insets;
}

} // namespace

// ---- Building ----

void TRegion::TBuilder::AddBand(int top, int bottom, std::vector<TRegionSpan>& spans) {
    if (bottom <= top) {
        return;
    }
    NormaliseSpans(spans);
    AppendNormalised(top, bottom, spans);
}

void TRegion::TBuilder::AppendNormalised(int top, int bottom, std::span<const TRegionSpan> spans) {
    if (spans.empty() || bottom <= top) {
        return;
    }
    if (!m_bands.empty()) {
        TRegionBand& last = m_bands.back();
        if (last.Bottom == top && last.Count == spans.size() &&
            std::equal(spans.begin(), spans.end(), m_spans.begin() + last.First)) {
            last.Bottom = bottom;
            return;
        }
    }
    m_bands.push_back(
        {top, bottom, static_cast<std::uint32_t>(m_spans.size()), static_cast<std::uint32_t>(spans.size())});
    m_spans.insert(m_spans.end(), spans.begin(), spans.end());
}

TRegion TRegion::TBuilder::Finish() {
    TRegion region;
    region.m_bands = std::move(m_bands);
    region.m_spans = std::move(m_spans);
    region.UpdateBounds();
    m_bands.clear();
    m_spans.clear();
    return region;
}

void TRegion::UpdateBounds() {
    if (m_bands.empty()) {
        m_bounds = {};
        return;
    }
    int left = std::numeric_limits<int>::max();
    int right = std::numeric_limits<int>::min();
    for (const TRegionBand& band : m_bands) {
        left = std::min(left, m_spans[band.First].Left);
        right = std::max(right, m_spans[band.First + band.Count - 1].Right);
    }
    m_bounds = {left, m_bands.front().Top, right, m_bands.back().Bottom};
}

TRegion::TRegion(const TRect& rect) {
    TRect r = Normalised(rect.Left, rect.Top, rect.Right, rect.Bottom);
    if (rect.IsEmpty() || r.IsEmpty()) {
        return;
    }
    m_bands.push_back({r.Top, r.Bottom, 0, 1});
    m_spans.push_back({r.Left, r.Right});
    m_bounds = r;
}

TRegion TRegion::RoundRect(const TRect& bounds, int ellipseWidth, int ellipseHeight) {
    if (bounds.IsEmpty()) {
        return {};
    }
    TRect r = Normalised(bounds.Left, bounds.Top, bounds.Right, bounds.Bottom);
    int ew = std::min({SafeAbs(ellipseWidth), r.Width(), kMaxEllipse});
    int eh = std::min({SafeAbs(ellipseHeight), r.Height(), kMaxEllipse});
    std::vector<int> insets = CornerInsets(ew, eh);
    if (insets.empty()) {
        return TRegion(r);
    }
    TBuilder builder;
    const int rows = static_cast<int>(insets.size());
    for (int i = 0; i < rows; ++i) {
        TRegionSpan span{r.Left + insets[i], r.Right - insets[i]};
        builder.AppendNormalised(r.Top + i, r.Top + i + 1, std::span(&span, 1));
    }
    TRegionSpan full{r.Left, r.Right};
    builder.AppendNormalised(r.Top + rows, r.Bottom - rows, std::span(&full, 1));
    for (int i = rows - 1; i >= 0; --i) {
        TRegionSpan span{r.Left + insets[i], r.Right - insets[i]};
        builder.AppendNormalised(r.Bottom - 1 - i, r.Bottom - i, std::span(&span, 1));
    }
    return builder.Finish();
}

TRegion TRegion::Ellipse(const TRect& bounds) {
    return RoundRect(bounds, bounds.Width(), bounds.Height());
}

TRegion TRegion::Polygon(std::span<const TPoint> points, bool winding, const TRect& within) {
    if (points.size() < 3) {
        return {};
    }
    int top = std::numeric_limits<int>::max();
    int bottom = std::numeric_limits<int>::min();
    for (const TPoint& p : points) {
        top = std::min(top, ClampCoord(p.Y));
        bottom = std::max(bottom, ClampCoord(p.Y));
    }
    top = std::max(top, within.Top);
    bottom = std::min(bottom, within.Bottom);
    struct TCrossing {
        double X;
        int Direction;
    };
    std::vector<TCrossing> crossings;
    std::vector<TRegionSpan> spans;
    TBuilder builder;
    const std::size_t n = points.size();
    for (int y = top; y < bottom; ++y) {
        const double yc = y;
        crossings.clear();
        for (std::size_t i = 0; i < n; ++i) {
            TPoint a{ClampCoord(points[i].X), ClampCoord(points[i].Y)};
            TPoint b{ClampCoord(points[(i + 1) % n].X), ClampCoord(points[(i + 1) % n].Y)};
            if (a.Y == b.Y) {
                continue;
            }
            int direction = a.Y < b.Y ? 1 : -1;
            if (a.Y > b.Y) {
                std::swap(a, b);
            }
            if (yc < a.Y || yc >= b.Y) {
                continue;
            }
            double x = a.X + (yc - a.Y) * (b.X - a.X) / (b.Y - a.Y);
            crossings.push_back({x, direction});
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const TCrossing& l, const TCrossing& r) { return l.X < r.X; });
        spans.clear();
        int count = 0;
        for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
            count += winding ? crossings[i].Direction : 1;
            bool inside = winding ? count != 0 : (count % 2) != 0;
            if (inside) {
                // Pixels x with from <= x < to: left edges in, right edges out.
                int left = static_cast<int>(std::ceil(crossings[i].X));
                int right = static_cast<int>(std::ceil(crossings[i + 1].X));
                spans.push_back({left, right});
            }
        }
        builder.AddBand(y, y + 1, spans);
    }
    return builder.Finish();
}

// ---- Queries ----

bool TRegion::Contains(int x, int y) const {
    auto band = std::upper_bound(m_bands.begin(), m_bands.end(), y,
                                 [](int v, const TRegionBand& b) { return v < b.Bottom; });
    if (band == m_bands.end() || y < band->Top) {
        return false;
    }
    std::span<const TRegionSpan> spans = Spans(*band);
    auto span = std::upper_bound(spans.begin(), spans.end(), x,
                                 [](int v, const TRegionSpan& s) { return v < s.Right; });
    return span != spans.end() && x >= span->Left;
}

bool TRegion::Intersects(const TRect& rect) const {
    bool found = false;
    ForEachRect(rect, [&](const TRect&) { found = true; });
    return found;
}

int TRegion::Complexity() const {
    if (m_bands.empty()) {
        return NULLREGION;
    }
    return m_bands.size() == 1 && m_bands[0].Count == 1 ? SIMPLEREGION : COMPLEXREGION;
}

std::vector<TRect> TRegion::Rects() const {
    std::vector<TRect> rects;
    rects.reserve(m_spans.size());
    for (const TRegionBand& band : m_bands) {
        for (const TRegionSpan& span : Spans(band)) {
            rects.push_back({span.Left, band.Top, span.Right, band.Bottom});
        }
    }
    return rects;
}

bool operator==(const TRegion& a, const TRegion& b) {
    if (a.m_bands.size() != b.m_bands.size() || a.m_spans != b.m_spans) {
        return false;
    }
    for (std::size_t i = 0; i < a.m_bands.size(); ++i) {
        const TRegionBand& x = a.m_bands[i];
        const TRegionBand& y = b.m_bands[i];
        if (x.Top != y.Top || x.Bottom != y.Bottom || x.Count != y.Count) {
            return false;
        }
    }
    return true;
}

// ---- Operations ----

void TRegion::Offset(int dx, int dy) {
    if (m_bands.empty()) {
        return;
    }
    // Clamp the shift so that no coordinate leaves the working range; a region pushed that far
    // is off every surface anyway.
    dx = ClampCoord(std::clamp<long long>(dx, -kCoordLimit - (long long)m_bounds.Left,
                                          kCoordLimit - (long long)m_bounds.Right));
    dy = ClampCoord(std::clamp<long long>(dy, -kCoordLimit - (long long)m_bounds.Top,
                                          kCoordLimit - (long long)m_bounds.Bottom));
    for (TRegionBand& band : m_bands) {
        band.Top += dy;
        band.Bottom += dy;
    }
    for (TRegionSpan& span : m_spans) {
        span.Left += dx;
        span.Right += dx;
    }
    m_bounds = m_bounds.Offset(dx, dy);
}

TRegion TRegion::Combine(const TRegion& other, TOp op) const {
    auto keep = [op](bool a, bool b) {
        switch (op) {
        case TOp::Union:
            return a || b;
        case TOp::Intersect:
            return a && b;
        case TOp::Subtract:
            return a && !b;
        case TOp::Xor:
            return a != b;
        }
        return false;
    };
    TBuilder builder;
    std::vector<TRegionSpan> spans;
    std::size_t ia = 0;
    std::size_t ib = 0;
    const auto& A = m_bands;
    const auto& B = other.m_bands;
    int y = std::numeric_limits<int>::min();
    // Sweep down both band lists; between two consecutive band edges each side's spans are fixed.
    while (ia < A.size() || ib < B.size()) {
        while (ia < A.size() && A[ia].Bottom <= y) {
            ++ia;
        }
        while (ib < B.size() && B[ib].Bottom <= y) {
            ++ib;
        }
        if (ia >= A.size() && ib >= B.size()) {
            break;
        }
        auto edgeAfter = [y](const std::vector<TRegionBand>& bands, std::size_t i) {
            if (i >= bands.size()) {
                return std::numeric_limits<int>::max();
            }
            return bands[i].Top > y ? bands[i].Top : bands[i].Bottom;
        };
        int start = y;
        if ((ia >= A.size() || A[ia].Top > y) && (ib >= B.size() || B[ib].Top > y)) {
            // Neither side covers y: jump to the next band top.
            start = std::min(ia < A.size() ? A[ia].Top : std::numeric_limits<int>::max(),
                             ib < B.size() ? B[ib].Top : std::numeric_limits<int>::max());
            y = start;
        }
        int end = std::min(edgeAfter(A, ia), edgeAfter(B, ib));
        std::span<const TRegionSpan> sa;
        std::span<const TRegionSpan> sb;
        if (ia < A.size() && A[ia].Top <= start) {
            sa = Spans(A[ia]);
        }
        if (ib < B.size() && B[ib].Top <= start) {
            sb = other.Spans(B[ib]);
        }
        CombineSpans(sa, sb, keep, spans);
        builder.AppendNormalised(start, end, spans);
        y = end;
    }
    return builder.Finish();
}

TRegion TRegion::Union(const TRegion& other) const {
    return Combine(other, TOp::Union);
}
TRegion TRegion::Intersect(const TRegion& other) const {
    return Combine(other, TOp::Intersect);
}
TRegion TRegion::Subtract(const TRegion& other) const {
    return Combine(other, TOp::Subtract);
}
TRegion TRegion::Xor(const TRegion& other) const {
    return Combine(other, TOp::Xor);
}

TRegion TRegion::Intersect(const TRect& rect) const {
    TBuilder builder;
    std::vector<TRegionSpan> spans;
    for (const TRegionBand& band : m_bands) {
        if (band.Bottom <= rect.Top) {
            continue;
        }
        if (band.Top >= rect.Bottom) {
            break;
        }
        spans.clear();
        for (const TRegionSpan& span : Spans(band)) {
            int left = std::max(span.Left, rect.Left);
            int right = std::min(span.Right, rect.Right);
            if (left < right) {
                spans.push_back({left, right});
            }
        }
        builder.AppendNormalised(std::max(band.Top, rect.Top), std::min(band.Bottom, rect.Bottom), spans);
    }
    return builder.Finish();
}

// ---- Handle API ----

namespace {

HRGN AddRegion(TRegion region) {
    TGdiObject object;
    object.Kind = TGdiKind::Region;
    object.Data = std::move(region);
    return gdi::Typed<HRGN>(gdi::Add(std::move(object)));
}

} // namespace

TRegion* RegionFromHandle(HRGN region) {
    return gdi::FindData<TRegion>(region);
}

HRGN CreateRgnFromRegion(const TRegion& region) {
    return AddRegion(region);
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return AddRegion(TRegion(Normalised(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const TRect* rect) {
    return rect ? CreateRectRgn(rect->Left, rect->Top, rect->Right, rect->Bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    TRect r = Normalised(left, top, right, bottom);
    // The classic call leaves out the last column and row; layouts that shape windows with it
    // pass one more than the window's size, so the quirk is part of the contract.
    r.Right = std::max(r.Left, r.Right - 1);
    r.Bottom = std::max(r.Top, r.Bottom - 1);
    return AddRegion(TRegion::RoundRect(r, ellipseWidth, ellipseHeight));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    TRect r = Normalised(left, top, right, bottom);
    r.Right = std::max(r.Left, r.Right - 1);
    r.Bottom = std::max(r.Top, r.Bottom - 1);
    return AddRegion(TRegion::Ellipse(r));
}

HRGN CreateEllipticRgnIndirect(const TRect* rect) {
    return rect ? CreateEllipticRgn(rect->Left, rect->Top, rect->Right, rect->Bottom) : nullptr;
}

HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode) {
    if (!points || count < 0) {
        return nullptr;
    }
    constexpr int WINDING_MODE = 2;
    constexpr int kRows = 1 << 16;
    return AddRegion(TRegion::Polygon(std::span(points, static_cast<std::size_t>(count)),
                                      fillMode == WINDING_MODE, TRect{-kRows, -kRows, kRows, kRows}));
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    TRegion* d = RegionFromHandle(dest);
    TRegion* a = RegionFromHandle(src1);
    if (!d || !a || mode < RGN_AND || mode > RGN_COPY) {
        return ERROR;
    }
    if (mode == RGN_COPY) {
        *d = *a;
        return d->Complexity();
    }
    TRegion* b = RegionFromHandle(src2);
    if (!b) {
        return ERROR;
    }
    switch (mode) {
    case RGN_AND:
        *d = a->Intersect(*b);
        break;
    case RGN_OR:
        *d = a->Union(*b);
        break;
    case RGN_XOR:
        *d = a->Xor(*b);
        break;
    default:
        *d = a->Subtract(*b);
        break;
    }
    return d->Complexity();
}

int OffsetRgn(HRGN region, int dx, int dy) {
    TRegion* r = RegionFromHandle(region);
    if (!r) {
        return ERROR;
    }
    r->Offset(dx, dy);
    return r->Complexity();
}

bool PtInRegion(HRGN region, int x, int y) {
    TRegion* r = RegionFromHandle(region);
    return r && r->Contains(x, y);
}

bool RectInRegion(HRGN region, const TRect* rect) {
    TRegion* r = RegionFromHandle(region);
    return r && rect && r->Intersects(Normalised(rect->Left, rect->Top, rect->Right, rect->Bottom));
}

int GetRgnBox(HRGN region, TRect* box) {
    TRegion* r = RegionFromHandle(region);
    if (!r || !box) {
        return ERROR;
    }
    *box = r->Bounds();
    return r->Complexity();
}

bool EqualRgn(HRGN a, HRGN b) {
    TRegion* x = RegionFromHandle(a);
    TRegion* y = RegionFromHandle(b);
    return x && y && *x == *y;
}

bool SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    TRegion* r = RegionFromHandle(region);
    if (!r) {
        return false;
    }
    *r = TRegion(Normalised(left, top, right, bottom));
    return true;
}
