#include "app/PasswordGenerator.h"

#include <algorithm>
#include <cassert>
#include <limits>

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

void AppendSet(TCharacterPool& pool, std::string_view set) {
    for (size_t i = 0; i < set.size(); ++i) {
        pool.Append(set.substr(i, 1));
    }
}

TGenerationResult Refusal(TGenerationStatus status, std::string error) {
    TGenerationResult result;
    result.Status = status;
    result.Error = std::move(error);
    return result;
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

bool BuildPool(const TGenerationRequest& request, TCharacterPool& pool) {
    pool = TCharacterPool();
    if (request.AllKeys) {
        for (std::string_view set : {kDigits, kLowerCaseLetters, kUpperCaseLetters, kSpecialCharacters}) {
            AppendSet(pool, set);
        }
        return true;
    }
    if (request.Digits) {
        AppendSet(pool, kDigits);
    }
    if (request.LowerCaseLetters) {
        AppendSet(pool, kLowerCaseLetters);
    }
    if (request.UpperCaseLetters) {
        AppendSet(pool, kUpperCaseLetters);
    }
    if (request.SpecialCharacters) {
        AppendSet(pool, kSpecialCharacters);
    }
    std::string_view custom = request.CustomCharacters;
    while (!custom.empty()) {
        const size_t length = Utf8SequenceLength(custom);
        if (length == 0) {
            return false;
        }
        if (custom[0] != '\r' && custom[0] != '\n') {
            pool.Append(custom.substr(0, length));
        }
        custom.remove_prefix(length);
    }
    return true;
}

uint32_t VariableLengthBound(int64_t baseLength) {
    return static_cast<uint32_t>(std::clamp<int64_t>(baseLength, 0, std::numeric_limits<uint32_t>::max()));
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
    if (!BuildPool(request, pool)) {
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
    if (request.HeldCharacterLimit != 0 &&
        static_cast<uint64_t>(count) > request.HeldCharacterLimit / perLine) {
        return Refusal(
            TGenerationStatus::TooLarge,
            "That list would be too long to hold: the number of passwords times (their length + 1) "
            "may be at most " +
                std::to_string(request.HeldCharacterLimit) + ".");
    }

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

    if (request.VariableLength) {
        const uint32_t bound = VariableLengthBound(request.BaseLength);
        while (result.Made < count) {
            uint32_t lengthDraw = 0;
            if (!m_source.DrawBelow(bound, std::span<uint32_t>(&lengthDraw, 1))) {
                return randomFailure();
            }
            m_text.clear();
            if (!DrawCharacters(pool, int64_t{lengthDraw} + 1)) {
                return randomFailure();
            }
            if (!deliver(m_text)) {
                return result;
            }
        }
    } else {
        const int64_t length = maximumLength;
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
            for (int64_t i = 0; i < group; ++i) {
                if (!deliver(text.substr(static_cast<size_t>(i) * lineBytes, lineBytes))) {
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
