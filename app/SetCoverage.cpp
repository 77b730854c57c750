#include "app/SetCoverage.h"

#include <bit>
#include <cassert>
#include <cmath>
#include <limits>

namespace {

// Below this chance of covering every set the signed terms cancel too much for doubles.
constexpr double kLeastFloatingLog2Chance = -20;

// A share of the draws below 2^-64 of all cannot move a sum of shares near 1 in a double.
constexpr double kNegligibleLog2Share = -64;

} // namespace

TBigNatural::TBigNatural(uint32_t value) {
    if (value != 0) {
        m_limbs.push_back(value);
    }
}

uint64_t TBigNatural::BitLength() const {
    if (m_limbs.empty()) {
        return 0;
    }
    return 32 * (m_limbs.size() - 1) + static_cast<uint64_t>(std::bit_width(m_limbs.back()));
}

double TBigNatural::Log2() const {
    if (m_limbs.empty()) {
        return -std::numeric_limits<double>::infinity();
    }
    // The top three limbs hold at least 65 significant bits, more than a long double keeps.
    long double top = 0;
    const size_t used = std::min<size_t>(3, m_limbs.size());
    for (size_t i = 0; i < used; ++i) {
        top = top * 4294967296.0L + m_limbs[m_limbs.size() - 1 - i];
    }
    return static_cast<double>(std::log2(top) + 32.0L * static_cast<long double>(m_limbs.size() - used));
}

void TBigNatural::MultiplyBy(uint32_t factor) {
    if (factor == 0) {
        m_limbs.clear();
        return;
    }
    uint64_t carry = 0;
    for (uint32_t& limb : m_limbs) {
        const uint64_t product = uint64_t{limb} * factor + carry;
        limb = static_cast<uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0) {
        m_limbs.push_back(static_cast<uint32_t>(carry));
    }
}

void TBigNatural::Add(const TBigNatural& other) {
    if (m_limbs.size() < other.m_limbs.size()) {
        m_limbs.resize(other.m_limbs.size(), 0);
    }
    uint64_t carry = 0;
    for (size_t i = 0; i < m_limbs.size(); ++i) {
        const uint64_t sum = uint64_t{m_limbs[i]} + (i < other.m_limbs.size() ? other.m_limbs[i] : 0) + carry;
        m_limbs[i] = static_cast<uint32_t>(sum);
        carry = sum >> 32;
        if (carry == 0 && i >= other.m_limbs.size()) {
            break;
        }
    }
    if (carry != 0) {
        m_limbs.push_back(static_cast<uint32_t>(carry));
    }
}

void TBigNatural::Subtract(const TBigNatural& other) {
    assert(other.m_limbs.size() <= m_limbs.size() && "subtrahend larger than the value");
    uint64_t borrow = 0;
    for (size_t i = 0; i < m_limbs.size(); ++i) {
        const uint64_t subtrahend = (i < other.m_limbs.size() ? other.m_limbs[i] : 0) + borrow;
        borrow = m_limbs[i] < subtrahend;
        m_limbs[i] = static_cast<uint32_t>(uint64_t{m_limbs[i]} + (borrow << 32) - subtrahend);
        if (borrow == 0 && i >= other.m_limbs.size()) {
            break;
        }
    }
    assert(borrow == 0 && "subtrahend larger than the value");
    while (!m_limbs.empty() && m_limbs.back() == 0) {
        m_limbs.pop_back();
    }
}

TSetCoverage::TSetCoverage(uint32_t poolSize, std::span<const uint32_t> setEntries)
    : m_poolSize(poolSize), m_sets(static_cast<unsigned>(setEntries.size())) {
    assert(m_sets <= kMaxSets && "too many sets");
    const size_t subsets = size_t{1} << m_sets;
    m_outside.resize(subsets);
    m_counts.assign(subsets, TBigNatural(1));
    for (size_t subset = 0; subset < subsets; ++subset) {
        uint64_t inside = 0;
        for (unsigned set = 0; set < m_sets; ++set) {
            if (subset & (size_t{1} << set)) {
                inside += setEntries[set];
            }
        }
        assert(inside <= poolSize && "the sets hold more entries than the pool");
        m_outside[subset] = static_cast<uint32_t>(poolSize - inside);
    }
    UpdateSettled();
}

void TSetCoverage::Advance() {
    assert(m_poolSize > 0 && "drawing from an empty pool");
    ++m_length;
    if (m_exact) {
        for (size_t subset = 0; subset < m_counts.size(); ++subset) {
            m_counts[subset].MultiplyBy(m_outside[subset]);
        }
        if (m_counts[0].BitLength() > kExactBits && Log2Covering(AllSets()) >= kLeastFloatingLog2Chance) {
            const double total = m_counts[0].Log2();
            m_shares.resize(m_counts.size());
            m_stepFactors.resize(m_counts.size());
            for (size_t subset = 0; subset < m_counts.size(); ++subset) {
                m_shares[subset] = std::exp2(m_counts[subset].Log2() - total);
                m_stepFactors[subset] =
                    static_cast<double>(m_outside[subset]) / static_cast<double>(m_poolSize);
            }
            m_counts.clear();
            m_exact = false;
        }
    } else {
        for (size_t subset = 0; subset < m_shares.size(); ++subset) {
            m_shares[subset] *= m_stepFactors[subset];
        }
    }
    UpdateSettled();
}

double TSetCoverage::Log2Covering(unsigned group) const {
    assert((group & ~AllSets()) == 0 && "group names a set that is not there");
    // Walks the subsets of group; a subset with an odd number of sets is subtracted.
    if (m_exact) {
        TBigNatural added;
        TBigNatural subtracted;
        for (unsigned subset = group;; subset = (subset - 1) & group) {
            (std::popcount(subset) % 2 == 0 ? added : subtracted).Add(m_counts[subset]);
            if (subset == 0) {
                break;
            }
        }
        added.Subtract(subtracted);
        return added.Log2() - m_counts[0].Log2();
    }
    double added = 0;
    double subtracted = 0;
    for (unsigned subset = group;; subset = (subset - 1) & group) {
        (std::popcount(subset) % 2 == 0 ? added : subtracted) += m_shares[subset];
        if (subset == 0) {
            break;
        }
    }
    // The switch to doubles waited until covering all sets, and so any group, was likely enough
    // that the difference stands well clear of the rounding of the terms.
    assert(added > subtracted && "covering chance lost to rounding");
    return std::log2(added - subtracted);
}

void TSetCoverage::UpdateSettled() {
    bool settled = true;
    if (m_exact) {
        const double total = m_counts[0].Log2();
        for (size_t subset = 1; subset < m_counts.size() && settled; ++subset) {
            settled = m_counts[subset].Log2() - total < kNegligibleLog2Share;
        }
    } else {
        for (size_t subset = 1; subset < m_shares.size() && settled; ++subset) {
            settled = m_shares[subset] < std::exp2(kNegligibleLog2Share);
        }
    }
    m_settled = settled;
}
