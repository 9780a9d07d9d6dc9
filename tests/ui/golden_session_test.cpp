// SPDX-License-Identifier: GPL-3.0-or-later
// A long seeded session of real clicks on the window, one transcript line after every command:
// the boxes, their colours, the robber, the marks, the switches, the messages and the traces.
// The committed transcript is what the window did when it was recorded; any change in what the
// window shows fails the test at the first line that differs.
//   WEXAL_GOLDEN_RECORD=path   writes the transcript to path instead of comparing.
#include <QCheckBox>
#include <QFile>
#include <QRadioButton>
#include <QTextStream>
#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/random_source.h"
#include "ui/map_box.h"
#include "ui/window_fixture.h"

using namespace wexal;
using namespace wexal::test;

namespace {

constexpr int kCommands = 5000;
constexpr std::uint64_t kSessionSeed = 20240611;
constexpr std::uint64_t kEscapeSeed = 7;

// The session's choices from the generator's own splitmix64: no library can change them.
class SplitMix64 {
public:
    explicit SplitMix64(std::uint64_t seed) : state_(seed) {}
    int below(int n) { return static_cast<int>(splitmix64(state_) % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t state_;
};

enum class Kind { Click, Resize, Minimise, Maximise, Restore };

struct Command {
    const char* name;  // the control clicked, or what happens to the window
    Kind kind;
    int weight;
};

// Single steps most; enough "Neustart" and "ganze Wexal" that most escapes reach their end,
// "50 Wexalen" for the bulk of the counts, and the traces cleared seldom so they grow wide.
constexpr auto kMix = std::to_array<Command>({
    {"cmdEinzel", Kind::Click, 60},  {"cmdGanze", Kind::Click, 14},
    {"cmd100", Kind::Click, 3},      {"cmdNeustart", Kind::Click, 24},
    {"cmdCLSpuren", Kind::Click, 1}, {"cmdCLZähler", Kind::Click, 1},
    {"Check1(0)", Kind::Click, 2},   {"Check1(1)", Kind::Click, 2},
    {"Check1(2)", Kind::Click, 2},   {"Check1(3)", Kind::Click, 2},
    {"Check1(4)", Kind::Click, 2},   {"Check1(5)", Kind::Click, 5},
    {"Check1(6)", Kind::Click, 2},   {"Check1(7)", Kind::Click, 2},
    {"Option1", Kind::Click, 5},     {"Option2", Kind::Click, 6},
    {"Command1", Kind::Click, 1},    {"resize", Kind::Resize, 3},
    {"minimise", Kind::Minimise, 1}, {"maximise", Kind::Maximise, 1},
    {"restore", Kind::Restore, 2},
});

constexpr int totalWeight() {
    int sum = 0;
    for (const Command& c : kMix) sum += c.weight;
    return sum;
}

const Command& pick(SplitMix64& random) {
    int r = random.below(totalWeight());
    for (const Command& c : kMix) {
        if (r < c.weight) return c;
        r -= c.weight;
    }
    return kMix.front();
}

const QStringList& boxNames() {
    static const QStringList names = [] {
        QStringList list;
        for (int i = 0; i < 8; ++i) list << QStringLiteral("Text1(%1)").arg(i);
        list << "Text2" << "Text3" << "Text4" << "Text5" << "Text6";
        return list;
    }();
    return names;
}

// 0 off, 1 on, 2 greyed, as the program counts a check box.
char checkValue(const QCheckBox* box) {
    switch (box->checkState()) {
        case Qt::Unchecked: return '0';
        case Qt::Checked: return '1';
        case Qt::PartiallyChecked: return '2';
    }
    return '?';
}

// 64-bit FNV-1a over the pixels, row by row, in one fixed format so only the pixels count.
QString traceHash(const QImage& traces) {
    const QImage image = traces.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    const qsizetype rowBytes = qsizetype(image.width()) * 4;
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (qsizetype i = 0; i < rowBytes; ++i) {
            hash ^= row[i];
            hash *= 0x100000001b3ULL;
        }
    }
    return QStringLiteral("%1x%2 %3")
        .arg(image.width())
        .arg(image.height())
        .arg(hash, 16, 16, QChar('0'));
}

// The real window and the seeded commands on it.
class Session {
public:
    Session() : t_(std::make_unique<SeededRandom>(kEscapeSeed), kXga), random_(kSessionSeed) {}

    bool show() { return t_.show(); }

