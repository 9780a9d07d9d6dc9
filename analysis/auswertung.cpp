// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/auswertung.h"

#include <QChartView>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "analysis/convergence_chart.h"
#include "analysis/export.h"
#include "analysis/frequency_chart.h"
#include "analysis/result_table_model.h"
#include "analysis/result_text.h"

namespace wexal::analysis {
namespace {

constexpr QSize kStartSize{1100, 820};       // pixels; fits beside the main window on 1920 × 1080
constexpr QSize kChartMinimum{420, 320};     // pixels; below this the axis labels collide
constexpr int kRowPadding = 6;              // pixels above and below a table row's text
constexpr const char* kNoticeStyle = "color: #a00000; font-weight: bold;";

QChartView* chartView(QChart* chart, const QString& name, QWidget* parent) {
    auto* view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(kChartMinimum);
    return view;
}

}  // namespace

Auswertung::Auswertung(Escape& escape, Runtime& runtime, QWidget* parent)
    : QWidget(parent, Qt::Window), escape_(escape), runtime_(runtime) {
    setObjectName(QStringLiteral("Auswertung"));
    setWindowTitle(QStringLiteral("Wexal – Auswertung"));
    setAttribute(Qt::WA_QuitOnClose, false);  // the program ends with its main window
    resize(kStartSize);

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
    tableView_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + kRowPadding);
    // Every row shows, and the charts take whatever height is left.
    tableView_->setFixedHeight(tableView_->horizontalHeader()->sizeHint().height() +
                               tableView_->verticalHeader()->length() + 2 * tableView_->frameWidth());

    setting_ = new QLabel(this);
    setting_->setObjectName(QStringLiteral("Einstellung"));
    notice_ = new QLabel(mixedSettingsNotice(), this);
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

    auto* save = new QPushButton(QStringLiteral("Ergebnisse &speichern…"), this);
    save->setObjectName(QStringLiteral("Speichern"));
    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    close->setObjectName(QStringLiteral("Schliessen"));
    connect(save, &QPushButton::clicked, this, [this] { saveWithDialog(this); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);

    auto* column = new QVBoxLayout(this);
    column->addWidget(setting_);
    column->addWidget(notice_);
    column->addWidget(tableView_);
    column->addWidget(fit_);
    column->addLayout(charts, 1);
    column->addLayout(buttons);

    refreshTimer_.setInterval(kRefreshMs);
    connect(&refreshTimer_, &QTimer::timeout, this, &Auswertung::refreshIfStale);
    escape_.addObserver(this);
    refresh();
}

Auswertung::~Auswertung() { escape_.removeObserver(this); }

void Auswertung::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshIfStale();
    refreshTimer_.start();
}

void Auswertung::hideEvent(QHideEvent* event) {
    refreshTimer_.stop();
    QWidget::hideEvent(event);
}

void Auswertung::refreshIfStale() {
    if (stale_) refresh();
}

void Auswertung::refresh() {
    stale_ = false;
    table_->refresh();
    const CountedExits counted = table_->counted();
    setting_->setText(settingLine(escape_.setting(), counted.escapes));
    notice_->setVisible(table_->mixed());
    fit_->setText(goodnessOfFitLine(counted, table_->exact(), table_->mixed()));
    const ChartData charts = chartDataOf(*table_);
    frequencies_->draw(charts);
    convergence_->draw(charts);
}

void Auswertung::saveWithDialog(QWidget* dialogParent) {
    QString filter;
    QString path = QFileDialog::getSaveFileName(
        dialogParent, QStringLiteral("Ergebnisse speichern"),
        QDir::home().filePath(QStringLiteral("wexal-auswertung.csv")), saveFilters(), &filter);
    if (path.isEmpty()) return;
    if (!saveFormatFor(path)) path += QLatin1Char('.') + extensionOf(saveFormatOfFilter(filter));
    saveTo(path);
}

bool Auswertung::saveTo(const QString& path) {
    refreshIfStale();
    const std::optional<QString> error = saveResults(path, *table_);
    if (error) runtime_.messageBox(error->toStdString());
    return !error;
}

}  // namespace wexal::analysis
