// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>

#include "cli/command_line.h"
#include "sim/swarm.h"
#include "sim/transitions.h"

namespace wexal::cli {

// The swarm simulated beside the exact chain, with the seed it drew from.
struct SwarmRun {
    Swarm swarm;
    std::uint64_t seed = 0;
    bool seedFromClock = false;
};

// --matrix: the setting's transition matrix with its blocks Q and R; with a swarm also the
// steps its robbers took out of each state.
void writeMatrix(std::ostream& out, const Setting& setting, const TransitionMatrix& matrix,
                 const std::optional<SwarmRun>& swarm, OutputFormat format);

// --after N: every node with a chance above 0 after `steps` steps; with a swarm also how many
// of its robbers stand there then.
void writeAfter(std::ostream& out, const Setting& setting, int steps,
                const NodeDistribution& distribution, const std::optional<SwarmRun>& swarm,
                OutputFormat format);

}  // namespace wexal::cli
