// SPDX-License-Identifier: GPL-3.0-or-later
// The Auswertung's numbers without a window: the table against the exact solver and the
// escape's counts, the goodness-of-fit line, the band and the charts' data.
#include <QTest>

#include "analysis/chart_data.h"
#include "analysis/convergence_chart.h"
#include "analysis/result_table_model.h"
#include <QSet>
#include "platform/random_source.h"
#include "sim/escape.h"
#include "sim/result_wording.h"

using namespace wexal;
using namespace wexal::analysis;
using Model = ResultTableModel;

namespace {

QString cell(const Model& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
}

// German decimals as the table writes them, to four places.
QString share(double value) { return QString::number(value, 'f', 4).replace(u'.', u','); }

QString fitLine(const Model& model, bool mixed) {
    return QString::fromStdString(wording::goodnessOfFitLine(model.counted(), model.exact(), mixed));
}

void runEscapes(Escape& escape, int count) {
    for (int n = 0; n < count; ++n) {
        escape.wholeEscape();
        escape.restart();
    }
}

Setting settingFrom(const QString& barriers, bool turnBack) {
    Setting setting;
    for (int i = 0; i < network::kBarrierCount; ++i) setting.barriers[i] = barriers[i] == u'1';
    setting.turnBack = turnBack;
    return setting;
}

}  // namespace

class ResultTable : public QObject {
    Q_OBJECT

private slots:
    void startSettingShowsTheWorkedExample();
    void fractionsFollowTheSetting_data();
    void fractionsFollowTheSetting();
    void countsAndFrequenciesAreTheEscapes();
    void headingSaysWhenTheCountsMixSettings();
    void goodnessOfFitWaitsForFiveExpectedPerExit();
    void bandNarrowsAroundP_data();
    void bandNarrowsAroundP();
    void escapesAxisSaysWhatTheChartCovers_data();
    void escapesAxisSaysWhatTheChartCovers();
    void escapesAxisEndsAtNWithRoundTicks_data();
    void escapesAxisEndsAtNWithRoundTicks();
    void escapesAxisTicksHoldForEveryN();
    void chartsDescribeWhatTheyShow();
};

// "nein", barriers 10110101: the worked example of the lesson.
void ResultTable::startSettingShowsTheWorkedExample() {
    SeededRandom random(1);
    Escape escape(random);
    const Model model(escape);
    QCOMPARE(model.rowCount(), 11);
    QCOMPARE(model.columnCount(), 7);
    QCOMPARE(cell(model, Model::kSucceededRow, Model::kExit), QStringLiteral("gelungen"));
    QCOMPARE(cell(model, Model::kSucceededRow, Model::kFraction), QStringLiteral("11/36"));
    QCOMPARE(cell(model, Model::kSucceededRow, Model::kDecimal), QStringLiteral("0,3056"));
    QCOMPARE(cell(model, Model::kFailedRow, Model::kExit), QStringLiteral("mißglückt"));
    QCOMPARE(cell(model, Model::kFailedRow, Model::kFraction), QStringLiteral("25/36"));
    QCOMPARE(cell(model, Model::kStepsRow, Model::kExit), QStringLiteral("Schritte je Wexal"));
    QCOMPARE(cell(model, Model::kStepsRow, Model::kFraction), QStringLiteral("7/3"));
    QCOMPARE(cell(model, Model::kStepsRow, Model::kDecimal), QStringLiteral("2,3333"));
    // Exit 6 behind counter box 5, guarded at start.
    QCOMPARE(cell(model, 5, Model::kExit), QStringLiteral("6"));
    QCOMPARE(cell(model, 5, Model::kBox), QStringLiteral("5"));
    QCOMPARE(cell(model, 5, Model::kBarrier), QStringLiteral("an"));
    QCOMPARE(cell(model, 5, Model::kFraction), QStringLiteral("5/36"));
    QCOMPARE(cell(model, 1, Model::kBarrier), QStringLiteral("aus"));
    QCOMPARE(cell(model, 0, Model::kFrequency), QStringLiteral("–"));  // nothing counted yet
    const QStringList headings{"Ausgang", "Zählerbox", "Lichtschranke", "Anzahl",
                               "relative\nHäufigkeit", "Wahrscheinlichkeit", "dezimal"};
    for (int c = 0; c < model.columnCount(); ++c) {
        QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), headings[c]);
    }
}

