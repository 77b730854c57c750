#include "app/HelpPage.h"

#include "toolkit/shell/Shell.h"
#include "toolkit/windowing/WinUser.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The folder of the running program, or empty when the system does not say.
fs::path ProgramDirectory() {
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : program.parent_path();
}

} // namespace

std::vector<std::string> HelpPageCandidates() {
    std::vector<std::string> candidates;
    const fs::path here = ProgramDirectory();
    if (!here.empty()) {
        candidates.push_back((here / kHelpPageName).string());
        candidates.push_back(
            (here / ".." / VARNEL_INSTALL_DATADIR / "varnel" / kHelpPageName).lexically_normal().string());
    }
    candidates.push_back((fs::path(VARNEL_INSTALL_FULL_DATADIR) / "varnel" / kHelpPageName).string());
    return candidates;
}

std::optional<std::string> FindHelpPage(const std::vector<std::string>& candidates) {
    for (const std::string& candidate : candidates) {
        const fs::path path(candidate);
        std::error_code ec;
        if (path.is_absolute() && fs::is_regular_file(path, ec)) {
            return path.lexically_normal().string();
        }
    }
    return std::nullopt;
}

bool OpenHelpPage(HWND parent, const std::vector<std::string>& candidates) {
    const std::optional<std::string> page = FindHelpPage(candidates);
    if (!page) {
        return false;
    }
    return ShellExecute(parent, "open", page->c_str(), nullptr, nullptr, SW_SHOW) > 32;
}
