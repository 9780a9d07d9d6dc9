// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/scenario.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include <nlohmann/json.hpp>

#include "platform/german_number.h"
#include "sim/draw.h"

namespace wexal {
namespace {

using Json = nlohmann::json;

constexpr std::size_t kKiB = 1024;
constexpr std::size_t kMaxFileBytes = 64 * kKiB;  // a scenario is a few lines
constexpr std::size_t kMaxNameCharacters = 100;
constexpr std::size_t kMaxQuotedBytes = 60;  // of a key or file name in the error line

// A file name or key as the error line quotes it: on one line, and not endless.
std::string quotedForLine(std::string_view text) {
    std::string shown;
    for (const char c : text.substr(0, kMaxQuotedBytes)) {
        shown += static_cast<unsigned char>(c) < ' ' ? '?' : c;
    }
    // Cut at a character's start, never inside one (UTF-8 continuation bytes are 10xxxxxx).
    constexpr unsigned kTopTwoBits = 0xC0;
    constexpr unsigned kContinuation = 0x80;
    if (text.size() > kMaxQuotedBytes) {
        while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & kTopTwoBits) == kContinuation) {
            shown.pop_back();
        }
        if (!shown.empty()) shown.pop_back();
        shown += "…";
    }
    return "„" + shown + "“";
}

std::size_t characters(std::string_view utf8) {
    constexpr unsigned kTopTwoBits = 0xC0;
    constexpr unsigned kContinuation = 0x80;
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & kTopTwoBits) != kContinuation;
    }));
}

class Reader {
public:
    explicit Reader(std::string fileName) : file_(std::move(fileName)) {}

    ScenarioReading fail(const std::string& key, const std::string& reason) const {
        std::string line = "Szenario " + quotedForLine(file_);
        if (!key.empty()) line += ", Schlüssel " + quotedForLine(key);
        return {std::nullopt, line + ": " + reason};
    }

    ScenarioReading read(std::string_view text) const {
        Json root;
        try {
            root = Json::parse(text);
        } catch (const Json::parse_error& error) {
            return fail("", "kein gültiges JSON (" + position(text, error.byte) + ")");
        } catch (const Json::exception&) {
            return fail("", "kein gültiges JSON (eine Zahl außerhalb jedes Bereichs)");
        }
        if (!root.is_object()) return fail("", "kein JSON-Objekt mit „name“, „verdeckt“ und „gewichte“");

        Scenario scenario;
        scenario.name = std::filesystem::path(file_).stem().string();
        bool weightsGiven = false;
        for (const auto& [key, value] : root.items()) {
            std::optional<ScenarioReading> problem;
            if (key == "name") {
                problem = readName(value, scenario);
            } else if (key == "verdeckt") {
                if (!value.is_boolean()) return fail(key, "erwartet true oder false");
                scenario.hidden = value.get<bool>();
            } else if (key == "gewichte") {
                problem = readWeights(value, scenario.weights);
                weightsGiven = true;
            } else {
                return fail(key, "unbekannt (erlaubt sind name, verdeckt und gewichte)");
            }
            if (problem) return *problem;
        }
        if (!weightsGiven) return fail("gewichte", "fehlt");
        if (const auto end = deadEnd(scenario.weights)) return deadEndLine(*end);
        return {std::move(scenario), ""};
    }

private:
    // "Zeile 3, Spalte 7" of the byte after which the parser gave up (counted from 1).
    static std::string position(std::string_view text, std::size_t byte) {
        const std::string_view before = text.substr(0, std::min(byte > 0 ? byte - 1 : 0, text.size()));
        const auto line = 1 + std::count(before.begin(), before.end(), '\n');
        const std::size_t lineStart = before.rfind('\n');
        const std::size_t column =
            characters(before.substr(lineStart == std::string_view::npos ? 0 : lineStart + 1)) + 1;
        return "Zeile " + std::to_string(line) + ", Spalte " + std::to_string(column);
    }

