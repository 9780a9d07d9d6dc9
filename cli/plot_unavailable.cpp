// SPDX-License-Identifier: GPL-3.0-or-later
// wexal-sim built without the window (WEXAL_BUILD_UI=OFF) has no charts to draw.
#include "cli/plot.h"

namespace wexal::cli {

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    return std::make_unique<QCoreApplication>(argc, argv);
}

std::optional<std::string> writePlot(const Report& /*report*/, const std::string& /*path*/) {
    return "--plot: dieses wexal-sim wurde ohne Diagramme gebaut";
}

}  // namespace wexal::cli
