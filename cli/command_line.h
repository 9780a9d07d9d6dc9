// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QStringList>

#include "sim/setting.h"

namespace wexal::cli {

enum class OutputFormat { Text, Csv, Json };

inline constexpr std::int64_t kDefaultEscapes = 1000;
inline constexpr int kMaxAfterSteps = 10000;  // --after N: the exact walk takes well under a second

struct RunOptions {
    Setting setting = kStartSetting;
    std::int64_t escapes = kDefaultEscapes;
    std::optional<std::uint64_t> seed;  // none: a seed taken from the clock
    bool exactOnly = false;
    int threads = 1;  // the command line's default is every core
    OutputFormat format = OutputFormat::Text;
    std::optional<int> rank;  // --rank K: rank the settings with K barriers on, no simulation
    std::string plotFile;  // --plot: the charts as .svg or .png (UTF-8); empty: none
    // --matrix and --after N show the escape as a Markov chain instead of a batch run; a swarm
    // of robbers runs beside it only when --escapes is given (exactOnly otherwise).
    bool matrix = false;
    std::optional<int> after;
};

struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Reject };
    Action action = Action::Run;
    RunOptions options;
    std::string message;  // the help or version text, or the one line that rejects the input
};

// Reads the arguments (program name first). Never prints and never exits.
CommandLine parseCommandLine(const QStringList& arguments);

}  // namespace wexal::cli
