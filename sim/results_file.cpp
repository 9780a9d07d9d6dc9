// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/results_file.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <fstream>
#include <numeric>
#include <variant>

#include "platform/german_number.h"
#include "sim/csv_cells.h"
#include "sim/escape.h"

namespace wexal {
namespace {

namespace nw = network;

constexpr std::size_t kColumns = 7;
using Cells = std::array<std::string, kColumns>;

constexpr std::array<std::string_view, kColumns> kHeadings = {
    "Ausgang", "Zählerbox", "Lichtschranke", "Anzahl", "relative Häufigkeit",
    "Wahrscheinlichkeit (Bruch)", "Wahrscheinlichkeit (dezimal)"};
constexpr std::size_t kCountColumn = 3;
constexpr std::size_t kBarrierColumn = 2;

using csv::field;
using csv::fraction;
using csv::kByteOrderMark;
constexpr std::string_view kOn = "an";
constexpr std::string_view kOff = "aus";

enum TotalRow { kSucceededRow, kFailedRow, kStepsRow, kTotalRows };
constexpr std::array<std::string_view, kTotalRows> kTotalNames = {"gelungen", "mißglückt",
                                                                  "Schritte je Wexal"};

// The rows after the table, one cell "Schlüssel: Wert" each, which a spreadsheet shows as
// text: the barrier bits keep their leading zeros and a seed all its twenty digits.
enum class Key { Barriers, TurnBack, Escapes, Seed, Date, Name, File, Notice, Count };
constexpr std::array<std::string_view, static_cast<std::size_t>(Key::Count)> kKeys = {
    "Lichtschranken", "Hin-und-her möglich", "Wexalen", "Startwert",
    "Datum",          "Name",                "Datei",   "Hinweis"};
constexpr std::string_view kKeySeparator = ": ";
constexpr std::string_view kMixedNotice = "die Zähler mischen Einstellungen";
constexpr std::string_view kEndRow = "Ende";

constexpr std::string_view keyName(Key key) { return kKeys[static_cast<std::size_t>(key)]; }

constexpr std::size_t kDateBuffer = 32;
constexpr std::size_t kQuotedCellLength = 40;  // characters of a bad cell a message shows
constexpr std::size_t kReadChunk = 1 << 16;

// ---------------------------------------------------------------------------- UTF-8

struct SequenceKind {
    unsigned char leadMask;  // the bits that mark the kind in the lead byte
    unsigned char leadValue;
    std::size_t length;
    char32_t smallest;  // below it a shorter sequence must be used
};
constexpr std::array<SequenceKind, 3> kMultiByte = {
    {{0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}}};
constexpr unsigned char kAsciiEnd = 0x80;
constexpr unsigned char kDelete = 0x7F;
constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuation = 0x80;
constexpr unsigned kContinuationBits = 6;
constexpr char32_t kLastCodePoint = 0x10FFFF;
constexpr char32_t kFirstSurrogate = 0xD800;
constexpr char32_t kLastSurrogate = 0xDFFF;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Length of the well-formed UTF-8 sequence that starts at text[i]; 0 when there is none.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [text](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    if (byte(i) < kAsciiEnd) return 1;
    for (const SequenceKind& kind : kMultiByte) {
        if ((byte(i) & kind.leadMask) != kind.leadValue) continue;
        if (i + kind.length > text.size()) return 0;
        auto code = static_cast<char32_t>(byte(i) & static_cast<unsigned char>(~kind.leadMask));
        for (std::size_t k = i + 1; k < i + kind.length; ++k) {
            if ((byte(k) & kContinuationMask) != kContinuation) return 0;
            code = (code << kContinuationBits) |
                   static_cast<char32_t>(byte(k) & static_cast<unsigned char>(~kContinuationMask));
        }
        const bool surrogate = code >= kFirstSurrogate && code <= kLastSurrogate;
        return code < kind.smallest || code > kLastCodePoint || surrogate ? 0 : kind.length;
    }
    return 0;
}

bool isUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(text, i);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

// At most `characters` characters from the start of the text.
std::string_view prefix(std::string_view text, std::size_t characters) {
    std::size_t end = 0;
    for (; end < text.size() && characters > 0; --characters) {
        end += std::max<std::size_t>(1, sequenceLength(text, end));
    }
    return text.substr(0, std::min(end, text.size()));
}

// Free text for one cell: trimmed, control characters as blanks, broken UTF-8 replaced.
std::string oneLine(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequenceLength(text, i);
        const auto c = static_cast<unsigned char>(text[i]);
        if (length == 0) {
            line += kReplacement;
        } else if (length == 1 && (c < ' ' || c == kDelete)) {
            line += ' ';
        } else {
            line += text.substr(i, length);
        }
        i += std::max<std::size_t>(1, length);
    }
    const std::size_t first = line.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return line.substr(first, line.find_last_not_of(' ') + 1 - first);
}

// ---------------------------------------------------------------------------- writing

// Every row has all seven fields, so a spreadsheet that guesses the separator finds ";".
void writeRow(std::ostream& out, const Cells& row) {
    for (std::size_t c = 0; c < kColumns; ++c) out << (c > 0 ? ";" : "") << field(row[c]);
    out << '\n';
}

void writeKeyRow(std::ostream& out, Key key, std::string_view value) {
    writeRow(out, {std::string(keyName(key)).append(kKeySeparator).append(value)});
}

std::string share(std::int64_t count, std::int64_t escapes) {
    if (escapes == 0) return {};
    return german::shortest(static_cast<double>(count) / static_cast<double>(escapes));
}

Cells countedRow(std::string first, const std::optional<std::int64_t>& count,
               std::int64_t escapes, const mpq_class& exact) {
    Cells row{std::move(first)};
    if (count) {
        row[kCountColumn] = std::to_string(*count);
        row[kCountColumn + 1] = share(*count, escapes);
    }
    row[kCountColumn + 2] = fraction(exact);
    row[kCountColumn + 3] = german::shortest(nearestDouble(exact));
    return row;
}

// ---------------------------------------------------------------------------- reading

FileDamage damage(int line, std::string reason) { return {line, std::move(reason)}; }

std::string shown(std::string_view text) {
    std::string cut(prefix(text, kQuotedCellLength));
    if (cut.size() < text.size()) cut += "…";
    return "„" + cut + "“";
}

struct Line {
    int number = 0;
    std::string_view text;
};

// Splits a line at ";" outside quotes; "" inside quotes is one quote. Trailing empty fields
// are dropped, as a spreadsheet pads rows with them.
std::optional<std::vector<std::string>> cellsOf(std::string_view line) {
    std::vector<std::string> cells(1);
    bool inQuotes = false;
    bool afterQuote = false;  // a quoted field has ended: only ";" may follow
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (inQuotes) {
            if (c != '"') {
                cells.back() += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                cells.back() += '"';
                ++i;
            } else {
                inQuotes = false;
                afterQuote = true;
            }
        } else if (c == ';') {
            cells.emplace_back();
            afterQuote = false;
        } else if (afterQuote) {
            return std::nullopt;
        } else if (c == '"' && cells.back().empty()) {
            inQuotes = true;
        } else {
            cells.back() += c;
        }
    }
    if (inQuotes) return std::nullopt;
    while (cells.size() > 1 && cells.back().empty()) cells.pop_back();
    return cells;
}

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::variant<std::int64_t, std::string> parseCount(std::string_view cell, std::string_view what) {
    const std::string named = std::string(what) + " " + shown(cell);
    if (cell.starts_with('-') && allDigits(cell.substr(1))) return named + " ist negativ";
    if (!allDigits(cell)) return named + " ist keine ganze Zahl";
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    if (error != std::errc{} || value > Escape::kCountLimit) {
        return named + " ist zu groß (höchstens " + std::to_string(Escape::kCountLimit) + ")";
    }
    return value;
}

