// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <optional>
#include <string>
#include <vector>

#include "sim/results_file.h"
#include "sim/setting.h"

namespace wexal {

// The results of many files pooled into one class result under one setting, as twenty PCs of a
// lesson pool their escapes. A file under another setting, with mixed counts or without counts
// is refused with the reason and changes nothing.
class ClassPool {
public:
    struct Member {
        std::string file;  // as the caller named it
        std::string name;  // the file's name row; empty when it has none
        std::int64_t escapes = 0;
        std::int64_t succeeded = 0;
    };

    explicit ClassPool(const Setting& setting) : setting_(setting) {}

    // Pools the results, or returns the German reason why not.
    std::optional<std::string> add(const std::string& file, const Results& results);

    const Setting& setting() const { return setting_; }
    const std::vector<Member>& members() const { return members_; }
    const Tally& tally() const { return tally_; }
    // The pooled results file: the members' files in its file rows, steps only when every
    // member counted them.
    Results pooled() const;

private:
    Setting setting_;
    Tally tally_{{}, 0, 0, std::int64_t{0}};
    std::vector<Member> members_;
};

// "Lichtschranken 00110101 · Hin-und-her möglich: ja": a setting in the words of the window.
std::string settingWords(const Setting& setting);

// Counts as a teacher types them, or pastes them from a spreadsheet: one pupil a line, a name and
// the eight counts of counter boxes 0 to 7, separated by tabs or ";". The name may stand first
// or last, or be left out. Each line is checked like a results file: every count a whole number
// from 0; a damage names the line of the text. The totals follow the setting's barriers.
struct TypedRow {
    std::string name;  // empty when the line has none
    ResultsRead read;
};
std::vector<TypedRow> parseTypedRows(std::string_view text, const Setting& setting);

// What a class handed in, in the order it came: files, read or damaged, and typed rows. Sorted
// for a setting, the pooled ones make the class result and the others stand apart, each with
// its German reason; nothing is lost when one of them is damaged.
class ClassRoster {
public:
    struct Entry {
        std::string source;  // the file's path; "eingetippt: <name>" for a typed row
        std::string name;    // the results' name row, else the file's name, else the typed name
        ResultsRead read;
    };
    struct Sorted {
        explicit Sorted(const Setting& setting) : pool(setting) {}
        ClassPool pool;
        std::vector<std::size_t> pooled;                         // entries, in order
        std::vector<std::pair<std::size_t, std::string>> apart;  // entry and reason
    };

    void addFile(const std::filesystem::path& path);
    // The rows of a typed text; returns how many it held.
    std::size_t addTyped(std::string_view text, const Setting& setting);
    void clear() { entries_.clear(); }

    const std::vector<Entry>& entries() const { return entries_; }
    Sorted sortFor(const Setting& setting) const;

private:
    std::vector<Entry> entries_;
};

}  // namespace wexal
