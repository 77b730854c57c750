#pragma once

#include "toolkit/graphics/GdiObjects.h"
#include "toolkit/graphics/PixelBuffer.h"
#include "toolkit/graphics/Region.h"
#include "toolkit/graphics/Types.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Polygon fill modes.
constexpr int ALTERNATE = 1;
constexpr int WINDING = 2;

// Raster operations: the classic ternary codes. The high word's low byte is the truth table
// over pattern (0xF0), source (0xCC) and destination (0xAA); every one of the 256 works.
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t SRCPAINT = 0x00EE0086;
constexpr std::uint32_t SRCAND = 0x008800C6;
constexpr std::uint32_t SRCINVERT = 0x00660046;
constexpr std::uint32_t SRCERASE = 0x00440328;
constexpr std::uint32_t NOTSRCCOPY = 0x00330008;
constexpr std::uint32_t NOTSRCERASE = 0x001100A6;
constexpr std::uint32_t MERGECOPY = 0x00C000CA;
constexpr std::uint32_t MERGEPAINT = 0x00BB0226;
constexpr std::uint32_t PATCOPY = 0x00F00021;
constexpr std::uint32_t PATPAINT = 0x00FB0A09;
constexpr std::uint32_t PATINVERT = 0x005A0049;
constexpr std::uint32_t DSTINVERT = 0x00550009;
constexpr std::uint32_t BLACKNESS = 0x00000042;
constexpr std::uint32_t WHITENESS = 0x00FF0062;

// GetPixel's answer outside the visible part.
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// ExtTextOut options.
constexpr unsigned ETO_OPAQUE = 0x0002;
constexpr unsigned ETO_CLIPPED = 0x0004;

// DrawText formats.
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;
constexpr unsigned DT_HIDEPREFIX = 0x00100000;

// A drawing surface: a pixel buffer plus everything that says where and how to draw on it.
//
// Coordinates come in two layers. The context's creator (a bitmap, or the windowing layer when
// a window paints into its top-level surface) sets a device origin, where logical (0, 0) lies in
// the buffer before any viewport shift, and a system clip region in buffer pixels; SaveDC,
// RestoreDC and the clip calls never change either. On top of that the program keeps its own
// viewport and window origins and its own clip region (given in logical coordinates when it is
// set, kept relative to the device origin), which SaveDC and RestoreDC save and restore together
// with the selected objects, colours and the current position.
//
// A logical point p lands at buffer point p - windowOrg + viewportOrg + deviceOrigin. What is
// drawn is clipped to the system clip, the program's clip and the buffer.
//
// The file is an engine: state and coordinates, clipping, then the primitives (fills, lines and
// shapes, blits, text in DeviceContextText.cpp).
class TDeviceContext {
public:
    explicit TDeviceContext(TPixelBuffer* target = nullptr);
    ~TDeviceContext();
    TDeviceContext(const TDeviceContext&) = delete;
    TDeviceContext& operator=(const TDeviceContext&) = delete;

    // ---- Set up by the creator ----
    TPixelBuffer* Target() const { return m_target; }
    void SetTarget(TPixelBuffer* target);
    TPoint DeviceOrigin() const { return m_deviceOrigin; }
    void SetDeviceOrigin(TPoint origin);
    // In buffer pixels; none means the whole buffer.
    void SetSystemClip(std::optional<TRegion> region);
    const std::optional<TRegion>& SystemClip() const { return m_systemClip; }
    // Memory contexts (CreateCompatibleDC) draw into the bitmap selected into them.
    bool IsMemoryDC() const { return m_memory; }
    void MakeMemoryDC();
    HBITMAP SelectBitmap(HBITMAP bitmap);

    // ---- Saved state ----
    int Save();
    // A positive level restores that save (and drops it and the later ones); a negative one
    // counts back from the latest (-1 is the latest). False when there is no such save.
    bool Restore(int level);
    int SaveLevel() const { return static_cast<int>(m_saved.size()); }

    TPoint ViewportOrg() const { return m_state.ViewportOrg; }
    void SetViewportOrg(TPoint origin);
    TPoint WindowOrg() const { return m_state.WindowOrg; }
    void SetWindowOrg(TPoint origin);

