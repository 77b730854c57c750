#include "skin/core/SUIThemeFileReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace {

std::uint32_t ReadU32(std::span<const std::byte> bytes, std::size_t offset) {
    return static_cast<std::uint32_t>(bytes[offset]) | static_cast<std::uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[offset + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[offset + 3]) << 24;
}

std::string LowerKey(std::string_view name) {
    std::string key(name);
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return key;
}

std::string Quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

// Reads a whole regular file. The file is opened without blocking and checked to be a regular
// file before it is read, so a name that turns out to be a pipe or a device can never hang the
// caller; it is read in one go so the checks afterwards see one consistent picture of it.
TStatus ReadWholeFile(const std::string& fileName, std::vector<std::byte>& out) {
    int fd = -1;
    do {
        fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return TStatus::Fail(std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int err = errno;
        ::close(fd);
        return TStatus::Fail(std::strerror(err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return TStatus::Fail("not a regular file");
    }
    if (st.st_size > TsuiThemeFileReader::kMaxFileSize) {
        ::close(fd);
        return TStatus::Fail("the file is " + std::to_string(st.st_size) +
                             " bytes long, more than a theme file may be (" +
                             std::to_string(TsuiThemeFileReader::kMaxFileSize) + ")");
    }
    std::vector<std::byte> bytes(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            int err = errno;
            ::close(fd);
            return TStatus::Fail(std::strerror(err));
        }
        if (n == 0) {
            break; // shrank while being read: take what is there, the checks judge it
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(done);
    out = std::move(bytes);
    return TStatus::Ok();
}

} // namespace

TsuiThemeFileReader::~TsuiThemeFileReader() = default;

TStatus TsuiThemeFileReader::Load(const std::string& fileName, std::unique_ptr<TsuiThemeFileReader>& out) {
    std::vector<std::byte> bytes;
    TStatus status = ReadWholeFile(fileName, bytes);
    if (status) {
        status = Parse(std::move(bytes), out);
    }
    if (!status) {
        return TStatus::Fail("Cannot load theme file " + Quoted(fileName) + ": " + status.Message());
    }
    return TStatus::Ok();
}

TStatus TsuiThemeFileReader::Parse(std::vector<std::byte> bytes, std::unique_ptr<TsuiThemeFileReader>& out) {
    std::unique_ptr<TsuiThemeFileReader> reader(new TsuiThemeFileReader());
    reader->m_bytes = std::move(bytes);
    TStatus status = reader->ParseChain();
    if (status) {
        out = std::move(reader);
    }
    return status;
}

TStatus TsuiThemeFileReader::ParseChain() {
    const std::span<const std::byte> bytes = m_bytes;
    const std::size_t size = bytes.size();
    const std::string sizeText = " (the file has " + std::to_string(size) + " bytes)";
    if (size < kHeaderSize) {
        return TStatus::Fail("the file is too short for the 24-byte header" + sizeText);
    }
    // Only the first 24 header bytes mean anything; a longer header is allowed as long as the
    // file holds it, a shorter one cannot hold the offset of the first record.
    const std::uint32_t headerSize = ReadU32(bytes, 12);
    if (headerSize < kHeaderSize) {
        return TStatus::Fail("the header claims " + std::to_string(headerSize) + " bytes, fewer than its 24");
    }
    if (headerSize > size) {
        return TStatus::Fail("the header claims " + std::to_string(headerSize) + " bytes" + sizeText);
    }

    std::unordered_set<std::uint32_t> visited;
    std::uint32_t offset = ReadU32(bytes, 20);
    for (;;) {
        if (offset > size || size - offset < kRecordSize) {
            return TStatus::Fail("the entry record at offset " + std::to_string(offset) +
                                 " runs past the end of the file" + sizeText);
        }
        if (!visited.insert(offset).second) {
            return TStatus::Fail("the entry chain comes back to the record at offset " +
                                 std::to_string(offset));
        }
        if (visited.size() > kMaxRecords + 1) {
            return TStatus::Fail("the entry chain holds more than " + std::to_string(kMaxRecords) +
                                 " entries");
        }
        const std::uint32_t next = ReadU32(bytes, offset + 73);
        if (next == 0) {
            return TStatus::Ok(); // the terminator: its own fields are not entries
        }

        TsuiThemeFileRecord record;
        record.RecordOffset = offset;
        const char* name = reinterpret_cast<const char*>(bytes.data() + offset);
        record.Name.assign(name, strnlen(name, kNameSize));
        record.Type = static_cast<std::uint8_t>(bytes[offset + 64]);
        record.DataOffset = ReadU32(bytes, offset + 65);
        record.DataSize = ReadU32(bytes, offset + 69);

        if (record.Type <= 3) {
            const std::uint64_t end = std::uint64_t{record.DataOffset} + record.DataSize;
            if (end > size) {
                return TStatus::Fail(
                    "the data of " + std::string(ThemeEntryTypeName(record.Type)) + " entry " +
                    Quoted(record.Name) + " (" + std::to_string(record.DataSize) + " bytes at offset " +
                    std::to_string(record.DataOffset) + ") runs past the end of the file" + sizeText);
            }
            const std::size_t want = record.Type == 1 ? 4 : record.Type == 2 ? 1 : record.DataSize;
            if (record.DataSize != want) {
                return TStatus::Fail(std::string(ThemeEntryTypeName(record.Type)) + " entry " +
                                     Quoted(record.Name) + " holds " + std::to_string(record.DataSize) +
                                     " bytes instead of " + std::to_string(want));
            }
            std::string key = LowerKey(record.Name);
            switch (static_cast<TsuiThemeEntryType>(record.Type)) {
            case TsuiThemeEntryType::Image:
                if (m_images.contains(key)) {
                    record.Used = false;
                } else {
                    auto stream = std::make_unique<TCustomMemoryStream>(
                        bytes.subspan(record.DataOffset, record.DataSize));
                    m_images.emplace(std::move(key), TImage{std::move(stream)});
                }
                break;
            case TsuiThemeEntryType::Integer:
                record.Used =
                    m_integers
                        .emplace(std::move(key), static_cast<std::int32_t>(ReadU32(bytes, record.DataOffset)))
                        .second;
                break;
            case TsuiThemeEntryType::Boolean:
                record.Used =
                    m_booleans.emplace(std::move(key), static_cast<std::uint8_t>(bytes[record.DataOffset]))
                        .second;
                break;
            case TsuiThemeEntryType::String:
                record.Used =
                    m_strings.emplace(std::move(key), TText{record.DataOffset, record.DataSize}).second;
                break;
            }
        } else {
            record.Used = false;
        }
        m_records.push_back(std::move(record));
        offset = next;
    }
}

TStream* TsuiThemeFileReader::GetStream(std::string_view name) const {
    auto it = m_images.find(LowerKey(name));
    if (it == m_images.end()) {
        return nullptr;
    }
    it->second.Stream->SetPosition(0);
    return it->second.Stream.get();
}

bool TsuiThemeFileReader::GetBoolean(std::string_view name) const {
    auto it = m_booleans.find(LowerKey(name));
    return it != m_booleans.end() && it->second != 0;
}

std::int32_t TsuiThemeFileReader::GetInteger(std::string_view name) const {
    auto it = m_integers.find(LowerKey(name));
    return it == m_integers.end() ? -1 : it->second;
}

std::optional<std::string> TsuiThemeFileReader::GetString(std::string_view name) const {
    auto it = m_strings.find(LowerKey(name));
    if (it == m_strings.end()) {
        return std::nullopt;
    }
    return std::string(reinterpret_cast<const char*>(m_bytes.data() + it->second.Offset), it->second.Size);
}

bool TsuiThemeFileReader::Contains(TsuiThemeEntryType type, std::string_view name) const {
    const std::string key = LowerKey(name);
    switch (type) {
    case TsuiThemeEntryType::Image:
        return m_images.contains(key);
    case TsuiThemeEntryType::Integer:
        return m_integers.contains(key);
    case TsuiThemeEntryType::Boolean:
        return m_booleans.contains(key);
    case TsuiThemeEntryType::String:
        return m_strings.contains(key);
    }
    return false;
}

std::span<const std::byte> TsuiThemeFileReader::Data(const TsuiThemeFileRecord& record) const {
    const std::uint64_t end = std::uint64_t{record.DataOffset} + record.DataSize;
    if (end > m_bytes.size()) {
        return {};
    }
    return std::span<const std::byte>(m_bytes).subspan(record.DataOffset, record.DataSize);
}

const char* ThemeEntryTypeName(std::uint8_t type) {
    switch (type) {
    case 0:
        return "image";
    case 1:
        return "integer";
    case 2:
        return "boolean";
    case 3:
        return "string";
    default:
        return "unknown";
    }
}
