// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QPoint>

#include "platform/runtime.h"
#include "sim/escape.h"

class QAbstractButton;
class QAction;
class QMenu;
class QWidget;

namespace wexal {

namespace analysis {
class Auswertung;
}

// How the main window reaches the Auswertung without a control of its own: a context menu on
// the window's background, the map frame and the statistics row, and F2. Owns the one
// Auswertung, made on first use; its "Zeitlupe" steps and restarts with the window's own
// "Einzelschritt" and "Neustart".
class AnalysisMenu {
public:
    static constexpr const char* kHint = "Rechtsklick oder F2: Auswertung";

    // The menu opens on the window's background and on its two frames, which carry the hint.
    AnalysisMenu(QWidget& window, QWidget& mapFrame, QWidget& statisticsRow, QAbstractButton& singleStep,
                 QAbstractButton& restart, Escape& escape, Runtime& runtime);
    ~AnalysisMenu();
    AnalysisMenu(const AnalysisMenu&) = delete;
    AnalysisMenu& operator=(const AnalysisMenu&) = delete;

    void showAuswertung();
    void saveResults();
    void switchZeitlupe(bool on);
    // "Szenario öffnen…": the escapes follow a teacher's scenario from the next step on; a bad
    // file changes nothing and shows its one German line in the message box.
    void openScenarioWithDialog();
    void openScenario(Scenario scenario);

private:
    analysis::Auswertung& auswertung();
    void popUp(QPoint globalPosition);

    QWidget& window_;
    Escape& escape_;
    Runtime& runtime_;
    QAction* open_ = nullptr;
    QAction* save_ = nullptr;
    QAction* zeitlupe_ = nullptr;
    QAction* scenario_ = nullptr;
    QAbstractButton& singleStep_;
    QAbstractButton& restart_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<analysis::Auswertung> auswertung_;
};

}  // namespace wexal
