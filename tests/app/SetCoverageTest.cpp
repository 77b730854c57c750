#include "app/SetCoverage.h"

#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Counts by enumeration the draw sequences of the given length, from a pool whose first
// setEntries[0] entries form set 0, the next setEntries[1] set 1, and so on, that hold an entry of
// every set in group.
uint64_t CountCovering(uint32_t poolSize, const std::vector<uint32_t>& setEntries, int length,
                       unsigned group) {
    std::vector<int> setOf(poolSize, -1);
    uint32_t next = 0;
    for (size_t set = 0; set < setEntries.size(); ++set) {
        for (uint32_t i = 0; i < setEntries[set]; ++i) {
            setOf[next++] = static_cast<int>(set);
        }
    }
    uint64_t sequences = 1;
    for (int i = 0; i < length; ++i) {
        sequences *= poolSize;
    }
    uint64_t covering = 0;
    for (uint64_t sequence = 0; sequence < sequences; ++sequence) {
        unsigned seen = 0;
        for (uint64_t rest = sequence, i = 0; i < static_cast<uint64_t>(length); ++i, rest /= poolSize) {
            const int set = setOf[rest % poolSize];
            seen |= set < 0 ? 0u : 1u << set;
        }
        covering += (seen & group) == group;
    }
    return covering;
}

// The chance of covering every set, by walking the subsets already covered draw by draw: only
// sums of positive terms, so it has no cancellation to fear, and it shares nothing with
// inclusion and exclusion. Returns log2 of the chance after each length up to maxLength.
std::vector<double> Log2CoveringByWalk(uint32_t poolSize, const std::vector<uint32_t>& setEntries,
                                       int64_t maxLength) {
    const size_t subsets = size_t{1} << setEntries.size();
    std::vector<double> chance(subsets, 0.0);
    chance[0] = 1;
    std::vector<double> log2Chances = {std::log2(chance[subsets - 1])};
    for (int64_t length = 1; length <= maxLength; ++length) {
        std::vector<double> next(subsets, 0.0);
        for (size_t covered = 0; covered < subsets; ++covered) {
            uint64_t staying = poolSize;
            for (size_t set = 0; set < setEntries.size(); ++set) {
                if (!(covered & (size_t{1} << set))) {
                    next[covered | (size_t{1} << set)] += chance[covered] * setEntries[set] / poolSize;
                    staying -= setEntries[set];
                }
            }
            next[covered] += chance[covered] * static_cast<double>(staying) / poolSize;
        }
        chance = next;
        log2Chances.push_back(std::log2(chance[subsets - 1]));
    }
    return log2Chances;
}

} // namespace

TEST(BigNatural, ArithmeticMatches128BitIntegers) {
    std::mt19937_64 random(17);
    for (int round = 0; round < 2000; ++round) {
        const uint32_t start = static_cast<uint32_t>(random());
        TBigNatural big(start);
        unsigned __int128 exact = start;
        // Products and sums that stay below 2^127.
        for (int step = 0; step < 40; ++step) {
            const uint32_t factor = static_cast<uint32_t>(random() >> (random() % 33));
            const unsigned __int128 product = exact * factor;
            if (factor != 0 && product / factor != exact) {
                break;
            }
            if (product >> 126) {
                break;
            }
            big.MultiplyBy(factor);
            exact = product;
            const uint32_t addend = static_cast<uint32_t>(random());
            big.Add(TBigNatural(addend));
            exact += addend;
            if (exact == 0) {
                break;
            }
        }
        TBigNatural copy = big;
        const uint32_t subtrahend = static_cast<uint32_t>(std::min<unsigned __int128>(exact, random() >> 32));
        copy.Subtract(TBigNatural(subtrahend));
        EXPECT_EQ(copy.IsZero(), exact == subtrahend);

        int bits = 0;
        for (unsigned __int128 rest = exact; rest != 0; rest >>= 1) {
            ++bits;
        }
        ASSERT_EQ(big.BitLength(), static_cast<uint64_t>(bits));
        if (exact != 0) {
            EXPECT_NEAR(big.Log2(), std::log2(static_cast<long double>(exact)), 1e-12);
        }
        // Adding the subtrahend back restores the value exactly.
        copy.Add(TBigNatural(subtrahend));
        EXPECT_EQ(copy, big);
    }
    EXPECT_EQ(TBigNatural(0).Log2(), -INFINITY);
    TBigNatural twoTo4096(1);
    for (int i = 0; i < 4096; ++i) {
        twoTo4096.MultiplyBy(2);
    }
    EXPECT_EQ(twoTo4096.BitLength(), 4097u);
    EXPECT_DOUBLE_EQ(twoTo4096.Log2(), 4096.0);
}

