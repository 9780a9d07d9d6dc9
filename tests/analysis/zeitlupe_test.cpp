// SPDX-License-Identifier: GPL-3.0-or-later
// "Zeitlupe" on the real window: one ordinary single step per tick with the window's boxes
// following, a pause at each exit before the next escape, and any click on the window or any
// key stops it without doing anything else.
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>

#include "analysis/auswertung.h"
#include "analysis/zeitlupe.h"
#include "platform/number_text.h"
#include "ui/window_fixture.h"

using namespace wexal;
using namespace wexal::test;
using analysis::Auswertung;
using analysis::Zeitlupe;

namespace {

// What the escape looked like when a tick came, and when it was due.
struct Tick {
    bool running;
    int robber;
    int previous;
    double dueMs;
};

Auswertung* open(WindowUnderTest& t) {
    QTest::keyClick(&t.window, Qt::Key_F2);
    auto* a = t.window.findChild<Auswertung*>();
    if (a != nullptr) (void)QTest::qWaitForWindowExposed(a);
    return a;
}

}  // namespace

class ZeitlupeTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings(QStringLiteral("Wexal"), QStringLiteral("Wexal")).clear(); }
    void walksOneStepATickAndPausesAtTheExit();
    void aClickOrAKeyStopsIt_data();
    void aClickOrAKeyStopsIt();
    void startsFromTheContextMenu();
};

void ZeitlupeTest::walksOneStepATickAndPausesAtTheExit() {
    WindowUnderTest t;
    QVERIFY(t.show());
    Auswertung* a = open(t);
    QVERIFY(a != nullptr);
    Zeitlupe& walk = a->zeitlupe();
    walk.setPace(Zeitlupe::kFastest);
    std::vector<Tick> ticks;
    QElapsedTimer clock;
    clock.start();
    const Escape& escape = t.window.escape();
    walk.onTick = [&](double lateMs) {
        ticks.push_back({escape.isRunning(), escape.robberNode(), escape.previousNode(),
                         static_cast<double>(clock.nsecsElapsed()) / 1e6 - lateMs});
    };
    a->findChild<QPushButton*>(QStringLiteral("Zeitlupe"))->click();
    QVERIFY(walk.isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(escape.attempts() >= 2 && escape.isRunning() && escape.previousNode() != 0, 10000);
    walk.stop();
    walk.onTick = nullptr;
    QVERIFY(ticks.size() >= 6);
    int pauses = 0;
    for (std::size_t k = 0; k + 1 < ticks.size(); ++k) {
        const Tick& now = ticks[k];
        const Tick& next = ticks[k + 1];
        if (now.running) {
            QCOMPARE(next.previous, now.robber);  // the step left where the robber stood
            if (!next.running) {  // that step ended the escape: the robber stays at the exit a while
                QVERIFY(next.dueMs - now.dueMs >= Zeitlupe::kPauseMs - 1);
                ++pauses;
            }
        } else {
            QCOMPARE(next.robber, network::kStartNode);  // a new escape from the bank
            QCOMPARE(next.previous, 0);
        }
    }
    QVERIFY(pauses >= 1);
    // The window's own boxes followed, as after clicks on "Einzelschritt".
    QCOMPARE(t.text("Text2"), QString::fromStdString(numberToText(static_cast<double>(escape.attempts()))));
}

void ZeitlupeTest::aClickOrAKeyStopsIt_data() {
    QTest::addColumn<QString>("what");
    QTest::addRow("a click on the window's background") << "background";
    QTest::addRow("a click on Einzelschritt") << "button";
    QTest::addRow("Space on Einzelschritt") << "key";
    QTest::addRow("Esc in the Auswertung") << "escape";
}

// The stopping click or key does nothing else: no step, no closing; afterwards "Einzelschritt"
// steps as ever.
void ZeitlupeTest::aClickOrAKeyStopsIt() {
    QFETCH(QString, what);
    WindowUnderTest t;
    QVERIFY(t.show());
    Auswertung* a = open(t);
    QVERIFY(a != nullptr);
    Zeitlupe& walk = a->zeitlupe();
    walk.setPace(Zeitlupe::kSlowest);  // no tick comes between the event and the checks
    walk.start();
    const Escape& escape = t.window.escape();
    QTRY_VERIFY(escape.previousNode() != 0);  // the first step, at once
    const int robber = escape.robberNode();
    if (what == QStringLiteral("background")) QTest::mouseClick(&t.window, Qt::LeftButton, {}, QPoint(5, 5));
    if (what == QStringLiteral("button")) t.click("cmdEinzel");
    if (what == QStringLiteral("key")) QTest::keyClick(t.get("cmdEinzel"), Qt::Key_Space);
    if (what == QStringLiteral("escape")) QTest::keyClick(a, Qt::Key_Escape);
    QVERIFY(!walk.isRunning());
    QCOMPARE(escape.robberNode(), robber);
    QVERIFY(a->isVisible());
    QVERIFY(!a->findChild<QPushButton*>(QStringLiteral("Zeitlupe"))->isChecked());
    if (escape.isRunning()) {
        t.click("cmdEinzel");
        QCOMPARE(escape.previousNode(), robber);
    }
}

void ZeitlupeTest::startsFromTheContextMenu() {
    WindowUnderTest t;
    QVERIFY(t.show());
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, t.window.mapToGlobal(at));
    QApplication::sendEvent(&t.window, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    QAction* zeitlupe = menu->actions().at(2);
    QCOMPARE(zeitlupe->text(), QStringLiteral("&Zeitlupe"));
    zeitlupe->trigger();
    menu->close();
    auto* a = t.window.findChild<Auswertung*>();
    QVERIFY(a != nullptr);
    QVERIFY(a->zeitlupe().isRunning());
    QVERIFY(zeitlupe->isChecked());
    QTRY_VERIFY(t.window.escape().previousNode() != 0);
    a->zeitlupe().stop();
    QVERIFY(!zeitlupe->isChecked());
    // The pace is the spin box's, kept for the next start.
    a->findChild<QSpinBox*>(QStringLiteral("Tempo"))->setValue(99);
    QCOMPARE(a->zeitlupe().pace(), Zeitlupe::kFastest);
    QCOMPARE(QSettings(QStringLiteral("Wexal"), QStringLiteral("Wexal")).value(QStringLiteral("Auswertung/Zeitlupe")).toInt(),
             Zeitlupe::kFastest);
}

QTEST_MAIN(ZeitlupeTest)
#include "zeitlupe_test.moc"
