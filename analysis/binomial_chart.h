// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QString>
#include <QWidget>

#include "sim/binomial_test.h"

// The bar chart of the test page: B(n, p0) with the acceptance region in blue, the rejection
// region in red and the observed k marked.
namespace wexal::analysis {

// The bars worth drawing: every outcome whose probability shows at the chart's height, widened
// to the region's boundaries and to k.
struct BinomialBars {
    std::int64_t trials = 0;  // n
    std::string p0;           // "1/6"
    std::int64_t first = 0;
    std::vector<double> probabilities;  // of first, first + 1, ...
    AcceptanceRegion region;
    std::optional<std::int64_t> observed;

    std::int64_t last() const { return first + static_cast<std::int64_t>(probabilities.size()) - 1; }
};

// The window grows to take in k only while it stays within this many times its own width; a k
// further out is marked at the window's edge.
inline constexpr std::int64_t kWidestReach = 4;
BinomialBars binomialBars(const BinomialDistribution& h0, const AcceptanceRegion& region,
                          std::optional<std::int64_t> observed);

// What a screen reader says: the distribution, both regions and k.
QString binomialChartDescription(const BinomialBars& bars, const BinomialDistribution& h0);

class BinomialChart final : public QWidget {
    Q_OBJECT

public:
    explicit BinomialChart(QWidget* parent = nullptr);

    void setBars(BinomialBars bars);
    void clear();
    const std::optional<BinomialBars>& bars() const { return bars_; }
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<BinomialBars> bars_;
};

}  // namespace wexal::analysis
