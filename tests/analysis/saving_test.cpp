// SPDX-License-Identifier: GPL-3.0-or-later
// "Ergebnisse speichern": every format opens as what it claims to be, the CSV reads back as
// wexal-sim's columns, and a save that fails says so and leaves no file behind.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "analysis/auswertung.h"
#include "analysis/export.h"
#include "analysis/result_table_model.h"
#include "platform/headless_runtime.h"
#include "sim/escape.h"
#include "sim/node_places.h"

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
    void csvReadsBackAsWexalSimsColumns();
    void csvNamesTheSettingsItMixes();
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
    QTest::addRow("csv") << "ergebnis.csv" << QByteArray("# Lichtschranken ") << 300;
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

void Saving::csvReadsBackAsWexalSimsColumns() {
    QTemporaryDir folder;
    SavedRun run;
    const QString path = folder.filePath(QStringLiteral("ergebnis.csv"));
    QVERIFY(run.auswertung.saveTo(path));
    const QStringList lines = QString::fromUtf8(contents(path)).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines[0], QStringLiteral("# Lichtschranken 10110101 · Hin-und-her möglich: nein · 500 Wexalen"));
    QCOMPARE(lines[1], QStringLiteral("node,index,guarded,count,frequency,probability,probabilityValue"));
    qlonglong total = 0;
    for (int i = 0; i < network::kBarrierCount; ++i) {
        const QStringList fields = lines[i + 2].split(u',');
        QCOMPARE(fields.size(), 7);
        QCOMPARE(fields[0].toInt(), network::kExitOfBox[i]);
        QCOMPARE(fields[1].toInt(), i);
        QCOMPARE(fields[2], kStartSetting.barriers[i] ? QStringLiteral("true") : QStringLiteral("false"));
        QCOMPARE(fields[3].toLongLong(), run.escape.exitCount(i));
        QCOMPARE(fields[4].toDouble(), static_cast<double>(run.escape.exitCount(i)) / kEscapes);
        const int row = static_cast<int>(std::find(places::kBoxesAroundTheMap.begin(), places::kBoxesAroundTheMap.end(), i) -
                                         places::kBoxesAroundTheMap.begin());
        QCOMPARE(fields[5], run.auswertung.table().data(run.auswertung.table().index(row, analysis::ResultTableModel::kFraction)).toString());
        total += fields[3].toLongLong();
    }
    QCOMPARE(total, kEscapes);
    QCOMPARE(lines[2].section(u',', 5), QStringLiteral("1/6,0.16666666666666666"));
}

void Saving::csvNamesTheSettingsItMixes() {
    QTemporaryDir folder;
    SavedRun run;
    run.escape.setTurnBack(true);
    const QString path = folder.filePath(QStringLiteral("gemischt.csv"));
    QVERIFY(run.auswertung.saveTo(path));
    const QString first = QString::fromUtf8(contents(path)).section(u'\n', 0, 0);
    QCOMPARE(first, QStringLiteral("# Lichtschranken 10110101 · Hin-und-her möglich: ja · 500 Wexalen · "
                                   "die Zähler mischen Einstellungen"));
}

void Saving::aFailedSaveReportsAndLeavesNoFile_data() {
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addRow("folder missing") << "fehlt/ergebnis.csv" << false;
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
