// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ostream>
#include <random>
#include <string>

#include "sim/results_file.h"

namespace wexal {

// For the failure messages of the tests: what a results file holds, in one line.
inline void PrintTo(const Results& r, std::ostream* os) {
    *os << barriersText(r.setting) << ' ' << turnBackText(r.setting) << (r.mixed ? " gemischt" : "");
    if (r.tally) {
        *os << " | " << r.tally->exits.escapes << ':';
        for (std::int64_t count : r.tally->exits.counts) *os << ' ' << count;
        *os << " | " << r.tally->succeeded << '/' << r.tally->failed << " Schritte "
            << (r.tally->steps ? std::to_string(*r.tally->steps) : "-");
    }
    *os << " | Startwert " << (r.seed ? std::to_string(*r.seed) : "-") << " | " << r.date << " | "
        << r.name << " |";
    for (const std::string& file : r.files) *os << ' ' << file;
}

}  // namespace wexal

namespace wexal::test {

// Results as a run could leave them: a random setting, up to 10^12 escapes shared out over
// the exits that can be reached, totals that follow the barriers, and now and then a seed, a
// name or a mixed series.
inline Results randomResults(std::mt19937_64& random, std::int64_t maxEscapes = 1'000'000'000'000) {
    auto chance = [&random](int percent) {
        return std::uniform_int_distribution<int>(1, 100)(random) <= percent;
    };
    Results results;
    for (bool& on : results.setting.barriers) on = chance(50);
    results.setting.turnBack = chance(50);
    Tally tally;
    std::int64_t left = std::uniform_int_distribution<std::int64_t>(0, maxEscapes)(random);
    tally.exits.escapes = left;
    for (int box = 0; box < network::kBarrierCount; ++box) {
        const bool reachable = box != network::kRewiringBarrier || results.setting.rewiringBarrierOn();
        std::int64_t count = 0;
        if (box == network::kBarrierCount - 1) {
            count = left;
        } else if (reachable) {
            count = std::uniform_int_distribution<std::int64_t>(0, left)(random);
        }
        tally.exits.counts[static_cast<std::size_t>(box)] = count;
        left -= count;
        (results.setting.barriers[static_cast<std::size_t>(box)] ? tally.failed : tally.succeeded) += count;
    }
    results.mixed = chance(10);
    if (results.mixed) {  // the totals of an earlier setting: any split of the escapes
        tally.succeeded = std::uniform_int_distribution<std::int64_t>(0, tally.exits.escapes)(random);
        tally.failed = tally.exits.escapes - tally.succeeded;
    }
    if (chance(80)) tally.steps = tally.exits.escapes * std::uniform_int_distribution<std::int64_t>(2, 5)(random);
    results.tally = tally;
    if (chance(50)) results.seed = random();
    results.date = "2026-05-0" + std::to_string(random() % 9 + 1) + " 08:15";
    if (chance(50)) results.name = chance(50) ? "Gruppe 3; Anna & \"Ben\"" : "Jörg, 10b";
    return results;
}

}  // namespace wexal::test
