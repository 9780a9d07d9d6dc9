// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

#include "platform/runtime.h"
#include "sim/escape.h"
#include "sim/escape_observer.h"

class QChartView;
class QLabel;
class QPushButton;
class QTableView;

namespace wexal::analysis {

class ConvergenceChart;
class FrequencyChart;
class ResultTableModel;

// "Wexal – Auswertung": the counts beside the exact probabilities, as a table and two charts.
// A view of the escape like the main window: the escape's news only marks it stale, and a
// timer redraws at most ten times a second while it is shown.
class Auswertung final : public QWidget, private EscapeObserver {
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 100;

    Auswertung(Escape& escape, Runtime& runtime, QWidget* parent = nullptr);
    ~Auswertung() override;
    Auswertung(const Auswertung&) = delete;
    Auswertung& operator=(const Auswertung&) = delete;

    // Asks for a file name and saves there; a failure is shown in the runtime's message box.
    void saveWithDialog(QWidget* dialogParent);
    // Saves in the format of the path's extension; false, after the message box, on failure.
    bool saveTo(const QString& path);
    // Redraws now if the escape has moved on since the last redraw.
    void refreshIfStale();

    const ResultTableModel& table() const { return *table_; }
    const FrequencyChart& frequencyChart() const { return *frequencies_; }
    const ConvergenceChart& convergenceChart() const { return *convergence_; }
    const QLabel& notice() const { return *notice_; }
    const QLabel& goodnessOfFit() const { return *fit_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // EscapeObserver: every change that shows here only marks the window stale.
    void streetTaken(int /*from*/, int /*to*/, int /*penWidth*/) override {}
    void robberPlaced(int /*node*/) override {}
    void countsChanged() override { stale_ = true; }
    void countersCleared() override { stale_ = true; }
    void tracesCleared() override {}
    void barrierShown(int /*index*/, bool /*on*/) override { stale_ = true; }
    void turnBackShown(bool /*allowed*/) override { stale_ = true; }

    void refresh();

    Escape& escape_;
    Runtime& runtime_;
    ResultTableModel* table_ = nullptr;
    QTableView* tableView_ = nullptr;
    QLabel* setting_ = nullptr;
    QLabel* notice_ = nullptr;
    QLabel* fit_ = nullptr;
    FrequencyChart* frequencies_ = nullptr;
    ConvergenceChart* convergence_ = nullptr;
    QTimer refreshTimer_;
    bool stale_ = true;
};

}  // namespace wexal::analysis
