#include "app/PasswordGenerator.h"

#include "tests/app/ChiSquare.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct TRun {
    TGenerationResult Result;
    std::vector<std::string> Lines;
    std::vector<int> Progress;
};

TRun Generate(TRandomSource& source, const TGenerationRequest& request) {
    TRun run;
    TPasswordGenerator generator(source);
    run.Result = generator.Generate(
        request,
        [&](std::string_view line) {
            run.Lines.emplace_back(line);
            return true;
        },
        [&](int position) { run.Progress.push_back(position); });
    return run;
}

TGenerationRequest CustomOnly(std::string characters) {
    TGenerationRequest request;
    request.AllKeys = false;
    request.CustomCharacters = std::move(characters);
    return request;
}

std::string PoolText(const TGenerationRequest& request) {
    TCharacterPool pool;
    EXPECT_TRUE(BuildPool(request, pool));
    std::string text;
    for (size_t i = 0; i < pool.Size(); ++i) {
        text.append(pool.At(i));
    }
    return text;
}

// Succeeds for a given number of draw calls, then fails the way the kernel source does.
class TFailingSource final : public TRandomSource {
public:
    explicit TFailingSource(int callsBeforeFailure) : m_callsLeft(callsBeforeFailure) {}
    bool DrawBelow(uint32_t, std::span<uint32_t> out) override {
        if (m_callsLeft-- <= 0) {
            m_errorText = "The system's random number generator failed: test.";
            return false;
        }
        std::fill(out.begin(), out.end(), 0u);
        return true;
    }
    bool IsReproducible() const override { return false; }

private:
    int m_callsLeft;
};

} // namespace

TEST(CharacterPool, AllKeysIsEveryPrintableAsciiCharacterButSpaceInSetOrder) {
    TGenerationRequest request;
    request.CustomCharacters = "custom characters are ignored here";
    const std::string pool = PoolText(request);
    ASSERT_EQ(pool.size(), 94u);
    EXPECT_EQ(pool.substr(0, 62), "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const unsigned char special[32] = {0x60, 0x2D, 0x3D, 0x5B, 0x5D, 0x5C, 0x3B, 0x27, 0x2C, 0x2E, 0x2F,
                                       0x7E, 0x21, 0x40, 0x23, 0x24, 0x25, 0x5E, 0x26, 0x2A, 0x28, 0x29,
                                       0x5F, 0x2B, 0x7B, 0x7D, 0x7C, 0x3A, 0x22, 0x3C, 0x3E, 0x3F};
    for (size_t i = 0; i < 32; ++i) {
        EXPECT_EQ(static_cast<unsigned char>(pool[62 + i]), special[i]) << "special character " << i;
    }
    std::string sorted = pool;
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 0; i < sorted.size(); ++i) {
        EXPECT_EQ(static_cast<int>(sorted[i]), 0x21 + static_cast<int>(i));
    }
}

TEST(CharacterPool, ChosenSetsComeInFixedOrderFollowedByCustomCharacters) {
    const std::string_view sets[4] = {kDigits, kLowerCaseLetters, kUpperCaseLetters, kSpecialCharacters};
    for (int mask = 0; mask < 16; ++mask) {
        TGenerationRequest request = CustomOnly("z\xC3\xA9"
                                                "0");
        request.Digits = mask & 1;
        request.LowerCaseLetters = mask & 2;
        request.UpperCaseLetters = mask & 4;
        request.SpecialCharacters = mask & 8;
        std::string expected;
        for (int set = 0; set < 4; ++set) {
            if (mask & (1 << set)) {
                expected.append(sets[set]);
            }
        }
        expected.append("z\xC3\xA9"
                        "0");
        EXPECT_EQ(PoolText(request), expected) << "sets " << mask;
    }
}

TEST(CharacterPool, CustomCharactersKeepDuplicatesAndWholeCharactersButNoLineBreaks) {
    TGenerationRequest request = CustomOnly("aa\r\nb\xE2\x82\xAC\nc\r\t");
    TCharacterPool pool;
    ASSERT_TRUE(BuildPool(request, pool));
    ASSERT_EQ(pool.Size(), 6u);
    EXPECT_EQ(pool.At(0), "a");
    EXPECT_EQ(pool.At(1), "a");
    EXPECT_EQ(pool.At(2), "b");
    EXPECT_EQ(pool.At(3), "\xE2\x82\xAC");
    EXPECT_EQ(pool.At(4), "c");
    EXPECT_EQ(pool.At(5), "\t");

    // Only line breaks: nothing to draw from.
    EXPECT_EQ(PoolText(CustomOnly("\r\n\r\n")), "");
}

