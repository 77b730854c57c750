#include "skin/core/SUILookOverride.h"

#include "skin/core/SUIMgr.h"
#include "skin/core/SUIPublic.h"
#include "skin/core/SUIThemeFileReader.h"
#include "toolkit/components/Component.h"
#include "toolkit/controls/Control.h"

#include <memory>
#include <sys/stat.h>

std::optional<TsuiUIStyle> FindBuiltInLook(std::string_view name) {
    // Letter case ignored, as layouts name looks.
    const std::optional<std::int64_t> value = UIStyleInfo.ValueOf(name);
    if (!value || *value == FromThemeFile) {
        return std::nullopt;
    }
    return static_cast<TsuiUIStyle>(*value);
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
