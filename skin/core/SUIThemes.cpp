#include "skin/core/SUIThemes.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "skin/core/SUIThemeFileReader.h"
#include "skin/core/SUIThemeTable.h"
#include "toolkit/controls/Form.h"
#include "toolkit/graphics/Bitmap.h"

#include <algorithm>
#include <cctype>

std::string_view ThemeElementKey(TsuiThemeElement element) {
    const TsuiThemeTableRow* row = ThemeTableRow(element);
    return row ? row->Key : std::string_view();
}

TsuiThemeValueKind ThemeElementKind(TsuiThemeElement element) {
    const TsuiThemeTableRow* row = ThemeTableRow(element);
    return row ? row->Kind : TsuiThemeValueKind::Integer;
}

std::optional<TsuiThemeElement> FindThemeElement(std::string_view key) {
    auto sameLetters = [](std::string_view a, std::string_view b) {
        return std::ranges::equal(a, b, [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
        });
    };
    for (int n = 1; n <= kThemeElementCount; ++n) {
        auto element = static_cast<TsuiThemeElement>(n);
        if (sameLetters(ThemeElementKey(element), key)) {
            return element;
        }
    }
    return std::nullopt;
}

TsuiThemeEntry GetBuiltInThemeEntry(TsuiUIStyle style, TsuiThemeElement element) {
    const TsuiThemeTableRow* row = ThemeTableRow(element);
    // Only the five built-in looks have a column; anything else (FromThemeFile, or a byte that is
    // no look at all) gets the answer of a style without a table rather than a read past it.
    if (!row || style < MacOS || style > BlueGlass) {
        return TsuiThemeEntry{};
    }
    const TsuiThemeTableCell& cell = row->Looks[style - MacOS];
    return TsuiThemeEntry{row->Kind, cell.Value, cell.Resource};
}

int GetBuiltInThemeInt(TsuiUIStyle style, TsuiThemeElement element) {
    TsuiThemeEntry entry = GetBuiltInThemeEntry(style, element);
    return entry.Kind == TsuiThemeValueKind::Integer ? entry.Value : -1;
}

TColor GetBuiltInThemeColor(TsuiUIStyle style, TsuiThemeElement element) {
    TsuiThemeEntry entry = GetBuiltInThemeEntry(style, element);
    return entry.Kind == TsuiThemeValueKind::Color ? static_cast<TColor>(entry.Value) : clBlack;
}

bool GetBuiltInThemeBool(TsuiUIStyle style, TsuiThemeElement element) {
    TsuiThemeEntry entry = GetBuiltInThemeEntry(style, element);
    return entry.Kind == TsuiThemeValueKind::Boolean && entry.Value != 0;
}

void GetBuiltInThemeBitmap(TsuiUIStyle style, TsuiThemeElement element, TBitmap* bitmap, int index,
                           int count) {
    if (!bitmap) {
        return;
    }
    const TsuiThemeEntry entry = GetBuiltInThemeEntry(style, element);
    if (entry.Kind != TsuiThemeValueKind::Bitmap) {
        return;
    }
    if (count == 0) {
        // Every name in the table is a resource of the program; should one fail to load, the
        // bitmap keeps what it had rather than showing a half-read picture.
        static_cast<void>(bitmap->LoadFromResourceName(entry.Resource));
        return;
    }
    TBitmap whole;
    if (whole.LoadFromResourceName(entry.Resource)) {
        SliceBitmap(&whole, bitmap, count, index);
    }
}

TsuiUIStyle GetOwnerUIStyle(const TComponent* owner) {
    const auto* form = dynamic_cast<const TCustomForm*>(owner);
    if (!form) {
        return DeepBlue;
    }
    // The skinned form panel lives in a layer above this one, so it is known by its class name
    // and read through its published UIStyle.
    for (int i = 0; i < form->ControlCount(); ++i) {
        const TControl* control = form->Controls(i);
        if (control && control->InheritsFrom("TsuiForm")) {
            return SkinnedFormUIStyle(control).value_or(DeepBlue);
        }
    }
    return DeepBlue;
}

bool ResolveUIStyle(const TsuiFileTheme* fileTheme, TsuiUIStyle uiStyle, TsuiUIStyle& effective) {
    effective = uiStyle;
    if (uiStyle != FromThemeFile) {
        return false;
    }
    if (fileTheme && fileTheme->IsThemeLoaded()) {
        return true;
    }
    effective = DeepBlue;
    return false;
}

// ---- TsuiFileThemeMgr ----

TsuiFileThemeMgr::TsuiFileThemeMgr() = default;
TsuiFileThemeMgr::~TsuiFileThemeMgr() = default;

TStatus TsuiFileThemeMgr::LoadFile(const std::string& fileName) {
    // The new reader is built completely before the old one goes, so a file that fails to load
    // never leaves the manager without the theme it had.
    std::unique_ptr<TsuiThemeFileReader> reader;
    TStatus status = TsuiThemeFileReader::Load(fileName, reader);
    if (status) {
        m_reader = std::move(reader);
    }
    return status;
}

void TsuiFileThemeMgr::GetBitmap(TsuiThemeElement element, TGraphic* graphic) const {
    if (!m_reader || !graphic) {
        return;
    }
    TStream* stream = IsThemeElement(element) ? m_reader->GetStream(ThemeElementKey(element)) : nullptr;
    if (stream && graphic->LoadFromStream(*stream)) {
        return;
    }
    // No image under that key, or one that does not decode: the graphic is left empty, so the
    // component paints nothing there, rather than keeping the picture of the look it had.
    if (auto* bitmap = dynamic_cast<TBitmap*>(graphic)) {
        bitmap->Assign(nullptr);
    } else {
        graphic->SetWidth(0);
        graphic->SetHeight(0);
    }
}

// A number that is no element has no key, and must not find an entry stored under an empty name.
bool TsuiFileThemeMgr::GetBool(TsuiThemeElement element) const {
    return m_reader && IsThemeElement(element) && m_reader->GetBoolean(ThemeElementKey(element));
}

TColor TsuiFileThemeMgr::GetColor(TsuiThemeElement element) const {
    return static_cast<TColor>(GetInt(element));
}

int TsuiFileThemeMgr::GetInt(TsuiThemeElement element) const {
    if (!m_reader) {
        return 0;
    }
    return IsThemeElement(element) ? m_reader->GetInteger(ThemeElementKey(element)) : -1;
}