TEST(CharacterPool, MalformedCustomTextIsRefusedWholesale) {
    // A stray continuation byte, an overlong slash, a surrogate, a cut sequence, past U+10FFFF.
    for (std::string text : {"ab\x80", "\xC0\xAF", "\xED\xA0\x80", "x\xE2\x82", "\xF4\x90\x80\x80"}) {
        TCharacterPool pool;
        EXPECT_FALSE(BuildPool(CustomOnly(text), pool));
        TReproducibleRandomSource source;
        const TRun run = Generate(source, CustomOnly(text));
        EXPECT_EQ(run.Result.Status, TGenerationStatus::InvalidCharacters);
        EXPECT_TRUE(run.Lines.empty());
        EXPECT_EQ(source.State(), 0u) << "a refused request draws nothing";
    }
}

// Filters a text character by character (whole UTF-8 sequences), keeping those not in leaveOut.
std::string Without(std::string_view text, const std::vector<std::string>& leaveOut) {
    std::string kept;
    while (!text.empty()) {
        size_t length = 1;
        while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
            ++length;
        }
        const std::string character(text.substr(0, length));
        if (std::find(leaveOut.begin(), leaveOut.end(), character) == leaveOut.end()) {
            kept += character;
        }
        text.remove_prefix(length);
    }
    return kept;
}

TEST(CharacterPool, ExclusionLeavesOutEveryCopyOnceSetsAndCustomCharactersAreTogether) {
    const std::string keyboard = std::string(kDigits) + std::string(kLowerCaseLetters) +
                                 std::string(kUpperCaseLetters) + std::string(kSpecialCharacters);
    TGenerationRequest request;
    request.ExcludedCharacters = "{}a\\\"\xC3\xA9";
    EXPECT_EQ(PoolText(request), Without(keyboard, {"{", "}", "a", "\\", "\""}));

    // A custom character that is also in a set, typed twice, and a multi-byte one: all copies go.
    request = CustomOnly("aa0\xE2\x82\xAC\xE2\x82\xAC\xC3\xA9z!");
    request.Digits = true;
    request.LowerCaseLetters = true;
    request.ExcludedCharacters = "a\xE2\x82\xAC"
                                 "0";
    EXPECT_EQ(PoolText(request), Without(std::string(kDigits) + std::string(kLowerCaseLetters) +
                                             "aa0\xE2\x82\xAC\xE2\x82\xAC\xC3\xA9z!",
                                         {"a", "\xE2\x82\xAC", "0"}));

    // Line breaks are never in the pool; excluding them, or characters absent, changes nothing.
    request = CustomOnly("ab\r\ncd");
    request.ExcludedCharacters = "\r\nXYZ";
    EXPECT_EQ(PoolText(request), "abcd");

    // Excluding everything leaves the pool empty, which is the empty-pool refusal.
    request = CustomOnly("abcab");
    request.ExcludedCharacters = "cba";
    EXPECT_EQ(PoolText(request), "");
    TReproducibleRandomSource source;
    EXPECT_EQ(Generate(source, request).Result.Status, TGenerationStatus::EmptyPool);
}

TEST(CharacterPool, NoLookalikesLeavesOutTheCharactersMistakenForOneAnother) {
    // Zero and one, capital O and I, lower-case o and l, the vertical bar, the backtick, both
    // quote marks, the comma and the full stop.
    const std::vector<std::string> lookalikes = {"0", "1", "O", "I", "o", "l", "|", "`", "'", "\"", ",", "."};
    TGenerationRequest request;
    request.NoLookalikes = true;
    const std::string pool = PoolText(request);
    const std::string keyboard = std::string(kDigits) + std::string(kLowerCaseLetters) +
                                 std::string(kUpperCaseLetters) + std::string(kSpecialCharacters);
    EXPECT_EQ(pool, Without(keyboard, lookalikes));
    EXPECT_EQ(pool.size(), 94u - lookalikes.size());

    // Together with --exclude, and reaching custom characters too.
    request = CustomOnly("xO0\xC3\xA9");
    request.UpperCaseLetters = true;
    request.NoLookalikes = true;
    request.ExcludedCharacters = "Z";
    EXPECT_EQ(PoolText(request),
              Without(std::string(kUpperCaseLetters) + "xO0\xC3\xA9", {"O", "I", "Z", "0"}));
}

