// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frequency_chart.h"

#include <algorithm>
#include <cmath>

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include "analysis/chart_colours.h"
#include "analysis/chart_style.h"
#include "sim/node_places.h"

namespace wexal::analysis {
namespace {

constexpr double kBarWidth = 0.66;         // of a category's width
constexpr double kMarkerHalfWidth = 0.38;  // of a category's width: a little wider than the bar
constexpr double kHeadroom = 1.1;          // above the highest bar or marker
constexpr double kShareStep = 0.1;         // the share axis ends on a tenth
constexpr double kFineTicksUpTo = 0.5;     // up to here a tick every twentieth

// The bars stand in the order around the map; position r shows counter box boxAt(r).
int boxAt(std::size_t position) { return places::kBoxesAroundTheMap.at(position); }

int positionOf(int box) {
    const auto& order = places::kBoxesAroundTheMap;
    return static_cast<int>(std::find(order.begin(), order.end(), box) - order.begin());
}

}  // namespace

FrequencyChart::FrequencyChart() {
    useGermanNumbers(*this);
    frequencies_ = new QBarSet(QStringLiteral("relative Häufigkeit"));
    frequencies_->setColor(colours::kFrequency);
    frequencies_->setBorderColor(colours::kFrequency.darker());
    auto* bars = new QBarSeries(this);
    bars->append(frequencies_);
    bars->setBarWidth(kBarWidth);
    addSeries(bars);

    exitAxis_ = new QBarCategoryAxis(this);
    exitAxis_->setTitleText(QStringLiteral("Ausgang (Knoten)"));
    shareAxis_ = new QValueAxis(this);
    shareAxis_->setTitleText(QStringLiteral("Anteil"));
    shareAxis_->setLabelFormat(QStringLiteral("%.2f"));
    addAxis(exitAxis_, Qt::AlignBottom);
    addAxis(shareAxis_, Qt::AlignLeft);
    bars->attachAxis(exitAxis_);
    bars->attachAxis(shareAxis_);

    for (std::size_t i = 0; i < markers_.size(); ++i) {
        auto* marker = new QLineSeries(this);
        marker->setName(QStringLiteral("exakte Wahrscheinlichkeit"));
        marker->setPen(QPen(colours::kProbability, 3));
        addSeries(marker);
        marker->attachAxis(exitAxis_);
        marker->attachAxis(shareAxis_);
        // One legend entry stands for all eight markers.
        if (i > 0) legend()->markers(marker).constFirst()->setVisible(false);
        markers_[i] = marker;
    }
    QStringList nodes;
    for (int node : places::kExitsAroundTheMap) nodes << QString::number(node);
    exitAxis_->append(nodes);
    frequencies_->append(QList<qreal>(network::kBarrierCount, 0));
    legend()->setAlignment(Qt::AlignBottom);
    draw(ChartData{});
}

void FrequencyChart::draw(const ChartData& data) {
    setTitle(chartTitle(QStringLiteral("Relative Häufigkeit je Ausgang"), data));
    double highest = 0;
    for (std::size_t i = 0; i < markers_.size(); ++i) {
        const ExitBar& bar = data.exits.at(static_cast<std::size_t>(boxAt(i)));
        frequencies_->replace(static_cast<int>(i), bar.frequency);
        const auto x = static_cast<double>(i);
        markers_[i]->replace({QPointF(x - kMarkerHalfWidth, bar.probability),
                              QPointF(x + kMarkerHalfWidth, bar.probability)});
        highest = std::max({highest, bar.frequency, bar.probability});
    }
    // Up to a tenth above the highest, with ticks on twentieths or tenths: 0.05 reads at once.
    const double top = std::max(kShareStep, std::ceil(highest * kHeadroom / kShareStep) * kShareStep);
    const double tick = top <= kFineTicksUpTo ? kShareStep / 2 : kShareStep;
    shareAxis_->setRange(0, top);
    shareAxis_->setTickCount(static_cast<int>(std::lround(top / tick)) + 1);
}

double FrequencyChart::barHeight(int box) const { return frequencies_->at(positionOf(box)); }

}  // namespace wexal::analysis
