// SPDX-License-Identifier: GPL-3.0-or-later
// wexal-sim where its output cannot go: a plot that a full disk or a size limit cuts short, a
// FIFO, a device node or a link to one in the plot's place, a missing folder, a name too long;
// a standard output that is full, closed or a pipe without a reader. Each time one German line
// says why, the status is 1, and nothing that stood there before is changed or left beside it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <ostream>
#include <regex>
#include <tuple>

#include "fault_targets.h"
#include "run_executable.h"

namespace wexal::test {

void PrintTo(const FaultCase& row, std::ostream* os) {
    *os << row.name;
}

}  // namespace wexal::test

namespace wexal::cli::test {
namespace {

using wexal::test::Fault;
using wexal::test::FaultCase;
using wexal::test::ScratchFolder;

constexpr rlim_t kSizeLimit = 8192;  // bytes: above the report, below either picture
const std::vector<std::string> kRun{"--escapes", "2000", "--seed", "1"};

std::vector<std::string> withPlot(const std::string& path) {
    std::vector<std::string> arguments(kRun);
    arguments.insert(arguments.end(), {"--plot", path});
    return arguments;
}

class PlotFault : public testing::TestWithParam<std::tuple<FaultCase, std::string>> {};

TEST_P(PlotFault, NamesTheReasonAndLeavesEverythingAsItWas) {
    const auto& [fault, file] = GetParam();
    ScratchFolder folder;
    ASSERT_TRUE(folder.valid());
    const std::string path = folder.prepare(fault.fault, file, "die alte, gute Datei\n");
    if (path.empty()) GTEST_SKIP() << "needs root, mknod and a tmpfs";
    const auto before = folder.entries();

    Launch launch;
    if (fault.fault == Fault::FileSizeLimit) launch.fileSizeLimit = kSizeLimit;
    const Outcome outcome = runSim(withPlot(path), launch);

    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "wexal-sim: Die Datei „" + path +
                               "“ konnte nicht gespeichert werden: " + fault.reason + "\n");
    EXPECT_EQ(folder.entries(), before);
    // A target that cannot take the plot is refused before the run; otherwise the run's
    // report stands whole on standard output.
    if (wexal::test::refusedBeforeWriting(fault.fault)) {
        EXPECT_EQ(outcome.out, "");
    } else {
        EXPECT_EQ(outcome.out, runSim(kRun).out);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, PlotFault,
    testing::Combine(testing::ValuesIn(wexal::test::kFaultCases), testing::Values(std::string("d.svg"), std::string("d.png"))),
    [](const auto& row) {
        const std::string& file = std::get<1>(row.param);
        return std::string(std::get<0>(row.param).name) + "_" + file.substr(file.find('.') + 1);
    });

// A link to a regular file writes that file and keeps the link.
TEST(PlotTarget, ALinkToAFileWritesTheFile) {
    ScratchFolder folder;
    const std::string real = folder.file("echt.svg");
    std::ofstream(real) << "alt";
    ASSERT_EQ(symlink("echt.svg", folder.file("verweis.svg").c_str()), 0);
    const Outcome outcome = runSim(withPlot(folder.file("verweis.svg")));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const auto entries = folder.entries();
    EXPECT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries.at("verweis.svg"), "link -> echt.svg");
    EXPECT_EQ(entries.at("echt.svg").rfind("file:<?xml", 0), 0u);
}

struct BrokenOutput {
    const char* name;
    enum class Kind { Full, Closed, PipeWithoutReader } kind;
    const char* reason;
};

void PrintTo(const BrokenOutput& row, std::ostream* os) {
    *os << row.name;
}

const BrokenOutput kBrokenOutputs[] = {
    {"full", BrokenOutput::Kind::Full, "Kein freier Speicherplatz"},
    {"closed", BrokenOutput::Kind::Closed, "Die Ausgabe ist geschlossen"},
    {"pipeWithoutReader", BrokenOutput::Kind::PipeWithoutReader,
     "Die Gegenseite der Pipe ist geschlossen"},
};

class StandardOutputFault : public testing::TestWithParam<BrokenOutput> {};

// Standard output fails only once the run is over: the failure is named, and the plot of a
// run that may have taken hours is written all the same.
TEST_P(StandardOutputFault, NamedInOneLineAndThePlotStillWritten) {
    ScratchFolder folder;
    Launch launch;
    int pipeEnds[2] = {-1, -1};
    switch (GetParam().kind) {
        case BrokenOutput::Kind::Full:
            launch.output = Launch::Output::Descriptor;
            launch.outFd = open("/dev/full", O_WRONLY | O_CLOEXEC);
            ASSERT_GE(launch.outFd, 0);
            break;
        case BrokenOutput::Kind::Closed: launch.output = Launch::Output::Closed; break;
        case BrokenOutput::Kind::PipeWithoutReader:
            ASSERT_EQ(pipe2(pipeEnds, O_CLOEXEC), 0);
            close(pipeEnds[0]);
            launch.output = Launch::Output::Descriptor;
            launch.outFd = pipeEnds[1];
            break;
    }
    for (const std::vector<std::string>& arguments :
         {withPlot(folder.file("d.svg")), std::vector<std::string>{"--exact", "--format", "json"}}) {
        const Outcome outcome = runSim(arguments, launch);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.err, std::string("wexal-sim: Die Standardausgabe ließ sich nicht schreiben: ") +
                                   GetParam().reason + "\n");
    }
    if (launch.outFd >= 0) close(launch.outFd);
    std::ifstream plot(folder.file("d.svg"));
    const std::string svg{std::istreambuf_iterator<char>(plot), {}};
    EXPECT_NE(svg.find("</svg>"), std::string::npos) << "the plot is missing or cut short";
}

INSTANTIATE_TEST_SUITE_P(Outputs, StandardOutputFault, testing::ValuesIn(kBrokenOutputs),
                         [](const auto& row) { return std::string(row.param.name); });

// Without --seed the clock's seed is the one JSON names, and it repeats the run.
TEST(Seed, JsonNamesTheClocksSeedThatRepeatsTheRun) {
    const Outcome clock = runSim({"--escapes", "3000", "--format", "json"});
    ASSERT_EQ(clock.status, 0) << clock.err;
    std::smatch seed;
    ASSERT_TRUE(std::regex_search(clock.out, seed, std::regex(R"("seed": (\d+),)"))) << clock.out;
    const Outcome again = runSim({"--escapes", "3000", "--format", "json", "--seed", seed[1]});
    EXPECT_EQ(again.out, clock.out);
}

}  // namespace
}  // namespace wexal::cli::test
