// SPDX-License-Identifier: GPL-3.0-or-later
// The bookkeeping at the end of each escape: counts per exit, attempts and the statistics.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/escape_fixture.h"

namespace wexal::test {
namespace {

using Strings = std::vector<std::string>;

class Counts : public EscapeTest {
protected:
    // Runs whole escapes under "nein" to the given exits, each from a fresh start at the bank.
    void escapeTo(std::initializer_list<int> exits) {
        // The positions that lead from the bank to each exit (k of n per step).
        static const std::map<int, std::vector<float>> kWays = {
            {9, {position(1, 2), position(1, 3)}},
            {11, {position(1, 2), position(2, 3)}},
            {10, {position(2, 2), position(1, 3)}},
            {7, {position(2, 2), position(3, 3)}},
            {13, {position(1, 2), position(3, 3), position(2, 2)}},
            {6, {position(1, 2), position(3, 3), position(1, 2)}},
            {12, {position(2, 2), position(2, 3), position(3, 3)}},
            {8, {position(2, 2), position(2, 3), position(2, 3)}},
        };
        for (int exit : exits) {
            random.push(kWays.at(exit));
            escape.wholeEscape();
            ASSERT_EQ(escape.robberNode(), exit);
            escape.restart();
        }
    }
};

TEST_F(Counts, FirstEscapeAtAnUnguardedExit) {
    escapeTo({10});  // box 1, barrier off
    EXPECT_EQ(escape.attempts(), 1);
    EXPECT_EQ(escape.exitCount(1), 1);
    EXPECT_EQ(escape.statistics().succeeded, 1);
    EXPECT_EQ(escape.statistics().succeededPercent, 100);
    EXPECT_EQ(escape.statistics().failed, 0);
    EXPECT_EQ(escape.statistics().failedPercent, 0);
    EXPECT_EQ(escape.countedSteps(), 2);
}

TEST_F(Counts, ThreeEscapesOneCaught) {
    escapeTo({10, 13, 9});  // unguarded, unguarded, guarded
    Strings counted;
    for (const std::string& event : log.take()) {
        if (event.starts_with("counted")) counted.push_back(event);
    }
    EXPECT_EQ(counted, (Strings{"counted 10 succeeded", "counted 13 succeeded", "counted 9 caught"}))
        << "the views learn where each escape ended and whether it was caught";
    const Statistics& s = escape.statistics();
    EXPECT_EQ(s.succeeded, 2);
    EXPECT_EQ(s.failed, 1);
    EXPECT_DOUBLE_EQ(s.succeededPercent, 200.0 / 3);
    EXPECT_DOUBLE_EQ(s.failedPercent, 100.0 / 3);
    EXPECT_EQ(escape.countedSteps(), 2 + 3 + 2);
    EXPECT_EQ(escape.countedStepsSquared(), 4 + 9 + 4);
}

TEST_F(Counts, VisitsPerJunctionFollowTheCountedEscapes) {
    escapeTo({13, 10});  // 1-2-4-13 and 1-3-10
    const std::map<int, std::int64_t> expected = {{1, 2}, {2, 1}, {3, 1}, {4, 1}, {5, 0}, {6, 0}};
    for (const auto& [node, visits] : expected) EXPECT_EQ(escape.countedVisits(node), visits) << node;
    random.push({position(1, 2)});
    escape.singleStep();  // 1 -> 2, not counted until the escape ends
    EXPECT_EQ(escape.countedVisits(1), 2);
    escape.clearCounters();
    for (const auto& entry : expected) EXPECT_EQ(escape.countedVisits(entry.first), 0);
    random.push({position(1, 3)});
    escape.wholeEscape();  // 2 -> 9: the escape under way when cleared counts whole
    EXPECT_EQ(escape.countedVisits(1), 1);
    EXPECT_EQ(escape.countedVisits(2), 1);
}

TEST_F(Counts, EveryExitCountsInItsOwnBox) {
    const int exits[8] = {9, 10, 11, 7, 13, 6, 12, 8};
    for (int i = 0; i < 8; ++i) {
        for (int repeat = 0; repeat <= i; ++repeat) escapeTo({exits[i]});
    }
    for (int i = 0; i < 8; ++i) EXPECT_EQ(escape.exitCount(i), i + 1) << "box " << i;
    EXPECT_EQ(escape.attempts(), 36);
    // Unguarded at start: boxes 1, 4, 6 with 2 + 5 + 7 escapes.
    EXPECT_EQ(escape.statistics().succeeded, 14);
    EXPECT_EQ(escape.statistics().failed, 22);
}

TEST_F(Counts, ASwitchedBarrierMovesItsWholeCountAtTheNextFinish) {
    escapeTo({10, 10});
    log.take();
    escape.setBarrier(1, true);
    EXPECT_EQ(log.take(), Strings{"barrier 1 on"}) << "switching recomputes no statistics";
    EXPECT_EQ(escape.statistics().succeeded, 2);
    escapeTo({10});
    EXPECT_EQ(log.take().at(4), "counted 10 caught") << "caught by the barrier as it is now";
    EXPECT_EQ(escape.statistics().succeeded, 0);
    EXPECT_EQ(escape.statistics().failed, 3);
}

TEST_F(Counts, ClearingStartsAFreshSeriesAndLeavesTheEscapeAlone) {
    escapeTo({10, 9});
    stepDrawing({position(1, 2)});
    log.take();
    escape.clearCounters();
    EXPECT_EQ(log.take(), Strings{"counters cleared"});
    EXPECT_EQ(escape.attempts(), 0);
    EXPECT_EQ(escape.exitCount(1), 0);
    EXPECT_EQ(escape.statistics().failed, 0);
    EXPECT_EQ(escape.countedSteps(), 0);
    EXPECT_EQ(currentNode(), 2);
    EXPECT_EQ(escape.traceCount(1, 2), 3);
}

TEST_F(Counts, ClearingTheTracesStartsEveryPenAtOne) {
    escapeTo({9});
    escape.clearTraces();
    EXPECT_EQ(log.take().back(), "traces cleared");
    EXPECT_EQ(escape.traceCount(1, 2), 1);
    EXPECT_EQ(escape.attempts(), 1);
}

TEST_F(Counts, ACountAtItsLimitIsAnErrorAndTheAttemptStaysCounted) {
    EscapeTestAccess::setCount(escape, 1, Escape::kCountLimit - 1);
    escapeTo({10});
    EXPECT_EQ(escape.exitCount(1), Escape::kCountLimit) << "the last exact count is still booked";
    random.push({position(2, 2), position(1, 3)});
    EXPECT_THROW(escape.wholeEscape(), ArithmeticError);
    EXPECT_EQ(escape.attempts(), 2);
    EXPECT_EQ(escape.exitCount(1), Escape::kCountLimit);
    EXPECT_EQ(log.take().back(), "counted 10 succeeded") << "the view learns of the counted attempt";
}

TEST_F(Counts, ASettingChangedAfterCountingMarksTheSeriesAsMixedUntilCleared) {
    escape.setBarrier(1, true);
    escape.setTurnBack(true);
    EXPECT_FALSE(escape.countsMixSettings()) << "nothing was counted under the old setting";
    escape.setTurnBack(false);
    escape.setBarrier(1, false);
    stepDrawing({position(1, 2)});
    escape.setTurnBack(false);
    EXPECT_FALSE(escape.countsMixSettings()) << "the same option again changes nothing";
    escape.setBarrier(0, true);
    escape.setBarrier(1, false);
    EXPECT_FALSE(escape.countsMixSettings()) << "a barrier set as it is changes nothing";
    escape.setBarrier(4, true);
    EXPECT_TRUE(escape.countsMixSettings()) << "the running escape began under another setting";
    escape.clearCounters();
    EXPECT_FALSE(escape.countsMixSettings());
}

TEST_F(Counts, TheShareHistoryFollowsEachFinishAndClearing) {
    escapeTo({10, 9, 13});
    const auto& points = escape.shareHistory().points();
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1].escapes, 2);
    EXPECT_EQ(points[1].succeeded, 1);
    EXPECT_EQ(points[2].succeeded, 2);
    escape.clearCounters();
    EXPECT_TRUE(escape.shareHistory().points().empty());
}

