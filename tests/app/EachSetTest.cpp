#include "app/PasswordGenerator.h"
#include "tests/app/ChiSquare.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Which of the four keyboard sets occur in a text, looked up character by character.
unsigned SetsHeld(std::string_view text) {
    unsigned held = 0;
    for (char c : text) {
        for (unsigned set = 0; set < 4; ++set) {
            held |= kFixedSets[set].find(c) != std::string_view::npos ? 1u << set : 0u;
        }
    }
    return held;
}

TGenerationRequest EachSetOf(unsigned sets, int64_t length) {
    TGenerationRequest request;
    request.AllKeys = false;
    request.Digits = sets & 1;
    request.LowerCaseLetters = sets & 2;
    request.UpperCaseLetters = sets & 4;
    request.SpecialCharacters = sets & 8;
    request.BaseLength = length;
    request.EachSet = true;
    return request;
}

std::vector<std::string> Lines(TRandomSource& source, const TGenerationRequest& request,
                               TGenerationResult* result = nullptr) {
    std::vector<std::string> lines;
    TPasswordGenerator generator(source);
    const TGenerationResult outcome = generator.Generate(request, [&](std::string_view line) {
        lines.emplace_back(line);
        return true;
    });
    if (result != nullptr) {
        *result = outcome;
    }
    EXPECT_TRUE(result != nullptr || outcome.Ok()) << outcome.Error;
    return lines;
}

uint32_t Draw(TRandomSource& source, uint32_t below) {
    uint32_t value = 0;
    source.DrawBelow(below, std::span<uint32_t>(&value, 1));
    return value;
}

std::string Utf8(char32_t code) {
    std::string text;
    if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
    } else {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    }
    text += static_cast<char>(0x80 | (code & 0x3F));
    return text;
}

} // namespace

TEST(EachSet, EveryPasswordHoldsEveryChosenSet) {
    TSystemRandomSource source;
    for (unsigned sets = 1; sets < 16; ++sets) {
        const int64_t least = std::popcount(sets);
        for (int64_t length : {least, least + 1, int64_t{7}}) {
            for (bool variable : {false, true}) {
                TGenerationRequest request = EachSetOf(sets, length);
                request.Count = 300;
                request.VariableLength = variable;
                const std::vector<std::string> lines = Lines(source, request);
                ASSERT_EQ(lines.size(), 300u);
                for (const std::string& line : lines) {
                    ASSERT_EQ(SetsHeld(line), sets) << "sets " << sets << ": " << line;
                    ASSERT_LE(static_cast<int64_t>(line.size()), length);
                    ASSERT_GE(static_cast<int64_t>(line.size()), variable ? least : length);
                }
            }
        }
    }

    // All keys, without look-alikes, and with multi-byte custom characters that stay whole.
    TGenerationRequest request;
    request.EachSet = true;
    request.NoLookalikes = true;
    request.Count = 500;
    request.BaseLength = 4;
    for (const std::string& line : Lines(source, request)) {
        ASSERT_EQ(SetsHeld(line), 0xFu) << line;
        ASSERT_EQ(line.find_first_of("0O1Il|o`'\",."), std::string::npos) << line;
    }
    request = EachSetOf(1, 3);
    request.CustomCharacters = "\xC3\xA9\xE2\x82\xAC";
    request.Count = 500;
    for (std::string_view line : Lines(source, request)) {
        ASSERT_NE(line.find_first_of(kDigits), std::string_view::npos);
        size_t characters = 0;
        for (; !line.empty(); ++characters) {
            const size_t size = line.starts_with("\xC3\xA9") ? 2 : line.starts_with("\xE2\x82\xAC") ? 3 : 1;
            ASSERT_TRUE(size > 1 || kDigits.find(line[0]) != std::string_view::npos);
            line.remove_prefix(size);
        }
        ASSERT_EQ(characters, 3u);
    }
}

