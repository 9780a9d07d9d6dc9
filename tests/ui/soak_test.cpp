// A seeded storm of everything a pupil can do to the window, with the books checked after
// every single event. WEXAL_SOAK_EVENTS sets the length (default 20000); WEXAL_SOAK_SEED the seed.
#include <QCheckBox>
#include <QRadioButton>
#include <random>

#include "platform/number_text.h"
#include "ui/window_fixture.h"

using namespace wexal;
using namespace wexal::test;

namespace {

int envOr(const char* name, int fallback) {
    const QByteArray value = qgetenv(name);
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok && n > 0 ? n : fallback;
}

std::int64_t stepsSoFar(const EscapeState& s) {
    std::int64_t sum = 0;
    for (int a = 1; a <= 14; ++a) {
        for (int b = 1; b <= 14; ++b) sum += s.traceCount[a][b] - 1;
    }
    return sum;
}

enum class Event { Step, Whole, Fifty, Restart, ClearTraces, ClearCounters, Ja, Nein, Barrier, Barrier5, Resize, State };

// How often each event comes: single steps and switches most, the long command rarely.
constexpr std::array<std::pair<Event, int>, 12> kWeights = {{
    {Event::Step, 30}, {Event::Whole, 12}, {Event::Fifty, 1}, {Event::Restart, 14},
    {Event::ClearTraces, 2}, {Event::ClearCounters, 2}, {Event::Ja, 4}, {Event::Nein, 6},
    {Event::Barrier, 10}, {Event::Barrier5, 6}, {Event::Resize, 3}, {Event::State, 1},
}};

}  // namespace

class Soak : public QObject {
    Q_OBJECT

private slots:
    void everyEventKeepsTheInvariants();
};

void Soak::everyEventKeepsTheInvariants() {
    const int events = envOr("WEXAL_SOAK_EVENTS", 20000);
    std::mt19937_64 pick(static_cast<std::uint64_t>(envOr("WEXAL_SOAK_SEED", 8)));
    WindowUnderTest t(std::make_unique<SeededRandom>(pick()));
    QVERIFY(t.show());
    const EscapeState& s = t.window.state();

    std::vector<int> weights;
    for (const auto& w : kWeights) weights.push_back(w.second);
    std::discrete_distribution<int> nextEvent(weights.begin(), weights.end());
    auto button = [&](const char* name) { return t.get<QAbstractButton>(QString::fromUtf8(name)); };

    // The escape now running, for the four-step rule under "nein".
    std::int64_t escapeSteps = 0;
    bool plainNein = true;  // "nein" throughout and barrier 5 never switched
    int longestPlainEscape = 0;

    for (int e = 0; e < events; ++e) {
        const Event event = kWeights[nextEvent(pick)].first;
        const std::int64_t stepsBefore = stepsSoFar(s);
        const bool runningBefore = s.currentNode != 0;
        switch (event) {
            case Event::Step: button("cmdEinzel")->click(); break;
            case Event::Whole: button("cmdGanze")->click(); break;
            case Event::Fifty: button("cmd100")->click(); break;
            case Event::Restart: button("cmdNeustart")->click(); break;
            case Event::ClearTraces: button("cmdCLSpuren")->click(); break;
            case Event::ClearCounters: button("cmdCLZähler")->click(); break;
            case Event::Ja:
                button("Option1")->click();
                plainNein = false;
                break;
            case Event::Nein: button("Option2")->click(); break;
            case Event::Barrier: {
                const int i = int(pick() % 8);
                button(QStringLiteral("Check1(%1)").arg(i).toUtf8().constData())->click();
                if (i == 5) plainNein = false;
                break;
            }
            case Event::Barrier5:
                // Most telling on the lower street, where the barrier rewires 4 and 5.
                if (s.currentNode >= 4 && s.currentNode <= 6) {
                    button("Check1(5)")->click();
                    plainNein = false;
                }
                break;
            case Event::Resize:
                t.window.resize(200 + int(pick() % 900), 150 + int(pick() % 700));
                break;
            case Event::State: {
                const int which = int(pick() % 3);
                if (which == 0) t.window.showMinimized();
                if (which == 1) t.window.showMaximized();
                if (which == 2) t.window.showNormal();
                break;
            }
        }
        if (event == Event::Resize || event == Event::State) QApplication::processEvents();

        // The four-step rule, for escapes begun and ended under plain "nein".
        const bool neinNow = t.get<QRadioButton>("Option2")->isChecked();
        if ((event == Event::Restart && !runningBefore) || event == Event::Fifty) {
            escapeSteps = 0;  // a fresh escape waits at the bank
            plainNein = neinNow;
        } else if (event == Event::Step || event == Event::Whole) {
            escapeSteps += stepsSoFar(s) - stepsBefore;
            if (s.currentNode == 0 && runningBefore && plainNein) {
                QVERIFY2(escapeSteps <= 4, qPrintable(QStringLiteral("event %1: %2 steps").arg(e).arg(escapeSteps)));
                longestPlainEscape = std::max(longestPlainEscape, int(escapeSteps));
            }
        } else if (event == Event::ClearTraces) {
            plainNein = false;  // the steps are counted from the trace counts
        }

        QVERIFY2(s.currentNode >= 0 && s.currentNode <= 14, qPrintable(QString::number(e)));
        QVERIFY(s.currentNode == 0 || (s.currentNode >= 1 && s.currentNode <= 6));
        const double attempts = textToNumber(t.text("Text2").toStdString());
        double sum = 0;
        for (int k = 0; k < 8; ++k) sum += textToNumber(t.text(QStringLiteral("Text1(%1)").arg(k)).toStdString());
        QCOMPARE(sum, attempts);
        QCOMPARE(double(s.attempts), attempts);
        const double succeeded = textToNumber(t.text("Text3").toStdString());
        const double failed = textToNumber(t.text("Text5").toStdString());
        QCOMPARE(succeeded + failed, attempts);
        if (attempts > 0) {
            QCOMPARE(t.text("Text4").toStdString(), numberToText(succeeded * 100 / attempts));
            QCOMPARE(t.text("Text6").toStdString(), numberToText(failed * 100 / attempts));
        }
    }
    QVERIFY(t.runtime.messages().empty());
    QVERIFY(longestPlainEscape >= 2);  // the rule was really exercised
}

QTEST_MAIN(Soak)
#include "soak_test.moc"
