#include "tools/theme/ThemeTool.h"

#include "skin/core/SUILookOverride.h"
#include "skin/core/SUIThemeFileReader.h"
#include "skin/core/SUIThemeFileWriter.h"
#include "skin/core/SUIThemes.h"
#include "toolkit/components/Resources.h"
#include "toolkit/graphics/BmpCodec.h"
#include "tools/theme/ThemeCheck.h"
#include "tools/theme/ThemePreview.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage = "usage: varnel-theme pack DIR FILE\n"
                               "       varnel-theme dump FILE\n"
                               "       varnel-theme export LOOK DIR\n"
                               "       varnel-theme check FILE\n"
                               "       varnel-theme preview LOOK|FILE [--png FILE]\n";

constexpr const char* kHelp =
    "\n"
    "Makes, lists, checks and shows the theme files of Varnel's skin.\n"
    "\n"
    "  pack DIR FILE      packs a theme folder into a theme file: one KEY.bmp per image\n"
    "                     element and values.txt with one Key=value line per integer, colour\n"
    "                     (0xBBGGRR) or boolean element\n"
    "  dump FILE          lists a theme file's entries with their types, sizes and values\n"
    "  export LOOK DIR    writes a built-in look as a theme folder to start from\n"
    "  check FILE         reports, one line each, the elements the file lacks or stores under\n"
    "                     the wrong type, strips whose width does not divide into their\n"
    "                     frames (push button 3, title-bar buttons 18, check box and radio\n"
    "                     button 4, track bar 3, scroll-bar buttons 6, scroll-bar slider 3),\n"
    "                     images that do not decode, and entries no element reads; exit\n"
    "                     status 0 when nothing is wrong, 1 when something is, 2 when the\n"
    "                     file cannot be read\n"
    "  preview LOOK|FILE  opens a window with every skinned control in a built-in look or a\n"
    "                     theme file, working; its Look menu switches looks and F5 reloads\n"
    "                     the theme file after it was packed again\n"
    "      --png FILE     renders the preview window into a PNG file without a display, and\n"
    "                     exits\n"
    "\n"
    "LOOK is one of MacOS, WinXP, DeepBlue, Protein and BlueGlass, in any letter case.\n"
    "Exit status: 0 on success, 1 when a file cannot be read, written or loaded (check: see\n"
    "above), 2 when the command line is wrong.\n";

constexpr const char* kValuesFile = "values.txt";

std::string Lower(std::string_view text) {
    std::string s(text);
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string_view Trim(std::string_view text) {
    const char* space = " \t\r\n";
    std::size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Decimal with an optional sign, or 0x hexadecimal of up to 8 digits. Values from 2^31 to
// 2^32 - 1 are taken as their 32-bit pattern, so a colour may be written either way.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::int64_t value = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        std::uint32_t hex = 0;
        auto [ptr, ec] = std::from_chars(begin + 2, end, hex, 16);
        if (ec != std::errc() || ptr != end) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(hex);
    }
    if (!text.empty() && text[0] == '+') {
        ++begin;
    }
    auto [ptr, ec] = std::from_chars(begin, end, value, 10);
    if (ec != std::errc() || ptr != end || begin == end || value < INT32_MIN || value > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<bool> ParseBoolean(std::string_view text) {
    const std::string word = Lower(text);
    if (word == "1" || word == "true") {
        return true;
    }
    if (word == "0" || word == "false") {
        return false;
    }
    return std::nullopt;
}

TStatus ReadFileBytes(const fs::path& path, std::vector<std::byte>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return TStatus::Fail("cannot read " + Quoted(path.string()));
    }
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return TStatus::Fail("cannot read " + Quoted(path.string()));
    }
    out.resize(chars.size());
    std::memcpy(out.data(), chars.data(), chars.size());
    return TStatus::Ok();
}

TStatus WriteFileBytes(const fs::path& path, std::span<const std::byte> bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        return TStatus::Fail("cannot write " + Quoted(path.string()));
    }
    return TStatus::Ok();
}

