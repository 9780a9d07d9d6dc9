// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/exact_solution.h"
#include "sim/network.h"
#include "sim/results_file.h"
#include "sim/setting.h"
#include "sim/share_history.h"

namespace wexal::analysis {

// The most points the share line draws: about one per pixel of a wide chart.
inline constexpr std::size_t kMaxChartPoints = 1024;

// The 95 % band of a share around its probability: p ± 1.96 · √(p(1−p)/k).
inline constexpr double kBandZ = 1.96;

struct ExitBar {
    int node = 0;
    double frequency = 0;    // 0 while nothing is counted
    double probability = 0;  // exact, for the setting the charts are drawn for
    std::string fraction;    // the same, "1/6"
};

struct BandPoint {
    double escapes;
    double lower;  // never below 0
    double upper;  // never above 1
};

// What the two charts draw, as plain numbers: the window fills it from the escape, wexal-sim
// from its batch run.
struct ChartData {
    Setting setting = kStartSetting;      // the titles name it
    bool settingInTitles = true;          // false where a heading above says it already
    std::array<ExitBar, network::kBarrierCount> exits{};  // by counter box
    double succeededProbability = 0;
    std::string succeededFraction = "0";
    std::int64_t escapes = 0;             // the series covers escapes 1..escapes
    std::int64_t stride = 1;              // every stride-th escape is a point (at most kMaxChartPoints)
    std::vector<ShareHistory::Point> shares;
};

ChartData chartData(const Setting& setting, const CountedExits& counted, const ShareHistory& history,
                    const ExactSolution& exact);

// Where the escapes axis (0 to escapes) has its labelled ticks: round numbers from 0 on, on a
// step of 1, 2 or 5 times a power of ten, at most kMaxEscapeTicks of them; 0 and 1 while at
// most one escape is counted.
inline constexpr int kMaxEscapeTicks = 6;
std::vector<std::int64_t> escapeTicks(std::int64_t escapes);

// What a screen reader says about each chart: every exit's share beside its probability, and
// where the share of succeeded escapes ended with its band.
std::string frequencyChartDescription(const ChartData& data);
std::string convergenceChartDescription(const ChartData& data);

// The band around p for 1..escapes escapes, sampled densely where it narrows fast (small k)
// and sparsely where it is nearly flat; at most about kBandSamples points.
std::vector<BandPoint> confidenceBand(double p, std::int64_t escapes);
inline constexpr int kBandSamples = 200;

}  // namespace wexal::analysis
