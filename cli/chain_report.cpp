// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/chain_report.h"

#include <string>
#include <vector>

#include "cli/text_table.h"
#include "platform/german_number.h"
#include "sim/csv_cells.h"
#include "sim/exact_solution.h"
#include "sim/result_wording.h"

namespace wexal::cli {
namespace {

namespace nw = network;

constexpr int kDecimals = 6;                  // as the run's own report
constexpr std::size_t kLongestFraction = 40;  // longer ones the text gives only rounded

std::string approximately(const mpq_class& p) { return german::fixed(nearestDouble(p), kDecimals); }

// "1/6 ≈ 0,166667"; a fraction of hundreds of digits only as "≈ 0,186722".
std::string probabilityText(const mpq_class& p) {
    const std::string exact = p.get_str();
    return (exact.size() > kLongestFraction ? "" : exact + " ") + "≈ " + approximately(p);
}

std::string swarmHeading(const std::optional<SwarmRun>& run) {
    if (!run) return "";
    return " · " + wording::escapesText(run->swarm.robbers) + " · Startwert " +
           std::to_string(run->seed) + (run->seedFromClock ? " (von der Uhr)" : "");
}

std::string settingHeading(const Setting& setting) {
    return "Lichtschranken " + barriersText(setting) + " · Hin-und-her möglich: " + turnBackText(setting);
}

std::string jsonSetting(const Setting& setting, const std::optional<SwarmRun>& run) {
    return R"(  "barriers": ")" + barriersText(setting) + R"(",)" + "\n" + R"(  "turnBack": ")" +
           turnBackText(setting) + R"(",)" + "\n" + R"(  "escapes": )" +
           (run ? std::to_string(run->swarm.robbers) : "0") + ",\n" + R"(  "seed": )" +
           (run ? std::to_string(run->seed) : "null") + ",\n";
}

// How often the swarm stepped from state `from` into state `to`: a step from a junction leads
// into the state that names that junction as where the robber came from, or to an exit.
std::int64_t stepsBetween(const Swarm& swarm, const TransitionMatrix& matrix, std::size_t from,
                          std::size_t to) {
    const ChainState& a = matrix.states[from];
    const ChainState& b = matrix.states[to];
    if (b.from != 0 && b.from != a.node) return 0;
    return swarm.stepsFrom(a.node, a.from, b.node);
}

std::string listText(const nw::StreetList& streets) {
    std::string text;
    for (int k = 0; k < streets.count; ++k) {
        text += (k > 0 ? ", " : "") + std::to_string(streets.to[static_cast<std::size_t>(k)]);
    }
    return text;
}

// Each junction's list in its order, which a scenario's weights follow position by position.
void writeStreetLists(std::ostream& out, const Setting& setting) {
    out << "Straßenlisten der Kreuzungen, Stelle für Stelle (die letzte führt zurück zur Bank "
           "oder ist die Kreuzung selbst):\n";
    for (int junction = 1; junction <= nw::kLastJunction; ++junction) {
        const nw::StreetList& through = nw::streetsAt(junction, true);
        const nw::StreetList& direct = nw::streetsAt(junction, false);
        out << "  " << junction << ": " << listText(through);
        if (&direct != &through) out << " (Lichtschranke 5 aus: " << listText(direct) << ")";
        if (!setting.weights.even(junction)) {
            const StreetWeights::Row& weights = setting.weights.at(junction);
            out << " · Gewichte";
            for (int k = 0; k < through.count; ++k) {
                out << (k > 0 ? ", " : " ") << weights[static_cast<std::size_t>(k)];
            }
        }
        out << '\n';
    }
    out << '\n';
}

