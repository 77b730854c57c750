#include "app/RandomSource.h"

#include "tests/app/ChiSquare.h"

#include <cerrno>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Stands in for getrandom: hands out a byte script, a bounded number of bytes per call, and
// replays the listed failures (as errno values) before the next successful calls.
struct TScriptedKernel {
    std::vector<unsigned char> bytes; // repeated as often as needed
    size_t position = 0;
    size_t maxPerCall = SIZE_MAX;
    std::deque<int> failures; // errno of each failing call, in order; 0 means "return 0 bytes"
    int calls = 0;

    TSystemRandomSource::TFill Fill() {
        return [this](void* buffer, size_t size, unsigned) -> ssize_t {
            ++calls;
            if (!failures.empty()) {
                const int error = failures.front();
                failures.pop_front();
                if (error == 0) {
                    return 0;
                }
                errno = error;
                return -1;
            }
            const size_t count = std::min(size, maxPerCall);
            auto* out = static_cast<unsigned char*>(buffer);
            for (size_t i = 0; i < count; ++i) {
                out[i] = bytes[position++ % bytes.size()];
            }
            return static_cast<ssize_t>(count);
        };
    }
};

std::vector<unsigned char> EveryByteValue() {
    std::vector<unsigned char> bytes(256);
    for (int i = 0; i < 256; ++i) {
        bytes[i] = static_cast<unsigned char>(i);
    }
    return bytes;
}

std::vector<uint64_t> Histogram(const std::vector<uint32_t>& values, uint32_t n) {
    std::vector<uint64_t> counts(n);
    for (uint32_t value : values) {
        EXPECT_LT(value, n);
        if (value < n) {
            ++counts[value];
        }
    }
    return counts;
}

} // namespace

TEST(ReproducibleRandomSource, FirstDrawsFromStateZeroFollowTheCongruence) {
    // States 1, 134775814, 3698175007, 870078620 and 1172187917; a draw is (state * n) >> 32.
    TReproducibleRandomSource source;
    std::vector<uint32_t> draws(5);
    ASSERT_TRUE(source.DrawBelow(94, draws));
    EXPECT_EQ(draws, (std::vector<uint32_t>{0, 2, 80, 19, 25}));
    EXPECT_EQ(source.State(), 1172187917u);

    std::vector<uint32_t> below10(1);
    ASSERT_TRUE(source.DrawBelow(10, below10));
    EXPECT_EQ(below10[0], 6u); // state 2884733762
    EXPECT_TRUE(source.IsReproducible());
}

TEST(ReproducibleRandomSource, DrawBelowZeroYieldsZeroButStillAdvances) {
    TReproducibleRandomSource source;
    std::vector<uint32_t> draw(1, 7);
    ASSERT_TRUE(source.DrawBelow(0, draw));
    EXPECT_EQ(draw[0], 0u);
    EXPECT_EQ(source.State(), 1u);
}

TEST(ReproducibleRandomSource, BulkDrawsMatchSingleDraws) {
    TReproducibleRandomSource bulk;
    TReproducibleRandomSource single;
    std::vector<uint32_t> many(1000);
    ASSERT_TRUE(bulk.DrawBelow(37, many));
    for (uint32_t expected : many) {
        uint32_t one = 0;
        ASSERT_TRUE(single.DrawBelow(37, std::span<uint32_t>(&one, 1)));
        ASSERT_EQ(one, expected);
    }
}

// Over one full cycle of every byte (or 16-bit word) value, rejection must leave each result
// exactly equally often; a plain remainder or a wrong threshold would not.
TEST(SystemRandomSource, FullCycleOfInputsGivesEveryValueEquallyOften) {
    for (uint32_t n : {2u, 3u, 10u, 94u, 100u, 255u, 256u}) {
        TScriptedKernel kernel;
        kernel.bytes = EveryByteValue();
        TSystemRandomSource source(kernel.Fill());
        std::vector<uint32_t> draws(256 / n * n * 64);
        ASSERT_TRUE(source.DrawBelow(n, draws));
        for (uint64_t count : Histogram(draws, n)) {
            EXPECT_EQ(count, 64u * (256 / n)) << "n = " << n;
        }
    }

    // 16-bit words: the script holds every word value once, little-endian.
    TScriptedKernel kernel;
    for (uint32_t word = 0; word < 0x10000; ++word) {
        kernel.bytes.push_back(static_cast<unsigned char>(word & 0xFF));
        kernel.bytes.push_back(static_cast<unsigned char>(word >> 8));
    }
    const uint32_t n = 1000;
    TSystemRandomSource source(kernel.Fill());
    // A block holds whole words, so the stream of words runs on unbroken across refills.
    static_assert(TSystemRandomSource::kBlockSize % 2 == 0);
    std::vector<uint32_t> draws(0x10000 / n * n);
    ASSERT_TRUE(source.DrawBelow(n, draws));
    for (uint64_t count : Histogram(draws, n)) {
        EXPECT_EQ(count, 0x10000u / n);
    }
}

