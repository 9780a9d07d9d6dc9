// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <functional>

namespace wexal {

// The uniform random generator the escape step draws from.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // Called before every single draw. Must change the running state, never restart a
    // sequence: many reseeds fall within one tick of the clock.
    virtual void reseedFromClock() = 0;
    // Uniform single-precision number r with 0 <= r < 1.
    virtual float nextRandom() = 0;
};

// splitmix64 (Steele, Lea, Flood): the next value of the sequence that `state` stands in,
// spread over the whole word. Seeds and mixes the generator below.
std::uint64_t splitmix64(std::uint64_t& state);

// xoshiro256** (Blackman & Vigna): small, fast, passes BigCrush.
class Xoshiro256 {
public:
    explicit Xoshiro256(std::uint64_t seed);
    // In the header, so that a batch run's loop can inline it.
    // NOLINTBEGIN(readability-magic-numbers): the published constants of xoshiro256**
    std::uint64_t next() {
        const std::uint64_t result = std::rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = std::rotl(s_[3], 45);
        return result;
    }
    // NOLINTEND(readability-magic-numbers)
    // Folds a value into the running state; the state never becomes all zero.
    void mix(std::uint64_t value);
    // Moves 2^128 draws ahead: streams jumped 0, 1, 2, ... times never overlap in practice.
    void jump();
    static constexpr int kFloatBits = 24;  // the significand of a float
    // The top kFloatBits bits of the next draw, m: nextFloat's r is m / 2^kFloatBits.
    std::uint32_t nextBits() {
        return static_cast<std::uint32_t>(next() >> (kWordBits - kFloatBits));
    }
    // 24 random bits as a float in [0, 1): every value is exact in single precision.
    float nextFloat() { return static_cast<float>(nextBits()) * kFloatUnit; }

private:
    static constexpr int kWordBits = 64;
    static constexpr float kFloatUnit = 0x1p-24f;  // 2^-kFloatBits
    std::array<std::uint64_t, 4> s_{};
};

// The program's generator: reseeding mixes the clock into the running state.
class ClockRandom final : public RandomSource {
public:
    using Clock = std::function<std::uint64_t()>;
    ClockRandom();                                   // monotonic clock in nanoseconds
    ClockRandom(std::uint64_t seed, Clock clock);    // for tests: a chosen start and clock
    void reseedFromClock() override;
    float nextRandom() override { return gen_.nextFloat(); }

private:
    Xoshiro256 gen_;
    Clock clock_;
};

// A reproducible generator: the same seed gives the same escapes. Reseeding is a no-op.
class SeededRandom final : public RandomSource {
public:
    explicit SeededRandom(std::uint64_t seed) : gen_(seed) {}
    explicit SeededRandom(const Xoshiro256& stream) : gen_(stream) {}
    void reseedFromClock() override {}
    float nextRandom() override { return gen_.nextFloat(); }
    // The stream itself, for a loop that draws many numbers without a virtual call.
    Xoshiro256& stream() { return gen_; }

private:
    Xoshiro256 gen_;
};

}  // namespace wexal
