// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include <gmpxx.h>

#include "cli/command_line.h"
#include "sim/binomial_test.h"

namespace wexal::cli {

// --test: the hypothesis, its acceptance region and what the escapes gave.
struct TestReport {
    RunOptions options;  // its test, alpha and sided are set
    mpq_class p0;        // the fair network's exact chance of the target
    AcceptanceRegion region;
    std::int64_t observed = 0;
    std::uint64_t seedUsed = 0;
};

void writeTestReport(std::ostream& out, const TestReport& report);

// With --scenario, the text's first line: which scenario the escapes follow.
std::string scenarioLine(const RunOptions& options);

}  // namespace wexal::cli
