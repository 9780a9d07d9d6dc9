// SPDX-License-Identifier: GPL-3.0-or-later
// Many seeded escapes against the probabilities a class works out by hand.
#include <gtest/gtest.h>

#include <ostream>

#include <cmath>

#include "platform/random_source.h"
#include "sim/escape.h"
#include "sim/exact_solution.h"

namespace wexal {
namespace {

struct Case {
    const char* name;
    std::array<int, 8> barriers;
    bool ja;
    // Exact probability of each counter box 0..7 (exits 9, 10, 11, 7, 13, 6, 12, 8), as p/q.
    std::array<int, 8> numerators;
    int denominator;
    int succeededNumerator;  // unguarded exits together, over the same denominator
};

void PrintTo(const Case& row, std::ostream* os) { *os << row.name; }


// "nein": from the bank 2 or 3 (1/2 each); from 2 the exits 9, 11 or node 4 (1/3 each),
// from 3 the exits 10, 7 or node 5; from 4 node 6 or exit 13 (1/2), from 5 node 6, 8 or 12
// (1/3). So 9, 10, 11, 7 get 1/6 = 6/36, 13 gets 1/12 = 3/36, 8 and 12 get 1/18 = 2/36 and
// 6 gets 1/12 + 1/18 = 5/36. With barriers 0, 2, 3, 5, 7 on, 10, 13 and 12 succeed: 11/36.
//
// "ja" with barrier 5 on: no memory, so with x(n) the chance of reaching exit e from n:
//   x1 = (x2 + x3)/2, x2 = (e9 + e11 + x4 + x1)/4, x3 = (e10 + e7 + x5 + x1)/4,
//   x4 = (e6 + e13 + x2)/3, x5 = (e6 + e8 + e12 + x3)/4.
// Solving gives 9, 11: 45/241; 10, 7: 44/241; 13: 15/241; 6: 26/241; 8, 12: 11/241.
// "ja" with barrier 5 off: x4 = (x5 + e13 + x2)/3 and x5 = (x4 + e8 + e12 + x3)/4 instead,
// giving 9, 11: 42/215; 10, 7: 41/215; 13: 19/215; 8, 12: 15/215; 6 never.
const Case kCases[] = {
    {"neinDefault", {1, 0, 1, 1, 0, 1, 0, 1}, false, {6, 6, 6, 6, 3, 5, 2, 2}, 36, 11},
    {"jaDefault", {1, 0, 1, 1, 0, 1, 0, 1}, true, {45, 44, 45, 44, 15, 26, 11, 11}, 241, 44 + 15 + 11},
    {"jaBarrier5OffAllOff", {0, 0, 0, 0, 0, 0, 0, 0}, true, {42, 41, 42, 41, 19, 0, 15, 15}, 215, 215},
};

class Distribution : public testing::TestWithParam<Case> {};

Setting settingOf(const Case& row) {
    Setting setting{{}, row.ja};
    for (std::size_t i = 0; i < setting.barriers.size(); ++i) setting.barriers[i] = row.barriers[i] == 1;
    return setting;
}

TEST_P(Distribution, FrequenciesLieWithinFiveStandardErrors) {
    const Case& row = GetParam();
    SeededRandom random(20261208);
    Escape escape(random, settingOf(row));
    constexpr int kEscapes = 200000;
    for (int i = 0; i < kEscapes; ++i) {
        escape.wholeEscape();
        escape.restart();
    }
    ASSERT_EQ(escape.attempts(), kEscapes);

    auto withinFiveSe = [](double count, double p) {
        const double se = std::sqrt(p * (1 - p) / kEscapes);
        return std::fabs(count / kEscapes - p) <= 5 * se + 1e-12;
    };
    for (int i = 0; i < 8; ++i) {
        const double p = double(row.numerators[i]) / row.denominator;
        const auto count = static_cast<double>(escape.exitCount(i));
        EXPECT_TRUE(withinFiveSe(count, p)) << "box " << i << ": " << count / kEscapes << " vs " << p;
    }
    const auto succeeded = static_cast<double>(escape.statistics().succeeded);
    EXPECT_TRUE(withinFiveSe(succeeded, double(row.succeededNumerator) / row.denominator))
        << succeeded / kEscapes;
    EXPECT_EQ(escape.statistics().succeeded + escape.statistics().failed, kEscapes);
}

mpq_class fraction(int numerator, int denominator) {
    mpq_class q{mpz_class(numerator), mpz_class(denominator)};
    q.canonicalize();
    return q;
}

// The solver enumerates the same draw rule the simulation draws from: it must give the
// fractions worked out by hand exactly.
TEST_P(Distribution, TheExactSolutionIsTheHandsFractions) {
    const Case& row = GetParam();
    const ExactSolution exact = solveExactly(settingOf(row));
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(exact.exitProbability[i], fraction(row.numerators[i], row.denominator)) << "box " << i;
    }
    EXPECT_EQ(exact.succeeded, fraction(row.succeededNumerator, row.denominator));
}

INSTANTIATE_TEST_SUITE_P(Settings, Distribution, testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace wexal