TEST(CharacterPool, MalformedExclusionIsRefusedWithItsOwnMessage) {
    for (std::string text : {"\xFF", "ab\x80", "\xE2\x82"}) {
        TGenerationRequest request;
        request.ExcludedCharacters = text;
        TCharacterPool pool;
        EXPECT_FALSE(BuildPool(request, pool));
        TReproducibleRandomSource source;
        const TRun run = Generate(source, request);
        EXPECT_EQ(run.Result.Status, TGenerationStatus::InvalidCharacters);
        EXPECT_NE(run.Result.Error.find("leave out"), std::string::npos) << run.Result.Error;
        EXPECT_TRUE(run.Lines.empty());
        EXPECT_EQ(source.State(), 0u);
    }
}

TEST(Progress, PositionIsTruncatedAfterExtendedPrecisionRounding) {
    EXPECT_EQ(ProgressPosition(53, 100), 52);
    EXPECT_EQ(ProgressPosition(59, 100), 58);
    EXPECT_EQ(ProgressPosition(29, 100), 29);
    EXPECT_EQ(ProgressPosition(1, 3), 33);
    EXPECT_EQ(ProgressPosition(2, 3), 66);
    EXPECT_EQ(ProgressPosition(3, 3), 100);
    EXPECT_EQ(ProgressPosition(1, 1000), 0);
    const int64_t huge = int64_t{1} << 62;
    EXPECT_EQ(ProgressPosition(huge / 2, huge), 50);

    TReproducibleRandomSource source;
    TGenerationRequest request;
    request.Count = 3;
    EXPECT_EQ(Generate(source, request).Progress, (std::vector<int>{33, 66, 100, 100}));

    request.Count = 100;
    const TRun run = Generate(source, request);
    ASSERT_EQ(run.Progress.size(), 101u);
    EXPECT_EQ(run.Progress[52], 52);
    EXPECT_EQ(run.Progress.back(), 100);
}

TEST(Generation, StartUpSettingsMakeTenPasswordsOfTenKeyboardCharacters) {
    TSystemRandomSource source;
    const TRun run = Generate(source, TGenerationRequest{});
    ASSERT_TRUE(run.Result.Ok()) << run.Result.Error;
    EXPECT_EQ(run.Result.Made, 10);
    ASSERT_EQ(run.Lines.size(), 10u);
    for (const std::string& line : run.Lines) {
        ASSERT_EQ(line.size(), 10u);
        for (char c : line) {
            EXPECT_TRUE(c >= 0x21 && c <= 0x7E) << static_cast<int>(c);
        }
    }
}

// The reproducible source replays the draws made in this order: for each password its length
// (when variable), then its characters from left to right.
TEST(Generation, DrawsTheLengthThenTheCharactersOfEachPassword) {
    TGenerationRequest request = CustomOnly("0123456789");
    request.Count = 50;
    request.BaseLength = 7;
    request.VariableLength = true;
    TReproducibleRandomSource source;
    const TRun run = Generate(source, request);

    TReproducibleRandomSource mirror;
    const auto draw = [&](uint32_t n) {
        uint32_t value = 0;
        mirror.DrawBelow(n, std::span<uint32_t>(&value, 1));
        return value;
    };
    ASSERT_EQ(run.Lines.size(), 50u);
    for (const std::string& line : run.Lines) {
        const uint32_t length = draw(7) + 1;
        std::string expected;
        for (uint32_t i = 0; i < length; ++i) {
            expected.push_back(static_cast<char>('0' + draw(10)));
        }
        ASSERT_EQ(line, expected);
    }
    EXPECT_EQ(source.State(), mirror.State());
}

TEST(Generation, FixedLengthDrawOrderHoldsAcrossBatchesAndLongPasswords) {
    for (const auto& [count, length] : {std::pair<int64_t, int64_t>{5000, 3}, {2, 20000}, {7, 8192}}) {
        TGenerationRequest request;
        request.Count = count;
        request.BaseLength = length;
        TReproducibleRandomSource source;
        const TRun run = Generate(source, request);

        TReproducibleRandomSource mirror;
        std::vector<uint32_t> draws(static_cast<size_t>(count * length));
        mirror.DrawBelow(94, draws);
        TCharacterPool pool;
        BuildPool(request, pool);
        ASSERT_EQ(run.Lines.size(), static_cast<size_t>(count));
        for (int64_t p = 0; p < count; ++p) {
            std::string expected;
            for (int64_t i = 0; i < length; ++i) {
                expected.append(pool.At(draws[static_cast<size_t>(p * length + i)]));
            }
            ASSERT_EQ(run.Lines[static_cast<size_t>(p)], expected) << count << " x " << length;
        }
    }
}

