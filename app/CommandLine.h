#pragma once

#include "app/RandomSource.h"
#include "app/Startup.h"

#include <span>
#include <string>
#include <string_view>

// Exit statuses of the command line.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1; // the random source or the output failed, or no display
inline constexpr int kExitUsage = 2;   // bad arguments: nothing was written to standard output

// What a run of varnel is asked for: the window (no arguments, or window options only), a command
// (generate, --help, --version, or anything else, which RunCommandLine refuses), or an unknown
// window option (error says which).
enum class TRunKind { Window, Command, Invalid };
TRunKind ClassifyArguments(std::span<const std::string_view> args, TWindowOptions& options,
                           std::string& error);

// Runs varnel with its arguments (the program name left out), writing passwords and help to
// outFd and messages to errFd, and returns the exit status. systemSource, when given, stands in
// for the operating system's random source.
int RunCommandLine(std::span<const std::string_view> args, int outFd = 1, int errFd = 2,
                   TRandomSource* systemSource = nullptr);
