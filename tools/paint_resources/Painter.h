#pragma once

// A small anti-aliased painter for the built-in skin bitmaps.
//
// Sections:
//   1. Colours (TRgb) and deterministic trigonometry
//   2. Shapes: point-in-shape tests with a bounding box, combined by union, intersection, difference
//   3. Paints: solid colours and linear or radial gradients
//   4. TImage: premultiplied colour plus coverage, filled shape by shape, keyed or flattened at the end
//
// Coverage is sampled on a fixed 8 × 8 grid inside every pixel, so shape edges get 64 levels of
// anti-aliasing and edges that lie on pixel borders stay crisp; plain rectangles are covered
// exactly. Everything is plain double
// arithmetic with +, -, *, / and sqrt only (no library trigonometry), so the same bytes come out on
// every machine and at every optimisation level.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

// ---- 1. Colours -------------------------------------------------------------------------------

// A colour with channels from 0 to 255, kept in double until the image is written.
struct TRgb {
    double r = 0;
    double g = 0;
    double b = 0;
};

// From a 0xRRGGBB literal; the art is written in that order throughout this tool.
constexpr TRgb Hex(std::uint32_t rgb) {
    return {static_cast<double>((rgb >> 16) & 0xFF), static_cast<double>((rgb >> 8) & 0xFF),
            static_cast<double>(rgb & 0xFF)};
}

TRgb Mix(TRgb a, TRgb b, double t);   // a at t = 0, b at t = 1
TRgb Lighter(TRgb c, double t);       // towards white by t
TRgb Darker(TRgb c, double t);        // towards black by t
TRgb Greyed(TRgb c, TRgb background); // the washed-out colour of a disabled state

// The pure magenta that skin bitmaps use as their see-through key.
constexpr std::uint32_t kKeyPixel = 0xFF00FF;

double DetSin(double degrees);
double DetCos(double degrees);

// ---- 2. Shapes --------------------------------------------------------------------------------

struct TPt {
    double x = 0;
    double y = 0;
};

struct TBox {
    double x0 = 0;
    double y0 = 0;
    double x1 = 0;
    double y1 = 0;
};

// A region of the plane in pixel units: pixel (i, j) covers [i, i + 1) × [j, j + 1).
class TShape {
public:
    using TTest = std::function<bool(double, double)>;

    TShape() = default;
    TShape(TTest test, TBox bounds) : m_test(std::move(test)), m_bounds(bounds) {}

    // Points outside the bounds are answered without asking the test, which keeps unions of many
    // small parts cheap.
    bool Contains(double x, double y) const {
        return m_test && x >= m_bounds.x0 && x <= m_bounds.x1 && y >= m_bounds.y0 && y <= m_bounds.y1 &&
               m_test(x, y);
    }
    const TBox& Bounds() const { return m_bounds; }
    bool IsEmpty() const { return !m_test; }
    // True for a plain axis-aligned rectangle, whose coverage is worked out exactly.
    bool IsRectangle() const { return m_rectangle; }

private:
    friend TShape RectShape(double x0, double y0, double x1, double y1);

    TTest m_test;
    TBox m_bounds;
    bool m_rectangle = false;
};

TShape RectShape(double x0, double y0, double x1, double y1);
// A rectangle with quarter-circle corners of radius r (limited to half the shorter side).
TShape RoundRectShape(double x0, double y0, double x1, double y1, double r);
TShape EllipseShape(double cx, double cy, double rx, double ry);
TShape CircleShape(double cx, double cy, double r);
// Inside by the non-zero winding rule.
TShape PolygonShape(std::vector<TPt> points);
// A stroke of the given width with round ends.
TShape LineShape(TPt a, TPt b, double width);
TShape PolylineShape(const std::vector<TPt>& points, double width);
// A ring between radii r - width / 2 and r + width / 2.
TShape RingShape(double cx, double cy, double r, double width);
// Part of a ring from angle a0 to a1 in degrees (0 points right, angles turn clockwise on screen
// because y grows downwards), with round ends.
TShape ArcShape(double cx, double cy, double r, double width, double a0, double a1);

