// SPDX-License-Identifier: GPL-3.0-or-later
// The acceptance region of the binomial test: against a table worked out by hand, and against
// exact rational tails for random p0 and alpha, where each boundary must be the last allowed.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
#include <stdexcept>

#include "sim/binomial_test.h"

namespace wexal {
namespace {

// P(X <= k) for X ~ B(n, p), p = a/b: the terms C(n, j) a^j (b - a)^(n - j) over b^n.
mpq_class exactAtMost(long n, const mpq_class& p, long k) {
    const auto power = [](const mpz_class& base, long exponent) {
        mpz_class result;
        mpz_pow_ui(result.get_mpz_t(), base.get_mpz_t(), static_cast<unsigned long>(exponent));
        return result;
    };
    const mpz_class& a = p.get_num();
    const mpz_class& b = p.get_den();
    mpz_class sum = 0;
    for (long j = 0; j <= std::min(k, n); ++j) {
        mpz_class ways;
        mpz_bin_uiui(ways.get_mpz_t(), static_cast<unsigned long>(n), static_cast<unsigned long>(j));
        sum += ways * power(a, j) * power(b - a, n - j);
    }
    mpq_class tail(sum, power(b, n));
    tail.canonicalize();
    return tail;
}

mpq_class exactAtLeast(long n, const mpq_class& p, long k) {
    return 1 - exactAtMost(n, p, k - 1);
}

struct TableCase {
    const char* name;
    long n;
    const char* p0;
    const char* alpha;
    Sided sided;
    long low;
    long high;
    double actualAlpha;
};

void PrintTo(const TableCase& row, std::ostream* os) { *os << row.name; }

// Regions from the tails as a printed table gives them (100 at 1/2: P(X <= 39) = 0.0176,
// P(X <= 40) = 0.0284 against 0.025, so [40; 60]); the degenerate p0 = 0 and 1 at the end.
const TableCase kTable[] = {
    {"n10_half_5pc_both", 10, "1/2", "1/20", Sided::Both, 2, 8, 0.021484375},
    {"n10_half_5pc_left", 10, "1/2", "1/20", Sided::Left, 2, 10, 0.0107421875},
    {"n20_die_5pc_right", 20, "1/6", "1/20", Sided::Right, 0, 6, 0.0371353430},
    {"n50_half_5pc_both", 50, "1/2", "1/20", Sided::Both, 18, 32, 0.0328391376},
    {"n100_half_5pc_both", 100, "1/2", "1/20", Sided::Both, 40, 60, 0.0352002002},
    {"n100_half_5pc_right", 100, "1/2", "1/20", Sided::Right, 0, 58, 0.0443130401},
    {"n100_fifth_1pc_left", 100, "1/5", "1/100", Sided::Left, 11, 100, 0.0056963810},
    {"n100_third_5pc_both", 100, "1/3", "1/20", Sided::Both, 24, 43, 0.0332640512},
    {"n100_3tenths_10pc_both", 100, "3/10", "1/10", Sided::Both, 23, 38, 0.0818447369},
    {"n200_quarter_5pc_both", 200, "1/4", "1/20", Sided::Both, 38, 62, 0.0407907225},
    {"n500_9tenths_5pc_right", 500, "9/10", "1/20", Sided::Right, 0, 461, 0.0393396543},
    {"n1000_half_5pc_both", 1000, "1/2", "1/20", Sided::Both, 469, 531, 0.0462911974},
    {"n1000_die_1pc_left", 1000, "1/6", "1/100", Sided::Left, 140, 1000, 0.0093988063},
    {"n1000_20th_10pc_right", 1000, "1/20", "1/10", Sided::Right, 0, 59, 0.0867321784},
    {"n20_never_5pc_both", 20, "0", "1/20", Sided::Both, 0, 0, 0},
    {"n20_always_5pc_both", 20, "1", "1/20", Sided::Both, 20, 20, 0},
};

class AcceptanceTable : public testing::TestWithParam<TableCase> {};

TEST_P(AcceptanceTable, RegionAndActualLevelAsTheTableGives) {
    const TableCase& row = GetParam();
    const BinomialDistribution h0(row.n, mpq_class(row.p0));
    const AcceptanceRegion region = acceptanceRegion(h0, mpq_class(row.alpha), row.sided);
    EXPECT_EQ(region.low, row.low);
    EXPECT_EQ(region.high, row.high);
    EXPECT_NEAR(region.actualAlpha, row.actualAlpha, 1e-10);
}

INSTANTIATE_TEST_SUITE_P(Printed, AcceptanceTable, testing::ValuesIn(kTable),
                         [](const auto& row) { return std::string(row.param.name); });

// One random trial: p0 and alpha drawn as fractions, and now and then alpha equal to a tail
// itself, where the long double tails cannot tell "equal" from "just above".
struct Trial {
    long n;
    mpq_class p0;
    mpq_class alpha;
    Sided sided;
};

Trial drawTrial(std::mt19937_64& random) {
    auto uniform = [&random](long from, long to) {
        return std::uniform_int_distribution<long>(from, to)(random);
    };
    Trial trial{uniform(1, 60), 0, 0, static_cast<Sided>(uniform(0, 2))};
    const long denominator = uniform(1, 100);
    trial.p0 = mpq_class(uniform(0, denominator), denominator);
    trial.p0.canonicalize();
    constexpr long kLevels = 1000;
    trial.alpha = mpq_class(uniform(1, kLevels - 1), kLevels);
    trial.alpha.canonicalize();
    if (uniform(0, 2) == 0) {
        // A tail of B(n, p0) itself, doubled for a two-sided test, kept when it is a level the test takes.
        const long k = uniform(0, trial.n);
        const mpq_class tail = trial.sided == Sided::Right ? exactAtLeast(trial.n, trial.p0, k)
                                                            : exactAtMost(trial.n, trial.p0, k);
        const mpq_class level = trial.sided == Sided::Both ? mpq_class(2 * tail) : tail;
        if (level >= mpq_class(1, kSmallestAlphaDenominator) && level < 1) trial.alpha = level;
    }
    return trial;
}

TEST(AcceptanceRegion, EachBoundaryIsTheLastAllowedByExactTails) {
    std::mt19937_64 random(20260314);
    constexpr int kTrials = 600;
    for (int t = 0; t < kTrials; ++t) {
        const Trial trial = drawTrial(random);
        const long n = trial.n;
        const mpq_class& p = trial.p0;
        SCOPED_TRACE("n = " + std::to_string(n) + ", p0 = " + p.get_str() + ", alpha = " +
                     trial.alpha.get_str() + ", sided " +
                     std::to_string(static_cast<int>(trial.sided)));
        const AcceptanceRegion region =
            acceptanceRegion(BinomialDistribution(n, p), trial.alpha, trial.sided);
        const mpq_class bound = trial.sided == Sided::Both ? mpq_class(trial.alpha / 2) : trial.alpha;

        ASSERT_LE(0, region.low);
        ASSERT_LE(region.low, region.high);
        ASSERT_LE(region.high, n);
        if (trial.sided == Sided::Right) {
            EXPECT_EQ(region.low, 0);
        } else {
            EXPECT_LE(exactAtMost(n, p, region.low - 1), bound);
            EXPECT_GT(exactAtMost(n, p, region.low), bound);
        }
        if (trial.sided == Sided::Left) {
            EXPECT_EQ(region.high, n);
        } else {
            EXPECT_LE(exactAtLeast(n, p, region.high + 1), bound);
            EXPECT_GT(exactAtLeast(n, p, region.high), bound);
        }
        const mpq_class actual =
            exactAtMost(n, p, region.low - 1) + exactAtLeast(n, p, region.high + 1);
        EXPECT_NEAR(region.actualAlpha, actual.get_d(), 1e-13 + 1e-12 * actual.get_d());
    }
}

// A tie far from where small n could hide an error: alpha exactly a left tail of B(2000, 3/7).
TEST(AcceptanceRegion, AlphaEqualToATailKeepsThatTailAtLargeN) {
    constexpr long kN = 2000;
    const mpq_class p(3, 7);
    const BinomialDistribution h0(kN, p);
    for (const long g : {790L, 820L, 840L}) {
        const mpq_class tail = exactAtMost(kN, p, g);
        EXPECT_EQ(acceptanceRegion(h0, tail, Sided::Left).low, g + 1) << g;
        EXPECT_EQ(acceptanceRegion(h0, tail * (1 + mpq_class(1, 1'000'000'000'000'000)), Sided::Left).low,
                  g + 1)
            << g;
        EXPECT_EQ(acceptanceRegion(h0, tail * (1 - mpq_class(1, 1'000'000'000'000'000)), Sided::Left).low,
                  g)
            << g;
    }
}

TEST(BinomialDistribution, PointProbabilitiesAndTailsMatchExactSums) {
    const long n = 57;
    const mpq_class p(5, 13);
    const BinomialDistribution b(n, p);
    for (long k = 0; k <= n; ++k) {
        const double pointExact = mpq_class(exactAtMost(n, p, k) - exactAtMost(n, p, k - 1)).get_d();
        EXPECT_NEAR(b.probability(k), pointExact, 1e-14 * pointExact) << k;
        const double atMostExact = exactAtMost(n, p, k).get_d();
        EXPECT_NEAR(b.atMost(k), atMostExact, 1e-14 * atMostExact) << k;
        const double atLeastExact = exactAtLeast(n, p, k).get_d();
        EXPECT_NEAR(b.atLeast(k), atLeastExact, 1e-14 * atLeastExact) << k;
    }
}

TEST(AcceptanceRegion, RefusesWhatIsNoTest) {
    EXPECT_THROW(BinomialDistribution(0, mpq_class(1, 2)), std::invalid_argument);
    EXPECT_THROW(BinomialDistribution(BinomialDistribution::kMaxTrials + 1, mpq_class(1, 2)),
                 std::invalid_argument);
    EXPECT_THROW(BinomialDistribution(10, mpq_class(-1, 2)), std::invalid_argument);
    EXPECT_THROW(BinomialDistribution(10, mpq_class(3, 2)), std::invalid_argument);
    const BinomialDistribution h0(10, mpq_class(1, 2));
    for (const mpq_class& alpha : {mpq_class(0), mpq_class(1), mpq_class(1, 10'000'000'000'000)}) {
        EXPECT_THROW(acceptanceRegion(h0, alpha, Sided::Both), std::invalid_argument) << alpha;
    }
}

}  // namespace
}  // namespace wexal