// Reads values.txt into value (element number -> 32-bit value) for the non-image elements.
TStatus ReadValues(const fs::path& path, std::map<int, std::int32_t>& values) {
    std::ifstream in(path);
    if (!in) {
        return TStatus::Fail("cannot read " + Quoted(path.string()));
    }
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string where = path.filename().string() + " line " + std::to_string(number) + ": ";
        std::string_view text = Trim(line);
        // Editors on some systems start a text file with a byte-order mark.
        if (number == 1 && text.starts_with("\xEF\xBB\xBF")) {
            text = Trim(text.substr(3));
        }
        if (text.empty() || text[0] == '#') {
            continue;
        }
        std::size_t equals = text.find('=');
        if (equals == std::string_view::npos) {
            return TStatus::Fail(where + "expected Key=value, found " + Quoted(std::string(text)));
        }
        const std::string key(Trim(text.substr(0, equals)));
        const std::string valueText(Trim(text.substr(equals + 1)));
        std::optional<TsuiThemeElement> element = FindThemeElement(key);
        if (!element) {
            return TStatus::Fail(where + Quoted(key) + " is not an element of a theme");
        }
        const TsuiThemeValueKind kind = ThemeElementKind(*element);
        if (kind == TsuiThemeValueKind::Bitmap) {
            return TStatus::Fail(where + Quoted(key) + " is an image: give it as " +
                                 std::string(ThemeElementKey(*element)) + ".bmp");
        }
        if (values.contains(static_cast<int>(*element))) {
            return TStatus::Fail(where + Quoted(key) + " is given twice");
        }
        if (kind == TsuiThemeValueKind::Boolean) {
            std::optional<bool> value = ParseBoolean(valueText);
            if (!value) {
                return TStatus::Fail(where + Quoted(key) + " takes 0, 1, False or True, not " +
                                     Quoted(valueText));
            }
            values[static_cast<int>(*element)] = *value ? 1 : 0;
        } else {
            std::optional<std::int32_t> value = ParseInteger(valueText);
            if (!value) {
                return TStatus::Fail(where + Quoted(key) +
                                     " takes a 32-bit number in decimal or 0x hexadecimal, not " +
                                     Quoted(valueText));
            }
            values[static_cast<int>(*element)] = *value;
        }
    }
    return TStatus::Ok();
}

std::string FormatValue(TsuiThemeValueKind kind, std::int32_t value) {
    if (kind == TsuiThemeValueKind::Boolean) {
        return value ? "True" : "False";
    }
    if (kind == TsuiThemeValueKind::Color) {
        char text[16];
        std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(value));
        return text;
    }
    return std::to_string(value);
}

} // namespace

std::string PrintableText(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

TStatus PackTheme(const fs::path& folder, const std::string& file, std::ostream& err) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        return TStatus::Fail(Quoted(folder.string()) + " is not a folder");
    }
    std::map<int, std::vector<std::byte>> images;
    std::map<int, std::int32_t> values;
    bool hasValues = false;

    std::vector<fs::path> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        entries.push_back(entry.path());
    }
    if (ec) {
        return TStatus::Fail("cannot list " + Quoted(folder.string()) + ": " + ec.message());
    }
    std::sort(entries.begin(), entries.end());
    for (const fs::path& path : entries) {
        const std::string name = path.filename().string();
        if (Lower(name) == kValuesFile) {
            hasValues = true;
            TStatus status = ReadValues(path, values);
            if (!status) {
                return status;
            }
            continue;
        }
        if (Lower(path.extension().string()) != ".bmp") {
            err << "note: " << name << " is not part of a theme and is left out\n";
            continue;
        }
        const std::string key = path.stem().string();
        std::optional<TsuiThemeElement> element = FindThemeElement(key);
        if (!element || ThemeElementKind(*element) != TsuiThemeValueKind::Bitmap) {
            return TStatus::Fail(Quoted(name) + " does not name an image element of a theme");
        }
        if (images.contains(static_cast<int>(*element))) {
            return TStatus::Fail(Quoted(name) + " gives " + std::string(ThemeElementKey(*element)) +
                                 " a second time");
        }
        std::vector<std::byte> bytes;
        TStatus status = ReadFileBytes(path, bytes);
        if (!status) {
            return status;
        }
        TPixelBuffer pixels;
        status = DecodeBmp(bytes, pixels);
        if (!status) {
            return TStatus::Fail(Quoted(name) + " is not a bitmap the skin can read: " + status.Message());
        }
        images[static_cast<int>(*element)] = std::move(bytes);
    }
    if (!hasValues) {
        err << "note: " << kValuesFile << " is missing; the theme holds images only\n";
    }

    TsuiThemeFileWriter writer;
    std::vector<std::string> missing;
    for (int n = 1; n <= kThemeElementCount; ++n) {
        const auto element = static_cast<TsuiThemeElement>(n);
        const std::string_view key = ThemeElementKey(element);
        switch (ThemeElementKind(element)) {
        case TsuiThemeValueKind::Bitmap:
            if (images.contains(n)) {
                writer.AddImage(key, images[n]);
            } else {
                missing.emplace_back(key);
            }
            break;
        case TsuiThemeValueKind::Boolean:
            if (values.contains(n)) {
                writer.AddBoolean(key, values[n] != 0);
            } else {
                missing.emplace_back(key);
            }
            break;
        case TsuiThemeValueKind::Integer:
        case TsuiThemeValueKind::Color:
            if (values.contains(n)) {
                writer.AddInteger(key, values[n]);
            } else {
                missing.emplace_back(key);
            }
            break;
        }
    }
    if (!missing.empty()) {
        err << "note: " << missing.size() << " of " << kThemeElementCount
            << " elements are not in the theme (components then read -1, False or no image):";
        for (const std::string& key : missing) {
            err << " " << key;
        }
        err << "\n";
    }
    TStatus status = writer.SaveToFile(file);
    if (!status) {
        return status;
    }
    return TStatus::Ok();
}

