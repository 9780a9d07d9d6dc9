// SPDX-License-Identifier: GPL-3.0-or-later
// The labelled map: nothing on it covers anything else at the sizes it is given, every exit
// shows its barrier as the main window's counter boxes do, and a screen reader hears each
// exit's place, box and barrier.
#include <QImage>
#include <QPainter>
#include <QTest>

#include "analysis/map_page.h"
#include "analysis/street_map.h"
#include "sim/node_places.h"

using namespace wexal;
using namespace wexal::analysis;

namespace {

Setting settingFrom(const char* barriers) {
    Setting setting;
    for (int i = 0; i < network::kBarrierCount; ++i) setting.barriers[static_cast<std::size_t>(i)] = barriers[i] == '1';
    return setting;
}

StreetMapContent contentWith(const char* barriers, bool notes) {
    StreetMapContent content;
    content.setting = settingFrom(barriers);
    if (!notes) return content;
    for (int node : places::kExitsAroundTheMap) {
        content.notes[static_cast<std::size_t>(node)] = exitNote(13931, 20000, mpq_class(25, 36));
    }
    for (int node = 1; node <= 5; ++node) content.notes[static_cast<std::size_t>(node)] = QStringLiteral("5/12");
    return content;
}

QFont fontOfPixels(int pixels) {
    QFont font;
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

class MapTest : public QObject {
    Q_OBJECT

private slots:
    void nothingCoversAnythingElse_data();
    void nothingCoversAnythingElse();
    void exitsShowTheirBarrier_data();
    void exitsShowTheirBarrier();
    void aScreenReaderHearsEveryExit();
};

void MapTest::nothingCoversAnythingElse_data() {
    QTest::addColumn<QString>("barriers");
    QTest::addColumn<bool>("notes");
    QTest::addColumn<int>("pixels");  // the font's
    QTest::addColumn<QSize>("grow");  // beyond the smallest size
    QTest::addRow("start setting, smallest") << "10110101" << false << 13 << QSize(0, 0);
    QTest::addRow("with notes, smallest") << "10110101" << true << 13 << QSize(0, 0);
    QTest::addRow("node 6 no exit, notes") << "10110001" << true << 13 << QSize(0, 0);
    QTest::addRow("projector font, wide") << "11111111" << true << 26 << QSize(900, 0);
    QTest::addRow("small font, tall") << "00000000" << true << 9 << QSize(0, 700);
}

// At its minimum size and in any larger target the map's pieces stay apart and inside.
void MapTest::nothingCoversAnythingElse() {
    QFETCH(QString, barriers);
    QFETCH(bool, notes);
    QFETCH(int, pixels);
    QFETCH(QSize, grow);
    const StreetMapContent content = contentWith(barriers.toLatin1().constData(), notes);
    QImage device(1, 1, QImage::Format_RGB32);
    const QFont font = fontOfPixels(pixels);
    const QSizeF smallest = streetMapMinimumSize(content, font, &device);
    const QRectF target(QPointF(7, 5), smallest + QSizeF(grow));
    const StreetMapLayout layout = layOutStreetMap(target, content, font, &device);
    QVERIFY(layout.scale > 0);
    const QRectF inside = target.adjusted(-0.5, -0.5, 0.5, 0.5);  // rounding of the search
    QVERIFY(inside.contains(layout.legend));
    for (std::size_t i = 0; i < layout.pieces.size(); ++i) {
        const StreetMapLayout::Piece& a = layout.pieces[i];
        QVERIFY2(inside.contains(a.rect), qPrintable(QStringLiteral("node %1 sticks out").arg(a.node)));
        QVERIFY(!a.rect.intersects(layout.legend));
        for (std::size_t j = i + 1; j < layout.pieces.size(); ++j) {
            QVERIFY2(!a.rect.intersects(layout.pieces[j].rect),
                     qPrintable(QStringLiteral("nodes %1 and %2").arg(a.node).arg(layout.pieces[j].node)));
        }
    }
}

void MapTest::exitsShowTheirBarrier_data() {
    QTest::addColumn<QString>("barriers");
    QTest::addRow("start setting") << "10110101";
    QTest::addRow("every barrier on") << "11111111";
    QTest::addRow("every barrier off") << "00000000";
    QTest::addRow("only barrier 5") << "00000100";
}

// A guarded exit's square is yellow like its counter box, an open one white; node 6 without
// its barrier is no exit and has no square.
void MapTest::exitsShowTheirBarrier() {
    QFETCH(QString, barriers);
    const StreetMapContent content = contentWith(barriers.toLatin1().constData(), false);
    QImage image(900, 700, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRectF target(0, 0, image.width(), image.height());
    const QFont font = fontOfPixels(14);
    {
        QPainter painter(&image);
        paintStreetMap(painter, target, content, font);
    }
    const StreetMapLayout layout = layOutStreetMap(target, content, font, &image);
    for (int box = 0; box < network::kBarrierCount; ++box) {
        const int node = network::kExitOfBox[static_cast<std::size_t>(box)];
        const QRectF square = layout.pieces[static_cast<std::size_t>(node - 1)].rect;  // nodes come first
        const QColor corner = image.pixelColor(square.topLeft().toPoint() + QPoint(3, 3));
        const bool on = barriers[box] == u'1';
        const QColor expected = on ? QColor(255, 255, 0) : QColor(Qt::white);
        QVERIFY2(corner == expected, qPrintable(QStringLiteral("exit %1: %2").arg(node).arg(corner.name())));
    }
}

void MapTest::aScreenReaderHearsEveryExit() {
    const QString said = streetMapDescription(settingFrom("10110001"));
    QVERIFY(said.contains(QStringLiteral("Die Bank liegt an Knoten 1")));
    QVERIFY(said.contains(QStringLiteral("Ausgang 13 unten links, Zählerbox 4, Lichtschranke aus")));
    QVERIFY(said.contains(QStringLiteral("Ausgang 9 oben links, Zählerbox 0, Lichtschranke an")));
    QVERIFY(said.contains(QStringLiteral("Zählerbox 5, Lichtschranke aus, zur Zeit kein Ausgang")));
    // Around the map, as the table lists them.
    qsizetype last = -1;
    for (int node : places::kExitsAroundTheMap) {
        const qsizetype at = said.indexOf(QStringLiteral("Ausgang %1 ").arg(node));
        QVERIFY(at > last);
        last = at;
    }
    QCOMPARE(exitNote(0, 0, mpq_class(1, 6)), QStringLiteral("P = 1/6"));
    QCOMPARE(exitNote(13931, 20000, mpq_class(25, 36)), QStringLiteral("13\u202F931-mal, h = 0,6966\nP = 25/36"));
}

QTEST_MAIN(MapTest)
#include "map_test.moc"