void ResultTable::fractionsFollowTheSetting_data() {
    QTest::addColumn<QString>("barriers");
    QTest::addColumn<bool>("turnBack");
    QTest::addRow("start setting") << "10110101" << false;
    QTest::addRow("barrier 5 off: node 6 no exit") << "10110001" << false;
    QTest::addRow("ja") << "10110101" << true;
    QTest::addRow("ja, every barrier off") << "00000000" << true;
    QTest::addRow("nein, every barrier on") << "11111111" << false;
}

// Switched on the escape as the window's controls switch it: every fraction is the solver's.
void ResultTable::fractionsFollowTheSetting() {
    QFETCH(QString, barriers);
    QFETCH(bool, turnBack);
    SeededRandom random(2);
    Escape escape(random);
    Model model(escape);
    (void)model.exact();  // solved once for the start setting; the switch must solve again
    const Setting target = settingFrom(barriers, turnBack);
    for (int i = 0; i < network::kBarrierCount; ++i) escape.setBarrier(i, target.barriers[i]);
    escape.setTurnBack(turnBack);
    model.refresh();

    const ExactSolution exact = solveExactly(target);
    for (int row = 0; row < network::kBarrierCount; ++row) {
        const int box = Model::boxOfRow(row);
        QCOMPARE(cell(model, row, Model::kExit), QString::number(network::kExitOfBox[box]));
        QCOMPARE(cell(model, row, Model::kFraction), QString::fromStdString(exact.exitProbability[box].get_str()));
        QCOMPARE(cell(model, row, Model::kDecimal), share(nearestDouble(exact.exitProbability[box])));
        QCOMPARE(cell(model, row, Model::kBarrier), target.barriers[box] ? QStringLiteral("an") : QStringLiteral("aus"));
    }
    QCOMPARE(cell(model, Model::kSucceededRow, Model::kFraction), QString::fromStdString(exact.succeeded.get_str()));
    QCOMPARE(cell(model, Model::kFailedRow, Model::kFraction), QString::fromStdString(exact.failed.get_str()));
    QCOMPARE(cell(model, Model::kStepsRow, Model::kFraction), QString::fromStdString(exact.expectedSteps.get_str()));
    QCOMPARE(cell(model, Model::kStepsRow, Model::kDecimal), share(nearestDouble(exact.expectedSteps)));
}

void ResultTable::countsAndFrequenciesAreTheEscapes() {
    SeededRandom random(3);
    Escape escape(random);
    Model model(escape);
    runEscapes(escape, 700);
    model.refresh();
    std::int64_t sum = 0;
    for (int row = 0; row < network::kBarrierCount; ++row) {
        const std::int64_t count = escape.exitCount(Model::boxOfRow(row));
        sum += count;
        QCOMPARE(cell(model, row, Model::kCount), QString::number(count));
        QCOMPARE(cell(model, row, Model::kFrequency), share(static_cast<double>(count) / 700));
    }
    QCOMPARE(sum, 700);
    QCOMPARE(cell(model, Model::kSucceededRow, Model::kCount), QString::number(escape.statistics().succeeded));
    QCOMPARE(cell(model, Model::kFailedRow, Model::kCount), QString::number(escape.statistics().failed));
    QCOMPARE(cell(model, Model::kStepsRow, Model::kCount).remove(QChar(0x202F)),
             QString::number(escape.countedSteps()));
    QCOMPARE(cell(model, Model::kStepsRow, Model::kFrequency),
             share(static_cast<double>(escape.countedSteps()) / 700));
}

