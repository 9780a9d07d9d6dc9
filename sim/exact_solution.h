// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include <gmpxx.h>

#include "sim/network.h"
#include "sim/setting.h"

namespace wexal {

// The escape as an absorbing Markov chain, solved in exact rational arithmetic.
struct ExactSolution {
    // Probability that an escape ends at the exit of counter box i (exits 9, 10, 11, 7, 13, 6,
    // 12, 8); 0 for node 6 while its barrier is off, because it is no exit then.
    std::array<mpq_class, network::kBarrierCount> exitProbability;
    mpq_class succeeded;  // ends at an exit whose barrier is off
    mpq_class failed;     // ends at an exit whose barrier is on
    mpq_class expectedSteps;
};

ExactSolution solveExactly(const Setting& setting);

// The double nearest to q (mpq_class::get_d truncates instead).
double nearestDouble(const mpq_class& q);

}  // namespace wexal
