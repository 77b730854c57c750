#pragma once

#include "app/RandomSource.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The four fixed sets, in the order in which they enter the pool. Together they are every
// printable ASCII character but the space.
inline constexpr std::string_view kDigits = "0123456789";
inline constexpr std::string_view kLowerCaseLetters = "abcdefghijklmnopqrstuvwxyz";
inline constexpr std::string_view kUpperCaseLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
inline constexpr std::string_view kSpecialCharacters = "`-=[]\\;',./~!@#$%^&*()_+{}|:\"<>?";
inline constexpr std::string_view kFixedSets[4] = {kDigits, kLowerCaseLetters, kUpperCaseLetters,
                                                   kSpecialCharacters};

// Characters easily taken for one another in common fonts: zero and the letters O and o; one, I, l
// and the vertical bar; the backtick and the two quote marks; the comma and the full stop.
inline constexpr std::string_view kLookalikes = "0Oo1Il|`'\",.";

// A request holds at most this many characters when its whole list is kept (as the window's
// result memo keeps it), counted as count x (longest possible length + 1) so that a list of
// empty lines is bounded too. 64 Mi characters is a list far longer than anyone reads, and still
// well within what the machine can hold.
inline constexpr uint64_t kListCharacterLimit = uint64_t{64} << 20;

// No password may be longer than this, even when the output is streamed: one password is always
// built in memory before it is handed on.
inline constexpr int64_t kMaxPasswordLength = int64_t{16} << 20;

// What the user asked for, as the window reads it from its controls.
struct TGenerationRequest {
    int64_t Count = 10;      // passwords to make; below 1 makes none
    int64_t BaseLength = 10; // the length, or the longest length under VariableLength
    bool VariableLength = false;
    bool AllKeys = true; // the four sets; the custom characters are then ignored
    bool Digits = false;
    bool LowerCaseLetters = false;
    bool UpperCaseLetters = false;
    bool SpecialCharacters = false;
    std::string CustomCharacters; // UTF-8, as typed (line breaks included)

    // Bound on count x (longest length + 1); 0 when the receiver streams the lines and keeps none.
    uint64_t HeldCharacterLimit = kListCharacterLimit;

    // Options of the command line; the window leaves them as they are.
    std::string ExcludedCharacters; // UTF-8; every copy of each leaves the pool
    bool NoLookalikes = false;      // leave out kLookalikes as well
    // Every chosen set (all four under AllKeys) appears in every password. Passwords that miss one
    // are drawn again whole, so that all passwords that hold every set stay equally likely.
    bool EachSet = false;
};

enum class TGenerationStatus {
    Done,
    EmptyPool,         // characters were asked for but no set is chosen and none typed
    InvalidCharacters, // the custom characters are not valid UTF-8
    TooLarge,          // beyond HeldCharacterLimit or kMaxPasswordLength
    RandomFailure,     // the random source failed part way; the lines delivered so far stand
    Stopped,           // the line receiver asked to stop
    EachSetUnmet,      // EachSet cannot be met: a set is excluded whole, or the length is too short or
                       // leaves almost every password without some set
};

struct TGenerationResult {
    TGenerationStatus Status = TGenerationStatus::Done;
    int64_t Made = 0;  // lines the receiver accepted
    std::string Error; // for the user; empty when Status is Done

    bool Ok() const { return Status == TGenerationStatus::Done; }
};

// The characters passwords are drawn from, one entry per character, duplicates kept so that
// they are drawn more often. Entries are UTF-8; a pool of single bytes only (the usual case) is
// kept as plain bytes so that drawing needs no lookup table.
class TCharacterPool {
public:
    void Append(std::string_view character);

    size_t Size() const { return m_singleBytes ? m_bytes.size() : m_starts.size(); }
    bool Empty() const { return Size() == 0; }
    bool SingleBytes() const { return m_singleBytes; }
    const std::string& Bytes() const { return m_bytes; }
    std::string_view At(size_t index) const;

private:
    std::string m_bytes;
    std::vector<uint32_t> m_starts; // byte offset of each entry; filled once a multi-byte entry arrives
    bool m_singleBytes = true;
};

