// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/auswertung_page.h"
#include "platform/runtime.h"
#include "sim/escape.h"
#include "sim/escape_observer.h"
#include "sim/swarm.h"
#include "sim/transitions.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QSplitter;
class QTableView;
class QTableWidget;

namespace wexal::analysis {

class ProbabilityTreeView;
class StreetMap;
class TransitionTableModel;

// "Übergänge": the escape as a Markov chain beside the simulation. The transition matrix with
// its blocks Q and R (a click shows a state and its streets on the map); the exact distribution
// after n = 0 … 50 steps at every node of the map beside a seeded swarm's shares; the expected
// visits per junction beside those counted in the window's escapes; and the Baumdiagramm of the
// first k steps with the running escape's path. Everything exact is worked out again only when
// the setting changes.
class TransitionsPage final : public AuswertungPage, private EscapeObserver {
    Q_OBJECT

public:
    static constexpr int kLastStep = 50;
    static constexpr int kFewestRobbers = 100;
    static constexpr int kMostRobbers = 100000;
    static constexpr int kStartRobbers = 10000;
    static constexpr int kDeepestTree = 3;
    static constexpr std::uint64_t kFirstSeed = 1;

    TransitionsPage(Escape& escape, Runtime& runtime, QWidget* parent = nullptr);
    ~TransitionsPage() override;
    TransitionsPage(const TransitionsPage&) = delete;
    TransitionsPage& operator=(const TransitionsPage&) = delete;

    QString title() const override;
    void refresh() override;

    QSlider& stepSlider() const { return *steps_; }
    QCheckBox& decimals() const { return *decimals_; }
    QSpinBox& robbers() const { return *robbers_; }
    QPushButton& reroll() const { return *reroll_; }
    QSpinBox& treeDepth() const { return *treeDepth_; }
    QTableView& matrixView() const { return *matrixView_; }
    const TransitionTableModel& matrixModel() const { return *matrix_; }
    const StreetMap& map() const { return *map_; }
    const ProbabilityTreeView& tree() const { return *tree_; }
    const QTableWidget& visits() const { return *visits_; }
    std::uint64_t seed() const { return seed_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // EscapeObserver: the path of the running escape for the tree; the rest comes by refresh().
    void streetTaken(int from, int to, int penWidth) override;
    void robberPlaced(int node) override;

    QWidget* buildMatrix();
    QWidget* buildDistribution();
    QWidget* buildVisits();
    QWidget* buildTree();

    void settingChanged();
    void simulateSwarm();
    void showStep();
    void showTree();
    void showVisits();
    static constexpr int kWholeRow = -1;
    void highlightState(int row, int column);

    Escape& escape_;
    std::optional<Setting> shown_;  // whose exact values the page shows
    Setting walked_;                // the walk its swarm follows
    std::vector<NodeDistribution> distributions_;
    network::NodeArray<mpq_class> expectedVisits_;
    std::optional<Swarm> swarm_;
    std::uint64_t seed_ = kFirstSeed;
    std::vector<int> path_;
    bool stepping_ = false;

    QLabel* setting_ = nullptr;
    QLabel* statesSentence_ = nullptr;
    TransitionTableModel* matrix_ = nullptr;
    QTableView* matrixView_ = nullptr;
    QSlider* steps_ = nullptr;
    QLabel* stepShown_ = nullptr;
    QCheckBox* decimals_ = nullptr;
    QSpinBox* robbers_ = nullptr;
    QPushButton* reroll_ = nullptr;
    QLabel* swarmLine_ = nullptr;
    StreetMap* map_ = nullptr;
    QTableWidget* visits_ = nullptr;
    QLabel* visitsLine_ = nullptr;
    QSpinBox* treeDepth_ = nullptr;
    ProbabilityTreeView* tree_ = nullptr;
    QLabel* treeSums_ = nullptr;
    std::array<std::pair<QSplitter*, int>, 3> splitters_{};  // each with its first part's share
    bool shared_ = false;
};

// The note beside a node on the map: the exact chance (a fraction, or a decimal with a comma
// when asked or when the fraction is too long to read) over the swarm's share. Empty where
// neither is above 0.
QString stepNote(const mpq_class& probability, std::int64_t count, std::int64_t robbers, bool decimals);

}  // namespace wexal::analysis