void ResultTable::headingSaysWhenTheCountsMixSettings() {
    SeededRandom random(4);
    Escape escape(random);
    Model model(escape);
    int headerSignals = 0;
    connect(&model, &QAbstractItemModel::headerDataChanged, this, [&headerSignals] { ++headerSignals; });
    const QString plain = QStringLiteral("Wahrscheinlichkeit");
    const QString current = QStringLiteral("Wahrscheinlichkeit\n(aktuelle Einstellung)");

    escape.setTurnBack(true);  // before anything is counted: still one setting
    runEscapes(escape, 10);
    model.refresh();
    QCOMPARE(model.headerData(Model::kFraction, Qt::Horizontal).toString(), plain);
    escape.setBarrier(1, true);
    model.refresh();
    QCOMPARE(model.headerData(Model::kFraction, Qt::Horizontal).toString(), current);
    QCOMPARE(headerSignals, 1);
    escape.clearCounters();
    model.refresh();
    QCOMPARE(model.headerData(Model::kFraction, Qt::Horizontal).toString(), plain);
    QCOMPARE(headerSignals, 2);
}

// The least likely exit at start has 1/18: 90 escapes expect 5 there, 89 do not.
void ResultTable::goodnessOfFitWaitsForFiveExpectedPerExit() {
    SeededRandom random(5);
    Escape escape(random);
    const Model model(escape);
    runEscapes(escape, 89);
    QVERIFY(fitLine(model, false).endsWith(QStringLiteral("(ab 90 Wexalen)")));
    runEscapes(escape, 1);
    const QString line = fitLine(model, false);
    QVERIFY2(line.contains(QStringLiteral("Chi² = ")) && line.contains(QStringLiteral("Freiheitsgrade 7, p-Wert ")),
             qPrintable(line));
    QVERIFY(fitLine(model, true).contains(QStringLiteral("nicht sinnvoll")));
}

void ResultTable::bandNarrowsAroundP_data() {
    QTest::addColumn<double>("p");
    QTest::addColumn<qlonglong>("escapes");
    QTest::addRow("11/36 over 1000") << 11.0 / 36 << 1000LL;
    QTest::addRow("11/36 over a million") << 11.0 / 36 << 1000000LL;
    QTest::addRow("three escapes") << 0.5 << 3LL;
    QTest::addRow("certain success") << 1.0 << 50LL;
}

void ResultTable::bandNarrowsAroundP() {
    QFETCH(double, p);
    QFETCH(qlonglong, escapes);
    const std::vector<BandPoint> band = confidenceBand(p, escapes);
    QVERIFY(!band.empty());
    QCOMPARE(band.front().escapes, 1.0);
    QCOMPARE(band.back().escapes, static_cast<double>(escapes));
    QVERIFY(band.size() <= static_cast<std::size_t>(kBandSamples) + 40);
    for (std::size_t i = 0; i < band.size(); ++i) {
        const double half = 1.96 * std::sqrt(p * (1 - p) / band[i].escapes);
        QCOMPARE(band[i].lower, std::max(0.0, p - half));
        QCOMPARE(band[i].upper, std::min(1.0, p + half));
        if (i > 0) QVERIFY(band[i].escapes > band[i - 1].escapes);
    }
}

void ResultTable::escapesAxisSaysWhatTheChartCovers_data() {
    QTest::addColumn<qlonglong>("escapes");
    QTest::addColumn<qlonglong>("stride");
    QTest::addColumn<QString>("title");
    QTest::addRow("none") << 0LL << 1LL << "Anzahl der Wexalen k: noch keine gezählt";
    QTest::addRow("every escape") << 1000LL << 1LL << "Anzahl der Wexalen k: 1 bis 1000";
    QTest::addRow("thinned") << 1000000LL << 256LL << "Anzahl der Wexalen k: 1 bis 1\u202F000\u202F000, jede 256. ein Punkt";
}

void ResultTable::escapesAxisSaysWhatTheChartCovers() {
    QFETCH(qlonglong, escapes);
    QFETCH(qlonglong, stride);
    QFETCH(QString, title);
    QCOMPARE(escapesAxisTitle(escapes, stride), title);
}

void ResultTable::escapesAxisEndsAtNWithRoundTicks_data() {
    QTest::addColumn<qlonglong>("escapes");
    QTest::addColumn<qlonglong>("step");
    QTest::addRow("none") << 0LL << 1LL;
    QTest::addRow("one") << 1LL << 1LL;
    QTest::addRow("five") << 5LL << 1LL;
    QTest::addRow("seven") << 7LL << 2LL;
    QTest::addRow("1005, not 2000") << 1005LL << 200LL;
    QTest::addRow("three thousand") << 3000LL << 1000LL;
    QTest::addRow("thirty thousand") << 30000LL << 10000LL;
    QTest::addRow("a million") << 1000000LL << 200000LL;
    QTest::addRow("just below a round end") << 999999LL << 200000LL;
    QTest::addRow("wexal-sim's most") << 1000000000000LL << 200000000000LL;
}

