// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/result_text.h"

#include <string>
#include <vector>

#include "sim/chi_square.h"

namespace wexal::analysis {
namespace {

constexpr int kStatisticDecimals = 3;
constexpr int kPValueDigits = 4;

}  // namespace

QString decimalText(double value) { return QString::number(value, 'f', kShareDecimals); }

QString fractionText(const mpq_class& value) { return QString::fromStdString(value.get_str()); }

QString settingLine(const Setting& setting, std::int64_t escapes) {
    return QStringLiteral("Lichtschranken %1 · Hin-und-her möglich: %2 · %3 Wexalen")
        .arg(QString::fromStdString(barriersText(setting)), QString::fromUtf8(turnBackText(setting)))
        .arg(escapes);
}

QString mixedSettingsNotice() {
    return QStringLiteral(
        "Die Zähler mischen mehrere Einstellungen; die Wahrscheinlichkeiten gelten für die "
        "aktuelle. „Zähler löschen“ beginnt eine saubere Reihe.");
}

QString goodnessOfFitLine(const CountedExits& counted, const ExactSolution& exact, bool mixed) {
    QString heading = QStringLiteral("Chi-Quadrat-Anpassungstest der Ausgänge: ");
    if (mixed) return heading + QStringLiteral("nicht sinnvoll, solange die Zähler Einstellungen mischen");
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
        return heading + QStringLiteral("erst wenn jede erwartete Anzahl mindestens 5 ist "
                                        "(ab %1 Wexalen)")
                             .arg(QString::fromStdString(needed.get_str()));
    }
    const ChiSquareTest test = chiSquareTest(counted.counts, probabilities);
    return heading + QStringLiteral("Chi² = %1, Freiheitsgrade %2, p-Wert %3")
                         .arg(QString::number(test.statistic, 'f', kStatisticDecimals))
                         .arg(test.degreesOfFreedom)
                         .arg(QString::number(test.pValue, 'g', kPValueDigits));
}

}  // namespace wexal::analysis
