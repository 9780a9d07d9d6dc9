// SPDX-License-Identifier: GPL-3.0-or-later
// The p-value of the chi-square line: Q(a, x) against closed forms and table values.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "sim/chi_square.h"

namespace wexal {
namespace {

struct GammaValue {
    const char* name;
    double a;
    double x;
    double q;
};

void PrintTo(const GammaValue& row, std::ostream* os) {
    *os << row.name;
}

// Q(1, x) = exp(-x) and Q(1/2, x) = erfc(sqrt x); the chi-square rows are the 5 % and 1 %
// points of the usual tables (statistic s with k degrees of freedom: Q(k/2, s/2)). Small x
// takes the series, large x the continued fraction.
const GammaValue kGammaValues[] = {
    {"exponentialSeries", 1, 0.5, std::exp(-0.5)},
    {"exponentialFraction", 1, 3, std::exp(-3.0)},
    {"erfcSeries", 0.5, 0.2, std::erfc(std::sqrt(0.2))},
    {"erfcFraction", 0.5, 4, std::erfc(2.0)},
    {"farTail", 1, 50, std::exp(-50.0)},
    {"chi2FivePercent1", 0.5, 3.841458820694124 / 2, 0.05},
    {"chi2FivePercent2", 1, 5.991464547107979 / 2, 0.05},
    {"chi2FivePercent7", 3.5, 14.067140449340169 / 2, 0.05},
    {"chi2OnePercent7", 3.5, 18.475306906582357 / 2, 0.01},
    {"chi2OnePercent10", 5, 23.209251158954356 / 2, 0.01},
    {"chi2Median1", 0.5, 0.45493642311957283 / 2, 0.5},
    {"zero", 3.5, 0, 1},
};

class UpperGamma : public testing::TestWithParam<GammaValue> {};

TEST_P(UpperGamma, MatchesKnownValue) {
    const GammaValue& row = GetParam();
    EXPECT_NEAR(regularizedUpperGamma(row.a, row.x), row.q, 1e-10 * row.q);
}

INSTANTIATE_TEST_SUITE_P(Values, UpperGamma, testing::ValuesIn(kGammaValues),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(UpperGamma, RejectsArgumentsOutsideItsDomain) {
    EXPECT_THROW(regularizedUpperGamma(0, 1), std::domain_error);
    EXPECT_THROW(regularizedUpperGamma(1, -1), std::domain_error);
    EXPECT_THROW(regularizedUpperGamma(1, std::nan("")), std::domain_error);
}

struct Fit {
    const char* name;
    std::vector<std::int64_t> counts;
    std::vector<double> probabilities;
    double statistic;
    int degreesOfFreedom;
    double pValue;
};

void PrintTo(const Fit& row, std::ostream* os) {
    *os << row.name;
}

// 60 draws over 1/6, 1/3, 1/2 expect 10, 20, 30. Drawing 20, 20, 20 gives
// 100/10 + 0 + 100/30 = 40/3 with 2 degrees of freedom, whose p-value is exp(-20/3).
const Fit kFits[] = {
    {"perfectFit", {10, 20, 30}, {1.0 / 6, 1.0 / 3, 0.5}, 0, 2, 1},
    {"evenCounts", {20, 20, 20}, {1.0 / 6, 1.0 / 3, 0.5}, 40.0 / 3, 2, std::exp(-20.0 / 3)},
    {"impossibleCategoryLeftOut",
     {20, 0, 20, 20},
     {1.0 / 6, 0, 1.0 / 3, 0.5},
     40.0 / 3,
     2,
     std::exp(-20.0 / 3)},
    {"coinOneSided", {60, 40}, {0.5, 0.5}, 4, 1, std::erfc(std::sqrt(2.0))},
};

class ChiSquare : public testing::TestWithParam<Fit> {};

TEST_P(ChiSquare, GivesStatisticDegreesAndPValue) {
    const Fit& row = GetParam();
    const ChiSquareTest test = chiSquareTest(row.counts, row.probabilities);
    EXPECT_NEAR(test.statistic, row.statistic, 1e-12);
    EXPECT_EQ(test.degreesOfFreedom, row.degreesOfFreedom);
    EXPECT_NEAR(test.pValue, row.pValue, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(Fits, ChiSquare, testing::ValuesIn(kFits),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace wexal
