// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/transitions_page.h"

#include <algorithm>
#include <thread>
#include <utility>

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "analysis/probability_tree_view.h"
#include "analysis/street_map.h"
#include "analysis/transition_table_model.h"
#include "platform/german_number.h"
#include "sim/node_places.h"
#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

namespace nw = network;

constexpr std::size_t kLongestFraction = 8;  // characters; longer ones crowd the map
constexpr int kVisitDecimals = 4;
constexpr int kShareDecimals = 3;  // a swarm of at most 100,000 says no more
constexpr QSize kSmallestMap{320, 260};  // pixels; the map fits itself in, crowded but whole
constexpr int kRowPadding = 6;           // pixels above and below a table row's text
constexpr int kStartDepth = 2;
constexpr int kRobberStep = 100;
constexpr int kStepsPerTick = 5;  // the slider's marks, and how far Page Up moves it
constexpr int kMostThreads = 8;  // the swarm is the same for any number
constexpr int kPercent = 100;
constexpr int kMatrixShare = 47;  // percent of the top row's width; the map has the rest
constexpr int kTreeShare = 62;    // percent of the bottom row's width; the visits have the rest
constexpr int kTopShare = 60;     // percent of the height

QString text(const std::string& s) { return QString::fromStdString(s); }

bool roundedOnMap(const mpq_class& p, bool decimals) { return !decimals && p.get_str().size() > kLongestFraction; }


// "= 1/6", or "≈ 0,1667" when decimals are asked for or the fraction is too long to read.
QString exactText(const mpq_class& p, bool decimals) {
    if (decimals || roundedOnMap(p, decimals)) {
        return QStringLiteral("≈ ") + text(german::fixed(nearestDouble(p), kShareDecimals + 1));
    }
    return QStringLiteral("= ") + text(p.get_str());
}

QLabel* wrapped(const QString& content, const QString& name, QWidget* parent) {
    auto* label = new QLabel(content, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

QString colourName(const QColor& c) { return c.name(); }

QTableWidgetItem* cell(const QString& content) {
    auto* item = new QTableWidgetItem(content);
    item->setFlags(Qt::ItemIsEnabled);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

}  // namespace

QString stepNote(const mpq_class& probability, std::int64_t count, std::int64_t robbers, bool decimals) {
    if (probability == 0 && count == 0) return {};
    const QString share =
        robbers > 0 ? text(german::fixed(static_cast<double>(count) / static_cast<double>(robbers), kShareDecimals))
                    : QStringLiteral("–");
    return QStringLiteral("P %1\nh = %2").arg(exactText(probability, decimals), share);
}

TransitionsPage::TransitionsPage(Escape& escape, Runtime& /*runtime*/, QWidget* parent)
    : AuswertungPage(parent), escape_(escape) {
    setObjectName(QStringLiteral("UebergaengeSeite"));
    setting_ = new QLabel(this);
    setting_->setObjectName(QStringLiteral("EinstellungUebergaenge"));

    // The matrix beside the map with its distribution, the tree beside the visits below; the
    // splitters let a class give any of them the room.
    auto* top = new QSplitter(Qt::Horizontal);
    top->addWidget(buildMatrix());
    top->addWidget(buildDistribution());
    auto* bottom = new QSplitter(Qt::Horizontal);
    bottom->addWidget(buildTree());
    bottom->addWidget(buildVisits());
    auto* both = new QSplitter(Qt::Vertical, this);
    both->setObjectName(QStringLiteral("UebergaengeTeilung"));
    both->addWidget(top);
    both->addWidget(bottom);
    splitters_ = {{{top, kMatrixShare}, {bottom, kTreeShare}, {both, kTopShare}}};
    auto* column = new QVBoxLayout(this);
    column->addWidget(setting_);
    column->addWidget(both, 1);

    if (escape_.isRunning() && escape_.previousNode() == 0) path_ = {escape_.robberNode()};
    escape_.addObserver(this);
    refresh();
}

TransitionsPage::~TransitionsPage() { escape_.removeObserver(this); }

QWidget* TransitionsPage::buildMatrix() {
    auto* box = new QGroupBox(QStringLiteral("Übergangs&matrix"));
    box->setObjectName(QStringLiteral("Matrixteil"));
    statesSentence_ = wrapped({}, QStringLiteral("Zustaende"), box);
    const QString legend =
        QStringLiteral("<span style='background:%1'>&nbsp;Q&nbsp;</span> aus dem Netz ins Netz · "
                       "<span style='background:%2'>&nbsp;R&nbsp;</span> aus dem Netz in einen Ausgang · "
                       "<span style='background:%3'>&nbsp;Ausgänge&nbsp;</span> halten den Räuber fest. "
                       "Jede Zeile summiert sich zu 1. Ein Klick auf eine Zeile oder Zelle zeigt den "
                       "Zustand und seine Straßen auf dem Stadtplan.")
            .arg(colourName(TransitionTableModel::kQColour), colourName(TransitionTableModel::kRColour),
                 colourName(TransitionTableModel::kExitColour));
    auto* legendLabel = wrapped(legend, QStringLiteral("Blocklegende"), box);

    matrix_ = new TransitionTableModel(this);
    matrixView_ = new QTableView(box);
    matrixView_->setObjectName(QStringLiteral("Uebergangsmatrix"));
    matrixView_->setAccessibleName(QStringLiteral("Übergangsmatrix"));
    matrixView_->setModel(matrix_);
    matrixView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    matrixView_->setSelectionMode(QAbstractItemView::SingleSelection);
    matrixView_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    matrixView_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(matrixView_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid()) highlightState(index.row(), index.column());
            });
    connect(matrixView_->verticalHeader(), &QHeaderView::sectionClicked, this,
            [this](int row) { highlightState(row, kWholeRow); });

    auto* layout = new QVBoxLayout(box);
    layout->addWidget(statesSentence_);
    layout->addWidget(legendLabel);
    layout->addWidget(matrixView_, 1);
    return box;
}

