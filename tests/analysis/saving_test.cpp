// SPDX-License-Identifier: GPL-3.0-or-later
// "Ergebnisse speichern": every format opens as what it claims to be, the results file reads
// back to the window's counts, and a save that fails says so and leaves no file behind.
#include <unistd.h>

#include <random>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "analysis/auswertung.h"
#include "fault_targets.h"
#include "analysis/export.h"
#include "analysis/result_table_model.h"
#include "platform/headless_runtime.h"
#include "sim/escape.h"
#include "sim/results_file.h"

using namespace wexal;
using analysis::Auswertung;

namespace {

constexpr int kEscapes = 500;

// An escape with 500 counted escapes and the Auswertung on it, without a main window.
struct SavedRun {
    SavedRun() : runtime(std::make_unique<SeededRandom>(1)), escape(random), auswertung(escape, runtime) {
        for (int n = 0; n < kEscapes; ++n) {
            escape.wholeEscape();
            escape.restart();
        }
    }
    SeededRandom random{11};
    HeadlessRuntime runtime;
    Escape escape;
    Auswertung auswertung;
};

QByteArray contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

class Saving : public QObject {
    Q_OBJECT

private slots:
    void everyFormatOpens_data();
    void everyFormatOpens();
    void resultsFilesOfRandomRunsReadBack();
    void aFaultLeavesEverythingAsItWas_data();
    void aFaultLeavesEverythingAsItWas();
    void aFailedSaveReportsAndLeavesNoFile_data();
    void aFailedSaveReportsAndLeavesNoFile();
    void aWriteThatBreaksOffKeepsTheOldFile();
    void onlyTheFourFormats_data();
    void onlyTheFourFormats();
};

void Saving::everyFormatOpens_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("magic");
    QTest::addColumn<int>("minimumSize");
    QTest::addRow("csv") << "ergebnis.csv" << QByteArray("\xEF\xBB\xBF" "Ausgang;") << 300;
    QTest::addRow("png") << "diagramme.png" << QByteArray("\x89PNG\r\n\x1a\n", 8) << 10000;
    QTest::addRow("svg") << "diagramme.svg" << QByteArray("<?xml") << 10000;
    QTest::addRow("pdf") << "arbeitsblatt.pdf" << QByteArray("%PDF-") << 10000;
    QTest::addRow("upper-case extension") << "DIAGRAMME.PNG" << QByteArray("\x89PNG", 4) << 10000;
}

void Saving::everyFormatOpens() {
    QFETCH(QString, name);
    QFETCH(QByteArray, magic);
    QFETCH(int, minimumSize);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    SavedRun run;
    const QString path = folder.filePath(name);
    QVERIFY(run.auswertung.saveTo(path));
    QVERIFY(run.runtime.messages().empty());
    const QByteArray bytes = contents(path);
    QVERIFY2(bytes.startsWith(magic), bytes.left(16).toHex().constData());
    QVERIFY2(bytes.size() >= minimumSize, QByteArray::number(bytes.size()).constData());
    QCOMPARE(entries(folder.path()), QStringList{name});  // no temporary file left
}

// Random settings, seeds and lengths, now and then a barrier switched half-way: the file
// holds what the window counted, under the setting it shows.
void Saving::resultsFilesOfRandomRunsReadBack() {
    QTemporaryDir folder;
    std::mt19937_64 draw(19);
    for (int run = 0; run < 100; ++run) {
        SeededRandom random(draw());
        Setting setting;
        for (bool& on : setting.barriers) on = draw() % 2 == 1;
        setting.turnBack = draw() % 2 == 1;
        Escape escape(random, setting);
        HeadlessRuntime runtime(std::make_unique<SeededRandom>(1));
        Auswertung auswertung(escape, runtime);
        const auto escapes = static_cast<int>(draw() % 300);
        for (int n = 0; n < escapes; ++n) {
            if (n == escapes / 2 && run % 10 == 0) escape.setBarrier(static_cast<int>(draw() % 8), draw() % 2 == 1);
            escape.wholeEscape();
            escape.restart();
        }
        const QString name = run % 3 == 0 ? QStringLiteral(" Gruppe %1; „Füchse“ ").arg(run) : QString();
        auswertung.findChild<QLineEdit*>(QStringLiteral("Name"))->setText(name);
        const QString path = folder.filePath(QStringLiteral("lauf %1.csv").arg(run));
        QVERIFY(auswertung.saveTo(path));
        const ResultsRead read = readResultsFile(QFile::encodeName(path).toStdString());
        QVERIFY2(read.results, read.damage.reason.c_str());
        const Results& results = *read.results;
        QCOMPARE(results.setting, escape.setting());
        QCOMPARE(results.mixed, escape.countsMixSettings());
        QCOMPARE(QString::fromStdString(results.name), name.trimmed());
        QVERIFY(results.tally && !results.seed);
        QCOMPARE(results.tally->exits, auswertung.table().counted());
        QCOMPARE(results.tally->succeeded, escape.statistics().succeeded);
        QCOMPARE(results.tally->failed, escape.statistics().failed);
        QCOMPARE(results.tally->steps, std::optional<std::int64_t>(escape.countedSteps()));
    }
}

