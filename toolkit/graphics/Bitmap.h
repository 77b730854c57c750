#pragma once

#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/DeviceContext.h"
#include "toolkit/graphics/Graphic.h"
#include "toolkit/graphics/PixelBuffer.h"

#include <cstdint>
#include <memory>
#include <string_view>

class TCanvas;
class TStream;

// Kept as a property for code that sets it; storage is always 32 bits per pixel.
enum TPixelFormat : std::uint8_t {
    pfDevice,
    pf1bit,
    pf4bit,
    pf8bit,
    pf15bit,
    pf16bit,
    pf24bit,
    pf32bit,
    pfCustom
};

// tmAuto takes the transparent colour from the bottom-left pixel; tmFixed uses the colour set.
enum TTransparentMode : std::uint8_t { tmAuto, tmFixed };

// A picture in memory that can be drawn on through its canvas. Loads and saves BMP data.
class TBitmap : public TGraphic {
    VARNEL_CLASS(TBitmap, TGraphic)

public:
    TBitmap();
    TBitmap(int width, int height);
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    bool Empty() const override { return m_pixels->Empty(); }
    int Width() const override { return m_pixels->Width(); }
    int Height() const override { return m_pixels->Height(); }
    void SetWidth(int width) override { SetSize(width, Height()); }
    void SetHeight(int height) override { SetSize(Width(), height); }
    // Keeps the common top-left part; new pixels take the canvas's brush colour, as classic.
    // Sizes are clamped to what a pixel buffer allows.
    void SetSize(int width, int height);

    TPixelFormat PixelFormat() const { return m_pixelFormat; }
    void SetPixelFormat(TPixelFormat format) { m_pixelFormat = format; }

    TCanvas* Canvas();
    // A handle over the bitmap's own pixels, for the classic calls (CreatePatternBrush,
    // selecting into a memory context). It lives as long as the bitmap.
    HBITMAP Handle();

    // The colour left out when the bitmap is drawn with Transparent set.
    TColor TransparentColor() const;
    // Setting a colour fixes it (tmFixed); clDefault returns to the bottom-left pixel (tmAuto).
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return m_transparentMode; }
    void SetTransparentMode(TTransparentMode mode);

    // Direct access to the pixels (0x00RRGGBB) for the drawing helpers. ScanLine answers
    // nullptr for a row outside the bitmap.
    std::uint32_t* ScanLine(int y);
    const std::uint32_t* ScanLine(int y) const;
    TPixelBuffer& Pixels() { return *m_pixels; }
    const TPixelBuffer& Pixels() const { return *m_pixels; }
    // The context the canvas draws through; also the source for copying from the bitmap.
    TDeviceContext& DeviceContext() const { return *m_dc; }

    // Copies a bitmap (pixels, transparency, format), or draws any other graphic onto a
    // bitmap of its size; none empties the bitmap.
    void Assign(const TPersistent* source) override;

    TStatus LoadFromBytes(std::span<const std::byte> data) override;
    TStatus SaveToBytes(std::vector<std::byte>& out) const override;

    // Tells the bitmap that its pixels were changed directly (through ScanLine or Pixels).
    void Modified() { Changed(); }

    // Layout data: the bitmap's BMP file bytes (`Glyph.Data = { ... }`), read and written the
    // way a picture's are. Empty data empties the bitmap; data that is no BMP is an error and
    // leaves the bitmap as it was.
    TStatus ReadData(TStream& stream);
    void WriteData(TStream& stream) const;
    bool HasData() const { return !Empty(); }

protected:
    void Draw(TCanvas& canvas, const TRect& rect) const override;

private:
    std::shared_ptr<TPixelBuffer> m_pixels;
    std::unique_ptr<TDeviceContext> m_dc;
    std::unique_ptr<TCanvas> m_canvas;
    HBITMAP m_handle = nullptr;
    TPixelFormat m_pixelFormat = pfDevice;
    TTransparentMode m_transparentMode = tmAuto;
    TColor m_transparentColor = clDefault; // for tmFixed
};
