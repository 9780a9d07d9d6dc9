#include "cli/exact_solution.h"

#include <cmath>
#include <limits>
#include <map>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

namespace wexal::cli {
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

constexpr int kLowerLeft = 4;  // the two junctions whose lists barrier 5 switches
constexpr int kLowerRight = 5;

// The lists of 4 and 5 follow barrier 5 from the first step on. The robber reaches 4 or 5
// only after at least two steps, so the start-up wiring through 6 never matters there.
const nw::StreetList& streetsAt(int node, bool barrier5On) {
    if (!barrier5On && node == kLowerLeft) return nw::kDirect4;
    if (!barrier5On && node == kLowerRight) return nw::kDirect5;
    return nw::kThroughNode6[node];
}

// The draw of the step: positions 1..(count - noReturn) uniformly, a self entry and under
// "nein" the previous node redrawn. So the next node is uniform over the admissible entries,
// counted with multiplicity.
std::vector<int> admissibleNext(Position at, const Setting& setting) {
    const nw::StreetList& streets = streetsAt(at.node, setting.barrier5On());
    const int range = streets.count - (setting.turnBack ? 0 : 1);
    std::vector<int> next;
    for (int k = 0; k < range; ++k) {
        const int candidate = streets.to[k];
        if (candidate == at.node) continue;
        if (!setting.turnBack && candidate == at.previous) continue;
        next.push_back(candidate);
    }
    if (next.empty()) throw std::logic_error("Sackgasse im Straßennetz");
    return next;
}

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
        const std::vector<int> next = admissibleNext(at, setting);
        const mpq_class share(1, static_cast<unsigned long>(next.size()));
        std::vector<std::pair<std::size_t, mpq_class>> moves;
        std::array<mpq_class, nw::kBarrierCount> exits{};
        for (int node : next) {
            if (nw::isExit(node, setting.barrier5On())) {
                exits[nw::kExitCounter[node]] += share;
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

}  // namespace wexal::cli
