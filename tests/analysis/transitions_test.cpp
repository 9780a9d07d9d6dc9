// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Übergänge" offscreen: it follows the setting, the slider shows the hand-worked
// distributions on the map, the seeded swarm repeats, a click on the matrix shows a state's
// streets, the tree follows the running escape, and every control has a German name.
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <map>
#include <memory>

#include "analysis/probability_tree_view.h"
#include "analysis/street_map.h"
#include "analysis/transition_table_model.h"
#include "analysis/transitions_page.h"
#include "platform/headless_runtime.h"

using namespace wexal;
using namespace wexal::analysis;

namespace {

// An escape in the start setting with a page on it, shown so that keys and clicks reach it.
struct PageUnderTest {
    SeededRandom random{7};
    HeadlessRuntime runtime{std::make_unique<SeededRandom>(1)};
    Escape escape{random};
    TransitionsPage page{escape, runtime};

    PageUnderTest() {
        page.resize(1200, 900);
        page.show();
        (void)QTest::qWaitForWindowExposed(&page);
    }
    QString note(int node) const { return page.map().content().notes[static_cast<std::size_t>(node)]; }
    // Everything the map says at every node.
    QStringList notes() const {
        QStringList all;
        for (const QString& n : page.map().content().notes) all << n;
        return all;
    }
    int rowOf(const QString& label) const {
        const TransitionTableModel& model = page.matrixModel();
        for (int r = 0; r < model.rowCount(); ++r) {
            if (model.headerData(r, Qt::Vertical).toString() == label) return r;
        }
        return -1;
    }
};

using NodeNotes = std::map<int, QString>;

}  // namespace

class TransitionsPageTest : public QObject {
    Q_OBJECT

private slots:
    void followsTheSetting();
    void sliderShowsTheExactDistribution_data();
    void sliderShowsTheExactDistribution();
    void decimalsHaveAComma();
    void aSeededSwarmRepeats();
    void aMatrixClickShowsTheStateOnTheMap();
    void theTreeFollowsTheRunningEscape();
    void visitsStandBesideTheirExpectation();
    void everyControlHasAGermanName();
};

void TransitionsPageTest::followsTheSetting() {
    PageUnderTest t;
    QCOMPARE(t.page.matrixModel().rowCount(), 13);
    QVERIFY(t.rowOf(QStringLiteral("4 (von 2)")) > 0);
    t.escape.setTurnBack(true);
    t.page.refresh();
    QCOMPARE(t.rowOf(QStringLiteral("4 (von 2)")), -1);
    QCOMPARE(t.rowOf(QStringLiteral("4")), 3);
    QCOMPARE(t.page.matrixModel().data(t.page.matrixModel().index(1, 0)).toString(), QStringLiteral("1/4"));
    t.escape.setTurnBack(false);
    t.escape.setBarrier(5, false);
    t.page.refresh();
    QVERIFY(t.rowOf(QStringLiteral("4 (von 5)")) > 0);
    QVERIFY(!t.page.map().content().setting.barriers[5]);
}

void TransitionsPageTest::sliderShowsTheExactDistribution_data() {
    QTest::addColumn<int>("steps");
    QTest::addColumn<NodeNotes>("exact");  // every node with a chance above 0
    QTest::addRow("n = 0: at the bank") << 0 << NodeNotes{{1, "1"}};
    QTest::addRow("n = 1: 2 or 3") << 1 << NodeNotes{{2, "1/2"}, {3, "1/2"}};
    QTest::addRow("n = 2: a sixth each")
        << 2 << NodeNotes{{4, "1/6"}, {5, "1/6"}, {7, "1/6"}, {9, "1/6"}, {10, "1/6"}, {11, "1/6"}};
}

// The arrow keys move the slider, as a pupil at the board would.
void TransitionsPageTest::sliderShowsTheExactDistribution() {
    QFETCH(int, steps);
    QFETCH(NodeNotes, exact);
    PageUnderTest t;
    t.page.stepSlider().setFocus();
    for (int n = 0; n < steps; ++n) QTest::keyClick(&t.page.stepSlider(), Qt::Key_Right);
    QCOMPARE(t.page.stepSlider().value(), steps);
    for (int node = 1; node <= network::kLastNode; ++node) {
        const QString note = t.note(node);
        const auto hand = exact.find(node);
        if (hand == exact.end()) {
            QVERIFY2(note.isEmpty(), qPrintable(QStringLiteral("node %1: %2").arg(node).arg(note)));
        } else {
            QVERIFY2(note.startsWith(QStringLiteral("P = ") + hand->second + QStringLiteral("\nh = 0,")) ||
                         note == QStringLiteral("P = 1\nh = 1,000"),
                     qPrintable(QStringLiteral("node %1: %2").arg(node).arg(note)));
        }
    }
}

