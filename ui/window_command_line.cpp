// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_command_line.h"

#include <algorithm>
#include <array>

namespace wexal {
namespace {

// One row per switch and per option with a value: a new option is one row here and one line
// of help below.
struct Switch {
    const char* name;
    bool WindowOptions::*member;
};
constexpr std::array<Switch, 1> kSwitches = {{
    {"--auswertung", &WindowOptions::auswertung},
}};
struct Valued {
    const char* name;
    const char* what;  // "eine Datei" in "--szenario erwartet eine Datei"
    std::string WindowOptions::*member;
};
constexpr std::array<Valued, 1> kValued = {{
    {"--szenario", "eine Datei", &WindowOptions::szenario},
}};

// The same text stands in packaging/man/wexal-help.sh, from which the manual page is made; a
// test compares the two.
constexpr const char* kHelp =
    "Aufruf: wexal [--auswertung] [--szenario DATEI]\n"
    "Bankraub in Tremmelin: ein Fenster für den Stochastikunterricht. Nach einem Bankraub flieht der\n"
    "Räuber durch ein kleines Straßennetz; an jeder Kreuzung wird die nächste Straße zufällig gewählt.\n"
    "\n"
    "      --auswertung       öffnet neben dem Fenster die Auswertung: Tabelle, Stadtplan und Diagramme\n"
    "      --szenario DATEI   die Wexalen folgen den Gewichten eines Szenarios (JSON) einer Lehrkraft\n"
    "  -h, --help             zeigt diese Hilfe\n"
    "      --version          zeigt die Version\n"
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
    for (auto next = arguments.begin(); next != arguments.end(); ++next) {
        const std::string& argument = *next;
        // "--szenario DATEI" or "--szenario=DATEI".
        const std::string name = argument.substr(0, argument.find('='));
        const auto* const valued = std::find_if(kValued.begin(), kValued.end(),
                                                [&name](const Valued& v) { return name == v.name; });
        const auto* const row = std::find_if(kSwitches.begin(), kSwitches.end(),
                                             [&argument](const Switch& s) { return argument == s.name; });
        if (row == kSwitches.end() && valued == kValued.end()) {
            return reject((argument.starts_with('-') ? "unbekannte Option " : "unerwartetes Argument ") + quoted(argument));
        }
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) return reject(quoted(name) + " steht zweimal da");
        seen.push_back(name);
        if (row != kSwitches.end()) {
            result.options.*(row->member) = true;
            continue;
        }
        std::string value;
        if (name.size() < argument.size()) {
            value = argument.substr(name.size() + 1);
        } else if (next + 1 != arguments.end()) {
            value = *++next;
        }
        if (value.empty()) return reject(name + " erwartet " + valued->what);
        result.options.*(valued->member) = value;
    }
    return result;
}

}  // namespace wexal
