// SPDX-License-Identifier: GPL-3.0-or-later
// The layout pass on the real controls: pixel geometry, repeated passes, the robber's place.
#include <QLabel>
#include <QPushButton>

#include "core/scripted_random.h"
#include "ui/layout.h"
#include "ui/map_box.h"
#include "ui/window_fixture.h"

using namespace wexal;
using namespace wexal::test;

namespace {

// Every control's geometry and font size, and the node coordinates: what a layout pass sets.
QStringList snapshot(const WindowUnderTest& t) {
    QStringList lines;
    for (QWidget* w : t.window.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty()) continue;
        const QRect g = w->geometry();
        lines << QStringLiteral("%1 %2,%3 %4x%5 %6 %7")
                     .arg(w->objectName())
                     .arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())
                     .arg(w->font().pointSizeF())
                     .arg(static_cast<int>(w->isVisibleTo(&t.window)));
    }
    for (int n = 1; n <= 14; ++n) {
        lines << QStringLiteral("node %1 %2,%3").arg(n).arg(t.window.nodePlace(n).x()).arg(t.window.nodePlace(n).y());
    }
    lines.sort();
    return lines;
}

}  // namespace

class WindowLayout : public QObject {
    Q_OBJECT

private slots:
    void pixelGeometry_data();
    void pixelGeometry();
    void repeatedPassesChangeNothing();
    void windowSizeNeverFollowsTheLayout();
    void robberKeepsItsPlaceThroughALayoutPass();
    void tracesLandOnTheStreets();
};

void WindowLayout::pixelGeometry_data() {
    QTest::addColumn<double>("screenWidth");
    QTest::addColumn<double>("screenHeight");
    QTest::addColumn<QRect>("picBox");
    QTest::addColumn<QRect>("cmdNeustart");
    QTest::addColumn<double>("buttonFont");
    QTest::addColumn<QPoint>("image1");
    // At 96 dpi 15 units make a pixel.
    QTest::newRow("design") << 12288.0 << 9216.0 << QRect(56, 80, 305, 273) << QRect(16, 120, 217, 33) << 10.0
                            << QPoint(0, 13);
    QTest::newRow("xga") << 15360.0 << 11520.0 << QRect(70, 100, 381, 341) << QRect(20, 150, 271, 41) << 12.5
                         << QPoint(0, 13);
    QTest::newRow("wide") << 20490.0 << 11520.0 << QRect(93, 100, 509, 341) << QRect(27, 150, 362, 41)
                          << 16.6748046875 << QPoint(0, 13);
}

void WindowLayout::pixelGeometry() {
    QFETCH(double, screenWidth);
    QFETCH(double, screenHeight);
    QFETCH(QRect, picBox);
    QFETCH(QRect, cmdNeustart);
    QFETCH(double, buttonFont);
    QFETCH(QPoint, image1);
    WindowUnderTest t(std::make_unique<SeededRandom>(1), {screenWidth, screenHeight});
    QCOMPARE(t.window.logicalDpiX(), 96);
    QCOMPARE(t.get("picBox")->geometry(), picBox);
    QCOMPARE(t.get("cmdNeustart")->geometry(), cmdNeustart);
    QCOMPARE(t.get("cmdNeustart")->font().pointSizeF(), buttonFont);
    QCOMPARE(t.get("Image1")->pos(), image1);
    QCOMPARE(t.get("Image1")->size(), QSize(105, 207));
}

void WindowLayout::repeatedPassesChangeNothing() {
    WindowUnderTest t;
    QVERIFY(t.show());
    const QStringList first = snapshot(t);
    for (int i = 0; i < 40; ++i) {
        t.window.resize(300 + 17 * i, 200 + 11 * i);
        QApplication::processEvents();
    }
    t.window.showMaximized();
    QApplication::processEvents();
    t.window.showMinimized();
    QApplication::processEvents();
    t.window.showNormal();
    QApplication::processEvents();
    QCOMPARE(snapshot(t), first);
}

void WindowLayout::windowSizeNeverFollowsTheLayout() {
    WindowUnderTest t;
    QVERIFY(t.show());
    const QSize start = t.window.size();
    QCOMPARE(start, QSize(layout::toPixels(8265, 96), layout::toPixels(7065, 96)));
    t.window.resize(start);  // a resize event runs a layout pass
    QCOMPARE(t.window.size(), start);
    // At the start size the layout reaches beyond the window: nothing shrinks to fit.
    QVERIFY(t.get("Frame1")->geometry().right() > t.window.width());
}

// A layout pass leaves the robber where the escape put it; before any step it waits at the
// bank's design place.
void WindowLayout::robberKeepsItsPlaceThroughALayoutPass() {
    WindowUnderTest t(std::make_unique<ScriptedRandom>(std::vector<float>{position(1, 2)}));
    QVERIFY(t.show());
    QCOMPARE(t.get("imgBrammler")->pos(), QPoint(layout::toPixels(1920 * 1.25, 96), layout::toPixels(840 * 1.25, 96)));
    t.click("cmdEinzel");  // to node 2 at (750, 1350)
    const QPoint onNode2(layout::toPixels(750, 96), layout::toPixels(1350 - 612 * 1.25 / 3, 96));
    QCOMPARE(t.get("imgBrammler")->pos(), onNode2);
    t.window.resize(t.window.width() + 50, t.window.height() + 30);
    QApplication::processEvents();
    QCOMPARE(t.get("imgBrammler")->pos(), onNode2);
}

void WindowLayout::tracesLandOnTheStreets() {
    WindowUnderTest t(std::make_unique<ScriptedRandom>(std::vector<float>{position(2, 2), position(2, 3)}));
    QVERIFY(t.show());
    t.click("cmdEinzel");  // bank -> 3
    t.click("cmdEinzel");  // 3 -> 5
    const auto* map = static_cast<const MapBox*>(t.get("picBox"));
    const QImage& traces = map->traces();
    // Street 1 -> 3 runs at y = (1080 + 187) x 1.25 units between x = 2107 and 3547 (x 1.25).
    const int y = layout::toPixels(1267 * 1.25, 96);
    for (double x : {2200.0, 2800.0, 3400.0}) {
        QCOMPARE(QColor(traces.pixel(layout::toPixels(x * 1.25, 96), y)), QColor(Qt::black));
    }
    // The block between the upper and the middle street stays clear of traces.
    QCOMPARE(qAlpha(traces.pixel(layout::toPixels(2200 * 1.25, 96), layout::toPixels(1900 * 1.25, 96))), 0);
}

QTEST_MAIN(WindowLayout)
#include "window_layout_test.moc"
