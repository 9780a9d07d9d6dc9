// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a screen reader meets it, through Qt's accessibility interfaces: every control
// the keyboard reaches has a name of its own, the counter boxes and switches tell their
// barriers, and the map tells each command's news once, with the event a reader announces.
#include <QAccessible>
#include <QSet>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <vector>

#include "core/scripted_random.h"
#include "ui/announcements.h"
#include "ui/control_table.h"
#include "ui/window_fixture.h"

using namespace wexal;
using namespace wexal::test;

Q_DECLARE_METATYPE(std::vector<float>)

namespace {

struct Heard {
    QObject* object;
    QAccessible::Event type;
};

std::vector<Heard>& heard() {
    static std::vector<Heard> events;
    return events;
}

void record(QAccessibleEvent* event) { heard().push_back({event->object(), event->type()}); }

int eventsFrom(const QObject* object, QAccessible::Event type) {
    int n = 0;
    for (const Heard& h : heard()) n += (h.object == object && h.type == type) ? 1 : 0;
    return n;
}

QAccessibleInterface* accessible(const WindowUnderTest& t, const QString& control) {
    return QAccessible::queryAccessibleInterface(t.get(control));
}

QString nameOf(const WindowUnderTest& t, const QString& control) {
    return accessible(t, control)->text(QAccessible::Name);
}

QString descriptionOf(const WindowUnderTest& t, const QString& control) {
    return accessible(t, control)->text(QAccessible::Description);
}

// This interface and every one below it.
QList<QAccessibleInterface*> tree(QAccessibleInterface* root) {
    QList<QAccessibleInterface*> all{root};
    for (qsizetype next = 0; next < all.size(); ++next) {
        for (int i = 0; i < all[next]->childCount(); ++i) all.append(all[next]->child(i));
    }
    return all;
}

QAccessible::UpdateHandler previousHandler = nullptr;

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init() { heard().clear(); }
    void texts_data();
    void texts();
    void everyFocusableControlHasANameOfItsOwn();
    void names_data();
    void names();
    void barrierSwitchRenamesAndRedescribes_data();
    void barrierSwitchRenamesAndRedescribes();
    void mapTellsEachCommandOnce_data();
    void mapTellsEachCommandOnce();
    void fiftyEscapesTellOneSummary_data();
    void fiftyEscapesTellOneSummary();
};

// Qt passes its accessibility events on only while an assistive tool listens: the test stands
// in for one, as Qt's own tests do.
void AccessibilityTest::initTestCase() {
    QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY2(platform != nullptr, "this Qt platform has no accessibility");
    platform->setActive(true);
    QVERIFY(QAccessible::isActive());
    previousHandler = QAccessible::installUpdateHandler(&record);
}

void AccessibilityTest::cleanupTestCase() { QAccessible::installUpdateHandler(previousHandler); }

// The wordings the window's commands below do not reach.
void AccessibilityTest::texts_data() {
    namespace an = announcements;
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");
    QTest::newRow("back to the bank under ja") << an::robberAt(1, 2, true)
                                               << QStringLiteral("Räuber an der Bank, kam von 2");
    QTest::newRow("exit 12 names no junction") << an::placeName(12, false) << "Ausgang 12";
    QTest::newRow("one escape, not waiting") << an::escapesEnded(0, 1, false) << "1 Wexal beendet: 0 gelungen, 1 gefasst";
    QTest::newRow("switch 5 on") << an::barrierEffect(5, true) << "Lichtschranke 5 an: Kreuzung 6 ist ein Ausgang";
    QTest::newRow("box 7") << an::counterBoxName(7, true) << QStringLiteral("Zähler Ausgang 8, Lichtschranke 7");
}

void AccessibilityTest::texts() {
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

// Walks the whole accessible tree, as a screen reader does, rather than the control table.
void AccessibilityTest::everyFocusableControlHasANameOfItsOwn() {
    WindowUnderTest t;
    QVERIFY(t.show());
    QSet<QString> reached;
    QHash<QString, QString> controlOfName;
    for (QAccessibleInterface* node : tree(QAccessible::queryAccessibleInterface(&t.window))) {
        if (!node->state().focusable) continue;
        const QString control = node->object()->objectName();
        const QString name = node->text(QAccessible::Name);
        QVERIFY2(!name.isEmpty(), qPrintable(control + " has no name"));
        QVERIFY2(!controlOfName.contains(name),
                 qPrintable(QStringLiteral("%1 and %2 are both \"%3\"").arg(controlOfName.value(name), control, name)));
        controlOfName.insert(name, control);
        reached.insert(control);
    }
    QSet<QString> tabStops;
    for (controls::Id id : controls::kTabOrder) tabStops.insert(QString::fromUtf8(controls::row(id).name));
    QCOMPARE(reached, tabStops);
}

void AccessibilityTest::names_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    const auto row = [](const char* control, const QString& name) { QTest::newRow(control) << control << name; };
    row("Text1(0)", QStringLiteral("Zähler Ausgang 9, Lichtschranke 0"));
    row("Text1(3)", QStringLiteral("Zähler Ausgang 7, Lichtschranke 3"));
    row("Text1(5)", QStringLiteral("Zähler Ausgang 6, Lichtschranke 5"));
    row("Check1(0)", "Lichtschranke 0");
    row("Check1(7)", "Lichtschranke 7");
    row("Text2", "Wexalversuche");
    row("Text3", "gelungen");
    row("Text4", "gelungen in Prozent");
    row("Text5", QStringLiteral("mißglückt"));
    row("Text6", QStringLiteral("mißglückt in Prozent"));
    row("picBox", "Karte");
    row("Option1", QStringLiteral("Hin-und-her möglich: ja"));
    row("Option2", QStringLiteral("Hin-und-her möglich: nein"));
    // Buttons are named by their captions without the access key's "&".
    row("cmdGanze", "ganze Wexal");
    row("cmdCLZähler", QStringLiteral("Zähler löschen"));
}

