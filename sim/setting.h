// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "sim/network.h"

namespace wexal {

// Whole-number weights of the positions of each junction's list (network.h), in the list's
// order: a position is drawn with its weight's share of the weights in the draw's range. A
// scenario file sets them; 1 everywhere is the fair network. While barrier 5 is off the
// lists of 4 and 5 keep their weights by position.
class StreetWeights {
public:
    static constexpr int kMaxWeight = 1000;
    using Row = std::array<int, network::kMaxStreets>;

    constexpr StreetWeights() {
        for (int junction = 0; junction <= network::kLastJunction; ++junction) set(junction, {1, 1, 1, 1});
    }

    constexpr const Row& at(int junction) const { return rows_[static_cast<std::size_t>(junction)]; }
    // The weights of positions 0..k together, kept with the weights: the draw of every step
    // reads them.
    constexpr const Row& upTo(int junction) const { return upTo_[static_cast<std::size_t>(junction)]; }
    // Whether every position of the junction weighs 1, as in the fair network.
    constexpr bool even(int junction) const { return even_[static_cast<std::size_t>(junction)]; }
    constexpr void set(int junction, const Row& weights) {
        const auto j = static_cast<std::size_t>(junction);
        rows_[j] = weights;
        int sum = 0;
        for (std::size_t k = 0; k < weights.size(); ++k) upTo_[j][k] = sum += weights[k];
        even_[j] = weights == Row{1, 1, 1, 1};
    }
    friend bool operator==(const StreetWeights& a, const StreetWeights& b) { return a.rows_ == b.rows_; }

private:
    std::array<Row, network::kLastJunction + 1> rows_{};
    std::array<Row, network::kLastJunction + 1> upTo_{};
    std::array<bool, network::kLastJunction + 1> even_{};
};

// The two run-time choices of the window, the eight light barriers and "Hin-und-her möglich",
// and the weights of the streets, which only a scenario changes.
struct Setting {
    std::array<bool, network::kBarrierCount> barriers{};
    bool turnBack = false;  // true: "ja", the robber may go back the way he came
    StreetWeights weights;

    bool rewiringBarrierOn() const { return barriers[network::kRewiringBarrier]; }
    friend bool operator==(const Setting&, const Setting&) = default;
};

// How the program starts: barriers 0, 2, 3, 5 and 7 on, "nein" selected. The window's check
// boxes and options, the model and wexal-sim's defaults all start from this.
inline constexpr Setting kStartSetting{{true, false, true, true, false, true, false, true}, false, {}};

// "10110101": barrier 0 first, as wexal-sim's command line takes it.
inline std::string barriersText(const Setting& setting) {
    std::string text;
    for (bool on : setting.barriers) text += on ? '1' : '0';
    return text;
}

inline const char* turnBackText(const Setting& setting) { return setting.turnBack ? "ja" : "nein"; }

}  // namespace wexal
