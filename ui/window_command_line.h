// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

// The window program's command line. Started without arguments, wexal opens its window and
// nothing else, as it always has; the options below add to that.
namespace wexal {

struct WindowOptions {
    bool auswertung = false;  // --auswertung: the Auswertung opens beside the window
    std::string szenario;     // --szenario DATEI: a teacher's scenario for the escapes; "": none
};

struct WindowCommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, Reject };
    Action action = Action::Run;
    WindowOptions options;
    std::string message;  // the help, the version, or the one German line that says what is wrong
};

inline constexpr int kBadCommandLine = 2;  // the exit status after Reject

// Reads the arguments after the program's name; version is the program's version.
WindowCommandLine readWindowCommandLine(const std::vector<std::string>& arguments, const std::string& version);

}  // namespace wexal
