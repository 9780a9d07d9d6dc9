// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "sim/exact_solution.h"
#include "sim/setting.h"

namespace wexal::analysis {

// The exact solution of the setting last asked for: solved again only when the setting changed.
class ExactCache {
public:
    const ExactSolution& solutionFor(const Setting& setting) {
        if (!solution_ || setting != setting_) {
            solution_ = solveExactly(setting);
            setting_ = setting;
        }
        return *solution_;
    }

private:
    Setting setting_;
    std::optional<ExactSolution> solution_;
};

}  // namespace wexal::analysis
