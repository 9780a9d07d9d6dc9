// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "sim/network.h"
#include "sim/setting.h"

namespace wexal {

// Where a swarm of robbers stands after each number of steps. Every robber runs one escape
// from the bank on the model itself, with the window's draw; one whose escape has ended stays
// at its exit.
struct Swarm {
    std::int64_t robbers = 0;
    std::vector<network::NodeArray<std::int64_t>> after;  // after[n][node], n = 0..lastStep
};

// The robbers are cut into blocks as a seeded batch run cuts its escapes, each block drawing
// from its own stream of the seed: the counts do not depend on `threads` (at least 1), and the
// robbers run exactly the escapes of a batch run of the same size and seed.
Swarm simulateSwarm(const Setting& setting, std::int64_t robbers, int lastStep, std::uint64_t seed,
                    int threads = 1);

}  // namespace wexal