// Every format on every fault: the German reason in one message, and the folder exactly as it
// was, the good file byte for byte, the FIFO or device node still what it was, nothing beside.
void Saving::aFaultLeavesEverythingAsItWas_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("reason");
    for (const char* name : {"ergebnis.csv", "diagramme.png", "diagramme.svg", "arbeitsblatt.pdf"}) {
        for (const test::FaultCase& row : test::kFaultCases) {
            QTest::addRow("%s, %s", name, row.name)
                << QString::fromUtf8(name) << static_cast<int>(row.fault) << QString::fromUtf8(row.reason);
        }
    }
}

void Saving::aFaultLeavesEverythingAsItWas() {
    QFETCH(QString, name);
    QFETCH(int, fault);
    QFETCH(QString, reason);
    constexpr rlim_t kSizeLimit = 256;  // bytes: below every format's size
    test::ScratchFolder folder;
    QVERIFY(folder.valid());
    const auto kind = static_cast<test::Fault>(fault);
    const std::string path = folder.prepare(kind, name.toStdString(), "die alte, gute Datei\n");
    if (path.empty()) QSKIP("needs root, mknod and a tmpfs");
    const auto before = folder.entries();
    SavedRun run;
    bool saved = true;
    {
        const test::FileSizeLimit limit(kind == test::Fault::FileSizeLimit ? std::optional(kSizeLimit)
                                                                           : std::nullopt);
        saved = run.auswertung.saveTo(QString::fromStdString(path));
    }
    QVERIFY(!saved);
    QCOMPARE(run.runtime.messages(),
             std::vector<std::string>{"Die Datei „" + path + "“ konnte nicht gespeichert werden: " +
                                      reason.toStdString()});
    QVERIFY(folder.entries() == before);
}

void Saving::aFailedSaveReportsAndLeavesNoFile_data() {
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addRow("a folder in the way") << "ordner.pdf" << false;
    QTest::addRow("folder without write permission") << "ergebnis.png" << true;
}

void Saving::aFailedSaveReportsAndLeavesNoFile() {
    QFETCH(QString, relative);
    QFETCH(bool, readOnlyFolder);
    if (readOnlyFolder && geteuid() == 0) QSKIP("root writes into any folder");
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("ordner.pdf")));
    const QStringList before = entries(folder.path());
    if (readOnlyFolder) QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    SavedRun run;
    const QString path = folder.filePath(relative);
    QVERIFY(!run.auswertung.saveTo(path));
    if (readOnlyFolder) QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(run.runtime.messages().size(), 1u);
    const QString message = QString::fromStdString(run.runtime.messages().front());
    QVERIFY2(message.startsWith(QStringLiteral("Die Datei „%1“ konnte nicht gespeichert werden: ").arg(path)),
             qPrintable(message));
    QCOMPARE(entries(folder.path()), before);
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("ordner.pdf"))).isDir());
}

// A writer that gives up half-way leaves the earlier file as it was and nothing beside it.
void Saving::aWriteThatBreaksOffKeepsTheOldFile() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("ergebnis.csv"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("alt\n");
    }
    const std::optional<QString> error = analysis::saveAtomically(path, [](QIODevice& device) {
        device.write("halb geschrieben");
        return false;
    });
    QVERIFY(error.has_value());
    QCOMPARE(contents(path), QByteArray("alt\n"));
    QCOMPARE(entries(folder.path()), QStringList{QStringLiteral("ergebnis.csv")});
}

void Saving::onlyTheFourFormats_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("known");
    QTest::addRow("csv") << "a.csv" << true;
    QTest::addRow("svg in capitals") << "a.SVG" << true;
    QTest::addRow("pdf") << "Arbeitsblatt.pdf" << true;
    QTest::addRow("text") << "a.txt" << false;
    QTest::addRow("no extension") << "ergebnis" << false;
    QTest::addRow("extension of the folder only") << "daten.csv/ergebnis" << false;
}

void Saving::onlyTheFourFormats() {
    QFETCH(QString, name);
    QFETCH(bool, known);
    QCOMPARE(analysis::saveFormatFor(name).has_value(), known);
    if (known) return;
    QTemporaryDir folder;
    SavedRun run;
    QVERIFY(!run.auswertung.saveTo(folder.filePath(QStringLiteral("x.txt"))));
    QCOMPARE(run.runtime.messages().size(), 1u);
    QVERIFY(entries(folder.path()).isEmpty());
}

QTEST_MAIN(Saving)
#include "saving_test.moc"
