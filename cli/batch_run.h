// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "sim/block_streams.h"
#include "sim/network.h"
#include "sim/setting.h"
#include "sim/share_history.h"

namespace wexal::cli {

// The most escapes one run may take: counts stay exact only below 2^53, and at a few million
// escapes per second 10^12 is already days of work.
inline constexpr std::int64_t kMaxEscapes = 1'000'000'000'000;
inline constexpr int kMaxThreads = 256;
using wexal::kBlockEscapes;

// What the window's boxes would show after the run, plus the steps, which it does not show.
struct BatchResult {
    std::int64_t escapes = 0;
    std::array<std::int64_t, network::kBarrierCount> counts{};  // per counter box
    std::int64_t succeeded = 0;
    std::int64_t failed = 0;
    std::int64_t steps = 0;
    std::int64_t stepsSquared = 0;  // sum over escapes of their step count squared
    // The succeeded total after each escape, thinned as the window's model thins it; the
    // blocks are joined in their order, so it too does not depend on the thread count.
    ShareHistory shareHistory;

    double meanSteps() const;
    double meanStepsStandardError() const;
    void add(const BatchResult& block);  // the totals; the share history is joined apart
};

// Called now and then, on the calling thread, with the number of escapes finished so far.
using ProgressReport = std::function<void(std::int64_t finished)>;

// Runs the given number of escapes (1..kMaxEscapes) in the setting, each as "&50 Wexalen"
// runs it: to its end, then a fresh start at the bank. Block b draws from the seed's stream
// jumped b times; `threads` (1..kMaxThreads) work on the blocks at once, the calling thread
// among them. Keeps nothing per step or escape, so memory does not grow with the count: the
// share history is bounded, and a finished block waits only for the blocks before it.
BatchResult runBatch(const Setting& setting, std::int64_t escapes, std::uint64_t seed,
                     int threads = 1, const ProgressReport& progress = {});

}  // namespace wexal::cli
