// SPDX-License-Identifier: GPL-3.0-or-later
// The Auswertung on the screen this test is started with (the offscreen platform configured
// as 800 × 600 up to 1920 × 1080): it opens within the available area, its buttons on the
// screen; from 1024 × 768 on every column and both charts show without scrolling; the
// projector view makes every text readable across a classroom and is remembered; moved to a
// smaller screen it fits itself again.
#include <QAbstractScrollArea>
#include <QChartView>
#include <QFontInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QValueAxis>
#include <QSettings>
#include <QWindow>

#include "analysis/auswertung.h"
#include "analysis/convergence_chart.h"
#include "analysis/frequency_chart.h"
#include "platform/headless_runtime.h"
#include "platform/random_source.h"
#include "sim/escape.h"

using namespace wexal;
using analysis::Auswertung;

namespace {

struct Opened {
    Opened() : runtime(std::make_unique<SeededRandom>(1), ScreenSize{15360, 11520}), escape(random) {
        for (int n = 0; n < 300; ++n) {
            escape.wholeEscape();
            escape.restart();
        }
    }
    SeededRandom random{3};
    HeadlessRuntime runtime;
    Escape escape;
};

QRect screenArea(const QWidget& w) { return w.screen()->geometry(); }

QRect globalRect(const QWidget& w) { return QRect(w.mapToGlobal(QPoint(0, 0)), w.size()); }

// Shown, and inside the viewport of the scroll area around its page.
bool fullyVisible(const QWidget& w) {
    const auto* scroller = qobject_cast<const QScrollArea*>(w.window()->findChild<QScrollArea*>(
        QStringLiteral("ErgebnisseRollbereich")));
    return w.isVisible() && scroller != nullptr && globalRect(*scroller->viewport()).contains(globalRect(w));
}

int pixels(const QFont& font) { return QFontInfo(font).pixelSize(); }

}  // namespace

class Screens : public QObject {
    Q_OBJECT

private slots:
    void init() { QSettings(QStringLiteral("Wexal"), QStringLiteral("Wexal")).clear(); }
    void opensWithinTheAvailableArea();
    void largestStepReadsAcrossTheRoom();
    void fitsAgainOnASmallerScreen();
};

void Screens::opensWithinTheAvailableArea() {
    Opened o;
    Auswertung a(o.escape, o.runtime);
    a.show();
    QVERIFY(QTest::qWaitForWindowExposed(&a));
    const QRect available = a.screen()->availableGeometry();
    QVERIFY2(available.contains(a.frameGeometry()),
             qPrintable(QStringLiteral("frame %1,%2 %3×%4").arg(a.frameGeometry().x()).arg(a.frameGeometry().y())
                            .arg(a.frameGeometry().width()).arg(a.frameGeometry().height())));
    // The window's own buttons below the pages (Zeitlupe, save, close); a page's buttons scroll
    // with it.
    const QList<QPushButton*> buttons = a.findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(buttons.size(), 3);
    for (const QPushButton* b : buttons) QVERIFY2(screenArea(a).contains(globalRect(*b)), qPrintable(b->text()));
    if (available.width() < 1024 || available.height() < 768) return;

    const auto& table = *a.findChild<QTableView*>(QStringLiteral("Ergebnistabelle"));
    QVERIFY(fullyVisible(table));
    for (int c = 0; c < table.model()->columnCount(); ++c) {
        const QHeaderView& header = *table.horizontalHeader();
        QVERIFY2(header.sectionViewportPosition(c) + header.sectionSize(c) <= table.viewport()->width(),
                 qPrintable(table.model()->headerData(c, Qt::Horizontal).toString()));
    }
    QVERIFY(table.verticalHeader()->length() <= table.viewport()->height());
    for (const char* chart : {"Häufigkeiten", "Konvergenz"}) {
        QVERIFY2(fullyVisible(*a.findChild<QChartView*>(QString::fromUtf8(chart))), chart);
    }
}

// Ctrl + Plus to the last step: the table's font and the chart axes' fonts reach 2.4 % of the
// screen's height; Ctrl + 0 goes back; the step is there at the next start.
void Screens::largestStepReadsAcrossTheRoom() {
    Opened o;
    auto a = std::make_unique<Auswertung>(o.escape, o.runtime);
    a->show();
    QVERIFY(QTest::qWaitForWindowActive(a.get()));
    const int needed = static_cast<int>(std::ceil(0.024 * a->screen()->geometry().height()));
    const auto& table = *a->findChild<QTableView*>(QStringLiteral("Ergebnistabelle"));
    const int normal = pixels(table.font());
    double before = 0;
    while (a->textScale() > before) {
        before = a->textScale();
        QTest::keyClick(a.get(), Qt::Key_Plus, Qt::ControlModifier);
    }
    QCOMPARE(a->textScale(), a->largestTextScale());
    QVERIFY2(pixels(table.font()) >= needed, qPrintable(QStringLiteral("%1 < %2").arg(pixels(table.font())).arg(needed)));
    for (const QChart* chart : {static_cast<const QChart*>(&a->frequencyChart()),
                                static_cast<const QChart*>(&a->convergenceChart())}) {
        for (const QAbstractAxis* axis : chart->axes()) QVERIFY(pixels(axis->labelsFont()) >= needed);
        QVERIFY(pixels(chart->titleFont()) >= needed);
    }
    QVERIFY(screenArea(*a).contains(globalRect(*a->findChild<QPushButton*>(QStringLiteral("Schliessen")))));
    a.reset();

    Auswertung again(o.escape, o.runtime);
    QCOMPARE(again.textScale(), again.largestTextScale());
    again.show();
    QVERIFY(QTest::qWaitForWindowActive(&again));
    QTest::keyClick(&again, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(again.textScale(), 1.0);
    QCOMPARE(pixels(again.findChild<QTableView*>(QStringLiteral("Ergebnistabelle"))->font()), normal);
}

void Screens::fitsAgainOnASmallerScreen() {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2) QSKIP("one screen configured");
    Opened o;
    Auswertung a(o.escape, o.runtime);
    a.show();
    QVERIFY(QTest::qWaitForWindowExposed(&a));
    QScreen* smallest = *std::min_element(screens.begin(), screens.end(), [](QScreen* x, QScreen* y) {
        return x->geometry().height() < y->geometry().height();
    });
    QVERIFY(a.screen() != smallest);
    a.windowHandle()->setScreen(smallest);
    QTRY_VERIFY(smallest->availableGeometry().contains(a.frameGeometry()));
}

QTEST_MAIN(Screens)
#include "screens_test.moc"
