// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/report.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <type_traits>
#include <vector>

#include "cli/text_table.h"
#include "platform/german_number.h"
#include "sim/chi_square.h"
#include "sim/node_places.h"
#include "sim/result_wording.h"

namespace wexal::cli {
namespace {

namespace nw = network;

constexpr int kShareDecimals = 6;  // frequencies, probabilities and steps: runs are long

// One line of the results: an exit, or the succeeded or failed total.
struct Line {
    std::optional<std::int64_t> count;  // none under --exact
    std::optional<double> frequency;
    std::string probability;  // reduced fraction, "11/36"
    double probabilityValue;
};

Line lineFor(const Report& report, std::optional<std::int64_t> count,
             const mpq_class& probability) {
    Line line{count, std::nullopt, probability.get_str(), nearestDouble(probability)};
    if (count && report.batch) {
        line.frequency = static_cast<double>(*count) / static_cast<double>(report.batch->escapes);
    }
    return line;
}

Line exitLine(const Report& report, int index) {
    std::optional<std::int64_t> count;
    if (report.batch) count = report.batch->counts[index];
    return lineFor(report, count, report.exact.exitProbability[index]);
}

Line totalLine(const Report& report, bool failed) {
    std::optional<std::int64_t> count;
    if (report.batch) count = failed ? report.batch->failed : report.batch->succeeded;
    return lineFor(report, count, failed ? report.exact.failed : report.exact.succeeded);
}

std::string decimal(double value) { return german::fixed(value, kShareDecimals); }

template <typename T>
std::string orNull(const std::optional<T>& value) {
    if (!value) return "null";
    if constexpr (std::is_same_v<T, double>) {
        return shortestDecimal(*value);
    } else {
        return std::to_string(*value);
    }
}


std::string probabilityCell(const Line& line) {
    return line.probability + " ≈ " +
           decimal(line.probabilityValue);
}

std::vector<std::string> textCells(std::vector<std::string> words, const Line& line,
                                   bool simulated) {
    if (simulated) {
        words.push_back(german::count(line.count.value_or(0)));
        words.push_back(decimal(line.frequency.value_or(0)));
    }
    words.push_back(probabilityCell(line));
    return words;
}

void writeHeading(std::ostream& out, const Report& report) {
    const RunOptions& o = report.options;
    if (report.merged) {
        const std::size_t files = report.merged->members().size();
        out << "Wexal-Klassenergebnis: " << files << (files == 1 ? " Datei · " : " Dateien · ")
            << wording::escapesText(report.batch->escapes) << " · " << settingWords(o.setting) << "\n\n";
        return;
    }
    out << "Wexal-Simulation: "
        << (report.batch ? wording::escapesText(report.batch->escapes) : "exakte Lösung")
        << " · Lichtschranken " << barriersText(o.setting)
        << " · Hin-und-her möglich: " << turnBackText(o.setting);
    // A run seeded from the clock names its seed, so that it can be repeated with --seed.
    if (report.batch) {
        out << " · Startwert " << std::to_string(report.seedUsed) << (o.seed ? "" : " (von der Uhr)");
    }
    out << "\n\n";
}

void writeChiSquare(std::ostream& out, const Report& report) {
    std::vector<double> probabilities;
    for (const mpq_class& p : report.exact.exitProbability)
        probabilities.emplace_back(nearestDouble(p));
    out << "Chi-Quadrat-Anpassungstest der Ausgänge: "
        << wording::chiSquareText(chiSquareTest(report.batch->counts, probabilities)) << '\n';
}

// The barriers that are on, lowest first: "0, 5" in the text, "0 5" in a CSV cell.
std::string barriersOn(const Setting& setting, const char* separator) {
    std::string list;
    for (int i = 0; i < nw::kBarrierCount; ++i) {
        if (!setting.barriers[i]) continue;
        if (!list.empty()) list += separator;
        list += std::to_string(i);
    }
    return list;
}

Line exactLine(const mpq_class& probability) {
    return {std::nullopt, std::nullopt, probability.get_str(), nearestDouble(probability)};
}

void writeRankingText(std::ostream& out, const Ranking& ranking) {
    out << "Wexal-Rangliste: Einstellungen mit " << ranking.barriersOn << " von "
        << nw::kBarrierCount << " Lichtschranken an · Hin-und-her möglich: "
        << (ranking.turnBack ? "ja" : "nein") << " · exakte Lösung\n\n";
    TextTable table({"Rang", "Lichtschranken", "an", "P(gefasst)", "P(gelungen)"}, 3);
    int rank = 0;
    for (const RankedSetting& entry : ranking.entries) {
        const std::string on = barriersOn(entry.setting, ", ");
        table.add({std::to_string(++rank), barriersText(entry.setting), on.empty() ? "keine" : on,
                   probabilityCell(exactLine(entry.caught)),
                   probabilityCell(exactLine(entry.escaped))});
    }
    table.write(out);
}

void writeRankingCsv(std::ostream& out, const Ranking& ranking) {
    out << "rank,barriers,on,caught,caughtValue,escaped,escapedValue\n";
    int rank = 0;
    for (const RankedSetting& entry : ranking.entries) {
        out << ++rank << ',' << barriersText(entry.setting) << ','
            << barriersOn(entry.setting, " ") << ',' << entry.caught.get_str() << ','
            << shortestDecimal(nearestDouble(entry.caught)) << ',' << entry.escaped.get_str()
            << ',' << shortestDecimal(nearestDouble(entry.escaped)) << '\n';
    }
}

void writeRankingJson(std::ostream& out, const Ranking& ranking) {
    out << "{\n  \"barriersOn\": " << ranking.barriersOn << ",\n  \"turnBack\": \""
        << (ranking.turnBack ? "ja" : "nein") << "\",\n  \"settings\": [\n";
    for (std::size_t r = 0; r < ranking.entries.size(); ++r) {
        const RankedSetting& entry = ranking.entries[r];
        out << R"(    {"rank": )" << r + 1 << R"(, "barriers": ")" << barriersText(entry.setting)
            << R"(", "on": [)" << barriersOn(entry.setting, ", ") << R"(], "caught": ")"
            << entry.caught.get_str() << R"(", "caughtValue": )"
            << shortestDecimal(nearestDouble(entry.caught)) << R"(, "escaped": ")"
            << entry.escaped.get_str() << R"(", "escapedValue": )"
            << shortestDecimal(nearestDouble(entry.escaped)) << '}'
            << (r + 1 < ranking.entries.size() ? "," : "") << '\n';
    }
    out << "  ]\n}\n";
}

