#include "cli/batch_run.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/number_text.h"
#include "sim/escape.h"
#include "sim/headless_window.h"

namespace wexal::cli {
namespace {

// Escapes between two progress reports: rare enough to cost nothing, often enough for a bar.
constexpr std::int64_t kProgressInterval = 1 << 16;

std::int64_t countIn(const HeadlessWindow& window, Box box) {
    return static_cast<std::int64_t>(textToNumber(window.boxText(box)));
}

}  // namespace

double BatchResult::meanSteps() const {
    return static_cast<double>(steps) / static_cast<double>(escapes);
}

double BatchResult::meanStepsStandardError() const {
    if (escapes < 2) return 0;
    const auto n = static_cast<double>(escapes);
    const double mean = meanSteps();
    const double variance = std::max(0.0, (stepsSquared - n * mean * mean) / (n - 1));
    return std::sqrt(variance / n);
}

BatchResult runBatch(const Setting& setting, std::int64_t escapes, RandomSource& random,
                     const ProgressReport& progress) {
    if (escapes < 1 || escapes > kMaxEscapes) throw std::out_of_range("Anzahl der Wexalen");

    HeadlessWindow window;
    window.keepLines = false;
    for (int i = 0; i < network::kBarrierCount; ++i) window.checks[i] = setting.barriers[i] ? 1 : 0;
    window.optionJa = setting.turnBack;
    Escape escape(window, random);
    escape.formLoad();  // leaves an escape ready at the bank

    BatchResult result;
    for (std::int64_t finished = 0; finished < escapes;) {
        const std::int64_t stop = std::min(escapes, finished + kProgressInterval);
        for (; finished < stop; ++finished) {
            std::int64_t length = 0;
            while (escape.state.currentNode != 0) {
                escape.stepEscape();
                ++length;
            }
            result.steps += length;
            result.stepsSquared += static_cast<double>(length * length);
            escape.state.currentNode = network::kStartNode;
            escape.restartEscape();
        }
        if (progress) progress(finished);
    }

    result.escapes = countIn(window, Box::Text2);
    for (int i = 0; i < network::kBarrierCount; ++i)
        result.counts[i] = countIn(window, counterBox(i));
    result.succeeded = countIn(window, Box::Text3);
    result.failed = countIn(window, Box::Text5);
    return result;
}

}  // namespace wexal::cli
