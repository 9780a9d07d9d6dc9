// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/binomial_chart.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include <QPainter>
#include <QPainterPath>

#include "analysis/chart_colours.h"
#include "platform/german_number.h"
#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

constexpr double kVisible = 1e-3;  // of the tallest bar: smaller bars are not drawn
constexpr int kAxisTicks = 5;      // about this many numbers on each axis
constexpr int kMinimumLines = 14;  // the chart's smallest height and twice its width, in lines
constexpr int kGapFromPixels = 3;  // bars this wide get a pixel of gap between them
constexpr double kMarkerShare = 0.08;  // the height of k's triangle, of the plot's height
constexpr double kDecade = 10;
constexpr std::array kStepFactors{1.0, 2.0, 5.0};  // an axis steps by 1, 2 or 5 times a power of ten
const QColor kGrid{220, 220, 220};

// The chart's parts, in lines of its font: the title above the plot, the x numbers and the
// legend below it.
constexpr double kAbovePlot = 3;
constexpr double kBelowPlot = 2.5;
constexpr double kTickLength = 0.25;
constexpr double kXNumberWidth = 8;
constexpr double kMarkerSize = 0.8;  // k's triangle, and the legend's colour boxes
constexpr double kLegendFromBottom = 1.3;
constexpr double kLegendBoxTop = 0.2;
constexpr double kLegendGap = 2;

// 1, 2 or 5 times a power of ten, at least raw.
double niceStep(double raw) {
    const double power = std::pow(kDecade, std::floor(std::log10(raw)));
    for (const double factor : kStepFactors) {
        if (factor * power >= raw) return factor * power;
    }
    return kDecade * power;
}

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

// Where the bars stand: the plot's rectangle and the scales of both axes.
struct Frame {
    QRectF plot;
    double line = 0;  // the font's line height
    double barWidth = 0;
    std::int64_t first = 0;
    double yTop = 0;  // the probability at the plot's top

    double x(double k) const { return plot.left() + (k - static_cast<double>(first)) * barWidth; }
    double y(double p) const { return plot.bottom() - p / yTop * plot.height(); }
};

// Ticks are whole multiples of the step, written with as many decimals as the step needs.
QString tickText(double y, double step) {
    constexpr double kRoundingSlack = 1e-9;
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + kRoundingSlack)));
    return fromUtf8(german::fixed(y, decimals));
}

void paintYAxis(QPainter& painter, const Frame& f, double yStep) {
    const auto ticks = static_cast<int>(std::lround(f.yTop / yStep));
    for (int i = 0; i <= ticks; ++i) {
        const double y = i * yStep;
        painter.setPen(kGrid);
        painter.drawLine(QPointF(f.plot.left(), f.y(y)), QPointF(f.plot.right(), f.y(y)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, f.y(y) - f.line / 2, f.plot.left() - f.line / 2, f.line),
                         Qt::AlignRight | Qt::AlignVCenter,
                         i == 0 ? QStringLiteral("0") : tickText(y, yStep));
    }
}

// One bar per outcome; narrower than a pixel, the tallest of each pixel's outcomes.
void paintBars(QPainter& painter, const Frame& f, const BinomialBars& b) {
    const double gap = f.barWidth >= kGapFromPixels ? 1 : 0;
    painter.setPen(Qt::NoPen);
    const auto colourOf = [&b](std::int64_t k) {
        return b.region.accepts(k) ? colours::kFrequency : colours::kProbability;
    };
    if (f.barWidth >= 1) {
        for (std::size_t i = 0; i < b.probabilities.size(); ++i) {
            const auto k = b.first + static_cast<std::int64_t>(i);
            const double x = f.x(static_cast<double>(k));
            painter.setBrush(colourOf(k));
            painter.drawRect(QRectF(QPointF(x + gap / 2, f.y(b.probabilities[i])),
                                    QPointF(x + f.barWidth - gap / 2, f.plot.bottom())));
        }
        return;
    }
    for (int px = 0; px < static_cast<int>(f.plot.width()); ++px) {
        const auto from = static_cast<std::size_t>(px / f.barWidth);
        const auto to = std::min(b.probabilities.size(), static_cast<std::size_t>((px + 1) / f.barWidth) + 1);
        if (from >= to) continue;
        const double p = *std::max_element(b.probabilities.begin() + static_cast<std::ptrdiff_t>(from),
                                           b.probabilities.begin() + static_cast<std::ptrdiff_t>(to));
        painter.setBrush(colourOf(b.first + static_cast<std::int64_t>((from + to) / 2)));
        painter.drawRect(QRectF(QPointF(f.plot.left() + px, f.y(p)), QPointF(f.plot.left() + px + 1, f.plot.bottom())));
    }
}