    // One command, and the events it posted; returns the command as the transcript shows it.
    QString next() {
        const Command& c = pick(random_);
        QString command = QString::fromUtf8(c.name);
        switch (c.kind) {
            case Kind::Click: t_.click(command); break;
            case Kind::Resize: {
                const int width = 300 + random_.below(700);
                const int height = 250 + random_.below(500);
                t_.window.resize(width, height);
                command += QStringLiteral(" %1x%2").arg(width).arg(height);
                break;
            }
            case Kind::Minimise: t_.window.setWindowState(Qt::WindowMinimized); break;
            case Kind::Maximise: t_.window.setWindowState(Qt::WindowMaximized); break;
            case Kind::Restore: t_.window.setWindowState(Qt::WindowNoState); break;
        }
        QApplication::processEvents();
        return command;
    }

    // What the window shows now, on one line.
    QString snapshot() const {
        QString line;
        QTextStream out(&line);
        for (const QString& box : boxNames()) out << '"' << t_.text(box) << '"';
        out << ' ';
        for (const QString& box : boxNames()) {
            out << t_.get<QLineEdit>(box)->palette().color(QPalette::Base).name();
        }
        const QRect r = t_.get("imgBrammler")->geometry();
        out << " r" << r.x() << ',' << r.y() << ',' << r.width() << ',' << r.height();
        out << " m";
        for (int i = 0; i < 8; ++i) {
            const QWidget* mark = t_.get(QStringLiteral("Line1(%1)").arg(i));
            out << (mark->isVisibleTo(&t_.window) ? '1' : '0');
        }
        out << " c";
        for (int i = 0; i < 8; ++i) {
            out << checkValue(t_.get<QCheckBox>(QStringLiteral("Check1(%1)").arg(i)));
        }
        const bool ja = t_.get<QRadioButton>("Option1")->isChecked();
        const bool nein = t_.get<QRadioButton>("Option2")->isChecked();
        out << " o" << (ja ? "ja" : "") << (nein ? "nein" : "");
        out << " n" << t_.runtime.messages().size();
        out << " t" << traceHash(qobject_cast<MapBox*>(t_.get("picBox"))->traces());
        return line;
    }

    // The escapes finished so far, from the attempts box (which "Zähler löschen" sets to 0).
    double attempts() const { return t_.text("Text2").trimmed().toDouble(); }

private:
    WindowUnderTest t_;
    SplitMix64 random_;
};

QStringList readTranscript(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QStringList lines;
    QTextStream in(&file);
    while (!in.atEnd()) lines << in.readLine();
    return lines;
}

}  // namespace

class GoldenSession : public QObject {
    Q_OBJECT

private slots:
    void theWindowShowsWhatItShowedWhenRecorded();
};

void GoldenSession::theWindowShowsWhatItShowedWhenRecorded() {
    const QString recordTo = qEnvironmentVariable("WEXAL_GOLDEN_RECORD");
    const bool recording = !recordTo.isEmpty();
    const QString goldenPath = QStringLiteral(WEXAL_GOLDEN_TRANSCRIPT);
    const QStringList expected = recording ? QStringList() : readTranscript(goldenPath);
    if (!recording) {
        // A missing or cut transcript fails here, before the session runs.
        QVERIFY2(expected.size() == kCommands + 1,
                 qPrintable(QStringLiteral("%1: %2 lines, %3 expected")
                                .arg(goldenPath)
                                .arg(expected.size())
                                .arg(kCommands + 1)));
    }

    Session session;
    QVERIFY(session.show());
    QStringList actual;
    double escapes = 0;
    for (int i = 0; i <= kCommands; ++i) {
        const double before = session.attempts();
        const QString command = i == 0 ? QStringLiteral("start") : session.next();
        escapes += std::max(0.0, session.attempts() - before);
        actual << command + ' ' + session.snapshot();
        if (!recording && expected[i] != actual[i]) {
            QFAIL(qPrintable(QStringLiteral("line %1 differs\nexpected: %2\nactual:   %3")
                                 .arg(i + 1)
                                 .arg(expected[i], actual[i])));
        }
    }
    qInfo("%d commands, %.0f finished escapes", kCommands, escapes);
    // A session whose escapes seldom end would prove little.
    QVERIFY(escapes >= 2000);

    if (recording) {
        QFile file(recordTo);
        QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(recordTo));
        QTextStream out(&file);
        for (const QString& line : actual) out << line << '\n';
        out.flush();
        QCOMPARE(out.status(), QTextStream::Ok);
    }
}

QTEST_MAIN(GoldenSession)
#include "golden_session_test.moc"