// The pooled files, each with its name, escapes and succeeded share.
void writeMembers(std::ostream& out, const ClassPool& pool) {
    out << '\n';
    TextTable table({"Datei", "Name", "Wexalen", "gelungen", "Anteil gelungen"}, 2);
    for (const ClassPool::Member& member : pool.members()) {
        const double share = member.escapes > 0 ? static_cast<double>(member.succeeded) /
                                                      static_cast<double>(member.escapes)
                                                : 0;
        table.add({member.file, member.name, german::count(member.escapes),
                   german::count(member.succeeded), member.escapes > 0 ? decimal(share) : "–"});
    }
    table.write(out);
}

}  // namespace

std::string jsonString(const std::string& text) {
    constexpr unsigned char kFirstPrintable = 0x20;
    constexpr std::size_t kEscapeLength = 7;  // "\u001f" and its terminating zero
    std::string json = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < kFirstPrintable) {
            std::array<char, kEscapeLength> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\u%04x", static_cast<unsigned>(c));
            json += escaped.data();
        } else {
            json += c;
        }
    }
    return json + '"';
}

Report mergedReport(const RunOptions& options, ClassPool pool) {
    Report report{options, solveExactly(pool.setting()), BatchResult{}, 0, std::nullopt};
    report.options.setting = pool.setting();
    const Tally& tally = pool.tally();
    BatchResult& batch = *report.batch;
    batch.escapes = tally.exits.escapes;
    batch.counts = tally.exits.counts;
    batch.succeeded = tally.succeeded;
    batch.failed = tally.failed;
    batch.steps = tally.steps.value_or(0);
    report.merged = std::move(pool);
    return report;
}

