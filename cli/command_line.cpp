// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QUtf8StringView>

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

std::optional<std::string> readMatrix(const QString& /*text*/, RunOptions& options) {
    options.matrix = true;
    return std::nullopt;
}

std::optional<std::string> readMerge(const QString& /*text*/, RunOptions& options) {
    options.mode = Mode::Merge;
    return std::nullopt;
}

std::optional<std::string> readTest(const QString& text, RunOptions& options) {
    options.test = testTargetNamed(text.toStdString());
    if (!options.test) {
        return "--test erwartet einen Ausgang (6 bis 13), gefasst oder gelungen, nicht " + quoted(text);
    }
    return std::nullopt;
}

std::optional<std::string> readAlpha(const QString& text, RunOptions& options) {
    const std::optional<mpq_class> alpha = probabilityFromText(text.toStdString());
    if (!alpha || *alpha < mpq_class(1, kSmallestAlphaDenominator) || *alpha >= 1) {
        return "--alpha erwartet ein Signifikanzniveau über 0 und unter 1 wie 0,05, 5 % oder 1/20, nicht " +
               quoted(text);
    }
    options.alpha = *alpha;
    return std::nullopt;
}

std::optional<std::string> readSided(const QString& text, RunOptions& options) {
    using Named = std::pair<const char16_t*, Sided>;
    constexpr std::array kSides{Named{u"beide", Sided::Both}, Named{u"links", Sided::Left},
                                Named{u"rechts", Sided::Right}};
    for (const auto& [name, sided] : kSides) {
        if (text == QStringView(name)) {
            options.sided = sided;
            return std::nullopt;
        }
    }
    return "--sided erwartet beide, links oder rechts, nicht " + quoted(text);
}

