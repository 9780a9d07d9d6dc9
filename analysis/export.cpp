// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/export.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <sstream>

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QImage>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTextDocument>

#include "analysis/chart_picture.h"
#include "analysis/result_table_model.h"
#include "sim/result_wording.h"

namespace wexal::analysis {
namespace {

struct FormatInfo {
    SaveFormat format;
    const char* extension;
    const char* filter;
};

constexpr std::array<FormatInfo, 4> kFormats = {{
    {SaveFormat::Csv, "csv", "CSV-Tabelle (*.csv)"},
    {SaveFormat::Png, "png", "PNG-Bild der Diagramme (*.png)"},
    {SaveFormat::Svg, "svg", "SVG-Grafik der Diagramme (*.svg)"},
    {SaveFormat::Pdf, "pdf", "PDF-Arbeitsblatt mit Tabelle und Diagrammen (*.pdf)"},
}};

constexpr int kPdfDpi = 300;
constexpr double kMillimetresPerInch = 25.4;
constexpr double kSvgWidthMm = 180;
constexpr qreal kPdfMarginMm = 15;
constexpr qreal kPdfTablePart = 0.4;  // of the page's height; the charts take the rest

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

QString tableHtml(const ResultTableModel& table) {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\"><tr>");
    for (int c = 0; c < table.columnCount(); ++c) {
        QString heading = table.headerData(c, Qt::Horizontal).toString().toHtmlEscaped();
        html += QStringLiteral("<th>%1</th>").arg(heading.replace(u'\n', QStringLiteral("<br>")));
    }
    html += QStringLiteral("</tr>");
    for (int r = 0; r < table.rowCount(); ++r) {
        html += QStringLiteral("<tr>");
        for (int c = 0; c < table.columnCount(); ++c) {
            const QString align = c <= ResultTableModel::kBarrier ? QStringLiteral("left") : QStringLiteral("right");
            html += QStringLiteral("<td align=\"%1\">%2</td>")
                        .arg(align, table.data(table.index(r, c)).toString().toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString worksheetHtml(const ResultTableModel& table) {
    const CountedExits counted = table.counted();
    QString html = QStringLiteral("<h2>Wexal – Auswertung</h2><p>%1</p>")
                       .arg(fromUtf8(wording::settingLine(table.escape().setting(), counted.escapes)).toHtmlEscaped());
    if (table.mixed()) {
        html += QStringLiteral("<p><b>%1</b></p>").arg(fromUtf8(wording::mixedSettingsNotice()).toHtmlEscaped());
    }
    html += tableHtml(table);
    html += QStringLiteral("<p>%1</p>")
                .arg(fromUtf8(wording::goodnessOfFitLine(counted, table.exact(), table.mixed())).toHtmlEscaped());
    return html;
}

}  // namespace

std::optional<SaveFormat> saveFormatFor(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const FormatInfo& f : kFormats) {
        if (suffix == QLatin1String(f.extension)) return f.format;
    }
    return std::nullopt;
}

QString saveFilters() {
    QStringList filters;
    for (const FormatInfo& f : kFormats) filters << QString::fromUtf8(f.filter);
    return filters.join(QStringLiteral(";;"));
}

SaveFormat saveFormatOfFilter(const QString& filter) {
    for (const FormatInfo& f : kFormats) {
        if (filter == QString::fromUtf8(f.filter)) return f.format;
    }
    return SaveFormat::Csv;
}

QString extensionOf(SaveFormat format) {
    for (const FormatInfo& f : kFormats) {
        if (f.format == format) return QString::fromLatin1(f.extension);
    }
    return {};
}

std::optional<QString> saveAtomically(const QString& path,
                                      const std::function<bool(QIODevice&)>& write) {
    const auto failure = [&path](const QString& reason) {
        return QStringLiteral("Die Datei „%1“ konnte nicht gespeichert werden: %2").arg(path, reason);
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return failure(file.errorString());
    if (!write(file)) {
        file.cancelWriting();
        const QString reason = file.errorString();
        file.commit();  // removes the temporary file; the target stays as it was
        return failure(reason);
    }
    if (!file.commit()) return failure(file.errorString());
    return std::nullopt;
}

bool writeChartsPng(QIODevice& device, const ChartData& data) {
    const QSize size = picturesSize(kSavedCharts).toSize();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        paintCharts(painter, QRectF(QPointF(0, 0), size), data, kSavedCharts);
    }
    return image.save(&device, "PNG");
}

bool writeChartsSvg(QIODevice& device, const ChartData& data) {
    const QSize size = picturesSize(kSavedCharts).toSize();
    QSvgGenerator svg;
    svg.setOutputDevice(&device);
    svg.setSize(size);
    // As wide as an A4 page's text: the picture fits a page or a word processor's column.
    svg.setResolution(static_cast<int>(std::ceil(size.width() * kMillimetresPerInch / kSvgWidthMm)));
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Wexal – Auswertung"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    paintCharts(painter, QRectF(QPointF(0, 0), size), data, kSavedCharts);
    return painter.end();
}

Results resultsOf(const ResultTableModel& table) {
    const Escape& escape = table.escape();
    const Statistics statistics = escape.statistics();
    Results results;
    results.setting = escape.setting();
    results.tally = Tally{table.counted(), statistics.succeeded, statistics.failed, escape.countedSteps()};
    results.mixed = table.mixed();
    results.date = localDateNow();
    return results;
}

bool writeCsv(QIODevice& device, const ResultTableModel& table) {
    std::ostringstream out;
    writeResultsFile(out, resultsOf(table), table.exact());
    const std::string text = out.str();
    return device.write(text.data(), static_cast<qint64>(text.size())) ==
           static_cast<qint64>(text.size());
}

bool writeWorksheetPdf(QIODevice& device, const ResultTableModel& table, const ChartData& data) {
    QPdfWriter pdf(&device);
    pdf.setTitle(QStringLiteral("Wexal – Auswertung"));
    pdf.setCreator(QStringLiteral("Wexal"));
    pdf.setResolution(kPdfDpi);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                       QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    const QRectF page(QPointF(0, 0), QSizeF(pdf.width(), pdf.height()));

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&pdf);
    document.setPageSize(page.size());
    document.setHtml(worksheetHtml(table));
    document.drawContents(&painter, page);

    const qreal top = std::max(document.size().height(), page.height() * kPdfTablePart);
    paintCharts(painter, QRectF(0, top, page.width(), page.height() - top), data,
                {Qt::Vertical, QSizeF(800, 560), 16});
    return painter.end();
}

ChartData chartDataOf(const ResultTableModel& table) {
    return chartData(table.escape().setting(), table.counted(), table.escape().shareHistory(), table.exact());
}

std::optional<QString> saveResults(const QString& path, const ResultTableModel& table) {
    const std::optional<SaveFormat> format = saveFormatFor(path);
    if (!format) {
        return QStringLiteral("„%1“: Bitte als .csv, .png, .svg oder .pdf speichern.").arg(path);
    }
    return saveAtomically(path, [&](QIODevice& device) {
        switch (*format) {
            case SaveFormat::Csv: return writeCsv(device, table);
            case SaveFormat::Png: return writeChartsPng(device, chartDataOf(table));
            case SaveFormat::Svg: return writeChartsSvg(device, chartDataOf(table));
            case SaveFormat::Pdf: return writeWorksheetPdf(device, table, chartDataOf(table));
        }
        return false;
    });
}

std::optional<QString> saveCharts(const QString& path, const ChartData& data) {
    const std::optional<SaveFormat> format = saveFormatFor(path);
    if (format != SaveFormat::Png && format != SaveFormat::Svg) {
        return QStringLiteral("„%1“: Diagramme nur als .svg oder .png").arg(path);
    }
    return saveAtomically(path, [&](QIODevice& device) {
        return format == SaveFormat::Png ? writeChartsPng(device, data) : writeChartsSvg(device, data);
    });
}

}  // namespace wexal::analysis
