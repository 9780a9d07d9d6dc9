// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/export.h"

#include <array>
#include <cmath>
#include <sstream>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSvgGenerator>

#include "analysis/chart_picture.h"
#include "analysis/result_table_model.h"
#include "analysis/worksheet.h"
#include "platform/whole_file.h"

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
    {SaveFormat::Pdf, "pdf", "PDF-Arbeitsblatt mit Stadtplan, Tabelle und Diagrammen (*.pdf)"},
}};

constexpr double kMillimetresPerInch = 25.4;
constexpr double kSvgWidthMm = 180;

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
    const std::string name = QFile::encodeName(path).toStdString();
    const auto failure = [&name](const std::string& reason) {
        return QString::fromStdString(saveFailureLine(name, reason));
    };
    // Refused before anything is drawn: a missing folder or a FIFO in the way.
    if (auto reason = checkWritable(name)) return failure(*reason);
    // Drawn into memory, where no write falls short and no library prints a word; the file
    // gets the bytes in one checked step.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer)) return failure("Der Inhalt ließ sich nicht erzeugen");
    buffer.close();
    const std::string_view content(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (auto reason = writeWholeFile(name, content)) return failure(*reason);
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

Results resultsOf(const ResultTableModel& table, const QString& name) {
    Results results;
    if (table.classResults()) {
        results = *table.classResults();
    } else {
        results.setting = table.escape().setting();
        results.tally = table.tally();
        results.mixed = table.mixed();
    }
    results.date = localDateNow();
    if (!name.trimmed().isEmpty()) results.name = name.trimmed().toStdString();
    return results;
}

bool writeCsv(QIODevice& device, const ResultTableModel& table, const QString& name) {
    std::ostringstream out;
    writeResultsFile(out, resultsOf(table, name), table.exact());
    const std::string text = out.str();
    return device.write(text.data(), static_cast<qint64>(text.size())) ==
           static_cast<qint64>(text.size());
}

ChartData chartDataOf(const ResultTableModel& table) {
    // A class has no history of its escapes: its share shows in the funnel instead.
    const ShareHistory none;
    const ShareHistory& history = table.classResults() ? none : table.escape().shareHistory();
    return chartData(table.escape().setting(), table.counted(), history, table.exact());
}

std::optional<QString> saveResults(const QString& path, const ResultTableModel& table, const QString& name) {
    const std::optional<SaveFormat> format = saveFormatFor(path);
    if (!format) {
        return QStringLiteral("„%1“: Bitte als .csv, .png, .svg oder .pdf speichern.").arg(path);
    }
    return saveAtomically(path, [&](QIODevice& device) {
        switch (*format) {
            case SaveFormat::Csv: return writeCsv(device, table, name);
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
