#pragma once

// Writes theme files in the container format TsuiThemeFileReader reads: the header, then the
// data of every entry, then the chain of records in the order the entries were added, closed by
// a terminator record. Bytes 0 to 11 of the header carry the text "VARNEL THEME" and bytes 16 to
// 19 the format version 1; readers ignore both.

#include "skin/core/SUIThemeFileReader.h"
#include "toolkit/components/Status.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TsuiThemeFileWriter {
public:
    // Names longer than the 64-byte field are refused by the adders (false) and nothing is added.
    bool AddImage(std::string_view name, std::span<const std::byte> bmpFile);
    bool AddInteger(std::string_view name, std::int32_t value);
    bool AddBoolean(std::string_view name, bool value);
    bool AddString(std::string_view name, std::string_view text);

    std::size_t EntryCount() const { return m_entries.size(); }
    // The whole file. Fails only when the entries do not fit the format's 32-bit offsets.
    TStatus Build(std::vector<std::byte>& out) const;
    TStatus SaveToFile(const std::string& fileName) const;

private:
    struct TEntry {
        std::string Name;
        TsuiThemeEntryType Type;
        std::vector<std::byte> Data;
    };
    bool Add(std::string_view name, TsuiThemeEntryType type, std::span<const std::byte> data);

    std::vector<TEntry> m_entries;
};
