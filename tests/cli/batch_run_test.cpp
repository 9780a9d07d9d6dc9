// SPDX-License-Identifier: GPL-3.0-or-later
// Seeded batch runs on the window's core against the exact solution, and what the blocks and
// threads of a run must not change.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/batch_run.h"
#include "sim/exact_solution.h"

namespace wexal::cli {
namespace {

struct Run {
    const char* name;
    const char* barriers;
    bool turnBack;
};

void PrintTo(const Run& row, std::ostream* os) {
    *os << row.name;
}

Setting settingOf(const Run& row) {
    Setting setting;
    for (int i = 0; i < 8; ++i) setting.barriers[i] = row.barriers[i] == '1';
    setting.turnBack = row.turnBack;
    return setting;
}

const Run kRuns[] = {
    {"neinDefault", "10110101", false},
    {"neinBarrier5Off", "10110001", false},
    {"jaDefault", "10110101", true},
    {"jaAllOff", "00000000", true},
};

class BatchAgainstExact : public testing::TestWithParam<Run> {};

// A share within five standard errors of its probability: a correct core fails this about
// once in 1.7 million checks; a wrong probability of the size of a hand slip fails always.
void expectWithinFiveStandardErrors(std::int64_t count, std::int64_t n, const mpq_class& exact,
                                    const std::string& what) {
    const double p = nearestDouble(exact);
    const double share = static_cast<double>(count) / static_cast<double>(n);
    const double se = std::sqrt(p * (1 - p) / static_cast<double>(n));
    EXPECT_LE(std::fabs(share - p), 5 * se + 1e-12) << what << ": " << share << " vs " << exact;
}

TEST_P(BatchAgainstExact, AgreesWithinFiveStandardErrors) {
    const Setting setting = settingOf(GetParam());
    constexpr std::int64_t kEscapes = 200'000;
    const BatchResult batch = runBatch(setting, kEscapes, 20261208, 2);
    const ExactSolution exact = solveExactly(setting);

    ASSERT_EQ(batch.escapes, kEscapes);
    EXPECT_EQ(std::accumulate(batch.counts.begin(), batch.counts.end(), std::int64_t{0}), kEscapes);
    EXPECT_EQ(batch.succeeded + batch.failed, kEscapes);
    for (int i = 0; i < 8; ++i) {
        expectWithinFiveStandardErrors(batch.counts[i], kEscapes, exact.exitProbability[i],
                                       "counter box " + std::to_string(i));
    }
    expectWithinFiveStandardErrors(batch.succeeded, kEscapes, exact.succeeded, "succeeded");
    EXPECT_LE(std::fabs(batch.meanSteps() - nearestDouble(exact.expectedSteps)),
              5 * batch.meanStepsStandardError())
        << batch.meanSteps() << " vs " << exact.expectedSteps;
}

INSTANTIATE_TEST_SUITE_P(Settings, BatchAgainstExact, testing::ValuesIn(kRuns),
                         [](const auto& row) { return std::string(row.param.name); });

bool sameResult(const BatchResult& a, const BatchResult& b) {
    return a.escapes == b.escapes && a.counts == b.counts && a.succeeded == b.succeeded &&
           a.failed == b.failed && a.steps == b.steps && a.stepsSquared == b.stepsSquared;
}

TEST(Batch, TheSeedDecidesTheRun) {
    const Setting setting = settingOf(kRuns[2]);
    const BatchResult a = runBatch(setting, 5000, 7);
    EXPECT_TRUE(sameResult(a, runBatch(setting, 5000, 7)));
    EXPECT_FALSE(sameResult(a, runBatch(setting, 5000, 8)));
}

// The joined history ends at the run's totals, evenly spaced and bounded.
TEST(Batch, KeepsTheShareHistoryOfTheWholeRun) {
    constexpr std::int64_t kEscapes = 5 * kBlockEscapes;
    const BatchResult batch = runBatch(kStartSetting, kEscapes, 4, 2);
    const auto& points = batch.shareHistory.points();
    ASSERT_FALSE(points.empty());
    EXPECT_LE(points.size(), ShareHistory::kMaxPoints);
    EXPECT_EQ(points.back().escapes, kEscapes);
    EXPECT_EQ(points.back().succeeded, batch.succeeded);
    for (std::size_t i = 0; i < points.size(); ++i) {
        ASSERT_EQ(points[i].escapes, static_cast<std::int64_t>(i + 1) * batch.shareHistory.stride());
        if (i > 0) {
            ASSERT_LE(points[i].succeeded - points[i - 1].succeeded, batch.shareHistory.stride());
        }
    }
}

// Block 1 must draw from a stream of its own: were it a copy of block 0, the two-block run
// would count exactly twice what the one-block run counts.
TEST(Batch, EveryBlockDrawsItsOwnStream) {
    const Setting setting = settingOf(kRuns[2]);
    const BatchResult once = runBatch(setting, kBlockEscapes, 5);
    BatchResult twice = once;
    twice.add(once);
    const BatchResult twoBlocks = runBatch(setting, 2 * kBlockEscapes, 5);
    ASSERT_EQ(twoBlocks.escapes, twice.escapes);
    EXPECT_FALSE(sameResult(twoBlocks, twice));
}

// Under "nein" with barrier 5 on every escape takes two or three steps (the start setting's
// derivation), so the steps counted lie between 2N and 3N, and the spread is at most 1/2.
TEST(Batch, CountsEveryStep) {
    const BatchResult batch = runBatch(kStartSetting, 1000, 3);
    EXPECT_GE(batch.steps, 2000);
    EXPECT_LE(batch.steps, 3000);
    EXPECT_GE(batch.stepsSquared, 4000);
    EXPECT_LE(batch.stepsSquared, 9000);
    EXPECT_GT(batch.meanStepsStandardError(), 0);
    EXPECT_LE(batch.meanStepsStandardError(), 0.5 / std::sqrt(999.0));
}

// Two escapes of 2 and 4 steps: mean 3, sample variance ((2 - 3)^2 + (4 - 3)^2) / (2 - 1) = 2,
// standard error sqrt(2 / 2) = 1. Dividing by n instead of n - 1 would give 0.707.
TEST(Batch, TheStandardErrorOfTheMeanStepsDividesByNMinusOne) {
    BatchResult two;
    two.escapes = 2;
    two.steps = 2 + 4;
    two.stepsSquared = 4 + 16;
    EXPECT_DOUBLE_EQ(two.meanSteps(), 3);
    EXPECT_DOUBLE_EQ(two.meanStepsStandardError(), 1);
}

TEST(Batch, ReportsProgressUpToTheEnd) {
    std::vector<std::int64_t> reports;
    runBatch(kStartSetting, 150'000, 1, 1,
             [&reports](std::int64_t finished) { reports.push_back(finished); });
    ASSERT_GE(reports.size(), 2u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(std::adjacent_find(reports.begin(), reports.end()), reports.end())
        << "a report repeated";
    EXPECT_EQ(reports.back(), 150'000);
}

TEST(Batch, RefusesCountsOutsideItsRange) {
    EXPECT_THROW(runBatch(kStartSetting, 0, 1), std::out_of_range);
    EXPECT_THROW(runBatch(kStartSetting, kMaxEscapes + 1, 1), std::out_of_range);
    EXPECT_THROW(runBatch(kStartSetting, 1, 1, 0), std::out_of_range);
    EXPECT_THROW(runBatch(kStartSetting, 1, 1, kMaxThreads + 1), std::out_of_range);
}

}  // namespace
}  // namespace wexal::cli
