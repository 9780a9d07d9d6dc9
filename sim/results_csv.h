// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

#include "platform/german_number.h"
#include "sim/exact_solution.h"
#include "sim/network.h"
#include "sim/setting.h"

namespace wexal {

// What was counted per counter box, and over how many escapes.
struct CountedExits {
    std::int64_t escapes = 0;
    std::array<std::int64_t, network::kBarrierCount> counts{};
};

// One row per exit: node, index, guarded, count, frequency, probability (reduced fraction),
// probabilityValue. Without counts the count and frequency cells stay empty, and so does the
// frequency while nothing has been counted. wexal-sim --format csv and the window's saved
// results both write exactly this.
void writeResultsCsv(std::ostream& out, const Setting& setting, const ExactSolution& exact,
                     const std::optional<CountedExits>& counted);

}  // namespace wexal