// The matrix as pupils write it, a bar between the columns of Q and of R, a gap above the
// exits' rows. With a swarm, the counted steps out of each state in the same layout.
void writeMatrixText(std::ostream& out, const Setting& setting, const TransitionMatrix& matrix,
                     const std::optional<SwarmRun>& run) {
    out << "Wexal-Übergangsmatrix · " << settingHeading(setting) << swarmHeading(run) << "\n\n"
        << statesSentence(setting.turnBack) << '\n'
        << "Q: aus den " << matrix.transientCount << " Zuständen im Netz in diese (links vom Strich); R: "
        << "in die " << matrix.size() - matrix.transientCount
        << " Ausgänge (rechts vom Strich), die den Räuber festhalten.\n\n";
    writeStreetLists(out, setting);
    auto headings = [&](std::string corner) {
        std::vector<std::string> cells{std::move(corner)};
        for (std::size_t j = 0; j < matrix.size(); ++j) {
            if (j == matrix.transientCount) cells.emplace_back("│");
            cells.push_back(stateLabel(matrix.states[j]));
        }
        return cells;
    };
    TextTable table(headings("von \\ nach"), 1);
    for (std::size_t i = 0; i < matrix.size(); ++i) {
        if (i == matrix.transientCount) table.addGap();
        std::vector<std::string> cells{stateLabel(matrix.states[i])};
        for (std::size_t j = 0; j < matrix.size(); ++j) {
            if (j == matrix.transientCount) cells.emplace_back("│");
            cells.push_back(matrix.p[i][j].get_str());
        }
        table.add(std::move(cells));
    }
    table.write(out);
    if (!run) return;

    out << "\nGezählte Schritte der Wexalen aus jedem Zustand (eine Zeile geteilt durch ihre Summe "
           "schätzt die Zeile der Matrix):\n\n";
    std::vector<std::string> countHeadings = headings("von \\ nach");
    countHeadings.emplace_back("zusammen");
    TextTable counts(std::move(countHeadings), 1);
    for (std::size_t i = 0; i < matrix.transientCount; ++i) {
        std::vector<std::string> cells{stateLabel(matrix.states[i])};
        std::int64_t total = 0;
        for (std::size_t j = 0; j < matrix.size(); ++j) {
            if (j == matrix.transientCount) cells.emplace_back("│");
            const std::int64_t n = stepsBetween(run->swarm, matrix, i, j);
            total += n;
            cells.push_back(german::count(n));
        }
        cells.push_back(german::count(total));
        counts.add(std::move(cells));
    }
    counts.write(out);
}

std::string blockOf(const TransitionMatrix& matrix, std::size_t from, std::size_t to) {
    if (matrix.isExit(from)) return "I";
    return matrix.isExit(to) ? "R" : "Q";
}

// The spreadsheet's CSV, as the results file writes it: "1⁄2" with the fraction slash, a
// decimal comma, ";" between fields.
void writeMatrixCsv(std::ostream& out, const TransitionMatrix& matrix, const std::optional<SwarmRun>& run) {
    out << csv::kByteOrderMark;
    csv::writeRow(out, {"von", "nach", "Block", "Wahrscheinlichkeit (Bruch)", "Wahrscheinlichkeit (dezimal)",
                        "Anzahl"});
    for (std::size_t i = 0; i < matrix.size(); ++i) {
        for (std::size_t j = 0; j < matrix.size(); ++j) {
            const mpq_class& p = matrix.p[i][j];
            if (p == 0) continue;
            const bool counted = run && !matrix.isExit(i);
            csv::writeRow(out, {stateLabel(matrix.states[i]), stateLabel(matrix.states[j]), blockOf(matrix, i, j),
                                csv::fraction(p), german::shortest(nearestDouble(p)),
                                counted ? std::to_string(stepsBetween(run->swarm, matrix, i, j)) : ""});
        }
    }
}

template <class Cell>
std::string jsonRow(std::size_t size, Cell cell) {
    std::string row = "[";
    for (std::size_t j = 0; j < size; ++j) row += (j > 0 ? ", " : "") + cell(j);
    return row + "]";
}

void writeMatrixJson(std::ostream& out, const Setting& setting, const TransitionMatrix& matrix,
                     const std::optional<SwarmRun>& run) {
    out << "{\n" << jsonSetting(setting, run) << "  \"states\": "
        << jsonRow(matrix.size(), [&](std::size_t j) { return '"' + stateLabel(matrix.states[j]) + '"'; })
        << ",\n  \"transient\": " << matrix.transientCount << ",\n  \"rows\": [\n";
    for (std::size_t i = 0; i < matrix.size(); ++i) {
        out << "    " << jsonRow(matrix.size(), [&](std::size_t j) { return '"' + matrix.p[i][j].get_str() + '"'; })
            << (i + 1 < matrix.size() ? "," : "") << '\n';
    }
    out << "  ]";
    if (run) {
        // One row per transient state: the steps counted out of it into each state.
        out << ",\n  \"counts\": [\n";
        for (std::size_t i = 0; i < matrix.transientCount; ++i) {
            out << "    " << jsonRow(matrix.size(), [&](std::size_t j) {
                return std::to_string(stepsBetween(run->swarm, matrix, i, j));
            }) << (i + 1 < matrix.transientCount ? "," : "") << '\n';
        }
        out << "  ]";
    }
    out << "\n}\n";
}