namespace {

class Parser {
public:
    explicit Parser(std::string_view text);
    ResultsRead read();

private:
    enum class Next { Row, End, Broken };  // Broken: a quoted field does not close
    Next nextRow();
    std::optional<FileDamage> expectRow();
    std::optional<FileDamage> readTable();
    std::optional<FileDamage> readCount(std::optional<std::int64_t>& into, std::string_view what);
    std::optional<FileDamage> readKeyRows();
    std::optional<FileDamage> readKey(Key key, std::string_view value);
    std::optional<FileDamage> check() const;
    std::optional<FileDamage> checkPresence() const;
    std::optional<FileDamage> checkSums() const;
    int lineOf(Key key) const { return keyLines_[static_cast<std::size_t>(key)]; }
    FileDamage truncated() const;

    std::vector<Line> lines_;
    bool endsWithLineBreak_ = false;
    std::size_t next_ = 0;  // the next line to read
    Line line_;             // the row just read
    std::vector<std::string> cells_;

    Results results_;
    std::array<std::optional<std::int64_t>, nw::kBarrierCount> exits_{};
    std::array<std::optional<std::int64_t>, kTotalRows> totals_{};
    std::array<int, nw::kBarrierCount> exitLines_{};
    std::array<bool, nw::kBarrierCount> barrierColumn_{};
    std::array<int, kTotalRows> totalLines_{};
    std::array<int, static_cast<std::size_t>(Key::Count)> keyLines_{};
    std::optional<std::int64_t> escapes_;
    int endLine_ = 0;
};

Parser::Parser(std::string_view text) {
    endsWithLineBreak_ = !text.empty() && text.back() == '\n';
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.push_back({++number, line});
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

FileDamage Parser::truncated() const {
    const int last = lines_.empty() ? 0 : lines_.back().number;
    return damage(last, "die Datei bricht hier ab, die Schlusszeile „Ende“ fehlt");
}

// The next row that is not blank.
Parser::Next Parser::nextRow() {
    while (next_ < lines_.size()) {
        line_ = lines_[next_++];
        std::optional<std::vector<std::string>> cells = cellsOf(line_.text);
        if (!cells) return Next::Broken;
        cells_ = std::move(*cells);
        if (cells_.size() != 1 || !cells_.front().empty()) return Next::Row;
    }
    return Next::End;
}

ResultsRead Parser::read() {
    for (const Line& line : lines_) {
        if (line.text.find('\0') != std::string_view::npos || !isUtf8(line.text)) {
            return {std::nullopt, damage(line.number, "keine Wexal-Ergebnisdatei: keine Textdatei in UTF-8")};
        }
    }
    if (lines_.empty()) return {std::nullopt, damage(0, "die Datei ist leer")};
    std::optional<FileDamage> found = readTable();
    if (!found) found = readKeyRows();
    if (found) {
        // A row that breaks off at the very end of the file is the sign of a cut file.
        const bool lastLine = found->line == lines_.back().number && !endsWithLineBreak_;
        return {std::nullopt, lastLine && found->line > 1 ? truncated() : *found};
    }
    found = check();
    if (found) return {std::nullopt, *found};
    if (escapes_) {
        Tally& tally = results_.tally.emplace();
        tally.exits.escapes = *escapes_;
        for (std::size_t box = 0; box < nw::kBarrierCount; ++box) tally.exits.counts[box] = *exits_[box];
        tally.succeeded = *totals_[kSucceededRow];
        tally.failed = *totals_[kFailedRow];
        tally.steps = totals_[kStepsRow];
    }
    return {results_, {}};
}

std::optional<FileDamage> Parser::readCount(std::optional<std::int64_t>& into,
                                            std::string_view what) {
    const std::string& cell = kCountColumn < cells_.size() ? cells_[kCountColumn] : std::string();
    if (cell.empty()) return std::nullopt;
    std::variant<std::int64_t, std::string> count = parseCount(cell, what);
    if (const auto* reason = std::get_if<std::string>(&count)) return damage(line_.number, *reason);
    into = std::get<std::int64_t>(count);
    return std::nullopt;
}

// A row must follow: the damage when the file ends or the row is broken.
std::optional<FileDamage> Parser::expectRow() {
    switch (nextRow()) {
        case Next::Row: return std::nullopt;
        case Next::End: return truncated();
        case Next::Broken: break;
    }
    return damage(line_.number, "ein Anführungszeichen ist nicht geschlossen");
}

std::optional<FileDamage> Parser::readTable() {
    const bool heading = nextRow() == Next::Row && line_.number == 1 && cells_.size() == kColumns &&
                         std::equal(kHeadings.begin(), kHeadings.end(), cells_.begin());
    if (!heading) {
        return damage(1, "keine Wexal-Ergebnisdatei: die erste Zeile ist nicht „Ausgang;Zählerbox;…“");
    }
    for (int i = 0; i < nw::kBarrierCount; ++i) {
        if (auto found = expectRow()) return found;
        const auto box = static_cast<std::size_t>(i);
        exitLines_[box] = line_.number;
        const std::string exit = std::to_string(nw::kExitOfBox[box]);
        if (cells_.size() <= kBarrierColumn || cells_[0] != exit || cells_[1] != std::to_string(i)) {
            return damage(line_.number, "erwartet die Zeile von Ausgang " + exit + " mit Zählerbox " +
                                            std::to_string(i));
        }
        const std::string& barrier = cells_[kBarrierColumn];
        if (barrier != kOn && barrier != kOff) {
            return damage(line_.number, "Lichtschranke " + shown(barrier) + " ist weder „an“ noch „aus“");
        }
        barrierColumn_[box] = barrier == kOn;
        if (auto found = readCount(exits_[box], "Anzahl")) return found;
    }
    for (std::size_t t = 0; t < kTotalRows; ++t) {
        if (auto found = expectRow()) return found;
        if (cells_[0] != kTotalNames[t]) {
            return damage(line_.number, "erwartet die Zeile „" + std::string(kTotalNames[t]) + "“");
        }
        totalLines_[t] = line_.number;
        if (auto found = readCount(totals_[t], kTotalNames[t])) return found;
    }
    return std::nullopt;
}

std::optional<FileDamage> Parser::readKeyRows() {
    for (;;) {
        if (auto found = expectRow()) return found;
        if (cells_.size() != 1) {
            return damage(line_.number, "erwartet eine Zeile „Schlüssel: Wert“ in einem Feld");
        }
        const std::string& cell = cells_.front();
        if (cell == kEndRow) break;
        const std::size_t colon = cell.find(kKeySeparator);
        const std::string_view name = std::string_view(cell).substr(0, colon);
        const auto* key = std::find(kKeys.begin(), kKeys.end(), name);
        if (colon == std::string::npos || key == kKeys.end()) {
            return damage(line_.number, "unbekannte Zeile " + shown(cell));
        }
        const auto k = static_cast<Key>(key - kKeys.begin());
        int& seen = keyLines_[static_cast<std::size_t>(k)];
        if (seen != 0 && k != Key::File) {
            return damage(line_.number, "die Zeile „" + std::string(name) + "“ steht schon in Zeile " +
                                            std::to_string(seen));
        }
        seen = line_.number;
        if (auto found = readKey(k, std::string_view(cell).substr(colon + kKeySeparator.size()))) {
            return found;
        }
    }
    endLine_ = line_.number;
    if (nextRow() != Next::End) return damage(line_.number, "nach der Schlusszeile „Ende“ folgt noch Text");
    return std::nullopt;
}

std::optional<FileDamage> Parser::readKey(Key key, std::string_view value) {
    const auto bad = [this, key, value](std::string_view expected) {
        return damage(line_.number, std::string(keyName(key)) + " " + shown(value) + ": erwartet " +
                                        std::string(expected));
    };
    switch (key) {
        case Key::Barriers: {
            const bool bits = value.size() == nw::kBarrierCount &&
                              value.find_first_not_of("01") == std::string_view::npos;
            if (!bits) return bad("acht Zeichen 0 oder 1 (Lichtschranken 0 bis 7)");
            for (std::size_t i = 0; i < value.size(); ++i) results_.setting.barriers[i] = value[i] == '1';
            break;
        }
        case Key::TurnBack:
            if (value != "ja" && value != "nein") return bad("ja oder nein");
            results_.setting.turnBack = value == "ja";
            break;
        case Key::Escapes: {
            std::variant<std::int64_t, std::string> count = parseCount(value, "Wexalen");
            if (const auto* reason = std::get_if<std::string>(&count)) return damage(line_.number, *reason);
            escapes_ = std::get<std::int64_t>(count);
            break;
        }
        case Key::Seed: {
            std::uint64_t seed = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seed);
            if (error != std::errc{} || end != value.data() + value.size()) {
                return bad("eine ganze Zahl von 0 bis 18446744073709551615");
            }
            results_.seed = seed;
            break;
        }
        // Free text as the writer would write it, so that it reads back unchanged.
        case Key::Date: results_.date = oneLine(value); break;
        case Key::Name: results_.name = oneLine(value); break;
        case Key::File: results_.files.push_back(oneLine(value)); break;
        case Key::Notice:
            if (value != kMixedNotice) return bad("„" + std::string(kMixedNotice) + "“");
            results_.mixed = true;
            break;
        case Key::Count: break;
    }
    return std::nullopt;
}

std::optional<FileDamage> Parser::check() const {
    for (Key required : {Key::Barriers, Key::TurnBack}) {
        if (lineOf(required) == 0) {
            return damage(endLine_, "die Zeile „" + std::string(keyName(required)) + ": …“ fehlt");
        }
    }
    for (std::size_t box = 0; box < nw::kBarrierCount; ++box) {
        if (barrierColumn_[box] != results_.setting.barriers[box]) {
            return damage(exitLines_[box], "Lichtschranke " + std::string(barrierColumn_[box] ? kOn : kOff) +
                                               " widerspricht der Zeile „Lichtschranken“ (Zeile " +
                                               std::to_string(lineOf(Key::Barriers)) + ")");
        }
    }
    if (auto found = checkPresence()) return found;
    return escapes_ ? checkSums() : std::nullopt;
}

// Counts stand in every row of the table or in none; the steps may be missing alone.
std::optional<FileDamage> Parser::checkPresence() const {
    const bool counted = exits_[0].has_value();
    const auto mismatch = [counted](int line) {
        return damage(line, counted ? "die Anzahl fehlt" : "eine Anzahl, wo die übrigen fehlen");
    };
    for (std::size_t box = 0; box < nw::kBarrierCount; ++box) {
        if (exits_[box].has_value() != counted) return mismatch(exitLines_[box]);
    }
    for (std::size_t t : {kSucceededRow, kFailedRow}) {
        if (totals_[t].has_value() != counted) return mismatch(totalLines_[t]);
    }
    if (escapes_.has_value() != counted) {
        return counted ? damage(endLine_, "die Zeile „Wexalen: …“ fehlt")
                       : damage(lineOf(Key::Escapes), "Wexalen ohne Anzahlen in der Tabelle");
    }
    if (!counted && totals_[kStepsRow]) return damage(totalLines_[kStepsRow], "Schritte ohne Anzahlen");
    return std::nullopt;
}

std::optional<FileDamage> Parser::checkSums() const {
    // Each count is at most 2^53, so eight of them add up without overflow.
    const std::int64_t sum = std::accumulate(exits_.begin(), exits_.end(), std::int64_t{0},
                                             [](std::int64_t s, const auto& c) { return s + *c; });
    if (sum != *escapes_) {
        return damage(lineOf(Key::Escapes), std::to_string(*escapes_) +
                                                " Wexalen, aber die Ausgänge zählen zusammen " +
                                                std::to_string(sum));
    }
    const std::int64_t succeeded = *totals_[kSucceededRow];
    const std::int64_t failed = *totals_[kFailedRow];
    const int line = totalLines_[kSucceededRow];
    if (succeeded + failed != *escapes_) {
        return damage(line, "gelungen und mißglückt zählen zusammen " + std::to_string(succeeded + failed) +
                                ", nicht " + std::to_string(*escapes_) + " Wexalen");
    }
    // Under one setting the totals follow the barriers; a mixed series classified each exit
    // by the barriers at its last finish.
    std::int64_t unguarded = 0;
    for (std::size_t box = 0; box < nw::kBarrierCount; ++box) {
        if (!results_.setting.barriers[box]) unguarded += *exits_[box];
    }
    if (!results_.mixed && succeeded != unguarded) {
        return damage(line, "gelungen " + std::to_string(succeeded) +
                                ", aber die Ausgänge ohne Lichtschranke zählen zusammen " +
                                std::to_string(unguarded));
    }
    return std::nullopt;
}

}  // namespace

