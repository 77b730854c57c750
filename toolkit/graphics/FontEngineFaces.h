#pragma once

#include <optional>
#include <string>
#include <string_view>

// Where a face lives and what it really is, so the engine knows what it must synthesise.
struct TFaceLocation {
    std::string File;
    int Index = 0; // face index inside the file
    bool Bold = false;
    bool Italic = false;
};

// The engine's view of the installed fonts: one private fontconfig configuration that also sees
// the Windows-era font files and accepts bitmap fonts, which the system configuration rejects.
// Built once; used on the user-interface thread only.
class TFaceLocator {
public:
    TFaceLocator();
    ~TFaceLocator();
    TFaceLocator(const TFaceLocator&) = delete;
    TFaceLocator& operator=(const TFaceLocator&) = delete;

    // A font file known by its own file name ("sserife.fon", "tahoma.ttf"), found among the
    // configured fonts, else in the folder the Windows-era fonts are installed to.
    std::optional<std::string> FindFile(std::string_view fileName) const;

    // The installed face of exactly this family that best fits the style; none when fontconfig
    // would only offer a substitute from another family.
    std::optional<TFaceLocation> FindFamily(std::string_view family, bool bold, bool italic) const;

    // The face for every family the program has no special rule for: DejaVu Sans, else whatever
    // the configuration offers for sans-serif, else a DejaVu Sans file at its usual place.
    std::optional<TFaceLocation> FindDefault(bool bold, bool italic) const;

private:
    std::optional<TFaceLocation> Match(std::string_view family, bool bold, bool italic,
                                       bool requireFamily) const;

    struct TConfig;
    TConfig* m_config = nullptr; // null when fontconfig could not be set up at all
};

// Case-insensitive comparison of ASCII names, as family and file names are compared.
bool SameFontName(std::string_view a, std::string_view b);
