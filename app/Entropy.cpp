#include "app/Entropy.h"

#include "app/SetCoverage.h"

#include <bit>
#include <cmath>
#include <numbers>
#include <unordered_map>
#include <vector>

namespace {

// How the characters of the pool are spread: the entropy of one character drawn from it, and
// that entropy split by the required set each character belongs to.
struct TCharacterSpread {
    double Bits = 0;           // entropy of one character
    std::vector<double> BySet; // share of Bits from each required set; the last entry from the rest
    bool AllDistinct = true;   // no character repeats, so every password is equally likely
};

TCharacterSpread Spread(const TCharacterPool& pool, unsigned requiredSets) {
    std::unordered_map<std::string_view, uint32_t> copies;
    for (size_t i = 0; i < pool.Size(); ++i) {
        ++copies[pool.At(i)];
    }
    // A character with c of the n entries adds (c/n) log2(n/c); written as below, a pool without
    // repeats gives exactly log2 n.
    const double entries = static_cast<double>(pool.Size());
    const double log2Entries = std::log2(entries);
    TCharacterSpread spread;
    spread.BySet.assign(static_cast<size_t>(std::popcount(requiredSets)) + 1, 0.0);
    std::vector<double> entriesBySet(spread.BySet.size(), 0.0);
    double copiesTimesLog2 = 0;
    for (const auto& [character, count] : copies) {
        const unsigned set = FixedSetOf(character) & requiredSets;
        const size_t index =
            set == 0 ? spread.BySet.size() - 1 : static_cast<size_t>(std::popcount(requiredSets & (set - 1)));
        const double part = count * std::log2(static_cast<double>(count));
        copiesTimesLog2 += part;
        entriesBySet[index] += count;
        spread.BySet[index] -= part / entries;
        spread.AllDistinct = spread.AllDistinct && count == 1;
    }
    for (size_t index = 0; index < spread.BySet.size(); ++index) {
        spread.BySet[index] += entriesBySet[index] / entries * log2Entries;
    }
    spread.Bits = log2Entries - copiesTimesLog2 / entries;
    return spread;
}

// EachSet makes a password of length L the plain one conditioned on holding every set. Its
// entropy is L x (entropy of a character) plus a correction:
//   log2 P(L) + L x sum over s of BySet[s] x (P(L - 1 draws hold the sets other than s) / P(L) - 1),
// where P(L) is the chance that L draws hold every set, and s runs over the required sets and
// the rest (for which no set is held already, so the other L - 1 draws must hold them all). The
// characters of s stand first in a kept password with the odds of the plain draw times that
// ratio. Without repeats the sum vanishes and the correction is log2 P(L), so the entropy is
// log2 of the number of passwords that hold every set. Returns the mean correction over the
// allowed lengths.
double MeanEachSetCorrection(const TCharacterPool& pool, unsigned requiredSets,
                             const TCharacterSpread& spread, TLengthRange lengths) {
    TSetCoverage coverage(static_cast<uint32_t>(pool.Size()), RequiredSetEntries(pool, requiredSets));
    const unsigned all = coverage.AllSets();
    const size_t sets = spread.BySet.size() - 1;
    std::vector<double> before(sets + 1);

    while (coverage.Length() < lengths.Shortest - 1 && !coverage.Settled()) {
        coverage.Advance();
    }
    // Once settled, every further correction is zero to double precision.
    double sum = 0;
    for (int64_t length = lengths.Shortest; length <= lengths.Longest && !coverage.Settled(); ++length) {
        for (size_t set = 0; set < sets; ++set) {
            before[set] = coverage.Log2Covering(all & ~(1u << set));
        }
        before[sets] = coverage.Log2Covering(all);
        coverage.Advance();
        const double log2Chance = coverage.Log2Covering(all);
        double correction = log2Chance;
        if (!spread.AllDistinct) {
            for (size_t set = 0; set <= sets; ++set) {
                correction += static_cast<double>(length) * spread.BySet[set] *
                              std::expm1((before[set] - log2Chance) * std::numbers::ln2);
            }
        }
        sum += correction;
    }
    return sum / static_cast<double>(lengths.Longest - lengths.Shortest + 1);
}

} // namespace

TEntropyResult PasswordEntropy(const TGenerationRequest& request) {
    TEntropyResult result;
    TCharacterPool pool;
    result.Check = PrepareRequest(request, pool);
    if (!result.Check.Ok()) {
        return result;
    }
    const TLengthRange lengths = AllowedLengths(request);
    if (lengths.Longest == 0) {
        return result; // only the empty password
    }
    const unsigned requiredSets = request.EachSet ? ChosenSets(request) : 0;
    const TCharacterSpread spread = Spread(pool, requiredSets);
    const double lengthCount = static_cast<double>(lengths.Longest - lengths.Shortest + 1);
    const double meanLength =
        (static_cast<double>(lengths.Shortest) + static_cast<double>(lengths.Longest)) / 2;
    result.Bits = std::log2(lengthCount) + spread.Bits * meanLength;
    if (requiredSets != 0) {
        result.Bits += MeanEachSetCorrection(pool, requiredSets, spread, lengths);
    }
    return result;
}
