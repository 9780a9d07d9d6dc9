// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/results_page.h"

#include <QChartView>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "analysis/convergence_chart.h"
#include "analysis/export.h"
#include "analysis/frequency_chart.h"
#include "analysis/result_table_model.h"
#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

constexpr QSize kChartMinimum{300, 220};  // pixels; below this the axis labels collide
constexpr int kRowPadding = 6;            // pixels above and below a table row's text
constexpr const char* kNoticeStyle = "color: #a00000; font-weight: bold;";

QChartView* chartView(QChart* chart, const QString& name, QWidget* parent) {
    auto* view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(kChartMinimum);
    return view;
}

}  // namespace

ResultsPage::ResultsPage(Escape& escape, Runtime& /*runtime*/, QWidget* parent)
    : AuswertungPage(parent), escape_(escape) {
    setObjectName(QStringLiteral("Ergebnisse"));
    table_ = new ResultTableModel(escape_, this);
    tableView_ = new QTableView(this);
    tableView_->setObjectName(QStringLiteral("Ergebnistabelle"));
    tableView_->setModel(table_);
    tableView_->verticalHeader()->hide();
    tableView_->setSelectionMode(QAbstractItemView::NoSelection);
    tableView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    tableView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableView_->setFocusPolicy(Qt::NoFocus);

    setting_ = new QLabel(this);
    setting_->setObjectName(QStringLiteral("Einstellung"));
    notice_ = new QLabel(QString::fromStdString(wording::mixedSettingsNotice()), this);
    notice_->setObjectName(QStringLiteral("Hinweis"));
    notice_->setStyleSheet(QString::fromUtf8(kNoticeStyle));
    notice_->setWordWrap(true);
    notice_->hide();
    fit_ = new QLabel(this);
    fit_->setObjectName(QStringLiteral("Anpassungstest"));
    fit_->setWordWrap(true);

    frequencies_ = new FrequencyChart;
    convergence_ = new ConvergenceChart;
    auto* charts = new QHBoxLayout;
    charts->addWidget(chartView(frequencies_, QStringLiteral("Häufigkeiten"), this));
    charts->addWidget(chartView(convergence_, QStringLiteral("Konvergenz"), this));

    auto* column = new QVBoxLayout(this);
    column->addWidget(setting_);
    column->addWidget(notice_);
    column->addWidget(tableView_);
    column->addWidget(fit_);
    column->addLayout(charts, 1);
    fitTableHeight();
    refresh();
}

QString ResultsPage::title() const { return QStringLiteral("&Ergebnisse"); }

void ResultsPage::refresh() {
    table_->refresh();
    const CountedExits counted = table_->counted();
    setting_->setText(QString::fromStdString(wording::settingLine(escape_.setting(), counted.escapes)));
    notice_->setVisible(table_->mixed());
    fit_->setText(QString::fromStdString(wording::goodnessOfFitLine(counted, table_->exact(), table_->mixed())));
    const ChartData charts = chartDataOf(*table_);
    frequencies_->draw(charts);
    convergence_->draw(charts);
}

void ResultsPage::changeEvent(QEvent* event) {
    AuswertungPage::changeEvent(event);
    if (event->type() == QEvent::FontChange) fitTableHeight();
}

// Every row shows, and the charts take whatever height is left.
void ResultsPage::fitTableHeight() {
    tableView_->verticalHeader()->setDefaultSectionSize(tableView_->fontMetrics().height() + kRowPadding);
    tableView_->setFixedHeight(tableView_->horizontalHeader()->sizeHint().height() +
                               tableView_->verticalHeader()->length() + 2 * tableView_->frameWidth());
}

}  // namespace wexal::analysis
