// The start both end-to-end probes share: output line by line, the SDL backend on the display with
// the steady clock, and "error ..." on standard output when there is no display to run on.
#pragma once

#include "toolkit/backends/sdl/SdlBackend.h"
#include "toolkit/windowing/WindowSystem.h"

#include <cstdio>
#include <memory>
#include <string>

inline std::unique_ptr<TWindowSystem> StartProbeSystem() {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string error;
    std::unique_ptr<TSdlBackend> backend = TSdlBackend::Create(&error);
    if (!backend) {
        std::printf("error %s\n", error.c_str());
        return nullptr;
    }
    return StartWindowSystem(std::move(backend), std::make_unique<TSteadyClock>());
}
