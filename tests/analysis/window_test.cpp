// SPDX-License-Identifier: GPL-3.0-or-later
// The Auswertung as the main window reaches it and as a second view of the same escape: the
// context menu and F2, a scenario opened from the menu, counts that follow scripted clicks, the
// notice while the counts mix settings, a chart that stays bounded over a million escapes, and a
// redraw in two halves.
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QChartView>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QGraphicsTextItem>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include "analysis/auswertung.h"
#include "analysis/convergence_chart.h"
#include "analysis/frequency_chart.h"
#include "analysis/result_table_model.h"
#include "analysis/results_page.h"
#include "platform/number_text.h"
#include "sim/node_places.h"
#include "ui/window_fixture.h"

using namespace wexal;
using namespace wexal::test;
using analysis::Auswertung;
using Model = analysis::ResultTableModel;

namespace {

QString cell(const Auswertung& a, int row, int column) {
    return a.table().data(a.table().index(row, column)).toString();
}

// The box's number as the table writes it: no leading blank, no exponent.
QString boxNumber(const WindowUnderTest& t, const QString& box) {
    return QString::number(static_cast<qlonglong>(textToNumber(t.text(box).toStdString())));
}

Auswertung* openWithF2(WindowUnderTest& t) {
    QTest::keyClick(&t.window, Qt::Key_F2);
    auto* a = t.window.findChild<Auswertung*>();
    if (a != nullptr) (void)QTest::qWaitForWindowExposed(a);
    return a;
}

QMenu* rightClick(QWidget* area) {
    const QPoint at(area->width() / 2, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, area->mapToGlobal(at));
    QApplication::sendEvent(area, &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// Every text the Auswertung shows: labels, buttons, tabs, menus, table cells and headings, and
// what its charts draw (titles, axis labels, legends).
QStringList shownTexts(const Auswertung& a) {
    QStringList texts{a.windowTitle()};
    for (const QLabel* l : a.findChildren<QLabel*>()) texts << l->text();
    for (const QAbstractButton* b : a.findChildren<QAbstractButton*>()) texts << b->text();
    for (const QAction* action : a.menus().actions()) texts << action->text();
    for (int i = 0; i < a.pageTabs().count(); ++i) texts << a.pageTabs().tabText(i);
    const auto& model = a.table();
    for (int c = 0; c < model.columnCount(); ++c) {
        texts << model.headerData(c, Qt::Horizontal).toString();
        for (int r = 0; r < model.rowCount(); ++r) texts << cell(a, r, c);
    }
    for (const QChartView* view : a.findChildren<QChartView*>()) {
        for (QGraphicsItem* item : view->scene()->items()) {
            if (const auto* t = dynamic_cast<QGraphicsTextItem*>(item)) texts << t->toPlainText();
        }
        texts << view->accessibleDescription();
    }
    return texts;
}

// Counts the paint events of a chart's picture.
struct PaintCounter final : QObject {
    int paints = 0;
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// The letter after "&" in a caption, lower case; none without one.
QChar accessKey(const QString& caption) {
    const qsizetype at = caption.indexOf(u'&');
    return at >= 0 && at + 1 < caption.size() ? caption[at + 1].toLower() : QChar();
}

}  // namespace

class AuswertungInWindow : public QObject {
    Q_OBJECT

private slots:
    void contextMenuOnTheBackgrounds_data();
    void contextMenuOnTheBackgrounds();
    void statisticsRowTellsTheWay();
    void f2OpensOneWindow();
    void countsFollowTheClicks();
    void noticeWhileTheCountsMixSettings_data();
    void noticeWhileTheCountsMixSettings();
    void chartStaysBoundedOverAMillionEscapes();
    void redrawInTwoHalves();
    void noDecimalPointInAnyText_data();
    void noDecimalPointInAnyText();
    void accessKeysAreUnique();
    void everyControlHasAGermanName();
    void f2BringsItBack_data();
    void f2BringsItBack();
    void escapeClosesIt();
    void scenarioFromTheContextMenu_data();
    void scenarioFromTheContextMenu();
};

void AuswertungInWindow::contextMenuOnTheBackgrounds_data() {
    QTest::addColumn<QString>("area");
    QTest::addRow("window") << "Wexal";
    QTest::addRow("map frame") << "Frame1";
    QTest::addRow("statistics row") << "Frame5";
}

void AuswertungInWindow::contextMenuOnTheBackgrounds() {
    QFETCH(QString, area);
    WindowUnderTest t;
    QVERIFY(t.show());
    QMenu* menu = rightClick(t.get(area));
    QVERIFY(menu != nullptr);
    QCOMPARE(menu->actions().size(), 4);
    QCOMPARE(menu->actions()[0]->text(), QStringLiteral("&Auswertung…"));
    QCOMPARE(menu->actions()[0]->shortcut(), QKeySequence(Qt::Key_F2));
    QCOMPARE(menu->actions()[1]->text(), QStringLiteral("Ergebnisse &speichern…"));
    QCOMPARE(menu->actions()[2]->text(), QStringLiteral("&Zeitlupe"));
    QCOMPARE(menu->actions()[3]->text(), QStringLiteral("Szenario ö&ffnen…"));
    QVERIFY(t.window.findChild<Auswertung*>() == nullptr);  // made on first use only
    menu->actions()[0]->trigger();
    menu->close();
    auto* a = t.window.findChild<Auswertung*>();
    QVERIFY(a != nullptr);
    QVERIFY(a->isVisible());
    QCOMPARE(a->windowTitle(), QStringLiteral("Wexal – Auswertung"));
}

// The window's background and both frames, where the menu opens, say how to reach it.
void AuswertungInWindow::statisticsRowTellsTheWay() {
    WindowUnderTest t;
    for (const char* area : {"Wexal", "Frame1", "Frame5"}) {
        QCOMPARE(t.get(QString::fromUtf8(area))->toolTip(), QStringLiteral("Rechtsklick oder F2: Auswertung"));
    }
    QVERIFY(t.get("cmd100")->toolTip().isEmpty());
}

void AuswertungInWindow::f2OpensOneWindow() {
    WindowUnderTest t;
    QVERIFY(t.show());
    Auswertung* first = openWithF2(t);
    QVERIFY(first != nullptr);
    QVERIFY(first->isVisible());
    QVERIFY(first->isWindow());
    QVERIFY(!first->isModal());
    first->close();
    t.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&t.window));
    QCOMPARE(openWithF2(t), first);
    QVERIFY(first->isVisible());
    QCOMPARE(t.window.findChildren<Auswertung*>().size(), 1);
}

// Scripted clicks on the main window; after at most one refresh the table says what the
// boxes say, and the frequencies are the counts over the attempts.
void AuswertungInWindow::countsFollowTheClicks() {
    WindowUnderTest t;
    QVERIFY(t.show());
    const Auswertung* a = openWithF2(t);
    QVERIFY(a != nullptr);
    for (const char* button : {"cmd100", "cmdGanze", "cmdNeustart", "cmdEinzel", "cmd100", "cmd100"}) {
        t.click(QString::fromUtf8(button));
    }
    QTRY_COMPARE(a->convergenceChart().shares().count(), 151);  // redrawn
    const double attempts = textToNumber(t.text("Text2").toStdString());
    QCOMPARE(attempts, 151.0);  // 50, 1, a step of the next, its end and 49, 50
    for (int row = 0; row < network::kBarrierCount; ++row) {
        const int i = Model::boxOfRow(row);
        const QString box = QStringLiteral("Text1(%1)").arg(i);
        QCOMPARE(cell(*a, row, Model::kCount), boxNumber(t, box));
        QCOMPARE(cell(*a, row, Model::kFrequency),
                 QString::number(textToNumber(t.text(box).toStdString()) / attempts, 'f', 4).replace(u'.', u','));
        QCOMPARE(a->frequencyChart().barHeight(i), textToNumber(t.text(box).toStdString()) / attempts);
    }
    QCOMPARE(cell(*a, Model::kFailedRow, Model::kCount), boxNumber(t, "Text5"));
    QVERIFY(a->convergenceChart().escapesAxisTitle().endsWith(QStringLiteral("1 bis 151")));
    QCOMPARE(cell(*a, Model::kSucceededRow, Model::kCount), boxNumber(t, "Text3"));
    const QPointF last = a->convergenceChart().shares().at(150);
    QCOMPARE(last, QPointF(151, textToNumber(t.text("Text3").toStdString()) / 151));

    t.click("cmdCLZähler");
    QTRY_COMPARE(a->convergenceChart().shares().count(), 0);
    QCOMPARE(cell(*a, 0, Model::kCount), QStringLiteral("0"));
}

void AuswertungInWindow::noticeWhileTheCountsMixSettings_data() {
    QTest::addColumn<QString>("control");
    QTest::addRow("a light barrier") << "Check1(1)";
    QTest::addRow("the option ja") << "Option1";
}

void AuswertungInWindow::noticeWhileTheCountsMixSettings() {
    QFETCH(QString, control);
    WindowUnderTest t;
    QVERIFY(t.show());
    const Auswertung* a = openWithF2(t);
    QVERIFY(a != nullptr);
    const auto probabilityHeading = [a] {
        return a->table().headerData(Model::kFraction, Qt::Horizontal).toString();
    };
    t.click("cmd100");
    QTRY_COMPARE(a->convergenceChart().shares().count(), 50);
    QVERIFY(!a->notice().isVisible());
    const QString before = cell(*a, Model::kSucceededRow, Model::kFraction);

    t.click(control);
    QTRY_VERIFY(a->notice().isVisible());
    QVERIFY(a->notice().text().contains(QStringLiteral("„Zähler löschen“ beginnt eine saubere Reihe")));
    QCOMPARE(probabilityHeading(), QStringLiteral("Wahrscheinlichkeit\n(aktuelle Einstellung)"));
    QVERIFY(cell(*a, Model::kSucceededRow, Model::kFraction) != before);  // the current setting's
    QVERIFY(a->goodnessOfFit().text().contains(QStringLiteral("nicht sinnvoll")));

    t.click("cmdCLZähler");
    QTRY_VERIFY(!a->notice().isVisible());
    QCOMPARE(probabilityHeading(), QStringLiteral("Wahrscheinlichkeit"));
    QCOMPARE(a->convergenceChart().shares().count(), 0);
}

// Driven on the model directly (a million escapes are 20,000 clicks): the chart keeps
// about one point per pixel, evenly spaced up to the last escape, and its axis says so.
void AuswertungInWindow::chartStaysBoundedOverAMillionEscapes() {
    SeededRandom random(9);
    Escape escape(random);
    HeadlessRuntime runtime(std::make_unique<SeededRandom>(1), kXga);
    Auswertung a(escape, runtime);
    constexpr int kEscapes = 1'000'000;
    for (int n = 0; n < kEscapes; ++n) {
        escape.wholeEscape();
        escape.restart();
    }
    a.refreshIfStale();
    const QLineSeries& shares = a.convergenceChart().shares();
    QVERIFY(shares.count() <= static_cast<int>(analysis::kMaxChartPoints));
    QVERIFY(shares.count() > static_cast<int>(analysis::kMaxChartPoints / 2));
    const qreal spacing = shares.at(1).x() - shares.at(0).x();
    QCOMPARE(shares.at(0).x(), spacing);
    QCOMPARE(shares.at(shares.count() - 1).x(), spacing * shares.count());
    QVERIFY(shares.at(shares.count() - 1).x() > kEscapes - spacing);
    QCOMPARE(a.convergenceChart().escapesAxisTitle(),
             QStringLiteral("Anzahl der Wexalen k: 1 bis 1\u202F000\u202F000, jede %1. ein Punkt").arg(spacing));
    QVERIFY(a.convergenceChart().bandUpper().count() <= analysis::kBandSamples + 40);
    QCOMPARE(a.convergenceChart().probabilityLine().at(0).y(), 11.0 / 36);
}

// The tick's redraw: after its first half every number and both charts' data are up to date
// and the table is repainted; the charts' pictures follow with the second half. A whole refresh
// repaints everything at once.
void AuswertungInWindow::redrawInTwoHalves() {
    SeededRandom random(5);
    Escape escape(random);
    HeadlessRuntime runtime(std::make_unique<SeededRandom>(1), kXga);
    const auto escapes = [&escape](int n) {
        for (int i = 0; i < n; ++i, escape.restart()) escape.wholeEscape();
    };
    escapes(10000);  // from here on the texts keep their lines, so the layout stays put
    analysis::ResultsPage page(escape, runtime);
    page.resize(1000, 800);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    PaintCounter table;
    PaintCounter bars;
    PaintCounter line;
    page.findChild<QTableView*>()->viewport()->installEventFilter(&table);
    page.findChild<QChartView*>(QStringLiteral("Häufigkeiten"))->viewport()->installEventFilter(&bars);
    page.findChild<QChartView*>(QStringLiteral("Konvergenz"))->viewport()->installEventFilter(&line);
    QTest::qWait(50);
    table.paints = bars.paints = line.paints = 0;

    escapes(50);
    QVERIFY(page.refreshFirstHalf());
    QVERIFY(page.convergenceChart().escapesAxisTitle().contains(QStringLiteral("bis 10\u202F050")));
    QCOMPARE(page.table().counted().escapes, 10050);
    QTRY_VERIFY(table.paints > 0);
    QTest::qWait(50);
    QCOMPARE(bars.paints + line.paints, 0);
    page.refreshRest();
    QTRY_VERIFY(bars.paints > 0 && line.paints > 0);

    escapes(1);
    table.paints = bars.paints = line.paints = 0;
    page.refresh();
    QTRY_VERIFY(table.paints > 0 && bars.paints > 0 && line.paints > 0);
}

void AuswertungInWindow::noDecimalPointInAnyText_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addRow("nothing counted") << QStringList{};
    QTest::addRow("one escape") << QStringList{"cmdGanze"};
    QTest::addRow("mixed settings") << QStringList{"cmd100", "Check1(1)", "cmd100"};
    QTest::addRow("thousands") << QStringList(250, QStringLiteral("cmd100"));
}