void TransitionsPageTest::decimalsHaveAComma() {
    PageUnderTest t;
    t.page.stepSlider().setValue(2);
    t.page.decimals().click();
    QVERIFY2(t.note(4).startsWith(QStringLiteral("P ≈ 0,1667\n")), qPrintable(t.note(4)));
    t.page.stepSlider().setValue(50);  // under "nein" long over: the exits keep their chances
    QVERIFY2(t.note(6).startsWith(QStringLiteral("P ≈ 0,1389\n")), qPrintable(t.note(6)));
}

// The same seed gives the same 10,000 robbers in another page; "Neu würfeln" draws another
// swarm, and the next seed again the same one everywhere.
void TransitionsPageTest::aSeededSwarmRepeats() {
    PageUnderTest first;
    PageUnderTest second;
    QCOMPARE(first.page.robbers().value(), 10000);
    for (int n : {1, 2, 3}) {
        first.page.stepSlider().setValue(n);
        second.page.stepSlider().setValue(n);
        QCOMPARE(first.notes(), second.notes());
    }
    const QStringList before = first.notes();
    first.page.reroll().click();
    QCOMPARE(first.page.seed(), TransitionsPage::kFirstSeed + 1);
    QVERIFY(first.notes() != before);
    second.page.reroll().click();
    QCOMPARE(first.notes(), second.notes());
}

void TransitionsPageTest::aMatrixClickShowsTheStateOnTheMap() {
    PageUnderTest t;
    QTableView& view = t.page.matrixView();
    const int row = t.rowOf(QStringLiteral("4 (von 2)"));
    const int exit6 = t.rowOf(QStringLiteral("6"));  // states are rows and columns alike
    const QRect cell = view.visualRect(t.page.matrixModel().index(row, exit6));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(t.page.map().content().highlightedNode, 4);
    QCOMPARE(t.page.map().content().highlightedStreets, (std::vector<Street>{{2, 4}, {4, 6}}));

    QHeaderView& rows = *view.verticalHeader();
    QTest::mouseClick(rows.viewport(), Qt::LeftButton, {}, 
                      QPoint(rows.width() / 2, rows.sectionViewportPosition(row) + rows.sectionSize(row) / 2));
    QCOMPARE(t.page.map().content().highlightedStreets, (std::vector<Street>{{2, 4}, {4, 6}, {4, 13}}));
}

// Step by step the tree lights the path taken so far, at most as deep as it reaches; a new
// escape starts again at the bank.
void TransitionsPageTest::theTreeFollowsTheRunningEscape() {
    PageUnderTest t;
    std::vector<int> walked{t.escape.robberNode()};
    for (int step = 0; step < 2; ++step) {
        t.escape.singleStep();
        walked.push_back(t.escape.robberNode());
        const ProbabilityTreeView& tree = t.page.tree();
        const std::vector<bool> on = tree.onPath();
        std::vector<int> lit;
        for (std::size_t i = 0; i < on.size(); ++i) {
            if (on[i]) lit.push_back(tree.branches()[i].node);
        }
        QCOMPARE(lit, walked);
    }
    t.escape.wholeEscape();
    t.escape.restart();
    const std::vector<bool> on = t.page.tree().onPath();
    QCOMPARE(std::count(on.begin(), on.end(), true), 1);
    QVERIFY(on[0]);
}

void TransitionsPageTest::visitsStandBesideTheirExpectation() {
    PageUnderTest t;
    const QTableWidget& visits = t.page.visits();
    QCOMPARE(visits.rowCount(), 6);  // junctions 1 to 5 and their sum
    QCOMPARE(visits.item(3, 1)->text(), QStringLiteral("1/6 ≈ 0,1667"));
    QCOMPARE(visits.item(5, 1)->text(), QStringLiteral("7/3 ≈ 2,3333"));
    QCOMPARE(visits.item(0, 2)->text(), QStringLiteral("–"));
    t.escape.fiftyEscapes();
    t.page.refresh();
    QCOMPARE(visits.item(0, 2)->text(), QStringLiteral("1,0000"));  // under "nein" the bank once
    const double steps = QString(visits.item(5, 2)->text()).replace(u',', u'.').toDouble();
    QCOMPARE(steps, static_cast<double>(t.escape.countedSteps()) / 50);
}

// Everything that takes the focus says in German what it is.
void TransitionsPageTest::everyControlHasAGermanName() {
    PageUnderTest t;
    int controls = 0;
    for (QWidget* w : t.page.findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractSlider*>(w) != nullptr || qobject_cast<QAbstractButton*>(w) != nullptr ||
                             qobject_cast<QAbstractSpinBox*>(w) != nullptr || qobject_cast<QAbstractItemView*>(w) != nullptr;
        if (!control || (w->focusPolicy() & Qt::TabFocus) == 0) continue;
        ++controls;
        QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
    }
    QCOMPARE(controls, 7);  // matrix, slider, decimals, swarm size, reroll, visits, tree depth
}

QTEST_MAIN(TransitionsPageTest)
#include "transitions_test.moc"