TEST(SetCoverage, ChancesMatchCountsByEnumeration) {
    const std::vector<std::pair<uint32_t, std::vector<uint32_t>>> pools = {
        {1, {1}}, {3, {1}}, {4, {1, 1}}, {5, {2, 1}}, {6, {1, 2, 3}}, {7, {2, 1, 1}}, {7, {1, 1, 1, 1}},
    };
    for (const auto& [poolSize, setEntries] : pools) {
        TSetCoverage coverage(poolSize, setEntries);
        for (int length = 0; length <= 6; ++length) {
            const double sequences = std::pow(static_cast<double>(poolSize), length);
            for (unsigned group = 0; group <= coverage.AllSets(); ++group) {
                const uint64_t expected = CountCovering(poolSize, setEntries, length, group);
                const double log2Chance = coverage.Log2Covering(group);
                if (expected == 0) {
                    EXPECT_EQ(log2Chance, -INFINITY) << poolSize << " " << length << " " << group;
                } else {
                    EXPECT_EQ(std::llround(std::exp2(log2Chance) * sequences), static_cast<int64_t>(expected))
                        << "pool " << poolSize << ", length " << length << ", group " << group;
                }
            }
            coverage.Advance();
        }
    }
}

// The chance must agree with a method that cannot cancel, for the keyboard's four sets and, past
// kExactBits where the terms continue as doubles, for a large pool where two sets of one entry
// each make covering both unlikely for a long time.
TEST(SetCoverage, LongPasswordsAgreeWithAWalkOverCoveredSets) {
    struct TCase {
        uint32_t PoolSize;
        std::vector<uint32_t> SetEntries;
        int64_t MaxLength;
        double Tolerance; // in bits
        bool ReachesDoubles;
    };
    // The keyboard's sets are all but certain to be covered before the counts grow long.
    for (const TCase& test :
         {TCase{94, {10, 26, 26, 32}, 3000, 1e-12, false}, TCase{20002, {1, 1}, 6000, 1e-9, true}}) {
        const std::vector<double> expected =
            Log2CoveringByWalk(test.PoolSize, test.SetEntries, test.MaxLength);
        TSetCoverage coverage(test.PoolSize, test.SetEntries);
        bool exactBitsPassed = false;
        for (int64_t length = 0; length <= test.MaxLength && !coverage.Settled(); ++length) {
            ASSERT_EQ(coverage.Length(), length);
            exactBitsPassed = exactBitsPassed || length * std::log2(test.PoolSize) > TSetCoverage::kExactBits;
            if (length >= static_cast<int64_t>(test.SetEntries.size())) {
                ASSERT_NEAR(coverage.Log2Covering(coverage.AllSets()), expected[static_cast<size_t>(length)],
                            test.Tolerance)
                    << "pool " << test.PoolSize << ", length " << length;
            }
            coverage.Advance();
        }
        EXPECT_EQ(exactBitsPassed, test.ReachesDoubles) << test.PoolSize;
    }
}

TEST(SetCoverage, SettlesOnceEverySetIsAllButCertain) {
    TSetCoverage coverage(94, std::vector<uint32_t>{10, 26, 26, 32});
    while (!coverage.Settled()) {
        ASSERT_LT(coverage.Length(), 1000);
        coverage.Advance();
    }
    // The least likely set to be missing is the digits, at (84/94)^length.
    EXPECT_LT(coverage.Length() * std::log2(84.0 / 94.0), -60);
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(coverage.Settled());
        EXPECT_NEAR(coverage.Log2Covering(coverage.AllSets()), 0.0, 1e-15);
        coverage.Advance();
    }
    // No sets, or only sets that fill the pool: settled from the start or the first draw.
    EXPECT_TRUE(TSetCoverage(5, std::vector<uint32_t>{}).Settled());
    TSetCoverage whole(3, std::vector<uint32_t>{3});
    EXPECT_FALSE(whole.Settled());
    whole.Advance();
    EXPECT_TRUE(whole.Settled());
    EXPECT_EQ(whole.Log2Covering(1), 0.0);
}