// However many escapes, the history keeps at most kMaxPoints, evenly spaced to the last.
TEST(ShareHistoryThinning, StaysBoundedAndEven) {
    ShareHistory history;
    constexpr std::int64_t kEscapes = 1'000'000;
    for (std::int64_t n = 1; n <= kEscapes; ++n) history.record(n, n / 3);
    const auto& points = history.points();
    EXPECT_LE(points.size(), ShareHistory::kMaxPoints);
    EXPECT_GT(points.size(), ShareHistory::kMaxPoints / 2);
    for (std::size_t i = 0; i < points.size(); ++i) {
        ASSERT_EQ(points[i].escapes, static_cast<std::int64_t>(i + 1) * history.stride());
        ASSERT_EQ(points[i].succeeded, points[i].escapes / 3);
    }
    EXPECT_GT(points.back().escapes, kEscapes - history.stride());
}

// Blocks recorded apart and joined in order give the series recorded straight through, also
// when the blocks' own strides differ from the joined one's and the last block is short.
class ShareHistoryJoin : public testing::TestWithParam<std::int64_t> {};

TEST_P(ShareHistoryJoin, EqualsOneSeriesRecordedThrough) {
    const std::int64_t block = GetParam();
    constexpr std::int64_t kEscapes = 200'000;
    auto succeededAfter = [](std::int64_t n) { return n / 3 + (n % 7 == 0 ? 1 : 0); };
    ShareHistory through;
    for (std::int64_t n = 1; n <= kEscapes; ++n) through.record(n, succeededAfter(n));

    ShareHistory joined;
    for (std::int64_t start = 0; start < kEscapes; start += block) {
        ShareHistory piece;
        const std::int64_t end = std::min(kEscapes, start + block);
        for (std::int64_t n = start + 1; n <= end; ++n) {
            piece.record(n - start, succeededAfter(n) - succeededAfter(start));
        }
        joined.append(piece, start, succeededAfter(start));
    }
    EXPECT_EQ(joined.stride(), through.stride());
    ASSERT_EQ(joined.points().size(), through.points().size());
    for (std::size_t i = 0; i < through.points().size(); ++i) {
        EXPECT_EQ(joined.points()[i].escapes, through.points()[i].escapes) << i;
        EXPECT_EQ(joined.points()[i].succeeded, through.points()[i].succeeded) << i;
    }
}

// 4096 fills one history exactly; 65536 is wexal-sim's block, thinned to every 16th.
INSTANTIATE_TEST_SUITE_P(BlockSizes, ShareHistoryJoin, testing::Values(4096, 8192, 65536));

// One click finishes the running escape and 49 more, or 49 when none was running.
class Fifty : public testing::TestWithParam<bool> {};

TEST_P(Fifty, FinishesFiftyOrFortyNineAndLeavesAnEscapeReady) {
    const bool finishFirst = GetParam();
    SeededRandom random(3);
    Escape escape(random);
    if (finishFirst) escape.wholeEscape();
    const std::int64_t before = escape.attempts();
    escape.fiftyEscapes();
    EXPECT_EQ(escape.attempts() - before, finishFirst ? 49 : 50);
    EXPECT_TRUE(escape.isRunning());
    EXPECT_EQ(escape.robberNode(), 1);
    EXPECT_EQ(escape.previousNode(), 0);
}

INSTANTIATE_TEST_SUITE_P(RunningOrNot, Fifty, testing::Bool());

}  // namespace
}  // namespace wexal::test
