// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/merge.h"

#include <optional>

namespace wexal::cli {

std::variant<ClassPool, std::string> mergeFiles(const std::vector<std::string>& files) {
    std::optional<ClassPool> pool;
    for (const std::string& file : files) {
        const ResultsRead read = readResultsFile(file);
        if (!read.results) return damageLine(file, read.damage);
        if (!pool) pool.emplace(read.results->setting);
        if (auto refused = pool->add(file, *read.results)) return damageLine(file, {0, *refused});
    }
    if (!pool) return std::string("--merge erwartet mindestens eine Ergebnisdatei");
    return *std::move(pool);
}

}  // namespace wexal::cli
