#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "cli/setting.h"
#include "platform/random_source.h"
#include "sim/network.h"

namespace wexal::cli {

// The most escapes one run may take: the counter boxes count exactly only below 2^53, and at
// a few million escapes per second 10^12 is already days of work.
inline constexpr std::int64_t kMaxEscapes = 1'000'000'000'000;

// What the boxes show after the run, plus the steps, which the window does not count.
struct BatchResult {
    std::int64_t escapes = 0;                                   // Text2
    std::array<std::int64_t, network::kBarrierCount> counts{};  // Text1(0..7)
    std::int64_t succeeded = 0;                                 // Text3
    std::int64_t failed = 0;                                    // Text5
    std::int64_t steps = 0;
    double stepsSquared = 0;  // sum over escapes of their step count squared

    double meanSteps() const;
    double meanStepsStandardError() const;
};

// Called now and then with the number of escapes finished so far.
using ProgressReport = std::function<void(std::int64_t finished)>;

// Runs the given number of escapes (1..kMaxEscapes) on a headless window set as the setting,
// exactly as "&50 Wexalen" does, and reads the counts back from its boxes. Keeps nothing per
// step or escape, so memory does not grow with the count.
BatchResult runBatch(const Setting& setting, std::int64_t escapes, RandomSource& random,
                     const ProgressReport& progress = {});

}  // namespace wexal::cli
