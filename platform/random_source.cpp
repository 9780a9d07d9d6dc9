// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/random_source.h"

#include <chrono>

namespace wexal {
namespace {

std::uint64_t steadyNanoseconds() {
    return static_cast<std::uint64_t>(
        std::chrono::steady_clock::now().time_since_epoch() / std::chrono::nanoseconds(1));
}

}  // namespace

// NOLINTBEGIN(readability-magic-numbers): the published constants of splitmix64 and xoshiro256**
std::uint64_t splitmix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

Xoshiro256::Xoshiro256(std::uint64_t seed) {
    for (auto& word : s_) word = splitmix64(seed);
}

void Xoshiro256::jump() {
    constexpr std::array<std::uint64_t, 4> kJump = {0x180ec6d33cfd0abaULL, 0xd5a61266f0c9392cULL,
                                                    0xa9582618e03fc9aaULL, 0x39abdc4529b1661cULL};
    std::array<std::uint64_t, 4> jumped{};
    for (const std::uint64_t word : kJump) {
        for (int bit = 0; bit < kWordBits; ++bit) {
            if (((word >> bit) & 1U) != 0) {
                for (std::size_t i = 0; i < jumped.size(); ++i) jumped[i] ^= s_[i];
            }
            next();
        }
    }
    s_ = jumped;
}
// NOLINTEND(readability-magic-numbers)

void Xoshiro256::mix(std::uint64_t value) {
    s_[0] ^= splitmix64(value);
    next();  // spread the new bits over all four words before the next output
    if ((s_[0] | s_[1] | s_[2] | s_[3]) == 0) s_[0] = 1;
}

ClockRandom::ClockRandom() : ClockRandom(steadyNanoseconds(), steadyNanoseconds) {}

ClockRandom::ClockRandom(std::uint64_t seed, Clock clock) : gen_(seed), clock_(std::move(clock)) {}

void ClockRandom::reseedFromClock() { gen_.mix(clock_()); }

}  // namespace wexal
