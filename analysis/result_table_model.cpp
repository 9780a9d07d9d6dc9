// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/result_table_model.h"

#include "platform/german_number.h"
#include "sim/node_places.h"
#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

// Headings of more than one word take a line each: the columns stay as narrow as their numbers.
constexpr std::array<const char*, ResultTableModel::kColumnCount> kHeadings = {
    "Ausgang", "Zählerbox", "Lichtschranke", "Anzahl", "relative\nHäufigkeit",
    "Wahrscheinlichkeit", "dezimal"};
QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

QString shareCell(double value) { return fromUtf8(wording::share(value)); }

QString countCell(std::int64_t value) { return fromUtf8(german::count(value)); }

constexpr const char* kMixedProbabilityHeading = "Wahrscheinlichkeit\n(aktuelle Einstellung)";

// The three rows below the exits: their names, and for the steps the heading's meaning.
constexpr std::array<const char*, 3> kTotalNames = {"gelungen", "mißglückt", "Schritte je Wexal"};

}  // namespace

ResultTableModel::ResultTableModel(const Escape& escape, QObject* parent)
    : QAbstractTableModel(parent), escape_(escape), headingsMixed_(escape.countsMixSettings()) {}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kRowCount;
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

const ExactSolution& ResultTableModel::exact() const { return exact_.solutionFor(escape_.exactSetting()); }

void ResultTableModel::showClass(std::optional<Results> pooled) {
    class_ = std::move(pooled);
    refresh();
}

Tally ResultTableModel::tally() const {
    if (class_ && class_->tally) return *class_->tally;
    const Statistics statistics = escape_.statistics();
    return Tally{counted(), statistics.succeeded, statistics.failed, escape_.countedSteps()};
}

CountedExits ResultTableModel::counted() const {
    if (class_ && class_->tally) return class_->tally->exits;
    CountedExits counted{escape_.attempts(), {}};
    for (int i = 0; i < network::kBarrierCount; ++i) {
        counted.counts[static_cast<std::size_t>(i)] = escape_.exitCount(i);
    }
    return counted;
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole) {
        const bool words = index.column() <= kBarrier;
        return QVariant::fromValue(Qt::AlignVCenter | (words ? Qt::AlignLeft : Qt::AlignRight));
    }
    if (role == Qt::ToolTipRole && index.row() == kStepsRow) {
        return QStringLiteral("Anzahl: alle gezählten Schritte; daneben ihr Mittelwert je Wexal "
                              "und der Erwartungswert");
    }
    if (role != Qt::DisplayRole) return {};
    return cell(index.row(), index.column());
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= kColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (section == kFraction && headingsMixed_) return QString::fromUtf8(kMixedProbabilityHeading);
    return QString::fromUtf8(kHeadings[static_cast<std::size_t>(section)]);
}

void ResultTableModel::refresh() {
    if (headingsMixed_ != mixed()) {
        headingsMixed_ = mixed();
        emit headerDataChanged(Qt::Horizontal, kFraction, kFraction);
    }
    emit dataChanged(index(0, 0), index(kRowCount - 1, kColumnCount - 1), {Qt::DisplayRole});
}

int ResultTableModel::boxOfRow(int row) {
    return places::kBoxesAroundTheMap.at(static_cast<std::size_t>(row));
}

QString ResultTableModel::cell(int row, int column) const {
    return row < network::kBarrierCount ? exitCell(boxOfRow(row), column) : totalCell(row, column);
}

QString ResultTableModel::exitCell(int box, int column) const {
    const CountedExits shown = counted();
    const auto i = static_cast<std::size_t>(box);
    const std::int64_t count = shown.counts[i];
    switch (column) {
        case kExit: return QString::number(network::kExitOfBox[i]);
        case kBox: return QString::number(box);
        case kBarrier: return fromUtf8(wording::barrierState(escape_.setting().barriers[i]));
        case kCount: return countCell(count);
        case kFrequency:
            if (shown.escapes == 0) return QStringLiteral("–");
            return shareCell(static_cast<double>(count) / static_cast<double>(shown.escapes));
        case kFraction: return QString::fromStdString(exact().exitProbability[i].get_str());
        case kDecimal: return shareCell(nearestDouble(exact().exitProbability[i]));
        default: return {};
    }
}

QString ResultTableModel::totalCell(int row, int column) const {
    const Tally shown = tally();
    const ExactSolution& e = exact();
    std::optional<std::int64_t> count;  // none: the class's typed counts have no steps
    const mpq_class* probability = nullptr;
    switch (row) {
        case kSucceededRow: count = shown.succeeded; probability = &e.succeeded; break;
        case kFailedRow: count = shown.failed; probability = &e.failed; break;
        default: count = shown.steps; probability = &e.expectedSteps; break;
    }
    switch (column) {
        case kExit: return QString::fromUtf8(kTotalNames[static_cast<std::size_t>(row - kSucceededRow)]);
        case kCount: return count ? countCell(*count) : QStringLiteral("–");
        case kFrequency:
            if (shown.exits.escapes == 0 || !count) return QStringLiteral("–");
            return shareCell(static_cast<double>(*count) / static_cast<double>(shown.exits.escapes));
        case kFraction: return QString::fromStdString(probability->get_str());
        case kDecimal: return shareCell(nearestDouble(*probability));
        default: return {};
    }
}

}  // namespace wexal::analysis
