// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/results_page.h"

#include <algorithm>

#include <QChartView>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QResizeEvent>
#include <QTableView>
#include <QVBoxLayout>

#include "analysis/chart_style.h"
#include "analysis/class_page.h"
#include "analysis/convergence_chart.h"
#include "analysis/export.h"
#include "analysis/frequency_chart.h"
#include "analysis/result_table_model.h"
#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

// A chart's smallest size in lines of its text: below it the axis labels collide.
constexpr int kChartMinimumWidthLines = 24;
constexpr int kChartMinimumHeightLines = 15;
constexpr int kRowPadding = 6;  // pixels above and below a table row's text
constexpr const char* kNoticeStyle = "color: #a00000; font-weight: bold;";

QChartView* chartView(QChart* chart, const QString& name, const QString& spoken, QWidget* parent) {
    auto* view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setAccessibleName(spoken);
    view->setRenderHint(QPainter::Antialiasing);
    // A picture to look at and listen to, nothing to type into: the focus passes it by.
    view->setFocusPolicy(Qt::NoFocus);
    view->viewport()->setFocusPolicy(Qt::NoFocus);
    return view;
}

QLabel* label(const QString& name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setAccessibleName(name);
    l->setWordWrap(true);
    return l;
}

}  // namespace

ResultsPage::ResultsPage(Escape& escape, Runtime& /*runtime*/, QWidget* parent)
    : AuswertungPage(parent), escape_(escape) {
    setObjectName(QStringLiteral("Ergebnisse"));
    table_ = new ResultTableModel(escape_, this);
    tableView_ = new QTableView(this);
    tableView_->setObjectName(QStringLiteral("Ergebnistabelle"));
    tableView_->setAccessibleName(QStringLiteral("Ergebnistabelle"));
    tableView_->setAccessibleDescription(
        QStringLiteral("Jeder Ausgang mit Zählerbox, Lichtschranke, Anzahl, relativer Häufigkeit und "
                       "exakter Wahrscheinlichkeit; darunter gelungen, mißglückt und die Schritte je Wexal"));
    tableView_->setModel(table_);
    tableView_->verticalHeader()->hide();
    tableView_->setSelectionMode(QAbstractItemView::NoSelection);
    tableView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tableView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tableView_->setFocusPolicy(Qt::NoFocus);
    tableView_->viewport()->installEventFilter(this);

    setting_ = label(QStringLiteral("Einstellung"), this);
    notice_ = label(QStringLiteral("Hinweis"), this);
    notice_->setText(QString::fromStdString(wording::mixedSettingsNotice()));
    notice_->setStyleSheet(QString::fromUtf8(kNoticeStyle));
    notice_->hide();
    fit_ = label(QStringLiteral("Anpassungstest"), this);

    // Which counts the table and charts show; "Klasse" only once a class has been pooled.
    own_ = new QRadioButton(QStringLiteral("ei&gene Zählung"), this);
    own_->setObjectName(QStringLiteral("EigeneZaehlung"));
    own_->setAccessibleName(QStringLiteral("eigene Zählung"));
    own_->setChecked(true);
    classCounts_ = new QRadioButton(QStringLiteral("K&lasse"), this);
    classCounts_->setObjectName(QStringLiteral("KlassenZaehlung"));
    classCounts_->setAccessibleName(QStringLiteral("Klasse"));
    classCounts_->setEnabled(false);
    auto* counts = new QHBoxLayout;
    auto* countsLabel = new QLabel(QStringLiteral("Anzahlen:"), this);
    counts->addWidget(countsLabel);
    counts->addWidget(own_);
    counts->addWidget(classCounts_);
    counts->addStretch();
    // Who counted: the name row of the saved results file, which the class table shows.
    auto* nameLabel = new QLabel(QStringLiteral("&Name:"), this);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("Name"));
    name_->setAccessibleName(QStringLiteral("Name für die Ergebnisdatei"));
    name_->setPlaceholderText(QStringLiteral("Schülerin, Schüler oder Gruppe"));
    nameLabel->setBuddy(name_);
    counts->addWidget(nameLabel);
    counts->addWidget(name_);
    connect(classCounts_, &QRadioButton::toggled, this, [this] { updateClass(); });

    frequencies_ = new FrequencyChart;
    convergence_ = new ConvergenceChart;
    frequencyView_ = chartView(frequencies_, QStringLiteral("Häufigkeiten"),
                               QStringLiteral("Diagramm: relative Häufigkeit je Ausgang"), this);
    convergenceView_ = chartView(convergence_, QStringLiteral("Konvergenz"),
                                 QStringLiteral("Diagramm: Anteil der gelungenen Wexalen"), this);
    charts_ = new QGridLayout;
    if (parentWidget() != nullptr) parentWidget()->installEventFilter(this);

    auto* column = new QVBoxLayout(this);
    column->addWidget(setting_);
    column->addLayout(counts);
    column->addWidget(notice_);
    column->addWidget(tableView_);
    column->addWidget(fit_);
    column->addLayout(charts_, 1);
    fitToFont();
    refresh();
}

QString ResultsPage::title() const { return QStringLiteral("&Ergebnisse"); }

void ResultsPage::followClass(const ClassPage& page) {
    class_ = &page;
    connect(&page, &ClassPage::classChanged, this, [this] { updateClass(); });
    updateClass();
}

QString ResultsPage::pupilName() const { return name_->text(); }

bool ResultsPage::showsClass() const { return table_->classResults().has_value(); }

void ResultsPage::showClass(bool on) { (on ? classCounts_ : own_)->setChecked(true); }