    // The program's clip. mode is RGN_COPY (replace; no region removes the clip), RGN_AND,
    // RGN_OR, RGN_XOR or RGN_DIFF (combined with the current clip, the whole surface when none).
    // Returns the complexity of the resulting visible region, ERROR for a bad mode.
    int SelectClip(const TRegion* logical, int mode);
    int IntersectClip(const TRect& logical);
    int ExcludeClip(const TRect& logical);
    // The bounding box of the visible region in logical coordinates; its complexity.
    int ClipBox(TRect& logical) const;
    // The program's own clip in logical coordinates, if it has one.
    std::optional<TRegion> ProgramClip() const;
    bool PtVisible(int x, int y) const;
    bool RectVisible(const TRect& logical) const;

    // ---- Selected objects and attributes ----
    HPEN SelectPen(HPEN handle, const TPenData& pen);
    HBRUSH SelectBrush(HBRUSH handle, const TBrushData& brush);
    HFONT SelectFont(HFONT handle, const TFontData& font);
    HPEN CurrentPen() const { return m_state.PenHandle; }
    HBRUSH CurrentBrush() const { return m_state.BrushHandle; }
    HFONT CurrentFont() const { return m_state.FontHandle; }
    HBITMAP CurrentBitmap() const { return m_bitmap; }
    const TPenData& Pen() const { return m_state.Pen; }
    const TBrushData& Brush() const { return m_state.Brush; }
    const TFontData& Font() const { return m_state.Font; }

    COLORREF TextColor() const { return m_state.TextColor; }
    COLORREF SetTextColor(COLORREF color);
    COLORREF BkColor() const { return m_state.BkColor; }
    COLORREF SetBkColor(COLORREF color);
    int BkMode() const { return m_state.BkMode; }
    int SetBkMode(int mode);
    int PolyFillMode() const { return m_state.PolyFillMode; }
    int SetPolyFillMode(int mode);
    // Where brush patterns are anchored, relative to the device origin.
    TPoint BrushOrg() const { return m_state.BrushOrg; }
    TPoint SetBrushOrg(TPoint origin);
    TPoint CurrentPosition() const { return m_state.Position; }
    TPoint MoveTo(TPoint p);

    // ---- Drawing, in logical coordinates ----
    void FillRect(const TRect& rect, const TBrushData& brush);
    // A one-pixel frame just inside rect, painted with brush.
    void FrameRect(const TRect& rect, const TBrushData& brush);
    void InvertRect(const TRect& rect);
    void FillRegion(const TRegion& logical, const TBrushData& brush);
    void FrameRegion(const TRegion& logical, const TBrushData& brush, int width, int height);
    // Combines the selected brush with the destination by rop (pattern and destination only).
    bool PatBlt(int x, int y, int width, int height, std::uint32_t rop);

    // Lines from the current position, which moves to the end; the end pixel is not drawn.
    void LineTo(TPoint p);
    void Polyline(std::span<const TPoint> points);
    // Shapes are filled with the selected brush and outlined with the selected pen; the outline
    // lies inside the given rectangle, whose right and bottom edges are exclusive.
    void Rectangle(const TRect& rect);
    void RoundRect(const TRect& rect, int ellipseWidth, int ellipseHeight);
    void Ellipse(const TRect& rect);
    // Filled by the poly-fill mode over pixel centres, outlined by lines through the points.
    void Polygon(std::span<const TPoint> points);

    COLORREF SetPixel(int x, int y, COLORREF color);
    COLORREF GetPixel(int x, int y) const;

    // Copies from source (a context over any buffer, possibly this one) through rop. Only
    // source pixels inside the source buffer take part.
    bool BitBlt(int x, int y, int width, int height, const TDeviceContext* source, int sx, int sy,
                std::uint32_t rop);
    // Nearest-neighbour scaling: destination pixel i of a run of n takes source pixel
    // (2i + 1) * m / (2n) of a run of m. Negative sizes mirror, as classic.
    bool StretchBlt(int x, int y, int width, int height, const TDeviceContext* source, int sx, int sy,
                    int sourceWidth, int sourceHeight, std::uint32_t rop);
    // As StretchBlt with SRCCOPY, leaving out source pixels of the key colour.
    bool TransparentBlt(int x, int y, int width, int height, const TDeviceContext* source, int sx, int sy,
                        int sourceWidth, int sourceHeight, COLORREF key);
    // Blends an image with an 8-bit alpha per pixel (alpha.size() == image pixel count), or
    // copies it when alpha is empty; the whole image lands at (x, y).
    void DrawImage(int x, int y, const TPixelBuffer& image, std::span<const std::uint8_t> alpha);

