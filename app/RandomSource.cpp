#include "app/RandomSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <limits>
#include <sys/random.h>

namespace {

// A signal storm could in theory interrupt every read; past this many interruptions in a row
// the source gives up with an error instead of spinning for ever.
constexpr int kMaxInterruptionsInARow = 10000;

ssize_t KernelFill(void* buffer, size_t size, unsigned flags) {
    return getrandom(buffer, size, flags);
}

} // namespace

TSystemRandomSource::TSystemRandomSource() : TSystemRandomSource(KernelFill) {}

TSystemRandomSource::TSystemRandomSource(TFill fill)
    : m_fill(std::move(fill)), m_block(kBlockSize), m_position(kBlockSize) {}

bool TSystemRandomSource::Refill() {
    size_t filled = 0;
    int interruptions = 0;
    while (filled < m_block.size()) {
        const ssize_t got = m_fill(m_block.data() + filled, m_block.size() - filled, 0);
        if (got > 0) {
            // The kernel may hand out fewer bytes than asked when a signal arrives mid-read.
            filled += static_cast<size_t>(got);
            interruptions = 0;
            continue;
        }
        if (got < 0 && errno == EINTR && ++interruptions < kMaxInterruptionsInARow) {
            continue;
        }
        // Falling back to a weaker generator would hand out guessable passwords without anyone
        // noticing, so a failing kernel source is reported and nothing is drawn.
        const int error = got < 0 ? errno : EIO;
        m_errorText =
            std::string("The system's random number generator failed: ") + std::strerror(error) + ".";
        m_position = m_block.size();
        return false;
    }
    m_position = 0;
    return true;
}

// Multiply-and-compare rejection: a word x of W bits maps to (x * n) >> W, which is uniform once
// the words whose low part (x * n) mod 2^W falls below 2^W mod n are thrown away. It needs no
// division per draw, which matters when every character of every password is a draw.
template <typename Word>
bool TSystemRandomSource::DrawWords(uint32_t n, std::span<uint32_t> out) {
    constexpr unsigned kBits = std::numeric_limits<Word>::digits;
    constexpr uint64_t kRange = uint64_t{1} << kBits;
    constexpr uint64_t kLowMask = kRange - 1;
    const uint64_t threshold = kRange % n;

    uint32_t* dest = out.data();
    uint32_t* const destEnd = dest + out.size();
    while (dest < destEnd) {
        if (m_block.size() - m_position < sizeof(Word) && !Refill()) {
            return false;
        }
        const unsigned char* p = m_block.data() + m_position;
        const unsigned char* const pEnd = p + (m_block.size() - m_position) / sizeof(Word) * sizeof(Word);
        while (p < pEnd && dest < destEnd) {
            Word x;
            std::memcpy(&x, p, sizeof(Word));
            p += sizeof(Word);
            const uint64_t product = uint64_t{x} * n;
            // Written unconditionally and kept only when accepted: the rejections are random, so
            // a branch here would be mispredicted about as often as it is taken.
            *dest = static_cast<uint32_t>(product >> kBits);
            dest += (product & kLowMask) >= threshold;
        }
        m_position = static_cast<size_t>(p - m_block.data());
    }
    return true;
}

bool TSystemRandomSource::DrawBelow(uint32_t n, std::span<uint32_t> out) {
    if (n <= 1) {
        std::fill(out.begin(), out.end(), 0u);
        return true;
    }
    if (n <= 0x100) {
        return DrawWords<uint8_t>(n, out);
    }
    if (n <= 0x10000) {
        return DrawWords<uint16_t>(n, out);
    }
    return DrawWords<uint32_t>(n, out);
}

bool TRandomSource::DrawFrom(std::string_view alphabet, std::span<char> out) {
    if (alphabet.empty() && !out.empty()) {
        m_errorText = "There are no characters to draw from.";
        return false;
    }
    uint32_t draws[4096];
    while (!out.empty()) {
        const size_t chunk = std::min(out.size(), std::size(draws));
        if (!DrawBelow(static_cast<uint32_t>(alphabet.size()), std::span<uint32_t>(draws, chunk))) {
            return false;
        }
        for (size_t i = 0; i < chunk; ++i) {
            out[i] = alphabet[draws[i]];
        }
        out = out.subspan(chunk);
    }
    return true;
}

bool TSystemRandomSource::DrawFrom(std::string_view alphabet, std::span<char> out) {
    const size_t n = alphabet.size();
    if (n < 2 || n > 0x100) {
        return TRandomSource::DrawFrom(alphabet, out);
    }
    // The byte draw of DrawWords with the lookup folded in, so no index is stored and reread.
    const uint32_t threshold = 0x100 % static_cast<uint32_t>(n);
    char* dest = out.data();
    char* const destEnd = dest + out.size();
    while (dest < destEnd) {
        if (m_position == m_block.size() && !Refill()) {
            return false;
        }
        const unsigned char* p = m_block.data() + m_position;
        const unsigned char* const pEnd = m_block.data() + m_block.size();
        while (p < pEnd && dest < destEnd) {
            const uint32_t product = uint32_t{*p++} * static_cast<uint32_t>(n);
            *dest = alphabet[product >> 8];
            dest += (product & 0xFF) >= threshold;
        }
        m_position = static_cast<size_t>(p - m_block.data());
    }
    return true;
}

bool TReproducibleRandomSource::DrawBelow(uint32_t n, std::span<uint32_t> out) {
    uint32_t state = m_state;
    for (uint32_t& value : out) {
        state = state * 134775813u + 1u;
        value = static_cast<uint32_t>((uint64_t{state} * n) >> 32);
    }
    m_state = state;
    return true;
}
