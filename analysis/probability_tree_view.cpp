// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/probability_tree_view.h"

#include <algorithm>
#include <utility>

#include <QFontMetricsF>
#include <QPainter>

namespace wexal::analysis {
namespace {

const QColor kInk{30, 30, 30};
const QColor kBranchInk{110, 110, 110};
const QColor kBank{255, 200, 90};
const QColor kHighlight{230, 110, 0};
constexpr double kLabelAlong = 0.75;  // where a branch carries its fraction, from its parent
constexpr double kHalf = 0.5;

// Sizes that follow the text, so the tree reads at any font size.
struct Measures {
    double line;
    double radius;
    double gap;
    double pen;
    double leaf;    // the least distance between two leaves
    double level;   // the least distance between two steps
    double margin;
};

// In lines of text.
constexpr double kRadius = 0.8;
constexpr double kGap = 0.3;
constexpr double kPen = 0.1;
constexpr double kLevel = 3.2;  // room for a fraction between two rows of nodes
constexpr double kMargin = 0.5;

Measures measuresFor(const QFontMetricsF& metrics, const std::vector<ProbabilityTreeView::Branch>& branches) {
    const double line = metrics.height();
    Measures m{line, kRadius * line, kGap * line, std::max(1.0, kPen * line), 0, kLevel * line, kMargin * line};
    double widest = 2 * m.radius;
    for (const auto& b : branches) {
        widest = std::max({widest, metrics.horizontalAdvance(b.fraction), metrics.horizontalAdvance(b.path)});
    }
    m.leaf = widest + 4 * m.gap;
    return m;
}

std::size_t leafCount(const std::vector<ProbabilityTreeView::Branch>& branches) {
    return static_cast<std::size_t>(std::count_if(branches.begin(), branches.end(), [](const auto& b) { return b.leaf; }));
}

// The room below the deepest row for the leaves' path products.
double belowLeaves(const Measures& m) { return m.gap + m.line; }

// Each branch's centre: leaves side by side in their order, every other branch midway between
// its first and last child, one row per step.
std::vector<QPointF> centresIn(const QRectF& area, const std::vector<ProbabilityTreeView::Branch>& branches,
                               int depth, const Measures& m) {
    const double leaves = static_cast<double>(std::max<std::size_t>(leafCount(branches), 1));
    const double column = std::max(m.leaf, (area.width() - 2 * m.margin) / leaves);
    const double usable = area.height() - 2 * m.margin - 2 * m.radius - belowLeaves(m);
    const double level = std::max(m.level, usable / std::max(depth, 1));
    std::vector<double> left(branches.size(), 0);
    std::vector<double> right(branches.size(), 0);
    std::vector<bool> placed(branches.size(), false);
    double slot = 0;
    for (std::size_t i = 0; i < branches.size(); ++i) {
        if (!branches[i].leaf) continue;
        left[i] = right[i] = area.left() + m.margin + (slot + kHalf) * column;
        placed[i] = true;
        ++slot;
    }
    // Children follow their parent, so a backward walk sees every child before its parent.
    for (std::size_t i = branches.size(); i-- > 1;) {
        const std::size_t p = branches[i].parent;
        left[p] = placed[p] ? std::min(left[p], left[i]) : left[i];
        right[p] = placed[p] ? std::max(right[p], right[i]) : right[i];
        placed[p] = true;
    }
    std::vector<QPointF> centres(branches.size());
    for (std::size_t i = 0; i < branches.size(); ++i) {
        centres[i] = {(left[i] + right[i]) / 2, area.top() + m.margin + m.radius + branches[i].depth * level};
    }
    return centres;
}

QString nodeText(int node) { return QString::number(node); }

}  // namespace

ProbabilityTreeView::ProbabilityTreeView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Baumdiagramm"));
    setAccessibleName(QStringLiteral("Baumdiagramm"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ProbabilityTreeView::setTree(const TransitionMatrix& matrix, const ProbabilityTree& tree, int depth) {
    branches_.clear();
    QStringList paths;
    std::vector<QString> routes;  // "1 → 2 → 4" per branch, for a screen reader
    for (const ProbabilityTree::Branch& b : tree.branches) {
        const ChainState& state = matrix.states[b.state];
        branches_.push_back({b.parent, b.depth, state.node, matrix.isExit(b.state), b.leaf,
                             QString::fromStdString(b.fraction.get_str()), QString::fromStdString(b.path.get_str())});
        routes.push_back(b.depth == 0 ? nodeText(state.node) : routes[b.parent] + QStringLiteral(" → ") + nodeText(state.node));
        if (b.leaf && b.depth > 0) paths << routes.back() + QStringLiteral(": ") + branches_.back().path;
    }
    depth_ = depth;
    setAccessibleDescription(QStringLiteral("Pfade nach %1 Schritten: ").arg(depth) + paths.join(QStringLiteral("; ")));
    updateGeometry();
    update();
}

void ProbabilityTreeView::setPath(std::vector<int> nodes) {
    if (nodes == path_) return;
    path_ = std::move(nodes);
    update();
}

std::vector<bool> ProbabilityTreeView::onPath() const {
    std::vector<bool> on(branches_.size(), false);
    for (std::size_t i = 0; i < branches_.size(); ++i) {
        const Branch& b = branches_[i];
        const auto step = static_cast<std::size_t>(b.depth);
        const bool parentOn = b.depth == 0 || on[b.parent];
        on[i] = parentOn && step < path_.size() && path_[step] == b.node;
    }
    return on;
}

QSizeF ProbabilityTreeView::smallestSize() const {
    const Measures m = measuresFor(QFontMetricsF(font(), this), branches_);
    const double leaves = static_cast<double>(std::max<std::size_t>(leafCount(branches_), 1));
    return {2 * m.margin + leaves * m.leaf, 2 * m.margin + 2 * m.radius + depth_ * m.level + belowLeaves(m)};
}

QSize ProbabilityTreeView::minimumSizeHint() const { return smallestSize().toSize() + QSize(1, 1); }

QSize ProbabilityTreeView::sizeHint() const { return minimumSizeHint(); }

void ProbabilityTreeView::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (branches_.empty()) return;
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(font(), this);
    const Measures m = measuresFor(metrics, branches_);
    const std::vector<QPointF> centres = centresIn(QRectF(rect()), branches_, depth_, m);
    const std::vector<bool> on = onPath();

    for (std::size_t i = 1; i < branches_.size(); ++i) {
        const QPointF from = centres[branches_[i].parent] + QPointF(0, m.radius);
        const QPointF to = centres[i] - QPointF(0, m.radius);
        p.setPen(QPen(on[i] ? kHighlight : kBranchInk, on[i] ? 3 * m.pen : m.pen));
        p.drawLine(from, to);
        // The fraction on its branch, nearer the child, where siblings have drawn apart.
        const QPointF at = from + (to - from) * kLabelAlong;
        const double width = metrics.horizontalAdvance(branches_[i].fraction) + 2 * m.gap;
        const QRectF label(at.x() - width / 2, at.y() - m.line / 2, width, m.line);
        p.fillRect(label, Qt::white);
        p.setPen(on[i] ? kHighlight : kInk);
        p.drawText(label, Qt::AlignCenter, branches_[i].fraction);
    }
    for (std::size_t i = 0; i < branches_.size(); ++i) {
        const Branch& b = branches_[i];
        const QPointF c = centres[i];
        const QRectF square(c.x() - m.radius, c.y() - m.radius, 2 * m.radius, 2 * m.radius);
        p.setPen(QPen(on[i] ? kHighlight : kInk, on[i] ? 3 * m.pen : m.pen));
        p.setBrush(b.depth == 0 ? kBank : QColor(Qt::white));
        if (b.exit) {
            p.drawRect(square);
        } else {
            p.drawEllipse(square);
        }
        p.setPen(kInk);
        p.drawText(square, Qt::AlignCenter, nodeText(b.node));
        if (b.leaf && b.depth > 0) {
            const QRectF product(c.x() - m.leaf / 2, c.y() + m.radius + m.gap, m.leaf, m.line);
            p.drawText(product, Qt::AlignCenter, b.path);
        }
    }
}

}  // namespace wexal::analysis
