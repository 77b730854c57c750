#include "toolkit/graphics/JPEGImage.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/JpegCodec.h"

VARNEL_CLASS_INFO(TJPEGImage)

TJPEGImage::TJPEGImage() : m_bitmap(std::make_unique<TBitmap>()) {}

TJPEGImage::~TJPEGImage() = default;

void TJPEGImage::Assign(const TPersistent* source) {
    if (auto* jpeg = dynamic_cast<const TJPEGImage*>(source)) {
        if (jpeg != this) {
            m_data = jpeg->m_data;
            m_bitmap->Assign(jpeg->m_bitmap.get());
            m_transparent = jpeg->m_transparent;
            Changed();
        }
        return;
    }
    if (!source) {
        m_data.clear();
        m_bitmap->Assign(nullptr);
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

TStatus TJPEGImage::LoadFromBytes(std::span<const std::byte> data) {
    TPixelBuffer pixels;
    if (TStatus status = DecodeJpeg(data, pixels); !status) {
        return status;
    }
    m_data.assign(data.begin(), data.end());
    m_bitmap->Pixels() = std::move(pixels);
    m_bitmap->Modified();
    Changed();
    return TStatus::Ok();
}

TStatus TJPEGImage::SaveToBytes(std::vector<std::byte>& out) const {
    if (m_data.empty()) {
        return TStatus::Fail("an empty JPEG image has no file form");
    }
    out = m_data;
    return TStatus::Ok();
}

void TJPEGImage::Draw(TCanvas& canvas, const TRect& rect) const {
    canvas.StretchDraw(rect, m_bitmap.get());
}
