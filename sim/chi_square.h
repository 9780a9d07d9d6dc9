// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>

namespace wexal {

// Regularized upper incomplete gamma function Q(a, x) = Γ(a, x) / Γ(a), for a > 0, x >= 0.
double regularizedUpperGamma(double a, double x);

struct ChiSquareTest {
    double statistic = 0;
    int degreesOfFreedom = 0;
    double pValue = 1;  // chance of a statistic at least this large if the probabilities hold
};

// Pearson's goodness-of-fit test of observed counts against probabilities. Categories with
// probability 0 are left out of the statistic and of the degrees of freedom.
ChiSquareTest chiSquareTest(std::span<const std::int64_t> counts,
                            std::span<const double> probabilities);

}  // namespace wexal
