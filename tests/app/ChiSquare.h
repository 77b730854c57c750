#pragma once

#include <cstdint>
#include <vector>

// Pearson's statistic of observed counts against equal expected counts.
inline double ChiSquareAgainstUniform(const std::vector<uint64_t>& counts) {
    uint64_t total = 0;
    for (uint64_t count : counts) {
        total += count;
    }
    const double expected = static_cast<double>(total) / static_cast<double>(counts.size());
    double statistic = 0;
    for (uint64_t count : counts) {
        const double difference = static_cast<double>(count) - expected;
        statistic += difference * difference / expected;
    }
    return statistic;
}

// Values a uniform source exceeds with probability 1e-6, by degrees of freedom (upper quantiles
// of the chi-square distribution). A correct generator fails such a test less than once in a
// million runs, while the bias of mapping random bytes by a plain remainder (for 94 values, the
// first 68 half again as likely as the rest) fails it every time at the sample sizes used.
inline constexpr double kChiSquare1e6Df7 = 40.52;
inline constexpr double kChiSquare1e6Df9 = 44.81;
inline constexpr double kChiSquare1e6Df93 = 172.75;
inline constexpr double kChiSquare1e6Df299 = 429.95;
