#include "app/PasswordGenerator.h"

#include "app/SetCoverage.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>

namespace {

// Draws are requested in batches of this many, so the random source's per-call cost is spread
// over many characters while the batch stays in the first-level cache.
constexpr int64_t kBatchDraws = 8192;

// The progress arithmetic needs the x87 extended format; with a 53-bit double, 53 of 100 would
// give 53 instead of 52.
static_assert(std::numeric_limits<long double>::digits == 64,
              "progress positions need long double with a 64-bit mantissa");

// Length of the well-formed UTF-8 sequence that starts text, or 0 when it is malformed
// (overlong forms, surrogates and code points past U+10FFFF included).
size_t Utf8SequenceLength(std::string_view text) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// Calls visit with each character of text in turn; false when text is not UTF-8, in which case
// the characters before the fault have been visited.
template <typename TVisit>
bool ForEachCharacter(std::string_view text, TVisit&& visit) {
    while (!text.empty()) {
        const size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            return false;
        }
        visit(text.substr(0, length));
        text.remove_prefix(length);
    }
    return true;
}

// Beyond this many expected draws of a whole password per password kept, EachSet is refused
// rather than left to run for what would look like for ever.
constexpr double kMaxExpectedTries = 1 << 20;

constexpr std::string_view kSetNames[4] = {"digits", "lower-case letters", "upper-case letters",
                                           "special characters"};

TGenerationResult Refusal(TGenerationStatus status, std::string error) {
    TGenerationResult result;
    result.Status = status;
    result.Error = std::move(error);
    return result;
}

// Whether EachSet would draw more than kMaxExpectedTries whole passwords, on average over the
// allowed lengths, for each one it keeps: the mean of the reciprocal of the chance that a
// password of each length holds every set.
bool TooManyTries(uint32_t poolSize, std::span<const uint32_t> setEntries, TLengthRange lengths) {
    TSetCoverage coverage(poolSize, setEntries);
    while (coverage.Length() < lengths.Shortest && !coverage.Settled()) {
        coverage.Advance();
    }
    const double lengthCount = static_cast<double>(lengths.Longest - lengths.Shortest + 1);
    // Once settled, every further length is kept at its first try.
    double tries = 0;
    int64_t length = lengths.Shortest;
    for (; length <= lengths.Longest && !coverage.Settled(); ++length) {
        tries += std::exp2(-coverage.Log2Covering(coverage.AllSets()));
        if (tries > kMaxExpectedTries * lengthCount) {
            return true; // no need to walk the rest of a long range of lengths
        }
        coverage.Advance();
    }
    tries += static_cast<double>(lengths.Longest - length + 1);
    return tries > kMaxExpectedTries * lengthCount;
}

} // namespace

void TCharacterPool::Append(std::string_view character) {
    if (m_singleBytes && character.size() != 1) {
        // From now on entries can differ in size, so each one's start must be known.
        m_starts.resize(m_bytes.size());
        for (size_t i = 0; i < m_bytes.size(); ++i) {
            m_starts[i] = static_cast<uint32_t>(i);
        }
        m_singleBytes = false;
    }
    if (!m_singleBytes) {
        m_starts.push_back(static_cast<uint32_t>(m_bytes.size()));
    }
    m_bytes.append(character);
}

std::string_view TCharacterPool::At(size_t index) const {
    assert(index < Size() && "pool index out of range");
    if (m_singleBytes) {
        return std::string_view(m_bytes).substr(index, 1);
    }
    const size_t end = index + 1 < m_starts.size() ? m_starts[index + 1] : m_bytes.size();
    return std::string_view(m_bytes).substr(m_starts[index], end - m_starts[index]);
}

bool IsUtf8(std::string_view text) {
    return ForEachCharacter(text, [](std::string_view) {});
}