    std::optional<ScenarioReading> readName(const Json& value, Scenario& scenario) const {
        if (!value.is_string()) return fail("name", "kein Text");
        const auto& name = value.get_ref<const std::string&>();
        if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; })) {
            return fail("name", "enthält Steuerzeichen");
        }
        if (characters(name) > kMaxNameCharacters) {
            return fail("name", "länger als " + std::to_string(kMaxNameCharacters) + " Zeichen");
        }
        if (!name.empty()) scenario.name = name;
        return std::nullopt;
    }

    std::optional<ScenarioReading> readWeights(const Json& value, StreetWeights& weights) const {
        if (!value.is_object()) return fail("gewichte", "kein JSON-Objekt von Kreuzung zu Gewichten");
        for (const auto& [key, list] : value.items()) {
            int junction = 0;
            for (int j = 1; j <= network::kLastJunction; ++j) {
                if (key == std::to_string(j)) junction = j;
            }
            if (junction == 0) {
                return fail("gewichte." + key, "keine Kreuzung (Kreuzungen sind 1 bis " +
                                                   std::to_string(network::kLastJunction) + ")");
            }
            if (auto problem = readRow(list, junction, weights)) return problem;
        }
        return std::nullopt;
    }

    std::optional<ScenarioReading> readRow(const Json& list, int junction, StreetWeights& weights) const {
        const std::string path = "gewichte." + std::to_string(junction);
        const int count = network::kThroughNode6[static_cast<std::size_t>(junction)].count;
        if (!list.is_array()) return fail(path, "keine Liste von Gewichten");
        if (list.size() != static_cast<std::size_t>(count)) {
            return fail(path, std::to_string(list.size()) + " Gewichte, die Straßenliste von Kreuzung " +
                                  std::to_string(junction) + " hat " + std::to_string(count) + " Stellen");
        }
        StreetWeights::Row row = weights.at(junction);
        for (int k = 0; k < count; ++k) {
            const Json& entry = list[static_cast<std::size_t>(k)];
            const std::string at = path + "[" + std::to_string(k) + "]";
            if (!entry.is_number()) return fail(at, "keine Zahl");
            const double w = entry.get<double>();
            const std::string said = "Gewicht " + german::shortest(w);
            if (w < 0) return fail(at, said + " ist negativ");
            if (w > StreetWeights::kMaxWeight) {
                return fail(at, said + " ist größer als " + std::to_string(StreetWeights::kMaxWeight));
            }
            if (w != std::floor(w)) return fail(at, said + " ist keine ganze Zahl");
            row[static_cast<std::size_t>(k)] = static_cast<int>(w);
        }
        weights.set(junction, row);
        return std::nullopt;
    }

    ScenarioReading deadEndLine(const DeadEnd& end) const {
        std::string where = std::string("bei „Hin-und-her möglich: ") + (end.turnBack ? "ja" : "nein") + "“";
        if (end.from != 0) where += " und von " + std::to_string(end.from) + " kommend";
        return fail("gewichte." + std::to_string(end.junction),
                    "der Räuber käme aus Kreuzung " + std::to_string(end.junction) + " nie heraus: " +
                        where + " wiegen alle zulässigen Straßen 0");
    }

    std::string file_;
};

}  // namespace

ScenarioReading parseScenario(std::string_view text, const std::string& fileName) {
    return Reader(fileName).read(text);
}

ScenarioReading readScenarioFile(const std::string& path) {
    const Reader reader(path);
    std::ifstream in(path, std::ios::binary);
    if (!in) return reader.fail("", "lässt sich nicht lesen");
    std::string text;
    text.resize(kMaxFileBytes + 1);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) return reader.fail("", "lässt sich nicht lesen");
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMaxFileBytes) {
        return reader.fail("", "größer als " + std::to_string(kMaxFileBytes / kKiB) + " KiB, kein Szenario");
    }
    return reader.read(text);
}

}  // namespace wexal
