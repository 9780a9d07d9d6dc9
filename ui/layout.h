// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "platform/runtime.h"
#include "sim/network.h"
#include "ui/control_table.h"

// One layout pass, computed without touching a widget: what every control, barrier mark and
// node gets for a given screen, in 1/1440 inch and points, before any rounding to pixels.
namespace wexal::layout {

struct Scale {
    double x = 1;
    double y = 1;
};

// Screen width / 12288 and height / 9216.
Scale scaleFor(ScreenSize screen);

// Values handed to a control: single precision, as the controls take them.
struct Placement {
    controls::Id id;
    float left = 0;
    float top = 0;
    std::optional<float> width;
    std::optional<float> height;
    std::optional<float> fontSize;
};

struct MarkPlacement {
    float x1, y1, x2, y2;
};

// Every control the layout places, in the table's order; the lines apart, by barrier index.
struct Pass {
    std::vector<Placement> controls;
    std::array<MarkPlacement, network::kBarrierCount> marks{};
    network::NodeArray<float> nodeX{};  // entry 0 unused
    network::NodeArray<float> nodeY{};
};

Pass computePass(ScreenSize screen);

// Design units to device pixels at the given dots per inch: the one place where layout
// values are rounded.
int toPixels(double units, double dotsPerInch);

}  // namespace wexal::layout
