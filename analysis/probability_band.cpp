// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/probability_band.h"

#include <QAreaSeries>
#include <QChart>
#include <QLineSeries>
#include <QPen>

#include "analysis/chart_colours.h"
#include "analysis/chart_data.h"

namespace wexal::analysis {

ProbabilityBand::ProbabilityBand(QChart& chart)
    : upper_(new QLineSeries(&chart)),
      lower_(new QLineSeries(&chart)),
      area_(new QAreaSeries(upper_, lower_)),
      line_(new QLineSeries(&chart)) {
    area_->setName(QStringLiteral("95-%-Band"));
    area_->setColor(colours::kBand);
    area_->setBorderColor(colours::kBand);
    line_->setName(QStringLiteral("Wahrscheinlichkeit p"));
    line_->setPen(QPen(colours::kProbability, 2, Qt::DashLine));
}

void ProbabilityBand::draw(double p, double from, double to, std::int64_t bandEnd) {
    QList<QPointF> upper;
    QList<QPointF> lower;
    for (const BandPoint& b : confidenceBand(p, bandEnd)) {
        if (b.escapes < from) continue;
        upper.append({b.escapes, b.upper});
        lower.append({b.escapes, b.lower});
    }
    upper_->replace(upper);
    lower_->replace(lower);
    line_->replace({QPointF(from, p), QPointF(to, p)});
}

}  // namespace wexal::analysis