// The class's pooled results into the table, or none, after the switch and the class page.
void ResultsPage::updateClass() {
    const std::optional<Results> pooled = class_ != nullptr ? class_->pooledResults() : std::nullopt;
    classCounts_->setEnabled(pooled.has_value());
    if (!pooled && classCounts_->isChecked()) own_->setChecked(true);  // toggles back here
    table_->showClass(classCounts_->isChecked() ? pooled : std::nullopt);
    refresh();
}

void ResultsPage::refresh() {
    refreshFirstHalf();
    refreshRest();
}

bool ResultsPage::refreshFirstHalf() {
    // Until refreshRest() the charts keep their last pictures: the first half lays them out and
    // repaints the table, the second repaints the charts, which take about as long.
    for (QChartView* view : {frequencyView_, convergenceView_}) {
        view->setViewportUpdateMode(QGraphicsView::NoViewportUpdate);
    }
    // The class is pooled under the escape's setting, which may have changed.
    if (showsClass()) table_->showClass(class_->pooledResults());
    table_->refresh();
    const CountedExits counted = table_->counted();
    QString setting = QString::fromStdString(wording::settingLine(escape_.setting(), counted.escapes));
    if (showsClass()) setting += QStringLiteral(" · die Klasse");
    if (const std::optional<Scenario>& scenario = escape_.scenario()) {
        setting += QLatin1Char('\n') + QString::fromStdString(wording::scenarioHeading(*scenario));
    }
    setting_->setText(setting);
    notice_->setVisible(table_->mixed());
    fit_->setText(QString::fromStdString(wording::goodnessOfFitLine(counted, table_->exact(), table_->mixed())));
    const ChartData charts = chartDataOf(*table_);
    frequencies_->draw(charts);
    convergence_->draw(charts);
    frequencyView_->setAccessibleDescription(QString::fromStdString(frequencyChartDescription(charts)));
    convergenceView_->setAccessibleDescription(QString::fromStdString(convergenceChartDescription(charts)));
    spreadColumns();
    return true;
}

void ResultsPage::refreshRest() {
    for (QChartView* view : {frequencyView_, convergenceView_}) {
        if (view->viewportUpdateMode() != QGraphicsView::NoViewportUpdate) continue;
        view->setViewportUpdateMode(QGraphicsView::MinimalViewportUpdate);
        view->viewport()->update();
    }
}

void ResultsPage::changeEvent(QEvent* event) {
    AuswertungPage::changeEvent(event);
    if (event->type() == QEvent::FontChange) fitToFont();
}

void ResultsPage::resizeEvent(QResizeEvent* event) {
    AuswertungPage::resizeEvent(event);
    arrangeCharts();
}

bool ResultsPage::event(QEvent* event) {
    // The room for the charts is what the page's parent (a scroll area's viewport) offers,
    // which may be less than the page's own width.
    if (event->type() == QEvent::ParentChange && parentWidget() != nullptr) parentWidget()->installEventFilter(this);
    return AuswertungPage::event(event);
}

bool ResultsPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (watched == tableView_->viewport()) spreadColumns();
        if (watched == parentWidget()) arrangeCharts();
    }
    return AuswertungPage::eventFilter(watched, event);
}

// The charts' texts and sizes follow the page's font; every row of the table shows, and the
// charts take whatever height is left.
void ResultsPage::fitToFont() {
    tableView_->horizontalHeader()->setFont(font());  // a style may give headers a font of their own
    setChartFonts(*frequencies_, font());
    setChartFonts(*convergence_, font());
    const int line = fontMetrics().height();
    chartMinimum_ = QSize(line * kChartMinimumWidthLines, line * kChartMinimumHeightLines);
    for (QChartView* view : {frequencyView_, convergenceView_}) view->setMinimumSize(chartMinimum_);
    tableView_->verticalHeader()->setDefaultSectionSize(line + kRowPadding);
    tableView_->setFixedHeight(tableView_->horizontalHeader()->sizeHint().height() +
                               tableView_->verticalHeader()->length() + 2 * tableView_->frameWidth());
    spreadColumns();
    arrangeCharts();
}

// Every column as wide as its widest text, and what is left shared out evenly; the table is
// never narrower than its texts, so a small window scrolls the page instead of cutting a column.
void ResultsPage::spreadColumns() {
    QHeaderView& header = *tableView_->horizontalHeader();
    const int columns = table_->columnCount();
    std::vector<int> widths;
    int total = 0;
    for (int c = 0; c < columns; ++c) {
        const QAbstractItemView& view = *tableView_;  // the hint is public there
        widths.push_back(std::max(header.sectionSizeHint(c), view.sizeHintForColumn(c)));
        total += widths.back();
    }
    tableView_->setMinimumWidth(total + 2 * tableView_->frameWidth());
    const int spare = std::max(0, tableView_->viewport()->width() - total);
    for (int c = 0; c < columns; ++c) {
        const int share = spare / columns + (c < spare % columns ? 1 : 0);
        header.resizeSection(c, widths[static_cast<std::size_t>(c)] + share);
    }
}

// Side by side where both fit, else one above the other.
void ResultsPage::arrangeCharts() {
    const int room = parentWidget() != nullptr ? std::min(width(), parentWidget()->width()) : width();
    const QMargins margins = layout()->contentsMargins();
    const int needed = 2 * chartMinimum_.width() + charts_->horizontalSpacing() + margins.left() + margins.right();
    const int across = room >= needed ? 2 : 1;
    if (across == chartsAcross_) return;
    chartsAcross_ = across;
    charts_->removeWidget(frequencyView_);
    charts_->removeWidget(convergenceView_);
    charts_->addWidget(frequencyView_, 0, 0);
    charts_->addWidget(convergenceView_, across == 2 ? 0 : 1, across == 2 ? 1 : 0);
}

}  // namespace wexal::analysis
