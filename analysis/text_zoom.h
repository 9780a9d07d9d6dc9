// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

// The Auswertung's projector view: steps by which its texts grow. The largest step makes the
// smallest text readable across a classroom: a class reads a projected screen from up to six
// image heights away, where a text needs an em of about 2.4 % of the image's height.
namespace wexal::analysis::zoom {

inline constexpr double kReadableShare = 0.024;

// The factor that brings a font of fontPixels to a readable size on a screen screenHeight
// pixels high; never below 1.
double largestScale(int fontPixels, int screenHeight);

// 1, 1.25, 1.5, 2, 2.5, 3, 4, ... below largest, then largest itself.
std::vector<double> steps(double largest);

// The next step above or below scale; scale itself at either end.
double larger(double scale, double largest);
double smaller(double scale, double largest);

// A font's pixel size at a scale, rounded up so the largest step reaches its aim.
int scaledPixels(int fontPixels, double scale);

}  // namespace wexal::analysis::zoom
