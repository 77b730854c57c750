#include "tools/paint_resources/Painter.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

// ---- 1. Colours -------------------------------------------------------------------------------

TRgb Mix(TRgb a, TRgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

TRgb Lighter(TRgb c, double t) {
    return Mix(c, Hex(0xFFFFFF), t);
}
TRgb Darker(TRgb c, double t) {
    return Mix(c, Hex(0x000000), t);
}

TRgb Greyed(TRgb c, TRgb background) {
    const double luma = 0.30 * c.r + 0.59 * c.g + 0.11 * c.b;
    const TRgb grey{luma, luma, luma};
    return Mix(Mix(c, grey, 0.75), background, 0.45);
}

namespace {

constexpr double kPi = 3.14159265358979323846;

// sin x for |x| <= pi / 2 by its Taylor series; the error stays below 1e-11.
double SinNear(double x) {
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 8; ++n) {
        term = -term * x2 / static_cast<double>((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

} // namespace

double DetSin(double degrees) {
    double d = degrees - 360.0 * std::floor((degrees + 180.0) / 360.0); // now in [-180, 180)
    if (d > 90.0) {
        d = 180.0 - d;
    } else if (d < -90.0) {
        d = -180.0 - d;
    }
    return SinNear(d * kPi / 180.0);
}

double DetCos(double degrees) {
    return DetSin(degrees + 90.0);
}

// ---- 2. Shapes --------------------------------------------------------------------------------

namespace {

TBox Hull(TBox a, TBox b) {
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

double SegmentDistanceSquared(TPt a, TPt b, double x, double y) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = 0;
    if (len2 > 0) {
        t = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0, 1.0);
    }
    const double px = a.x + dx * t - x;
    const double py = a.y + dy * t - y;
    return px * px + py * py;
}

} // namespace

TShape RectShape(double x0, double y0, double x1, double y1) {
    TShape s([=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; }, {x0, y0, x1, y1});
    s.m_rectangle = true;
    return s;
}

TShape RoundRectShape(double x0, double y0, double x1, double y1, double r) {
    r = std::max(0.0, std::min(r, std::min(x1 - x0, y1 - y0) / 2.0));
    return TShape(
        [=](double x, double y) {
            if (x < x0 || x >= x1 || y < y0 || y >= y1) {
                return false;
            }
            const double cx = std::clamp(x, x0 + r, x1 - r);
            const double cy = std::clamp(y, y0 + r, y1 - r);
            const double dx = x - cx;
            const double dy = y - cy;
            return dx * dx + dy * dy <= r * r;
        },
        {x0, y0, x1, y1});
}

TShape EllipseShape(double cx, double cy, double rx, double ry) {
    return TShape(
        [=](double x, double y) {
            const double u = (x - cx) / rx;
            const double v = (y - cy) / ry;
            return u * u + v * v <= 1.0;
        },
        {cx - rx, cy - ry, cx + rx, cy + ry});
}

TShape CircleShape(double cx, double cy, double r) {
    return EllipseShape(cx, cy, r, r);
}

TShape PolygonShape(std::vector<TPt> points) {
    if (points.size() < 3) {
        return {};
    }
    TBox box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const TPt& p : points) {
        box = Hull(box, {p.x, p.y, p.x, p.y});
    }
    return TShape(
        [pts = std::move(points)](double x, double y) {
            int winding = 0;
            const std::size_t n = pts.size();
            for (std::size_t i = 0; i < n; ++i) {
                const TPt& a = pts[i];
                const TPt& b = pts[(i + 1) % n];
                const double side = (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y);
                if (a.y <= y) {
                    if (b.y > y && side > 0) {
                        ++winding;
                    }
                } else if (b.y <= y && side < 0) {
                    --winding;
                }
            }
            return winding != 0;
        },
        box);
}

TShape LineShape(TPt a, TPt b, double width) {
    const double h = width / 2.0;
    const TBox box{std::min(a.x, b.x) - h, std::min(a.y, b.y) - h, std::max(a.x, b.x) + h,
                   std::max(a.y, b.y) + h};
    return TShape([=](double x, double y) { return SegmentDistanceSquared(a, b, x, y) <= h * h; }, box);
}

TShape PolylineShape(const std::vector<TPt>& points, double width) {
    TShape result;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        result = Union(result, LineShape(points[i], points[i + 1], width));
    }
    return result;
}

TShape RingShape(double cx, double cy, double r, double width) {
    const double inner = std::max(0.0, r - width / 2.0);
    const double outer = r + width / 2.0;
    return TShape(
        [=](double x, double y) {
            const double d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            return d2 >= inner * inner && d2 <= outer * outer;
        },
        {cx - outer, cy - outer, cx + outer, cy + outer});
}

TShape ArcShape(double cx, double cy, double r, double width, double a0, double a1) {
    const double sweep = a1 - a0;
    const TPt u0{DetCos(a0), DetSin(a0)};
    const TPt u1{DetCos(a1), DetSin(a1)};
    const auto cross = [](TPt p, TPt q) { return p.x * q.y - p.y * q.x; };
    const TShape ring = RingShape(cx, cy, r, width);
    const TShape sector(
        [=](double x, double y) {
            const TPt p{x - cx, y - cy};
            if (sweep >= 360.0) {
                return true;
            }
            if (sweep <= 180.0) {
                return cross(u0, p) >= 0 && cross(p, u1) >= 0;
            }
            // A reflex sweep: inside unless strictly inside the missing part.
            return !(cross(u1, p) > 0 && cross(p, u0) > 0);
        },
        ring.Bounds());
    const double h = width / 2.0;
    const TShape cap0 = CircleShape(cx + r * u0.x, cy + r * u0.y, h);
    const TShape cap1 = CircleShape(cx + r * u1.x, cy + r * u1.y, h);
    return Union({Intersect(ring, sector), cap0, cap1});
}

TShape Union(const TShape& a, const TShape& b) {
    if (a.IsEmpty()) {
        return b;
    }
    if (b.IsEmpty()) {
        return a;
    }
    return TShape([a, b](double x, double y) { return a.Contains(x, y) || b.Contains(x, y); },
                  Hull(a.Bounds(), b.Bounds()));
}

TShape Union(std::initializer_list<TShape> shapes) {
    TShape result;
    for (const TShape& s : shapes) {
        result = Union(result, s);
    }
    return result;
}

TShape Intersect(const TShape& a, const TShape& b) {
    if (a.IsEmpty() || b.IsEmpty()) {
        return {};
    }
    const TBox ab = a.Bounds();
    const TBox bb = b.Bounds();
    const TBox box{std::max(ab.x0, bb.x0), std::max(ab.y0, bb.y0), std::min(ab.x1, bb.x1),
                   std::min(ab.y1, bb.y1)};
    return TShape([a, b](double x, double y) { return a.Contains(x, y) && b.Contains(x, y); }, box);
}

TShape Subtract(const TShape& a, const TShape& b) {
    if (a.IsEmpty() || b.IsEmpty()) {
        return a;
    }
    return TShape([a, b](double x, double y) { return a.Contains(x, y) && !b.Contains(x, y); }, a.Bounds());
}

TShape Offset(const TShape& s, double dx, double dy) {
    if (s.IsEmpty()) {
        return s;
    }
    const TBox b = s.Bounds();
    return TShape([s, dx, dy](double x, double y) { return s.Contains(x - dx, y - dy); },
                  {b.x0 + dx, b.y0 + dy, b.x1 + dx, b.y1 + dy});
}

// ---- 3. Paints --------------------------------------------------------------------------------

namespace {

TRgb AtStop(const std::vector<TStop>& stops, double t) {
    if (stops.empty()) {
        return {};
    }
    if (t <= stops.front().at) {
        return stops.front().color;
    }
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].at) {
            const double span = stops[i].at - stops[i - 1].at;
            const double f = span > 0 ? (t - stops[i - 1].at) / span : 1.0;
            return Mix(stops[i - 1].color, stops[i].color, f);
        }
    }
    return stops.back().color;
}

