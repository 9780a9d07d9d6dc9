// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "sim/network.h"

namespace wexal {

// The two run-time choices of the window: the eight light barriers and "Hin-und-her möglich".
struct Setting {
    std::array<bool, network::kBarrierCount> barriers{};
    bool turnBack = false;  // true: "ja", the robber may go back the way he came

    bool rewiringBarrierOn() const { return barriers[network::kRewiringBarrier]; }
    friend bool operator==(const Setting&, const Setting&) = default;
};

// How the program starts: barriers 0, 2, 3, 5 and 7 on, "nein" selected. The window's check
// boxes and options, the model and wexal-sim's defaults all start from this.
inline constexpr Setting kStartSetting{{true, false, true, true, false, true, false, true}, false};

// "10110101": barrier 0 first, as wexal-sim's command line takes it.
inline std::string barriersText(const Setting& setting) {
    std::string text;
    for (bool on : setting.barriers) text += on ? '1' : '0';
    return text;
}

inline const char* turnBackText(const Setting& setting) { return setting.turnBack ? "ja" : "nein"; }

}  // namespace wexal
