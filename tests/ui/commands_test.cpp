// SPDX-License-Identifier: GPL-3.0-or-later
// Every command on the real window, clicked with the mouse or its access key.
#include <QCheckBox>
#include <QMessageBox>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>
#include <random>

#include "core/scripted_random.h"
#include "platform/number_text.h"
#include "platform/qt/qt_runtime.h"
#include "escape_test_access.h"
#include "ui/map_box.h"
#include "ui/window_fixture.h"

using namespace wexal;
using namespace wexal::test;

namespace {

double number(const WindowUnderTest& t, const QString& box) { return textToNumber(t.text(box).toStdString()); }

QColor base(const WindowUnderTest& t, const QString& box) {
    return t.get<QLineEdit>(box)->palette().color(QPalette::Base);
}

// How many pixels the traces cover in their fullest column: a level line's pen width.
int thickestColumn(const WindowUnderTest& t) {
    const QImage& traces = static_cast<const MapBox*>(t.get("picBox"))->traces();
    int thickest = 0;
    for (int x = 0; x < traces.width(); ++x) {
        int covered = 0;
        for (int y = 0; y < traces.height(); ++y) covered += qAlpha(traces.pixel(x, y)) != 0 ? 1 : 0;
        thickest = std::max(thickest, covered);
    }
    return thickest;
}

bool canvasIsEmpty(const WindowUnderTest& t) {
    const QImage& traces = static_cast<const MapBox*>(t.get("picBox"))->traces();
    for (int y = 0; y < traces.height(); ++y) {
        for (int x = 0; x < traces.width(); ++x) {
            if (qAlpha(traces.pixel(x, y)) != 0) return false;
        }
    }
    return true;
}

}  // namespace

class CommandsTest : public QObject {
    Q_OBJECT

private slots:
    void neustartDoesNothingWhileAnEscapeRuns();
    void afterAWholeEscapeStepsWaitForNeustart();
    void fiftyEscapes_data();
    void fiftyEscapes();
    void accessKeys_data();
    void accessKeys();
    void clearingTheCounters();
    void clearingTheTraces();
    void barrierSwitchRecoloursAtOnceAndCountsLater();
    void jaInMidEscapeAllowsTurningBack();
    void informationHandsOverTheExactText();
    void informationBoxShowsFourLinesTitledWexal();
    void endeEndsTheEventLoopAndNothingRunsAfter();
    void randomClicksKeepTheBooksBalanced();
    void anErrorInAHandlerIsReportedAndTheWindowGoesOn();
};

void CommandsTest::neustartDoesNothingWhileAnEscapeRuns() {
    WindowUnderTest t;
    QVERIFY(t.show());
    const QPoint robber = t.get("imgBrammler")->pos();
    t.click("cmdNeustart");
    QCOMPARE(t.currentNode(), 1);
    QCOMPARE(t.get("imgBrammler")->pos(), robber);
    t.click("cmdEinzel");
    QVERIFY(t.currentNode() != 1);
    QVERIFY(t.get("imgBrammler")->pos() != robber);
}

void CommandsTest::afterAWholeEscapeStepsWaitForNeustart() {
    WindowUnderTest t;
    QVERIFY(t.show());
    t.click("cmdGanze");
    QCOMPARE(t.currentNode(), 0);
    QCOMPARE(t.text("Text2"), QStringLiteral(" 1"));
    const QPoint robber = t.get("imgBrammler")->pos();
    t.click("cmdEinzel");
    t.click("cmdGanze");
    QCOMPARE(t.text("Text2"), QStringLiteral(" 1"));
    QCOMPARE(t.get("imgBrammler")->pos(), robber);
    t.click("cmdNeustart");
    QCOMPARE(t.currentNode(), 1);
    t.click("cmdEinzel");
    QVERIFY(t.currentNode() != 1);
}

void CommandsTest::fiftyEscapes_data() {
    QTest::addColumn<bool>("wholeEscapeFirst");
    QTest::addColumn<int>("added");
    QTest::newRow("escape running") << false << 50;
    QTest::newRow("after ganze Wexal") << true << 49;
}

void CommandsTest::fiftyEscapes() {
    QFETCH(bool, wholeEscapeFirst);
    QFETCH(int, added);
    WindowUnderTest t;
    QVERIFY(t.show());
    if (wholeEscapeFirst) t.click("cmdGanze");
    const double before = number(t, "Text2");
    t.click("cmd100");
    QCOMPARE(number(t, "Text2") - before, double(added));
    QCOMPARE(t.currentNode(), 1);
    QCOMPARE(t.window.escape().previousNode(), 0);
    const QPoint bank(qRound(1920 * 1.25 / 15), qRound((1080 - 612 / 3.0) * 1.25 / 15));
    QCOMPARE(t.get("imgBrammler")->pos(), bank);
}

void CommandsTest::accessKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expectedText2");
    QTest::addColumn<int>("expectedNode");
    QTest::newRow("Alt+W ganze Wexal") << int(Qt::Key_W) << " 1" << 0;
    QTest::newRow("Alt+5 fifty") << int(Qt::Key_5) << " 50" << 1;
    QTest::newRow("Alt+N nothing while running") << int(Qt::Key_N) << "0" << 1;
}

