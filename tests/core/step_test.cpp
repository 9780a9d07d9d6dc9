// SPDX-License-Identifier: GPL-3.0-or-later
// One step of the robber: the draw, the trace, the wiring of 4 and 5, and restarts.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdint>

#include "core/escape_fixture.h"
#include "sim/draw.h"

namespace wexal::test {
namespace {

using Step = EscapeTest;
using Strings = std::vector<std::string>;

TEST_F(Step, AtStartAnEscapeWaitsAtTheBankInTheStartSetting) {
    EXPECT_EQ(currentNode(), 1);
    EXPECT_EQ(escape.previousNode(), 0);
    EXPECT_EQ(escape.setting(), kStartSetting);
    EXPECT_FALSE(escape.setting().turnBack) << "\"nein\" is selected at start";
    EXPECT_EQ(escape.traceCount(14, 14), 1);
}

TEST_F(Step, JaRedrawsTheBanksSelfEntry) {
    escape.setTurnBack(true);
    stepDrawing({position(3, 3), position(1, 3)});
    EXPECT_EQ(currentNode(), 2);
    EXPECT_EQ(random.reseeds, 2) << "every draw, the repeated one too, reseeds first";
}

TEST_F(Step, NeinDrawsAmongAllButTheLastEntry) {
    stepDrawing({position(2, 2)});
    EXPECT_EQ(currentNode(), 3);
    EXPECT_EQ(escape.previousNode(), 1);
    EXPECT_EQ(log.take(), (Strings{"street 1->3 pen 1", "robber 3"}));
}

TEST_F(Step, DrawJustBelowOneTakesTheLastPosition) {
    stepDrawing({0.99999994f});  // the largest float below 1
    EXPECT_EQ(currentNode(), 3);
}

// A batch run takes its positions from the generator's bits in integer arithmetic, the window
// from the float those bits make: for every draw the two must agree. With weights of 1 both
// must give the position the float product floor(range * r) gave before streets had weights;
// with a scenario's weights the range's total weight takes the range's place.
TEST(DrawRule, TheBitsGiveTheFloatsPositionForEveryDraw) {
    constexpr StreetWeights::Row kOnes{1, 1, 1, 1};
    constexpr StreetWeights::Row kScenario{1000, 999, 7, 1};
    for (int range = 1; range <= network::kMaxStreets + 1; ++range) {
        const bool weighted = range > network::kMaxStreets;
        Setting setting;
        setting.turnBack = true;
        setting.weights.set(2, weighted ? kScenario : kOnes);
        StreetDraw draw = streetDrawAt(setting, 2, 0, true);
        if (!weighted) draw.range = draw.totalWeight = range;
        int mismatches = 0;
        for (std::uint32_t m = 0; m < (1U << RandomBits::kBits); ++m) {
            const float r = static_cast<float>(m) * 0x1p-24f;  // as Xoshiro256::nextFloat
            const int expected = weighted ? draw.position(r)
                                          : std::min(static_cast<int>(static_cast<float>(range) * r), range - 1);
            if ((draw.position(RandomBits{m}) != expected || draw.position(r) != expected) &&
                mismatches++ == 0) {
                ADD_FAILURE() << "range " << range << ", bits " << m;
            }
        }
        EXPECT_EQ(mismatches, 0) << "range " << range;
    }
}

TEST_F(Step, PenWidensPerDirectionAndStopsAtItsCap) {
    escape.setTurnBack(true);
    stepDrawing({position(1, 3)});  // 1 -> 2
    stepDrawing({position(4, 4)});  // 2 -> 1, the opposite direction
    stepDrawing({position(1, 3)});  // 1 -> 2 again
    EXPECT_EQ(log.take(), (Strings{"street 1->2 pen 1", "robber 2", "street 2->1 pen 1", "robber 1",
                                   "street 1->2 pen 2", "robber 2"}));
    EXPECT_EQ(escape.traceCount(1, 2), 3);
    EXPECT_EQ(escape.traceCount(2, 1), 2);
    EXPECT_EQ(Escape::penWidthFor(100000), Escape::kMaxPenWidth);
    EXPECT_EQ(Escape::penWidthFor(Escape::kMaxPenWidth - 1), Escape::kMaxPenWidth - 1);
}

TEST_F(Step, NeinNeverGoesBackFromFourToTwo) {
    stepDrawing({position(1, 2)});  // 1 -> 2
    stepDrawing({position(3, 3)});  // 2 -> 4
    stepDrawing({position(2, 2)});  // 4 -> 13, the second of the two admissible
    EXPECT_EQ(escape.robberNode(), 13);
    EXPECT_FALSE(escape.isRunning());
}

TEST_F(Step, TheOptionAppliesFromTheNextStepInTheMiddleOfAnEscape) {
    stepDrawing({position(1, 2)});  // 1 -> 2 under "nein"
    escape.setTurnBack(true);
    stepDrawing({position(4, 4)});
    EXPECT_EQ(currentNode(), 1);
    escape.setTurnBack(false);
    stepDrawing({position(2, 2)});  // under "nein" again: 2 is where he came from, so 3
    EXPECT_EQ(currentNode(), 3);
}

TEST_F(Step, Barrier5OnEndsTheEscapeOnNode6) {
    stepDrawing({position(1, 2)});  // 1 -> 2
    stepDrawing({position(3, 3)});  // 2 -> 4
    stepDrawing({position(1, 2)});  // 4 -> 6
    EXPECT_FALSE(escape.isRunning());
    EXPECT_EQ(escape.robberNode(), 6);
    EXPECT_EQ(escape.previousNode(), 4);
    EXPECT_EQ(escape.exitCount(5), 1);
}

TEST_F(Step, Barrier5OffRewiresFromTheNextStepOn) {
    stepDrawing({position(1, 2)});  // 1 -> 2, barrier 5 still on
    escape.setBarrier(5, false);
    EXPECT_TRUE(escape.throughNode6()) << "switching alone rewires nothing";
    stepDrawing({position(3, 3)});  // 2 -> 4: this step rewires
    EXPECT_FALSE(escape.throughNode6());
    stepDrawing({position(1, 2)});  // 4 -> 5 directly
    EXPECT_EQ(currentNode(), 5);
}

TEST_F(Step, SwitchingBarrier5OffOnNode4StillLeadsThroughNode6) {
    stepDrawing({position(1, 2)});  // 1 -> 2
    stepDrawing({position(3, 3)});  // 2 -> 4 with the wiring through 6
    escape.setBarrier(5, false);
    stepDrawing({position(1, 2)});  // 4 -> 6: the old wiring, but no end
    EXPECT_EQ(currentNode(), 6);
    stepDrawing({position(1, 2), position(2, 2)});  // back to 4 is redrawn under "nein"
    EXPECT_EQ(currentNode(), 5);
}

TEST_F(Step, AGreyedBarrierSwitchesNothing) {
    escape.setBarrier(5, Switch::Greyed);
    escape.setBarrier(-1, true);
    escape.setBarrier(8, true);
    EXPECT_EQ(escape.setting(), kStartSetting);
    EXPECT_TRUE(log.take().empty());
}

TEST_F(Step, NoStepWithoutARunningEscape) {
    random.push({position(1, 2), position(1, 3)});
    escape.wholeEscape();  // 1 -> 2 -> 9
    log.take();
    escape.singleStep();
    escape.wholeEscape();
    EXPECT_EQ(escape.robberNode(), 9);
    EXPECT_TRUE(log.take().empty());
}

using Restart = EscapeTest;

TEST_F(Restart, OnlyWhenNoEscapeRuns) {
    escape.restart();
    EXPECT_TRUE(log.take().empty()) << "a running escape cannot be abandoned";
    stepDrawing({position(1, 2)});
    escape.restart();
    EXPECT_EQ(currentNode(), 2);
}

TEST_F(Restart, ClearsPreviousNodeSoTheBankMayLeadToEitherSide) {
    stepDrawing({position(1, 2)});  // 1 -> 2
    stepDrawing({position(1, 3)});  // 2 -> 9, ends; the last step left node 2
    ASSERT_EQ(escape.previousNode(), 2);
    log.take();
    escape.restart();
    EXPECT_EQ(escape.previousNode(), 0);
    EXPECT_EQ(log.take(), Strings{"robber 1"});
    stepDrawing({position(1, 2)});  // node 2 is admissible again
    EXPECT_EQ(currentNode(), 2);
}

TEST_F(Restart, LeavesTracesAndWiringAlone) {
    escape.setBarrier(5, false);
    stepDrawing({position(2, 2)});  // 1 -> 3, rewired directly
    stepDrawing({position(3, 3)});  // 3 -> 7, ends
    escape.restart();
    EXPECT_EQ(escape.traceCount(1, 3), 2);
    EXPECT_FALSE(escape.throughNode6());
}

}  // namespace
}  // namespace wexal::test
