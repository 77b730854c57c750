#pragma once

#include "toolkit/windowing/Backend.h"

#include <memory>
#include <string>

// The backend a program starts with: SDL when a display can be opened, headless otherwise.
// VARNEL_BACKEND=headless asks for headless; VARNEL_BACKEND=sdl insists on SDL (nullptr, with the
// reason, when it cannot start). note receives a line saying what was chosen and why.
std::unique_ptr<TBackend> ChooseBackend(std::string* note = nullptr);
