// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>

namespace wexal::cli {

// A one-line bar on a terminal, for runs long enough to leave the user wondering: it appears
// only after the first second and is redrawn a few times per second at most.
class ProgressBar {
public:
    using Clock = std::function<double()>;  // seconds from any fixed point

    static constexpr double kQuietSeconds = 1.0;
    static constexpr double kRedrawSeconds = 0.25;
    static constexpr int kWidth = 40;  // characters of the bar itself

    // Draws nothing at all unless enabled (the caller passes whether out is a terminal).
    ProgressBar(std::FILE* out, std::int64_t total, bool enabled, Clock clock = steadySeconds);

    void update(std::int64_t finished);
    // Erases the bar, if one was drawn, so the terminal line is clean again.
    void finish();

    static double steadySeconds();

private:
    std::FILE* out_;
    std::int64_t total_;
    bool enabled_;
    Clock clock_;
    double start_;
    double lastDrawn_ = -1;  // clock value of the last redraw; < 0: never drawn
};

}  // namespace wexal::cli
