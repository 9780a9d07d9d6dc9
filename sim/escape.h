// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/random_source.h"
#include "sim/escape_observer.h"
#include "sim/network.h"
#include "sim/scenario.h"
#include "sim/setting.h"
#include "sim/share_history.h"

namespace wexal {

// Raised when a count can no longer be held exactly. The numbers changed before it stay.
class ArithmeticError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A check box's value: unticked, ticked, or greyed, which switches nothing.
enum class Switch { Off, On, Greyed };

// The succeeded and failed totals as the last finished escape left them.
struct Statistics {
    std::int64_t succeeded = 0;  // escapes counted at exits whose barrier was off then
    std::int64_t failed = 0;     // escapes counted at exits whose barrier was on then
    double succeededPercent = 0;
    double failedPercent = 0;
};

// The robber's escapes and everything counted about them: the wiring, where the robber
// stands, the option, the barriers, the counts, the statistics and the traces. Its public
// functions are the user's commands and what the views ask; it tells its observer what
// changed.
class Escape {
public:
    static constexpr int kEscapesPerClick = 50;
    // The pen never gets wider than this, while the trace counts stay exact: beyond about 40
    // pixels a trace already fills the street between two blocks on any usual screen.
    static constexpr int kMaxPenWidth = 64;
    // A count stops at 2^53, the last whole number a double tells from its neighbours.
    static constexpr std::int64_t kCountLimit = std::int64_t{1} << 53;

    // std::invalid_argument when the setting's weights leave the robber no way out.
    explicit Escape(RandomSource& random, const Setting& start = kStartSetting);

    // Views to tell of every change; the escape does not own them. A batch run has none.
    void addObserver(EscapeObserver* observer) { observers_.push_back(observer); }
    void removeObserver(EscapeObserver* observer);

    // One step of the running escape; nothing when none runs.
    void singleStep();
    // Steps until the running escape has ended; nothing when none runs.
    void wholeEscape();
    // Fifty passes of: finish the running escape, start the next. So a click finishes 50
    // escapes when one was running and 49 when none was, and leaves one ready at the bank.
    void fiftyEscapes();
    // `passes` passes of what "&50 Wexalen" does fifty times, for a batch run: counts exactly
    // as the clicks would with `seeded` as the escape's generator, but draws from it without
    // a virtual call, tells no view and keeps neither traces nor visits per junction.
    void runEscapes(std::int64_t passes, SeededRandom& seeded);
    // A new escape from the bank, only when none runs: a running one cannot be abandoned.
    void restart();
    void clearCounters();
    void clearTraces();
    // Switching a barrier shows at once; the statistics follow at the next finish.
    void setBarrier(int index, Switch value);
    void setBarrier(int index, bool on) { setBarrier(index, on ? Switch::On : Switch::Off); }
    // Applies from the next step on, also in the middle of an escape.
    void setTurnBack(bool allowed);
    // A teacher's scenario, from the next step on: the escapes follow its weights. While it is
    // hidden ("verdeckt"), exactSetting() leaves them out. std::invalid_argument, and nothing
    // changes, for weights that leave the robber no way out somewhere (deadEnd in draw.h).
    void openScenario(Scenario scenario);
    // A hidden scenario's weights and true exact values show from now on.
    void revealScenario();
    const std::optional<Scenario>& scenario() const { return scenario_; }
    // The setting whose exact values the views show: the walk's own, or while a scenario is
    // hidden, the fair network's (H0), which the class is to test against.
    Setting exactSetting() const;

    bool isRunning() const { return running_; }
    // Where the robber stands: the bank at start, the exit after an escape has ended.
    int robberNode() const { return robberNode_; }
    // The node the robber left with his last step; 0 before the first step of an escape.
    int previousNode() const { return previousNode_; }
    const Setting& setting() const { return setting_; }
    bool throughNode6() const { return throughNode6_; }

    std::int64_t attempts() const { return attempts_; }
    std::int64_t exitCount(int box) const { return exitCounts_.at(static_cast<std::size_t>(box)); }
    // The statistics as the last finished escape left them: each exit classified by its
    // barrier as it was then.
    Statistics statistics() const;
    // Steps of the escapes counted since the counters were cleared, and their squares' sum.
    std::int64_t countedSteps() const { return countedSteps_; }
    std::int64_t countedStepsSquared() const { return countedStepsSquared_; }
    // How often the counted escapes stood on a junction (the bank at the start included): every
    // step leaves one, so over all junctions this is countedSteps().
    std::int64_t countedVisits(int node) const {
        return countedVisits_.at(static_cast<std::size_t>(node));
    }
    // Whether the counts since the last clearing span more than one setting: the option or a
    // barrier changed after something was counted or stepped.
    bool countsMixSettings() const { return countsMixSettings_; }
    // The succeeded total after each escape counted since the last clearing, thinned evenly.
    const ShareHistory& shareHistory() const { return shareHistory_; }
    // 1 + the steps from -> to since the traces were cleared: the next trace's pen width.
    std::int64_t traceCount(int from, int to) const;
    static int penWidthFor(std::int64_t traceCount);

private:
    friend struct EscapeTestAccess;  // lets a test set counts near their limit

    // One step. Only a step that is seen, one of the window's, keeps the traces and the visits
    // per junction and tells the views: a batch run reads none of them.
    template <bool kSeen, class Uniform>
    void step(Uniform&& uniform);
    template <bool kSeen>
    void finish();
    std::int64_t succeededAtFinish() const;
    template <bool kSeen = true>
    void startAtBank();
    void placeRobber(int node);
    void settingChanged();
    template <class Event>
    void tell(Event event) {
        for (EscapeObserver* observer : observers_) event(*observer);
    }

    RandomSource& random_;
    std::vector<EscapeObserver*> observers_;
    Setting setting_;
    std::optional<Scenario> scenario_;
    bool throughNode6_ = true;  // the lists of 4 and 5; the start-up wiring runs through 6
    bool running_ = true;       // an escape stands ready at the bank after start-up
    int robberNode_ = network::kStartNode;
    int previousNode_ = 0;
    std::int64_t stepsThisEscape_ = 0;
    network::NodeArray<std::int64_t> visitsThisEscape_{};

    std::int64_t attempts_ = 0;
    std::array<std::int64_t, network::kBarrierCount> exitCounts_{};
    // The barriers and attempts at the last counted finish, which the statistics follow.
    std::array<bool, network::kBarrierCount> guardedAtFinish_{};
    std::int64_t attemptsAtFinish_ = 0;
    std::int64_t countedSteps_ = 0;
    std::int64_t countedStepsSquared_ = 0;
    network::NodeArray<std::int64_t> countedVisits_{};
    bool countsMixSettings_ = false;
    ShareHistory shareHistory_;
    network::NodeArray<network::NodeArray<std::int64_t>> traceCounts_{};
};

}  // namespace wexal
