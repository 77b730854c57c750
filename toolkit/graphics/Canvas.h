#pragma once

#include "toolkit/components/Persistent.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/DeviceContext.h"
#include "toolkit/graphics/Font.h"
#include "toolkit/graphics/Types.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

class TBitmap;
class TGraphic;

enum TPenStyle : std::uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
inline constexpr std::string_view kPenStyleNames[] = {"psSolid",      "psDash",  "psDot",        "psDashDot",
                                                      "psDashDotDot", "psClear", "psInsideFrame"};
inline constexpr TEnumInfo PenStyleInfo{"TPenStyle", kPenStyleNames};

enum TBrushStyle : std::uint8_t { bsSolid, bsClear };
inline constexpr std::string_view kBrushStyleNames[] = {"bsSolid", "bsClear"};
inline constexpr TEnumInfo BrushStyleInfo{"TBrushStyle", kBrushStyleNames};

// Copy modes of CopyRect and of drawing bitmaps: the raster operations themselves.
using TCopyMode = std::uint32_t;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmWhiteness = WHITENESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;

// A pen as a canvas holds it. Its handle is made when first asked for and remade after a change.
// Publishes Color, Style and Width, stored where they differ from a new pen's.
class TPen : public TPersistent {
    VARNEL_CLASS(TPen, TPersistent)

public:
    TPen() = default;
    ~TPen() override;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    int Width() const { return m_width; }
    void SetWidth(int width); // below 1 counts as 1
    TPenStyle Style() const { return m_style; }
    void SetStyle(TPenStyle style);

    HPEN Handle();
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor m_color = clBlack;
    int m_width = 1;
    TPenStyle m_style = psSolid;
    HPEN m_handle = nullptr;
};

// A brush as a canvas holds it: a solid colour, nothing (bsClear), or a pattern. The pattern
// is the brush's own copy of the bitmap it was given (its top-left 8 × 8 pixels are used), so
// the caller's bitmap may go away; while a pattern is set it wins over colour and style.
// Publishes Color and Style, stored where they differ from a new brush's; the pattern is not
// published.
class TBrush : public TPersistent {
    VARNEL_CLASS(TBrush, TPersistent)

public:
    TBrush();
    ~TBrush() override;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    TBrushStyle Style() const { return m_style; }
    void SetStyle(TBrushStyle style);
    // The pattern, or none.
    TBitmap* Bitmap() const { return m_bitmap.get(); }
    // Copies bitmap as the pattern; none (or an empty bitmap) removes the pattern.
    void SetBitmap(const TBitmap* bitmap);

    HBRUSH Handle();
    void Assign(const TPersistent* source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor m_color = clWhite;
    TBrushStyle m_style = bsSolid;
    std::unique_ptr<TBitmap> m_bitmap;
    HBRUSH m_handle = nullptr;
};

// Drawing with a pen, a brush and a font on a device context. Handle() first applies to the
// context whatever changed on the canvas since it was last applied (the pen, brush and font
// selected; the text colour with the font; background colour and mode with the brush: opaque
// for a solid brush, transparent for a clear one), so classic calls made on Canvas.Handle() see
// what the canvas shows, and what they set on the handle themselves stays until the canvas's
// own objects change. Without a context nothing is drawn.
class TCanvas : public TPersistent {
    VARNEL_CLASS(TCanvas, TPersistent)

public:
    TCanvas();
    explicit TCanvas(HDC dc);
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The context, made by CreateHandle when there is none, and up to date with the canvas.
    HDC Handle();
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return m_dc != nullptr; }

    TPen* Pen() { return &m_pen; }
    TBrush* Brush() { return &m_brush; }
    TFont* Font() { return &m_font; }
    void SetPen(const TPen* pen) { m_pen.Assign(pen); }
    void SetBrush(const TBrush* brush) { m_brush.Assign(brush); }
    void SetFont(const TFont* font) { m_font.Assign(font); }
    TCopyMode CopyMode() const { return m_copyMode; }
    void SetCopyMode(TCopyMode mode) { m_copyMode = mode; }

    TPoint PenPos();
    void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& rect) { Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    // Fills with the brush, without outline.
    void FillRect(const TRect& rect);
    // A one-pixel frame in the brush's colour.
    void FrameRect(const TRect& rect);
    void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& rect) { Ellipse(rect.Left, rect.Top, rect.Right, rect.Bottom); }
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    void DrawFocusRect(const TRect& rect);

    // Text is UTF-8. TextOut moves the pen position to the end of the text.
    void TextOut(int x, int y, std::string_view text);
    // Text at (x, y) clipped to rect, which a solid brush fills first.
    void TextRect(const TRect& rect, int x, int y, std::string_view text);
    TSize TextExtent(std::string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    // Draws a graphic unscaled at (x, y), honouring its transparency.
    void Draw(int x, int y, const TGraphic* graphic);
    // Draws a graphic scaled into rect (nearest neighbour).
    void StretchDraw(const TRect& rect, const TGraphic* graphic);
    // Copies (scaling when the sizes differ) source's sourceRect into dest through CopyMode.
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);

    // The colour of a pixel; -1 (CLR_INVALID) outside the visible part.
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    // The visible part in logical coordinates.
    TRect ClipRect();

protected:
    // Called by Handle() when there is no context yet; subclasses that make contexts on
    // demand (a control's canvas) override it and call SetHandle.
    virtual void CreateHandle() {}

private:
    // Selects the canvas's objects and colours into the context where they differ.
    void RequireState();

    HDC m_dc = nullptr;
    TPen m_pen;
    TBrush m_brush;
    TFont m_font;
    TCopyMode m_copyMode = cmSrcCopy;
    HFONT m_fontHandle = nullptr;
    TFontRequest m_fontHandleRequest; // what m_fontHandle was made for
    TFontCharset m_fontHandleCharset = DEFAULT_CHARSET;
    // What was last applied to the context; none after a new context is set.
    HPEN m_appliedPen = nullptr;
    HBRUSH m_appliedBrush = nullptr;
    HFONT m_appliedFont = nullptr;
    TColor m_appliedFontColor = clNone;
};
