#pragma once

// The reads every skinned control makes when its look changes: an element from the theme file
// when the look says so (ResolveUIStyle), otherwise from the built-in table of the look it
// resolves to.

#include "skin/core/SUIThemes.h"
#include "toolkit/graphics/Color.h"

class TBitmap;
class TsuiFileTheme;

// Where a control's look comes from: its theme file, or the built-in look in Style.
struct TsuiLookSource {
    const TsuiFileTheme* FileTheme = nullptr; // set only when the theme file applies
    TsuiUIStyle Style = DeepBlue;

    TsuiLookSource(const TsuiFileTheme* fileTheme, TsuiUIStyle uiStyle);
    // FromThemeFile when the theme file applies, else the built-in look.
    TsuiUIStyle Resolved() const { return FileTheme ? FromThemeFile : Style; }

    TColor Color(TsuiThemeElement element) const;
    // Frame index (from 1) of count equal frames, or the whole image when count is 0, into bitmap;
    // a missing image leaves bitmap empty.
    void Bitmap(TsuiThemeElement element, TBitmap* bitmap, int index = 0, int count = 0) const;
};
