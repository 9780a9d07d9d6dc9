// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/progress_bar.h"

#include <chrono>
#include <string>

namespace wexal::cli {

ProgressBar::ProgressBar(std::FILE* out, std::int64_t total, bool enabled, Clock clock)
    : out_(out),
      total_(total),
      enabled_(enabled),
      clock_(std::move(clock)),
      start_(enabled ? clock_() : 0) {}

double ProgressBar::steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void ProgressBar::update(std::int64_t finished) {
    if (!enabled_ || total_ <= 0) return;
    const double now = clock_();
    if (now - start_ <= kQuietSeconds) return;
    if (lastDrawn_ >= 0 && now - lastDrawn_ < kRedrawSeconds) return;
    lastDrawn_ = now;

    const double share = static_cast<double>(finished) / static_cast<double>(total_);
    const int filled = static_cast<int>(share * kWidth);
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.resize(kWidth, '.');
    constexpr double kPercent = 100;
    std::fprintf(out_, "\r[%s] %3d %%  %lld von %lld Wexalen", bar.c_str(),
                 static_cast<int>(share * kPercent), static_cast<long long>(finished),
                 static_cast<long long>(total_));
    std::fflush(out_);
}

void ProgressBar::finish() {
    if (lastDrawn_ < 0) return;
    std::fprintf(out_, "\r\033[K");  // back to the line's start, erase to its end
    std::fflush(out_);
    lastDrawn_ = -1;
}

}  // namespace wexal::cli
