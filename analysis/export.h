// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

#include <QIODevice>
#include <QString>

#include "analysis/chart_data.h"
#include "sim/results_file.h"

namespace wexal::analysis {

class ResultTableModel;

enum class SaveFormat { Csv, Png, Svg, Pdf };

// The format a file name asks for by its extension (any case), or none.
std::optional<SaveFormat> saveFormatFor(const QString& path);

// The file dialog's filters, one per format, in SaveFormat's order.
QString saveFilters();
SaveFormat saveFormatOfFilter(const QString& filter);
QString extensionOf(SaveFormat format);  // "csv"

// Writes the file whole or not at all: into a temporary file in the target's folder, renamed
// over the target only once everything is written. Returns the German text that says why it
// failed, or none.
std::optional<QString> saveAtomically(const QString& path,
                                      const std::function<bool(QIODevice&)>& write);

// The two charts beside each other, as a picture or as vector graphics.
bool writeChartsPng(QIODevice& device, const ChartData& data);
bool writeChartsSvg(QIODevice& device, const ChartData& data);
// What the table shows, as the results file holds it, dated now, with the pupil's or group's
// name when one is given.
Results resultsOf(const ResultTableModel& table, const QString& name = {});
// The results file, as wexal-sim --format csv writes it.
bool writeCsv(QIODevice& device, const ResultTableModel& table, const QString& name = {});

// The Auswertung's results in the format the path's extension names.
// A results file carries the name, if any.
std::optional<QString> saveResults(const QString& path, const ResultTableModel& table, const QString& name = {});

// The charts alone, as wexal-sim --plot writes them: SVG or PNG by extension.
std::optional<QString> saveCharts(const QString& path, const ChartData& data);

// What the charts show for the table's counts, the escape's history (none for a class) and
// its current setting.
ChartData chartDataOf(const ResultTableModel& table);

}  // namespace wexal::analysis
