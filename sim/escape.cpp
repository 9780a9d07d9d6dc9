// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/escape.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/number_text.h"
#include "sim/draw.h"

namespace wexal {

namespace nw = network;

namespace {

// A statistic as its box shows it: the percentages are taken from the figures as written,
// which differ from the numbers themselves only beyond 2^53.
double asShown(double value) {
    return isWrittenExactly(value) ? value : textToNumber(numberToText(value));
}

constexpr double kPercent = 100;

}  // namespace

Escape::Escape(RandomSource& random, const Setting& start) : random_(random), setting_(start) {
    if (deadEnd(start.weights)) throw std::invalid_argument("Gewichte ohne Ausweg");
    for (auto& row : traceCounts_) row.fill(1);
}

std::int64_t Escape::traceCount(int from, int to) const {
    return traceCounts_.at(static_cast<std::size_t>(from)).at(static_cast<std::size_t>(to));
}

int Escape::penWidthFor(std::int64_t traceCount) {
    return static_cast<int>(std::clamp<std::int64_t>(traceCount, 1, kMaxPenWidth));
}

// The window's draws reseed before every draw, as its generator expects. The "nein" test
// follows the option as the user last set it, also in the middle of an escape.
void Escape::singleStep() {
    if (!running_) return;
    step<true>([this] {
        random_.reseedFromClock();
        return random_.nextRandom();
    });
}

template <bool kSeen, class Uniform>
void Escape::step(Uniform&& uniform) {
    const int from = robberNode_;
    const int to = drawStreet(streetDrawAt(setting_, from, previousNode_, throughNode6_),
                              std::forward<Uniform>(uniform));
    if constexpr (kSeen) {
        auto& trace = traceCounts_[static_cast<std::size_t>(from)][static_cast<std::size_t>(to)];
        tell([&](EscapeObserver& o) { o.streetTaken(from, to, penWidthFor(trace)); });
        ++trace;
        ++visitsThisEscape_[static_cast<std::size_t>(from)];
    }
    ++stepsThisEscape_;
    previousNode_ = from;
    if constexpr (kSeen) {
        placeRobber(to);
    } else {
        robberNode_ = to;
    }

    // Barrier 5 as it is now decides this step's end and wires 4 and 5 for the next step: the
    // step that starts on 4 or 5 still uses the lists the step before left behind.
    const bool barrier5On = setting_.rewiringBarrierOn();
    throughNode6_ = barrier5On;
    if (nw::isExit(to, barrier5On)) {
        running_ = false;
        finish<kSeen>();
    }
}

void Escape::wholeEscape() {
    while (running_) singleStep();
}

void Escape::fiftyEscapes() {
    for (int pass = 1; pass <= kEscapesPerClick; ++pass) {
        wholeEscape();
        startAtBank();
    }
}

// A seeded generator's reseeding changes nothing, so it is left out. The loop draws from a
// copy of the stream, which the compiler can keep in registers, and takes the same positions
// from the same bits as the float draw does.
static_assert(RandomBits::kBits == Xoshiro256::kFloatBits);

void Escape::runEscapes(std::int64_t passes, SeededRandom& seeded) {
    Xoshiro256 stream = seeded.stream();
    for (std::int64_t pass = 0; pass < passes; ++pass) {
        while (running_) step<false>([&stream] { return RandomBits{stream.nextBits()}; });
        startAtBank<false>();
    }
    seeded.stream() = stream;
}

void Escape::restart() {
    if (!running_) startAtBank();
}

// Every escape is an independent trial from the bank: the last escape's final junction must
// not steer the first step of the next one under "nein".
template <bool kSeen>
void Escape::startAtBank() {
    previousNode_ = 0;
    stepsThisEscape_ = 0;
    running_ = true;
    if constexpr (kSeen) {
        visitsThisEscape_.fill(0);
        placeRobber(nw::kStartNode);
    } else {
        robberNode_ = nw::kStartNode;
    }
}

void Escape::placeRobber(int node) {
    robberNode_ = node;
    tell([node](EscapeObserver& o) { o.robberPlaced(node); });
}

// Counts the escape that has just ended at robberNode_. Each exit is classified by its barrier
// as it is now, so a barrier switched since earlier finishes moves its exit's whole count from
// one total to the other. The attempt is counted even when its exit's count overflows.
template <bool kSeen>
void Escape::finish() {
    ++attempts_;
    const int exit = robberNode_;
    const auto box = static_cast<std::size_t>(nw::kBoxOfExit[static_cast<std::size_t>(exit)]);
    const bool caught = setting_.barriers[box];
    auto& count = exitCounts_[box];
    if (count >= kCountLimit) {
        tell([exit, caught](EscapeObserver& o) { o.escapeCounted(exit, caught); });
        throw ArithmeticError("Überlauf: der Zähler kann nicht weiter zählen");
    }
    ++count;
    countedSteps_ += stepsThisEscape_;
    countedStepsSquared_ += stepsThisEscape_ * stepsThisEscape_;
    if constexpr (kSeen) {
        for (std::size_t node = 0; node < countedVisits_.size(); ++node) {
            countedVisits_[node] += visitsThisEscape_[node];
        }
    }

    guardedAtFinish_ = setting_.barriers;
    attemptsAtFinish_ = attempts_;
    if (shareHistory_.wants(attempts_)) shareHistory_.record(attempts_, succeededAtFinish());
    if constexpr (kSeen) tell([exit, caught](EscapeObserver& o) { o.escapeCounted(exit, caught); });
}

// Only the succeeded total, which the share history records: without the percentages, which
// cost more than the escape itself.
std::int64_t Escape::succeededAtFinish() const {
    std::int64_t succeeded = 0;
    for (std::size_t i = 0; i < exitCounts_.size(); ++i) {
        if (!guardedAtFinish_[i]) succeeded += exitCounts_[i];
    }
    return succeeded;
}

Statistics Escape::statistics() const {
    Statistics s;
    if (attemptsAtFinish_ == 0) return s;
    for (std::size_t i = 0; i < exitCounts_.size(); ++i) {
        (guardedAtFinish_[i] ? s.failed : s.succeeded) += exitCounts_[i];
    }
    const double attemptsShown = asShown(static_cast<double>(attemptsAtFinish_));
    s.succeededPercent = asShown(static_cast<double>(s.succeeded)) * kPercent / attemptsShown;
    s.failedPercent = asShown(static_cast<double>(s.failed)) * kPercent / attemptsShown;
    return s;
}

void Escape::clearCounters() {
    attempts_ = 0;
    attemptsAtFinish_ = 0;
    exitCounts_.fill(0);
    countedSteps_ = 0;
    countedStepsSquared_ = 0;
    countedVisits_.fill(0);
    countsMixSettings_ = false;
    shareHistory_.clear();
    tell([](EscapeObserver& o) { o.countersCleared(); });
}

void Escape::clearTraces() {
    for (auto& row : traceCounts_) row.fill(1);
    tell([](EscapeObserver& o) { o.tracesCleared(); });
}

void Escape::setBarrier(int index, Switch value) {
    if (index < 0 || index >= nw::kBarrierCount || value == Switch::Greyed) return;
    const bool on = value == Switch::On;
    bool& barrier = setting_.barriers[static_cast<std::size_t>(index)];
    if (barrier != on) settingChanged();
    barrier = on;
    tell([index, on](EscapeObserver& o) { o.barrierShown(index, on); });
}

void Escape::openScenario(Scenario scenario) {
    if (deadEnd(scenario.weights)) throw std::invalid_argument("Gewichte ohne Ausweg");
    if (setting_.weights != scenario.weights) settingChanged();
    setting_.weights = scenario.weights;
    scenario_ = std::move(scenario);
    tell([](EscapeObserver& o) { o.scenarioChanged(); });
}

void Escape::revealScenario() {
    if (!scenario_ || !scenario_->hidden) return;
    scenario_->hidden = false;
    tell([](EscapeObserver& o) { o.scenarioChanged(); });
}

Setting Escape::exactSetting() const {
    Setting shown = setting_;
    if (scenario_ && scenario_->hidden) shown.weights = StreetWeights{};
    return shown;
}

void Escape::setTurnBack(bool allowed) {
    if (setting_.turnBack != allowed) settingChanged();
    setting_.turnBack = allowed;
    tell([allowed](EscapeObserver& o) { o.turnBackShown(allowed); });
}

void Escape::settingChanged() {
    if (attempts_ > 0 || stepsThisEscape_ > 0) countsMixSettings_ = true;
}

void Escape::removeObserver(EscapeObserver* observer) {
    std::erase(observers_, observer);
}

}  // namespace wexal
