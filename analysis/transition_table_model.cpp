// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/transition_table_model.h"

#include <utility>

namespace wexal::analysis {
namespace {

const QColor kZeroInk{150, 150, 150};  // zeros recede, so the chances stand out

// "4 (von 2)" in two lines, so that the columns stay narrow.
QString headingOf(const ChainState& state) {
    return QString::fromStdString(stateLabel(state)).replace(QStringLiteral(" ("), QStringLiteral("\n("));
}

}  // namespace

TransitionTableModel::TransitionTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TransitionTableModel::setMatrix(TransitionMatrix matrix) {
    beginResetModel();
    matrix_ = std::move(matrix);
    endResetModel();
}

TransitionTableModel::Block TransitionTableModel::blockOf(int row, int column) const {
    if (matrix_.isExit(static_cast<std::size_t>(row))) return Block::Exit;
    return matrix_.isExit(static_cast<std::size_t>(column)) ? Block::R : Block::Q;
}

int TransitionTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(matrix_.size());
}

int TransitionTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(matrix_.size()) + 1;
}

QVariant TransitionTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const auto& row = matrix_.p[static_cast<std::size_t>(index.row())];
    if (index.column() == sumColumn()) {
        mpq_class sum;
        for (const mpq_class& p : row) sum += p;
        if (role == Qt::DisplayRole) return QString::fromStdString(sum.get_str());
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
        return {};
    }
    const mpq_class& p = row[static_cast<std::size_t>(index.column())];
    switch (role) {
        case Qt::DisplayRole: return QString::fromStdString(p.get_str());
        case Qt::TextAlignmentRole: return int(Qt::AlignCenter);
        case Qt::ForegroundRole: return p == 0 ? QVariant(kZeroInk) : QVariant();
        case Qt::BackgroundRole:
            switch (blockOf(index.row(), index.column())) {
                case Block::Q: return kQColour;
                case Block::R: return kRColour;
                case Block::Exit: return kExitColour;
            }
            return {};
        case Qt::AccessibleTextRole:
            return QStringLiteral("von %1 nach %2: %3")
                .arg(QString::fromStdString(stateLabel(matrix_.states[static_cast<std::size_t>(index.row())])),
                     QString::fromStdString(stateLabel(matrix_.states[static_cast<std::size_t>(index.column())])),
                     QString::fromStdString(p.get_str()));
        default: return {};
    }
}

QVariant TransitionTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
    if (orientation == Qt::Horizontal && section == sumColumn()) return QStringLiteral("Summe");
    if (section < 0 || section >= static_cast<int>(matrix_.size())) return {};
    const ChainState& state = matrix_.states[static_cast<std::size_t>(section)];
    if (role == Qt::AccessibleTextRole) return QString::fromStdString(stateLabel(state));
    return orientation == Qt::Horizontal ? headingOf(state) : QString::fromStdString(stateLabel(state));
}

}  // namespace wexal::analysis
