// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/swarm.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include "platform/random_source.h"
#include "sim/block_streams.h"
#include "sim/escape.h"

namespace wexal {
namespace {

using Counts = std::vector<network::NodeArray<std::int64_t>>;

// Runs one whole escape and notes, as changes per step, where the robber stood: he arrives
// on a node at one step and leaves it at a later one. Steps beyond lastStep are still taken,
// so that every robber draws exactly what a batch run's escape draws.
void runRobber(Escape& escape, int lastStep, Counts& changes, std::vector<std::int64_t>& steps) {
    int since = 0;
    int at = escape.robberNode();
    for (int step = 1; escape.isRunning(); ++step) {
        const int junction = escape.robberNode();
        const int cameFrom = escape.setting().turnBack ? 0 : escape.previousNode();
        escape.singleStep();
        ++steps[Swarm::stepKind(junction, cameFrom, escape.robberNode())];
        if (step > lastStep) continue;
        ++changes[static_cast<std::size_t>(since)][static_cast<std::size_t>(at)];
        --changes[static_cast<std::size_t>(step)][static_cast<std::size_t>(at)];
        since = step;
        at = escape.robberNode();
    }
    ++changes[static_cast<std::size_t>(since)][static_cast<std::size_t>(at)];
    escape.restart();
}

}  // namespace

Swarm simulateSwarm(const Setting& setting, std::int64_t robbers, int lastStep, std::uint64_t seed,
                    int threads) {
    lastStep = std::max(lastStep, 0);
    const auto counted = static_cast<std::size_t>(lastStep) + 1;  // after 0..lastStep steps
    BlockStreams blocks(robbers, seed);
    std::mutex totalMutex;
    Counts changes(counted);
    Swarm swarm{robbers, Counts(counted)};
    auto work = [&] {
        Counts mine(counted);
        std::vector<std::int64_t> mySteps(Swarm::kStepKinds);
        BlockStreams::Block block{0, 0, Xoshiro256(0)};
        while (blocks.next(block)) {
            SeededRandom random(block.stream);
            Escape escape(random, setting);
            for (std::int64_t r = 0; r < block.escapes; ++r) runRobber(escape, lastStep, mine, mySteps);
        }
        const std::lock_guard lock(totalMutex);
        for (std::size_t n = 0; n < counted; ++n) {
            for (std::size_t node = 0; node < changes[n].size(); ++node) changes[n][node] += mine[n][node];
        }
        for (std::size_t k = 0; k < mySteps.size(); ++k) swarm.steps[k] += mySteps[k];
    };
    {
        std::vector<std::jthread> helpers;
        for (int t = 1; t < threads; ++t) helpers.emplace_back(work);
        work();
    }

    network::NodeArray<std::int64_t> standing{};
    for (std::size_t n = 0; n < counted; ++n) {
        for (std::size_t node = 0; node < standing.size(); ++node) standing[node] += changes[n][node];
        swarm.after[n] = standing;
    }
    return swarm;
}

}  // namespace wexal