// Drawing characters straight from an alphabet must be the same draws as drawing positions and
// looking them up, whichever path a source takes for it.
TEST(RandomSource, DrawingFromAnAlphabetMatchesDrawingPositions) {
    std::string small;
    for (char c = '!'; c <= '~'; ++c) {
        small.push_back(c);
    }
    std::string large;
    for (int i = 0; i < 300; ++i) {
        large.push_back(static_cast<char>('a' + i % 26));
    }
    for (const std::string& alphabet : {small, large, std::string("xy"), std::string("z")}) {
        const uint32_t n = static_cast<uint32_t>(alphabet.size());
        TScriptedKernel kernelA;
        TScriptedKernel kernelB;
        kernelA.bytes = kernelB.bytes = EveryByteValue();
        kernelA.bytes[7] = kernelB.bytes[7] = 0xFE; // break the symmetry of the cycle a little
        TSystemRandomSource systemA(kernelA.Fill());
        TSystemRandomSource systemB(kernelB.Fill());
        TReproducibleRandomSource reproducibleA;
        TReproducibleRandomSource reproducibleB;
        for (auto [a, b] : {std::pair<TRandomSource*, TRandomSource*>{&systemA, &systemB},
                            {&reproducibleA, &reproducibleB}}) {
            std::string characters(40000, '\0');
            ASSERT_TRUE(a->DrawFrom(alphabet, characters));
            std::vector<uint32_t> positions(characters.size());
            ASSERT_TRUE(b->DrawBelow(n, positions));
            for (size_t i = 0; i < positions.size(); ++i) {
                ASSERT_EQ(characters[i], alphabet[positions[i]]) << "alphabet of " << n << ", draw " << i;
            }
        }
    }

    TReproducibleRandomSource source;
    std::string out(3, '\0');
    EXPECT_FALSE(source.DrawFrom("", out));
    EXPECT_FALSE(source.ErrorText().empty());
}

TEST(SystemRandomSource, ShortReadsAndInterruptionsAreResumed) {
    TScriptedKernel kernel;
    kernel.bytes = EveryByteValue();
    kernel.maxPerCall = 1000;
    kernel.failures = {EINTR, EINTR};
    TSystemRandomSource source(kernel.Fill());
    std::vector<uint32_t> draws(188 * 200);
    ASSERT_TRUE(source.DrawBelow(94, draws));
    EXPECT_TRUE(source.ErrorText().empty());
    // 2 interruptions, then enough 1000-byte reads for at least two blocks.
    EXPECT_GE(kernel.calls, 2 + 2 * static_cast<int>(TSystemRandomSource::kBlockSize / 1000));
    // The bytes still arrive in order and whole: a cycle of 256 gives each value twice.
    for (uint64_t count : Histogram(draws, 94)) {
        EXPECT_EQ(count, 400u);
    }
}

TEST(SystemRandomSource, FailureIsReportedNeverPapered) {
    for (int error : {ENOSYS, EFAULT, 0}) {
        TScriptedKernel kernel;
        kernel.bytes = EveryByteValue();
        kernel.failures = {error};
        TSystemRandomSource source(kernel.Fill());
        std::vector<uint32_t> draws(10);
        EXPECT_FALSE(source.DrawBelow(94, draws)) << "errno " << error;
        EXPECT_NE(source.ErrorText().find("random number generator failed"), std::string::npos);
        if (error != 0) {
            EXPECT_NE(source.ErrorText().find(std::strerror(error)), std::string::npos);
        }
    }
}

TEST(SystemRandomSource, EndlessInterruptionsEndInAnErrorNotAHang) {
    TScriptedKernel kernel;
    kernel.bytes = EveryByteValue();
    kernel.failures.assign(100000, EINTR);
    TSystemRandomSource source(kernel.Fill());
    std::vector<uint32_t> draws(1);
    EXPECT_FALSE(source.DrawBelow(94, draws));
    EXPECT_FALSE(source.ErrorText().empty());
}

TEST(SystemRandomSource, TrivialRangesNeedNoRandomness) {
    TScriptedKernel kernel;
    kernel.bytes = EveryByteValue();
    TSystemRandomSource source(kernel.Fill());
    std::vector<uint32_t> draws(50, 9);
    ASSERT_TRUE(source.DrawBelow(1, draws));
    ASSERT_TRUE(source.DrawBelow(0, draws));
    EXPECT_EQ(draws, std::vector<uint32_t>(50, 0));
    EXPECT_EQ(kernel.calls, 0);
    EXPECT_FALSE(source.IsReproducible());
}

// The kernel source through each word width: byte draws, 16-bit draws and 32-bit draws, each
// checked for uniformity (values of the 32-bit range folded into ten equal-width bands).
TEST(SystemRandomSource, KernelDrawsAreUniform) {
    TSystemRandomSource source;

    std::vector<uint32_t> draws(94 * 20000);
    ASSERT_TRUE(source.DrawBelow(94, draws)) << source.ErrorText();
    EXPECT_LT(ChiSquareAgainstUniform(Histogram(draws, 94)), kChiSquare1e6Df93);

    draws.assign(300 * 5000, 0);
    ASSERT_TRUE(source.DrawBelow(300, draws)) << source.ErrorText();
    EXPECT_LT(ChiSquareAgainstUniform(Histogram(draws, 300)), kChiSquare1e6Df299);

    const uint32_t n = 3'000'000'000u; // rejects almost a third of all words
    draws.assign(200000, 0);
    ASSERT_TRUE(source.DrawBelow(n, draws)) << source.ErrorText();
    std::vector<uint64_t> bands(10);
    for (uint32_t value : draws) {
        ASSERT_LT(value, n);
        ++bands[value / (n / 10)];
    }
    EXPECT_LT(ChiSquareAgainstUniform(bands), kChiSquare1e6Df9);
}
