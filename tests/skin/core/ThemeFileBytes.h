#pragma once

// Theme files laid out byte by byte, for tests that need records and data at chosen offsets
// (chains that skip, loop or run off the end) rather than what the writer produces.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

struct TThemeFileBytes {
    std::vector<std::byte> Bytes;

    explicit TThemeFileBytes(std::size_t size, std::uint32_t firstEntry = 24, std::uint32_t headerSize = 24)
        : Bytes(size) {
        // A file too short for the header keeps what fits of it.
        if (size >= 16) {
            U32(12, headerSize);
        }
        if (size >= 24) {
            U32(20, firstEntry);
        }
    }

    void U32(std::size_t offset, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            Bytes[offset + i] = static_cast<std::byte>(value >> (8 * i));
        }
    }
    void Put(std::size_t offset, std::string_view text) {
        std::memcpy(Bytes.data() + offset, text.data(), text.size());
    }
    // A 77-byte record at offset.
    void Record(std::size_t offset, std::string_view name, std::uint8_t type, std::uint32_t dataOffset,
                std::uint32_t dataSize, std::uint32_t next) {
        std::memset(Bytes.data() + offset, 0, 64);
        std::memcpy(Bytes.data() + offset, name.data(), std::min<std::size_t>(name.size(), 64));
        Bytes[offset + 64] = static_cast<std::byte>(type);
        U32(offset + 65, dataOffset);
        U32(offset + 69, dataSize);
        U32(offset + 73, next);
    }
};
