// SPDX-License-Identifier: GPL-3.0-or-later
// wexal-sim --merge: pooling the results files of a thousand PCs, each a named run of 100
// escapes as a pupil saves it, read from disk (the page cache warm after the first pass).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

#include "cli/merge.h"
#include "sim/exact_solution.h"
#include "sim/results_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 1000;
// A pupil's 100 escapes under the start setting, as counted on one PC.
const wexal::Tally kPupilsTally{{100, {17, 17, 16, 16, 9, 14, 6, 5}}, 32, 68, 233};  // NOLINT(readability-magic-numbers)

// A thousand files under the start setting in a fresh folder; removed when the run ends.
class ClassFolder {
public:
    ClassFolder() : folder_(fs::temp_directory_path() / "wexal-merge-bench") {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        const wexal::ExactSolution exact = wexal::solveExactly(wexal::kStartSetting);
        for (int f = 0; f < kFiles; ++f) {
            wexal::Results results;
            results.tally = kPupilsTally;
            results.date = "2026-05-03 10:15";
            results.name = "Schüler " + std::to_string(f);
            const fs::path path = folder_ / ("pc" + std::to_string(f) + ".csv");
            std::ofstream out(path, std::ios::binary);
            wexal::writeResultsFile(out, results, exact);
            files_.push_back(path.string());
        }
    }
    ~ClassFolder() { fs::remove_all(folder_); }
    ClassFolder(const ClassFolder&) = delete;
    ClassFolder& operator=(const ClassFolder&) = delete;

    const std::vector<std::string>& files() const { return files_; }

private:
    fs::path folder_;
    std::vector<std::string> files_;
};

void poolThousandFiles(benchmark::State& state) {
    const ClassFolder folder;
    for ([[maybe_unused]] auto _ : state) {
        auto pooled = wexal::cli::mergeFiles(folder.files());
        if (!std::holds_alternative<wexal::ClassPool>(pooled)) state.SkipWithError("a file was refused");
        benchmark::DoNotOptimize(pooled);
    }
    state.counters["files/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kFiles,
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(poolThousandFiles)->Unit(benchmark::kMillisecond);

}  // namespace
