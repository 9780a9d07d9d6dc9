// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/transitions.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <utility>

#include "sim/draw.h"

namespace wexal {
namespace {

namespace nw = network;

using Row = std::map<ChainState, mpq_class>;

// The one-step chances out of every state reachable from the bank, found by walking the draw
// rule from there. The lists of 4 and 5 follow barrier 5 from the first step on: the robber
// reaches 4 or 5 only after two steps, so the start-up wiring through 6 never matters there.
std::map<ChainState, Row> reachableMoves(const Setting& setting) {
    const bool barrier5On = setting.rewiringBarrierOn();
    const ChainState bank{nw::kStartNode, 0};
    std::map<ChainState, Row> moves{{bank, {}}};
    std::vector<ChainState> waiting{bank};
    while (!waiting.empty()) {
        const ChainState at = waiting.back();
        waiting.pop_back();
        const NextStreets next =
            nextStreets(streetDrawAt(setting, at.node, at.from, barrier5On));
        if (next.totalWeight == 0) throw std::logic_error("Sackgasse im Straßennetz");
        Row& row = moves[at];  // std::map keeps references valid while it grows
        for (int e = 0; e < next.size; ++e) {
            const auto [node, weight] = next.entries[static_cast<std::size_t>(e)];
            mpq_class share(weight, static_cast<unsigned long>(next.totalWeight));
            share.canonicalize();
            const bool exit = nw::isExit(node, barrier5On);
            const ChainState to{node, exit || setting.turnBack ? 0 : at.node};
            row[to] += share;
            if (!exit && moves.try_emplace(to).second) waiting.push_back(to);
        }
    }
    return moves;
}

// The distribution as whole numbers over one common denominator, which grows by the same
// factor every step: no fraction is reduced on the way, so thousands of steps stay quick.
class IntegerWalk {
public:
    explicit IntegerWalk(const TransitionMatrix& matrix)
        : matrix_(matrix), mass_(matrix.size()) {
        mpz_class scale = 1;
        for (std::size_t i = 0; i < matrix.transientCount; ++i) {
            for (const mpq_class& p : matrix.p[i]) {
                if (p != 0) mpz_lcm(scale.get_mpz_t(), scale.get_mpz_t(), p.get_den_mpz_t());
            }
        }
        scale_ = scale;  // the lcm of the draws' total weights: small in the fair network
        moves_.resize(matrix.transientCount);
        for (std::size_t i = 0; i < matrix.transientCount; ++i) {
            for (std::size_t j = 0; j < matrix.size(); ++j) {
                const mpq_class scaled = matrix.p[i][j] * scale_;
                if (scaled != 0) moves_[i].push_back({j, scaled.get_num()});
            }
        }
        mass_[TransitionMatrix::kBank] = 1;
    }

    void step() {
        if (settled()) return;  // every escape has ended: nothing moves any more
        std::vector<mpz_class> next(mass_.size());
        for (std::size_t e = matrix_.transientCount; e < mass_.size(); ++e) next[e] = mass_[e] * scale_;
        for (std::size_t i = 0; i < matrix_.transientCount; ++i) {
            if (mass_[i] == 0) continue;
            for (const auto& [to, weight] : moves_[i]) {
                mpz_addmul(next[to].get_mpz_t(), mass_[i].get_mpz_t(), weight.get_mpz_t());
            }
        }
        mass_ = std::move(next);
        denominator_ *= scale_;
    }

    NodeDistribution byNode() const {
        nw::NodeArray<mpz_class> sums;
        for (std::size_t s = 0; s < mass_.size(); ++s) {
            sums[static_cast<std::size_t>(matrix_.states[s].node)] += mass_[s];
        }
        NodeDistribution distribution;
        for (std::size_t node = 0; node < sums.size(); ++node) {
            distribution[node] = mpq_class(sums[node], denominator_);
            distribution[node].canonicalize();
        }
        return distribution;
    }

private:
    bool settled() const {
        return std::all_of(mass_.begin(), mass_.begin() + static_cast<std::ptrdiff_t>(matrix_.transientCount),
                           [](const mpz_class& m) { return m == 0; });
    }

