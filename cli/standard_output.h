// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wexal::cli {

// Gives standard input, output and error that are closed when the program starts a stand-in
// (/dev/null), so that no file the program opens later takes their number and receives the
// report. Returns whether standard output was closed: the report then has nowhere to go.
bool plugClosedStandardStreams();

// Writes the whole text to standard output, unbuffered, every write checked; a closed pipe
// is an error here, not a signal that ends the program. Returns the German reason of a
// failure ("Kein freier Speicherplatz", "Die Gegenseite der Pipe ist geschlossen", ...).
std::optional<std::string> writeStandardOutput(std::string_view text);

}  // namespace wexal::cli
