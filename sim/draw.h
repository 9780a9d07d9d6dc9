// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "sim/network.h"

namespace wexal {

// A uniform r in [0, 1) given as its 24 bits m, r = m / 2^24: what Xoshiro256::nextBits draws
// and nextFloat turns into a float.
struct RandomBits {
    static constexpr int kBits = 24;
    std::uint32_t m;
};

// The one rule for the next street. At a junction the step draws a position among the first
// `range` entries of the junction's list, each equally likely, and draws again while the
// entry is not admissible. The simulation draws by it; the exact solver enumerates it.
struct StreetDraw {
    const network::StreetList& streets;
    int here;
    int range;      // all entries under "ja"; all but the way back under "nein"
    int forbidden;  // under "nein" the node the robber came from; 0 under "ja"

    // The position, 0-based, that a uniform r in [0, 1) draws: floor(range * r), each equally
    // likely. A float product can round up to range itself for r just below 1.
    int position(float r) const {
        return std::min(static_cast<int>(static_cast<float>(range) * r), range - 1);
    }
    // The same position for r given as its bits, in one multiply and shift: the exact floor,
    // which the float product above also gives for every r = m / 2^24 and every range up to
    // kMaxStreets.
    int position(RandomBits r) const {
        return static_cast<int>((static_cast<std::uint64_t>(range) * r.m) >> RandomBits::kBits);
    }
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

// The next node: positions drawn with `uniform` (each call one r in [0, 1), as a float or as
// RandomBits) until one is admissible.
template <class Uniform>
int drawStreet(const StreetDraw& draw, Uniform&& uniform) {
    for (;;) {
        const int node = draw.candidate(draw.position(uniform()));
        if (draw.admissible(node)) return node;
    }
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
