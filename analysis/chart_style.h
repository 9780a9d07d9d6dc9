// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChart>
#include <QFont>
#include <QString>

#include "analysis/chart_data.h"

// What both charts share: German numbers on their axes, a title that names the setting and the
// number of escapes, and fonts that follow the window's (or a page's) text size.
namespace wexal::analysis {

// Axis numbers with a decimal comma and without the locale's "." between thousands.
void useGermanNumbers(QChart& chart);

// "<b>What</b> · 1000 Wexalen<br>Lichtschranken 10110101 · Hin-und-her möglich: nein"
QString chartTitle(const QString& what, const ChartData& data);

// Every text of the chart in base's family and size; the title a little larger.
void setChartFonts(QChart& chart, const QFont& base);

}  // namespace wexal::analysis
