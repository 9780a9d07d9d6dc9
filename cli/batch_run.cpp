// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch_run.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/random_source.h"
#include "sim/block_streams.h"
#include "sim/escape.h"

namespace wexal::cli {
namespace {

// Joins the blocks' share histories in block order, whichever order they finish in.
class HistoryJoin {
public:
    void add(std::int64_t index, BatchResult block) {
        const std::lock_guard lock(mutex_);
        waiting_.emplace(index, std::move(block));
        for (auto next = waiting_.begin(); next != waiting_.end() && next->first == joined_;
             next = waiting_.erase(next), ++joined_) {
            history_.append(next->second.shareHistory, escapes_, succeeded_);
            escapes_ += next->second.escapes;
            succeeded_ += next->second.succeeded;
        }
    }
    ShareHistory take() { return std::move(history_); }

private:
    std::mutex mutex_;
    std::map<std::int64_t, BatchResult> waiting_;
    std::int64_t joined_ = 0;  // index of the next block to join
    std::int64_t escapes_ = 0;
    std::int64_t succeeded_ = 0;
    ShareHistory history_;
};

BatchResult runBlock(const Setting& setting, const BlockStreams::Block& block) {
    SeededRandom random(block.stream);
    Escape escape(random, setting);  // an escape stands ready at the bank
    escape.runEscapes(block.escapes, random);
    BatchResult result;
    result.escapes = escape.attempts();
    for (int i = 0; i < network::kBarrierCount; ++i) {
        result.counts[static_cast<std::size_t>(i)] = escape.exitCount(i);
    }
    result.succeeded = escape.statistics().succeeded;
    result.failed = escape.statistics().failed;
    result.steps = escape.countedSteps();
    result.stepsSquared = escape.countedStepsSquared();
    result.shareHistory = escape.shareHistory();
    return result;
}

}  // namespace

double BatchResult::meanSteps() const {
    return static_cast<double>(steps) / static_cast<double>(escapes);
}

double BatchResult::meanStepsStandardError() const {
    if (escapes < 2) return 0;
    const auto n = static_cast<double>(escapes);
    const double mean = meanSteps();
    const double variance =
        std::max(0.0, (static_cast<double>(stepsSquared) - n * mean * mean) / (n - 1));
    return std::sqrt(variance / n);
}

void BatchResult::add(const BatchResult& block) {
    escapes += block.escapes;
    for (std::size_t i = 0; i < counts.size(); ++i) counts[i] += block.counts[i];
    succeeded += block.succeeded;
    failed += block.failed;
    steps += block.steps;
    stepsSquared += block.stepsSquared;
}

// Integer sums do not depend on the order in which the blocks finish.
BatchResult runBatch(const Setting& setting, std::int64_t escapes, std::uint64_t seed,
                     int threads, const ProgressReport& progress) {
    if (escapes < 1 || escapes > kMaxEscapes) throw std::out_of_range("Anzahl der Wexalen");
    if (threads < 1 || threads > kMaxThreads) throw std::out_of_range("Anzahl der Threads");

    BlockStreams queue(escapes, seed);
    HistoryJoin join;
    std::mutex totalMutex;
    BatchResult total;
    std::atomic<std::int64_t> finished{0};
    auto work = [&](bool reports) {
        BatchResult mine;
        BlockStreams::Block block{0, 0, Xoshiro256(0)};
        while (queue.next(block)) {
            BatchResult result = runBlock(setting, block);
            mine.add(result);
            join.add(block.index, std::move(result));
            const std::int64_t done = finished += block.escapes;
            if (reports && progress) progress(done);
        }
        const std::lock_guard lock(totalMutex);
        total.add(mine);
    };

    std::vector<std::jthread> helpers;
    helpers.reserve(static_cast<std::size_t>(threads - 1));
    for (int t = 1; t < threads; ++t) helpers.emplace_back(work, false);
    work(true);
    helpers.clear();  // joins
    total.shareHistory = join.take();
    return total;
}

}  // namespace wexal::cli
