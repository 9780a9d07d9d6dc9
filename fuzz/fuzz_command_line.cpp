// SPDX-License-Identifier: GPL-3.0-or-later
// wexal-sim's argument handling, parseCommandLine, on arbitrary argument lists. The input is
// split into arguments at NUL bytes, or at line feeds when it holds no NUL (so a seed is one
// argument a line), and "wexal-sim" goes in front. It must never crash and always give one of
// its four actions; help names the options and the version line is the program's. A run has
// 1..kMaxEscapes escapes, 1..kMaxThreads threads and eight barriers, and its options, written
// out as arguments again, read back as the same run. A rejection is one non-empty line: no
// line feed, carriage return, vertical tab, form feed, NEL or Unicode line or paragraph
// separator, which a terminal or an editor would show as a second line.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QStringList>

#include "cli/batch_run.h"
#include "cli/command_line.h"

namespace {

using wexal::cli::CommandLine;
using wexal::cli::Mode;
using wexal::cli::OutputFormat;
using wexal::cli::RunOptions;

[[noreturn]] void fail(const char* what, const QStringList& arguments, const std::string& detail) {
    std::fprintf(stderr, "parseCommandLine: %s\n  arguments:", what);
    for (const QString& argument : arguments) {
        std::fprintf(stderr, " \"%s\"", argument.toUtf8().toPercentEncoding(" -=").constData());
    }
    std::fprintf(stderr, "\n  %s\n", detail.c_str());
    std::abort();
}

QStringList argumentsFrom(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const char separator = bytes.find('\0') != std::string_view::npos ? '\0' : '\n';
    QStringList arguments{QStringLiteral("wexal-sim")};
    // A separator ends the argument before it: "a\n" is one argument, "\n" one empty one.
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find(separator, start);
        if (end == std::string_view::npos) end = bytes.size();
        const std::string_view argument = bytes.substr(start, end - start);
        arguments << QString::fromUtf8(argument.data(), static_cast<qsizetype>(argument.size()));
        start = end + 1;
    }
    return arguments;
}

// What ends a line, in UTF-8: LF, CR, VT, FF, NEL, LS and PS.
bool breaksLine(std::string_view text) {
    constexpr std::array<std::string_view, 7> kBreaks{"\n", "\r", "\v", "\f", "\u0085", "\u2028",
                                                      "\u2029"};
    return std::any_of(kBreaks.begin(), kBreaks.end(), [text](std::string_view lineBreak) {
        return text.find(lineBreak) != std::string_view::npos;
    });
}

const char* formatName(OutputFormat format) {
    switch (format) {
        case OutputFormat::Text: return "text";
        case OutputFormat::Csv: return "csv";
        case OutputFormat::Json: return "json";
    }
    return nullptr;
}

// The options of a run as the arguments that ask for exactly that run; each mode takes only
// the options it uses.
QStringList argumentsFor(const RunOptions& options) {
    if (options.mode == Mode::Merge) {
        QStringList arguments{QStringLiteral("wexal-sim"), QStringLiteral("--merge"),
                              QStringLiteral("--format"), QString::fromUtf8(formatName(options.format)),
                              QStringLiteral("--")};
        for (const std::string& file : options.mergeFiles) arguments << QFile::decodeName(file.c_str());
        return arguments;
    }
    QStringList arguments{QStringLiteral("wexal-sim"), QStringLiteral("--turn-back"),
                          QString::fromUtf8(wexal::turnBackText(options.setting)),
                          QStringLiteral("--format"), QString::fromUtf8(formatName(options.format))};
    const QString barriers = QString::fromStdString(wexal::barriersText(options.setting));
    switch (options.mode) {
        case Mode::Rank:
            return arguments << QStringLiteral("--rank") << QString::number(options.rank.value_or(-1));
        case Mode::Exact:
            return arguments << QStringLiteral("--exact") << QStringLiteral("--barriers") << barriers;
        case Mode::Matrix: arguments << QStringLiteral("--matrix"); break;
        case Mode::After:
            arguments << QStringLiteral("--after") << QString::number(options.after.value_or(-1));
            break;
        case Mode::Test: {
            const wexal::TestTarget& target = *options.test;
            const QString sided = options.sided == wexal::Sided::Both   ? QStringLiteral("beide")
                                  : options.sided == wexal::Sided::Left ? QStringLiteral("links")
                                                                        : QStringLiteral("rechts");
            arguments << QStringLiteral("--test")
                      << (target.kind == wexal::TestTarget::Kind::Exit
                              ? QString::number(wexal::network::kExitOfBox[static_cast<std::size_t>(target.box)])
                              : QString::fromStdString(target.name()))
                      << QStringLiteral("--alpha") << QString::fromStdString(options.alpha.get_str())
                      << QStringLiteral("--sided") << sided;
            break;
        }
        case Mode::Simulate:
        case Mode::Merge: break;
    }
    arguments << QStringLiteral("--barriers") << barriers;
    if (options.exactOnly) return arguments;  // a chain without a swarm
    arguments << QStringLiteral("--escapes") << QString::number(options.escapes)
              << QStringLiteral("--threads") << QString::number(options.threads);
    if (options.seed) arguments << QStringLiteral("--seed") << QString::number(*options.seed);
    if (!options.plotFile.empty()) {
        arguments << QStringLiteral("--plot") << QString::fromStdString(options.plotFile);
    }
    return arguments;
}