QWidget* TransitionsPage::buildDistribution() {
    auto* box = new QGroupBox(QStringLiteral("Verteilung nach n Schritten"));
    box->setObjectName(QStringLiteral("Verteilungsteil"));
    steps_ = new QSlider(Qt::Horizontal, box);
    steps_->setObjectName(QStringLiteral("Schritte"));
    steps_->setAccessibleName(QStringLiteral("Schritte n"));
    steps_->setRange(0, kLastStep);
    steps_->setPageStep(kStepsPerTick);
    steps_->setTickPosition(QSlider::TicksBelow);
    steps_->setTickInterval(kStepsPerTick);
    auto* stepsLabel = new QLabel(QStringLiteral("Schritte &n:"), box);
    stepsLabel->setBuddy(steps_);
    stepShown_ = new QLabel(box);
    stepShown_->setObjectName(QStringLiteral("SchrittAnzeige"));
    decimals_ = new QCheckBox(QStringLiteral("De&zimalzahlen"), box);
    decimals_->setObjectName(QStringLiteral("Dezimalzahlen"));
    decimals_->setAccessibleName(QStringLiteral("Dezimalzahlen statt Brüche"));

    robbers_ = new QSpinBox(box);
    robbers_->setObjectName(QStringLiteral("Schwarmgroesse"));
    robbers_->setAccessibleName(QStringLiteral("Räuber im Schwarm"));
    robbers_->setRange(kFewestRobbers, kMostRobbers);
    robbers_->setSingleStep(kRobberStep);
    robbers_->setValue(kStartRobbers);
    robbers_->setKeyboardTracking(false);  // one new swarm per number, not per digit typed
    auto* robbersLabel = new QLabel(QStringLiteral("&Räuber im Schwarm:"), box);
    robbersLabel->setBuddy(robbers_);
    reroll_ = new QPushButton(QStringLiteral("Neu &würfeln"), box);
    reroll_->setObjectName(QStringLiteral("NeuWuerfeln"));
    reroll_->setAccessibleName(QStringLiteral("Neu würfeln"));
    swarmLine_ = new QLabel(box);
    swarmLine_->setObjectName(QStringLiteral("Schwarmzeile"));
    map_ = new StreetMap(box);
    map_->setMinimumSize(kSmallestMap);  // notes at every node must not push the window off the screen
    map_->setBoxLabels(false);            // the counter boxes are the Stadtplan's business

    connect(steps_, &QSlider::valueChanged, this, &TransitionsPage::showStep);
    connect(decimals_, &QCheckBox::toggled, this, &TransitionsPage::showStep);
    connect(robbers_, &QSpinBox::valueChanged, this, [this] {
        simulateSwarm();
        showStep();
    });
    connect(reroll_, &QPushButton::clicked, this, [this] {
        ++seed_;
        simulateSwarm();
        showStep();
    });

    auto* slider = new QHBoxLayout;
    slider->addWidget(stepsLabel);
    slider->addWidget(steps_, 1);
    slider->addWidget(stepShown_);
    auto* swarm = new QHBoxLayout;
    swarm->addWidget(decimals_);
    swarm->addStretch();
    swarm->addWidget(robbersLabel);
    swarm->addWidget(robbers_);
    swarm->addWidget(reroll_);
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(slider);
    layout->addLayout(swarm);
    layout->addWidget(swarmLine_);
    layout->addWidget(map_, 1);
    return box;
}

