// SPDX-License-Identifier: GPL-3.0-or-later
// When the bar appears, how often it is redrawn, and that it leaves a clean line behind.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/progress_bar.h"

namespace wexal::cli {
namespace {

// A stream into memory and a clock the test sets by hand.
class ProgressBarTest : public testing::Test {
protected:
    void SetUp() override { out = open_memstream(&buffer, &size); }
    void TearDown() override {
        std::fclose(out);
        std::free(buffer);
    }
    std::string written() {
        std::fflush(out);
        return std::string(buffer, size);
    }
    ProgressBar bar(bool enabled) {
        return ProgressBar(out, 1000, enabled, [this] { return now; });
    }

    char* buffer = nullptr;
    std::size_t size = 0;
    std::FILE* out = nullptr;
    double now = 100;
};

struct Tick {
    double seconds;  // since the bar was made
    std::int64_t finished;
    bool redrawn;
};

TEST_F(ProgressBarTest, WaitsOneSecondThenRedrawsAFewTimesASecond) {
    ProgressBar progress = bar(true);
    const double start = now;
    const Tick ticks[] = {
        {0.2, 100, false},  {0.99, 200, false}, {1.01, 300, true}, {1.1, 400, false},
        {1.25, 450, false}, {1.27, 500, true},  {1.3, 600, false}, {5.0, 1000, true},
    };
    std::size_t before = 0;
    for (const Tick& tick : ticks) {
        now = start + tick.seconds;
        progress.update(tick.finished);
        const std::string text = written();
        EXPECT_EQ(text.size() > before, tick.redrawn) << "at " << tick.seconds << " s";
        if (tick.redrawn) {
            const std::string line = text.substr(before);
            EXPECT_EQ(line.front(), '\r');
            EXPECT_NE(line.find(std::to_string(tick.finished / 10) + " %"), std::string::npos)
                << line;
            EXPECT_EQ(line.find('\n'), std::string::npos) << "the bar stays on one line";
        }
        before = text.size();
    }
    progress.finish();
    EXPECT_EQ(written().substr(before), "\r\033[K");
}

TEST_F(ProgressBarTest, QuickRunLeavesNoTrace) {
    ProgressBar progress = bar(true);
    now += 0.5;
    progress.update(1000);
    progress.finish();
    EXPECT_EQ(written(), "");
}

TEST_F(ProgressBarTest, DisabledBarNeverWrites) {
    ProgressBar progress = bar(false);
    for (int i = 1; i <= 10; ++i) {
        now += 1;
        progress.update(std::int64_t{100} * i);
    }
    progress.finish();
    EXPECT_EQ(written(), "");
}

}  // namespace
}  // namespace wexal::cli
