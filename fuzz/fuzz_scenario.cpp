// SPDX-License-Identifier: GPL-3.0-or-later
// The scenario reader on arbitrary bytes: it must never crash, and it must give either weights
// the draw can always leave by, or one line that names the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sim/draw.h"
#include "sim/scenario.h"

namespace {

void require(bool holds) {
    if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): libFuzzer hands out bytes
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const wexal::ScenarioReading reading = wexal::parseScenario(text, "fuzz.json");
    if (!reading.scenario) {
        require(reading.error.starts_with("Szenario „fuzz.json“"));
        require(reading.error.find('\n') == std::string::npos);
        require(reading.error.find('\r') == std::string::npos);
        return 0;
    }
    require(reading.error.empty());
    for (int junction = 0; junction <= wexal::network::kLastJunction; ++junction) {
        for (const int w : reading.scenario->weights.at(junction)) {
            require(w >= 0 && w <= wexal::StreetWeights::kMaxWeight);
        }
    }
    require(!wexal::deadEnd(reading.scenario->weights));
    return 0;
}
