// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/test_report.h"

#include "cli/report.h"
#include "platform/german_number.h"
#include "sim/csv_cells.h"
#include "sim/exact_solution.h"
#include "sim/result_wording.h"

namespace wexal::cli {
namespace {

constexpr int kDecimals = 6;  // as the run's own report

const char* sidedName(Sided sided) {
    switch (sided) {
        case Sided::Both: return "beide";
        case Sided::Left: return "links";
        case Sided::Right: return "rechts";
    }
    return "";
}

void writeText(std::ostream& out, const TestReport& r) {
    const RunOptions& o = r.options;
    out << scenarioLine(o) << "Wexal-Signifikanztest: " << o.test->name() << " · "
        << wording::settingLine(o.setting, o.escapes) << " · Startwert " << r.seedUsed
        << (o.seed ? "" : " (von der Uhr)") << "\n\n"
        << "H0: p = p₀ = " << r.p0.get_str() << " ≈ " << german::fixed(nearestDouble(r.p0), kDecimals)
        << " (exakte Wahrscheinlichkeit ohne Manipulation)\n"
        << "Test: " << wording::sidedText(o.sided) << ", Signifikanzniveau α = "
        << wording::levelText(o.alpha) << '\n'
        << "Annahmebereich: " << wording::regionText(r.region) << '\n'
        << "Ablehnungsbereich: " << wording::rejectionText(r.region, o.escapes) << '\n'
        << "tatsächliches Signifikanzniveau: " << german::fixed(r.region.actualAlpha, kDecimals) << '\n'
        << "beobachtet: k = " << german::count(r.observed) << "\n\n"
        << wording::decisionSentence(r.observed, r.region, o.alpha) << '\n';
}

void writeJson(std::ostream& out, const TestReport& r) {
    const RunOptions& o = r.options;
    out << "{\n  \"test\": " << jsonString(o.test->name()) << ",\n  \"escapes\": " << o.escapes
        << ",\n  \"barriers\": \"" << barriersText(o.setting) << "\",\n  \"turnBack\": \""
        << turnBackText(o.setting) << "\",\n  \"seed\": " << r.seedUsed << ",\n  \"p0\": \""
        << r.p0.get_str() << "\",\n  \"alpha\": \"" << o.alpha.get_str() << "\",\n  \"sided\": \""
        << sidedName(o.sided) << "\",\n  \"acceptance\": [" << r.region.low << ", " << r.region.high
        << "],\n  \"observed\": " << r.observed << ",\n  \"rejected\": "
        << (r.region.accepts(r.observed) ? "false" : "true")
        << ",\n  \"actualAlpha\": " << shortestDecimal(r.region.actualAlpha) << ",\n  \"scenario\": ";
    out << (o.scenario ? jsonString(o.scenario->name) : "null") << "\n}\n";
}

void writeCsv(std::ostream& out, const TestReport& r) {
    const RunOptions& o = r.options;
    out << csv::kByteOrderMark;
    csv::writeRow(out, {"Ziel", "Wexalen", "Lichtschranken", "Hin-und-her möglich", "Startwert", "p0",
                        "alpha", "Seiten", "a", "b", "k", "verworfen", "tatsächliches alpha"});
    csv::writeRow(out, {o.test->name(), std::to_string(o.escapes), barriersText(o.setting),
                        turnBackText(o.setting), std::to_string(r.seedUsed), csv::fraction(r.p0),
                        csv::fraction(o.alpha), sidedName(o.sided), std::to_string(r.region.low),
                        std::to_string(r.region.high), std::to_string(r.observed),
                        r.region.accepts(r.observed) ? "nein" : "ja",
                        german::shortest(r.region.actualAlpha)});
}

}  // namespace

std::string scenarioLine(const RunOptions& options) {
    if (!options.scenario) return "";
    const std::string named = "Szenario „" + options.scenario->name + "“" +
                              (options.scenario->hidden ? " (verdeckt)" : "");
    if (options.mode == Mode::Test) {
        return named + ": die Wexalen folgen seinen Gewichten, H0 ist das Netz ohne Manipulation.\n";
    }
    return named + ": Wexalen und exakte Lösung folgen seinen Gewichten.\n";
}

void writeTestReport(std::ostream& out, const TestReport& report) {
    switch (report.options.format) {
        case OutputFormat::Text: writeText(out, report); break;
        case OutputFormat::Csv: writeCsv(out, report); break;
        case OutputFormat::Json: writeJson(out, report); break;
    }
}

}  // namespace wexal::cli
