#include "toolkit/backends/sdl/BackendChoice.h"

#include "toolkit/backends/headless/HeadlessBackend.h"
#include "toolkit/backends/sdl/SdlBackend.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

std::unique_ptr<TBackend> ChooseBackend(std::string* note) {
    const char* wanted = std::getenv("VARNEL_BACKEND");
    const std::string choice = wanted ? wanted : "";
    if (choice == "headless") {
        if (note) {
            *note = "headless backend (VARNEL_BACKEND=headless)";
        }
        return std::make_unique<THeadlessBackend>();
    }
    const bool displayExpected = Set("DISPLAY") || Set("WAYLAND_DISPLAY") || Set("SDL_VIDEODRIVER");
    if (choice == "sdl" || displayExpected) {
        std::string error;
        if (std::unique_ptr<TSdlBackend> sdl = TSdlBackend::Create(&error)) {
            if (note) {
                *note =
                    sdl->Scale() > 1 ? "SDL backend at scale " + std::to_string(sdl->Scale()) : "SDL backend";
            }
            return sdl;
        }
        if (choice == "sdl") {
            if (note) {
                *note = "the SDL backend cannot start: " + error;
            }
            return nullptr;
        }
        if (note) {
            *note = "headless backend (no display: " + error + ")";
        }
        return std::make_unique<THeadlessBackend>();
    }
    if (note) {
        *note = "headless backend (no display)";
    }
    return std::make_unique<THeadlessBackend>();
}
