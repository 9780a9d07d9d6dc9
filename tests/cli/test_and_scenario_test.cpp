// SPDX-License-Identifier: GPL-3.0-or-later
// wexal-sim --test and --scenario as a teacher uses them: the test's region, sample and
// decision, a scenario in every mode, and the one line that refuses a bad value or file.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <ostream>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "run_executable.h"

namespace wexal::cli::test {
namespace {

// Junction 2 sends the robber to exit 9 three times as often: under "nein" 9 then gets 3/10.
// One file per test process: ctest runs the cases of this file side by side, and a file that one
// of them is rewriting reads as broken JSON in another.
std::string scenarioFile() {
    std::string path = testing::TempDir() + "/kreuzung2-" + std::to_string(getpid()) + ".json";
    std::ofstream(path) << R"({"name": "Kreuzung 2", "verdeckt": true, "gewichte": {"2": [3, 1, 1, 1]}})";
    return path;
}

QJsonObject json(std::vector<std::string> arguments) {
    arguments.insert(arguments.end(), {"--format", "json"});
    const Outcome outcome = runSim(arguments);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    return QJsonDocument::fromJson(QByteArray::fromStdString(outcome.out)).object();
}

std::int64_t countAtExit(const QJsonObject& run, int node) {
    for (const QJsonValue exit : run["exits"].toArray()) {
        if (exit["node"].toInt() == node) return exit["count"].toInteger();
    }
    return -1;
}

// The sample is the batch run of the same seed: the test's k is the run's count at exit 9,
// with the scenario too, while p0 stays the fair network's 1/6.
TEST(TestMode, CountsTheSeededRunAgainstTheFairNetworksRegion) {
    const std::vector<std::string> sample{"--escapes", "1000", "--seed", "7"};
    for (const bool manipulated : {false, true}) {
        std::vector<std::string> run = sample;
        if (manipulated) run.insert(run.end(), {"--scenario", scenarioFile()});
        std::vector<std::string> test = run;
        test.insert(test.end(), {"--test", "9"});
        const QJsonObject result = json(test);
        const QStringList keys = result.keys();
        EXPECT_EQ(std::set<QString>(keys.begin(), keys.end()),
                  (std::set<QString>{"test", "escapes", "barriers", "turnBack", "seed", "p0", "alpha", "sided",
                                     "acceptance", "observed", "rejected", "actualAlpha", "scenario"}));
        EXPECT_EQ(result["p0"].toString(), "1/6");
        // B(1000, 1/6) at 5 %, two-sided: P(X <= 143) = 0.0230, P(X <= 144) = 0.0283.
        EXPECT_EQ(result["acceptance"].toArray(), (QJsonArray{144, 190}));
        EXPECT_NEAR(result["actualAlpha"].toDouble(), 0.046036, 1e-6);
        const std::int64_t k = result["observed"].toInteger();
        EXPECT_EQ(k, countAtExit(json(run), 9));
        EXPECT_EQ(result["rejected"].toBool(), k < 144 || k > 190);
        EXPECT_EQ(result["rejected"].toBool(), manipulated) << "k = " << k;
    }
}

TEST(TestMode, TextNamesHypothesisRegionAndDecisionInGerman) {
    const Outcome outcome = runSim({"--test", "gefasst", "--escapes", "200", "--seed", "1", "--alpha", "1 %",
                                    "--sided", "links"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    for (const char* line :
         {"Wexal-Signifikanztest: gefasst · Lichtschranken 10110101", "H0: p = p₀ = 25/36 ≈ 0,694444",
          "Test: linksseitig, Signifikanzniveau α = 1\u00A0%", "Annahmebereich: [123; 200]",
          "Ablehnungsbereich: [0; 122]", "auf dem 1-%-Niveau"}) {
        EXPECT_NE(outcome.out.find(line), std::string::npos) << line << "\n" << outcome.out;
    }
}

// Each mode follows the scenario: the exact chance of exit 9 is 3/10, a draw at 2 (from 1)
// gives 9 with 3/5, and after two steps the robber stands at 9 with 3/10.
struct ModeCase {
    const char* name;
    std::vector<std::string> arguments;
    const char* shows;
};

void PrintTo(const ModeCase& row, std::ostream* os) { *os << row.name; }

const ModeCase kModes[] = {
    {"exact", {"--exact", "--format", "json"}, R"("probability": "3/10")"},
    {"run", {"--escapes", "100", "--seed", "1", "--format", "json"}, R"("scenario": "Kreuzung 2")"},
    {"matrix", {"--matrix", "--format", "json"}, "3/5"},
    {"matrixText", {"--matrix"}, "2: 9, 11, 4, 1 · Gewichte 3, 1, 1, 1"},
    {"after", {"--after", "2", "--format", "json"}, R"("probability": "3/10")"},
    {"rank", {"--rank", "1", "--format", "json"}, R"("caught": "3/10")"},
    {"test", {"--test", "9", "--escapes", "100", "--seed", "1"}, "Szenario „Kreuzung 2“ (verdeckt)"},
};

class ScenarioInEveryMode : public testing::TestWithParam<ModeCase> {};

TEST_P(ScenarioInEveryMode, FollowsTheWeights) {
    std::vector<std::string> arguments = GetParam().arguments;
    const Outcome fair = runSim(arguments);
    arguments.insert(arguments.end(), {"--scenario", scenarioFile()});
    const Outcome weighted = runSim(arguments);
    ASSERT_EQ(weighted.status, 0) << weighted.err;
    EXPECT_NE(weighted.out.find(GetParam().shows), std::string::npos) << weighted.out;
    EXPECT_EQ(fair.out.find(GetParam().shows), std::string::npos) << fair.out;
}

INSTANTIATE_TEST_SUITE_P(Modes, ScenarioInEveryMode, testing::ValuesIn(kModes),
                         [](const auto& row) { return std::string(row.param.name); });

struct Refused {
    const char* name;
    std::vector<std::string> arguments;
    const char* line;
};

void PrintTo(const Refused& row, std::ostream* os) { *os << row.name; }

const Refused kRefused[] = {
    {"noExit", {"--test", "5"}, "--test erwartet einen Ausgang (6 bis 13), gefasst oder gelungen, nicht „5“"},
    {"alphaZero", {"--test", "9", "--alpha", "0"}, "--alpha erwartet ein Signifikanzniveau über 0 und unter 1"},
    {"alphaOne", {"--test", "9", "--alpha", "100 %"}, "--alpha erwartet"},
    {"alphaWithoutTest", {"--alpha", "0,05"}, "--alpha gilt nur mit --test"},
    {"sidedWord", {"--test", "9", "--sided", "oben"}, "--sided erwartet beide, links oder rechts"},
    {"tooManyEscapes", {"--test", "9", "--escapes", "100000001"}, "--test: höchstens 100000000 Wexalen"},
    {"testWithPlot", {"--test", "9", "--plot", "d.svg"}, "--plot passt nicht dazu"},
    {"scenarioMissing", {"--scenario", "/nonexistent/k.json"}, "Szenario „/nonexistent/k.json“: lässt sich nicht lesen"},
    {"scenarioWithMerge", {"--merge", "a.csv", "--scenario", "k.json"}, "--scenario passt nicht dazu"},
};

class RefusedTestInput : public testing::TestWithParam<Refused> {};

TEST_P(RefusedTestInput, OneLineAndStatusTwo) {
    const Outcome outcome = runSim(GetParam().arguments);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_NE(outcome.err.find(GetParam().line), std::string::npos) << outcome.err;
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedTestInput, testing::ValuesIn(kRefused),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace wexal::cli::test
