// SPDX-License-Identifier: GPL-3.0-or-later
// How long one click on "50 Wexalen" takes on the real window, the repaint included: with
// fresh traces and after 10,000 escapes have widened them, and with the Auswertung open (F2)
// after 10,000 and after 1,000,000 escapes, its redraws ten times a second included. Runs
// offscreen unless a display platform is chosen. Reports the median and the worst click
// besides the mean; with the Auswertung also how many measured clicks took a redraw along.
// Each click's processor time stands beside its wall time: on a busy machine the worst wall
// time mostly says how long other programs held the processor.
// And how punctual "Zeitlupe" is at its fastest pace with the Auswertung open: how far each
// tick came behind the time it was due, median and worst.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <vector>

#include "analysis/auswertung.h"
#include "analysis/convergence_chart.h"
#include "analysis/zeitlupe.h"
#include "platform/headless_runtime.h"
#include "ui/wexal.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr wexal::ScreenSize kXga{15360, 11520};  // 1024 x 768 pixels at 96 dpi
constexpr int kEscapesForWideTraces = 10000;
constexpr int kEscapesForLongSeries = 1000000;
constexpr int kClicks = 200;  // measured clicks per benchmark
// With the Auswertung open: enough clicks that a few dozen of them take a redraw along.
constexpr int kClicksWithAuswertung = 3000;
constexpr double kMillisPerClock = 1000.0 / CLOCKS_PER_SEC;

void clickFifty(benchmark::State& bench, int escapesBefore, bool withAuswertung = false) {
    wexal::HeadlessRuntime runtime(std::make_unique<wexal::ClockRandom>(), kXga);
    wexal::Wexal window(runtime);
    window.showCentred();
    (void)QTest::qWaitForWindowExposed(&window);
    qobject_cast<QRadioButton*>(window.control(wexal::controls::Id::Option1))->click();  // "ja": longer escapes
    auto* fifty = qobject_cast<QAbstractButton*>(window.control(wexal::controls::Id::cmd100));
    wexal::analysis::Auswertung* auswertung = nullptr;
    if (withAuswertung) {
        (void)QTest::qWaitForWindowActive(&window);
        QTest::keyClick(&window, Qt::Key_F2);
        auswertung = window.findChild<wexal::analysis::Auswertung*>();
        if (auswertung == nullptr) {
            bench.SkipWithError("F2 opened no Auswertung");
            return;
        }
        (void)QTest::qWaitForWindowExposed(auswertung);
    }
    for (int i = 0; i < escapesBefore / wexal::Escape::kEscapesPerClick; ++i) fifty->click();
    QApplication::processEvents();
    // The Auswertung's first redraw after opening loads fonts and lays out its charts once.
    if (auswertung != nullptr) QTest::qWait(2 * wexal::analysis::Auswertung::kRefreshMs);

    std::vector<double> millis;
    std::vector<double> processorMillis;
    int redraws = 0;
    QString shownAxis;
    for ([[maybe_unused]] auto _ : bench) {
        const auto start = Clock::now();
        const std::clock_t processorStart = std::clock();
        fifty->click();
        QApplication::processEvents();  // the one repaint after the command, and any redraw due
        millis.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        processorMillis.push_back(kMillisPerClock * static_cast<double>(std::clock() - processorStart));
        if (auswertung != nullptr) {
            const QString axis = auswertung->convergenceChart().escapesAxisTitle();
            if (axis != shownAxis) ++redraws;
            shownAxis = axis;
        }
    }
    std::sort(millis.begin(), millis.end());
    std::sort(processorMillis.begin(), processorMillis.end());
    bench.counters["median_ms"] = millis[millis.size() / 2];
    bench.counters["worst_ms"] = millis.back();
    bench.counters["median_cpu_ms"] = processorMillis[processorMillis.size() / 2];
    bench.counters["worst_cpu_ms"] = processorMillis.back();
    constexpr double kPromisedMs = 16;
    bench.counters["over_16ms"] = static_cast<double>(
        millis.end() - std::upper_bound(millis.begin(), millis.end(), kPromisedMs));
    if (withAuswertung) bench.counters["redraws"] = redraws;
}

void BM_Click50Wexalen_Fresh(benchmark::State& bench) { clickFifty(bench, 0); }
void BM_Click50Wexalen_After10000(benchmark::State& bench) {
    clickFifty(bench, kEscapesForWideTraces);
}
void BM_Click50Wexalen_Auswertung_After10000(benchmark::State& bench) {
    clickFifty(bench, kEscapesForWideTraces, true);
}
void BM_Click50Wexalen_Auswertung_After1000000(benchmark::State& bench) {
    clickFifty(bench, kEscapesForLongSeries, true);
}

constexpr int kZeitlupeTicks = 80;

void BM_Zeitlupe20_Auswertung_After10000(benchmark::State& bench) {
    wexal::HeadlessRuntime runtime(std::make_unique<wexal::ClockRandom>(), kXga);
    wexal::Wexal window(runtime);
    window.showCentred();
    (void)QTest::qWaitForWindowActive(&window);
    auto* fifty = qobject_cast<QAbstractButton*>(window.control(wexal::controls::Id::cmd100));
    for (int i = 0; i < kEscapesForWideTraces / wexal::Escape::kEscapesPerClick; ++i) fifty->click();
    window.showAuswertung();
    auto* auswertung = window.findChild<wexal::analysis::Auswertung*>();
    (void)QTest::qWaitForWindowExposed(auswertung);
    QTest::qWait(2 * wexal::analysis::Auswertung::kRefreshMs);
    wexal::analysis::Zeitlupe& walk = auswertung->zeitlupe();
    walk.setPace(wexal::analysis::Zeitlupe::kFastest);
    std::vector<double> late;
    for ([[maybe_unused]] auto _ : bench) {
        late.clear();
        walk.onTick = [&late, &walk](double ms) {
            late.push_back(ms);
            if (late.size() == kZeitlupeTicks) walk.stop();
        };
        walk.start();
        while (walk.isRunning()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    walk.onTick = nullptr;
    std::sort(late.begin(), late.end());
    bench.counters["ticks"] = static_cast<double>(late.size());
    bench.counters["median_late_ms"] = late[late.size() / 2];
    bench.counters["worst_late_ms"] = late.back();
    constexpr double kPromisedMs = 10;
    if (late.back() > kPromisedMs) bench.SkipWithError("a step came more than 10 ms behind its tick");
}

}  // namespace

BENCHMARK(BM_Zeitlupe20_Auswertung_After10000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Click50Wexalen_Fresh)->Iterations(kClicks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Click50Wexalen_After10000)->Iterations(kClicks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Click50Wexalen_Auswertung_After10000)
    ->Iterations(kClicksWithAuswertung)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Click50Wexalen_Auswertung_After1000000)
    ->Iterations(kClicksWithAuswertung)
    ->Unit(benchmark::kMillisecond);
