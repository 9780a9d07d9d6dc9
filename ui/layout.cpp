// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/layout.h"

#include <cmath>

#include "sim/node_places.h"
#include "ui/layout_tables.h"

namespace wexal::layout {

Scale scaleFor(ScreenSize screen) {
    return {screen.width / kDesignScreen.width, screen.height / kDesignScreen.height};
}

namespace {

std::optional<float> times(std::optional<double> design, double factor) {
    if (!design) return std::nullopt;
    return static_cast<float>(*design * factor);
}

}  // namespace

Pass computePass(ScreenSize screen) {
    Pass pass;
    const Scale s = scaleFor(screen);
    pass.controls.reserve(kControls.size());
    for (const ControlRow& row : kControls) {
        const double fx = row.scaled ? s.x : 1.0;
        const double fy = row.scaled ? s.y : 1.0;
        pass.controls.push_back({row.name, static_cast<float>(row.left * fx),
                                 static_cast<float>(row.top * fy), times(row.width, fx),
                                 times(row.height, fy), times(row.fontSize, s.x)});
    }
    for (std::size_t i = 0; i < kBarrierMarks.size(); ++i) {
        const LineRow& m = kBarrierMarks[i];
        pass.marks[i] = {static_cast<float>(m.x1 * s.x), static_cast<float>(m.y1 * s.y),
                         static_cast<float>(m.x2 * s.x), static_cast<float>(m.y2 * s.y)};
    }
    for (std::size_t n = 1; n < places::kNodes.size(); ++n) {
        pass.nodeX[n] = static_cast<float>(places::kNodes[n].x * s.x);
        pass.nodeY[n] = static_cast<float>(places::kNodes[n].y * s.y);
    }
    return pass;
}

int toPixels(double units, double dotsPerInch) {
    return static_cast<int>(std::lround(units * dotsPerInch / kUnitsPerInch));
}

}  // namespace wexal::layout