// The chart's escapes axis runs from 0 to n; its ticks are 0, s, 2s, ... up to n, with s one of
// 1, 2, 5 times a power of ten, and their labels are never repeated.
void ResultTable::escapesAxisEndsAtNWithRoundTicks() {
    QFETCH(qlonglong, escapes);
    QFETCH(qlonglong, step);
    const std::vector<std::int64_t> ticks = escapeTicks(escapes);
    QVERIFY(ticks.size() >= 2 && ticks.size() <= static_cast<std::size_t>(kMaxEscapeTicks));
    for (std::size_t i = 0; i < ticks.size(); ++i) QCOMPARE(ticks[i], static_cast<std::int64_t>(i) * step);
    QVERIFY(ticks.back() <= std::max<qlonglong>(escapes, 1));
    QVERIFY(ticks.back() + step > escapes);

    ConvergenceChart chart;
    ChartData data;
    data.escapes = escapes;
    chart.draw(data);
    const QStringList labels = chart.escapesAxisLabels();
    QCOMPARE(labels.size(), static_cast<qsizetype>(ticks.size()));
    QCOMPARE(QSet<QString>(labels.begin(), labels.end()).size(), labels.size());
    QCOMPARE(QString(labels.last()).remove(QChar(0x202F)), QString::number(ticks.back()));
}

// The same properties for every n up to 20 000 and for n near every power of ten.
void ResultTable::escapesAxisTicksHoldForEveryN() {
    std::vector<std::int64_t> all;
    for (std::int64_t n = 0; n <= 20000; ++n) all.push_back(n);
    for (std::int64_t p = 100000; p <= 1000000000000; p *= 10) all.insert(all.end(), {p - 1, p, p + 1, 3 * p});
    for (const std::int64_t n : all) {
        const std::vector<std::int64_t> ticks = escapeTicks(n);
        const std::int64_t step = ticks.at(1);
        QVERIFY2(ticks.size() >= 2 && ticks.size() <= static_cast<std::size_t>(kMaxEscapeTicks), qPrintable(QString::number(n)));
        QVERIFY2(ticks.back() <= std::max<std::int64_t>(n, 1) && ticks.back() + step > n, qPrintable(QString::number(n)));
    }
}

void ResultTable::chartsDescribeWhatTheyShow() {
    SeededRandom random(6);
    Escape escape(random);
    const Model model(escape);
    const ChartData empty = chartData(escape.setting(), model.counted(), escape.shareHistory(), model.exact());
    QVERIFY(QString::fromStdString(convergenceChartDescription(empty)).endsWith(QStringLiteral("Noch keine Wexal gezählt.")));
    runEscapes(escape, 400);
    const ChartData data = chartData(escape.setting(), model.counted(), escape.shareHistory(), model.exact());
    const QString bars = QString::fromStdString(frequencyChartDescription(data));
    qsizetype last = -1;
    for (int row = 0; row < network::kBarrierCount; ++row) {
        const int box = Model::boxOfRow(row);
        const QString said = QStringLiteral("Ausgang %1: Anteil %2, Wahrscheinlichkeit %3 ≈ %4")
                                 .arg(network::kExitOfBox[box])
                                 .arg(share(static_cast<double>(escape.exitCount(box)) / 400),
                                      cell(model, row, Model::kFraction), cell(model, row, Model::kDecimal));
        const qsizetype at = bars.indexOf(said);
        QVERIFY2(at > last, qPrintable(said));
        last = at;
    }
    const QString line = QString::fromStdString(convergenceChartDescription(data));
    QVERIFY2(line.contains(QStringLiteral("Nach 400 Wexalen ist der Anteil %1;")
                               .arg(share(static_cast<double>(escape.statistics().succeeded) / 400))),
             qPrintable(line));
    QVERIFY(line.contains(QStringLiteral("p = 11/36 ≈ 0,3056")));
}

QTEST_MAIN(ResultTable)
#include "table_test.moc"