// Passwords that miss a set are thrown away whole and the next ones drawn in full; a length too
// short is drawn again, while a password that misses a set keeps its length.
TEST(EachSet, DrawsWholePasswordsAgainInTheEngineDrawOrder) {
    TGenerationRequest request = EachSetOf(0b0101, 5); // digits and upper-case letters
    request.Count = 2000;
    TReproducibleRandomSource source;
    const std::vector<std::string> lines = Lines(source, request);

    TReproducibleRandomSource mirror;
    const std::string pool = std::string(kDigits) + std::string(kUpperCaseLetters);
    for (const std::string& line : lines) {
        std::string expected;
        do {
            expected.clear();
            for (int i = 0; i < 5; ++i) {
                expected += pool[Draw(mirror, 36)];
            }
        } while (SetsHeld(expected) != 0b0101);
        ASSERT_EQ(line, expected);
    }

    request = EachSetOf(0b1111, 9);
    request.VariableLength = true;
    request.Count = 1000;
    TReproducibleRandomSource variableSource;
    const std::vector<std::string> variableLines = Lines(variableSource, request);
    TReproducibleRandomSource variableMirror;
    TCharacterPool keyboard;
    BuildPool(request, keyboard);
    for (const std::string& line : variableLines) {
        uint32_t length = 0;
        do {
            length = Draw(variableMirror, 9) + 1;
        } while (length < 4);
        std::string expected;
        do {
            expected.clear();
            for (uint32_t i = 0; i < length; ++i) {
                expected += keyboard.At(Draw(variableMirror, 94));
            }
        } while (SetsHeld(expected) != 0xF);
        ASSERT_EQ(line, expected);
    }
    EXPECT_EQ(variableSource.State(), variableMirror.State());
}

// All 36^3 - 26^3 - 10^3 = 28,080 passwords of three digits and lower-case letters that hold
// both, counted about 40 times each.
TEST(EachSet, EveryPasswordThatHoldsTheSetsIsEquallyLikely) {
    const std::string pool = std::string(kDigits) + std::string(kLowerCaseLetters);
    // Cells numbered by the password's positions in the pool, read as three base-36 digits; -1 for
    // those that miss a set.
    std::vector<int> positionOf(256, -1);
    for (size_t i = 0; i < pool.size(); ++i) {
        positionOf[static_cast<unsigned char>(pool[i])] = static_cast<int>(i);
    }
    std::vector<int> cells(36 * 36 * 36, -1);
    int cellCount = 0;
    for (int a = 0; a < 36; ++a) {
        for (int b = 0; b < 36; ++b) {
            for (int c = 0; c < 36; ++c) {
                if (SetsHeld(std::string{pool[a], pool[b], pool[c]}) == 0b11) {
                    cells[(a * 36 + b) * 36 + c] = cellCount++;
                }
            }
        }
    }
    ASSERT_EQ(cellCount, 28080);
    bool stray = false; // a password outside the cells
    const auto cellOf = [&](std::string_view password) {
        int index = 0;
        for (char c : password) {
            const int position = positionOf[static_cast<unsigned char>(c)];
            stray = stray || position < 0;
            index = index * 36 + std::max(position, 0);
        }
        const int cell = password.size() == 3 ? cells[static_cast<size_t>(index)] : -1;
        stray = stray || cell < 0;
        return static_cast<size_t>(std::max(cell, 0));
    };
    const double threshold = ChiSquareThreshold(cellCount - 1, 1e-6);

    TGenerationRequest request = EachSetOf(0b11, 3);
    request.Count = 40 * int64_t{cellCount};
    TSystemRandomSource source;
    std::vector<uint64_t> counts(static_cast<size_t>(cellCount));
    TPasswordGenerator generator(source);
    ASSERT_TRUE(generator
                    .Generate(request,
                              [&](std::string_view line) {
                                  ++counts[cellOf(line)];
                                  return true;
                              })
                    .Ok());
    EXPECT_FALSE(stray);
    EXPECT_LT(ChiSquareAgainstUniform(counts), threshold);

    // The test tells a fault: mending a password that misses a set by overwriting one of its
    // characters with one of that set favours passwords that hold a single digit.
    std::fill(counts.begin(), counts.end(), 0);
    for (int64_t i = 0; i < request.Count; ++i) {
        uint32_t positions[3];
        source.DrawBelow(36, positions);
        const bool digit = positions[0] < 10 || positions[1] < 10 || positions[2] < 10;
        const bool letter = positions[0] >= 10 || positions[1] >= 10 || positions[2] >= 10;
        if (!digit) {
            positions[Draw(source, 3)] = Draw(source, 10);
        } else if (!letter) {
            positions[Draw(source, 3)] = 10 + Draw(source, 26);
        }
        ++counts[static_cast<size_t>(cells[(positions[0] * 36 + positions[1]) * 36 + positions[2]])];
    }
    EXPECT_GT(ChiSquareAgainstUniform(counts), threshold);
}

