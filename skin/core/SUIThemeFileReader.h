#pragma once

// The container format of theme files: a 24-byte header whose bytes 20 to 23 give the offset of
// the first entry record, then a chain of 77-byte records (a 64-byte name, a type byte, the data
// offset and size, the offset of the next record), all integers little-endian. The record whose
// next offset is 0 ends the chain and carries nothing itself.
//
// The whole file is read into memory and checked before anything is kept: a file that cannot be
// read, a header or record or data that does not lie inside the file, a chain that comes back to
// a record it has passed, an integer entry that is not 4 bytes or a boolean entry that is not 1
// byte makes the load fail as a whole, with a message that says which and where.

#include "toolkit/components/Status.h"
#include "toolkit/components/Streams.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The type byte of an entry record.
enum class TsuiThemeEntryType : std::uint8_t { Image = 0, Integer = 1, Boolean = 2, String = 3 };
// The word for a type byte in messages and listings: "image", "integer", "boolean", "string", or
// "unknown" for any other value.
const char* ThemeEntryTypeName(std::uint8_t type);

// One record of the chain as it stands in the file, in chain order (the terminator left out).
struct TsuiThemeFileRecord {
    std::uint32_t RecordOffset = 0;
    std::string Name;      // up to the first NUL of the 64-byte field
    std::uint8_t Type = 0; // a TsuiThemeEntryType, or any other value for a record that carries nothing
    std::uint32_t DataOffset = 0;
    std::uint32_t DataSize = 0;
    // False when an earlier record of the same table already has this name (letter case
    // ignored), so that this one is never read.
    bool Used = true;
};

class TsuiThemeFileReader {
public:
    static constexpr std::size_t kHeaderSize = 24;
    static constexpr std::size_t kRecordSize = 77;
    static constexpr std::size_t kNameSize = 64;
    // Bounds that keep a hostile file from costing more than its size suggests: the largest file
    // read, and the most records a chain may hold (a theme needs 42).
    static constexpr std::int64_t kMaxFileSize = std::int64_t{256} << 20;
    static constexpr std::size_t kMaxRecords = 65536;

    // Reads and checks a file. On failure out is left as it was and the message names the file.
    static TStatus Load(const std::string& fileName, std::unique_ptr<TsuiThemeFileReader>& out);
    // Checks and takes the bytes of a whole file. On failure out is left as it was.
    static TStatus Parse(std::vector<std::byte> bytes, std::unique_ptr<TsuiThemeFileReader>& out);

    TsuiThemeFileReader(const TsuiThemeFileReader&) = delete;
    TsuiThemeFileReader& operator=(const TsuiThemeFileReader&) = delete;
    ~TsuiThemeFileReader();

    // The image stored under name, rewound to its start, or null. The reader owns the stream.
    TStream* GetStream(std::string_view name) const;
    // The byte stored under name as a boolean (any value but 0 is true); false when absent.
    bool GetBoolean(std::string_view name) const;
    // The integer stored under name; -1 when absent.
    std::int32_t GetInteger(std::string_view name) const;
    // The text stored under name, if any.
    std::optional<std::string> GetString(std::string_view name) const;
    // Whether the table of that type holds the name.
    bool Contains(TsuiThemeEntryType type, std::string_view name) const;

    const std::vector<TsuiThemeFileRecord>& Records() const { return m_records; }
    // The bytes of the whole file and of one record's data (empty when they do not lie in the
    // file, which can only be so for records of unknown type).
    std::span<const std::byte> Bytes() const { return m_bytes; }
    std::span<const std::byte> Data(const TsuiThemeFileRecord& record) const;

private:
    TsuiThemeFileReader() = default;
    TStatus ParseChain();

    // Keys are the names in lower case; the first entry of a name wins.
    struct TImage {
        std::unique_ptr<TCustomMemoryStream> Stream;
    };
    struct TText {
        std::size_t Offset;
        std::size_t Size;
    };

    std::vector<std::byte> m_bytes;
    std::vector<TsuiThemeFileRecord> m_records;
    std::unordered_map<std::string, TImage> m_images;
    std::unordered_map<std::string, std::int32_t> m_integers;
    std::unordered_map<std::string, std::uint8_t> m_booleans;
    std::unordered_map<std::string, TText> m_strings;
};