bool BuildPool(const TGenerationRequest& request, TCharacterPool& pool) {
    pool = TCharacterPool();
    std::vector<std::string_view> excluded;
    const auto exclude = [&](std::string_view character) { excluded.push_back(character); };
    if (!ForEachCharacter(request.ExcludedCharacters, exclude)) {
        return false;
    }
    if (request.NoLookalikes) {
        ForEachCharacter(kLookalikes, exclude);
    }
    std::sort(excluded.begin(), excluded.end());
    const auto append = [&](std::string_view character) {
        if (excluded.empty() || !std::binary_search(excluded.begin(), excluded.end(), character)) {
            pool.Append(character);
        }
    };

    for (unsigned set = 0; set < 4; ++set) {
        if (ChosenSets(request) & (1u << set)) {
            ForEachCharacter(kFixedSets[set], append);
        }
    }
    if (request.AllKeys) {
        return true;
    }
    return ForEachCharacter(request.CustomCharacters, [&](std::string_view character) {
        if (character != "\r" && character != "\n") {
            append(character);
        }
    });
}

unsigned ChosenSets(const TGenerationRequest& request) {
    if (request.AllKeys) {
        return 0xF;
    }
    return (request.Digits ? 1u : 0u) | (request.LowerCaseLetters ? 2u : 0u) |
           (request.UpperCaseLetters ? 4u : 0u) | (request.SpecialCharacters ? 8u : 0u);
}

std::vector<uint32_t> RequiredSetEntries(const TCharacterPool& pool, unsigned requiredSets) {
    uint32_t entries[4] = {};
    for (size_t i = 0; i < pool.Size(); ++i) {
        if (const unsigned set = FixedSetOf(pool.At(i)); set != 0) {
            ++entries[std::countr_zero(set)];
        }
    }
    std::vector<uint32_t> required;
    for (unsigned set = 0; set < 4; ++set) {
        if (requiredSets & (1u << set)) {
            required.push_back(entries[set]);
        }
    }
    return required;
}

unsigned FixedSetOf(std::string_view character) {
    if (character.size() != 1) {
        return 0;
    }
    for (unsigned set = 0; set < 4; ++set) {
        if (kFixedSets[set].find(character[0]) != std::string_view::npos) {
            return 1u << set;
        }
    }
    return 0;
}

uint32_t VariableLengthBound(int64_t baseLength) {
    return static_cast<uint32_t>(std::clamp<int64_t>(baseLength, 0, std::numeric_limits<uint32_t>::max()));
}

TLengthRange AllowedLengths(const TGenerationRequest& request) {
    const int64_t longest = MaximumLength(request);
    if (!request.VariableLength) {
        return {longest, longest};
    }
    const int sets = request.EachSet ? std::popcount(ChosenSets(request)) : 0;
    return {std::max<int64_t>(1, sets), longest};
}

int64_t MaximumLength(const TGenerationRequest& request) {
    if (request.VariableLength) {
        return std::max<int64_t>(request.BaseLength, 1);
    }
    return std::max<int64_t>(request.BaseLength, 0);
}

int ProgressPosition(int64_t made, int64_t count) {
    if (count <= 0) {
        return 100;
    }
    // Each operation rounds to the 64-bit mantissa; only then is the fraction cut off.
    const long double quotient = static_cast<long double>(made) / static_cast<long double>(count);
    const long double product = quotient * 100.0L;
    return static_cast<int>(product);
}

bool TPasswordGenerator::DrawCharacters(const TCharacterPool& pool, int64_t count) {
    if (pool.SingleBytes()) {
        const size_t start = m_text.size();
        m_text.resize(start + static_cast<size_t>(count));
        return m_source.DrawFrom(pool.Bytes(),
                                 std::span<char>(m_text.data() + start, static_cast<size_t>(count)));
    }
    const uint32_t poolSize = static_cast<uint32_t>(pool.Size());
    while (count > 0) {
        const int64_t chunk = std::min(count, kBatchDraws);
        m_draws.resize(static_cast<size_t>(chunk));
        if (!m_source.DrawBelow(poolSize, m_draws)) {
            return false;
        }
        for (uint32_t draw : m_draws) {
            m_text.append(pool.At(draw));
        }
        count -= chunk;
    }
    return true;
}

