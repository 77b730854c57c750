#include "app/Entropy.h"

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct TOptions {
    std::string Sets = ""; // letters d, l, u, s for the sets named; empty for all keys
    std::string Custom = "";
    std::string Exclude = "";
    int64_t Length = 10;
    bool Variable = false;
    bool EachSet = false;
    bool NoLookalikes = false;
};

TGenerationRequest Request(const TOptions& options) {
    TGenerationRequest request;
    request.AllKeys = options.Sets.empty() && options.Custom.empty();
    request.Digits = options.Sets.find('d') != std::string::npos;
    request.LowerCaseLetters = options.Sets.find('l') != std::string::npos;
    request.UpperCaseLetters = options.Sets.find('u') != std::string::npos;
    request.SpecialCharacters = options.Sets.find('s') != std::string::npos;
    request.CustomCharacters = options.Custom;
    request.ExcludedCharacters = options.Exclude;
    request.BaseLength = options.Length;
    request.VariableLength = options.Variable;
    request.EachSet = options.EachSet;
    request.NoLookalikes = options.NoLookalikes;
    request.HeldCharacterLimit = 0;
    return request;
}

// Which of the four keyboard sets the characters of a password come from.
unsigned SetsHeld(const std::vector<std::string>& characters) {
    unsigned held = 0;
    for (const std::string& character : characters) {
        for (unsigned set = 0; set < 4; ++set) {
            if (character.size() == 1 && kFixedSets[set].find(character[0]) != std::string_view::npos) {
                held |= 1u << set;
            }
        }
    }
    return held;
}

// The entropy by brute force: every sequence of pool entries of every allowed length is drawn
// with equal chance; under EachSet those that miss a set are dropped and the rest scaled up
// within their length; then -sum p log2 p over the distinct passwords.
double EntropyByEnumeration(const TOptions& options) {
    TCharacterPool pool;
    EXPECT_TRUE(BuildPool(Request(options), pool));
    unsigned required = 0;
    if (options.EachSet) {
        required = options.Sets.empty() ? 0xF : 0;
        for (unsigned set = 0; set < 4; ++set) {
            required |= options.Sets.find("dlus"[set]) != std::string::npos ? 1u << set : 0;
        }
    }
    std::vector<int64_t> lengths;
    for (int64_t length = options.Variable ? 1 : options.Length; length <= options.Length; ++length) {
        if (!options.EachSet || length >= std::popcount(required)) {
            lengths.push_back(length);
        }
    }

    double entropy = 0;
    for (int64_t length : lengths) {
        std::map<std::string, uint64_t> passwords;
        uint64_t kept = 0;
        std::vector<size_t> indices(static_cast<size_t>(length), 0);
        while (true) {
            std::vector<std::string> characters;
            std::string password;
            for (size_t index : indices) {
                characters.emplace_back(pool.At(index));
                password += characters.back();
            }
            if ((SetsHeld(characters) & required) == required) {
                ++passwords[password];
                ++kept;
            }
            size_t position = 0;
            while (position < indices.size() && ++indices[position] == pool.Size()) {
                indices[position++] = 0;
            }
            if (position == indices.size()) {
                break;
            }
        }
        for (const auto& [password, count] : passwords) {
            const double chance =
                static_cast<double>(count) / static_cast<double>(kept) / static_cast<double>(lengths.size());
            entropy -= chance * std::log2(chance);
        }
    }
    return entropy;
}

// log2 of the chance that length draws from the keyboard's 94 characters hold all four sets, for
// every length up to maxLength, by walking the sets covered so far: sums of positive terms only.
std::vector<double> Log2ChanceOfAllFourSets(int64_t maxLength) {
    const double weights[4] = {10 / 94.0, 26 / 94.0, 26 / 94.0, 32 / 94.0};
    std::vector<double> chance(16, 0.0);
    chance[0] = 1;
    std::vector<double> log2Chances = {-INFINITY};
    for (int64_t length = 1; length <= maxLength; ++length) {
        std::vector<double> next(16, 0.0);
        for (unsigned covered = 0; covered < 16; ++covered) {
            double staying = 0;
            for (unsigned set = 0; set < 4; ++set) {
                if (covered & (1u << set)) {
                    staying += weights[set];
                } else {
                    next[covered | (1u << set)] += chance[covered] * weights[set];
                }
            }
            next[covered] += chance[covered] * staying;
        }
        chance = next;
        log2Chances.push_back(std::log2(chance[15]));
    }
    return log2Chances;
}

} // namespace

TEST(Entropy, DefaultsAreTenCharactersFromNinetyFour) {
    const TEntropyResult result = PasswordEntropy(TGenerationRequest{});
    ASSERT_TRUE(result.Check.Ok());
    EXPECT_NEAR(result.Bits, 10 * std::log2(94.0), 1e-12);
}

