// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "sim/network.h"
#include "sim/setting.h"

namespace wexal {

// A uniform r in [0, 1) given as its 24 bits m, r = m / 2^24: what Xoshiro256::nextBits draws
// and nextFloat turns into a float.
struct RandomBits {
    static constexpr int kBits = 24;
    std::uint32_t m;
};

// The one rule for the next street. At a junction the step draws a position among the first
// `range` entries of the junction's list, each with its weight's share of the range's total
// weight (equally likely in the fair network), and draws again while the entry is not
// admissible. The simulation draws by it; the exact solver enumerates it.
struct StreetDraw {
    const network::StreetList& streets;
    const StreetWeights::Row& weights;
    int here;
    int range;        // all entries under "ja"; all but the way back under "nein"
    int forbidden;    // under "nein" the node the robber came from; 0 under "ja"
    int totalWeight;  // of the positions below range
    const StreetWeights::Row& upTo;  // weights of positions 0..k together
    bool even;                       // every weight 1: unit and position are one

    // The position, 0-based, that a uniform r in [0, 1) draws: the unit floor(totalWeight * r)
    // of the range's weight, each unit equally likely, and the position that holds it. The
    // double product of a float r is exact; with weights of 1 the unit is the position, the
    // floor of range * r as the float product gave it.
    int position(float r) const {
        return positionOfUnit(static_cast<int>(static_cast<double>(totalWeight) * static_cast<double>(r)));
    }
    // The same position for r given as its bits, in one multiply and shift: the same exact floor.
    int position(RandomBits r) const {
        return positionOfUnit(
            static_cast<int>((static_cast<std::uint64_t>(totalWeight) * r.m) >> RandomBits::kBits));
    }
    // Position k, 0-based, below range.
    int candidate(int k) const { return streets.to[static_cast<std::size_t>(k)]; }
    int weight(int k) const { return weights[static_cast<std::size_t>(k)]; }
    // The position that holds unit u of the total weight, 0 <= u < totalWeight: the number of
    // positions whose weights together end at or before u. With weights of 1 that is u itself.
    // It runs for every step of a batch: the fair network takes the unit as it is, and no
    // branch depends on the random unit.
    int positionOfUnit(int unit) const {
        if (even) return unit;
        int k = 0;
        for (std::size_t j = 0; j + 1 < upTo.size(); ++j) k += unit >= upTo[j] ? 1 : 0;
        return k;
    }
    // Never the junction itself (a self entry), under "nein" never back where he came from.
    bool admissible(int node) const { return node != here && node != forbidden; }
};

// The draw at `here` in the setting, for a robber who came from `previous` (0: no node) with
// the lists of 4 and 5 wired as given.
constexpr StreetDraw streetDrawAt(const Setting& setting, int here, int previous, bool throughNode6) {
    const network::StreetList& streets = network::streetsAt(here, throughNode6);
    const StreetWeights::Row& upTo = setting.weights.upTo(here);
    const bool even = setting.weights.even(here);
    const int range = streets.count - (setting.turnBack ? 0 : 1);
    return {streets, setting.weights.at(here), here, range, setting.turnBack ? 0 : previous,
            even ? range : upTo[static_cast<std::size_t>(range - 1)], upTo, even};
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

// The admissible next nodes of a draw with the weight of the positions that lead to each: the
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
        if (!draw.admissible(node) || draw.weight(k) == 0) continue;
        next.totalWeight += draw.weight(k);
        int i = 0;
        while (i < next.size && next.entries[static_cast<std::size_t>(i)].node != node) ++i;
        if (i == next.size) next.entries[static_cast<std::size_t>(next.size++)] = {node, 0};
        next.entries[static_cast<std::size_t>(i)].weight += draw.weight(k);
    }
    return next;
}

// Where weights would leave the robber no way out: at a junction, under an option, coming from
// a node (0: at the start), every admissible position of the draw weighs 0.
struct DeadEnd {
    int junction;
    bool turnBack;
    int from;
};

// Whether a robber at `from` can step to `here` under either wiring of 4 and 5.
constexpr bool streetLeads(int from, int here) {
    for (const bool through : {true, false}) {
        const network::StreetList& streets = network::streetsAt(from, through);
        for (int k = 0; k < streets.count; ++k) {
            if (streets.to[static_cast<std::size_t>(k)] == here) return true;
        }
    }
    return false;
}

// Whether the draw at `here` has no admissible weight under either wiring.
constexpr bool stuckAt(const Setting& setting, int here, int from) {
    const auto stuck = [&](bool through) {
        return nextStreets(streetDrawAt(setting, here, from, through)).totalWeight == 0;
    };
    return stuck(true) || stuck(false);
}

constexpr std::optional<DeadEnd> deadEnd(const StreetWeights& weights) {
    Setting setting;
    setting.weights = weights;
    for (int here = 1; here <= network::kLastJunction; ++here) {
        for (const bool turnBack : {true, false}) {
            setting.turnBack = turnBack;
            for (int from = 0; from <= network::kLastJunction; ++from) {
                const bool reachable = from == 0 || (from != here && streetLeads(from, here));
                if (reachable && stuckAt(setting, here, from)) return DeadEnd{here, turnBack, from};
            }
        }
    }
    return std::nullopt;
}

}  // namespace wexal
