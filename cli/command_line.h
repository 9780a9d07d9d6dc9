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

struct RunOptions {
    Setting setting = kStartSetting;
    std::int64_t escapes = kDefaultEscapes;
    std::optional<std::uint64_t> seed;  // none: a seed taken from the clock
    bool exactOnly = false;
    int threads = 1;  // the command line's default is every core
    OutputFormat format = OutputFormat::Text;
    std::optional<int> rank;  // --rank K: rank the settings with K barriers on, no simulation
    std::string plotFile;  // --plot: the charts as .svg or .png (UTF-8); empty: none
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
