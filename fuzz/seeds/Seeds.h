#pragma once

// The seed makers: small valid files of every kind each parser takes, written by this
// project's own code (and, for JPEG and PNG, the libraries the program itself links), so that a
// short fuzzing run starts from real structure rather than from nothing.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

struct TSeed {
    std::string Name; // the file name in the target's corpus folder
    std::vector<std::byte> Bytes;
};

// Little-endian bytes, as every format here stores its numbers.
class TByteWriter {
public:
    void U8(unsigned value) { m_bytes.push_back(static_cast<std::byte>(value & 0xFF)); }
    void U16(unsigned value) {
        U8(value);
        U8(value >> 8);
    }
    void U32(std::uint32_t value) {
        U16(value & 0xFFFF);
        U16(value >> 16);
    }
    void Append(std::span<const std::byte> bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
    }
    // Zero bytes up to the next multiple of four counted from start.
    void Align4(std::size_t start) {
        while ((m_bytes.size() - start) % 4 != 0) {
            U8(0);
        }
    }
    // A row of count values of bits bits each (1, 2, 4 or 8), the first in the highest bits of
    // its byte, padded to whole bytes and then to a multiple of four: a palette image's row or
    // a mask's.
    template <typename TValueAt>
    void PackedRow(int count, unsigned bits, TValueAt valueAt) {
        const std::size_t start = Size();
        unsigned byte = 0;
        unsigned filled = 0;
        for (int i = 0; i < count; ++i) {
            byte = (byte << bits) | (static_cast<unsigned>(valueAt(i)) & ((1u << bits) - 1));
            filled += bits;
            if (filled == 8) {
                U8(byte);
                byte = 0;
                filled = 0;
            }
        }
        if (filled) {
            U8(byte << (8 - filled));
        }
        Align4(start);
    }
    void PatchU32(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            m_bytes[at + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
        }
    }
    std::size_t Size() const { return m_bytes.size(); }
    std::vector<std::byte> Take() { return std::move(m_bytes); }

private:
    std::vector<std::byte> m_bytes;
};

// A deterministic test picture: red grows to the right, green downwards, blue across both.
std::uint32_t SeedPixel(int x, int y, int width, int height);

std::vector<TSeed> BmpSeeds();
std::vector<TSeed> IconSeeds();
std::vector<TSeed> PngSeeds();
std::vector<TSeed> JpegSeeds();
// Every built-in look exported and packed as a theme file, its images cut down to two rows (full
// width, so each strip still divides into its frames) to keep the corpus small; and the
// values.txt that each export writes.
struct TThemeSeeds {
    std::vector<TSeed> Themes;
    std::vector<TSeed> Values;
};
TThemeSeeds ThemeSeeds(const std::filesystem::path& scratch);