void paintXAxis(QPainter& painter, const Frame& f, const BinomialBars& b) {
    painter.setPen(Qt::black);
    painter.drawLine(f.plot.bottomLeft(), f.plot.bottomRight());
    const double step = std::max(1.0, niceStep(static_cast<double>(b.probabilities.size()) / kAxisTicks));
    const double below = f.plot.bottom() + kTickLength * f.line;
    for (double k = std::ceil(static_cast<double>(b.first) / step) * step; k <= static_cast<double>(b.last()); k += step) {
        const double x = f.x(k + 0.5);
        painter.drawLine(QPointF(x, f.plot.bottom()), QPointF(x, below));
        painter.drawText(QRectF(x - kXNumberWidth / 2 * f.line, below, kXNumberWidth * f.line, f.line), Qt::AlignCenter,
                         fromUtf8(german::count(static_cast<std::int64_t>(k))));
    }
}

// k: a triangle above its bar and its value, at the window's edge when it lies beyond.
void paintObserved(QPainter& painter, const Frame& f, const BinomialBars& b, std::int64_t observed, double width) {
    const double k = std::clamp(static_cast<double>(observed), static_cast<double>(b.first), static_cast<double>(b.last()));
    const double x = f.x(k + 0.5);
    const double tip = f.plot.top() + kMarkerShare * f.plot.height();
    const double half = kMarkerSize * f.line / 2;
    QPainterPath triangle;
    triangle.moveTo(x, tip);
    triangle.lineTo(x - half, tip - 2 * half);
    triangle.lineTo(x + half, tip - 2 * half);
    triangle.closeSubpath();
    painter.setBrush(Qt::black);
    painter.drawPath(triangle);
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawLine(QPointF(x, tip), QPointF(x, f.plot.bottom()));
    painter.setPen(Qt::black);
    QString label = QStringLiteral("k = ") + fromUtf8(german::count(observed));
    if (static_cast<double>(observed) != k) label += observed < b.first ? QStringLiteral(" ←") : QStringLiteral(" →");
    const double labelWidth = painter.fontMetrics().horizontalAdvance(label) + f.line;
    const double labelLeft = std::clamp(x - labelWidth / 2, 0.0, width - labelWidth);
    painter.drawText(QRectF(labelLeft, tip - 2 * f.line, labelWidth, f.line), Qt::AlignCenter, label);
}

void paintLegend(QPainter& painter, const Frame& f, double height) {
    const double top = height - kLegendFromBottom * f.line;
    double left = f.plot.left();
    for (const auto& [colour, text] : {std::pair{colours::kFrequency, QStringLiteral("Annahmebereich")},
                                       std::pair{colours::kProbability, QStringLiteral("Ablehnungsbereich")}}) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRect(QRectF(left, top + kLegendBoxTop * f.line, kMarkerSize * f.line, kMarkerSize * f.line));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(left + f.line, top + painter.fontMetrics().ascent()), text);
        left += kLegendGap * f.line + painter.fontMetrics().horizontalAdvance(text);
    }
}

}  // namespace

