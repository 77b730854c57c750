// Generator throughput: 1,000,000 passwords of 16 characters from the 94-character pool, in
// characters per second, beside a baseline that does nothing but read the kernel's random
// blocks and map bytes to characters with rejection. The engine should reach at least 80% of
// the baseline: everything it adds (pool, draw order, lines, progress) must be cheap next to
// the random bytes themselves.

#include "app/CommandLine.h"
#include "app/PasswordGenerator.h"
#include "app/RandomSource.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/random.h>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

namespace {

constexpr int64_t kPasswords = 1'000'000;
constexpr int64_t kLength = 16;
constexpr int64_t kCharacters = kPasswords * kLength;

void FillFromKernel(std::vector<unsigned char>& block) {
    size_t filled = 0;
    while (filled < block.size()) {
        const ssize_t got = getrandom(block.data() + filled, block.size() - filled, 0);
        if (got > 0) {
            filled += static_cast<size_t>(got);
        } else if (errno != EINTR) {
            std::perror("getrandom");
            std::abort();
        }
    }
}

void BM_KernelBytesBaseline(benchmark::State& state) {
    std::string pool;
    for (std::string_view set : {kDigits, kLowerCaseLetters, kUpperCaseLetters, kSpecialCharacters}) {
        pool.append(set);
    }
    std::vector<unsigned char> block(TSystemRandomSource::kBlockSize);
    std::string out(static_cast<size_t>(kCharacters), '\0');
    for (auto _ : state) {
        size_t made = 0;
        while (made < out.size()) {
            FillFromKernel(block);
            for (size_t i = 0; i < block.size() && made < out.size(); ++i) {
                // Multiply-and-shift with rejection, the cheapest unbiased mapping of a byte:
                // the 68 bytes whose low product byte falls below 256 mod 94 are dropped.
                const uint32_t product = uint32_t{block[i]} * 94;
                out[made] = pool[product >> 8];
                made += (product & 0xFF) >= 256 % 94;
            }
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kCharacters);
}
BENCHMARK(BM_KernelBytesBaseline)->Unit(benchmark::kMillisecond);

// The engine as the command line drives it: each password appended with its line break to one
// buffer, no progress.
void BM_EngineLines(benchmark::State& state) {
    TSystemRandomSource source;
    TPasswordGenerator generator(source);
    TGenerationRequest request;
    request.Count = kPasswords;
    request.BaseLength = kLength;
    std::string out;
    out.reserve(static_cast<size_t>(kPasswords * (kLength + 1)));
    for (auto _ : state) {
        out.clear();
        const TGenerationResult result = generator.Generate(request, [&](std::string_view line) {
            out.append(line);
            out.push_back('\n');
            return true;
        });
        if (!result.Ok()) {
            state.SkipWithError(result.Error.c_str());
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kCharacters);
}
BENCHMARK(BM_EngineLines)->Unit(benchmark::kMillisecond);

// The same with a progress position computed after every password, as the window asks for it.
void BM_EngineLinesAndProgress(benchmark::State& state) {
    TSystemRandomSource source;
    TPasswordGenerator generator(source);
    TGenerationRequest request;
    request.Count = kPasswords;
    request.BaseLength = kLength;
    std::string out;
    out.reserve(static_cast<size_t>(kPasswords * (kLength + 1)));
    int lastPosition = 0;
    for (auto _ : state) {
        out.clear();
        generator.Generate(
            request,
            [&](std::string_view line) {
                out.append(line);
                out.push_back('\n');
                return true;
            },
            [&](int position) { lastPosition = position; });
        benchmark::DoNotOptimize(out.data());
        benchmark::DoNotOptimize(lastPosition);
    }
    state.SetItemsProcessed(state.iterations() * kCharacters);
}
BENCHMARK(BM_EngineLinesAndProgress)->Unit(benchmark::kMillisecond);

// The whole command line, writing its blocks to /dev/null.
void BM_CommandLineToDevNull(benchmark::State& state) {
    const int devNull = open("/dev/null", O_WRONLY);
    const std::string count = std::to_string(kPasswords);
    const std::string length = std::to_string(kLength);
    const std::vector<std::string_view> args = {"generate", "-n", count, "-l", length};
    for (auto _ : state) {
        if (RunCommandLine(args, devNull, devNull) != kExitSuccess) {
            state.SkipWithError("varnel generate failed");
            break;
        }
    }
    close(devNull);
    state.SetItemsProcessed(state.iterations() * kCharacters);
}
BENCHMARK(BM_CommandLineToDevNull)->Unit(benchmark::kMillisecond);

} // namespace
