// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sim/exact_solution.h"
#include "sim/network.h"
#include "sim/setting.h"

// The results file: what the window's "Ergebnisse speichern…" and wexal-sim --format csv
// write, and what the class result and wexal-sim --merge read back. A CSV for a spreadsheet
// under a German locale: UTF-8 with a byte order mark, ";" between fields, a decimal comma.
// README.md specifies its rows and which of them a reader relies on.
namespace wexal {

// What was counted per counter box, and over how many escapes.
struct CountedExits {
    std::int64_t escapes = 0;
    std::array<std::int64_t, network::kBarrierCount> counts{};
    friend bool operator==(const CountedExits&, const CountedExits&) = default;
};

// The counts of a series: per exit, the two totals as the window's statistics show them, and
// the steps when they are known (typed counts have none).
struct Tally {
    CountedExits exits;
    std::int64_t succeeded = 0;
    std::int64_t failed = 0;
    std::optional<std::int64_t> steps;
    friend bool operator==(const Tally&, const Tally&) = default;
};

struct Results {
    Setting setting = kStartSetting;
    std::optional<Tally> tally;  // none: the exact solution alone (wexal-sim --exact)
    bool mixed = false;          // the counts span more than one setting
    std::optional<std::uint64_t> seed;
    std::string date;             // "2026-05-03 14:22", local time; empty: no date row
    std::string name;             // pupil or group; empty: no name row
    std::vector<std::string> files;  // a class result: the files it pools
    friend bool operator==(const Results&, const Results&) = default;
};

// The largest file a reader takes: a class result of a thousand files with long names stays
// well below it.
inline constexpr std::uintmax_t kMaxResultsFileBytes = 1 << 20;

// Why a file is no readable results file, and where: line 1 is the heading; 0 means the
// file as a whole.
struct FileDamage {
    int line = 0;
    std::string reason;  // German, without the file's name
    friend bool operator==(const FileDamage&, const FileDamage&) = default;
};

// A file's results, or what damages it.
struct ResultsRead {
    std::optional<Results> results;
    FileDamage damage;  // meaningful only without results
};

void writeResultsFile(std::ostream& out, const Results& results, const ExactSolution& exact);

// Reads the text of a results file, with or without its byte order mark and with LF or
// CR LF line ends, as a spreadsheet may save it again.
ResultsRead parseResultsFile(std::string_view text);

// Reads a file; refuses one larger than kMaxResultsFileBytes without reading it.
ResultsRead readResultsFile(const std::filesystem::path& path);

// A count as a results file or a typed row holds it: digits only, at most 2^53. Otherwise the
// German reason, naming the cell as `what` ("Anzahl „-5“ ist negativ").
std::variant<std::int64_t, std::string> parseCount(std::string_view cell, std::string_view what);

// One German line: "„klasse/anna.csv“, Zeile 4: Anzahl „-5“ ist negativ".
std::string damageLine(std::string_view fileName, const FileDamage& damage);

// The date row's text for now, in local time.
std::string localDateNow();

}  // namespace wexal
