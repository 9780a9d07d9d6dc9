// SPDX-License-Identifier: GPL-3.0-or-later
// The page "Übergänge": how long the slider takes to show the distribution after another n,
// the map's repaint included, at every n from 0 to 50 under both options; and how long a new
// setting (everything exact worked out again, a swarm of 10,000) and "Neu würfeln" with
// 100,000 robbers take. Runs offscreen unless a display platform is chosen. Reports the median
// and the worst besides the mean, on the clock and in the calling thread's processor time, which
// other programs on a busy machine do not stretch.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <algorithm>
#include <cstdint>
#include <chrono>
#include <ctime>
#include <functional>
#include <string>
#include <memory>
#include <vector>

#include "analysis/transitions_page.h"
#include "platform/headless_runtime.h"

namespace {

using Clock = std::chrono::steady_clock;
using wexal::analysis::TransitionsPage;

constexpr QSize kAuswertungSize{1100, 820};  // pixels: the Auswertung's start size
constexpr std::int64_t kSweeps = 20;         // slider passes over n = 0 … 50
constexpr int kChanges = 20;

struct ShownPage {
    wexal::SeededRandom random{1};
    wexal::HeadlessRuntime runtime{std::make_unique<wexal::SeededRandom>(1)};
    wexal::Escape escape{random};
    TransitionsPage page{escape, runtime};

    explicit ShownPage(bool turnBack) {
        escape.setTurnBack(turnBack);
        page.refresh();
        page.resize(kAuswertungSize);
        page.show();
        (void)QTest::qWaitForWindowExposed(&page);
        QApplication::processEvents();
    }
};

double threadMillis() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    constexpr double kMillisPerSecond = 1e3;
    constexpr double kNanosPerMilli = 1e6;
    return static_cast<double>(now.tv_sec) * kMillisPerSecond + static_cast<double>(now.tv_nsec) / kNanosPerMilli;
}

void report(benchmark::State& bench, const char* name, std::vector<double> millis) {
    std::sort(millis.begin(), millis.end());
    bench.counters[std::string("median_") + name] = millis[millis.size() / 2];
    bench.counters[std::string("worst_") + name] = millis.back();
}

// Times `act` followed by the repaint it asks for, once per benchmark iteration. One untimed
// round first: fonts and glyphs are loaded once per program.
void measure(benchmark::State& bench, const std::function<void(int)>& act, int warmUp) {
    for (int i = 0; i < warmUp; ++i) {
        act(i);
        QApplication::processEvents();
    }
    std::vector<double> clock;
    std::vector<double> processor;
    int i = 0;
    for ([[maybe_unused]] auto _ : bench) {
        const auto start = Clock::now();
        const double cpuStart = threadMillis();
        act(i++);
        QApplication::processEvents();  // the layout and the repaint the change asked for
        processor.push_back(threadMillis() - cpuStart);
        clock.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    report(bench, "ms", clock);
    report(bench, "cpu_ms", processor);
}

// Every n in turn, forwards, so each step is one press of the arrow key; 50 -> 0 as well.
void slide(benchmark::State& bench, bool turnBack) {
    ShownPage shown(turnBack);
    QSlider& slider = shown.page.stepSlider();
    constexpr int kPositions = TransitionsPage::kLastStep + 1;
    measure(bench, [&slider](int i) { slider.setValue(i % kPositions); }, kPositions);
}

void BM_SliderRedraw_Nein(benchmark::State& bench) { slide(bench, false); }
void BM_SliderRedraw_Ja(benchmark::State& bench) { slide(bench, true); }

void BM_SettingChanged(benchmark::State& bench) {
    ShownPage shown(false);
    measure(bench, [&shown](int i) {
        shown.escape.setTurnBack(i % 2 == 0);
        shown.page.refresh();
    }, 2);
}

void BM_NeuWuerfeln_100000(benchmark::State& bench) {
    ShownPage shown(true);
    shown.page.robbers().setValue(TransitionsPage::kMostRobbers);
    measure(bench, [&shown](int) { shown.page.reroll().click(); }, 1);
}

}  // namespace

constexpr std::int64_t kSlides = kSweeps * (TransitionsPage::kLastStep + 1);
BENCHMARK(BM_SliderRedraw_Nein)->Iterations(kSlides)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SliderRedraw_Ja)->Iterations(kSlides)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SettingChanged)->Iterations(kChanges)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NeuWuerfeln_100000)->Iterations(kChanges)->Unit(benchmark::kMillisecond);
