// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/chart_picture.h"

#include <QCoreApplication>
#include <QGraphicsScene>

#include "analysis/convergence_chart.h"
#include "analysis/frequency_chart.h"

namespace wexal::analysis {

QSizeF picturesSize(Qt::Orientation orientation) {
    return orientation == Qt::Horizontal ? QSizeF(2 * kChartWidth, kChartHeight)
                                         : QSizeF(kChartWidth, 2 * kChartHeight);
}

void paintCharts(QPainter& painter, const QRectF& target, const ChartData& data,
                 Qt::Orientation orientation) {
    QGraphicsScene scene;  // owns the charts
    auto* frequencies = new FrequencyChart;
    auto* convergence = new ConvergenceChart;
    const bool across = orientation == Qt::Horizontal;
    const QSizeF chart(kChartWidth, kChartHeight);
    const QPointF second = across ? QPointF(kChartWidth, 0) : QPointF(0, kChartHeight);
    for (QChart* c : {static_cast<QChart*>(frequencies), static_cast<QChart*>(convergence)}) {
        c->setBackgroundRoundness(0);
        scene.addItem(c);
    }
    frequencies->setGeometry(QRectF(QPointF(0, 0), chart));
    convergence->setGeometry(QRectF(second, chart));
    frequencies->draw(data);
    convergence->draw(data);
    // A chart lays out its titles on the next pass of the event loop; a picture has none.
    QCoreApplication::sendPostedEvents();
    // Laid out at the design size, then scaled: text keeps its size relative to the chart.
    const QRectF whole(QPointF(0, 0), picturesSize(orientation));
    scene.setSceneRect(whole);
    scene.render(&painter, target, whole);
}

}  // namespace wexal::analysis
