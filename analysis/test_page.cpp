// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/test_page.h"

#include <array>
#include <chrono>
#include <type_traits>
#include <utility>
#include <vector>

#include <QAbstractItemView>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "analysis/binomial_chart.h"
#include "platform/german_number.h"
#include "sim/node_places.h"
#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

namespace nw = network;

constexpr int kShareDecimals = 4;
constexpr int kLevelDecimals = 2;
constexpr int kStartLevel = 1;  // of the level list: 5 %
constexpr int kStartTrials = 100;  // typed n, until the class types its own
// The rows of the hypothesis' grid.
enum GridRow { kTargetRow, kExactP0Row, kTypedP0Row, kCountedRow, kTypedNRow, kLevelRow, kSidedRow };
constexpr const char* kProblemStyle = "color: #a00000;";
constexpr const char* kDecisionStyle = "font-weight: bold;";

QString text(const std::string& s) { return QString::fromStdString(s); }

// The levels a class uses, and the last entry that lets it type its own.
struct Level {
    const char* shown;
    unsigned long denominator;  // of 1 / denominator; 0 for "eigenes"
};
constexpr std::array kLevels{Level{"1 %", 100}, Level{"5 %", 20}, Level{"10 %", 10}, Level{"eigenes:", 0}};

constexpr std::array kSides{std::pair{"zweiseitig", Sided::Both}, std::pair{"linksseitig", Sided::Left},
                            std::pair{"rechtsseitig", Sided::Right}};

template <class Widget>
Widget* named(Widget* widget, const char* name, const QString& spoken) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setAccessibleName(spoken);
    if constexpr (std::is_same_v<Widget, QComboBox>) widget->view()->setAccessibleName(spoken);  // its list
    return widget;
}

