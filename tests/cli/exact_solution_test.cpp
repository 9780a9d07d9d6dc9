// SPDX-License-Identifier: GPL-3.0-or-later
// The exact solution against probabilities worked out by hand, and against what must hold for
// every barrier setting.
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "sim/exact_solution.h"

namespace wexal {
namespace {

struct HandSolved {
    const char* name;
    const char* barriers;
    bool turnBack;
    std::array<const char*, 8> exits;  // counter boxes 0..7: exits 9, 10, 11, 7, 13, 6, 12, 8
    const char* succeeded;
    const char* failed;
    const char* expectedSteps;
};

void PrintTo(const HandSolved& row, std::ostream* os) {
    *os << row.name;
}

Setting settingOf(const char* barriers, bool turnBack) {
    Setting setting;
    for (int i = 0; i < 8; ++i) setting.barriers[i] = barriers[i] == '1';
    setting.turnBack = turnBack;
    return setting;
}

// "nein", barrier 5 on (10110101): 1 -> 2 or 3 (1/2 each); 2 -> 9, 11, 4 and 3 -> 10, 5, 7
// (1/3 each, the way back is never drawn); 4 -> 6, 13 (1/2 each, 2 is where he came from);
// 5 -> 6, 8, 12. So 9, 10, 11, 7: 1/6; 13: 1/12; 8, 12: 1/18; 6: 1/12 + 1/18 = 5/36.
// Unguarded are 10, 13, 12: 6/36 + 3/36 + 2/36 = 11/36. Steps: 2 with chance 4/6, else 3:
// 4/3 + 2/6 * 3 = 7/3.
//
// "nein", barrier 5 off (10110001): 4 and 5 are joined directly. 2 -> 9, 11, 4 and 3 -> 10, 5,
// 7 as before; 4 (from 2) -> 5, 13; 5 (from 3) -> 4, 8, 12; 5 (from 4) -> 8, 12; 4 (from 5)
// -> 13 only. So 9, 10, 11, 7: 1/6;
//   13: 1/2 * 1/3 * 1/2 (1-2-4-13) + 1/2 * 1/3 * 1/3 (1-3-5-4-13) = 1/12 + 1/18 = 5/36;
//   8 and 12 each: 1/2 * 1/3 * 1/2 * 1/2 (1-2-4-5-8) + 1/2 * 1/3 * 1/3 (1-3-5-8) = 7/72;
//   6 never. Unguarded are 10, 13, 6, 12: 12/72 + 10/72 + 0 + 7/72 = 29/72.
// Steps: 2 with 4/6; 3 for 1-2-4-13 (1/12) and 1-3-5-8/12 (1/9); 4 for 1-2-4-5-8/12 (1/12)
// and 1-3-5-4-13 (1/18): 4/3 + 3/12 + 3/9 + 4/12 + 4/18 = 89/36.
//
// "ja", barrier 5 on: no memory, so with t(n) the expected steps still to go from n
//   t1 = 1 + (t2 + t3)/2, t2 = 1 + (t1 + t4)/4, t3 = 1 + (t1 + t5)/4, t4 = 1 + t2/3,
//   t5 = 1 + t3/4.
// Then t2 = (15 + 3 t1)/11, t3 = (20 + 4 t1)/15, so t1 = 1 + (445 + 89 t1)/330, t1 = 775/241.
// The exits the same way with x(n) the chance of ending at exit e from n: for 9,
// x2 = (1 + x1 + x4)/4, x4 = x2/3, x3 = (x1 + x5)/4, x5 = x3/4 give x2 = 3(1 + x1)/11,
// x3 = 4 x1/15 and x1 = 45/241. For 6, y4 = (1 + y2)/3 and y5 = (1 + y3)/4 give
// y2 = (3 y1 + 1)/11, y3 = (4 y1 + 1)/15 and 241 y1 = 26. Likewise 10, 7: 44/241; 13: 15/241;
// 8, 12: 11/241.
// Unguarded 10, 13, 12: (44 + 15 + 11)/241 = 70/241.
//
// "ja", all barriers off: t4 = 1 + (t5 + t2)/3 and t5 = 1 + (t4 + t3)/4 instead. Eliminating
// t2 and t3 gives t4 = (320 + 19 t1)/149, t5 = (284 + 15 t1)/149, t2 = (229 + 42 t1)/149,
// t3 = (220 + 41 t1)/149, and t1 = 1 + (449 + 83 t1)/298, so t1 = 747/215. For exit 9 the
// same elimination with x2 = (1 + x1 + x4)/4, x3 = (x1 + x5)/4 gives x4 = (15 + 19 x1)/149,
// x5 = (4 + 15 x1)/149, x2 = (41 + 42 x1)/149, x3 = (1 + 41 x1)/149 and 215 x1 = 42.
// Likewise 11: 42/215; 10, 7: 41/215; 13: 19/215; 8, 12: 15/215 = 3/43.
// Everything is unguarded, so every escape succeeds.
//
// "nein", all barriers on: the default's exits, but every escape fails.
// clang-format off
const HandSolved kHandSolved[] = {
    {"neinDefault", "10110101", false,
     {"1/6", "1/6", "1/6", "1/6", "1/12", "5/36", "1/18", "1/18"}, "11/36", "25/36", "7/3"},
    {"neinBarrier5Off", "10110001", false,
     {"1/6", "1/6", "1/6", "1/6", "5/36", "0", "7/72", "7/72"}, "29/72", "43/72", "89/36"},
    {"jaDefault", "10110101", true,
     {"45/241", "44/241", "45/241", "44/241", "15/241", "26/241", "11/241", "11/241"},
     "70/241", "171/241", "775/241"},
    {"jaAllOff", "00000000", true,
     {"42/215", "41/215", "42/215", "41/215", "19/215", "0", "3/43", "3/43"}, "1", "0", "747/215"},
    {"neinAllOn", "11111111", false,
     {"1/6", "1/6", "1/6", "1/6", "1/12", "5/36", "1/18", "1/18"}, "0", "1", "7/3"},
};
// clang-format on

class ExactSolutionByHand : public testing::TestWithParam<HandSolved> {};

TEST_P(ExactSolutionByHand, MatchesTheHandDerivation) {
    const HandSolved& row = GetParam();
    const ExactSolution solution = solveExactly(settingOf(row.barriers, row.turnBack));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(solution.exitProbability[i], mpq_class(row.exits[i])) << "counter box " << i;
    }
    EXPECT_EQ(solution.succeeded, mpq_class(row.succeeded));
    EXPECT_EQ(solution.failed, mpq_class(row.failed));
    EXPECT_EQ(solution.expectedSteps, mpq_class(row.expectedSteps));
}

INSTANTIATE_TEST_SUITE_P(Settings, ExactSolutionByHand, testing::ValuesIn(kHandSolved),
                         [](const auto& row) { return std::string(row.param.name); });

// Over all 512 settings: the exits share out certainty, succeeded and failed split it by the
// barriers, and only barrier 5 and the option change where the robber leaves.
TEST(ExactSolution, EverySettingIsConsistent) {
    for (bool turnBack : {false, true}) {
        for (int bits = 0; bits < 256; ++bits) {
            Setting setting;
            for (int i = 0; i < 8; ++i) setting.barriers[i] = ((bits >> i) & 1) != 0;
            setting.turnBack = turnBack;
            const ExactSolution solution = solveExactly(setting);
            SCOPED_TRACE(barriersText(setting) + (turnBack ? " ja" : " nein"));

            Setting onlyBarrier5;
            onlyBarrier5.barriers = {};
            onlyBarrier5.barriers[5] = setting.barriers[5];
            onlyBarrier5.turnBack = turnBack;
            const ExactSolution reference = solveExactly(onlyBarrier5);

            mpq_class total;
            mpq_class unguarded;
            for (int i = 0; i < 8; ++i) {
                total += solution.exitProbability[i];
                if (!setting.barriers[i]) unguarded += solution.exitProbability[i];
                EXPECT_EQ(solution.exitProbability[i], reference.exitProbability[i]);
            }
            EXPECT_EQ(total, 1);
            EXPECT_EQ(solution.succeeded, unguarded);
            EXPECT_EQ(solution.succeeded + solution.failed, 1);
            EXPECT_EQ(solution.exitProbability[5] > 0, setting.barriers[5]);
            EXPECT_EQ(solution.expectedSteps, reference.expectedSteps);
        }
    }
}

struct Rounding {
    const char* fraction;
    double nearest;
};

class NearestDouble : public testing::TestWithParam<Rounding> {};

// 1/10 and 7/3 lie just below their nearest doubles, where mpq's own conversion truncates.
TEST_P(NearestDouble, RoundsToTheNearestDouble) {
    EXPECT_EQ(nearestDouble(mpq_class(GetParam().fraction)), GetParam().nearest);
}

INSTANTIATE_TEST_SUITE_P(Fractions, NearestDouble,
                         testing::Values(Rounding{"1/10", 0.1}, Rounding{"-1/10", -0.1},
                                         Rounding{"7/3", 7.0 / 3}, Rounding{"1/6", 1.0 / 6},
                                         Rounding{"0", 0.0}, Rounding{"1", 1.0}));

}  // namespace
}  // namespace wexal
