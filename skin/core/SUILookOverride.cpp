#include "skin/core/SUILookOverride.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "skin/core/SUIThemeFileReader.h"
#include "toolkit/components/Component.h"
#include "toolkit/controls/Control.h"

#include <memory>
#include <sys/stat.h>

namespace {

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<TsuiUIStyle> FindBuiltInLook(std::string_view name) {
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        if (SameLetters(kUIStyleNames[style], name)) {
            return style;
        }
    }
    return std::nullopt;
}

std::string BuiltInLookNames() {
    std::string names;
    for (TsuiUIStyle style : kBuiltInUIStyles) {
        names += (names.empty() ? "" : ", ") + std::string(kUIStyleNames[style]);
    }
    return names;
}

TStatus LoadThemeFileAt(TsuiFileTheme& theme, const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        // The reader says best what is wrong with a name that is no file.
        std::unique_ptr<TsuiThemeFileReader> reader;
        TStatus status = TsuiThemeFileReader::Load(path, reader);
        return status ? TStatus::Fail("Cannot load theme file \"" + path + "\": not a regular file") : status;
    }
    TStatus status = theme.SetThemeFile(path);
    if (status && !theme.IsThemeLoaded()) {
        // Only a file that went away between the look above and the load comes here.
        return TStatus::Fail("Cannot load theme file \"" + path + "\": it went away while being loaded");
    }
    return status;
}

void ApplyLookToOwnedComponents(TComponent* owner, TsuiUIStyle style, TsuiFileTheme* fileTheme) {
    if (!owner) {
        return;
    }
    // By index, re-read every round: a component that restyles itself may make or free others,
    // and a handler may even free an owner that is a control (a form).
    const auto* control = dynamic_cast<const TControl*>(owner);
    const std::weak_ptr<char> alive = control ? control->AliveToken() : std::weak_ptr<char>();
    for (int i = 0; !(control && alive.expired()) && i < owner->ComponentCount(); ++i) {
        ApplyStyleToComponent(owner->Components(i), style, fileTheme);
    }
}
