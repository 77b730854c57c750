#pragma once

#include "app/RandomSource.h"

#include <span>
#include <string_view>

// Exit statuses of the command line.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1; // the random source or the output failed, or no window yet
inline constexpr int kExitUsage = 2;   // bad arguments: nothing was written to standard output

// Runs varnel with its arguments (the program name left out), writing passwords and help to
// outFd and messages to errFd, and returns the exit status. systemSource, when given, stands in
// for the operating system's random source.
int RunCommandLine(std::span<const std::string_view> args, int outFd = 1, int errFd = 2,
                   TRandomSource* systemSource = nullptr);
