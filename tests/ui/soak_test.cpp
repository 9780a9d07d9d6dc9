// SPDX-License-Identifier: GPL-3.0-or-later
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

std::int64_t stepsSoFar(const Escape& s) {
    std::int64_t sum = 0;
    for (int a = 1; a <= 14; ++a) {
        for (int b = 1; b <= 14; ++b) sum += s.traceCount(a, b) - 1;
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

// One seeded storm on the real window: the events, and what must hold after each of them.
class Storm {
public:
    explicit Storm(std::uint64_t seed)
        : pick_(seed), t_(std::make_unique<SeededRandom>(pick_())) {
        std::vector<int> weights;
        weights.reserve(kWeights.size());
        for (const auto& w : kWeights) weights.push_back(w.second);
        nextEvent_ = std::discrete_distribution<int>(weights.begin(), weights.end());
    }

    WindowUnderTest& window() { return t_; }
    int longestPlainEscape() const { return longestPlainEscape_; }

    // One event and the checks after it; a failed check ends the test.
    void next(int e) {
        const Event event = kWeights[nextEvent_(pick_)].first;
        const std::int64_t stepsBefore = stepsSoFar(s_);
        const bool runningBefore = s_.isRunning();
        apply(event);
        if (event == Event::Resize || event == Event::State) QApplication::processEvents();
        followFourStepRule(event, e, stepsBefore, runningBefore);
        if (QTest::currentTestFailed()) return;
        checkBooks(e);
    }

private:
    QAbstractButton* button(const char* name) const {
        return t_.get<QAbstractButton>(QString::fromUtf8(name));
    }

    void apply(Event event) {
        switch (event) {
            case Event::Step: button("cmdEinzel")->click(); break;
            case Event::Whole: button("cmdGanze")->click(); break;
            case Event::Fifty: button("cmd100")->click(); break;
            case Event::Restart: button("cmdNeustart")->click(); break;
            case Event::ClearTraces: button("cmdCLSpuren")->click(); break;
            case Event::ClearCounters: button("cmdCLZähler")->click(); break;
            case Event::Ja:
                button("Option1")->click();
                plainNein_ = false;
                break;
            case Event::Nein: button("Option2")->click(); break;
            case Event::Barrier: {
                const int i = int(pick_() % 8);
                button(QStringLiteral("Check1(%1)").arg(i).toUtf8().constData())->click();
                if (i == 5) plainNein_ = false;
                break;
            }
            case Event::Barrier5:
                // Most telling on the lower street, where the barrier rewires 4 and 5.
                if (t_.currentNode() >= 4 && t_.currentNode() <= 6) {
                    button("Check1(5)")->click();
                    plainNein_ = false;
                }
                break;
            case Event::Resize:
                t_.window.resize(200 + int(pick_() % 900), 150 + int(pick_() % 700));
                break;
            case Event::State: {
                const int which = int(pick_() % 3);
                if (which == 0) t_.window.showMinimized();
                if (which == 1) t_.window.showMaximized();
                if (which == 2) t_.window.showNormal();
                break;
            }
        }
    }

    // The four-step rule, for escapes begun and ended under plain "nein".
    void followFourStepRule(Event event, int e, std::int64_t stepsBefore, bool runningBefore) {
        const bool neinNow = t_.get<QRadioButton>("Option2")->isChecked();
        if ((event == Event::Restart && !runningBefore) || event == Event::Fifty) {
            escapeSteps_ = 0;  // a fresh escape waits at the bank
            plainNein_ = neinNow;
        } else if (event == Event::Step || event == Event::Whole) {
            escapeSteps_ += stepsSoFar(s_) - stepsBefore;
            if (t_.currentNode() == 0 && runningBefore && plainNein_) {
                QVERIFY2(escapeSteps_ <= 4,
                         qPrintable(QStringLiteral("event %1: %2 steps").arg(e).arg(escapeSteps_)));
                longestPlainEscape_ = std::max(longestPlainEscape_, int(escapeSteps_));
            }
        } else if (event == Event::ClearTraces) {
            plainNein_ = false;  // the steps are counted from the trace counts
        }
    }

    // Where the robber is, and the counter boxes agree with each other and with the state.
    void checkBooks(int e) const {
        QVERIFY2(t_.currentNode() >= 0 && t_.currentNode() <= 14, qPrintable(QString::number(e)));
        QVERIFY(t_.currentNode() == 0 || (t_.currentNode() >= 1 && t_.currentNode() <= 6));
        const double attempts = textToNumber(t_.text("Text2").toStdString());
        double sum = 0;
        for (int k = 0; k < 8; ++k) {
            sum += textToNumber(t_.text(QStringLiteral("Text1(%1)").arg(k)).toStdString());
        }
        QCOMPARE(sum, attempts);
        QCOMPARE(double(s_.attempts()), attempts);
        const double succeeded = textToNumber(t_.text("Text3").toStdString());
        const double failed = textToNumber(t_.text("Text5").toStdString());
        QCOMPARE(succeeded + failed, attempts);
        if (attempts > 0) {
            QCOMPARE(t_.text("Text4").toStdString(), numberToText(succeeded * 100 / attempts));
            QCOMPARE(t_.text("Text6").toStdString(), numberToText(failed * 100 / attempts));
        }
    }

    std::mt19937_64 pick_;
    WindowUnderTest t_;
    const Escape& s_ = t_.window.escape();
    std::discrete_distribution<int> nextEvent_;
    // The escape now running, for the four-step rule under "nein".
    std::int64_t escapeSteps_ = 0;
    bool plainNein_ = true;  // "nein" throughout and barrier 5 never switched
    int longestPlainEscape_ = 0;
};

}  // namespace

class Soak : public QObject {
    Q_OBJECT

private slots:
    void everyEventKeepsTheInvariants();
};

void Soak::everyEventKeepsTheInvariants() {
    const int events = envOr("WEXAL_SOAK_EVENTS", 20000);
    Storm storm(static_cast<std::uint64_t>(envOr("WEXAL_SOAK_SEED", 8)));
    QVERIFY(storm.window().show());
    for (int e = 0; e < events && !QTest::currentTestFailed(); ++e) storm.next(e);
    if (QTest::currentTestFailed()) return;
    QVERIFY(storm.window().runtime.messages().empty());
    QVERIFY(storm.longestPlainEscape() >= 2);  // the rule was really exercised
}

QTEST_MAIN(Soak)
#include "soak_test.moc"
