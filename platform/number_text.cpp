// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace wexal {
namespace {

constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53
constexpr int kSignificantDigits = 15;
constexpr std::size_t kTextCapacity = 64;  // the longest text, "-1.79769313486232E+308", has 22

bool isSign(char c) { return c == '+' || c == '-'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t skipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

// End of the number that starts at `start`, after its sign: digits with at most one point, at
// least one digit in all, then an exponent when a digit follows its letter and sign. `start`
// itself when there is no number.
std::size_t numberEnd(std::string_view text, std::size_t start) {
    std::size_t i = skipDigits(text, start);
    std::size_t digits = i - start;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fractionEnd = skipDigits(text, i + 1);
        digits += fractionEnd - (i + 1);
        i = fractionEnd;
    }
    if (digits == 0) return start;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && isSign(text[j])) ++j;
        const std::size_t exponentEnd = skipDigits(text, j);
        if (exponentEnd > j) i = exponentEnd;
    }
    return i;
}

// The power of ten of the first non-zero digit of a number text "ddd.ddde-ddd": 2 for "123.4",
// -3 for "0.00123", 305 for "1e305", 0 for zero. Long exponents saturate; only the sign counts.
long long decimalExponent(std::string_view number) {
    const std::size_t e = std::min(number.find_first_of("eE"), number.size());
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos) return 0;
    const long long power = first < point ? static_cast<long long>(point - first) - 1
                                          : -static_cast<long long>(first - point);

    constexpr long long kBase = 10;
    constexpr long long kSaturation = 1'000'000'000;
    std::size_t j = e + 1;
    const bool negative = j < number.size() && number[j] == '-';
    if (j < number.size() && (number[j] == '+' || number[j] == '-')) ++j;
    long long exponent = 0;
    for (; j < number.size(); ++j) {
        exponent = std::min(exponent * kBase + (number[j] - '0'), kSaturation);
    }
    return power + (negative ? -exponent : exponent);
}

}  // namespace

bool isWrittenExactly(double x) {
    return x == std::floor(x) && std::fabs(x) < kExactIntegerLimit;
}

std::string numberToText(double x) {
    if (std::isnan(x)) return " NaN";
    if (std::isinf(x)) return x > 0 ? " Inf" : "-Inf";
    if (x == 0) return " 0";  // also -0

    std::array<char, kTextCapacity> buf{};
    const double magnitude = std::fabs(x);
    std::to_chars_result r{};
    if (isWrittenExactly(magnitude)) {
        r = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude, std::chars_format::fixed, 0);
    } else {
        r = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                          std::chars_format::general, kSignificantDigits);
    }
    std::string text(x < 0 ? "-" : " ");
    for (const char* p = buf.data(); p != r.ptr; ++p) text += (*p == 'e') ? 'E' : *p;
    return text;
}

double textToNumber(std::string_view text) {
    std::size_t start = std::min(text.find_first_not_of(" \t\n"), text.size());
    const bool negative = start < text.size() && text[start] == '-';
    if (start < text.size() && isSign(text[start])) ++start;
    const std::size_t end = numberEnd(text, start);
    if (end == start) return 0;

    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + end, value);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone here. Only the magnitude tells underflow from
        // overflow: "0.000...1" has no exponent and "1000...0e-5" a negative one.
        value = decimalExponent(text.substr(start, end - start)) < 0
                    ? 0.0
                    : std::numeric_limits<double>::infinity();
    } else if (ec != std::errc{} || ptr != text.data() + end) {
        return 0;
    }
    return negative ? -value : value;
}

}  // namespace wexal
