// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson's test: what it counts, the typed levels, its German sentences, and "100 Serien"
// under the fair walk (errors of the first kind) and under a manipulated junction (power).
#include <gtest/gtest.h>

#include "sim/result_wording.h"
#include "sim/scenario.h"
#include "sim/significance_test.h"

namespace wexal {
namespace {

TEST(ProbabilityText, ReadsFractionsDecimalsAndPercentagesExactly) {
    const struct {
        const char* text;
        const char* value;  // "" for refused
    } rows[] = {
        {"0,05", "1/20"}, {"0.05", "1/20"}, {"0,08", "2/25"}, {"09 %", "9/100"}, {"5 %", "1/20"},
        {"5%", "1/20"}, {"2,5 %", "1/40"},
        {" 1/6 ", "1/6"}, {"2 / 3", "2/3"}, {"1", "1"}, {"0", "0"}, {",5", "1/2"},
        {"1,5", ""}, {"150 %", ""}, {"7/6", ""}, {"1/0", ""}, {"", ""}, {"%", ""}, {"-0,1", ""},
        {"0,1,2", ""}, {"1e-3", ""}, {"5 %%", ""}, {"fünf", ""},
    };
    for (const auto& row : rows) {
        const std::optional<mpq_class> value = probabilityFromText(row.text);
        if (*row.value == '\0') {
            EXPECT_FALSE(value) << row.text;
        } else {
            EXPECT_EQ(value, mpq_class(row.value)) << row.text;
        }
    }
}

TEST(TestTarget, NamesCountsAndProbabilitiesAsMapAndTableDo) {
    const ExactSolution exact = solveExactly(kStartSetting);
    // Boxes 0..7 count exits 9, 10, 11, 7, 13, 6, 12, 8; barriers 0, 2, 3, 5, 7 are on.
    const std::array<std::int64_t, network::kBarrierCount> counts{1, 2, 3, 4, 5, 6, 7, 8};
    const struct {
        const char* text;
        const char* name;
        std::int64_t count;
        mpq_class probability;
    } rows[] = {
        {"13", "Ausgang 13", 5, exact.exitProbability[4]},
        {"6", "Ausgang 6", 6, exact.exitProbability[5]},
        {"gefasst", "gefasst", 1 + 3 + 4 + 6 + 8, exact.failed},
        {"gelungen", "gelungen", 2 + 5 + 7, exact.succeeded},
    };
    for (const auto& row : rows) {
        const std::optional<TestTarget> target = testTargetNamed(row.text);
        ASSERT_TRUE(target) << row.text;
        EXPECT_EQ(target->name(), row.name);
        EXPECT_EQ(target->count(counts, kStartSetting), row.count) << row.text;
        EXPECT_EQ(target->probability(exact), row.probability) << row.text;
    }
    for (const char* text : {"5", "14", "0", "Gefasst", ""}) EXPECT_FALSE(testTargetNamed(text)) << text;
}

TEST(TestWording, DecisionSentencesAndRegions) {
    const AcceptanceRegion region{38, 63, 0.04};
    EXPECT_EQ(wording::decisionSentence(53, region, mpq_class(1, 20)),
              "k = 53 liegt im Annahmebereich [38; 63]: die Abweichung ist auf dem 5-%-Niveau nicht "
              "signifikant.");
    EXPECT_EQ(wording::decisionSentence(64, region, mpq_class(1, 40)),
              "k = 64 liegt außerhalb des Annahmebereichs [38; 63]: die Abweichung ist auf dem "
              "2,5-%-Niveau signifikant, H0 wird verworfen.");
    EXPECT_EQ(wording::levelText(mpq_class(1, 30)), "3,33\u00A0%");
    EXPECT_EQ(wording::rejectionText(region, 100), "[0; 37] ∪ [64; 100]");
    EXPECT_EQ(wording::rejectionText({0, 58, 0}, 100), "[59; 100]");
    EXPECT_EQ(wording::rejectionText({0, 100, 0}, 100), "leer");
}

// At 5 % a fair walk rejects about 5 of 100 series, never far more; a junction that sends the
// robber to exit 9 thirty times as often as elsewhere is found in nearly every series.
TEST(HundredSeries, RejectAboutAlphaWhenFairAndNearlyAlwaysWhenManipulated) {
    const TestTarget exit9 = *testTargetNamed("9");
    constexpr std::int64_t kEscapes = 500;
    const BinomialDistribution h0(kEscapes, exit9.probability(solveExactly(kStartSetting)));
    const AcceptanceRegion region = acceptanceRegion(h0, mpq_class(1, 20), Sided::Both);

    const int fair = rejectedSeries(kStartSetting, exit9, kEscapes, region, 2026, 100);
    EXPECT_EQ(fair, 2) << "the seed's number of errors of the first kind";
    EXPECT_LE(fair, 12);

    const ScenarioReading biased = parseScenario(R"({"gewichte": {"2": [30, 1, 1, 1]}})", "k.json");
    ASSERT_TRUE(biased.scenario) << biased.error;
    Setting walk = kStartSetting;
    walk.weights = biased.scenario->weights;
    EXPECT_GT(rejectedSeries(walk, exit9, kEscapes, region, 2026, 100), 80);
}

}  // namespace
}  // namespace wexal
