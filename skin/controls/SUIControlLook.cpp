#include "skin/controls/SUIControlLook.h"

#include "skin/core/SUIMgr.h"
#include "toolkit/graphics/Bitmap.h"

TsuiControlLook::~TsuiControlLook() {
    if (m_fileTheme) {
        m_owner->RemoveFreeNotification(m_fileTheme);
    }
}

void TsuiControlLook::SetFileTheme(TsuiFileTheme* theme) {
    if (theme == m_fileTheme) {
        return;
    }
    if (m_fileTheme) {
        m_owner->RemoveFreeNotification(m_fileTheme);
    }
    m_fileTheme = theme;
    if (theme) {
        theme->FreeNotification(m_owner);
    }
}

bool TsuiControlLook::FileThemeRemoved(const TComponent* component, TOperation operation) {
    if (operation != opRemove || !component || component != m_fileTheme) {
        return false;
    }
    m_fileTheme = nullptr;
    return true;
}

void TsuiControlLook::GetBitmap(TsuiThemeElement element, TBitmap* bitmap, int index, int count) const {
    if (!bitmap) {
        return;
    }
    TsuiUIStyle effective = m_style;
    if (ResolveUIStyle(m_fileTheme, m_style, effective)) {
        if (count > 0) {
            m_fileTheme->GetSlicedBitmap(element, bitmap, index, count);
        } else {
            m_fileTheme->GetBitmap(element, bitmap);
        }
        return;
    }
    GetBuiltInThemeBitmap(effective, element, bitmap, index, count);
}

TColor TsuiControlLook::GetColor(TsuiThemeElement element) const {
    TsuiUIStyle effective = m_style;
    if (ResolveUIStyle(m_fileTheme, m_style, effective)) {
        return m_fileTheme->GetColor(element);
    }
    return GetBuiltInThemeColor(effective, element);
}

bool TsuiControlLook::GetBool(TsuiThemeElement element) const {
    TsuiUIStyle effective = m_style;
    if (ResolveUIStyle(m_fileTheme, m_style, effective)) {
        return m_fileTheme->GetBool(element);
    }
    return GetBuiltInThemeBool(effective, element);
}
