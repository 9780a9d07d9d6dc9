// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include <gmpxx.h>

#include "sim/setting.h"

namespace wexal::cli {

// One setting of a ranking with its exact chances.
struct RankedSetting {
    Setting setting;
    mpq_class caught;   // ends at an exit whose barrier is on (ExactSolution::failed)
    mpq_class escaped;  // ExactSolution::succeeded
};

// Every setting with exactly `barriersOn` light barriers on under the given "Hin-und-her
// möglich", the robber most surely caught first. Equal chances keep the order of the barrier
// lists, lowest indices first: "0, 1" before "0, 2" before "1, 2", that is 11000000 before
// 10100000 before 01100000.
struct Ranking {
    int barriersOn = 0;
    bool turnBack = false;
    std::vector<RankedSetting> entries;
};

// The streets weigh as given: 1 everywhere unless a scenario says otherwise.
Ranking rankSettings(int barriersOn, bool turnBack, const StreetWeights& weights = {});

}  // namespace wexal::cli
