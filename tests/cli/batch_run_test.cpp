// Seeded batch runs on the window's core against the exact solution.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "cli/batch_run.h"
#include "cli/exact_solution.h"

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
                                    const char* what) {
    const double p = nearestDouble(exact);
    const double share = static_cast<double>(count) / static_cast<double>(n);
    const double se = std::sqrt(p * (1 - p) / static_cast<double>(n));
    EXPECT_LE(std::fabs(share - p), 5 * se + 1e-12) << what << ": " << share << " vs " << exact;
}

TEST_P(BatchAgainstExact, AgreesWithinFiveStandardErrors) {
    const Setting setting = settingOf(GetParam());
    constexpr std::int64_t kEscapes = 200'000;
    SeededRandom random(20261208);
    const BatchResult batch = runBatch(setting, kEscapes, random);
    const ExactSolution exact = solveExactly(setting);

    ASSERT_EQ(batch.escapes, kEscapes);
    EXPECT_EQ(std::accumulate(batch.counts.begin(), batch.counts.end(), std::int64_t{0}), kEscapes);
    EXPECT_EQ(batch.succeeded + batch.failed, kEscapes);
    for (int i = 0; i < 8; ++i) {
        const std::string what = "counter box " + std::to_string(i);
        expectWithinFiveStandardErrors(batch.counts[i], kEscapes, exact.exitProbability[i],
                                       what.c_str());
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
           a.failed == b.failed && a.steps == b.steps;
}

TEST(Batch, TheSeedDecidesTheRun) {
    const Setting setting = settingOf(kRuns[2]);
    SeededRandom first(7);
    SeededRandom again(7);
    SeededRandom other(8);
    const BatchResult a = runBatch(setting, 5000, first);
    EXPECT_TRUE(sameResult(a, runBatch(setting, 5000, again)));
    EXPECT_FALSE(sameResult(a, runBatch(setting, 5000, other)));
}

// Under "nein" with barrier 5 on every escape takes two or three steps (the default's
// derivation), so the steps counted lie between 2N and 3N, and the spread is at most 1/2.
TEST(Batch, CountsEveryStep) {
    SeededRandom random(3);
    const BatchResult batch = runBatch(Setting{}, 1000, random);
    EXPECT_GE(batch.steps, 2000);
    EXPECT_LE(batch.steps, 3000);
    EXPECT_GT(batch.meanStepsStandardError(), 0);
    EXPECT_LE(batch.meanStepsStandardError(), 0.5 / std::sqrt(999.0));
}

TEST(Batch, ReportsProgressUpToTheEnd) {
    SeededRandom random(1);
    std::vector<std::int64_t> reports;
    runBatch(Setting{}, 150'000, random,
             [&reports](std::int64_t finished) { reports.push_back(finished); });
    ASSERT_GE(reports.size(), 2u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end()));
    EXPECT_EQ(std::adjacent_find(reports.begin(), reports.end()), reports.end())
        << "a report repeated";
    EXPECT_EQ(reports.back(), 150'000);
}

TEST(Batch, RefusesCountsOutsideItsRange) {
    SeededRandom random(1);
    EXPECT_THROW(runBatch(Setting{}, 0, random), std::out_of_range);
    EXPECT_THROW(runBatch(Setting{}, kMaxEscapes + 1, random), std::out_of_range);
}

}  // namespace
}  // namespace wexal::cli