unsigned SetsIn(std::string_view buffer, size_t start, size_t length) {
    assert(start <= buffer.size() && length <= buffer.size() - start && "text outside its buffer");
    // Sixteen bytes at a time: checking every drawn password must cost little next to drawing it.
    // The sets are ranges of ASCII, and no byte of a longer UTF-8 character is ASCII, so the bytes
    // can be classified one by one whatever the custom characters are.
    using TBytes = unsigned char __attribute__((vector_size(16)));
    const auto load = [](const char* from) {
        TBytes bytes;
        std::memcpy(&bytes, from, sizeof bytes);
        return bytes;
    };
    const auto classify = [](TBytes c) {
        const TBytes digit = (TBytes)(TBytes(c - '0') < 10);
        const TBytes lower = (TBytes)(TBytes(c - 'a') < 26);
        const TBytes upper = (TBytes)(TBytes(c - 'A') < 26);
        const TBytes printable = (TBytes)(TBytes(c - '!') < 94);
        const TBytes special = printable & ~(digit | lower | upper);
        return TBytes((digit & 1) | (lower & 2) | (upper & 4) | (special & 8));
    };

    const char* const text = buffer.data() + start;
    TBytes seen = {};
    size_t offset = 0;
    for (; offset + 16 <= length; offset += 16) {
        seen |= classify(load(text + offset));
    }
    if (offset < length) {
        if (length >= 16) {
            // Looking at some bytes twice does no harm.
            seen |= classify(load(text + length - 16));
        } else if (start + 16 <= buffer.size()) {
            // The bytes past the end belong to the next password: leave them out.
            const TBytes lane = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
            seen |= classify(load(text)) & (TBytes)(lane < static_cast<unsigned char>(length));
        } else {
            char tail[16] = {};
            std::memcpy(tail, text, length);
            seen |= classify(load(tail));
        }
    }
    uint64_t halves[2];
    std::memcpy(halves, &seen, sizeof halves);
    uint64_t folded = halves[0] | halves[1];
    folded |= folded >> 32;
    folded |= folded >> 16;
    folded |= folded >> 8;
    return static_cast<unsigned>(folded & 0xF);
}

TGenerationResult PrepareRequest(const TGenerationRequest& request, TCharacterPool& pool) {
    if (!BuildPool(request, pool)) {
        if (!IsUtf8(request.ExcludedCharacters)) {
            return Refusal(TGenerationStatus::InvalidCharacters,
                           "The characters to leave out are not valid UTF-8 text.");
        }
        return Refusal(TGenerationStatus::InvalidCharacters,
                       "The custom characters are not valid UTF-8 text; please type them again.");
    }
    const int64_t maximumLength = MaximumLength(request);
    if (pool.Empty() && maximumLength >= 1) {
        return Refusal(TGenerationStatus::EmptyPool,
                       "Please choose at least one set of characters, or type your own characters.");
    }
    if (pool.Size() > std::numeric_limits<uint32_t>::max()) {
        return Refusal(TGenerationStatus::TooLarge, "There are too many custom characters.");
    }
    if (maximumLength > kMaxPasswordLength) {
        return Refusal(TGenerationStatus::TooLarge, "A password can be at most " +
                                                        std::to_string(kMaxPasswordLength) +
                                                        " characters long.");
    }
    const uint64_t perLine = static_cast<uint64_t>(maximumLength) + 1;
    if (request.HeldCharacterLimit != 0 && request.Count > 0 &&
        static_cast<uint64_t>(request.Count) > request.HeldCharacterLimit / perLine) {
        return Refusal(
            TGenerationStatus::TooLarge,
            "That list would be too long to hold: the number of passwords times (their length + 1) "
            "may be at most " +
                std::to_string(request.HeldCharacterLimit) + ".");
    }
    if (!request.EachSet || ChosenSets(request) == 0) {
        return {};
    }

    const unsigned required = ChosenSets(request);
    const std::vector<uint32_t> setEntries = RequiredSetEntries(pool, required);
    for (unsigned set = 0, index = 0; set < 4; ++set) {
        if ((required & (1u << set)) && setEntries[index++] == 0) {
            return Refusal(TGenerationStatus::EachSetUnmet,
                           "No " + std::string(kSetNames[set]) +
                               " are left to draw from, so no password can hold one of each set.");
        }
    }
    const int sets = std::popcount(required);
    if (maximumLength < sets) {
        return Refusal(
            TGenerationStatus::EachSetUnmet,
            sets == 1 ? std::string("A password that holds a character of the chosen set must be at "
                                    "least 1 character long.")
                      : "A password that holds one character of each of the " + std::to_string(sets) +
                            " chosen sets must be at least " + std::to_string(sets) + " characters long.");
    }
    if (TooManyTries(static_cast<uint32_t>(pool.Size()), setEntries, AllowedLengths(request))) {
        return Refusal(TGenerationStatus::EachSetUnmet,
                       "Fewer than one password in a million would hold one character of each chosen "
                       "set; please make the passwords longer or leave out fewer characters.");
    }
    return {};
}

