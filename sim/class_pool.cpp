// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/class_pool.h"

#include <algorithm>

#include "sim/escape.h"

namespace wexal {
namespace {

std::vector<std::string> typedFields(std::string_view line) {
    std::vector<std::string> fields(1);
    for (const char c : line) {
        if (c == '\t' || c == ';') {
            fields.emplace_back();
        } else if (c != '\r') {
            fields.back() += c;
        }
    }
    for (std::string& field : fields) {
        const std::size_t first = field.find_first_not_of(' ');
        field = first == std::string::npos ? std::string() : field.substr(first, field.find_last_not_of(' ') + 1 - first);
    }
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
    return fields;
}

bool isNumber(const std::string& field) { return std::holds_alternative<std::int64_t>(parseCount(field, "")); }

ResultsRead typedRow(std::vector<std::string> fields, int line, const Setting& setting, std::string& name) {
    const auto damaged = [line](std::string reason) { return ResultsRead{std::nullopt, {line, std::move(reason)}}; };
    constexpr std::size_t kCounts = network::kBarrierCount;
    if (fields.size() == kCounts + 1) {
        const bool nameLast = isNumber(fields.front()) && !isNumber(fields.back());
        name = nameLast ? fields.back() : fields.front();
        fields.erase(nameLast ? fields.end() - 1 : fields.begin());
    }
    if (fields.size() != kCounts) {
        return damaged("erwartet einen Namen und acht Anzahlen (Zählerbox 0 bis 7), getrennt durch Tab "
                       "oder „;“, nicht " + std::to_string(fields.size()) + " Felder");
    }
    Results results;
    results.setting = setting;
    results.name = name;
    Tally& tally = results.tally.emplace();
    for (std::size_t box = 0; box < kCounts; ++box) {
        auto count = parseCount(fields[box], "Anzahl für Zählerbox " + std::to_string(box));
        if (const auto* reason = std::get_if<std::string>(&count)) return damaged(*reason);
        const std::int64_t n = std::get<std::int64_t>(count);
        tally.exits.counts[box] = n;
        tally.exits.escapes += n;  // eight counts of at most 2^53 each: no overflow
        (setting.barriers[box] ? tally.failed : tally.succeeded) += n;
    }
    if (tally.exits.escapes > Escape::kCountLimit) {
        return damaged("zusammen mehr als " + std::to_string(Escape::kCountLimit) + " Wexalen");
    }
    return {results, {}};
}

}  // namespace

std::vector<TypedRow> parseTypedRows(std::string_view text, const Setting& setting) {
    std::vector<TypedRow> rows;
    int line = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        ++line;
        std::vector<std::string> fields = typedFields(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (fields.empty()) continue;
        TypedRow row;
        row.read = typedRow(std::move(fields), line, setting, row.name);
        rows.push_back(std::move(row));
    }
    return rows;
}

void ClassRoster::addFile(const std::filesystem::path& path) {
    Entry entry{path.string(), path.filename().string(), readResultsFile(path)};
    if (entry.read.results && !entry.read.results->name.empty()) entry.name = entry.read.results->name;
    entries_.push_back(std::move(entry));
}

std::size_t ClassRoster::addTyped(std::string_view text, const Setting& setting) {
    std::vector<TypedRow> rows = parseTypedRows(text, setting);
    for (TypedRow& row : rows) {
        const std::string name = row.name.empty() ? "Zeile " + std::to_string(row.read.damage.line) : row.name;
        entries_.push_back({"eingetippt: " + name, name, std::move(row.read)});
    }
    return rows.size();
}

ClassRoster::Sorted ClassRoster::sortFor(const Setting& setting) const {
    Sorted sorted(setting);
    for (std::size_t e = 0; e < entries_.size(); ++e) {
        const Entry& entry = entries_[e];
        if (!entry.read.results) {
            const FileDamage& d = entry.read.damage;
            sorted.apart.emplace_back(e, (d.line > 0 ? "Zeile " + std::to_string(d.line) + ": " : "") + d.reason);
        } else if (auto refused = sorted.pool.add(entry.source, *entry.read.results)) {
            sorted.apart.emplace_back(e, *refused);
        } else {
            sorted.pooled.push_back(e);
        }
    }
    return sorted;
}

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
