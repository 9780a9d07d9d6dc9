// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>

#include "platform/random_source.h"

namespace wexal {
namespace {

// Every draw of the step reseeds first. Were a reseed within one tick to restart a sequence,
// all pairs of successive draws would be one; 48 random bits a pair leave chance repeats
// among 20000 pairs at about one in a million.
TEST(ClockRandom, ReseedsWithinOneClockTickNeverRepeatASequence) {
    ClockRandom random(12345, [] { return std::uint64_t{1'000'000}; });  // a frozen clock
    std::set<std::pair<float, float>> seen;
    constexpr int kPairs = 20000;
    auto draw = [&random] {
        random.reseedFromClock();
        return random.nextRandom();
    };
    for (int i = 0; i < kPairs; ++i) seen.insert({draw(), draw()});
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kPairs));
}

TEST(ClockRandom, TheClockChangesTheSequence) {
    std::uint64_t tick = 0;
    ClockRandom a(7, [&tick] { return tick; });
    ClockRandom b(7, [] { return std::uint64_t{0}; });
    tick = 99;
    a.reseedFromClock();
    b.reseedFromClock();
    EXPECT_NE(a.nextRandom(), b.nextRandom());
}

TEST(RandomSources, DrawsLieInTheHalfOpenUnitIntervalAndAreUniform) {
    ClockRandom clock;
    SeededRandom seeded(2024);
    for (RandomSource* source : {static_cast<RandomSource*>(&clock), static_cast<RandomSource*>(&seeded)}) {
        constexpr int kBins = 10;
        constexpr int kDraws = 100000;
        constexpr int kPerBin = kDraws / kBins;
        int bins[kBins] = {};
        for (int i = 0; i < kDraws; ++i) {
            source->reseedFromClock();
            const float r = source->nextRandom();
            ASSERT_GE(r, 0.0f);
            ASSERT_LT(r, 1.0f);
            ++bins[static_cast<int>(r * kBins)];
        }
        // Each bin expects 10000 with a standard deviation of about 95.
        for (int count : bins) EXPECT_NEAR(count, kPerBin, 600);
    }
}

TEST(SeededRandom, TheSameSeedGivesTheSameSequence) {
    SeededRandom a(42);
    SeededRandom b(42);
    SeededRandom c(43);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        a.reseedFromClock();
        b.reseedFromClock();
        const float x = a.nextRandom();
        EXPECT_EQ(x, b.nextRandom());
        differs |= x != c.nextRandom();
    }
    EXPECT_TRUE(differs);
}

// A jump is a fixed power of the generator's step: it commutes with drawing, and the jumped
// stream is a different one.
TEST(Xoshiro256, JumpCommutesWithDrawingAndLeavesTheStream) {
    Xoshiro256 drawnThenJumped(7);
    Xoshiro256 jumpedThenDrawn(7);
    Xoshiro256 unjumped(7);
    drawnThenJumped.next();
    drawnThenJumped.jump();
    jumpedThenDrawn.jump();
    jumpedThenDrawn.next();
    unjumped.next();
    for (int i = 0; i < 8; ++i) {
        const std::uint64_t x = drawnThenJumped.next();
        EXPECT_EQ(x, jumpedThenDrawn.next());
        EXPECT_NE(x, unjumped.next());
    }
}

}  // namespace
}  // namespace wexal
