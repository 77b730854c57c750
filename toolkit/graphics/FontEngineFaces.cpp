#include "toolkit/graphics/FontEngineFaces.h"

#include <fontconfig/fontconfig.h>
#include <string>
#include <unistd.h>

namespace {

// The Debian package with the metric-compatible Tahoma and the "MS Sans Serif" strikes installs
// here, outside fontconfig's search path.
constexpr const char* kWindowsFontDir = "/usr/share/wine/fonts";
constexpr const char* kDejaVuSansDir = "/usr/share/fonts/truetype/dejavu";

// Debian's configuration rejects every non-scalable font; an accept rule wins over a reject
// rule, so this lets the bitmap "MS Sans Serif" through without editing system files.
constexpr const char* kAcceptBitmapFonts = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <selectfont><acceptfont><pattern>
    <patelt name="scalable"><bool>false</bool></patelt>
  </pattern></acceptfont></selectfont>
</fontconfig>
)";

// Used only when the system configuration cannot be read: the usual font folder, so that the
// engine still finds DejaVu Sans.
constexpr const char* kMinimalConfig = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts</dir>
</fontconfig>
)";

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view BaseName(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool FileReadable(const std::string& path) {
    return access(path.c_str(), R_OK) == 0;
}

} // namespace

bool SameFontName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

struct TFaceLocator::TConfig {
    FcConfig* config = nullptr;
};

TFaceLocator::TFaceLocator() {
    FcConfig* config = FcConfigCreate();
    if (!config) {
        return;
    }
    const auto* acceptXml = reinterpret_cast<const FcChar8*>(kAcceptBitmapFonts);
    const auto* minimalXml = reinterpret_cast<const FcChar8*>(kMinimalConfig);
    // A null file name loads the system's default configuration.
    if (!FcConfigParseAndLoad(config, nullptr, FcFalse)) {
        FcConfigParseAndLoadFromMemory(config, minimalXml, FcFalse);
    }
    FcConfigParseAndLoadFromMemory(config, acceptXml, FcFalse);
    FcConfigBuildFonts(config);
    FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(kWindowsFontDir));
    m_config = new TConfig{config};
}

TFaceLocator::~TFaceLocator() {
    if (m_config) {
        FcConfigDestroy(m_config->config);
        delete m_config;
    }
}

std::optional<std::string> TFaceLocator::FindFile(std::string_view fileName) const {
    if (m_config) {
        for (FcSetName setName : {FcSetApplication, FcSetSystem}) {
            FcFontSet* set = FcConfigGetFonts(m_config->config, setName);
            if (!set) {
                continue;
            }
            for (int i = 0; i < set->nfont; ++i) {
                FcChar8* file = nullptr;
                if (FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) == FcResultMatch && file) {
                    const std::string_view path(reinterpret_cast<const char*>(file));
                    if (SameFontName(BaseName(path), fileName)) {
                        return std::string(path);
                    }
                }
            }
        }
    }
    std::string fallback = std::string(kWindowsFontDir) + "/" + std::string(fileName);
    if (FileReadable(fallback)) {
        return fallback;
    }
    return std::nullopt;
}

std::optional<TFaceLocation> TFaceLocator::Match(std::string_view family, bool bold, bool italic,
                                                 bool requireFamily) const {
    if (!m_config) {
        return std::nullopt;
    }
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) {
        return std::nullopt;
    }
    const std::string familyZ(family);
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyZ.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(m_config->config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    // The best font as the font itself describes it. FcFontMatch would return it merged with
    // the configuration's synthesis rules, which call a regular face bold when asked for bold.
    FcResult result = FcResultNoMatch;
    FcFontSet* sorted = FcFontSort(m_config->config, pattern, FcFalse, nullptr, &result);
    FcPatternDestroy(pattern);
    if (!sorted) {
        return std::nullopt;
    }
    const FcPattern* match = sorted->nfont > 0 ? sorted->fonts[0] : nullptr;
    if (!match) {
        FcFontSetDestroy(sorted);
        return std::nullopt;
    }

    std::optional<TFaceLocation> location;
    bool familyMatches = !requireFamily;
    FcChar8* name = nullptr;
    for (int i = 0; !familyMatches && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        familyMatches = SameFontName(reinterpret_cast<const char*>(name), family);
    }
    FcChar8* file = nullptr;
    if (familyMatches && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
        TFaceLocation found;
        found.File = reinterpret_cast<const char*>(file);
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) {
            // The upper 16 bits name a variation instance; the face itself is the lower half.
            found.Index = index & 0xFFFF;
        }
        int weight = FC_WEIGHT_REGULAR;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        found.Bold = weight >= FC_WEIGHT_DEMIBOLD;
        int slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        found.Italic = slant != FC_SLANT_ROMAN;
        location = std::move(found);
    }
    FcFontSetDestroy(sorted);
    return location;
}

std::optional<TFaceLocation> TFaceLocator::FindFamily(std::string_view family, bool bold, bool italic) const {
    if (family.empty()) {
        return std::nullopt;
    }
    return Match(family, bold, italic, true);
}

std::optional<TFaceLocation> TFaceLocator::FindDefault(bool bold, bool italic) const {
    if (auto dejaVu = Match("DejaVu Sans", bold, italic, true)) {
        return dejaVu;
    }
    if (auto any = Match("sans-serif", bold, italic, false)) {
        return any;
    }
    // Without a usable configuration, try the files where Debian installs DejaVu Sans.
    const char* name = bold && italic ? "DejaVuSans-BoldOblique.ttf"
                       : bold         ? "DejaVuSans-Bold.ttf"
                       : italic       ? "DejaVuSans-Oblique.ttf"
                                      : "DejaVuSans.ttf";
    const bool styled = bold || italic;
    for (int attempt = styled ? 0 : 1; attempt < 2; ++attempt) {
        TFaceLocation location;
        location.File = std::string(kDejaVuSansDir) + "/" + (attempt == 0 ? name : "DejaVuSans.ttf");
        if (FileReadable(location.File)) {
            location.Bold = attempt == 0 && bold;
            location.Italic = attempt == 0 && italic;
            return location;
        }
    }
    return std::nullopt;
}
