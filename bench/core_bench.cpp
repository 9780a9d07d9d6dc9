// SPDX-License-Identifier: GPL-3.0-or-later
// Whole escapes per second on the model, with the program's own clock-reseeded generator (a
// reseed before every draw, as in the window) and no observer: the cost of the model itself.
#include <benchmark/benchmark.h>

#include "platform/random_source.h"
#include "sim/escape.h"
#include "sim/setting.h"

namespace {

using wexal::ClockRandom;
using wexal::Escape;

void runEscapes(benchmark::State& bench, bool turnBack) {
    wexal::Setting setting = wexal::kStartSetting;
    setting.turnBack = turnBack;
    ClockRandom random;
    Escape escape(random, setting);  // an escape stands ready at the bank
    for ([[maybe_unused]] auto _ : bench) {
        escape.wholeEscape();
        escape.restart();
    }
    bench.counters["escapes/s"] =
        benchmark::Counter(static_cast<double>(escape.attempts()), benchmark::Counter::kIsRate);
    bench.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(escape.countedSteps()), benchmark::Counter::kIsRate);
}

void BM_WholeEscapeNein(benchmark::State& bench) {
    runEscapes(bench, false);
}
void BM_WholeEscapeJa(benchmark::State& bench) {
    runEscapes(bench, true);
}

// The generator alone: the clock is read before every draw.
void BM_ReseedAndDraw(benchmark::State& bench) {
    ClockRandom random;
    for ([[maybe_unused]] auto _ : bench) {
        random.reseedFromClock();
        benchmark::DoNotOptimize(random.nextRandom());
    }
}

}  // namespace

BENCHMARK(BM_WholeEscapeNein);
BENCHMARK(BM_WholeEscapeJa);
BENCHMARK(BM_ReseedAndDraw);
