// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/auswertung_page.h"
#include "platform/runtime.h"
#include "sim/escape.h"

class QChartView;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableView;

namespace wexal::analysis {

class ClassPage;
class ConvergenceChart;
class FrequencyChart;
class ResultTableModel;

// "Ergebnisse": the setting, the table of every exit beside its exact probability, the
// goodness of fit and the two charts.
class ResultsPage final : public AuswertungPage {
    Q_OBJECT

public:
    ResultsPage(Escape& escape, Runtime& runtime, QWidget* parent = nullptr);

    QString title() const override;
    void refresh() override;
    // Every number and both charts' data are new after the first half; the charts' pictures
    // follow in the second.
    bool refreshFirstHalf() override;
    void refreshRest() override;

    // The switch between "eigene Zählung" and "Klasse": the table and charts show the class's
    // pooled counts while the class page has some and "Klasse" is chosen.
    void followClass(const ClassPage& page);
    bool showsClass() const;
    void showClass(bool on);
    // The pupil's or group's name that a saved results file carries; may be empty.
    QString pupilName() const;

    const ResultTableModel& table() const { return *table_; }
    const FrequencyChart& frequencyChart() const { return *frequencies_; }
    const ConvergenceChart& convergenceChart() const { return *convergence_; }
    const QLabel& notice() const { return *notice_; }
    const QLabel& goodnessOfFit() const { return *fit_; }

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitToFont();
    void spreadColumns();
    void arrangeCharts();

    void updateClass();

    Escape& escape_;
    const ClassPage* class_ = nullptr;
    QLineEdit* name_ = nullptr;
    QRadioButton* own_ = nullptr;
    QRadioButton* classCounts_ = nullptr;
    ResultTableModel* table_ = nullptr;
    QTableView* tableView_ = nullptr;
    QLabel* setting_ = nullptr;
    QLabel* notice_ = nullptr;
    QLabel* fit_ = nullptr;
    FrequencyChart* frequencies_ = nullptr;
    ConvergenceChart* convergence_ = nullptr;
    QChartView* frequencyView_ = nullptr;
    QChartView* convergenceView_ = nullptr;
    QGridLayout* charts_ = nullptr;
    QSize chartMinimum_;
    int chartsAcross_ = 0;
};

}  // namespace wexal::analysis
