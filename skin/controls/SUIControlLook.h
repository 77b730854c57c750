#pragma once

// The look a skinned control keeps: its UIStyle and the TsuiFileTheme it may read from, with the
// reading protocol every skinned control follows (the theme file when ResolveUIStyle says so,
// else the built-in table of the effective look). The control keeps one of these, forwards its
// Notification to it, and decides itself what a new look changes.

#include "skin/core/SUIThemes.h"
#include "toolkit/components/Component.h"

class TBitmap;

class TsuiControlLook {
public:
    TsuiControlLook(TComponent* owner, TsuiUIStyle style) : m_owner(owner), m_style(style) {}
    ~TsuiControlLook();
    TsuiControlLook(const TsuiControlLook&) = delete;
    TsuiControlLook& operator=(const TsuiControlLook&) = delete;

    TsuiUIStyle UIStyle() const { return m_style; }
    void SetUIStyle(TsuiUIStyle style) { m_style = style; }
    TsuiFileTheme* FileTheme() const { return m_fileTheme; }
    // Stores the theme file, asking to hear when it is freed (and no longer about the old one).
    void SetFileTheme(TsuiFileTheme* theme);
    // True when component is the theme file going away: FileTheme is then none, and the control
    // falls back to DeepBlue.
    bool FileThemeRemoved(const TComponent* component, TOperation operation);

    // Element reads for the current look. A bitmap is read whole (count 0) or as frame index of
    // count; a look without the bitmap leaves bitmap empty.
    void GetBitmap(TsuiThemeElement element, TBitmap* bitmap, int index = 0, int count = 0) const;
    TColor GetColor(TsuiThemeElement element) const;
    bool GetBool(TsuiThemeElement element) const;

private:
    TComponent* m_owner;
    TsuiUIStyle m_style;
    TsuiFileTheme* m_fileTheme = nullptr;
};
