#include "skin/core/SUIThemeFileWriter.h"

#include "toolkit/components/Streams.h"

#include <cstring>

namespace {

void PutU32(std::vector<std::byte>& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::byte>(value >> (8 * i));
    }
}

} // namespace

bool TsuiThemeFileWriter::Add(std::string_view name, TsuiThemeEntryType type,
                              std::span<const std::byte> data) {
    // The name field ends at the first NUL, so a name holding one could never be read back.
    if (name.size() > TsuiThemeFileReader::kNameSize || name.find('\0') != std::string_view::npos) {
        return false;
    }
    m_entries.push_back(TEntry{std::string(name), type, std::vector<std::byte>(data.begin(), data.end())});
    return true;
}

bool TsuiThemeFileWriter::AddImage(std::string_view name, std::span<const std::byte> bmpFile) {
    return Add(name, TsuiThemeEntryType::Image, bmpFile);
}

bool TsuiThemeFileWriter::AddInteger(std::string_view name, std::int32_t value) {
    std::byte data[4];
    for (int i = 0; i < 4; ++i) {
        data[i] = static_cast<std::byte>(static_cast<std::uint32_t>(value) >> (8 * i));
    }
    return Add(name, TsuiThemeEntryType::Integer, data);
}

bool TsuiThemeFileWriter::AddBoolean(std::string_view name, bool value) {
    std::byte data[1] = {static_cast<std::byte>(value ? 1 : 0)};
    return Add(name, TsuiThemeEntryType::Boolean, data);
}

bool TsuiThemeFileWriter::AddString(std::string_view name, std::string_view text) {
    return Add(name, TsuiThemeEntryType::String, std::as_bytes(std::span(text.data(), text.size())));
}

TStatus TsuiThemeFileWriter::Build(std::vector<std::byte>& out) const {
    constexpr std::size_t kRecord = TsuiThemeFileReader::kRecordSize;
    std::uint64_t total = TsuiThemeFileReader::kHeaderSize;
    for (const TEntry& entry : m_entries) {
        total += entry.Data.size();
    }
    const std::uint64_t firstRecord = total;
    total += (m_entries.size() + 1) * kRecord;
    if (total > UINT32_MAX) {
        return TStatus::Fail("the theme is " + std::to_string(total) +
                             " bytes, more than a theme file can address (4 GiB)");
    }

    std::vector<std::byte> bytes(static_cast<std::size_t>(total));
    std::memcpy(bytes.data(), "VARNEL THEME", 12);
    PutU32(bytes, 12, TsuiThemeFileReader::kHeaderSize);
    PutU32(bytes, 16, 1);
    PutU32(bytes, 20, static_cast<std::uint32_t>(firstRecord));

    std::size_t dataOffset = TsuiThemeFileReader::kHeaderSize;
    std::size_t record = static_cast<std::size_t>(firstRecord);
    for (const TEntry& entry : m_entries) {
        if (!entry.Data.empty()) {
            std::memcpy(bytes.data() + dataOffset, entry.Data.data(), entry.Data.size());
        }
        std::memcpy(bytes.data() + record, entry.Name.data(), entry.Name.size());
        bytes[record + 64] = static_cast<std::byte>(entry.Type);
        PutU32(bytes, record + 65, static_cast<std::uint32_t>(dataOffset));
        PutU32(bytes, record + 69, static_cast<std::uint32_t>(entry.Data.size()));
        PutU32(bytes, record + 73, static_cast<std::uint32_t>(record + kRecord));
        dataOffset += entry.Data.size();
        record += kRecord;
    }
    // The terminator: all zero, its Next of 0 ends the chain.
    out = std::move(bytes);
    return TStatus::Ok();
}

TStatus TsuiThemeFileWriter::SaveToFile(const std::string& fileName) const {
    std::vector<std::byte> bytes;
    TStatus status = Build(bytes);
    if (!status) {
        return status;
    }
    TCustomMemoryStream stream(bytes);
    return stream.SaveToFile(fileName);
}