TStatus DumpTheme(const std::string& file, std::ostream& out) {
    std::unique_ptr<TsuiThemeFileReader> reader;
    TStatus status = TsuiThemeFileReader::Load(file, reader);
    if (!status) {
        return status;
    }
    const auto& records = reader->Records();
    std::size_t width = 4;
    for (const TsuiThemeFileRecord& record : records) {
        width = std::max(width, record.Name.size());
    }
    out << file << ": " << reader->Bytes().size() << " bytes, " << records.size()
        << (records.size() == 1 ? " entry\n" : " entries\n");
    std::vector<std::string> problems;
    for (const TsuiThemeFileRecord& record : records) {
        std::ostringstream line;
        line << "  " << record.Name << std::string(width - record.Name.size() + 2, ' ');
        char typeColumn[16];
        std::snprintf(typeColumn, sizeof typeColumn, "%-8s", ThemeEntryTypeName(record.Type));
        line << typeColumn;
        std::span<const std::byte> data = reader->Data(record);
        if (record.Type > 3) {
            line << "type " << static_cast<int>(record.Type) << ", carries nothing";
        } else {
            line << record.DataSize << (record.DataSize == 1 ? " byte  " : " bytes  ");
            const std::optional<TsuiThemeElement> element = FindThemeElement(record.Name);
            switch (static_cast<TsuiThemeEntryType>(record.Type)) {
            case TsuiThemeEntryType::Image: {
                TPixelBuffer pixels;
                TStatus decoded = DecodeBmp(data, pixels);
                if (decoded) {
                    line << pixels.Width() << " x " << pixels.Height();
                } else {
                    line << "not a readable bitmap: " << decoded.Message();
                    if (record.Used) {
                        problems.push_back("image " + Quoted(record.Name) +
                                           " does not decode: " + decoded.Message());
                    }
                }
                break;
            }
            case TsuiThemeEntryType::Integer: {
                std::int32_t value = static_cast<std::int32_t>(
                    static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
                    static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24);
                const bool isColor = element && ThemeElementKind(*element) == TsuiThemeValueKind::Color;
                line << FormatValue(isColor ? TsuiThemeValueKind::Color : TsuiThemeValueKind::Integer, value);
                break;
            }
            case TsuiThemeEntryType::Boolean:
                line << (data[0] != std::byte{0} ? "True" : "False") << " (" << static_cast<int>(data[0])
                     << ")";
                break;
            case TsuiThemeEntryType::String:
                line << "\""
                     << PrintableText(
                            std::string_view(reinterpret_cast<const char*>(data.data()), data.size()))
                     << "\"";
                break;
            }
        }
        if (!record.Used && record.Type <= 3) {
            line << "  (hidden by an earlier entry of that name)";
        }
        out << line.str() << "\n";
    }
    if (!problems.empty()) {
        std::string message = "Theme file " + Quoted(file) + " is damaged: " + problems.front();
        if (problems.size() > 1) {
            message += " (and " + std::to_string(problems.size() - 1) + " more)";
        }
        return TStatus::Fail(message);
    }
    return TStatus::Ok();
}