TShape Union(const TShape& a, const TShape& b);
TShape Union(std::initializer_list<TShape> shapes);
TShape Intersect(const TShape& a, const TShape& b);
TShape Subtract(const TShape& a, const TShape& b);
TShape Offset(const TShape& s, double dx, double dy);

// ---- 3. Paints --------------------------------------------------------------------------------

using TPaint = std::function<TRgb(double, double)>;

struct TStop {
    double at = 0; // 0..1 along the gradient
    TRgb color;
};

TPaint Solid(TRgb c);
// Colour stops along the line from a to b; beyond the ends the end colours continue.
TPaint LinearGradient(TPt a, TPt b, std::vector<TStop> stops);
// Shorthand for a top-to-bottom gradient between rows y0 and y1.
TPaint VerticalGradient(double y0, double y1, std::vector<TStop> stops);
TPaint HorizontalGradient(double x0, double x1, std::vector<TStop> stops);
// Stops by elliptic distance from the centre: 0 at the centre, 1 at radii (rx, ry).
TPaint RadialGradient(TPt centre, double rx, double ry, std::vector<TStop> stops);

// An opacity that varies over the plane, 0..1.
using TOpacity = std::function<double(double, double)>;

// Opacity a0 at row y0 fading linearly to a1 at row y1 (held beyond).
TOpacity VerticalFade(double y0, double y1, double a0, double a1);
TOpacity HorizontalFade(double x0, double x1, double a0, double a1);

// ---- 4. Images --------------------------------------------------------------------------------

class TImage {
public:
    TImage() = default;
    // A see-through image; `backdrop` is what anti-aliased edges blend towards when the image is
    // flattened, the colour it will be seen against.
    TImage(int width, int height, TRgb backdrop = Hex(0xFFFFFF));

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    TRgb Backdrop() const { return m_backdrop; }

    // Paints the shape over what is there, each pixel by the share of its samples inside.
    void Fill(const TShape& shape, const TPaint& paint, double opacity = 1.0);
    void Fill(const TShape& shape, TRgb color, double opacity = 1.0);
    void Fill(const TShape& shape, const TPaint& paint, const TOpacity& opacity);
    void Fill(const TShape& shape, TRgb color, const TOpacity& opacity);
    // Covers the whole image opaquely.
    void Clear(const TPaint& paint);
    void Clear(TRgb color);
    // Sets one pixel opaquely, for patterns that are drawn pixel by pixel.
    void SetPixel(int x, int y, TRgb color);
    // Paints src over this image with its top-left at (x, y), clipped to this image.
    void Draw(const TImage& src, int x, int y);
    // Makes pixels whose coverage is below `threshold` see-through (the magenta key): the art
    // keeps its anti-aliased edges blended towards the backdrop, and what lies beyond them is
    // left to whatever the bitmap is drawn on.
    void KeyOut(double threshold = 0.12);
    // The same, judged by the coverage of `art` instead of this image's own: for art that was drawn
    // over the very background it will be seen against, which is then keyed out around it.
    void KeyOutUncovered(const TImage& art, double threshold = 0.12);

    double Coverage(int x, int y) const { return m_alpha[Index(x, y)]; }
    // The pixel as written to a bitmap (0xRRGGBB): keyed pixels are magenta, the rest is the
    // colour flattened onto the backdrop, never the key itself.
    std::uint32_t Pixel(int x, int y) const;
    // The colour and coverage as an unpremultiplied 0xAARRGGBB value, for images with real alpha.
    std::uint32_t PixelWithAlpha(int x, int y) const;

private:
    int Index(int x, int y) const { return y * m_width + x; }
    void Blend(int index, TRgb color, double a);

    int m_width = 0;
    int m_height = 0;
    TRgb m_backdrop;
    std::vector<TRgb> m_premul;  // colour times coverage
    std::vector<double> m_alpha; // coverage 0..1
    std::vector<bool> m_keyed;   // true where KeyOut made the pixel see-through
};
