// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class QAreaSeries;
class QChart;
class QLineSeries;

namespace wexal::analysis {

// The exact probability p as a dashed line and the 95 % band p ± 1.96 · √(p(1−p)/k) around it,
// drawn alike over one run's escapes and over a class's files.
class ProbabilityBand {
public:
    // The series belong to chart; add area() and line() to it before the counts, so that they
    // lie beneath them.
    explicit ProbabilityBand(QChart& chart);
    // The series are the chart's: a copy would draw into the same ones.
    ProbabilityBand(const ProbabilityBand&) = delete;
    ProbabilityBand& operator=(const ProbabilityBand&) = delete;

    // The band for k from `from` to bandEnd escapes, the line from `from` to `to`.
    void draw(double p, double from, double to, std::int64_t bandEnd);

    QAreaSeries* area() const { return area_; }
    QLineSeries* line() const { return line_; }
    const QLineSeries& upper() const { return *upper_; }
    const QLineSeries& lower() const { return *lower_; }

private:
    QLineSeries* upper_;
    QLineSeries* lower_;
    QAreaSeries* area_;
    QLineSeries* line_;
};

}  // namespace wexal::analysis