BinomialBars binomialBars(const BinomialDistribution& h0, const AcceptanceRegion& region,
                          std::optional<std::int64_t> observed) {
    double tallest = 0;
    for (std::int64_t k = h0.first(); k <= h0.last(); ++k) tallest = std::max(tallest, h0.probability(k));
    std::int64_t lo = h0.first();
    std::int64_t hi = h0.last();
    while (lo < hi && h0.probability(lo) < tallest * kVisible) ++lo;
    while (hi > lo && h0.probability(hi) < tallest * kVisible) --hi;
    // Each boundary shows with a red bar beyond it.
    if (region.low > 0) lo = std::min(lo, region.low - 1);
    if (region.high < h0.trials()) hi = std::max(hi, region.high + 1);
    if (observed) {
        const std::int64_t reach = (hi - lo + 1) * kWidestReach;
        if (*observed < lo && hi - *observed < reach) lo = *observed;
        if (*observed > hi && *observed - lo < reach) hi = *observed;
    }
    BinomialBars bars{h0.trials(), h0.successProbability().get_str(), lo, {}, region, observed};
    bars.probabilities.reserve(static_cast<std::size_t>(hi - lo + 1));
    for (std::int64_t k = lo; k <= hi; ++k) bars.probabilities.push_back(h0.probability(k));
    return bars;
}

QString binomialChartDescription(const BinomialBars& bars, const BinomialDistribution& h0) {
    QString text = QStringLiteral("Balkendiagramm der Binomialverteilung mit n = %1 und p₀ = %2 von %3 bis %4: "
                                  "Annahmebereich %5 blau, Ablehnungsbereich %6 rot")
                       .arg(fromUtf8(german::count(h0.trials())), fromUtf8(h0.successProbability().get_str()),
                            fromUtf8(german::count(bars.first)), fromUtf8(german::count(bars.last())),
                            fromUtf8(wording::regionText(bars.region)),
                            fromUtf8(wording::rejectionText(bars.region, h0.trials())));
    if (bars.observed) text += QStringLiteral(", k = %1 markiert").arg(fromUtf8(german::count(*bars.observed)));
    return text + QLatin1Char('.');
}

BinomialChart::BinomialChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Binomialdiagramm"));
    setAccessibleName(QStringLiteral("Diagramm: Binomialverteilung unter H0"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BinomialChart::setBars(BinomialBars bars) {
    bars_ = std::move(bars);
    update();
}

void BinomialChart::clear() {
    bars_.reset();
    setAccessibleDescription(QString());
    update();
}

QSize BinomialChart::minimumSizeHint() const {
    const int line = fontMetrics().height();
    return {2 * kMinimumLines * line, kMinimumLines * line};
}

void BinomialChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!bars_ || bars_->probabilities.empty()) return;
    const BinomialBars& b = *bars_;
    const QFontMetrics metrics = fontMetrics();
    const double line = metrics.height();

    const double tallest = *std::max_element(b.probabilities.begin(), b.probabilities.end());
    const double yStep = niceStep(tallest / kAxisTicks);
    const double yTop = std::ceil(tallest / yStep) * yStep;
    const double left = metrics.horizontalAdvance(tickText(yTop, yStep)) + line;
    const QRectF plot(left, kAbovePlot * line, width() - left - line, height() - (kAbovePlot + kBelowPlot) * line);
    if (plot.width() < line || plot.height() < line) return;
    const Frame frame{plot, line, plot.width() / static_cast<double>(b.probabilities.size()), b.first, yTop};

    paintYAxis(painter, frame, yStep);
    paintBars(painter, frame, b);
    paintXAxis(painter, frame, b);
    if (b.observed) paintObserved(painter, frame, b, *b.observed, width());
    paintLegend(painter, frame, height());
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, 0, width(), 2 * line), Qt::AlignCenter,
                     QStringLiteral("P(X = k) unter H0: X ~ B(%1; %2)").arg(fromUtf8(german::count(b.trials)), fromUtf8(b.p0)));
}

}  // namespace wexal::analysis
