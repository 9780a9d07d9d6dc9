// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/binomial_test.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <utility>

namespace wexal {
namespace {

// The terms are products of up to some 10^5 ratios from the mode outward; with a 64-bit
// mantissa their error stays near 1e-14, far inside the distance below.
constexpr int kMantissaBits = 64;
static_assert(std::numeric_limits<long double>::digits >= kMantissaBits);

// Terms below this share of the mode's are left out: as doubles they would be 0 anyway.
constexpr long double kNegligible = 1e-320L;
// A tail this close to a bound, relatively, is compared in exact arithmetic instead.
constexpr long double kTrustedDistance = 1e-10L;
// Beyond this exponent a quotient is 0 or infinite for every purpose here.
constexpr long kExponentLimit = 20'000;

// The quotient num / den of two positive integers of any size, to about 63 bits.
long double quotient(const mpz_class& num, const mpz_class& den) {
    constexpr long kBits = std::numeric_limits<unsigned long>::digits;
    auto top = [](const mpz_class& z, long& exponent) {
        const auto size = static_cast<long>(mpz_sizeinbase(z.get_mpz_t(), 2));
        exponent = std::max(0L, size - kBits);
        const mpz_class head = z >> static_cast<mp_bitcnt_t>(exponent);
        return static_cast<long double>(head.get_ui());
    };
    long numExponent = 0;
    long denExponent = 0;
    const long double ratio = top(num, numExponent) / top(den, denExponent);
    return std::ldexp(ratio, static_cast<int>(std::clamp(numExponent - denExponent,
                                                         -kExponentLimit, kExponentLimit)));
}

long double asLongDouble(const mpq_class& q) {
    return q == 0 ? 0 : quotient(q.get_num(), q.get_den());
}

// Whether tail <= bound, when the tail is known to about 1e-14; nothing when too close to say.
std::optional<bool> clearlyWithin(long double tail, const mpq_class& bound) {
    const long double b = asLongDouble(bound);
    if (tail < b * (1 - kTrustedDistance)) return true;
    if (tail > b * (1 + kTrustedDistance)) return false;
    return std::nullopt;
}

}  // namespace

BinomialDistribution::BinomialDistribution(std::int64_t n, mpq_class p) : n_(n), p_(std::move(p)) {
    p_.canonicalize();
    if (n < 1 || n > kMaxTrials) throw std::invalid_argument("Anzahl n außerhalb des Bereichs");
    if (p_ < 0 || p_ > 1) throw std::invalid_argument("Wahrscheinlichkeit p außerhalb von [0; 1]");

    const mpz_class& a = p_.get_num();
    const mpz_class c = p_.get_den() - a;  // the numerator of 1 - p
    const mpz_class modeValue = (n + 1) * a / p_.get_den();
    const std::int64_t mode = std::min(n, static_cast<std::int64_t>(modeValue.get_si()));
    // Each step outward multiplies by the ratio of neighbouring terms; p = 0 or 1 takes none.
    const long double up = a == 0 || c == 0 ? 0 : quotient(a, c);    // p / (1 - p)
    const long double down = a == 0 || c == 0 ? 0 : quotient(c, a);  // (1 - p) / p
    const auto ld = [](std::int64_t v) { return static_cast<long double>(v); };

    std::vector<long double> below;  // mode - 1, mode - 2, ...
    long double t = 1;
    for (std::int64_t k = mode; k > 0; --k) {
        t = t * ld(k) / ld(n - k + 1) * down;
        if (t < kNegligible) break;
        below.push_back(t);
    }
    first_ = mode - static_cast<std::int64_t>(below.size());
    terms_.assign(below.rbegin(), below.rend());
    terms_.push_back(1);
    t = 1;
    for (std::int64_t k = mode; k < n; ++k) {
        t = t * ld(n - k) / ld(k + 1) * up;
        if (t < kNegligible) break;
        terms_.push_back(t);
    }

    fromLeft_.resize(terms_.size());
    fromRight_.resize(terms_.size());
    long double sum = 0;
    for (std::size_t i = 0; i < terms_.size(); ++i) fromLeft_[i] = sum += terms_[i];
    sum = 0;
    for (std::size_t i = terms_.size(); i-- > 0;) fromRight_[i] = sum += terms_[i];
    total_ = fromLeft_.back();
}

long double BinomialDistribution::sumFromLeft(std::int64_t k) const {
    if (k < first_) return 0;
    if (k >= last()) return total_;
    return fromLeft_[static_cast<std::size_t>(k - first_)];
}

long double BinomialDistribution::sumFromRight(std::int64_t k) const {
    if (k > last()) return 0;
    if (k <= first_) return total_;
    return fromRight_[static_cast<std::size_t>(k - first_)];
}

double BinomialDistribution::probability(std::int64_t k) const {
    if (k < first_ || k > last()) return 0;
    return static_cast<double>(terms_[static_cast<std::size_t>(k - first_)] / total_);
}

double BinomialDistribution::atMost(std::int64_t k) const {
    return static_cast<double>(sumFromLeft(k) / total_);
}

double BinomialDistribution::atLeast(std::int64_t k) const {
    return static_cast<double>(sumFromRight(k) / total_);
}

// Sums the exact terms C(n, j) a^j c^(n-j) over b^n (p = a/b, c = b - a) from the nearer end:
// slow for large n, but needed only when a tail lies within 1e-10 of its bound.
mpq_class BinomialDistribution::exactAtMost(std::int64_t k) const {
    if (k < 0) return 0;
    if (k >= n_) return 1;
    const mpz_class& a = p_.get_num();
    const mpz_class& b = p_.get_den();
    const mpz_class c = b - a;
    if (a == 0) return 1;
    if (c == 0) return 0;
    const auto n = static_cast<unsigned long>(n_);
    const auto upTo = static_cast<unsigned long>(k);
    mpz_class scale;
    mpz_pow_ui(scale.get_mpz_t(), b.get_mpz_t(), n);
    mpz_class term;
    mpz_class sum;
    if (upTo < n / 2) {
        mpz_pow_ui(term.get_mpz_t(), c.get_mpz_t(), n);
        sum = term;
        for (unsigned long j = 0; j < upTo; ++j) {
            term *= (n - j) * a;
            mpz_divexact(term.get_mpz_t(), term.get_mpz_t(), mpz_class((j + 1) * c).get_mpz_t());
            sum += term;
        }
        return {sum, scale};
    }
    mpz_pow_ui(term.get_mpz_t(), a.get_mpz_t(), n);
    sum = term;
    for (unsigned long j = n; j > upTo + 1; --j) {
        term *= j * c;
        mpz_divexact(term.get_mpz_t(), term.get_mpz_t(), mpz_class((n - j + 1) * a).get_mpz_t());
        sum += term;
    }
    mpq_class below(scale - sum, scale);
    below.canonicalize();
    return below;
}

bool BinomialDistribution::atMostWithin(std::int64_t k, const mpq_class& bound) const {
    if (const auto clear = clearlyWithin(sumFromLeft(k) / total_, bound)) return *clear;
    return exactAtMost(k) <= bound;
}

bool BinomialDistribution::atLeastWithin(std::int64_t k, const mpq_class& bound) const {
    if (const auto clear = clearlyWithin(sumFromRight(k) / total_, bound)) return *clear;
    return 1 - exactAtMost(k - 1) <= bound;
}

AcceptanceRegion acceptanceRegion(const BinomialDistribution& h0, const mpq_class& alpha,
                                  Sided sided) {
    if (alpha < mpq_class(1, kSmallestAlphaDenominator) || alpha >= 1) {
        throw std::invalid_argument("Signifikanzniveau außerhalb des Bereichs");
    }
    const mpq_class tailBound = sided == Sided::Both ? mpq_class(alpha / 2) : alpha;
    const std::int64_t n = h0.trials();
    AcceptanceRegion region{0, n, 0};
    // Both tails grow monotonically toward the middle: bisect for the last allowed boundary.
    // P(X <= -1) = 0 is always allowed, P(X <= n) = 1 never; likewise P(X >= n + 1) and P(X >= 0).
    if (sided != Sided::Right) {
        std::int64_t allowed = -1;
        std::int64_t tooLarge = n;
        while (tooLarge - allowed > 1) {
            const std::int64_t mid = allowed + (tooLarge - allowed) / 2;
            (h0.atMostWithin(mid, tailBound) ? allowed : tooLarge) = mid;
        }
        region.low = allowed + 1;
    }
    if (sided != Sided::Left) {
        std::int64_t tooLarge = 0;
        std::int64_t allowed = n + 1;
        while (allowed - tooLarge > 1) {
            const std::int64_t mid = tooLarge + (allowed - tooLarge) / 2;
            (h0.atLeastWithin(mid, tailBound) ? allowed : tooLarge) = mid;
        }
        region.high = allowed - 1;
    }
    region.actualAlpha = h0.atMost(region.low - 1) + h0.atLeast(region.high + 1);
    return region;
}

}  // namespace wexal
