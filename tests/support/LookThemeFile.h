#pragma once

// A theme file that holds a built-in look's 42 elements, in element order, as the theme writer
// makes it; a change may put entries of its own in place of an element's (answering true) or
// beside it. Header-only, for the test programs that link the skin.

#include "skin/core/SUIThemeFileWriter.h"
#include "skin/core/SUIThemes.h"
#include "toolkit/components/Resources.h"

#include <functional>
#include <string>

using TLookThemeChange = std::function<bool(TsuiThemeElement, TsuiThemeFileWriter&)>;

inline TStatus WriteLookThemeFile(TsuiUIStyle style, const std::string& file,
                                  const TLookThemeChange& change = {}) {
    TsuiThemeFileWriter writer;
    for (int n = 1; n <= kThemeElementCount; ++n) {
        const auto element = static_cast<TsuiThemeElement>(n);
        if (change && change(element, writer)) {
            continue;
        }
        const TsuiThemeEntry entry = GetBuiltInThemeEntry(style, element);
        const std::string_view key = ThemeElementKey(element);
        switch (entry.Kind) {
        case TsuiThemeValueKind::Bitmap:
            writer.AddImage(key, *FindEmbeddedResource(entry.Resource));
            break;
        case TsuiThemeValueKind::Boolean:
            writer.AddBoolean(key, entry.Value != 0);
            break;
        case TsuiThemeValueKind::Integer:
        case TsuiThemeValueKind::Color:
            writer.AddInteger(key, entry.Value);
            break;
        }
    }
    return writer.SaveToFile(file);
}
