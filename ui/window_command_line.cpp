// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_command_line.h"

#include <algorithm>
#include <array>

namespace wexal {
namespace {

// One row per switch: a new option is one row here and one line of help below.
struct Switch {
    const char* name;
    bool WindowOptions::*member;
};
constexpr std::array<Switch, 1> kSwitches = {{
    {"--auswertung", &WindowOptions::auswertung},
}};

// The same text stands in packaging/man/wexal-help.sh, from which the manual page is made; a
// test compares the two.
constexpr const char* kHelp =
    "Aufruf: wexal [--auswertung]\n"
    "Bankraub in Tremmelin: ein Fenster für den Stochastikunterricht. Nach einem Bankraub flieht der\n"
    "Räuber durch ein kleines Straßennetz; an jeder Kreuzung wird die nächste Straße zufällig gewählt.\n"
    "\n"
    "      --auswertung  öffnet neben dem Fenster die Auswertung: Tabelle, Stadtplan und Diagramme\n"
    "  -h, --help        zeigt diese Hilfe\n"
    "      --version     zeigt die Version\n"
    "\n"
    "Ohne Argumente öffnet wexal nur sein Fenster; alles Weitere geschieht dort. Die Auswertung\n"
    "öffnet im Fenster auch ein Rechtsklick oder F2.\n";

// Quoted on one line, whatever control characters the argument carried.
std::string quoted(std::string argument) {
    constexpr unsigned char kFirstPrintable = 0x20;
    std::replace_if(argument.begin(), argument.end(),
                    [](char c) { return static_cast<unsigned char>(c) < kFirstPrintable; }, '?');
    return "„" + argument + "“";
}

}  // namespace

WindowCommandLine readWindowCommandLine(const std::vector<std::string>& arguments, const std::string& version) {
    WindowCommandLine result;
    const auto reject = [&result](const std::string& why) {
        result.action = WindowCommandLine::Action::Reject;
        result.options = {};  // nothing of a refused line takes effect
        result.message = "wexal: " + why + ". „wexal --help“ zeigt, was geht.";
        return result;
    };
    std::vector<std::string> seen;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            result.action = WindowCommandLine::Action::ShowHelp;
            result.message = kHelp;
            return result;
        }
        if (argument == "--version") {
            result.action = WindowCommandLine::Action::ShowVersion;
            result.message = "wexal " + version +
                             "\nCopyright © 2026 Wexal-Entwicklung\n"
                             "Lizenz GPLv3+: GNU GPL Version 3 oder neuer <https://gnu.org/licenses/gpl.html> "
                             "(GPL-3.0-or-later)\n"
                             "Dies ist freie Software: Sie dürfen sie ändern und weitergeben. Es gibt KEINE "
                             "GARANTIE, soweit gesetzlich zulässig.\n";
            return result;
        }
    }
    for (const std::string& argument : arguments) {
        const auto* const row = std::find_if(kSwitches.begin(), kSwitches.end(),
                                      [&argument](const Switch& s) { return argument == s.name; });
        if (row == kSwitches.end()) {
            return reject((argument.starts_with('-') ? "unbekannte Option " : "unerwartetes Argument ") + quoted(argument));
        }
        if (std::find(seen.begin(), seen.end(), argument) != seen.end()) return reject(quoted(argument) + " steht zweimal da");
        seen.push_back(argument);
        result.options.*(row->member) = true;
    }
    return result;
}

}  // namespace wexal