    struct Move {
        std::size_t to;
        mpz_class weight;  // the chance times scale_
    };
    const TransitionMatrix& matrix_;
    mpz_class scale_ = 1;
    std::vector<std::vector<Move>> moves_;  // per transient state
    std::vector<mpz_class> mass_;           // per state, over denominator_
    mpz_class denominator_ = 1;
};

}  // namespace

std::string stateLabel(const ChainState& state) {
    std::string label = std::to_string(state.node);
    if (state.from != 0) label += " (von " + std::to_string(state.from) + ")";
    return label;
}

std::string statesSentence(bool turnBack) {
    if (turnBack) return "Unter „ja“ ist jeder Zustand ein Knoten: woher der Räuber kam, ändert nichts.";
    return "Unter „nein“ hängt der nächste Schritt davon ab, woher der Räuber kam; darum ist ein "
           "Zustand eine Kreuzung zusammen mit dem Knoten davor, etwa „4 (von 2)“.";
}

TransitionMatrix transitionMatrix(const Setting& setting) {
    const std::map<ChainState, Row> moves = reachableMoves(setting);
    TransitionMatrix matrix;
    std::map<ChainState, std::size_t> exits;
    for (const auto& [state, row] : moves) {
        matrix.states.push_back(state);  // the bank (1, 0) sorts first
        for (const auto& entry : row) {
            if (!moves.contains(entry.first)) exits.try_emplace(entry.first);
        }
    }
    matrix.transientCount = matrix.states.size();
    for (const auto& entry : exits) matrix.states.push_back(entry.first);

    std::map<ChainState, std::size_t> index;
    for (std::size_t s = 0; s < matrix.size(); ++s) index[matrix.states[s]] = s;
    matrix.p.assign(matrix.size(), std::vector<mpq_class>(matrix.size()));
    for (const auto& [state, row] : moves) {
        for (const auto& [to, share] : row) matrix.p[index[state]][index[to]] = share;
    }
    for (std::size_t e = matrix.transientCount; e < matrix.size(); ++e) matrix.p[e][e] = 1;
    return matrix;
}

std::vector<NodeDistribution> distributionsUpTo(const TransitionMatrix& matrix, int lastStep) {
    IntegerWalk walk(matrix);
    std::vector<NodeDistribution> distributions{walk.byNode()};
    for (int n = 1; n <= lastStep; ++n) {
        walk.step();
        distributions.push_back(walk.byNode());
    }
    return distributions;
}

NodeDistribution distributionAfter(const TransitionMatrix& matrix, int steps) {
    IntegerWalk walk(matrix);
    for (int n = 1; n <= steps; ++n) walk.step();
    return walk.byNode();
}

// Solves (I - Q)^T y = e_bank by Gauss-Jordan elimination in exact arithmetic.
std::vector<mpq_class> expectedVisits(const TransitionMatrix& matrix) {
    const std::size_t n = matrix.transientCount;
    std::vector<std::vector<mpq_class>> rows(n, std::vector<mpq_class>(n + 1));
    for (std::size_t r = 0; r < n; ++r) {
        for (std::size_t c = 0; c < n; ++c) rows[r][c] = (r == c ? 1 : 0) - matrix.p[c][r];
    }
    rows[TransitionMatrix::kBank][n] = 1;
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        while (pivot < n && rows[pivot][col] == 0) ++pivot;
        // Singular only if some state could never leave the network.
        if (pivot == n) throw std::logic_error("Flucht ohne Ende im Straßennetz");
        std::swap(rows[col], rows[pivot]);
        const mpq_class inverse = 1 / rows[col][col];
        for (auto& value : rows[col]) value *= inverse;
        for (std::size_t r = 0; r < n; ++r) {
            if (r == col || rows[r][col] == 0) continue;
            const mpq_class factor = rows[r][col];
            for (std::size_t c = col; c <= n; ++c) rows[r][c] -= factor * rows[col][c];
        }
    }
    std::vector<mpq_class> visits;
    visits.reserve(n);
    for (const auto& row : rows) visits.push_back(row[n]);
    return visits;
}

network::NodeArray<mpq_class> expectedVisitsPerNode(const TransitionMatrix& matrix) {
    const std::vector<mpq_class> visits = expectedVisits(matrix);
    network::NodeArray<mpq_class> perNode;
    for (std::size_t s = 0; s < visits.size(); ++s) {
        perNode[static_cast<std::size_t>(matrix.states[s].node)] += visits[s];
    }
    return perNode;
}

// Depth first without recursion: a branch is added when taken from the stack, and its
// children go onto the stack last first, so that they come out in the order of the states.
ProbabilityTree probabilityTree(const TransitionMatrix& matrix, int depth) {
    depth = std::max(depth, 0);
    struct Pending {
        std::size_t parent;
        std::size_t state;
        mpq_class fraction;
    };
    std::vector<Pending> pending;
    ProbabilityTree tree;
    auto openUp = [&](std::size_t index) {
        const ProbabilityTree::Branch& branch = tree.branches[index];
        if (branch.leaf) return;
        const std::vector<mpq_class>& row = matrix.p[branch.state];
        for (std::size_t to = row.size(); to-- > 0;) {
            if (row[to] != 0) pending.push_back({index, to, row[to]});
        }
    };
    tree.branches.push_back({0, 0, TransitionMatrix::kBank, 1, 1, depth == 0});
    openUp(0);
    while (!pending.empty()) {
        const Pending next = std::move(pending.back());
        pending.pop_back();
        const ProbabilityTree::Branch& parent = tree.branches[next.parent];
        const int steps = parent.depth + 1;
        mpq_class path = parent.path * next.fraction;
        const bool leaf = steps == depth || matrix.isExit(next.state);
        tree.branches.push_back({next.parent, steps, next.state, next.fraction, std::move(path), leaf});
        openUp(tree.branches.size() - 1);
    }
    for (const ProbabilityTree::Branch& branch : tree.branches) {
        if (!branch.leaf) continue;
        if (matrix.isExit(branch.state)) {
            tree.endedWithin[static_cast<std::size_t>(matrix.states[branch.state].node)] += branch.path;
        } else {
            tree.stillRunning += branch.path;
        }
    }
    return tree;
}

}  // namespace wexal