// True when text is well-formed UTF-8 (no overlong forms, surrogates or code points past U+10FFFF).
bool IsUtf8(std::string_view text);

// Builds the pool: the four sets when AllKeys is set, otherwise the chosen sets in their fixed
// order followed by the custom characters; then every copy of an excluded character leaves it.
// Carriage returns and line feeds in the custom text are left out, since a password holding one
// would read and copy as two. Returns false with the status InvalidCharacters when the custom
// or the excluded text is not UTF-8.
bool BuildPool(const TGenerationRequest& request, TCharacterPool& pool);

// The sets EachSet asks for, one bit per entry of kFixedSets (digits 1, lower-case 2, upper-case 4,
// special 8): all four under AllKeys, otherwise those chosen.
unsigned ChosenSets(const TGenerationRequest& request);

// The bit of the entry of kFixedSets that holds character, or 0 when none does. Membership goes
// by the character, so a custom character that is also in a set counts for that set.
unsigned FixedSetOf(std::string_view character);

// The fixed sets (bits as in ChosenSets) that occur among the characters of
// buffer[start, start + length); the rest of buffer may be read but is not counted.
unsigned SetsIn(std::string_view buffer, size_t start, size_t length);
inline unsigned SetsIn(std::string_view text) {
    return SetsIn(text, 0, text.size());
}

// How many entries of the pool belong to each set of requiredSets, in the order of kFixedSets.
std::vector<uint32_t> RequiredSetEntries(const TCharacterPool& pool, unsigned requiredSets);

// Builds the pool and checks that the request can be met, without drawing anything; returns the
// refusal Generate would give, or a result that is Ok.
TGenerationResult PrepareRequest(const TGenerationRequest& request, TCharacterPool& pool);

// The bound of the length draw under VariableLength: the length is a draw below it, plus 1.
// A base length of 0 or less gives a bound of 0, whose draw is 0, so such passwords have one
// character.
uint32_t VariableLengthBound(int64_t baseLength);

// The longest password a request can make.
int64_t MaximumLength(const TGenerationRequest& request);

// The lengths a request's passwords take, each equally likely: one length, or under
// VariableLength 1 .. MaximumLength, less those too short for EachSet (which are drawn again).
struct TLengthRange {
    int64_t Shortest;
    int64_t Longest;
};
TLengthRange AllowedLengths(const TGenerationRequest& request);

// The progress bar's position after made of count passwords: the integer part of
// made / count * 100, with the quotient and then the product rounded to extended precision.
int ProgressPosition(int64_t made, int64_t count);

// Receives each password as a line, without a line break; returns false to stop generating.
using TLineEvent = std::function<bool(std::string_view line)>;
// Receives the progress bar's position, 0 to 100.
using TProgressEvent = std::function<void(int position)>;

// Turns a request into passwords. It keeps nothing between requests but the random source,
// which lives as long as the caller wants one sequence of draws.
class TPasswordGenerator {
public:
    explicit TPasswordGenerator(TRandomSource& source) : m_source(source) {}

    // Draws count passwords and hands them to onLine one by one, reporting the position after
    // each to onProgress (when set) and 100 at the end. For each password the length is drawn
    // first (under VariableLength), then its characters from left to right. Under EachSet a length
    // too short to hold every set is drawn again, and so are the characters of a password that
    // misses a set, keeping its length: each allowed length stays equally likely. A request that
    // is refused delivers nothing.
    TGenerationResult Generate(const TGenerationRequest& request, const TLineEvent& onLine,
                               const TProgressEvent& onProgress = nullptr);

private:
    bool DrawCharacters(const TCharacterPool& pool, int64_t count);
    // The indices of those of the passwords, lineBytes bytes each from the start of text, that
    // hold every required set.
    std::span<const uint32_t> KeptPasswords(std::string_view text, size_t lineBytes, size_t passwords);

    TRandomSource& m_source;
    std::vector<uint32_t> m_draws; // reused between batches
    std::string m_text;            // the characters of the current batch of passwords
    unsigned m_requiredSets = 0;   // ChosenSets under EachSet, else 0
    std::vector<uint32_t> m_kept;  // reused between batches
};