std::vector<TStop> Sorted(std::vector<TStop> stops) {
    std::stable_sort(stops.begin(), stops.end(), [](const TStop& a, const TStop& b) { return a.at < b.at; });
    return stops;
}

} // namespace

TPaint Solid(TRgb c) {
    return [c](double, double) { return c; };
}

TPaint LinearGradient(TPt a, TPt b, std::vector<TStop> stops) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    return [a, dx, dy, len2, s = Sorted(std::move(stops))](double x, double y) {
        const double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0;
        return AtStop(s, t);
    };
}

TPaint VerticalGradient(double y0, double y1, std::vector<TStop> stops) {
    return LinearGradient({0, y0}, {0, y1}, std::move(stops));
}

TPaint HorizontalGradient(double x0, double x1, std::vector<TStop> stops) {
    return LinearGradient({x0, 0}, {x1, 0}, std::move(stops));
}

TPaint RadialGradient(TPt centre, double rx, double ry, std::vector<TStop> stops) {
    return [centre, rx, ry, s = Sorted(std::move(stops))](double x, double y) {
        const double u = (x - centre.x) / rx;
        const double v = (y - centre.y) / ry;
        return AtStop(s, std::sqrt(u * u + v * v));
    };
}

TOpacity VerticalFade(double y0, double y1, double a0, double a1) {
    return [=](double, double y) {
        const double t = y1 != y0 ? std::clamp((y - y0) / (y1 - y0), 0.0, 1.0) : 0.0;
        return a0 + (a1 - a0) * t;
    };
}

