// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include <QStringList>

#include "analysis/auswertung_page.h"
#include "analysis/exact_cache.h"
#include "platform/runtime.h"
#include "sim/class_pool.h"
#include "sim/escape.h"

class QChartView;
class QLabel;
class QPlainTextEdit;
class QTableWidget;

namespace wexal::analysis {

class FunnelChart;

// "Klasse": the results files of a class, opened at once or dropped onto the Auswertung, and
// counts typed or pasted row by row, pooled under the escape's setting. A table of the pooled
// ones (name, escapes, succeeded share), those kept apart with the reason (another setting, a
// damaged file with its line), and the funnel of every share over its number of escapes. The
// class result is saved as a results file with the files in its rows, or as a PDF page.
class ClassPage final : public AuswertungPage {
    Q_OBJECT

public:
    ClassPage(Escape& escape, Runtime& runtime, QWidget* parent = nullptr);

    QString title() const override;
    void refresh() override;
    void applyTextScale(double scale) override;

    void openWithDialog();
    void addFiles(const QStringList& paths);
    // Rows of counts as typed or pasted, under the escape's current setting.
    void addTyped(const QString& text);
    void clearClass();
    void saveWithDialog();
    // Saves the class result as .csv (results file) or .pdf (a page); false, after the message
    // box, on failure.
    bool saveTo(const QString& path);

    // The class under the escape's current setting; none while no file is pooled.
    std::optional<Results> pooledResults() const;
    const ClassRoster& roster() const { return roster_; }

    // For the tests: what the page shows.
    const QTableWidget& classTable() const { return *pooled_; }
    const QTableWidget& apartTable() const { return *apart_; }
    const FunnelChart& funnel() const { return *funnel_; }
    const QLabel& summary() const { return *summary_; }
    QPlainTextEdit& typedInput() const { return *typed_; }

signals:
    // The files or rows of the class changed, or the setting they are pooled under.
    void classChanged();

private:
    void rebuild();

    Escape& escape_;
    Runtime& runtime_;
    ClassRoster roster_;
    ExactCache exact_;
    Setting shownFor_;
    QLabel* summary_ = nullptr;
    QTableWidget* pooled_ = nullptr;
    QTableWidget* apart_ = nullptr;
    QLabel* apartHeading_ = nullptr;
    QPlainTextEdit* typed_ = nullptr;
    FunnelChart* funnel_ = nullptr;
    QChartView* funnelView_ = nullptr;
};

}  // namespace wexal::analysis