std::span<const uint32_t> TPasswordGenerator::KeptPasswords(std::string_view text, size_t lineBytes,
                                                            size_t passwords) {
    m_kept.resize(passwords);
    if (m_requiredSets == 0) {
        std::iota(m_kept.begin(), m_kept.end(), 0u);
        return m_kept;
    }
    // Which passwords are kept is random, so it is worked out without a branch on it: each index
    // is written and the end of the list moves on only when the password holds every set.
    size_t kept = 0;
    for (size_t i = 0; i < passwords; ++i) {
        m_kept[kept] = static_cast<uint32_t>(i);
        kept += (SetsIn(text, i * lineBytes, lineBytes) & m_requiredSets) == m_requiredSets;
    }
    return std::span<const uint32_t>(m_kept.data(), kept);
}

TGenerationResult TPasswordGenerator::Generate(const TGenerationRequest& request, const TLineEvent& onLine,
                                               const TProgressEvent& onProgress) {
    const int64_t count = request.Count;
    if (count < 1) {
        if (onProgress) {
            onProgress(100);
        }
        return {};
    }

    TCharacterPool pool;
    if (TGenerationResult refusal = PrepareRequest(request, pool); !refusal.Ok()) {
        return refusal;
    }
    m_requiredSets = request.EachSet ? ChosenSets(request) : 0;

    TGenerationResult result;
    const auto deliver = [&](std::string_view line) {
        if (!onLine(line)) {
            result.Status = TGenerationStatus::Stopped;
            result.Error = "The generation was stopped before all passwords were made.";
            return false;
        }
        ++result.Made;
        if (onProgress) {
            onProgress(ProgressPosition(result.Made, count));
        }
        return true;
    };
    const auto randomFailure = [&] {
        result.Status = TGenerationStatus::RandomFailure;
        result.Error = m_source.ErrorText();
        return result;
    };

    const TLengthRange lengths = AllowedLengths(request);
    if (request.VariableLength) {
        const uint32_t bound = VariableLengthBound(request.BaseLength);
        while (result.Made < count) {
            uint32_t lengthDraw = 0;
            do {
                if (!m_source.DrawBelow(bound, std::span<uint32_t>(&lengthDraw, 1))) {
                    return randomFailure();
                }
            } while (int64_t{lengthDraw} + 1 < lengths.Shortest);
            do {
                m_text.clear();
                if (!DrawCharacters(pool, int64_t{lengthDraw} + 1)) {
                    return randomFailure();
                }
            } while (m_requiredSets != 0 && (SetsIn(m_text) & m_requiredSets) != m_requiredSets);
            if (!deliver(m_text)) {
                return result;
            }
        }
    } else {
        const int64_t length = lengths.Longest;
        // Without length draws the character draws of consecutive passwords follow each other
        // directly, so several passwords can share one batch without changing the draw order.
        // Multi-byte characters make lines differ in bytes, so those are made one at a time.
        const int64_t perBatch =
            pool.SingleBytes() ? std::max<int64_t>(1, kBatchDraws / std::max<int64_t>(length, 1)) : 1;
        while (result.Made < count) {
            const int64_t group = std::min(perBatch, count - result.Made);
            m_text.clear();
            if (!DrawCharacters(pool, group * length)) {
                return randomFailure();
            }
            const size_t lineBytes = pool.SingleBytes() ? static_cast<size_t>(length) : m_text.size();
            const std::string_view text = m_text;
            for (uint32_t kept : KeptPasswords(text, lineBytes, static_cast<size_t>(group))) {
                if (!deliver(text.substr(kept * lineBytes, lineBytes))) {
                    return result;
                }
            }
        }
    }
    if (onProgress) {
        onProgress(100);
    }
    return result;
}
