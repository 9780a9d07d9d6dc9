// SPDX-License-Identifier: GPL-3.0-or-later
// The binomial test's acceptance region from scratch: the distribution's terms and tails, then
// both boundaries. The Auswertung's test page recomputes it whenever n, p0 or alpha change.
#include <benchmark/benchmark.h>

#include "sim/binomial_test.h"

namespace {

void acceptanceRegionAt(benchmark::State& bench, const char* p0) {
    const auto n = static_cast<std::int64_t>(bench.range(0));
    const mpq_class p(p0);
    const mpq_class alpha(1, 20);
    for ([[maybe_unused]] auto _ : bench) {
        const wexal::BinomialDistribution h0(n, p);
        benchmark::DoNotOptimize(wexal::acceptanceRegion(h0, alpha, wexal::Sided::Both));
    }
}

void BM_AcceptanceRegionHalf(benchmark::State& bench) {
    acceptanceRegionAt(bench, "1/2");
}
// An exit's exact probability as the solver gives it, far from 1/2.
void BM_AcceptanceRegionExit(benchmark::State& bench) {
    acceptanceRegionAt(bench, "5/36");
}

constexpr std::int64_t kClass = 1'000;             // a class's escapes
constexpr std::int64_t kTarget = 1'000'000;        // the size that must stay under 50 ms
constexpr std::int64_t kLargest = wexal::BinomialDistribution::kMaxTrials;

}  // namespace

BENCHMARK(BM_AcceptanceRegionHalf)->Arg(kClass)->Arg(kTarget)->Arg(kLargest)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AcceptanceRegionExit)->Arg(kClass)->Arg(kTarget)->Unit(benchmark::kMillisecond);