// German numbers everywhere in the Auswertung: "0,3056", never "0.3056".
void AuswertungInWindow::noDecimalPointInAnyText() {
    QFETCH(QStringList, clicks);
    WindowUnderTest t;
    QVERIFY(t.show());
    Auswertung* a = openWithF2(t);
    QVERIFY(a != nullptr);
    for (const QString& button : clicks) t.click(button);
    a->refreshIfStale();
    QCoreApplication::processEvents();  // the charts lay out their labels
    const QRegularExpression decimalPoint(QStringLiteral("\\d\\.\\d"));
    const QStringList texts = shownTexts(*a);
    QVERIFY(texts.size() > 100);
    for (const QString& text : texts) QVERIFY2(!decimalPoint.match(text).hasMatch(), qPrintable(text));
    QVERIFY(texts.join(u' ').contains(QRegularExpression(QStringLiteral("\\d,\\d"))));
}

// Alt and a letter reach one control only: tabs, buttons and the menu bar's menus share the
// window, each menu's entries share the menu.
void AuswertungInWindow::accessKeysAreUnique() {
    WindowUnderTest t;
    QVERIFY(t.show());
    const Auswertung* a = openWithF2(t);
    QVERIFY(a != nullptr);
    QStringList window;
    for (int i = 0; i < a->pageTabs().count(); ++i) window << a->pageTabs().tabText(i);
    for (const QPushButton* b : a->findChildren<QPushButton*>()) window << b->text();
    QList<QStringList> menus;
    for (const QAction* menu : a->menus().actions()) {
        window << menu->text();
        QStringList entries;
        for (const QAction* entry : menu->menu()->actions()) {
            if (!entry->isSeparator()) entries << entry->text();
        }
        menus << entries;
    }
    for (const QStringList& captions : QList<QStringList>{window} + menus) {
        QSet<QChar> keys;
        for (const QString& caption : captions) {
            const QChar key = accessKey(caption);
            QVERIFY2(!key.isNull(), qPrintable(caption));
            QVERIFY2(!keys.contains(key), qPrintable(caption));
            keys.insert(key);
        }
    }
}

