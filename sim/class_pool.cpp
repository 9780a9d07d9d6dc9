// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/class_pool.h"

#include "sim/escape.h"

namespace wexal {

std::string settingWords(const Setting& setting) {
    return "Lichtschranken " + barriersText(setting) + " · Hin-und-her möglich: " + turnBackText(setting);
}

std::optional<std::string> ClassPool::add(const std::string& file, const Results& results) {
    if (!results.tally) return "enthält keine Anzahlen, nur die exakten Wahrscheinlichkeiten";
    if (results.mixed) return "die Zähler mischen Einstellungen";
    if (results.setting != setting_) {
        return "andere Einstellung (" + settingWords(results.setting) + ", die Klasse: " +
               settingWords(setting_) + ")";
    }
    const Tally& add = *results.tally;
    // Each count is at most the limit, so one sum never overflows before it is compared.
    if (add.exits.escapes > Escape::kCountLimit - tally_.exits.escapes) {
        return "mit ihr zählte die Klasse mehr als " + std::to_string(Escape::kCountLimit) + " Wexalen";
    }
    tally_.exits.escapes += add.exits.escapes;
    for (std::size_t box = 0; box < tally_.exits.counts.size(); ++box) {
        tally_.exits.counts[box] += add.exits.counts[box];
    }
    tally_.succeeded += add.succeeded;
    tally_.failed += add.failed;
    // The steps stay known while every member counted them and their sum a file can hold.
    if (tally_.steps && add.steps && *add.steps <= Escape::kCountLimit - *tally_.steps) {
        *tally_.steps += *add.steps;
    } else {
        tally_.steps.reset();
    }
    members_.push_back({file, results.name, add.exits.escapes, add.succeeded});
    return std::nullopt;
}

Results ClassPool::pooled() const {
    Results results;
    results.setting = setting_;
    results.tally = tally_;
    for (const Member& member : members_) results.files.push_back(member.file);
    return results;
}

}  // namespace wexal