QWidget* TransitionsPage::buildVisits() {
    auto* box = new QGroupBox(QStringLiteral("Erwartete Besuche je Wexal"));
    box->setObjectName(QStringLiteral("Besuchsteil"));
    auto* explanation =
        wrapped(QStringLiteral("Die Zeile der Bank in (I − Q)⁻¹: wie oft der Räuber je Wexal an "
                               "jeder Kreuzung steht, daneben der Mittelwert der gezählten Wexalen."),
                QStringLiteral("Besuchserklaerung"), box);
    visits_ = new QTableWidget(0, 3, box);
    visits_->setObjectName(QStringLiteral("Besuche"));
    visits_->setAccessibleName(QStringLiteral("Erwartete und gezählte Besuche je Kreuzung"));
    visits_->setHorizontalHeaderLabels(
        {QStringLiteral("Kreuzung"), QStringLiteral("erwartet"), QStringLiteral("gezählt im Mittel")});
    visits_->verticalHeader()->hide();
    visits_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    visits_->setSelectionMode(QAbstractItemView::NoSelection);
    visitsLine_ = wrapped({}, QStringLiteral("Besuchszeile"), box);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(explanation);
    layout->addWidget(visits_);
    layout->addWidget(visitsLine_);
    return box;
}

QWidget* TransitionsPage::buildTree() {
    auto* box = new QGroupBox(QStringLiteral("Baumdiagramm"));
    box->setObjectName(QStringLiteral("Baumteil"));
    treeDepth_ = new QSpinBox(box);
    treeDepth_->setObjectName(QStringLiteral("Baumtiefe"));
    treeDepth_->setAccessibleName(QStringLiteral("Schritte im Baumdiagramm"));
    treeDepth_->setRange(1, kDeepestTree);
    treeDepth_->setValue(kStartDepth);
    auto* depthLabel = new QLabel(QStringLiteral("Baum&tiefe k:"), box);
    depthLabel->setBuddy(treeDepth_);
    tree_ = new ProbabilityTreeView;
    auto* scroll = new QScrollArea(box);
    scroll->setObjectName(QStringLiteral("BaumRollbereich"));
    scroll->setAccessibleName(QStringLiteral("Baumdiagramm, rollbar"));
    scroll->setWidgetResizable(true);  // the tree takes all the room there is
    scroll->setWidget(tree_);
    treeSums_ = wrapped({}, QStringLiteral("Baumsummen"), box);
    connect(treeDepth_, &QSpinBox::valueChanged, this, &TransitionsPage::showTree);

    auto* depth = new QHBoxLayout;
    depth->addWidget(depthLabel);
    depth->addWidget(treeDepth_);
    depth->addStretch();
    auto* layout = new QVBoxLayout(box);
    layout->addLayout(depth);
    layout->addWidget(scroll, 1);
    layout->addWidget(treeSums_);
    return box;
}

