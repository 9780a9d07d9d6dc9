// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"

#include <algorithm>
#include <array>
#include <thread>
#include <utility>

#include <QCommandLineParser>
#include <QFileInfo>

#include "cli/batch_run.h"

namespace wexal::cli {
namespace {

bool allDigits(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

std::string quoted(const QString& text) {
    return "„" + text.toStdString() + "“";
}

// What ends a line on a terminal or in an editor: LF, VT, FF, CR, NEL, LS and PS.
bool breaksLine(QChar c) {
    return (c >= u'\n' && c <= u'\r') || c == u'\u0085' || c == u'\u2028' || c == u'\u2029';
}

// The text with each line break a blank; it comes from QStrings, so it is whole UTF-8.
std::string oneLine(const std::string& text) {
    QString line = QString::fromStdString(text);
    std::replace_if(line.begin(), line.end(), breaksLine, u' ');
    return line.toStdString();
}

// Each reader fills its part of the options or returns the line that rejects the value.
std::optional<std::string> readEscapes(const QString& text, RunOptions& options) {
    bool fits = false;  // false when the digits overflow 64 bits
    const qulonglong value = allDigits(text) ? text.toULongLong(&fits) : 0;
    if (!allDigits(text) || (fits && value == 0)) {
        return "--escapes erwartet eine positive ganze Zahl, nicht " + quoted(text);
    }
    if (!fits || value > static_cast<qulonglong>(kMaxEscapes)) {
        return "--escapes: höchstens " + std::to_string(kMaxEscapes) +
               " Wexalen in einem Lauf, nicht " + quoted(text);
    }
    options.escapes = static_cast<std::int64_t>(value);
    return std::nullopt;
}

std::optional<std::string> readBarriers(const QString& text, RunOptions& options) {
    const bool valid =
        text.size() == network::kBarrierCount &&
        std::all_of(text.begin(), text.end(), [](QChar c) { return c == u'0' || c == u'1'; });
    if (!valid) {
        return "--barriers erwartet acht Zeichen 0 oder 1 (Lichtschranken 0 bis 7), nicht " +
               quoted(text);
    }
    for (int i = 0; i < network::kBarrierCount; ++i) options.setting.barriers[i] = text[i] == u'1';
    return std::nullopt;
}

std::optional<std::string> readTurnBack(const QString& text, RunOptions& options) {
    if (text != u"ja" && text != u"nein") {
        return "--turn-back erwartet ja oder nein, nicht " + quoted(text);
    }
    options.setting.turnBack = text == u"ja";
    return std::nullopt;
}

std::optional<std::string> readSeed(const QString& text, RunOptions& options) {
    bool fits = false;
    const qulonglong value = allDigits(text) ? text.toULongLong(&fits) : 0;
    if (!fits) {
        return "--seed erwartet eine ganze Zahl von 0 bis 18446744073709551615, nicht " +
               quoted(text);
    }
    options.seed = value;
    return std::nullopt;
}

std::optional<std::string> readThreads(const QString& text, RunOptions& options) {
    bool fits = false;
    const qulonglong value = allDigits(text) ? text.toULongLong(&fits) : 0;
    if (!fits || value < 1 || value > static_cast<qulonglong>(kMaxThreads)) {
        return "--threads erwartet eine ganze Zahl von 1 bis " + std::to_string(kMaxThreads) +
               ", nicht " + quoted(text);
    }
    options.threads = static_cast<int>(value);
    return std::nullopt;
}

// Every core the machine reports; one when it reports none.
int allCores() {
    return std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxThreads);
}

std::optional<std::string> readFormat(const QString& text, RunOptions& options) {
    using Named = std::pair<const char16_t*, OutputFormat>;
    constexpr std::array kFormats{Named{u"text", OutputFormat::Text},
                                  Named{u"csv", OutputFormat::Csv},
                                  Named{u"json", OutputFormat::Json}};
    for (const auto& [name, format] : kFormats) {
        if (text == QStringView(name)) {
            options.format = format;
            return std::nullopt;
        }
    }
    return "--format erwartet text, csv oder json, nicht " + quoted(text);
}

std::optional<std::string> readRank(const QString& text, RunOptions& options) {
    bool fits = false;
    const uint value = allDigits(text) ? text.toUInt(&fits) : 0;
    if (!fits || value > static_cast<uint>(network::kBarrierCount)) {
        return "--rank erwartet eine ganze Zahl von 0 bis 8 (Lichtschranken an), nicht " +
               quoted(text);
    }
    options.rank = static_cast<int>(value);
    return std::nullopt;
}

std::optional<std::string> readAfter(const QString& text, RunOptions& options) {
    bool fits = false;
    const uint value = allDigits(text) ? text.toUInt(&fits) : 0;
    if (!fits || value > static_cast<uint>(kMaxAfterSteps)) {
        return "--after erwartet eine ganze Zahl von 0 bis " + std::to_string(kMaxAfterSteps) +
               " (Schritte), nicht " + quoted(text);
    }
    options.after = static_cast<int>(value);
    return std::nullopt;
}

std::optional<std::string> readPlot(const QString& text, RunOptions& options) {
    const QString suffix = QFileInfo(text).suffix().toLower();
    if (suffix != u"svg" && suffix != u"png") {
        return "--plot erwartet eine Datei mit der Endung .svg oder .png, nicht " + quoted(text);
    }
    options.plotFile = text.toStdString();
    return std::nullopt;
}

// The options that --matrix and --after N read, and those they would drop.
struct ChainOptions {
    const QCommandLineOption& matrix;
    const QCommandLineOption& after;
    const QCommandLineOption& rank;
    const QCommandLineOption& plot;
    const QCommandLineOption& exact;
    const QCommandLineOption& escapes;
    const QCommandLineOption& seed;
};

std::optional<std::string> readChainMode(const QCommandLineParser& parser, const ChainOptions& o,
                                         RunOptions& options) {
    options.matrix = parser.isSet(o.matrix);
    if (parser.isSet(o.after)) {
        if (auto error = readAfter(parser.value(o.after), options)) return error;
    }
    if (!options.matrix && !options.after) return std::nullopt;
    const std::string mode = options.matrix ? "--matrix" : "--after";
    // The chain simulates only a swarm, and only when asked: these would be dropped.
    if (options.matrix && options.after) return "--matrix und --after passen nicht zusammen";
    for (const QCommandLineOption* dropped : {&o.rank, &o.plot}) {
        if (parser.isSet(*dropped)) {
            return mode + " passt nicht zu --" + dropped->names().constFirst().toStdString();
        }
    }
    if (parser.isSet(o.exact) && parser.isSet(o.escapes)) {
        return mode + " mit --escapes simuliert einen Schwarm und passt nicht zu --exact";
    }
    if (parser.isSet(o.seed) && !parser.isSet(o.escapes)) {
        return mode + ": --seed gilt dem Schwarm, der nur mit --escapes läuft";
    }
    options.exactOnly = !parser.isSet(o.escapes);
    return std::nullopt;
}

}  // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Viele Wexalen auf einmal mit dem Kern des Fensters, neben den exakten "
        "Wahrscheinlichkeiten.");
    const QCommandLineOption help({"h", "help"}, "Zeigt diese Hilfe.");
    const QCommandLineOption version({"v", "version"}, "Zeigt die Version.");
    const QString startBarriers = QString::fromStdString(barriersText(kStartSetting));
    const QString startTurnBack = QString::fromUtf8(turnBackText(kStartSetting));
    const QString defaultEscapes = QString::number(kDefaultEscapes);
    const QCommandLineOption escapes(
        "escapes", QStringLiteral("Anzahl der Wexalen (1 bis 10^12, Vorgabe %1).").arg(defaultEscapes),
        "N", defaultEscapes);
    const QCommandLineOption barriers(
        "barriers",
        QStringLiteral("Lichtschranken 0 bis 7 als acht Zeichen 0/1 (Vorgabe %1, wie beim Start "
                       "des Fensters).")
            .arg(startBarriers),
        "BITS", startBarriers);
    const QCommandLineOption turnBack(
        "turn-back", QStringLiteral("Hin-und-her möglich: ja oder nein (Vorgabe %1).").arg(startTurnBack),
        "ja|nein", startTurnBack);
    const QString cores = QString::number(allCores());
    const QCommandLineOption threads(
        "threads",
        QStringLiteral("Anzahl der Threads (Vorgabe: alle Kerne, hier %1); das Ergebnis hängt "
                       "nicht davon ab.")
            .arg(cores),
        "N", cores);
    const QCommandLineOption seed("seed", "Startwert für wiederholbare Läufe (sonst die Uhr).",
                                  "S");
    const QCommandLineOption exact("exact", "Nur die exakte Lösung, keine Simulation.");
    const QCommandLineOption format("format", "Ausgabe: text, csv oder json (Vorgabe text).",
                                    "FORMAT", "text");
    const QCommandLineOption rank(
        "rank",
        "Statt einer Simulation alle Einstellungen mit genau K Lichtschranken an (0 bis 8), "
        "geordnet nach der exakten Wahrscheinlichkeit, dass der Räuber gefasst wird; bei "
        "gleicher Wahrscheinlichkeit die niedrigsten Nummern zuerst (0, 1 vor 0, 2 vor 1, 2). "
        "Nicht mit --barriers, --escapes oder --seed.",
        "K");
    const QCommandLineOption plot(
        "plot", "Zeichnet die Diagramme der Auswertung in eine Datei (.svg oder .png).", "DATEI");
    const QCommandLineOption matrix(
        "matrix",
        "Statt einer Simulation die Übergangsmatrix der Einstellung mit den Blöcken Q und R, als "
        "exakte Brüche; mit --escapes dazu die gezählten Schritte so vieler Wexalen.");
    const QCommandLineOption after(
        "after",
        QStringLiteral("Statt einer Simulation die exakte Verteilung nach N Schritten (0 bis %1): "
                       "jeder Knoten mit Wahrscheinlichkeit über 0; mit --escapes dazu, wie "
                       "viele Wexalen dann dort stehen.")
            .arg(kMaxAfterSteps),
        "N");
    parser.addOptions({help, version, escapes, barriers, turnBack, seed, exact, format, threads, plot});
    parser.addOptions({rank, matrix, after});

    CommandLine result;
    auto reject = [&result](const std::string& line) {
        // One line, whatever line breaks the offending argument carried.
        result.action = CommandLine::Action::Reject;
        result.message = oneLine(line);
        return result;
    };
    if (!parser.parse(arguments)) return reject(parser.errorText().toStdString());
    if (parser.isSet(help)) {
        result.action = CommandLine::Action::ShowHelp;
        result.message = parser.helpText().toStdString();
        return result;
    }
    if (parser.isSet(version)) {
        result.action = CommandLine::Action::ShowVersion;
        // As GNU tools do: the version, then the copyright and the licence, each in one line.
        result.message = std::string("wexal-sim ") + WEXAL_VERSION +
                         "\nCopyright © 2026 Wexal-Entwicklung\n"
                         "Lizenz GPLv3+: GNU GPL Version 3 oder neuer "
                         "<https://gnu.org/licenses/gpl.html> (GPL-3.0-or-later)\n"
                         "Dies ist freie Software: Sie dürfen sie ändern und weitergeben. "
                         "Es gibt KEINE GARANTIE, soweit gesetzlich zulässig.\n";
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return reject("unerwartetes Argument " + quoted(parser.positionalArguments().first()));
    }

    RunOptions& options = result.options;
    options.exactOnly = parser.isSet(exact);
    using Reader = std::optional<std::string> (*)(const QString&, RunOptions&);
    using OptionReader = std::pair<const QCommandLineOption*, Reader>;
    const std::array readers{
        OptionReader{&escapes, readEscapes}, OptionReader{&barriers, readBarriers},
        OptionReader{&turnBack, readTurnBack}, OptionReader{&format, readFormat},
        OptionReader{&threads, readThreads}};
    for (const auto& [option, read] : readers) {
        if (auto error = read(parser.value(*option), options)) return reject(*error);
    }
    if (parser.isSet(seed)) {
        if (auto error = readSeed(parser.value(seed), options)) return reject(*error);
    }
    if (parser.isSet(rank)) {
        if (auto error = readRank(parser.value(rank), options)) return reject(*error);
        // The ranking sets the barriers itself and simulates nothing: these would be dropped
        // without a word, so they are refused.
        for (const QCommandLineOption* dropped : {&barriers, &escapes, &seed, &plot}) {
            if (parser.isSet(*dropped)) {
                return reject("--rank wählt die Lichtschranken selbst und simuliert nicht, --" +
                              dropped->names().constFirst().toStdString() +
                              " passt nicht dazu");
            }
        }
    }
    if (auto error = readChainMode(parser, {matrix, after, rank, plot, exact, escapes, seed}, options)) {
        return reject(*error);
    }
    if (parser.isSet(plot)) {
        if (options.exactOnly) return reject("--plot zeichnet eine Simulation und passt nicht zu --exact");
        if (auto error = readPlot(parser.value(plot), options)) return reject(*error);
    }
    return result;
}

}  // namespace wexal::cli