// What a screen reader says for each control that takes the focus, each chart and each
// page: a name, and for the charts a description that names every exit.
void AuswertungInWindow::everyControlHasAGermanName() {
    WindowUnderTest t;
    QVERIFY(t.show());
    Auswertung* a = openWithF2(t);
    QVERIFY(a != nullptr);
    const auto spoken = [](QWidget* w, QAccessible::Text what) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
        return i != nullptr ? i->text(what) : QString();
    };
    int named = 0;
    for (QWidget* w : a->findChildren<QWidget*>()) {
        const bool chart = qobject_cast<QChartView*>(w) != nullptr;
        if (w->focusPolicy() == Qt::NoFocus && !chart && qobject_cast<QAbstractScrollArea*>(w) == nullptr) continue;
        if (qobject_cast<QAbstractScrollArea*>(w->parentWidget()) != nullptr) continue;  // a viewport
        if (qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr) continue;    // a spin box's editor
        QVERIFY2(!spoken(w, QAccessible::Name).isEmpty(), qPrintable(w->metaObject()->className() + QStringLiteral(" ") + w->objectName()));
        ++named;
        if (!chart) continue;
        const QString description = spoken(w, QAccessible::Description);
        QVERIFY2(description.contains(QStringLiteral("Wahrscheinlichkeit")), qPrintable(description));
    }
    QVERIFY(named >= 6);
    const QString bars = spoken(a->findChild<QChartView*>(QStringLiteral("Häufigkeiten")), QAccessible::Description);
    for (int node : places::kExitsAroundTheMap) QVERIFY(bars.contains(QStringLiteral("Ausgang %1: Anteil").arg(node)));
}

