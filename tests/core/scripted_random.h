// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/random_source.h"

namespace wexal::test {

// Hands out a fixed list of random numbers and counts the reseeds, so a test can say
// exactly which positions the step draws.
class ScriptedRandom final : public RandomSource {
public:
    explicit ScriptedRandom(std::vector<float> values = {}) : values_(std::move(values)) {}
    void push(std::vector<float> values) { values_.insert(values_.end(), values.begin(), values.end()); }
    void reseedFromClock() override { ++reseeds; }
    float nextRandom() override {
        if (next_ >= values_.size()) throw std::logic_error("the script ran out of random numbers");
        return values_[next_++];
    }
    std::size_t remaining() const { return values_.size() - next_; }
    int reseeds = 0;

private:
    std::vector<float> values_;
    std::size_t next_ = 0;
};

// The random number that draws position k (1-based) out of n.
constexpr float position(int k, int n) { return (static_cast<float>(k) - 0.5f) / static_cast<float>(n); }

}  // namespace wexal::test