std::optional<std::string> readScenario(const QString& text, RunOptions& options) {
    ScenarioReading reading = readScenarioFile(QFile::encodeName(text).toStdString());
    if (!reading.scenario) return reading.error;
    options.setting.weights = reading.scenario->weights;
    options.scenario = std::move(reading.scenario);
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

// The options, one row each, in the order the help lists them. A row names the modes it goes
// with: beside any other mode it would be dropped without a word, so it is refused. An option
// that chooses a mode (--exact, --rank) names that mode. Every option is read at most once.
std::vector<OptionRow> optionRows() {
    const QString startBarriers = QString::fromStdString(barriersText(kStartSetting));
    const QString startTurnBack = QString::fromUtf8(turnBackText(kStartSetting));
    const Modes anyMode = Modes::all();
    return {
        {"escapes", "N",
         QStringLiteral("Anzahl der Wexalen (1 bis 10^12, Vorgabe %1).").arg(kDefaultEscapes),
         readEscapes, {Mode::Simulate, Mode::Matrix, Mode::After, Mode::Test}},
        {"barriers", "BITS",
         QStringLiteral("Lichtschranken 0 bis 7 als acht Zeichen 0/1 (Vorgabe %1, wie beim Start "
                        "des Fensters).")
             .arg(startBarriers),
         readBarriers, {Mode::Simulate, Mode::Exact, Mode::Matrix, Mode::After, Mode::Test}},
        {"turn-back", "ja|nein",
         QStringLiteral("Hin-und-her möglich: ja oder nein (Vorgabe %1).").arg(startTurnBack),
         readTurnBack, {Mode::Simulate, Mode::Exact, Mode::Rank, Mode::Matrix, Mode::After, Mode::Test}},
        {"seed", "S", QStringLiteral("Startwert für wiederholbare Läufe (sonst die Uhr)."),
         readSeed, {Mode::Simulate, Mode::Matrix, Mode::After, Mode::Test}},
        {"scenario", "DATEI",
         QStringLiteral("Ein Szenario (JSON) gewichtet die Straßen von Kreuzungen; Simulation und "
                        "exakte Lösung folgen den Gewichten, --test prüft gegen das Netz ohne "
                        "Manipulation."),
         readScenario, {Mode::Simulate, Mode::Exact, Mode::Rank, Mode::Matrix, Mode::After, Mode::Test}},
        {"exact", nullptr, QStringLiteral("Nur die exakte Lösung, keine Simulation."), nullptr,
         {Mode::Exact}, Mode::Exact},
        {"format", "FORMAT", QStringLiteral("Ausgabe: text, csv oder json (Vorgabe text)."),
         readFormat, anyMode},
        {"threads", "N",
         QStringLiteral("Anzahl der Threads (Vorgabe: alle Kerne, hier %1); das Ergebnis hängt "
                        "nicht davon ab.")
             .arg(allCores()),
         readThreads, {Mode::Simulate, Mode::Matrix, Mode::After, Mode::Test}},
        {"plot", "DATEI",
         QStringLiteral("Zeichnet die Diagramme der Auswertung in eine Datei (.svg oder .png)."),
         readPlot, {Mode::Simulate}},
        {"rank", "K",
         QStringLiteral(
             "Statt einer Simulation alle Einstellungen mit genau K Lichtschranken an (0 bis 8), "
             "geordnet nach der exakten Wahrscheinlichkeit, dass der Räuber gefasst wird; bei "
             "gleicher Wahrscheinlichkeit die niedrigsten Nummern zuerst (0, 1 vor 0, 2 vor 1, "
             "2)."),
         readRank, {Mode::Rank}, Mode::Rank},
        {"matrix", nullptr,
         QStringLiteral("Statt einer Simulation die Übergangsmatrix der Einstellung mit den "
                        "Blöcken Q und R, als exakte Brüche; mit --escapes dazu die gezählten "
                        "Schritte so vieler Wexalen."),
         readMatrix, {Mode::Matrix}, Mode::Matrix},
        {"after", "N",
         QStringLiteral("Statt einer Simulation die exakte Verteilung nach N Schritten (0 bis %1): "
                        "jeder Knoten mit Wahrscheinlichkeit über 0; mit --escapes dazu, wie "
                        "viele Wexalen dann dort stehen.")
             .arg(kMaxAfterSteps),
         readAfter, {Mode::After}, Mode::After},
        {"merge", nullptr,
         QStringLiteral("Statt einer Simulation die Ergebnisdateien DATEI … (CSV des Fensters oder "
                        "von --format csv) zu einem Klassenergebnis zusammenfassen; alle unter "
                        "derselben Einstellung."),
         readMerge, {Mode::Merge}, Mode::Merge},
        {"test", "ZIEL",
         QStringLiteral("Statt der Tabelle ein Binomialtest mit den Wexalen als Stichprobe: wie oft "
                        "sie an einem Ausgang (6 bis 13) enden, gefasst werden oder gelingen, gegen "
                        "H0: p = p₀, die exakte Wahrscheinlichkeit ohne Manipulation. Höchstens %1 "
                        "Wexalen.")
             .arg(BinomialDistribution::kMaxTrials),
         readTest, {Mode::Test}, Mode::Test},
        {"alpha", "A", QStringLiteral("Signifikanzniveau des Tests, etwa 0,05, 5 % oder 1/20 (Vorgabe 5 %)."),
         readAlpha, {Mode::Test}},
        {"sided", "beide|links|rechts",
         QStringLiteral("Zweiseitiger, linksseitiger oder rechtsseitiger Test (Vorgabe beide)."),
         readSided, {Mode::Test}},
    };
}

// Whether a mode simulates: always, never, or only when --escapes asks for a count.
enum class Simulation { Always, Never, WithEscapes };

// What each mode does, in the words that refuse an option it would drop. The mode without an
// option of its own is the default.
struct ModeRow {
    Mode mode;
    const char* option;  // the option that chooses it; nullptr for the default
    const char* does;    // "--rank <does>, --seed passt nicht dazu"
    Simulation simulation;
};

constexpr std::array kModes{
    ModeRow{Mode::Simulate, nullptr, "simuliert", Simulation::Always},
    ModeRow{Mode::Exact, "exact", "rechnet nur die exakte Lösung und simuliert nicht",
            Simulation::Never},
    ModeRow{Mode::Rank, "rank", "wählt die Lichtschranken selbst und simuliert nicht",
            Simulation::Never},
    ModeRow{Mode::Matrix, "matrix", "zeigt die Übergangsmatrix und simuliert keine Wexalen",
            Simulation::WithEscapes},
    ModeRow{Mode::After, "after",
            "zeigt die Verteilung nach N Schritten und simuliert keine Wexalen",
            Simulation::WithEscapes},
    ModeRow{Mode::Merge, "merge", "liest Einstellung und Anzahlen aus den Dateien",
            Simulation::Never},
    ModeRow{Mode::Test, "test", "prüft eine Hypothese", Simulation::Always},
};

// Options that a mode takes only beside another one: a swarm's seed and threads only with the
// swarm's --escapes.
struct Requirement {
    Mode mode;
    const char* option;
    const char* needs;
};

constexpr std::array kRequirements{
    Requirement{Mode::Matrix, "seed", "escapes"},   Requirement{Mode::Matrix, "threads", "escapes"},
    Requirement{Mode::After, "seed", "escapes"},    Requirement{Mode::After, "threads", "escapes"},
};

const ModeRow& modeRow(Mode mode) {
    return *std::find_if(kModes.begin(), kModes.end(),
                         [mode](const ModeRow& row) { return row.mode == mode; });
}

std::string dashed(const char* name) { return std::string("--") + name; }

// The help of an option that chooses a mode ends with the options that mode takes besides it.
QString withModeOptions(const OptionRow& row, const std::vector<OptionRow>& rows) {
    QStringList others;
    for (const OptionRow& other : rows) {
        if (&other != &row && other.modes.has(*row.selects))
            others << QString::fromStdString(dashed(other.name));
    }
    if (others.isEmpty()) return row.help + QStringLiteral(" Ohne weitere Optionen.");
    const QString last = others.takeLast();
    return row.help + QStringLiteral(" Daneben nur ") +
           (others.isEmpty() ? last
                             : others.join(QStringLiteral(", ")) + QStringLiteral(" und ") + last) +
           QLatin1Char('.');
}

// The line that refuses an option beside a mode that would drop it.
std::string notWith(const OptionRow& option, Mode mode) {
    const ModeRow& row = modeRow(mode);
    if (row.option != nullptr) {
        return dashed(row.option) + " " + row.does + ", " + dashed(option.name) +
               " passt nicht dazu";
    }
    std::string modes;  // the options whose modes take it
    for (const ModeRow& other : kModes) {
        if (other.option == nullptr || !option.modes.has(other.mode)) continue;
        modes += (modes.empty() ? "" : " oder ") + dashed(other.option);
    }
    return dashed(option.name) + " gilt nur mit " + modes;
}

// The values an option was given, for the line that refuses a repetition.
std::string givenValues(const QCommandLineParser& parser, const QCommandLineOption& option) {
    std::string values;
    for (const QString& value : parser.values(option))
        values += (values.empty() ? "" : ", ") + quoted(value);
    return values;
}

// The line that refuses an option which its mode takes only beside another one that is missing.
template <typename Given>
std::optional<std::string> unmetRequirement(const OptionRow& option, Mode mode, const Given& given) {
    for (const Requirement& r : kRequirements) {
        if (r.mode == mode && std::string_view(r.option) == option.name && !given(r.needs)) {
            return dashed(r.option) + " gilt bei " + dashed(modeRow(mode).option) + " nur mit " +
                   dashed(r.needs);
        }
    }
    return std::nullopt;
}

// Reads the options the parser found into a run, after the checks that nothing given is
// dropped: no option twice, at most one mode, and no option that its mode would not use.
std::optional<std::string> readOptions(const QCommandLineParser& parser,
                                       const std::vector<OptionRow>& rows,
                                       const std::vector<QCommandLineOption>& options,
                                       RunOptions& run) {
    const QStringList found = parser.optionNames();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (found.count(QString::fromUtf8(rows[i].name)) < 2) continue;
        const std::string values =
            rows[i].valueName != nullptr ? " (" + givenValues(parser, options[i]) + ")" : "";
        return dashed(rows[i].name) + " ist mehrmals angegeben" + values +
               "; jede Option gilt nur einmal";
    }
    run.threads = allCores();
    const OptionRow* chooser = nullptr;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].selects || !parser.isSet(options[i])) continue;
        if (chooser != nullptr)
            return dashed(chooser->name) + " und " + dashed(rows[i].name) +
                   " schließen einander aus";
        chooser = &rows[i];
        run.mode = *rows[i].selects;
    }
    const auto given = [&parser](const char* name) { return parser.isSet(QString::fromUtf8(name)); };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!parser.isSet(options[i])) continue;
        if (!rows[i].modes.has(run.mode)) return notWith(rows[i], run.mode);
        if (auto error = unmetRequirement(rows[i], run.mode, given)) return error;
        if (rows[i].read == nullptr) continue;
        if (auto error = rows[i].read(parser.value(options[i]), run)) return error;
    }
    const Simulation simulation = modeRow(run.mode).simulation;
    run.exactOnly = simulation == Simulation::Never ||
                    (simulation == Simulation::WithEscapes && !given("escapes"));
    return std::nullopt;
}

}  // namespace

