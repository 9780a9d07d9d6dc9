// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
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

}  // namespace wexal
