#include "toolkit/graphics/Icon.h"

#include "toolkit/graphics/Canvas.h"

VARNEL_CLASS_INFO(TIcon)

TIcon::TIcon() {
    m_transparent = true;
}

void TIcon::SetSize(int width, int height) {
    if (width == m_width && height == m_height) {
        return;
    }
    if (width <= 0 || height <= 0 || width > 256 || height > 256) {
        return;
    }
    TIconImage image;
    if (!m_data.empty() && !DecodeIcon(m_data, width, height, image)) {
        return; // a size the file cannot give keeps the one in use
    }
    m_width = width;
    m_height = height;
    m_image = std::move(image);
    Changed();
}

void TIcon::Assign(const TPersistent* source) {
    if (auto* icon = dynamic_cast<const TIcon*>(source)) {
        if (icon != this) {
            m_width = icon->m_width;
            m_height = icon->m_height;
            m_data = icon->m_data;
            m_image = icon->m_image;
            Changed();
        }
        return;
    }
    if (!source) {
        m_data.clear();
        m_image = {};
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

TStatus TIcon::LoadFromBytes(std::span<const std::byte> data) {
    TIconImage image;
    if (TStatus status = DecodeIcon(data, m_width, m_height, image); !status) {
        return status;
    }
    m_data.assign(data.begin(), data.end());
    m_image = std::move(image);
    Changed();
    return TStatus::Ok();
}

TStatus TIcon::SaveToBytes(std::vector<std::byte>& out) const {
    if (m_data.empty()) {
        return TStatus::Fail("an empty icon has no file form");
    }
    out = m_data;
    return TStatus::Ok();
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) const {
    HDC dc = canvas.Handle();
    if (!dc || rect.IsEmpty()) {
        return;
    }
    // Drawn at another size than its own, the icon is scaled like any picture.
    const TIconImage* image = &m_image;
    TIconImage scaled;
    if (rect.Width() != m_width || rect.Height() != m_height) {
        if (!DecodeIcon(m_data, std::min(rect.Width(), 256), std::min(rect.Height(), 256), scaled)) {
            return;
        }
        image = &scaled;
    }
    dc->DrawImage(rect.Left, rect.Top, image->Pixels, image->Alpha);
}
