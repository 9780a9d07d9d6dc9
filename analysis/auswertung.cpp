// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/auswertung.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "analysis/export.h"
#include "analysis/map_page.h"
#include "analysis/results_page.h"

namespace wexal::analysis {
namespace {

constexpr QSize kStartSize{1100, 820};  // pixels; fits beside the main window on 1920 × 1080

}  // namespace

Auswertung::Auswertung(Escape& escape, Runtime& runtime, QWidget* parent)
    : QWidget(parent, Qt::Window), escape_(escape), runtime_(runtime) {
    setObjectName(QStringLiteral("Auswertung"));
    setWindowTitle(QStringLiteral("Wexal – Auswertung"));
    setAttribute(Qt::WA_QuitOnClose, false);  // the program ends with its main window
    resize(kStartSize);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("Seiten"));
    addPages();
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { refreshIfStale(); });

    auto* save = new QPushButton(QStringLiteral("Ergebnisse &speichern…"), this);
    save->setObjectName(QStringLiteral("Speichern"));
    auto* close = new QPushButton(QStringLiteral("S&chließen"), this);
    close->setObjectName(QStringLiteral("Schliessen"));
    connect(save, &QPushButton::clicked, this, [this] { saveWithDialog(this); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);

    menus_ = new QMenuBar(this);
    menus_->setObjectName(QStringLiteral("Menüleiste"));
    buildMenus();
    auto* column = new QVBoxLayout(this);
    column->setMenuBar(menus_);
    column->addWidget(tabs_, 1);
    column->addLayout(buttons);

    refreshTimer_.setInterval(kRefreshMs);
    connect(&refreshTimer_, &QTimer::timeout, this, &Auswertung::refreshIfStale);
    escape_.addObserver(this);
    refreshIfStale();
}

Auswertung::~Auswertung() { escape_.removeObserver(this); }

// The pages in the order of their tabs; a new page is one line here.
void Auswertung::addPages() {
    results_ = addPage<ResultsPage>();
    addPage<MapPage>();
}

template <class Page>
Page* Auswertung::addPage() {
    auto* page = new Page(escape_, runtime_, tabs_);
    tabs_->addTab(page, page->title());
    pages_.push_back(page);
    pageNews_.push_back(0);
    return page;
}

void Auswertung::buildMenus() {
    QMenu* file = menus_->addMenu(QStringLiteral("&Datei"));
    file->setObjectName(QStringLiteral("Datei"));
    QAction* save = file->addAction(QStringLiteral("Ergebnisse &speichern…"), this,
                                    [this] { saveWithDialog(this); });
    save->setShortcut(QKeySequence::Save);
    file->addSeparator();
    file->addAction(QStringLiteral("S&chließen"), this, &QWidget::close);
}

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
    if (auto* page = dynamic_cast<AuswertungPage*>(tabs_->currentWidget())) bringUpToDate(*page);
}

void Auswertung::bringUpToDate(AuswertungPage& page) {
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i] != &page || pageNews_[i] == news_) continue;
        pageNews_[i] = news_;
        page.refresh();
    }
}

const ResultTableModel& Auswertung::table() const { return results_->table(); }
const FrequencyChart& Auswertung::frequencyChart() const { return results_->frequencyChart(); }
const ConvergenceChart& Auswertung::convergenceChart() const { return results_->convergenceChart(); }
const QLabel& Auswertung::notice() const { return results_->notice(); }
const QLabel& Auswertung::goodnessOfFit() const { return results_->goodnessOfFit(); }

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
    bringUpToDate(*results_);
    const std::optional<QString> error = saveResults(path, results_->table());
    if (error) runtime_.messageBox(error->toStdString());
    return !error;
}

}  // namespace wexal::analysis