void CommandsTest::accessKeys() {
    QFETCH(int, key);
    QFETCH(QString, expectedText2);
    QFETCH(int, expectedNode);
    WindowUnderTest t;
    QVERIFY(t.show());
    QTest::keyClick(&t.window, Qt::Key(key), Qt::AltModifier);
    QTRY_COMPARE(t.text("Text2"), expectedText2);
    QCOMPARE(t.currentNode(), expectedNode);
}

void CommandsTest::clearingTheCounters() {
    WindowUnderTest t;
    QVERIFY(t.show());
    t.click("cmd100");
    QTest::keyClick(&t.window, Qt::Key_Z, Qt::AltModifier);
    QTRY_COMPARE(t.text("Text2"), QStringLiteral(" 0"));
    for (int i = 0; i < 8; ++i) QCOMPARE(t.text(QStringLiteral("Text1(%1)").arg(i)), QStringLiteral("0"));
    for (const char* box : {"Text3", "Text4", "Text5", "Text6"}) QCOMPARE(t.text(box), QStringLiteral("0"));
    QCOMPARE(base(t, "Text5"), QColor(255, 255, 0));
    QCOMPARE(t.currentNode(), 1);
    t.click("cmdGanze");
    QCOMPARE(t.text("Text2"), QStringLiteral(" 1"));
}

void CommandsTest::clearingTheTraces() {
    WindowUnderTest t;
    QVERIFY(t.show());
    t.click("cmd100");
    QVERIFY(!canvasIsEmpty(t));
    QVERIFY(t.window.escape().traceCount(1, 2) + t.window.escape().traceCount(1, 3) > 2);
    QTest::keyClick(&t.window, Qt::Key_S, Qt::AltModifier);
    QTRY_VERIFY(canvasIsEmpty(t));
    QCOMPARE(t.window.escape().traceCount(1, 2), 1);
    QCOMPARE(t.window.escape().traceCount(1, 3), 1);
    QCOMPARE(t.currentNode(), 1);
    QCOMPARE(t.text("Text2"), QStringLiteral(" 50"));
    t.click("cmdEinzel");  // from the bank along its street to 2 or 3, a level line
    QCOMPARE(thickestColumn(t), 1);
}

void CommandsTest::barrierSwitchRecoloursAtOnceAndCountsLater() {
    // bank -> 3 -> 10 (box 1, unguarded), then bank -> 2 -> 9 (box 0, guarded).
    WindowUnderTest t(std::make_unique<ScriptedRandom>(
        std::vector<float>{position(2, 2), position(1, 3), position(1, 2), position(1, 3)}));
    QVERIFY(t.show());
    t.click("cmdGanze");
    QCOMPARE(t.text("Text3"), QStringLiteral(" 1"));
    QTest::mouseClick(t.get<QCheckBox>("Check1(1)"), Qt::LeftButton);
    QCOMPARE(base(t, "Text1(1)"), QColor(255, 255, 0));
    QVERIFY(t.get("Line1(1)")->isVisible());
    QCOMPARE(t.text("Text3"), QStringLiteral(" 1"));
    QCOMPARE(t.text("Text5"), QStringLiteral(" 0"));
    t.click("cmdNeustart");
    t.click("cmdGanze");
    QCOMPARE(t.text("Text3"), QStringLiteral(" 0"));
    QCOMPARE(t.text("Text5"), QStringLiteral(" 2"));
    QCOMPARE(t.text("Text6"), QStringLiteral(" 100"));
    // And off again: white, mark hidden.
    QTest::mouseClick(t.get<QCheckBox>("Check1(1)"), Qt::LeftButton);
    QCOMPARE(base(t, "Text1(1)"), QColor(255, 255, 255));
    QVERIFY(!t.get("Line1(1)")->isVisible());
}

void CommandsTest::jaInMidEscapeAllowsTurningBack() {
    // bank -> 2, then with "ja" the fourth entry of node 2 leads back to the bank.
    WindowUnderTest t(std::make_unique<ScriptedRandom>(std::vector<float>{position(1, 2), position(4, 4)}));
    QVERIFY(t.show());
    t.click("cmdEinzel");
    QTest::mouseClick(t.get<QRadioButton>("Option1"), Qt::LeftButton);
    QVERIFY(!t.get<QRadioButton>("Option2")->isChecked());
    QVERIFY(t.window.escape().setting().turnBack);
    t.click("cmdEinzel");
    QCOMPARE(t.currentNode(), 1);
    QTest::mouseClick(t.get<QRadioButton>("Option2"), Qt::LeftButton);
    QVERIFY(!t.window.escape().setting().turnBack);
}

