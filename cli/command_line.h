// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QStringList>

#include "sim/binomial_test.h"
#include "sim/scenario.h"
#include "sim/setting.h"
#include "sim/significance_test.h"

namespace wexal::cli {

enum class OutputFormat { Text, Csv, Json };

inline constexpr std::int64_t kDefaultEscapes = 1000;
inline constexpr int kMaxAfterSteps = 10000;  // --after N: the exact walk takes well under a second
inline constexpr unsigned long kDefaultAlphaDenominator = 20;  // --alpha: 1/20, 5 %

// What a run does; exactly one per run. The default simulates; an option of the table in
// command_line.cpp chooses another.
enum class Mode : std::uint8_t { Simulate, Exact, Rank, Matrix, After, Merge, Test };

// The modes an option goes with.
class Modes {
  public:
    Modes(std::initializer_list<Mode> modes);
    static Modes all() { return Modes(~0U); }
    bool has(Mode mode) const { return (bits_ >> static_cast<unsigned>(mode) & 1U) != 0; }

  private:
    explicit Modes(unsigned bits) : bits_(bits) {}
    unsigned bits_ = 0;
};

struct RunOptions {
    Mode mode = Mode::Simulate;
    Setting setting = kStartSetting;
    std::int64_t escapes = kDefaultEscapes;
    std::optional<std::uint64_t> seed;  // none: a seed taken from the clock
    bool exactOnly = false;             // no simulation (see Simulation in command_line.cpp)
    int threads = 1;                    // the command line's default is every core
    OutputFormat format = OutputFormat::Text;
    std::optional<int> rank;  // --rank K: rank the settings with K barriers on, no simulation
    std::string plotFile;     // --plot: the charts as .svg or .png (UTF-8); empty: none
    // --matrix and --after N show the escape as a Markov chain instead of a batch run; a swarm
    // of robbers runs beside it only when --escapes is given (exactOnly otherwise).
    bool matrix = false;
    std::optional<int> after;
    std::vector<std::string> mergeFiles;  // --merge: the results files to pool, as given
    // --test ZIEL: a binomial test of what the escapes hit against the fair network's chance.
    std::optional<TestTarget> test;
    mpq_class alpha{1, kDefaultAlphaDenominator};
    Sided sided = Sided::Both;
    // --scenario: the teacher's weights, already in setting.weights; the name for the heading.
    std::optional<Scenario> scenario;
};

struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Reject };
    Action action = Action::Run;
    RunOptions options;
    std::string message;  // the help or version text, or the one line that rejects the input
};

// One option of wexal-sim: its row in the table that the parser, the help and the checks of
// which options go together are made from.
struct OptionRow {
    const char* name;       // "escapes" for --escapes
    const char* valueName;  // "N"; nullptr for a switch without a value
    QString help;
    // Reads the value into the options, or returns the one line that refuses it; nullptr for a
    // switch whose only effect is its mode.
    std::optional<std::string> (*read)(const QString& value, RunOptions& options);
    Modes modes;                                 // the modes it goes with
    std::optional<Mode> selects = std::nullopt;  // the mode it chooses, if any
};

// Reads the arguments (program name first). Never prints and never exits. Refused, each with
// one line: an unknown option or a bad value, an option given twice, two options that choose
// a mode, and an option that the chosen mode would drop.
CommandLine parseCommandLine(const QStringList& arguments);

// Refuses an argument that is not UTF-8 (main's raw arguments, program name first included):
// Qt would replace its bytes, and a file name would silently become another one.
std::optional<std::string> checkEncoding(std::span<const char* const> arguments);

}  // namespace wexal::cli