bool sameRun(const RunOptions& a, const RunOptions& b) {
    return a.mode == b.mode && a.rank == b.rank && a.matrix == b.matrix && a.after == b.after &&
           a.escapes == b.escapes &&
           a.setting.barriers == b.setting.barriers && a.setting.turnBack == b.setting.turnBack &&
           a.seed == b.seed && a.exactOnly == b.exactOnly && a.format == b.format &&
           a.threads == b.threads && a.plotFile == b.plotFile && a.mergeFiles == b.mergeFiles &&
           a.test == b.test && a.alpha == b.alpha && a.sided == b.sided;
}

void checkRun(const QStringList& arguments, const CommandLine& line) {
    const RunOptions& options = line.options;
    if (!line.message.empty()) fail("a run carries a message", arguments, line.message);
    if (options.escapes < 1 || options.escapes > wexal::cli::kMaxEscapes) {
        fail("escapes out of 1..kMaxEscapes", arguments, std::to_string(options.escapes));
    }
    for (const bool& on : options.setting.barriers) {
        unsigned char byte = 0;
        std::memcpy(&byte, &on, 1);
        if (byte > 1) fail("a barrier is neither 0 nor 1", arguments, std::to_string(byte));
    }
    const std::string bits = wexal::barriersText(options.setting);
    if (bits.size() != wexal::network::kBarrierCount ||
        bits.find_first_not_of("01") != std::string::npos) {
        fail("barriers are not eight digits 0/1", arguments, bits);
    }
    if (formatName(options.format) == nullptr) fail("unknown format", arguments, "");
    if ((options.mode == Mode::Merge) == options.mergeFiles.empty()) fail("--merge without files, or files without it", arguments, "");
    if (options.threads < 1 || options.threads > wexal::cli::kMaxThreads) {
        fail("threads out of 1..kMaxThreads", arguments, std::to_string(options.threads));
    }

    const QStringList again = argumentsFor(options);
    const CommandLine reread = wexal::cli::parseCommandLine(again);
    if (reread.action != CommandLine::Action::Run) {
        fail("the run's own options are not a run", again, reread.message);
    }
    if (!sameRun(reread.options, options)) {
        fail("the run's own options read back as another run", arguments,
             again.join(' ').toStdString());
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    // QCommandLineParser names the program from the application; libFuzzer's own arguments
    // stay away from Qt. The application lives as long as the process.
    static int argc = 1;
    static std::array<char, sizeof "wexal-sim"> name{"wexal-sim"};
    static std::array<char*, 2> argv{name.data(), nullptr};
    static auto* const application = new QCoreApplication(argc, argv.data());
    (void)application;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QStringList arguments = argumentsFrom(data, size);
    const CommandLine line = wexal::cli::parseCommandLine(arguments);
    switch (line.action) {
        case CommandLine::Action::Run: checkRun(arguments, line); return 0;
        case CommandLine::Action::ShowHelp:
            if (line.message.find("--escapes") == std::string::npos) {
                fail("the help does not name --escapes", arguments, line.message);
            }
            return 0;
        case CommandLine::Action::ShowVersion:
            if (line.message.rfind(std::string("wexal-sim ") + WEXAL_VERSION + "\n", 0) != 0) {
                fail("the version is not the program's", arguments, line.message);
            }
            return 0;
        case CommandLine::Action::Reject:
            if (line.message.empty()) fail("rejected without a reason", arguments, "");
            if (breaksLine(line.message)) {
                fail("the rejecting message is more than one line", arguments, line.message);
            }
            return 0;
    }
    fail("unknown action", arguments, std::to_string(static_cast<int>(line.action)));
}
