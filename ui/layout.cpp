// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/layout.h"

#include <cmath>
#include <variant>

#include "sim/node_places.h"

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
    // The window's own row is its size at start, which no pass changes.
    for (const controls::Control& c : controls::kTable) {
        if (c.kind == controls::Kind::Window) continue;
        if (const auto* p = std::get_if<controls::Place>(&c.design)) {
            const double fx = p->scaled ? s.x : 1.0;
            const double fy = p->scaled ? s.y : 1.0;
            pass.controls.push_back({c.id, static_cast<float>(p->left * fx),
                                     static_cast<float>(p->top * fy), times(p->width, fx),
                                     times(p->height, fy), times(p->fontSize, s.x)});
        } else {
            const auto& m = std::get<controls::Ends>(c.design);
            pass.marks.at(static_cast<std::size_t>(controls::arrayIndex(c.id))) = {
                static_cast<float>(m.x1 * s.x), static_cast<float>(m.y1 * s.y),
                static_cast<float>(m.x2 * s.x), static_cast<float>(m.y2 * s.y)};
        }
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
