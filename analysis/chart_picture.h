// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSizeF>

#include "analysis/chart_data.h"

namespace wexal::analysis {

// One chart's size in a saved picture (pixels): wide enough for every exit's label.
inline constexpr int kChartWidth = 800;
inline constexpr int kChartHeight = 560;

// Both charts' design size, side by side or one above the other.
QSizeF picturesSize(Qt::Orientation orientation);

// Paints both charts into target, side by side (Qt::Horizontal) or one above the other, with
// charts of their own, so a picture never depends on the size of a window.
void paintCharts(QPainter& painter, const QRectF& target, const ChartData& data,
                 Qt::Orientation orientation);

}  // namespace wexal::analysis
