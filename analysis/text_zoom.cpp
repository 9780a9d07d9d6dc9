// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/text_zoom.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace wexal::analysis::zoom {
namespace {

constexpr std::array<double, 8> kSteps = {1, 1.25, 1.5, 2, 2.5, 3, 4, 5};
constexpr double kSame = 1e-6;  // scales this close are one step

}  // namespace

double largestScale(int fontPixels, int screenHeight) {
    if (fontPixels <= 0 || screenHeight <= 0) return 1;
    return std::max(1.0, kReadableShare * screenHeight / fontPixels);
}

std::vector<double> steps(double largest) {
    std::vector<double> all;
    for (double s : kSteps) {
        if (s < largest - kSame) all.push_back(s);
    }
    all.push_back(std::max(1.0, largest));
    return all;
}

double larger(double scale, double largest) {
    for (double s : steps(largest)) {
        if (s > scale + kSame) return s;
    }
    return std::min(scale, largest);
}

double smaller(double scale, double largest) {
    double below = 1;
    for (const double s : steps(largest)) {
        if (s < scale - kSame) below = s;
    }
    return below;
}

int scaledPixels(int fontPixels, double scale) {
    return static_cast<int>(std::ceil(fontPixels * scale - kSame));
}

}  // namespace wexal::analysis::zoom
