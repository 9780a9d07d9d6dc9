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
    // Every step of every robber's whole escape, by where it started (the junction and, under
    // "nein", the node the robber came from; 0 under "ja" and at the bank) and where it led.
    std::vector<std::int64_t> steps = std::vector<std::int64_t>(kStepKinds);

    std::int64_t stepsFrom(int node, int from, int to) const { return steps[stepKind(node, from, to)]; }

    static constexpr std::size_t kNodes = network::kLastNode + 1;
    static constexpr std::size_t kStepKinds = kNodes * kNodes * kNodes;
    static constexpr std::size_t stepKind(int node, int from, int to) {
        return (static_cast<std::size_t>(node) * kNodes + static_cast<std::size_t>(from)) * kNodes +
               static_cast<std::size_t>(to);
    }
};

// The robbers are cut into blocks as a seeded batch run cuts its escapes, each block drawing
// from its own stream of the seed: the counts do not depend on `threads` (at least 1), and the
// robbers run exactly the escapes of a batch run of the same size and seed.
Swarm simulateSwarm(const Setting& setting, std::int64_t robbers, int lastStep, std::uint64_t seed,
                    int threads = 1);

}  // namespace wexal