TStatus ExportLook(const std::string& look, const fs::path& folder) {
    const std::optional<TsuiUIStyle> style = FindBuiltInLook(look);
    if (!style) {
        return TStatus::Fail(Quoted(look) + " is not a built-in look (" + BuiltInLookNames() + ")");
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder)) {
        return TStatus::Fail("cannot make the folder " + Quoted(folder.string()) +
                             (ec ? ": " + ec.message() : ""));
    }
    std::ostringstream values;
    values << "# The " << kUIStyleNames[*style]
           << " look. Integers and colours in decimal or 0x hexadecimal\n"
           << "# (colours as 0xBBGGRR), booleans as False or True.\n";
    for (int n = 1; n <= kThemeElementCount; ++n) {
        const auto element = static_cast<TsuiThemeElement>(n);
        const TsuiThemeEntry entry = GetBuiltInThemeEntry(*style, element);
        const std::string key(ThemeElementKey(element));
        if (entry.Kind == TsuiThemeValueKind::Bitmap) {
            std::optional<std::span<const std::byte>> bytes = FindEmbeddedResource(entry.Resource);
            if (!bytes) {
                return TStatus::Fail("the program lacks its resource " + std::string(entry.Resource));
            }
            TStatus status = WriteFileBytes(folder / (key + ".bmp"), *bytes);
            if (!status) {
                return status;
            }
        } else {
            values << key << "=" << FormatValue(entry.Kind, entry.Value) << "\n";
        }
    }
    const std::string text = values.str();
    return WriteFileBytes(folder / kValuesFile, std::as_bytes(std::span(text.data(), text.size())));
}

int CheckThemeCommand(const std::string& file, std::ostream& out, std::ostream& err) {
    std::vector<TThemeFinding> findings;
    const TStatus status = CheckTheme(file, findings);
    if (!status) {
        err << "varnel-theme: " << status.Message() << "\n";
        return kThemeCheckUnreadable;
    }
    for (const TThemeFinding& finding : findings) {
        out << file << ": " << finding.Text << "\n";
    }
    if (findings.empty()) {
        out << file << ": all " << kThemeElementCount << " elements are present and well formed\n";
        return kThemeCheckClean;
    }
    out << file << ": " << findings.size() << (findings.size() == 1 ? " problem\n" : " problems\n");
    return kThemeCheckProblems;
}

int RunThemeTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] == "-h" || args[0] == "--help") {
        if (args.empty()) {
            err << kUsage;
            return kThemeToolUsage;
        }
        out << kUsage << kHelp;
        return kThemeToolOk;
    }
    const std::string& command = args[0];
    TStatus status = TStatus::Ok();
    if (command == "pack" && args.size() == 3) {
        status = PackTheme(args[1], args[2], err);
        if (status) {
            out << "packed " << args[1] << " into " << args[2] << "\n";
        }
    } else if (command == "dump" && args.size() == 2) {
        status = DumpTheme(args[1], out);
    } else if (command == "preview" && (args.size() == 2 || (args.size() == 4 && args[2] == "--png"))) {
        return RunThemePreview(TThemePreviewSource::FromArgument(args[1]), args.size() == 4 ? args[3] : "",
                               out, err);
    } else if (command == "check" && args.size() == 2) {
        return CheckThemeCommand(args[1], out, err);
    } else if (command == "export" && args.size() == 3) {
        status = ExportLook(args[1], args[2]);
        if (status) {
            out << "exported " << args[1] << " into " << args[2] << "\n";
        }
    } else {
        err << "varnel-theme: unknown command or wrong number of arguments\n" << kUsage;
        return kThemeToolUsage;
    }
    if (!status) {
        err << "varnel-theme: " << status.Message() << "\n";
        return kThemeToolFailed;
    }
    return kThemeToolOk;
}
