#include "platform/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace wexal {
namespace {

constexpr double kExactIntegerLimit = 9007199254740992.0;  // 2^53
constexpr int kSignificantDigits = 15;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string numberToText(double x) {
    if (std::isnan(x)) return " NaN";
    if (std::isinf(x)) return x > 0 ? " Inf" : "-Inf";
    if (x == 0) return " 0";  // also -0

    std::array<char, 64> buf{};
    const double magnitude = std::fabs(x);
    std::to_chars_result r{};
    if (magnitude == std::floor(magnitude) && magnitude < kExactIntegerLimit) {
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
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    // An exponent counts only when at least one digit follows its letter and sign.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            i = j;
        }
    }

    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + i, value);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone here: tell overflow from underflow by the exponent.
        const std::string_view number = text.substr(start, i - start);
        const auto e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && number.find('-', e) != std::string_view::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (ec != std::errc{} || ptr != text.data() + i) {
        return 0;
    }
    return negative ? -value : value;
}

}  // namespace wexal
