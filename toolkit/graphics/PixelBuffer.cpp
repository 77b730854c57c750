#include "toolkit/graphics/PixelBuffer.h"

#include <algorithm>
#include <cstring>

namespace {

void ClampSize(int& width, int& height) {
    width = std::clamp(width, 0, TPixelBuffer::kMaxSide);
    height = std::clamp(height, 0, TPixelBuffer::kMaxSide);
    if (width > 0 && static_cast<long long>(width) * height > TPixelBuffer::kMaxPixels) {
        height = TPixelBuffer::kMaxPixels / width;
    }
}

} // namespace

TPixelBuffer::TPixelBuffer(int width, int height, std::uint32_t fill) {
    Reset(width, height, fill);
}

void TPixelBuffer::Resize(int width, int height, std::uint32_t fill) {
    ClampSize(width, height);
    if (width == m_width && height == m_height) {
        return;
    }
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, fill);
    int keepW = std::min(width, m_width);
    int keepH = std::min(height, m_height);
    for (int y = 0; keepW > 0 && y < keepH; ++y) {
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * width, Row(y),
                    static_cast<std::size_t>(keepW) * sizeof(std::uint32_t));
    }
    m_pixels = std::move(pixels);
    m_width = width;
    m_height = height;
}

void TPixelBuffer::Reset(int width, int height, std::uint32_t fill) {
    ClampSize(width, height);
    m_width = width;
    m_height = height;
    m_pixels.assign(static_cast<std::size_t>(m_width) * m_height, fill);
}

void TPixelBuffer::Fill(std::uint32_t pixel) {
    std::fill(m_pixels.begin(), m_pixels.end(), pixel);
}

std::uint32_t TPixelBuffer::At(int x, int y) const {
    return Contains(x, y) ? Row(y)[x] : 0;
}

void TPixelBuffer::Set(int x, int y, std::uint32_t pixel) {
    if (Contains(x, y)) {
        Row(y)[x] = pixel;
    }
}
