// Runs a fuzz driver once over every file of the folders and files named on its command line, as
// libFuzzer does with -runs=0, but without libFuzzer: the test builds use g++, and a regression
// must fail them without any fuzzing. A driver that meets a fault stops the program (a trap, an
// abort or a sanitizer's report) right after the name of the input it was given.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool CollectInputs(const fs::path& path, std::vector<fs::path>& inputs) {
    std::error_code error;
    if (fs::is_regular_file(path, error)) {
        inputs.push_back(path);
        return true;
    }
    if (!fs::is_directory(path, error)) {
        std::fprintf(stderr, "replay: %s is neither a file nor a folder\n", path.c_str());
        return false;
    }
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(path, error)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    if (error) {
        std::fprintf(stderr, "replay: cannot list %s: %s\n", path.c_str(), error.message().c_str());
        return false;
    }
    if (files.empty()) {
        std::fprintf(stderr, "replay: %s holds no inputs\n", path.c_str());
        return false;
    }
    std::sort(files.begin(), files.end());
    inputs.insert(inputs.end(), files.begin(), files.end());
    return true;
}

// The bytes go into a buffer of exactly their size, so that the sanitizers see a read past the
// end of the input as the fault it is.
bool Replay(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t size = chars.size();
    const auto bytes = std::make_unique<std::uint8_t[]>(size);
    std::copy(chars.begin(), chars.end(), bytes.get());
    std::fprintf(stderr, "replaying %s\n", path.c_str());
    std::fflush(stderr);
    LLVMFuzzerTestOneInput(bytes.get(), size);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER|FILE...\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!CollectInputs(argv[i], inputs)) {
            return 2;
        }
    }
    for (const fs::path& path : inputs) {
        if (!Replay(path)) {
            return 1;
        }
    }
    std::fprintf(stderr, "replayed %zu inputs\n", inputs.size());
    return 0;
}
