// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <vector>

#include <QString>
#include <QWidget>

#include "sim/transitions.h"

namespace wexal::analysis {

// The Baumdiagramm as a class draws it: the bank at the top, one row per step, every path its
// own branch with its fraction on it, every leaf with its path product below. It uses the space
// it is given and asks for enough that no two labels touch. The running escape's path so far is
// drawn in the highlight colour.
class ProbabilityTreeView final : public QWidget {
    Q_OBJECT

public:
    // One branch as drawn: where it hangs and what it says.
    struct Branch {
        std::size_t parent;
        int depth;
        int node;
        bool exit;
        bool leaf;
        QString fraction;  // the branch's own chance
        QString path;      // the product along the path from the bank
    };

    explicit ProbabilityTreeView(QWidget* parent = nullptr);

    void setTree(const TransitionMatrix& matrix, const ProbabilityTree& tree, int depth);
    // The nodes the running escape has stood on, the bank first; empty: none highlighted.
    void setPath(std::vector<int> nodes);

    const std::vector<Branch>& branches() const { return branches_; }
    // Whether branch i lies on the highlighted path.
    std::vector<bool> onPath() const;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF smallestSize() const;

    std::vector<Branch> branches_;
    int depth_ = 0;
    std::vector<int> path_;
};

}  // namespace wexal::analysis
