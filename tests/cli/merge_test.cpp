// SPDX-License-Identifier: GPL-3.0-or-later
// wexal-sim --format csv reads back as it ran, and --merge pools results files: the sums, and
// every file it must refuse with status 2, one German line and nothing on standard output.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/merge.h"
#include "cli/report.h"
#include "random_results.h"
#include "run_executable.h"

namespace wexal::cli::test {
namespace {

namespace fs = std::filesystem;
using wexal::test::randomResults;

// A folder of its own for each test, removed afterwards.
class Merge : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::path(testing::TempDir()) /
                  ("wexal-merge-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string file(const std::string& name, const std::string& text) const {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    std::string resultsFile(const std::string& name, const Results& results) const {
        std::ostringstream out;
        writeResultsFile(out, results, solveExactly(results.setting));
        return file(name, out.str());
    }

    fs::path folder_;
};

Report reportOf(const Results& results) {
    RunOptions options;
    options.setting = results.setting;
    options.format = OutputFormat::Csv;
    Report report{options, solveExactly(results.setting), std::nullopt, 0, std::nullopt};
    if (const std::optional<Tally>& tally = results.tally) {
        BatchResult& batch = report.batch.emplace();
        batch.escapes = tally->exits.escapes;
        batch.counts = tally->exits.counts;
        batch.succeeded = tally->succeeded;
        batch.failed = tally->failed;
        batch.steps = tally->steps.value_or(0);
        report.seedUsed = results.seed.value_or(0);
    }
    return report;
}

// What wexal-sim --format csv writes for 100 random runs reads back to their counts, setting
// and seed.
TEST(ResultsOfARun, HundredRandomRunsReadBackIdentical) {
    std::mt19937_64 random(7);
    for (int run = 0; run < 100; ++run) {
        Results results = randomResults(random);
        results.mixed = false;  // a batch run keeps one setting
        Tally& tally = *results.tally;
        tally.succeeded = 0;
        for (std::size_t box = 0; box < tally.exits.counts.size(); ++box) {
            if (!results.setting.barriers[box]) tally.succeeded += tally.exits.counts[box];
        }
        tally.failed = tally.exits.escapes - tally.succeeded;
        tally.steps = tally.steps.value_or(0);
        results.seed = results.seed.value_or(0);
        std::ostringstream out;
        writeCsv(out, reportOf(results));
        const ResultsRead read = parseResultsFile(out.str());
        ASSERT_TRUE(read.results) << run << ": " << read.damage.reason;
        EXPECT_EQ(read.results->setting, results.setting) << run;
        EXPECT_EQ(read.results->tally, results.tally) << run;
        EXPECT_EQ(read.results->seed, results.seed) << run;
    }
}

// Twelve PCs' files under one setting: the counts add up, each file keeps its row.
TEST_F(Merge, PoolsTheSumsOfEveryFile) {
    std::mt19937_64 random(11);
    const Setting setting = randomResults(random).setting;
    std::vector<std::string> files;
    std::vector<Results> written;
    Tally sum{{}, 0, 0, 0};
    for (int f = 0; f < 12; ++f) {
        Results results = randomResults(random, 1'000'000);
        results.setting = setting;
        results.mixed = false;
        Tally& tally = *results.tally;
        tally.succeeded = 0;
        for (std::size_t box = 0; box < tally.exits.counts.size(); ++box) {
            if (!setting.barriers[box]) tally.succeeded += tally.exits.counts[box];
        }
        tally.failed = tally.exits.escapes - tally.succeeded;
        files.push_back(resultsFile("pc" + std::to_string(f) + ".csv", results));
        written.push_back(results);
        sum.exits.escapes += tally.exits.escapes;
        for (std::size_t box = 0; box < tally.exits.counts.size(); ++box) {
            sum.exits.counts[box] += tally.exits.counts[box];
        }
        sum.succeeded += tally.succeeded;
        sum.failed += tally.failed;
        sum.steps = sum.steps && tally.steps ? std::optional(*sum.steps + *tally.steps) : std::nullopt;
    }
    auto merged = mergeFiles(files);
    ASSERT_TRUE(std::holds_alternative<ClassPool>(merged)) << std::get<std::string>(merged);
    const ClassPool& pool = std::get<ClassPool>(merged);
    EXPECT_EQ(pool.tally(), sum);
    ASSERT_EQ(pool.members().size(), files.size());
    for (std::size_t f = 0; f < files.size(); ++f) {
        EXPECT_EQ(pool.members()[f].file, files[f]);
        EXPECT_EQ(pool.members()[f].name, written[f].name);
        EXPECT_EQ(pool.members()[f].escapes, written[f].tally->exits.escapes);
    }

    // The executable: JSON with the pooled counts and the files, and a CSV that pools again.
    std::vector<std::string> arguments{"--merge"};
    arguments.insert(arguments.end(), files.begin(), files.end());
    arguments.insert(arguments.end(), {"--format", "json"});
    const Outcome json = runSim(arguments);
    ASSERT_EQ(json.status, 0) << json.err;
    const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
    EXPECT_EQ(object["escapes"].toInteger(), sum.exits.escapes);
    EXPECT_TRUE(object["seed"].isNull());
    EXPECT_EQ(object["succeeded"]["count"].toInteger(), sum.succeeded);
    for (int box = 0; box < network::kBarrierCount; ++box) {
        EXPECT_EQ(object["exits"][box]["count"].toInteger(), sum.exits.counts[static_cast<std::size_t>(box)]);
    }
    const QJsonArray members = object["files"].toArray();
    ASSERT_EQ(members.size(), static_cast<qsizetype>(files.size()));
    EXPECT_EQ(members[1]["file"].toString().toStdString(), files[1]);
    EXPECT_EQ(members[1]["succeeded"].toInteger(), written[1].tally->succeeded);

    arguments.back() = "csv";
    const std::string pooledFile = file("klasse.csv", runSim(arguments).out);
    const ResultsRead pooled = readResultsFile(pooledFile);
    ASSERT_TRUE(pooled.results) << pooled.damage.reason;
    EXPECT_EQ(pooled.results->tally, sum);
    EXPECT_EQ(pooled.results->files, files);
}

struct Refusal {
    const char* name;
    std::function<std::string(const std::string& good)> change;  // the second file, from a good one
    const char* line;  // what the error line says after the file's name
};

void PrintTo(const Refusal& row, std::ostream* os) { *os << row.name; }

std::string replaced(const std::string& good, const std::string& from, const std::string& to) {
    std::string text = good;
    return text.replace(text.find(from), from.size(), to);
}

const Refusal kRefusals[] = {
    {"countChanged", [](const std::string& good) { return replaced(good, "\n9;0;an;10;", "\n9;0;an;11;"); },
     "“, Zeile 15: 60 Wexalen, aber die Ausgänge zählen zusammen 61"},
    {"otherSetting", [](const std::string& good) { return replaced(good, "möglich: nein", "möglich: ja"); },
     "“: andere Einstellung (Lichtschranken 10110101 · Hin-und-her möglich: ja"},
    {"mixedCounts",
     [](const std::string& good) { return replaced(good, "Ende;", "Hinweis: die Zähler mischen Einstellungen\nEnde;"); },
     "“: die Zähler mischen Einstellungen"},
    {"exactOnly",
     [](const std::string&) {
         std::ostringstream out;
         writeResultsFile(out, Results{}, solveExactly(kStartSetting));
         return out.str();
     },
     "“: enthält keine Anzahlen"},
    {"empty", [](const std::string&) { return std::string(); }, "“: die Datei ist leer"},
    {"binary", [](const std::string&) { return std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10); },
     "“, Zeile 1: keine Wexal-Ergebnisdatei"},
    {"twoMegabytes", [](const std::string& good) { return good + std::string(2 << 20, '\n'); },
     "“: größer als 1 MB, keine Wexal-Ergebnisdatei"},
};

class RefusedFile : public Merge, public testing::WithParamInterface<Refusal> {};

// The second of two files is refused: status 2, one line naming it, nothing on stdout.
TEST_P(RefusedFile, EndsWithStatusTwoAndOneGermanLine) {
    Results good;
    good.tally = Tally{{60, {10, 0, 7, 9, 6, 8, 12, 8}}, 18, 42, 190};
    std::ostringstream out;
    writeResultsFile(out, good, solveExactly(good.setting));
    const std::string first = resultsFile("anna.csv", good);
    const std::string second = file("zweite.csv", GetParam().change(out.str()));
    for (const char* format : {"text", "json"}) {
        const Outcome outcome = runSim({"--merge", first, second, "--format", format});
        EXPECT_EQ(outcome.status, 2);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err.rfind("wexal-sim: „" + second + GetParam().line, 0), 0u) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Merge, RefusedFile, testing::ValuesIn(kRefusals),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace wexal::cli::test
