// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include <QChart>

#include "analysis/chart_data.h"

class QBarCategoryAxis;
class QBarSet;
class QLineSeries;
class QValueAxis;

namespace wexal::analysis {

// The relative frequency per exit as bars, and the exact probability as a short line across
// each bar.
class FrequencyChart final : public QChart {
    Q_OBJECT

public:
    FrequencyChart();
    void draw(const ChartData& data);

    // The bar's height by counter box: the relative frequency it shows.
    double barHeight(int box) const;

private:
    QBarSet* frequencies_ = nullptr;
    std::array<QLineSeries*, network::kBarrierCount> markers_{};
    QBarCategoryAxis* exitAxis_ = nullptr;
    QValueAxis* shareAxis_ = nullptr;
};

}  // namespace wexal::analysis
