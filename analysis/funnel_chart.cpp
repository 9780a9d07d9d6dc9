// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/funnel_chart.h"

#include <algorithm>
#include <cmath>

#include <QAreaSeries>
#include <QCoreApplication>
#include <QGraphicsScene>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPen>
#include <QScatterSeries>
#include <QValueAxis>

#include "analysis/chart_colours.h"
#include "analysis/chart_data.h"
#include "analysis/chart_style.h"
#include "platform/german_number.h"
#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

constexpr double kMargin = 2;           // the escapes axis reaches this factor beyond the points
constexpr double kFileMarker = 9;       // pixels
constexpr double kPooledMarker = 16;    // pixels: the class stands out
constexpr double kEmptyAxisEnd = 100;   // escapes, while no file is pooled
constexpr double kDecade = 10;          // the logarithmic axis counts in powers of ten
constexpr int kPooledDarker = 250;      // percent: the class in a darker blue than its files

double share(std::int64_t part, std::int64_t whole) {
    return static_cast<double>(part) / static_cast<double>(whole);
}

}  // namespace

FunnelData funnelData(const ClassPool& pool, const ExactSolution& exact) {
    FunnelData data;
    data.setting = pool.setting();
    data.probability = nearestDouble(exact.succeeded);
    data.fraction = exact.succeeded.get_str();
    for (const ClassPool::Member& member : pool.members()) {
        if (member.escapes > 0) data.files.push_back({member.escapes, share(member.succeeded, member.escapes)});
    }
    const Tally& tally = pool.tally();
    if (tally.exits.escapes > 0) data.pooled = FunnelPoint{tally.exits.escapes, share(tally.succeeded, tally.exits.escapes)};
    return data;
}

bool insideBand(const FunnelPoint& point, double probability) {
    const double half = kBandZ * std::sqrt(probability * (1 - probability) / static_cast<double>(point.escapes));
    return std::abs(point.share - probability) <= half;
}

std::string funnelDescription(const FunnelData& data) {
    const std::string p = "die Wahrscheinlichkeit p = " + data.fraction + " ≈ " + wording::share(data.probability);
    if (!data.pooled) return "Noch keine Datei zusammengefasst; " + p + ".";
    const auto inside = std::count_if(data.files.begin(), data.files.end(),
                                      [&data](const FunnelPoint& f) { return insideBand(f, data.probability); });
    return std::to_string(data.files.size()) + (data.files.size() == 1 ? " Datei, " : " Dateien, ") +
           std::to_string(inside) + " davon im 95-%-Band um " + p + "; die Klasse: Anteil gelungen " +
           wording::share(data.pooled->share) + " bei " + wording::escapesText(data.pooled->escapes) +
           (insideBand(*data.pooled, data.probability) ? ", im Band." : ", außerhalb des Bands.");
}

FunnelChart::FunnelChart() {
    useGermanNumbers(*this);
    files_ = new QScatterSeries(this);
    files_->setName(QStringLiteral("eine Datei"));
    files_->setColor(colours::kFrequency);
    files_->setMarkerSize(kFileMarker);
    pooled_ = new QScatterSeries(this);
    pooled_->setName(QStringLiteral("die Klasse"));
    pooled_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    pooled_->setColor(colours::kFrequency.darker(kPooledDarker));
    pooled_->setMarkerSize(kPooledMarker);

    escapesAxis_ = new QLogValueAxis(this);
    escapesAxis_->setBase(kDecade);
    escapesAxis_->setLabelFormat(QStringLiteral("%.0f"));
    escapesAxis_->setTitleText(QStringLiteral("Anzahl der Wexalen n (logarithmisch)"));
    shareAxis_ = addShareAxis(*this, *escapesAxis_, {band_.area(), band_.line(), files_, pooled_});
    legend()->setAlignment(Qt::AlignBottom);
    draw(FunnelData{});
}

void FunnelChart::draw(const FunnelData& data) {
    QList<QPointF> files;
    double first = data.files.empty() ? 1 : static_cast<double>(data.files.front().escapes);
    for (const FunnelPoint& f : data.files) {
        files.append({static_cast<double>(f.escapes), f.share});
        first = std::min(first, static_cast<double>(f.escapes));
    }
    files_->replace(files);
    pooled_->clear();
    if (data.pooled) pooled_->append(static_cast<double>(data.pooled->escapes), data.pooled->share);

    const double last = data.pooled ? static_cast<double>(data.pooled->escapes) * kMargin : kEmptyAxisEnd;
    const double start = std::max(1.0, first / kMargin);
    band_.draw(data.probability, start, last, static_cast<std::int64_t>(last));
    escapesAxis_->setRange(start, last);

    ChartData titled;
    titled.setting = data.setting;
    titled.escapes = data.pooled ? data.pooled->escapes : 0;
    setTitle(chartTitle(QStringLiteral("Anteil gelungen je Datei und in der Klasse"), titled));
}

void paintFunnel(QPainter& painter, const QRectF& target, const FunnelData& data, const QSizeF& design,
                 double fontPixels) {
    QGraphicsScene scene;  // owns the chart
    auto* chart = new FunnelChart;
    chart->setBackgroundRoundness(0);
    QFont font;
    font.setPixelSize(static_cast<int>(std::lround(fontPixels)));
    setChartFonts(*chart, font);
    scene.addItem(chart);
    chart->setGeometry(QRectF(QPointF(0, 0), design));
    chart->draw(data);
    QCoreApplication::sendPostedEvents();  // the chart lays out its title on the next pass
    const QRectF whole(QPointF(0, 0), design);
    scene.setSceneRect(whole);
    scene.render(&painter, target, whole);
}

}  // namespace wexal::analysis
