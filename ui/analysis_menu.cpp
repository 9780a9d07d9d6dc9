// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis_menu.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QWidget>

#include "analysis/auswertung.h"
#include "analysis/zeitlupe.h"

namespace wexal {

AnalysisMenu::AnalysisMenu(QWidget& window, QWidget& mapFrame, QWidget& statisticsRow,
                           QAbstractButton& singleStep, QAbstractButton& restart, Escape& escape,
                           Runtime& runtime)
    : window_(window), escape_(escape), runtime_(runtime), singleStep_(singleStep), restart_(restart) {
    open_ = new QAction(QStringLiteral("&Auswertung…"), &window);
    open_->setShortcut(Qt::Key_F2);
    open_->setShortcutContext(Qt::WindowShortcut);
    save_ = new QAction(QStringLiteral("Ergebnisse &speichern…"), &window);
    window.addAction(open_);  // F2 works wherever the focus is in the window
    QObject::connect(open_, &QAction::triggered, &window, [this] { showAuswertung(); });
    QObject::connect(save_, &QAction::triggered, &window, [this] { saveResults(); });
    zeitlupe_ = new QAction(QStringLiteral("&Zeitlupe"), &window);
    zeitlupe_->setCheckable(true);
    QObject::connect(zeitlupe_, &QAction::triggered, &window, [this](bool on) { switchZeitlupe(on); });
    scenario_ = new QAction(QStringLiteral("Szenario ö&ffnen…"), &window);
    QObject::connect(scenario_, &QAction::triggered, &window, [this] { openScenarioWithDialog(); });

    for (QWidget* area : {&window, &mapFrame, &statisticsRow}) {
        area->setToolTip(QString::fromUtf8(kHint));
        area->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(area, &QWidget::customContextMenuRequested, &window,
                         [this, area](QPoint at) { popUp(area->mapToGlobal(at)); });
    }
}

AnalysisMenu::~AnalysisMenu() = default;

analysis::Auswertung& AnalysisMenu::auswertung() {
    if (!auswertung_) {
        auswertung_ = std::make_unique<analysis::Auswertung>(escape_, runtime_, &window_);
        analysis::Zeitlupe& walk = auswertung_->zeitlupe();
        walk.attach({[this] { singleStep_.click(); }, [this] { restart_.click(); }}, &window_);
        QObject::connect(&walk, &analysis::Zeitlupe::runningChanged, zeitlupe_, &QAction::setChecked);
    }
    return *auswertung_;
}

void AnalysisMenu::switchZeitlupe(bool on) {
    analysis::Zeitlupe& walk = auswertung().zeitlupe();
    on ? walk.start() : walk.stop();
}

void AnalysisMenu::showAuswertung() { auswertung().bringToFront(); }

void AnalysisMenu::saveResults() { auswertung().saveWithDialog(&window_); }

void AnalysisMenu::openScenarioWithDialog() {
    const QString path = QFileDialog::getOpenFileName(&window_, QStringLiteral("Szenario öffnen"), QDir::homePath(),
                                                      QStringLiteral("Szenarien (*.json);;Alle Dateien (*)"));
    if (path.isEmpty()) return;
    ScenarioReading reading = readScenarioFile(QFile::encodeName(path).toStdString());
    if (!reading.scenario) {
        runtime_.messageBox(reading.error);
        return;
    }
    openScenario(std::move(*reading.scenario));
}

void AnalysisMenu::openScenario(Scenario scenario) { escape_.openScenario(std::move(scenario)); }

void AnalysisMenu::popUp(QPoint globalPosition) {
    if (!menu_) {
        menu_ = std::make_unique<QMenu>();
        menu_->setObjectName(QStringLiteral("Auswertungsmenü"));
        menu_->addAction(open_);
        menu_->addAction(save_);
        menu_->addAction(zeitlupe_);
        menu_->addAction(scenario_);
    }
    menu_->popup(globalPosition);
}

}  // namespace wexal
