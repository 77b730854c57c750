#include "toolkit/graphics/Bitmap.h"

#include "toolkit/components/Properties.h"
#include "toolkit/components/Streams.h"
#include "toolkit/graphics/BmpCodec.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/Gdi.h"

VARNEL_CLASS_INFO(TBitmap, [](auto& c) {
    c.BinaryData("Data", &TBitmap::ReadData, &TBitmap::WriteData, &TBitmap::HasData);
})

namespace {

// The pixel format a BMP file declares, so that code reading PixelFormat after loading sees
// what the file held (the pixels themselves are stored in 32 bits whatever it says).
TPixelFormat DeclaredFormat(std::span<const std::byte> data) {
    if (data.size() < 30) {
        return pfDevice;
    }
    const bool core = std::to_integer<unsigned>(data[14]) == 12;
    const std::size_t at = core ? 24 : 28;
    switch (std::to_integer<unsigned>(data[at])) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 16:
        return pf16bit;
    case 24:
        return pf24bit;
    case 32:
        return pf32bit;
    default:
        return pfCustom;
    }
}

} // namespace

TBitmap::TBitmap()
    : m_pixels(std::make_shared<TPixelBuffer>()), m_dc(std::make_unique<TDeviceContext>(m_pixels.get())) {}

TBitmap::TBitmap(int width, int height) : TBitmap() {
    m_pixels->Reset(width, height, 0xFFFFFF);
}

TBitmap::~TBitmap() {
    m_canvas.reset();
    // A memory context may still hold the handle; the pixels then go when it lets go.
    if (m_handle) {
        gdi::Delete(m_handle, true);
    }
}

void TBitmap::SetSize(int width, int height) {
    if (width == Width() && height == Height()) {
        return;
    }
    std::uint32_t fill = m_canvas ? ColorToPixel(m_canvas->Brush()->Color()) : 0xFFFFFF;
    m_pixels->Resize(width, height, fill);
    Changed();
}

TCanvas* TBitmap::Canvas() {
    if (!m_canvas) {
        m_canvas = std::make_unique<TCanvas>(m_dc.get());
    }
    return m_canvas.get();
}

HBITMAP TBitmap::Handle() {
    if (!m_handle) {
        m_handle = CreateBitmapOver(m_pixels);
    }
    return m_handle;
}

TColor TBitmap::TransparentColor() const {
    if (m_transparentMode == tmFixed) {
        return m_transparentColor;
    }
    if (Empty()) {
        return clDefault;
    }
    return PixelToColor(m_pixels->At(0, Height() - 1));
}

void TBitmap::SetTransparentColor(TColor color) {
    TTransparentMode mode = color == clDefault ? tmAuto : tmFixed;
    if (mode == m_transparentMode && color == m_transparentColor) {
        return;
    }
    m_transparentMode = mode;
    m_transparentColor = color;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == m_transparentMode) {
        return;
    }
    if (mode == tmFixed && m_transparentColor == clDefault) {
        // Fixing the colour keeps the one in use.
        m_transparentColor = TransparentColor();
    }
    m_transparentMode = mode;
    Changed();
}

std::uint32_t* TBitmap::ScanLine(int y) {
    return y >= 0 && y < Height() ? m_pixels->Row(y) : nullptr;
}

const std::uint32_t* TBitmap::ScanLine(int y) const {
    return y >= 0 && y < Height() ? m_pixels->Row(y) : nullptr;
}

void TBitmap::Assign(const TPersistent* source) {
    if (source == this) {
        return;
    }
    if (!source) {
        m_pixels->Reset(0, 0);
        Changed();
        return;
    }
    if (auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        // Copy into the existing buffer: contexts and handles keep pointing at it.
        *m_pixels = *bitmap->m_pixels;
        m_pixelFormat = bitmap->m_pixelFormat;
        m_transparentMode = bitmap->m_transparentMode;
        m_transparentColor = bitmap->m_transparentColor;
        m_transparent = bitmap->Transparent();
        Changed();
        return;
    }
    if (auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        m_pixels->Reset(graphic->Width(), graphic->Height(), 0xFFFFFF);
        Canvas()->Draw(0, 0, graphic);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

TStatus TBitmap::LoadFromBytes(std::span<const std::byte> data) {
    TPixelBuffer decoded;
    if (TStatus status = DecodeBmp(data, decoded); !status) {
        return status;
    }
    *m_pixels = std::move(decoded);
    m_pixelFormat = DeclaredFormat(data);
    Changed();
    return TStatus::Ok();
}

TStatus TBitmap::SaveToBytes(std::vector<std::byte>& out) const {
    return EncodeBmp(*m_pixels, out);
}

TStatus TBitmap::ReadData(TStream& stream) {
    std::vector<std::byte> bytes = stream.ReadAll(static_cast<std::size_t>(TMemoryStream::kMaxSize));
    if (bytes.empty()) {
        Assign(nullptr);
        return TStatus::Ok();
    }
    return LoadFromBytes(bytes);
}

void TBitmap::WriteData(TStream& stream) const {
    std::vector<std::byte> bytes;
    if (SaveToBytes(bytes)) {
        stream.WriteBuffer(bytes);
    }
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) const {
    HDC dc = canvas.Handle();
    if (Transparent()) {
        ::TransparentBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), m_dc.get(), 0, 0, Width(),
                         Height(), static_cast<COLORREF>(ColorToRGB(TransparentColor())));
    } else {
        ::StretchBlt(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), m_dc.get(), 0, 0, Width(),
                     Height(), canvas.CopyMode());
    }
}
