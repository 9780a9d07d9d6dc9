// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/chart_picture.h"

#include <QCoreApplication>
#include <QGraphicsScene>

#include "analysis/chart_style.h"
#include "analysis/convergence_chart.h"
#include "analysis/frequency_chart.h"

namespace wexal::analysis {

QSizeF picturesSize(const ChartsLayout& layout) {
    const QSizeF& c = layout.chart;
    return layout.orientation == Qt::Horizontal ? QSizeF(2 * c.width(), c.height()) : QSizeF(c.width(), 2 * c.height());
}

void paintCharts(QPainter& painter, const QRectF& target, const ChartData& data, const ChartsLayout& layout) {
    QGraphicsScene scene;  // owns the charts
    auto* frequencies = new FrequencyChart;
    auto* convergence = new ConvergenceChart;
    const bool across = layout.orientation == Qt::Horizontal;
    const QPointF second = across ? QPointF(layout.chart.width(), 0) : QPointF(0, layout.chart.height());
    QFont font;
    font.setPixelSize(static_cast<int>(std::lround(layout.fontPixels)));
    for (QChart* c : {static_cast<QChart*>(frequencies), static_cast<QChart*>(convergence)}) {
        c->setBackgroundRoundness(0);
        // A picture's own border is margin enough, but the last label of an axis reaches out.
        const int half = font.pixelSize() / 2;
        c->setMargins(QMargins(half, half, 3 * half, half));
        setChartFonts(*c, font);
        c->legend()->setVisible(layout.legends);
        scene.addItem(c);
    }
    frequencies->setGeometry(QRectF(QPointF(0, 0), layout.chart));
    convergence->setGeometry(QRectF(second, layout.chart));
    frequencies->draw(data);
    convergence->draw(data);
    // A chart lays out its titles on the next pass of the event loop; a picture has none.
    QCoreApplication::sendPostedEvents();
    // Laid out at the design size, then scaled: text keeps its size relative to the chart.
    const QRectF whole(QPointF(0, 0), picturesSize(layout));
    scene.setSceneRect(whole);
    scene.render(&painter, target, whole);
}

}  // namespace wexal::analysis
