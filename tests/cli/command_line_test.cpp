// SPDX-License-Identifier: GPL-3.0-or-later
// Accepted command lines and what they set, and rejections that must stay one line whatever
// the arguments hold. Other rejected ones are tested on the executable.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <thread>

#include "cli/batch_run.h"
#include "cli/command_line.h"

namespace wexal::cli {
namespace {

using Action = CommandLine::Action;

CommandLine parse(QStringList arguments) {
    arguments.prepend("wexal-sim");
    return parseCommandLine(arguments);
}

TEST(CommandLine, DefaultsAreTheWindowsStartState) {
    const CommandLine line = parse({});
    ASSERT_EQ(line.action, Action::Run) << line.message;
    EXPECT_EQ(line.options.escapes, 1000);
    EXPECT_EQ(barriersText(line.options.setting), "10110101");
    EXPECT_FALSE(line.options.setting.turnBack);
    EXPECT_FALSE(line.options.seed.has_value());
    EXPECT_FALSE(line.options.exactOnly);
    EXPECT_EQ(line.options.format, OutputFormat::Text);
    EXPECT_FALSE(line.options.rank.has_value());
    EXPECT_EQ(line.options.threads,
              std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxThreads));
}

TEST(CommandLine, ReadsEveryOption) {
    const CommandLine line = parse({"--escapes", "250", "--barriers", "01000010", "--turn-back",
                                    "ja", "--seed", "42", "--format", "csv", "--threads", "3"});
    ASSERT_EQ(line.action, Action::Run) << line.message;
    EXPECT_EQ(line.options.mode, Mode::Simulate);
    EXPECT_EQ(line.options.escapes, 250);
    EXPECT_EQ(barriersText(line.options.setting), "01000010");
    EXPECT_FALSE(line.options.setting.rewiringBarrierOn());
    EXPECT_TRUE(line.options.setting.turnBack);
    EXPECT_EQ(line.options.seed, 42u);
    EXPECT_FALSE(line.options.exactOnly);
    EXPECT_EQ(line.options.format, OutputFormat::Csv);
    EXPECT_EQ(line.options.threads, 3);

    const CommandLine exact = parse({"--exact", "--barriers", "01000010", "--format", "json"});
    ASSERT_EQ(exact.action, Action::Run) << exact.message;
    EXPECT_EQ(exact.options.mode, Mode::Exact);
    EXPECT_TRUE(exact.options.exactOnly);
    EXPECT_EQ(barriersText(exact.options.setting), "01000010");
}

struct Boundary {
    const char* name;
    QStringList arguments;
    std::int64_t escapes;
    std::uint64_t seed;
    int threads;
};

void PrintTo(const Boundary& row, std::ostream* os) {
    *os << row.name;
}

class CommandLineBoundary : public testing::TestWithParam<Boundary> {};

TEST_P(CommandLineBoundary, AcceptsTheLimits) {
    const CommandLine line = parse(GetParam().arguments);
    ASSERT_EQ(line.action, Action::Run) << line.message;
    EXPECT_EQ(line.options.escapes, GetParam().escapes);
    EXPECT_EQ(line.options.seed, GetParam().seed);
    EXPECT_EQ(line.options.threads, GetParam().threads);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, CommandLineBoundary,
    testing::Values(
        Boundary{"fewest", {"--escapes", "1", "--seed", "0", "--threads", "1"}, 1, 0, 1},
        Boundary{"most",
                 {"--escapes=1000000000000", "--seed=18446744073709551615", "--threads=256"},
                 kMaxEscapes,
                 18446744073709551615u,
                 kMaxThreads},
        Boundary{"leadingZeros", {"--escapes", "007", "--seed", "0010", "--threads", "02"}, 7, 10, 2}),
    [](const auto& row) { return std::string(row.param.name); });

// --rank goes with the options that still mean something to it; the rejections are tested on
// the executable.
TEST(CommandLine, ReadsRank) {
    struct Accepted {
        QStringList arguments;
        int rank;
        bool turnBack;
    };
    for (const Accepted& row :
         {Accepted{{"--rank", "0"}, 0, false}, Accepted{{"--rank=8", "--turn-back", "ja"}, 8, true},
          Accepted{{"--rank", "03", "--format", "json"}, 3, false}}) {
        const CommandLine line = parse(row.arguments);
        ASSERT_EQ(line.action, Action::Run) << line.message;
        EXPECT_EQ(line.options.mode, Mode::Rank);
        EXPECT_EQ(line.options.rank, row.rank);
        EXPECT_EQ(line.options.setting.turnBack, row.turnBack);
    }
}

// Found by fuzz_command_line: "-format\vxml" is read as the short options f, o, r, m, a, t,
// "\v", x, m, l, and the vertical tab reached the message, which a terminal shows as two lines.
// Every character that ends a line becomes a blank; the rest of the argument stays.
TEST(CommandLine, RejectionIsOneLineWhateverBreaksTheArgument) {
    const QString breaks[] = {"\n", "\r", "\v", "\f", QString(QChar(0x85)), QString(QChar(0x2028)),
                              QString(QChar(0x2029))};
    for (const QString& lineBreak : breaks) {
        const int code = lineBreak.at(0).unicode();
        for (const QStringList& arguments :
             {QStringList{"-format" + lineBreak + "xml"},
              QStringList{"--turn-back", "ja" + lineBreak + "nein"},
              QStringList{"--escapes", "1" + lineBreak + "2"}, QStringList{"x" + lineBreak + "y"}}) {
            const CommandLine line = parse(arguments);
            ASSERT_EQ(line.action, Action::Reject) << code;
            EXPECT_FALSE(line.message.empty()) << code;
            const QString message = QString::fromStdString(line.message);
            for (const QString& other : breaks) {
                EXPECT_FALSE(message.contains(other))
                    << "U+" << std::hex << static_cast<int>(other.at(0).unicode()) << " in "
                    << line.message;
            }
        }
    }
    EXPECT_NE(parse({"--turn-back", "ja\vnein"}).message.find("„ja nein“"), std::string::npos);
    EXPECT_NE(parse({"x\u2028y"}).message.find("„x y“"), std::string::npos);
}

TEST(CommandLine, HelpAndVersionAreActionsNotRuns) {
    for (const char* flag : {"--help", "-h"}) {
        const CommandLine line = parse({flag, "--escapes", "nonsense"});
        EXPECT_EQ(line.action, Action::ShowHelp) << flag;
        EXPECT_NE(line.message.find("--turn-back"), std::string::npos) << line.message;
    }
    const CommandLine version = parse({"--version"});
    EXPECT_EQ(version.action, Action::ShowVersion);
    EXPECT_EQ(version.message.rfind(std::string("wexal-sim ") + WEXAL_VERSION + "\n", 0), 0u)
        << version.message;
}

TEST(CommandLine, PlotTakesAnSvgOrPngFile) {
    EXPECT_EQ(parse({}).options.plotFile, "");
    for (const char* file : {"d.svg", "d.png", "Ordner/D.SVG", "ä.png"}) {
        const CommandLine line = parse({"--plot", file});
        ASSERT_EQ(line.action, Action::Run) << file;
        EXPECT_EQ(line.options.plotFile, file);
    }
    for (const char* file : {"d.pdf", "d", "svg", "d.svg/"}) {
        EXPECT_EQ(parse({"--plot", file}).action, Action::Reject) << file;
    }
    EXPECT_EQ(parse({"--exact", "--plot", "d.svg"}).action, Action::Reject);
}

}  // namespace
}  // namespace wexal::cli