void AuswertungInWindow::f2BringsItBack_data() {
    QTest::addColumn<QString>("away");
    QTest::addColumn<bool>("byMenu");
    for (const bool byMenu : {false, true}) {
        const char* how = byMenu ? "Auswertung…" : "F2";
        QTest::addRow("minimised, %s", how) << "minimised" << byMenu;
        QTest::addRow("hidden, %s", how) << "hidden" << byMenu;
        QTest::addRow("behind the main window, %s", how) << "behind" << byMenu;
    }
}

// F2 or "Auswertung…" on the main window restores, shows, raises and activates the one
// Auswertung.
void AuswertungInWindow::f2BringsItBack() {
    QFETCH(QString, away);
    QFETCH(bool, byMenu);
    WindowUnderTest t;
    QVERIFY(t.show());
    Auswertung* a = openWithF2(t);
    QVERIFY(a != nullptr);
    QVERIFY(QTest::qWaitForWindowActive(a));
    if (away == QStringLiteral("minimised")) a->showMinimized();
    if (away == QStringLiteral("hidden")) a->hide();
    QApplication::setActiveWindow(&t.window);  // the offscreen platform has no window manager to click
    QVERIFY(QTest::qWaitForWindowActive(&t.window));
    if (byMenu) {
        QMenu* menu = rightClick(t.get("Frame1"));
        QVERIFY(menu != nullptr);
        menu->actions()[0]->trigger();
        menu->close();
    } else {
        QTest::keyClick(&t.window, Qt::Key_F2);
    }
    QVERIFY(QTest::qWaitForWindowActive(a));
    QVERIFY(a->isVisible());
    QVERIFY(!a->isMinimized());
    QCOMPARE(t.window.findChildren<Auswertung*>().size(), 1);
}

