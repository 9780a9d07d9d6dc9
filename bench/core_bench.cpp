// Steps and whole escapes per second on the headless window, with the program's own
// clock-reseeded generator (a reseed before every draw, as in the window).
#include <benchmark/benchmark.h>

#include "platform/random_source.h"
#include "sim/escape.h"
#include "sim/headless_window.h"

namespace {

using wexal::ClockRandom;
using wexal::Escape;
using wexal::HeadlessWindow;

void runEscapes(benchmark::State& bench, bool ja) {
    HeadlessWindow window;
    window.keepLines = false;
    window.optionJa = ja;
    ClockRandom random;
    Escape escape(window, random);
    escape.formLoad();
    std::int64_t steps = 0;
    for ([[maybe_unused]] auto _ : bench) {
        while (escape.state.currentNode != 0) {
            escape.stepEscape();
            ++steps;
        }
        escape.state.currentNode = 1;
        escape.restartEscape();
    }
    bench.counters["escapes/s"] = benchmark::Counter(double(bench.iterations()), benchmark::Counter::kIsRate);
    bench.counters["steps/s"] = benchmark::Counter(double(steps), benchmark::Counter::kIsRate);
}

void BM_WholeEscapeNein(benchmark::State& bench) { runEscapes(bench, false); }
void BM_WholeEscapeJa(benchmark::State& bench) { runEscapes(bench, true); }

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
