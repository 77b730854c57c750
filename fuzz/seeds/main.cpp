// varnel-fuzz-seeds FOLDER: writes the seed files of the fuzz targets into FOLDER/TARGET/corpus
// (make fuzz-seeds runs it on fuzz/) and checks that the program's own readers accept every one
// of them, since a seed is only worth its place as a valid file. Exits with 1 when a seed could
// not be made or is refused.

#include "fuzz/seeds/Seeds.h"
#include "skin/core/SUIThemeFileReader.h"
#include "toolkit/graphics/BmpCodec.h"
#include "toolkit/graphics/IconCodec.h"
#include "toolkit/graphics/JpegCodec.h"
#include "toolkit/graphics/PngCodec.h"
#include "tools/theme/ThemeTool.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

std::uint32_t SeedPixel(int x, int y, int width, int height) {
    const auto red = static_cast<std::uint32_t>(width > 1 ? x * 255 / (width - 1) : 128);
    const auto green = static_cast<std::uint32_t>(height > 1 ? y * 255 / (height - 1) : 128);
    const auto blue = static_cast<std::uint32_t>((x + y) * 37 % 256);
    return (red << 16) | (green << 8) | blue;
}

namespace {

using TCheck = std::function<TStatus(std::span<const std::byte>)>;

TStatus CheckIcon(std::span<const std::byte> bytes) {
    std::vector<TIconEntry> entries;
    if (TStatus status = ReadIconDirectory(bytes, entries); !status) {
        return status;
    }
    for (const TIconEntry& entry : entries) {
        TIconImage image;
        if (TStatus status = DecodeIconEntry(bytes, entry, image); !status) {
            return status;
        }
    }
    return TStatus::Ok();
}

TStatus CheckTheme(std::span<const std::byte> bytes) {
    std::unique_ptr<TsuiThemeFileReader> reader;
    if (TStatus status = TsuiThemeFileReader::Parse({bytes.begin(), bytes.end()}, reader); !status) {
        return status;
    }
    for (const TsuiThemeFileRecord& record : reader->Records()) {
        TPixelBuffer pixels;
        if (record.Type == static_cast<std::uint8_t>(TsuiThemeEntryType::Image)) {
            if (TStatus status = DecodeBmp(reader->Data(record), pixels); !status) {
                return TStatus::Fail(record.Name + ": " + status.Message());
            }
        }
    }
    return reader->Records().empty() ? TStatus::Fail("no entries") : TStatus::Ok();
}

// A values.txt from an export must pack again on its own.
TStatus CheckValues(std::span<const std::byte> bytes, const fs::path& scratch) {
    const fs::path folder = scratch / "values";
    std::error_code error;
    fs::remove_all(folder, error);
    fs::create_directories(folder, error);
    std::ofstream(folder / "values.txt", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    std::ostringstream notes;
    return PackTheme(folder, (scratch / "values.theme").string(), notes);
}

bool Write(const fs::path& folder, const std::vector<TSeed>& seeds, const TCheck& check) {
    std::error_code error;
    fs::create_directories(folder, error);
    bool ok = !seeds.empty();
    for (const TSeed& seed : seeds) {
        TStatus status = seed.Bytes.empty() ? TStatus::Fail("could not be made") : check(seed.Bytes);
        if (!status) {
            std::cerr << folder.string() << "/" << seed.Name << ": " << status.Message() << "\n";
            ok = false;
            continue;
        }
        std::ofstream out(folder / seed.Name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(seed.Bytes.data()),
                  static_cast<std::streamsize>(seed.Bytes.size()));
        if (!out) {
            std::cerr << "cannot write " << (folder / seed.Name).string() << "\n";
            ok = false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: varnel-fuzz-seeds FOLDER\n";
        return 2;
    }
    const fs::path root = argv[1];
    const fs::path scratch = fs::temp_directory_path() / ("varnel-fuzz-seeds-" + std::to_string(::getpid()));
    bool ok = true;
    ok = Write(root / "bmp" / "corpus", BmpSeeds(),
               [](auto bytes) {
                   TPixelBuffer pixels;
                   return DecodeBmp(bytes, pixels);
               }) &&
         ok;
    ok = Write(root / "icon" / "corpus", IconSeeds(), CheckIcon) && ok;
    ok = Write(root / "png" / "corpus", PngSeeds(),
               [](auto bytes) {
                   TPixelBuffer pixels;
                   std::vector<std::uint8_t> alpha;
                   return DecodePng(bytes, pixels, alpha);
               }) &&
         ok;
    ok = Write(root / "jpeg" / "corpus", JpegSeeds(),
               [](auto bytes) {
                   TPixelBuffer pixels;
                   return DecodeJpeg(bytes, pixels);
               }) &&
         ok;
    const TThemeSeeds themes = ThemeSeeds(scratch);
    ok = Write(root / "theme" / "corpus", themes.Themes, CheckTheme) && ok;
    ok = Write(root / "themetool" / "corpus", themes.Values,
               [&](auto bytes) { return CheckValues(bytes, scratch); }) &&
         ok;
    // "dump" starts from one whole theme file; the theme target has them all.
    const auto smallest =
        std::min_element(themes.Themes.begin(), themes.Themes.end(),
                         [](const TSeed& a, const TSeed& b) { return a.Bytes.size() < b.Bytes.size(); });
    if (smallest != themes.Themes.end()) {
        ok = Write(root / "themetool" / "corpus", {*smallest}, CheckTheme) && ok;
    }
    std::error_code error;
    fs::remove_all(scratch, error);
    return ok ? 0 : 1;
}
