// SPDX-License-Identifier: GPL-3.0-or-later
// wexal-sim as a user meets it: exit status, standard output and standard error.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <thread>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gmpxx.h>

#include "run_executable.h"
#include "sim/results_file.h"

namespace wexal::cli::test {
namespace {

struct BadInput {
    const char* name;
    std::vector<std::string> arguments;
    const char* mentioned;  // what the error line must name
};

void PrintTo(const BadInput& row, std::ostream* os) {
    *os << row.name;
}

const BadInput kBadInputs[] = {
    {"unknownOption", {"--bogus"}, "bogus"},
    {"unknownShortOption", {"-x"}, "x"},
    {"escapesMissingValue", {"--escapes"}, "--escapes"},
    {"escapesEmpty", {"--escapes="}, "--escapes"},
    {"escapesZero", {"--escapes", "0"}, "--escapes"},
    {"escapesNegative", {"--escapes", "-5"}, "--escapes"},
    {"escapesWord", {"--escapes", "viele"}, "--escapes"},
    {"escapesFraction", {"--escapes", "2.5"}, "--escapes"},
    {"escapesExponent", {"--escapes", "1e6"}, "--escapes"},
    {"escapesBlank", {"--escapes", " 10"}, "--escapes"},
    {"escapesJustAboveLimit", {"--escapes", "1000000000001"}, "1000000000000"},
    {"escapesBeyond64Bits", {"--escapes", "99999999999999999999999"}, "1000000000000"},
    {"barriersShort", {"--barriers", "1011010"}, "--barriers"},
    {"barriersLong", {"--barriers", "101101011"}, "--barriers"},
    {"barriersOtherDigit", {"--barriers", "10110102"}, "--barriers"},
    {"barriersLetters", {"--barriers", "ababbaba"}, "--barriers"},
    {"turnBackOther", {"--turn-back", "vielleicht"}, "--turn-back"},
    {"turnBackCapital", {"--turn-back", "Ja"}, "--turn-back"},
    {"turnBackEnglish", {"--turn-back", "yes"}, "--turn-back"},
    {"formatOther", {"--format", "xml"}, "--format"},
    {"exactWithValue", {"--exact=ja"}, "exact"},
    {"seedNegative", {"--seed", "-1"}, "--seed"},
    {"seedBeyond64Bits", {"--seed", "18446744073709551616"}, "--seed"},
    {"threadsZero", {"--threads", "0"}, "--threads"},
    {"threadsWord", {"--threads", "zwei"}, "--threads"},
    {"threadsAboveLimit", {"--threads", "257"}, "256"},
    {"strayArgument", {"100"}, "100"},
    {"rankAboveEight", {"--rank", "9"}, "--rank"},
    {"rankWord", {"--rank", "x"}, "--rank"},
    {"rankNegative", {"--rank", "-1"}, "--rank"},
    {"rankWithBarriers", {"--rank", "2", "--barriers", "11000000"}, "--barriers"},
    {"rankWithEscapes", {"--escapes", "10", "--rank", "2"}, "--escapes"},
    {"rankWithSeed", {"--rank", "2", "--seed", "1"}, "--seed"},
    {"rankWithPlot", {"--rank", "2", "--plot", "d.svg"}, "--plot"},
    {"plotAsPdf", {"--plot", "diagramme.pdf"}, "diagramme.pdf"},
    {"plotWithoutExtension", {"--plot", "diagramme"}, ".svg oder .png"},
    {"plotMissingValue", {"--plot"}, "--plot"},
    {"plotOfTheExactSolution", {"--exact", "--plot", "d.svg"}, "--exact"},
    {"afterNegative", {"--after", "-1"}, "--after"},
    {"afterAboveLimit", {"--after", "10001"}, "10000"},
    {"afterWord", {"--after", "zwei"}, "--after"},
    {"afterFraction", {"--after", "2.5"}, "--after"},
    {"afterMissingValue", {"--after"}, "--after"},
    {"matrixWithAfter", {"--matrix", "--after", "2"}, "--after"},
    {"matrixWithRank", {"--matrix", "--rank", "2"}, "--rank"},
    {"afterWithPlot", {"--after", "2", "--plot", "d.svg"}, "--plot"},
    {"afterSeedWithoutSwarm", {"--after", "2", "--seed", "1"}, "--escapes"},
    {"matrixExactWithSwarm", {"--matrix", "--exact", "--escapes", "10"}, "--exact"},
    // Contradictions: nothing given is dropped in silence.
    {"escapesTwice", {"--escapes", "10", "--escapes", "20"},
     "--escapes ist mehrmals angegeben („10“, „20“)"},
    {"seedTwiceAlike", {"--seed", "1", "--seed=1"}, "--seed ist mehrmals"},
    {"formatTwice", {"--format", "csv", "--format", "json"}, "--format"},
    {"plotTwice", {"--plot", "a.svg", "--plot", "b.svg"}, "--plot"},
    {"exactTwice", {"--exact", "--exact"}, "--exact ist mehrmals"},
    {"exactWithSeed", {"--exact", "--seed", "1"}, "--seed passt nicht dazu"},
    {"exactWithEscapes", {"--escapes", "5", "--exact"}, "--escapes passt nicht dazu"},
    {"exactWithThreads", {"--exact", "--threads", "2"}, "--threads"},
    {"rankWithThreads", {"--rank", "1", "--threads", "2"}, "--threads"},
    {"exactAndRank", {"--rank", "2", "--exact"}, "schließen einander aus"},
    {"plotNotUtf8", {"--escapes", "5", "--plot", "bad\xff.svg"},
     "„bad\\xFF.svg“ ist kein gültiges UTF-8"},
    {"matrixWithThreadsWithoutSwarm", {"--matrix", "--threads", "2"},
     "--threads gilt bei --matrix nur mit --escapes"},
    {"mergeWithoutFiles", {"--merge", "--format", "json"}, "mindestens eine Ergebnisdatei"},
    {"mergeWithBarriers", {"--merge", "a.csv", "--barriers", "11000000"}, "--barriers"},
    {"mergeWithSeed", {"--seed", "1", "--merge", "a.csv"}, "--seed"},
};

class RejectedInput : public testing::TestWithParam<BadInput> {};

TEST_P(RejectedInput, OneLineOnStandardErrorStatusTwoNothingOnStandardOutput) {
    const Outcome outcome = runSim(GetParam().arguments);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.out, "");
    ASSERT_FALSE(outcome.err.empty());
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_EQ(outcome.err.back(), '\n');
    EXPECT_EQ(outcome.err.rfind("wexal-sim: ", 0), 0u) << outcome.err;
    EXPECT_NE(outcome.err.find(GetParam().mentioned), std::string::npos) << outcome.err;
}

INSTANTIATE_TEST_SUITE_P(Cases, RejectedInput, testing::ValuesIn(kBadInputs),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Executable, HelpAndVersionGoToStandardOutput) {
    const Outcome help = runSim({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    for (const char* option :
         {"--escapes", "--barriers", "--turn-back", "--seed", "--exact", "--format", "--threads", "--merge"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    const Outcome version = runSim({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind(std::string("wexal-sim ") + WEXAL_VERSION + "\n", 0), 0u)
        << version.out;
}

// Qt's own messages follow the program's language, not the system's.
TEST(Executable, QtsOwnMessagesAreGermanOnAnEnglishSystem) {
    const Outcome outcome =
        runSim({"--no-such-option"}, {"LANG=C", "LC_ALL=C", "LANGUAGE=", "LC_MESSAGES=C"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, "wexal-sim: Unbekannte Option 'no-such-option'.\n");
    const Outcome help = runSim({"--help"}, {"LANG=C", "LC_ALL=C"});
    EXPECT_EQ(help.out.rfind("Aufruf: ", 0), 0u) << help.out;
}

QJsonObject runJson(const std::vector<std::string>& arguments,
                    const std::vector<std::string>& environment = {}) {
    std::vector<std::string> withFormat(arguments);
    withFormat.insert(withFormat.end(), {"--format", "json"});
    const Outcome outcome = runSim(withFormat, environment);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(outcome.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString() << '\n'
                                                     << outcome.out;
    return document.object();
}

std::set<QString> keysOf(const QJsonObject& object) {
    const QStringList keys = object.keys();
    return {keys.begin(), keys.end()};
}

const std::set<QString> kTopKeys{"escapes",       "barriers",          "turnBack", "seed",
                                 "exits",         "succeeded",         "failed",   "meanSteps",
                                 "expectedSteps", "expectedStepsValue"};
const std::set<QString> kExitKeys{"node",      "index",       "guarded",         "count",
                                  "frequency", "probability", "probabilityValue"};
const std::set<QString> kTotalKeys{"count", "frequency", "probability", "probabilityValue"};
constexpr int kExitOfBox[] = {9, 10, 11, 7, 13, 6, 12, 8};

// A German locale must not turn the decimal point into a comma.
TEST(Executable, JsonHasExactlyTheDocumentedShape) {
    const QJsonObject json = runJson({"--seed", "1", "--escapes", "5000", "--barriers", "01100001"},
                                     {"LC_ALL=de_DE.UTF-8", "LANG=de_DE.UTF-8"});
    EXPECT_EQ(keysOf(json), kTopKeys);
    EXPECT_EQ(json["escapes"].toInteger(), 5000);
    EXPECT_EQ(json["barriers"].toString(), "01100001");
    EXPECT_EQ(json["turnBack"].toString(), "nein");
    EXPECT_EQ(json["seed"].toInteger(), 1);

    const QJsonArray exits = json["exits"].toArray();
    ASSERT_EQ(exits.size(), 8);
    qint64 total = 0;
    for (int i = 0; i < 8; ++i) {
        const QJsonObject exit = exits[i].toObject();
        EXPECT_EQ(keysOf(exit), kExitKeys);
        EXPECT_EQ(exit["node"].toInt(), kExitOfBox[i]);
        EXPECT_EQ(exit["index"].toInt(), i);
        EXPECT_EQ(exit["guarded"].toBool(), "01100001"[i] == '1') << i;
        EXPECT_TRUE(exit["count"].isDouble());
        EXPECT_DOUBLE_EQ(exit["frequency"].toDouble(), exit["count"].toDouble() / 5000);
        total += exit["count"].toInteger();
    }
    EXPECT_EQ(total, 5000);
    // Barrier 5 off: node 6 is no exit, and never reached.
    EXPECT_EQ(exits[5].toObject()["probability"].toString(), "0");
    EXPECT_EQ(exits[5].toObject()["count"].toInteger(), 0);
    EXPECT_EQ(exits[4].toObject()["probability"].toString(), "5/36");

    for (const char* line : {"succeeded", "failed"})
        EXPECT_EQ(keysOf(json[line].toObject()), kTotalKeys) << line;
    EXPECT_EQ(json["succeeded"]["count"].toInteger() + json["failed"]["count"].toInteger(), 5000);
    EXPECT_EQ(json["expectedSteps"].toString(), "89/36");
    EXPECT_DOUBLE_EQ(json["expectedStepsValue"].toDouble(), 89.0 / 36);
    EXPECT_GE(json["meanSteps"].toDouble(), 2);
    EXPECT_LE(json["meanSteps"].toDouble(), 4);
}

// The text is for people: a decimal comma in every locale, counts grouped from 10 000 on, and
// the exits in the order around the map.
TEST(Executable, TextSpeaksGermanNumbers) {
    for (const char* locale : {"LC_ALL=C", "LC_ALL=de_DE.UTF-8"}) {
        const Outcome outcome = runSim({"--seed", "3", "--escapes", "20000"}, {locale});
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const std::string& text = outcome.out;
        for (std::size_t i = 1; i + 1 < text.size(); ++i) {
            const bool decimalPoint = text[i] == '.' && std::isdigit(static_cast<unsigned char>(text[i - 1])) != 0 &&
                                      std::isdigit(static_cast<unsigned char>(text[i + 1])) != 0;
            EXPECT_FALSE(decimalPoint) << locale << ": " << text.substr(i - 1, 12);
        }
        EXPECT_NE(text.find("20\u202F000 Wexalen"), std::string::npos) << text;
        EXPECT_NE(text.find("p-Wert 0,"), std::string::npos) << text;
        std::vector<int> exits;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            if (line.find(" an ") == std::string::npos && line.find(" aus ") == std::string::npos) continue;
            exits.push_back(std::stoi(line));
        }
        EXPECT_EQ(exits, (std::vector<int>{9, 10, 7, 12, 8, 6, 13, 11})) << text;
    }
}

TEST(Executable, ExactOnlyLeavesTheSimulatedFieldsNull) {
    const QJsonObject json = runJson({"--exact", "--turn-back", "ja"});
    EXPECT_EQ(keysOf(json), kTopKeys);
    EXPECT_EQ(json["escapes"].toInteger(-1), 0);
    EXPECT_TRUE(json["seed"].isNull());
    EXPECT_TRUE(json["meanSteps"].isNull());
    for (const QJsonValue exit : json["exits"].toArray()) {
        EXPECT_TRUE(exit["count"].isNull());
        EXPECT_TRUE(exit["frequency"].isNull());
    }
    for (const char* total : {"succeeded", "failed"}) {
        EXPECT_TRUE(json[total]["count"].isNull()) << total;
        EXPECT_TRUE(json[total]["frequency"].isNull()) << total;
    }
    EXPECT_EQ(json["succeeded"]["probability"].toString(), "70/241");
    EXPECT_EQ(json["expectedSteps"].toString(), "775/241");
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Executable, TheSameSeedGivesTheSameOutput) {
    for (const char* format : {"text", "csv", "json"}) {
        const std::vector<std::string> arguments{"--seed",      "99", "--escapes", "20000",
                                                 "--turn-back", "ja", "--format",  format};
        // The results file's date row may fall in another minute.
        const auto undated = [](const Outcome& outcome) {
            std::vector<std::string> lines = linesOf(outcome.out);
            std::erase_if(lines, [](const std::string& line) { return line.starts_with("Datum: "); });
            return lines;
        };
        const Outcome first = runSim(arguments);
        const Outcome second = runSim(arguments);
        EXPECT_EQ(first.status, 0);
        EXPECT_EQ(undated(first), undated(second)) << format;
        std::vector<std::string> otherSeed(arguments);
        otherSeed[1] = "100";
        EXPECT_NE(undated(first), undated(runSim(otherSeed))) << format;
    }
}

// Three blocks and a part of one, shared out differently by each thread count.
TEST(Executable, TheThreadCountDoesNotChangeTheOutput) {
    auto run = [](const char* threads) {
        return runSim({"--seed", "5", "--escapes", "200000", "--turn-back", "ja", "--threads",
                       threads});
    };
    const Outcome one = run("1");
    ASSERT_EQ(one.status, 0) << one.err;
    for (const char* threads : {"2", "3"}) EXPECT_EQ(run(threads).out, one.out) << threads;
}

// The CSV is the results file, and it holds what the JSON of the same run holds.
TEST(Executable, CsvIsTheResultsFileOfTheRun) {
    const std::vector<std::string> run{"--seed", "3", "--escapes", "4000", "--barriers", "00110101"};
    std::vector<std::string> csv(run);
    csv.insert(csv.end(), {"--format", "csv"});
    const ResultsRead read = parseResultsFile(runSim(csv).out);
    ASSERT_TRUE(read.results) << read.damage.reason;
    const Results& results = *read.results;
    const QJsonObject json = runJson(run);
    EXPECT_EQ(barriersText(results.setting), "00110101");
    EXPECT_EQ(results.seed, std::optional<std::uint64_t>(3));
    ASSERT_TRUE(results.tally);
    EXPECT_EQ(results.tally->exits.escapes, 4000);
    for (int i = 0; i < network::kBarrierCount; ++i) {
        EXPECT_EQ(results.tally->exits.counts[static_cast<std::size_t>(i)],
                  json["exits"][i]["count"].toInteger());
    }
    EXPECT_EQ(results.tally->succeeded, json["succeeded"]["count"].toInteger());

    const ResultsRead exact = parseResultsFile(runSim({"--exact", "--format", "csv"}).out);
    ASSERT_TRUE(exact.results);
    EXPECT_FALSE(exact.results->tally);
    EXPECT_FALSE(exact.results->seed);
}

TEST(Executable, TextShowsTheWindowsWords) {
    const Outcome outcome = runSim({"--seed", "1", "--escapes", "1000"});
    EXPECT_EQ(outcome.status, 0);
    for (const char* word :
         {"Ausgang", "Zählerbox", "Lichtschranke", "Anzahl", "relative Häufigkeit",
          "Wahrscheinlichkeit", "gelungen", "mißglückt", "11/36", "25/36", "7/3", "Chi-Quadrat",
          "Freiheitsgrade 7", "p-Wert"}) {
        EXPECT_NE(outcome.out.find(word), std::string::npos) << word;
    }
    const Outcome exact = runSim({"--exact"});
    EXPECT_EQ(exact.out.find("Anzahl"), std::string::npos);
    EXPECT_EQ(exact.out.find("Chi-Quadrat"), std::string::npos);
    EXPECT_NE(exact.out.find("erwartet 7/3"), std::string::npos);
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ',');) fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

// --rank 2 under "ja" in the three formats: the same 28 settings in the same order, the JSON
// parsed, the CSV read back against it and the text's rows beside both.
TEST(Executable, RankingInEveryFormat) {
    const std::vector<std::string> rank{"--rank", "2", "--turn-back", "ja"};
    const QJsonObject json = runJson(rank);
    EXPECT_EQ(keysOf(json), (std::set<QString>{"barriersOn", "turnBack", "settings"}));
    EXPECT_EQ(json["barriersOn"].toInt(), 2);
    EXPECT_EQ(json["turnBack"].toString(), "ja");
    const QJsonArray settings = json["settings"].toArray();
    ASSERT_EQ(settings.size(), 28);

    std::vector<std::string> withCsv(rank);
    withCsv.insert(withCsv.end(), {"--format", "csv"});
    const std::vector<std::string> csv = linesOf(runSim(withCsv).out);
    ASSERT_EQ(csv.size(), 29u);
    EXPECT_EQ(csv[0], "rank,barriers,on,caught,caughtValue,escaped,escapedValue");
    EXPECT_EQ(csv[1], "1,10100000,0 2,84/215,0.39069767441860465,131/215,0.6093023255813953");

    const std::vector<std::string> text = linesOf(runSim(rank).out);
    ASSERT_EQ(text.size(), 31u);  // heading, gap, column names, 28 settings
    EXPECT_EQ(text[0], "Wexal-Rangliste: Einstellungen mit 2 von 8 Lichtschranken an · "
                       "Hin-und-her möglich: ja · exakte Lösung");
    EXPECT_EQ(text[2].rfind("Rang  Lichtschranken  an  ", 0), 0u) << text[2];
    EXPECT_EQ(text[3], "1     10100000        0, 2  84/215 ≈ 0,390698  131/215 ≈ 0,609302");

    for (int r = 0; r < 28; ++r) {
        const QJsonObject entry = settings[r].toObject();
        const std::string barriers = entry["barriers"].toString().toStdString();
        SCOPED_TRACE(barriers);
        EXPECT_EQ(entry["rank"].toInt(), r + 1);
        std::string on;
        for (const QJsonValue index : entry["on"].toArray()) {
            EXPECT_EQ(barriers.at(static_cast<std::size_t>(index.toInt())), '1');
            on += (on.empty() ? "" : " ") + std::to_string(index.toInt());
        }
        EXPECT_EQ(std::count(barriers.begin(), barriers.end(), '1'), 2);
        const std::string caught = entry["caught"].toString().toStdString();
        EXPECT_DOUBLE_EQ(entry["caughtValue"].toDouble() + entry["escapedValue"].toDouble(), 1);

        const std::string& line = csv[static_cast<std::size_t>(r) + 1];
        const std::vector<std::string> fields = fieldsOf(line);
        ASSERT_EQ(fields.size(), 7u) << line;
        EXPECT_EQ(fields[0], std::to_string(r + 1));
        EXPECT_EQ(fields[1], barriers);
        EXPECT_EQ(fields[2], on);
        EXPECT_EQ(fields[3], caught);
        EXPECT_EQ(std::stod(fields[4]), entry["caughtValue"].toDouble());
        EXPECT_EQ(fields[5], entry["escaped"].toString().toStdString());
        EXPECT_EQ(std::stod(fields[6]), entry["escapedValue"].toDouble());

        const std::string& row = text[static_cast<std::size_t>(r) + 3];
        EXPECT_EQ(row.rfind(std::to_string(r + 1) + " ", 0), 0u) << row;
        EXPECT_NE(row.find(" " + barriers + " "), std::string::npos) << row;
        EXPECT_NE(row.find(" " + caught + " ≈ "), std::string::npos) << row;
    }
}

TEST(Executable, RankingOfNoBarrierAndOfEveryBarrier) {
    const Outcome none = runSim({"--rank", "0"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(linesOf(none.out).back(), "1     00000000        keine  0 ≈ 0,000000  1 ≈ 1,000000");
    EXPECT_EQ(linesOf(runSim({"--rank", "8", "--format", "csv"}).out),
              (std::vector<std::string>{"rank,barriers,on,caught,caughtValue,escaped,escapedValue",
                                        "1,11111111,0 1 2 3 4 5 6 7,1,1,0,0"}));
}

// A run far too long to finish, ended once the question is answered: on a terminal the bar
// appears after a second; into a file nothing ever reaches standard error.
TEST(Executable, ProgressOnlyOnATerminal) {
    const std::vector<std::string> endless{"--seed", "1", "--escapes", "1000000000000"};

    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const int terminal = open(ptsname(master), O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    RunningSim onTerminal = startSim(endless, terminal);
    close(terminal);
    std::string seen;
    // Durations spelled out: cppcheck 2.10 stops at chrono literals such as 30s.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (seen.find("Wexalen") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        pollfd p{master, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) continue;
        char chunk[256];
        const ssize_t n = read(master, chunk, sizeof chunk);
        if (n <= 0) break;
        seen.append(chunk, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(stopSim(onTerminal), "");
    close(master);
    EXPECT_NE(seen.find('%'), std::string::npos) << "no progress bar on the terminal: " << seen;

    char errPath[] = "/tmp/wexal-sim-test-XXXXXX";
    const int errFd = mkstemp(errPath);
    ASSERT_GE(errFd, 0);
    unlink(errPath);
    RunningSim intoFile = startSim(endless, errFd);
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_EQ(stopSim(intoFile), "");
    EXPECT_EQ(lseek(errFd, 0, SEEK_END), 0) << "standard error is a file here";
    close(errFd);
}

}  // namespace
}  // namespace wexal::cli::test

namespace wexal::cli::test {
namespace {

std::string fileContents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Plot {
    const char* name;
    const char* file;
    std::string magic;
};

void PrintTo(const Plot& row, std::ostream* os) {
    *os << row.name;
}

const Plot kPlots[] = {
    {"svg", "diagramme.svg", "<?xml"},
    {"png", "diagramme.png", std::string("\x89PNG\r\n\x1a\n", 8)},
    {"pngInCapitals", "DIAGRAMME.PNG", "\x89PNG"},
};

class PlotFile : public testing::TestWithParam<Plot> {};

// The charts go to the file; standard output is what the same run prints without --plot.
TEST_P(PlotFile, DrawsTheChartsAndLeavesTheReportAlone) {
    char folderTemplate[] = "/tmp/wexal-plot-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::string folder(folderTemplate);
    const std::string path = folder + "/" + GetParam().file;
    const std::vector<std::string> run{"--seed", "3", "--escapes", "70000", "--threads", "2"};
    std::vector<std::string> plotted(run);
    plotted.insert(plotted.end(), {"--plot", path});

    const Outcome outcome = runSim(plotted);
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(outcome.out, runSim(run).out);
    const std::string bytes = fileContents(path);
    EXPECT_EQ(bytes.rfind(GetParam().magic, 0), 0u);
    EXPECT_GT(bytes.size(), 10'000u);
    std::remove(path.c_str());
    EXPECT_EQ(rmdir(folder.c_str()), 0) << "a file besides the plot was left";
}

INSTANTIATE_TEST_SUITE_P(Formats, PlotFile, testing::ValuesIn(kPlots),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Executable, APlotThatCannotBeWrittenFailsWithOneLine) {
    const Outcome outcome = runSim({"--escapes", "10", "--plot", "/nonexistent-folder/d.svg"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    EXPECT_NE(outcome.err.find("/nonexistent-folder/d.svg"), std::string::npos) << outcome.err;
}

// The start setting under "nein": each row of the matrix is a distribution, and a swarm steps
// only where the matrix allows, from the bank once per escape.
TEST(Executable, MatrixHoldsTheChainAndTheSwarmsSteps) {
    const QJsonObject json = runJson({"--matrix", "--escapes", "20000", "--seed", "4"});
    QStringList states;
    for (const QJsonValue state : json["states"].toArray()) states.push_back(state.toString());
    EXPECT_EQ(states, QStringList({"1", "2 (von 1)", "3 (von 1)", "4 (von 2)", "5 (von 3)", "6", "7",
                                   "8", "9", "10", "11", "12", "13"}));
    EXPECT_EQ(json["transient"].toInt(), 5);
    const QJsonArray rows = json["rows"].toArray();
    const QJsonArray counts = json["counts"].toArray();
    ASSERT_EQ(rows.size(), states.size());
    ASSERT_EQ(counts.size(), 5);
    qint64 cells = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        mpq_class sum;
        qint64 stepsOut = 0;
        for (qsizetype j = 0; j < states.size(); ++j) {
            const mpq_class p(rows[i][j].toString().toStdString());
            sum += p;
            cells += p != 0 ? 1 : 0;
            if (i >= counts.size()) continue;
            const qint64 n = counts[i][j].toInteger();
            stepsOut += n;
            EXPECT_EQ(n > 0, p > 0) << "from " << i << " to " << j;
        }
        EXPECT_EQ(sum, 1) << "row " << i;
        if (i == 0) {
            EXPECT_EQ(stepsOut, 20000) << "every escape leaves the bank once";
        }
    }
    EXPECT_EQ(rows[0].toArray()[1].toString(), "1/2");
    const std::vector<std::string> csv = linesOf(runSim({"--matrix", "--format", "csv"}).out);
    ASSERT_FALSE(csv.empty());
    EXPECT_EQ(csv[0], "\xEF\xBB\xBFvon;nach;Block;Wahrscheinlichkeit (Bruch);Wahrscheinlichkeit (dezimal);Anzahl");
    EXPECT_EQ(csv[1], "1;2 (von 1);Q;1\u20442;\"0,5\";") << "a spreadsheet must not read 1/2 as a date";
    EXPECT_EQ(static_cast<qint64>(csv.size()) - 1, cells) << "one line per cell above 0";
}

TEST(Executable, AfterNStepsListsEveryNodeTheRobberCanStandOn) {
    const QJsonObject json = runJson({"--after", "2"});
    EXPECT_EQ(json["steps"].toInt(), 2);
    std::map<int, QString> nodes;
    for (const QJsonValue node : json["nodes"].toArray()) {
        nodes[node["node"].toInt()] = node["probability"].toString();
        EXPECT_TRUE(node["count"].isNull());
    }
    EXPECT_EQ(nodes, (std::map<int, QString>{{4, "1/6"}, {5, "1/6"}, {7, "1/6"}, {9, "1/6"},
                                             {10, "1/6"}, {11, "1/6"}}));
    for (const char* locale : {"LC_ALL=C", "LC_ALL=de_DE.UTF-8"}) {
        const Outcome text = runSim({"--after", "1", "--escapes", "20000", "--seed", "1"}, {locale});
        EXPECT_NE(text.out.find("1/2 ≈ 0,500000"), std::string::npos) << text.out;
        EXPECT_NE(text.out.find("20\u202F000 Wexalen"), std::string::npos) << text.out;
    }
}

// Robbers drawn in three blocks and a part of one: the swarm does not depend on the threads,
// and run long enough it has ended exactly the batch run's escapes of the same seed.
TEST(Executable, ASwarmIsTheSeededBatchRunStepByStep) {
    const std::vector<std::string> swarm{"--after", "3", "--turn-back", "ja", "--escapes", "200000", "--seed", "8"};
    auto withThreads = [&](const char* threads) {
        std::vector<std::string> arguments(swarm);
        arguments.insert(arguments.end(), {"--threads", threads});
        return runSim(arguments).out;
    };
    const std::string one = withThreads("1");
    EXPECT_NE(one.find("Anzahl"), std::string::npos) << one;
    for (const char* threads : {"2", "3"}) EXPECT_EQ(withThreads(threads), one) << threads;

    const QJsonObject late = runJson({"--after", "10000", "--turn-back", "ja", "--escapes", "5000", "--seed", "2"});
    const QJsonObject batch = runJson({"--turn-back", "ja", "--escapes", "5000", "--seed", "2"});
    std::map<int, qint64> ended;
    for (const QJsonValue node : late["nodes"].toArray()) ended[node["node"].toInt()] = node["count"].toInteger();
    for (const QJsonValue exit : batch["exits"].toArray()) {
        EXPECT_EQ(ended[exit["node"].toInt()], exit["count"].toInteger()) << "exit " << exit["node"].toInt();
    }
}

}  // namespace
}  // namespace wexal::cli::test
