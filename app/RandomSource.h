#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

// Where the generator's random numbers come from. Draws are made in bulk because a password
// list asks for millions of them and one virtual call per character would dominate the cost.
class TRandomSource {
public:
    virtual ~TRandomSource() = default;

    // Fills out with values drawn independently and uniformly from 0 .. n - 1, in order.
    // A draw below 0 yields 0 (there is nothing to choose from). Returns false when the source
    // failed; ErrorText() then says why and the contents of out are unspecified.
    virtual bool DrawBelow(uint32_t n, std::span<uint32_t> out) = 0;

    // Fills out with characters of alphabet (single bytes), each position of alphabet drawn as
    // DrawBelow(alphabet.size()) would draw it and in the same order. Sources may fuse the draw
    // and the lookup; this is where almost all of a long list's time goes.
    virtual bool DrawFrom(std::string_view alphabet, std::span<char> out);

    // True when the draws are the same in every run, so that the user must be told.
    virtual bool IsReproducible() const = 0;

    // Why the last failed draw failed; empty while nothing has failed.
    const std::string& ErrorText() const { return m_errorText; }

protected:
    std::string m_errorText;
};

// The operating system's cryptographic random generator, read in blocks through getrandom.
// Each draw is unbiased: bytes (or 16- or 32-bit words for larger n) that would favour some
// values are thrown away and replaced, by multiply-and-compare rejection.
class TSystemRandomSource final : public TRandomSource {
public:
    // Same shape as getrandom(2), so tests can stand in for the kernel.
    using TFill = std::function<ssize_t(void* buffer, size_t size, unsigned flags)>;

    static constexpr size_t kBlockSize = 16384;

    TSystemRandomSource();
    explicit TSystemRandomSource(TFill fill);

    bool DrawBelow(uint32_t n, std::span<uint32_t> out) override;
    bool DrawFrom(std::string_view alphabet, std::span<char> out) override;
    bool IsReproducible() const override { return false; }

private:
    bool Refill();
    template <typename Word>
    bool DrawWords(uint32_t n, std::span<uint32_t> out);

    TFill m_fill;
    std::vector<unsigned char> m_block;
    size_t m_position = 0; // next unused byte of m_block; m_block.size() when it is used up
};

// The 32-bit linear congruential generator that makes the same sequence in every run:
// state = state * 134775813 + 1 (mod 2^32) before each draw, and a draw below n is the upper
// 32 bits of the 64-bit product state * n. Only for reproducing and testing a draw order;
// anyone who has the program can predict its passwords.
class TReproducibleRandomSource final : public TRandomSource {
public:
    explicit TReproducibleRandomSource(uint32_t state = 0) : m_state(state) {}

    bool DrawBelow(uint32_t n, std::span<uint32_t> out) override;
    bool IsReproducible() const override { return true; }

    uint32_t State() const { return m_state; }

private:
    uint32_t m_state;
};
