#pragma once

#include "toolkit/graphics/Types.h"

#include <cstdint>
#include <span>
#include <vector>

// A rectangle of 32-bit pixels, 0x00RRGGBB, rows top to bottom without padding. Bitmaps and
// window surfaces own one; device contexts keep a pointer to it, so it is resized in place and
// its address never changes.
class TPixelBuffer {
public:
    // Limits of one buffer; larger requests are clamped (the height first gives way when the
    // area is too large). They bound what one careless or hostile size can allocate: 256 MiB.
    static constexpr int kMaxSide = 32768;
    static constexpr int kMaxPixels = 1 << 26;

    TPixelBuffer() = default;
    TPixelBuffer(int width, int height, std::uint32_t fill = 0);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool Empty() const { return m_width == 0 || m_height == 0; }
    TRect Bounds() const { return {0, 0, m_width, m_height}; }

    // Changes the size keeping the pixels of the common top-left part; new pixels get fill.
    // Negative sizes count as 0.
    void Resize(int width, int height, std::uint32_t fill = 0);
    // Changes the size without keeping anything; every pixel becomes fill.
    void Reset(int width, int height, std::uint32_t fill = 0);
    void Fill(std::uint32_t pixel);

    std::uint32_t* Row(int y) { return m_pixels.data() + static_cast<std::size_t>(y) * m_width; }
    const std::uint32_t* Row(int y) const { return m_pixels.data() + static_cast<std::size_t>(y) * m_width; }
    std::span<std::uint32_t> Pixels() { return m_pixels; }
    std::span<const std::uint32_t> Pixels() const { return m_pixels; }

    // Bounds-checked single pixel access: outside the buffer At answers 0 and Set does nothing.
    std::uint32_t At(int x, int y) const;
    void Set(int x, int y, std::uint32_t pixel);
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    friend bool operator==(const TPixelBuffer&, const TPixelBuffer&) = default;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels; // m_width * m_height, row-major
};