Modes::Modes(std::initializer_list<Mode> modes) {
    for (const Mode mode : modes) bits_ |= 1U << static_cast<unsigned>(mode);
}

std::optional<std::string> checkEncoding(std::span<const char* const> arguments) {
    for (const char* argument : arguments) {
        const std::string_view bytes(argument);
        const QByteArray raw(bytes.data(), static_cast<qsizetype>(bytes.size()));
        if (QUtf8StringView(raw).isValidUtf8()) continue;
        // ASCII as it is, every other byte as \xFF.
        constexpr unsigned kFirstNonAscii = 0x80;
        constexpr unsigned kNibble = 4;
        constexpr unsigned kLowNibble = 0xF;
        constexpr std::string_view kHex = "0123456789ABCDEF";
        std::string shown;
        for (const unsigned char c : bytes) {
            if (c < kFirstNonAscii) {
                shown += static_cast<char>(c);
            } else {
                shown += std::string("\\x") + kHex[c >> kNibble] + kHex[c & kLowNibble];
            }
        }
        return oneLine("das Argument „" + shown +
                       "“ ist kein gültiges UTF-8; Dateinamen und Werte bitte in UTF-8");
    }
    return std::nullopt;
}

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Viele Wexalen auf einmal mit dem Kern des Fensters, neben den exakten "
        "Wahrscheinlichkeiten.");
    const QCommandLineOption help({"h", "help"}, "Zeigt diese Hilfe.");
    const QCommandLineOption version({"v", "version"}, "Zeigt die Version.");
    parser.addOptions({help, version});
    const std::vector<OptionRow> rows = optionRows();
    std::vector<QCommandLineOption> options;
    options.reserve(rows.size());
    for (const OptionRow& row : rows) {
        options.emplace_back(QString::fromUtf8(row.name),
                             row.selects ? withModeOptions(row, rows) : row.help);
        if (row.valueName != nullptr)
            options.back().setValueName(QString::fromUtf8(row.valueName));
        parser.addOption(options.back());
    }
    parser.addPositionalArgument(QStringLiteral("DATEI"), QStringLiteral("Ergebnisdateien für --merge."),
                                 QStringLiteral("[DATEI …]"));

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
    if (auto error = readOptions(parser, rows, options, result.options)) return reject(*error);
    if (result.options.mode == Mode::Test && result.options.escapes > BinomialDistribution::kMaxTrials) {
        return reject("--test: höchstens " + std::to_string(BinomialDistribution::kMaxTrials) +
                      " Wexalen, nicht " + std::to_string(result.options.escapes));
    }
    // Only --merge takes arguments besides its options: the files it pools.
    const QStringList files = parser.positionalArguments();
    if (result.options.mode != Mode::Merge) {
        if (!files.isEmpty()) return reject("unerwartetes Argument " + quoted(files.first()));
    } else if (files.isEmpty()) {
        return reject("--merge erwartet mindestens eine Ergebnisdatei");
    }
    for (const QString& file : files) result.options.mergeFiles.push_back(QFile::encodeName(file).toStdString());
    return result;
}

}  // namespace wexal::cli