QLabel* line(const char* name, QWidget* parent) {
    auto* label = named(new QLabel(parent), name, QString::fromUtf8(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// The combo box's entries in the table's order: each exit, then "gefasst" and "gelungen".
std::vector<TestTarget> targets() {
    std::vector<TestTarget> all;
    all.reserve(places::kBoxesAroundTheMap.size() + 2);
    for (const int box : places::kBoxesAroundTheMap) all.push_back({TestTarget::Kind::Exit, box});
    all.push_back({TestTarget::Kind::Caught, 0});
    all.push_back({TestTarget::Kind::Succeeded, 0});
    return all;
}

std::uint64_t clockSeed() {
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

}  // namespace

TestPage::TestPage(Escape& escape, Runtime& /*runtime*/, QWidget* parent)
    : AuswertungPage(parent), escape_(escape) {
    setObjectName(QStringLiteral("TestSeite"));
    heading_ = line("Testüberschrift", this);
    problem_ = line("Eingabeproblem", this);
    problem_->setStyleSheet(QString::fromUtf8(kProblemStyle));
    chart_ = new BinomialChart(this);

    auto* top = new QHBoxLayout;
    top->addWidget(buildInputs());
    top->addWidget(buildResults(), 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(heading_);
    column->addLayout(top);
    column->addWidget(problem_);
    column->addWidget(chart_, 1);
    connect(&seriesWatcher_, &QFutureWatcher<int>::finished, this, [this] { showSeries(seriesWatcher_.result()); });
    refresh();
}

TestPage::~TestPage() {
    seriesWatcher_.disconnect();
    seriesWatcher_.waitForFinished();
}

QString TestPage::title() const { return QStringLiteral("&Test"); }

QWidget* TestPage::buildInputs() {
    auto* box = named(new QGroupBox(QStringLiteral("Hypothese")), "Hypothese", QStringLiteral("Hypothese"));
    auto* grid = new QGridLayout(box);
    const auto again = [this] { recompute(); };

    target_ = named(new QComboBox(box), "Ziel", QStringLiteral("Was gezählt wird"));
    for (const TestTarget& t : targets()) target_->addItem(text(t.name()));
    auto* targetLabel = new QLabel(QStringLiteral("&Gezählt:"), box);
    targetLabel->setBuddy(target_);
    grid->addWidget(targetLabel, kTargetRow, 0);
    grid->addWidget(target_, kTargetRow, 1, 1, 2);

    exactP0_ = named(new QRadioButton(QStringLiteral("H0: p₀ e&xakt"), box), "P0Exakt",
                     QStringLiteral("p₀ ist die exakte Wahrscheinlichkeit"));
    p0Shown_ = line("P0Wert", box);
    typedP0_ = named(new QRadioButton(QStringLiteral("e&igenes p₀:"), box), "P0Eigenes",
                     QStringLiteral("eigenes p₀ eingeben"));
    p0Text_ = named(new QLineEdit(box), "P0Eingabe", QStringLiteral("p₀ als Bruch oder Dezimalzahl"));
    p0Text_->setPlaceholderText(QStringLiteral("1/6 oder 0,1667"));
    grid->addWidget(exactP0_, kExactP0Row, 0);
    grid->addWidget(p0Shown_, kExactP0Row, 1, 1, 2);
    grid->addWidget(typedP0_, kTypedP0Row, 0);
    grid->addWidget(p0Text_, kTypedP0Row, 1, 1, 2);

    countedN_ = named(new QRadioButton(QStringLiteral("n und k gezäh&lt"), box), "NGezaehlt",
                      QStringLiteral("n und k sind die gezählten Wexalen"));
    typedN_ = named(new QRadioButton(QStringLiteral("eigenes &n, k:"), box), "NEigenes",
                    QStringLiteral("n und k eingeben"));
    n_ = named(new QSpinBox(box), "NEingabe", QStringLiteral("n, die Anzahl der Wexalen"));
    n_->setRange(1, static_cast<int>(BinomialDistribution::kMaxTrials));
    n_->setValue(kStartTrials);
    n_->setPrefix(QStringLiteral("n = "));
    k_ = named(new QSpinBox(box), "KEingabe", QStringLiteral("k, die beobachtete Anzahl"));
    k_->setRange(0, static_cast<int>(BinomialDistribution::kMaxTrials));
    k_->setPrefix(QStringLiteral("k = "));
    for (QSpinBox* spin : {n_, k_}) {
        for (QLineEdit* digits : spin->findChildren<QLineEdit*>()) digits->setAccessibleName(spin->accessibleName());
    }
    grid->addWidget(countedN_, kCountedRow, 0, 1, 3);
    grid->addWidget(typedN_, kTypedNRow, 0);
    grid->addWidget(n_, kTypedNRow, 1);
    grid->addWidget(k_, kTypedNRow, 2);

    alpha_ = named(new QComboBox(box), "Niveau", QStringLiteral("Signifikanzniveau α"));
    for (const Level& level : kLevels) alpha_->addItem(QString::fromUtf8(level.shown));
    alpha_->setCurrentIndex(kStartLevel);
    alphaText_ = named(new QLineEdit(box), "NiveauEingabe", QStringLiteral("eigenes Signifikanzniveau α"));
    alphaText_->setPlaceholderText(QStringLiteral("2,5 % oder 0,025"));
    auto* alphaLabel = new QLabel(QStringLiteral("Ni&veau α:"), box);
    alphaLabel->setBuddy(alpha_);
    grid->addWidget(alphaLabel, kLevelRow, 0);
    grid->addWidget(alpha_, kLevelRow, 1);
    grid->addWidget(alphaText_, kLevelRow, 2);

    sided_ = named(new QComboBox(box), "Testart", QStringLiteral("Testart: zweiseitig, linksseitig oder rechtsseitig"));
    for (const auto& [shown, sided] : kSides) sided_->addItem(QString::fromUtf8(shown));
    auto* sidedLabel = new QLabel(QStringLiteral("Testa&rt:"), box);
    sidedLabel->setBuddy(sided_);
    grid->addWidget(sidedLabel, kSidedRow, 0);
    grid->addWidget(sided_, kSidedRow, 1, 1, 2);

    connect(target_, &QComboBox::currentIndexChanged, this, again);
    connect(alpha_, &QComboBox::currentIndexChanged, this, again);
    connect(sided_, &QComboBox::currentIndexChanged, this, again);
    for (QLineEdit* edit : {p0Text_, alphaText_}) connect(edit, &QLineEdit::textChanged, this, again);
    for (QSpinBox* spin : {n_, k_}) connect(spin, &QSpinBox::valueChanged, this, again);
    // Two choices of two radio buttons each, in one box: each pair is a group of its own.
    for (const auto& [first, second] : {std::pair{exactP0_, typedP0_}, std::pair{countedN_, typedN_}}) {
        auto* group = new QButtonGroup(box);
        group->addButton(first);
        group->addButton(second);
        first->setChecked(true);
        connect(first, &QRadioButton::toggled, this, again);
    }
    return box;
}

QWidget* TestPage::buildResults() {
    auto* box = named(new QGroupBox(QStringLiteral("Entscheidung")), "Entscheidung", QStringLiteral("Entscheidung"));
    region_ = line("Bereiche", box);
    actualAlpha_ = line("TatsaechlichesNiveau", box);
    decision_ = line("Entscheidungssatz", box);
    decision_->setStyleSheet(QString::fromUtf8(kDecisionStyle));
    series_ = named(new QPushButton(QStringLiteral("&100 Serien"), box), "HundertSerien",
                    QStringLiteral("100 Serien von n Wexalen testen"));
    series_->setToolTip(QStringLiteral("100 neue Serien von je n Wexalen unter dem jetzigen Netz, jede getestet"));
    seriesResult_ = line("Serienergebnis", box);
    reveal_ = named(new QPushButton(QStringLiteral("A&uflösung zeigen"), box), "Aufloesung",
                    QStringLiteral("Auflösung des Szenarios zeigen"));
    weights_ = line("Gewichte", box);
    connect(series_, &QPushButton::clicked, this, [this] { startSeries(clockSeed()); });
    connect(reveal_, &QPushButton::clicked, this, [this] { escape_.revealScenario(); });

    auto* column = new QVBoxLayout(box);
    for (QWidget* w : std::initializer_list<QWidget*>{region_, actualAlpha_, decision_, series_, seriesResult_, reveal_, weights_}) {
        column->addWidget(w);
    }
    column->addStretch();
    return box;
}

void TestPage::refresh() {
    QString heading = text(wording::settingLine(escape_.setting(), escape_.attempts()));
    const std::optional<Scenario>& scenario = escape_.scenario();
    if (scenario) heading += QLatin1Char('\n') + text(wording::scenarioHeading(*scenario));
    heading_->setText(heading);
    reveal_->setVisible(scenario && scenario->hidden);
    weights_->setVisible(scenario && !scenario->hidden);
    if (scenario) weights_->setText(QStringLiteral("Gewichte: ") + text(wording::weightsText(scenario->weights)));
    recompute();
}

std::optional<mpq_class> TestPage::typedOrExactP0(const ExactSolution& shown, QString& problem) const {
    const TestTarget target = targets()[static_cast<std::size_t>(target_->currentIndex())];
    const mpq_class exact = target.probability(shown);
    p0Shown_->setText(QStringLiteral("= %1 ≈ %2")
                          .arg(text(exact.get_str()), text(german::fixed(nearestDouble(exact), kShareDecimals))));
    if (exactP0_->isChecked()) return exact;
    std::optional<mpq_class> typed = probabilityFromText(p0Text_->text().toStdString());
    if (!typed) problem = QStringLiteral("p₀ bitte als Bruch oder Dezimalzahl von 0 bis 1, etwa 1/6 oder 0,25.");
    return typed;
}

std::optional<mpq_class> TestPage::chosenAlpha(QString& problem) const {
    const Level& level = kLevels[static_cast<std::size_t>(alpha_->currentIndex())];
    alphaText_->setEnabled(level.denominator == 0);
    if (level.denominator != 0) return mpq_class(1, level.denominator);
    std::optional<mpq_class> typed = probabilityFromText(alphaText_->text().toStdString());
    if (!typed || *typed < mpq_class(1, kSmallestAlphaDenominator) || *typed >= 1) {
        problem = QStringLiteral("α bitte über 0 und unter 1, etwa 2,5 % oder 0,025.");
        return std::nullopt;
    }
    return typed;
}

void TestPage::recompute() {
    test_.reset();
    QString problem;
    const TestTarget target = targets()[static_cast<std::size_t>(target_->currentIndex())];
    p0Text_->setEnabled(typedP0_->isChecked());
    n_->setEnabled(typedN_->isChecked());
    k_->setEnabled(typedN_->isChecked());
    const std::optional<mpq_class> p0 = typedOrExactP0(shownExact_.solutionFor(escape_.exactSetting()), problem);
    const std::optional<mpq_class> alpha = chosenAlpha(problem);
    std::int64_t n = n_->value();
    std::int64_t k = k_->value();
    if (countedN_->isChecked()) {
        std::array<std::int64_t, nw::kBarrierCount> counts{};
        for (int box = 0; box < nw::kBarrierCount; ++box) counts[static_cast<std::size_t>(box)] = escape_.exitCount(box);
        n = escape_.attempts();
        k = target.count(counts, escape_.setting());
        countedN_->setText(QStringLiteral("n und k gezäh&lt: n = %1, k = %2")
                               .arg(text(german::count(n)), text(german::count(k))));
        // One H0 holds for one setting: counts under several are no sample of B(n, p0).
        if (escape_.countsMixSettings()) {
            problem = QStringLiteral("Die gezählten Wexalen mischen mehrere Einstellungen: erst „Zähler löschen“ "
                                     "oder n und k eingeben.");
        }
        if (n == 0) problem = QStringLiteral("Noch keine Wexal gezählt: erst Wexalen laufen lassen oder n und k eingeben.");
        if (n > BinomialDistribution::kMaxTrials) problem = QStringLiteral("Zu viele Wexalen für den Test: n bitte eingeben.");
    } else if (k > n) {
        problem = QStringLiteral("k kann nicht größer als n sein.");
    }
    problem_->setText(problem);
    problem_->setVisible(!problem.isEmpty());
    if (!problem.isEmpty() || !p0 || !alpha) {
        for (QLabel* l : {region_, actualAlpha_, decision_}) l->clear();
        chart_->clear();
        series_->setEnabled(false);
        return;
    }

    const Sided sided = kSides[static_cast<std::size_t>(sided_->currentIndex())].second;
    const BinomialDistribution h0(n, *p0);
    const AcceptanceRegion region = acceptanceRegion(h0, *alpha, sided);
    test_ = Test{target, n, k, *p0, *alpha, sided, region};
    region_->setText(QStringLiteral("Annahmebereich: %1\nAblehnungsbereich: %2")
                         .arg(text(wording::regionText(region)), text(wording::rejectionText(region, n))));
    actualAlpha_->setText(QStringLiteral("tatsächliches Signifikanzniveau: %1 (%2)")
                              .arg(text(german::fixed(region.actualAlpha, kShareDecimals)),
                                   text(german::percent(region.actualAlpha, kLevelDecimals))));
    decision_->setText(text(wording::decisionSentence(k, region, *alpha)));
    BinomialBars bars = binomialBars(h0, region, k);
    chart_->setAccessibleDescription(binomialChartDescription(bars, h0));
    chart_->setBars(std::move(bars));

    const bool running = seriesWatcher_.isRunning();
    series_->setEnabled(!running && n <= kMostSeriesEscapes);
    series_->setToolTip(n <= kMostSeriesEscapes
                            ? QStringLiteral("100 neue Serien von je n Wexalen unter dem jetzigen Netz, jede getestet")
                            : QStringLiteral("Höchstens %1 Wexalen je Serie").arg(text(german::count(kMostSeriesEscapes))));
    const bool sameTest = seriesTest_ && seriesTest_->target == target && seriesTest_->n == n &&
                          seriesTest_->region == region;
    if (!running && !sameTest) seriesResult_->clear();
}

void TestPage::startSeries(std::uint64_t seed) {
    if (!test_ || test_->n > kMostSeriesEscapes || seriesWatcher_.isRunning()) return;
    seriesTest_ = test_;
    seriesSeed_ = seed;
    series_->setEnabled(false);
    seriesResult_->setText(QStringLiteral("100 Serien von je %1 Wexalen laufen … (Startwert %2)")
                               .arg(text(german::count(test_->n)))
                               .arg(seed));
    seriesWatcher_.setFuture(QtConcurrent::run([walk = escape_.setting(), test = *test_, seed] {
        return rejectedSeries(walk, test.target, test.n, test.region, seed, kSeries);
    }));
}

std::optional<bool> TestPage::walkIsFair(const Test& test) {
    const std::optional<Scenario>& scenario = escape_.scenario();
    if (scenario && scenario->hidden) return std::nullopt;
    return test.target.probability(trueExact_.solutionFor(escape_.setting())) == test.p0;
}

void TestPage::showSeries(int rejected) {
    const Test& test = *seriesTest_;
    seriesResult_->setText(text(wording::seriesSentence(rejected, kSeries, test.region.actualAlpha, walkIsFair(test))) +
                           QStringLiteral(" (Startwert %1)").arg(seriesSeed_));
    recompute();
    emit seriesDone(rejected);
}

}  // namespace wexal::analysis
