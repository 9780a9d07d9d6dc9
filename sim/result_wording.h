// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sim/binomial_test.h"
#include "sim/chi_square.h"
#include "sim/exact_solution.h"
#include "sim/results_file.h"
#include "sim/scenario.h"
#include "sim/setting.h"

// How the results are worded for people, in one place: the Auswertung, its saved pictures
// and worksheet, and wexal-sim's text all say it this way (UTF-8, German numbers).
namespace wexal::wording {

inline constexpr int kShareDecimals = 4;      // relative frequencies and probabilities: "0,3056"
inline constexpr int kStatisticDecimals = 2;  // the chi-square statistic
inline constexpr int kPValueDigits = 3;       // "p-Wert 0,318"
inline constexpr int kMinExpectedCount = 5;   // below it the chi-square test says little

// "Ausgang 13", "Zählerbox 4", "an" / "aus".
std::string exitName(int node);
std::string boxName(int box);
std::string barrierState(bool on);

// Counts for people are grouped ("20 000"); a comment line of a CSV file keeps plain digits.
enum class Digits { Grouped, Plain };

// "1 Wexal", "1000 Wexalen", "20 000 Wexalen".
std::string escapesText(std::int64_t escapes, Digits digits = Digits::Grouped);

// "Lichtschranken 10110101 · Hin-und-her möglich: nein · 1000 Wexalen"
std::string settingLine(const Setting& setting, std::int64_t escapes,
                        Digits digits = Digits::Grouped);

// The notice while the counts span more than one setting.
std::string mixedSettingsNotice();

// "Chi² = 3,46, Freiheitsgrade 7, p-Wert 0,318"
std::string chiSquareText(const ChiSquareTest& test);

// The goodness-of-fit line for the exit counts, or why there is none yet.
std::string goodnessOfFitLine(const CountedExits& counted, const ExactSolution& exact, bool mixed);

// A relative frequency or probability as the tables write it: "0,3056".
std::string share(double value);

// The binomial test. A level as a class writes it: "5 %", "2,5 %".
std::string levelText(const mpq_class& alpha);
// "zweiseitig", "linksseitig", "rechtsseitig".
std::string sidedText(Sided sided);
// "[38; 63]".
std::string regionText(const AcceptanceRegion& region);
// The outcomes outside the region among 0..n: "[0; 37] ∪ [64; 100]", or "leer".
std::string rejectionText(const AcceptanceRegion& region, std::int64_t n);
// "k = 53 liegt im Annahmebereich [38; 63]: die Abweichung ist auf dem 5-%-Niveau nicht
// signifikant." or the sentence that rejects H0.
std::string decisionSentence(std::int64_t k, const AcceptanceRegion& region, const mpq_class& alpha);

// What "100 Serien" found, and what it means: under the fair walk every rejection is an error
// of the first kind; under a manipulated one the rate estimates the power, 1 - beta. `fair` is
// unknown while a scenario is hidden.
std::string seriesSentence(int rejected, int series, double actualAlpha, std::optional<bool> fair);

// A scenario. "Szenario „Kreuzung 2“ (verdeckt): exakte Werte ohne Manipulation (H0)", or once
// revealed "Szenario „Kreuzung 2“: exakte Werte mit seinen Gewichten".
std::string scenarioHeading(const Scenario& scenario);
// The weights that are not 1 everywhere: "Kreuzung 2 (9, 11, 4, 1): 3, 1, 1, 1"; "keine" if none.
std::string weightsText(const StreetWeights& weights);

}  // namespace wexal::wording
