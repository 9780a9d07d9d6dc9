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
    const std::string heading = "Chi-Quadrat-Anpassungstest der Ausgänge: ";
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

}  // namespace wexal::wording