void writeResultsFile(std::ostream& out, const Results& results, const ExactSolution& exact) {
    out << kByteOrderMark;
    Cells headings;
    std::copy(kHeadings.begin(), kHeadings.end(), headings.begin());
    writeRow(out, headings);
    const std::optional<Tally>& tally = results.tally;
    const std::int64_t escapes = tally ? tally->exits.escapes : 0;
    for (std::size_t box = 0; box < nw::kBarrierCount; ++box) {
        std::optional<std::int64_t> count;
        if (tally) count = tally->exits.counts[box];
        Cells row = countedRow(std::to_string(nw::kExitOfBox[box]), count, escapes,
                             exact.exitProbability[box]);
        row[1] = std::to_string(box);
        row[kBarrierColumn] = results.setting.barriers[box] ? kOn : kOff;
        writeRow(out, row);
    }
    std::optional<std::int64_t> succeeded;
    std::optional<std::int64_t> failed;
    std::optional<std::int64_t> steps;
    if (tally) {
        succeeded = tally->succeeded;
        failed = tally->failed;
        steps = tally->steps;
    }
    writeRow(out, countedRow(std::string(kTotalNames[kSucceededRow]), succeeded, escapes, exact.succeeded));
    writeRow(out, countedRow(std::string(kTotalNames[kFailedRow]), failed, escapes, exact.failed));
    writeRow(out, countedRow(std::string(kTotalNames[kStepsRow]), steps, escapes, exact.expectedSteps));

    writeKeyRow(out, Key::Barriers, barriersText(results.setting));
    writeKeyRow(out, Key::TurnBack, turnBackText(results.setting));
    if (tally) writeKeyRow(out, Key::Escapes, std::to_string(escapes));
    if (results.seed) writeKeyRow(out, Key::Seed, std::to_string(*results.seed));
    if (!results.date.empty()) writeKeyRow(out, Key::Date, oneLine(results.date));
    if (!results.name.empty()) writeKeyRow(out, Key::Name, oneLine(results.name));
    for (const std::string& file : results.files) writeKeyRow(out, Key::File, oneLine(file));
    if (results.mixed) writeKeyRow(out, Key::Notice, kMixedNotice);
    writeRow(out, {std::string(kEndRow)});
}

