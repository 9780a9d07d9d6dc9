// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/chart_style.h"

#include <cmath>

#include <QAbstractAxis>
#include <QLegend>
#include <QLocale>
#include <QValueAxis>

#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

constexpr double kTitleGrowth = 1.15;
constexpr int kShareTicks = 6;  // a tick every fifth: readable also in a small window

}  // namespace

void useGermanNumbers(QChart& chart) {
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    chart.setLocale(german);
    chart.setLocalizeNumbers(true);
}

QString chartTitle(const QString& what, const ChartData& data) {
    if (!data.settingInTitles) return QStringLiteral("<b>%1</b>").arg(what.toHtmlEscaped());
    const std::string setting =
        "Lichtschranken " + barriersText(data.setting) + " · Hin-und-her möglich: " + turnBackText(data.setting);
    return QStringLiteral("<b>%1</b> · %2<br>%3")
        .arg(what.toHtmlEscaped(), QString::fromStdString(wording::escapesText(data.escapes)),
             QString::fromStdString(setting).toHtmlEscaped());
}

QValueAxis* addShareAxis(QChart& chart, QAbstractAxis& escapesAxis,
                         std::initializer_list<QAbstractSeries*> series) {
    auto* shareAxis = new QValueAxis(&chart);
    shareAxis->setTitleText(QStringLiteral("Anteil gelungen"));
    shareAxis->setLabelFormat(QStringLiteral("%.1f"));
    shareAxis->setRange(0, 1);
    shareAxis->setTickCount(kShareTicks);
    chart.addAxis(&escapesAxis, Qt::AlignBottom);
    chart.addAxis(shareAxis, Qt::AlignLeft);
    for (QAbstractSeries* s : series) {
        chart.addSeries(s);
        s->attachAxis(&escapesAxis);
        s->attachAxis(shareAxis);
    }
    return shareAxis;
}

void setChartFonts(QChart& chart, const QFont& base) {
    QFont title = base;
    if (title.pixelSize() > 0) {
        title.setPixelSize(static_cast<int>(std::lround(base.pixelSize() * kTitleGrowth)));
    } else {
        title.setPointSizeF(base.pointSizeF() * kTitleGrowth);
    }
    chart.setTitleFont(title);
    chart.legend()->setFont(base);
    for (QAbstractAxis* axis : chart.axes()) {
        axis->setLabelsFont(base);
        axis->setTitleFont(base);
    }
}

}  // namespace wexal::analysis