void AccessibilityTest::names() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    WindowUnderTest t;
    QCOMPARE(nameOf(t, control), name);
}

void AccessibilityTest::barrierSwitchRenamesAndRedescribes_data() {
    QTest::addColumn<int>("barrier");
    QTest::addColumn<QString>("startName");
    QTest::addColumn<QString>("startDescription");
    QTest::addColumn<QString>("switchedName");
    QTest::addColumn<QString>("switchedDescription");
    QTest::addColumn<QString>("effect");
    QTest::newRow("barrier 1 on") << 1 << QStringLiteral("Zähler Ausgang 10, Lichtschranke 1")
                                  << "Lichtschranke aus: Ausgang unbewacht"
                                  << QStringLiteral("Zähler Ausgang 10, Lichtschranke 1")
                                  << "Lichtschranke an: Ausgang bewacht" << "Lichtschranke 1 an: Ausgang 10 bewacht";
    QTest::newRow("barrier 0 off") << 0 << QStringLiteral("Zähler Ausgang 9, Lichtschranke 0")
                                   << "Lichtschranke an: Ausgang bewacht"
                                   << QStringLiteral("Zähler Ausgang 9, Lichtschranke 0")
                                   << "Lichtschranke aus: Ausgang unbewacht" << "Lichtschranke 0 aus: Ausgang 9 unbewacht";
    QTest::newRow("barrier 5 off: node 6 is a junction")
        << 5 << QStringLiteral("Zähler Ausgang 6, Lichtschranke 5") << "Lichtschranke an: Ausgang bewacht"
        << QStringLiteral("Zähler Kreuzung 6, Lichtschranke 5") << "Lichtschranke aus: kein Ausgang"
        << "Lichtschranke 5 aus: Kreuzung 6 ist kein Ausgang mehr";
}

// Switched and switched back: the counter box follows both ways, and each switch is one
// description event on its check box.
void AccessibilityTest::barrierSwitchRenamesAndRedescribes() {
    QFETCH(int, barrier);
    QFETCH(QString, startName);
    QFETCH(QString, startDescription);
    QFETCH(QString, switchedName);
    QFETCH(QString, switchedDescription);
    QFETCH(QString, effect);
    WindowUnderTest t;
    QVERIFY(t.show());
    const QString box = QStringLiteral("Text1(%1)").arg(barrier);
    const QString check = QStringLiteral("Check1(%1)").arg(barrier);
    QCOMPARE(nameOf(t, box), startName);
    QCOMPARE(descriptionOf(t, box), startDescription);
    const int renames = startName == switchedName ? 0 : 1;

    heard().clear();
    t.click(check);
    QCOMPARE(nameOf(t, box), switchedName);
    QCOMPARE(descriptionOf(t, box), switchedDescription);
    QCOMPARE(descriptionOf(t, check), effect);
    QCOMPARE(nameOf(t, check), QStringLiteral("Lichtschranke %1").arg(barrier));
    QCOMPARE(eventsFrom(t.get(check), QAccessible::DescriptionChanged), 1);
    QCOMPARE(eventsFrom(t.get(box), QAccessible::DescriptionChanged), 1);
    QCOMPARE(eventsFrom(t.get(box), QAccessible::NameChanged), renames);
    QCOMPARE(eventsFrom(t.get("picBox"), QAccessible::DescriptionChanged), 0);

    heard().clear();
    t.click(check);
    QCOMPARE(nameOf(t, box), startName);
    QCOMPARE(descriptionOf(t, box), startDescription);
    QVERIFY(descriptionOf(t, check) != effect);
    QCOMPARE(eventsFrom(t.get(check), QAccessible::DescriptionChanged), 1);
    QCOMPARE(eventsFrom(t.get(box), QAccessible::NameChanged), renames);
}

