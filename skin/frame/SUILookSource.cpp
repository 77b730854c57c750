#include "skin/frame/SUILookSource.h"

#include "skin/core/SUIMgr.h"
#include "toolkit/graphics/Bitmap.h"

TsuiLookSource::TsuiLookSource(const TsuiFileTheme* fileTheme, TsuiUIStyle uiStyle) : m_fileTheme(fileTheme) {
    m_fromFile = ResolveUIStyle(fileTheme, uiStyle, m_effective);
}

void TsuiLookSource::Bitmap(TsuiThemeElement element, TBitmap* bitmap, int index, int count) const {
    if (!bitmap) {
        return;
    }
    if (!m_fromFile) {
        GetBuiltInThemeBitmap(m_effective, element, bitmap, index, count);
    } else if (count == 0) {
        m_fileTheme->GetBitmap(element, bitmap);
    } else {
        m_fileTheme->GetSlicedBitmap(element, bitmap, index, count);
    }
}

int TsuiLookSource::Int(TsuiThemeElement element) const {
    return m_fromFile ? m_fileTheme->GetInt(element) : GetBuiltInThemeInt(m_effective, element);
}

TColor TsuiLookSource::Color(TsuiThemeElement element) const {
    return m_fromFile ? m_fileTheme->GetColor(element) : GetBuiltInThemeColor(m_effective, element);
}

bool TsuiLookSource::Bool(TsuiThemeElement element) const {
    return m_fromFile ? m_fileTheme->GetBool(element) : GetBuiltInThemeBool(m_effective, element);
}