// Small cases of every kind, against brute force over all passwords.
TEST(Entropy, MatchesEnumerationOverEveryPassword) {
    const std::vector<TOptions> cases = {
        // Equally likely passwords that hold a digit and a letter: 36^3 - 26^3 - 10^3 of them.
        {.Sets = "dl", .Length = 3, .EachSet = true},
        // Repeated custom characters weigh the pool.
        {.Custom = "aab\xE2\x82\xAC", .Length = 3},
        // Weighted and held to every set, with a repeated custom digit and letter.
        {.Sets = "dl",
         .Custom = "aa1\xE2\x82\xAC",
         .Exclude = "2345678bcdefghijklmnopqrstuvwxyz",
         .Length = 3,
         .EachSet = true},
        // Variable lengths: the length's entropy plus the mean of the characters'.
        {.Sets = "dl", .Length = 3, .Variable = true},
        {.Sets = "dl",
         .Custom = "xx",
         .Exclude = "23456789cdefghijklmnopqrstuvwyz",
         .Length = 4,
         .Variable = true,
         .EachSet = true},
        {.Sets = "du", .Length = 3, .EachSet = true, .NoLookalikes = true},
        // All four sets, shrunk to two characters each.
        {.Exclude = "23456789cdefghijklmnopqrstuvwxyzCDEFGHIJKLMNOPQRSTUVWXYZ`-=[]\\;',./~!@#$%^&*()_+{}|:",
         .Length = 4,
         .EachSet = true},
        {.Sets = "s", .Length = 1, .Variable = true, .EachSet = true},
    };
    for (const TOptions& options : cases) {
        const TEntropyResult result = PasswordEntropy(Request(options));
        ASSERT_TRUE(result.Check.Ok()) << result.Check.Error;
        EXPECT_NEAR(result.Bits, EntropyByEnumeration(options), 1e-9)
            << "sets '" << options.Sets << "', custom '" << options.Custom << "', length " << options.Length
            << (options.Variable ? " variable" : "") << (options.EachSet ? " each set" : "");
    }
}

TEST(Entropy, LongPasswordsStayExact) {
    const std::vector<double> log2Chance = Log2ChanceOfAllFourSets(2000);
    const double log2Of94 = std::log2(94.0);

    // 13,000 bits of count: well past 64-bit integers and past the exact counts.
    TEntropyResult result = PasswordEntropy(Request({.Length = 2000, .EachSet = true}));
    EXPECT_NEAR(result.Bits, 2000 * log2Of94 + log2Chance[2000], 1e-8);
    result = PasswordEntropy(Request({.Length = 5, .EachSet = true}));
    EXPECT_NEAR(result.Bits, 5 * log2Of94 + log2Chance[5], 1e-12);

    // Variable lengths up to 100,000: the chance of missing a set is below 2^-300 long before
    // 2,000, so the walk's lengths suffice.
    const int64_t longest = 100000;
    double meanLog2Chance = 0;
    for (int64_t length = 4; length <= 2000; ++length) {
        meanLog2Chance += log2Chance[static_cast<size_t>(length)];
    }
    meanLog2Chance /= static_cast<double>(longest - 3);
    result = PasswordEntropy(Request({.Length = longest, .Variable = true, .EachSet = true}));
    EXPECT_NEAR(result.Bits,
                std::log2(static_cast<double>(longest - 3)) + log2Of94 * (longest + 4) / 2.0 + meanLog2Chance,
                1e-7);

    // The longest password allowed, fixed and variable.
    result = PasswordEntropy(Request({.Length = kMaxPasswordLength, .EachSet = true}));
    ASSERT_TRUE(result.Check.Ok());
    EXPECT_NEAR(result.Bits / (kMaxPasswordLength * log2Of94), 1.0, 1e-13);
    result = PasswordEntropy(Request({.Length = kMaxPasswordLength, .Variable = true}));
    EXPECT_NEAR(
        result.Bits,
        std::log2(static_cast<double>(kMaxPasswordLength)) + log2Of94 * (kMaxPasswordLength + 1) / 2.0, 1e-6);
}

// Twenty thousand custom characters with one digit and one letter left: covering both stays
// unlikely long after the counts pass the exact range.
TEST(Entropy, LargePoolWithRareSetsStaysExact) {
    std::string custom;
    for (char32_t code = 0x4E00; code < 0x4E00 + 20000; ++code) {
        custom += static_cast<char>(0xE0 | (code >> 12));
        custom += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        custom += static_cast<char>(0x80 | (code & 0x3F));
    }
    const TOptions options = {.Sets = "dl",
                              .Custom = custom,
                              .Exclude = "012345678abcdefghijklmnoprstuvwxyz",
                              .Length = 700,
                              .EachSet = true};
    const TEntropyResult result = PasswordEntropy(Request(options));
    ASSERT_TRUE(result.Check.Ok()) << result.Check.Error;
    // Two sets of one entry among n = 20,002: P = 1 - 2a + b with a = (1 - 1/n)^L and
    // b = (1 - 2/n)^L = a (1 - 1/(n - 1))^L, taken as (1 - a) - a (1 - b/a) from expm1 and log1p
    // so that the small differences survive.
    const double n = 20002;
    const double oneMissing = -std::expm1(700 * std::log1p(-1 / n));
    const double chance = oneMissing - (1 - oneMissing) * -std::expm1(700 * std::log1p(-1 / (n - 1)));
    EXPECT_NEAR(result.Bits, 700 * std::log2(n) + std::log2(chance), 1e-6);
}

TEST(Entropy, EmptyPasswordsHaveNoneAndRefusalsPassThrough) {
    TEntropyResult result = PasswordEntropy(Request({.Length = 0}));
    EXPECT_TRUE(result.Check.Ok());
    EXPECT_EQ(result.Bits, 0.0);

    result = PasswordEntropy(Request({.Sets = "d", .Exclude = "0123456789"}));
    EXPECT_EQ(result.Check.Status, TGenerationStatus::EmptyPool);
    result = PasswordEntropy(Request({.Length = 3, .EachSet = true}));
    EXPECT_EQ(result.Check.Status, TGenerationStatus::EachSetUnmet);
}
