#include "skin/controls/SUILookReads.h"

#include "skin/core/SUIMgr.h"
#include "toolkit/graphics/Bitmap.h"

TsuiLookSource::TsuiLookSource(const TsuiFileTheme* fileTheme, TsuiUIStyle uiStyle) {
    if (ResolveUIStyle(fileTheme, uiStyle, Style)) {
        FileTheme = fileTheme;
    }
}

TColor TsuiLookSource::Color(TsuiThemeElement element) const {
    return FileTheme ? FileTheme->GetColor(element) : GetBuiltInThemeColor(Style, element);
}

void TsuiLookSource::Bitmap(TsuiThemeElement element, TBitmap* bitmap, int index, int count) const {
    if (!bitmap) {
        return;
    }
    // A missing image must not leave an earlier look's picture behind.
    bitmap->SetSize(0, 0);
    if (!FileTheme) {
        GetBuiltInThemeBitmap(Style, element, bitmap, index, count);
    } else if (count > 0) {
        FileTheme->GetSlicedBitmap(element, bitmap, index, count);
    } else {
        FileTheme->GetBitmap(element, bitmap);
    }
}
