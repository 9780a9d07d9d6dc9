// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/worksheet.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QPdfWriter>
#include <QTextOption>

#include "analysis/chart_picture.h"
#include "analysis/result_table_model.h"
#include "analysis/street_map.h"
#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

constexpr int kPdfDpi = 300;
constexpr double kMarginMm = 15;
constexpr double kBodyPoints = 10;
constexpr double kTablePoints = 9.5;
constexpr double kTitlePoints = 15;
constexpr double kChartPoints = 9.5;
// A chart keeps some sizes in pixels of its own, whatever its font: laid out this wide and then
// scaled onto the page, its labels keep their room.
constexpr double kChartDesignWidth = 420;
constexpr double kPointsPerInch = 72;
constexpr double kMapShare = 0.2;        // of the page's height, at least
constexpr double kMapWidthShare = 0.68;  // of the page's width, at most; the notes take the rest
constexpr double kGapPoints = 8;
constexpr const char* kOwnWork = "eigene Rechnung";

QString escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

QFont pointFont(double points) {
    QFont font;
    font.setPointSizeF(points);
    return font;
}

// A document that breaks lines between words only, sized in points on device.
std::unique_ptr<QTextDocument> document(const QString& html, double points, QPaintDevice& device, double width) {
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&device);
    doc->setDefaultFont(pointFont(points));
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    doc->setDefaultTextOption(option);
    doc->setDocumentMargin(0);
    doc->setHtml(html);
    doc->setTextWidth(width);
    return doc;
}

QString headingHtml(const ResultTableModel& table, QDate date) {
    const Setting& setting = table.escape().setting();
    QString html = QStringLiteral("<p style=\"font-size:%1pt\"><b>Wexal – Bankraub in Tremmelin: Auswertung</b></p>")
                       .arg(kTitlePoints);
    html += QStringLiteral("<p>%1<br>Datum: %2 &nbsp; &nbsp; Name: ______________________</p>")
                .arg(escaped(wording::settingLine(setting, table.counted().escapes)), date.toString(QStringLiteral("dd.MM.yyyy")));
    return html;
}

QString tableHtml(const ResultTableModel& table) {
    QString html;
    if (table.mixed()) html += QStringLiteral("<p><b>%1</b></p>").arg(escaped(wording::mixedSettingsNotice()));
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\"><tr>");
    for (int c = 0; c < table.columnCount(); ++c) {
        QString heading = table.headerData(c, Qt::Horizontal).toString().toHtmlEscaped();
        html += QStringLiteral("<th>%1</th>").arg(heading.replace(u'\n', QStringLiteral("<br>")));
    }
    html += QStringLiteral("<th width=\"22%\">%1</th></tr>").arg(QString::fromUtf8(kOwnWork));
    for (int r = 0; r < table.rowCount(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < table.columnCount(); ++c) {
            const QString align = c <= ResultTableModel::kBarrier ? QStringLiteral("left") : QStringLiteral("right");
            html += QStringLiteral("<td align=\"%1\">%2</td>")
                        .arg(align, table.data(table.index(r, c)).toString().toHtmlEscaped());
        }
        html += QStringLiteral("<td></td></tr>");
    }
    html += QStringLiteral("</table><p>%1</p>")
                .arg(escaped(wording::goodnessOfFitLine(table.counted(), table.exact(), table.mixed())));
    return html;
}

QString notesHtml() {
    return QStringLiteral(
        "<p><b>So liest du das Blatt</b></p>"
        "<p>Auf dem Stadtplan steht an jedem Ausgang seine Zählerbox. Gelb heißt: die Lichtschranke "
        "ist an, wer dort ankommt, wird gefasst.</p>"
        "<p>In die Spalte „eigene Rechnung“ trägst du die Wahrscheinlichkeit ein, die du selbst "
        "ausgerechnet hast.</p>"
        "<p>Unten links: blaue Balken die relative Häufigkeit, rote Striche die exakte "
        "Wahrscheinlichkeit. Unten rechts: blaue Linie der Anteil der gelungenen Wexalen nach k "
        "Wexalen, rot gestrichelt die Wahrscheinlichkeit p, rot schattiert das 95-%-Band "
        "p ± 1,96·√(p(1−p)/k).</p>");
}

