// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/results_csv.h"

namespace wexal {

void writeResultsCsv(std::ostream& out, const Setting& setting, const ExactSolution& exact,
                     const std::optional<CountedExits>& counted) {
    out << "node,index,guarded,count,frequency,probability,probabilityValue\n";
    for (std::size_t i = 0; i < network::kBarrierCount; ++i) {
        std::string count;
        std::string frequency;
        if (counted) {
            count = std::to_string(counted->counts[i]);
            if (counted->escapes > 0) {
                frequency = shortestDecimal(static_cast<double>(counted->counts[i]) /
                                            static_cast<double>(counted->escapes));
            }
        }
        const mpq_class& probability = exact.exitProbability[i];
        out << network::kExitOfBox[i] << ',' << i << ',' << (setting.barriers[i] ? "true" : "false")
            << ',' << count << ',' << frequency << ',' << probability.get_str() << ','
            << shortestDecimal(nearestDouble(probability)) << '\n';
    }
}

}  // namespace wexal
