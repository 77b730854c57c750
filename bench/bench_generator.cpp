// Generator throughput: 1,000,000 passwords of 16 characters from the 94-character pool, in
// characters per second, beside a baseline that does nothing but read the kernel's random
// blocks and map bytes to characters with rejection. The engine should reach at least 80% of
// the baseline: everything it adds (pool, draw order, lines, progress) must be cheap next to
// the random bytes themselves.
//
// Passwords that must hold every set are drawn whole and thrown away when they miss one, so they
// should cost the rejections and nothing more: characters kept per second within 10% of the
// plain engine's times the share of drawn characters kept.

#include "app/CommandLine.h"
#include "app/PasswordGenerator.h"
#include "app/RandomSource.h"
#include "app/SetCoverage.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
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

// The system source, counting the characters drawn through it.
class TCountingSource final : public TRandomSource {
public:
    bool DrawBelow(uint32_t n, std::span<uint32_t> out) override {
        m_drawn += out.size();
        return m_source.DrawBelow(n, out);
    }
    bool DrawFrom(std::string_view alphabet, std::span<char> out) override {
        m_drawn += out.size();
        return m_source.DrawFrom(alphabet, out);
    }
    bool IsReproducible() const override { return false; }
    uint64_t Drawn() const { return m_drawn; }

private:
    TSystemRandomSource m_source;
    uint64_t m_drawn = 0;
};

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The plain engine and the one that keeps only passwords holding every set, run by turns so that
// both see the same load on the machine. Reports characters kept per second for each, the share
// of drawn characters kept (measured, and exact from the count of such passwords), and
// "vs_expected": the rate of EachSet over the plain rate times the measured share, which should
// stay above 0.9.
void BM_EachSetBesidePlain(benchmark::State& state) {
    TGenerationRequest plain;
    plain.Count = kPasswords;
    plain.BaseLength = kLength;
    TGenerationRequest eachSet = plain;
    eachSet.EachSet = true;

    TCountingSource source;
    TPasswordGenerator generator(source);
    std::string out;
    out.reserve(static_cast<size_t>(kPasswords * (kLength + 1)));
    const auto run = [&](const TGenerationRequest& request, double& seconds) {
        out.clear();
        const double start = CpuSeconds();
        const TGenerationResult result = generator.Generate(request, [&](std::string_view line) {
            out.append(line);
            out.push_back('\n');
            return true;
        });
        seconds += CpuSeconds() - start;
        benchmark::DoNotOptimize(out.data());
        return result.Ok();
    };

    double plainSeconds = 0;
    double eachSetSeconds = 0;
    uint64_t eachSetDrawn = 0;
    for (auto _ : state) {
        if (!run(plain, plainSeconds)) {
            state.SkipWithError(source.ErrorText().c_str());
            break;
        }
        const uint64_t before = source.Drawn();
        if (!run(eachSet, eachSetSeconds)) {
            state.SkipWithError(source.ErrorText().c_str());
            break;
        }
        eachSetDrawn += source.Drawn() - before;
    }
    const double kept = static_cast<double>(state.iterations()) * kCharacters;
    const double plainRate = kept / plainSeconds;
    const double eachSetRate = kept / eachSetSeconds;
    const double acceptance = kept / static_cast<double>(eachSetDrawn);

    TCharacterPool pool;
    BuildPool(eachSet, pool);
    TSetCoverage coverage(static_cast<uint32_t>(pool.Size()), RequiredSetEntries(pool, ChosenSets(eachSet)));
    while (coverage.Length() < kLength) {
        coverage.Advance();
    }
    state.counters["plain_per_second"] = plainRate;
    state.counters["each_set_per_second"] = eachSetRate;
    state.counters["acceptance"] = acceptance;
    state.counters["acceptance_exact"] = std::exp2(coverage.Log2Covering(coverage.AllSets()));
    state.counters["vs_expected"] = eachSetRate / (plainRate * acceptance);
}
BENCHMARK(BM_EachSetBesidePlain)->Unit(benchmark::kMillisecond)->Iterations(12);

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
