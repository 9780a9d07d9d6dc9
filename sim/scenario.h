// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/setting.h"

namespace wexal {

// A teacher's scenario: weights that favour some streets, perhaps hidden from the class.
//   {"name": "Kreuzung 2", "verdeckt": true, "gewichte": {"2": [3, 1, 1, 1]}}
// "gewichte" gives a junction's list (network.h, in its order) whole-number weights from 0 to
// StreetWeights::kMaxWeight; junctions it leaves out keep 1 everywhere. "name" defaults to the
// file's name, "verdeckt" to false.
struct Scenario {
    std::string name;
    bool hidden = false;  // "verdeckt": the class sees the fair network's exact values
    StreetWeights weights;
};

// A scenario, or the one German line that names the file, the key and what is wrong with it.
struct ScenarioReading {
    std::optional<Scenario> scenario;
    std::string error;
};

// Reads the JSON text of the file `fileName` (which names it in the error and the default name).
ScenarioReading parseScenario(std::string_view text, const std::string& fileName);

// Reads the file at `path` (UTF-8): unreadable, too large or bad files give the error line.
ScenarioReading readScenarioFile(const std::string& path);

}  // namespace wexal
