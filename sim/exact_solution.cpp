// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/exact_solution.h"

#include <cmath>
#include <limits>
#include <vector>

#include "sim/transitions.h"

namespace wexal {

// The bank's expected visits to each transient state, times where each one leads.
ExactSolution solveExactly(const Setting& setting) {
    const TransitionMatrix matrix = transitionMatrix(setting);
    const std::vector<mpq_class> visits = expectedVisits(matrix);
    ExactSolution solution;
    for (std::size_t s = 0; s < matrix.transientCount; ++s) {
        solution.expectedSteps += visits[s];
        for (std::size_t e = matrix.transientCount; e < matrix.size(); ++e) {
            const auto exit = static_cast<std::size_t>(matrix.states[e].node);
            solution.exitProbability[static_cast<std::size_t>(network::kBoxOfExit[exit])] +=
                visits[s] * matrix.p[s][e];
        }
    }
    for (std::size_t i = 0; i < network::kBarrierCount; ++i) {
        (setting.barriers[i] ? solution.failed : solution.succeeded) += solution.exitProbability[i];
    }
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
