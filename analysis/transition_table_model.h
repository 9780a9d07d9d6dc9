// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QColor>

#include "sim/transitions.h"

namespace wexal::analysis {

// The transition matrix as a table: a row and a column per state, transient states first, then
// the exits; the blocks Q and R tinted; a last column with each row's exact sum.
class TransitionTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum class Block { Q, R, Exit };
    static inline const QColor kQColour{222, 234, 250};
    static inline const QColor kRColour{253, 232, 205};
    static inline const QColor kExitColour{238, 238, 238};

    explicit TransitionTableModel(QObject* parent = nullptr);

    void setMatrix(TransitionMatrix matrix);
    const TransitionMatrix& matrix() const { return matrix_; }
    // The column of the row sums, right of the last state.
    int sumColumn() const { return static_cast<int>(matrix_.size()); }
    Block blockOf(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TransitionMatrix matrix_;
};

}  // namespace wexal::analysis