TEST(Generation, DuplicatedCustomCharactersAreDrawnMoreOften) {
    TGenerationRequest request = CustomOnly("aab");
    request.Count = 1000;
    request.BaseLength = 30;
    TReproducibleRandomSource source;
    const TRun run = Generate(source, request);
    size_t as = 0;
    size_t total = 0;
    for (const std::string& line : run.Lines) {
        for (char c : line) {
            ASSERT_TRUE(c == 'a' || c == 'b');
            as += c == 'a';
            ++total;
        }
    }
    ASSERT_EQ(total, 30000u);
    EXPECT_NEAR(static_cast<double>(as) / static_cast<double>(total), 2.0 / 3.0, 0.01);
}

TEST(Generation, MultiByteCustomCharactersStayWhole) {
    TGenerationRequest request = CustomOnly("\xC3\xA9\xE2\x82\xAC"
                                            "a");
    request.Count = 200;
    request.BaseLength = 6;
    TSystemRandomSource source;
    const TRun run = Generate(source, request);
    ASSERT_EQ(run.Lines.size(), 200u);
    for (std::string_view line : run.Lines) {
        size_t characters = 0;
        while (!line.empty()) {
            if (line.starts_with("a")) {
                line.remove_prefix(1);
            } else if (line.starts_with("\xC3\xA9")) {
                line.remove_prefix(2);
            } else {
                ASSERT_TRUE(line.starts_with("\xE2\x82\xAC"));
                line.remove_prefix(3);
            }
            ++characters;
        }
        EXPECT_EQ(characters, 6u);
    }
}

TEST(Generation, ZeroAndNegativeLengths) {
    TReproducibleRandomSource source;
    TGenerationRequest request;
    request.Count = 4;
    for (int64_t length : {0, -5}) {
        request.BaseLength = length;
        request.VariableLength = false;
        TRun run = Generate(source, request);
        EXPECT_EQ(run.Lines, std::vector<std::string>(4, "")) << length;
        EXPECT_EQ(run.Result.Made, 4);

        // Under "Variable Length" the length draw still happens (below 0, giving 0) and the
        // password has one character.
        request.VariableLength = true;
        const uint32_t before = source.State();
        run = Generate(source, request);
        ASSERT_EQ(run.Lines.size(), 4u);
        for (const std::string& line : run.Lines) {
            EXPECT_EQ(line.size(), 1u);
        }
        TReproducibleRandomSource mirror(before);
        std::vector<uint32_t> draws(8);
        mirror.DrawBelow(94, draws);
        EXPECT_EQ(source.State(), mirror.State()) << "one length and one character draw per password";
    }
}

TEST(Generation, CountBelowOneMakesNothingAndShowsFullProgress) {
    for (int64_t count : {int64_t{0}, int64_t{-1}, INT64_MIN}) {
        TReproducibleRandomSource source;
        TGenerationRequest request;
        request.Count = count;
        const TRun run = Generate(source, request);
        EXPECT_TRUE(run.Result.Ok());
        EXPECT_EQ(run.Result.Made, 0);
        EXPECT_TRUE(run.Lines.empty());
        EXPECT_EQ(run.Progress, std::vector<int>{100});
    }
}

TEST(Generation, EmptyPoolIsAnErrorOnlyWhenCharactersAreNeeded) {
    TReproducibleRandomSource source;
    TGenerationRequest request = CustomOnly("");
    request.Count = 3;
    TRun run = Generate(source, request);
    EXPECT_EQ(run.Result.Status, TGenerationStatus::EmptyPool);
    EXPECT_EQ(run.Result.Error, "Please choose at least one set of characters, or type your own characters.");
    EXPECT_TRUE(run.Lines.empty());
    EXPECT_TRUE(run.Progress.empty());

    request.VariableLength = true;
    request.BaseLength = 0;
    EXPECT_EQ(Generate(source, request).Result.Status, TGenerationStatus::EmptyPool);

    request.VariableLength = false;
    run = Generate(source, request);
    EXPECT_TRUE(run.Result.Ok());
    EXPECT_EQ(run.Lines, std::vector<std::string>(3, ""));
}

