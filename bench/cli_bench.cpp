// wexal-sim's batch run: escapes per second with a fixed seed, and the peak memory after each
// run. The small run goes first, so a peak that grew with N would show in the large one.
// Rates are per CPU second: the machine is shared, and one run uses one core.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include "cli/batch_run.h"

namespace {

using wexal::cli::runBatch;
using wexal::cli::Setting;

constexpr std::uint64_t kSeed = 20261208;
constexpr std::int64_t kSmallRun = 100'000;
constexpr std::int64_t kLargeRun = 10'000'000;

double peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss);
}

void batch(benchmark::State& bench, bool turnBack) {
    Setting setting;
    setting.turnBack = turnBack;
    const std::int64_t escapes = bench.range(0);
    std::int64_t steps = 0;
    for ([[maybe_unused]] auto _ : bench) {
        wexal::SeededRandom random(kSeed);
        const auto result = runBatch(setting, escapes, random);
        steps += result.steps;
        benchmark::DoNotOptimize(result.counts);
    }
    const auto runs = static_cast<double>(bench.iterations());
    bench.counters["escapes/s"] =
        benchmark::Counter(runs * static_cast<double>(escapes), benchmark::Counter::kIsRate);
    bench.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
    bench.counters["peakRSS_KB"] = peakResidentKilobytes();
}

void BM_BatchNein(benchmark::State& bench) {
    batch(bench, false);
}
void BM_BatchJa(benchmark::State& bench) {
    batch(bench, true);
}

}  // namespace

BENCHMARK(BM_BatchNein)->Arg(kSmallRun)->Arg(kLargeRun)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_BatchJa)->Arg(kSmallRun)->Arg(kLargeRun)->Iterations(1)->Unit(benchmark::kSecond);
