// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/chi_square.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace wexal {
namespace {

constexpr int kMaxIterations = 1000;
constexpr double kEpsilon = 1e-16;  // relative accuracy of the series and the fraction
constexpr double kTiny = 1e-300;    // keeps the continued fraction's denominators off zero

// Lower regularized P(a, x) by its series; converges fast for x < a + 1.
double lowerBySeries(double a, double x) {
    double term = 1 / a;
    double sum = term;
    for (int n = 1; n < kMaxIterations; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::fabs(term) < std::fabs(sum) * kEpsilon) break;
    }
    return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Upper Q(a, x) by its continued fraction (modified Lentz); converges fast for x >= a + 1.
double upperByContinuedFraction(double a, double x) {
    double b = x + 1 - a;
    double c = 1 / kTiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < kMaxIterations; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::fabs(d) < kTiny) d = kTiny;
        c = b + an / c;
        if (std::fabs(c) < kTiny) c = kTiny;
        d = 1 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1) < kEpsilon) break;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

}  // namespace

double regularizedUpperGamma(double a, double x) {
    if (!(a > 0) || !(x >= 0)) throw std::domain_error("Q(a, x) braucht a > 0 und x >= 0");
    if (x == 0) return 1;
    if (std::isinf(x)) return 0;
    return x < a + 1 ? 1 - lowerBySeries(a, x) : upperByContinuedFraction(a, x);
}

ChiSquareTest chiSquareTest(std::span<const std::int64_t> counts,
                            std::span<const double> probabilities) {
    if (counts.size() != probabilities.size())
        throw std::invalid_argument("ungleich viele Klassen");
    double total = 0;
    for (std::int64_t count : counts) total += static_cast<double>(count);

    ChiSquareTest test;
    int categories = 0;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (probabilities[i] <= 0) continue;
        ++categories;
        if (total == 0) continue;
        const double expected = total * probabilities[i];
        const double difference = static_cast<double>(counts[i]) - expected;
        test.statistic += difference * difference / expected;
    }
    test.degreesOfFreedom = categories - 1;
    test.pValue = test.degreesOfFreedom > 0 && total > 0
                      ? regularizedUpperGamma(static_cast<double>(test.degreesOfFreedom) / 2,
                                              test.statistic / 2)
                      : 1;
    return test;
}

}  // namespace wexal
