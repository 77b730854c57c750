#pragma once

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Graphic.h"

#include <memory>

// A JPEG picture: the file's bytes, kept for saving, and their decoded pixels for drawing.
class TJPEGImage : public TGraphic {
    VARNEL_CLASS(TJPEGImage, TGraphic)

public:
    TJPEGImage();
    ~TJPEGImage() override;

    bool Empty() const override { return m_bitmap->Empty(); }
    int Width() const override { return m_bitmap->Width(); }
    int Height() const override { return m_bitmap->Height(); }
    // The decoded pixels.
    const TBitmap& Bitmap() const { return *m_bitmap; }

    void Assign(const TPersistent* source) override;
    TStatus LoadFromBytes(std::span<const std::byte> data) override;
    TStatus SaveToBytes(std::vector<std::byte>& out) const override;

protected:
    void Draw(TCanvas& canvas, const TRect& rect) const override;

private:
    std::unique_ptr<TBitmap> m_bitmap;
    std::vector<std::byte> m_data;
};
