#include "skin/core/SUIMgr.h"

#include "skin/core/SUIPublic.h"
#include "toolkit/components/Properties.h"
#include "toolkit/graphics/Bitmap.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

VARNEL_CLASS_INFO(TsuiFileTheme, [](auto& c) {
    c.String("ThemeFile", &TsuiFileTheme::ThemeFile, &TsuiFileTheme::SetThemeFile);
})

namespace {

// Only a regular file counts as existing: a folder or a pipe of that name is no theme file,
// and opening a pipe could block the user interface.
bool ThemeFileExists(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::string GetProgramFolder() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        return {};
    }
    std::string path(buffer, static_cast<std::size_t>(n));
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

TsuiFileTheme::TsuiFileTheme(TComponent* owner) : TComponent(owner) {}

TsuiFileTheme::~TsuiFileTheme() = default;

TStatus TsuiFileTheme::SetThemeFile(const std::string& value) {
    if (value == m_themeFile) {
        return TStatus::Ok();
    }
    std::string candidate = value;
    if (!ThemeFileExists(candidate)) {
        std::string folder = GetProgramFolder();
        std::string name = ExtractFileName(value);
        candidate = folder.empty() || name.empty() ? std::string() : folder + name;
        if (!ThemeFileExists(candidate)) {
            return TStatus::Ok();
        }
    }
    TStatus status = m_manager.LoadFile(candidate);
    if (!status) {
        m_lastLoadError = status.Message();
        return status;
    }
    m_themeFile = candidate;
    m_loaded = true;
    m_lastLoadError.clear();
    RestyleUsers();
    return TStatus::Ok();
}

void TsuiFileTheme::GetBitmap(TsuiThemeElement element, TGraphic* graphic) const {
    m_manager.GetBitmap(element, graphic);
}

void TsuiFileTheme::GetSlicedBitmap(TsuiThemeElement element, TBitmap* bitmap, int index, int count) const {
    // Without a file nothing is read, as for the whole image.
    if (!bitmap || !m_manager.HasReader()) {
        return;
    }
    TBitmap whole;
    m_manager.GetBitmap(element, &whole);
    SliceBitmap(&whole, bitmap, count, index);
}

void TsuiFileTheme::RestyleUsers() {
    TComponent* form = Owner();
    if (!IsFormComponent(form)) {
        return;
    }
    // By index, re-read every round: a component that restyles itself may add or free others.
    for (int i = 0; i < form->ComponentCount(); ++i) {
        TComponent* component = form->Components(i);
        if (!component || !component->ClassName().starts_with("Tsui")) {
            continue;
        }
        const TPropInfo* prop = component->ClassInfo().FindProperty("FileTheme");
        if (!prop || prop->Kind() != TPropKind::Component || !prop->CanWrite()) {
            continue;
        }
        if (prop->GetObject(component) == this) {
            prop->SetObject(component, this);
        }
    }
}
