// The command line on arbitrary arguments (the input split at NUL bytes): whatever they are,
// varnel answers with one of its three exit statuses, and a usage error writes a message and
// nothing to standard output. Output goes into pipes that never block: a request for more
// passwords than a pipe holds ends in a failed write, as with a reader that went away, so that
// no input can run for long.

#include "app/CommandLine.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

struct TPipe {
    int Read = -1;
    int Write = -1;

    TPipe() {
        int fds[2];
        if (::pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) {
            __builtin_trap();
        }
        Read = fds[0];
        Write = fds[1];
    }

    // Empties the pipe and answers how many bytes it held.
    std::size_t Drain() const {
        char buffer[4096];
        std::size_t total = 0;
        for (;;) {
            const ssize_t n = ::read(Read, buffer, sizeof buffer);
            if (n > 0) {
                total += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                return total;
            }
        }
    }
};

// Stands in for the kernel's random bytes, so that a run can be repeated.
ssize_t CountingFill(void* buffer, size_t size, unsigned) {
    static std::uint8_t next = 0;
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = next;
        next = static_cast<std::uint8_t>(next * 5 + 1);
    }
    return static_cast<ssize_t>(size);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const TPipe out;
    static const TPipe err;
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> args;
    for (std::size_t start = 0; start < input.size();) {
        std::size_t end = input.find('\0', start);
        if (end == std::string::npos) {
            end = input.size();
        }
        args.emplace_back(input.data() + start, end - start);
        start = end + 1;
    }
    TSystemRandomSource source(CountingFill);
    const int status = RunCommandLine(args, out.Write, err.Write, &source);
    const std::size_t written = out.Drain();
    const std::size_t messages = err.Drain();
    if (status != kExitSuccess && status != kExitFailure && status != kExitUsage) {
        __builtin_trap();
    }
    if (status == kExitUsage && (written != 0 || messages == 0)) {
        __builtin_trap();
    }
    return 0;
}
