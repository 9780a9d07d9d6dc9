// SPDX-License-Identifier: GPL-3.0-or-later
// The window program's command line: nothing changes without arguments, --auswertung opens the
// Auswertung too, and anything else is refused with one German line.
#include <gtest/gtest.h>

#include <ostream>

#include "ui/window_command_line.h"

namespace wexal {
namespace {

using Action = WindowCommandLine::Action;

struct Row {
    const char* name;
    std::vector<std::string> arguments;
    Action action;
    bool auswertung;
    const char* said;  // a part of the message
    const char* szenario = "";
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class WindowCommandLineTest : public testing::TestWithParam<Row> {};

TEST_P(WindowCommandLineTest, ReadsWhatWasAskedFor) {
    const Row& row = GetParam();
    const WindowCommandLine line = readWindowCommandLine(row.arguments, "1.2.3");
    EXPECT_EQ(line.action, row.action);
    EXPECT_EQ(line.options.auswertung, row.auswertung);
    EXPECT_EQ(line.options.szenario, row.szenario);
    EXPECT_NE(line.message.find(row.said), std::string::npos) << line.message;
    if (line.action == Action::Reject) {
        EXPECT_EQ(line.message.find('\n'), std::string::npos) << line.message;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, WindowCommandLineTest,
    testing::Values(Row{"none", {}, Action::Run, false, ""},
                    Row{"auswertung", {"--auswertung"}, Action::Run, true, ""},
                    Row{"help", {"--help"}, Action::ShowHelp, false, "--szenario DATEI   die Wexalen folgen den Gewichten"},
                    Row{"shortHelp", {"-h"}, Action::ShowHelp, false, "Aufruf: wexal [--auswertung]"},
                    Row{"helpWinsOverABadOption", {"--bogus", "--help"}, Action::ShowHelp, false, "Aufruf"},
                    Row{"version", {"--version"}, Action::ShowVersion, false, "wexal 1.2.3\n"},
                    Row{"unknownOption", {"--bogus"}, Action::Reject, false, "unbekannte Option „--bogus“"},
                    Row{"stray", {"datei.csv"}, Action::Reject, false, "unerwartetes Argument „datei.csv“"},
                    Row{"twice", {"--auswertung", "--auswertung"}, Action::Reject, false, "zweimal"},
                    Row{"lineBreakStaysOnOneLine", {"--a\nb"}, Action::Reject, false, "„--a?b“"},
                    Row{"englishSpelling", {"--Auswertung"}, Action::Reject, false, "--Auswertung"},
                    Row{"scenario", {"--szenario", "k 2.json", "--auswertung"}, Action::Run, true, "", "k 2.json"},
                    Row{"scenarioWithEquals", {"--szenario=k.json"}, Action::Run, false, "", "k.json"},
                    Row{"scenarioWithoutFile", {"--szenario"}, Action::Reject, false, "--szenario erwartet eine Datei"},
                    Row{"scenarioEmpty", {"--szenario="}, Action::Reject, false, "--szenario erwartet eine Datei"},
                    Row{"scenarioTwice", {"--szenario", "a.json", "--szenario=b.json"}, Action::Reject, false,
                        "„--szenario“ steht zweimal da"}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace wexal
