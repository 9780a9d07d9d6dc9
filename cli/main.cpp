// SPDX-License-Identifier: GPL-3.0-or-later
// wexal-sim: many escapes on the window's own core, beside the exact probabilities.
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <exception>
#include <iostream>
#include <span>
#include <sstream>

#include "cli/batch_run.h"
#include "cli/chain_report.h"
#include "cli/command_line.h"
#include "cli/merge.h"
#include "cli/plot.h"
#include "cli/progress_bar.h"
#include "cli/ranking.h"
#include "cli/report.h"
#include "cli/standard_output.h"
#include "cli/test_report.h"
#include "platform/qt/german_translations.h"
#include "platform/whole_file.h"
#include "sim/exact_solution.h"
#include "sim/swarm.h"
#include "sim/transitions.h"

namespace {

constexpr int kFailed = 1;
constexpr int kBadInput = 2;

// Standard output was closed when the program started; its stand-in takes nothing.
bool outputClosed = false;

// One line on standard error, whatever line breaks it carries.
void complain(const std::string& line) {
    std::string shown = line;
    for (char& c : shown) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    std::cerr << "wexal-sim: " << shown << std::endl;
}

// The whole output in one checked write: standard output never holds half a result, and a
// full disk, a closed pipe or a closed standard output is named, not passed over.
int print(const std::string& text) {
    const std::optional<std::string> failure =
        outputClosed ? wexal::germanErrorText(EBADF) : wexal::cli::writeStandardOutput(text);
    if (!failure) return 0;
    complain("Die Standardausgabe ließ sich nicht schreiben: " + *failure);
    return kFailed;
}

// Without --seed every run is a new one, as in the window: the seed comes from the clock.
std::uint64_t seedFor(const wexal::cli::RunOptions& options) {
    if (options.seed) return *options.seed;
    return static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

int run(const wexal::cli::RunOptions& options) {
    using namespace wexal::cli;
    Report report{options, wexal::solveExactly(options.setting), std::nullopt, 0, std::nullopt};
    if (!options.exactOnly) {
        ProgressBar bar(stderr, options.escapes, isatty(STDERR_FILENO) == 1);
        report.seedUsed = seedFor(options);
        report.batch = runBatch(options.setting, options.escapes, report.seedUsed, options.threads,
                                [&bar](std::int64_t finished) { bar.update(finished); });
        bar.finish();
    }
    std::ostringstream text;
    if (options.format == OutputFormat::Text) text << scenarioLine(options);
    writeReport(text, report);
    int status = print(text.str());
    // A standard output that failed does not cost the plot of a long run.
    if (!options.plotFile.empty()) {
        if (auto error = writePlot(report, options.plotFile)) {
            complain(*error);
            status = kFailed;
        }
    }
    return status;
}

// --rank: exact chances only, so nothing to wait for and no progress bar.
int rank(const wexal::cli::RunOptions& options) {
    using namespace wexal::cli;
    std::ostringstream text;
    if (options.format == OutputFormat::Text) text << scenarioLine(options);
    writeRanking(text, rankSettings(*options.rank, options.setting.turnBack, options.setting.weights),
                 options.format);
    return print(text.str());
}

// --matrix and --after N: the exact chain, and beside it a swarm when --escapes asks for one.
int chain(const wexal::cli::RunOptions& options) {
    using namespace wexal::cli;
    const wexal::TransitionMatrix matrix = wexal::transitionMatrix(options.setting);
    std::optional<SwarmRun> swarm;
    if (!options.exactOnly) {
        const std::uint64_t seed = seedFor(options);
        swarm = SwarmRun{wexal::simulateSwarm(options.setting, options.escapes, options.after.value_or(0),
                                              seed, options.threads),
                         seed, !options.seed};
    }
    std::ostringstream text;
    if (options.format == OutputFormat::Text) text << scenarioLine(options);
    if (options.after) {
        writeAfter(text, options.setting, *options.after, wexal::distributionAfter(matrix, *options.after),
                   swarm, options.format);
    } else {
        writeMatrix(text, options.setting, matrix, swarm, options.format);
    }
    return print(text.str());
}

// --test: the region first, from the fair network's chance; then the escapes, in the setting
// with the scenario's weights, as the sample.
int test(const wexal::cli::RunOptions& options) {
    using namespace wexal::cli;
    wexal::Setting fair = options.setting;
    fair.weights = wexal::StreetWeights{};
    TestReport report{options, options.test->probability(wexal::solveExactly(fair)), {}, 0, seedFor(options)};
    report.region = wexal::acceptanceRegion(wexal::BinomialDistribution(options.escapes, report.p0),
                                            options.alpha, options.sided);
    ProgressBar bar(stderr, options.escapes, isatty(STDERR_FILENO) == 1);
    const BatchResult batch = runBatch(options.setting, options.escapes, report.seedUsed, options.threads,
                                       [&bar](std::int64_t finished) { bar.update(finished); });
    bar.finish();
    report.observed = options.test->count(batch.counts, options.setting);
    std::ostringstream text;
    writeTestReport(text, report);
    return print(text.str());
}

// --merge: nothing on standard output unless every file pools.
int merge(const wexal::cli::RunOptions& options) {
    using namespace wexal::cli;
    std::variant<wexal::ClassPool, std::string> merged = mergeFiles(options.mergeFiles);
    if (const auto* error = std::get_if<std::string>(&merged)) {
        complain(*error);
        return kBadInput;
    }
    std::ostringstream text;
    writeReport(text, mergedReport(options, std::get<wexal::ClassPool>(std::move(merged))));
    return print(text.str());
}

}  // namespace

int main(int argc, char* argv[]) {
    outputClosed = wexal::cli::plugClosedStandardStreams();
    if (auto error = wexal::cli::checkEncoding(
            std::span<const char* const>(argv, static_cast<std::size_t>(argc)))) {
        complain(*error);
        return kBadInput;
    }
    const auto app = wexal::cli::makeApplication(argc, argv);
    wexal::installGermanTranslations(*app);
    const wexal::cli::CommandLine commandLine =
        wexal::cli::parseCommandLine(QCoreApplication::arguments());
    switch (commandLine.action) {
        case wexal::cli::CommandLine::Action::Reject:
            complain(commandLine.message);
            return kBadInput;
        case wexal::cli::CommandLine::Action::ShowHelp:
        case wexal::cli::CommandLine::Action::ShowVersion: return print(commandLine.message);
        case wexal::cli::CommandLine::Action::Run: break;
    }
    const wexal::cli::RunOptions& options = commandLine.options;
    // Checked before the run, which may take hours: the folder, the name, what is in the way.
    if (!options.plotFile.empty()) {
        if (auto reason = wexal::checkWritable(options.plotFile)) {
            complain(wexal::saveFailureLine(options.plotFile, *reason));
            return kFailed;
        }
    }
    try {
        switch (options.mode) {
            case wexal::cli::Mode::Merge: return merge(options);
            case wexal::cli::Mode::Test: return test(options);
            case wexal::cli::Mode::Rank: return rank(options);
            case wexal::cli::Mode::Matrix:
            case wexal::cli::Mode::After: return chain(options);
            case wexal::cli::Mode::Simulate:
            case wexal::cli::Mode::Exact: return run(options);
        }
        return kFailed;
    } catch (const std::exception& error) {
        complain(error.what());
        return kFailed;
    }
}
