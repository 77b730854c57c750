// varnel-paint-resources OUTDIR
//
// Paints every built-in bitmap of the skin and the program's icon into OUTDIR (NAME.bmp and
// MAINICON.ico), the files committed under resources/.

#include "tools/paint_resources/ResourceFiles.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char** argv) {
    std::filesystem::path outDir;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (outDir.empty() && !arg.empty() && arg[0] != '-') {
            outDir = arg;
        } else {
            outDir.clear();
            break;
        }
    }
    if (outDir.empty()) {
        std::fprintf(stderr, "usage: varnel-paint-resources OUTDIR\n");
        return 2;
    }
    std::error_code ec;
    std::filesystem::create_directories(outDir, ec);
    if (ec) {
        std::fprintf(stderr, "varnel-paint-resources: %s: %s\n", outDir.string().c_str(),
                     ec.message().c_str());
        return 1;
    }
    std::string error;
    if (!WriteAllResources(outDir, error)) {
        std::fprintf(stderr, "varnel-paint-resources: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