void CommandsTest::informationHandsOverTheExactText() {
    WindowUnderTest t;
    QVERIFY(t.show());
    t.click("Command1");
    QCOMPARE(t.runtime.messages().size(), std::size_t{1});
    const std::string expected =
        "Simulation zu einer Schulbuchaufgabe\x0A\x0DTovarek 8, Ausgabe N, Kap. 4, Stochastik E1\x0A\x0D"
        "(Velmarsk Verlag)\x0A\x0Dvon P. Dornwald, Universit\xC3\xA4t Quarnow";
    QCOMPARE(t.runtime.messages().front(), expected);
    QCOMPARE(t.currentNode(), 1);
}

void CommandsTest::informationBoxShowsFourLinesTitledWexal() {
    QApplication::setApplicationName(QStringLiteral("Wexal"));
    QtRuntime runtime;
    Wexal window(runtime);
    runtime.attach(&window);
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QString title;
    QString shown;
    QString handedOver;
    QMessageBox::Icon icon = QMessageBox::Warning;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        shown = box->text();
        handedOver = box->property("wexalText").toString();
        icon = box->icon();
        buttons = int(box->buttons().size());
        QTest::keyClick(box, Qt::Key_Return);
    });
    QTest::mouseClick(qobject_cast<QAbstractButton*>(window.findChild<QWidget*>("Command1")), Qt::LeftButton);
    QCOMPARE(title, QStringLiteral("Wexal"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, 1);
    QCOMPARE(handedOver, QString::fromUtf8(Wexal::kInformation));
    QCOMPARE(shown.split('\n').size(), 4);
    QVERIFY(!shown.contains('\r'));
}

void CommandsTest::endeEndsTheEventLoopAndNothingRunsAfter() {
    QtRuntime runtime;
    Wexal window(runtime);
    runtime.attach(&window);
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* ende = qobject_cast<QAbstractButton*>(window.findChild<QWidget*>("cmdEnde"));
    QTimer::singleShot(0, [&] { QTest::mouseClick(ende, Qt::LeftButton); });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // a safety net, not the result
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!window.isVisible());
    qobject_cast<QAbstractButton*>(window.findChild<QWidget*>("cmdGanze"))->click();
    QCOMPARE(window.escape().attempts(), 0);
}

// A seeded storm of clicks on every command but the two that leave the window; after each
// one the counters add up and the percentages agree with them.
void CommandsTest::randomClicksKeepTheBooksBalanced() {
    WindowUnderTest t(std::make_unique<SeededRandom>(99));
    QVERIFY(t.show());
    QStringList targets = {"cmdEinzel", "cmdGanze", "cmd100", "cmdNeustart", "cmdCLSpuren",
                           QStringLiteral("cmdCLZähler"), "Option1", "Option2"};
    for (int i = 0; i < 8; ++i) targets << QStringLiteral("Check1(%1)").arg(i);
    std::mt19937 pick(2026);
    std::uniform_int_distribution<qsizetype> which(0, targets.size() - 1);
    for (int event = 0; event < 3000; ++event) {
        const QString target = targets[which(pick)];
        // The long commands are rarer, as in a lesson.
        if (target == "cmd100" && pick() % 4 != 0) continue;
        t.get<QAbstractButton>(target)->click();
        const double attempts = number(t, "Text2");
        double sum = 0;
        for (int k = 0; k < 8; ++k) sum += number(t, QStringLiteral("Text1(%1)").arg(k));
        QCOMPARE(sum, attempts);
        QCOMPARE(number(t, "Text3") + number(t, "Text5"), attempts);
        QCOMPARE(double(t.window.escape().attempts()), attempts);
        QVERIFY(t.currentNode() >= 0 && t.currentNode() <= 14);
        if (attempts > 0) {
            QCOMPARE(t.text("Text4").toStdString(), numberToText(number(t, "Text3") * 100 / attempts));
            QCOMPARE(t.text("Text6").toStdString(), numberToText(number(t, "Text5") * 100 / attempts));
        }
    }
    QVERIFY(t.runtime.messages().empty());
    QVERIFY(number(t, "Text2") > 0);
}

// A counter that can no longer count exactly stops the finish with a message, not silently.
void CommandsTest::anErrorInAHandlerIsReportedAndTheWindowGoesOn() {
    WindowUnderTest t;
    QVERIFY(t.show());
    // The window's own escape, not const: the test sets every count to its limit.
    auto& escape = const_cast<Escape&>(t.window.escape());
    for (int k = 0; k < 8; ++k) EscapeTestAccess::setCount(escape, k, Escape::kCountLimit);
    t.click("cmdGanze");
    QCOMPARE(t.runtime.messages().size(), std::size_t{1});
    QVERIFY(QString::fromStdString(t.runtime.messages().front()).startsWith(QStringLiteral("Laufzeitfehler")));
    QCOMPARE(t.currentNode(), 0);
    t.click("cmdCLZähler");
    t.click("cmdNeustart");
    t.click("cmdGanze");
    QCOMPARE(t.text("Text2"), QStringLiteral(" 1"));
    QCOMPARE(t.runtime.messages().size(), std::size_t{1});
}

QTEST_MAIN(CommandsTest)
#include "commands_test.moc"
