// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/exact_solution.h"

#include <cmath>
#include <limits>
#include <map>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

#include "sim/draw.h"

namespace wexal {
namespace {

namespace nw = network;

// A transient state of the chain. Under "nein" the draw depends on the node the robber came
// from; under "ja" it does not, and previous stays 0 so that each junction is one state.
struct Position {
    int node;
    int previous;
    friend bool operator<(const Position& a, const Position& b) {
        return std::tie(a.node, a.previous) < std::tie(b.node, b.previous);
    }
};

// (I - Q) x = b for the transient states, with one column of b per counter box and a last
// column of ones for the expected number of steps.
struct LinearSystem {
    std::vector<std::vector<mpq_class>> rows;  // each row: S coefficients, then the columns of b
    std::size_t stateCount = 0;
};

constexpr std::size_t kStepsColumn = nw::kBarrierCount;
constexpr std::size_t kRightHandSides = nw::kBarrierCount + 1;

LinearSystem buildSystem(const Setting& setting) {
    std::map<Position, std::size_t> index;
    std::vector<Position> states;
    auto indexOf = [&](Position p) {
        const auto [it, inserted] = index.try_emplace(p, states.size());
        if (inserted) states.push_back(p);
        return it->second;
    };
    indexOf({nw::kStartNode, 0});

    std::vector<std::vector<std::pair<std::size_t, mpq_class>>> transient;  // per state
    std::vector<std::array<mpq_class, nw::kBarrierCount>> absorbed;
    // NOLINTNEXTLINE(modernize-loop-convert): states grows while we walk it
    for (std::size_t s = 0; s < states.size(); ++s) {
        const Position at = states[s];
        // The lists of 4 and 5 follow barrier 5 from the first step on. The robber reaches 4
        // or 5 only after two steps, so the start-up wiring through 6 never matters there.
        const NextStreets next = nextStreets(
            streetDrawAt(at.node, at.previous, setting.turnBack, setting.rewiringBarrierOn()));
        if (next.totalWeight == 0) throw std::logic_error("Sackgasse im Straßennetz");
        std::vector<std::pair<std::size_t, mpq_class>> moves;
        std::array<mpq_class, nw::kBarrierCount> exits{};
        for (int e = 0; e < next.size; ++e) {
            const auto [node, weight] = next.entries[static_cast<std::size_t>(e)];
            mpq_class share(weight, static_cast<unsigned long>(next.totalWeight));
            share.canonicalize();
            if (nw::isExit(node, setting.rewiringBarrierOn())) {
                exits[static_cast<std::size_t>(nw::kBoxOfExit[static_cast<std::size_t>(node)])] += share;
            } else {
                moves.emplace_back(indexOf({node, setting.turnBack ? 0 : at.node}), share);
            }
        }
        transient.push_back(std::move(moves));
        absorbed.push_back(exits);
    }

    LinearSystem system;
    system.stateCount = states.size();
    for (std::size_t s = 0; s < states.size(); ++s) {
        std::vector<mpq_class> row(states.size() + kRightHandSides);
        row[s] = 1;
        for (const auto& [to, p] : transient[s]) row[to] -= p;
        for (std::size_t i = 0; i < nw::kBarrierCount; ++i) row[states.size() + i] = absorbed[s][i];
        row[states.size() + kStepsColumn] = 1;
        system.rows.push_back(std::move(row));
    }
    return system;
}

// Gauss-Jordan elimination in exact arithmetic; afterwards row s holds x_s in its b columns.
void solve(LinearSystem& system) {
    auto& rows = system.rows;
    const std::size_t n = system.stateCount;
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
            for (std::size_t c = col; c < rows[r].size(); ++c) rows[r][c] -= factor * rows[col][c];
        }
    }
}

}  // namespace

ExactSolution solveExactly(const Setting& setting) {
    LinearSystem system = buildSystem(setting);
    solve(system);
    const std::vector<mpq_class>& start = system.rows[0];  // the bank is state 0
    const std::size_t b = system.stateCount;

    ExactSolution solution;
    for (std::size_t i = 0; i < nw::kBarrierCount; ++i) {
        solution.exitProbability[i] = start[b + i];
        (setting.barriers[i] ? solution.failed : solution.succeeded) += start[b + i];
    }
    solution.expectedSteps = start[b + kStepsColumn];
    return solution;
}

double nearestDouble(const mpq_class& q) {
    const double truncated = q.get_d();
    const double away =
        std::nextafter(truncated, q >= 0 ? std::numeric_limits<double>::infinity()
                                         : -std::numeric_limits<double>::infinity());
    const mpq_class errTruncated = abs(q - mpq_class(truncated));
    const mpq_class errAway = abs(q - mpq_class(away));
    return errAway < errTruncated ? away : truncated;
}

}  // namespace wexal
