// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChart>

#include "analysis/chart_data.h"
#include "analysis/probability_band.h"

class QCategoryAxis;
class QLineSeries;
class QValueAxis;

namespace wexal::analysis {

// The law of large numbers: the share of succeeded escapes after 1, 2, ..., n escapes, the
// exact probability as a horizontal line and the 95 % band around it.
class ConvergenceChart final : public QChart {
    Q_OBJECT

public:
    ConvergenceChart();
    void draw(const ChartData& data);

    // For the tests and the saved pictures: what is drawn.
    const QLineSeries& shares() const { return *shares_; }
    const QLineSeries& probabilityLine() const { return *band_.line(); }
    const QLineSeries& bandUpper() const { return band_.upper(); }
    const QLineSeries& bandLower() const { return band_.lower(); }
    QString escapesAxisTitle() const;
    QStringList escapesAxisLabels() const;

private:
    QLineSeries* shares_ = nullptr;
    ProbabilityBand band_{*this};
    QCategoryAxis* escapesAxis_ = nullptr;
    QValueAxis* shareAxis_ = nullptr;
};

// "Anzahl der Wexalen k: 1 bis 1000", and ", jede 256. ein Punkt" once the series has been
// thinned.
QString escapesAxisTitle(std::int64_t escapes, std::int64_t stride);

}  // namespace wexal::analysis
