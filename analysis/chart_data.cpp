// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/chart_data.h"

#include <algorithm>
#include <cmath>

#include "platform/german_number.h"
#include "sim/node_places.h"
#include "sim/result_wording.h"

namespace wexal::analysis {

ChartData chartData(const Setting& setting, const CountedExits& counted, const ShareHistory& history,
                    const ExactSolution& exact) {
    ChartData data;
    data.setting = setting;
    for (std::size_t i = 0; i < network::kBarrierCount; ++i) {
        ExitBar& bar = data.exits[i];
        bar.node = network::kExitOfBox[i];
        if (counted.escapes > 0) {
            bar.frequency = static_cast<double>(counted.counts[i]) /
                            static_cast<double>(counted.escapes);
        }
        bar.probability = nearestDouble(exact.exitProbability[i]);
        bar.fraction = exact.exitProbability[i].get_str();
    }
    data.succeededProbability = nearestDouble(exact.succeeded);
    data.succeededFraction = exact.succeeded.get_str();
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

std::vector<std::int64_t> escapeTicks(std::int64_t escapes) {
    const std::int64_t end = std::max<std::int64_t>(escapes, 1);
    // The first of 1, 2, 5, 10, 20, 50, ... that leaves at most kMaxEscapeTicks ticks.
    constexpr std::array<std::int64_t, 3> kMantissas = {1, 2, 5};
    constexpr std::int64_t kDecade = 10;
    std::int64_t step = 0;
    for (std::int64_t power = 1; step == 0; power *= kDecade) {
        for (const std::int64_t m : kMantissas) {
            if (end / (m * power) + 1 <= kMaxEscapeTicks) {
                step = m * power;
                break;
            }
        }
    }
    std::vector<std::int64_t> ticks;
    for (std::int64_t t = 0; t <= end; t += step) ticks.push_back(t);
    return ticks;
}

namespace {

std::string shareOrDash(double value, bool counted) { return counted ? wording::share(value) : "–"; }

}  // namespace

std::string frequencyChartDescription(const ChartData& data) {
    std::string text = "Balkendiagramm, relative Häufigkeit je Ausgang nach " + wording::escapesText(data.escapes) +
                       ", die Striche zeigen die exakte Wahrscheinlichkeit. ";
    for (std::size_t r = 0; r < places::kBoxesAroundTheMap.size(); ++r) {
        const ExitBar& bar = data.exits.at(static_cast<std::size_t>(places::kBoxesAroundTheMap[r]));
        text += (r > 0 ? "; " : "") + wording::exitName(bar.node) + ": Anteil " +
                shareOrDash(bar.frequency, data.escapes > 0) + ", Wahrscheinlichkeit " + bar.fraction + " ≈ " +
                wording::share(bar.probability);
    }
    return text + ".";
}

std::string convergenceChartDescription(const ChartData& data) {
    const double p = data.succeededProbability;
    std::string text = "Liniendiagramm, Anteil der gelungenen Wexalen nach 1, 2, … Wexalen, mit der "
                       "Wahrscheinlichkeit p = " + data.succeededFraction + " ≈ " + wording::share(p) +
                       " und ihrem 95-%-Band. ";
    if (data.escapes == 0 || data.shares.empty()) return text + "Noch keine Wexal gezählt.";
    const ShareHistory::Point& last = data.shares.back();
    const double share = static_cast<double>(last.succeeded) / static_cast<double>(last.escapes);
    const std::vector<BandPoint> band = confidenceBand(p, last.escapes);
    text += "Nach " + wording::escapesText(last.escapes) + " ist der Anteil " + wording::share(share) +
            "; das Band reicht dort von " + wording::share(band.back().lower) + " bis " +
            wording::share(band.back().upper) + ", der Anteil liegt " +
            (share >= band.back().lower && share <= band.back().upper ? "darin." : "außerhalb.");
    return text;
}

}  // namespace wexal::analysis
