// wexal-sim: many escapes on the window's own core, beside the exact probabilities.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>
#include <memory>
#include <sstream>

#include <QCoreApplication>

#include "cli/batch_run.h"
#include "cli/command_line.h"
#include "cli/exact_solution.h"
#include "cli/progress_bar.h"
#include "cli/report.h"
#include "platform/random_source.h"

namespace {

constexpr int kFailed = 1;
constexpr int kBadInput = 2;

std::unique_ptr<wexal::RandomSource> randomFor(const wexal::cli::RunOptions& options) {
    if (options.seed) return std::make_unique<wexal::SeededRandom>(*options.seed);
    return std::make_unique<wexal::ClockRandom>();
}

int run(const wexal::cli::RunOptions& options) {
    using namespace wexal::cli;
    Report report{options, solveExactly(options.setting), std::nullopt};
    if (!options.exactOnly) {
        const auto random = randomFor(options);
        ProgressBar bar(stderr, options.escapes, isatty(STDERR_FILENO) == 1);
        report.batch = runBatch(options.setting, options.escapes, *random,
                                [&bar](std::int64_t finished) { bar.update(finished); });
        bar.finish();
    }
    // The whole report at once, after the run: stdout never holds half a result.
    std::ostringstream text;
    writeReport(text, report);
    std::cout << text.str() << std::flush;
    return std::cout ? 0 : kFailed;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const wexal::cli::CommandLine commandLine =
        wexal::cli::parseCommandLine(QCoreApplication::arguments());
    switch (commandLine.action) {
        case wexal::cli::CommandLine::Action::Reject:
            std::cerr << "wexal-sim: " << commandLine.message << std::endl;
            return kBadInput;
        case wexal::cli::CommandLine::Action::ShowHelp:
        case wexal::cli::CommandLine::Action::ShowVersion:
            std::cout << commandLine.message << std::flush;
            return std::cout ? 0 : kFailed;
        case wexal::cli::CommandLine::Action::Run: break;
    }
    try {
        return run(commandLine.options);
    } catch (const std::exception& error) {
        std::cerr << "wexal-sim: " << error.what() << std::endl;
        return kFailed;
    }
}
