// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>

#include <QAbstractTableModel>

#include "analysis/exact_cache.h"
#include "sim/escape.h"
#include "sim/results_file.h"

namespace wexal::analysis {

// The Auswertung's table: a row per exit in the order around the map, the succeeded and failed totals and the steps per
// escape, each with its count, its relative frequency and the exact probability as a reduced
// fraction and as a decimal. It reads every number from the escape when asked and keeps none;
// refresh() tells the views that the escape has moved on. Switched to a class, it shows the
// class's pooled counts beside the same exact values.
class ResultTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { kExit, kBox, kBarrier, kCount, kFrequency, kFraction, kDecimal, kColumnCount };
    static constexpr int kSucceededRow = network::kBarrierCount;
    static constexpr int kFailedRow = kSucceededRow + 1;
    static constexpr int kStepsRow = kFailedRow + 1;
    static constexpr int kRowCount = kStepsRow + 1;

    explicit ResultTableModel(const Escape& escape, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Every cell may have changed; the headings too when the series began or stopped mixing.
    void refresh();

    // The counter box whose exit row `row` (0..7) shows.
    static int boxOfRow(int row);

    // The class's pooled results instead of the escape's own counts ("Klasse"), or again the
    // own counts ("eigene Zählung") with none. The class stands under the escape's setting.
    void showClass(std::optional<Results> pooled);
    const std::optional<Results>& classResults() const { return class_; }

    // The solution for the escape's current setting.
    const ExactSolution& exact() const;
    // What the table shows: the escape's counts, or the class's.
    CountedExits counted() const;
    Tally tally() const;
    bool mixed() const { return !class_ && escape_.countsMixSettings(); }
    const Escape& escape() const { return escape_; }

private:
    QString cell(int row, int column) const;
    QString exitCell(int box, int column) const;
    QString totalCell(int row, int column) const;

    const Escape& escape_;
    std::optional<Results> class_;
    mutable ExactCache exact_;
    bool headingsMixed_ = false;
};

}  // namespace wexal::analysis