std::string placeName(int node, const Setting& setting) {
    if (node == nw::kStartNode) return "Bank";
    return nw::isExit(node, setting.rewiringBarrierOn()) ? "Ausgang" : "Kreuzung";
}

std::int64_t countAt(const std::optional<SwarmRun>& run, int steps, int node) {
    return run->swarm.after[static_cast<std::size_t>(steps)][static_cast<std::size_t>(node)];
}

void writeAfterText(std::ostream& out, const Setting& setting, int steps,
                    const NodeDistribution& distribution, const std::optional<SwarmRun>& run) {
    out << "Wexal nach " << steps << (steps == 1 ? " Schritt · " : " Schritten · ")
        << settingHeading(setting) << swarmHeading(run) << "\n\n";
    std::vector<std::string> headings{"Knoten", "Ort", "Wahrscheinlichkeit"};
    if (run) headings.insert(headings.end(), {"Anzahl", "relative Häufigkeit"});
    TextTable table(std::move(headings), 2);
    mpq_class ended;
    bool shortened = false;
    for (int node = 1; node <= nw::kLastNode; ++node) {
        const mpq_class& p = distribution[static_cast<std::size_t>(node)];
        if (p == 0) continue;
        if (nw::isExit(node, setting.rewiringBarrierOn())) ended += p;
        shortened = shortened || p.get_str().size() > kLongestFraction;
        std::vector<std::string> cells{std::to_string(node), placeName(node, setting), probabilityText(p)};
        if (run) {
            const std::int64_t n = countAt(run, steps, node);
            cells.push_back(german::count(n));
            cells.push_back(german::fixed(static_cast<double>(n) / static_cast<double>(run->swarm.robbers), kDecimals));
        }
        table.add(std::move(cells));
    }
    table.write(out);
    out << "\nSchon an einem Ausgang: " << probabilityText(ended) << '\n';
    if (shortened) {
        out << "Brüche mit mehr als " << kLongestFraction
            << " Zeichen stehen hier nur gerundet; --format json gibt sie exakt.\n";
    }
}

void writeAfterCsv(std::ostream& out, int steps, const NodeDistribution& distribution,
                   const std::optional<SwarmRun>& run) {
    out << csv::kByteOrderMark;
    csv::writeRow(out, {"Knoten", "Wahrscheinlichkeit (Bruch)", "Wahrscheinlichkeit (dezimal)", "Anzahl"});
    for (int node = 1; node <= nw::kLastNode; ++node) {
        const mpq_class& p = distribution[static_cast<std::size_t>(node)];
        if (p == 0) continue;
        csv::writeRow(out, {std::to_string(node), csv::fraction(p), german::shortest(nearestDouble(p)),
                            run ? std::to_string(countAt(run, steps, node)) : ""});
    }
}

void writeAfterJson(std::ostream& out, const Setting& setting, int steps,
                    const NodeDistribution& distribution, const std::optional<SwarmRun>& run) {
    out << "{\n  \"steps\": " << steps << ",\n" << jsonSetting(setting, run) << "  \"nodes\": [\n";
    std::string separator;
    for (int node = 1; node <= nw::kLastNode; ++node) {
        const mpq_class& p = distribution[static_cast<std::size_t>(node)];
        if (p == 0) continue;
        out << separator << R"(    {"node": )" << node << R"(, "probability": ")" << p.get_str()
            << R"(", "probabilityValue": )" << shortestDecimal(nearestDouble(p)) << R"(, "count": )"
            << (run ? std::to_string(countAt(run, steps, node)) : "null") << '}';
        separator = ",\n";
    }
    out << "\n  ]\n}\n";
}

}  // namespace

void writeMatrix(std::ostream& out, const Setting& setting, const TransitionMatrix& matrix,
                 const std::optional<SwarmRun>& swarm, OutputFormat format) {
    switch (format) {
        case OutputFormat::Text: writeMatrixText(out, setting, matrix, swarm); break;
        case OutputFormat::Csv: writeMatrixCsv(out, matrix, swarm); break;
        case OutputFormat::Json: writeMatrixJson(out, setting, matrix, swarm); break;
    }
}

void writeAfter(std::ostream& out, const Setting& setting, int steps,
                const NodeDistribution& distribution, const std::optional<SwarmRun>& swarm,
                OutputFormat format) {
    switch (format) {
        case OutputFormat::Text: writeAfterText(out, setting, steps, distribution, swarm); break;
        case OutputFormat::Csv: writeAfterCsv(out, steps, distribution, swarm); break;
        case OutputFormat::Json: writeAfterJson(out, setting, steps, distribution, swarm); break;
    }
}

}  // namespace wexal::cli