TOpacity HorizontalFade(double x0, double x1, double a0, double a1) {
    return [=](double x, double) {
        const double t = x1 != x0 ? std::clamp((x - x0) / (x1 - x0), 0.0, 1.0) : 0.0;
        return a0 + (a1 - a0) * t;
    };
}

// ---- 4. Images --------------------------------------------------------------------------------

namespace {

constexpr int kGrid = 8; // samples per pixel in each direction

int ToByte(double v) {
    const double r = std::floor(v + 0.5);
    return static_cast<int>(std::clamp(r, 0.0, 255.0));
}

} // namespace

TImage::TImage(int width, int height, TRgb backdrop)
    : m_width(width), m_height(height), m_backdrop(backdrop),
      m_premul(static_cast<std::size_t>(width) * height),
      m_alpha(static_cast<std::size_t>(width) * height, 0.0),
      m_keyed(static_cast<std::size_t>(width) * height, false) {
    assert(width >= 0 && height >= 0);
}

void TImage::Blend(int index, TRgb color, double a) {
    TRgb& p = m_premul[index];
    p.r = color.r * a + p.r * (1.0 - a);
    p.g = color.g * a + p.g * (1.0 - a);
    p.b = color.b * a + p.b * (1.0 - a);
    m_alpha[index] = a + m_alpha[index] * (1.0 - a);
}

void TImage::Fill(const TShape& shape, const TPaint& paint, double opacity) {
    if (opacity <= 0) {
        return;
    }
    Fill(shape, paint, [opacity](double, double) { return opacity; });
}

void TImage::Fill(const TShape& shape, TRgb color, const TOpacity& opacity) {
    Fill(shape, Solid(color), opacity);
}

void TImage::Fill(const TShape& shape, const TPaint& paint, const TOpacity& opacity) {
    if (shape.IsEmpty()) {
        return;
    }
    const TBox b = shape.Bounds();
    const int x0 = std::max(0, static_cast<int>(std::floor(b.x0)));
    const int y0 = std::max(0, static_cast<int>(std::floor(b.y0)));
    const int x1 = std::min(m_width, static_cast<int>(std::ceil(b.x1)) + 1);
    const int y1 = std::min(m_height, static_cast<int>(std::ceil(b.y1)) + 1);
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            double covered = 0;
            if (shape.IsRectangle()) {
                const double w = std::min(x + 1.0, b.x1) - std::max(static_cast<double>(x), b.x0);
                const double h = std::min(y + 1.0, b.y1) - std::max(static_cast<double>(y), b.y0);
                covered = std::clamp(w, 0.0, 1.0) * std::clamp(h, 0.0, 1.0);
            } else {
                int inside = 0;
                for (int sy = 0; sy < kGrid; ++sy) {
                    const double py = y + (sy + 0.5) / kGrid;
                    for (int sx = 0; sx < kGrid; ++sx) {
                        if (shape.Contains(x + (sx + 0.5) / kGrid, py)) {
                            ++inside;
                        }
                    }
                }
                covered = inside / static_cast<double>(kGrid * kGrid);
            }
            if (covered > 0) {
                const double a = std::clamp(opacity(x + 0.5, y + 0.5), 0.0, 1.0) * covered;
                if (a > 0) {
                    Blend(Index(x, y), paint(x + 0.5, y + 0.5), a);
                }
            }
        }
    }
}

