// SPDX-License-Identifier: GPL-3.0-or-later
// "Test": typed hypotheses give the printed table's regions and the German decision, bad input
// a hint instead of a test, "100 Serien" its errors of the first kind under the fair walk and
// its power under a manipulated junction, and a hidden scenario H0 until it is revealed.
#include <fstream>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "analysis/auswertung.h"
#include "analysis/binomial_chart.h"
#include "analysis/result_table_model.h"
#include "analysis/test_page.h"
#include "platform/headless_runtime.h"
#include "sim/scenario.h"

using namespace wexal;
using analysis::Auswertung;
using analysis::TestPage;

namespace {

constexpr const char* kKreuzung2 = R"({"name": "Kreuzung 2", "verdeckt": true, "gewichte": {"2": [30, 1, 1, 1]}})";

Scenario kreuzung2() { return *parseScenario(kKreuzung2, "k.json").scenario; }

// The escape, an Auswertung on it and its test page.
struct PageUnderTest {
    PageUnderTest() : random(5), escape(random), runtime(std::make_unique<SeededRandom>(1)), auswertung(escape, runtime) {
        for (AuswertungPage* p : auswertung.pages()) {
            if (auto* t = dynamic_cast<TestPage*>(p)) page = t;
        }
    }
    template <class T>
    T* get(const char* name) const { return page->findChild<T*>(QString::fromUtf8(name)); }
    QString shown(const char* label) const { return get<QLabel>(label)->text(); }
    void run(int escapes) {
        for (int n = 0; n < escapes; ++n) {
            escape.wholeEscape();
            escape.restart();
        }
        page->refresh();
    }
    // p0, n and k typed; the level and the test's kind chosen as the lists name them.
    void type(const QString& p0, int n, int k, const QString& level, const QString& sided) const {
        get<QRadioButton>("P0Eigenes")->setChecked(true);
        get<QLineEdit>("P0Eingabe")->setText(p0);
        get<QRadioButton>("NEigenes")->setChecked(true);
        get<QSpinBox>("NEingabe")->setValue(n);
        get<QSpinBox>("KEingabe")->setValue(k);
        auto* levels = get<QComboBox>("Niveau");
        const int listed = levels->findText(level);
        levels->setCurrentIndex(listed >= 0 ? listed : levels->count() - 1);
        if (listed < 0) get<QLineEdit>("NiveauEingabe")->setText(level);
        get<QComboBox>("Testart")->setCurrentText(sided);
    }
    int series(std::uint64_t seed) const {
        QSignalSpy done(page, &TestPage::seriesDone);
        page->startSeries(seed);
        if (!done.wait(60'000)) return -1;
        return done.takeFirst().at(0).toInt();
    }

    SeededRandom random;
    Escape escape;
    HeadlessRuntime runtime;
    Auswertung auswertung;
    TestPage* page = nullptr;
};

}  // namespace

class TestPageTest : public QObject {
    Q_OBJECT

private slots:
    void typedTestsGiveThePrintedRegions_data();
    void typedTestsGiveThePrintedRegions();
    void badInputGivesAHintAndNoTest_data();
    void badInputGivesAHintAndNoTest();
    void countedEscapesAreTheSample();
    void hundredSeriesFairAndManipulated();
    void hiddenScenarioShowsH0UntilRevealed();
    void windowRefusesABadScenarioFile();
};

void TestPageTest::typedTestsGiveThePrintedRegions_data() {
    QTest::addColumn<QString>("p0");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("sided");
    QTest::addColumn<QString>("region");
    QTest::addColumn<QString>("decision");
    QTest::addRow("coin, accepted") << "1/2" << 100 << 53 << "5 %" << "zweiseitig" << "[40; 60]"
        << "k = 53 liegt im Annahmebereich [40; 60]: die Abweichung ist auf dem 5-%-Niveau nicht signifikant.";
    QTest::addRow("coin as decimal, rejected") << "0,5" << 100 << 61 << "5 %" << "zweiseitig" << "[40; 60]"
        << "k = 61 liegt außerhalb des Annahmebereichs [40; 60]: die Abweichung ist auf dem 5-%-Niveau signifikant, "
           "H0 wird verworfen.";
    QTest::addRow("right-sided") << "1/2" << 100 << 58 << "5 %" << "rechtsseitig" << "[0; 58]"
        << "k = 58 liegt im Annahmebereich [0; 58]: die Abweichung ist auf dem 5-%-Niveau nicht signifikant.";
    QTest::addRow("die, typed level") << "1/6" << 1000 << 130 << "1 %" << "linksseitig" << "[140; 1000]"
        << "k = 130 liegt außerhalb des Annahmebereichs [140; 1000]: die Abweichung ist auf dem 1-%-Niveau "
           "signifikant, H0 wird verworfen.";
    QTest::addRow("own level") << "1/2" << 100 << 60 << "2,5 %" << "zweiseitig" << "[39; 61]"
        << "k = 60 liegt im Annahmebereich [39; 61]: die Abweichung ist auf dem 2,5-%-Niveau nicht signifikant.";
}

void TestPageTest::typedTestsGiveThePrintedRegions() {
    QFETCH(QString, p0);
    QFETCH(int, n);
    QFETCH(int, k);
    QFETCH(QString, level);
    QFETCH(QString, sided);
    QFETCH(QString, region);
    QFETCH(QString, decision);
    PageUnderTest t;
    t.type(p0, n, k, level, sided);
    QVERIFY(t.page->test().has_value());
    QVERIFY2(t.shown("Bereiche").startsWith(QStringLiteral("Annahmebereich: ") + region), qPrintable(t.shown("Bereiche")));
    QCOMPARE(t.shown("Entscheidungssatz"), decision);
    // The chart shows both boundaries' red bars and k.
    const auto& bars = t.page->findChild<analysis::BinomialChart*>()->bars();
    QVERIFY(bars.has_value());
    const AcceptanceRegion& shown = t.page->test()->region;
    QVERIFY(shown.low == 0 || bars->first <= shown.low - 1);
    QVERIFY(shown.high == n || bars->last() >= shown.high + 1);
    QCOMPARE(bars->observed, std::optional<std::int64_t>(k));
}

void TestPageTest::badInputGivesAHintAndNoTest_data() {
    QTest::addColumn<QString>("p0");
    QTest::addColumn<int>("k");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("hint");
    QTest::addRow("p0 above 1") << "1,5" << 5 << "5 %" << "p₀ bitte als Bruch oder Dezimalzahl";
    QTest::addRow("p0 a word") << "ein Sechstel" << 5 << "5 %" << "p₀ bitte";
    QTest::addRow("level 0") << "1/6" << 5 << "0 %" << "α bitte über 0 und unter 1";
    QTest::addRow("k above n") << "1/6" << 11 << "5 %" << "k kann nicht größer als n sein";
}

void TestPageTest::badInputGivesAHintAndNoTest() {
    QFETCH(QString, p0);
    QFETCH(int, k);
    QFETCH(QString, level);
    QFETCH(QString, hint);
    PageUnderTest t;
    t.type(p0, 10, k, level, QStringLiteral("zweiseitig"));
    QVERIFY(!t.page->test().has_value());
    QVERIFY2(t.shown("Eingabeproblem").contains(hint), qPrintable(t.shown("Eingabeproblem")));
    QVERIFY(t.shown("Entscheidungssatz").isEmpty());
    QVERIFY(!t.page->findChild<analysis::BinomialChart*>()->bars().has_value());
    QVERIFY(!t.get<QPushButton>("HundertSerien")->isEnabled());
}

// Without typing: n is every counted escape, k the count of the chosen exit, p0 its exact value.
void TestPageTest::countedEscapesAreTheSample() {
    PageUnderTest t;
    QVERIFY(t.shown("Eingabeproblem").startsWith(QStringLiteral("Noch keine Wexal gezählt")));
    t.run(300);
    t.get<QComboBox>("Ziel")->setCurrentText(QStringLiteral("Ausgang 13"));
    QVERIFY2(t.page->test().has_value(), qPrintable(t.shown("Eingabeproblem")));
    const TestPage::Test test = *t.page->test();
    QCOMPARE(test.n, 300);
    QCOMPARE(test.k, t.escape.exitCount(network::kBoxOfExit[13]));
    QCOMPARE(test.p0, mpq_class(1, 12));
    QCOMPARE(test.region, acceptanceRegion(BinomialDistribution(300, mpq_class(1, 12)), mpq_class(1, 20), Sided::Both));
    QVERIFY(t.shown("P0Wert").startsWith(QStringLiteral("= 1/12 ≈ 0,0833")));
    // Counts under two settings are no sample of one B(n, p0); typed n and k still are.
    t.escape.setBarrier(0, !t.escape.setting().barriers[0]);
    t.run(10);
    QVERIFY(!t.page->test().has_value());
    QVERIFY(t.shown("Eingabeproblem").contains(QStringLiteral("mischen mehrere Einstellungen")));
    t.get<QRadioButton>("NEigenes")->setChecked(true);
    QVERIFY(t.page->test().has_value());
}

// At 5 % the fair walk rejects the same few series as the core's test of the same seed; a
// junction that sends the robber to exit 9 thirty times as often is caught nearly every time.
void TestPageTest::hundredSeriesFairAndManipulated() {
    PageUnderTest t;
    t.get<QRadioButton>("NEigenes")->setChecked(true);
    t.get<QSpinBox>("NEingabe")->setValue(500);
    QCOMPARE(t.page->test()->target.name(), std::string("Ausgang 9"));
    const int fair = t.series(2026);
    QCOMPARE(fair, 2);
    QVERIFY(t.shown("Serienergebnis").startsWith(QStringLiteral("H0 wurde in 2 von 100 Serien verworfen. Ohne "
                                                                "Manipulation ist jede Ablehnung ein Fehler 1. Art")));
    t.escape.openScenario(kreuzung2());
    t.page->refresh();
    const int manipulated = t.series(2026);
    QVERIFY2(manipulated > 80, qPrintable(QString::number(manipulated)));
    QVERIFY(t.shown("Serienergebnis").contains(QStringLiteral("ist es manipuliert, ist Güte")));
    // Revealed, the exact p0 is the true one; the class tests its old H0 by typing it.
    t.escape.revealScenario();
    t.page->refresh();
    QCOMPARE(t.page->test()->p0, mpq_class(15, 32));
    t.get<QRadioButton>("P0Eigenes")->setChecked(true);
    t.get<QLineEdit>("P0Eingabe")->setText(QStringLiteral("1/6"));
    QVERIFY(t.series(2026) > 80);
    QVERIFY(t.shown("Serienergebnis").contains(QStringLiteral("H0 ist falsch, jede Annahme ein Fehler 2. Art")));
}

// Hidden, the Auswertung's exact values are the fair network's and say so, while the escapes
// follow the file; "Auflösung zeigen" brings the weights and the true values.
void TestPageTest::hiddenScenarioShowsH0UntilRevealed() {
    PageUnderTest t;
    t.escape.openScenario(kreuzung2());
    t.run(2000);
    t.auswertung.refreshIfStale();
    const int exit9 = network::kBoxOfExit[9];
    QCOMPARE(t.auswertung.windowTitle(), QStringLiteral("Wexal – Auswertung – Szenario „Kreuzung 2“"));
    QCOMPARE(t.page->test()->p0, mpq_class(1, 6));
    QVERIFY(t.shown("Testüberschrift").contains(QStringLiteral("(verdeckt): exakte Werte ohne Manipulation (H0)")));
    QCOMPARE(t.auswertung.table().exact().exitProbability[static_cast<std::size_t>(exit9)], mpq_class(1, 6));
    QVERIFY2(t.escape.exitCount(exit9) > 800, "the escapes follow the weights: about 0,47 of 2000");
    QVERIFY(t.get<QPushButton>("Aufloesung")->isVisibleTo(t.page));

    QTest::mouseClick(t.get<QPushButton>("Aufloesung"), Qt::LeftButton);
    t.page->refresh();
    QVERIFY(!t.get<QPushButton>("Aufloesung")->isVisibleTo(t.page));
    QCOMPARE(t.shown("Gewichte"), QStringLiteral("Gewichte: Kreuzung 2 (9, 11, 4, 1): 30, 1, 1, 1"));
    QCOMPARE(t.page->test()->p0, mpq_class(15, 32));
    QCOMPARE(t.auswertung.table().exact().exitProbability[static_cast<std::size_t>(exit9)], mpq_class(15, 32));
}

// "wexal --szenario" with a bad file: one German line naming file, key and reason, status 2,
// and no window.
void TestPageTest::windowRefusesABadScenarioFile() {
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kaputt.json"));
    std::ofstream(path.toStdString()) << R"({"gewichte": {"2": [1, 1, 1]}})";
    QProcess wexal;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QTemporaryDir runtimeDir;  // Qt's own note about a missing one would precede the line
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
    wexal.setProcessEnvironment(environment);
    wexal.start(QStringLiteral(WEXAL_EXECUTABLE), {QStringLiteral("--szenario"), path});
    QVERIFY(wexal.waitForFinished(30'000));
    QCOMPARE(wexal.exitCode(), 2);
    QCOMPARE(QString::fromUtf8(wexal.readAllStandardError()),
             QStringLiteral("wexal: Szenario „%1“, Schlüssel „gewichte.2“: 3 Gewichte, die Straßenliste von "
                            "Kreuzung 2 hat 4 Stellen\n")
                 .arg(path));
}

QTEST_MAIN(TestPageTest)
#include "test_page_test.moc"
