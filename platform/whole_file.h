// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace wexal {

// Files written whole or not at all, and the German words for what went wrong. Paths are the
// bytes the system takes, kept as they are.

// Why a call failed with this errno, in German and without a full stop: "Kein freier
// Speicherplatz", "Zugriff verweigert", "Dateiname zu lang", ...
std::string germanErrorText(int error);

// Whether a file can be written at path, checked before the work that fills it: the name is
// valid, its folder exists and takes a new file, and what the path names now (also through
// symbolic links) is a regular file or nothing; a FIFO, a device, a socket or a folder is never
// replaced. Returns the German reason that it cannot, or none.
std::optional<std::string> checkWritable(const std::string& path);

// Writes bytes to path whole or not at all: the checks above, then a new file beside the target
// written unbuffered and every write checked, synced, and only then renamed over the target. A
// symbolic link to a regular file writes that file. On any failure the target is untouched, the
// new file is removed, and the German reason is returned; the reason is read from the failing
// call before anything is cleaned up.
std::optional<std::string> writeWholeFile(const std::string& path, std::string_view bytes);

// "Die Datei „path“ konnte nicht gespeichert werden: reason", in one line whatever the path
// holds: control characters show as \xNN.
std::string saveFailureLine(const std::string& path, const std::string& reason);

}  // namespace wexal
