// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/convergence_chart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>

#include "analysis/chart_colours.h"
#include "analysis/chart_style.h"
#include "platform/german_number.h"

namespace wexal::analysis {

QString escapesAxisTitle(std::int64_t escapes, std::int64_t stride) {
    if (escapes == 0) return QStringLiteral("Anzahl der Wexalen k: noch keine gezählt");
    QString range = QStringLiteral("Anzahl der Wexalen k: 1 bis %1").arg(QString::fromStdString(german::count(escapes)));
    if (stride == 1) return range;
    return range + QStringLiteral(", jede %1. ein Punkt").arg(QString::fromStdString(german::count(stride)));
}

ConvergenceChart::ConvergenceChart() {
    useGermanNumbers(*this);
    shares_ = new QLineSeries(this);
    shares_->setName(QStringLiteral("Anteil gelungen"));
    shares_->setPen(QPen(colours::kFrequency, 2));

    // Labels of our own at round counts: grouped as German readers expect, never repeated.
    escapesAxis_ = new QCategoryAxis(this);
    escapesAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    shareAxis_ = addShareAxis(*this, *escapesAxis_, {band_.area(), band_.line(), shares_});
    legend()->setAlignment(Qt::AlignBottom);
    draw(ChartData{});
}

void ConvergenceChart::draw(const ChartData& data) {
    const double p = data.succeededProbability;
    QList<QPointF> shares;
    shares.reserve(static_cast<qsizetype>(data.shares.size()));
    for (const ShareHistory::Point& point : data.shares) {
        const auto k = static_cast<double>(point.escapes);
        shares.append({k, static_cast<double>(point.succeeded) / k});
    }
    shares_->replace(shares);

    const auto last = static_cast<double>(std::max<std::int64_t>(data.escapes, 1));
    band_.draw(p, 1, last, data.escapes);
    setTitle(chartTitle(QStringLiteral("Anteil der gelungenen Wexalen"), data));
    for (const QString& label : escapesAxis_->categoriesLabels()) escapesAxis_->remove(label);
    // A category ends at its value; the first, "0", is one of hardly any width at the axis'
    // start (a width far below the axis' length makes Qt Charts loop over it for ever).
    constexpr double kZeroShare = 1e-6;
    for (const std::int64_t tick : escapeTicks(data.escapes)) {
        escapesAxis_->append(QString::fromStdString(german::count(tick)),
                             tick == 0 ? kZeroShare * last : static_cast<double>(tick));
    }
    escapesAxis_->setStartValue(0);
    escapesAxis_->setRange(0, last);
    escapesAxis_->setTitleText(analysis::escapesAxisTitle(data.escapes, data.stride));
}

QString ConvergenceChart::escapesAxisTitle() const { return escapesAxis_->titleText(); }

QStringList ConvergenceChart::escapesAxisLabels() const { return escapesAxis_->categoriesLabels(); }

}  // namespace wexal::analysis
