#include "toolkit/shell/Shell.h"

#include "toolkit/windowing/WinUser.h"
#include "toolkit/windowing/WindowSystem.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

std::string g_openProgram = "xdg-open";
std::vector<pid_t> g_children;
UINT_PTR g_reapTimer = 0;
std::uint64_t g_reapSystem = 0; // serial of the window system the timer belongs to

constexpr int kReapIntervalMs = 500;

void Reap() {
    std::erase_if(g_children, [](pid_t pid) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        // Ended, or not ours to wait for any more (ECHILD): either way it is off the list.
        return done == pid || (done < 0 && errno != EINTR);
    });
}

void OnReapTimer(HWND, UINT, UINT_PTR, DWORD) {
    Reap();
    if (g_children.empty() && g_reapTimer) {
        KillTimer(0, g_reapTimer);
        g_reapTimer = 0;
        g_reapSystem = 0;
    }
}

// Children end on their own; a timer of the message loop collects them so that no zombie stays
// behind, without a thread and without blocking the user interface.
void WatchChild(pid_t pid) {
    g_children.push_back(pid);
    TWindowSystem* system = TWindowSystem::Current();
    if (!system || g_reapSystem != system->Serial()) {
        g_reapTimer = 0; // the old system and its timers are gone
    }
    if (!g_reapTimer && system) {
        g_reapTimer = SetTimer(0, 0, kReapIntervalMs, &OnReapTimer);
        g_reapSystem = system->Serial();
    }
}

} // namespace

bool SetClipboardText(std::string_view text) {
    TWindowSystem* system = TWindowSystem::Current();
    // Plain text ends at its first NUL on every clipboard; the same here whatever the backend.
    return system && system->Backend().SetClipboardText(text.substr(0, text.find('\0')));
}

std::optional<std::string> GetClipboardText() {
    TWindowSystem* system = TWindowSystem::Current();
    if (!system) {
        return std::nullopt;
    }
    return system->Backend().ClipboardText();
}

void SetShellOpenProgram(std::string program) {
    g_openProgram = std::move(program);
}

std::vector<pid_t> PendingShellChildren() {
    Reap();
    return g_children;
}

std::intptr_t ShellExecute(HWND /*parent*/, const char* operation, const char* file,
                           const char* /*parameters*/, const char* directory, int /*showCommand*/) {
    Reap();
    const std::string verb = operation ? operation : "open";
    if (verb != "open") {
        return SE_ERR_NOASSOC;
    }
    if (!file || !*file) {
        return SE_ERR_FNF;
    }
    std::string target = file;
    if (target.front() == '-') {
        target = "./" + target;
    }

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0) {
        return SE_ERR_OOM;
    }
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return SE_ERR_OOM;
    }
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (directory && *directory) {
        posix_spawn_file_actions_addchdir_np(&actions, directory);
    }
    // The started program gets default signal handling whatever this program ignores or blocks.
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::string program = g_openProgram;
    char* argv[] = {program.data(), target.data(), nullptr};
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        return error == ENOMEM ? SE_ERR_OOM : SE_ERR_FNF;
    }
    WatchChild(pid);
    return kShellExecuteOk;
}

void Beep() {
    MessageBeep(MB_OK);
}
