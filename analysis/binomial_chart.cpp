// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/binomial_chart.h"

#include <algorithm>
#include <cmath>

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


// 1, 2 or 5 times a power of ten, at least raw.
double niceStep(double raw) {
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= raw) return factor * power;
    }
    return 10 * power;
}

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

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
    const int line = metrics.height();

    const double tallest = *std::max_element(b.probabilities.begin(), b.probabilities.end());
    const double yStep = niceStep(tallest / kAxisTicks);
    const double yTop = std::ceil(tallest / yStep) * yStep;
    // Ticks are whole multiples of the step, written with as many decimals as the step needs.
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(yStep) + 1e-9)));
    const auto tickText = [decimals](double y) { return fromUtf8(german::fixed(y, decimals)); };
    const QString widestLabel = tickText(yTop);
    const QRectF plot(metrics.horizontalAdvance(widestLabel) + line, 3.0 * line,
                      width() - metrics.horizontalAdvance(widestLabel) - 2.0 * line, height() - 5.5 * line);
    if (plot.width() < line || plot.height() < line) return;

    const auto count = static_cast<double>(b.probabilities.size());
    const double barWidth = plot.width() / count;
    const auto xOf = [&](double k) { return plot.left() + (k - static_cast<double>(b.first)) * barWidth; };
    const auto yOf = [&](double p) { return plot.bottom() - p / yTop * plot.height(); };

    // Grid and y axis.
    painter.setPen(QColor(220, 220, 220));
    const auto yTicks = static_cast<int>(std::lround(yTop / yStep));
    for (int i = 0; i <= yTicks; ++i) {
        const double y = i * yStep;
        painter.drawLine(QPointF(plot.left(), yOf(y)), QPointF(plot.right(), yOf(y)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, yOf(y) - line / 2.0, plot.left() - line / 2.0, line), Qt::AlignRight | Qt::AlignVCenter,
                         i == 0 ? QStringLiteral("0") : tickText(y));
        painter.setPen(QColor(220, 220, 220));
    }

    // Bars, one per outcome; narrower than a pixel, the tallest of each pixel's outcomes.
    const double gap = barWidth >= kGapFromPixels ? 1 : 0;
    painter.setPen(Qt::NoPen);
    const auto colourOf = [&](std::int64_t k) {
        return b.region.accepts(k) ? colours::kFrequency : colours::kProbability;
    };
    if (barWidth >= 1) {
        for (std::size_t i = 0; i < b.probabilities.size(); ++i) {
            const auto k = b.first + static_cast<std::int64_t>(i);
            const double x = xOf(static_cast<double>(k));
            painter.setBrush(colourOf(k));
            painter.drawRect(QRectF(QPointF(x + gap / 2, yOf(b.probabilities[i])), QPointF(x + barWidth - gap / 2, plot.bottom())));
        }
    } else {
        for (int px = 0; px < static_cast<int>(plot.width()); ++px) {
            const auto from = static_cast<std::size_t>(px / barWidth);
            const auto to = std::min(b.probabilities.size(), static_cast<std::size_t>((px + 1) / barWidth) + 1);
            if (from >= to) continue;
            const double p = *std::max_element(b.probabilities.begin() + static_cast<std::ptrdiff_t>(from),
                                               b.probabilities.begin() + static_cast<std::ptrdiff_t>(to));
            painter.setBrush(colourOf(b.first + static_cast<std::int64_t>((from + to) / 2)));
            painter.drawRect(QRectF(QPointF(plot.left() + px, yOf(p)), QPointF(plot.left() + px + 1, plot.bottom())));
        }
    }

    // x axis with its numbers.
    painter.setPen(Qt::black);
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    const double xStep = std::max(1.0, niceStep(count / kAxisTicks));
    for (double k = std::ceil(static_cast<double>(b.first) / xStep) * xStep; k <= static_cast<double>(b.last()); k += xStep) {
        const double x = xOf(k + 0.5);
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + line / 4.0));
        painter.drawText(QRectF(x - 4.0 * line, plot.bottom() + line / 4.0, 8.0 * line, line), Qt::AlignCenter,
                         fromUtf8(german::count(static_cast<std::int64_t>(k))));
    }

    // k: a triangle above its bar and its value, at the window's edge when it lies beyond.
    if (b.observed) {
        const double k = std::clamp(static_cast<double>(*b.observed), static_cast<double>(b.first),
                                    static_cast<double>(b.last()));
        const double x = xOf(k + 0.5);
        const double tip = plot.top() + kMarkerShare * plot.height();
        QPainterPath triangle;
        triangle.moveTo(x, tip);
        triangle.lineTo(x - line / 2.0, tip - line * 0.8);
        triangle.lineTo(x + line / 2.0, tip - line * 0.8);
        triangle.closeSubpath();
        painter.setBrush(Qt::black);
        painter.drawPath(triangle);
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawLine(QPointF(x, tip), QPointF(x, plot.bottom()));
        painter.setPen(Qt::black);
        QString label = QStringLiteral("k = ") + fromUtf8(german::count(*b.observed));
        if (static_cast<double>(*b.observed) != k) label += *b.observed < b.first ? QStringLiteral(" ←") : QStringLiteral(" →");
        const double labelWidth = metrics.horizontalAdvance(label) + line;
        const double labelLeft = std::clamp(x - labelWidth / 2, 0.0, width() - labelWidth);
        painter.drawText(QRectF(labelLeft, tip - 2.0 * line, labelWidth, line), Qt::AlignCenter, label);
    }

    // Legend under the axis.
    const double legendY = height() - 1.3 * line;
    double legendX = plot.left();
    for (const auto& [colour, text] : {std::pair{colours::kFrequency, QStringLiteral("Annahmebereich")},
                                       std::pair{colours::kProbability, QStringLiteral("Ablehnungsbereich")}}) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawRect(QRectF(legendX, legendY + line * 0.2, line * 0.8, line * 0.8));
        painter.setPen(Qt::black);
        const QString shown = text;
        painter.drawText(QPointF(legendX + line, legendY + metrics.ascent()), shown);
        legendX += line * 2 + metrics.horizontalAdvance(shown);
    }
    painter.drawText(QRectF(0, 0, width(), 2.0 * line), Qt::AlignCenter,
                     QStringLiteral("P(X = k) unter H0: X ~ B(%1; %2)").arg(fromUtf8(german::count(b.trials)), fromUtf8(b.p0)));
}

}  // namespace wexal::analysis
