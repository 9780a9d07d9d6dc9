// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ranking.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "sim/exact_solution.h"

namespace wexal::cli {

Ranking rankSettings(int barriersOn, bool turnBack, const StreetWeights& weights) {
    Ranking ranking{barriersOn, turnBack, {}};
    constexpr unsigned kSettings = 1U << network::kBarrierCount;
    for (unsigned bits = 0; bits < kSettings; ++bits) {
        if (std::popcount(bits) != barriersOn) continue;
        Setting setting;
        for (int i = 0; i < network::kBarrierCount; ++i) {
            setting.barriers[i] = ((bits >> i) & 1U) != 0;
        }
        setting.turnBack = turnBack;
        setting.weights = weights;
        ExactSolution exact = solveExactly(setting);
        ranking.entries.push_back({setting, std::move(exact.failed), std::move(exact.succeeded)});
    }
    // For lists of equal length, "lowest indices first" is the 0/1 text in descending order:
    // at the first barrier where two settings differ, the earlier list has it on.
    std::sort(ranking.entries.begin(), ranking.entries.end(),
              [](const RankedSetting& a, const RankedSetting& b) {
                  if (a.caught != b.caught) return a.caught > b.caught;
                  return barriersText(a.setting) > barriersText(b.setting);
              });
    return ranking;
}

}  // namespace wexal::cli
