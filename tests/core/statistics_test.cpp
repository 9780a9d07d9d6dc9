#include <gtest/gtest.h>

#include <stdexcept>

#include "core/escape_fixture.h"

namespace wexal::test {
namespace {

// Books finished escapes directly, one per end node.
class Finish : public EscapeTest {
protected:
    void finishAt(std::initializer_list<int> endNodes) {
        for (int node : endNodes) {
            s().candidateNode = node;
            s().currentNode = 0;
            escape.finishEscape();
        }
    }
};

TEST_F(Finish, FirstEscapeAtAnUnguardedExit) {
    finishAt({10});  // box 1, barrier off
    EXPECT_EQ(text(Box::Text2), " 1");
    EXPECT_EQ(text(counterBox(1)), " 1");
    EXPECT_EQ(text(Box::Text3), " 1");
    EXPECT_EQ(text(Box::Text4), " 100");
    EXPECT_EQ(text(Box::Text5), " 0");
    EXPECT_EQ(text(Box::Text6), " 0");
    EXPECT_EQ(text(counterBox(0)), "0") << "a box never counted keeps its design text";
}

TEST_F(Finish, ThreeEscapesOneCaught) {
    finishAt({10, 13, 9});  // white, white, yellow
    EXPECT_EQ(text(Box::Text2), " 3");
    EXPECT_EQ(text(Box::Text3), " 2");
    EXPECT_EQ(text(Box::Text4), " 66.6666666666667");
    EXPECT_EQ(text(Box::Text5), " 1");
    EXPECT_EQ(text(Box::Text6), " 33.3333333333333");
}

TEST_F(Finish, EveryExitCountsInItsOwnBox) {
    const int exits[8] = {9, 10, 11, 7, 13, 6, 12, 8};
    for (int i = 0; i < 8; ++i) {
        for (int repeat = 0; repeat <= i; ++repeat) finishAt({exits[i]});
    }
    for (int i = 0; i < 8; ++i) EXPECT_EQ(text(counterBox(i)), numberToText(i + 1)) << "box " << i;
    EXPECT_EQ(text(Box::Text2), " 36");
    // Unguarded at start: boxes 1, 4, 6 with 2 + 5 + 7 escapes.
    EXPECT_EQ(text(Box::Text3), " 14");
    EXPECT_EQ(text(Box::Text5), " 22");
}

TEST_F(Finish, CountsAreReadBackFromTheBoxes) {
    window.setBoxText(counterBox(1), " 41");
    finishAt({10});
    EXPECT_EQ(text(counterBox(1)), " 42");
    EXPECT_EQ(text(Box::Text3), " 42");
    EXPECT_EQ(text(Box::Text4), " 4200") << "attempts is 1, the box said 41 before";
}

TEST_F(Finish, SwitchingABarrierMovesItsWholeCountAtTheNextFinish) {
    finishAt({10, 10});
    window.setBoxColor(counterBox(1), kYellow);  // barrier 1 switched on
    EXPECT_EQ(text(Box::Text3), " 2") << "switching alone changes no statistics box";
    finishAt({13});
    EXPECT_EQ(text(Box::Text3), " 1");
    EXPECT_EQ(text(Box::Text5), " 2");
    EXPECT_EQ(text(Box::Text4), " 33.3333333333333");
}

TEST_F(Finish, ABoxOfAnotherColourCountsInNeitherTotal) {
    finishAt({10, 9});
    window.setBoxColor(counterBox(1), Rgb{255, 255, 254});
    finishAt({9});
    EXPECT_EQ(text(Box::Text3), " 0");
    EXPECT_EQ(text(Box::Text5), " 2");
    EXPECT_EQ(text(Box::Text2), " 3");
}

TEST_F(Finish, ACountThatCanNoLongerGrowIsAnErrorNotALostEscape) {
    window.setBoxText(counterBox(1), " 9007199254740992");  // 2^53: +1 is not representable
    EXPECT_THROW(finishAt({10}), ArithmeticError);
    EXPECT_EQ(text(Box::Text2), " 1") << "boxes written before the error keep their text";
    EXPECT_EQ(text(counterBox(1)), " 9007199254740992");
}

TEST_F(Finish, CountsGoOnPast32Bits) {
    s().attempts = 2147483647;  // 2^31 - 1
    window.setBoxText(counterBox(1), " 4294967295");  // 2^32 - 1
    finishAt({10});
    EXPECT_EQ(text(Box::Text2), " 2147483648");
    EXPECT_EQ(text(counterBox(1)), " 4294967296");
}

TEST_F(Finish, TheLastExactCountIsStillBooked) {
    window.setBoxText(counterBox(1), " 9007199254740990");
    finishAt({10});
    EXPECT_EQ(text(counterBox(1)), " 9007199254740991");
}

TEST_F(Finish, AnUnreadableHugeCountIsAnError) {
    window.setBoxText(counterBox(1), "1e999");
    EXPECT_THROW(finishAt({10}), ArithmeticError);
}

TEST_F(Finish, AnEndNodeOutsideTheNetworkIsAnIndexError) {
    EXPECT_THROW(finishAt({15}), std::out_of_range);
    EXPECT_EQ(s().attempts, 1);
}

}  // namespace
}  // namespace wexal::test
