// varnel-paint-resources OUTDIR [--contact-sheet FILE.png]
//
// Paints every built-in bitmap of the skin and the program's icon into OUTDIR (NAME.bmp and
// MAINICON.ico), and the pictures of the program's windows (title-bar buttons, the About logo) and
// its desktop icons: the files committed under resources/. With --contact-sheet it also writes a PNG
// that shows them all, scaled up and labelled, with a preview of each look.

#include "tools/paint_resources/ContactSheet.h"
#include "tools/paint_resources/ResourceFiles.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

int main(int argc, char** argv) {
    std::filesystem::path outDir;
    std::filesystem::path sheet;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--contact-sheet" && i + 1 < argc) {
            sheet = argv[++i];
        } else if (outDir.empty() && !arg.empty() && arg[0] != '-') {
            outDir = arg;
        } else {
            outDir.clear();
            break;
        }
    }
    if (outDir.empty()) {
        std::fprintf(stderr, "usage: varnel-paint-resources OUTDIR [--contact-sheet FILE.png]\n");
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
    if (!sheet.empty() && !WriteContactSheet(sheet, error)) {
        std::fprintf(stderr, "varnel-paint-resources: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
