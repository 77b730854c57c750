#include "toolkit/graphics/ImageList.h"

#include "toolkit/components/Properties.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <algorithm>

VARNEL_CLASS_INFO(TImageList, [](auto& c) {
    c.Int("Height", &TImageList::Height, &TImageList::SetHeight).Default(16);
    c.Int("Width", &TImageList::Width, &TImageList::SetWidth).Default(16);
})

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}

TImageList::TImageList(int width, int height) : TComponent(nullptr) {
    m_width = std::clamp(width, 1, TPixelBuffer::kMaxSide);
    m_height = std::clamp(height, 1, TPixelBuffer::kMaxSide);
}

void TImageList::Changed() {
    if (OnChange) {
        OnChange(this);
    }
}

void TImageList::SetWidth(int width) {
    width = std::clamp(width, 1, TPixelBuffer::kMaxSide);
    if (width != m_width) {
        m_width = width;
        m_images.clear();
        Changed();
    }
}

void TImageList::SetHeight(int height) {
    height = std::clamp(height, 1, TPixelBuffer::kMaxSide);
    if (height != m_height) {
        m_height = height;
        m_images.clear();
        Changed();
    }
}

template <typename Transparent>
int TImageList::AddCut(const TBitmap* image, Transparent transparent) {
    if (!image || image->Empty()) {
        return -1;
    }
    const TPixelBuffer& source = image->Pixels();
    const int count = std::max(1, source.Width() / m_width);
    const int first = Count();
    for (int i = 0; i < count; ++i) {
        TImage cut;
        cut.Pixels.Reset(m_width, m_height, 0xFFFFFF);
        cut.Alpha.assign(static_cast<std::size_t>(m_width) * m_height, 0);
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                const int sx = i * m_width + x;
                if (!source.Contains(sx, y) || transparent(sx, y)) {
                    continue;
                }
                cut.Pixels.Row(y)[x] = source.Row(y)[sx];
                cut.Alpha[static_cast<std::size_t>(y) * m_width + x] = 255;
            }
        }
        m_images.push_back(std::move(cut));
    }
    Changed();
    return first;
}

int TImageList::Add(const TBitmap* image, const TBitmap* mask) {
    return AddCut(image, [mask](int x, int y) {
        return mask && mask->Pixels().Contains(x, y) && mask->Pixels().Row(y)[x] != 0;
    });
}

int TImageList::AddMasked(const TBitmap* image, TColor maskColor) {
    if (!image) {
        return -1;
    }
    const std::uint32_t key = ColorToPixel(maskColor == clDefault ? image->TransparentColor() : maskColor);
    const TPixelBuffer& source = image->Pixels();
    return AddCut(image, [&source, key](int x, int y) { return source.Row(y)[x] == key; });
}

void TImageList::Delete(int index) {
    if (index >= 0 && index < Count()) {
        m_images.erase(m_images.begin() + index);
        Changed();
    }
}

void TImageList::Clear() {
    if (!m_images.empty()) {
        m_images.clear();
        Changed();
    }
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
    if (!canvas || index < 0 || index >= Count()) {
        return;
    }
    HDC dc = canvas->Handle();
    if (!dc) {
        return;
    }
    const TImage& image = m_images[static_cast<std::size_t>(index)];
    if (enabled) {
        dc->DrawImage(x, y, image.Pixels, image.Alpha);
        return;
    }
    std::vector<std::uint8_t> shape(image.Alpha.size(), 0);
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (image.Alpha[i] != 0 && image.Pixels.Pixels()[i] != 0xFFFFFF) {
            shape[i] = 255;
        }
    }
    TPixelBuffer highlight(m_width, m_height, ColorToPixel(clBtnHighlight));
    TPixelBuffer shadow(m_width, m_height, ColorToPixel(clBtnShadow));
    dc->DrawImage(x + 1, y + 1, highlight, shape);
    dc->DrawImage(x, y, shadow, shape);
}

bool TImageList::GetBitmap(int index, TBitmap* image) const {
    if (!image || index < 0 || index >= Count()) {
        return false;
    }
    const TImage& source = m_images[static_cast<std::size_t>(index)];
    TPixelBuffer pixels(m_width, m_height, 0xFFFFFF);
    for (std::size_t i = 0; i < source.Alpha.size(); ++i) {
        if (source.Alpha[i] != 0) {
            pixels.Pixels()[i] = source.Pixels.Pixels()[i];
        }
    }
    image->Pixels() = std::move(pixels);
    image->Modified();
    return true;
}