QString TransitionsPage::title() const { return QStringLiteral("Ü&bergänge"); }

// The matrix and the tree are the exact values the class is shown (the fair network's while a
// scenario is hidden); the swarm walks as the escapes do.
void TransitionsPage::refresh() {
    const Setting setting = escape_.exactSetting();
    if (!shown_ || *shown_ != setting || walked_ != escape_.setting()) {
        shown_ = setting;
        walked_ = escape_.setting();
        settingChanged();
    }
    setting_->setText(text(wording::settingLine(setting, escape_.attempts())));
    showVisits();
}

// The first time the page shows, its parts share its size as planned; after that the splitters
// stay where the class put them.
void TransitionsPage::showEvent(QShowEvent* event) {
    AuswertungPage::showEvent(event);
    if (shared_) return;
    shared_ = true;
    for (const auto& [splitter, share] : splitters_) {
        const int length = splitter->orientation() == Qt::Horizontal ? splitter->width() : splitter->height();
        splitter->setSizes({length * share / kPercent, length * (kPercent - share) / kPercent});
    }
}

void TransitionsPage::settingChanged() {
    const Setting& setting = *shown_;
    TransitionMatrix matrix = transitionMatrix(setting);
    distributions_ = distributionsUpTo(matrix, kLastStep);
    expectedVisits_ = expectedVisitsPerNode(matrix);
    matrix_->setMatrix(std::move(matrix));
    statesSentence_->setText(text(statesSentence(setting.turnBack)));
    map_->setSetting(setting);
    map_->setHighlights({}, 0);
    simulateSwarm();
    showStep();
    showTree();
}

void TransitionsPage::simulateSwarm() {
    const int threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMostThreads);
    swarm_ = wexal::simulateSwarm(escape_.setting(), robbers_->value(), kLastStep, seed_, threads);
    swarmLine_->setText(QStringLiteral("Schwarm: %1 Räuber, Startwert %2; h ist ihr Anteil am Knoten.")
                            .arg(text(german::count(robbers_->value())))
                            .arg(seed_));
}

void TransitionsPage::showStep() {
    const int n = steps_->value();
    const bool decimals = decimals_->isChecked();
    const NodeDistribution& exact = distributions_[static_cast<std::size_t>(n)];
    nw::NodeArray<QString> notes{};
    bool rounded = false;
    for (std::size_t node = 1; node < notes.size(); ++node) {
        const std::int64_t count = swarm_->after[static_cast<std::size_t>(n)][node];
        notes[node] = stepNote(exact[node], count, swarm_->robbers, decimals);
        rounded = rounded || roundedOnMap(exact[node], decimals);
    }
    map_->setNotes(notes);
    stepShown_->setText(QStringLiteral("n = %1%2").arg(n).arg(rounded ? QStringLiteral(" (lange Brüche gerundet, ≈)")
                                                                      : QString()));
}

void TransitionsPage::showTree() {
    const int k = treeDepth_->value();
    const TransitionMatrix& matrix = matrix_->matrix();
    const ProbabilityTree tree = probabilityTree(matrix, k);
    tree_->setTree(matrix, tree, k);
    tree_->setPath(path_);
    QStringList sums;
    for (int node : places::kExitsAroundTheMap) {
        const mpq_class& p = tree.endedWithin[static_cast<std::size_t>(node)];
        if (p != 0) sums << QStringLiteral("P(Ausgang %1) = %2").arg(node).arg(text(p.get_str()));
    }
    treeSums_->setText(QStringLiteral("Blätter am selben Ausgang addiert, nach höchstens %1 %2: %3. "
                                      "P(noch unterwegs) = %4.")
                           .arg(k)
                           .arg(k == 1 ? QStringLiteral("Schritt") : QStringLiteral("Schritten"))
                           .arg(sums.isEmpty() ? QStringLiteral("noch keiner") : sums.join(QStringLiteral(" · ")))
                           .arg(text(tree.stillRunning.get_str())));
}

