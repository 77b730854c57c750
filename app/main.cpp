#include "app/CommandLine.h"
#include "app/Startup.h"

#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    TWindowOptions options;
    std::string error;
    switch (ClassifyArguments(args, options, error)) {
    case TRunKind::Window:
        return RunVarnelWindow(options);
    case TRunKind::Invalid:
        if (::write(2, error.data(), error.size()) < 0) {
            return kExitUsage;
        }
        return kExitUsage;
    case TRunKind::Command:
        break;
    }
    return RunCommandLine(args);
}
