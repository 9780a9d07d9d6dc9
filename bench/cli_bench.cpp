// SPDX-License-Identifier: GPL-3.0-or-later
// wexal-sim's batch run: escapes per second on one thread with a fixed seed, the same escapes
// as a bare walk over plain tables (the model's price is the ratio of the two), the speed-up
// of a second thread, and the peak memory after a small and a large run. The bare walk is
// written as plainly as possible and built with the project's flags; a second one takes its
// positions by a multiply and shift, as the batch loop does.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <thread>

#include "cli/batch_run.h"
#include "platform/random_source.h"
#include "sim/setting.h"

namespace {

using wexal::cli::BatchResult;
using wexal::cli::runBatch;

constexpr std::uint64_t kSeed = 20261208;
constexpr std::int64_t kRunEscapes = 16 * wexal::cli::kBlockEscapes;
constexpr std::int64_t kSmallRun = 100'000;
constexpr std::int64_t kLargeRun = 10'000'000;

wexal::Setting startSetting(bool turnBack) {
    wexal::Setting setting = wexal::kStartSetting;
    setting.turnBack = turnBack;
    return setting;
}

void countEscapes(benchmark::State& bench, std::int64_t escapesPerRun, std::int64_t steps) {
    const auto runs = static_cast<double>(bench.iterations());
    bench.counters["escapes/s"] = benchmark::Counter(
        runs * static_cast<double>(escapesPerRun), benchmark::Counter::kIsRate);
    bench.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}

// The model on the calling thread alone, as "wexal-sim --threads 1" runs it.
void BM_BatchOneThread(benchmark::State& bench, bool turnBack) {
    const wexal::Setting setting = startSetting(turnBack);
    std::int64_t steps = 0;
    for ([[maybe_unused]] auto _ : bench) {
        const BatchResult result = runBatch(setting, kRunEscapes, kSeed, 1);
        steps += result.steps;
        benchmark::DoNotOptimize(result.counts);
    }
    countEscapes(bench, kRunEscapes, steps);
}

// The start setting's network as plain tables: barrier 5 is on, so 4 and 5 lead to 6 and an
// escape ends on any node from 6 up. The last entry of a list is the way back.
constexpr int kFirstExit = 6;
constexpr std::array<int, kFirstExit> kStreetCount = {0, 3, 4, 4, 3, 4};
constexpr std::array<std::array<int, 4>, kFirstExit> kStreets = {{
    {},
    {2, 3, 1},
    {9, 11, 4, 1},
    {10, 5, 7, 1},
    {6, 13, 2},
    {6, 8, 12, 3},
}};

struct BareCounts {
    std::array<std::int64_t, wexal::network::kLastNode + 1> byNode{};
    std::int64_t steps = 0;
    std::int64_t stepsSquared = 0;
};

// The model's draw without the model: a position among the first `range` entries, drawn
// again while it names the junction itself or, under "nein", the node the robber came from.
// r >= 0, so the cast is the floor.
template <bool kByBits>
BareCounts bareWalk(bool turnBack, std::int64_t escapes, wexal::Xoshiro256 random) {
    BareCounts counts;
    for (std::int64_t n = 0; n < escapes; ++n) {
        int here = wexal::network::kStartNode;
        int previous = 0;
        std::int64_t length = 0;
        while (here < kFirstExit) {
            const auto at = static_cast<std::size_t>(here);
            const int range = kStreetCount[at] - (turnBack ? 0 : 1);
            const int forbidden = turnBack ? 0 : previous;
            int next = here;
            while (next == here || next == forbidden) {
                int k = 0;
                if constexpr (kByBits) {
                    k = static_cast<int>((static_cast<std::uint64_t>(range) * random.nextBits()) >>
                                         wexal::Xoshiro256::kFloatBits);
                } else {
                    k = static_cast<int>(static_cast<float>(range) * random.nextFloat());
                }
                next = kStreets[at][static_cast<std::size_t>(k)];
            }
            previous = here;
            here = next;
            ++length;
        }
        ++counts.byNode[static_cast<std::size_t>(here)];
        counts.steps += length;
        counts.stepsSquared += length * length;
    }
    return counts;
}

// Block 0 of a batch draws from the seed's own stream, so within one block the bare walk must
// count exactly what the model counts; otherwise the two would not be doing the same work.
template <bool kByBits>
bool walksAsTheModel(bool turnBack) {
    const BareCounts bare =
        bareWalk<kByBits>(turnBack, wexal::cli::kBlockEscapes, wexal::Xoshiro256(kSeed));
    const BatchResult model =
        runBatch(startSetting(turnBack), wexal::cli::kBlockEscapes, kSeed, 1);
    bool same = bare.steps == model.steps && bare.stepsSquared == model.stepsSquared;
    for (std::size_t box = 0; box < model.counts.size(); ++box) {
        const auto node = static_cast<std::size_t>(wexal::network::kExitOfBox[box]);
        same = same && bare.byNode[node] == model.counts[box];
    }
    return same;
}

template <bool kByBits>
void measureBareWalk(benchmark::State& bench, bool turnBack) {
    if (!walksAsTheModel<kByBits>(turnBack)) {
        bench.SkipWithError("the bare walk counts other escapes than the model");
        return;
    }
    std::int64_t steps = 0;
    for ([[maybe_unused]] auto _ : bench) {
        const BareCounts counts =
            bareWalk<kByBits>(turnBack, kRunEscapes, wexal::Xoshiro256(kSeed));
        steps += counts.steps;
        benchmark::DoNotOptimize(counts.byNode);
    }
    countEscapes(bench, kRunEscapes, steps);
}

void BM_BareWalk(benchmark::State& bench, bool turnBack) {
    measureBareWalk<false>(bench, turnBack);
}
void BM_BareWalkBits(benchmark::State& bench, bool turnBack) {
    measureBareWalk<true>(bench, turnBack);
}

// Wall time of one run on 1 or 2 threads: the speed-up is the ratio of the two times. The CPU
// column counts every thread, so on a busy machine it still shows what a second thread costs.
void BM_BatchThreads(benchmark::State& bench) {
    const wexal::Setting setting = startSetting(true);
    const auto threads = static_cast<int>(bench.range(0));
    std::int64_t steps = 0;
    for ([[maybe_unused]] auto _ : bench) {
        const BatchResult result = runBatch(setting, kRunEscapes, kSeed, threads);
        steps += result.steps;
        benchmark::DoNotOptimize(result.counts);
    }
    countEscapes(bench, kRunEscapes, steps);
}

double peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss);
}

// One run on every core, as wexal-sim runs by default. The small run goes first, so a peak
// that grew with the number of escapes would show after the large one.
void BM_PeakMemory(benchmark::State& bench) {
    const int threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1,
                                   wexal::cli::kMaxThreads);
    for ([[maybe_unused]] auto _ : bench) {
        benchmark::DoNotOptimize(runBatch(wexal::kStartSetting, bench.range(0), kSeed, threads));
    }
    bench.counters["peakRSS_KB"] = peakResidentKilobytes();
}

}  // namespace

BENCHMARK(BM_PeakMemory)
    ->Arg(kSmallRun)
    ->Arg(kLargeRun)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BatchOneThread, nein, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BatchOneThread, ja, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareWalk, nein, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareWalk, ja, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareWalkBits, nein, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BareWalkBits, ja, true)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BatchThreads)
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
