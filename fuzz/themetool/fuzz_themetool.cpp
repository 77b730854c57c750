// varnel-theme on files from anyone: "dump" lists and "check" judges any theme file it is given,
// and "pack" reads the values.txt of any theme folder. The same bytes go to all three: none may
// crash, hang or read out of bounds; "check" answers with one of its three statuses; and a theme
// that "pack" writes must read back, list and check without a problem of reading.

#include "skin/core/SUIThemeFileReader.h"
#include "tools/theme/ThemeCheck.h"
#include "tools/theme/ThemeTool.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A folder of this process's own, removed when the fuzzer exits normally. It lies in memory where
// the system offers that: rewriting a file on disk thousands of times a second makes the file
// system flush it each time, and the target a hundred times slower.
fs::path ScratchRoot() {
    std::error_code error;
    const fs::path base =
        fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
    return base / ("varnel-fuzz-themetool-" + std::to_string(::getpid()));
}

struct TScratch {
    fs::path Root = ScratchRoot();
    fs::path Input = Root / "input.theme";
    fs::path Folder = Root / "folder";
    fs::path Packed = Root / "packed.theme";

    TScratch() { fs::create_directories(Folder); }
    ~TScratch() {
        std::error_code error;
        fs::remove_all(Root, error);
    }
};

void WriteFile(const fs::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        __builtin_trap(); // the fuzzer cannot run without its scratch folder
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TScratch scratch;
    std::ostringstream sink;

    WriteFile(scratch.Input, data, size);
    (void)DumpTheme(scratch.Input.string(), sink);
    const int checked = CheckThemeCommand(scratch.Input.string(), sink, sink);
    if (checked < 0 || checked > 2) {
        __builtin_trap();
    }

    WriteFile(scratch.Folder / "values.txt", data, size);
    std::error_code error;
    fs::remove(scratch.Packed, error);
    if (!PackTheme(scratch.Folder, scratch.Packed.string(), sink)) {
        return 0;
    }
    std::unique_ptr<TsuiThemeFileReader> reader;
    if (!TsuiThemeFileReader::Load(scratch.Packed.string(), reader) ||
        !DumpTheme(scratch.Packed.string(), sink) ||
        CheckThemeCommand(scratch.Packed.string(), sink, sink) == 2) {
        __builtin_trap();
    }
    return 0;
}
