#pragma once

#include "toolkit/components/Component.h"
#include "toolkit/graphics/Color.h"
#include "toolkit/graphics/PixelBuffer.h"

#include <cstdint>
#include <vector>

class TBitmap;
class TCanvas;

// Images of one size, each with its own transparency, drawn enabled or greyed.
class TImageList : public TComponent {
    VARNEL_CLASS(TImageList, TComponent)

public:
    explicit TImageList(TComponent* owner = nullptr);
    TImageList(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Changing the size removes every image, as classic.
    void SetWidth(int width);
    void SetHeight(int height);
    int Count() const { return static_cast<int>(m_images.size()); }

    // Adds the image, cut into as many images as it is Width() wide (at least one); where mask
    // is not black the images are transparent. Parts of an image outside the bitmap are
    // transparent. Returns the index of the first image added, or -1 when nothing was added.
    int Add(const TBitmap* image, const TBitmap* mask);
    // The same with the pixels of maskColor transparent (clDefault: the image's own
    // transparent colour, its bottom-left pixel unless fixed).
    int AddMasked(const TBitmap* image, TColor maskColor);
    void Delete(int index);
    void Clear();

    // Draws image index with its top-left at (x, y). A disabled image is drawn greyed, the
    // classic way: every opaque pixel that is not white becomes a shadow, with a highlight one
    // pixel down and to the right under it. Out-of-range indexes draw nothing.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;
    // Copies image index (transparent parts white) into image; false for a bad index.
    bool GetBitmap(int index, TBitmap* image) const;

    TNotifyEvent OnChange;

private:
    struct TImage {
        TPixelBuffer Pixels;
        std::vector<std::uint8_t> Alpha; // 0 transparent, 255 opaque
    };

    template <typename Transparent>
    int AddCut(const TBitmap* image, Transparent transparent);
    void Changed();

    int m_width = 16;
    int m_height = 16;
    std::vector<TImage> m_images;
};
