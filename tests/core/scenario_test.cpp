// SPDX-License-Identifier: GPL-3.0-or-later
// Scenario weights: the draw by weight, the exact probabilities worked out by hand, a seeded
// simulation against them, and the reader's German line for each kind of bad file.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <ostream>

#include "core/scripted_random.h"
#include "sim/chi_square.h"
#include "sim/escape.h"
#include "sim/exact_solution.h"
#include "sim/scenario.h"

namespace wexal {
namespace {

Setting withScenario(const char* json, bool barrier5, bool turnBack) {
    const ScenarioReading reading = parseScenario(json, "test.json");
    EXPECT_TRUE(reading.scenario) << reading.error;
    Setting setting = kStartSetting;
    setting.barriers[network::kRewiringBarrier] = barrier5;
    setting.turnBack = turnBack;
    if (reading.scenario) setting.weights = reading.scenario->weights;
    return setting;
}

// Junction 2 weighs [3, 1, 1, 1] under "nein": from the bank (1/2) it takes 9, 11 or 4 with
// 3/5, 1/5, 1/5, so 9 gets 3/10, 11 gets 1/10, and 4 then 6 or 13 (1/2 each) 1/20 each. The
// side of 3 is fair: 10, 7 and 5 get 1/6, 5 then 6, 8, 12 (1/3 each) 1/18 each.
//
// Junction 4 weighs [2, 1, 1] with barrier 5 off: from 4 (came from 2) the direct list's first
// position, now 5, weighs 2 against 13's 1; from 5 (came from 4) 8 or 12. Coming from 5, 4's
// only admissible street is 13. So 13 gets 1/6 * 1/3 + 1/6 * 1/3, 8 and 12 each
// 1/6 * 2/3 * 1/2 + 1/6 * 1/3.
struct HandCase {
    const char* name;
    const char* json;
    bool barrier5;
    // Counter boxes 0..7: exits 9, 10, 11, 7, 13, 6, 12, 8.
    std::array<const char*, network::kBarrierCount> probabilities;
};

void PrintTo(const HandCase& row, std::ostream* os) { *os << row.name; }

const HandCase kHandCases[] = {
    {"junction2", R"({"gewichte": {"2": [3, 1, 1, 1]}})", true,
     {"3/10", "1/6", "1/10", "1/6", "1/20", "19/180", "1/18", "1/18"}},
    {"junction4Bypassed", R"({"gewichte": {"4": [2, 1, 1]}})", false,
     {"1/6", "1/6", "1/6", "1/6", "1/9", "0", "1/9", "1/9"}},
};

class WeightedNetwork : public testing::TestWithParam<HandCase> {};

TEST_P(WeightedNetwork, ExactProbabilitiesAreTheHandWorkedOnes) {
    const ExactSolution exact = solveExactly(withScenario(GetParam().json, GetParam().barrier5, false));
    for (std::size_t box = 0; box < network::kBarrierCount; ++box) {
        EXPECT_EQ(exact.exitProbability[box], mpq_class(GetParam().probabilities[box])) << "box " << box;
    }
}

TEST_P(WeightedNetwork, SeededEscapesFitTheExactDistribution) {
    const Setting setting = withScenario(GetParam().json, GetParam().barrier5, false);
    SeededRandom random(71);
    Escape escape(random, setting);
    constexpr int kEscapes = 100'000;
    for (int n = 0; n < kEscapes; ++n) {
        escape.wholeEscape();
        escape.restart();
    }
    std::array<std::int64_t, network::kBarrierCount> counts{};
    std::array<double, network::kBarrierCount> probabilities{};
    const ExactSolution exact = solveExactly(setting);
    for (int box = 0; box < network::kBarrierCount; ++box) {
        counts[box] = escape.exitCount(box);
        probabilities[box] = nearestDouble(exact.exitProbability[box]);
    }
    // The fair network's probabilities fail the same counts: the test can tell them apart.
    const ChiSquareTest test = chiSquareTest(counts, probabilities);
    EXPECT_GT(test.pValue, 0.001) << "chi2 " << test.statistic;
    const ExactSolution fair = solveExactly({setting.barriers, false, {}});
    for (int box = 0; box < network::kBarrierCount; ++box) {
        probabilities[box] = nearestDouble(fair.exitProbability[box]);
    }
    EXPECT_LT(chiSquareTest(counts, probabilities).pValue, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, WeightedNetwork, testing::ValuesIn(kHandCases),
                         [](const auto& row) { return std::string(row.param.name); });

// At junction 2 under "nein" the range holds 9, 11, 4 with weights 3, 1, 1: a draw r takes
// unit floor(5 r), units 0-2 the first position, 3 the second, 4 the third.
TEST(WeightedDraw, EachPositionTakesItsShareOfTheUnits) {
    const struct {
        float r;
        int node;
    } draws[] = {{0.0f, 9}, {0.5999999f, 9}, {0.6f, 11}, {0.7999999f, 11}, {0.8f, 4}, {0.99999994f, 4}};
    for (const auto& draw : draws) {
        test::ScriptedRandom random({test::position(1, 2), draw.r});
        Escape escape(random, withScenario(R"({"gewichte": {"2": [3, 1, 1, 1]}})", true, false));
        escape.singleStep();  // 1 -> 2
        escape.singleStep();
        EXPECT_EQ(escape.robberNode(), draw.node) << draw.r;
    }
    // Under "ja" the bank's self entry weighs 5 of 7 and is redrawn as always; junction 2's
    // first position weighs 0, so unit 0 falls to the second, 11.
    test::ScriptedRandom random({0.5f, 0.1f, 0.1f, 0.5f});
    Escape escape(random, withScenario(R"({"gewichte": {"1": [1, 1, 5], "2": [0, 1, 1, 1]}})", true, true));
    escape.wholeEscape();
    EXPECT_EQ(escape.robberNode(), 11);
    EXPECT_EQ(random.remaining(), 1U);
}

struct BadFile {
    const char* name;
    const char* json;
    const char* line;
};

void PrintTo(const BadFile& row, std::ostream* os) { *os << row.name; }

const BadFile kBadFiles[] = {
    {"notJson", "{\"gewichte\": {\"2\": [3, 1,\n 1 1]}}",
     "Szenario „k.json“: kein gültiges JSON (Zeile 2, Spalte 4)"},
    {"notAnObject", "[1, 2]", "Szenario „k.json“: kein JSON-Objekt mit „name“, „verdeckt“ und „gewichte“"},
    {"unknownKey", R"({"gewicht": {}})", "Szenario „k.json“, Schlüssel „gewicht“: unbekannt (erlaubt sind name, verdeckt und gewichte)"},
    {"noWeights", R"({"name": "x"})", "Szenario „k.json“, Schlüssel „gewichte“: fehlt"},
    {"unknownJunction", R"({"gewichte": {"7": [1]}})", "Szenario „k.json“, Schlüssel „gewichte.7“: keine Kreuzung (Kreuzungen sind 1 bis 6)"},
    {"wrongLength", R"({"gewichte": {"4": [1, 1, 1, 1]}})", "Szenario „k.json“, Schlüssel „gewichte.4“: 4 Gewichte, die Straßenliste von Kreuzung 4 hat 3 Stellen"},
    {"negative", R"({"gewichte": {"3": [1, -2, 1, 1]}})", "Szenario „k.json“, Schlüssel „gewichte.3[1]“: Gewicht -2 ist negativ"},
    {"tooLarge", R"({"gewichte": {"3": [1, 1, 1001, 1]}})", "Szenario „k.json“, Schlüssel „gewichte.3[2]“: Gewicht 1001 ist größer als 1000"},
    {"notWhole", R"({"gewichte": {"3": [1.5, 1, 1, 1]}})", "Szenario „k.json“, Schlüssel „gewichte.3[0]“: Gewicht 1,5 ist keine ganze Zahl"},
    {"notANumber", R"({"gewichte": {"3": ["1", 1, 1, 1]}})", "Szenario „k.json“, Schlüssel „gewichte.3[0]“: keine Zahl"},
    {"hiddenNotBool", R"({"verdeckt": "ja", "gewichte": {}})", "Szenario „k.json“, Schlüssel „verdeckt“: erwartet true oder false"},
    {"stuckUnderJa", R"({"gewichte": {"1": [0, 0, 5]}})",
     "Szenario „k.json“, Schlüssel „gewichte.1“: der Räuber käme aus Kreuzung 1 nie heraus: bei „Hin-und-her möglich: ja“ wiegen alle zulässigen Straßen 0"},
    // Only the way back weighs: fine under "ja", stuck under "nein".
    {"stuckUnderNein", R"({"gewichte": {"2": [0, 0, 0, 1]}})",
     "Szenario „k.json“, Schlüssel „gewichte.2“: der Räuber käme aus Kreuzung 2 nie heraus: bei „Hin-und-her möglich: nein“ wiegen alle zulässigen Straßen 0"},
    {"stuckComingFrom4", R"({"gewichte": {"6": [1, 0, 1]}})",
     "Szenario „k.json“, Schlüssel „gewichte.6“: der Räuber käme aus Kreuzung 6 nie heraus: bei „Hin-und-her möglich: nein“ und von 4 kommend wiegen alle zulässigen Straßen 0"},
};

class BadScenario : public testing::TestWithParam<BadFile> {};

TEST_P(BadScenario, IsRefusedWithOneGermanLine) {
    const ScenarioReading reading = parseScenario(GetParam().json, "k.json");
    EXPECT_FALSE(reading.scenario);
    EXPECT_EQ(reading.error, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Files, BadScenario, testing::ValuesIn(kBadFiles),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ScenarioFile, ReadsNameHiddenAndWeightsOrNamesTheUnreadableFile) {
    const std::string path = testing::TempDir() + "/kreuzung 2.json";
    std::ofstream(path) << R"({"verdeckt": true, "gewichte": {"2": [3, 1, 1, 1], "5": [0, 2, 2.0, 1]}})";
    const ScenarioReading reading = readScenarioFile(path);
    ASSERT_TRUE(reading.scenario) << reading.error;
    EXPECT_EQ(reading.scenario->name, "kreuzung 2") << "without a name, the file's";
    EXPECT_TRUE(reading.scenario->hidden);
    StreetWeights expected;
    expected.set(2, {3, 1, 1, 1});
    expected.set(5, {0, 2, 2, 1});
    EXPECT_EQ(reading.scenario->weights, expected);
    std::remove(path.c_str());

    EXPECT_EQ(readScenarioFile(path).error, "Szenario „" + path + "“: lässt sich nicht lesen");
    EXPECT_NE(readScenarioFile(testing::TempDir()).error.find("lässt sich nicht lesen"), std::string::npos);
}

}  // namespace
}  // namespace wexal
