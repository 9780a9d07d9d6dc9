// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>
#include <string>

#include <QCoreApplication>

#include "cli/report.h"

namespace wexal::cli {

// The application wexal-sim needs: a QApplication on the offscreen platform when the
// arguments ask for --plot (the charts are widgets' drawings), else a QCoreApplication. Read
// before the application exists, so only "--plot" and "--plot=..." before a "--" count.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv);

// Draws the run's two charts, as the window's Auswertung draws them, into an .svg or .png
// file, whole or not at all. Returns the line that says why it failed, or none.
std::optional<std::string> writePlot(const Report& report, const std::string& path);

}  // namespace wexal::cli
