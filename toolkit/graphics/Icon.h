#pragma once

#include "toolkit/graphics/Graphic.h"
#include "toolkit/graphics/IconCodec.h"

#include <string_view>

// An icon from a classic .ico file, drawn at one size (16 × 16 unless set otherwise) from the
// file's image that fits that size best, always with its mask or alpha.
class TIcon : public TGraphic {
    VARNEL_CLASS(TIcon, TGraphic)

public:
    static constexpr int kDefaultSize = 16;

    TIcon();

    bool Empty() const override { return m_image.Pixels.Empty(); }
    int Width() const override { return Empty() ? 0 : m_width; }
    int Height() const override { return Empty() ? 0 : m_height; }
    // The size the icon is drawn at; picks the file's image for it again.
    void SetSize(int width, int height);
    void SetWidth(int width) override { SetSize(width, m_height); }
    void SetHeight(int height) override { SetSize(m_width, height); }

    // The picture at the drawing size, and its coverage (0 transparent to 255 opaque).
    const TIconImage& Image() const { return m_image; }

    void Assign(const TPersistent* source) override;
    TStatus LoadFromBytes(std::span<const std::byte> data) override;
    // The file as it was loaded.
    TStatus SaveToBytes(std::vector<std::byte>& out) const override;

protected:
    void Draw(TCanvas& canvas, const TRect& rect) const override;

private:
    int m_width = kDefaultSize;
    int m_height = kDefaultSize;
    std::vector<std::byte> m_data;
    TIconImage m_image;
};
