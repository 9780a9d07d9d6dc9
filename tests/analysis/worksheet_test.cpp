// SPDX-License-Identifier: GPL-3.0-or-later
// The worksheet PDF and the saved pictures as a teacher hands them out: one A4 page whose parts
// never overlap (the charts always below the table, also with the notice and wrapped lines),
// no text below 9 pt and no word split, a heading with setting, date and number of escapes;
// an SVG no wider than an A4 page, with a viewBox.
#include <QBuffer>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "analysis/export.h"
#include "analysis/result_table_model.h"
#include "analysis/worksheet.h"
#include "platform/random_source.h"
#include "sim/escape.h"
#include "sim/result_wording.h"

using namespace wexal;
using namespace wexal::analysis;

namespace {

const QDate kDate(2026, 5, 3);

// Runs `escapes` escapes under the barriers and option given, then more under another
// barrier when `mixed`.
struct Run {
    Run(const QString& barriers, bool turnBack, int escapes, bool mixed) : escape(random), model(escape) {
        for (int i = 0; i < network::kBarrierCount; ++i) escape.setBarrier(i, barriers[i] == u'1');
        escape.setTurnBack(turnBack);
        for (int n = 0; n < escapes; ++n) {
            escape.wholeEscape();
            escape.restart();
        }
        if (mixed) {
            escape.setBarrier(1, !escape.setting().barriers[1]);
            escape.wholeEscape();
            escape.restart();
        }
        model.refresh();
    }
    SeededRandom random{4};
    Escape escape;
    ResultTableModel model;
};

// Every line of the document starts a paragraph or follows a blank: no word is broken.
bool breaksOnlyBetweenWords(const QTextDocument& doc) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const QString text = block.text();
        for (int i = 1; i < layout->lineCount(); ++i) {
            const int start = layout->lineAt(i).textStart();
            if (start > 0 && !text[start - 1].isSpace()) return false;
        }
    }
    return true;
}

double smallestPoints(const QTextDocument& doc) {
    double smallest = 1000;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QFont font = fragment.fragment().charFormat().font();
            smallest = std::min(smallest, font.pointSizeF() > 0 ? font.pointSizeF() : doc.defaultFont().pointSizeF());
        }
    }
    return smallest;
}

}  // namespace

class WorksheetTest : public QObject {
    Q_OBJECT

private slots:
    void partsStayApartOnOnePage_data();
    void partsStayApartOnOnePage();
    void svgFitsAnA4Page();
};

void WorksheetTest::partsStayApartOnOnePage_data() {
    QTest::addColumn<QString>("barriers");
    QTest::addColumn<bool>("turnBack");
    QTest::addColumn<int>("escapes");
    QTest::addColumn<bool>("mixed");
    QTest::addRow("start setting") << "10110101" << false << 500 << false;
    QTest::addRow("nothing counted") << "10110101" << false << 0 << false;
    QTest::addRow("mixed-settings notice") << "10110101" << false << 500 << true;
    QTest::addRow("ja, long fractions, notice") << "01001010" << true << 2000 << true;
    QTest::addRow("grouped counts") << "11111111" << true << 30000 << false;
}

void WorksheetTest::partsStayApartOnOnePage() {
    QFETCH(QString, barriers);
    QFETCH(bool, turnBack);
    QFETCH(int, escapes);
    QFETCH(bool, mixed);
    const Run run(barriers, turnBack, escapes, mixed);
    const ChartData charts = chartDataOf(run.model);

    QBuffer file;
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(writeWorksheetPdf(file, run.model, charts, kDate));
    const QByteArray pdf = file.data();
    QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page/") +
                 pdf.count("/Type /Page "), 1);

    // The same layout on the same kind of device, read back part by part.
    QBuffer scratch;
    QVERIFY(scratch.open(QIODevice::WriteOnly));
    QPdfWriter device(&scratch);
    device.setResolution(300);
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    const QRectF page(0, 0, device.width(), device.height());
    Worksheet sheet(run.model, charts, kDate);
    const Worksheet::Layout at = sheet.layOut(device, page);
    const QList<QRectF> topToBottom{at.heading, at.map, at.table, at.charts};
    for (qsizetype i = 0; i < topToBottom.size(); ++i) {
        QVERIFY2(page.contains(topToBottom[i]), qPrintable(QStringLiteral("part %1 leaves the page").arg(i)));
        if (i > 0) QVERIFY2(topToBottom[i].top() >= topToBottom[i - 1].bottom(), qPrintable(QStringLiteral("part %1").arg(i)));
    }
    QVERIFY(page.contains(at.notes) && at.notes.left() >= at.map.right() && at.notes.bottom() <= at.table.top());
    QVERIFY(at.charts.height() >= 0.25 * page.height());  // both charts have room
    for (const QTextDocument* doc : {&sheet.headingText(), &sheet.tableText(), &sheet.notesText()}) {
        QVERIFY(smallestPoints(*doc) >= Worksheet::kSmallestPoints);
        QVERIFY(breaksOnlyBetweenWords(*doc));
    }
    // Plain text turns no-break spaces into blanks.
    const auto blanks = [](QString text) { return text.replace(QChar::Nbsp, u' ').replace(QChar(0x202F), u' '); };
    const QString heading = blanks(sheet.headingText().toPlainText());
    QVERIFY(heading.contains(blanks(QString::fromStdString(wording::settingLine(run.escape.setting(), run.escape.attempts())))));
    QVERIFY(heading.contains(QStringLiteral("03.05.2026")));
    const QString table = sheet.tableText().toPlainText();
    QVERIFY(table.contains(QStringLiteral("eigene Rechnung")));
    QCOMPARE(table.contains(QString::fromStdString(wording::mixedSettingsNotice())), mixed);
}

// 180 mm wide at most, so it fits a page's text width, and scalable by its viewBox.
void WorksheetTest::svgFitsAnA4Page() {
    const Run run(QStringLiteral("10110101"), false, 300, false);
    QBuffer file;
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(writeChartsSvg(file, chartDataOf(run.model)));
    const QString svg = QString::fromUtf8(file.data());
    const QRegularExpressionMatch width = QRegularExpression(QStringLiteral("<svg[^>]* width=\"([0-9.]+)mm\"")).match(svg);
    QVERIFY2(width.hasMatch(), qPrintable(svg.left(400)));
    QVERIFY(width.captured(1).toDouble() <= 210);
    QVERIFY(width.captured(1).toDouble() >= 150);
    QVERIFY(QRegularExpression(QStringLiteral("<svg[^>]* viewBox=\"0 0 1600 560\"")).match(svg).hasMatch());
    QVERIFY(svg.contains(QStringLiteral("300 Wexalen")));  // the titles name n and the setting
    QVERIFY(svg.contains(QStringLiteral("Lichtschranken 10110101")));
}

QTEST_MAIN(WorksheetTest)
#include "worksheet_test.moc"
