// SPDX-License-Identifier: GPL-3.0-or-later
// The results file: what it holds for a spreadsheet, that it reads back to what was written,
// and that every kind of damage is named with its line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "random_results.h"
#include "sim/results_file.h"

namespace wexal::test {
namespace {

using Lines = std::vector<std::string>;

std::string written(const Results& results) {
    std::ostringstream out;
    writeResultsFile(out, results, solveExactly(results.setting));
    return out.str();
}

Lines linesOf(const std::string& text) {
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string joined(const Lines& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + '\n';
    return text;
}

// 60 escapes under the start setting: 10, 0, 7, 9, 6, 8, 12, 8 per box.
Results sample() {
    Results results;
    results.tally = Tally{{60, {10, 0, 7, 9, 6, 8, 12, 8}}, 18, 42, 190};
    results.seed = 7;
    results.date = "2026-05-03 14:22";
    results.name = "Anna";
    return results;
}

TEST(ResultsFile, ASpreadsheetFindsHeadingsNumbersAndText) {
    const Lines lines = linesOf(written(sample()));
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[0], "\xEF\xBB\xBF" "Ausgang;Zählerbox;Lichtschranke;Anzahl;relative Häufigkeit;"
                        "Wahrscheinlichkeit (Bruch);Wahrscheinlichkeit (dezimal)");
    EXPECT_EQ(lines[1], "9;0;an;10;\"0,16666666666666666\";1⁄6;\"0,16666666666666666\"");
    EXPECT_EQ(lines[2], "10;1;aus;0;0;1⁄6;\"0,16666666666666666\"");
    // The decimals are the doubles nearest to 5/36 and 7/72, not truncated ones.
    EXPECT_EQ(lines[6], "6;5;an;8;\"0,13333333333333333\";5⁄36;\"0,1388888888888889\"");
    EXPECT_EQ(lines[9], "gelungen;;;18;\"0,3\";11⁄36;\"0,3055555555555556\"");
    EXPECT_EQ(lines[10], "mißglückt;;;42;\"0,7\";25⁄36;\"0,6944444444444444\"");
    EXPECT_EQ(lines[11], "Schritte je Wexal;;;190;\"3,1666666666666665\";7⁄3;\"2,3333333333333335\"");
    EXPECT_EQ(Lines(lines.begin() + 12, lines.end()),
              (Lines{"Lichtschranken: 10110101;;;;;;", "Hin-und-her möglich: nein;;;;;;",
                     "Wexalen: 60;;;;;;", "Startwert: 7;;;;;;", "Datum: 2026-05-03 14:22;;;;;;",
                     "Name: Anna;;;;;;", "Ende;;;;;;"}));
}

TEST(ResultsFile, BeforeAnyEscapeTheFrequenciesStayEmpty) {
    Results none = sample();
    none.tally = Tally{};
    none.tally->steps = 0;
    const std::string text = written(none);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_EQ(linesOf(text)[1], "9;0;an;0;;1⁄6;\"0,16666666666666666\"");
    EXPECT_EQ(parseResultsFile(text).results, none);

    Results exactOnly = sample();
    exactOnly.tally.reset();
    exactOnly.seed.reset();
    EXPECT_EQ(linesOf(written(exactOnly))[9], "gelungen;;;;;11⁄36;\"0,3055555555555556\"");
    EXPECT_EQ(parseResultsFile(written(exactOnly)).results, exactOnly);
}

TEST(ResultsFile, HundredRandomRunsReadBackIdentical) {
    std::mt19937_64 random(2026);
    for (int run = 0; run < 100; ++run) {
        const Results results = randomResults(random);
        const ResultsRead read = parseResultsFile(written(results));
        ASSERT_TRUE(read.results) << run << ": " << read.damage.line << " " << read.damage.reason;
        EXPECT_EQ(*read.results, results) << run;
    }
}

// As a spreadsheet saves it again: no byte order mark, CR LF, no padding, a blank row.
TEST(ResultsFile, ASpreadsheetsSavedCopyReadsBack) {
    Results results = sample();
    results.files = {"anna.csv", "ben; 2.csv"};
    std::string copy;
    for (std::string line : linesOf(written(results))) {
        if (line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
        while (line.ends_with(';')) line.pop_back();
        copy += line + "\r\n" + (line == "Wexalen: 60" ? ";;;\r\n" : "");
    }
    EXPECT_EQ(parseResultsFile(copy).results, results);
}

struct Damage {
    const char* name;
    std::function<void(Lines&)> change;
    int line;
    const char* reason;  // a part of the German reason
};

void PrintTo(const Damage& damage, std::ostream* os) { *os << damage.name; }

const Damage kDamages[] = {
    {"empty", [](Lines& l) { l.clear(); }, 0, "leer"},
    {"binary", [](Lines& l) { l = {std::string("\x89PNG\r\n\x1a\0\0", 9)}; }, 1, "keine Textdatei"},
    {"latin1", [](Lines& l) { l[10] = "mi\xDF" "gl\xFC" "ckt;;;42"; }, 11, "keine Textdatei"},
    {"oldEnglishHeading", [](Lines& l) { l[0] = "node,index,guarded,count"; }, 1, "keine Wexal-Ergebnisdatei"},
    {"countRaised", [](Lines& l) { l[3] = "11;2;an;8"; }, 15, "60 Wexalen, aber die Ausgänge zählen zusammen 61"},
    {"negativeCount", [](Lines& l) { l[4] = "7;3;an;-9"; }, 5, "Anzahl „-9“ ist negativ"},
    {"wordForACount", [](Lines& l) { l[4] = "7;3;an;neun"; }, 5, "Anzahl „neun“ ist keine ganze Zahl"},
    {"decimalCount", [](Lines& l) { l[4] = "7;3;an;\"9,0\""; }, 5, "ist keine ganze Zahl"},
    {"countBeyond253", [](Lines& l) { l[4] = "7;3;an;99999999999999999999"; }, 5, "zu groß"},
    {"totalsAgainstBarriers", [](Lines& l) { l[9] = "gelungen;;;19"; l[10] = "mißglückt;;;41"; }, 10, "ohne Lichtschranke zählen zusammen 18"},
    {"totalsAgainstEscapes", [](Lines& l) { l[10] = "mißglückt;;;41"; }, 10, "zusammen 59, nicht 60"},
    {"countMissing", [](Lines& l) { l[5] = "13;4;aus;;"; }, 6, "die Anzahl fehlt"},
    {"escapesMissing", [](Lines& l) { l.erase(l.begin() + 14); }, 18, "„Wexalen: …“ fehlt"},
    {"barrierColumnAgainstBits", [](Lines& l) { l[2] = "10;1;an;0"; }, 3, "widerspricht"},
    {"barrierNeitherOnNorOff", [](Lines& l) { l[2] = "10;1;ja;0"; }, 3, "weder „an“ noch „aus“"},
    {"rowsSwapped", [](Lines& l) { std::swap(l[1], l[2]); }, 2, "Ausgang 9 mit Zählerbox 0"},
    {"sevenBarrierBits", [](Lines& l) { l[12] = "Lichtschranken: 1011010"; }, 13, "acht Zeichen"},
    {"turnBackMisspelt", [](Lines& l) { l[13] = "Hin-und-her möglich: Ja"; }, 14, "ja oder nein"},
    {"seedWithSign", [](Lines& l) { l[15] = "Startwert: -7"; }, 16, "ganze Zahl"},
    {"rowTwice", [](Lines& l) { l.insert(l.begin() + 13, l[12]); }, 14, "steht schon in Zeile 13"},
    {"unknownRow", [](Lines& l) { l[17] = "Klasse: 10b"; }, 18, "unbekannte Zeile „Klasse: 10b“"},
    {"quoteNotClosed", [](Lines& l) { l[6] = "6;5;an;8;\"0,13"; }, 7, "Anführungszeichen"},
    {"textAfterTheEnd", [](Lines& l) { l.push_back("noch etwas"); }, 20, "nach der Schlusszeile"},
    {"cutAfterTheTable", [](Lines& l) { l.resize(12); }, 12, "bricht hier ab"},
    {"endRowMissing", [](Lines& l) { l.pop_back(); }, 18, "bricht hier ab"},
};

class DamagedFile : public testing::TestWithParam<Damage> {};

TEST_P(DamagedFile, IsNamedWithItsLine) {
    Lines lines = linesOf(written(sample()));
    GetParam().change(lines);
    const ResultsRead read = parseResultsFile(joined(lines));
    ASSERT_FALSE(read.results);
    EXPECT_EQ(read.damage.line, GetParam().line) << read.damage.reason;
    EXPECT_NE(read.damage.reason.find(GetParam().reason), std::string::npos) << read.damage.reason;
}

INSTANTIATE_TEST_SUITE_P(ResultsFile, DamagedFile, testing::ValuesIn(kDamages),
                         [](const auto& row) { return std::string(row.param.name); });

// A file cut anywhere before its end row is whole, even inside a line or a character, never
// reads as a whole one.
TEST(ResultsFile, EveryCutIsNoticed) {
    const std::string text = written(sample());
    for (std::size_t length = 0; length < text.rfind("Ende;") + 4; ++length) {
        const ResultsRead read = parseResultsFile(text.substr(0, length));
        EXPECT_FALSE(read.results) << length;
    }
}

TEST(ResultsFile, ReadingAFileRefusesTheTooLargeAndTheMissing) {
    const std::filesystem::path folder = testing::TempDir();
    const std::filesystem::path large = folder / "gross.csv";
    {
        std::ofstream out(large, std::ios::binary);
        out << written(sample());
        out << std::string(2 << 20, ' ');
    }
    EXPECT_EQ(readResultsFile(large).damage, (FileDamage{0, "größer als 1 MB, keine Wexal-Ergebnisdatei"}));
    EXPECT_EQ(readResultsFile(folder / "fehlt.csv").damage.reason, "gibt es nicht");
    EXPECT_EQ(readResultsFile(folder).damage.reason, "ein Ordner, keine Datei");
    std::filesystem::resize_file(large, written(sample()).size());
    EXPECT_EQ(readResultsFile(large).results, sample());
    std::filesystem::remove(large);
    EXPECT_EQ(damageLine("klasse/ben.csv", {4, "Anzahl „-9“ ist negativ"}),
              "„klasse/ben.csv“, Zeile 4: Anzahl „-9“ ist negativ");
}

}  // namespace
}  // namespace wexal::test
