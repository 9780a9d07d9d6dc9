// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/plot.h"

#include <iostream>
#include <span>
#include <string_view>

#include <QApplication>

#include "analysis/export.h"

namespace wexal::cli {
namespace {

bool asksForPlot(std::span<char*> arguments) {
    for (const char* argument : arguments.subspan(1)) {
        const std::string_view text(argument);
        if (text == "--") return false;
        if (text == "--plot" || text.starts_with("--plot=")) return true;
    }
    return false;
}

// The offscreen platform looks up a runtime folder it never uses and warns on stderr when the
// environment names none (as under sudo or in a container); stderr carries wexal-sim's own
// lines only.
void dropRuntimeFolderWarning(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
    std::cerr << qPrintable(qFormatLogMessage(type, context, text)) << std::endl;
}

}  // namespace

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    if (!asksForPlot(std::span(argv, static_cast<std::size_t>(argc)))) {
        return std::make_unique<QCoreApplication>(argc, argv);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");  // never a window, also with a display at hand
    qInstallMessageHandler(dropRuntimeFolderWarning);
    return std::make_unique<QApplication>(argc, argv);
}

std::optional<std::string> writePlot(const Report& report, const std::string& path) {
    if (!report.batch) return "--plot braucht eine Simulation";
    const BatchResult& batch = *report.batch;
    const analysis::ChartData data = analysis::chartData(
        report.options.setting, CountedExits{batch.escapes, batch.counts}, batch.shareHistory, report.exact);
    const std::optional<QString> error = analysis::saveCharts(QString::fromStdString(path), data);
    if (error) return error->toStdString();
    return std::nullopt;
}

}  // namespace wexal::cli