void AccessibilityTest::mapTellsEachCommandOnce_data() {
    QTest::addColumn<std::vector<float>>("draws");
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QStringList>("news");  // empty: the command tells nothing
    // bank -> 2 -> 4 -> 6 (an exit while barrier 5 is on); then bank -> 3 -> 10 (unguarded).
    QTest::newRow("barrier 5 on")
        << std::vector<float>{position(1, 2), position(3, 3), position(1, 2), position(2, 2), position(1, 3)}
        << QStringList{"cmdEinzel", "cmdEinzel", "cmdEinzel", "cmdEinzel", "cmdNeustart", "cmdCLSpuren", "cmdGanze"}
        << QStringList{QStringLiteral("Räuber an Kreuzung 2, kam von der Bank"),
                       QStringLiteral("Räuber an Kreuzung 4, kam von 2"),
                       "Wexal beendet an Ausgang 6: gefasst",
                       "",
                       QStringLiteral("Räuber an der Bank"),
                       "",
                       "Wexal beendet an Ausgang 10: gelungen"};
    // Barrier 5 switched off at 4: 6 is a junction, then 6 -> 5 -> 8 (guarded) in one click.
    QTest::newRow("barrier 5 off")
        << std::vector<float>{position(1, 2), position(3, 3), position(1, 2), position(2, 2), position(2, 3)}
        << QStringList{"cmdEinzel", "cmdEinzel", "Check1(5)", "cmdEinzel", "cmdGanze", "cmdCLZähler"}
        << QStringList{QStringLiteral("Räuber an Kreuzung 2, kam von der Bank"),
                       QStringLiteral("Räuber an Kreuzung 4, kam von 2"),
                       "",
                       QStringLiteral("Räuber an Kreuzung 6, kam von 4"),
                       "Wexal beendet an Ausgang 8: gefasst",
                       ""};
}

void AccessibilityTest::mapTellsEachCommandOnce() {
    QFETCH(std::vector<float>, draws);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, news);
    WindowUnderTest t(std::make_unique<ScriptedRandom>(draws));
    QVERIFY(t.show());
    QWidget* map = t.get("picBox");
    QCOMPARE(descriptionOf(t, "picBox"), QStringLiteral("Räuber an der Bank"));
    for (qsizetype i = 0; i < clicks.size(); ++i) {
        const QString before = descriptionOf(t, "picBox");
        heard().clear();
        t.click(clicks[i]);
        const QString step = QStringLiteral("click %1 on %2").arg(i + 1).arg(clicks[i]);
        if (news[i].isEmpty()) {
            QVERIFY2(eventsFrom(map, QAccessible::DescriptionChanged) == 0, qPrintable(step));
            QCOMPARE(descriptionOf(t, "picBox"), before);
        } else {
            QVERIFY2(eventsFrom(map, QAccessible::DescriptionChanged) == 1, qPrintable(step));
            QCOMPARE(descriptionOf(t, "picBox"), news[i]);
        }
    }
}

void AccessibilityTest::fiftyEscapesTellOneSummary_data() {
    QTest::addColumn<QString>("before");  // clicked first, its news not counted
    QTest::addColumn<QString>("switched"); // a check box clicked between, or empty
    QTest::addColumn<int>("ended");
    QTest::newRow("escape running") << "" << "" << 50;
    QTest::newRow("after ganze Wexal") << "cmdGanze" << "" << 49;
    QTest::newRow("after a switch, old counts apart") << "cmd100" << "Check1(1)" << 50;
}

// Each finish of this click is counted succeeded or caught by its exit's barrier, which
// stays as it is during the click; earlier counts stay out, whatever the statistics do.
void AccessibilityTest::fiftyEscapesTellOneSummary() {
    QFETCH(QString, before);
    QFETCH(QString, switched);
    QFETCH(int, ended);
    WindowUnderTest t;
    QVERIFY(t.show());
    if (!before.isEmpty()) t.click(before);
    if (!switched.isEmpty()) t.click(switched);
    const Escape& escape = t.window.escape();
    std::array<std::int64_t, network::kBarrierCount> countsBefore{};
    for (int i = 0; i < network::kBarrierCount; ++i) countsBefore.at(static_cast<std::size_t>(i)) = escape.exitCount(i);

    heard().clear();
    t.click("cmd100");
    QCOMPARE(eventsFrom(t.get("picBox"), QAccessible::DescriptionChanged), 1);
    std::int64_t succeeded = 0;
    std::int64_t caught = 0;
    for (int i = 0; i < network::kBarrierCount; ++i) {
        const auto box = static_cast<std::size_t>(i);
        (escape.setting().barriers.at(box) ? caught : succeeded) += escape.exitCount(i) - countsBefore.at(box);
    }
    QCOMPARE(succeeded + caught, std::int64_t{ended});
    QCOMPARE(descriptionOf(t, "picBox"),
             QStringLiteral("%1 Wexalen beendet: %2 gelungen, %3 gefasst; der Räuber wartet an der Bank")
                 .arg(ended)
                 .arg(succeeded)
                 .arg(caught));
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
