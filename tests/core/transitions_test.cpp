// SPDX-License-Identifier: GPL-3.0-or-later
// The escape as a Markov chain: the matrix, the distribution after n steps, the expected
// visits and the tree, against hand derivations and against the exact solution.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "sim/exact_solution.h"
#include "sim/swarm.h"
#include "sim/transitions.h"

namespace wexal {
namespace {

namespace nw = network;

Setting settingOf(const char* barriers, bool turnBack) {
    Setting setting{{}, turnBack, {}};
    for (std::size_t i = 0; i < setting.barriers.size(); ++i) setting.barriers[i] = barriers[i] == '1';
    return setting;
}

std::vector<std::string> labels(const TransitionMatrix& matrix) {
    std::vector<std::string> all;
    for (const ChainState& state : matrix.states) all.push_back(stateLabel(state));
    return all;
}

// "nein", barrier 5 on: the bank, the junction entered from the bank, 4 only from 2 and 5
// only from 3. With barrier 5 off, 4 and 5 are joined, so each is entered from two sides,
// and 6 is neither reached nor an exit. Under "ja" a junction is one state.
TEST(TransitionMatrix, HoldsTheStatesReachableFromTheBank) {
    EXPECT_EQ(labels(transitionMatrix(kStartSetting)),
              (std::vector<std::string>{"1", "2 (von 1)", "3 (von 1)", "4 (von 2)", "5 (von 3)", "6",
                                        "7", "8", "9", "10", "11", "12", "13"}));
    EXPECT_EQ(labels(transitionMatrix(settingOf("10110001", false))),
              (std::vector<std::string>{"1", "2 (von 1)", "3 (von 1)", "4 (von 2)", "4 (von 5)",
                                        "5 (von 3)", "5 (von 4)", "7", "8", "9", "10", "11", "12",
                                        "13"}));
    const TransitionMatrix ja = transitionMatrix(settingOf("00000000", true));
    EXPECT_EQ(labels(ja), (std::vector<std::string>{"1", "2", "3", "4", "5", "7", "8", "9", "10",
                                                    "11", "12", "13"}));
    EXPECT_EQ(ja.transientCount, 5u);
    EXPECT_EQ(ja.p[3][4], mpq_class(1, 3)) << "4 -> 5 directly while barrier 5 is off";
}

struct HandWorked {
    const char* name;
    bool turnBack;
    int steps;
    std::map<int, const char*> nodes;  // every node with a chance above 0
};

void PrintTo(const HandWorked& row, std::ostream* os) { *os << row.name; }

// "nein": 1 -> 2, 3 (1/2 each); 2 -> 9, 11, 4 and 3 -> 10, 5, 7 (1/3 each): 1/6 apiece.
//
// "ja", the start barriers (5 on), by hand. Step 1: 2 and 3 hold 1/2. Step 2: 2 -> 9, 11, 4, 1
// and 3 -> 10, 5, 7, 1, a quarter each, so 1 holds 1/8 + 1/8 = 1/4 and 9, 11, 4, 10, 5, 7 hold
// 1/8. Step 3: the exits keep their 1/8; 1 -> 2, 3 gives each 1/8; 4 -> 6, 13, 2 gives each
// 1/24; 5 -> 6, 8, 12, 3 gives each 1/32. So 2: 1/8 + 1/24 = 1/6; 3: 1/8 + 1/32 = 5/32;
// 6: 1/24 + 1/32 = 7/96; 13: 1/24; 8, 12: 1/32 (sum: (16 + 15 + 7 + 4 + 6 + 48)/96 = 1).
const HandWorked kHandWorked[] = {
    {"neinStart", false, 0, {{1, "1"}}},
    {"neinOneStep", false, 1, {{2, "1/2"}, {3, "1/2"}}},
    {"neinTwoSteps", false, 2,
     {{4, "1/6"}, {5, "1/6"}, {7, "1/6"}, {9, "1/6"}, {10, "1/6"}, {11, "1/6"}}},
    {"jaThreeSteps", true, 3,
     {{2, "1/6"}, {3, "5/32"}, {6, "7/96"}, {7, "1/8"}, {8, "1/32"}, {9, "1/8"}, {10, "1/8"},
      {11, "1/8"}, {12, "1/32"}, {13, "1/24"}}},
};

class DistributionByHand : public testing::TestWithParam<HandWorked> {};

TEST_P(DistributionByHand, MatchesTheDerivation) {
    const HandWorked& row = GetParam();
    Setting setting = kStartSetting;
    setting.turnBack = row.turnBack;
    const NodeDistribution after = distributionAfter(transitionMatrix(setting), row.steps);
    for (int node = 0; node <= nw::kLastNode; ++node) {
        const auto hand = row.nodes.find(node);
        EXPECT_EQ(after[node], mpq_class(hand == row.nodes.end() ? "0" : hand->second)) << "node " << node;
    }
}

INSTANTIATE_TEST_SUITE_P(StartBarriers, DistributionByHand, testing::ValuesIn(kHandWorked),
                         [](const auto& row) { return std::string(row.param.name); });

// The sum of the visits is the expected number of steps, which the hand derivation of the
// exact solution gives as 7/3: the bank once, 2 and 3 half the time, 4 and 5 a sixth.
TEST(ExpectedVisits, UnderNeinAddUpToTheExpectedSteps) {
    const nw::NodeArray<mpq_class> visits = expectedVisitsPerNode(transitionMatrix(kStartSetting));
    const nw::NodeArray<mpq_class> hand = {0, 1, mpq_class(1, 2), mpq_class(1, 2), mpq_class(1, 6),
                                           mpq_class(1, 6)};
    EXPECT_EQ(visits, hand);
    mpq_class sum;
    for (const mpq_class& v : visits) sum += v;
    EXPECT_EQ(sum, mpq_class(7, 3));
}

// A plain floating-point walk of the matrix, independent of the exact one. It stops early
// once no mass is left in the network (doubles underflow to 0 after a few thousand steps).
std::vector<double> walkInDoubles(const TransitionMatrix& matrix, int steps) {
    struct Move {
        std::size_t from;
        std::size_t to;
        double p;
    };
    std::vector<Move> moves;
    for (std::size_t i = 0; i < matrix.size(); ++i) {
        for (std::size_t j = 0; j < matrix.size(); ++j) {
            if (matrix.p[i][j] != 0) moves.push_back({i, j, matrix.p[i][j].get_d()});
        }
    }
    std::vector<double> mass(matrix.size());
    mass[TransitionMatrix::kBank] = 1;
    for (int n = 0; n < steps; ++n) {
        std::vector<double> next(matrix.size());
        for (const Move& move : moves) next[move.to] += mass[move.from] * move.p;
        mass = next;
        const auto transientEnd = mass.begin() + static_cast<std::ptrdiff_t>(matrix.transientCount);
        if (std::all_of(mass.begin(), transientEnd, [](double m) { return m == 0; })) break;
    }
    return mass;
}

void expectRowsAreDistributions(const TransitionMatrix& matrix, const Setting& setting) {
    for (std::size_t i = 0; i < matrix.size(); ++i) {
        const bool exit = nw::isExit(matrix.states[i].node, setting.rewiringBarrierOn());
        EXPECT_EQ(matrix.isExit(i), exit) << stateLabel(matrix.states[i]);
        mpq_class sum;
        for (const mpq_class& p : matrix.p[i]) {
            EXPECT_GE(p, 0);
            sum += p;
        }
        EXPECT_EQ(sum, 1) << "row " << stateLabel(matrix.states[i]);
    }
}

void expectExitsOnlyGain(const std::vector<NodeDistribution>& distributions, const Setting& setting) {
    for (std::size_t n = 0; n < distributions.size(); ++n) {
        mpq_class total;
        for (int node = 0; node <= nw::kLastNode; ++node) {
            total += distributions[n][node];
            if (n > 0 && nw::isExit(node, setting.rewiringBarrierOn())) {
                EXPECT_GE(distributions[n][node], distributions[n - 1][node]) << "exit " << node << " after " << n;
            }
        }
        EXPECT_EQ(total, 1) << "after " << n << " steps";
    }
}

// All 256 barrier settings under both options: rows are distributions, so is every n-step
// distribution, the exits only gain, and the walk ends where the exact solution says.
TEST(TransitionMatrix, EverySettingIsAnAbsorbingChain) {
    for (bool turnBack : {false, true}) {
        for (int bits = 0; bits < 256; ++bits) {
            Setting setting{{}, turnBack, {}};
            for (int i = 0; i < nw::kBarrierCount; ++i) setting.barriers[i] = ((bits >> i) & 1) != 0;
            SCOPED_TRACE(barriersText(setting) + (turnBack ? " ja" : " nein"));
            const TransitionMatrix matrix = transitionMatrix(setting);
            expectRowsAreDistributions(matrix, setting);
            const std::vector<NodeDistribution> distributions = distributionsUpTo(matrix, 50);
            expectExitsOnlyGain(distributions, setting);

            const ExactSolution solution = solveExactly(setting);
            const std::vector<double> late = walkInDoubles(matrix, 10000);
            for (std::size_t e = matrix.transientCount; e < matrix.size(); ++e) {
                const int node = matrix.states[e].node;
                const mpq_class& exact = solution.exitProbability[nw::kBoxOfExit[node]];
                EXPECT_NEAR(late[e], exact.get_d(), 1e-12) << "exit " << node;
                // Under "nein" every escape has ended after four steps.
                if (!turnBack) {
                    EXPECT_EQ(distributions[4][node], exact) << "exit " << node;
                }
            }
            if (HasFailure()) return;
        }
    }
}

// The exact walk over thousands of steps agrees with the short one and with the solution.
TEST(Distribution, ExactAfterTenThousandStepsUnderJa) {
    const Setting setting = settingOf("10110101", true);
    const TransitionMatrix matrix = transitionMatrix(setting);
    EXPECT_EQ(distributionAfter(matrix, 50), distributionsUpTo(matrix, 50).back());
    const NodeDistribution late = distributionAfter(matrix, 10000);
    const ExactSolution solution = solveExactly(setting);
    mpq_class total;
    for (int node = 0; node <= nw::kLastNode; ++node) total += late[node];
    EXPECT_EQ(total, 1);
    for (int box = 0; box < nw::kBarrierCount; ++box) {
        const mpq_class gap = abs(late[nw::kExitOfBox[box]] - solution.exitProbability[box]);
        EXPECT_LT(gap, mpq_class(1, 1000000000000)) << "box " << box;
        EXPECT_GT(gap, 0) << "under \"ja\" some escapes still run after any number of steps";
    }
}

// Leaves are the paths; those at an exit add up to the chance of having ended there within k
// steps, the others to the chance of still running, as the n-step distribution says.
TEST(ProbabilityTree, LeavesShareOutCertaintyLikeTheDistribution) {
    for (const char* barriers : {"10110101", "10110001"}) {
        for (bool turnBack : {false, true}) {
            const TransitionMatrix matrix = transitionMatrix(settingOf(barriers, turnBack));
            for (int k = 1; k <= 3; ++k) {
                SCOPED_TRACE(std::string(barriers) + (turnBack ? " ja" : " nein") + " k " + std::to_string(k));
                const ProbabilityTree tree = probabilityTree(matrix, k);
                const NodeDistribution after = distributionAfter(matrix, k);
                mpq_class leaves;
                for (const ProbabilityTree::Branch& branch : tree.branches) {
                    if (branch.leaf) leaves += branch.path;
                    const auto& parent = tree.branches[branch.parent];
                    if (branch.depth > 0) {
                        EXPECT_EQ(branch.path, parent.path * branch.fraction);
                    }
                    EXPECT_EQ(branch.leaf, branch.depth == k || matrix.isExit(branch.state));
                }
                EXPECT_EQ(leaves, 1);
                mpq_class transient = 1;
                for (std::size_t e = matrix.transientCount; e < matrix.size(); ++e) {
                    const int node = matrix.states[e].node;
                    EXPECT_EQ(tree.endedWithin[node], after[node]) << "exit " << node;
                    transient -= after[node];
                }
                EXPECT_EQ(tree.stillRunning, transient);
            }
        }
    }
}

// Paths that meet at one node stay apart: under "ja" 1-2-1 and 1-3-1 are two leaves.
TEST(ProbabilityTree, KeepsEveryPathItsOwnBranch) {
    const std::map<std::pair<bool, int>, std::size_t> leafCounts = {
        {{false, 1}, 2}, {{false, 2}, 6}, {{false, 3}, 9}, {{true, 2}, 8}, {{true, 3}, 15}};
    for (const auto& [key, expected] : leafCounts) {
        const ProbabilityTree tree = probabilityTree(transitionMatrix(settingOf("10110101", key.first)), key.second);
        std::size_t leaves = 0;
        for (const ProbabilityTree::Branch& branch : tree.branches) leaves += branch.leaf ? 1 : 0;
        EXPECT_EQ(leaves, expected) << (key.first ? "ja" : "nein") << " k " << key.second;
    }
}

// Every robber is counted after every step, and the blocks' streams, not the threads, decide
// where each one goes.
TEST(Swarm, CountsEveryRobberAndDoesNotDependOnThreads) {
    const Setting setting = settingOf("10110101", true);
    constexpr std::int64_t kRobbers = 2 * (std::int64_t{1} << 16) + 777;
    const Swarm one = simulateSwarm(setting, kRobbers, 12, 99, 1);
    const Swarm three = simulateSwarm(setting, kRobbers, 12, 99, 3);
    EXPECT_EQ(one.after, three.after);
    ASSERT_EQ(one.after.size(), 13u);
    EXPECT_EQ(one.after[0][nw::kStartNode], kRobbers);
    for (const auto& counts : one.after) {
        std::int64_t total = 0;
        for (std::int64_t c : counts) total += c;
        EXPECT_EQ(total, kRobbers);
    }
    // After two steps the shares lie near the exact chances (a fixed seed: no flakiness).
    const NodeDistribution exact = distributionAfter(transitionMatrix(setting), 2);
    for (int node = 1; node <= nw::kLastNode; ++node) {
        const double p = exact[node].get_d();
        const double share = static_cast<double>(one.after[2][node]) / kRobbers;
        EXPECT_LE(std::fabs(share - p), 5 * std::sqrt(p * (1 - p) / kRobbers) + 1e-12) << "node " << node;
    }
}

}  // namespace
}  // namespace wexal
