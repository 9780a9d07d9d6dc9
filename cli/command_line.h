#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <QStringList>

#include "cli/setting.h"

namespace wexal::cli {

enum class OutputFormat { Text, Csv, Json };

inline constexpr std::int64_t kDefaultEscapes = 1000;

struct RunOptions {
    Setting setting;
    std::int64_t escapes = kDefaultEscapes;
    std::optional<std::uint64_t> seed;  // none: the window's clock-reseeded generator
    bool exactOnly = false;
    OutputFormat format = OutputFormat::Text;
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
