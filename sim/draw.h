// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "sim/network.h"

namespace wexal {

// The one rule for the next street. At a junction the step draws a position among the first
// `range` entries of the junction's list, each equally likely, and draws again while the
// entry is not admissible. The simulation draws by it; the exact solver enumerates it.
struct StreetDraw {
    const network::StreetList& streets;
    int here;
    int range;      // all entries under "ja"; all but the way back under "nein"
    int forbidden;  // under "nein" the node the robber came from; 0 under "ja"

    // Position k, 0-based, below range.
    int candidate(int k) const { return streets.to[static_cast<std::size_t>(k)]; }
    // Never the junction itself (a self entry), under "nein" never back where he came from.
    bool admissible(int node) const { return node != here && node != forbidden; }
};

// The draw at `here`, for a robber who came from `previous` (0: no node) with the lists of 4
// and 5 wired as given.
constexpr StreetDraw streetDrawAt(int here, int previous, bool turnBack, bool throughNode6) {
    const network::StreetList& streets = network::streetsAt(here, throughNode6);
    return {streets, here, streets.count - (turnBack ? 0 : 1), turnBack ? 0 : previous};
}

// The admissible next nodes of a draw with the number of positions that lead to each: the
// next node's probability is its weight over the total.
struct NextStreets {
    struct Entry {
        int node;
        int weight;
    };
    std::array<Entry, network::kMaxStreets> entries{};
    int size = 0;
    int totalWeight = 0;
};

constexpr NextStreets nextStreets(const StreetDraw& draw) {
    NextStreets next;
    for (int k = 0; k < draw.range; ++k) {
        const int node = draw.candidate(k);
        if (!draw.admissible(node)) continue;
        ++next.totalWeight;
        int i = 0;
        while (i < next.size && next.entries[static_cast<std::size_t>(i)].node != node) ++i;
        if (i == next.size) next.entries[static_cast<std::size_t>(next.size++)] = {node, 0};
        ++next.entries[static_cast<std::size_t>(i)].weight;
    }
    return next;
}

}  // namespace wexal
