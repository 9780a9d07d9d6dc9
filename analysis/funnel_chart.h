// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QChart>
#include <QPainter>

#include "analysis/probability_band.h"
#include "sim/class_pool.h"
#include "sim/exact_solution.h"

class QLineSeries;
class QLogValueAxis;
class QScatterSeries;
class QValueAxis;

namespace wexal::analysis {

// One series in the funnel: its number of escapes and its share of succeeded ones.
struct FunnelPoint {
    std::int64_t escapes = 0;
    double share = 0;
};

// What the funnel draws: each pooled file's share over its escapes, and the class's, around
// the exact probability p.
struct FunnelData {
    Setting setting = kStartSetting;
    double probability = 0;
    std::string fraction = "0";
    std::vector<FunnelPoint> files;  // the pooled files that counted anything
    std::optional<FunnelPoint> pooled;
};

FunnelData funnelData(const ClassPool& pool, const ExactSolution& exact);

// Whether a share lies in the 95 % band p ± 1.96 · √(p(1−p)/n) of its n.
bool insideBand(const FunnelPoint& point, double probability);

// What a screen reader says: how many files, how many in the band, the class's share.
std::string funnelDescription(const FunnelData& data);

// The law of large numbers across a class: each file's share of succeeded escapes as a point
// over its number of escapes (a logarithmic axis), the 95 % band narrowing around p, and the
// class's pooled share far right, close to p.
class FunnelChart final : public QChart {
    Q_OBJECT

public:
    FunnelChart();
    void draw(const FunnelData& data);

    // For the tests and the saved page: what is drawn.
    const QScatterSeries& filePoints() const { return *files_; }
    const QScatterSeries& pooledPoint() const { return *pooled_; }
    const QLineSeries& probabilityLine() const { return *band_.line(); }
    const QLineSeries& bandUpper() const { return band_.upper(); }
    const QLineSeries& bandLower() const { return band_.lower(); }

private:
    QScatterSeries* files_ = nullptr;
    QScatterSeries* pooled_ = nullptr;
    ProbabilityBand band_{*this};
    QLogValueAxis* escapesAxis_ = nullptr;
    QValueAxis* shareAxis_ = nullptr;
};

// Paints a funnel of its own into target: laid out at the design size with texts fontPixels
// high, then scaled, so a page never depends on the size of a window.
void paintFunnel(QPainter& painter, const QRectF& target, const FunnelData& data, const QSizeF& design,
                 double fontPixels);

}  // namespace wexal::analysis