void TransitionsPage::showVisits() {
    const std::int64_t escapes = escape_.attempts();
    auto mean = [escapes](std::int64_t visits) {
        if (escapes == 0) return QStringLiteral("–");
        return text(german::fixed(static_cast<double>(visits) / static_cast<double>(escapes), kVisitDecimals));
    };
    auto exact = [](const mpq_class& v) {
        return text(v.get_str()) + QStringLiteral(" ≈ ") + text(german::fixed(nearestDouble(v), kVisitDecimals));
    };
    std::vector<int> junctions;
    mpq_class total;
    for (int node = 1; node <= nw::kLastJunction; ++node) {
        const mpq_class& v = expectedVisits_[static_cast<std::size_t>(node)];
        total += v;
        if (v != 0) junctions.push_back(node);
    }
    visits_->setRowCount(static_cast<int>(junctions.size()) + 1);
    for (std::size_t r = 0; r < junctions.size(); ++r) {
        const int node = junctions[r];
        const auto row = static_cast<int>(r);
        visits_->setItem(row, 0, cell(node == nw::kStartNode ? QStringLiteral("1 (Bank)") : QString::number(node)));
        visits_->setItem(row, 1, cell(exact(expectedVisits_[static_cast<std::size_t>(node)])));
        visits_->setItem(row, 2, cell(mean(escape_.countedVisits(node))));
    }
    const auto sumRow = static_cast<int>(junctions.size());
    visits_->setItem(sumRow, 0, cell(QStringLiteral("zusammen = Schritte")));
    visits_->setItem(sumRow, 1, cell(exact(total)));
    visits_->setItem(sumRow, 2, cell(mean(escape_.countedSteps())));
    QString line = QStringLiteral("Gezählt: %1 seit „Zähler löschen“.").arg(text(wording::escapesText(escapes)));
    if (escape_.countsMixSettings()) line += QLatin1Char(' ') + text(wording::mixedSettingsNotice());
    visitsLine_->setText(line);
    // Every row shows, and the map above takes the rest.
    visits_->verticalHeader()->setDefaultSectionSize(visits_->fontMetrics().height() + kRowPadding);
    visits_->setFixedHeight(visits_->horizontalHeader()->sizeHint().height() + visits_->verticalHeader()->length() +
                            2 * visits_->frameWidth());
}

// The state's node ringed; the street it came by and those it may take next (or, for a cell,
// the one the cell is about) drawn as arrows. The column of the sums stands for the whole row.
void TransitionsPage::highlightState(int row, int column) {
    const TransitionMatrix& matrix = matrix_->matrix();
    if (row < 0 || row >= static_cast<int>(matrix.size())) return;
    const bool wholeRow = column < 0 || column >= static_cast<int>(matrix.size());
    const ChainState& state = matrix.states[static_cast<std::size_t>(row)];
    std::vector<Street> streets;
    if (state.from != 0) streets.push_back({state.from, state.node});
    for (std::size_t j = 0; j < matrix.size(); ++j) {
        const int next = matrix.states[j].node;
        const bool asked = wholeRow || static_cast<std::size_t>(column) == j;
        if (asked && matrix.p[static_cast<std::size_t>(row)][j] != 0 && next != state.node) {
            streets.push_back({state.node, next});
        }
    }
    map_->setHighlights(std::move(streets), state.node);
}

void TransitionsPage::streetTaken(int from, int to, int /*penWidth*/) {
    if (path_.empty() || path_.back() != from) path_ = {from};
    path_.push_back(to);
    stepping_ = true;
}

// A step places the robber after telling its street; a new escape places him at the bank
// without one.
void TransitionsPage::robberPlaced(int node) {
    if (!stepping_) path_ = {node};
    stepping_ = false;
    tree_->setPath(path_);
}

}  // namespace wexal::analysis
