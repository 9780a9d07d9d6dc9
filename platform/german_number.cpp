// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/german_number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

namespace wexal {
namespace {

constexpr std::size_t kBuffer = 400;  // a fixed form of the largest double with many decimals
constexpr int kMaxDecimals = 17;      // more than a double carries
constexpr int kGroupFrom = 10000;     // four-digit numbers stay ungrouped
constexpr int kGroup = 3;
constexpr double kSmallestPlain = 1e-4;  // below this, significant() writes a power of ten

template <class... Format>
std::string machine(double value, Format... format) {
    std::array<char, kBuffer> buffer{};
    const auto result = std::to_chars(buffer.begin(), buffer.end(), value, format...);
    return std::string(buffer.data(), result.ptr);
}

std::string withComma(std::string text) {
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

// "-0,000" after rounding a tiny negative value reads as a sign without a number.
std::string withoutNegativeZero(std::string text) {
    if (text.starts_with('-') && text.find_first_not_of("-0,") == std::string::npos) text.erase(0, 1);
    return text;
}

std::string superscript(int exponent) {
    static constexpr std::array<std::string_view, 10> kDigits = {"⁰", "¹", "²", "³", "⁴",
                                                                  "⁵", "⁶", "⁷", "⁸", "⁹"};
    std::string text = exponent < 0 ? "⁻" : "";
    for (char c : std::to_string(std::abs(exponent))) text += kDigits[static_cast<std::size_t>(c - '0')];
    return text;
}

}  // namespace

std::string shortestDecimal(double value) { return machine(value); }

namespace german {

std::string fixed(double value, int decimals) {
    if (!std::isfinite(value)) return kNotANumber;
    const int places = std::clamp(decimals, 0, kMaxDecimals);
    return withoutNegativeZero(withComma(machine(value, std::chars_format::fixed, places)));
}

std::string shortest(double value) {
    if (!std::isfinite(value)) return kNotANumber;
    return withComma(machine(value));
}

std::string percent(double share, int decimals) {
    if (!std::isfinite(share)) return kNotANumber;
    constexpr double kPercent = 100;
    return fixed(share * kPercent, decimals) + kNoBreakSpace + "%";
}

std::string significant(double value, int digits) {
    if (!std::isfinite(value)) return kNotANumber;
    const int wanted = std::clamp(digits, 1, kMaxDecimals);
    if (value == 0) return "0";
    if (std::abs(value) >= kSmallestPlain) {
        // The first digit's place, taken from the rounded value: 0.9996 to 3 digits is "1,00".
        const std::string scientific = machine(value, std::chars_format::scientific, wanted - 1);
        const int exponent = std::stoi(scientific.substr(scientific.find('e') + 1));
        return fixed(value, std::max(0, wanted - 1 - exponent));
    }
    const std::string scientific = machine(value, std::chars_format::scientific, wanted - 1);
    const std::size_t e = scientific.find('e');
    return withComma(scientific.substr(0, e)) + "·10" + superscript(std::stoi(scientific.substr(e + 1)));
}

std::string count(std::int64_t value) {
    std::string digits = std::to_string(value);
    const std::size_t sign = value < 0 ? 1 : 0;
    if (value > -kGroupFrom && value < kGroupFrom) return digits;
    std::string grouped;
    const std::size_t n = digits.size() - sign;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % kGroup == 0) grouped += kNarrowNoBreakSpace;
        grouped += digits[sign + i];
    }
    return digits.substr(0, sign) + grouped;
}

}  // namespace german
}  // namespace wexal
