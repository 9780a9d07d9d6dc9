// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <vector>

#include <gmpxx.h>

#include "sim/network.h"
#include "sim/setting.h"

// The escape as an absorbing Markov chain: its transition matrix, the distribution after n
// steps, the expected visits and the tree of the first steps, all exact and all from the one
// draw rule of sim/draw.h.
namespace wexal {

// One state of the chain. Under "nein" the draw at a junction depends on the node the robber
// came from, so each pair (junction, came from) is a state of its own; under "ja", at the bank
// and at an exit `from` is 0.
struct ChainState {
    int node = 0;
    int from = 0;
    // clang-tidy 14 takes the 0 that the defaulted <=> compares against for a null pointer.
    // NOLINTNEXTLINE(modernize-use-nullptr)
    friend auto operator<=>(const ChainState&, const ChainState&) = default;
};

// "4 (von 2)", or "4" where the state does not depend on where the robber came from.
std::string stateLabel(const ChainState& state);

// The one sentence that tells a class what a state is under the option.
std::string statesSentence(bool turnBack);

// The states reachable from the bank, transient ones first (the bank first, then by node and
// origin), then the exits by node. p[i][j] is the exact chance of going from state i to state
// j in one step; an exit's row keeps it where it is, so every row sums to 1. The blocks Q
// (transient to transient) and R (transient to exit) are the rows below transientCount.
struct TransitionMatrix {
    static constexpr std::size_t kBank = 0;

    std::vector<ChainState> states;
    std::size_t transientCount = 0;
    std::vector<std::vector<mpq_class>> p;

    std::size_t size() const { return states.size(); }
    bool isExit(std::size_t state) const { return state >= transientCount; }
};

TransitionMatrix transitionMatrix(const Setting& setting);

// The chance of standing on each node after n steps of one escape from the bank; an escape
// that has ended stays at its exit. Indexed by node, 0 where the robber cannot stand.
using NodeDistribution = network::NodeArray<mpq_class>;

// After 0, 1, ..., lastStep steps (lastStep >= 0).
std::vector<NodeDistribution> distributionsUpTo(const TransitionMatrix& matrix, int lastStep);
// After `steps` steps only; quick for thousands of steps.
NodeDistribution distributionAfter(const TransitionMatrix& matrix, int steps);

// The bank's row of (I - Q)^-1: the expected number of visits to each transient state in one
// escape, the start at the bank counted as one. Their sum is the expected number of steps.
std::vector<mpq_class> expectedVisits(const TransitionMatrix& matrix);
// The same summed per junction.
network::NodeArray<mpq_class> expectedVisitsPerNode(const TransitionMatrix& matrix);

// The tree of the first `depth` steps from the bank, as a class draws it: every path its own
// branch, an ended escape a leaf at its exit.
struct ProbabilityTree {
    struct Branch {
        std::size_t parent;  // index into branches; the root (the bank) is its own parent
        int depth;           // steps from the bank
        std::size_t state;   // index into the matrix's states
        mpq_class fraction;  // the chance of this branch from its parent; 1 at the root
        mpq_class path;      // the product of the fractions from the bank
        bool leaf;
    };
    // Depth first: the root first, each branch followed by its own subtree, siblings in the
    // order of the states.
    std::vector<Branch> branches;
    network::NodeArray<mpq_class> endedWithin;  // per exit: the escape ended there by now
    mpq_class stillRunning;                     // the leaves still inside the network
};

ProbabilityTree probabilityTree(const TransitionMatrix& matrix, int depth);

}  // namespace wexal
