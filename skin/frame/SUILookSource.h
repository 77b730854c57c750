#pragma once

#include "skin/core/SUIThemes.h"
#include "toolkit/graphics/Color.h"

class TBitmap;
class TsuiFileTheme;

// Where a frame component reads its elements from, decided once per change of look with
// ResolveUIStyle: the theme file, or the built-in look it resolves to.
class TsuiLookSource {
public:
    TsuiLookSource(const TsuiFileTheme* fileTheme, TsuiUIStyle uiStyle);

    bool FromFile() const { return m_fromFile; }
    // The built-in look read when not from the file (DeepBlue for FromThemeFile without a file).
    TsuiUIStyle Effective() const { return m_effective; }

    // The element's bitmap, whole (count 0) or frame index (from 1) of count equal frames.
    void Bitmap(TsuiThemeElement element, TBitmap* bitmap, int index = 0, int count = 0) const;
    int Int(TsuiThemeElement element) const;
    TColor Color(TsuiThemeElement element) const;
    bool Bool(TsuiThemeElement element) const;

private:
    const TsuiFileTheme* m_fileTheme;
    TsuiUIStyle m_effective = DeepBlue;
    bool m_fromFile = false;
};