void AuswertungInWindow::escapeClosesIt() {
    WindowUnderTest t;
    QVERIFY(t.show());
    Auswertung* a = openWithF2(t);
    QVERIFY(a != nullptr);
    QVERIFY(QTest::qWaitForWindowActive(a));
    QTest::keyClick(a, Qt::Key_Escape);
    QVERIFY(!a->isVisible());
    QVERIFY(t.window.isVisible());
}

void AuswertungInWindow::scenarioFromTheContextMenu_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("refusal");  // empty: the scenario opens
    QTest::addRow("hidden") << QByteArray(R"({"name": "Kreuzung 2", "verdeckt": true, "gewichte": {"2": [3, 1, 1, 1]}})")
                            << QString();
    QTest::addRow("list too short") << QByteArray(R"({"gewichte": {"2": [1, 1, 1]}})")
                                    << QStringLiteral("Schlüssel „gewichte.2“: 3 Gewichte");
    QTest::addRow("not JSON") << QByteArray("gewichte: 2") << QStringLiteral("kein gültiges JSON");
}

// "Szenario öffnen…" in the file dialog: a good file changes the walk and names the scenario in
// the Auswertung, never in the main window's title; a bad one is one German line in the message
// box naming the file, and nothing changes.
void AuswertungInWindow::scenarioFromTheContextMenu() {
    QFETCH(QByteArray, content);
    QFETCH(QString, refusal);
    WindowUnderTest t;
    QVERIFY(t.show());
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("szenario.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    const QString mainTitle = t.window.windowTitle();

    QTimer chooser;  // the dialog is modal: choose the file once it shows
    QObject::connect(&chooser, &QTimer::timeout, [&path] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* name = dialog != nullptr ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (name == nullptr) return;
        name->setText(path);  // typed: selectFile() waits for the dialog's folder to be read
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, which checks the file
    });
    chooser.start(10);
    QMenu* menu = rightClick(t.get("Wexal"));
    QVERIFY(menu != nullptr);
    menu->actions()[3]->trigger();
    menu->close();
    chooser.stop();

    QCOMPARE(t.window.windowTitle(), mainTitle);
    t.window.showAuswertung();
    const auto* a = t.window.findChild<Auswertung*>();
    QVERIFY(a != nullptr);
    if (refusal.isEmpty()) {
        QVERIFY(t.runtime.messages().empty());
        QCOMPARE(t.window.escape().scenario()->name, std::string("Kreuzung 2"));
        QCOMPARE(a->windowTitle(), QStringLiteral("Wexal – Auswertung – Szenario „Kreuzung 2“"));
        return;
    }
    QCOMPARE(t.runtime.messages().size(), std::size_t{1});
    const QString said = QString::fromStdString(t.runtime.messages().front());
    QVERIFY2(said.contains(path) && said.contains(refusal) && !said.contains(QLatin1Char('\n')), qPrintable(said));
    QVERIFY(!t.window.escape().scenario().has_value());
    QCOMPARE(a->windowTitle(), QStringLiteral("Wexal – Auswertung"));
}

QTEST_MAIN(AuswertungInWindow)
#include "window_test.moc"
