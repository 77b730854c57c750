#pragma once

#include <cmath>
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

// The chance that a chi-square variable with df degrees of freedom exceeds x, in closed form for
// whole df: a Poisson sum for even df, and the same over half-integers plus erfc for odd df.
// Terms are summed from their logarithms so that tens of thousands of degrees stay exact.
inline double ChiSquareUpperTail(int df, double x) {
    const double t = x / 2;
    if (t <= 0) {
        return 1;
    }
    double sum = df % 2 == 0 ? 0 : std::erfc(std::sqrt(t));
    const double first = df % 2 == 0 ? 0 : 0.5; // the powers of t run over j + first
    const double logT = std::log(t);
    double logTerm = -t + first * logT - std::lgamma(first + 1);
    for (int j = 0; j + first < df / 2.0 - 0.25; ++j) {
        sum += std::exp(logTerm);
        logTerm += logT - std::log(j + first + 1);
    }
    return sum;
}

// The value a uniform source exceeds with the given chance, for any number of degrees of freedom.
inline double ChiSquareThreshold(int df, double chance) {
    double low = 0;
    double high = df + 100 * std::sqrt(static_cast<double>(df)) + 100;
    // Each halving gains a bit; 64 of them leave the bracket narrower than a double can tell.
    for (int i = 0; i < 64; ++i) {
        const double middle = (low + high) / 2;
        (ChiSquareUpperTail(df, middle) > chance ? low : high) = middle;
    }
    return high;
}
