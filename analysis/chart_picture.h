// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPainter>
#include <QRectF>
#include <QSizeF>

#include "analysis/chart_data.h"

namespace wexal::analysis {

// How a picture of both charts is laid out before it is scaled into its target: each chart at
// its size in design pixels, side by side or one above the other, its texts fontPixels high.
struct ChartsLayout {
    Qt::Orientation orientation = Qt::Horizontal;
    QSizeF chart;
    double fontPixels;
    bool legends = true;  // false where a text beside the charts explains their colours
};

// A saved PNG or SVG: wide enough for every exit's label.
inline const ChartsLayout kSavedCharts{Qt::Horizontal, QSizeF(800, 560), 16};

// Both charts' design size.
QSizeF picturesSize(const ChartsLayout& layout);

// Paints both charts into target, with charts of their own, so a picture never depends on the
// size of a window.
void paintCharts(QPainter& painter, const QRectF& target, const ChartData& data, const ChartsLayout& layout);

}  // namespace wexal::analysis
