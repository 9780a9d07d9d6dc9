// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/chart_data.h"

#include <algorithm>
#include <cmath>

namespace wexal::analysis {

ChartData chartData(const CountedExits& counted, const ShareHistory& history,
                    const ExactSolution& exact) {
    ChartData data;
    for (std::size_t i = 0; i < network::kBarrierCount; ++i) {
        ExitBar& bar = data.exits[i];
        bar.node = network::kExitOfBox[i];
        if (counted.escapes > 0) {
            bar.frequency = static_cast<double>(counted.counts[i]) /
                            static_cast<double>(counted.escapes);
        }
        bar.probability = nearestDouble(exact.exitProbability[i]);
    }
    data.succeededProbability = nearestDouble(exact.succeeded);
    data.escapes = counted.escapes;
    // Every m-th kept point, so the line has about one point per pixel and redraws fast.
    const std::vector<ShareHistory::Point>& points = history.points();
    const std::size_t m = std::max<std::size_t>(1, (points.size() + kMaxChartPoints - 1) / kMaxChartPoints);
    data.stride = history.stride() * static_cast<std::int64_t>(m);
    for (std::size_t i = m - 1; i < points.size(); i += m) data.shares.push_back(points[i]);
    return data;
}

std::vector<BandPoint> confidenceBand(double p, std::int64_t escapes) {
    std::vector<BandPoint> band;
    if (escapes < 1) return band;
    // Geometric steps from 1 to escapes: the band's width goes with 1/√k.
    const double growth =
        std::max(1.0 + 1e-9, std::pow(static_cast<double>(escapes), 1.0 / kBandSamples));
    const double spread = kBandZ * std::sqrt(p * (1 - p));
    double next = 1;
    std::int64_t last = 0;
    for (;;) {
        const std::int64_t k = std::min(escapes, std::max<std::int64_t>(last + 1, std::llround(next)));
        const double half = spread / std::sqrt(static_cast<double>(k));
        band.push_back({static_cast<double>(k), std::max(0.0, p - half), std::min(1.0, p + half)});
        if (k == escapes) break;
        last = k;
        next *= growth;
    }
    return band;
}

}  // namespace wexal::analysis