TEST(Generation, ListsTooLargeToHoldAreRefusedUpFront) {
    TReproducibleRandomSource source;
    TGenerationRequest request;
    request.BaseLength = 15;
    request.HeldCharacterLimit = 160; // ten lines of 15 characters and their breaks
    request.Count = 10;
    EXPECT_TRUE(Generate(source, request).Result.Ok());

    // Just over the bound: refused before a single draw.
    const uint32_t stateBefore = source.State();
    request.Count = 11;
    TRun run = Generate(source, request);
    EXPECT_EQ(run.Result.Status, TGenerationStatus::TooLarge);
    EXPECT_TRUE(run.Lines.empty());
    EXPECT_EQ(source.State(), stateBefore);

    // Empty lines count too, or a huge list of them would exhaust memory.
    request.BaseLength = 0;
    request.Count = 161;
    EXPECT_EQ(Generate(source, request).Result.Status, TGenerationStatus::TooLarge);

    // Counts and lengths near the top of the range must not overflow the check.
    request.HeldCharacterLimit = kListCharacterLimit;
    request.Count = INT64_MAX;
    request.BaseLength = kMaxPasswordLength;
    EXPECT_EQ(Generate(source, request).Result.Status, TGenerationStatus::TooLarge);

    // A streamed list has no bound, but one password must still fit.
    request.HeldCharacterLimit = 0;
    request.BaseLength = kMaxPasswordLength + 1;
    request.Count = 1;
    EXPECT_EQ(Generate(source, request).Result.Status, TGenerationStatus::TooLarge);
    request.BaseLength = INT64_MAX;
    request.VariableLength = true;
    EXPECT_EQ(Generate(source, request).Result.Status, TGenerationStatus::TooLarge);
}

TEST(Generation, StreamedListsHaveNoBoundAndTheReceiverCanStop) {
    TReproducibleRandomSource source;
    TGenerationRequest request;
    request.HeldCharacterLimit = 0;
    request.Count = INT64_MAX;
    int delivered = 0;
    TPasswordGenerator generator(source);
    const TGenerationResult result =
        generator.Generate(request, [&](std::string_view) { return ++delivered < 5; });
    EXPECT_EQ(result.Status, TGenerationStatus::Stopped);
    EXPECT_EQ(result.Made, 4);
    EXPECT_FALSE(result.Error.empty());
}

TEST(Generation, RandomFailurePartWayKeepsWhatWasMadeAndSaysWhy) {
    TFailingSource source(3);
    TGenerationRequest request;
    request.Count = 10;
    request.VariableLength = true; // one length and one character call per password
    const TRun run = Generate(source, request);
    EXPECT_EQ(run.Result.Status, TGenerationStatus::RandomFailure);
    EXPECT_EQ(run.Result.Made, 1);
    EXPECT_EQ(run.Lines.size(), 1u);
    EXPECT_EQ(run.Progress, std::vector<int>{10}) << "no final 100 after a failure";
    EXPECT_NE(run.Result.Error.find("random number generator failed"), std::string::npos);
}

// The system source through the whole engine: every position of the pool, and every length
// under "Variable Length", equally likely.
TEST(Generation, SystemSourceIsUniformOverThePoolAndTheLengths) {
    TSystemRandomSource source;
    TGenerationRequest request;
    request.Count = 20000;
    request.BaseLength = 94;
    std::vector<uint64_t> counts(94);
    TCharacterPool pool;
    BuildPool(request, pool);
    const TRun run = Generate(source, request);
    ASSERT_TRUE(run.Result.Ok()) << run.Result.Error;
    for (const std::string& line : run.Lines) {
        for (char c : line) {
            ++counts[pool.Bytes().find(c)];
        }
    }
    EXPECT_LT(ChiSquareAgainstUniform(counts), kChiSquare1e6Df93);

    request.VariableLength = true;
    request.BaseLength = 8;
    request.Count = 80000;
    std::vector<uint64_t> lengths(8);
    for (const std::string& line : Generate(source, request).Lines) {
        ASSERT_GE(line.size(), 1u);
        ASSERT_LE(line.size(), 8u);
        ++lengths[line.size() - 1];
    }
    EXPECT_LT(ChiSquareAgainstUniform(lengths), kChiSquare1e6Df7);
}
