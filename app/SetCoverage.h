#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A natural number of any size, just enough of one to count passwords exactly: the counts grow
// as pool size ^ length and pass 64 bits at a length of ten.
class TBigNatural {
public:
    explicit TBigNatural(uint32_t value = 0);

    bool IsZero() const { return m_limbs.empty(); }
    uint64_t BitLength() const;
    // log2 of the value to double precision; minus infinity for zero.
    double Log2() const;

    void MultiplyBy(uint32_t factor);
    void Add(const TBigNatural& other);
    // other must not exceed this value.
    void Subtract(const TBigNatural& other);

    bool operator==(const TBigNatural&) const = default;

private:
    std::vector<uint32_t> m_limbs; // least significant first, no leading zero limbs
};

// The chance that length independent uniform draws from a pool of poolSize entries include at
// least one entry of each of a group of disjoint sets, the sets given by how many entries of the
// pool they hold. It is walked length by length, from 0 upwards, so that a range of lengths costs
// one step each.
//
// The chance comes by inclusion and exclusion: the number of draws that cover every set of a
// group G is the sum over the subsets S of G of (-1)^|S| (poolSize - entries of S)^length. The
// terms are kept as exact integers while they are short, since short passwords are where the
// signed terms cancel; once the counts pass kExactBits and the chance of covering all sets is no
// longer small, they continue as doubles relative to poolSize^length, where the cancellation can
// cost no more than about 20 of the 53 bits.
class TSetCoverage {
public:
    static constexpr uint64_t kExactBits = 8192;
    static constexpr unsigned kMaxSets = 4;

    // setEntries: entries of the pool in each set, at most kMaxSets, together at most poolSize.
    TSetCoverage(uint32_t poolSize, std::span<const uint32_t> setEntries);

    int64_t Length() const { return m_length; }
    unsigned AllSets() const { return (1u << m_sets) - 1; }

    // One more draw.
    void Advance();

    // log2 of the chance that the draws so far cover every set in group (a bit per set, in the
    // order given); minus infinity when they cannot.
    double Log2Covering(unsigned group) const;

    // True once every set is all but certain to be covered, to double precision, for this and
    // every longer length, so that stepping further would change nothing.
    bool Settled() const { return m_settled; }

private:
    void UpdateSettled();

    uint32_t m_poolSize;
    unsigned m_sets;
    int64_t m_length = 0;
    std::vector<uint32_t> m_outside; // by subset S of the sets: poolSize - entries of S
    bool m_exact = true;
    std::vector<TBigNatural> m_counts; // by subset: m_outside[S] ^ m_length, while exact
    std::vector<double> m_shares;      // by subset: (m_outside[S] / poolSize) ^ m_length, after
    std::vector<double> m_stepFactors; // by subset: m_outside[S] / poolSize
    bool m_settled = false;
};
