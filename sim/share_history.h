// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

namespace wexal {

// The succeeded total after each counted escape, for a chart of the share against the number
// of escapes. Memory stays bounded however long a class runs: once full it keeps every second
// point, then every fourth, ..., so the points always lie evenly over the whole series.
class ShareHistory {
public:
    struct Point {
        std::int64_t escapes;    // escapes counted so far, 1, 2, ...
        std::int64_t succeeded;  // the succeeded total after that escape
    };
    static constexpr std::size_t kMaxPoints = 4096;

    // Whether the point of escape number `escapes` is kept: a caller can skip working out
    // the succeeded total for the others.
    bool wants(std::int64_t escapes) const { return escapes == next_; }
    // Escape number `escapes` has been counted, with this succeeded total after it.
    void record(std::int64_t escapes, std::int64_t succeeded) {
        if (escapes % stride_ != 0) return;
        if (points_.size() == kMaxPoints) thin();
        if (escapes % stride_ == 0) points_.push_back({escapes, succeeded});
        next_ = (escapes / stride_ + 1) * stride_;
    }
    // Continues the series with one that was recorded on its own from zero: `later`'s points
    // after `escapesBefore` escapes of which `succeededBefore` succeeded. When `later` began at
    // a multiple of the stride it will be thinned to, the result equals one series recorded
    // straight through, which lets blocks counted apart be joined in their order.
    void append(const ShareHistory& later, std::int64_t escapesBefore,
                std::int64_t succeededBefore) {
        while (stride_ < later.stride_) thin();
        for (const Point& p : later.points_) {
            record(escapesBefore + p.escapes, succeededBefore + p.succeeded);
        }
    }
    void clear() {
        points_.clear();
        stride_ = 1;
        next_ = 1;
    }
    const std::vector<Point>& points() const { return points_; }
    // Every how many escapes a point is kept.
    std::int64_t stride() const { return stride_; }

private:
    // Keeps the points whose escape number is a multiple of the doubled stride.
    void thin() {
        stride_ *= 2;
        next_ = (next_ + stride_ - 1) / stride_ * stride_;
        std::size_t kept = 0;
        for (const Point& p : points_) {
            if (p.escapes % stride_ == 0) points_[kept++] = p;
        }
        points_.resize(kept);
    }

    std::vector<Point> points_;
    std::int64_t stride_ = 1;
    std::int64_t next_ = 1;  // the escape number of the next point kept
};

}  // namespace wexal