void writeText(std::ostream& out, const Report& report) {
    const bool simulated = report.batch.has_value();
    writeHeading(out, report);

    std::vector<std::string> headings{"Ausgang", "Zählerbox", "Lichtschranke"};
    if (simulated) headings.insert(headings.end(), {"Anzahl", "relative Häufigkeit"});
    headings.emplace_back("Wahrscheinlichkeit");
    TextTable table(std::move(headings), 3);
    for (const int i : places::kBoxesAroundTheMap) {
        const bool guarded = report.options.setting.barriers[i];
        table.add(textCells(
            {std::to_string(nw::kExitOfBox[i]), std::to_string(i), wording::barrierState(guarded)},
            exitLine(report, i), simulated));
    }
    table.addGap();
    table.add(textCells({"gelungen", "", ""}, totalLine(report, false), simulated));
    table.add(textCells({"mißglückt", "", ""}, totalLine(report, true), simulated));
    table.write(out);

    const mpq_class& expected = report.exact.expectedSteps;
    out << "\nSchritte je Wexal: ";
    if (report.merged) {
        if (report.merged->tally().steps) out << "Mittelwert " << decimal(report.batch->meanSteps()) << ", ";
    } else if (simulated) {
        out << "Mittelwert " << decimal(report.batch->meanSteps()) << " (Standardfehler "
            << decimal(report.batch->meanStepsStandardError()) << "), ";
    }
    out << "erwartet " << expected.get_str() << " ≈ " << decimal(nearestDouble(expected)) << '\n';
    if (simulated) writeChiSquare(out, report);
    if (report.merged) writeMembers(out, *report.merged);
}

void writeCsv(std::ostream& out, const Report& report) {
    Results results;
    results.setting = report.options.setting;
    if (report.merged) {
        results = report.merged->pooled();
    } else if (const std::optional<BatchResult>& batch = report.batch) {
        results.tally = Tally{{batch->escapes, batch->counts}, batch->succeeded, batch->failed, batch->steps};
        results.seed = report.seedUsed;
    }
    results.date = localDateNow();
    writeResultsFile(out, results, report.exact);
}

void writeJson(std::ostream& out, const Report& report) {
    const RunOptions& o = report.options;
    auto fields = [](const Line& line) {
        return R"("count": )" + orNull(line.count) + R"(, "frequency": )" +
               orNull(line.frequency) + R"(, "probability": ")" + line.probability +
               R"(", "probabilityValue": )" + shortestDecimal(line.probabilityValue);
    };
    // The seed the batch drew from, the clock's too; a pooled class result has none.
    std::optional<std::uint64_t> seed;
    if (report.batch && !report.merged) seed = report.seedUsed;
    out << "{\n  \"escapes\": " << (report.batch ? report.batch->escapes : 0) << ",\n  \"barriers\": \""
        << barriersText(o.setting) << "\",\n  \"turnBack\": \"" << turnBackText(o.setting)
        << "\",\n  \"seed\": " << orNull(seed) << ",\n";
    if (o.scenario) out << "  \"scenario\": " << jsonString(o.scenario->name) << ",\n";
    out << "  \"exits\": [\n";
    for (int i = 0; i < nw::kBarrierCount; ++i) {
        out << "    {\"node\": " << nw::kExitOfBox[i] << ", \"index\": " << i
            << ", \"guarded\": " << (o.setting.barriers[i] ? "true" : "false") << ", "
            << fields(exitLine(report, i)) << '}' << (i + 1 < nw::kBarrierCount ? "," : "") << '\n';
    }
    std::optional<double> meanSteps;
    if (report.batch && (!report.merged || report.merged->tally().steps)) meanSteps = report.batch->meanSteps();
    out << "  ],\n  \"succeeded\": {" << fields(totalLine(report, false)) << "},\n  \"failed\": {"
        << fields(totalLine(report, true)) << "},\n  \"meanSteps\": " << orNull(meanSteps)
        << ",\n  \"expectedSteps\": \"" << report.exact.expectedSteps.get_str()
        << "\",\n  \"expectedStepsValue\": "
        << shortestDecimal(nearestDouble(report.exact.expectedSteps));
    if (report.merged) {
        out << ",\n  \"files\": [";
        const std::vector<ClassPool::Member>& members = report.merged->members();
        for (std::size_t m = 0; m < members.size(); ++m) {
            out << (m > 0 ? ",\n" : "\n") << R"(    {"file": )" << jsonString(members[m].file)
                << R"(, "escapes": )" << members[m].escapes << R"(, "succeeded": )"
                << members[m].succeeded << '}';
        }
        out << "\n  ]";
    }
    out << "\n}\n";
}

void writeReport(std::ostream& out, const Report& report) {
    switch (report.options.format) {
        case OutputFormat::Text: writeText(out, report); break;
        case OutputFormat::Csv: writeCsv(out, report); break;
        case OutputFormat::Json: writeJson(out, report); break;
    }
}

void writeRanking(std::ostream& out, const Ranking& ranking, OutputFormat format) {
    switch (format) {
        case OutputFormat::Text: writeRankingText(out, ranking); break;
        case OutputFormat::Csv: writeRankingCsv(out, ranking); break;
        case OutputFormat::Json: writeRankingJson(out, ranking); break;
    }
}

}  // namespace wexal::cli
