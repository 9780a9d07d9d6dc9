#include <gtest/gtest.h>

#include <ostream>

#include "core/escape_fixture.h"

namespace wexal::test {
namespace {

using StartUp = EscapeTest;

TEST_F(StartUp, AnEscapeIsReadyAtTheBank) {
    EXPECT_EQ(s().startNode, 1);
    EXPECT_EQ(s().currentNode, 1);
    EXPECT_EQ(s().previousNode, 0);
    EXPECT_EQ(s().attempts, 0);
    EXPECT_EQ(s().noReturn, 1) << "\"nein\" is selected at start";
    for (int a = 1; a <= 14; ++a) {
        for (int b = 1; b <= 14; ++b) ASSERT_EQ(s().traceCount[a][b], 1) << a << "->" << b;
    }
}

TEST_F(StartUp, TheRobberWaitsAtTheBanksDesignPlace) {
    EXPECT_FLOAT_EQ(window.robberLeft, 1920);
    EXPECT_FLOAT_EQ(window.robberTop, 840);
}

TEST_F(StartUp, BarrierMarksAndCounterColoursFollowTheCheckBoxes) {
    const bool on[8] = {true, false, true, true, false, true, false, true};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(window.markVisible[i], on[i]) << "mark " << i;
        EXPECT_EQ(window.boxColor(counterBox(i)), on[i] ? kYellow : kWhite) << "box " << i;
    }
    EXPECT_EQ(window.boxColor(Box::Text5), kYellow);
    EXPECT_EQ(window.boxColor(Box::Text6), kYellow);
}

TEST_F(StartUp, EveryListPositionByPosition) {
    const int lists[7][5] = {{},
                             {3, 2, 3, 1},
                             {4, 9, 11, 4, 1},
                             {4, 10, 5, 7, 1},
                             {3, 6, 13, 2},
                             {4, 6, 8, 12, 3},
                             {3, 4, 5, 6}};
    for (int n = 1; n <= 6; ++n) {
        ASSERT_EQ(s().exitCount[n], lists[n][0]) << "node " << n;
        for (int k = 1; k <= lists[n][0]; ++k) {
            EXPECT_EQ(s().neighbour[n][k], lists[n][k]) << "neighbour(" << n << ", " << k << ")";
        }
    }
}

TEST_F(StartUp, ExitCounterMapsEachExitToItsBox) {
    const int exits[8] = {9, 10, 11, 7, 13, 6, 12, 8};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(s().exitCounter[exits[i]], i) << "node " << exits[i];
}

TEST_F(StartUp, NodeCoordinatesComeFromTheLayout) {
    EXPECT_FLOAT_EQ(s().nodeX[1], 1920);
    EXPECT_FLOAT_EQ(s().nodeY[1], 1080);
    EXPECT_FLOAT_EQ(s().nodeX[11], 0);
    EXPECT_FLOAT_EQ(s().nodeY[9], 0);
    EXPECT_FLOAT_EQ(s().nodeX[14], 3360);
    EXPECT_FLOAT_EQ(s().nodeY[14], 3640);
}

struct CheckCase {
    const char* name;
    int value;
    bool markShown;
    Rgb color;
};

void PrintTo(const CheckCase& row, std::ostream* os) { *os << row.name; }


class StartUpCheckValue : public testing::TestWithParam<CheckCase> {};

TEST_P(StartUpCheckValue, SetsMarkAndColourOnlyForZeroAndOne) {
    HeadlessWindow window;
    ScriptedRandom random;
    window.checks.fill(GetParam().value);
    window.markVisible.fill(true);  // a greyed box must leave these untouched
    window.colors.fill(Rgb{1, 2, 3});
    Escape escape(window, random);
    escape.formLoad();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(window.markVisible[i], GetParam().markShown);
        EXPECT_EQ(window.boxColor(counterBox(i)), GetParam().color);
    }
    EXPECT_EQ(window.boxColor(Box::Text5), kYellow);
}

INSTANTIATE_TEST_SUITE_P(Values, StartUpCheckValue,
                         testing::Values(CheckCase{"ticked", 1, true, Rgb{255, 255, 0}},
                                         CheckCase{"unticked", 0, false, Rgb{255, 255, 255}},
                                         CheckCase{"greyed", 2, true, Rgb{1, 2, 3}}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(StartUpOption, JaAllowsTurningBack) {
    HeadlessWindow window;
    ScriptedRandom random;
    window.optionJa = true;
    Escape escape(window, random);
    escape.formLoad();
    EXPECT_EQ(escape.state.noReturn, 0);
}

TEST(StartUpScreen, NodeCoordinatesFollowTheScreen) {
    HeadlessWindow window({15360, 11520});
    ScriptedRandom random;
    Escape escape(window, random);
    escape.formLoad();
    EXPECT_FLOAT_EQ(escape.state.nodeX[1], 2400);
    EXPECT_FLOAT_EQ(escape.state.nodeY[1], 1350);
}

}  // namespace
}  // namespace wexal::test