double pixelsPerPoint(const QPaintDevice& device) { return device.logicalDpiY() / kPointsPerInch; }

}  // namespace

Worksheet::Worksheet(const ResultTableModel& table, const ChartData& charts, QDate date)
    : model_(table), charts_(charts), date_(date) {}

Worksheet::~Worksheet() = default;

// Top to bottom: heading, map with the notes beside it, table, charts. The texts take what
// they need; the map is as small as its labels allow, and the charts take the rest, always
// below the table.
Worksheet::Layout Worksheet::layOut(QPaintDevice& device, const QRectF& page) {
    const double width = page.width();
    const double gap = kGapPoints * pixelsPerPoint(device);
    heading_ = document(headingHtml(model_, date_), kBodyPoints, device, width);
    table_ = document(tableHtml(model_), kTablePoints, device, width);
    Layout layout;
    layout.heading = QRectF(page.topLeft(), QSizeF(width, heading_->size().height()));
    StreetMapContent map;
    map.setting = model_.escape().setting();
    const QSizeF smallestMap = streetMapMinimumSize(map, pointFont(kSmallestPoints), &device);
    const double mapWidth = std::min(width * kMapWidthShare, std::max(smallestMap.width(), width / 2));
    notes_ = document(notesHtml(), kSmallestPoints, device, width - mapWidth - gap);
    const double top = layout.heading.bottom() + gap / 2;
    const double mapHeight = std::max({smallestMap.height(), notes_->size().height(), kMapShare * page.height()});
    layout.map = QRectF(page.left(), top, mapWidth, mapHeight);
    layout.notes = QRectF(layout.map.right() + gap, top, width - mapWidth - gap, notes_->size().height());
    layout.table = QRectF(page.left(), layout.map.bottom() + gap, width, table_->size().height());
    layout.charts = QRectF(page.left(), layout.table.bottom() + gap, width,
                           std::max(0.0, page.bottom() - layout.table.bottom() - gap));
    return layout;
}

void Worksheet::paint(QPainter& painter, const QRectF& page) {
    const Layout layout = layOut(*painter.device(), page);
    const auto draw = [&painter](QTextDocument& doc, const QRectF& at) {
        painter.save();
        painter.translate(at.topLeft());
        doc.drawContents(&painter);
        painter.restore();
    };
    draw(*heading_, layout.heading);
    StreetMapContent map;
    map.setting = model_.escape().setting();
    paintStreetMap(painter, layout.map, map, pointFont(kSmallestPoints));
    draw(*table_, layout.table);
    // Two across the page; the heading and the notes say what their titles and legends would.
    const double perPoint = pixelsPerPoint(*painter.device());
    const double chartPoints = layout.charts.width() / 2 / perPoint;
    const double design = kChartDesignWidth / chartPoints;  // design pixels per point
    const QSizeF chart(kChartDesignWidth, layout.charts.height() / perPoint * design);
    ChartData plain = charts_;
    plain.settingInTitles = false;
    paintCharts(painter, layout.charts, plain, {Qt::Horizontal, chart, kChartPoints * design, false});
    draw(*notes_, layout.notes);
}

void setUpA4Page(QPdfWriter& pdf, const QString& title) {
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Wexal"));
    pdf.setResolution(kPdfDpi);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

bool writeWorksheetPdf(QIODevice& device, const ResultTableModel& table, const ChartData& charts, QDate date) {
    QPdfWriter pdf(&device);
    setUpA4Page(pdf, QStringLiteral("Wexal – Auswertung"));
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    Worksheet sheet(table, charts, date);
    sheet.paint(painter, QRectF(QPointF(0, 0), QSizeF(pdf.width(), pdf.height())));
    return painter.end();
}

}  // namespace wexal::analysis
