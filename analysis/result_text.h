// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

#include <QString>

#include "sim/exact_solution.h"
#include "sim/results_csv.h"
#include "sim/setting.h"

// The Auswertung's sentences and number forms, shared by the window, the saved files and
// wexal-sim's pictures. Numbers take "." as the main window's boxes do, whatever the locale.
namespace wexal::analysis {

inline constexpr int kShareDecimals = 6;  // as wexal-sim's text table
inline constexpr int kMinExpectedCount = 5;  // below it the chi-square test says little

QString decimalText(double value);
QString fractionText(const mpq_class& value);  // "11/36", reduced

// "Lichtschranken 10110101 · Hin-und-her möglich: nein · 1000 Wexalen"
QString settingLine(const Setting& setting, std::int64_t escapes);

// The notice while the counts span more than one setting.
QString mixedSettingsNotice();

// The chi-square goodness-of-fit line for the exit counts, or why there is none yet.
QString goodnessOfFitLine(const CountedExits& counted, const ExactSolution& exact, bool mixed);

}  // namespace wexal::analysis
