// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <gmpxx.h>

#include "sim/binomial_test.h"
#include "sim/exact_solution.h"
#include "sim/network.h"
#include "sim/setting.h"

// The binomial test of a lesson: how often the escapes end at one exit, are caught or succeed,
// against H0, the chance the fair network gives it.
namespace wexal {

// What the test counts: the escapes that end at one exit, those caught at a guarded exit
// ("gefasst") or those that succeed ("gelungen").
struct TestTarget {
    enum class Kind { Exit, Caught, Succeeded };
    Kind kind = Kind::Caught;
    int box = 0;  // the exit's counter box, for Kind::Exit

    // "Ausgang 13", "gefasst", "gelungen": as the map and the table name them.
    std::string name() const;
    // Its exact chance in a solution.
    mpq_class probability(const ExactSolution& exact) const;
    // How many of the counted escapes it holds, each exit classified by the setting's barriers.
    std::int64_t count(const std::array<std::int64_t, network::kBarrierCount>& exitCounts,
                       const Setting& setting) const;
    friend bool operator==(const TestTarget&, const TestTarget&) = default;
};

// "13" (an exit's node, 6 to 13), "gefasst" or "gelungen"; nothing for any other text.
std::optional<TestTarget> testTargetNamed(std::string_view text);

// A probability or level as a class types it: "0,05", "0.05", "5 %", "5%", "1/20", "2/3".
// Exact; nothing for text that is none of these or lies outside [0; 1].
std::optional<mpq_class> probabilityFromText(std::string_view text);

// "100 Serien": `series` fresh series of n escapes each in the setting (its weights included),
// series s drawing from the seed's stream jumped s times, each tested by the region. Returns
// how many of them lie outside the region, that is, reject H0.
int rejectedSeries(const Setting& walk, const TestTarget& target, std::int64_t n,
                   const AcceptanceRegion& region, std::uint64_t seed, int series);

}  // namespace wexal