ResultsRead parseResultsFile(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    return Parser(text).read();
}

ResultsRead readResultsFile(const std::filesystem::path& path) {
    const auto failed = [](std::string reason) { return ResultsRead{std::nullopt, damage(0, std::move(reason))}; };
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return failed("ein Ordner, keine Datei");
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    const std::string tooLarge = "größer als 1 MB, keine Wexal-Ergebnisdatei";
    if (!error && size > kMaxResultsFileBytes) return failed(tooLarge);
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return failed(std::filesystem::exists(path, error) ? "lässt sich nicht lesen" : "gibt es nicht");
    }
    // Read in chunks, never past the limit: a device or a pipe tells no size beforehand.
    std::string text;
    std::array<char, kReadChunk> chunk{};
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > kMaxResultsFileBytes) return failed(tooLarge);
    }
    if (in.bad()) return failed("lässt sich nicht lesen");
    return parseResultsFile(text);
}

std::string damageLine(std::string_view fileName, const FileDamage& damage) {
    std::string line = "„" + oneLine(std::string(fileName)) + "“";
    if (damage.line > 0) line += ", Zeile " + std::to_string(damage.line);
    return line + ": " + damage.reason;
}

std::string localDateNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::array<char, kDateBuffer> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M", &local);
    return std::string(text.data(), length);
}

}  // namespace wexal
