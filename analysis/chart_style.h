// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>

#include <QChart>
#include <QFont>
#include <QString>

#include "analysis/chart_data.h"

// What both charts share: German numbers on their axes, a title that names the setting and the
// number of escapes, and fonts that follow the window's (or a page's) text size.
class QAbstractAxis;
class QAbstractSeries;
class QValueAxis;

namespace wexal::analysis {

// Axis numbers with a decimal comma and without the locale's "." between thousands.
void useGermanNumbers(QChart& chart);

// "<b>What</b> · 1000 Wexalen<br>Lichtschranken 10110101 · Hin-und-her möglich: nein"
QString chartTitle(const QString& what, const ChartData& data);

// The axis of the share of succeeded escapes, 0 to 1, left of the series and beside the escapes
// axis at the bottom; the series are added on both axes in the given order, the first beneath.
QValueAxis* addShareAxis(QChart& chart, QAbstractAxis& escapesAxis,
                         std::initializer_list<QAbstractSeries*> series);

// Every text of the chart in base's family and size; the title a little larger.
void setChartFonts(QChart& chart, const QFont& base);

}  // namespace wexal::analysis
