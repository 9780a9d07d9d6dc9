// How long one click on "50 Wexalen" takes on the real window, the repaint included: with
// fresh traces and after 10,000 escapes have widened them. Runs offscreen unless a display
// platform is chosen. Reports the median and the worst click besides the mean.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "platform/headless_runtime.h"
#include "ui/wexal.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr wexal::ScreenSize kXga{15360, 11520};  // 1024 x 768 pixels at 96 dpi
constexpr int kEscapesForWideTraces = 10000;
constexpr int kClicks = 200;  // measured clicks per benchmark

void clickFifty(benchmark::State& bench, int escapesBefore) {
    wexal::HeadlessRuntime runtime(std::make_unique<wexal::ClockRandom>(), kXga);
    wexal::Wexal window(runtime);
    window.showCentred();
    (void)QTest::qWaitForWindowExposed(&window);
    qobject_cast<QRadioButton*>(window.control("Option1"))->click();  // "ja": longer escapes
    auto* fifty = qobject_cast<QAbstractButton*>(window.control("cmd100"));
    for (int i = 0; i < escapesBefore / wexal::Escape::kEscapesPerClick; ++i) fifty->click();
    QApplication::processEvents();

    std::vector<double> millis;
    for ([[maybe_unused]] auto _ : bench) {
        const auto start = Clock::now();
        fifty->click();
        QApplication::processEvents();  // the one repaint after the command
        millis.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(millis.begin(), millis.end());
    bench.counters["median_ms"] = millis[millis.size() / 2];
    bench.counters["worst_ms"] = millis.back();
}

void BM_Click50Wexalen_Fresh(benchmark::State& bench) { clickFifty(bench, 0); }
void BM_Click50Wexalen_After10000(benchmark::State& bench) {
    clickFifty(bench, kEscapesForWideTraces);
}

}  // namespace

BENCHMARK(BM_Click50Wexalen_Fresh)->Iterations(kClicks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Click50Wexalen_After10000)->Iterations(kClicks)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
