// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "cli/batch_run.h"
#include "cli/command_line.h"
#include "cli/ranking.h"
#include "sim/class_pool.h"
#include "sim/exact_solution.h"
#include "sim/results_file.h"

namespace wexal::cli {

// Everything one run prints: its options, the exact solution and, unless --exact, the counts.
struct Report {
    RunOptions options;
    ExactSolution exact;
    std::optional<BatchResult> batch;
    std::uint64_t seedUsed = 0;  // the seed the batch drew from, taken from the clock without --seed
    std::optional<ClassPool> merged;  // --merge: the pooled files, whose totals the batch holds
};

// --merge: the report of the pooled files, in the format the options ask for.
Report mergedReport(const RunOptions& options, ClassPool pool);

void writeText(std::ostream& out, const Report& report);
void writeCsv(std::ostream& out, const Report& report);
void writeJson(std::ostream& out, const Report& report);
void writeReport(std::ostream& out, const Report& report);  // in report.options.format

// A JSON string: quotes, backslashes and control characters escaped; the text is UTF-8.
std::string jsonString(const std::string& text);

// --rank: one row per setting, "Rang" 1 first.
void writeRanking(std::ostream& out, const Ranking& ranking, OutputFormat format);

}  // namespace wexal::cli
