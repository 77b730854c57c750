// Theme seeds: what "varnel-theme export" and "varnel-theme pack" make of every built-in look.

#include "fuzz/seeds/Seeds.h"
#include "skin/core/SUIThemes.h"
#include "toolkit/graphics/BmpCodec.h"
#include "tools/theme/ThemeTool.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

std::vector<std::byte> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto* from = reinterpret_cast<const std::byte*>(chars.data());
    return {from, from + chars.size()};
}

bool WriteFile(const fs::path& path, std::span<const std::byte> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// Keeps the top two rows of an exported image.
bool CutDown(const fs::path& path) {
    TPixelBuffer pixels;
    if (!DecodeBmp(ReadFile(path), pixels)) {
        return false;
    }
    pixels.Resize(pixels.Width(), std::min(pixels.Height(), 2));
    std::vector<std::byte> bytes;
    return EncodeBmp(pixels, bytes) && WriteFile(path, bytes);
}

} // namespace

TThemeSeeds ThemeSeeds(const fs::path& scratch) {
    TThemeSeeds seeds;
    for (TsuiUIStyle look : kBuiltInUIStyles) {
        const std::string name(kUIStyleNames[look]);
        const fs::path folder = scratch / name;
        const fs::path file = scratch / (name + ".theme");
        if (TStatus status = ExportLook(name, folder); !status) {
            std::cerr << "cannot export " << name << ": " << status.Message() << "\n";
            continue;
        }
        seeds.Values.push_back({"values-" + name + ".txt", ReadFile(folder / "values.txt")});
        bool cut = true;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() == ".bmp") {
                cut = CutDown(entry.path()) && cut;
            }
        }
        if (!cut) {
            std::cerr << "cannot cut down the images of " << name << "\n";
            continue;
        }
        if (TStatus status = PackTheme(folder, file.string(), std::cerr); !status) {
            std::cerr << "cannot pack " << name << ": " << status.Message() << "\n";
            continue;
        }
        seeds.Themes.push_back({"valid-look-" + name + ".theme", ReadFile(file)});
    }
    return seeds;
}