// Under VariableLength the lengths that can hold every set stay equally likely, although
// shorter ones are rejected far more often (two in three at 4 characters, one in five at 8).
TEST(EachSet, AllowedLengthsStayEquallyLikely) {
    TGenerationRequest request = EachSetOf(0xF, 8);
    request.VariableLength = true;
    request.Count = 50000;
    TSystemRandomSource source;
    std::vector<uint64_t> lengths(5);
    for (const std::string& line : Lines(source, request)) {
        ASSERT_GE(line.size(), 4u);
        ASSERT_LE(line.size(), 8u);
        ++lengths[line.size() - 4];
    }
    EXPECT_LT(ChiSquareAgainstUniform(lengths), ChiSquareThreshold(4, 1e-6));
}

TEST(EachSet, RequestsThatCannotBeMetAreRefusedBeforeAnyDraw) {
    struct TCase {
        TGenerationRequest Request;
        std::string Says;
    };
    std::vector<TCase> cases;
    cases.push_back({EachSetOf(0xF, 3), "at least 4 characters"});
    cases.push_back({EachSetOf(0b0011, 1), "at least 2 characters"});
    cases.push_back({EachSetOf(0b0001, 0), "at least 1 character long"});
    TGenerationRequest request = EachSetOf(0xF, 3);
    request.VariableLength = true;
    cases.push_back({request, "at least 4 characters"});
    request = EachSetOf(0b1010, 8);
    request.ExcludedCharacters = kSpecialCharacters;
    cases.push_back({request, "No special characters are left"});
    request = TGenerationRequest();
    request.EachSet = true;
    request.ExcludedCharacters = kUpperCaseLetters;
    cases.push_back({request, "No upper-case letters are left"});

    // One character of each set left among a hundred others: at length 4, about two passwords
    // in ten million would hold all four sets.
    request = EachSetOf(0xF, 4);
    for (char32_t code = 0x100; code < 0x164; ++code) {
        request.CustomCharacters += Utf8(code);
    }
    for (char c : std::string(kDigits) + std::string(kLowerCaseLetters) + std::string(kUpperCaseLetters) +
                      std::string(kSpecialCharacters)) {
        if (c != '2' && c != 'b' && c != 'C' && c != '#') {
            request.ExcludedCharacters += c;
        }
    }
    cases.push_back({request, "Fewer than one password in a million"});
    request.VariableLength = true;
    request.BaseLength = 6; // lengths 4 to 6: still hopeless on average
    cases.push_back({request, "Fewer than one password in a million"});

    for (const TCase& test : cases) {
        TReproducibleRandomSource source;
        TGenerationResult result;
        EXPECT_TRUE(Lines(source, test.Request, &result).empty());
        EXPECT_EQ(result.Status, TGenerationStatus::EachSetUnmet);
        EXPECT_NE(result.Error.find(test.Says), std::string::npos) << result.Error;
        EXPECT_EQ(source.State(), 0u);
    }

    // The same pool with room enough: one password in about seven thousand holds all four, and
    // those are made.
    request.VariableLength = false;
    request.BaseLength = 12;
    request.Count = 3;
    TSystemRandomSource source;
    for (const std::string& line : Lines(source, request)) {
        EXPECT_EQ(SetsHeld(line), 0xFu);
    }
}

TEST(EachSet, OnlyCustomCharactersAskForNoSet) {
    TGenerationRequest request;
    request.AllKeys = false;
    request.CustomCharacters = "xy";
    request.EachSet = true;
    request.BaseLength = 1;
    TReproducibleRandomSource source;
    EXPECT_EQ(Lines(source, request).size(), 10u);
}

// The sixteen-byte scan that checks every drawn password against the sets' own lists.
TEST(EachSet, SetsInAgreesWithTheSetsCharacterByCharacter) {
    for (unsigned byte = 0; byte < 256; ++byte) {
        const std::string single(1, static_cast<char>(byte));
        ASSERT_EQ(SetsIn(single), SetsHeld(single)) << byte;
        ASSERT_EQ(FixedSetOf(single), SetsHeld(single)) << byte;
    }
    std::mt19937 random(5);
    for (int round = 0; round < 3000; ++round) {
        std::string buffer(random() % 70, '\0');
        for (char& c : buffer) {
            // Mostly keyboard characters, some controls and bytes of longer characters.
            c = static_cast<char>(random() % 4 == 0 ? random() % 256 : 0x21 + random() % 94);
        }
        const size_t start = buffer.empty() ? 0 : random() % (buffer.size() + 1);
        const size_t length = random() % (buffer.size() - start + 1);
        ASSERT_EQ(SetsIn(buffer, start, length), SetsHeld(std::string_view(buffer).substr(start, length)))
            << "start " << start << ", length " << length << " of " << buffer.size();
    }
}