    // The dotted rectangle of keyboard focus: every other pixel of the one-pixel frame inverted,
    // so drawing it twice restores what was there.
    void DrawFocusRect(const TRect& rect);

    // ---- Text (DeviceContextText.cpp), UTF-8 ----
    bool ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text);
    bool TextOut(int x, int y, std::string_view text) { return ExtTextOut(x, y, 0, nullptr, text); }
    TSize TextExtent(std::string_view text) const;
    TFontMetrics TextMetrics() const;
    // Classic DrawText; rect is updated only with DT_CALCRECT (right and bottom set to fit the
    // text). Lines end at CR, LF or CR LF unless DT_SINGLELINE; DT_WORDBREAK wraps at spaces
    // and keeps a word too wide for the rectangle whole; DT_VCENTER and DT_BOTTOM apply to a
    // single line, as classic. Returns the height of the text, or with DT_VCENTER / DT_BOTTOM
    // the distance from rect's top to the bottom of the text.
    int DrawText(std::string_view text, TRect& rect, unsigned format);

    // ---- For the drawing code: buffer coordinates and the visible region ----
    TPoint ToBuffer(TPoint logical) const;
    TRect ToBuffer(const TRect& logical) const;
    // System clip ∩ program clip ∩ buffer, in buffer pixels.
    const TRegion& VisibleRegion() const;

private:
    struct TState {
        TPoint ViewportOrg;
        TPoint WindowOrg;
        std::optional<TRegion> Clip; // relative to the device origin
        TPenData Pen;
        HPEN PenHandle = nullptr;
        TBrushData Brush;
        HBRUSH BrushHandle = nullptr;
        TFontData Font;
        HFONT FontHandle = nullptr;
        COLORREF TextColor = 0x000000;
        COLORREF BkColor = 0xFFFFFF;
        int BkMode = OPAQUE;
        int PolyFillMode = ALTERNATE;
        TPoint Position;
        TPoint BrushOrg;
    };

    // The shift from logical to device-origin-relative coordinates.
    TPoint Shift() const;
    void InvalidateClip() { m_visibleValid = false; }
    int VisibleComplexity() const { return VisibleRegion().Complexity(); }

    // Painting in buffer coordinates, clipped to the visible region.
    void PaintRect(const TRect& bufferRect, const TBrushData& brush, std::uint8_t rop3);
    void PaintRegion(const TRegion& bufferRegion, const TBrushData& brush, std::uint8_t rop3);
    void PaintSolidRegion(const TRegion& bufferRegion, std::uint32_t pixel);
    void PlotLine(TPoint from, TPoint to, const TPenData& pen, bool lastPixel);
    void OutlineShape(const TRegion& shape, const TRect& bufferRect);
    void StretchRows(int x, int y, int width, int height, const TDeviceContext& source, int sx, int sy,
                     int sourceWidth, int sourceHeight, std::uint8_t rop3, const std::uint32_t* key);
    // Draws the selected font's glyphs and lines for text at buffer point origin (the cell's top
    // left), clipped to the visible region and to clip when given.
    void PaintText(TPoint origin, std::string_view text, const TFontMetrics& metrics, int width,
                   const TRect* clip);

    TPixelBuffer* m_target = nullptr;
    TPoint m_deviceOrigin;
    std::optional<TRegion> m_systemClip;
    bool m_memory = false;
    HBITMAP m_bitmap = nullptr;                    // selected into a memory context
    std::shared_ptr<TPixelBuffer> m_bitmapPixels;  // keeps that bitmap's pixels alive
    std::unique_ptr<TPixelBuffer> m_defaultPixels; // the 1 × 1 surface of a new memory context

    TState m_state;
    std::vector<TState> m_saved;

    mutable TRegion m_visible;
    mutable bool m_visibleValid = false;
    mutable TRect m_visibleForBuffer; // the buffer size m_visible was computed for
};
