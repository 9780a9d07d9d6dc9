// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/result_wording.h"

#include <vector>

#include "platform/german_number.h"

namespace wexal::wording {

std::string exitName(int node) { return "Ausgang " + std::to_string(node); }

std::string boxName(int box) { return "Zählerbox " + std::to_string(box); }

std::string barrierState(bool on) { return on ? "an" : "aus"; }

std::string escapesText(std::int64_t escapes, Digits digits) {
    const std::string number = digits == Digits::Grouped ? german::count(escapes) : std::to_string(escapes);
    return number + (escapes == 1 ? " Wexal" : " Wexalen");
}

std::string settingLine(const Setting& setting, std::int64_t escapes, Digits digits) {
    return "Lichtschranken " + barriersText(setting) + " · Hin-und-her möglich: " +
           turnBackText(setting) + " · " + escapesText(escapes, digits);
}

std::string mixedSettingsNotice() {
    return "Die Zähler mischen mehrere Einstellungen; die Wahrscheinlichkeiten gelten für die "
           "aktuelle. „Zähler löschen“ beginnt eine saubere Reihe.";
}

std::string chiSquareText(const ChiSquareTest& test) {
    return "Chi² = " + german::fixed(test.statistic, kStatisticDecimals) + ", Freiheitsgrade " +
           std::to_string(test.degreesOfFreedom) + ", p-Wert " +
           german::significant(test.pValue, kPValueDigits);
}

std::string goodnessOfFitLine(const CountedExits& counted, const ExactSolution& exact, bool mixed) {
    std::string heading = "Chi-Quadrat-Anpassungstest der Ausgänge: ";
    if (mixed) return heading + "nicht sinnvoll, solange die Zähler Einstellungen mischen";
    std::vector<double> probabilities;
    const mpq_class* smallest = nullptr;
    for (const mpq_class& p : exact.exitProbability) {
        probabilities.push_back(nearestDouble(p));
        if (p > 0 && (smallest == nullptr || p < *smallest)) smallest = &p;
    }
    if (smallest == nullptr) return heading;  // no setting leaves every exit impossible
    // Every expected count n·p is at least 5 from n = ⌈5/p⌉ of the least likely exit on.
    const mpz_class needed = (kMinExpectedCount * smallest->get_den() + smallest->get_num() - 1) /
                             smallest->get_num();
    if (mpz_class(std::to_string(counted.escapes)) < needed) {
        const std::string from = needed.fits_slong_p() ? german::count(needed.get_si()) : needed.get_str();
        return heading + "erst wenn jede erwartete Anzahl mindestens 5 ist (ab " + from + " Wexalen)";
    }
    return heading + chiSquareText(chiSquareTest(counted.counts, probabilities));
}

std::string share(double value) { return german::fixed(value, kShareDecimals); }

std::string levelText(const mpq_class& alpha) {
    constexpr int kPercent = 100;
    constexpr std::size_t kLongest = 6;  // "0,0001": longer levels are rounded
    constexpr int kDigits = 3;
    const double percent = nearestDouble(alpha * kPercent);
    std::string text = german::shortest(percent);
    if (text.size() > kLongest) text = german::significant(percent, kDigits);
    return text + german::kNoBreakSpace + "%";
}

std::string sidedText(Sided sided) {
    switch (sided) {
        case Sided::Both: return "zweiseitig";
        case Sided::Left: return "linksseitig";
        case Sided::Right: return "rechtsseitig";
    }
    return {};
}

std::string regionText(const AcceptanceRegion& region) {
    return "[" + german::count(region.low) + "; " + german::count(region.high) + "]";
}

std::string rejectionText(const AcceptanceRegion& region, std::int64_t n) {
    std::string text;
    if (region.low > 0) text = regionText({0, region.low - 1, 0});
    if (region.high < n) text += (text.empty() ? "" : " ∪ ") + regionText({region.high + 1, n, 0});
    return text.empty() ? "leer" : text;
}

std::string decisionSentence(std::int64_t k, const AcceptanceRegion& region, const mpq_class& alpha) {
    // "5-%-Niveau": the number, a hyphen, the sign, a hyphen.
    std::string level = levelText(alpha);
    level.replace(level.find(german::kNoBreakSpace), std::string_view(german::kNoBreakSpace).size(), "-");
    const std::string start = "k = " + german::count(k) + " liegt ";
    if (region.accepts(k)) {
        return start + "im Annahmebereich " + regionText(region) + ": die Abweichung ist auf dem " +
               level + "-Niveau nicht signifikant.";
    }
    return start + "außerhalb des Annahmebereichs " + regionText(region) +
           ": die Abweichung ist auf dem " + level + "-Niveau signifikant, H0 wird verworfen.";
}

std::string seriesSentence(int rejected, int series, double actualAlpha, std::optional<bool> fair) {
    constexpr int kDigits = 2;
    const double rate = series > 0 ? static_cast<double>(rejected) / series : 0;
    const std::string found = "H0 wurde in " + std::to_string(rejected) + " von " + std::to_string(series) +
                              " Serien verworfen";
    const std::string expected = "erwartet sind etwa " + german::significant(actualAlpha * series, kDigits) +
                                 " bei einem tatsächlichen Niveau von " + german::percent(actualAlpha, kDigits);
    const std::string power = "Güte ≈ " + german::fixed(rate, kDigits) + ", also β ≈ " + german::fixed(1 - rate, kDigits);
    if (fair == std::optional<bool>(true)) {
        return found + ". Ohne Manipulation ist jede Ablehnung ein Fehler 1. Art; " + expected + ".";
    }
    if (fair == std::optional<bool>(false)) {
        return found + ": H0 ist falsch, jede Annahme ein Fehler 2. Art; " + power + ".";
    }
    return found + ". Ist das Netz fair, ist jede Ablehnung ein Fehler 1. Art (" + expected +
           "); ist es manipuliert, ist " + power + ".";
}

std::string scenarioHeading(const Scenario& scenario) {
    const std::string named = "Szenario „" + scenario.name + "“";
    return scenario.hidden ? named + " (verdeckt): exakte Werte ohne Manipulation (H0)"
                           : named + ": exakte Werte mit seinen Gewichten";
}

std::string weightsText(const StreetWeights& weights) {
    std::string text;
    for (int junction = 1; junction <= network::kLastJunction; ++junction) {
        if (weights.even(junction)) continue;
        const network::StreetList& streets = network::kThroughNode6[static_cast<std::size_t>(junction)];
        std::string nodes;
        std::string shares;
        for (int k = 0; k < streets.count; ++k) {
            const auto at = static_cast<std::size_t>(k);
            nodes += (k > 0 ? ", " : "") + std::to_string(streets.to[at]);
            shares += (k > 0 ? ", " : "") + std::to_string(weights.at(junction)[at]);
        }
        if (!text.empty()) text += " · ";
        text.append("Kreuzung ").append(std::to_string(junction)).append(" (").append(nodes).append("): ").append(shares);
    }
    return text.empty() ? "keine" : text;
}

}  // namespace wexal::wording
