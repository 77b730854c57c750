#pragma once

// TsuiFileTheme: the component placed on a form that holds a loaded theme file. Skinned
// components point to one through their FileTheme property and read elements from it while
// their UIStyle is FromThemeFile.

#include "skin/core/SUIThemes.h"
#include "toolkit/components/Component.h"

#include <string>

class TsuiFileTheme : public TComponent {
    VARNEL_CLASS(TsuiFileTheme, TComponent)

public:
    explicit TsuiFileTheme(TComponent* owner);
    ~TsuiFileTheme() override;

    const std::string& ThemeFile() const { return m_themeFile; }
    // Loads the named file, or the file of that name beside the program when the name itself
    // does not exist. The same name again, or a file found in neither place, changes nothing
    // and answers Ok. A file that is found but cannot be read or is damaged changes nothing
    // either (ThemeFile, the loaded theme and IsThemeLoaded stay as they were) and the answer
    // says which file and what is wrong with it. After a load, the components of the owning
    // form that use this theme restyle themselves from it.
    TStatus SetThemeFile(const std::string& value);

    // Whether the last file accepted as ThemeFile loaded.
    bool IsThemeLoaded() const { return m_loaded; }
    // The message of the last load that failed, empty once a load succeeds.
    const std::string& LastLoadError() const { return m_lastLoadError; }

    // Element reads, answering as TsuiFileThemeMgr does.
    void GetBitmap(TsuiThemeElement element, TGraphic* graphic) const;
    // Frame index (from 1) of count equal frames of the element's image, into bitmap.
    void GetSlicedBitmap(TsuiThemeElement element, TBitmap* bitmap, int index, int count) const;
    bool GetBool(TsuiThemeElement element) const { return m_manager.GetBool(element); }
    TColor GetColor(TsuiThemeElement element) const { return m_manager.GetColor(element); }
    int GetInt(TsuiThemeElement element) const { return m_manager.GetInt(element); }

    const TsuiFileThemeMgr& Manager() const { return m_manager; }

private:
    void RestyleUsers();

    std::string m_themeFile; // as resolved when it loaded; empty at start
    TsuiFileThemeMgr m_manager;
    bool m_loaded = false;
    std::string m_lastLoadError;
};

// The folder of the running program with a trailing "/", or empty when it cannot be found.
std::string GetProgramFolder();
// The part of a path after its last "/".
std::string ExtractFileName(const std::string& path);
