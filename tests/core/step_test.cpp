#include <gtest/gtest.h>

#include "core/escape_fixture.h"

namespace wexal::test {
namespace {

using Step = EscapeTest;

TEST_F(Step, JaRedrawsTheBanksSelfEntry) {
    window.optionJa = true;
    s().noReturn = 0;
    stepDrawing({position(3, 3), position(1, 3)});
    EXPECT_EQ(s().currentNode, 2);
    EXPECT_EQ(s().choiceRange, 3);
    EXPECT_EQ(random.reseeds, 2) << "every draw, the repeated one too, reseeds first";
}

TEST_F(Step, NeinDrawsAmongAllButTheLastEntry) {
    stepDrawing({position(2, 2)});
    EXPECT_EQ(s().choiceRange, 2);
    EXPECT_EQ(s().choiceIndex, 2);
    EXPECT_EQ(s().currentNode, 3);
    EXPECT_EQ(s().previousNode, 1);
}

TEST_F(Step, DrawJustBelowOneTakesTheLastPosition) {
    stepDrawing({0.99999994f});  // the largest float below 1
    EXPECT_EQ(s().choiceIndex, 2);
    EXPECT_EQ(s().currentNode, 3);
}

TEST_F(Step, TheTraceRunsBetweenTheNodesShiftedBy187) {
    stepDrawing({position(1, 2)});
    ASSERT_EQ(window.lines.size(), 1u);
    const auto& line = window.lines[0];
    EXPECT_FLOAT_EQ(line.x1, 1920 + 187);
    EXPECT_FLOAT_EQ(line.y1, 1080 + 187);
    EXPECT_FLOAT_EQ(line.x2, 600 + 187);
    EXPECT_FLOAT_EQ(line.y2, 1080 + 187);
}

TEST_F(Step, PenWidensPerDirection) {
    window.optionJa = true;
    s().noReturn = 0;
    stepDrawing({position(1, 3)});  // 1 -> 2
    stepDrawing({position(4, 4)});  // 2 -> 1, the opposite direction
    stepDrawing({position(1, 3)});  // 1 -> 2 again
    ASSERT_EQ(window.lines.size(), 3u);
    EXPECT_EQ(window.lines[0].penWidth, 1);
    EXPECT_EQ(window.lines[1].penWidth, 1);
    EXPECT_EQ(window.lines[2].penWidth, 2);
    EXPECT_EQ(s().traceCount[1][2], 3);
    EXPECT_EQ(s().traceCount[2][1], 2);
}

TEST_F(Step, PenWidthIsCappedWhileTheCountStaysExact) {
    s().traceCount[1][2] = 100000;
    stepDrawing({position(1, 2)});
    EXPECT_EQ(window.penWidth, Escape::kMaxPenWidth);
    EXPECT_EQ(s().traceCount[1][2], 100001);
    EXPECT_EQ(Escape::penWidthFor(Escape::kMaxPenWidth - 1), Escape::kMaxPenWidth - 1);
}

TEST_F(Step, TheRobberStandsOnTheNewNode) {
    stepDrawing({position(1, 2)});
    EXPECT_FLOAT_EQ(window.robberLeft, 600);
    EXPECT_FLOAT_EQ(window.robberTop, 1080 - 612.0f / 3);
}

TEST_F(Step, NeinNeverGoesBackFromFourToTwo) {
    stepDrawing({position(1, 2)});  // 1 -> 2
    stepDrawing({position(3, 3)});  // 2 -> 4
    EXPECT_EQ(s().currentNode, 4);
    stepDrawing({position(2, 2)});  // 4 -> 13, the second of the two admissible
    EXPECT_EQ(s().candidateNode, 13);
    EXPECT_EQ(s().currentNode, 0);
}

TEST_F(Step, OptionButtonDecidesTheReturnTestNotNoReturn) {
    // "nein" is selected again but noReturn still says "ja": the range covers the way back,
    // which the option's own test then redraws.
    stepDrawing({position(1, 2)});  // 1 -> 2
    s().noReturn = 0;
    stepDrawing({position(4, 4), position(3, 4)});  // 1 is redrawn, then 4
    EXPECT_EQ(s().currentNode, 4);
}

TEST_F(Step, JaInMidEscapeAllowsTurningBack) {
    stepDrawing({position(1, 2)});  // 1 -> 2 under "nein"
    window.optionJa = true;
    s().noReturn = 0;  // what the option's click does
    stepDrawing({position(4, 4)});
    EXPECT_EQ(s().currentNode, 1);
}

TEST_F(Step, Barrier5OnEndsTheEscapeOnNode6) {
    stepDrawing({position(1, 2)});  // 1 -> 2
    stepDrawing({position(3, 3)});  // 2 -> 4
    stepDrawing({position(1, 2)});  // 4 -> 6
    EXPECT_TRUE(s().escapeOver);
    EXPECT_EQ(s().currentNode, 0);
    EXPECT_EQ(s().candidateNode, 6);
    EXPECT_EQ(s().previousNode, 4);
    EXPECT_FLOAT_EQ(window.robberLeft, 1920);
    EXPECT_EQ(text(counterBox(5)), " 1");
}

TEST_F(Step, Barrier5OffRewiresFromTheNextStepOn) {
    stepDrawing({position(1, 2)});  // 1 -> 2, barrier 5 still on
    window.checks[5] = 0;
    stepDrawing({position(3, 3)});  // 2 -> 4: this step's test already sees the barrier off
    EXPECT_EQ(s().neighbour[4][1], 5);
    EXPECT_EQ(s().neighbour[5][1], 4);
    EXPECT_EQ(s().exitCount[4], 3);
    EXPECT_EQ(s().exitCount[5], 4);
    stepDrawing({position(1, 2)});  // 4 -> 5 directly
    EXPECT_EQ(s().currentNode, 5);
}

TEST_F(Step, SwitchingBarrier5OffOnNode4StillLeadsThroughNode6) {
    stepDrawing({position(1, 2)});  // 1 -> 2
    stepDrawing({position(3, 3)});  // 2 -> 4 with the wiring through 6
    window.checks[5] = 0;
    stepDrawing({position(1, 2)});  // 4 -> 6: the old wiring, but no end
    EXPECT_EQ(s().currentNode, 6);
    EXPECT_FALSE(s().escapeOver);
    stepDrawing({position(1, 2), position(2, 2)});  // back to 4 is redrawn under "nein"
    EXPECT_EQ(s().currentNode, 5);
}

TEST_F(Step, Barrier5BackOnRestoresTheWiringThroughNode6) {
    window.checks[5] = 0;
    stepDrawing({position(2, 2)});  // 1 -> 3: direct wiring
    EXPECT_EQ(s().neighbour[5][1], 4);
    window.checks[5] = 1;
    stepDrawing({position(2, 3)});  // 3 -> 5
    EXPECT_EQ(s().neighbour[4][1], 6);
    EXPECT_EQ(s().neighbour[5][1], 6);
}

TEST_F(Step, GreyedBarrier5KeepsTheLastWiringAndTheLastEndTest) {
    window.checks[5] = 2;
    stepDrawing({position(1, 2)});
    EXPECT_FALSE(s().escapeOver);
    EXPECT_EQ(s().neighbour[4][1], 6);
}

using Restart = EscapeTest;

TEST_F(Restart, ClearsPreviousNodeSoTheBankMayLeadToEitherSide) {
    stepDrawing({position(1, 2)});  // 1 -> 2
    stepDrawing({position(1, 3)});  // 2 -> 9, ends; the last step left node 2
    ASSERT_EQ(s().currentNode, 0);
    ASSERT_EQ(s().previousNode, 2);
    s().currentNode = 1;
    escape.restartEscape();
    EXPECT_EQ(s().previousNode, 0);
    stepDrawing({position(1, 2)});  // node 2 is admissible again
    EXPECT_EQ(s().currentNode, 2);
}

TEST_F(Restart, ReadsTheOptionsAndPutsTheRobberOnTheBank) {
    window.optionJa = true;
    s().currentNode = 0;
    escape.restartEscape();
    EXPECT_EQ(s().noReturn, 0);
    EXPECT_EQ(s().currentNode, 1);
    EXPECT_FLOAT_EQ(window.robberLeft, 1920);
    EXPECT_FLOAT_EQ(window.robberTop, 1080 - 612.0f / 3);
    window.optionJa = false;
    escape.restartEscape();
    EXPECT_EQ(s().noReturn, 1);
}

TEST_F(Restart, LeavesTracesAndWiringAlone) {
    window.checks[5] = 0;
    stepDrawing({position(2, 2)});  // 1 -> 3, direct wiring
    escape.restartEscape();
    EXPECT_EQ(s().traceCount[1][3], 2);
    EXPECT_EQ(s().neighbour[4][1], 5);
}

}  // namespace
}  // namespace wexal::test
