#pragma once

#include <array>
#include <string>

#include "sim/network.h"

namespace wexal::cli {

// The two run-time choices of the window: the eight light barriers and "Hin-und-her möglich".
struct Setting {
    std::array<bool, network::kBarrierCount> barriers{true,  false, true,  true,
                                                      false, true,  false, true};
    bool turnBack = false;  // true: "ja", the robber may go back the way he came

    bool barrier5On() const { return barriers[network::kBarrier6]; }
};

// "10110101": barrier 0 first, as the command line takes it.
inline std::string barriersText(const Setting& setting) {
    std::string text;
    for (bool on : setting.barriers) text += on ? '1' : '0';
    return text;
}

inline const char* turnBackText(const Setting& setting) {
    return setting.turnBack ? "ja" : "nein";
}

}  // namespace wexal::cli
