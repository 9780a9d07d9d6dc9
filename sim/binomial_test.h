// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include <gmpxx.h>

namespace wexal {

// B(n, p): its point probabilities and both tails. Tails are sums of the terms from the far
// end inward, never 1 minus a sum, so a tail of 1e-200 is as exact as one of 0.4; near a
// bound a comparison is settled in exact rational arithmetic.
class BinomialDistribution {
public:
    static constexpr std::int64_t kMaxTrials = 100'000'000;

    // 1 <= n <= kMaxTrials and 0 <= p <= 1, else std::invalid_argument.
    BinomialDistribution(std::int64_t n, mpq_class p);

    std::int64_t trials() const { return n_; }
    const mpq_class& successProbability() const { return p_; }

    double probability(std::int64_t k) const;  // P(X = k)
    double atMost(std::int64_t k) const;       // P(X <= k)
    double atLeast(std::int64_t k) const;      // P(X >= k)

    // The outcomes outside [first, last] have probabilities below 1e-320 times the largest
    // one: a chart need not draw them.
    std::int64_t first() const { return first_; }
    std::int64_t last() const { return first_ + static_cast<std::int64_t>(terms_.size()) - 1; }

    // Whether P(X <= k), or P(X >= k), is at most the bound; always right, also when the
    // two are equal or differ in the fifteenth digit.
    bool atMostWithin(std::int64_t k, const mpq_class& bound) const;
    bool atLeastWithin(std::int64_t k, const mpq_class& bound) const;

private:
    long double sumFromLeft(std::int64_t k) const;   // terms first..k, relative to the mode
    long double sumFromRight(std::int64_t k) const;  // terms k..last
    mpq_class exactAtMost(std::int64_t k) const;

    std::int64_t n_;
    mpq_class p_;
    std::int64_t first_ = 0;
    std::vector<long double> terms_;      // P(X = k) / P(X = mode), k = first..last
    std::vector<long double> fromLeft_;   // running sums of terms_ from the left
    std::vector<long double> fromRight_;  // running sums of terms_ from the right
    long double total_ = 0;
};

// Which deviations from p0 speak against H0: in both directions, too few, or too many.
enum class Sided { Both, Left, Right };

// The acceptance region [low; high] of a test of H0: p = p0 at level alpha by the school
// convention: each rejection tail is the largest one whose probability under H0 is at most
// alpha (one-sided) or alpha/2 (two-sided).
struct AcceptanceRegion {
    std::int64_t low = 0;
    std::int64_t high = 0;
    double actualAlpha = 0;  // the region's rejection probability under H0: P(X < low) + P(X > high)

    bool accepts(std::int64_t k) const { return k >= low && k <= high; }
    friend bool operator==(const AcceptanceRegion&, const AcceptanceRegion&) = default;
};

// The smallest level taken is 1 / this: far below it tails would fall under the resolution of
// the distribution's terms.
inline constexpr unsigned long kSmallestAlphaDenominator = 1'000'000'000'000;

// 1 / kSmallestAlphaDenominator <= alpha < 1, else std::invalid_argument.
AcceptanceRegion acceptanceRegion(const BinomialDistribution& h0, const mpq_class& alpha,
                                  Sided sided);

}  // namespace wexal