void TImage::Fill(const TShape& shape, TRgb color, double opacity) {
    Fill(shape, Solid(color), opacity);
}

void TImage::Clear(const TPaint& paint) {
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            SetPixel(x, y, paint(x + 0.5, y + 0.5));
        }
    }
}

void TImage::Clear(TRgb color) {
    Clear(Solid(color));
}

void TImage::SetPixel(int x, int y, TRgb color) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    const int i = Index(x, y);
    m_premul[i] = color;
    m_alpha[i] = 1.0;
    m_keyed[i] = false;
}

void TImage::Draw(const TImage& src, int x, int y) {
    for (int sy = 0; sy < src.m_height; ++sy) {
        const int dy = y + sy;
        if (dy < 0 || dy >= m_height) {
            continue;
        }
        for (int sx = 0; sx < src.m_width; ++sx) {
            const int dx = x + sx;
            if (dx < 0 || dx >= m_width) {
                continue;
            }
            const int si = src.Index(sx, sy);
            const double a = src.m_alpha[si];
            if (a <= 0) {
                continue;
            }
            const int di = Index(dx, dy);
            TRgb& p = m_premul[di];
            const TRgb& s = src.m_premul[si];
            p.r = s.r + p.r * (1.0 - a);
            p.g = s.g + p.g * (1.0 - a);
            p.b = s.b + p.b * (1.0 - a);
            m_alpha[di] = a + m_alpha[di] * (1.0 - a);
            m_keyed[di] = false;
        }
    }
}

void TImage::KeyOut(double threshold) {
    for (std::size_t i = 0; i < m_alpha.size(); ++i) {
        if (m_alpha[i] < threshold) {
            m_keyed[i] = true;
            m_alpha[i] = 0;
            m_premul[i] = {};
        }
    }
}

void TImage::KeyOutUncovered(const TImage& art, double threshold) {
    for (int y = 0; y < m_height; ++y) {
        for (int x = 0; x < m_width; ++x) {
            const bool covered =
                x < art.m_width && y < art.m_height && art.m_alpha[art.Index(x, y)] >= threshold;
            if (!covered) {
                const int i = Index(x, y);
                m_keyed[i] = true;
                m_alpha[i] = 0;
                m_premul[i] = {};
            }
        }
    }
}

std::uint32_t TImage::Pixel(int x, int y) const {
    const int i = Index(x, y);
    if (m_keyed[i]) {
        return kKeyPixel;
    }
    const double rest = 1.0 - m_alpha[i];
    const TRgb& p = m_premul[i];
    const std::uint32_t pixel = static_cast<std::uint32_t>(ToByte(p.r + m_backdrop.r * rest)) << 16 |
                                static_cast<std::uint32_t>(ToByte(p.g + m_backdrop.g * rest)) << 8 |
                                static_cast<std::uint32_t>(ToByte(p.b + m_backdrop.b * rest));
    // Art must never be mistaken for the key, or it would vanish where the bitmap is drawn.
    return pixel == kKeyPixel ? 0xFF01FF : pixel;
}

std::uint32_t TImage::PixelWithAlpha(int x, int y) const {
    const int i = Index(x, y);
    const double a = m_alpha[i];
    const int alpha = ToByte(a * 255.0);
    if (alpha == 0) {
        return 0;
    }
    const TRgb& p = m_premul[i];
    return static_cast<std::uint32_t>(alpha) << 24 | static_cast<std::uint32_t>(ToByte(p.r / a)) << 16 |
           static_cast<std::uint32_t>(ToByte(p.g / a)) << 8 | static_cast<std::uint32_t>(ToByte(p.b / a));
}
